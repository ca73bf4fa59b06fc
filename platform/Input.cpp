// Keyboard and mouse state, input fed in by the backends, hot keys, and the mouse actions
// on a window's frame (moving, sizing, scroll bars).
#include "platform/Input.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Metrics.h"
#include "platform/WindowInternal.h"

namespace plat {

using namespace detail;

namespace {

struct LastPress {
    bool valid = false;
    WindowHandle window = 0;
    MouseButton button = MouseButton::Left;
    uint64_t ms = 0;
    Point at;
};

struct HotKeyEntry {
    int32_t id = 0;
    uint32_t modifiers = 0;
    uint8_t key = 0;
};

enum class Tracking { None, Move, Size, Thumb };

struct InputState {
    std::array<bool, 256> keys{};
    Point cursor;
    LastPress lastPress;
    std::vector<HotKeyEntry> hotKeys;
    Tracking tracking = Tracking::None;
    WindowHandle trackWindow = 0;
    hit::Code trackHit = hit::Nowhere;
    Point trackStart;
    Rect trackStartRect;
    MinMaxInfo trackLimits;
    scroll::Bar trackBar = scroll::Horizontal;
    int32_t trackPos = 0;
};

InputState g_input;

uint8_t KeyOf(MouseButton b)
{
    switch (b) {
    case MouseButton::Left: return key::LeftButton;
    case MouseButton::Right: return key::RightButton;
    default: return key::MiddleButton;
    }
}

uint32_t MouseKeyState()
{
    const auto& k = g_input.keys;
    return (k[key::LeftButton] ? mousekey::Left : 0u) | (k[key::RightButton] ? mousekey::Right : 0u) |
           (k[key::MiddleButton] ? mousekey::Middle : 0u) | (k[key::Shift] ? mousekey::Shift : 0u) |
           (k[key::Control] ? mousekey::Control : 0u);
}

uint32_t HotKeyModifiers()
{
    const auto& k = g_input.keys;
    return (k[key::Alt] ? hotkeymod::Alt : 0u) | (k[key::Control] ? hotkeymod::Control : 0u) |
           (k[key::Shift] ? hotkeymod::Shift : 0u) | (k[key::Windows] ? hotkeymod::Windows : 0u);
}

bool IsModifierKey(uint8_t k)
{
    return k == key::Shift || k == key::Control || k == key::Alt || k == key::Windows;
}

WindowHandle KeyTarget()
{
    const WindowSystem& sys = System();
    if (IsWindow(sys.focus))
        return sys.focus;
    return IsWindow(sys.active) ? sys.active : 0;
}

// Posts a mouse message for a screen point to a window: client messages over its client
// area (and always while it holds the capture), frame messages elsewhere.
void DeliverMouse(WindowHandle target, uint32_t clientMessage, uint32_t frameMessage, Point screen)
{
    const WindowRecord* w = Find(target);
    const bool captured = target == System().capture;
    if (!w || (!captured && !IsEffectivelyEnabled(*w)))
        return;
    const Point corner = ScreenCorner(*w);
    const hit::Code code = captured ? hit::Client : HitTest(*w, {screen.x - corner.x, screen.y - corner.y});
    if (code == hit::Client)
        PostWindowMessage(target, clientMessage, MouseKeyState(), PackPoint(ScreenToClient(target, screen)));
    else if (frameMessage != msg::Null && code != hit::Nowhere)
        PostWindowMessage(target, frameMessage, code, PackPoint(screen));
}

bool IsDoubleClick(WindowHandle target, MouseButton button, Point screen)
{
    const WindowRecord* w = Find(target);
    const LastPress& last = g_input.lastPress;
    if (!w || !(w->cls->cls.style & classstyle::DoubleClicks) || !last.valid || last.window != target ||
        last.button != button)
        return false;
    const Metrics m = GetMetrics();
    const uint64_t now = GetClock().NowMs();
    return now - last.ms <= m.doubleClickMs && std::abs(screen.x - last.at.x) * 2 <= m.doubleClickWidth &&
           std::abs(screen.y - last.at.y) * 2 <= m.doubleClickHeight;
}

void Press(MouseButton button, Point screen)
{
    const WindowHandle target = System().capture ? System().capture : WindowFromPoint(screen);
    const WindowRecord* w = Find(target);
    if (!w || button == MouseButton::Middle)
        return;
    const Point corner = ScreenCorner(*w);
    const bool inClient =
        target == System().capture || HitTest(*w, {screen.x - corner.x, screen.y - corner.y}) == hit::Client;
    const bool left = button == MouseButton::Left;
    if (!inClient) {
        g_input.lastPress.valid = false;
        if (left)
            DeliverMouse(target, msg::Null, msg::NcLButtonDown, screen);
        return;
    }
    if (IsDoubleClick(target, button, screen)) {
        g_input.lastPress.valid = false; // a third press starts over
        DeliverMouse(target, left ? msg::LButtonDoubleClick : msg::RButtonDoubleClick, msg::Null, screen);
        return;
    }
    g_input.lastPress = {true, target, button, GetClock().NowMs(), screen};
    DeliverMouse(target, left ? msg::LButtonDown : msg::RButtonDown, msg::Null, screen);
}

void PostScroll(WindowHandle window, scroll::Bar bar, uint32_t code, int32_t pos)
{
    const uint32_t message = bar == scroll::Vertical ? msg::VScroll : msg::HScroll;
    PostWindowMessage(window, message, code | (static_cast<uint32_t>(pos & 0xFFFF) << 16), 0);
}

void ScrollBarPress(WindowRecord& w, scroll::Bar bar, Point windowPoint, bool held)
{
    const Rect area = ScrollBarArea(w, bar);
    const Rect thumb = ScrollThumbArea(w, bar);
    const int sb = GetMetrics().scrollBarSize;
    const bool vertical = bar == scroll::Vertical;
    const int along = vertical ? windowPoint.y - area.top : windowPoint.x - area.left;
    const int length = vertical ? area.Height() : area.Width();
    const int thumbStart = vertical ? thumb.top - area.top : thumb.left - area.left;
    const int32_t pos = w.bars[bar].pos;
    uint32_t code;
    if (along < sb)
        code = scroll::LineUp;
    else if (along >= length - sb)
        code = scroll::LineDown;
    else if (thumb.Empty())
        return;
    else if (thumb.Contains(windowPoint)) {
        if (!held)
            return;
        g_input.tracking = Tracking::Thumb;
        g_input.trackWindow = w.handle;
        g_input.trackBar = bar;
        g_input.trackPos = pos;
        return;
    } else
        code = along < thumbStart ? scroll::PageUp : scroll::PageDown;
    PostScroll(w.handle, bar, code, pos);
    PostScroll(w.handle, bar, scroll::EndScroll, pos);
}

void TrackTo(Point screen)
{
    WindowRecord* w = Find(g_input.trackWindow);
    if (!w) {
        g_input.tracking = Tracking::None;
        return;
    }
    const int dx = screen.x - g_input.trackStart.x;
    const int dy = screen.y - g_input.trackStart.y;
    const Rect start = g_input.trackStartRect;
    if (g_input.tracking == Tracking::Move) {
        MoveWindowTo(w->handle, start.left + dx, start.top + dy);
    } else if (g_input.tracking == Tracking::Size) {
        const hit::Code h = g_input.trackHit;
        const MinMaxInfo& lim = g_input.trackLimits;
        Rect r = start;
        const bool left = h == hit::Left || h == hit::TopLeft || h == hit::BottomLeft;
        const bool right = h == hit::Right || h == hit::TopRight || h == hit::BottomRight;
        const bool top = h == hit::Top || h == hit::TopLeft || h == hit::TopRight;
        const bool bottom = h == hit::Bottom || h == hit::BottomLeft || h == hit::BottomRight;
        const int width = std::clamp(start.Width() + (right  ? dx
                                                      : left ? -dx
                                                             : 0),
                                     lim.minTrackSize.x, std::max(lim.minTrackSize.x, lim.maxTrackSize.x));
        const int height = std::clamp(start.Height() + (bottom ? dy
                                                        : top  ? -dy
                                                               : 0),
                                      lim.minTrackSize.y, std::max(lim.minTrackSize.y, lim.maxTrackSize.y));
        r.left = left ? start.right - width : start.left;
        r.right = r.left + width;
        r.top = top ? start.bottom - height : start.top;
        r.bottom = r.top + height;
        SetWindowRect(w->handle, r);
    } else if (g_input.tracking == Tracking::Thumb) {
        const Point corner = ScreenCorner(*w);
        const int32_t pos = ScrollPosAt(*w, g_input.trackBar, {screen.x - corner.x, screen.y - corner.y});
        if (pos != g_input.trackPos) {
            g_input.trackPos = pos;
            PostScroll(w->handle, g_input.trackBar, scroll::ThumbTrack, pos);
        }
    }
}

void EndTracking(Point screen)
{
    TrackTo(screen);
    if (g_input.tracking == Tracking::Thumb && IsWindow(g_input.trackWindow)) {
        PostScroll(g_input.trackWindow, g_input.trackBar, scroll::ThumbPosition, g_input.trackPos);
        PostScroll(g_input.trackWindow, g_input.trackBar, scroll::EndScroll, g_input.trackPos);
    }
    g_input.tracking = Tracking::None;
    g_input.trackWindow = 0;
}

} // namespace

namespace detail {

void StartNonClientAction(WindowHandle window, hit::Code code, Point screen)
{
    WindowRecord* w = Find(window);
    if (!w)
        return;
    // Drags start only while the button is still down; a click acts on its own.
    const bool held = g_input.keys[key::LeftButton];
    const Point corner = ScreenCorner(*w);
    const Point local{screen.x - corner.x, screen.y - corner.y};
    switch (code) {
    case hit::Menu: {
        const std::vector<Rect> items = MenuStripItemRects(*w);
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i].Contains(local)) {
                StartMenuTracking(window, static_cast<int>(i), true);
                return;
            }
        }
        return;
    }
    case hit::HScroll: ScrollBarPress(*w, scroll::Horizontal, local, held); return;
    case hit::VScroll: ScrollBarPress(*w, scroll::Vertical, local, held); return;
    case hit::Caption:
        if (w->maximized || !held)
            return;
        g_input.tracking = Tracking::Move;
        break;
    case hit::Left:
    case hit::Right:
    case hit::Top:
    case hit::Bottom:
    case hit::TopLeft:
    case hit::TopRight:
    case hit::BottomLeft:
    case hit::BottomRight:
        if (!held || !OffersSystemCommand(window, syscmd::Size))
            return;
        g_input.tracking = Tracking::Size;
        g_input.trackLimits = AskMinMax(window);
        break;
    default: return;
    }
    g_input.trackWindow = window;
    g_input.trackHit = code;
    g_input.trackStart = screen;
    g_input.trackStartRect = GetWindowRect(window);
}

