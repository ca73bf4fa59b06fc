#pragma once
// A loop of a widget's own while the left button is held on it, as an arrow of a scroll bar
// runs one to repeat itself: messages keep being dispatched, and the repeat step runs first
// after a delay and then at a steady rate, until the button is let go (its release is taken
// from the queue) or the widget loses the capture or goes away.
#include <functional>

#include "platform/Window.h"

namespace plat::widgets {

constexpr uint64_t kRepeatDelayMs = 400;
constexpr uint64_t kRepeatEveryMs = 50;

void TrackWhileHeld(WindowHandle hwnd, const std::function<void()>& repeat);

// The first row a list or a multi-line field shows after a message of its own scroll bar:
// a row or a page (the rows shown) at a time, or the thumb's position.
int32_t ScrolledTop(uint32_t code, int32_t pos, int32_t top, int32_t page);

} // namespace plat::widgets
