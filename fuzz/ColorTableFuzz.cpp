// Builds a palette from arbitrary bytes taken as a "CLT" colour table and reads back every
// entry, so that any read past the table's bytes is caught. The first input also fills the
// nearest-colour table: that fill reads only the 256 built entries, never the input, and it
// takes a million comparisons, which would hold the run to a hundred inputs a second.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/framework/Memory.h"
#include "engine/graphics/Palette.h"
#include "fuzz/support/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    fuzz::Guarded([&] {
        auto* block = new CMemory(static_cast<int32_t>(size));
        if (size > 0) {
            std::memcpy(block->Lock(), data, size);
            block->Unlock();
        }
        CPalette palette(block);
        uint8_t r, g, b;
        for (int32_t i = 0; i < 256; ++i)
            palette.GetEntry(i, &r, &g, &b);
        static bool nearestFilled = false;
        if (!nearestFilled) {
            nearestFilled = true;
            palette.NearestIndex(r, g, b);
        }
    });
    return 0;
}
