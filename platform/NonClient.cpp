// The parts of a window around its client area: frame, caption, menu strip and scroll
// bars. Their layout, hit-testing and drawing, and the window scroll bars' state.
#include <algorithm>

#include "platform/Menu.h"
#include "platform/Metrics.h"
#include "platform/WindowInternal.h"

namespace plat {
namespace detail {

namespace {

// Sizing zones reach this far along an edge from each corner.
constexpr int kCornerReach = 16;

uint8_t Sys(SysColor c) { return PaletteIndexOf(GetSysColor(c)); }

// A raised box: light on the top and left, dark on the bottom and right.
void RaisedEdge(Surface& s, const Rect& r)
{
    if (r.Empty())
        return;
    const uint8_t light = Sys(SysColor::ButtonHighlight);
    const uint8_t shadow = Sys(SysColor::ButtonShadow);
    const uint8_t dark = Sys(SysColor::WindowFrame);
    FillRect(s, {r.left, r.top, r.right, r.top + 1}, light);
    FillRect(s, {r.left, r.top, r.left + 1, r.bottom}, light);
    FillRect(s, {r.left, r.bottom - 1, r.right, r.bottom}, dark);
    FillRect(s, {r.right - 1, r.top, r.right, r.bottom}, dark);
    if (r.Width() > 2 && r.Height() > 2) {
        FillRect(s, {r.left + 1, r.bottom - 2, r.right - 1, r.bottom - 1}, shadow);
        FillRect(s, {r.right - 2, r.top + 1, r.right - 1, r.bottom - 1}, shadow);
    }
}

// A small solid triangle pointing in one of four directions, centred in a box.
void Arrow(Surface& s, const Rect& box, int dir, uint8_t color)
{
    const int cx = (box.left + box.right) / 2;
    const int cy = (box.top + box.bottom) / 2;
    for (int i = 0; i < 4; ++i) {
        switch (dir) {
        case 0: FillRect(s, {cx - i, cy - 2 + i, cx + i + 1, cy - 1 + i}, color); break;  // up
        case 1: FillRect(s, {cx - 3 + i, cy - 1 + i, cx + 4 - i, cy + i}, color); break;  // down
        case 2: FillRect(s, {cx - 2 + i, cy - i, cx - 1 + i, cy + i + 1}, color); break;  // left
        default: FillRect(s, {cx - 1 + i, cy - 3 + i, cx + i, cy + 4 - i}, color); break; // right
        }
    }
}

} // namespace

int FrameThickness(uint32_t st, uint32_t ex)
{
    const Metrics m = GetMetrics();
    if (st & style::ThickFrame)
        return m.sizingFrame;
    if ((st & (style::Caption | style::DialogFrame)) || (ex & exstyle::DialogModalFrame))
        return m.fixedFrame;
    if (st & style::Border)
        return m.border;
    return 0;
}

int CaptionHeight(uint32_t st, uint32_t ex)
{
    if (!(st & style::Caption))
        return 0;
    const Metrics m = GetMetrics();
    return (ex & exstyle::ToolWindow) ? m.smallCaptionHeight : m.captionHeight;
}

Rect ClientArea(const WindowRecord& w)
{
    const Metrics m = GetMetrics();
    const int f = FrameThickness(w.style, w.exStyle);
    const int top = f + CaptionHeight(w.style, w.exStyle) + (w.menu ? m.menuHeight : 0);
    Rect r{f, top, w.rect.Width() - f, w.rect.Height() - f};
    if (w.style & style::VScroll)
        r.right -= m.scrollBarSize;
    if (w.style & style::HScroll)
        r.bottom -= m.scrollBarSize;
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

Rect CaptionArea(const WindowRecord& w)
{
    const int f = FrameThickness(w.style, w.exStyle);
    return {f, f, w.rect.Width() - f, f + CaptionHeight(w.style, w.exStyle)};
}

Rect MenuStripArea(const WindowRecord& w)
{
    if (!w.menu)
        return {};
    const Rect caption = CaptionArea(w);
    return {caption.left, caption.bottom, caption.right, caption.bottom + GetMetrics().menuHeight};
}

Rect ScrollBarArea(const WindowRecord& w, scroll::Bar bar)
{
    const int sb = GetMetrics().scrollBarSize;
    const Rect c = ClientArea(w);
    if (bar == scroll::Vertical)
        return (w.style & style::VScroll) ? Rect{c.right, c.top, c.right + sb, c.bottom} : Rect{};
    return (w.style & style::HScroll) ? Rect{c.left, c.bottom, c.right, c.bottom + sb} : Rect{};
}

hit::Code HitTest(const WindowRecord& w, Point p)
{
    const Rect outer{0, 0, w.rect.Width(), w.rect.Height()};
    if (!outer.Contains(p))
        return hit::Nowhere;
    if (ClientArea(w).Contains(p))
        return hit::Client;
    if (MenuStripArea(w).Contains(p))
        return hit::Menu;
    if (CaptionArea(w).Contains(p))
        return hit::Caption;
    if (ScrollBarArea(w, scroll::Vertical).Contains(p))
        return hit::VScroll;
    if (ScrollBarArea(w, scroll::Horizontal).Contains(p))
        return hit::HScroll;
    if (!(w.style & style::ThickFrame) || w.maximized)
        return hit::Border;
    const int f = FrameThickness(w.style, w.exStyle);
    const bool onLeft = p.x < f, onRight = p.x >= outer.right - f;
    const bool onTop = p.y < f, onBottom = p.y >= outer.bottom - f;
    const bool nearLeft = p.x < kCornerReach, nearRight = p.x >= outer.right - kCornerReach;
    const bool nearTop = p.y < kCornerReach, nearBottom = p.y >= outer.bottom - kCornerReach;
    if ((onTop && nearLeft) || (onLeft && nearTop))
        return hit::TopLeft;
    if ((onTop && nearRight) || (onRight && nearTop))
        return hit::TopRight;
    if ((onBottom && nearLeft) || (onLeft && nearBottom))
        return hit::BottomLeft;
    if ((onBottom && nearRight) || (onRight && nearBottom))
        return hit::BottomRight;
    if (onTop)
        return hit::Top;
    if (onBottom)
        return hit::Bottom;
    if (onLeft)
        return hit::Left;
    if (onRight)
        return hit::Right;
    return hit::Border;
}

void PaintScrollBar(WindowRecord& w, scroll::Bar bar)
{
    const Rect area = ScrollBarArea(w, bar);
    if (area.Empty())
        return;
    Surface& s = w.surface;
    FillRect(s, area, Sys(SysColor::ScrollBar));
    const int sb = GetMetrics().scrollBarSize;
    const bool vertical = bar == scroll::Vertical;
    const Rect first = vertical ? Rect{area.left, area.top, area.right, area.top + sb}
                                : Rect{area.left, area.top, area.left + sb, area.bottom};
    const Rect last = vertical ? Rect{area.left, area.bottom - sb, area.right, area.bottom}
                               : Rect{area.right - sb, area.top, area.right, area.bottom};
    for (const Rect& box : {first, last}) {
        FillRect(s, box, Sys(SysColor::ButtonFace));
        RaisedEdge(s, box);
    }
    const uint8_t text = Sys(SysColor::ButtonText);
    Arrow(s, first, vertical ? 0 : 2, text);
    Arrow(s, last, vertical ? 1 : 3, text);
    const Rect thumb = ScrollThumbArea(w, bar);
    if (!thumb.Empty()) {
        FillRect(s, thumb, Sys(SysColor::ButtonFace));
        RaisedEdge(s, thumb);
    }
}

Rect ScrollThumbArea(const WindowRecord& w, scroll::Bar bar)
{
    const Rect area = ScrollBarArea(w, bar);
    const ScrollBarState& st = w.bars[bar];
    const int sb = GetMetrics().scrollBarSize;
    const bool vertical = bar == scroll::Vertical;
    const int length = vertical ? area.Height() : area.Width();
    const int travel = length - 3 * sb; // the track between the arrows, less the thumb
    if (area.Empty() || st.max <= st.min || travel < 0)
        return {};
    const int64_t offset =
        static_cast<int64_t>(st.pos - st.min) * travel / (static_cast<int64_t>(st.max) - st.min);
    const int at = sb + static_cast<int>(offset);
    return vertical ? Rect{area.left, area.top + at, area.right, area.top + at + sb}
                    : Rect{area.left + at, area.top, area.left + at + sb, area.bottom};
}

int32_t ScrollPosAt(const WindowRecord& w, scroll::Bar bar, Point windowPoint)
{
    const Rect area = ScrollBarArea(w, bar);
    const ScrollBarState& st = w.bars[bar];
    const int sb = GetMetrics().scrollBarSize;
    const bool vertical = bar == scroll::Vertical;
    const int length = vertical ? area.Height() : area.Width();
    const int travel = length - 3 * sb;
    if (travel <= 0 || st.max <= st.min)
        return st.pos;
    const int along = (vertical ? windowPoint.y - area.top : windowPoint.x - area.left) - sb - sb / 2;
    const int clamped = std::clamp(along, 0, travel);
    return st.min + static_cast<int32_t>(static_cast<int64_t>(clamped) *
                                         (static_cast<int64_t>(st.max) - st.min) / travel);
}

void PaintNonClient(WindowRecord& w)
{
    Surface& s = w.surface;
    const Rect outer{0, 0, w.rect.Width(), w.rect.Height()};
    const Rect client = ClientArea(w);
    const int f = FrameThickness(w.style, w.exStyle);
    if (f > 0) {
        const uint8_t face = Sys(SysColor::ButtonFace);
        FillRect(s, {0, 0, outer.right, client.top}, face);
        FillRect(s, {0, client.bottom, outer.right, outer.bottom}, face);
        FillRect(s, {0, client.top, client.left, client.bottom}, face);
        FillRect(s, {client.right, client.top, outer.right, client.bottom}, face);
        if (f == 1) {
            const uint8_t frame = Sys(SysColor::WindowFrame);
            FillRect(s, {0, 0, outer.right, 1}, frame);
            FillRect(s, {0, outer.bottom - 1, outer.right, outer.bottom}, frame);
            FillRect(s, {0, 0, 1, outer.bottom}, frame);
            FillRect(s, {outer.right - 1, 0, outer.right, outer.bottom}, frame);
        } else {
            RaisedEdge(s, outer);
        }
    }
    const Rect caption = CaptionArea(w);
    if (!caption.Empty()) {
        const bool on = w.captionActive;
        const Rect bar{caption.left, caption.top, caption.right, caption.bottom - 1};
        FillRect(s, bar, Sys(on ? SysColor::ActiveCaption : SysColor::InactiveCaption));
        FillRect(s, {caption.left, caption.bottom - 1, caption.right, caption.bottom},
                 Sys(SysColor::ButtonFace));
        const int textY = bar.top + (bar.Height() - UiTextHeight()) / 2;
        DrawUiText(s, bar.left + 3, textY, w.title,
                   Sys(on ? SysColor::CaptionText : SysColor::InactiveCaptionText), bar);
    }
    PaintMenuStrip(w);
    PaintScrollBar(w, scroll::Horizontal);
    PaintScrollBar(w, scroll::Vertical);
    if ((w.style & (style::HScroll | style::VScroll)) == (style::HScroll | style::VScroll)) {
        const int sb = GetMetrics().scrollBarSize;
        FillRect(s, {client.right, client.bottom, client.right + sb, client.bottom + sb},
                 Sys(SysColor::ButtonFace));
    }
}

} // namespace detail

using namespace detail;

void SetScrollRange(WindowHandle window, scroll::Bar bar, int32_t min, int32_t max)
{
    WindowRecord* w = Find(window);
    if (!w || bar > scroll::Vertical)
        return;
    ScrollBarState& st = w->bars[bar];
    st.min = min;
    st.max = std::max(min, max);
    st.pos = std::clamp(st.pos, st.min, st.max);
    PaintScrollBar(*w, bar);
}

int32_t SetScrollPos(WindowHandle window, scroll::Bar bar, int32_t pos)
{
    WindowRecord* w = Find(window);
    if (!w || bar > scroll::Vertical)
        return 0;
    ScrollBarState& st = w->bars[bar];
    const int32_t old = st.pos;
    st.pos = std::clamp(pos, st.min, st.max);
    PaintScrollBar(*w, bar);
    return old;
}

int32_t GetScrollPos(WindowHandle window, scroll::Bar bar)
{
    const WindowRecord* w = Find(window);
    return w && bar <= scroll::Vertical ? w->bars[bar].pos : 0;
}

std::pair<int32_t, int32_t> GetScrollRange(WindowHandle window, scroll::Bar bar)
{
    const WindowRecord* w = Find(window);
    if (!w || bar > scroll::Vertical)
        return {0, 0};
    return {w->bars[bar].min, w->bars[bar].max};
}

void SetWindowMenu(WindowHandle window, MenuHandle menu)
{
    WindowRecord* w = Find(window);
    if (!w || w->IsChild())
        return;
    const MenuHandle next = IsMenu(menu) ? menu : 0;
    if (next == w->menu)
        return;
    const bool strip = w->menu != 0;
    w->menu = next;
    if (strip != (next != 0)) {
        // The strip came or went: the client area changed size.
        const Rect client = ClientArea(*w);
        w->invalid.Clear();
        PaintNonClient(*w);
        InvalidateRect(window, nullptr, true);
        SendWindowMessage(window, msg::Size, size::Restored, PackWords(client.Width(), client.Height()));
    } else {
        PaintNonClient(*w);
    }
}

MenuHandle GetWindowMenu(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    return w ? w->menu : 0;
}

void RemoveSystemCommand(WindowHandle window, uint32_t command)
{
    WindowRecord* w = Find(window);
    if (w && OffersSystemCommand(window, command))
        w->withdrawnCommands.push_back(command & 0xFFF0u);
}

bool OffersSystemCommand(WindowHandle window, uint32_t command)
{
    const WindowRecord* w = Find(window);
    if (!w)
        return false;
    const std::vector<uint32_t>& gone = w->withdrawnCommands;
    return std::find(gone.begin(), gone.end(), command & 0xFFF0u) == gone.end();
}

void DrawMenuStrip(WindowHandle window)
{
    if (WindowRecord* w = Find(window))
        PaintMenuStrip(*w);
}

} // namespace plat
