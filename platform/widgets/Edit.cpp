// The edit field: one line or many (line breaks, wrapping at word breaks, a vertical bar when
// the lines do not fit), aligned left, centred or right, with a character limit, a blinking
// caret, selection by mouse and Shift+keys, the clipboard and a one-step undo. Without the
// auto-scroll styles, input that would not fit the field is refused.
#include <algorithm>

#include "platform/Caret.h"
#include "platform/Desktop.h"
#include "platform/Input.h"
#include "platform/widgets/EditLayout.h"
#include "platform/widgets/WidgetCore.h"
#include "platform/widgets/WidgetTracking.h"

namespace plat::widgets {
namespace {

constexpr int kMargin = 2;

struct EditState {
    std::string text;
    int32_t anchor = 0;
    int32_t caret = 0;
};

class Edit : public Widget {
public:
    using Widget::Widget;

    intptr_t Handle(uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        switch (message) {
        case msg::Create:
            bar_ = MultiLine()
                       ? CreateWindow(
                             {widgetclass::ScrollBar, "", style::Child | wstyle::VerticalBar, 0, {}, hwnd_})
                       : 0;
            return 0;
        case msg::Size: Relayout(); return 0;
        case msg::Paint: Paint(); return 0;
        case msg::EraseBackground: return 1;
        case msg::SetFocus:
            CreateCaret(hwnd_, 1, LineHeight());
            PlaceCaret();
            ShowCaret(hwnd_);
            Redraw();
            Notify(notify::EditSetFocus);
            return 0;
        case msg::KillFocus:
            DestroyCaret();
            Redraw();
            return 0;
        case msg::Enable: Redraw(); return 0;
        case msg::LButtonDown:
        case msg::LButtonDoubleClick:
        case msg::MouseMove:
        case msg::LButtonUp: OnMouse(message, static_cast<uint32_t>(wParam), UnpackPoint(lParam)); return 0;
        case msg::KeyDown: OnKey(static_cast<uint8_t>(wParam)); return 0;
        case msg::Char: OnChar(static_cast<uint8_t>(wParam)); return 0;
        case msg::VScroll:
            if (static_cast<WindowHandle>(lParam) == bar_)
                OnScroll(LowWord(wParam), static_cast<int16_t>(HighWord(wParam)));
            return 0;
        default: return Default(message, wParam, lParam);
        }
    }

    void SetText(std::string_view text) override
    {
        SaveUndo();
        state_.text = text;
        state_.anchor = state_.caret = 0;
        top_ = 0;
        scrollX_ = 0;
        Changed();
    }
    std::string Text() const override { return state_.text; }
    void Relayout() override
    {
        Layout();
        ShowCaretLine();
        Redraw();
    }

    int32_t limit = 0;

    void Select(int32_t start, int32_t end)
    {
        const auto size = static_cast<int32_t>(state_.text.size());
        if (start < 0) {
            state_.anchor = state_.caret; // no selection; the caret stays
        } else {
            state_.anchor = std::clamp(start, 0, size);
            state_.caret = end < 0 ? size : std::clamp(end, 0, size);
        }
        ShowCaretLine();
        Redraw();
    }
    std::pair<int32_t, int32_t> Selection() const { return {SelStart(), SelEnd()}; }

    void Copy() const
    {
        if (SelEnd() > SelStart())
            SetClipboardText(Selected());
    }
    void Cut()
    {
        Copy();
        Clear();
    }
    void Clear()
    {
        if (SelEnd() > SelStart())
            Replace("");
    }
    void Paste()
    {
        std::string text = GetClipboardText();
        if (!MultiLine()) {
            text = text.substr(0, text.find_first_of("\r\n"));
        } else {
            std::string lines;
            for (size_t i = 0; i < text.size(); ++i) {
                if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
                    lines += '\r';
                lines += text[i];
            }
            text = std::move(lines);
        }
        if (!text.empty())
            Replace(text);
    }
    bool Undo()
    {
        if (!undo_)
            return false;
        std::swap(*undo_, state_);
        Changed();
        return true;
    }

private:
    bool MultiLine() const { return HasStyle(wstyle::MultiLine); }
    int32_t SelStart() const { return std::min(state_.anchor, state_.caret); }
    int32_t SelEnd() const { return std::max(state_.anchor, state_.caret); }
    std::string Selected() const { return state_.text.substr(SelStart(), SelEnd() - SelStart()); }
    int32_t LineHeight() const
    {
        const FontHandle f = TextFont();
        return f ? std::max(1, f->Metrics().height) : 16;
    }
    int32_t Measure(std::string_view s) const
    {
        const FontHandle f = TextFont();
        return f ? f->TextWidth(s) : 0;
    }
    // The area the text is laid out in.
    Rect TextArea() const
    {
        Rect r = GetClientRect(hwnd_).Inflate(-kMargin, 0);
        if (IsShown(bar_))
            r.right -= GetMetrics().scrollBarSize;
        if (!MultiLine())
            r.top = std::max(0, (r.Height() - LineHeight()) / 2);
        return r;
    }
    int32_t VisibleRows() const { return std::max(1, TextArea().Height() / LineHeight()); }

