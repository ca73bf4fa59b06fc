#pragma once
// An area of 8-bit pixels as the image decoders and sprite drawers write it: a pointer to the
// lowest byte of the pixel memory, the picture's width and rows, the distance between rows and
// their order. Bitmaps of the graphics layer describe their locked pixels this way, so the
// decoders below it never need to know the bitmap class.
#include <cstddef>
#include <cstdint>

struct PixelRows {
    uint8_t* pixels = nullptr;
    int32_t width = 0;
    int32_t rows = 0;
    int32_t bytesPerRow = 0;
    bool bottomUp = false; // the top row is the last row in memory

    // Whether the description can be written without leaving the memory it names.
    bool Valid() const { return pixels && width > 0 && rows > 0 && bytesPerRow >= width; }
    // The first byte of row y (0 = the top row); y must lie in 0..rows-1.
    uint8_t* Row(int32_t y) const
    {
        const int32_t stored = bottomUp ? rows - 1 - y : y;
        return pixels + static_cast<ptrdiff_t>(stored) * bytesPerRow;
    }
    // The step in memory from one row to the row below it.
    ptrdiff_t RowStep() const { return bottomUp ? -static_cast<ptrdiff_t>(bytesPerRow) : bytesPerRow; }
};
