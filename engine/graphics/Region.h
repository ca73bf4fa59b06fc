#pragma once
// CRegion: an area of pixels (a banded region of the platform) with its set operations and a
// kind that says what shape it holds. Windows build the area to repaint from rectangles and
// regions, drawing environments clip to regions, and screen transitions build shaped ones.
#include <cstdint>
#include <memory>

#include "engine/framework/Rect.h"
#include "platform/Region.h"

class CDrawEnv;

// What a region holds.
enum : int32_t {
    kRgnEmpty = 0,
    kRgnRect = 1,
    kRgnRoundRect = 2,
    kRgnPolygon = 3,
    kRgnCombined = 4, // any other shape, after a set operation
    kRgnDevice = 5,   // a drawing environment's whole device area
    kRgnEllipse = 6,
};

class CRegion {
public:
    // An empty region.
    CRegion();
    CRegion(const CRegion& other);
    // A shape: kRgnRect the rectangle; kRgnRoundRect the rectangle with corners rounded by an
    // a x b ellipse; kRgnPolygon the `a` points at `b` (32-bit x, y pairs; the rectangle is not
    // used), filled by the winding rule; kRgnEllipse the rectangle's ellipse. Any other shape
    // gives an empty region that keeps the shape number as its kind.
    CRegion(const CRect& rect, int32_t shape, int32_t a = 0, intptr_t b = 0);
    virtual ~CRegion();

    plat::Region* GetHandle() const { return region_.get(); }
    int32_t GetKind() const { return kind_; }
    void SetKind(int32_t kind) { kind_ = kind; }

    // The region becomes the rectangle (kind kRgnRect).
    void SetRect(const CRect& rect);
    CRegion& operator=(const CRect& rect)
    {
        SetRect(rect);
        return *this;
    }
    CRegion& operator=(const CRegion& other);

    // Set operations in place; nothing for a null region. The kind becomes kRgnEmpty,
    // kRgnRect or kRgnCombined from the result.
    void Union(const CRegion* other);
    void Intersect(const CRegion* other);
    void Subtract(const CRegion* other);
    void Union(const CRect& rect);
    void Intersect(const CRect& rect);
    void Subtract(const CRect& rect);
    // Marks the region combined (when a region is given); the area stays.
    void MarkCombined(const CRegion* other);

    CRegion& operator+=(const CRegion& other)
    {
        Union(&other);
        return *this;
    }
    CRegion& operator+=(const CRect& rect)
    {
        Union(rect);
        return *this;
    }
    CRegion& operator-=(const CRegion& other)
    {
        Subtract(&other);
        return *this;
    }
    CRegion& operator-=(const CRect& rect)
    {
        Subtract(rect);
        return *this;
    }

    // Moves the area; answers what it holds afterwards.
    plat::RegionKind Offset(int16_t dh, int16_t dv);
    // Fills the area (in the environment's drawing coordinates) with the colour through the
    // environment's brush and raster mode.
    void Paint(CDrawEnv* env, int32_t color) const;

private:
    void Combine(const plat::Region& other, plat::RegionOp op);

    std::unique_ptr<plat::Region> region_;
    int32_t kind_ = kRgnEmpty;
};

CRegion operator+(const CRegion& a, const CRegion& b);
CRegion operator+(const CRect& a, const CRegion& b);
CRegion operator+(const CRegion& a, const CRect& b);
CRegion operator-(const CRegion& a, const CRegion& b);
CRegion operator-(const CRect& a, const CRegion& b);
CRegion operator-(const CRegion& a, const CRect& b);
bool operator==(const CRegion& a, const CRegion& b);
bool operator!=(const CRegion& a, const CRegion& b);

// The platform rectangle of the same edges.
plat::Rect ToPlatRect(const CRect& rect);