void ForgetWindowInput(WindowHandle window, bool dying)
{
    WindowSystem& sys = System();
    if (sys.focus && IsSameOrDescendant(sys.focus, window)) {
        const WindowHandle old = sys.focus;
        sys.focus = 0;
        SendWindowMessage(old, msg::KillFocus, 0, 0);
    }
    if (sys.capture && IsSameOrDescendant(sys.capture, window))
        sys.capture = 0;
    if (g_input.trackWindow && IsSameOrDescendant(g_input.trackWindow, window)) {
        g_input.tracking = Tracking::None;
        g_input.trackWindow = 0;
    }
    if (g_input.lastPress.valid && IsSameOrDescendant(g_input.lastPress.window, window))
        g_input.lastPress.valid = false;
    if (dying)
        CaretWindowGone(window);
    MenuWindowGone(window);
}

void ResetInput() { g_input = InputState{}; }

} // namespace detail

WindowHandle SetFocus(WindowHandle window)
{
    WindowSystem& sys = System();
    if (window != 0 && !IsWindow(window))
        return 0;
    if (window == sys.focus)
        return sys.focus;
    if (window != 0) {
        const WindowHandle top = GetTopLevel(window);
        if (top != sys.active)
            ActivateWindowBy(top, false);
        if (window == sys.focus)
            return sys.focus; // activation gave it the focus already
    }
    const WindowHandle old = sys.focus;
    sys.focus = window;
    if (IsWindow(old))
        SendWindowMessage(old, msg::KillFocus, 0, static_cast<intptr_t>(window));
    if (window != 0 && sys.focus == window)
        SendWindowMessage(window, msg::SetFocus, 0, static_cast<intptr_t>(old));
    return old;
}

