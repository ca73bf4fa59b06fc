#include "tools/HostRootDrive.h"

HostRootDrive::HostRootDrive() : savedDrives_(plat::GetDrives()), savedFolder_(plat::GetCurrentFolder())
{
    plat::SetDrives({{'Q', std::filesystem::path("/"), plat::DriveKind::Fixed}});
}

HostRootDrive::~HostRootDrive()
{
    plat::SetDrives(savedDrives_);
    plat::SetCurrentFolder(savedFolder_);
}

std::optional<std::string> HostRootDrive::EnginePath(const std::filesystem::path& hostPath)
{
    std::error_code ec;
    return plat::ToEnginePath(std::filesystem::absolute(hostPath, ec));
}
