#pragma once
// The console window, "Stdio Window": a text terminal in a top-level window that a program
// opens once and then writes to and reads from as it would the C standard output and input.
// Lines are kept in one buffer (see StdioBuffer.h), painted in a fixed-pitch stock font,
// scrolled with both scroll bars and the cursor keys; typed keys wait in a type-ahead ring.
// There is one console per program, kept in module state.
//
// While the console is not open every output and input call returns at once and does
// nothing, so code may write progress lines to it that nobody sees.
#include <cstdarg>
#include <cstdint>
#include <functional>

#include "platform/Window.h"

// A handler of one window message of the console window.
using StdioHandler = intptr_t (*)(plat::WindowHandle window, uint32_t message, uintptr_t wParam,
                                  intptr_t lParam);
using StdioCloseCallback = void (*)();

// Opens the console with a text buffer of that size (0: 8192 bytes; any size up to 1024
// gets 1024). False when it is open already or a buffer or the window cannot be made (the
// reason is shown in an error box).
bool StdioOpen(plat::ShowCommand show = plat::ShowCommand::Show, int32_t bufferSize = 0);
// Destroys the window without ending the program.
void StdioClose();
// The program is ending: an open console stays, its messages handled, until the user closes
// it; without a display nobody can, so it closes at once. The application's destructor calls
// it while the window system still stands.
void StdioFinish();

// Formats (at most 1023 characters) and writes; answers how many characters were written.
int32_t StdioPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
int32_t StdioVPrintf(const char* format, va_list args);
// Answers c (0 while closed).
int32_t StdioPutchar(int32_t c);
// Writes the text and a line feed; answers 0.
int32_t StdioPuts(const char* text);

// Waits, keeping the program's windows working, for a typed key: Ctrl-Z gives -1, Enter a
// line feed (10), any other key itself; with echo on the key is written too. 0 while closed;
// -1 when the console closes while waiting, or when no key can ever come (no display).
int32_t StdioGetchar();
// Reads a line up to Enter into the buffer of `size` bytes, zero-terminated: Backspace takes
// back one character, Esc starts the line again, keys beyond the buffer's room are dropped
// with a beep. Null while closed, on Ctrl-Z, or when the console closes meanwhile.
char* StdioGets(char* buffer, int32_t size);
// True when the console is open and a typed key waits.
bool StdioKbhit();
// Handles every waiting message of the program; 0 while closed, else 1.
int32_t StdioYield();

// The stock font: 16 the system's fixed font (the default), 11 the smaller fixed font, 10
// the OEM fixed font; false for any other id.
bool StdioSetFont(int32_t id);
// Keeps at most 127 characters as the window's title.
void StdioSetTitle(const char* text);
// Painting while writing (on by default); answers the previous value (0 while closed).
bool StdioSetPaint(bool on);
// Echo of read keys (on by default); answers the previous value.
bool StdioSetEcho(bool on);
// Called when the window is destroyed.
void StdioOnClose(StdioCloseCallback callback);
plat::WindowHandle StdioGetHwnd();

// The handler of a message below 1024; a null handler restores the default window
// procedure. Answers the previous handler (null for messages of 1024 and above).
StdioHandler StdioSetHandler(uint32_t message, StdioHandler handler);
StdioHandler StdioGetHandler(uint32_t message);

// Empties the buffer and starts again from the top.
void StdioClear();

// An error box captioned "ERROR" with an OK button; answers 0.
int32_t StdioErrorBox(const char* text);
// Formats (at most 511 characters) and asks with the console's title as caption, with OK
// or, when cancel is set, OK and Cancel; true when OK was chosen.
bool StdioAskBox(bool cancel, const char* format, ...) __attribute__((format(printf, 2, 3)));

// How the program ends when the user closes the console (std::exit unless tests set
// another), and the reset to the closed start state for tests.
void SetStdioExitHook(std::function<void(int)> hook);
void ResetStdio();
