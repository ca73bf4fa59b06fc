// The drawing context's state, shapes and fills. Every shape is first turned into the regions
// of pixels its brush and its pen cover (disjoint, so each pixel meets the raster mode once);
// those are cut to the visible area and painted span by span.
#include "platform/DrawContext.h"

#include <algorithm>
#include <cstring>

#include "platform/Shapes.h"

namespace plat {
namespace {

// Pens wider than this draw as this wide; nothing on a screen needs more.
constexpr int32_t kMaxPenWidth = 4096;

template <class Op> void MixRow(uint8_t* row, size_t n, Op op)
{
    for (size_t i = 0; i < n; ++i)
        row[i] = static_cast<uint8_t>(op(row[i]));
}

// Rows of 16 to 64 pixels (a sprite's or a button's) filled with 16-byte stores, the last
// overlapping the one before it: a library call a row costs more than the bytes it sets.
void FillNarrowRows(uint8_t* first, ptrdiff_t step, size_t width, int32_t rows, uint8_t value)
{
    uint8_t splat[16];
    std::memset(splat, value, sizeof splat);
    for (int32_t r = 0; r < rows; ++r, first += step) {
        for (size_t i = 0; i + 16 < width; i += 16)
            std::memcpy(first + i, splat, 16);
        std::memcpy(first + width - 16, splat, 16);
    }
}

void Rop2Row(uint8_t* row, size_t n, uint8_t p, Rop2 mode)
{
    const auto np = static_cast<uint8_t>(~p);
    switch (mode) {
    case Rop2::CopyPen: std::memset(row, p, n); break;
    case Rop2::NotCopyPen: std::memset(row, np, n); break;
    case Rop2::MergePen: MixRow(row, n, [p](uint8_t d) { return p | d; }); break;
    case Rop2::XorPen: MixRow(row, n, [p](uint8_t d) { return p ^ d; }); break;
    case Rop2::MaskNotPen: MixRow(row, n, [np](uint8_t d) { return np & d; }); break;
    case Rop2::MergeNotPen: MixRow(row, n, [np](uint8_t d) { return np | d; }); break;
    case Rop2::NotXorPen: MixRow(row, n, [p](uint8_t d) { return ~(p ^ d); }); break;
    case Rop2::MaskPen: MixRow(row, n, [p](uint8_t d) { return p & d; }); break;
    }
}

// v * num / den rounded to the nearest whole number, halves away from zero (den > 0).
int64_t ScaleRounded(int64_t v, int64_t num, int64_t den)
{
    const int64_t n = v * num;
    return n >= 0 ? (2 * n + den) / (2 * den) : -((-2 * n + den) / (2 * den));
}

} // namespace

DrawContext::DrawContext(Surface& target) : target_(&target) {}

bool DrawContext::SetMapping(Size windowExtent, Size viewportExtent)
{
    if (windowExtent.cx <= 0 || windowExtent.cy <= 0 || viewportExtent.cx <= 0 || viewportExtent.cy <= 0)
        return false;
    windowExt_ = windowExtent;
    viewportExt_ = viewportExtent;
    return true;
}

int64_t DrawContext::ScaleX(int64_t x) const
{
    return Mapped() ? ScaleRounded(x, viewportExt_.cx, windowExt_.cx) : x;
}

int64_t DrawContext::ScaleY(int64_t y) const
{
    return Mapped() ? ScaleRounded(y, viewportExt_.cy, windowExt_.cy) : y;
}

void DrawContext::SetClipRegion(const Region* region)
{
    if (region)
        clip_ = *region;
    else
        clip_.reset();
}

FontHandle DrawContext::CurrentFont() const { return font_ ? font_ : GetStockFont(StockFont::System); }

Rect DrawContext::ToDevice(const Rect& r) const
{
    return Region::ClampRect(ScaleX(r.left) + origin_.x, ScaleY(r.top) + origin_.y,
                             ScaleX(r.right) + origin_.x, ScaleY(r.bottom) + origin_.y);
}

Point DrawContext::ToDevice(Point p) const
{
    return {Region::ClampCoord(ScaleX(p.x) + origin_.x), Region::ClampCoord(ScaleY(p.y) + origin_.y)};
}

Region DrawContext::Visible() const
{
    Region visible(Rect{0, 0, target_->width, target_->height});
    if (clip_)
        visible.Intersect(*clip_);
    return visible;
}

Rect DrawContext::VisibleBounds() const
{
    const Rect surface{0, 0, target_->width, target_->height};
    return clip_ ? Intersect(surface, clip_->Bounds()) : surface;
}

void DrawContext::PaintBand(int32_t top, int32_t bottom, std::span<const Region::Span> spans, uint8_t color,
                            Rop2 mode)
{
    if (spans.size() == 1 && (mode == Rop2::CopyPen || mode == Rop2::NotCopyPen)) {
        // A plain fill of one span per row: rows that touch take one memset.
        const ptrdiff_t step = target_->bottomUp ? -target_->pitch : target_->pitch;
        const uint8_t value = mode == Rop2::CopyPen ? color : static_cast<uint8_t>(~color);
        const auto width = static_cast<size_t>(spans[0].right - spans[0].left);
        uint8_t* first = target_->Row(top) + spans[0].left;
        if (width >= 16 && width <= 64 && static_cast<size_t>(step < 0 ? -step : step) != width)
            FillNarrowRows(first, step, width, bottom - top, value);
        else
            FillRows(first, step, width, bottom - top, value);
        return;
    }
    for (int32_t y = top; y < bottom; ++y) {
        uint8_t* row = target_->Row(y);
        for (const Region::Span& s : spans)
            Rop2Row(row + s.left, static_cast<size_t>(s.right - s.left), color, mode);
    }
}

bool DrawContext::VisibleIsRect() const { return !clip_ || clip_->Kind() != RegionKind::Complex; }

void DrawContext::PaintRect(const Rect& rect, uint8_t color, Rop2 mode)
{
    if (!VisibleIsRect()) {
        Paint(Region(rect), color, mode);
        return;
    }
    // One rectangle seen through one rectangle: no region need be built.
    const Rect r = Intersect(rect, VisibleBounds());
    if (r.Empty())
        return;
    const Region::Span span{r.left, r.right};
    PaintBand(r.top, r.bottom, std::span<const Region::Span>(&span, 1), color, mode);
}

void DrawContext::Paint(const Region& area, uint8_t color, Rop2 mode)
{
    if (area.Kind() == RegionKind::Simple && VisibleIsRect()) {
        PaintRect(area.Bounds(), color, mode);
        return;
    }
    Region painted = area;
    painted.Intersect(Visible());
    for (const Region::Band& band : painted.Bands())
        PaintBand(band.top, band.bottom, painted.SpansOf(band), color, mode);
}

void DrawContext::FillShape(const Region& inside, const Region& outline)
{
    if (!brush_.hollow)
        Paint(inside, Resolve(brush_.color), rop2_);
    Paint(outline, Resolve(pen_.color), rop2_);
}

int32_t DrawContext::PenWidth() const
{
    return static_cast<int32_t>(std::clamp<int64_t>(ScaleX(pen_.width), 1, kMaxPenWidth));
}

Rect DrawContext::OutlineBox(const Rect& deviceBox) const
{
    const int32_t w = PenWidth();
    if (pen_.style != PenStyle::Solid || w == 1)
        return deviceBox;
    // A centred pen straddles the one-pixel outline: half its width lies outside the box.
    const int32_t before = w / 2;
    const int32_t after = w - 1 - before;
    return Region::ClampRect(int64_t{deviceBox.left} - before, int64_t{deviceBox.top} - before,
                             int64_t{deviceBox.right} + after, int64_t{deviceBox.bottom} + after);
}

Region DrawContext::PenLine(Point a, Point b) const
{
    const int32_t w = PenWidth();
    return w == 1 ? ThinLineRegion(a, b, VisibleBounds()) : WideLineRegion(a, b, w, VisibleBounds());
}

void DrawContext::Rectangle(const Rect& box)
{
    const Rect d = ToDevice(box);
    if (d.Empty())
        return;
    // The inside and the ring round it as rectangles (the same pixels as the regions of the
    // other shapes, without building any): the rectangles that fill a screen are many.
    const Rect outer = OutlineBox(d);
    const int32_t w = PenWidth();
    const Rect inner = outer.Inflate(-w, -w);
    if (!brush_.hollow)
        PaintRect(inner, Resolve(brush_.color), rop2_);
    const uint8_t pen = Resolve(pen_.color);
    if (inner.Empty()) {
        PaintRect(outer, pen, rop2_);
        return;
    }
    PaintRect({outer.left, outer.top, outer.right, inner.top}, pen, rop2_);
    PaintRect({outer.left, inner.top, inner.left, inner.bottom}, pen, rop2_);
    PaintRect({inner.right, inner.top, outer.right, inner.bottom}, pen, rop2_);
    PaintRect({outer.left, inner.bottom, outer.right, outer.bottom}, pen, rop2_);
}

void DrawContext::Ellipse(const Rect& box)
{
    const Rect d = ToDevice(box);
    if (d.Empty())
        return;
    const Rect outer = OutlineBox(d);
    const int32_t w = PenWidth();
    FillShape(Region::Ellipse(outer.Inflate(-w, -w)), EllipseRing(outer, w));
}

void DrawContext::Arc(const Rect& box, Point start, Point end)
{
    const Rect d = ToDevice(box);
    if (d.Empty())
        return;
    Region ring = EllipseRing(OutlineBox(d), PenWidth());
    ring.Intersect(Visible());
    Paint(SweepOf(ring, d, ToDevice(start), ToDevice(end)), Resolve(pen_.color), rop2_);
}

void DrawContext::Pie(const Rect& box, Point start, Point end)
{
    const Rect d = ToDevice(box);
    if (d.Empty())
        return;
    const Rect outer = OutlineBox(d);
    const int32_t w = PenWidth();
    const Point s = ToDevice(start);
    const Point e = ToDevice(end);
    const Region visible = Visible();

    Region ring = EllipseRing(outer, w);
    ring.Intersect(visible);
    Region outline = SweepOf(ring, d, s, e);
    const Point centre = BoxCentrePixel(d);
    outline.Union(PenLine(centre, EllipseRayEnd(d, s)));
    outline.Union(PenLine(centre, EllipseRayEnd(d, e)));

    Region inside = Region::Ellipse(outer.Inflate(-w, -w));
    inside.Intersect(visible);
    inside = SweepOf(inside, d, s, e);
    inside.Subtract(outline);
    FillShape(inside, outline);
}

void DrawContext::LineTo(Point p)
{
    Paint(PenLine(ToDevice(position_), ToDevice(p)), Resolve(pen_.color), rop2_);
    position_ = p;
}

void DrawContext::PaintRegion(const Region& region)
{
    if (brush_.hollow)
        return;
    Region area;
    if (Mapped()) {
        for (const Rect& r : region.Rects())
            area.Union(ToDevice(r));
    } else {
        area = region;
        area.Offset(origin_.x, origin_.y);
    }
    Paint(area, Resolve(brush_.color), rop2_);
}

void DrawContext::FillRect(const Rect& rect, const ColorRef& color)
{
    Paint(Region(ToDevice(rect)), Resolve(color), Rop2::CopyPen);
}

} // namespace plat
