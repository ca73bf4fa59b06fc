#pragma once
// Locks that programs find by name, so that two copies of a program (or two programs) can
// take turns at a shared task. A lock is an flock on a lock file in the settings folder
// whose name is the lock's name with every byte outside [A-Za-z0-9._-] written as %XX. A
// program that dies while holding a lock drops it with its file descriptors.
#include <filesystem>
#include <memory>
#include <string_view>

namespace plat {

class NamedLock {
public:
    // Opens the lock of that name, making its lock file (and the folder) when needed; null
    // when the lock file cannot be made.
    static std::unique_ptr<NamedLock> Create(std::string_view name);
    // The lock file of a name.
    static std::filesystem::path FileFor(std::string_view name);

    ~NamedLock();
    NamedLock(const NamedLock&) = delete;
    NamedLock& operator=(const NamedLock&) = delete;

    // Waits, without a time limit, until this holder has the lock. False when waiting failed.
    bool Acquire();
    // Takes the lock only when nobody else holds it; never waits.
    bool TryAcquire();
    void Release();

private:
    explicit NamedLock(int fd) : fd_(fd) {}
    int fd_;
};

} // namespace plat
