#include "engine/graphics/WndEnv.h"

#include "engine/graphics/Palette.h"
#include "platform/Desktop.h"
#include "platform/Input.h"

namespace {

// Device coordinates of a window's context: the client area's corner is (0, 0) and drawing
// stays inside the client area.
void UseClientArea(plat::DrawContext& dc, const plat::ClientTarget& target)
{
    dc.SetViewportOrigin(target.origin);
    const plat::Region client(target.client.Offset(target.origin.x, target.origin.y));
    dc.SetClipRegion(&client);
}

} // namespace

void CWndEnv::Setup(plat::DrawContext* dc, const CRect& rect, CPalette* palette, plat::WindowHandle window)
{
    window_ = window;
    // Each paint pass sets up on the window's context again: start from its device
    // coordinates, whatever an earlier set-up left.
    if (dc && plat::IsWindow(window))
        UseClientArea(*dc, plat::GetClientTarget(window));
    CDrawEnv::Setup(dc, rect, palette);
    SetKind(kEnvWindow);
}

plat::Point CWndEnv::GetDCOrigin()
{
    return plat::IsWindow(window_) ? plat::ClientToScreen(window_, {0, 0}) : plat::Point{};
}

void CWndEnv::RealizePalette()
{
    const CPalette* palette = GetPalette();
    if (palette && palette->GetHandle() && plat::IsWindow(window_))
        plat::SetDesktopPalette(*palette->GetHandle(), window_);
}

CPoint* CWndEnv::GetMousePos()
{
    const plat::Point cursor = plat::GetCursorPos();
    const plat::Point origin = GetHDC() ? GetDCOrigin() : plat::Point{};
    return new CPoint(static_cast<int16_t>(cursor.x - origin.x), static_cast<int16_t>(cursor.y - origin.y));
}

std::unique_ptr<plat::DrawContext> CreateWindowDC(plat::WindowHandle window)
{
    const plat::ClientTarget target = plat::GetClientTarget(window);
    if (!target.surface)
        return nullptr;
    auto dc = std::make_unique<plat::DrawContext>(*target.surface);
    dc->SelectPalette(plat::GetDesktopPalette());
    UseClientArea(*dc, target);
    return dc;
}
