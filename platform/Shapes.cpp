#include "platform/Shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

namespace plat {
namespace {

// Line ends are kept within the region coordinate range so that the step arithmetic below
// stays far inside 64 bits.
Point ClampPoint(Point p) { return {Region::ClampCoord(p.x), Region::ClampCoord(p.y)}; }

// floor(n / d) for d > 0.
int64_t FloorDiv(int64_t n, int64_t d) { return n >= 0 ? n / d : -((-n + d - 1) / d); }

// The steps i of [0, n) whose coordinate start + dir * i lies in [lo, hi).
void StepsWithin(int64_t start, int64_t dir, int64_t n, int64_t lo, int64_t hi, int64_t& first, int64_t& last)
{
    if (dir > 0) {
        first = lo - start;
        last = hi - start;
    } else {
        first = start - hi + 1;
        last = start - lo + 1;
    }
    first = std::max<int64_t>(first, 0);
    last = std::min<int64_t>(last, n);
}

struct RowRun {
    int32_t y;
    int32_t left;
    int32_t right;
};

Region RegionFromRuns(std::vector<RowRun>& runs)
{
    std::sort(runs.begin(), runs.end(), [](const RowRun& a, const RowRun& b) { return a.y < b.y; });
    Region::Builder builder;
    for (size_t i = 0; i < runs.size();) {
        // Runs of one row from one line touch or overlap: join them.
        RowRun row = runs[i++];
        while (i < runs.size() && runs[i].y == row.y) {
            row.left = std::min(row.left, runs[i].left);
            row.right = std::max(row.right, runs[i].right);
            ++i;
        }
        const Region::Span span{row.left, row.right};
        builder.AddBand(row.y, row.y + 1, std::span(&span, 1));
    }
    return builder.Finish();
}

struct Vec {
    double x;
    double y;
};

double Cross(Vec a, Vec b) { return a.x * b.y - a.y * b.x; }

Vec BoxCentre(const Rect& box)
{
    return {(static_cast<double>(box.left) + box.right) / 2.0,
            (static_cast<double>(box.top) + box.bottom) / 2.0};
}

// The direction from the box's centre to a pixel's centre, with y pointing up so that
// counter-clockwise on the screen is the positive turn.
Vec DirectionOf(Vec centre, double x, double y) { return {x + 0.5 - centre.x, -(y + 0.5 - centre.y)}; }

void Widen(double lo, double hi, double& outLo, double& outHi)
{
    outLo = std::min(outLo, lo);
    outHi = std::max(outHi, hi);
}

} // namespace

Region ThinLineRegion(Point a, Point b, const Rect& visible)
{
    a = ClampPoint(a);
    b = ClampPoint(b);
    const int64_t dx = int64_t{b.x} - a.x;
    const int64_t dy = int64_t{b.y} - a.y;
    const int64_t adx = std::llabs(dx);
    const int64_t ady = std::llabs(dy);
    const int64_t sx = dx < 0 ? -1 : 1;
    const int64_t sy = dy < 0 ? -1 : 1;
    std::vector<RowRun> runs;
    if (adx == 0 && ady == 0)
        return Region();
    const bool xMajor = adx >= ady;
    const int64_t n = xMajor ? adx : ady;
    const int64_t minor = xMajor ? ady : adx;
    int64_t first = 0;
    int64_t last = 0;
    if (xMajor)
        StepsWithin(a.x, sx, n, visible.left, visible.right, first, last);
    else
        StepsWithin(a.y, sy, n, visible.top, visible.bottom, first, last);
    for (int64_t i = first; i < last; ++i) {
        const int64_t along = i;
        const int64_t across = (2 * i * minor + n) / (2 * n);
        const int64_t x = a.x + sx * (xMajor ? along : across);
        const int64_t y = a.y + sy * (xMajor ? across : along);
        if (y < visible.top || y >= visible.bottom || x < visible.left || x >= visible.right)
            continue;
        runs.push_back({static_cast<int32_t>(y), static_cast<int32_t>(x), static_cast<int32_t>(x + 1)});
    }
    return RegionFromRuns(runs);
}

Region WideLineRegion(Point a, Point b, int32_t width, const Rect& visible)
{
    if (width <= 1)
        return ThinLineRegion(a, b, visible);
    a = ClampPoint(a);
    b = ClampPoint(b);
    const double r = width / 2.0;
    const double c = width % 2 ? 0.5 : 0.0;
    const Vec p0{a.x + c, a.y + c};
    const Vec p1{b.x + c, b.y + c};
    // The band between the two end discs: a parallelogram along the segment.
    const double len = std::hypot(p1.x - p0.x, p1.y - p0.y);
    std::vector<Vec> band;
    if (len > 0) {
        const Vec nrm{-(p1.y - p0.y) / len * r, (p1.x - p0.x) / len * r};
        band = {{p0.x + nrm.x, p0.y + nrm.y},
                {p1.x + nrm.x, p1.y + nrm.y},
                {p1.x - nrm.x, p1.y - nrm.y},
                {p0.x - nrm.x, p0.y - nrm.y}};
    }
    const auto top = static_cast<int64_t>(std::floor(std::min(p0.y, p1.y) - r)) - 1;
    const auto bottom = static_cast<int64_t>(std::ceil(std::max(p0.y, p1.y) + r)) + 1;
    std::vector<RowRun> runs;
    for (int64_t y = std::max<int64_t>(top, visible.top); y < std::min<int64_t>(bottom, visible.bottom);
         ++y) {
        const double yc = static_cast<double>(y) + 0.5;
        double lo = std::numeric_limits<double>::max();
        double hi = std::numeric_limits<double>::lowest();
        for (const Vec& end : {p0, p1}) {
            const double ddy = yc - end.y;
            if (std::fabs(ddy) <= r) {
                const double h = std::sqrt(r * r - ddy * ddy);
                Widen(end.x - h, end.x + h, lo, hi);
            }
        }
        for (size_t i = 0; i < band.size(); ++i) {
            const Vec& e0 = band[i];
            const Vec& e1 = band[(i + 1) % band.size()];
            if (yc < std::min(e0.y, e1.y) || yc > std::max(e0.y, e1.y))
                continue;
            if (e0.y == e1.y) {
                Widen(std::min(e0.x, e1.x), std::max(e0.x, e1.x), lo, hi);
            } else {
                const double x = e0.x + (yc - e0.y) * (e1.x - e0.x) / (e1.y - e0.y);
                Widen(x, x, lo, hi);
            }
        }
        if (lo > hi)
            continue;
        // Pixels whose centres lie in [lo, hi].
        const int64_t left = std::max<int64_t>(static_cast<int64_t>(std::ceil(lo - 0.5)), visible.left);
        const int64_t right =
            std::min<int64_t>(static_cast<int64_t>(std::floor(hi - 0.5)) + 1, visible.right);
        if (left < right)
            runs.push_back(
                {static_cast<int32_t>(y), static_cast<int32_t>(left), static_cast<int32_t>(right)});
    }
    return RegionFromRuns(runs);
}

Region EllipseRing(const Rect& box, int32_t width)
{
    Region ring = Region::Ellipse(box);
    const int32_t w = std::max(width, 1);
    const Rect inner = box.Inflate(-w, -w);
    if (!inner.Empty())
        ring.Subtract(Region::Ellipse(inner));
    return ring;
}

Region RectRing(const Rect& box, int32_t width)
{
    Region ring(box);
    const int32_t w = std::max(width, 1);
    ring.Subtract(box.Inflate(-w, -w));
    return ring;
}

Region SweepOf(const Region& area, const Rect& box, Point start, Point end)
{
    const Vec centre = BoxCentre(box);
    Vec s = DirectionOf(centre, start.x, start.y);
    Vec e = DirectionOf(centre, end.x, end.y);
    if (s.x == 0 && s.y == 0)
        s = {1, 0};
    if (e.x == 0 && e.y == 0)
        e = {1, 0};
    const double turn = Cross(s, e);
    if (turn == 0 && s.x * e.x + s.y * e.y > 0)
        return area;
    // Up to half a turn both rays must be passed; beyond it either will do.
    const bool narrow = turn >= 0;
    const auto inside = [&](int32_t x, int32_t y) {
        const Vec v = DirectionOf(centre, x, y);
        const bool afterStart = Cross(s, v) >= 0;
        const bool beforeEnd = Cross(v, e) >= 0;
        return narrow ? afterStart && beforeEnd : afterStart || beforeEnd;
    };
    Region::Builder builder;
    std::vector<Region::Span> row;
    for (const Region::Band& band : area.Bands()) {
        for (int32_t y = band.top; y < band.bottom; ++y) {
            row.clear();
            for (const Region::Span& span : area.SpansOf(band)) {
                int32_t runStart = 0;
                bool in = false;
                for (int32_t x = span.left; x < span.right; ++x) {
                    const bool now = inside(x, y);
                    if (now && !in)
                        runStart = x;
                    else if (!now && in)
                        row.push_back({runStart, x});
                    in = now;
                }
                if (in)
                    row.push_back({runStart, span.right});
            }
            builder.AddBand(y, y + 1, row);
        }
    }
    return builder.Finish();
}

Point EllipseRayEnd(const Rect& box, Point toward)
{
    const Vec centre = BoxCentre(box);
    const double a = box.Width() / 2.0;
    const double b = box.Height() / 2.0;
    const double dx = toward.x + 0.5 - centre.x;
    const double dy = toward.y + 0.5 - centre.y;
    if (a <= 0 || b <= 0 || (dx == 0 && dy == 0))
        return BoxCentrePixel(box);
    const double t = 1.0 / std::sqrt((dx / a) * (dx / a) + (dy / b) * (dy / b));
    const auto x = static_cast<int64_t>(std::floor(centre.x + t * dx));
    const auto y = static_cast<int64_t>(std::floor(centre.y + t * dy));
    return {static_cast<int32_t>(std::clamp<int64_t>(x, box.left, int64_t{box.right} - 1)),
            static_cast<int32_t>(std::clamp<int64_t>(y, box.top, int64_t{box.bottom} - 1))};
}

Point BoxCentrePixel(const Rect& box)
{
    return {static_cast<int32_t>(FloorDiv(int64_t{box.left} + box.right, 2)),
            static_cast<int32_t>(FloorDiv(int64_t{box.top} + box.bottom, 2))};
}

} // namespace plat
