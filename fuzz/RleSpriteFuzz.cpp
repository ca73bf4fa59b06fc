// Draws every cel of arbitrary bytes taken as a run-length sprite into a bitmap whose rows are
// exactly its width, so that any stray read or write is caught: at its own size, and stretched
// with each pixel writer (copy, remap, blend). The first four bytes choose the bitmap's size
// and row order, the cel's place and stretched size, mirroring, transparency, a clip rectangle
// and a priority mask.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/graphics/RleSprite.h"
#include "engine/graphics/RleStretch.h"
#include "fuzz/support/FuzzSupport.h"

namespace {

constexpr int32_t kMaxCels = 16;

// Tables for the remap and blend writers; their contents do not matter here.
uint8_t g_remap[256];
uint8_t g_colours[256][3];
uint8_t g_nearest[4096];

// The cel stretched into a rectangle of width x height (empty or inverted ones included) at
// (top, left) with each pixel writer.
void DrawStretched(const RleCelTable& table, int32_t cel, const PixelRows& dest,
                   const RleDrawOptions& options, const CRect& position)
{
    for (RlePixelOp op : {RlePixelOp::Copy, RlePixelOp::Remap, RlePixelOp::Blend})
        DrawRleStretchedPixels(table, cel, nullptr, dest, position, options,
                               RlePixelWriter{op, g_remap, g_colours, g_nearest});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    const int32_t width = 1 + data[0] % 64;
    const int32_t rows = 1 + data[1] % 64;
    const int32_t top = static_cast<int8_t>(data[2]) / 2;
    const int32_t left = static_cast<int8_t>(data[3]) / 2;
    const uint8_t flags = data[1] >> 6 | (data[0] >> 6) << 2;
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(rows));
    std::vector<uint8_t> mask(pixels.size(), 100);
    const PixelRows dest{pixels.data(), width, rows, width, (flags & 1) != 0};
    const PixelRows maskRows{mask.data(), width, rows, width, (flags & 1) != 0};
    const CRect clip(-3, 2, static_cast<int16_t>(rows + 5), static_cast<int16_t>(width - 1));
    RleDrawOptions options;
    options.mirror = (flags & 2) != 0;
    options.transparent = (flags & 4) ? 0 : -1;
    options.clip = (flags & 8) ? &clip : nullptr;
    options.mask = (flags & 8) ? &maskRows : nullptr;
    options.priority = 50;
    const auto stretchedWidth = static_cast<int16_t>(data[0] * 7 % 101 - 4);
    const auto stretchedHeight = static_cast<int16_t>(data[1] * 5 % 101 - 4);
    const CRect position(static_cast<int16_t>(top), static_cast<int16_t>(left),
                         static_cast<int16_t>(top + stretchedHeight),
                         static_cast<int16_t>(left + stretchedWidth));

    fuzz::Guarded([&] {
        const RleCelTable table(data + 4, size - 4);
        std::vector<uint32_t> offsets;
        for (int32_t cel = -1; cel <= std::min<int32_t>(table.GetCount(), kMaxCels); ++cel) {
            DrawRleCelPixels(table, cel, dest, top, left, options);
            BuildRleRowOffsets(table, cel, offsets);
            DrawStretched(table, cel, dest, options, position);
        }
    });
    return 0;
}
