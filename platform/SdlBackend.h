#pragma once
// The SDL2 display: one SDL window showing the presented window's menu strip and client
// area (Desktop.h) at that logical size, scaled by a whole number and centred, with the
// screen border colour around it. Other top-level windows show where they overlap that
// area. The SDL window's title is the presented window's caption. Full screen (desktop
// size) follows the screen owner's state; Alt+Enter asks the owner to switch. On an X display
// without a window manager (nothing there to carry out a full-screen request) the window is
// moved and sized to cover the screen instead. Mouse
// positions are mapped back to desktop pixels; keys, characters, focus loss and gain
// (activate-app) and closing the window (msg::Close) become input of the window system.
// Minimizing the SDL window asks the presented window to minimize (msg::SysCommand), and a
// minimized presented window (or owner) minimizes the SDL window; restoring it restores them.
// A request to end the process (a signal) reaches the presented window as
// msg::QueryEndSession.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Platform.h"
#include "platform/Viewport.h"

namespace plat {

// Starts the display and makes it the desktop's (SetDisplay), with the drawn message boxes and
// dialogs as the services in use; false with the reason when SDL cannot open a window.
// Starting again while running does nothing.
bool StartSdlDisplay(std::string* error = nullptr);
// What a program does at start: picks the backend (ChooseBackend), starts SDL when that is
// the choice and records what runs (SetBackend). When SDL cannot start, the desktop stays in
// memory, the reason goes to *error, and Backend::Null is returned.
Backend StartDisplay(bool forceHeadless, std::string* error = nullptr);
// Closes the SDL window and shuts SDL's video down; the desktop stays in memory.
void StopSdlDisplay();
bool IsSdlDisplayRunning();
// Composes and shows the desktop at once, whenever the last time was.
void PresentSdlNow();
// The picture last shown, as read back from the renderer (0xAARRGGBB per pixel); false when
// the display is not running or the renderer cannot read back.
bool ReadSdlPixels(std::vector<uint32_t>& argb, int& width, int& height);

// Puts an event into SDL's own queue, as the desktop would send it, for tests of how the
// display turns events into input. Points are in SDL window coordinates.
enum class SdlEventKind {
    FocusLost,
    FocusGained,
    Close,
    Minimized,
    Restored,
    MouseMove,
    LeftPress,
    LeftRelease,
    KeyDown, // a key: the overload with a key code
    KeyUp,
    Text // typed text: the overload with UTF-8 text (up to 31 bytes)
};
bool PushSdlEvent(SdlEventKind kind, Point windowPoint = {});
bool PushSdlEvent(SdlEventKind kind, uint8_t keyCode);
bool PushSdlEvent(SdlEventKind kind, std::string_view utf8);
// Sizes the display's window as a person dragging its edge does (for tests of what the window
// then shows); false when the display is not running.
bool ResizeSdlWindow(int width, int height);

} // namespace plat
