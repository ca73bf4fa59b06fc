#pragma once
// Facts about the machine the engine checks at start-up, each one settable by tests.
#include <cstdint>
#include <filesystem>
#include <string>

namespace plat {

struct MemoryStatus {
    uint64_t freePhysical = 0;
    uint64_t freeSwap = 0;
};
// Free physical memory plus free swap, read from the system unless a test set it.
MemoryStatus GetMemoryStatus();
void SetMemoryStatusOverride(const MemoryStatus* status);

struct DisplayCaps {
    int bitsPerPixel = 8;
    bool paletteBased = true;
    int width = 800;
    int height = 600;
};
DisplayCaps GetDisplayCaps();
void SetDisplayCaps(const DisplayCaps& caps);

// The product version text built into the program ("3.0.0").
std::string GetProductVersion();

// The folder the running program lives in, and the folder holding its data libraries
// (the environment variable QM_DATA_DIR when set, else "data" under the program folder).
std::filesystem::path GetProgramFolder();
std::filesystem::path GetDataFolder();
void SetProgramFolder(const std::filesystem::path& folder);
void SetDataFolder(const std::filesystem::path& folder);

void ResetSystemInfo();

}  // namespace plat
