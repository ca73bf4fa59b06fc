#pragma once
// Keyboard and mouse: the state the programs read (focus, capture, keys and buttons held,
// the cursor position), the input the backends feed in, and the program's hot keys.
//
// Input fed in becomes queued window messages. A key becomes msg::KeyDown / msg::KeyUp
// for the focus window (or the active window when none has the focus); with Alt held, or
// for F10, msg::SysKeyDown / msg::SysKeyUp. Enter, Esc, Tab, Backspace and Ctrl+letter
// also give their character (msg::Char) right after the key-down; printable characters
// come through InjectChar. Mouse input goes to the capture window, or else to the window
// under the cursor, in client coordinates; over a frame, caption, menu strip or scroll bar
// it becomes msg::NcMouseMove / msg::NcLButtonDown. A second press of the same button on
// the same window within the double-click time and box arrives as a double click, when the
// window's class asks for them.
#include <cstdint>
#include <string_view>

#include "platform/Geometry.h"
#include "platform/MessageQueue.h"

namespace plat {

// State.
WindowHandle SetFocus(WindowHandle window); // returns the previous focus window
WindowHandle GetFocus();
WindowHandle SetCapture(WindowHandle window); // returns the previous capture window
void ReleaseCapture();
WindowHandle GetCapture();
bool IsKeyDown(uint8_t key); // keys and mouse buttons (key::LeftButton ...)
Point GetCursorPos();        // screen coordinates
void SetCursorPos(Point screen);
bool IsAppActive();

enum class MouseButton { Left, Right, Middle };

// Input from a backend (or a test).
void InjectMouseMove(Point screen);
void InjectMouseButton(MouseButton button, bool down, Point screen);
void InjectKey(uint8_t key, bool down);
void InjectChar(uint8_t ch);
// The program became the active program, or stopped being it: msg::ActivateApp to every
// top-level window, and the active window deactivated or activated again.
void InjectAppActive(bool active);
// The display's window was closed: msg::Close to the presented window (Desktop.h).
void InjectCloseRequest();

// Conveniences for scripted input: a press and a release at a point; a key down and up
// (with its character for letters, digits and blanks); and text as characters.
void Click(Point screen, MouseButton button = MouseButton::Left);
void PressKey(uint8_t key);
void TypeText(std::string_view text);

// The character a key gives by itself (Enter 13, Esc 27, Tab 9, Backspace 8, Ctrl+letter
// 1-26), or 0 when it gives none that way.
uint8_t ControlCharForKey(uint8_t key, bool ctrl);

// Hot keys of this program, active while it is the active program. A registered key
// combination is taken before any window sees it and posted as msg::HotKey without a
// window. Registering fails when the id or the combination is taken, or the key is 0.
namespace hotkeymod {
enum : uint32_t { Alt = 1, Control = 2, Shift = 4, Windows = 8 };
}
bool RegisterHotKey(int32_t id, uint32_t modifiers, uint8_t key);
bool UnregisterHotKey(int32_t id);

} // namespace plat