WindowHandle GetFocus() { return System().focus; }

WindowHandle SetCapture(WindowHandle window)
{
    WindowSystem& sys = System();
    const WindowHandle old = sys.capture;
    sys.capture = IsWindow(window) ? window : 0;
    return old;
}

void ReleaseCapture() { System().capture = 0; }
WindowHandle GetCapture() { return System().capture; }
bool IsKeyDown(uint8_t k) { return g_input.keys[k]; }
Point GetCursorPos() { return g_input.cursor; }
void SetCursorPos(Point screen) { g_input.cursor = screen; }
bool IsAppActive() { return System().appActive; }

void InjectMouseMove(Point screen)
{
    g_input.cursor = screen;
    if (MenuTrackMouse(msg::MouseMove, screen))
        return;
    if (g_input.tracking != Tracking::None) {
        TrackTo(screen);
        return;
    }
    const WindowHandle target = System().capture ? System().capture : WindowFromPoint(screen);
    DeliverMouse(target, msg::MouseMove, msg::NcMouseMove, screen);
}

void InjectMouseButton(MouseButton button, bool down, Point screen)
{
    g_input.cursor = screen;
    g_input.keys[KeyOf(button)] = down;
    if (MenuTrackMouse(down ? msg::LButtonDown : msg::LButtonUp, screen))
        return;
    if (g_input.tracking != Tracking::None) {
        if (!down && button == MouseButton::Left)
            EndTracking(screen);
        return;
    }
    if (down) {
        Press(button, screen);
        return;
    }
    const WindowHandle target = System().capture ? System().capture : WindowFromPoint(screen);
    if (button != MouseButton::Middle)
        DeliverMouse(target, button == MouseButton::Left ? msg::LButtonUp : msg::RButtonUp, msg::Null,
                     screen);
}

