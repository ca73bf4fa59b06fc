#include "engine/controls/native/ScrollBarCtl.h"

#include <algorithm>

#include "engine/resources/RawParser.h"
#include "platform/widgets/Widgets.h"

CScrollBarCtl::CScrollBarCtl(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
                             int16_t minimum, int16_t maximum, int16_t value, int16_t page)
    : CControl(kKindScrollBar, id, rect, notifyType, target, 1), page_(page)
{
    SetWndClass(plat::widgetclass::ScrollBar);
    // No widget yet: the base operations keep the values in order.
    CControl::SetMin(minimum);
    CControl::SetMax(maximum);
    CControl::SetValue(value);
}

void CScrollBarCtl::CreateWnd()
{
    const CRect& r = GetDrawnRect();
    const bool horizontal = r.GetWidth() > r.GetHeight();
    SetWndStyle(plat::style::Child | (horizontal ? 0u : plat::wstyle::VerticalBar));
    CControl::CreateWnd();
    if (!GetHwnd())
        return;
    plat::SetScrollBarRange(GetHwnd(), GetMin(), GetMax());
    // A bar made again (the control joined another window) shows its value at once.
    plat::SetScrollBarPos(GetHwnd(), GetValue());
}

void CScrollBarCtl::RangeChanged()
{
    if (IsShown())
        EnableWnd(GetMin() < GetMax());
    if (GetHwnd())
        plat::SetScrollBarRange(GetHwnd(), GetMin(), GetMax());
}

void CScrollBarCtl::SetMax(int16_t maximum)
{
    CControl::SetMax(maximum);
    RangeChanged();
}

void CScrollBarCtl::SetMin(int16_t minimum)
{
    CControl::SetMin(minimum);
    RangeChanged();
}

void CScrollBarCtl::SetValue(int16_t value)
{
    CControl::SetValue(value);
    if (GetHwnd())
        plat::SetScrollBarPos(GetHwnd(), GetValue());
}

void CScrollBarCtl::OnScroll(plat::WindowHandle, uint32_t code, int32_t position)
{
    int32_t result = GetValue();
    switch (code) {
    case plat::scroll::LineUp: result -= 1; break;
    case plat::scroll::LineDown: result += 1; break;
    case plat::scroll::PageUp: result -= page_; break;
    case plat::scroll::PageDown: result += page_; break;
    case plat::scroll::ThumbPosition:
    case plat::scroll::ThumbTrack: result = position; break;
    default: break;
    }
    // Compared after clamping, so that paging at the end of the range sends nothing.
    result = std::clamp<int32_t>(result, GetMin(), std::max(GetMin(), GetMax()));
    if (result == GetValue())
        return;
    SetValue(static_cast<int16_t>(result));
    SendNotify();
}

CTObj* CScrollBarCtl::ReadTemplate(int32_t kind, CRawParser* parser)
{
    return new CTScrollBarCtl(kind, parser);
}

CBaseObj* CScrollBarCtl::Create(CTObj* tpl)
{
    auto* t = static_cast<CTScrollBarCtl*>(tpl);
    return new CScrollBarCtl(t->GetId(), t->GetRect(), t->GetMsgType(), t->GetBuildOwner(), t->GetMinVal(),
                             t->GetMaxVal(), t->GetCurVal(), t->GetPage());
}

CTScrollBarCtl::CTScrollBarCtl(int32_t kind, CRawParser* parser) : CTControl(kind, parser)
{
    minVal_ = parser->ReadShort("minval");
    maxVal_ = parser->ReadShort("maxval");
    curVal_ = parser->ReadShort("curval");
    page_ = parser->ReadShort("page");
}
