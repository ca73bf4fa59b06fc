#include "platform/SystemInfo.h"

#include <sys/sysinfo.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <system_error>

#ifndef QM_PRODUCT_VERSION
#define QM_PRODUCT_VERSION "0.0.0"
#endif

namespace plat {
namespace {

std::optional<MemoryStatus> g_memoryOverride;
DisplayCaps g_display;
std::optional<std::filesystem::path> g_programFolder;
std::optional<std::filesystem::path> g_dataFolder;

}  // namespace

MemoryStatus GetMemoryStatus()
{
    if (g_memoryOverride)
        return *g_memoryOverride;
    MemoryStatus status;
    struct sysinfo info {};
    if (sysinfo(&info) == 0) {
        status.freePhysical = static_cast<uint64_t>(info.freeram) * info.mem_unit;
        status.freeSwap = static_cast<uint64_t>(info.freeswap) * info.mem_unit;
    }
    return status;
}

void SetMemoryStatusOverride(const MemoryStatus* status)
{
    if (status)
        g_memoryOverride = *status;
    else
        g_memoryOverride.reset();
}

DisplayCaps GetDisplayCaps() { return g_display; }
void SetDisplayCaps(const DisplayCaps& caps) { g_display = caps; }

std::string GetProductVersion() { return QM_PRODUCT_VERSION; }

std::filesystem::path GetProgramFolder()
{
    if (g_programFolder)
        return *g_programFolder;
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path() : exe.parent_path();
}

std::filesystem::path GetDataFolder()
{
    if (g_dataFolder)
        return *g_dataFolder;
    if (const char* env = std::getenv("QM_DATA_DIR"); env && *env)
        return env;
    return GetProgramFolder() / "data";
}

void SetProgramFolder(const std::filesystem::path& folder) { g_programFolder = folder; }
void SetDataFolder(const std::filesystem::path& folder) { g_dataFolder = folder; }

void ResetSystemInfo()
{
    g_memoryOverride.reset();
    g_display = DisplayCaps{};
    g_programFolder.reset();
    g_dataFolder.reset();
}

}  // namespace plat
