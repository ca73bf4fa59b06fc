// The list box: strings shown in the system font, one current item, its own vertical scroll
// bar when the items do not fit, clicks, double clicks, arrow keys and letter type-ahead.
#include "platform/widgets/ListBox.h"

#include <algorithm>

#include "platform/Input.h"
#include "platform/widgets/WidgetTracking.h"

namespace plat::widgets {

intptr_t ListBox::Handle(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case msg::Create:
        bar_ = CreateWindow({widgetclass::ScrollBar, "", style::Child | wstyle::VerticalBar, 0, {}, hwnd_});
        return 0;
    case msg::Size: Relayout(); return 0;
    case msg::Paint: Paint(); return 0;
    case msg::EraseBackground: return 1;
    case msg::SetFocus:
    case msg::KillFocus:
    case msg::Enable: Redraw(); return 0;
    case msg::LButtonDown:
    case msg::LButtonDoubleClick:
    case msg::LButtonUp:
    case msg::MouseMove: OnMouse(message, UnpackPoint(lParam)); return 0;
    case msg::VScroll:
        if (static_cast<WindowHandle>(lParam) == bar_)
            OnScroll(LowWord(wParam), static_cast<int16_t>(HighWord(wParam)));
        return 0;
    case msg::KeyDown: {
        if (HasStyle(wstyle::WantKeys)) {
            const intptr_t answer = SendWindowMessage(GetParent(hwnd_), msg::VKeyToItem,
                                                      PackWords(static_cast<int32_t>(wParam), current_),
                                                      static_cast<intptr_t>(hwnd_));
            if (answer == -2)
                return 0;
            if (answer >= 0) {
                Choose(static_cast<int32_t>(answer), true);
                return 0;
            }
        }
        MoveBy(static_cast<uint8_t>(wParam));
        return 0;
    }
    case msg::Char: TypeAhead(static_cast<uint8_t>(wParam)); return 0;
    default: return Default(message, wParam, lParam);
    }
}

int32_t ListBox::Add(std::string_view text)
{
    items_.emplace_back(text);
    UpdateBar();
    Redraw();
    return Count() - 1;
}

void ListBox::Reset()
{
    items_.clear();
    current_ = -1;
    top_ = 0;
    UpdateBar();
    Redraw();
}

std::string ListBox::Item(int32_t index) const
{
    return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)] : std::string();
}

int32_t ListBox::ItemHeight() const
{
    const FontHandle f = GetStockFont(StockFont::System); // a list box always shows the system font
    return f ? std::max(1, f->Metrics().height) : 16;
}

int32_t ListBox::VisibleRows() const { return std::max(1, GetClientRect(hwnd_).Height() / ItemHeight()); }

int32_t ListBox::ItemAt(Point p) const
{
    const int32_t row = p.y >= 0 ? p.y / ItemHeight() : -1;
    return row < 0 ? -1 : std::min(top_ + row, Count() - 1);
}

void ListBox::SetTop(int32_t top)
{
    top = std::clamp(top, 0, std::max(0, Count() - VisibleRows()));
    if (top != top_) {
        top_ = top;
        Redraw();
    }
    SetScrollBarPos(bar_, top_);
}

void ListBox::SetCurrent(int32_t index)
{
    current_ = index >= 0 && index < Count() ? index : -1;
    ShowCurrent();
    Redraw();
}

void ListBox::ShowCurrent()
{
    if (current_ < 0)
        return;
    if (current_ < top_)
        SetTop(current_);
    else if (current_ >= top_ + VisibleRows())
        SetTop(current_ - VisibleRows() + 1);
}

void ListBox::Relayout()
{
    UpdateBar();
    SetTop(top_);
}

void ListBox::UpdateBar()
{
    const Rect c = GetClientRect(hwnd_);
    const int width = GetMetrics().scrollBarSize;
    const bool needed = Count() > VisibleRows();
    if (needed) {
        SetWindowRect(bar_, {c.right - width, 0, c.right, c.bottom});
        SetScrollBarRange(bar_, 0, Count() - VisibleRows());
        SetScrollBarPos(bar_, top_);
    }
    if (IsShown(bar_) != needed)
        ShowWindow(bar_, needed ? ShowCommand::ShowNoActivate : ShowCommand::Hide);
}

