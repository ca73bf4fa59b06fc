#include "engine/controls/WndProc.h"

#include "engine/controls/BorderWnd.h"
#include "engine/controls/Frame.h"
#include "engine/controls/InputState.h"
#include "engine/controls/Menu.h"
#include "engine/controls/MenuBar.h"
#include "engine/controls/Wind.h"
#include "engine/controls/WindControl.h"
#include "engine/controls/WindHooks.h"
#include "engine/framework/Appl.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/MsgMgr.h"
#include "platform/Cursor.h"
#include "platform/Input.h"
#include "platform/Metrics.h"

namespace {

namespace msg = plat::msg;

constexpr uint32_t kModShift = 0x40;
constexpr uint32_t kModCtrl = 0x80;
constexpr uint32_t kModAlt = 0x01;

// Cursor ids of the sizing borders.
constexpr int32_t kCursorSizeNwse = 4;
constexpr int32_t kCursorSizeNesw = 5;
constexpr int32_t kCursorSizeWe = 6;
constexpr int32_t kCursorSizeNs = 7;

intptr_t Default(plat::WindowHandle hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return plat::DefaultWindowProc(hwnd, message, wParam, lParam);
}

void SetCursorId(int32_t id)
{
    if (const auto& set = GetWindHooks().setCursorId)
        set(id, 0xFFFFFFFFu);
}

CPoint PointOf(intptr_t lParam)
{
    const plat::Point p = plat::UnpackPoint(lParam);
    return CPoint(static_cast<int16_t>(p.x), static_cast<int16_t>(p.y));
}

// Picks the menu command as if it were chosen from the menu bar.
void InvokeCommand(int32_t command)
{
    CMenuBar* bar = GetMenuBar();
    if (!bar)
        return;
    CNamedItem* item = bar->FindCommand(command, nullptr, nullptr);
    if (item && item->GetKind() == CNamedItem::kKindItem)
        static_cast<CMenuItem*>(item)->Invoke();
}

// The program's quit: the menu's quit command, or without a menu (the launcher has none) the
// quit message to every live object, the application among them.
void RequestQuit()
{
    if (GetMenuBar()) {
        InvokeCommand(kCommandQuit);
        return;
    }
    CMessage quit(kMsgQuit, 0, 0, -1);
    BroadcastMessage(quit, nullptr);
}

void OnPaint(plat::WindowHandle hwnd, CWind* w)
{
    const plat::PaintContext paint = plat::BeginPaint(hwnd);
    if (w) {
        const CRect rect(paint.paintRect);
        w->Redraw(&rect);
    }
    plat::EndPaint(hwnd, paint);
    Default(hwnd, msg::Paint, 0, 0);
}

void OnSize(plat::WindowHandle hwnd, CWind* w, uintptr_t kind, intptr_t lParam)
{
    if (!w ||
        (kind != plat::size::Restored && kind != plat::size::Minimized && kind != plat::size::Maximized))
        return;
    const auto width = static_cast<int16_t>(plat::LowWord(static_cast<uintptr_t>(lParam)));
    const auto height = static_cast<int16_t>(plat::HighWord(static_cast<uintptr_t>(lParam)));
    const CRect old = w->GetLastClientRect();
    const CRect now(0, 0, height, width);
    if (old.GetWidth() == width && old.GetHeight() == height)
        return;
    // Recorded first: resizing the native window sends a size message of its own, which must
    // not hand the same change to the frames a second time.
    w->SetLastClientRect(now);
    w->MoveResize(width, height);
    w->Broadcast(old, now);
    plat::InvalidateRect(hwnd, nullptr, false);
}

void OnGetMinMaxInfo(plat::WindowHandle hwnd, CWind* w, intptr_t lParam)
{
    auto* info = reinterpret_cast<plat::MinMaxInfo*>(lParam);
    if (!w || !info || !w->IsStyleBit2())
        return;
    const plat::Rect client = plat::GetClientRect(hwnd);
    w->SetLastClientRect(
        CRect(0, 0, static_cast<int16_t>(client.bottom), static_cast<int16_t>(client.right)));
    const plat::Metrics m = plat::GetMetrics();
    // The caption and menu heights count whether or not the window has them.
    const int32_t frameW = 2 * m.sizingFrame;
    const int32_t frameH = 2 * m.sizingFrame + m.menuHeight + m.captionHeight;
    const CRect& limits = w->GetSizeLimits();
    info->minTrackSize = {limits.GetLeft() + frameW, limits.GetTop() + frameH};
    info->maxTrackSize = {limits.GetRight() + frameW, limits.GetBottom() + frameH};
}

void OnClose(CWind* w)
{
    if (w && (w->GetType() == CWind::kTypeModalDialog || w->GetType() == CWind::kTypeDialog ||
              w->GetType() == CWind::kTypeTool)) {
        if (w->Close(true))
            w->Destroy();
        return;
    }
    RequestQuit();
}

intptr_t OnSysCommand(plat::WindowHandle hwnd, CWind* w, uintptr_t command, intptr_t lParam)
{
    CBorderWnd* border = GetBorderWnd();
    if ((command & 0xFFF0u) == plat::syscmd::Minimize && w && w == CWind::GetTopWnd() && border) {
        plat::ShowWindow(border->GetHwnd(), plat::ShowCommand::Minimize);
        return 0;
    }
    return Default(hwnd, msg::SysCommand, command, lParam);
}

void OnKeyDown(plat::WindowHandle hwnd, CWind* w, uintptr_t key, intptr_t lParam)
{
    if (!w)
        return;
    if (const int32_t code = EngineKeyCode(static_cast<uint32_t>(key), false))
        w->OnKey(code, GetKeyModifiers());
    Default(hwnd, msg::KeyDown, key, lParam);
}

intptr_t OnVKeyToItem(plat::WindowHandle hwnd, CWind* w, uintptr_t wParam, intptr_t lParam)
{
    if (!w)
        return -1;
    if (const int32_t code = EngineKeyCode(plat::LowWord(wParam), true)) {
        w->OnKey(code, GetKeyModifiers());
        return -2; // the list box does nothing further with the key
    }
    return Default(hwnd, msg::VKeyToItem, wParam, lParam);
}

void OnCommand(plat::WindowHandle hwnd, CWind* w, uintptr_t wParam, intptr_t lParam)
{
    const uint32_t id = plat::LowWord(wParam);
    const auto control = static_cast<plat::WindowHandle>(lParam);
    if (!control) {
        if (w)
            InvokeCommand(static_cast<int16_t>(id));
        else
            Default(hwnd, msg::Command, wParam, lParam);
        return;
    }
    CWindControl* target = FindNativeControl(control);
    if (!target)
        return;
    if (CWind* owner = target->GetOwnerWnd(); owner && owner != CWind::GetActiveWnd())
        owner->Activate();
    target->OnCommand(hwnd, id, control, plat::HighWord(wParam));
}

void OnScroll(plat::WindowHandle hwnd, uintptr_t wParam, intptr_t lParam)
{
    const auto bar = static_cast<plat::WindowHandle>(lParam);
    if (!bar)
        return; // window scroll bars are not the engine's
    if (CWindControl* target = FindNativeControl(bar))
        target->OnScroll(hwnd, plat::LowWord(wParam), static_cast<int16_t>(plat::HighWord(wParam)));
}

intptr_t OnEditColor(plat::WindowHandle hwnd, CWind* w, uintptr_t wParam, intptr_t lParam)
{
    CWindControl* field = w ? w->FindControlByHwnd(static_cast<plat::WindowHandle>(lParam)) : nullptr;
    if (field && field->GetControlKind() == CWindControl::kKindEditField)
        return field->OnEditColor(wParam);
    return Default(hwnd, msg::EditColor, wParam, lParam);
}

int32_t SizingCursor(uint32_t hit)
{
    switch (hit) {
    case plat::hit::Left:
    case plat::hit::Right: return kCursorSizeWe;
    case plat::hit::Top:
    case plat::hit::Bottom: return kCursorSizeNs;
    case plat::hit::TopLeft:
    case plat::hit::BottomRight: return kCursorSizeNwse;
    case plat::hit::TopRight:
    case plat::hit::BottomLeft: return kCursorSizeNesw;
    default: return -1;
    }
}

intptr_t OnSetCursor(CWind* w, uintptr_t wParam, intptr_t lParam)
{
    const WindHooks& hooks = GetWindHooks();
    const auto under = static_cast<plat::WindowHandle>(wParam);
    const uint32_t hit = plat::LowWord(static_cast<uintptr_t>(lParam));
    if (IsAppPaused()) {
        SetCursorId(0);
    } else if (w) {
        if (CWindControl* control = w->FindControlByHwnd(under)) {
            SetCursorId(control->GetCursorAt(nullptr));
            if (IsPopupHelpOn() && hooks.showHelpFor)
                hooks.showHelpFor(control);
        } else if (w->IsStyleBit2()) {
            if (const int32_t sizing = SizingCursor(hit); sizing >= 0) {
                SetCursorId(sizing);
            } else if (CFrame* root = w->GetFirstFrame()) {
                CPoint at;
                w->GetCursorPos(at, false);
                w->SetHoverFrame(root->FindAt(at, false), false);
            }
        }
    }
    if (hooks.applyCurrentCursor)
        hooks.applyCurrentCursor();
    return 1;
}

intptr_t OnQueryNewPalette(CWind* w)
{
    if (!w)
        return 0;
    w->RealizePalette();
    return 1;
}

} // namespace

