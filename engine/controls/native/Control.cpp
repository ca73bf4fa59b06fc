#include "engine/controls/native/Control.h"

#include <algorithm>

#include "engine/controls/Wind.h"
#include "engine/controls/WndProc.h"
#include "engine/framework/Str.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/Font.h"
#include "engine/resources/RawParser.h"
#include "platform/Input.h"
#include "platform/widgets/Widgets.h"

CControl::CControl(int32_t controlKind, int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
                   int16_t fontId)
    : CInputFrame(controlKind, id, rect, notifyType, target), fontId_(fontId)
{
    SetFlags(GetFlags() | kFlagOwnContent);
    SetVisible(false);
    SetRedrawOnEnable(true);
}

CControl::~CControl() { CControl::DestroyWnd(); }

void CControl::SetOwner(CBaseObj* owner)
{
    if (owner == GetOwner())
        return;
    if (owner) {
        CInputFrame::SetOwner(owner);
        DeleteOwnerTempObj();
    } else {
        DeleteOwnerTempObj();
        CInputFrame::SetOwner(nullptr);
    }
}

void CControl::CreateWnd()
{
    CWind* owner = GetOwnerWnd();
    if (!owner || hwnd_ || !plat::IsWindow(owner->GetHwnd()))
        return;
    const CRect r = WidgetRect();
    plat::WindowParams params;
    params.className = className_;
    params.style = style_;
    params.rect = plat::Rect::FromSize(r.GetLeft(), r.GetTop(), r.GetWidth(), r.GetHeight());
    params.parent = owner->GetHwnd();
    hwnd_ = plat::CreateWindow(params);
    if (!hwnd_)
        return;
    plat::ShowWindow(hwnd_, plat::ShowCommand::Hide);
    if (IsCheckKind())
        plat::SetButtonCheck(hwnd_, value_ != 0);
    previous_ = plat::SubclassWidget(hwnd_, &CControl::ControlWndProc);
}

void CControl::DestroyWnd()
{
    if (hwnd_) {
        if (previous_)
            plat::SubclassWidget(hwnd_, previous_);
        plat::DestroyWindow(hwnd_);
    }
    hwnd_ = 0;
    previous_ = nullptr;
}

bool CControl::ApplyFont()
{
    CFontTable* table = CDrawEnv::GetFontTable();
    const CFont* font = table ? table->Find(fontId_) : nullptr;
    if (!font)
        return false;
    if (hwnd_)
        plat::SetWidgetFont(hwnd_, font->GetHandle());
    return true;
}

std::string CControl::MappedText(const CStr& text) const
{
    CStr copy(text);
    copy.MapChars(GetFontCharMap(fontId_));
    return copy.GetText();
}

CControl* CControl::FromHwnd(plat::WindowHandle hwnd)
{
    return dynamic_cast<CControl*>(FindNativeControl(hwnd));
}

intptr_t CControl::ControlWndProc(plat::WindowHandle hwnd, uint32_t message, uintptr_t wParam,
                                  intptr_t lParam)
{
    CControl* control = FromHwnd(hwnd);
    return control ? control->WndProc(hwnd, message, wParam, lParam) : 0;
}

intptr_t CControl::CallPrevious(plat::WindowHandle hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return previous_ ? previous_(hwnd, message, wParam, lParam)
                     : plat::DefaultWindowProc(hwnd, message, wParam, lParam);
}

intptr_t CControl::WndProc(plat::WindowHandle hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == plat::msg::Char) {
        if (CWind* window = CWind::FromHandle(plat::GetParent(hwnd))) {
            const auto ch = static_cast<int32_t>(wParam & 0xFF);
            window->OnKey(ch, GetKeyModifiers());
            // The key handler may have moved the focus (Tab) or taken this control away.
            if (CWindControl* focus = window->GetFocusControl(); focus && !focus->WantsKey(ch))
                return 0;
            if (!plat::IsWindow(hwnd))
                return 0;
        }
    }
    return CallPrevious(hwnd, message, wParam, lParam);
}

void CControl::OnCommand(plat::WindowHandle, uint32_t, plat::WindowHandle, uint32_t)
{
    if (GetControlKind() == kKindCheckBox)
        value_ = value_ == 0 ? 1 : 0;
    SendNotify();
}

void CControl::OnMouseDown(bool, CMessage&) {}

