#pragma once
// The window system: window classes, a tree of windows on one virtual desktop, their
// messages and their painting. Top-level windows lie on the desktop in z-order (top-most
// ones above the rest, owned ones above their owner); child windows lie inside their
// parent's client area and are clipped by it. Every window draws into its own 8-bit
// surface, which holds its frame, caption, menu strip and scroll bars around the client
// area; the desktop composes the surfaces (Desktop.h).
//
// Everything runs on the one GUI thread. Handles are never reused, so a stale handle is
// simply not a window any more.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Geometry.h"
#include "platform/MessageQueue.h"
#include "platform/Region.h"
#include "platform/Surface.h"
#include "platform/WindowMessages.h"

namespace plat {

using WindowProc =
    std::function<intptr_t(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam)>;
using MenuHandle = uintptr_t;
using CursorHandle = uintptr_t;

// Window style bits.
namespace style {
enum : uint32_t {
    Child = 0x0001,      // lies inside its parent's client area
    Popup = 0x0002,      // a top-level window without the default frame
    Caption = 0x0004,    // a caption bar (and a fixed frame unless resizable)
    SysMenu = 0x0008,    // Alt+F4 closes it
    ThickFrame = 0x0010, // resizable by its frame
    MinimizeBox = 0x0020,
    MaximizeBox = 0x0040,
    Border = 0x0080,       // a thin border
    DialogFrame = 0x0100,  // a fixed frame
    ClipChildren = 0x0200, // accepted; each window has its own surface, so children never get painted over
    ClipSiblings = 0x0400, // accepted, as above
    Visible = 0x0800,      // shown at creation
    Disabled = 0x1000,     // created disabled
    HScroll = 0x2000,      // a horizontal scroll bar along the client area's bottom
    VScroll = 0x4000,      // a vertical scroll bar along its right
};
} // namespace style

namespace exstyle {
enum : uint32_t {
    TopMost = 0x01,          // above every window that is not top-most
    ToolWindow = 0x02,       // a small caption
    DialogModalFrame = 0x04, // a fixed frame
    NoActivate = 0x08,       // a press on it does not activate it (the open list of a combo box)
};
} // namespace exstyle

namespace classstyle {
enum : uint32_t {
    DoubleClicks = 0x01, // presses close in time and place arrive as double clicks
    NoClose = 0x02,      // Alt+F4 does not close
};
} // namespace classstyle

struct WindowClass {
    std::string name;   // compared without regard to case
    uint32_t style = 0; // classstyle bits
    WindowProc proc;
    int extraBytes = 0;            // per-window extra data (GetWindowExtra)
    CursorHandle cursor = 0;       // shown over the client area unless the window sets another; 0 none
    std::optional<Rgb> background; // what the default procedure erases with; none: not erased
};

// False when a class of that name exists or the procedure is missing.
bool RegisterWindowClass(const WindowClass& cls);
// False when no such class exists or a window of it still lives.
bool UnregisterWindowClass(std::string_view name);

struct WindowParams {
    std::string className;
    std::string title;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    Rect rect;               // the outer rectangle: screen coordinates, or parent client for a child
    WindowHandle parent = 0; // the parent of a child window, or the owner of a top-level one
    MenuHandle menu = 0;     // the menu strip of a top-level window
    intptr_t createData = 0; // handed to msg::Create
};

// Creates a window: msg::Create, then msg::Size are sent, and the whole client area is
// invalid. Returns 0 for an unknown class, a child without a live parent, or when the
// procedure answers -1 to msg::Create.
WindowHandle CreateWindow(const WindowParams& params);
// Destroys the window, its children and the windows it owns: msg::Destroy is sent to each
// (the window before its children), then the handles stop being windows. The focus, the
// capture and the activation leave it. Returns false for a handle that is not a window.
bool DestroyWindow(WindowHandle window);
bool IsWindow(WindowHandle window);

// Tree and relations.
WindowHandle GetParent(WindowHandle window); // 0 for a top-level window
WindowHandle GetOwner(WindowHandle window);  // 0 for a child window or one without owner
WindowHandle GetTopLevel(WindowHandle window);
std::vector<WindowHandle> GetChildren(WindowHandle window); // bottom first
// Top-level windows in z-order, bottom first (hidden ones included).
std::vector<WindowHandle> GetTopLevelWindows();
// The deepest shown window at a screen point (disabled child windows let the point through
// to their parent); 0 over the bare desktop.
WindowHandle WindowFromPoint(Point screen);

// Class, style and title.
std::string GetClassName(WindowHandle window);
uint32_t GetStyle(WindowHandle window);
uint32_t GetExStyle(WindowHandle window);
void SetTitle(WindowHandle window, std::string_view title);
std::string GetTitle(WindowHandle window);

// Each titled top-level window holds a named lock "window\CLASS\TITLE" (taken without
// waiting), so that other programs can see it. FindWindow answers one of this program's
// top-level windows of that class (without regard to case) and title, or else whether
// another program holds that marker.
struct FoundWindow {
    WindowHandle window = 0;   // ours
    bool otherProgram = false; // another program's
    explicit operator bool() const { return window != 0 || otherProgram; }
};
FoundWindow FindWindow(std::string_view className, std::string_view title);

// The handle-to-object map: one pointer a program keeps with each window.
void SetWindowObject(WindowHandle window, void* object);
void* GetWindowObject(WindowHandle window);
// The class's extra data: pointer-sized values at byte offsets; false (or 0) out of range.
bool SetWindowExtra(WindowHandle window, int offset, uintptr_t value);
uintptr_t GetWindowExtra(WindowHandle window, int offset);

// Rectangles. The window rectangle is the outer one in screen coordinates; the client
// rectangle is the client area's size with its corner at 0,0.
Rect GetWindowRect(WindowHandle window);
Rect GetClientRect(WindowHandle window);
Point ClientToScreen(WindowHandle window, Point p);
Point ScreenToClient(WindowHandle window, Point p);
// The outer rectangle a window of this style needs around a client rectangle.
Rect OuterRectForClient(const Rect& client, uint32_t style, uint32_t exStyle, bool hasMenu);
// Moves and sizes the window (outer rectangle, in screen or parent client coordinates).
// msg::Move follows a move, msg::Size and a whole invalid client area a size change.
void SetWindowRect(WindowHandle window, const Rect& rect);
void MoveWindowTo(WindowHandle window, int32_t x, int32_t y);

// Showing and state.
enum class ShowCommand { Hide, Show, ShowNoActivate, Minimize, Maximize, Restore };
// Returns whether the window was shown before.
bool ShowWindow(WindowHandle window, ShowCommand command);
bool IsVisible(WindowHandle window); // shown, and so are all its parents
bool IsMinimized(WindowHandle window);
bool IsMaximized(WindowHandle window);
// Returns whether the window was disabled before. Disabling takes the focus and the
// capture away from it and its children.
bool EnableWindow(WindowHandle window, bool enable);
bool IsEnabled(WindowHandle window);

// Z-order and activation (top-level windows; a child stands for its top-level window).
void BringToTop(WindowHandle window);
void SetTopMost(WindowHandle window, bool topMost);
// Makes the window the active one: the previous one gets msg::NcActivate and msg::Activate
// (inactive), this one is brought to the top and gets msg::NcActivate, msg::Activate and,
// through the default procedure, the focus. Returns the previously active window.
WindowHandle ActivateWindow(WindowHandle window);
WindowHandle GetActiveWindow();

// Messages. Posting queues the message on the platform queue (window 0 addresses the
// program itself); sending calls the window procedure at once and returns its answer
// (0 for a handle that is not a window).
bool PostWindowMessage(WindowHandle window, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
intptr_t SendWindowMessage(WindowHandle window, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
// Takes (or with remove false copies) the next queued message, passing over messages of
// windows that are gone and paints with nothing left to paint. Takes the display's input
// first, without waiting. False when nothing waits.
bool PeekWindowMessage(PlatMessage& out, bool remove = true);
// Waits until a message is waiting or the clock reaches the deadline; true when one is.
bool WaitWindowMessage(uint64_t deadlineMs);
// Calls the procedure of the message's window; 0 for a message without a live window.
// A press on a window of an inactive top-level window activates that window first, and
// mouse messages are preceded by msg::SetCursor (unless the mouse is captured).
intptr_t DispatchWindowMessage(const PlatMessage& message);
// What a window does with a message its procedure does not handle.
intptr_t DefaultWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Painting. Areas are in client coordinates; a null rectangle means the whole client area.
// A window on the screen with an invalid area has one msg::Paint waiting in the queue.
void InvalidateRect(WindowHandle window, const Rect* rect, bool erase);
void InvalidateRegion(WindowHandle window, const Region& area, bool erase);
void ValidateRect(WindowHandle window, const Rect* rect);
// The bounds of the invalid area; an empty rectangle when nothing is invalid.
Rect GetUpdateRect(WindowHandle window);
Region GetUpdateRegion(WindowHandle window);
// Sends msg::Paint at once when the window is shown and has an invalid area.
void UpdateWindow(WindowHandle window);

// Where client drawing goes: the window's surface, the client area's corner inside it, and
// the client area's size.
struct ClientTarget {
    Surface* surface = nullptr;
    Point origin;
    Rect client;
};
ClientTarget GetClientTarget(WindowHandle window);

struct PaintContext {
    WindowHandle window = 0;
    ClientTarget target;
    Rect paintRect;      // bounds of the area to paint, client coordinates
    Region area;         // the area to paint, client coordinates
    bool erased = false; // the background was erased
};
// Takes the invalid area for painting: erases it first (msg::EraseBackground) when asked
// for, and leaves the window valid.
PaintContext BeginPaint(WindowHandle window);
void EndPaint(WindowHandle window, const PaintContext& paint);

// Moves the client area's pixels by dx, dy and invalidates the part uncovered.
void ScrollClient(WindowHandle window, int32_t dx, int32_t dy);

// The window scroll bars of style::HScroll and style::VScroll.
void SetScrollRange(WindowHandle window, scroll::Bar bar, int32_t min, int32_t max);
// Sets the thumb position (clamped to the range); returns the previous one.
int32_t SetScrollPos(WindowHandle window, scroll::Bar bar, int32_t pos);
int32_t GetScrollPos(WindowHandle window, scroll::Bar bar);
std::pair<int32_t, int32_t> GetScrollRange(WindowHandle window, scroll::Bar bar);

// Attaches a menu strip to a top-level window (0 takes it away); the window's outer size
// stays, its client area shrinks or grows. Redraws the strip after menu changes.
void SetWindowMenu(WindowHandle window, MenuHandle menu);
MenuHandle GetWindowMenu(WindowHandle window);
// A window offers every system command (syscmd::) at creation. A command taken off its
// system menu is ignored by the default procedure, and without syscmd::Size its frame does
// not start a resize.
void RemoveSystemCommand(WindowHandle window, uint32_t command);
bool OffersSystemCommand(WindowHandle window, uint32_t command);
void DrawMenuStrip(WindowHandle window);

// Forgets every window, class, menu, cursor, hot key and all input state without sending
// any message (tests start from here).
void ResetWindowSystem();

} // namespace plat
