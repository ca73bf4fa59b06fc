#include "platform/Region.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace plat {
namespace {

// Curved shapes and polygons are built row by row: rows beyond the scan limit are left out
// so that an absurd shape cannot stall the program.
constexpr int32_t kScanLimit = Region::kScanLimit;

bool Apply(RegionOp op, bool inA, bool inB)
{
    switch (op) {
    case RegionOp::Or: return inA || inB;
    case RegionOp::And: return inA && inB;
    case RegionOp::Diff: return inA && !inB;
    case RegionOp::Xor: return inA != inB;
    }
    return false;
}

// Sweeps the span boundaries of two rows left to right and keeps the parts where op holds.
void CombineSpans(std::span<const Region::Span> a, std::span<const Region::Span> b, RegionOp op,
                  std::vector<Region::Span>& out)
{
    constexpr int64_t kNone = std::numeric_limits<int64_t>::max();
    size_t i = 0;
    size_t j = 0;
    bool inA = false;
    bool inB = false;
    bool inOut = false;
    int32_t start = 0;
    for (;;) {
        const int64_t ax = i < a.size() ? (inA ? a[i].right : a[i].left) : kNone;
        const int64_t bx = j < b.size() ? (inB ? b[j].right : b[j].left) : kNone;
        const int64_t x = std::min(ax, bx);
        if (x == kNone)
            break;
        if (ax == x) {
            if (inA)
                ++i;
            inA = !inA;
        }
        if (bx == x) {
            if (inB)
                ++j;
            inB = !inB;
        }
        const bool now = Apply(op, inA, inB);
        if (now != inOut) {
            if (now)
                start = static_cast<int32_t>(x);
            else
                out.push_back({start, static_cast<int32_t>(x)});
            inOut = now;
        }
    }
}

// The columns of row `row` (0 = top) of an ellipse filling a width x height box, as the
// inset from the box's left edge; the row spans [inset, width - inset). Pixel centres are
// tested against the ellipse, so the shape is symmetric in both directions.
int64_t EllipseRowInset(int64_t width, int64_t height, int64_t row)
{
    const double halfW = static_cast<double>(width) / 2.0;
    const double halfH = static_cast<double>(height) / 2.0;
    const double dy = (static_cast<double>(row) + 0.5 - halfH) / halfH;
    const double dx = halfW * std::sqrt(std::max(0.0, 1.0 - dy * dy));
    return static_cast<int64_t>(std::floor(halfW - dx + 0.5));
}

struct PointF {
    double x;
    double y;
};

} // namespace

void Region::Builder::AddBand(int32_t top, int32_t bottom, std::span<const Span> spans)
{
    if (top >= bottom)
        return;
    std::vector<Band>& bands = region_.bands_;
    std::vector<Span>& all = region_.spans_;
    const size_t first = all.size();
    for (const Span& s : spans) {
        if (s.left >= s.right)
            continue;
        if (all.size() > first && all.back().right >= s.left)
            all.back().right = std::max(all.back().right, s.right);
        else
            all.push_back(s);
    }
    const uint32_t count = static_cast<uint32_t>(all.size() - first);
    if (count == 0)
        return;
    if (!bands.empty()) {
        Band& last = bands.back();
        if (last.bottom == top && last.count == count &&
            std::equal(all.begin() + last.first, all.begin() + last.first + count, all.begin() + first)) {
            last.bottom = bottom;
            all.resize(first);
            return;
        }
    }
    bands.push_back({top, bottom, static_cast<uint32_t>(first), count});
}

void Region::SetRect(const Rect& rect)
{
    Clear();
    const Rect r = ClampRect(rect.left, rect.top, rect.right, rect.bottom);
    if (r.Empty())
        return;
    bands_.push_back({r.top, r.bottom, 0, 1});
    spans_.push_back({r.left, r.right});
}

void Region::Clear()
{
    bands_.clear();
    spans_.clear();
}

