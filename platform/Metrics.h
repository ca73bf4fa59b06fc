#pragma once
// The fixed sizes, times and colours of the virtual desktop, all in one place so that the
// centring, sizing and placement arithmetic of the programs comes out the same on every
// machine. The screen size is the display's (800 x 600 unless set, see SystemInfo.h).
#include <cstdint>

#include "platform/Surface.h"

namespace plat {

struct Metrics {
    int screenWidth = 800;
    int screenHeight = 600;
    int captionHeight = 19;      // a caption bar, with the line below it
    int smallCaptionHeight = 15; // the caption of a tool window
    int menuHeight = 19;         // the menu strip below the caption
    int sizingFrame = 4;         // the frame of a window that can be resized
    int fixedFrame = 3;          // the frame of a captioned or dialog window that cannot
    int border = 1;              // a thin border
    int scrollBarSize = 16;      // width of a vertical, height of a horizontal scroll bar
    int cursorWidth = 32;
    int cursorHeight = 32;
    uint32_t doubleClickMs = 500;
    int doubleClickWidth = 4; // a second press counts within a box this size around the first
    int doubleClickHeight = 4;
    uint32_t caretBlinkMs = 530;
    int minTrackWidth = 112; // the smallest outer size a user can drag a window to
    int minTrackHeight = 27;
};

// The metrics, with the screen size of the display in use.
Metrics GetMetrics();

// Colours of the window system's own drawing and of the standard brushes.
enum class SysColor {
    Desktop,
    ActiveCaption,
    InactiveCaption,
    CaptionText,
    InactiveCaptionText,
    Menu,
    MenuText,
    Highlight,
    HighlightText,
    GrayText,
    ButtonFace,
    ButtonShadow,
    ButtonHighlight,
    ButtonText,
    Window,
    WindowText,
    WindowFrame,
    ScrollBar,
};
Rgb GetSysColor(SysColor color);

} // namespace plat