int32_t EngineKeyCode(uint32_t key, bool forListBox)
{
    switch (key) {
    case plat::key::Left: return 0x1C;
    case plat::key::Right: return 0x1D;
    case plat::key::Up: return 0x1E;
    case plat::key::Down: return 0x1F;
    case plat::key::Delete: return 0x08;
    case plat::key::Enter: return forListBox ? 0x0D : 0;
    default: return 0;
    }
}

uint32_t GetKeyModifiers()
{
    uint32_t mods = 0;
    if (plat::IsKeyDown(plat::key::Shift))
        mods |= kModShift;
    if (plat::IsKeyDown(plat::key::Control))
        mods |= kModCtrl;
    if (plat::IsKeyDown(plat::key::Alt))
        mods |= kModAlt;
    return mods;
}

uint32_t MouseKeyModifiers(uintptr_t keyState)
{
    uint32_t mods = 0;
    if (keyState & plat::mousekey::Shift)
        mods |= kModShift;
    if (keyState & plat::mousekey::Control)
        mods |= kModCtrl;
    return mods;
}

CWindControl* FindNativeControl(plat::WindowHandle hwnd)
{
    if (!hwnd)
        return nullptr;
    for (int32_t i = 0; i < CWind::GetWindowCount(); ++i)
        if (CWindControl* control = CWind::GetWindowAt(i)->FindControlByHwnd(hwnd))
            return control;
    return nullptr;
}

