// Opens arbitrary bytes as a single-file library and runs every lookup over what it finds.
// Run: fuzz_MegaLibFuzz fuzz/corpus/MegaLibFuzz
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/resources/MegaFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
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
        return 0;
    volatile uint64_t sum = 0;
    for (const MegaEntry& e : dir.entries) {
        const int32_t i = dir.FindEntry(e.type, e.id);
        if (i >= 0) {
            const MegaEntry& found = dir.entries[static_cast<size_t>(i)];
            // A present entry's data lies inside the input.
            sum = sum + data[static_cast<size_t>(found.offset) + static_cast<size_t>(found.size) - 1];
        }
        dir.FindEntry(e.type, e.id + 1);
    }
    dir.FindType("zzzzzzz");
    return 0;
}
