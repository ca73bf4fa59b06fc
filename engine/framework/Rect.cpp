#include "engine/framework/Rect.h"

#include <algorithm>

namespace {

int16_t Add16(int a, int b) { return static_cast<int16_t>(a + b); }

} // namespace

CRect::CRect(const CPoint& topLeft, int16_t width, int16_t height)
    : top_(topLeft.GetV()), left_(topLeft.GetH()), bottom_(Add16(topLeft.GetV(), height)),
      right_(Add16(topLeft.GetH(), width))
{
}

void CRect::Set(int16_t top, int16_t left, int16_t bottom, int16_t right)
{
    top_ = top;
    left_ = left;
    bottom_ = bottom;
    right_ = right;
}

void CRect::SetCorners(const CPoint& topLeft, const CPoint& bottomRight)
{
    Set(topLeft.GetV(), topLeft.GetH(), bottomRight.GetV(), bottomRight.GetH());
}

void CRect::Offset(int16_t dh, int16_t dv)
{
    left_ = Add16(left_, dh);
    right_ = Add16(right_, dh);
    top_ = Add16(top_, dv);
    bottom_ = Add16(bottom_, dv);
}

void CRect::MoveTo(int16_t h, int16_t v) { Offset(Add16(h, -left_), Add16(v, -top_)); }

void CRect::ZeroOrigin()
{
    right_ = Add16(right_, -left_);
    bottom_ = Add16(bottom_, -top_);
    top_ = 0;
    left_ = 0;
}

void CRect::Inset(int16_t dh, int16_t dv)
{
    left_ = Add16(left_, dh);
    right_ = Add16(right_, -dh);
    top_ = Add16(top_, dv);
    bottom_ = Add16(bottom_, -dv);
}

CRect CRect::operator|(const CRect& o) const
{
    return CRect(std::min(top_, o.top_), std::min(left_, o.left_), std::max(bottom_, o.bottom_),
                 std::max(right_, o.right_));
}

CRect CRect::operator&(const CRect& o) const
{
    if (!Intersects(o))
        return CRect();
    return CRect(std::max(top_, o.top_), std::max(left_, o.left_), std::min(bottom_, o.bottom_),
                 std::min(right_, o.right_));
}

bool CRect::Intersect(const CRect& other, CRect* out) const
{
    CRect r(std::max(top_, other.top_), std::max(left_, other.left_), std::min(bottom_, other.bottom_),
            std::min(right_, other.right_));
    const bool overlap = r.left_ < r.right_ && r.top_ < r.bottom_;
    if (!overlap)
        r = CRect();
    if (out)
        *out = r;
    return overlap;
}

bool CRect::Intersects(const CRect& o) const
{
    return !(o.bottom_ < top_ || bottom_ < o.top_ || o.right_ < left_ || right_ < o.left_);
}

bool CRect::ContainsPoint(const CPoint& p) const
{
    return left_ <= p.GetH() && p.GetH() <= right_ && top_ <= p.GetV() && p.GetV() <= bottom_;
}

void CRect::CenterIn(const CRect& other, bool horizontally, bool vertically)
{
    // Halves by arithmetic shift of the 16-bit sizes, as the engine has always centred.
    int16_t dh = 0;
    int16_t dv = 0;
    if (horizontally)
        dh = Add16(Add16(other.left_, other.GetWidth() >> 1), -(GetWidth() >> 1) - left_);
    if (vertically)
        dv = Add16(Add16(other.top_, other.GetHeight() >> 1), -(GetHeight() >> 1) - top_);
    if (dh != 0 || dv != 0)
        Offset(dh, dv);
}

CPoint CRect::ClampPoint(const CPoint& p) const
{
    CPoint r = p;
    if (r.GetH() < left_)
        r.SetH(left_);
    else if (r.GetH() > right_)
        r.SetH(right_);
    if (r.GetV() < top_)
        r.SetV(top_);
    else if (r.GetV() > bottom_)
        r.SetV(bottom_);
    return r;
}

CRect CRect::ConstrainRect(const CRect& rect) const
{
    CRect r = rect;
    if (left_ > r.left_)
        r.OffsetH(Add16(left_, -r.left_));
    else if (right_ < r.right_)
        r.OffsetH(Add16(right_, -r.right_));
    // Moving a wider rectangle left can push its left edge past ours; keep its left edge
    // on ours so that its beginning stays visible.
    if (r.left_ < left_)
        r.OffsetH(Add16(left_, -r.left_));
    if (top_ > r.top_)
        r.OffsetV(Add16(top_, -r.top_));
    else if (bottom_ < r.bottom_)
        r.OffsetV(Add16(bottom_, -r.bottom_));
    if (r.top_ < top_)
        r.OffsetV(Add16(top_, -r.top_));
    return r;
}
