#include "platform/Color.h"

#include <array>

namespace plat {
namespace {

// The twenty colours every palette display keeps fixed: ten at the start, ten at the end.
constexpr std::array<Rgb, 10> kLowColors = {{
    {0, 0, 0, 0},
    {128, 0, 0, 0},
    {0, 128, 0, 0},
    {128, 128, 0, 0},
    {0, 0, 128, 0},
    {128, 0, 128, 0},
    {0, 128, 128, 0},
    {192, 192, 192, 0},
    {192, 220, 192, 0},
    {166, 202, 240, 0},
}};
constexpr std::array<Rgb, 10> kHighColors = {{
    {255, 251, 240, 0},
    {160, 160, 164, 0},
    {128, 128, 128, 0},
    {255, 0, 0, 0},
    {0, 255, 0, 0},
    {255, 255, 0, 0},
    {0, 0, 255, 0},
    {255, 0, 255, 0},
    {0, 255, 255, 0},
    {255, 255, 255, 0},
}};

} // namespace

Rgb SystemPaletteEntry(int index)
{
    if (index >= 0 && index < 10)
        return kLowColors[static_cast<size_t>(index)];
    if (index >= 246 && index < 256)
        return kHighColors[static_cast<size_t>(index - 246)];
    return Rgb{};
}

ColorTable SystemPalette()
{
    ColorTable table{};
    for (int i = 0; i < 256; ++i)
        table[static_cast<size_t>(i)] = SystemPaletteEntry(i);
    return table;
}

uint8_t NearestColorIndex(const ColorTable& table, uint8_t r, uint8_t g, uint8_t b)
{
    int best = 0;
    int bestDistance = 3 * 255 * 255 + 1;
    for (int i = 0; i < 256; ++i) {
        const Rgb& e = table[static_cast<size_t>(i)];
        const int dr = e.r - r;
        const int dg = e.g - g;
        const int db = e.b - b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
            if (distance == 0)
                break;
        }
    }
    return static_cast<uint8_t>(best);
}

uint8_t ResolveColor(const ColorRef& color, const ColorTable& table)
{
    if (color.kind == ColorRef::Kind::PaletteIndex)
        return color.index < 256 ? static_cast<uint8_t>(color.index) : 0;
    return NearestColorIndex(table, color.r, color.g, color.b);
}

} // namespace plat
