#include "engine/resources/TextRsrc.h"

#include <algorithm>
#include <cstring>

#include "engine/framework/Diag.h"
#include "engine/framework/EngineStrings.h"
#include "engine/framework/Str.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RawParser.h"

namespace {

// String values of records hold at most 2047 characters.
constexpr int16_t kTextBufferSize = 2048;
constexpr uint32_t kAlignment = 4;

int32_t g_recordSizeLimit = CTextRsrc::kMaxRecordSize;

void Fail(int32_t message, uint32_t line)
{
    ReportError(kReportFatal, GetEngineText(message).c_str(), "TextRsrc", line);
}

} // namespace

void CTextRsrc::SetRecordSizeLimit(int32_t bytes) { g_recordSizeLimit = bytes; }
int32_t CTextRsrc::GetRecordSizeLimit() { return g_recordSizeLimit; }

int32_t CTextRsrc::GetItemSize(const Item& item)
{
    return item.code == kFmtList ? 4 : GetFormatKeyword(item.code).size;
}

int32_t CTextRsrc::GetSignedNumber(const Item& item)
{
    switch (GetItemSize(item)) {
    case 1: {
        int8_t v = 0;
        GetBytes(&v, 1, item.offset);
        return v;
    }
    case 2: {
        int16_t v = 0;
        GetBytes(&v, 2, item.offset);
        return v;
    }
    case 4: {
        int32_t v = 0;
        GetBytes(&v, 4, item.offset);
        return v;
    }
    default: return 0;
    }
}

CTextRsrc::CTextRsrc(const char* type) { SetType(type); }

CTextRsrc::CTextRsrc(const char* type, int32_t id, uint32_t mask, bool required)
{
    SetType(type);
    LoadAndCompile(id, mask, required);
}

CTextRsrc::CTextRsrc(std::unique_ptr<CRsrcBlock> source, uint32_t includeMask)
{
    if (!source) {
        Fail(5, 181);
        return;
    }
    SetType(source->GetType());
    SetId(source->GetId());
    if (source->GetSize() < 1) {
        source.reset();
        Fail(4, 184);
        return;
    }
    Compile(source.get(), includeMask);
}

CTextRsrc::CTextRsrc(const CTextRsrc& other)
    : CRsrcBlock(other), format_(other.format_), items_(other.items_), runSize_(other.runSize_),
      runCount_(other.runCount_), holdsStrings_(other.holdsStrings_), compiled_(other.compiled_)
{
    strings_.reserve(other.strings_.size());
    for (const auto& s : other.strings_)
        strings_.push_back(s ? std::make_unique<CStr>(*s) : nullptr);
}

CTextRsrc::~CTextRsrc() = default;

std::unique_ptr<CTextRsrc> CTextRsrc::Create(const char* type, int32_t id, uint32_t mask, bool required)
{
    auto record = std::make_unique<CTextRsrc>(type, id, mask, required);
    if (!record->IsCompiled())
        return nullptr;
    return record;
}

void CTextRsrc::Reload(int32_t id, uint32_t mask, bool required)
{
    strings_.clear();
    items_.clear();
    holdsStrings_ = false;
    compiled_ = false;
    Resize(0);
    LoadAndCompile(id, mask, required);
}

void CTextRsrc::LoadAndCompile(int32_t id, uint32_t mask, bool required)
{
    if (id == 0) {
        Fail(13, 591); // resource 0 holds the type's format
        return;
    }
    if (id < 0)
        return;
    std::unique_ptr<CRsrcBlock> text = GetLibMgr()->LoadResource(GetType(), id, mask, false);
    if (!text || text->GetSize() < 1) {
        if (required)
            Fail(text ? 4 : 12, text ? 624 : 617);
        return;
    }
    SetId(id);
    Compile(text.get(), 0xFFFFFFFF);
}

