#include "platform/NamedLock.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

#include "platform/Settings.h"

namespace plat {
namespace {

bool KeepsItsByte(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-';
}

// Every name gets its own file name: "Software/KVL/A" becomes "Software%2FKVL%2FA".
std::string EncodeName(std::string_view name)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : name) {
        if (KeepsItsByte(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

} // namespace

std::filesystem::path NamedLock::FileFor(std::string_view name)
{
    return GetSettingsFolder() / (EncodeName(name) + ".lock");
}

std::unique_ptr<NamedLock> NamedLock::Create(std::string_view name)
{
    const auto file = FileFor(name);
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return nullptr;
    return std::unique_ptr<NamedLock>(new NamedLock(fd));
}

NamedLock::~NamedLock() { ::close(fd_); }

bool NamedLock::Acquire()
{
    int result;
    do
        result = ::flock(fd_, LOCK_EX);
    while (result != 0 && errno == EINTR);
    return result == 0;
}

bool NamedLock::TryAcquire()
{
    int result;
    do
        result = ::flock(fd_, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    return result == 0;
}

void NamedLock::Release() { ::flock(fd_, LOCK_UN); }

} // namespace plat
