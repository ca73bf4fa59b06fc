#pragma once
// The engine's two window classes, "WClass" and "DClass" (dialog windows), and the window
// procedure they share. The procedure finds the CWind of a native window and turns window
// messages into its operations: painting, sizing, activation, closing, keys with the
// engine's key codes, mouse routing, cursors, menu commands and native control
// notifications.
//
// Engine key codes: characters as typed; arrows left 0x1C, right 0x1D, up 0x1E, down 0x1F;
// Delete 0x08; for list boxes Return 13. Modifier bits: 0x40 Shift, 0x80 Ctrl, 0x01 Alt
// (keys only).
#include <cstdint>

#include "platform/Window.h"

class CWindControl;

constexpr const char* kWindowClassName = "WClass";
constexpr const char* kDialogClassName = "DClass";
// The menu command that closes the program (Alt+F4, closing the main window, the end of
// the session).
constexpr int32_t kCommandQuit = 2070;

// Registers both classes; a class that exists already is left as it is.
void RegisterEngineClasses();
intptr_t SharedWndProc(plat::WindowHandle hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam);
// The engine side of an activation: a window showing a pushed modal layer keeps the
// activation; answers the (possibly changed) state.
uint32_t ActivateEngineWindow(plat::WindowHandle hwnd, uint32_t state);

// The engine key code of a key, 0 when the key has none. Return maps only for list boxes.
int32_t EngineKeyCode(uint32_t key, bool forListBox);
// The modifier bits of the keyboard state, and of a mouse message's key word.
uint32_t GetKeyModifiers();
uint32_t MouseKeyModifiers(uintptr_t keyState);
// The native control of that handle in any engine window, or null.
CWindControl* FindNativeControl(plat::WindowHandle hwnd);
