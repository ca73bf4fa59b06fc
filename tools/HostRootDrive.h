#pragma once
// Engine classes name files by drive paths ("Q:\data\lib.qmd"). While a HostRootDrive lives,
// the host's root folder is drive Q:, so that a tool can hand any host path to them; the
// drives and the current folder are put back when it goes.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/Files.h"

class HostRootDrive {
public:
    HostRootDrive();
    ~HostRootDrive();
    HostRootDrive(const HostRootDrive&) = delete;
    HostRootDrive& operator=(const HostRootDrive&) = delete;

    // The engine path of a host path, or nothing when it has none.
    static std::optional<std::string> EnginePath(const std::filesystem::path& hostPath);

private:
    std::vector<plat::Drive> savedDrives_;
    std::string savedFolder_;
};
