// Opens arbitrary bytes as a single-file library, first as a directory in memory, then as a
// CMegaLib on a file, and runs every lookup and read over what it finds.
// Run: fuzz_MegaLibFuzz fuzz/corpus/MegaLibFuzz
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/framework/File.h"
#include "engine/resources/MegaFormat.h"
#include "engine/resources/MegaLib.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/Files.h"

namespace {

void CheckDirectory(const uint8_t* data, size_t size)
{
    MegaDirectory dir;
    const auto readAt = [data, size](uint64_t pos, void* buf, size_t n) {
        if (pos > size || n > size - pos)
            return false;
        if (n)
            std::memcpy(buf, data + pos, n);
        return true;
    };
    if (dir.Read(readAt, size) != 0)
        return;
    volatile uint64_t sum = 0;
    for (const MegaEntry& e : dir.entries) {
        const int32_t i = dir.FindEntry(e.type, e.id);
        if (i >= 0) {
            const MegaEntry& found = dir.entries[static_cast<size_t>(i)];
            // A present entry's data lies inside the input.
            sum = sum + data[static_cast<size_t>(found.offset) + static_cast<size_t>(found.size) - 1];
        }
        // The next id wraps as the engine's ids do (INT32_MAX + 1 is INT32_MIN), without overflow.
        dir.FindEntry(e.type, static_cast<int32_t>(static_cast<uint32_t>(e.id) + 1u));
    }
    dir.FindType("zzzzzzz");
}

// The library file every input is written to, on drive C: of its own folder.
const std::string& LibraryPath()
{
    static const std::string path = [] {
        const auto folder = fuzz::MakeTempFolder("megalibfuzz");
        plat::SetDrives({{'C', folder, plat::DriveKind::Fixed}});
        return std::string("C:\\input.qmd");
    }();
    return path;
}

void CheckLibrary(const uint8_t* data, size_t size)
{
    const std::string& path = LibraryPath();
    const fuzz::InputFile file(*plat::ToHostPath(path), data, size);
    CMegaLib lib(path.c_str());
    if (!lib.IsOpen())
        return;
    const MegaDirectory dir = lib.GetDirectory();
    char buf[64];
    for (const MegaEntry& e : dir.entries) {
        const std::string type = MegaTypeName(e.type);
        lib.LoadResource(type.c_str(), e.id, false);
        lib.ReadResource(type.c_str(), e.id, buf, e.size / 2, sizeof buf, false);
        int32_t offset = 0, length = 0;
        lib.OpenResourceFile(type.c_str(), e.id, &offset, &length, false);
        lib.GetResourceId(type.c_str(), static_cast<int16_t>(e.id & 0x7));
    }
    if (!dir.entries.empty()) {
        const MegaEntry& last = dir.entries.back();
        lib.DeleteResource(MegaTypeName(last.type).c_str(), last.id);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckDirectory(data, size);
    // A bad identity record is a fatal report; it ends this input only.
    fuzz::Guarded([&] { CheckLibrary(data, size); });
    return 0;
}
