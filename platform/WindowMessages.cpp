// Posting, sending, peeking and dispatching window messages, and the default procedure.
#include "platform/Clock.h"
#include "platform/Cursor.h"
#include "platform/Desktop.h"
#include "platform/Input.h"
#include "platform/Menu.h"
#include "platform/WindowInternal.h"

namespace plat {

using namespace detail;

namespace {

bool IsMouseMessage(uint32_t m)
{
    return (m >= msg::MouseMove && m <= msg::RButtonDoubleClick) || m == msg::NcMouseMove ||
           m == msg::NcLButtonDown;
}

bool IsPress(uint32_t m)
{
    return m == msg::LButtonDown || m == msg::LButtonDoubleClick || m == msg::RButtonDown ||
           m == msg::RButtonDoubleClick || m == msg::NcLButtonDown;
}

// A press on a window of an inactive top-level window activates that window first.
void ActivateOnPress(const PlatMessage& m)
{
    if (!IsPress(m.message))
        return;
    const WindowRecord* w = Find(m.window);
    const WindowHandle top = GetTopLevel(m.window);
    const WindowRecord* t = Find(top);
    if (w && top != System().active && IsEffectivelyEnabled(*w) && !(t && (t->exStyle & exstyle::NoActivate)))
        ActivateWindowBy(top, true);
}

CursorHandle SizingCursor(hit::Code code)
{
    switch (code) {
    case hit::Left:
    case hit::Right: return GetStandardCursor(StandardCursor::SizeWe);
    case hit::Top:
    case hit::Bottom: return GetStandardCursor(StandardCursor::SizeNs);
    case hit::TopLeft:
    case hit::BottomRight: return GetStandardCursor(StandardCursor::SizeNwse);
    case hit::TopRight:
    case hit::BottomLeft: return GetStandardCursor(StandardCursor::SizeNesw);
    default: return 0;
    }
}

intptr_t DefaultSetCursor(WindowHandle window, uintptr_t wParam, intptr_t lParam)
{
    const WindowRecord* w = Find(window);
    if (!w)
        return 0;
    if (w->IsChild() && SendWindowMessage(w->parent, msg::SetCursor, wParam, lParam))
        return 1;
    const hit::Code code = static_cast<hit::Code>(LowWord(static_cast<uintptr_t>(lParam)));
    if (code == hit::Client) {
        if (w->cls->cls.cursor) {
            SetCursor(w->cls->cls.cursor);
            return 1;
        }
        return 0;
    }
    const CursorHandle sizing = SizingCursor(code);
    SetCursor(sizing ? sizing : GetStandardCursor(StandardCursor::Arrow));
    return 1;
}

intptr_t DefaultEraseBackground(WindowHandle window, uintptr_t wParam)
{
    const WindowRecord* w = Find(window);
    auto* paint = reinterpret_cast<PaintContext*>(wParam);
    if (!w || !paint || !paint->target.surface || !w->cls->cls.background)
        return 0;
    const uint8_t index = PaletteIndexOf(*w->cls->cls.background);
    for (const Rect& r : paint->area.Rects())
        FillRect(*paint->target.surface, r.Offset(paint->target.origin.x, paint->target.origin.y), index);
    return 1;
}

void DefaultSysKeyDown(WindowHandle window, uintptr_t key, intptr_t lParam)
{
    const bool alt = (static_cast<uint32_t>(lParam) & kAltContextBit) != 0;
    const WindowHandle top = GetTopLevel(window);
    const WindowRecord* t = Find(top);
    if (!t)
        return;
    if (key == key::F10) {
        if (t->menu)
            StartMenuTracking(top, 0, false);
    } else if (key == key::F4 && alt) {
        if (t->cls->cls.style & classstyle::NoClose)
            return;
        if (t->style & style::SysMenu)
            SendWindowMessage(top, msg::SysCommand, syscmd::Close);
        else if (top == GetPresentedWindow())
            // The program's own window may be a bare popup with no system menu to close it:
            // Alt+F4 asks it to close as the window manager's close button does.
            InjectCloseRequest();
    } else if (key == key::Enter && alt) {
        RequestFullscreenToggle();
    }
}

intptr_t DefaultSysCommand(WindowHandle window, uintptr_t command)
{
    if (!OffersSystemCommand(window, static_cast<uint32_t>(command)))
        return 0;
    switch (command & 0xFFF0u) {
    case syscmd::Close: SendWindowMessage(window, msg::Close); break;
    case syscmd::Minimize: ShowWindow(window, ShowCommand::Minimize); break;
    case syscmd::Maximize: ShowWindow(window, ShowCommand::Maximize); break;
    case syscmd::Restore: ShowWindow(window, ShowCommand::Restore); break;
    case syscmd::KeyMenu:
        if (GetWindowMenu(window))
            StartMenuTracking(window, 0, false);
        break;
    default: break;
    }
    return 0;
}

} // namespace

bool PostWindowMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (window != 0 && !IsWindow(window))
        return false;
    GetMessageQueue().Post({window, message, wParam, lParam, 0});
    return true;
}

