// The drawing context's pixel moves: inverting, scrolling, and bit and stretch blits.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/DrawContext.h"

namespace plat {
namespace {

template <class Op> void MixRow(uint8_t* dst, const uint8_t* src, size_t n, Op op)
{
    for (size_t i = 0; i < n; ++i)
        dst[i] = static_cast<uint8_t>(op(src[i], dst[i]));
}

void Rop3Row(uint8_t* dst, const uint8_t* src, size_t n, Rop3 rop)
{
    switch (rop) {
    case Rop3::SrcCopy: std::memcpy(dst, src, n); break;
    case Rop3::SrcPaint: MixRow(dst, src, n, [](uint8_t s, uint8_t d) { return s | d; }); break;
    case Rop3::SrcInvert: MixRow(dst, src, n, [](uint8_t s, uint8_t d) { return s ^ d; }); break;
    case Rop3::NotSrcCopy: MixRow(dst, src, n, [](uint8_t s, uint8_t) { return ~s; }); break;
    case Rop3::NotSrcErase: MixRow(dst, src, n, [](uint8_t s, uint8_t d) { return ~(s | d); }); break;
    }
}

// Copies `rows` rows of `width` bytes, each row `srcStep` and `dstStep` bytes after the one
// before (negative for a bottom-up surface): one move when the rows touch on both sides in
// the same order, else one a row with the row addresses stepped rather than worked out again.
void CopyRows(uint8_t* dst, ptrdiff_t dstStep, const uint8_t* src, ptrdiff_t srcStep, size_t width,
              int32_t rows)
{
    if (srcStep == dstStep && static_cast<size_t>(dstStep < 0 ? -dstStep : dstStep) == width) {
        const ptrdiff_t last = dstStep * (rows - 1);
        std::memcpy(dstStep < 0 ? dst + last : dst, dstStep < 0 ? src + last : src,
                    width * static_cast<size_t>(rows));
        return;
    }
    for (int32_t r = 0; r < rows; ++r, dst += dstStep, src += srcStep)
        std::memcpy(dst, src, width);
}

ptrdiff_t RowStep(const Surface& s) { return s.bottomUp ? -static_cast<ptrdiff_t>(s.pitch) : s.pitch; }

// A copy of part of a surface, for blits whose source is the surface being drawn on.
Surface CopyOf(const Surface& source, const Rect& area)
{
    Surface copy(area.Width(), area.Height());
    for (int32_t y = 0; y < copy.height; ++y)
        std::memcpy(copy.Row(y), source.Row(area.top + y) + area.left, static_cast<size_t>(copy.width));
    return copy;
}

Rect BoundsOf(const Surface& s) { return {0, 0, s.width, s.height}; }

// Sizes of rectangles given by callers, which may span more than 32 bits can count.
int64_t WidthOf(const Rect& r) { return int64_t{r.right} - r.left; }
int64_t HeightOf(const Rect& r) { return int64_t{r.bottom} - r.top; }

} // namespace

void DrawContext::InvertRect(const Rect& rect)
{
    Region area(ToDevice(rect));
    area.Intersect(Visible());
    for (const Region::Band& band : area.Bands()) {
        for (int32_t y = band.top; y < band.bottom; ++y) {
            uint8_t* row = target_->Row(y);
            for (const Region::Span& s : area.SpansOf(band)) {
                for (int32_t x = s.left; x < s.right; ++x)
                    row[x] = static_cast<uint8_t>(~row[x]);
            }
        }
    }
}

void DrawContext::ScrollRect(const Rect& rect, int32_t dx, int32_t dy)
{
    const Rect from = Intersect(ToDevice(rect), BoundsOf(*target_));
    if (from.Empty())
        return;
    const int64_t moveX = std::clamp<int64_t>(ScaleX(dx), -from.Width(), from.Width());
    const int64_t moveY = std::clamp<int64_t>(ScaleY(dy), -from.Height(), from.Height());
    Region to(from.Offset(static_cast<int32_t>(moveX), static_cast<int32_t>(moveY)));
    to.Intersect(Region(from));
    to.Intersect(Visible());
    if (to.Empty())
        return;
    const Surface before = CopyOf(*target_, from);
    for (const Region::Band& band : to.Bands()) {
        for (int32_t y = band.top; y < band.bottom; ++y) {
            const uint8_t* src = before.Row(static_cast<int32_t>(y - moveY - from.top));
            uint8_t* dst = target_->Row(y);
            for (const Region::Span& s : to.SpansOf(band))
                std::memcpy(dst + s.left, src + (s.left - moveX - from.left),
                            static_cast<size_t>(s.right - s.left));
        }
    }
}

void DrawContext::BitBlt(const Rect& dest, const Surface& source, Point srcOrigin, Rop3 rop)
{
    const Rect d = ToDevice(dest);
    if (d.Empty())
        return;
    // Under a mapping the destination's pixels can differ from the source's in number: the
    // source's rectangle of the destination's size is stretched over them.
    if (WidthOf(d) != WidthOf(dest) || HeightOf(d) != HeightOf(dest))
        StretchToDevice(d, source,
                        Region::ClampRect(srcOrigin.x, srcOrigin.y, srcOrigin.x + WidthOf(dest),
                                          srcOrigin.y + HeightOf(dest)),
                        rop);
    else
        CopyToDevice(d, source, srcOrigin, rop);
}

void DrawContext::CopyToDevice(const Rect& d, const Surface& source, Point srcOrigin, Rop3 rop)
{
    // Destination pixel (x, y) takes source pixel (x + dx, y + dy).
    const int64_t dx = int64_t{srcOrigin.x} - d.left;
    const int64_t dy = int64_t{srcOrigin.y} - d.top;
    const Rect readable{static_cast<int32_t>(std::clamp<int64_t>(-dx, INT32_MIN, INT32_MAX)),
                        static_cast<int32_t>(std::clamp<int64_t>(-dy, INT32_MIN, INT32_MAX)),
                        static_cast<int32_t>(std::clamp<int64_t>(source.width - dx, INT32_MIN, INT32_MAX)),
                        static_cast<int32_t>(std::clamp<int64_t>(source.height - dy, INT32_MIN, INT32_MAX))};
    // Seen through one rectangle, the area is one rectangle: no regions are combined.
    Region area(VisibleIsRect() ? Intersect(Intersect(d, readable), VisibleBounds()) : d);
    if (!VisibleIsRect()) {
        area.Intersect(readable);
        area.Intersect(Visible());
    }
    if (area.Empty())
        return;
    const Surface* from = &source;
    Surface copy;
    int64_t sx = dx;
    int64_t sy = dy;
    if (&source == target_) {
        // Reading and writing the same pixels: read from a copy of what will be read.
        const Rect b = area.Bounds();
        const Rect read{static_cast<int32_t>(b.left + dx), static_cast<int32_t>(b.top + dy),
                        static_cast<int32_t>(b.right + dx), static_cast<int32_t>(b.bottom + dy)};
        copy = CopyOf(source, read);
        from = &copy;
        sx = -int64_t{b.left};
        sy = -int64_t{b.top};
    }
    for (const Region::Band& band : area.Bands()) {
        const std::span<const Region::Span> spans = area.SpansOf(band);
        if (rop == Rop3::SrcCopy && spans.size() == 1) {
            const Region::Span& s = spans[0];
            CopyRows(target_->Row(band.top) + s.left, RowStep(*target_),
                     from->Row(static_cast<int32_t>(band.top + sy)) + (s.left + sx), RowStep(*from),
                     static_cast<size_t>(s.right - s.left), band.bottom - band.top);
            continue;
        }
        for (int32_t y = band.top; y < band.bottom; ++y) {
            const uint8_t* src = from->Row(static_cast<int32_t>(y + sy));
            uint8_t* dst = target_->Row(y);
            for (const Region::Span& s : spans)
                Rop3Row(dst + s.left, src + (s.left + sx), static_cast<size_t>(s.right - s.left), rop);
        }
    }
}

void DrawContext::StretchBlt(const Rect& dest, const Surface& source, const Rect& srcRect, Rop3 rop)
{
    if (dest.Empty() || srcRect.Empty())
        return;
    const Rect d = ToDevice(dest);
    if (d.Empty())
        return;
    if (WidthOf(d) == WidthOf(srcRect) && HeightOf(d) == HeightOf(srcRect))
        CopyToDevice(d, source, srcRect.TopLeft(), rop);
    else
        StretchToDevice(d, source, srcRect, rop);
}

void DrawContext::StretchToDevice(const Rect& d, const Surface& source, const Rect& srcRect, Rop3 rop)
{
    const int64_t dw = int64_t{d.right} - d.left;
    const int64_t dh = int64_t{d.bottom} - d.top;
    const int64_t sw = int64_t{srcRect.right} - srcRect.left;
    const int64_t sh = int64_t{srcRect.bottom} - srcRect.top;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
        return;
    Region area(d);
    area.Intersect(Visible());
    if (area.Empty())
        return;
    // Each destination pixel samples the source pixel under its centre.
    const auto sample = [](int64_t i, int64_t srcStart, int64_t srcLen, int64_t dstLen) {
        return srcStart + ((2 * i + 1) * srcLen) / (2 * dstLen);
    };
    const Rect b = area.Bounds();
    std::vector<int64_t> columns(static_cast<size_t>(b.Width()));
    for (int32_t x = b.left; x < b.right; ++x)
        columns[static_cast<size_t>(x - b.left)] = sample(x - d.left, srcRect.left, sw, dw);
    const Surface* from = &source;
    Surface copy;
    if (&source == target_) {
        copy = source;
        from = &copy;
    }
    std::vector<uint8_t> gathered;
    for (const Region::Band& band : area.Bands()) {
        for (int32_t y = band.top; y < band.bottom; ++y) {
            const int64_t srcY = sample(y - d.top, srcRect.top, sh, dh);
            if (srcY < 0 || srcY >= from->height)
                continue;
            const uint8_t* src = from->Row(static_cast<int32_t>(srcY));
            uint8_t* dst = target_->Row(y);
            for (const Region::Span& s : area.SpansOf(band)) {
                // Runs of columns that fall inside the source are gathered and written at once.
                int32_t x = s.left;
                while (x < s.right) {
                    const auto inSource = [&](int32_t col) {
                        const int64_t sx = columns[static_cast<size_t>(col - b.left)];
                        return sx >= 0 && sx < from->width;
                    };
                    if (!inSource(x)) {
                        ++x;
                        continue;
                    }
                    const int32_t runStart = x;
                    gathered.clear();
                    for (; x < s.right && inSource(x); ++x)
                        gathered.push_back(src[columns[static_cast<size_t>(x - b.left)]]);
                    Rop3Row(dst + runStart, gathered.data(), gathered.size(), rop);
                }
            }
        }
    }
}

} // namespace plat