void CTextRsrc::Compile(CRsrcBlock* text, uint32_t includeMask)
{
    static const FormatBlock kNoFormat;
    format_ = CFormatList::Get().Find(GetType());
    CRawParser parser(text, includeMask);
    parser.Preprocess();
    parser.LockSource();
    FormatCursor format(format_ ? *format_ : kNoFormat);
    record_.clear();
    runSize_ = 0;
    runCount_ = 0;
    std::vector<Group> groups;
    bool ok = true;
    while (ok && parser.GetPos() < parser.GetEnd() && !format.AtEnd()) {
        const uint8_t code = format.ReadCode();
        switch (code) {
        case kFmtNone: break;
        case kFmtList:
        case kFmtSizeList: {
            if (static_cast<int>(groups.size()) >= kMaxOpenGroups) {
                parser.ReportParseError(CRawParser::kErrTooManyGroups, nullptr, nullptr, kMaxOpenGroups);
                ok = false;
                break;
            }
            Group group{};
            group.code = code;
            group.elementSize = -1;
            group.countSlot = -1;
            if (code == kFmtList) {
                AlignTo(4);
                group.countSlot = static_cast<int32_t>(record_.size());
                items_.push_back({group.countSlot, kFmtList});
                AppendBytes("\0\0\0\0", 4);
            } else {
                group.remaining = format.ReadValue();
            }
            group.loopStart = format.GetPos();
            group.elementText = parser.GetPos();
            group.elementBytes = record_.size();
            groups.push_back(group);
            break;
        }
        case kFmtEndList: EndGroup(groups, format, parser); break;
        default:
            CompileItem(code, format, parser);
            if (!groups.empty()) {
                int32_t& size = groups.back().elementSize;
                if (size == -1)
                    size = static_cast<int32_t>(runSize_);
                else if (size != static_cast<int32_t>(runSize_))
                    size = -2;
            }
            break;
        }
        if (ok && record_.size() > static_cast<size_t>(g_recordSizeLimit)) {
            parser.ReportParseError(CRawParser::kErrRecordTooLarge, nullptr, nullptr, g_recordSizeLimit);
            ok = false;
        }
    }
    // The element of an open list whose "endlist" never came.
    for (const Group& group : groups)
        if (group.code == kFmtList)
            BumpCount(group.countSlot);
    parser.UnlockSource();
    if (!ok)
        return;
    if (Resize(static_cast<int32_t>(record_.size())) && !record_.empty())
        PutBytes(record_.data(), static_cast<int32_t>(record_.size()), 0);
    SetPos(0);
    record_.clear();
    record_.shrink_to_fit();
    compiled_ = true;
}

void CTextRsrc::EndGroup(std::vector<Group>& groups, FormatCursor& format, CRawParser& parser)
{
    if (groups.empty())
        return;
    Group& group = groups.back();
    if (group.elementSize == -2)
        AlignTo(kAlignment);
    const bool readText = parser.GetPos() != group.elementText;
    const bool storedBytes = record_.size() != group.elementBytes;
    bool done;
    if (group.code == kFmtSizeList) {
        --group.remaining;
        // A count below 1 never runs out: like a list, the group then ends with its text.
        done = group.remaining == 0 || (group.remaining < 0 && !readText);
    } else {
        BumpCount(group.countSlot);
        done = !readText; // a list element that reads no text would repeat for ever
    }
    // An element that reads and stores nothing changes nothing when repeated.
    if (done || (!readText && !storedBytes)) {
        groups.pop_back();
        return;
    }
    format.SetPos(group.loopStart);
    group.elementText = parser.GetPos();
    group.elementBytes = record_.size();
}