intptr_t SendWindowMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    const WindowRecord* w = Find(window);
    if (!w)
        return 0;
    // The class record outlives the call even if the window goes away inside it.
    const std::shared_ptr<ClassRecord> cls = w->cls;
    return cls->cls.proc(window, message, wParam, lParam);
}

bool PeekWindowMessage(PlatMessage& out, bool remove)
{
    if (Display* display = GetDisplay())
        display->Pump(0, false);
    MessageQueue& queue = GetMessageQueue();
    while (std::optional<PlatMessage> next = queue.Peek(false)) {
        const WindowRecord* w = Find(next->window);
        const bool gone = next->window != 0 && !w;
        const bool stalePaint = w && next->message == msg::Paint && w->invalid.Empty();
        if (gone || stalePaint) {
            queue.Peek(true); // nothing left for it to do
            continue;
        }
        if (remove)
            queue.Peek(true);
        out = *next;
        return true;
    }
    if (Display* display = GetDisplay())
        display->Present();
    return false;
}

bool WaitWindowMessage(uint64_t deadlineMs)
{
    PlatMessage m;
    if (PeekWindowMessage(m, false))
        return true;
    GetMessageQueue().WaitUntil(deadlineMs);
    return PeekWindowMessage(m, false);
}

intptr_t DispatchWindowMessage(const PlatMessage& m)
{
    if (!IsWindow(m.window))
        return 0;
    ActivateOnPress(m);
    if (IsMouseMessage(m.message) && GetCapture() == 0) {
        const uint32_t code = (m.message == msg::NcMouseMove || m.message == msg::NcLButtonDown)
                                  ? static_cast<uint32_t>(m.wParam)
                                  : static_cast<uint32_t>(hit::Client);
        SendWindowMessage(m.window, msg::SetCursor, m.window,
                          PackWords(static_cast<int32_t>(code), static_cast<int32_t>(m.message)));
    }
    return SendWindowMessage(m.window, m.message, m.wParam, m.lParam);
}

intptr_t DefaultWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case msg::Close: DestroyWindow(window); return 0;
    case msg::Paint: {
        const PaintContext paint = BeginPaint(window);
        EndPaint(window, paint);
        return 0;
    }
    case msg::EraseBackground: return DefaultEraseBackground(window, wParam);
    case msg::Activate:
        if (LowWord(wParam) != activate::Inactive && HighWord(wParam) == 0)
            SetFocus(window);
        return 0;
    case msg::NcActivate:
        if (WindowRecord* w = Find(window)) {
            w->captionActive = wParam != 0;
            PaintNonClient(*w);
        }
        return 1;
    case msg::SetCursor: return DefaultSetCursor(window, wParam, lParam);
    case msg::SysKeyDown: DefaultSysKeyDown(window, wParam, lParam); return 0;
    case msg::SysCommand: return DefaultSysCommand(window, wParam);
    case msg::NcLButtonDown:
        StartNonClientAction(window, static_cast<hit::Code>(wParam), UnpackPoint(lParam));
        return 0;
    case msg::ToggleFullscreen:
        ShowWindow(window, IsMaximized(window) ? ShowCommand::Restore : ShowCommand::Maximize);
        return 0;
    case msg::QueryEndSession: return 1;
    case msg::VKeyToItem: return -1;
    default: return 0;
    }
}

} // namespace plat
