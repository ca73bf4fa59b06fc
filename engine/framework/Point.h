#pragma once
// A screen position: two signed 16-bit pixel coordinates, h growing to the right and v
// downwards. The vertical value is stored first, as the engine's records keep it, while
// constructors and setters take (h, v). Arithmetic wraps in 16 bits.
#include <cstdint>

#include "platform/Geometry.h"

class CPoint {
public:
    CPoint() = default;
    CPoint(int16_t h, int16_t v) : v_(v), h_(h) {}

    CPoint& Assign(const CPoint& other)
    {
        v_ = other.v_;
        h_ = other.h_;
        return *this;
    }
    // From 32-bit coordinates as the platform reports them: the low 16 bits of each.
    CPoint& FromPOINT(int32_t x, int32_t y)
    {
        h_ = static_cast<int16_t>(x);
        v_ = static_cast<int16_t>(y);
        return *this;
    }
    CPoint& FromPOINT(const plat::Point& p) { return FromPOINT(p.x, p.y); }
    void Set(int16_t h, int16_t v)
    {
        h_ = h;
        v_ = v;
    }
    CPoint& SetH(int16_t h)
    {
        h_ = h;
        return *this;
    }
    CPoint& SetV(int16_t v)
    {
        v_ = v;
        return *this;
    }
    int16_t GetH() const { return h_; }
    int16_t GetV() const { return v_; }

    CPoint& Offset(int16_t dh, int16_t dv)
    {
        h_ = static_cast<int16_t>(h_ + dh);
        v_ = static_cast<int16_t>(v_ + dv);
        return *this;
    }
    CPoint operator+(const CPoint& o) const { return CPoint(*this).Offset(o.h_, o.v_); }
    CPoint operator-(const CPoint& o) const
    {
        return CPoint(static_cast<int16_t>(h_ - o.h_), static_cast<int16_t>(v_ - o.v_));
    }
    CPoint& operator+=(const CPoint& o) { return Offset(o.h_, o.v_); }
    CPoint& operator-=(const CPoint& o) { return *this = *this - o; }
    bool operator==(const CPoint& o) const { return h_ == o.h_ && v_ == o.v_; }
    bool operator!=(const CPoint& o) const { return !(*this == o); }

private:
    int16_t v_ = 0;
    int16_t h_ = 0;
};
