#pragma once
// Placement of point-placed elements and controls: each axis of a frame is placed around a
// reference coordinate by its placement mode (CFrame::Justify: 1 centred on it, 2 ending at it,
// any other value starting at it). A frame whose mode changes keeps the reference coordinate its
// old mode implied and is placed around it again by the new mode.
#include <cstdint>

#include "engine/framework/Point.h"
#include "engine/framework/Rect.h"

// The reference coordinate that a span placed by the mode was placed at.
int16_t ReferenceOf(int32_t mode, int16_t low, int16_t high);
// The rectangle of the size placed around the reference point by the two modes.
CRect PlaceAround(const CPoint& reference, const CPoint& size, int32_t hMode, int32_t vMode);
// The bounds with one axis placed again by the new mode around the reference coordinate that the
// old mode gives; the other axis stays.
CRect ReplaceH(const CRect& bounds, int32_t oldMode, int32_t newMode);
CRect ReplaceV(const CRect& bounds, int32_t oldMode, int32_t newMode);
