#include "engine/resources/FoldLib.h"

#include <cerrno>

#include "engine/framework/File.h"
#include "engine/framework/FileSpecs.h"
#include "engine/resources/DirScan.h"
#include "engine/resources/ResourceKey.h"
#include "platform/Files.h"

namespace {

constexpr const char* kSource = "foldlib";
constexpr int32_t kModeRead = CFile::kRead;
constexpr int32_t kModeReadWrite = CFile::kReadWrite;

constexpr uint32_t FourCharCode(const char (&code)[5])
{
    return static_cast<uint32_t>(static_cast<uint8_t>(code[0])) << 24 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 8 | static_cast<uint8_t>(code[3]);
}
// Files the library creates are tagged with these Macintosh type and creator codes where the
// platform keeps such tags.
constexpr uint32_t kFileType = FourCharCode("TEXT");
constexpr uint32_t kFileCreator = FourCharCode("CWIE");

bool IsIgnoredFolder(const CStr& name)
{
    const int32_t n = name.GetLength();
    return n >= 2 && name.GetText()[0] == '(' && name.GetText()[n - 1] == ')';
}

std::unique_ptr<CFileSpec> Child(const CFileSpec& folder, const char* name)
{
    auto spec = std::make_unique<CFileSpec>(folder);
    spec->Append(name);
    return spec;
}

// Reads a resource that is a whole file of its own.
CResLib::ResourceReader FileReader(CFile& file)
{
    return [&file](void* buffer, int32_t at, int32_t n) { return ReadFileExactly(file, buffer, at, n); };
}

} // namespace

CFoldLib::CFoldLib()
{
    kind_ = kLibKindFolder;
    writable_ = true;
}

CFoldLib::CFoldLib(const char* path) : CFoldLib() { OpenFile(path); }

CFoldLib::CFoldLib(const CFileSpec& spec) : CFoldLib() { OpenFileSpec(&spec); }

CFoldLib::~CFoldLib() = default;

void CFoldLib::OpenFileSpec(const CFileSpec* spec)
{
    if (!folder_) {
        auto candidate = spec ? std::make_unique<CFileSpec>(*spec) : nullptr;
        if (!candidate || !LibraryFolderFound(*candidate)) {
            status_ = kLibNotOpen;
            open_ = false;
            return;
        }
        folder_ = std::move(candidate);
    }
    Open();
    ReadLibId(folder_.get());
    ScanTypeFolders();
}

void CFoldLib::OpenFile(const char* path)
{
    if (!folder_) {
        if (!path || !*path) {
            status_ = kLibNotOpen;
            open_ = false;
            return;
        }
        const CFileSpec spec(path);
        OpenFileSpec(&spec);
        return;
    }
    OpenFileSpec(folder_.get());
}

void CFoldLib::ScanTypeFolders()
{
    types_.clear();
    if (!folder_)
        return;
    const CDirScan scan(*folder_, 0, 0, "*.*");
    for (int32_t i = 0; i < scan.GetFolderCount(); ++i) {
        const char* name = scan.GetFolder(i)->GetText();
        auto type = std::make_unique<CFoldType>(name);
        const CDirScan inner(*Child(*folder_, name), 0, 0, "*.*");
        for (int32_t j = 0; j < inner.GetFolderCount(); ++j)
            if (!IsIgnoredFolder(*inner.GetFolder(j)))
                type->GetFolders().Add(std::make_unique<CStr>(*inner.GetFolder(j)));
        types_.push_back(std::move(type));
    }
}

int32_t CFoldLib::IdFromFileName(const char* name) { return ResourceIdFromFileName(name ? name : ""); }

std::unique_ptr<CFileSpec> CFoldLib::TypeFolder(const char* type) const { return Child(*folder_, type); }

std::unique_ptr<CFileSpec> CFoldLib::SearchFolder(const CFileSpec& folder, const CStr& pattern)
{
    status_ = kLibNotFound;
    const auto entries = plat::ListFolderNames(folder.GetPath() ? folder.GetPath() : "", pattern.GetText());
    if (!entries)
        return nullptr;
    for (const plat::FolderEntry& e : *entries) {
        if (!e.isFolder) {
            status_ = kLibOk;
            return Child(folder, e.name.c_str());
        }
    }
    return nullptr;
}

std::unique_ptr<CFileSpec> CFoldLib::FindFile(const char* type, int32_t id)
{
    if (!open_ || !folder_)
        return nullptr;
    if (!IsSafeFolderType(type)) {
        status_ = kLibNotFound;
        return nullptr;
    }
    const auto typeFolder = TypeFolder(type);
    if (!LibraryFolderFound(*typeFolder)) {
        status_ = kLibNotFound;
        return nullptr;
    }
    const auto pattern = MakeFileName(type, id, true);
    if (auto found = SearchFolder(*typeFolder, *pattern))
        return found;
    for (const auto& t : types_) {
        if (!IsType(type, t->GetName().GetText()))
            continue;
        const CTplRec& alternatives = t->GetFolders();
        for (int32_t i = 0; i < alternatives.GetEntryCount(); ++i) {
            const auto alt = Child(*typeFolder, alternatives.GetEntry(i)->GetText());
            if (!LibraryFolderFound(*alt))
                continue;
            if (auto found = SearchFolder(*alt, *pattern))
                return found;
        }
        break;
    }
    status_ = kLibNotFound;
    return nullptr;
}

bool CFoldLib::HasResource(const char* type, int32_t id) { return FindFile(type, id) != nullptr; }

std::unique_ptr<CFileSpec> CFoldLib::GetResourceFileSpec(const char* type, int32_t id)
{
    return FindFile(type, id);
}

