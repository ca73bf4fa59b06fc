// Where the definition-text parser meets the rest of the engine: the resource block it works
// on, included resources loaded from the libraries, the global definition sets, the
// application's version text and the fatal report of a parse error.
#include <cstring>
#include <optional>
#include <string>

#include "engine/framework/Appl.h"
#include "engine/framework/Diag.h"
#include "engine/framework/EngineStrings.h"
#include "engine/framework/Str.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RawParser.h"
#include "engine/resources/RsrcBlock.h"

namespace {

std::string BlockText(CRsrcBlock* block)
{
    if (!block || block->GetSize() <= 0)
        return {};
    const void* data = block->Lock();
    std::string text =
        data ? std::string(static_cast<const char*>(data), static_cast<size_t>(block->GetSize()))
             : std::string();
    block->Unlock();
    return text;
}

std::optional<std::string>& FallbackVersionText()
{
    static std::optional<std::string> text;
    return text;
}

} // namespace

CRawParser::CRawParser(CRsrcBlock* source, uint32_t includeMask)
    : CRawParser(BlockText(source), source ? source->GetType() : "", source ? source->GetId() : -1,
                 includeMask)
{
    source_ = source;
}

void CRawParser::SetFallbackVersionText(std::optional<std::string> text)
{
    FallbackVersionText() = std::move(text);
}

const char* CRawParser::ApplicationVersionText()
{
    if (const CBaseAppl* application = GetApplication())
        return application->GetVersion();
    const auto& fallback = FallbackVersionText();
    return fallback ? fallback->c_str() : nullptr;
}

void CRawParser::WriteBack()
{
    if (!source_ || source_->GetLockCount() > 0)
        return;
    const auto size = static_cast<int32_t>(text_.size());
    if (source_->GetSize() != size && !source_->Resize(size))
        return;
    if (size > 0)
        source_->PutBytes(text_.data(), size, 0);
}

bool CRawParser::LoadIncludeText(const char* type, int32_t id, std::string* text)
{
    std::unique_ptr<CRsrcBlock> block = GetLibMgr()->LoadResource(type, id, includeMask_, false);
    if (!block || block->GetSize() < 1)
        return false;
    *text = BlockText(block.get());
    return true;
}

void CRawParser::ReportParseError(int16_t code, const char* text, const char* /*position*/, int32_t number)
{
    if (code == kErrNone)
        return;
    std::string message;
    if (code == kErrIncludeMissing)
        message = GetEngineText(6) + (text ? text : "") + " " + std::to_string(number);
    else
        message = GetEngineText(5) + type_ + " " + std::to_string(id_);
    ReportError(kReportFatal, message.c_str(), "parseraw", 991);
}

std::unique_ptr<CStr> CRawParser::ReadStr(int16_t n)
{
    const std::string value = ReadToken(n > 0 ? static_cast<size_t>(n - 1) : 0);
    return std::make_unique<CStr>(value.c_str());
}

void CRawParser::ParseResource(const char* type, int32_t id, uint32_t mask)
{
    if (std::unique_ptr<CRsrcBlock> block = GetLibMgr()->LoadResource(type, id, mask, true))
        ParseDefinitions(std::move(block), mask);
}

void CRawParser::ParseDefinitions(std::unique_ptr<CRsrcBlock> block, uint32_t mask)
{
    auto set = std::make_unique<RawDefSet>();
    {
        CRawParser parser(block.get(), mask);
        parser.Preprocess();
        set->symbols = std::move(*parser.symbols_);
    }
    set->id = block ? block->GetId() : -1;
    if (block) // the set keeps the type's first three characters; its zero stays
        std::memcpy(set->type, block->GetType(), strnlen(block->GetType(), sizeof set->type - 1));
    CRawItemList::Get().Append(std::move(set));
}
