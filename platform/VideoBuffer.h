#pragma once
// The 8-bit pictures a video frame composes its clip in: pixels (0 when opened) with a
// palette, shown at their own size, at half or at double size (nearest neighbour). A clip
// decodes into a buffer's pixels; buffers copy between each other (plainly, or leaving out
// one key colour), take pixels from a window's surface and blit to a drawing context.
//
// Coordinates: a source area is given in the buffer's shown size (a zoomed buffer is read
// through its zoom); a destination area in the destination buffer's pixels. Every area is
// clipped to both buffers.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Geometry.h"
#include "platform/VideoClip.h"

namespace plat {

class DrawContext;
struct Surface;

class ClipBuffer {
public:
    // Pixels of width x height shown as shownWidth x shownHeight: equal, half or double on
    // each side (halves rounded down). Null for sizes of 0, over 4096 or another zoom.
    static std::unique_ptr<ClipBuffer> Open(int width, int height, int shownWidth, int shownHeight);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int ShownWidth() const { return shownWidth_; }
    int ShownHeight() const { return shownHeight_; }
    int Pitch() const { return width_; }
    uint8_t* Pixels() { return pixels_.data(); }
    const uint8_t* Pixels() const { return pixels_.data(); }
    // The pixels as a clip's decoding target (rows top down).
    ClipTarget Target();

    std::array<uint8_t, 768>& Palette() { return palette_; }
    void NewPalette(const uint8_t* palette) { std::copy(palette, palette + 768, palette_.begin()); }

    // Draws the shown area `src` with its top-left at (x + src.left, y + src.top) of the
    // context. Answers 0 (nothing drawn for an area outside the buffer).
    int Blit(DrawContext& dc, int x, int y, const Rect& src) const;
    // Copies the surface's pixels from (x, y) (top-down coordinates) over the whole buffer;
    // what lies outside the surface is left as it was.
    void FromSurface(const Surface& surface, int x, int y);
    // Copies the shown area (sx, sy, w, h) of src to (x, y) of dst, leaving out source pixels
    // of colour `key` when key is 0..255.
    static void Copy(ClipBuffer& dst, int x, int y, const ClipBuffer& src, int sx, int sy, int w, int h,
                     int key = -1);

    ClipBuffer(int width, int height, int shownWidth, int shownHeight);

private:
    // The stored pixel behind a shown pixel.
    uint8_t Shown(int x, int y) const;

    int width_;
    int height_;
    int shownWidth_;
    int shownHeight_;
    std::vector<uint8_t> pixels_;
    std::array<uint8_t, 768> palette_{};
};

} // namespace plat