void ListBox::Choose(int32_t index, bool notify)
{
    index = Count() == 0 ? -1 : std::clamp(index, 0, Count() - 1);
    const bool changed = index != current_;
    SetCurrent(index);
    if (changed && notify)
        Notify(notify::ListSelChange);
}

void ListBox::MoveBy(uint8_t keyCode)
{
    const int32_t page = std::max(1, VisibleRows() - 1);
    const int32_t from = current_ < 0 ? top_ - 1 : current_;
    switch (keyCode) {
    case key::Up: Choose(std::max(0, from - 1), true); break;
    case key::Down: Choose(from + 1, true); break;
    case key::PageUp: Choose(std::max(0, from - page), true); break;
    case key::PageDown: Choose(from + page, true); break;
    case key::Home: Choose(0, true); break;
    case key::End: Choose(Count() - 1, true); break;
    default: break;
    }
}

void ListBox::TypeAhead(uint8_t ch)
{
    if (ch < 0x20 || Count() == 0)
        return;
    // The next item after the current one whose first letter is the one typed, round the end.
    for (int32_t step = 1; step <= Count(); ++step) {
        const int32_t i = (std::max(current_, -1) + step) % Count();
        const std::string& item = items_[static_cast<size_t>(i)];
        if (!item.empty() && FoldCase(static_cast<uint8_t>(item[0])) == FoldCase(ch)) {
            Choose(i, true);
            return;
        }
    }
}

void ListBox::OnScroll(uint32_t code, int32_t pos) { SetTop(ScrolledTop(code, pos, top_, VisibleRows())); }

void ListBox::OnMouse(uint32_t message, Point p)
{
    Rect items = GetClientRect(hwnd_);
    if (IsShown(bar_))
        items.right -= GetMetrics().scrollBarSize;
    const bool inside = items.Contains(p);
    if (dropHandler) {
        if (message == msg::MouseMove && inside)
            SetCurrent(ItemAt(p));
        else if (message == msg::LButtonUp && inside)
            dropHandler(true);
        else if (message == msg::LButtonDown && !GetClientRect(hwnd_).Contains(p))
            dropHandler(false);
        return;
    }
    switch (message) {
    case msg::LButtonDown:
        SetFocus(hwnd_);
        if (!inside)
            return;
        SetCapture(hwnd_);
        Choose(ItemAt(p), true);
        return;
    case msg::MouseMove:
        if (GetCapture() == hwnd_)
            Choose(p.y < 0 ? top_ - 1 : ItemAt(p), true);
        return;
    case msg::LButtonUp:
        if (GetCapture() == hwnd_)
            ReleaseCapture();
        return;
    case msg::LButtonDoubleClick:
        if (inside && ItemAt(p) >= 0) {
            Choose(ItemAt(p), true);
            Notify(notify::ListDoubleClick);
        }
        return;
    default: return;
    }
}

void ListBox::Paint()
{
    WidgetPaint p(hwnd_);
    DrawContext& dc = p.Dc();
    dc.SelectFont(GetStockFont(StockFont::System));
    Rect client = p.Client();
    if (IsShown(bar_))
        client.right -= GetMetrics().scrollBarSize;
    dc.FillRect(client, SysColorRef(SysColor::Window));
    const bool enabled = IsEnabled(hwnd_);
    const int32_t h = ItemHeight();
    for (int32_t i = top_, y = 0; i < Count() && y < client.bottom; ++i, y += h) {
        const Rect row{client.left, y, client.right, y + h};
        const bool selected = i == current_;
        if (selected)
            dc.FillRect(row, SysColorRef(SysColor::Highlight));
        const SysColor ink = !enabled   ? SysColor::GrayText
                             : selected ? SysColor::HighlightText
                                        : SysColor::WindowText;
        DrawPlainText(dc, {row.left + 2, row.top}, items_[static_cast<size_t>(i)], SysColorRef(ink));
        if (selected && GetFocus() == hwnd_)
            DrawFocusRect(dc, row);
    }
}

std::unique_ptr<Widget> MakeListBox(WindowHandle hwnd) { return std::make_unique<ListBox>(hwnd); }

} // namespace plat::widgets