uint8_t ControlCharForKey(uint8_t k, bool ctrl)
{
    switch (k) {
    case key::Enter: return 13;
    case key::Escape: return 27;
    case key::Tab: return 9;
    case key::Backspace: return 8;
    default: break;
    }
    if (ctrl && k >= 'A' && k <= 'Z')
        return static_cast<uint8_t>(k - 'A' + 1);
    return 0;
}

void InjectKey(uint8_t k, bool down)
{
    const bool wasDown = g_input.keys[k];
    g_input.keys[k] = down;
    if (IsMenuTracking()) {
        if (down)
            MenuTrackKey(k);
        return;
    }
    if (g_input.tracking != Tracking::None)
        return;
    if (down && !IsModifierKey(k) && System().appActive) {
        const uint32_t mods = HotKeyModifiers();
        for (const HotKeyEntry& hk : g_input.hotKeys) {
            if (hk.key == k && hk.modifiers == mods) {
                PostWindowMessage(0, msg::HotKey, static_cast<uintptr_t>(hk.id),
                                  PackWords(static_cast<int32_t>(mods), k));
                return;
            }
        }
    }
    const WindowHandle target = KeyTarget();
    if (!target)
        return;
    const bool alt = g_input.keys[key::Alt] || k == key::Alt;
    const bool ctrl = g_input.keys[key::Control];
    const bool sys = (alt && !ctrl) || k == key::F10;
    uint32_t bits = 1;
    if (wasDown)
        bits |= kWasDownBit;
    if (!down)
        bits |= kKeyUpBit | kWasDownBit;
    if (alt)
        bits |= kAltContextBit;
    const intptr_t lParam = static_cast<int32_t>(bits);
    const uint32_t message =
        sys ? (down ? msg::SysKeyDown : msg::SysKeyUp) : (down ? msg::KeyDown : msg::KeyUp);
    PostWindowMessage(target, message, k, lParam);
    if (down && !sys) {
        if (const uint8_t c = ControlCharForKey(k, ctrl))
            PostWindowMessage(target, msg::Char, c, 1);
    }
}

