#include "platform/Caret.h"

#include "platform/Clock.h"
#include "platform/Metrics.h"
#include "platform/WindowInternal.h"

namespace plat {
namespace {

struct CaretState {
    WindowHandle window = 0;
    int width = 0;
    int height = 0;
    Point pos;
    int hideCount = 1;
    uint64_t phaseStartMs = 0; // the blink starts "on" here
};

CaretState g_caret;

bool Owns(WindowHandle window) { return g_caret.window != 0 && g_caret.window == window; }

void RestartBlink() { g_caret.phaseStartMs = GetClock().NowMs(); }

} // namespace

namespace detail {

void ResetCaret() { g_caret = CaretState{}; }

void CaretWindowGone(WindowHandle window)
{
    if (g_caret.window && IsSameOrDescendant(g_caret.window, window))
        g_caret = CaretState{};
}

} // namespace detail

bool CreateCaret(WindowHandle window, int width, int height)
{
    if (!IsWindow(window) || width < 0 || height < 0)
        return false;
    g_caret = CaretState{window, width, height, {}, 1, 0};
    RestartBlink();
    return true;
}

bool DestroyCaret()
{
    if (!g_caret.window)
        return false;
    g_caret = CaretState{};
    return true;
}

bool SetCaretPos(Point client)
{
    if (!g_caret.window)
        return false;
    g_caret.pos = client;
    RestartBlink();
    return true;
}

Point GetCaretPos() { return g_caret.pos; }

bool ShowCaret(WindowHandle window)
{
    if (!Owns(window) || g_caret.hideCount == 0)
        return false;
    if (--g_caret.hideCount == 0)
        RestartBlink();
    return true;
}

bool HideCaret(WindowHandle window)
{
    if (!Owns(window))
        return false;
    ++g_caret.hideCount;
    return true;
}

CaretView GetVisibleCaret()
{
    if (!g_caret.window || g_caret.hideCount > 0 || !IsVisible(g_caret.window))
        return {};
    const uint64_t blink = GetMetrics().caretBlinkMs;
    const uint64_t elapsed = GetClock().NowMs() - g_caret.phaseStartMs;
    if (blink > 0 && (elapsed / blink) % 2 == 1)
        return {};
    return {g_caret.window, Rect::FromSize(g_caret.pos.x, g_caret.pos.y, g_caret.width, g_caret.height)};
}

} // namespace plat
