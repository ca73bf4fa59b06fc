#pragma once
// A screen rectangle: four signed 16-bit values in the order top, left, bottom, right.
// Width is right - left and height bottom - top; a rectangle whose right is not greater
// than its left (or bottom not greater than top) is empty. All arithmetic wraps in 16 bits.
#include <cstdint>

#include "engine/framework/Point.h"

class CRect {
public:
    CRect() = default;
    CRect(int16_t top, int16_t left, int16_t bottom, int16_t right)
        : top_(top), left_(left), bottom_(bottom), right_(right)
    {
    }
    // A rectangle of the given size at the origin.
    CRect(int16_t width, int16_t height) : bottom_(height), right_(width) {}
    CRect(const CPoint& topLeft, int16_t width, int16_t height);
    CRect(const CPoint& topLeft, const CPoint& bottomRight) { SetCorners(topLeft, bottomRight); }
    // All zeros when no rectangle is given.
    explicit CRect(const CRect* other)
    {
        if (other)
            *this = *other;
    }

    // From a platform rectangle: the low 16 bits of each edge.
    explicit CRect(const plat::Rect& r)
        : top_(static_cast<int16_t>(r.top)), left_(static_cast<int16_t>(r.left)),
          bottom_(static_cast<int16_t>(r.bottom)), right_(static_cast<int16_t>(r.right))
    {
    }
    // The platform rectangle with the same (sign-extended) edges.
    plat::Rect& ToRECT(plat::Rect& out) const
    {
        out = plat::Rect{left_, top_, right_, bottom_};
        return out;
    }

    void Set(int16_t top, int16_t left, int16_t bottom, int16_t right);
    void Assign(const CRect& other) { *this = other; }
    void Copy(const CRect& other) { *this = other; }
    void CopyEdges(const CRect& other) { *this = other; }
    void SetCorners(const CPoint& topLeft, const CPoint& bottomRight);

    int16_t GetTop() const { return top_; }
    int16_t GetLeft() const { return left_; }
    int16_t GetBottom() const { return bottom_; }
    int16_t GetRight() const { return right_; }
    void SetTop(int16_t v) { top_ = v; }
    void SetLeft(int16_t v) { left_ = v; }
    void SetBottom(int16_t v) { bottom_ = v; }
    void SetRight(int16_t v) { right_ = v; }

    int16_t GetWidth() const { return static_cast<int16_t>(right_ - left_); }
    int16_t GetHeight() const { return static_cast<int16_t>(bottom_ - top_); }
    void SetWidth(int16_t w) { right_ = static_cast<int16_t>(left_ + w); }
    void SetHeight(int16_t h) { bottom_ = static_cast<int16_t>(top_ + h); }
    void SetSize(int16_t width, int16_t height)
    {
        SetWidth(width);
        SetHeight(height);
    }
    // The size as a point: h the width, v the height.
    void SetSize(const CPoint& size) { SetSize(size.GetH(), size.GetV()); }
    CPoint& GetSize(CPoint& out) const
    {
        out.Set(GetWidth(), GetHeight());
        return out;
    }
    CPoint TopLeft() const { return CPoint(left_, top_); }

    void Offset(int16_t dh, int16_t dv);
    void Offset(const CPoint& d) { Offset(d.GetH(), d.GetV()); }
    void OffsetH(int16_t d) { Offset(d, 0); }
    void OffsetV(int16_t d) { Offset(0, d); }
    // Moves the top-left corner to (h, v), keeping the size.
    void MoveTo(int16_t h, int16_t v);
    void ZeroOrigin();
    // Shrinks by dh on the left and right and by dv on the top and bottom.
    void Inset(int16_t dh, int16_t dv);

    bool operator==(const CRect& o) const = default;

    // Union: the smaller top and left, the larger bottom and right.
    CRect operator|(const CRect& o) const;
    CRect& operator|=(const CRect& o) { return *this = *this | o; }
    // Overlap with edges included: rectangles that only touch give a result of zero width
    // or height; disjoint ones give all zeros.
    CRect operator&(const CRect& o) const;
    CRect& operator&=(const CRect& o) { return *this = *this & o; }
    // The common part, stored in `out` when given. True only when it is not empty;
    // otherwise `out` is set to all zeros.
    bool Intersect(const CRect& other, CRect* out = nullptr) const;
    // True when the two overlap or touch (edges included).
    bool Intersects(const CRect& other) const;
    // Edges included: left <= h <= right and top <= v <= bottom.
    bool ContainsPoint(const CPoint& p) const;

    // Centres this rectangle on the other along the axes asked for.
    void CenterIn(const CRect& other, bool horizontally, bool vertically);
    // The point moved into the closed rectangle.
    CPoint ClampPoint(const CPoint& p) const;
    // `rect` moved (not resized) to lie inside this one; a larger one keeps its left (top)
    // edge on this one's left (top).
    CRect ConstrainRect(const CRect& rect) const;
    // The rectangle bounding both.
    CRect NewUnion(const CRect& other) const { return *this | other; }

private:
    int16_t top_ = 0;
    int16_t left_ = 0;
    int16_t bottom_ = 0;
    int16_t right_ = 0;
};
