#include "tests/support/LibraryFixtures.h"

#include <fstream>
#include <stdexcept>

#include "platform/Files.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"

namespace qmtest {

void UseTempDirAsDriveC() { plat::SetDrives({{'C', TempDir(), plat::DriveKind::Fixed}}); }

std::string EnginePath(const std::filesystem::path& hostPath)
{
    const auto path = plat::ToEnginePath(hostPath);
    if (!path)
        throw std::runtime_error("not on a drive: " + hostPath.string());
    return *path;
}

void WriteMegaLibrary(const std::filesystem::path& path, const std::vector<MegaResource>& resources,
                      uint16_t version, uint32_t stamp)
{
    WriteFile(path, BuildMegaLibrary(resources, version, stamp));
}

std::vector<uint8_t> Bytes(std::string_view text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace qmtest
