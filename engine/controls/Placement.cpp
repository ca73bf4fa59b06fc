#include "engine/controls/Placement.h"

#include "engine/controls/Frame.h"

int16_t ReferenceOf(int32_t mode, int16_t low, int16_t high)
{
    switch (mode) {
    case 1: return static_cast<int16_t>(low + (high - low) / 2);
    case 2: return high;
    default: return low;
    }
}

CRect PlaceAround(const CPoint& reference, const CPoint& size, int32_t hMode, int32_t vMode)
{
    int16_t left = 0, right = 0, top = 0, bottom = 0;
    CFrame::Justify(static_cast<int16_t>(hMode), reference.GetH(), size.GetH(), left, right);
    CFrame::Justify(static_cast<int16_t>(vMode), reference.GetV(), size.GetV(), top, bottom);
    return CRect(top, left, bottom, right);
}

CRect ReplaceH(const CRect& bounds, int32_t oldMode, int32_t newMode)
{
    int16_t left = 0, right = 0;
    CFrame::Justify(static_cast<int16_t>(newMode), ReferenceOf(oldMode, bounds.GetLeft(), bounds.GetRight()),
                    bounds.GetWidth(), left, right);
    return CRect(bounds.GetTop(), left, bounds.GetBottom(), right);
}

CRect ReplaceV(const CRect& bounds, int32_t oldMode, int32_t newMode)
{
    int16_t top = 0, bottom = 0;
    CFrame::Justify(static_cast<int16_t>(newMode), ReferenceOf(oldMode, bounds.GetTop(), bounds.GetBottom()),
                    bounds.GetHeight(), top, bottom);
    return CRect(top, bounds.GetLeft(), bottom, bounds.GetRight());
}
