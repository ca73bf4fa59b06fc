// CWind: painting, drawing environments and the palette. The drawing environments arrive
// with the graphics code; until then a window has none and paints nothing.
#include "engine/controls/Frame.h"
#include "engine/controls/Wind.h"
#include "engine/framework/Str.h"
#include "platform/Window.h"

CPalette* CWind::GetPalette() { return nullptr; }
COffScEnv* CWind::GetOffScreenEnv() { return nullptr; }
CWndEnv* CWind::GetWndEnv() { return nullptr; }
void CWind::SetupEnvironments() {}
void CWind::ResizeEnvironments(int16_t, int16_t) {}
void CWind::DeleteEnvironments() {}
void CWind::RebuildOffScreen() {}
void CWind::MapTitleText(CStr&) {}
void CWind::Redraw(const CRect*) {}
void CWind::RealizePalette() {}
void CWind::SetPalette(CPalette*) {}
void CWind::SetPaletteAllWindows(CPalette*) {}

void CWind::Paint(CFrame* frame)
{
    if (!frame || !frame->IsShown())
        return;
    frame->SetChanged(true);
    Invalidate(&frame->GetDrawnRect());
    if (shown_ && hwnd_)
        plat::UpdateWindow(hwnd_);
}