Region Region::RoundRect(const Rect& box, int32_t cornerWidth, int32_t cornerHeight)
{
    const Rect r = ClampRect(box.left, box.top, box.right, box.bottom);
    if (r.Empty())
        return Region();
    const int64_t width = r.Width();
    const int64_t height = r.Height();
    const int64_t cw = std::clamp<int64_t>(cornerWidth, 0, width);
    const int64_t ch = std::clamp<int64_t>(cornerHeight, 0, height);
    const int64_t cornerRows = ch / 2;
    Builder builder;
    const int32_t top = std::max(r.top, -kScanLimit);
    const int32_t bottom = std::min(r.bottom, kScanLimit);
    for (int32_t y = top; y < bottom; ++y) {
        const int64_t fromTop = y - r.top;
        const int64_t fromBottom = r.bottom - 1 - y;
        int64_t inset = 0;
        if (cw > 0 && fromTop < cornerRows)
            inset = EllipseRowInset(cw, ch, fromTop);
        else if (cw > 0 && fromBottom < cornerRows)
            inset = EllipseRowInset(cw, ch, fromBottom);
        const Span span{static_cast<int32_t>(r.left + inset), static_cast<int32_t>(r.right - inset)};
        builder.AddBand(y, y + 1, std::span(&span, 1));
    }
    return builder.Finish();
}

Region Region::Ellipse(const Rect& box)
{
    const Rect r = ClampRect(box.left, box.top, box.right, box.bottom);
    if (r.Empty())
        return Region();
    return RoundRect(r, r.Width(), r.Height());
}

Region Region::Polygon(std::span<const Point> points)
{
    if (points.size() < 3)
        return Region();
    std::vector<PointF> p;
    p.reserve(points.size());
    double minY = std::numeric_limits<double>::max();
    double maxY = std::numeric_limits<double>::lowest();
    for (const Point& pt : points) {
        p.push_back({static_cast<double>(ClampCoord(pt.x)), static_cast<double>(ClampCoord(pt.y))});
        minY = std::min(minY, p.back().y);
        maxY = std::max(maxY, p.back().y);
    }
    struct Crossing {
        double x;
        int dir;
    };
    std::vector<Crossing> crossings;
    std::vector<Span> spans;
    Builder builder;
    const int32_t top = std::max(static_cast<int32_t>(std::floor(minY)), -kScanLimit);
    const int32_t bottom = std::min(static_cast<int32_t>(std::ceil(maxY)), kScanLimit);
    for (int32_t y = top; y < bottom; ++y) {
        const double yc = y + 0.5;
        crossings.clear();
        for (size_t i = 0; i < p.size(); ++i) {
            const PointF& a = p[i];
            const PointF& b = p[(i + 1) % p.size()];
            if (a.y == b.y || yc < std::min(a.y, b.y) || yc >= std::max(a.y, b.y))
                continue;
            crossings.push_back({a.x + (yc - a.y) * (b.x - a.x) / (b.y - a.y), b.y > a.y ? 1 : -1});
        }
        // A row crosses few edges: an insertion sort is all it needs.
        for (size_t i = 1; i < crossings.size(); ++i) {
            for (size_t j = i; j > 0 && crossings[j].x < crossings[j - 1].x; --j)
                std::swap(crossings[j], crossings[j - 1]);
        }
        spans.clear();
        int winding = 0;
        double start = 0;
        for (const Crossing& c : crossings) {
            const int before = winding;
            winding += c.dir;
            if (before == 0 && winding != 0) {
                start = c.x;
            } else if (before != 0 && winding == 0) {
                // Pixels whose centres lie in [start, c.x).
                const auto left = static_cast<int32_t>(std::ceil(start - 0.5));
                const auto right = static_cast<int32_t>(std::ceil(c.x - 0.5));
                if (left < right)
                    spans.push_back({left, right});
            }
        }
        builder.AddBand(y, y + 1, spans);
    }
    return builder.Finish();
}

RegionKind Region::Kind() const
{
    if (bands_.empty())
        return RegionKind::Empty;
    return bands_.size() == 1 && bands_[0].count == 1 ? RegionKind::Simple : RegionKind::Complex;
}

RegionKind Region::Combine(const Region& a, const Region& b, RegionOp op)
{
    Builder builder;
    std::vector<Span> row;
    size_t ia = 0;
    size_t ib = 0;
    const size_t na = a.bands_.size();
    const size_t nb = b.bands_.size();
    if (na == 0 && nb == 0) {
        Clear();
        return RegionKind::Empty;
    }
    int32_t y = std::min(na ? a.bands_[0].top : std::numeric_limits<int32_t>::max(),
                         nb ? b.bands_[0].top : std::numeric_limits<int32_t>::max());
    while (ia < na || ib < nb) {
        // The rows from y to the next band edge of either region share the same spans.
        int32_t next = std::numeric_limits<int32_t>::max();
        std::span<const Span> spansA;
        std::span<const Span> spansB;
        if (ia < na) {
            const Band& band = a.bands_[ia];
            if (y < band.top) {
                next = std::min(next, band.top);
            } else {
                next = std::min(next, band.bottom);
                spansA = a.SpansOf(band);
            }
        }
        if (ib < nb) {
            const Band& band = b.bands_[ib];
            if (y < band.top) {
                next = std::min(next, band.top);
            } else {
                next = std::min(next, band.bottom);
                spansB = b.SpansOf(band);
            }
        }
        row.clear();
        CombineSpans(spansA, spansB, op, row);
        builder.AddBand(y, next, row);
        y = next;
        if (ia < na && a.bands_[ia].bottom <= y)
            ++ia;
        if (ib < nb && b.bands_[ib].bottom <= y)
            ++ib;
    }
    *this = builder.Finish();
    return Kind();
}

