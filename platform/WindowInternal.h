#pragma once
// The window system's own records, shared by its source files (not for use outside
// platform/). One WindowRecord per live window, kept in one map by handle.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Region.h"
#include "platform/Surface.h"
#include "platform/Window.h"

namespace plat::detail {

struct ClassRecord {
    WindowClass cls;
    int liveWindows = 0;
};

struct ScrollBarState {
    int32_t min = 0;
    int32_t max = 100;
    int32_t pos = 0;
};

struct WindowRecord {
    WindowHandle handle = 0;
    std::shared_ptr<ClassRecord> cls;
    std::string title;
    uint32_t style = 0; // without style::Visible and style::Disabled, kept below
    uint32_t exStyle = 0;
    WindowHandle parent = 0;
    WindowHandle owner = 0;
    std::vector<WindowHandle> children; // bottom first
    Rect rect;                          // outer: parent client coordinates for a child, screen for the rest
    Rect restoreRect;                   // the rectangle before maximizing
    MenuHandle menu = 0;
    bool visible = false;
    bool enabled = true;
    bool minimized = false;
    bool maximized = false;
    bool destroying = false;
    bool captionActive = false;              // the caption is drawn as that of the active window
    std::vector<uint32_t> withdrawnCommands; // system commands taken off its system menu
    void* object = nullptr;
    std::vector<uint8_t> extra;
    Surface surface; // the whole outer rectangle
    Region invalid;  // client coordinates
    bool erasePending = false;
    bool paintQueued = false; // a msg::Paint for it waits in the queue
    ScrollBarState bars[2];

    bool IsChild() const { return (style & style::Child) != 0; }
};

struct WindowSystem {
    std::map<WindowHandle, std::unique_ptr<WindowRecord>> windows;
    std::vector<WindowHandle> zOrder; // top-level windows, bottom first
    std::vector<std::shared_ptr<ClassRecord>> classes;
    WindowHandle nextHandle = 0x10000;
    WindowHandle active = 0;
    WindowHandle lastActive = 0; // the window to activate again when the program is
    bool appActive = true;
    WindowHandle focus = 0;
    WindowHandle capture = 0;
    bool systemClasses = false; // the widget classes are registered
};

WindowSystem& System();
// The window markers (WindowMarkers.cpp): taken or moved after a window is made or retitled,
// dropped when it goes.
void UpdateWindowMarker(const WindowRecord& w);
void DropWindowMarker(WindowHandle window);
void ResetWindowMarkers();
WindowRecord* Find(WindowHandle window);

// Non-client layout, all in window coordinates (0,0 = the outer corner).
int FrameThickness(uint32_t style, uint32_t exStyle);
int CaptionHeight(uint32_t style, uint32_t exStyle);
Rect ClientArea(const WindowRecord& w);
Rect CaptionArea(const WindowRecord& w);
Rect MenuStripArea(const WindowRecord& w);
Rect ScrollBarArea(const WindowRecord& w, scroll::Bar bar);
hit::Code HitTest(const WindowRecord& w, Point windowPoint);
// Draws the frame, caption, menu strip and scroll bars into the window's surface.
void PaintNonClient(WindowRecord& w);
void PaintScrollBar(WindowRecord& w, scroll::Bar bar);
// The thumb of a scroll bar (empty when its range is empty) and the position a point on the
// bar stands for.
Rect ScrollThumbArea(const WindowRecord& w, scroll::Bar bar);
int32_t ScrollPosAt(const WindowRecord& w, scroll::Bar bar, Point windowPoint);

// The screen corner of a window's outer rectangle.
Point ScreenCorner(const WindowRecord& w);
// Shown, not minimized, and so are its parents and owners.
bool IsOnScreen(const WindowRecord& w);
// Enabled, and so are its parents.
bool IsEffectivelyEnabled(const WindowRecord& w);
bool IsSameOrDescendant(WindowHandle window, WindowHandle ancestor);
WindowHandle ActivateWindowBy(WindowHandle window, bool byClick);
// Picks another window to activate after the active one went away.
void ActivateNextAfter(WindowHandle gone);
// Asks the window for its size limits (msg::GetMinMaxInfo), starting from the defaults.
MinMaxInfo AskMinMax(WindowHandle window);
// What a press on a window's frame, caption, menu strip or scroll bar starts.
void StartNonClientAction(WindowHandle window, hit::Code code, Point screen);

// Queues msg::Paint for a window on the screen with an invalid area, unless one waits
// already; with children, does the same for each of them.
void QueuePaint(WindowRecord& w, bool withChildren = false);

// The nearest entry of the desktop palette to a colour.
uint8_t PaletteIndexOf(Rgb color);
// Fills a rectangle of a surface (clipped to it).
void FillRect(Surface& s, const Rect& r, uint8_t index);

// Hooks of the other parts of the window system.
// A window (and its children) hidden, disabled or dying loses the focus, the capture, the
// mouse actions and open menus; a dying one also its caret.
void ForgetWindowInput(WindowHandle window, bool dying);
void ResetInput();
void ResetMenus();
void ResetCursors();
void ResetCaret();
void ResetDesktop();
void CaretWindowGone(WindowHandle window);
void MenuWindowGone(WindowHandle window);
// The menu strip's item rectangles (window coordinates) of a window with a menu.
std::vector<Rect> MenuStripItemRects(const WindowRecord& w);
void PaintMenuStrip(WindowRecord& w);
// Starts menu tracking on a window's strip: item to open (-1 none, just highlighted).
void StartMenuTracking(WindowHandle window, int item, bool open);
bool IsMenuTracking();
void EndMenuTracking();
// Delivers input to an open menu; true when the menu took it.
bool MenuTrackMouse(uint32_t message, Point screen);
bool MenuTrackKey(uint8_t key);
bool MenuTrackChar(uint8_t ch);
// The window system's text on the caption and in menus.
enum class UiFace { Caption, Menu };
int UiTextWidth(std::string_view text, UiFace face = UiFace::Menu);
int UiTextHeight(UiFace face = UiFace::Menu);
void DrawUiText(Surface& s, int x, int y, std::string_view text, uint8_t color, const Rect& clip,
                UiFace face = UiFace::Menu);
void ResetUiText();

} // namespace plat::detail
