#include "engine/controls/TextWnd.h"

#include "engine/controls/StrTpl.h"
#include "engine/framework/Str.h"
#include "platform/Window.h"

CTextWnd::CTextWnd(std::unique_ptr<CStr> title, CFrame* root, const CPoint* position, CWind* parent,
                   uint32_t flags)
    : CWind(kTypeTool, root, PointOrNull(PositionInParent(position, parent)), flags)
{
    uint32_t exStyle = 0;
    const uint32_t style = GetStyle(exStyle);
    Create(kTypeTool, title.get(), style, exStyle, parent);
}

void CTextWnd::Restore()
{
    // A native window destroyed elsewhere is forgotten here, and nothing more is done.
    if (!HasLiveHwnd() || !IsShown())
        return;
    plat::EnableWindow(GetHwnd(), true);
    plat::ShowWindow(GetHwnd(), plat::ShowCommand::Show);
    CWind::Restore();
}

void CTextWnd::OnAppPause()
{
    if (!HasLiveHwnd() || !IsShown())
        return;
    plat::ShowWindow(GetHwnd(), plat::ShowCommand::Hide);
    plat::EnableWindow(GetHwnd(), false);
}

CBaseObj* CTextWnd::CreateFromTemplate(CTObj* tpl)
{
    auto* t = static_cast<CTTextWnd*>(tpl);
    const std::optional<CPoint> at = t->GetPosition();
    auto* wnd = new CTextWnd(t->MakeTitle(), nullptr, PointOrNull(at), t->FindParent(), t->GetFlags());
    wnd->SetId(t->GetId());
    return wnd;
}