    std::vector<EditLine> LinesFor(std::string_view text, int32_t width) const
    {
        if (!MultiLine())
            return {{0, static_cast<int32_t>(text.size())}};
        const bool wrap = !HasStyle(wstyle::AutoHScroll);
        return BreakLines(text, wrap ? width : 0, [this](std::string_view s) { return Measure(s); });
    }

    void Layout()
    {
        lines_ = LinesFor(state_.text, TextArea().Width());
        if (!bar_)
            return;
        const bool needed = static_cast<int32_t>(lines_.size()) > VisibleRows();
        if (IsShown(bar_) != needed) {
            const Rect c = GetClientRect(hwnd_);
            const int width = GetMetrics().scrollBarSize;
            SetWindowRect(bar_, {c.right - width, 0, c.right, c.bottom});
            ShowWindow(bar_, needed ? ShowCommand::ShowNoActivate : ShowCommand::Hide);
            lines_ = LinesFor(state_.text, TextArea().Width()); // the bar took width from the text
        }
        SetScrollBarRange(bar_, 0, std::max(0, static_cast<int32_t>(lines_.size()) - VisibleRows()));
        SetScrollBarPos(bar_, top_);
    }

    // Whether a text would fit the field without scrolling, as a field without the
    // auto-scroll styles requires of typed input.
    bool Fits(const std::string& text) const
    {
        const Rect area = TextArea();
        if (!MultiLine())
            return HasStyle(wstyle::AutoHScroll) || Measure(text) <= area.Width();
        if (HasStyle(wstyle::AutoVScroll))
            return true;
        // Lines wrap, or scroll across with AutoHScroll: only their number can overflow.
        return static_cast<int32_t>(LinesFor(text, area.Width()).size()) <= VisibleRows();
    }

    // Replaces the selection with typed, pasted or cleared text.
    void Replace(std::string insert)
    {
        const auto kept = static_cast<int32_t>(state_.text.size()) - (SelEnd() - SelStart());
        if (limit > 0 && kept + static_cast<int32_t>(insert.size()) > limit) {
            insert.resize(static_cast<size_t>(std::max(0, limit - kept)));
            if (!insert.empty() && insert.back() == '\r')
                insert.pop_back(); // never half a line break
            if (insert.empty() && SelEnd() == SelStart()) {
                Beep();
                return;
            }
        }
        std::string text = state_.text;
        text.replace(static_cast<size_t>(SelStart()), static_cast<size_t>(SelEnd() - SelStart()), insert);
        if (!Fits(text)) {
            Beep();
            return;
        }
        SaveUndo();
        const int32_t caret = SelStart() + static_cast<int32_t>(insert.size());
        state_.text = std::move(text);
        state_.anchor = state_.caret = caret;
        Changed();
    }

    void SaveUndo() { undo_ = state_; }

    void Changed()
    {
        Layout();
        ShowCaretLine();
        Redraw();
        Notify(notify::EditChange);
    }

    // Keys and the mouse.
    int32_t Prev(int32_t at) const
    {
        if (at >= 2 && state_.text.compare(static_cast<size_t>(at - 2), 2, "\r\n") == 0)
            return at - 2;
        return std::max(0, at - 1);
    }
    int32_t Next(int32_t at) const
    {
        if (state_.text.compare(static_cast<size_t>(at), 2, "\r\n") == 0)
            return at + 2;
        return std::min(static_cast<int32_t>(state_.text.size()), at + 1);
    }

    void MoveCaret(int32_t to, bool extend)
    {
        state_.caret = to;
        if (!extend)
            state_.anchor = to;
        ShowCaretLine();
        Redraw();
    }

