// CWind: painting, the drawing environments and the palette.
//
// A window paints through its window environment (on its own device context) and, when it
// has one, its off-screen environment (an 8-bit bitmap of the root frame's size). With the
// off-screen environment every frame is drawn once per paint into the bitmap without clip
// regions, and the screen is touched by one copy; only frames with the direct bit are drawn
// straight into the window, in a second pass with clip regions of their own.
//
// The engine profile switches three rules of this painter: the off-screen pass may clip each
// frame to what its parent received; the area of the direct frames may be worked out once per
// root frame and kept; and a window repainting one opaque leaf may test the leaf's own direct
// bit instead of the root's.
#include "engine/controls/Frame.h"
#include "engine/controls/Wind.h"
#include "engine/controls/WindGlobals.h"
#include "engine/framework/EngineProfile.h"
#include "engine/framework/Str.h"
#include "engine/graphics/Font.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/Palette.h"
#include "engine/graphics/Region.h"
#include "engine/graphics/WndEnv.h"
#include "platform/Desktop.h"
#include "platform/DrawContext.h"
#include "platform/Window.h"

namespace {

// The rectangle asked for, or the root frame's drawn rectangle.
CRect AreaOf(const CRect* rect, CFrame* root) { return rect ? *rect : root->GetDrawnRect(); }

// The common part of the frame's drawn rectangle and the rectangle; false when empty.
bool Overlap(const CFrame& frame, const CRect& rect, CRect& out)
{
    return frame.GetDrawnRect().Intersect(rect, &out);
}

// Removes the area of the outermost shown opaque direct frames of the subtree from the region;
// answers whether the subtree holds any shown direct frame.
bool ExcludeDirect(CFrame* frame, CRegion& region)
{
    if (!frame->IsShown())
        return false;
    if (frame->IsDirect()) {
        if (!frame->IsTransparent())
            region.Subtract(frame->GetDrawnRect());
        return true;
    }
    bool any = false;
    for (CFrame* child : ChildFrames(*frame))
        any = ExcludeDirect(child, region) || any;
    return any;
}

// The direct frames' mask a root frame keeps from its first off-screen paint until it dies:
// the root's drawn rectangle less the areas its direct frames draw themselves.
class DirectMask : public CFrameCache {
public:
    explicit DirectMask(CFrame* root) : mask(root->GetDrawnRect(), kRgnRect)
    {
        hasDirect = ExcludeDirect(root, mask);
    }
    CRegion mask;
    bool hasDirect = false;
};

const DirectMask& KeptDirectMask(CFrame* root)
{
    if (auto* kept = dynamic_cast<DirectMask*>(root->GetCache()))
        return *kept;
    auto made = std::make_unique<DirectMask>(root);
    const DirectMask& mask = *made;
    root->SetCache(std::move(made));
    return mask;
}

// The off-screen pass with clipping: each frame draws inside what its parent received, and
// hands its children the same area cut to its own rectangle.
void PaintBufferedClipped(CDrawEnv* env, CFrame* frame, const CRegion& region, const CRect& rect)
{
    CRect r;
    if (!Overlap(*frame, rect, r))
        return;
    CRegion clip(region);
    clip.Intersect(frame->GetDrawnRect());
    env->SetClipRgn(&clip);
    if (!frame->IsDirect())
        frame->DrawContent(env, r);
    for (CFrame* child : ChildFrames(*frame))
        if (child->IsShown())
            PaintBufferedClipped(env, child, clip, r);
    env->SetClipRect(env->GetBounds());
}

} // namespace

CPalette* CWind::GetPalette() { return wndEnv_ ? wndEnv_->GetPalette() : nullptr; }
COffScEnv* CWind::GetOffScreenEnv() { return offScreenEnv_.get(); }
CWndEnv* CWind::GetWndEnv() { return wndEnv_.get(); }

void CWind::MapTitleText(CStr& title) { title.MapChars(GetFontCharMap(0)); }

void CWind::SetupEnvironments()
{
    // Without a native window the environment waits empty; Create sets it up.
    if (!plat::IsWindow(hwnd_)) {
        if (!wndEnv_)
            wndEnv_ = std::make_unique<CWndEnv>();
        if ((wndFlags_ & kFlagOffScreen) && !offScreenEnv_)
            offScreenEnv_ = std::make_unique<COffScEnv>();
        return;
    }
    ResizeEnvironments(frameRect_.GetWidth(), frameRect_.GetHeight());
}

