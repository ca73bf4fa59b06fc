// Invalid areas, begin and end of painting, and scrolling of a window's client pixels.
#include <algorithm>
#include <cstring>

#include "platform/Desktop.h"
#include "platform/WindowInternal.h"

namespace plat {
namespace detail {

void QueuePaint(WindowRecord& w, bool withChildren)
{
    if (!w.paintQueued && !w.invalid.Empty() && IsOnScreen(w)) {
        w.paintQueued = true;
        PostWindowMessage(w.handle, msg::Paint);
    }
    if (!withChildren)
        return;
    for (WindowHandle c : w.children) {
        if (WindowRecord* child = Find(c))
            QueuePaint(*child, true);
    }
}

void FillRect(Surface& s, const Rect& r, uint8_t index)
{
    const Rect c = Intersect(r, {0, 0, s.width, s.height});
    if (!c.Empty())
        FillRows(s.Row(c.top) + c.left, s.bottomUp ? -s.pitch : s.pitch, static_cast<size_t>(c.Width()),
                 c.Height(), index);
}

} // namespace detail

using namespace detail;

namespace {

void MarkInvalid(WindowRecord& w, const Region& area, bool erase)
{
    w.invalid.Union(area);
    if (erase && !area.Empty())
        w.erasePending = true;
    QueuePaint(w);
}

} // namespace

void InvalidateRect(WindowHandle window, const Rect* rect, bool erase)
{
    WindowRecord* w = Find(window);
    if (!w)
        return;
    const Rect client = GetClientRect(window);
    MarkInvalid(*w, Region(rect ? Intersect(*rect, client) : client), erase);
}

void InvalidateRegion(WindowHandle window, const Region& area, bool erase)
{
    WindowRecord* w = Find(window);
    if (!w)
        return;
    Region clipped = area;
    clipped.Intersect(GetClientRect(window));
    MarkInvalid(*w, clipped, erase);
}

void ValidateRect(WindowHandle window, const Rect* rect)
{
    WindowRecord* w = Find(window);
    if (!w)
        return;
    if (rect)
        w->invalid.Subtract(Region(*rect));
    else
        w->invalid.Clear();
    if (w->invalid.Empty()) {
        w->erasePending = false;
        w->paintQueued = false; // a paint still queued finds nothing to do
    }
}

Rect GetUpdateRect(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    return w ? w->invalid.Bounds() : Rect{};
}

Region GetUpdateRegion(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    return w ? w->invalid : Region();
}

void UpdateWindow(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    if (w && !w->invalid.Empty() && IsVisible(window))
        SendWindowMessage(window, msg::Paint);
}

ClientTarget GetClientTarget(WindowHandle window)
{
    WindowRecord* w = Find(window);
    if (!w)
        return {};
    const Rect c = ClientArea(*w);
    return {&w->surface, c.TopLeft(), {0, 0, c.Width(), c.Height()}};
}

PaintContext BeginPaint(WindowHandle window)
{
    PaintContext paint;
    WindowRecord* w = Find(window);
    if (!w)
        return paint;
    paint.window = window;
    paint.target = GetClientTarget(window);
    w->invalid.Intersect(paint.target.client);
    paint.area = w->invalid;
    paint.paintRect = w->invalid.Bounds();
    const bool erase = w->erasePending;
    w->invalid.Clear();
    w->erasePending = false;
    w->paintQueued = false;
    if (erase && !paint.area.Empty())
        paint.erased =
            SendWindowMessage(window, msg::EraseBackground, reinterpret_cast<uintptr_t>(&paint)) != 0;
    return paint;
}

void EndPaint(WindowHandle, const PaintContext&) {}

void ScrollClient(WindowHandle window, int32_t dx, int32_t dy)
{
    WindowRecord* w = Find(window);
    if (!w || (dx == 0 && dy == 0))
        return;
    const Rect client = ClientArea(*w);
    const Rect local{0, 0, client.Width(), client.Height()};
    const Rect kept = Intersect(local, local.Offset(dx, dy)); // where moved pixels land
    if (!kept.Empty()) {
        const size_t width = static_cast<size_t>(kept.Width());
        // Copy rows in the order that never reads a row already overwritten.
        const bool down = dy > 0;
        for (int i = 0; i < kept.Height(); ++i) {
            const int y = down ? kept.bottom - 1 - i : kept.top + i;
            uint8_t* dst = w->surface.Row(client.top + y) + client.left + kept.left;
            const uint8_t* src = w->surface.Row(client.top + y - dy) + client.left + kept.left - dx;
            std::memmove(dst, src, width);
        }
    }
    w->invalid.Offset(dx, dy);
    w->invalid.Intersect(local);
    Region uncovered(local);
    uncovered.Subtract(kept);
    MarkInvalid(*w, uncovered, true);
}

} // namespace plat