    void OnKey(uint8_t k)
    {
        const bool shift = IsKeyDown(key::Shift);
        // With Ctrl, Home and End go to the start and the end of the whole text.
        const bool ctrl = IsKeyDown(key::Control);
        const size_t line = LineOf(lines_, state_.caret);
        switch (k) {
        case key::Left:
            MoveCaret(shift || SelStart() == SelEnd() ? Prev(state_.caret) : SelStart(), shift);
            break;
        case key::Right:
            MoveCaret(shift || SelStart() == SelEnd() ? Next(state_.caret) : SelEnd(), shift);
            break;
        case key::Home: MoveCaret(ctrl ? 0 : lines_[line].start, shift); break;
        case key::End:
            MoveCaret(ctrl ? static_cast<int32_t>(state_.text.size()) : lines_[line].end, shift);
            break;
        case key::Up:
        case key::Down: {
            const int32_t row = static_cast<int32_t>(line) + (k == key::Up ? -1 : 1);
            if (row >= 0 && row < static_cast<int32_t>(lines_.size()))
                MoveCaret(OffsetAt(static_cast<size_t>(row), CaretPoint().x), shift);
            break;
        }
        case key::Delete:
            if (SelStart() == SelEnd())
                state_.anchor = Next(state_.caret);
            Clear();
            break;
        default: break;
        }
    }

    void OnChar(uint8_t c)
    {
        switch (c) {
        case 3: Copy(); return;   // Ctrl+C
        case 22: Paste(); return; // Ctrl+V
        case 24: Cut(); return;   // Ctrl+X
        case 26: Undo(); return;  // Ctrl+Z
        case 8:                   // Backspace
            if (SelStart() == SelEnd())
                state_.anchor = Prev(state_.caret);
            Clear();
            return;
        case 13:
            if (MultiLine())
                Replace("\r\n");
            return;
        default:
            if (c >= 0x20)
                Replace(std::string(1, static_cast<char>(c)));
            return;
        }
    }

    void OnMouse(uint32_t message, uint32_t keys, Point p)
    {
        switch (message) {
        case msg::LButtonDown:
        case msg::LButtonDoubleClick:
            SetFocus(hwnd_);
            SetCapture(hwnd_);
            MoveCaret(OffsetAtPoint(p), (keys & mousekey::Shift) != 0);
            return;
        case msg::MouseMove:
            if (GetCapture() == hwnd_)
                MoveCaret(OffsetAtPoint(p), true);
            return;
        default:
            if (GetCapture() == hwnd_)
                ReleaseCapture();
            return;
        }
    }

    void OnScroll(uint32_t code, int32_t pos) { SetTop(ScrolledTop(code, pos, top_, VisibleRows())); }

    void SetTop(int32_t top)
    {
        top_ = std::clamp(top, 0, std::max(0, static_cast<int32_t>(lines_.size()) - VisibleRows()));
        SetScrollBarPos(bar_, top_);
        PlaceCaret();
        Redraw();
    }

    // Geometry of lines and the caret.
    std::string_view LineText(size_t line) const
    {
        return std::string_view(state_.text)
            .substr(lines_[line].start, lines_[line].end - lines_[line].start);
    }
    int32_t LineX(size_t line) const
    {
        const Rect area = TextArea();
        const int32_t spare = area.Width() - Measure(LineText(line));
        if (HasStyle(wstyle::AlignCenter))
            return area.left + spare / 2;
        if (HasStyle(wstyle::AlignRight))
            return area.left + spare;
        return area.left - scrollX_;
    }
    int32_t LineY(size_t line) const
    {
        return TextArea().top + (static_cast<int32_t>(line) - top_) * LineHeight();
    }
    Point CaretPoint() const
    {
        const size_t line = LineOf(lines_, state_.caret);
        const int32_t upTo = std::min(state_.caret, lines_[line].end) - lines_[line].start;
        return {LineX(line) + Measure(LineText(line).substr(0, upTo)), LineY(line)};
    }
    // The offset in a line nearest an x position.
    int32_t OffsetAt(size_t line, int32_t x) const
    {
        const std::string_view text = LineText(line);
        int32_t left = LineX(line);
        for (size_t i = 0; i < text.size(); ++i) {
            const int32_t w = Measure(text.substr(i, 1));
            if (x < left + w / 2)
                return lines_[line].start + static_cast<int32_t>(i);
            left += w;
        }
        return lines_[line].end;
    }
    int32_t OffsetAtPoint(Point p) const
    {
        const int32_t row = top_ + (p.y - TextArea().top) / LineHeight() - (p.y < TextArea().top ? 1 : 0);
        const auto line = static_cast<size_t>(std::clamp(row, 0, static_cast<int32_t>(lines_.size()) - 1));
        return OffsetAt(line, p.x);
    }

    // Scrolls so that the caret shows, then places it.
    void ShowCaretLine()
    {
        const auto line = static_cast<int32_t>(LineOf(lines_, state_.caret));
        if (line < top_)
            SetTop(line);
        else if (line >= top_ + VisibleRows())
            SetTop(line - VisibleRows() + 1);
        if (HasStyle(wstyle::AutoHScroll)) {
            const Rect area = TextArea();
            const auto at = static_cast<size_t>(line);
            const int32_t x =
                Measure(LineText(at).substr(0, std::min(state_.caret, lines_[at].end) - lines_[at].start));
            if (x - scrollX_ > area.Width())
                scrollX_ = x - area.Width() + area.Width() / 3;
            else if (x < scrollX_)
                scrollX_ = std::max(0, x - area.Width() / 3);
        }
        PlaceCaret();
    }
    void PlaceCaret()
    {
        if (GetFocus() == hwnd_)
            SetCaretPos(CaretPoint());
    }

