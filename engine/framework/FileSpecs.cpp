#include "engine/framework/FileSpecs.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "engine/framework/EngineProfile.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/SystemInfo.h"

namespace fs = std::filesystem;

namespace {

std::optional<struct stat> Stat(const std::optional<fs::path>& host)
{
    struct stat st {};
    if (!host || stat(host->c_str(), &st) != 0)
        return std::nullopt;
    return st;
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && folder.back() == '\\')
        return folder + name;
    return folder + "\\" + name;
}

// Moves a file without ever replacing one. Across file systems the file is copied and the
// original removed, the way a move between drives works.
int MoveFile(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    if (fs::exists(fs::symlink_status(to, ec)))
        return EEXIST;
    if (rename(from.c_str(), to.c_str()) == 0)
        return 0;
    const int error = errno;
    if (error != EXDEV || !fs::is_regular_file(from, ec))
        return error;
    if (!fs::copy_file(from, to, fs::copy_options::none, ec))
        return ec.value();
    fs::remove(from, ec);
    return ec.value();
}

} // namespace

CFileSpec::CFileSpec() : status_(kProgramFolder)
{
    if (std::optional<std::string> folder = plat::ToEnginePath(plat::GetProgramFolder())) {
        if (folder->back() != '\\')
            *folder += '\\';
        path_ = std::move(*folder);
    }
}

CFileSpec::CFileSpec(const char* path) { SetPath(path); }

void CFileSpec::SetPath(const char* text)
{
    if (!text || text[0] == '\0')
        return;
    const std::string path(text);
    const bool keep = path.size() < 2 || path[0] == '\\' || path[1] == ':';
    path_ = keep ? path : JoinPath(plat::GetCurrentFolder(), path);
    SetStatusByExistence();
}

void CFileSpec::Append(const char* name)
{
    if (!name)
        return;
    path_ = JoinPath(path_.value_or(""), name);
    SetStatusByExistence();
}

std::unique_ptr<CStr> CFileSpec::GetFileName() const
{
    if (!path_)
        return std::make_unique<CStr>();
    const size_t slash = path_->rfind('\\');
    return std::make_unique<CStr>(path_->c_str() + (slash == std::string::npos ? 0 : slash + 1));
}

void CFileSpec::RemoveFileName()
{
    if (!path_)
        return;
    const size_t slash = path_->rfind('\\');
    if (slash == std::string::npos || slash <= 1)
        return;
    path_->resize(slash + 1);
}

std::optional<fs::path> CFileSpec::HostPath() const
{
    if (!path_)
        return std::nullopt;
    return plat::ToHostPath(*path_);
}

bool CFileSpec::Found() const { return Stat(HostPath()).has_value(); }

bool CFileSpec::Exists()
{
    if (!GetEngineProfile().pathTestOpens)
        return Found();
    if (!path_)
        return false;
    if (OpensForReading())
        return true;
    // Tried as a folder: one trailing backslash leaves the stored path, found or not.
    if (!path_->empty() && path_->back() == '\\')
        path_->pop_back();
    return CouldBeMadeCurrent();
}

