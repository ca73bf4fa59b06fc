#include "engine/resources/MegaLib.h"

#include <limits>

#include "engine/framework/File.h"
#include "engine/framework/FileSpecs.h"
#include "platform/Files.h"

namespace {

constexpr const char* kSource = "MegaLib";
constexpr int32_t kModeRead = CFile::kRead;
constexpr int32_t kModeWrite = CFile::kWrite;

// Reads exactly n bytes at a position; false on any error or short read.
bool ReadExactly(CFile& file, void* buffer, uint64_t pos, size_t n)
{
    if (pos > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()) ||
        n > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return false;
    return ReadFileExactly(file, buffer, static_cast<int32_t>(pos), static_cast<int32_t>(n));
}

} // namespace

CMegaLib::CMegaLib() { ClearFields(); }

CMegaLib::CMegaLib(const char* path)
{
    ClearFields();
    OpenFile(path);
}

CMegaLib::CMegaLib(const CFileSpec& spec)
{
    ClearFields();
    OpenFileSpec(&spec);
}

CMegaLib::~CMegaLib() = default;

void CMegaLib::ClearFields()
{
    spec_.reset();
    file_.reset();
    dir_ = MegaDirectory();
    stamp_ = 0;
    status_ = kLibNotOpen;
    kind_ = kLibKindSingleFile;
    open_ = false;
}

void CMegaLib::OpenFile(const char* path)
{
    if (spec_ || file_)
        return;
    if (!path || !*path) {
        status_ = kLibNotOpen;
        open_ = false;
        return;
    }
    spec_ = std::make_unique<CFileSpec>(path);
    if (!LibraryFileFound(*spec_)) {
        status_ = kLibNoFile;
        open_ = false;
        spec_.reset();
        return;
    }
    Open();
    ReadLibId(spec_.get());
}

void CMegaLib::OpenFileSpec(const CFileSpec* spec)
{
    if (spec_ || file_)
        return;
    auto candidate = spec ? std::make_unique<CFileSpec>(*spec) : nullptr;
    if (!candidate || !LibraryFileFound(*candidate)) {
        status_ = kLibNotOpen;
        open_ = false;
        return;
    }
    spec_ = std::move(candidate);
    Open();
    ReadLibId(spec_.get());
}

bool CMegaLib::ReopenFile(int32_t mode)
{
    file_.reset();
    auto file = std::make_unique<CFile>(spec_.get(), mode, 0);
    if (file->GetError() != 0)
        return false;
    file_ = std::move(file);
    return true;
}

void CMegaLib::Open()
{
    if (open_ || !spec_)
        return;
    if (!ReopenFile(kModeRead)) {
        status_ = kLibNoFile;
        open_ = false;
        return;
    }
    const int32_t length = file_->GetLength();
    status_ =
        dir_.Read([this](uint64_t pos, void* buf, size_t n) { return ReadExactly(*file_, buf, pos, n); },
                  length > 0 ? static_cast<uint64_t>(length) : 0);
    if (status_ != kLibOk) {
        open_ = false;
        return;
    }
    stamp_ = dir_.header.stamp;
    if (stamp_ == 0)
        stamp_ = static_cast<uint32_t>(plat::GetFileTime(spec_->GetPath()).value_or(0));
    CResLib::Open();
}

void CMegaLib::Close()
{
    file_.reset();
    dir_ = MegaDirectory();
    CResLib::Close();
}

const MegaEntry* CMegaLib::FindPresent(const char* type, int32_t id)
{
    const int32_t i = dir_.FindEntry(TypeText(type), id);
    status_ = i >= 0 ? kLibOk : kLibNotFound;
    return i >= 0 ? &dir_.entries[static_cast<size_t>(i)] : nullptr;
}

CResLib::ResourceReader CMegaLib::EntryReader(const MegaEntry& entry)
{
    const uint64_t start = static_cast<uint64_t>(entry.offset);
    return [this, start](void* buffer, int32_t at, int32_t n) {
        return ReadExactly(*file_, buffer, start + static_cast<uint64_t>(at), static_cast<size_t>(n));
    };
}

bool CMegaLib::HasResource(const char* type, int32_t id)
{
    return open_ && dir_.FindEntry(TypeText(type), id) >= 0;
}

int32_t CMegaLib::GetResourceSize(const char* type, int32_t id)
{
    if (!open_)
        return -1;
    const MegaEntry* e = FindPresent(type, id);
    return e ? e->size : -1;
}

uint32_t CMegaLib::GetResourceTime(const char* type, int32_t id)
{
    return GetResourceSize(type, id) >= 0 ? stamp_ : 0;
}

