// The view's pixel work: flat-coloured triangles and quads, polygon outlines, and clipped
// lines, written as palette indices straight into the frame buffer's rows. Nothing is written
// outside the clip area, except that a span drawn unchecked (all its triangle's corners lie
// within the clip's left and right) may reach one pixel left of it when the edge's stepping
// falls a hair short; the clip area always lies within the pixels, and such a pixel is still
// in the row.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "game/action/3DView.h"

namespace {

// A camera z of exactly 0 counts as this when a polygon is filled (the vertex keeps its z).
constexpr double kFillZeroZ = 1e-13;

struct ScreenPoint {
    int16_t x = 0;
    int16_t y = 0;
};

} // namespace

void C3DView::FillPolygon(const CSortPoly& entry)
{
    ScreenPoint p[C3DPolygon::kMaxVertices];
    for (int16_t k = 0; k < entry.vertexCount; ++k) {
        const C3DPoint& v = entry.vertices[k];
        Project(v, v.z == 0 ? kFillZeroZ : v.z, p[k].x, p[k].y);
    }
    const auto colour = static_cast<uint8_t>(entry.colour);
    FillTriangle(p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y, colour);
    if (entry.vertexCount == 4)
        FillTriangle(p[0].x, p[0].y, p[2].x, p[2].y, p[3].x, p[3].y, colour);
}

void C3DView::DrawPolygonEdges(CSortPoly& entry)
{
    const auto colour = static_cast<uint8_t>(entry.colour);
    for (int16_t k = 0; k < entry.vertexCount; ++k) {
        ScreenPoint a;
        ScreenPoint b;
        ProjectPoint(entry.vertices[k], a.x, a.y);
        ProjectPoint(entry.vertices[(k + 1) % entry.vertexCount], b.x, b.y);
        if (ClipLine(a.x, a.y, b.x, b.y))
            DrawLine(a.x, a.y, b.x, b.y, colour);
    }
}

void C3DView::FillTriangle(int16_t x0, int16_t y0, int16_t x1, int16_t y1, int16_t x2, int16_t y2,
                           uint8_t colour)
{
    if (!CanDraw())
        return;
    if ((x0 == x1 && x1 == x2) || (y0 == y1 && y1 == y2))
        return;
    for (const int16_t x : {x0, x1, x2})
        if (x < kFillMinX || x > kFillMaxX)
            return;
    // Top first; points on one row keep their order.
    ScreenPoint p[3] = {{x0, y0}, {x1, y1}, {x2, y2}};
    if (p[1].y < p[0].y)
        std::swap(p[0], p[1]);
    if (p[2].y < p[1].y) {
        std::swap(p[1], p[2]);
        if (p[1].y < p[0].y)
            std::swap(p[0], p[1]);
    }
    const C3DFrameBuffer& fb = *frameBuffer_;
    const int16_t minX = std::min({x0, x1, x2});
    const int16_t maxX = std::max({x0, x1, x2});
    if (p[2].y < fb.clipTop || p[0].y > fb.clipBottom || maxX < fb.clipLeft || minX > fb.clipRight)
        return;
    if (p[0].y == p[1].y) {
        FillFlatTop(p[0].x, p[1].x, p[0].y, p[2].x, p[2].y, colour);
    } else if (p[1].y == p[2].y) {
        FillFlatBottom(p[0].x, p[0].y, p[1].x, p[2].x, p[1].y, colour);
    } else {
        // Split at the middle point's row.
        const int32_t splitX = p[0].x + (p[2].x - p[0].x) * (p[1].y - p[0].y) / (p[2].y - p[0].y);
        const auto split = static_cast<int16_t>(splitX);
        FillFlatBottom(p[0].x, p[0].y, p[1].x, split, p[1].y, colour);
        FillFlatTop(p[1].x, split, p[1].y, p[2].x, p[2].y, colour);
    }
}

void C3DView::FillFlatBottom(int16_t apexX, int16_t apexY, int16_t xa, int16_t xb, int16_t y, uint8_t colour)
{
    FillFlat(apexX, apexY, xa, xb, y, colour);
}

void C3DView::FillFlatTop(int16_t xa, int16_t xb, int16_t y, int16_t apexX, int16_t apexY, uint8_t colour)
{
    FillFlat(apexX, apexY, xa, xb, y, colour);
}

// Both flat fills: rows from the apex toward the edge row (down for an apex on top, up for
// one at the bottom), the left edge starting at the apex's x and the right edge half a pixel
// to its right, each row filled from trunc(left) to trunc(right).
void C3DView::FillFlat(int16_t apexX, int16_t apexY, int16_t xa, int16_t xb, int16_t edgeY, uint8_t colour)
{
    if (!CanDraw() || apexY == edgeY)
        return;
    const C3DFrameBuffer& fb = *frameBuffer_;
    const bool down = edgeY > apexY;
    const int32_t dy = std::abs(int32_t{edgeY} - apexY);
    const double slopeLeft = (std::min(xa, xb) - apexX) / static_cast<double>(dy);
    const double slopeRight = (std::max(xa, xb) - apexX) / static_cast<double>(dy);
    double left = apexX;
    double right = apexX + 0.5;
    // Rows beyond the clip area's edge on the apex's side are stepped over at once.
    const int32_t clipNear = down ? fb.clipTop : fb.clipBottom;
    int32_t first = apexY;
    if (down ? apexY < clipNear : apexY > clipNear) {
        const int32_t skipped = std::abs(clipNear - int32_t{apexY});
        left += skipped * slopeLeft;
        right += skipped * slopeRight;
        first = clipNear;
    }
    const int32_t last =
        down ? std::min<int32_t>(edgeY, fb.clipBottom) : std::max<int32_t>(edgeY, fb.clipTop);
    const int32_t step = down ? 1 : -1;
    const bool inside = std::min({apexX, xa, xb}) >= fb.clipLeft && std::max({apexX, xa, xb}) <= fb.clipRight;
    for (int32_t y = first; down ? y <= last : y >= last; y += step) {
        auto x0 = static_cast<int32_t>(left);
        auto x1 = static_cast<int32_t>(right);
        if (!inside) {
            x0 = std::max<int32_t>(x0, fb.clipLeft);
            x1 = std::min<int32_t>(x1, fb.clipRight);
        }
        if (x0 <= x1)
            FillSpan(Row(y), static_cast<int16_t>(x0), static_cast<int16_t>(x1), colour);
        left += slopeLeft;
        right += slopeRight;
    }
}

