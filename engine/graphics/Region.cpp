#include "engine/graphics/Region.h"

#include <vector>

#include "engine/graphics/DrawEnv.h"
#include "platform/DrawContext.h"

namespace {

int32_t KindOf(plat::RegionKind kind)
{
    switch (kind) {
    case plat::RegionKind::Empty: return kRgnEmpty;
    case plat::RegionKind::Simple: return kRgnRect;
    default: return kRgnCombined;
    }
}

plat::Region PolygonRegion(int32_t count, intptr_t points)
{
    if (count <= 0 || points == 0)
        return {};
    const auto* xy = reinterpret_cast<const int32_t*>(points);
    std::vector<plat::Point> corners(static_cast<size_t>(count));
    for (size_t i = 0; i < corners.size(); ++i)
        corners[i] = plat::Point{xy[2 * i], xy[2 * i + 1]};
    return plat::Region::Polygon(corners);
}

plat::Region ShapeRegion(const CRect& rect, int32_t shape, int32_t a, intptr_t b)
{
    const plat::Rect box = ToPlatRect(rect);
    switch (shape) {
    case kRgnRect: return plat::Region(box);
    case kRgnRoundRect: return plat::Region::RoundRect(box, a, static_cast<int32_t>(b));
    case kRgnPolygon: return PolygonRegion(a, b);
    case kRgnEllipse: return plat::Region::Ellipse(box);
    default: return {};
    }
}

} // namespace

plat::Rect ToPlatRect(const CRect& rect)
{
    plat::Rect out;
    return rect.ToRECT(out);
}

CRegion::CRegion() : region_(std::make_unique<plat::Region>()) {}

CRegion::CRegion(const CRegion& other)
    : region_(std::make_unique<plat::Region>(*other.region_)), kind_(other.kind_)
{
}

CRegion::CRegion(const CRect& rect, int32_t shape, int32_t a, intptr_t b)
    : region_(std::make_unique<plat::Region>(ShapeRegion(rect, shape, a, b))), kind_(shape)
{
}

CRegion::~CRegion() = default;

void CRegion::SetRect(const CRect& rect)
{
    kind_ = kRgnRect;
    region_->SetRect(ToPlatRect(rect));
}

CRegion& CRegion::operator=(const CRegion& other)
{
    kind_ = other.kind_;
    *region_ = *other.region_;
    return *this;
}

void CRegion::Combine(const plat::Region& other, plat::RegionOp op)
{
    kind_ = KindOf(region_->Combine(*region_, other, op));
}

void CRegion::Union(const CRegion* other)
{
    if (other)
        Combine(*other->region_, plat::RegionOp::Or);
}

void CRegion::Intersect(const CRegion* other)
{
    if (other)
        Combine(*other->region_, plat::RegionOp::And);
}

void CRegion::Subtract(const CRegion* other)
{
    if (other)
        Combine(*other->region_, plat::RegionOp::Diff);
}

void CRegion::Union(const CRect& rect) { Combine(plat::Region(ToPlatRect(rect)), plat::RegionOp::Or); }
void CRegion::Intersect(const CRect& rect) { Combine(plat::Region(ToPlatRect(rect)), plat::RegionOp::And); }
void CRegion::Subtract(const CRect& rect) { Combine(plat::Region(ToPlatRect(rect)), plat::RegionOp::Diff); }

void CRegion::MarkCombined(const CRegion* other)
{
    if (other)
        kind_ = kRgnCombined;
}

plat::RegionKind CRegion::Offset(int16_t dh, int16_t dv) { return region_->Offset(dh, dv); }

void CRegion::Paint(CDrawEnv* env, int32_t color) const
{
    if (!env)
        return;
    env->SetBrushColor(color);
    if (plat::DrawContext* dc = env->GetHDC())
        dc->PaintRegion(*region_);
}

CRegion operator+(const CRegion& a, const CRegion& b)
{
    CRegion result(a);
    result.Union(&b);
    return result;
}

CRegion operator+(const CRect& a, const CRegion& b)
{
    CRegion result(a, kRgnRect);
    result.Union(&b);
    return result;
}

CRegion operator+(const CRegion& a, const CRect& b) { return b + a; }

CRegion operator-(const CRegion& a, const CRegion& b)
{
    CRegion result(a);
    result.Subtract(&b);
    return result;
}

CRegion operator-(const CRect& a, const CRegion& b)
{
    CRegion result(a, kRgnRect);
    result.Subtract(&b);
    return result;
}

CRegion operator-(const CRegion& a, const CRect& b)
{
    CRegion result(a);
    result.Subtract(b);
    return result;
}

bool operator==(const CRegion& a, const CRegion& b) { return *a.GetHandle() == *b.GetHandle(); }
bool operator!=(const CRegion& a, const CRegion& b) { return !(a == b); }
