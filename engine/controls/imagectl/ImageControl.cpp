#include "engine/controls/imagectl/ImageControl.h"

#include "engine/graphics/CachedImages.h"

CPoint ImageSizeOf(CImgSet& images, int16_t n)
{
    CRect r;
    images.GetImageRect(r, n);
    return CPoint(r.GetWidth(), r.GetHeight());
}

void DrawImageAt(CImgSet& images, int16_t n, CDrawEnv* env, const CPoint& at, const CRect& clip)
{
    images.SetIndex(n);
    DrawRecord& record = images.GetRecord();
    record.params[7] = reinterpret_cast<intptr_t>(&clip);
    images.DrawAtPoint(env, at);
    record.params[7] = 0; // the clip rectangle lives only for this call
}

int16_t ButtonImage(bool enabled, bool pressed, int16_t base, int16_t stateFrames, int16_t count)
{
    int16_t offset = 0;
    if (stateFrames == 2)
        offset = pressed ? 1 : 0;
    else if (stateFrames >= 3)
        offset = !enabled ? 2 : pressed ? 1 : 0;
    auto index = static_cast<int16_t>(base + offset);
    if (index >= base + stateFrames)
        index = static_cast<int16_t>(stateFrames - 1);
    if (index >= count)
        index = static_cast<int16_t>(count - 1);
    return index;
}

int16_t SwitchImage(bool enabled, bool on, bool pressed, int16_t base, int16_t count)
{
    int16_t offset = 0;
    if (!enabled)
        offset = on ? 5 : 2;
    else
        offset = static_cast<int16_t>((on ? 3 : 0) + (pressed ? 1 : 0));
    const auto index = static_cast<int16_t>(base + offset);
    return index >= count ? static_cast<int16_t>(count - 1) : index;
}

CImgSet* LoadPictureSet(int32_t id, uint32_t libraryMask, bool report)
{
    // No cache: the set keeps its own bitmaps, which the background button draws into.
    return LoadCbmImgSet(nullptr, id, libraryMask, -1, !report).release();
}

std::unique_ptr<CImgSet> LoadTemplatePicture(const CTFrame& tpl, uint32_t libraryMask, int32_t id)
{
    std::unique_ptr<CImgSet> images = tpl.LoadImage(libraryMask, id);
    if (images && (tpl.GetFlags() & CFrame::kFlagTransparent))
        images->SetDrawProc(DrawTransparent);
    return images;
}
