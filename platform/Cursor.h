#pragma once
// Mouse cursors: the standard kinds, and cursors made from an AND plane and an XOR plane
// (one bit per pixel, rows of width / 8 bytes, the leftmost pixel in the high bit) with a
// hot spot. Per pixel: AND 1 XOR 0 transparent, AND 0 XOR 0 black, AND 0 XOR 1 white,
// AND 1 XOR 1 the screen inverted.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Window.h"

namespace plat {

enum class StandardCursor { Arrow, IBeam, Cross, Wait, SizeNwse, SizeNesw, SizeWe, SizeNs };

// The shared handle of a standard cursor; never destroyed.
CursorHandle GetStandardCursor(StandardCursor kind);
// A cursor from planes of width x height pixels (width a multiple of 8, both 1 to 256);
// 0 when the size is not allowed or a plane is shorter than width / 8 * height bytes.
CursorHandle CreateCursor(Point hotSpot, int width, int height, const std::vector<uint8_t>& andPlane,
                          const std::vector<uint8_t>& xorPlane);
// False for a standard cursor or a handle that is not a cursor. Destroying the current
// cursor leaves no cursor shown.
bool DestroyCursor(CursorHandle cursor);

struct CursorImage {
    std::optional<StandardCursor> standard; // set for the standard kinds, which have no planes
    int width = 0;
    int height = 0;
    Point hotSpot;
    std::vector<uint8_t> andPlane;
    std::vector<uint8_t> xorPlane;
};
const CursorImage* GetCursorImage(CursorHandle cursor);

enum class CursorPixel { Transparent, Black, White, Inverted };
CursorPixel GetCursorPixel(const CursorImage& image, int x, int y);

// Makes a cursor current (0 shows none); returns the previous one.
CursorHandle SetCursor(CursorHandle cursor);
CursorHandle GetCursor();
// Counts showing up and down; the cursor shows while the count is 0 or more. Returns it.
int ShowCursor(bool show);
bool IsCursorShown();

} // namespace plat
