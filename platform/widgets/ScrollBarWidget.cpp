// The scroll-bar widget, horizontal or vertical: two arrows that repeat while held, a track
// that pages, and a thumb that can be dragged. The owner sets the range and position; while
// the thumb is dragged it follows the pointer and the owner hears ThumbTrack on each move,
// then ThumbPosition where it was let go. Every release ends with EndScroll.
#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/widgets/WidgetCore.h"
#include "platform/widgets/WidgetTracking.h"

namespace plat::widgets {
namespace {

enum class Part { None, LineUp, LineDown, PageUp, PageDown, Thumb };

class ScrollBar : public Widget {
public:
    using Widget::Widget;

    intptr_t Handle(uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        switch (message) {
        case msg::Paint: Paint(); return 0;
        case msg::EraseBackground: return 1;
        case msg::Enable: Redraw(); return 0;
        case msg::LButtonDown:
        case msg::LButtonDoubleClick: Press(UnpackPoint(lParam)); return 0;
        case msg::MouseMove: Move(UnpackPoint(lParam)); return 0;
        case msg::LButtonUp: Release(); return 0;
        default: return Default(message, wParam, lParam);
        }
    }

    void SetRange(int32_t min, int32_t max)
    {
        min_ = min;
        max_ = max;
        SetPos(pos_);
        Redraw();
    }
    void SetPos(int32_t pos)
    {
        const int32_t clamped = max_ > min_ ? std::clamp(pos, min_, max_) : min_;
        if (clamped != pos_) {
            pos_ = clamped;
            Redraw();
        }
    }
    int32_t Pos() const { return pos_; }
    std::pair<int32_t, int32_t> Range() const { return {min_, max_}; }

    // Called while an arrow or the track is held: sends its code again while the pointer
    // stays on the part pressed.
    void Repeat()
    {
        if (held_ != Part::None && PartAt(pointer_) == held_)
            Send(CodeOf(held_), pos_);
    }

private:
    bool Vertical() const { return HasStyle(wstyle::VerticalBar); }
    int32_t Length() const
    {
        const Rect c = GetClientRect(hwnd_);
        return Vertical() ? c.Height() : c.Width();
    }
    // The size of an arrow (and of the thumb): the bar's thickness, at most a third of its length.
    int32_t ArrowSize() const
    {
        const Rect c = GetClientRect(hwnd_);
        return std::min(Vertical() ? c.Width() : c.Height(), Length() / 2);
    }
    bool HasThumb() const
    {
        return max_ > min_ && IsEnabled(hwnd_) && Length() - 2 * ArrowSize() >= ArrowSize();
    }
    // Where the thumb starts along the bar for a position.
    int32_t ThumbStart(int32_t pos) const
    {
        const int32_t span = Length() - 3 * ArrowSize();
        return ArrowSize() + static_cast<int32_t>(static_cast<int64_t>(pos - min_) * span /
                                                  std::max<int64_t>(1, max_ - min_));
    }
    // The position a thumb starting at an offset along the bar stands for.
    int32_t PosForThumbStart(int32_t start) const
    {
        const int32_t span = Length() - 3 * ArrowSize();
        if (span <= 0)
            return min_;
        const int64_t along = std::clamp(start - ArrowSize(), 0, span);
        return min_ + static_cast<int32_t>((along * (max_ - min_) + span / 2) / span);
    }
    int32_t Along(Point p) const { return Vertical() ? p.y : p.x; }
    Rect Slice(int32_t from, int32_t to) const
    {
        const Rect c = GetClientRect(hwnd_);
        return Vertical() ? Rect{0, from, c.Width(), to} : Rect{from, 0, to, c.Height()};
    }
    int32_t ShownPos() const { return held_ == Part::Thumb ? trackPos_ : pos_; }

    Part PartAt(Point p) const
    {
        if (!GetClientRect(hwnd_).Contains(p))
            return Part::None;
        const int32_t a = Along(p);
        if (a < ArrowSize())
            return Part::LineUp;
        if (a >= Length() - ArrowSize())
            return Part::LineDown;
        if (!HasThumb())
            return Part::None;
        const int32_t thumb = ThumbStart(pos_);
        if (a < thumb)
            return Part::PageUp;
        return a < thumb + ArrowSize() ? Part::Thumb : Part::PageDown;
    }

    static uint32_t CodeOf(Part part)
    {
        switch (part) {
        case Part::LineUp: return scroll::LineUp;
        case Part::LineDown: return scroll::LineDown;
        case Part::PageUp: return scroll::PageUp;
        default: return scroll::PageDown;
        }
    }

