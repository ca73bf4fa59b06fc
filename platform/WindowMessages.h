#pragma once
// The window messages of the platform layer: their numbers, how their two parameters are
// packed, and the key codes and flag bits they carry. Every number below msg::User belongs
// to the platform; a program numbers its own window messages from msg::User upwards.
#include <cstdint>

#include "platform/Geometry.h"

namespace plat {

namespace msg {
enum : uint32_t {
    Null = 0,
    Create,          // lParam: the creation data; a procedure answering -1 refuses the window
    Destroy,         // the window is going; its children follow
    Move,            // lParam: the client area's new corner (parent client or screen coordinates)
    Size,            // wParam: a size::Kind; lParam: client width | height << 16
    Activate,        // wParam: an activate::State | minimized << 16; lParam: the other window
    NcActivate,      // wParam: 1 active, 0 inactive (the caption is drawn to match)
    ActivateApp,     // wParam: 1 the program became the active program, 0 it lost that
    SetFocus,        // lParam: the window losing the focus
    KillFocus,       // lParam: the window getting the focus
    Enable,          // wParam: 1 enabled, 0 disabled
    ShowWindow,      // wParam: 1 shown, 0 hidden
    Paint,           // the window has an invalid area; answer with BeginPaint/EndPaint
    EraseBackground, // wParam: the PaintContext* being prepared; non-zero answer = erased
    Close,           // asked to close; the default procedure destroys the window
    QueryEndSession, // the session ends; answer 1 to agree
    Quit,            // a quit request addressed to a window
    GetMinMaxInfo,   // lParam: MinMaxInfo* to fill
    SetCursor,       // wParam: the window under the mouse; lParam: hit::Code | mouse message << 16
    KeyDown,         // wParam: key code; lParam: repeat count | kAltContextBit | kWasDownBit
                     // | kKeyUpBit
    KeyUp,           // wParam: key code
    Char,            // wParam: the character (Windows-1252)
    SysKeyDown,      // a key with Alt held, or F10
    SysKeyUp,
    SysChar,    // a character typed with Alt held
    Command,    // wParam: id | notification << 16; lParam: control window or 0 for a menu
    SysCommand, // wParam: a syscmd:: command
    HScroll,    // wParam: a scroll::Code | position << 16; lParam: scroll-bar window or 0
    VScroll,
    InitMenu,  // wParam: the menu about to open
    MouseMove, // wParam: mousekey:: bits; lParam: client point (x | y << 16, signed)
    LButtonDown,
    LButtonUp,
    LButtonDoubleClick,
    RButtonDown,
    RButtonUp,
    RButtonDoubleClick,
    NcMouseMove,      // wParam: the hit::Code; lParam: screen point
    NcLButtonDown,    // wParam: the hit::Code; lParam: screen point
    VKeyToItem,       // from a list box to its parent: wParam key | caret index << 16; lParam list box
    EditColor,        // from an edit field to its parent: wParam colour context; lParam the field
    QueryNewPalette,  // the window is about to become active: realise its palette
    PaletteChanged,   // wParam: the window that changed the desktop palette
    HotKey,           // posted without a window: wParam the hot-key id; lParam modifiers | key << 16
    ToggleFullscreen, // Alt+Enter asks the screen owner to switch between full screen and a window
    User = 0x400
};
} // namespace msg

// Bits of the lParam of key messages besides the repeat count in the low 16 bits.
constexpr uint32_t kAltContextBit = 1u << 29; // Alt was held
constexpr uint32_t kWasDownBit = 1u << 30;    // the key was down before (a repeat, or a release)
constexpr uint32_t kKeyUpBit = 1u << 31;      // the key is being released

// Packing of two 16-bit halves, as in the parameters above.
constexpr intptr_t PackWords(int32_t low, int32_t high)
{
    return static_cast<intptr_t>(
        static_cast<int32_t>((static_cast<uint32_t>(low) & 0xFFFFu) | (static_cast<uint32_t>(high) << 16)));
}
constexpr uint16_t LowWord(uintptr_t v) { return static_cast<uint16_t>(v & 0xFFFFu); }
constexpr uint16_t HighWord(uintptr_t v) { return static_cast<uint16_t>((v >> 16) & 0xFFFFu); }
// A point packed as two signed 16-bit values.
constexpr Point UnpackPoint(intptr_t v)
{
    return {static_cast<int16_t>(LowWord(static_cast<uintptr_t>(v))),
            static_cast<int16_t>(HighWord(static_cast<uintptr_t>(v)))};
}
constexpr intptr_t PackPoint(Point p) { return PackWords(p.x, p.y); }

namespace size {
enum Kind : uint32_t { Restored = 0, Minimized = 1, Maximized = 2, MaxShow = 3, MaxHide = 4 };
}

namespace activate {
enum State : uint32_t { Inactive = 0, Active = 1, ClickActive = 2 };
}

namespace syscmd {
enum : uint32_t {
    Size = 0xF000,
    Minimize = 0xF020,
    Maximize = 0xF030,
    Close = 0xF060,
    KeyMenu = 0xF100,
    Restore = 0xF120
};
}

namespace scroll {
enum Code : uint32_t {
    LineUp = 0,
    LineDown = 1,
    PageUp = 2,
    PageDown = 3,
    ThumbPosition = 4,
    ThumbTrack = 5,
    Top = 6,
    Bottom = 7,
    EndScroll = 8
};
enum Bar : uint32_t { Horizontal = 0, Vertical = 1 };
} // namespace scroll

// Where a point lies on a window.
namespace hit {
enum Code : uint32_t {
    Nowhere = 0,
    Client,
    Caption,
    Menu,
    HScroll,
    VScroll,
    Left,
    Right,
    Top,
    Bottom,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
    Border // a frame that cannot be dragged
};
}

// Button and modifier state carried by mouse messages.
namespace mousekey {
enum : uint32_t { Left = 0x01, Right = 0x02, Shift = 0x04, Control = 0x08, Middle = 0x10 };
}

// Key codes. Their values are those that menu data stores for hot keys, so they are fixed.
// Letters and digits are their upper-case character codes ('A', '0').
namespace key {
enum : uint8_t {
    LeftButton = 0x01,
    RightButton = 0x02,
    MiddleButton = 0x04,
    Backspace = 0x08,
    Tab = 0x09,
    Enter = 0x0D,
    Shift = 0x10,
    Control = 0x11,
    Alt = 0x12,
    Pause = 0x13,
    CapsLock = 0x14,
    Escape = 0x1B,
    Space = 0x20,
    PageUp = 0x21,
    PageDown = 0x22,
    End = 0x23,
    Home = 0x24,
    Left = 0x25,
    Up = 0x26,
    Right = 0x27,
    Down = 0x28,
    Insert = 0x2D,
    Delete = 0x2E,
    Windows = 0x5B,
    F1 = 0x70,
    F4 = 0x73,
    F10 = 0x79,
    F12 = 0x7B
};
} // namespace key

// What the window procedure fills in for msg::GetMinMaxInfo (outer window sizes).
struct MinMaxInfo {
    Point maxSize;
    Point maxPosition;
    Point minTrackSize;
    Point maxTrackSize;
};

} // namespace plat
