#include "engine/resources/ResLib.h"

#include <string>

#include "engine/framework/Diag.h"
#include "engine/framework/EngineProfile.h"
#include "engine/framework/EngineStrings.h"
#include "engine/framework/File.h"
#include "engine/framework/FileSpecs.h"
#include "engine/resources/ResourceKey.h"

void CResLib::Open()
{
    status_ = kLibOk;
    open_ = true;
}

void CResLib::Close()
{
    status_ = kLibClosed;
    open_ = false;
}

bool CResLib::DeleteResource(const char*, int32_t)
{
    status_ = kLibUnsupported;
    return false;
}

int16_t CResLib::WriteResource(const char*, int32_t, const void*, int32_t, bool, int16_t)
{
    status_ = kLibUnsupported;
    return status_;
}

void CResLib::SetName(std::unique_ptr<CStr> name)
{
    if (name)
        name_ = *name;
    else
        name_.Empty();
}

void CResLib::ReadLibId(const CFileSpec* spec)
{
    if (status_ != kLibOk)
        return;
    std::unique_ptr<CRsrcBlock> record = LoadResource("LID", 1, false);
    LibIdentity identity;
    status_ = kLibOk;
    if (!CompileLibId(std::move(record), identity))
        return;
    mask_ = identity.mask;
    version_ = identity.version;
    id_ = identity.id;
    firstText_ = std::move(identity.firstText);
    secondText_ = std::move(identity.secondText);
    if (spec)
        SetName(spec->GetFileName());
}

std::unique_ptr<CStr> CResLib::MakeFileName(const char* type, int32_t id, bool pattern)
{
    return std::make_unique<CStr>(ResourceFileName(TypeText(type), id, pattern).c_str());
}

std::unique_ptr<CRsrcBlock> CResLib::ReadBlock(const char* type, int32_t id, int32_t size,
                                               const ResourceReader& read)
{
    auto block = std::make_unique<CRsrcBlock>(type, id, size);
    void* data = block->GetSize() == size ? block->Lock() : nullptr;
    if (!data) {
        status_ = kLibBadRange; // no memory for the block
        return nullptr;
    }
    const bool complete = read(data, 0, size);
    block->Unlock();
    if (!complete) {
        status_ = kLibReadError;
        return nullptr;
    }
    return block;
}

int16_t CResLib::ReadPart(int32_t size, void* buffer, int32_t offset, int32_t count,
                          const ResourceReader& read)
{
    int64_t n = count;
    if (static_cast<int64_t>(offset) + count > size)
        n = static_cast<int64_t>(size) - offset;
    if (offset < 0 || n < 0 || (n > 0 && !buffer))
        status_ = kLibBadRange;
    else if (n == 0 || !read(buffer, offset, static_cast<int32_t>(n)))
        status_ = kLibReadError;
    else
        status_ = kLibOk;
    return status_;
}

bool LibraryFileFound(CFileSpec& spec)
{
    return GetEngineProfile().pathTestOpens ? spec.Exists() : spec.IsFile();
}

bool LibraryFolderFound(CFileSpec& spec)
{
    return GetEngineProfile().pathTestOpens ? spec.Exists() : spec.IsFolder();
}

bool ReadFileExactly(CFile& file, void* buffer, int32_t position, int32_t count)
{
    if (count == 0)
        return true;
    return file.Read(buffer, count, position) == CFile::kOk && file.GetTransferred() == count;
}

void ReportMissingResource(const char* type, int32_t id, const char* source, uint32_t line)
{
    const std::string text = GetEngineText(6) + TypeText(type) + " " + std::to_string(id);
    ReportError(kReportFatal, text.c_str(), source, line);
}

bool IsType(const char* type, const char* name) { return type && CStr::CompareText(type, name, false) == 0; }