    void Paint()
    {
        WidgetPaint p(hwnd_);
        DrawContext& dc = p.Dc();
        dc.SelectFont(TextFont());
        dc.SetTextColor(SysColorRef(SysColor::WindowText));
        dc.SetBkColor(SysColorRef(SysColor::Window));
        const auto answer = SendWindowMessage(GetParent(hwnd_), msg::EditColor,
                                              reinterpret_cast<uintptr_t>(&dc), static_cast<intptr_t>(hwnd_));
        const auto* brush = reinterpret_cast<const Brush*>(answer);
        const ColorRef background = brush ? brush->color : SysColorRef(SysColor::Window);
        const ColorRef ink = IsEnabled(hwnd_) ? dc.GetTextColor() : SysColorRef(SysColor::GrayText);
        Rect client = p.Client();
        if (IsShown(bar_))
            client.right -= GetMetrics().scrollBarSize;
        dc.FillRect(client, background);
        const Region clip(Intersect(client, TextArea().Inflate(kMargin, 0))
                              .Offset(dc.ViewportOrigin().x, dc.ViewportOrigin().y));
        const Region* outer = dc.ClipRegion();
        Region both = outer ? *outer : clip;
        both.Intersect(clip);
        dc.SetClipRegion(&both);
        const bool showSelection = GetFocus() == hwnd_ && SelEnd() > SelStart();
        for (size_t i = static_cast<size_t>(top_); i < lines_.size() && LineY(i) < client.bottom; ++i)
            PaintLine(dc, i, ink, showSelection);
    }

    void PaintLine(DrawContext& dc, size_t line, const ColorRef& ink, bool showSelection)
    {
        const std::string_view text = LineText(line);
        const Point at{LineX(line), LineY(line)};
        DrawPlainText(dc, at, text, ink);
        if (!showSelection)
            return;
        const int32_t from =
            std::clamp(SelStart(), lines_[line].start, lines_[line].end) - lines_[line].start;
        const int32_t to = std::clamp(SelEnd(), lines_[line].start, lines_[line].end) - lines_[line].start;
        if (to <= from)
            return;
        const int32_t x = at.x + Measure(text.substr(0, from));
        const std::string_view part = text.substr(from, to - from);
        dc.FillRect(Rect::FromSize(x, at.y, Measure(part), LineHeight()), SysColorRef(SysColor::Highlight));
        DrawPlainText(dc, {x, at.y}, part, SysColorRef(SysColor::HighlightText));
    }

    EditState state_;
    std::optional<EditState> undo_;
    std::vector<EditLine> lines_{{0, 0}};
    int32_t top_ = 0;
    int32_t scrollX_ = 0;
    WindowHandle bar_ = 0;
};

} // namespace

std::unique_ptr<Widget> MakeEdit(WindowHandle hwnd) { return std::make_unique<Edit>(hwnd); }

} // namespace plat::widgets

namespace plat {

using widgets::Edit;
using widgets::FindAs;

void SetEditLimit(WindowHandle edit, int32_t limit)
{
    if (auto* e = FindAs<Edit>(edit))
        e->limit = std::max(0, limit);
}

int32_t GetEditLimit(WindowHandle edit)
{
    auto* e = FindAs<Edit>(edit);
    return e ? e->limit : 0;
}

void SetEditSelection(WindowHandle edit, int32_t start, int32_t end)
{
    if (auto* e = FindAs<Edit>(edit))
        e->Select(start, end);
}

std::pair<int32_t, int32_t> GetEditSelection(WindowHandle edit)
{
    auto* e = FindAs<Edit>(edit);
    return e ? e->Selection() : std::pair<int32_t, int32_t>{0, 0};
}

void EditCut(WindowHandle edit)
{
    if (auto* e = FindAs<Edit>(edit))
        e->Cut();
}

void EditCopy(WindowHandle edit)
{
    if (auto* e = FindAs<Edit>(edit))
        e->Copy();
}

void EditPaste(WindowHandle edit)
{
    if (auto* e = FindAs<Edit>(edit))
        e->Paste();
}

void EditClear(WindowHandle edit)
{
    if (auto* e = FindAs<Edit>(edit))
        e->Clear();
}

bool EditUndo(WindowHandle edit)
{
    auto* e = FindAs<Edit>(edit);
    return e && e->Undo();
}

} // namespace plat