void CTextRsrc::CompileItem(uint8_t code, FormatCursor& format, CRawParser& parser)
{
    const FormatKeyword& keyword = GetFormatKeyword(code);
    std::string enumText;
    int32_t fixed = 0;
    if (keyword.kind == kFmtKindEnum)
        enumText = format.ReadName();
    else if (keyword.kind == kFmtKindFixed)
        fixed = format.ReadValue();
    const char* enumName = enumText.empty() ? nullptr : enumText.c_str();
    const char* label = keyword.keyword;

    AlignTo(keyword.size);
    const auto offset = static_cast<int32_t>(record_.size());
    auto put = [this](auto value) { AppendBytes(&value, sizeof value); };
    switch (code) {
    case kFmtByte: put(parser.ReadByte(label)); break;
    case kFmtUByte: put(parser.ReadUByte(label)); break;
    case kFmtTByte: put(parser.ReadByte(label, enumName, true)); break;
    case kFmtTUByte: put(parser.ReadUByte(label, enumName, true)); break;
    case kFmtShort: put(parser.ReadShort(label)); break;
    case kFmtUShort: put(parser.ReadUShort(label)); break;
    case kFmtTShort: put(parser.ReadShort(label, enumName, true)); break;
    case kFmtTUShort: put(parser.ReadUShort(label, enumName, true)); break;
    case kFmtLong: put(parser.ReadLong(label)); break;
    case kFmtULong: put(parser.ReadULong(label)); break;
    case kFmtTLong: put(parser.ReadLong(label, enumName, true)); break;
    case kFmtTULong: put(parser.ReadULong(label, enumName, true)); break;
    case kFmtString: {
        char buffer[kTextBufferSize];
        parser.ReadString(buffer, kTextBufferSize);
        strings_.push_back(std::make_unique<CStr>(buffer));
        put(static_cast<uint32_t>(strings_.size()));
        holdsStrings_ = true;
        break;
    }
    case kFmtFByte:
    case kFmtFShort:
    case kFmtFLong:
    case kFmtFString: AppendBytes("\0\0\0\0", keyword.size); break;
    case kFmtFNByte:
    case kFmtFNUByte: put(static_cast<uint8_t>(fixed)); break;
    case kFmtFNShort:
    case kFmtFNUShort: put(static_cast<uint16_t>(fixed)); break;
    case kFmtFNLong:
    case kFmtFNULong: put(fixed); break;
    default: break; // "var" and codes without a keyword store nothing
    }
    if (keyword.size > 0)
        items_.push_back({offset, code});
}

void CTextRsrc::AlignTo(uint32_t size)
{
    if (size == runSize_) {
        ++runCount_;
        return;
    }
    // Unsigned arithmetic: a run longer than 2^32 bytes still pads right, as 2^32 is a
    // multiple of the alignment.
    const uint32_t pad = kAlignment - runSize_ * runCount_ % kAlignment;
    if (pad != kAlignment)
        record_.insert(record_.end(), pad, 0);
    runSize_ = size;
    runCount_ = 1;
}

void CTextRsrc::AppendBytes(const void* data, size_t n)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    record_.insert(record_.end(), bytes, bytes + n);
}

void CTextRsrc::BumpCount(int32_t slot)
{
    if (slot < 0 || static_cast<size_t>(slot) + 4 > record_.size())
        return;
    uint32_t count;
    std::memcpy(&count, &record_[static_cast<size_t>(slot)], 4);
    ++count;
    std::memcpy(&record_[static_cast<size_t>(slot)], &count, 4);
}

int32_t CTextRsrc::FindStringItem(int32_t offset)
{
    auto at = std::lower_bound(items_.begin(), items_.end(), offset,
                               [](const Item& item, int32_t o) { return item.offset < o; });
    if (at == items_.end() || at->offset != offset || (at->code != kFmtString && at->code != kFmtFString))
        return -1;
    const int32_t cursor = GetPos();
    uint32_t handle = 0;
    const bool read = GetBytes(&handle, 4, offset);
    SetPos(cursor);
    if (!read || handle == 0 || handle > strings_.size())
        return -1;
    return static_cast<int32_t>(handle - 1);
}

const CStr* CTextRsrc::GetString(int32_t offset)
{
    const int32_t i = FindStringItem(offset);
    return i < 0 ? nullptr : strings_[static_cast<size_t>(i)].get();
}

std::unique_ptr<CStr> CTextRsrc::TakeString(int32_t offset)
{
    const int32_t i = FindStringItem(offset);
    if (i < 0)
        return nullptr;
    const int32_t cursor = GetPos();
    const uint32_t none = 0;
    PutBytes(&none, 4, offset);
    SetPos(cursor);
    return std::move(strings_[static_cast<size_t>(i)]);
}