std::unique_ptr<CRsrcBlock> CFoldLib::LoadResource(const char* type, int32_t id, bool report)
{
    if (!open_)
        return nullptr;
    std::unique_ptr<CRsrcBlock> block;
    status_ = kLibNotFound;
    if (auto spec = FindFile(type, id)) {
        CFile file(spec.get(), kModeRead, 0);
        status_ = file.GetError() == 0 ? kLibOk : kLibNotFound;
        const int32_t length = status_ == kLibOk ? file.GetLength() : 0;
        if (length > 0)
            block = ReadBlock(type, id, length, FileReader(file));
    }
    if (!block && report)
        ReportMissingResource(type, id, kSource, 527);
    return block;
}

int16_t CFoldLib::ReadResource(const char* type, int32_t id, void* buffer, int32_t offset, int32_t count,
                               bool report)
{
    if (open_) {
        status_ = kLibNotFound;
        if (auto spec = FindFile(type, id)) {
            CFile file(spec.get(), kModeRead, 0);
            if (file.GetError() != 0) {
                status_ = kLibNotFound;
            } else {
                ReadPart(file.GetLength(), buffer, offset, count, FileReader(file));
            }
        }
    }
    if (status_ != kLibOk && report)
        ReportMissingResource(type, id, kSource, 470);
    return status_;
}

std::unique_ptr<CFile> CFoldLib::OpenResourceFile(const char* type, int32_t id, int32_t* offset,
                                                  int32_t* size, bool report)
{
    std::unique_ptr<CFile> file;
    if (open_) {
        status_ = kLibNoFile;
        if (auto spec = FindFile(type, id)) {
            file = std::make_unique<CFile>(spec.get(), kModeRead, 0);
            if (file->GetError() != 0 || file->Seek(0) != 0) {
                file.reset();
                status_ = kLibNoFile;
            } else {
                status_ = kLibOk;
                if (offset)
                    *offset = 0;
                if (size)
                    *size = file->GetLength();
            }
        } else {
            status_ = kLibNoFile;
        }
    }
    if (!file && report)
        ReportMissingResource(type, id, kSource, 586);
    return file;
}

int32_t CFoldLib::GetResourceSize(const char* type, int32_t id)
{
    if (!open_)
        return -1;
    if (auto spec = FindFile(type, id)) {
        CFile file(spec.get(), kModeRead, 0);
        if (file.GetError() == 0) {
            status_ = kLibOk;
            return file.GetLength();
        }
    }
    status_ = kLibNotFound;
    return -1;
}

uint32_t CFoldLib::GetResourceTime(const char* type, int32_t id)
{
    if (!open_)
        return 0;
    status_ = kLibOk;
    const auto spec = FindFile(type, id);
    if (!spec)
        return 0;
    const auto time = plat::GetFileTime(spec->GetPath());
    if (!time) {
        status_ = kLibBadRange;
        return 0;
    }
    return static_cast<uint32_t>(*time);
}

int16_t CFoldLib::TimeErrorResult(int error)
{
    switch (error) {
    case ENOENT: return 2;
    case EACCES: return 10;
    case EMFILE: return 4;
    default: return 1; // a failure, whatever its cause
    }
}

int16_t CFoldLib::SetResourceTime(const char* type, int32_t id, int32_t time)
{
    const auto spec = FindFile(type, id);
    if (!spec)
        return 2;
    errno = 0;
    if (plat::SetFileTime(spec->GetPath(), static_cast<uint32_t>(time)))
        return 0;
    return TimeErrorResult(errno);
}

int32_t CFoldLib::GetResourceId(const char* type, int16_t index)
{
    if (!open_)
        return -1;
    const auto typeFolder = IsSafeFolderType(type) ? TypeFolder(type) : nullptr;
    if (!typeFolder || !LibraryFolderFound(*typeFolder)) {
        status_ = kLibNoType;
        return -1;
    }
    const CDirScan scan(*typeFolder, 0, 0, nullptr);
    if (index < 0 || index >= scan.GetFileCount()) {
        status_ = kLibNotFound;
        return -1;
    }
    status_ = kLibOk;
    return IdFromFileName(scan.GetFile(index)->GetText());
}

bool CFoldLib::DeleteResource(const char* type, int32_t id)
{
    if (!open_)
        return false;
    status_ = kLibOk;
    const auto spec = FindFile(type, id);
    if (!spec)
        return false;
    if (spec->Delete() != 0) {
        status_ = kLibBadRange;
        return false;
    }
    return true;
}

int16_t CFoldLib::WriteResource(const char* type, int32_t id, const void* data, int32_t size, bool, int16_t)
{
    if (!open_)
        return kLibNotOpen;
    if (!IsSafeFolderType(type)) {
        status_ = kLibNotFound;
        return status_;
    }
    if (size < 0 || (size > 0 && !data)) {
        status_ = kLibBadRange;
        return status_;
    }
    // The resource is rewritten in the folder where it was found, else in its type folder.
    std::unique_ptr<CFileSpec> folder = FindFile(type, id);
    if (folder)
        folder->RemoveFileName();
    else
        folder = TypeFolder(type);
    if (!LibraryFolderFound(*folder))
        folder->Create(false, kFileType, kFileCreator);
    const auto target = Child(*folder, MakeFileName(type, id, false)->GetText());
    if (!target->Exists())
        target->Create(true, kFileType, kFileCreator);
    if (!LibraryFileFound(*target)) {
        status_ = kLibNotFound;
        return status_;
    }
    CFile file(target.get(), kModeReadWrite, 0);
    if (file.GetError() != 0 || (size > 0 && file.Write(data, size, 0) != 0) || file.SetLength(size) != 0) {
        status_ = kLibWriteError;
        return status_;
    }
    status_ = kLibOk;
    if (IsType(type, "LID"))
        ReadLibId(folder_.get());
    return status_;
}