RegionKind Region::Intersect(const Rect& rect) { return Intersect(Region(rect)); }

RegionKind Region::Offset(int32_t dx, int32_t dy)
{
    if (bands_.empty() || (dx == 0 && dy == 0))
        return Kind();
    const Rect bounds = Bounds();
    const auto inLimits = [](int64_t v) { return v >= -kCoordLimit && v <= kCoordLimit; };
    if (inLimits(int64_t{bounds.left} + dx) && inLimits(int64_t{bounds.right} + dx) &&
        inLimits(int64_t{bounds.top} + dy) && inLimits(int64_t{bounds.bottom} + dy)) {
        for (Band& band : bands_) {
            band.top += dy;
            band.bottom += dy;
        }
        for (Span& span : spans_) {
            span.left += dx;
            span.right += dx;
        }
        return Kind();
    }
    // Part of the region leaves the coordinate range: rebuild it from the clamped edges, which
    // drops what became empty.
    Builder builder;
    std::vector<Span> row;
    for (const Band& band : bands_) {
        row.clear();
        for (const Span& s : SpansOf(band))
            row.push_back({ClampCoord(int64_t{s.left} + dx), ClampCoord(int64_t{s.right} + dx)});
        builder.AddBand(ClampCoord(int64_t{band.top} + dy), ClampCoord(int64_t{band.bottom} + dy), row);
    }
    *this = builder.Finish();
    return Kind();
}

const Region::Band* Region::FindBand(int32_t y) const
{
    // The first band whose bottom lies below y; it holds y unless y falls in a gap.
    const auto it = std::upper_bound(bands_.begin(), bands_.end(), y,
                                     [](int32_t v, const Band& b) { return v < b.bottom; });
    if (it == bands_.end() || it->top > y)
        return nullptr;
    return &*it;
}

bool Region::Contains(int32_t x, int32_t y) const
{
    const Band* band = FindBand(y);
    if (!band)
        return false;
    const std::span<const Span> spans = SpansOf(*band);
    const auto it =
        std::upper_bound(spans.begin(), spans.end(), x, [](int32_t v, const Span& s) { return v < s.right; });
    return it != spans.end() && it->left <= x;
}

bool Region::Intersects(const Rect& rect) const
{
    if (rect.Empty())
        return false;
    for (const Band& band : bands_) {
        if (band.bottom <= rect.top)
            continue;
        if (band.top >= rect.bottom)
            break;
        for (const Span& s : SpansOf(band)) {
            if (s.right > rect.left && s.left < rect.right)
                return true;
        }
    }
    return false;
}

Rect Region::Bounds() const
{
    if (bands_.empty())
        return Rect{};
    Rect r{std::numeric_limits<int32_t>::max(), bands_.front().top, std::numeric_limits<int32_t>::min(),
           bands_.back().bottom};
    for (const Band& band : bands_) {
        r.left = std::min(r.left, spans_[band.first].left);
        r.right = std::max(r.right, spans_[band.first + band.count - 1].right);
    }
    return r;
}

std::vector<Rect> Region::Rects() const
{
    std::vector<Rect> rects;
    rects.reserve(spans_.size());
    for (const Band& band : bands_) {
        for (const Span& s : SpansOf(band))
            rects.push_back({s.left, band.top, s.right, band.bottom});
    }
    return rects;
}

std::string Region::Dump() const
{
    std::string out;
    for (const Band& band : bands_) {
        out += std::to_string(band.top) + "-" + std::to_string(band.bottom) + ":";
        for (const Span& s : SpansOf(band)) {
            out += ' ';
            out += std::to_string(s.left) + "-" + std::to_string(s.right);
        }
        out += "\n";
    }
    return out;
}

} // namespace plat
