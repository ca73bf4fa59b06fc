#pragma once
// Banded regions: areas of pixels made of rectangles, used for invalid areas of windows and
// as clip areas for drawing. A region is kept as bands, runs of rows sharing the same spans,
// sorted top to bottom; the spans of a band are sorted left to right, never touch, and two
// bands that meet with the same spans are merged. That form is unique, so two regions hold
// the same pixels exactly when their bands are equal.
//
// Like rectangles, every band and span is half-open: it covers the rows from top up to but
// not including bottom, the columns from left up to but not including right. A rectangle,
// rounded rectangle or ellipse whose right is not past its left (or bottom not below its
// top) gives an empty region.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace plat {

// What a region holds after an operation: nothing, one rectangle, or more.
enum class RegionKind { Empty, Simple, Complex };

// How Combine joins two regions.
enum class RegionOp {
    Or,   // pixels in either
    And,  // pixels in both
    Diff, // pixels in the first and not in the second
    Xor,  // pixels in exactly one
};

class Region {
public:
    struct Span {
        int32_t left = 0;
        int32_t right = 0;
        bool operator==(const Span&) const = default;
    };
    struct Band {
        int32_t top = 0;
        int32_t bottom = 0;
        uint32_t first = 0; // index of the band's first span
        uint32_t count = 0; // number of spans, at least 1
        bool operator==(const Band&) const = default;
    };

    // Coordinates are kept within +/- this limit; shapes reaching past it are cut there.
    static constexpr int32_t kCoordLimit = 1 << 27;
    // Rounded rectangles, ellipses and polygons are built row by row and keep only the rows
    // within +/- this limit, far beyond any surface.
    static constexpr int32_t kScanLimit = 1 << 14;
    // A coordinate brought within the limit; drawing code clamps its sums through it.
    static constexpr int32_t ClampCoord(int64_t v)
    {
        return static_cast<int32_t>(v < -kCoordLimit ? -kCoordLimit : v > kCoordLimit ? kCoordLimit : v);
    }
    static constexpr Rect ClampRect(int64_t left, int64_t top, int64_t right, int64_t bottom)
    {
        return {ClampCoord(left), ClampCoord(top), ClampCoord(right), ClampCoord(bottom)};
    }

    Region() = default;
    explicit Region(const Rect& rect) { SetRect(rect); }

    // A rectangle with corners rounded by quarters of a cornerWidth x cornerHeight ellipse
    // (sizes larger than the rectangle are taken as the rectangle's own).
    static Region RoundRect(const Rect& box, int32_t cornerWidth, int32_t cornerHeight);
    // The ellipse that fits the box: each row holds the pixels whose centres lie inside it.
    static Region Ellipse(const Rect& box);
    // The inside of a closed polygon by the winding rule: a pixel belongs to the region when
    // its centre is wound round a non-zero number of times. Fewer than three points give an
    // empty region.
    static Region Polygon(std::span<const Point> points);

    // The region becomes the rectangle (empty when the rectangle is).
    void SetRect(const Rect& rect);
    void Clear();

    RegionKind Kind() const;
    bool Empty() const { return bands_.empty(); }

    // *this = a op b. Either argument may be *this itself.
    RegionKind Combine(const Region& a, const Region& b, RegionOp op);
    RegionKind Union(const Region& other) { return Combine(*this, other, RegionOp::Or); }
    RegionKind Intersect(const Region& other) { return Combine(*this, other, RegionOp::And); }
    RegionKind Subtract(const Region& other) { return Combine(*this, other, RegionOp::Diff); }
    RegionKind Xor(const Region& other) { return Combine(*this, other, RegionOp::Xor); }
    RegionKind Union(const Rect& rect) { return Union(Region(rect)); }
    RegionKind Intersect(const Rect& rect);
    RegionKind Subtract(const Rect& rect) { return Subtract(Region(rect)); }

    // Moves every pixel by (dx, dy); what would move past the coordinate limit is cut off.
    RegionKind Offset(int32_t dx, int32_t dy);

    bool operator==(const Region&) const = default;

    bool Contains(int32_t x, int32_t y) const;
    bool Contains(Point p) const { return Contains(p.x, p.y); }
    // True when at least one pixel of the rectangle lies in the region.
    bool Intersects(const Rect& rect) const;
    // The smallest rectangle holding the region; an empty rectangle for an empty region.
    Rect Bounds() const;

    // The region as rectangles, band by band, each band's spans left to right.
    std::vector<Rect> Rects() const;
    // One line per band, "top-bottom: left-right left-right ...", for tests and debugging.
    std::string Dump() const;

    std::span<const Band> Bands() const { return bands_; }
    std::span<const Span> SpansOf(const Band& band) const
    {
        return std::span<const Span>(spans_).subspan(band.first, band.count);
    }
    // The band holding row y, or nullptr.
    const Band* FindBand(int32_t y) const;

    // Builds a region from bands added top to bottom (used by the shapes and operations).
    class Builder;

private:
    std::vector<Band> bands_;
    std::vector<Span> spans_;
};

// Adds bands in order from the top; spans of one call must be sorted and must not overlap
// (touching spans are joined). Bands that meet with equal spans are merged.
class Region::Builder {
public:
    void AddBand(int32_t top, int32_t bottom, std::span<const Span> spans);
    Region Finish() { return std::move(region_); }

private:
    Region region_;
};

} // namespace plat
