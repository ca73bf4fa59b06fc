#include "platform/VideoBuffer.h"

#include <algorithm>

#include "platform/DrawContext.h"
#include "platform/Surface.h"

namespace plat {

namespace {

constexpr int kMaxSide = 4096;

bool ZoomFits(int size, int shown) { return shown == size || shown == size / 2 || shown == size * 2; }

} // namespace

ClipBuffer::ClipBuffer(int width, int height, int shownWidth, int shownHeight)
    : width_(width), height_(height), shownWidth_(shownWidth), shownHeight_(shownHeight),
      pixels_(static_cast<size_t>(width) * height, 0)
{
}

std::unique_ptr<ClipBuffer> ClipBuffer::Open(int width, int height, int shownWidth, int shownHeight)
{
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || shownWidth <= 0 ||
        shownHeight <= 0 || !ZoomFits(width, shownWidth) || !ZoomFits(height, shownHeight))
        return nullptr;
    return std::make_unique<ClipBuffer>(width, height, shownWidth, shownHeight);
}

ClipTarget ClipBuffer::Target() { return {width_, width_, height_, pixels_.data(), false}; }

uint8_t ClipBuffer::Shown(int x, int y) const
{
    const int sx = static_cast<int>(int64_t{x} * width_ / shownWidth_);
    const int sy = static_cast<int>(int64_t{y} * height_ / shownHeight_);
    return pixels_[static_cast<size_t>(sy) * width_ + sx];
}

int ClipBuffer::Blit(DrawContext& dc, int x, int y, const Rect& src) const
{
    const Rect area = Intersect(src, Rect{0, 0, shownWidth_, shownHeight_});
    if (area.Empty())
        return 0;
    Surface piece(area.Width(), area.Height());
    piece.colors = dc.Target().colors;
    for (int row = 0; row < area.Height(); ++row)
        for (int col = 0; col < area.Width(); ++col)
            piece.Row(row)[col] = Shown(area.left + col, area.top + row);
    dc.BitBlt(Rect::FromSize(x + area.left, y + area.top, area.Width(), area.Height()), piece, {0, 0});
    return 0;
}

void ClipBuffer::FromSurface(const Surface& surface, int x, int y)
{
    for (int row = 0; row < height_; ++row)
        for (int col = 0; col < width_; ++col)
            if (surface.Contains(x + col, y + row))
                pixels_[static_cast<size_t>(row) * width_ + col] = surface.At(x + col, y + row);
}

void ClipBuffer::Copy(ClipBuffer& dst, int x, int y, const ClipBuffer& src, int sx, int sy, int w, int h,
                      int key)
{
    // Clip the source area to the source, moving the destination with it, then to the
    // destination.
    Rect from = Intersect(Rect::FromSize(sx, sy, w, h), Rect{0, 0, src.shownWidth_, src.shownHeight_});
    Rect to = Rect::FromSize(x + (from.left - sx), y + (from.top - sy), from.Width(), from.Height());
    const Rect clipped = Intersect(to, Rect{0, 0, dst.width_, dst.height_});
    if (clipped.Empty() || from.Empty())
        return;
    from = from.Offset(clipped.left - to.left, clipped.top - to.top);
    for (int row = 0; row < clipped.Height(); ++row)
        for (int col = 0; col < clipped.Width(); ++col) {
            const uint8_t p = src.Shown(from.left + col, from.top + row);
            if (p != key)
                dst.pixels_[static_cast<size_t>(clipped.top + row) * dst.width_ + clipped.left + col] = p;
        }
}

} // namespace plat
