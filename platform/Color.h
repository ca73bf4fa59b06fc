#pragma once
// Colours for drawing into 8-bit surfaces. A colour reference names a colour three ways: an
// index into the palette, an RGB colour, or an RGB colour to be matched in the palette. Every
// one of them ends up as one palette index, found by exact search of the colour table.
//
// The display is a palette device: its first ten and last ten entries (0-9, 246-255) hold
// fixed system colours, the same on every machine, so that black is 0 and white 255.
#include <cstdint>

#include "platform/Surface.h"

namespace plat {

struct ColorRef {
    enum class Kind : uint8_t { Rgb, PaletteIndex, PaletteRgb };
    Kind kind = Kind::Rgb;
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint16_t index = 0; // for PaletteIndex

    static constexpr ColorRef FromRgb(uint8_t r, uint8_t g, uint8_t b) { return {Kind::Rgb, r, g, b, 0}; }
    static constexpr ColorRef FromPaletteRgb(uint8_t r, uint8_t g, uint8_t b)
    {
        return {Kind::PaletteRgb, r, g, b, 0};
    }
    static constexpr ColorRef FromIndex(uint16_t index) { return {Kind::PaletteIndex, 0, 0, 0, index}; }
    bool operator==(const ColorRef&) const = default;
};

// The fixed system colours live at these indices.
constexpr int kSystemColorCount = 20;
constexpr bool IsSystemColorIndex(int index)
{
    return (index >= 0 && index < 10) || (index >= 246 && index < 256);
}

// The system palette's entry at an index: the fixed colour at 0-9 and 246-255, black between
// (where a program's own palette would be realised). Flags are 0.
Rgb SystemPaletteEntry(int index);
// A colour table holding the system palette.
ColorTable SystemPalette();

// The entry of the table nearest the colour: the least squared distance in red, green and
// blue, the lowest index among equals.
uint8_t NearestColorIndex(const ColorTable& table, uint8_t r, uint8_t g, uint8_t b);

// The pixel value a colour reference draws with on a surface using the table: a palette index
// as it stands (indices past the table give 0), any RGB colour the nearest entry.
uint8_t ResolveColor(const ColorRef& color, const ColorTable& table);

} // namespace plat