    void Send(uint32_t code, int32_t pos)
    {
        const uint32_t message = Vertical() ? msg::VScroll : msg::HScroll;
        const WindowHandle target = notifyTarget ? notifyTarget : GetParent(hwnd_);
        SendWindowMessage(target, message, code | (static_cast<uint32_t>(pos & 0xFFFF) << 16),
                          static_cast<intptr_t>(hwnd_));
    }

    void Press(Point p)
    {
        if (held_ != Part::None)
            return;
        const Part part = PartAt(p);
        pointer_ = p;
        if (part == Part::None)
            return;
        held_ = part;
        Redraw();
        if (part == Part::Thumb) {
            SetCapture(hwnd_);
            trackPos_ = pos_;
            grabOffset_ = Along(p) - ThumbStart(pos_);
            return;
        }
        const WindowHandle self = hwnd_;
        Send(CodeOf(part), pos_);
        TrackWhileHeld(self, [self] {
            if (auto* bar = FindAs<ScrollBar>(self))
                bar->Repeat();
        });
        if (auto* bar = FindAs<ScrollBar>(self))
            bar->EndPress();
    }

    void EndPress()
    {
        held_ = Part::None;
        Redraw();
        Send(scroll::EndScroll, pos_);
    }

    void Move(Point p)
    {
        pointer_ = p;
        if (held_ != Part::Thumb)
            return;
        const int32_t pos = PosForThumbStart(Along(p) - grabOffset_);
        if (pos != trackPos_) {
            trackPos_ = pos;
            Redraw();
            Send(scroll::ThumbTrack, pos);
        }
    }

    void Release()
    {
        if (held_ != Part::Thumb)
            return;
        ReleaseCapture();
        held_ = Part::None;
        Redraw();
        const WindowHandle self = hwnd_;
        Send(scroll::ThumbPosition, trackPos_);
        if (FindAs<ScrollBar>(self))
            Send(scroll::EndScroll, trackPos_);
    }

    void Paint()
    {
        WidgetPaint p(hwnd_);
        DrawContext& dc = p.Dc();
        const int32_t arrow = ArrowSize();
        const bool enabled = IsEnabled(hwnd_) && max_ > min_;
        dc.FillRect(p.Client(), SysColorRef(SysColor::ScrollBar));
        const ColorRef ink = SysColorRef(enabled ? SysColor::ButtonText : SysColor::GrayText);
        const Rect first = Slice(0, arrow);
        const Rect last = Slice(Length() - arrow, Length());
        DrawButtonFace(dc, first, held_ == Part::LineUp);
        DrawButtonFace(dc, last, held_ == Part::LineDown);
        const int shiftUp = held_ == Part::LineUp ? 1 : 0;
        const int shiftDown = held_ == Part::LineDown ? 1 : 0;
        DrawArrow(dc, first.Offset(shiftUp, shiftUp), Vertical() ? ArrowDir::Up : ArrowDir::Left, ink);
        DrawArrow(dc, last.Offset(shiftDown, shiftDown), Vertical() ? ArrowDir::Down : ArrowDir::Right, ink);
        if (!HasThumb())
            return;
        const int32_t thumb = ThumbStart(ShownPos());
        if (held_ == Part::PageUp)
            dc.FillRect(Slice(arrow, ThumbStart(pos_)), SysColorRef(SysColor::WindowFrame));
        if (held_ == Part::PageDown)
            dc.FillRect(Slice(ThumbStart(pos_) + arrow, Length() - arrow),
                        SysColorRef(SysColor::WindowFrame));
        DrawButtonFace(dc, Slice(thumb, thumb + arrow), false);
    }

    int32_t min_ = 0;
    int32_t max_ = 100;
    int32_t pos_ = 0;
    Part held_ = Part::None;
    Point pointer_;
    int32_t trackPos_ = 0;
    int32_t grabOffset_ = 0;
};

} // namespace

std::unique_ptr<Widget> MakeScrollBar(WindowHandle hwnd) { return std::make_unique<ScrollBar>(hwnd); }

} // namespace plat::widgets

namespace plat {

using widgets::FindAs;
using widgets::ScrollBar;

void SetScrollBarRange(WindowHandle bar, int32_t min, int32_t max)
{
    if (auto* b = FindAs<ScrollBar>(bar))
        b->SetRange(min, max);
}

std::pair<int32_t, int32_t> GetScrollBarRange(WindowHandle bar)
{
    auto* b = FindAs<ScrollBar>(bar);
    return b ? b->Range() : std::pair<int32_t, int32_t>{0, 0};
}

void SetScrollBarPos(WindowHandle bar, int32_t pos)
{
    if (auto* b = FindAs<ScrollBar>(bar))
        b->SetPos(pos);
}

int32_t GetScrollBarPos(WindowHandle bar)
{
    auto* b = FindAs<ScrollBar>(bar);
    return b ? b->Pos() : 0;
}

} // namespace plat