void C3DView::FillSpan(uint8_t* row, int16_t x0, int16_t x1, uint8_t colour)
{
    if (x1 >= x0)
        std::memset(row + x0, colour, static_cast<size_t>(x1 - x0 + 1));
}

bool C3DView::Inside(int32_t x, int32_t y) const
{
    const C3DFrameBuffer& fb = *frameBuffer_;
    return x >= fb.clipLeft && x <= fb.clipRight && y >= fb.clipTop && y <= fb.clipBottom;
}

bool C3DView::ClipEnd(int16_t& x, int16_t& y, int16_t otherX, int16_t otherY) const
{
    const C3DFrameBuffer& fb = *frameBuffer_;
    // Where the line through the other end meets an edge, truncated toward zero; -1 when the
    // line runs along the edge's direction.
    const auto meet = [](int32_t from, int32_t to, int32_t base, int32_t baseOther, int32_t edge) -> int64_t {
        if (from == base)
            return -1;
        return baseOther + int64_t{to - baseOther} * (edge - base) / (from - base);
    };
    int16_t newX = x;
    int16_t newY = y;
    bool moved = false;
    if (x > fb.clipRight || x < fb.clipLeft) {
        const int16_t edge = x > fb.clipRight ? fb.clipRight : fb.clipLeft;
        const int64_t atEdge = meet(x, y, otherX, otherY, edge);
        if (atEdge >= fb.clipTop && atEdge <= fb.clipBottom) {
            newX = edge;
            newY = static_cast<int16_t>(atEdge);
            moved = true;
        }
    }
    if (y > fb.clipBottom || y < fb.clipTop) {
        const int16_t edge = y > fb.clipBottom ? fb.clipBottom : fb.clipTop;
        const int64_t atEdge = meet(y, x, otherY, otherX, edge);
        if (atEdge >= fb.clipLeft && atEdge <= fb.clipRight) {
            newX = static_cast<int16_t>(atEdge);
            newY = edge;
            moved = true;
        }
    }
    x = newX;
    y = newY;
    return moved;
}

int16_t C3DView::ClipLine(int16_t& x0, int16_t& y0, int16_t& x1, int16_t& y1) const
{
    if (!frameBuffer_)
        return 0;
    const C3DFrameBuffer& fb = *frameBuffer_;
    const bool in0 = Inside(x0, y0);
    const bool in1 = Inside(x1, y1);
    if (in0 && in1)
        return 1;
    if (!in0 && !in1 &&
        ((x0 < fb.clipLeft && x1 < fb.clipLeft) || (x0 > fb.clipRight && x1 > fb.clipRight) ||
         (y0 < fb.clipTop && y1 < fb.clipTop) || (y0 > fb.clipBottom && y1 > fb.clipBottom)))
        return 0;
    // Each outside end once, end 1 first, end 0 then against where end 1 went.
    int16_t result = 0;
    if (!in1 && ClipEnd(x1, y1, x0, y0))
        result = 1;
    if (!in0 && ClipEnd(x0, y0, x1, y1))
        result = 1;
    return result;
}

void C3DView::DrawLine(int16_t x0, int16_t y0, int16_t x1, int16_t y1, uint8_t colour)
{
    if (!CanDraw())
        return;
    const int32_t dx = int32_t{x1} - x0;
    const int32_t dy = int32_t{y1} - y0;
    const int32_t sx = dx < 0 ? -1 : 1;
    const int32_t sy = dy < 0 ? -1 : 1;
    const int32_t adx = std::abs(dx);
    const int32_t ady = std::abs(dy);
    int32_t x = x0;
    int32_t y = y0;
    int32_t e = 0;
    const auto plot = [&] {
        if (Inside(x, y))
            Row(y)[x] = colour;
    };
    if (ady < adx) {
        for (int32_t n = 0; n <= adx; ++n) {
            plot();
            e += ady;
            if (e > adx) {
                e -= adx;
                y += sy;
            }
            x += sx;
        }
    } else {
        for (int32_t n = 0; n <= ady; ++n) {
            plot();
            e += adx;
            if (e > 0) {
                e -= ady;
                x += sx;
            }
            y += sy;
        }
    }
}

void C3DView::DrawLine(const CPoint& from, const CPoint& to, uint8_t colour)
{
    DrawLine(from.GetH(), from.GetV(), to.GetH(), to.GetV(), colour);
}
