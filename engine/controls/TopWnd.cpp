#include "engine/controls/TopWnd.h"

#include "engine/controls/MenuBar.h"
#include "engine/controls/StrTpl.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Str.h"
#include "platform/Window.h"

CTopWnd::CTopWnd(std::unique_ptr<CStr> title, CFrame* root, const CPoint* position, uint32_t flags)
    : CWind(kTypeTopLevel, root, position, flags)
{
    uint32_t exStyle = 0;
    const uint32_t style = UseMenuBar() ? GetStyle(exStyle) : plat::style::Popup;
    Create(kTypeTopLevel, nullptr, style, exStyle, nullptr);
    SetTitle(std::move(title));
}

CTopWnd::CTopWnd(std::unique_ptr<CStr> title, CFrame* root, const CPoint* position,
                 const CWindOptions& options)
    : CTopWnd(std::move(title), root, position, FlagsFor(options))
{
}

CTopWnd::CTopWnd(CFrame* root, bool offScreen)
    : CWind(kTypeTopLevel, root, nullptr, offScreen ? uint32_t{kFlagOffScreen} : 0u)
{
}

CTopWnd::~CTopWnd()
{
    const plat::WindowHandle hwnd = GetHwnd();
    if (!hwnd)
        return;
    plat::SetWindowMenu(hwnd, 0);
    if (CMenuBar* bar = GetMenuBar(); bar && bar->GetWindow() == hwnd)
        bar->SetWindow(0);
}

CBaseObj* CTopWnd::CreateFromTemplate(CTObj* tpl)
{
    auto* t = static_cast<CTTopWnd*>(tpl);
    const std::optional<CPoint> at = t->GetPosition();
    auto* wnd = new CTopWnd(t->MakeTitle(), nullptr, PointOrNull(at), t->GetFlags());
    wnd->SetId(t->GetId());
    return wnd;
}
