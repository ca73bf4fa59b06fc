#include "platform/widgets/WidgetTracking.h"

#include "platform/Clock.h"
#include "platform/Input.h"

namespace plat::widgets {

void TrackWhileHeld(WindowHandle hwnd, const std::function<void()>& repeat)
{
    SetCapture(hwnd);
    uint64_t due = GetClock().NowMs() + kRepeatDelayMs;
    while (IsWindow(hwnd) && GetCapture() == hwnd) {
        PlatMessage m;
        if (PeekWindowMessage(m, true)) {
            if (m.window == hwnd && m.message == msg::LButtonUp)
                break;
            DispatchWindowMessage(m);
            continue;
        }
        // Nothing waits: a button no longer held will send no release.
        if (!IsKeyDown(key::LeftButton))
            break;
        if (GetClock().NowMs() >= due) {
            repeat();
            due = GetClock().NowMs() + kRepeatEveryMs;
            continue;
        }
        WaitWindowMessage(due);
    }
    if (GetCapture() == hwnd)
        ReleaseCapture();
}

int32_t ScrolledTop(uint32_t code, int32_t pos, int32_t top, int32_t page)
{
    switch (code) {
    case scroll::LineUp: return top - 1;
    case scroll::LineDown: return top + 1;
    case scroll::PageUp: return top - page;
    case scroll::PageDown: return top + page;
    case scroll::ThumbTrack:
    case scroll::ThumbPosition: return pos;
    default: return top;
    }
}

} // namespace plat::widgets