void RegisterEngineClasses()
{
    plat::WindowClass window;
    window.name = kWindowClassName;
    window.style = plat::classstyle::DoubleClicks;
    window.proc = SharedWndProc;
    window.extraBytes = 4;
    window.background = plat::Rgb{255, 255, 255};
    plat::RegisterWindowClass(window);

    plat::WindowClass dialog = window;
    dialog.name = kDialogClassName;
    dialog.extraBytes = 34;
    dialog.cursor = plat::GetStandardCursor(plat::StandardCursor::Arrow);
    plat::RegisterWindowClass(dialog);
}

uint32_t ActivateEngineWindow(plat::WindowHandle hwnd, uint32_t state)
{
    if (CWind* w = CWind::FromHandle(hwnd)) {
        CWind* active = CWind::GetActiveWnd();
        if (active && active != w && active->HasChildren()) {
            // A window showing a pushed layer is modal: it keeps the activation.
            state = 0;
            plat::ActivateWindow(active->GetHwnd());
        } else if (!w->IsActive() && state != 0) {
            w->Activate();
        }
    }
    if (IsAppPaused())
        if (CBaseAppl* appl = GetApplication())
            appl->Resume();
    return state;
}

intptr_t SharedWndProc(plat::WindowHandle hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    // A handler may delete objects whose own code is among its callers; they are freed when
    // the outermost dispatch returns.
    CDispatchScope dispatch;
    CBaseAppl* appl = GetApplication();
    if (appl && appl->FilterWindowMessage(hwnd, message, wParam, lParam))
        return 0;
    CWind* w = CWind::FromHandle(hwnd);
    if (message == msg::EraseBackground && w)
        return 1;
    switch (message) {
    case msg::Paint: OnPaint(hwnd, w); return 0;
    case msg::Size: OnSize(hwnd, w, wParam, lParam); return 0;
    case msg::Activate: {
        uint32_t state = plat::LowWord(wParam);
        if (state != plat::activate::Inactive)
            state = ActivateEngineWindow(hwnd, state);
        Default(hwnd, msg::Activate, (wParam & 0xFFFF0000u) | state, lParam);
        return 0;
    }
    case msg::NcActivate: {
        bool active = wParam != 0;
        if (active)
            active = ActivateEngineWindow(hwnd, 1) == 1;
        return Default(hwnd, msg::NcActivate, active ? 1 : 0, 0);
    }
    case msg::ActivateApp:
        if (appl) {
            if (wParam)
                appl->Resume();
            else
                appl->Pause();
        }
        return 0;
    case msg::Close: OnClose(w); return 0;
    case msg::QueryEndSession: RequestQuit(); return 1;
    case msg::Quit: RequestQuit(); return 0;
    case msg::GetMinMaxInfo: OnGetMinMaxInfo(hwnd, w, lParam); return 0;
    case msg::SetCursor: return OnSetCursor(w, wParam, lParam);
    case msg::VKeyToItem: return OnVKeyToItem(hwnd, w, wParam, lParam);
    case msg::Command: OnCommand(hwnd, w, wParam, lParam); return 0;
    case msg::KeyDown: OnKeyDown(hwnd, w, wParam, lParam); return 0;
    case msg::Char:
        if (w)
            w->OnKey(static_cast<int32_t>(wParam & 0xFF), GetKeyModifiers());
        return 0;
    case msg::EditColor: return OnEditColor(hwnd, w, wParam, lParam);
    case msg::SysCommand: return OnSysCommand(hwnd, w, wParam, lParam);
    case msg::HScroll:
    case msg::VScroll: OnScroll(hwnd, wParam, lParam); return 0;
    case msg::InitMenu:
        if (appl)
            appl->OnInitMenu();
        return 0;
    case msg::QueryNewPalette: return OnQueryNewPalette(w);
    case msg::PaletteChanged:
        if (w && static_cast<plat::WindowHandle>(wParam) != hwnd)
            w->RealizePalette();
        return Default(hwnd, msg::PaletteChanged, wParam, 0);
    case msg::MouseMove:
        if (w && !IsAppPaused())
            w->RouteMouseMove(PointOf(lParam), MouseKeyModifiers(wParam),
                              (wParam & plat::mousekey::Left) != 0);
        return 0;
    case msg::LButtonDown:
    case msg::LButtonDoubleClick:
        if (w)
            w->BeginCapture(PointOf(lParam), MouseKeyModifiers(wParam), message == msg::LButtonDoubleClick);
        return 0;
    case msg::LButtonUp:
        if (w)
            w->EndCapture(PointOf(lParam), MouseKeyModifiers(wParam));
        return 0;
    default: return Default(hwnd, message, wParam, lParam);
    }
}
