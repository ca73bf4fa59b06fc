#pragma once
// The pixels that lines, outlines and pie slices cover, as regions in device pixels. The
// drawing context paints them; keeping the geometry here lets it be tested on its own.
//
// Points name pixels; the geometry works on their centres, so the box (left, top, right,
// bottom) has its centre at ((left + right) / 2, (top + bottom) / 2) and a pixel (x, y) at
// (x + 0.5, y + 0.5).
#include <cstdint>

#include "platform/Geometry.h"
#include "platform/Region.h"

namespace plat {

// A line one pixel wide from a towards b, b itself left out: for each step along the longer
// axis the pixel nearest the ideal line (halfway cases step away from a). Only the pixels
// inside `visible` are produced, so a line of any length costs no more than the area.
Region ThinLineRegion(Point a, Point b, const Rect& visible);

// A line `width` pixels wide with round ends: the pixels whose centres lie within width / 2
// of the segment from a to b (ends included). Even widths centre the line on the pixel
// corners so that it covers exactly `width` rows or columns when straight.
Region WideLineRegion(Point a, Point b, int32_t width, const Rect& visible);

// The outline of the box's ellipse, `width` pixels thick inside the ellipse.
Region EllipseRing(const Rect& box, int32_t width);
// The outline of the box, `width` pixels thick inside it.
Region RectRing(const Rect& box, int32_t width);

// The pixels of `area` whose centres lie in the sweep counter-clockwise (as seen on the screen)
// from the ray through `start` to the ray through `end`, both rays leaving the centre of
// `box`. When both rays point the same way the sweep is the whole turn.
Region SweepOf(const Region& area, const Rect& box, Point start, Point end);

// Where the ray from the centre of `box` through `toward` meets the box's ellipse, as a pixel.
Point EllipseRayEnd(const Rect& box, Point toward);
// The pixel holding the centre of the box.
Point BoxCentrePixel(const Rect& box);

} // namespace plat