bool CFileSpec::OpensForReading() const
{
    const std::optional<fs::path> host = HostPath();
    if (!host)
        return false;
    // Non-blocking, so that a pipe without a writer does not hold the test up.
    const int fd = open(host->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    const bool file = fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    close(fd);
    return file;
}

bool CFileSpec::CouldBeMadeCurrent() const
{
    // A folder we may search could become the current folder; asking the system that way
    // leaves the process's current folder as it is.
    const std::optional<fs::path> host = HostPath();
    const std::optional<struct stat> st = Stat(host);
    return st && S_ISDIR(st->st_mode) && access(host->c_str(), X_OK) == 0;
}

bool CFileSpec::IsFile() const
{
    const std::optional<struct stat> st = Stat(HostPath());
    return st && !S_ISDIR(st->st_mode);
}

bool CFileSpec::IsFolder() const
{
    const std::optional<struct stat> st = Stat(HostPath());
    return st && S_ISDIR(st->st_mode);
}

bool CFileSpec::IsReadOnly()
{
    const std::optional<struct stat> st = Stat(HostPath());
    if (!st) {
        status_ = kFailed;
        return true;
    }
    status_ = kOk;
    return (st->st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

void CFileSpec::Create(bool asFile, uint32_t /*macType*/, uint32_t /*macCreator*/)
{
    if (Found())
        return;
    status_ = kFailed;
    const std::optional<fs::path> host = HostPath();
    if (!host)
        return;
    if (asFile) {
        const int fd = open(host->c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
        if (fd >= 0 && close(fd) == 0)
            status_ = kOk;
    } else if (mkdir(host->c_str(), 0777) == 0) {
        status_ = kOk;
    }
}

int16_t CFileSpec::Delete()
{
    const std::optional<fs::path> host = HostPath();
    if (!host)
        return ENOENT;
    return unlink(host->c_str()) == 0 ? 0 : static_cast<int16_t>(errno);
}

int16_t CFileSpec::Rename(const char* newPath)
{
    if (!newPath)
        return kFailed;
    const std::optional<fs::path> from = HostPath();
    const std::optional<fs::path> to = plat::ToHostPath(newPath);
    if (!from || !to || MoveFile(*from, *to) != 0) {
        status_ = kFailed;
        return kFailed;
    }
    path_ = newPath;
    status_ = kOk;
    return kOk;
}

int16_t CFileSpec::MoveInto(const CFileSpec& folder)
{
    const char* folderPath = folder.GetPath();
    if (!path_ || !folderPath) {
        status_ = kFailed;
        return status_;
    }
    const std::unique_ptr<CStr> name = GetFileName();
    const std::string target = JoinPath(folderPath, name->GetText());
    Rename(target.c_str());
    return status_;
}

int16_t CFileSpec::OpenDialog(const CFileFilter* filters, int16_t count, const char* title,
                              plat::WindowHandle owner)
{
    return RunDialog(false, filters, count, title, owner);
}

int16_t CFileSpec::SaveDialog(const CFileFilter* filters, int16_t count, const char* title,
                              plat::WindowHandle owner)
{
    return RunDialog(true, filters, count, title, owner);
}

int16_t CFileSpec::RunDialog(bool save, const CFileFilter* filters, int16_t count, const char* title,
                             plat::WindowHandle owner)
{
    constexpr size_t kMaxName = 255;
    plat::FileDialogRequest request;
    request.kind = save ? plat::FileDialogKind::Save : plat::FileDialogKind::Open;
    request.owner = owner;
    request.title = title ? title : "";
    if (path_) {
        // The name field starts with the name behind the last backslash and the dialog opens
        // in the folder in front of it; a path with no backslash past its first character
        // fills the name field whole.
        const size_t slash = path_->rfind('\\');
        if (slash != std::string::npos && slash > 0) {
            request.initialFolder = path_->substr(0, slash);
            request.fileName = path_->substr(slash + 1, kMaxName);
        } else {
            request.fileName = path_->substr(0, kMaxName);
        }
    }
    for (int16_t i = 0; filters && i < count; ++i)
        request.filters.push_back({filters[i].description ? filters[i].description : "",
                                   filters[i].pattern ? filters[i].pattern : ""});
    if (save && !request.filters.empty() && request.filters.front().pattern.size() > 2)
        request.defaultExtension = request.filters.front().pattern.substr(2);
    request.fileMustExist = !save;
    request.folderMustExist = save;
    request.confirmOverwrite = save;

    const std::optional<std::string> chosen = plat::GetDialogService().ChooseFile(request);
    if (!chosen) {
        status_ = kCancelled;
        return status_;
    }
    path_ = *chosen;
    status_ = kOk;
    return status_;
}
