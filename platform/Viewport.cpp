#include "platform/Viewport.h"

#include <algorithm>

namespace plat {

namespace {

// Floor division, so that points left of or above the picture stay outside it.
int FloorDiv(int64_t value, int64_t divisor)
{
    return static_cast<int>(value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor));
}

} // namespace

Viewport FitViewport(int logicalWidth, int logicalHeight, int outputWidth, int outputHeight)
{
    Viewport v;
    v.logicalWidth = logicalWidth;
    v.logicalHeight = logicalHeight;
    int w = logicalWidth;
    int h = logicalHeight;
    if (logicalWidth > 0 && logicalHeight > 0) {
        v.scale = std::min(outputWidth / logicalWidth, outputHeight / logicalHeight);
        if (v.scale >= 1) {
            w = logicalWidth * v.scale;
            h = logicalHeight * v.scale;
        } else if (int64_t{outputWidth} * logicalHeight <= int64_t{outputHeight} * logicalWidth) {
            // Narrower than the picture's shape: the width fills the output.
            v.scale = 0;
            w = std::max(1, outputWidth);
            h = std::max<int>(1, static_cast<int>(int64_t{w} * logicalHeight / logicalWidth));
        } else {
            v.scale = 0;
            h = std::max(1, outputHeight);
            w = std::max<int>(1, static_cast<int>(int64_t{h} * logicalWidth / logicalHeight));
        }
    }
    v.dest = Rect::FromSize((outputWidth - w) / 2, (outputHeight - h) / 2, w, h);
    return v;
}

Point OutputToLogical(const Viewport& viewport, Point output)
{
    const int w = std::max(1, viewport.dest.Width());
    const int h = std::max(1, viewport.dest.Height());
    const int lw = viewport.logicalWidth > 0 ? viewport.logicalWidth : w;
    const int lh = viewport.logicalHeight > 0 ? viewport.logicalHeight : h;
    return {FloorDiv(int64_t{output.x - viewport.dest.left} * lw, w),
            FloorDiv(int64_t{output.y - viewport.dest.top} * lh, h)};
}

Point WindowToLogical(const Viewport& viewport, PixelSize window, PixelSize output, Point windowPoint)
{
    // Window coordinates are points; the renderer's output may have more pixels than that.
    const Point out{windowPoint.x * output.width / std::max(1, window.width),
                    windowPoint.y * output.height / std::max(1, window.height)};
    return OutputToLogical(viewport, out);
}

int WindowedScale(PixelSize area, PixelSize usable)
{
    // A window takes at most this share of the usable screen.
    constexpr double kScreenShare = 0.9;
    if (area.width <= 0 || area.height <= 0)
        return 1;
    const double fits =
        std::min(usable.width * kScreenShare / area.width, usable.height * kScreenShare / area.height);
    return std::max(1, static_cast<int>(fits));
}

Surface ShrinkPicture(const Surface& picture, const Viewport& viewport)
{
    const int w = std::max(0, viewport.dest.Width());
    const int h = std::max(0, viewport.dest.Height());
    Surface out(w, h);
    out.colors = picture.colors;
    if (picture.width <= 0 || picture.height <= 0)
        return out;
    for (int y = 0; y < h; ++y) {
        const uint8_t* from = picture.Row(static_cast<int>(int64_t{y} * picture.height / h));
        uint8_t* to = out.Row(y);
        for (int x = 0; x < w; ++x)
            to[x] = from[int64_t{x} * picture.width / w];
    }
    return out;
}

Surface PresentPicture(const Surface& picture, int outputWidth, int outputHeight, uint8_t border)
{
    Surface out(std::max(0, outputWidth), std::max(0, outputHeight));
    out.colors = picture.colors;
    std::fill(out.pixels.begin(), out.pixels.end(), border);
    const Viewport v = FitViewport(picture.width, picture.height, out.width, out.height);
    const Surface shown = ShrinkPicture(picture, v);
    for (int y = 0; y < shown.height; ++y) {
        const int oy = v.dest.top + y;
        if (oy < 0 || oy >= out.height)
            continue;
        for (int x = 0; x < shown.width; ++x)
            if (const int ox = v.dest.left + x; ox >= 0 && ox < out.width)
                out.Row(oy)[ox] = shown.At(x, y);
    }
    return out;
}

} // namespace plat
