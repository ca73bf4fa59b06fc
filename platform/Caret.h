#pragma once
// The text caret: one per program, owned by a window, a block of pixels in its client
// area that blinks (the desktop shows it inverted in its on phases). It is created hidden;
// ShowCaret and HideCaret nest.
#include "platform/Geometry.h"
#include "platform/Window.h"

namespace plat {

// Replaces any caret with a new one of this size in the window.
bool CreateCaret(WindowHandle window, int width, int height);
bool DestroyCaret();
bool SetCaretPos(Point client);
Point GetCaretPos();
bool ShowCaret(WindowHandle window);
bool HideCaret(WindowHandle window);

// The caret's window and its rectangle in client coordinates while it shows in the current
// blink phase; window 0 when it does not show now.
struct CaretView {
    WindowHandle window = 0;
    Rect rect;
};
CaretView GetVisibleCaret();

} // namespace plat