void CWind::ResizeEnvironments(int16_t width, int16_t height)
{
    if (!plat::IsWindow(hwnd_) || !wndEnv_)
        return;
    // A fresh device context each time: setting an environment up moves the context's origin.
    std::unique_ptr<plat::DrawContext> dc = CreateWindowDC(hwnd_);
    auto env = std::make_unique<CWndEnv>();
    const CRect area(0, 0, height, width);
    env->Setup(dc.get(), area, ::GetPalette(), hwnd_);
    env->SetClipRect(area);
    wndEnv_ = std::move(env);
    dc_ = std::move(dc);
    if (offScreenEnv_)
        RebuildOffScreen();
}

void CWind::DeleteEnvironments()
{
    offScreenEnv_.reset();
    wndEnv_.reset();
    dc_.reset();
    paletteCopy_.reset();
}

void CWind::RebuildOffScreen()
{
    offScreenEnv_ = std::make_unique<COffScEnv>();
    CFrame* root = GetFirstFrame();
    if (!root)
        return;
    {
        CClipScope clear(wndEnv_.get());
    }
    CPalette* global = ::GetPalette();
    paletteCopy_ = global ? std::make_unique<CPalette>(*global) : nullptr;
    offScreenEnv_->Init(root->GetDrawnRect(), paletteCopy_.get(), true);
}

void CWind::SetPalette(CPalette* palette)
{
    palette_ = palette;
    if (wndEnv_)
        wndEnv_->SetPalette(palette);
    if (!GetEngineProfile().offScreenOnlyWhenShadowed || (wndFlags_ & kFlagOffScreen))
        RebuildOffScreen();
}

void CWind::SetPaletteAllWindows(CPalette* palette)
{
    const wndglobals::State& g = wndglobals::Get();
    for (CWind* w : wndglobals::Snapshot(g.listB.get()))
        w->SetPalette(palette);
    for (CWind* w : wndglobals::Snapshot(g.listA.get()))
        w->SetPalette(palette);
}

void CWind::RealizePalette()
{
    CPalette* palette = GetPalette();
    if (!palette || !palette->GetHandle() || !plat::IsWindow(hwnd_))
        return;
    if (plat::SetDesktopPalette(*palette->GetHandle(), hwnd_) > 0)
        plat::InvalidateRect(hwnd_, nullptr, false);
}

void CWind::Redraw(const CRect* rect)
{
    if (GetFirstFrame() && (wndEnv_ || offScreenEnv_))
        DrawFrames(rect);
}

void CWind::DrawFrames(const CRect* rect)
{
    CFrame* root = GetFirstFrame();
    if (!root || !root->IsShown() || !wndEnv_)
        return;
    const CRect area = AreaOf(rect, root);
    if (!offScreenEnv_) {
        CClipScope scope(wndEnv_.get());
        std::unique_ptr<CRegion> region(wndEnv_->GetDeviceRegion());
        region->Intersect(area);
        for (int32_t i = 0; i < GetLayerCount(); ++i)
            if (CFrame* layer = GetLayer(i); layer && layer->IsShown())
                DrawFrameDirect(layer, *region, area);
        return;
    }
    const EngineProfile& profile = GetEngineProfile();
    bool needDirect = false;
    {
        CClipScope scope(offScreenEnv_.get());
        std::unique_ptr<CRegion> offRegion;
        if (profile.offScreenPassClipsToParent) {
            offRegion.reset(offScreenEnv_->GetDeviceRegion());
            offRegion->Intersect(area);
        } else {
            offScreenEnv_->SetClipRect(area);
        }
        for (int32_t i = 0; i < GetLayerCount(); ++i) {
            CFrame* layer = GetLayer(i);
            if (!layer || !layer->IsShown())
                continue;
            if (offRegion)
                PaintBufferedClipped(offScreenEnv_.get(), layer, *offRegion, area);
            else
                needDirect = DrawFrameOffScreen(layer, area) || needDirect;
        }
    }
    CClipScope scope(wndEnv_.get());
    std::unique_ptr<CRegion> region(wndEnv_->GetDeviceRegion());
    region->Intersect(area);
    CRegion directRegion;
    // The copy leaves out the areas that the direct frames draw themselves.
    CRegion covered;
    if (profile.directMaskKeptOnRoot) {
        const DirectMask& kept = KeptDirectMask(root);
        needDirect = kept.hasDirect;
        covered = kept.mask;
    } else if (needDirect) {
        covered = root->GetDrawnRect();
        SubtractDirect(root, covered);
    }
    if (needDirect) {
        directRegion = *region;
        region->Intersect(&covered);
    }
    wndEnv_->SetClipRgn(region.get());
    offScreenEnv_->BlitTo(wndEnv_.get(), area, area, &area, nullptr);
    if (needDirect)
        for (int32_t i = 0; i < GetLayerCount(); ++i)
            if (CFrame* layer = GetLayer(i); layer && layer->IsShown())
                DrawDirectFrames(layer, directRegion, area);
}