void InjectChar(uint8_t ch)
{
    if (MenuTrackChar(ch))
        return;
    const WindowHandle target = KeyTarget();
    if (!target)
        return;
    const bool sys = g_input.keys[key::Alt] && !g_input.keys[key::Control];
    PostWindowMessage(target, sys ? msg::SysChar : msg::Char, ch, 1);
}

void InjectAppActive(bool active)
{
    WindowSystem& sys = System();
    if (active == sys.appActive)
        return;
    const std::vector<WindowHandle> tops = sys.zOrder;
    if (!active) {
        sys.appActive = false;
        const WindowHandle was = sys.active;
        EndMenuTracking();
        ActivateWindowBy(0, false);
        sys.lastActive = was;
        for (WindowHandle h : tops)
            SendWindowMessage(h, msg::ActivateApp, 0);
        SetFocus(0);
        for (auto& down : g_input.keys)
            down = false; // keys released elsewhere are never seen
        return;
    }
    sys.appActive = true;
    for (WindowHandle h : tops)
        SendWindowMessage(h, msg::ActivateApp, 1);
    const WindowRecord* last = Find(sys.lastActive);
    if (last && IsOnScreen(*last)) {
        ActivateWindowBy(last->handle, false);
        return;
    }
    for (auto it = sys.zOrder.rbegin(); it != sys.zOrder.rend(); ++it) {
        const WindowRecord* w = Find(*it);
        if (w && IsOnScreen(*w) && w->enabled) {
            ActivateWindowBy(*it, false);
            return;
        }
    }
}

void InjectCloseRequest()
{
    WindowHandle target = GetPresentedWindow();
    if (!target)
        target = GetActiveWindow();
    if (target)
        PostWindowMessage(target, msg::Close);
}

void Click(Point screen, MouseButton button)
{
    InjectMouseMove(screen);
    InjectMouseButton(button, true, screen);
    InjectMouseButton(button, false, screen);
}

namespace {

// The key that types a character on a plain keyboard, or 0.
uint8_t KeyForChar(uint8_t c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<uint8_t>(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ')
        return c;
    switch (c) {
    case '\n':
    case '\r': return key::Enter;
    case '\t': return key::Tab;
    case 8: return key::Backspace;
    case 27: return key::Escape;
    default: return 0;
    }
}

} // namespace

void PressKey(uint8_t k)
{
    InjectKey(k, true);
    const bool letter = k >= 'A' && k <= 'Z';
    const bool plain = !g_input.keys[key::Control] && !g_input.keys[key::Alt];
    if (plain && (letter || (k >= '0' && k <= '9') || k == ' '))
        InjectChar(letter && !g_input.keys[key::Shift] ? static_cast<uint8_t>(k - 'A' + 'a') : k);
    InjectKey(k, false);
}

void TypeText(std::string_view text)
{
    for (char ch : text) {
        const uint8_t c = static_cast<uint8_t>(ch);
        const uint8_t k = KeyForChar(c);
        if (k && ControlCharForKey(k, false)) {
            PressKey(k); // its character comes with the key
            continue;
        }
        if (k)
            InjectKey(k, true);
        InjectChar(c);
        if (k)
            InjectKey(k, false);
    }
}

bool RegisterHotKey(int32_t id, uint32_t modifiers, uint8_t k)
{
    if (k == 0 || (modifiers & ~0xFu))
        return false;
    for (const HotKeyEntry& hk : g_input.hotKeys) {
        if (hk.id == id || (hk.key == k && hk.modifiers == modifiers))
            return false;
    }
    g_input.hotKeys.push_back({id, modifiers, k});
    return true;
}

bool UnregisterHotKey(int32_t id)
{
    auto& list = g_input.hotKeys;
    auto it = std::find_if(list.begin(), list.end(), [id](const HotKeyEntry& hk) { return hk.id == id; });
    if (it == list.end())
        return false;
    list.erase(it);
    return true;
}

} // namespace plat
