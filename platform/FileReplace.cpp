#include "platform/FileReplace.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace plat {
namespace {

// 0, or the error number of the write that failed.
int WriteAll(int fd, std::span<const uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        bytes = bytes.subspan(static_cast<size_t>(n));
    }
    return 0;
}

void SyncFolder(const std::filesystem::path& folder)
{
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace

int ReplaceFileContents(const std::filesystem::path& file, std::span<const uint8_t> bytes, bool durable)
{
    const auto temp = std::filesystem::path(file.string() + ".tmp");
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno;
    int error = WriteAll(fd, bytes);
    if (error == 0 && durable && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && std::rename(temp.c_str(), file.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        return error;
    }
    if (durable)
        SyncFolder(file.parent_path());
    return 0;
}

} // namespace plat
