#pragma once
// The virtual desktop: one shared palette, the top-level windows composed in z-order into
// one 8-bit picture, and the display backend that shows it. Also what the desktop shows
// through a windowed display (the presented window), who owns the full-screen state (the
// screen owner), and the beep.
#include <cstdint>
#include <filesystem>
#include <functional>

#include "platform/Geometry.h"
#include "platform/Surface.h"
#include "platform/Window.h"

namespace plat {

// The palette every window's pixels index. Entries 0-9 and 246-255 are the fixed system
// colours; the rest start black.
ColorTable DefaultDesktopPalette();
const ColorTable& GetDesktopPalette();
// Takes entries 10-245 from the table (the system colours stay). When any entry changed,
// every top-level window gets msg::PaletteChanged naming changedBy. Returns how many
// entries changed.
int SetDesktopPalette(const ColorTable& colors, WindowHandle changedBy = 0);

// Composes the whole screen: the desktop colour, then every shown top-level window from
// the bottom up with its children clipped to its client area, then the caret.
const Surface& ComposeDesktop();
// Composes one area of the screen into a surface of the area's size.
void ComposeArea(Surface& out, const Rect& area);
uint8_t DesktopPixel(int x, int y);
// Converts an 8-bit surface through its colour table into 0xFFRRGGBB pixels, rows of
// dstPitch pixels.
void ConvertToRgb32(const Surface& src, uint32_t* dst, size_t dstPitch);
// Writes a surface (or an area of it) as an 8-bit palette PNG with the desktop palette.
bool WriteSurfacePng(const Surface& surface, const std::filesystem::path& path, const Rect* area = nullptr);
bool WriteDesktopPng(const std::filesystem::path& path, const Rect* area = nullptr);

// The window a windowed display shows: its menu strip and client area. Unless set, the
// earliest created shown top-level window with a caption.
void SetPresentedWindow(WindowHandle window);
WindowHandle GetPresentedWindow();
// The screen area a windowed display shows: the presented window's menu strip and client
// area, or the whole screen when there is none.
Rect GetPresentedArea();

// The window that owns the full-screen state: the display is full screen while that
// window is shown maximized. Without one, the desktop keeps the state itself.
void SetScreenOwner(WindowHandle window);
WindowHandle GetScreenOwner();
// Alt+Enter: asks the screen owner to switch (msg::ToggleFullscreen), or switches itself.
void RequestFullscreenToggle();
bool IsFullscreen();
// The colour around the picture in full screen: the screen owner's class background.
Rgb GetScreenBorderColor();

// The system beep; tests count them.
void Beep();
int GetBeepCount();
void SetBeepHook(std::function<void()> hook);

// A display backend shows the desktop and feeds outside input in (Input.h).
class Display {
public:
    virtual ~Display() = default;
    // Moves waiting outside events into input; with wait, blocks for one until the deadline.
    virtual void Pump(uint64_t deadlineMs, bool wait) = 0;
    // Shows the desktop as it is now.
    virtual void Present() = 0;
};
// Installs a display (not owned); nullptr keeps the desktop in memory only.
void SetDisplay(Display* display);
Display* GetDisplay();

} // namespace plat
