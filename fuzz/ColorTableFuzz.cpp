// Builds a palette from arbitrary bytes taken as a "CLT" colour table, then fills its
// nearest-colour table, so that any read past the table's bytes is caught.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/framework/Memory.h"
#include "engine/graphics/Palette.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    auto* block = new CMemory(static_cast<int32_t>(size));
    if (size > 0) {
        std::memcpy(block->Lock(), data, size);
        block->Unlock();
    }
    CPalette palette(block);
    palette.NearestIndex(size > 0 ? data[0] : 0, 0x80, 0xFF);
    return 0;
}
