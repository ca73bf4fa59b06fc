// What the view draws through its frame's drawing environment rather than into the frame
// buffer's rows: the sprites that stand on marker polygons and the panorama strip around the
// horizon.
#include <algorithm>
#include <cstdlib>

#include "engine/controls/AnimFrame.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/RleImgSet.h"
#include "engine/graphics/RleStretchDraw.h"
#include "game/action/3DLegendEntry.h"
#include "game/action/3DView.h"

namespace {

// A water sprite is not drawn taller than this many times its image.
constexpr int32_t kWaterStretchLimit = 2;
// Nor is any sprite narrower than 2 pixels or wider than 4 times its image.
constexpr int32_t kMinSpriteWidth = 2;
constexpr int32_t kWidthStretchLimit = 4;
// Neighbouring panorama tiles overlap by 2 pixels.
constexpr int32_t kPanoramaOverlap = 2;

bool FitsScreen(int32_t v) { return v >= INT16_MIN && v <= INT16_MAX; }

} // namespace

void C3DView::DrawSprite(CSortPoly& entry)
{
    C3DLegendEntry* legend = entry.legend;
    CImgSet* images = legend ? legend->GetObjectImage() : nullptr;
    if (!images || !frameBuffer_)
        return;
    int16_t footX = 0, footY = 0, headX = 0, headY = 0;
    ProjectPoint(entry.vertices[0], footX, footY);
    ProjectPoint(entry.vertices[1], headX, headY);
    if (footY == headY)
        return;
    const int16_t frame = legend->GetAnimationFrame();
    CRect image;
    images->GetImageRect(image, frame >= 0 ? frame : images->GetIndex());
    const int64_t imageHeight = image.GetHeight();
    const int64_t imageWidth = image.GetWidth();
    if (imageHeight <= 0 || imageWidth <= 0)
        return;
    const int64_t screenHeight = std::abs(int32_t{footY} - headY);
    if (legend->GetLegendKind() == C3DLegendEntry::kKindWater &&
        screenHeight > kWaterStretchLimit * imageHeight)
        return;
    const int64_t width = imageWidth * screenHeight / imageHeight;
    if (width < kMinSpriteWidth || width > kWidthStretchLimit * imageWidth)
        return;
    const bool footOnTop = footY < headY;
    const int32_t left = (footOnTop ? footX : headX) - static_cast<int32_t>(width / 2);
    if (!FitsScreen(left) || !FitsScreen(left + width))
        return;
    const CRect dest(std::min(footY, headY), static_cast<int16_t>(left), std::max(footY, headY),
                     static_cast<int16_t>(left + width));
    const C3DFrameBuffer& fb = *frameBuffer_;
    CRect clip(fb.clipTop, fb.clipLeft, static_cast<int16_t>(fb.clipBottom + 1),
               static_cast<int16_t>(fb.clipRight + 1));
    CDrawEnv* env = frame_ ? frame_->GetDrawEnv() : nullptr;
    if (!env)
        return;
    if (frame >= 0) {
        legend->DrawAnimationFrame(env, dest, clip);
        return;
    }
    auto* sprites = dynamic_cast<CRleImgSet*>(images);
    CDibSect* bitmap = env->GetBitmap();
    if (!sprites || !bitmap)
        return;
    // Stretched into the rectangle, colour 0 transparent, cut to the clip area.
    sprites->SetDrawProc(DrawRleStretched, sprites->GetIndex(), reinterpret_cast<intptr_t>(&clip), 0, 0);
    sprites->Draw(bitmap, dest);
}

void C3DView::TilePanorama(CImgSet& images)
{
    panoramaTiles_.clear();
    CRect image;
    images.GetImageRect(image, -1);
    // An image narrower than the overlap would never get round the strip.
    const int32_t step = image.GetWidth() - kPanoramaOverlap;
    if (step < 1)
        return;
    for (int32_t x = 0; x < kPanoramaWidth; x += step)
        panoramaTiles_.push_back(static_cast<int16_t>(x));
}

void C3DView::DrawPanorama(CImgSet& images, int16_t horizonRow)
{
    if (!frameBuffer_)
        return;
    const C3DFrameBuffer& fb = *frameBuffer_;
    if (horizonRow <= fb.clipTop || horizonRow >= fb.clipBottom)
        return;
    CDrawEnv* env = frame_ ? frame_->GetDrawEnv() : nullptr;
    CDibSect* tile = images.GetImage(images.GetIndex());
    if (!env || !tile)
        return;
    CRect image;
    images.GetImageRect(image, -1);
    const int32_t tileWidth = image.GetWidth();
    const int32_t top = horizonRow - image.GetHeight();
    const int32_t start = heading_ * kPanoramaPixelsPerDegree;
    const int32_t end = start + fb.clipRight - fb.clipLeft; // the window's last strip pixel
    for (const int16_t x : panoramaTiles_) {
        if (x > end || x + tileWidth - 1 < start)
            continue;
        // The tile's place on the screen, cut to the clip area.
        const int32_t screenLeft = fb.clipLeft + x - start;
        const int32_t left = std::max<int32_t>(screenLeft, fb.clipLeft);
        const int32_t right = std::min<int32_t>(screenLeft + tileWidth - 1, fb.clipRight);
        const int32_t clippedTop = std::max<int32_t>(top, fb.clipTop);
        if (left > right || clippedTop >= horizonRow)
            continue;
        const CRect dest(static_cast<int16_t>(clippedTop), static_cast<int16_t>(left), horizonRow,
                         static_cast<int16_t>(right + 1));
        const CRect source(static_cast<int16_t>(clippedTop - top), static_cast<int16_t>(left - screenLeft),
                           static_cast<int16_t>(horizonRow - top),
                           static_cast<int16_t>(right + 1 - screenLeft));
        env->BlitDib(tile, source, dest, nullptr, nullptr);
    }
}
