// Invalid areas, begin and end of painting, and scrolling of a window's client pixels.
#include <algorithm>
#include <cstring>

#include "platform/Desktop.h"
#include "platform/WindowInternal.h"

namespace plat {
namespace detail {

namespace {

// The parts of a that b does not cover, as up to four rectangles.
void SubtractInto(const Rect& a, const Rect& b, std::vector<Rect>& out)
{
    const Rect common = Intersect(a, b);
    if (common.Empty()) {
        out.push_back(a);
        return;
    }
    if (a.top < common.top)
        out.push_back({a.left, a.top, a.right, common.top});
    if (common.bottom < a.bottom)
        out.push_back({a.left, common.bottom, a.right, a.bottom});
    if (a.left < common.left)
        out.push_back({a.left, common.top, common.left, common.bottom});
    if (common.right < a.right)
        out.push_back({common.right, common.top, a.right, common.bottom});
}

} // namespace

void RectList::Add(const Rect& r)
{
    if (r.Empty())
        return;
    // Keep only the parts of r that no present rectangle covers.
    std::vector<Rect> pieces{r};
    for (const Rect& have : rects_) {
        std::vector<Rect> next;
        for (const Rect& p : pieces)
            SubtractInto(p, have, next);
        pieces.swap(next);
        if (pieces.empty())
            return;
    }
    rects_.insert(rects_.end(), pieces.begin(), pieces.end());
}

void RectList::Subtract(const Rect& r)
{
    std::vector<Rect> next;
    for (const Rect& have : rects_)
        SubtractInto(have, r, next);
    rects_.swap(next);
}

void RectList::Clip(const Rect& r)
{
    std::vector<Rect> next;
    for (const Rect& have : rects_) {
        const Rect c = Intersect(have, r);
        if (!c.Empty())
            next.push_back(c);
    }
    rects_.swap(next);
}

void RectList::Offset(int32_t dx, int32_t dy)
{
    for (Rect& r : rects_)
        r = r.Offset(dx, dy);
}

Rect RectList::Bounds() const
{
    Rect b;
    for (const Rect& r : rects_)
        b = plat::Bounds(b, r);
    return b;
}

void FillRect(Surface& s, const Rect& r, uint8_t index)
{
    const Rect c = Intersect(r, {0, 0, s.width, s.height});
    for (int y = c.top; y < c.bottom; ++y)
        std::memset(s.Row(y) + c.left, index, static_cast<size_t>(c.Width()));
}

} // namespace detail

using namespace detail;

void InvalidateRect(WindowHandle window, const Rect* rect, bool erase)
{
    WindowRecord* w = Find(window);
    if (!w)
        return;
    const Rect client = GetClientRect(window);
    w->invalid.Add(rect ? Intersect(*rect, client) : client);
    if (erase && !w->invalid.Empty())
        w->erasePending = true;
}

void ValidateRect(WindowHandle window, const Rect* rect)
{
    WindowRecord* w = Find(window);
    if (!w)
        return;
    if (rect)
        w->invalid.Subtract(*rect);
    else
        w->invalid.Clear();
    if (w->invalid.Empty())
        w->erasePending = false;
}

Rect GetUpdateRect(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    return w ? w->invalid.Bounds() : Rect{};
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
    w->invalid.Clip(paint.target.client);
    paint.area = w->invalid.Rects();
    paint.paintRect = w->invalid.Bounds();
    const bool erase = w->erasePending;
    w->invalid.Clear();
    w->erasePending = false;
    if (erase && !paint.area.empty())
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
    w->invalid.Clip(local);
    RectList uncovered;
    uncovered.Add(local);
    uncovered.Subtract(kept);
    for (const Rect& r : uncovered.Rects())
        InvalidateRect(window, &r, true);
}

} // namespace plat