std::unique_ptr<CFileSpec> CMegaLib::GetResourceFileSpec(const char* type, int32_t id)
{
    if (!open_ || !FindPresent(type, id))
        return nullptr;
    return std::make_unique<CFileSpec>(*spec_);
}

int32_t CMegaLib::GetResourceId(const char* type, int16_t index)
{
    if (!open_)
        return -1;
    const int32_t t = dir_.FindType(TypeText(type));
    if (t < 0) {
        status_ = kLibNoType;
        return -1;
    }
    const MegaTypeRec& rec = dir_.types[static_cast<size_t>(t)];
    if (index < 0 || index >= rec.count) {
        status_ = kLibNotFound;
        return -1;
    }
    status_ = kLibOk;
    return dir_.entries[static_cast<size_t>(rec.first + index)].id;
}

std::unique_ptr<CRsrcBlock> CMegaLib::LoadResource(const char* type, int32_t id, bool report)
{
    if (!open_)
        return nullptr;
    std::unique_ptr<CRsrcBlock> block;
    if (const MegaEntry* e = FindPresent(type, id))
        block = ReadBlock(type, id, e->size, EntryReader(*e));
    if (!block && report)
        ReportMissingResource(type, id, kSource, 408);
    return block;
}

int16_t CMegaLib::ReadResource(const char* type, int32_t id, void* buffer, int32_t offset, int32_t count,
                               bool report)
{
    if (open_) {
        if (const MegaEntry* e = FindPresent(type, id))
            ReadPart(e->size, buffer, offset, count, EntryReader(*e));
    }
    if (status_ != kLibOk && report)
        ReportMissingResource(type, id, kSource, 616);
    return status_;
}

std::unique_ptr<CFile> CMegaLib::OpenResourceFile(const char* type, int32_t id, int32_t* offset,
                                                  int32_t* size, bool report)
{
    if (!open_) {
        status_ = kLibNotOpen;
        return nullptr;
    }
    std::unique_ptr<CFile> file;
    if (const MegaEntry* e = FindPresent(type, id)) {
        if (static_cast<uint64_t>(e->size) >= dir_.fileLength) {
            status_ = kLibBadRange;
        } else {
            file = std::make_unique<CFile>(spec_.get(), kModeRead, 0);
            if (file->GetError() != 0 || file->Seek(e->offset) != 0) {
                status_ = kLibNoFile;
                file.reset();
            } else {
                if (offset)
                    *offset = e->offset;
                if (size)
                    *size = e->size;
            }
        }
    }
    if (!file && report)
        ReportMissingResource(type, id, kSource, 474);
    return file;
}

bool CMegaLib::WriteBackEntries(int32_t first, int32_t count)
{
    if (!ReopenFile(kModeWrite)) {
        status_ = kLibBadRange;
        return false;
    }
    for (int32_t i = first; i < first + count; ++i) {
        uint8_t raw[kMegaEntrySize];
        EncodeMegaEntry(dir_.entries[static_cast<size_t>(i)], raw);
        const uint64_t pos = dir_.header.dirOffset + static_cast<uint64_t>(i) * kMegaEntrySize;
        if (file_->Write(raw, kMegaEntrySize, static_cast<int32_t>(pos)) != 0) {
            status_ = kLibWriteError;
            return false;
        }
    }
    if (!ReopenFile(kModeRead)) {
        status_ = kLibBadRange;
        return false;
    }
    return true;
}

bool CMegaLib::DeleteResource(const char* type, int32_t id)
{
    if (!open_)
        return false;
    status_ = kLibOk;
    const int32_t i = dir_.FindEntry(TypeText(type), id);
    if (i < 0) {
        status_ = kLibNotFound;
        return false;
    }
    MegaEntry& e = dir_.entries[static_cast<size_t>(i)];
    e.size = -e.size; // absent from now on, whatever happens to the file
    if (WriteBackEntries(i, 1))
        return true;
    // The write-back failed: go back to reading, but keep its failure status so that neither
    // the caller nor the library manager takes the deletion for done.
    const int16_t failure = status_;
    if (!ReopenFile(kModeRead)) {
        open_ = false;
        status_ = kLibNoFile;
        return false;
    }
    status_ = failure;
    return false;
}

int16_t CMegaLib::WriteResource(const char*, int32_t, const void*, int32_t, bool, int16_t)
{
    status_ = kLibUnsupported;
    return status_;
}

int16_t CMegaLib::SetResourceTime(const char*, int32_t, int32_t)
{
    status_ = kLibUnsupported;
    return -1;
}
