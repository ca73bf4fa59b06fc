// Decodes arbitrary bytes as a block-coded image, plain and masked, top-down and bottom-up,
// into a bitmap whose rows are exactly its width, so that any stray write is caught.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/resources/BlockCodec.h"
#include "fuzz/support/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    // The first two bytes choose the bitmap: a width of 1 to 80 and a height of 1 to 64,
    // stored bottom-up when the high bit of the second byte is set.
    const int width = 1 + data[0] % 80;
    const int rows = 1 + (data[1] & 0x7F) % 64;
    const int16_t height = static_cast<int16_t>(data[1] & 0x80 ? -rows : rows);
    std::vector<uint8_t> pixels(static_cast<size_t>(width * rows));
    const uint8_t* image = data + 2;
    const size_t imageSize = size - 2;
    fuzz::Guarded([&] {
        BlockCodec::DecodeToBitmap(image, imageSize, static_cast<int16_t>(width), height, pixels.data(),
                                   width);
        CRect bounds;
        BlockCodec::DecodeToBitmapMasked(image, imageSize, static_cast<int16_t>(width), height, pixels.data(),
                                         width, bounds);
    });
    return 0;
}