void CControl::SetValue(int16_t value)
{
    value = std::min(std::max(value, min_), max_);
    if (value == value_)
        return;
    value_ = value;
    if (hwnd_ && IsCheckKind())
        plat::SetButtonCheck(hwnd_, value_ != 0);
}

void CControl::SetMax(int16_t maximum)
{
    if (maximum == max_)
        return;
    max_ = maximum;
    if (max_ < min_)
        SetMin(max_);
    SetValue(value_);
}

void CControl::SetMin(int16_t minimum)
{
    if (minimum == min_)
        return;
    min_ = minimum;
    if (max_ < min_)
        SetMax(min_);
    SetValue(value_);
}

void CControl::MoveBy(int16_t dh, int16_t dv, int16_t dz)
{
    CInputFrame::MoveBy(dh, dv, dz);
    if (GetOwner())
        DeleteOwnerTempObj();
    if (!hwnd_ || (dh == 0 && dv == 0))
        return;
    const plat::Rect outer = plat::GetWindowRect(hwnd_);
    const plat::Point corner = plat::ScreenToClient(plat::GetParent(hwnd_), {outer.left, outer.top});
    plat::MoveWindowTo(hwnd_, corner.x + dh, corner.y + dv);
}

void CControl::SetSize(int16_t width, int16_t height)
{
    CInputFrame::SetSize(width, height);
    if (!hwnd_)
        return;
    const plat::Rect outer = plat::GetWindowRect(hwnd_);
    const plat::Rect client = plat::GetClientRect(hwnd_);
    const plat::Point corner = plat::ScreenToClient(plat::GetParent(hwnd_), {outer.left, outer.top});
    const int32_t w = outer.Width() + width - client.Width();
    const int32_t h = outer.Height() + height - client.Height();
    plat::SetWindowRect(hwnd_, plat::Rect::FromSize(corner.x, corner.y, w, h));
    plat::InvalidateRect(hwnd_, nullptr, false);
}

void CControl::Show(bool recurse)
{
    CInputFrame::Show(recurse);
    DeleteOwnerTempObj();
}

void CControl::Hide(bool recurse, bool erase)
{
    if (hwnd_)
        plat::ShowWindow(hwnd_, plat::ShowCommand::Hide);
    CInputFrame::Hide(recurse, erase);
    DeleteOwnerTempObj();
}

void CControl::EnableWnd(bool enable)
{
    CInputFrame::EnableWnd(enable);
    if (hwnd_)
        plat::EnableWindow(hwnd_, enable);
}

void CControl::DrawContent(CDrawEnv*, const CRect&)
{
    // A control that joined its window before the window had its native window gets its
    // widget with the window's first paint.
    if (!hwnd_)
        CreateWnd();
    if (!plat::IsWindow(hwnd_))
        return;
    // The widget takes the control's enabled state as it is; it is never disabled on the way,
    // since disabling a widget takes the key focus from it. A widget is a window above the
    // window's picture: under a layer pushed over its own (a dialog over a dialog) it hides,
    // else it would show through the layer; it shows again when the layer is gone and its
    // control is drawn.
    CWind* window = GetOwnerWnd();
    if (IsShown() && !(window && window->IsUnderUpperLayer(*this)))
        plat::ShowWindow(hwnd_, plat::ShowCommand::ShowNoActivate);
    else
        plat::ShowWindow(hwnd_, plat::ShowCommand::Hide);
    if (plat::IsEnabled(hwnd_) != IsWndEnabled())
        plat::EnableWindow(hwnd_, IsWndEnabled());
    plat::InvalidateRect(hwnd_, nullptr, false);
    plat::UpdateWindow(hwnd_);
}

int32_t CControl::MoveFocus(bool backwards)
{
    CWind* window = CWind::FromHandle(plat::GetParent(hwnd_));
    if (!window)
        return 1;
    if (backwards)
        window->FocusPrev();
    else
        window->FocusNext();
    return 0;
}

int32_t CControl::OnKey(int32_t key)
{
    if (key == 9)
        return MoveFocus(plat::IsKeyDown(plat::key::Shift));
    return 1;
}

CTControl::CTControl(int32_t kind, CRawParser* parser) : CTInputFrame(kind, parser)
{
    fontId_ = parser->ReadShort("fontid");
}

void CTControl::ApplyTo(CFrame* object)
{
    CTInputFrame::ApplyTo(object);
    if (object)
        object->SetVisible(false);
}