void CWind::DrawFrameDirect(CFrame* frame, const CRegion& region, const CRect& rect)
{
    CRect r;
    if (!wndEnv_ || !Overlap(*frame, rect, r))
        return;
    CRegion clip(region);
    clip.Intersect(frame->GetDrawnRect());
    for (CFrame* child : ChildFrames(*frame))
        SubtractOpaque(child, clip);
    wndEnv_->SetClipRgn(&clip);
    frame->DrawContent(wndEnv_.get(), r);
    for (CFrame* child : ChildFrames(*frame))
        if (child->IsShown())
            DrawFrameDirect(child, region, r);
}

void CWind::SubtractOpaque(CFrame* frame, CRegion& region)
{
    if (!frame->IsShown())
        return;
    if (!frame->IsTransparent()) {
        region.Subtract(frame->GetDrawnRect());
        return;
    }
    for (CFrame* child : ChildFrames(*frame))
        SubtractOpaque(child, region);
}

bool CWind::DrawFrameOffScreen(CFrame* frame, const CRect& rect)
{
    CRect r;
    if (!offScreenEnv_ || !Overlap(*frame, rect, r))
        return false;
    bool needDirect = false;
    if (frame->IsDirect())
        needDirect = true;
    else
        frame->DrawContent(offScreenEnv_.get(), r);
    // No clip regions: the children simply paint over their parent.
    for (CFrame* child : ChildFrames(*frame))
        if (child->IsShown())
            needDirect = DrawFrameOffScreen(child, r) || needDirect;
    return needDirect;
}

void CWind::DrawDirectFrames(CFrame* frame, const CRegion& region, const CRect& rect)
{
    CRect r;
    if (!wndEnv_ || !Overlap(*frame, rect, r))
        return;
    CRegion limited(region);
    limited.Intersect(frame->GetDrawnRect());
    if (frame->IsDirect()) {
        CRegion clip(limited);
        for (CFrame* child : ChildFrames(*frame))
            if (child->IsDirect() && !child->IsTransparent())
                SubtractOpaque(child, clip);
        wndEnv_->SetClipRgn(&clip);
        frame->DrawContent(wndEnv_.get(), r);
    }
    for (CFrame* child : ChildFrames(*frame))
        if (child->IsShown())
            DrawDirectFrames(child, limited, r);
}

void CWind::SubtractDirect(CFrame* frame, CRegion& region) { ExcludeDirect(frame, region); }

void CWind::DrawRegion(const CRect* rect, bool direct)
{
    CFrame* root = GetFirstFrame();
    if (!root || !root->IsShown() || !wndEnv_)
        return;
    const CRect area = AreaOf(rect, root);
    CClipScope scope(wndEnv_.get());
    if (!direct) {
        for (int32_t i = 0; i < GetLayerCount(); ++i)
            if (CFrame* layer = GetLayer(i); layer && layer->IsShown())
                DrawFrameOffScreen(layer, area);
        return;
    }
    std::unique_ptr<CRegion> region(wndEnv_->GetDeviceRegion());
    region->Intersect(area);
    for (int32_t i = 0; i < GetLayerCount(); ++i)
        if (CFrame* layer = GetLayer(i); layer && layer->IsShown())
            DrawFrameDirect(layer, *region, area);
}

void CWind::Paint(CFrame* frame)
{
    if (!frame || !frame->IsShown() || (!wndEnv_ && !offScreenEnv_))
        return;
    frame->SetChanged(true);
    const bool leaf = !frame->GetChildren() || frame->GetChildren()->IsEmpty();
    if (!leaf || frame->IsTransparent()) {
        // The painter walks the frames from the window procedure's paint request, sent now.
        Invalidate(&frame->GetDrawnRect());
        if (plat::IsWindow(hwnd_))
            plat::UpdateWindow(hwnd_);
        return;
    }
    const CRect drawn = frame->GetDrawnRect();
    CFrame* root = GetFirstFrame();
    const bool direct =
        GetEngineProfile().leafPaintTestsOwnDirectBit ? frame->IsDirect() : root && root->IsDirect();
    if (direct || !offScreenEnv_) {
        if (!wndEnv_)
            return;
        CClipScope scope(wndEnv_.get());
        frame->DrawContent(wndEnv_.get(), drawn);
        return;
    }
    frame->DrawContent(offScreenEnv_.get(), drawn);
    if (wndEnv_)
        offScreenEnv_->BlitTo(wndEnv_.get(), drawn, drawn, &drawn, nullptr);
}

void CWind::DrawClipped(const CRect& rect)
{
    if (!offScreenEnv_ || !GetFirstFrame() || !wndEnv_)
        return;
    CClipScope scope(wndEnv_.get());
    wndEnv_->SetClipRect(rect);
    offScreenEnv_->BlitTo(wndEnv_.get(), rect, rect, &rect, nullptr);
}
