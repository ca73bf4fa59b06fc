#pragma once
// Where a logical picture (the presented window's area) lands in a display's output: scaled by
// the largest whole number that fits, or, in an output smaller than the picture, shrunk to fit
// keeping its shape; centred either way. Both the SDL display and the headless runs show the
// picture through these, so a headless picture of the window is what the display shows.
#include <cstdint>

#include "platform/Geometry.h"
#include "platform/Surface.h"

namespace plat {

struct Viewport {
    int scale = 1; // the whole scale; 0 when the picture is shrunk to fit
    Rect dest;     // in output pixels
    int logicalWidth = 0;
    int logicalHeight = 0;
};
Viewport FitViewport(int logicalWidth, int logicalHeight, int outputWidth, int outputHeight);
// An output pixel mapped back to the logical picture (points outside it map outside it).
Point OutputToLogical(const Viewport& viewport, Point output);

// A size in pixels.
struct PixelSize {
    int width = 0;
    int height = 0;
};
// A point of the window (SDL's window coordinates, which a high-density screen gives more
// output pixels than points) mapped back to the logical picture shown through the viewport.
Point WindowToLogical(const Viewport& viewport, PixelSize window, PixelSize output, Point windowPoint);
// The whole scale a window shows an area at: the largest that keeps it within nine tenths of
// the usable screen, at least 1.
int WindowedScale(PixelSize area, PixelSize usable);

// The picture shrunk into the viewport's destination size, each output pixel taking the
// picture's pixel under its top-left corner (no new colours: the result keeps the palette).
Surface ShrinkPicture(const Surface& picture, const Viewport& viewport);
// The whole output as the display shows it: the border colour index around the picture,
// which is copied at a whole scale or shrunk to fit.
Surface PresentPicture(const Surface& picture, int outputWidth, int outputHeight, uint8_t border);

} // namespace plat
