#pragma once
// Points and rectangles in pixels, as the window system and the drawing code use them.
// A rectangle covers the pixels from (left, top) up to but not including (right, bottom);
// one whose right is not past its left, or bottom not below its top, is empty.
#include <algorithm>
#include <cstdint>

namespace plat {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool operator==(const Rect&) const = default;

    static constexpr Rect FromSize(int32_t x, int32_t y, int32_t w, int32_t h)
    {
        return {x, y, x + w, y + h};
    }
    constexpr int32_t Width() const { return right - left; }
    constexpr int32_t Height() const { return bottom - top; }
    constexpr bool Empty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(Point p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    constexpr Point TopLeft() const { return {left, top}; }
    constexpr Rect Offset(int32_t dx, int32_t dy) const
    {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    constexpr Rect Inflate(int32_t dx, int32_t dy) const
    {
        return {left - dx, top - dy, right + dx, bottom + dy};
    }
};

// The common part of two rectangles; an empty rectangle when they do not overlap.
constexpr Rect Intersect(const Rect& a, const Rect& b)
{
    const Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
    return r.Empty() ? Rect{} : r;
}

// The smallest rectangle holding both; an empty rectangle counts for nothing.
constexpr Rect Bounds(const Rect& a, const Rect& b)
{
    if (a.Empty())
        return b.Empty() ? Rect{} : b;
    if (b.Empty())
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

} // namespace plat
