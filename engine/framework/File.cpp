#include "engine/framework/File.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/framework/FileSpecs.h"

CFile::CFile(const CFileSpec* spec, int32_t mode, uint8_t flag)
{
    if (!spec)
        error_ = kOpenFailed;
    else if (!spec->GetPath())
        error_ = kNoPath;
    else
        OpenSpec(*spec, mode, flag);
}

CFile::~CFile() { Close(); }

void CFile::Close()
{
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
    error_ = kOk;
}

int16_t CFile::Open(const CFileSpec* spec, int32_t mode, uint8_t flag)
{
    if (fd_ >= 0 || !spec || !spec->GetPath())
        error_ = kOpenFailed;
    else
        OpenSpec(*spec, mode, flag);
    return error_;
}

void CFile::OpenSpec(const CFileSpec& spec, int32_t mode, uint8_t flag)
{
    flag_ = flag;
    error_ = kOpenFailed;
    int access = O_RDONLY;
    if (mode == kWrite)
        access = O_WRONLY;
    else if (mode == kReadWrite)
        access = O_RDWR;
    const auto host = spec.HostPath();
    if (!host)
        return;
    const int fd = open(host->c_str(), access | O_CLOEXEC);
    if (fd < 0)
        return;
    // Only files are opened; a folder is not a file.
    struct stat st {};
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        close(fd);
        return;
    }
    fd_ = fd;
    error_ = kOk;
}

bool CFile::SeekIfGiven(int32_t position)
{
    if (position <= -1)
        return true;
    return Seek(position) == kOk;
}

int16_t CFile::Read(void* buffer, int32_t count, int32_t position)
{
    if (fd_ < 0)
        return error_ = kNotOpen;
    if (!SeekIfGiven(position))
        return error_;
    if (count == -1)
        count = GetLength();
    if (count < 0 || (count > 0 && !buffer))
        return error_ = kReadFailed;
    int32_t total = 0;
    auto* out = static_cast<char*>(buffer);
    while (total < count) {
        const ssize_t n = read(fd_, out + total, static_cast<size_t>(count - total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            transferred_ = total;
            return error_ = kReadFailed;
        }
        if (n == 0)
            break;
        total += static_cast<int32_t>(n);
    }
    transferred_ = total;
    return error_ = total == 0 ? kShort : kOk;
}

int16_t CFile::Write(const void* buffer, int32_t count, int32_t position)
{
    if (fd_ < 0)
        return error_ = kNotOpen;
    if (!SeekIfGiven(position))
        return error_;
    transferred_ = 0;
    if (count < 0 || (count > 0 && !buffer))
        return error_ = kWriteFailed;
    const auto* in = static_cast<const char*>(buffer);
    while (transferred_ < count) {
        const ssize_t n = write(fd_, in + transferred_, static_cast<size_t>(count - transferred_));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return error_ = kWriteFailed;
        if (n == 0)
            break;
        transferred_ += static_cast<int32_t>(n);
    }
    return error_ = transferred_ < count ? kShort : kOk;
}

int16_t CFile::Seek(int32_t position)
{
    if (fd_ < 0)
        return error_ = kNotOpen;
    return error_ = lseek(fd_, position, SEEK_SET) < 0 ? kSeekFailed : kOk;
}

int32_t CFile::GetPos()
{
    if (fd_ < 0) {
        error_ = kNotOpen;
        return -1;
    }
    return static_cast<int32_t>(lseek(fd_, 0, SEEK_CUR));
}

int32_t CFile::GetLength()
{
    if (fd_ < 0) {
        error_ = kNotOpen;
        return -1;
    }
    struct stat st {};
    if (fstat(fd_, &st) != 0)
        return -1;
    return st.st_size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(st.st_size);
}

int16_t CFile::SetLength(int32_t length)
{
    if (fd_ < 0)
        return kNoPath;
    const off_t old = lseek(fd_, 0, SEEK_CUR);
    if (length >= 0 && lseek(fd_, length, SEEK_SET) < 0)
        return static_cast<int16_t>(errno);
    const off_t end = lseek(fd_, 0, SEEK_CUR);
    if (ftruncate(fd_, end) != 0)
        return static_cast<int16_t>(errno);
    if (old < end)
        lseek(fd_, old, SEEK_SET);
    return 0;
}
