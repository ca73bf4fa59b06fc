// The drop-down list combo box: a field showing the current item with a button beside it. A
// click or Alt+Down (or F4) opens the list below it, into the height the combo box was made
// with; a click in the list chooses and closes it. While closed, the arrow keys change the item.
#include <algorithm>

#include "platform/Input.h"
#include "platform/widgets/ListBox.h"

namespace plat::widgets {
namespace {

class ComboBox : public Widget {
public:
    using Widget::Widget;

    intptr_t Handle(uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        switch (message) {
        case msg::Create: Create(); return 0;
        case msg::Destroy: DestroyWindow(drop_); return 0;
        case msg::Paint: Paint(); return 0;
        case msg::EraseBackground: return 1;
        case msg::SetFocus:
            Redraw();
            Notify(notify::ComboSetFocus);
            return 0;
        case msg::KillFocus:
            Close(false);
            Redraw();
            return 0;
        case msg::Enable: Redraw(); return 0;
        case msg::LButtonDown:
        case msg::LButtonDoubleClick:
            SetFocus(hwnd_);
            if (IsDropped())
                Close(false);
            else
                Open();
            return 0;
        case msg::KeyDown: OnKey(static_cast<uint8_t>(wParam), false); return 0;
        case msg::SysKeyDown:
            if (wParam == key::Down || wParam == key::Up) {
                OnKey(static_cast<uint8_t>(wParam), true);
                return 0;
            }
            return Default(message, wParam, lParam);
        case msg::Char:
            if (!IsDropped())
                ChangeTo([&](ListBox& l) { l.TypeAhead(static_cast<uint8_t>(wParam)); });
            return 0;
        default: return Default(message, wParam, lParam);
        }
    }

    std::string Text() const override { return items_.Item(items_.Current()); }
    void SetText(std::string_view) override {}

    bool IsDropped() const { return IsVisible(drop_); }
    ListBox& Items() { return items_; }

private:
    // The items live in a list box that is never a window of its own; the open list copies them.
    struct Detached : ListBox {
        Detached() : ListBox(0) {}
    };

    int32_t FieldHeight() const
    {
        const FontHandle f = TextFont();
        return (f ? f->Metrics().height : 16) + 6;
    }

    void Create()
    {
        madeHeight_ = GetWindowRect(hwnd_).Height();
        const Rect r = GetWindowRect(hwnd_);
        const Point corner = GetParent(hwnd_) ? ScreenToClient(GetParent(hwnd_), r.TopLeft()) : r.TopLeft();
        SetWindowRect(hwnd_, Rect::FromSize(corner.x, corner.y, r.Width(), FieldHeight()));
    }

    void Open()
    {
        if (IsDropped() || !IsEnabled(hwnd_))
            return;
        const Rect field = GetWindowRect(hwnd_);
        const int32_t height = std::max(madeHeight_ - field.Height(), items_.ItemHeight() + 2);
        const Rect at = Rect::FromSize(field.left, field.bottom, field.Width(), height);
        if (!drop_) {
            drop_ = CreateWindow({widgetclass::ListBox, "", style::Popup | style::Border,
                                  exstyle::TopMost | exstyle::NoActivate, at, GetTopLevel(hwnd_)});
        }
        auto* list = FindAs<ListBox>(drop_);
        if (!list)
            return;
        SetWindowRect(drop_, at);
        list->Reset();
        for (int32_t i = 0; i < items_.Count(); ++i)
            list->Add(items_.Item(i));
        list->SetCurrent(items_.Current());
        list->font = font;
        const WindowHandle self = hwnd_;
        list->dropHandler = [self](bool chosen) {
            if (auto* combo = FindAs<ComboBox>(self))
                combo->Close(chosen);
        };
        ShowWindow(drop_, ShowCommand::ShowNoActivate);
        SetCapture(drop_);
    }

    void Close(bool chosen)
    {
        if (!IsDropped())
            return;
        if (GetCapture() == drop_)
            ReleaseCapture();
        ShowWindow(drop_, ShowCommand::Hide);
        auto* list = FindAs<ListBox>(drop_);
        if (chosen && list)
            ChangeTo([&](ListBox& l) { l.SetCurrent(list->Current()); });
        Redraw();
    }

    // Applies a change to the current item; the parent hears of it when the item changed.
    template <class Change> void ChangeTo(Change change)
    {
        const int32_t before = items_.Current();
        change(items_);
        if (items_.Current() != before) {
            Redraw();
            Notify(notify::ComboSelChange);
        }
    }

    void OnKey(uint8_t k, bool alt)
    {
        const bool toggle = k == key::F4 || (alt && (k == key::Down || k == key::Up));
        auto* list = FindAs<ListBox>(drop_);
        if (IsDropped() && list) {
            if (toggle || k == key::Enter)
                Close(true);
            else if (k == key::Escape)
                Close(false);
            else if (k == key::Up || k == key::Down)
                list->SetCurrent(std::clamp(list->Current() + (k == key::Up ? -1 : 1), 0, list->Count() - 1));
            return;
        }
        if (toggle) {
            Open();
            return;
        }
        if (k == key::Up || k == key::Down || k == key::Home || k == key::End || k == key::PageUp ||
            k == key::PageDown) {
            ChangeTo([&](ListBox& l) { MoveDetached(l, k); });
        }
    }

    static void MoveDetached(ListBox& l, uint8_t k)
    {
        const int32_t last = l.Count() - 1;
        const int32_t from = l.Current();
        switch (k) {
        case key::Up: l.SetCurrent(std::max(0, from - 1)); break;
        case key::Down: l.SetCurrent(std::min(last, from + 1)); break;
        case key::Home:
        case key::PageUp: l.SetCurrent(0); break;
        default: l.SetCurrent(last); break;
        }
    }

    void Paint()
    {
        WidgetPaint p(hwnd_);
        DrawContext& dc = p.Dc();
        dc.SelectFont(TextFont());
        const Rect c = p.Client();
        const int button = GetMetrics().scrollBarSize;
        const Rect field{c.left, c.top, c.right - button, c.bottom};
        dc.FillRect(field, SysColorRef(SysColor::Window));
        DrawEdge(dc, field, SysColor::WindowFrame, SysColor::WindowFrame);
        const Rect button3d{c.right - button, c.top, c.right, c.bottom};
        DrawButtonFace(dc, button3d, IsDropped());
        const bool enabled = IsEnabled(hwnd_);
        DrawArrow(dc, button3d, ArrowDir::Down,
                  SysColorRef(enabled ? SysColor::ButtonText : SysColor::GrayText));
        const Rect text = field.Inflate(-2, -2);
        const bool focused = GetFocus() == hwnd_ && !IsDropped();
        if (focused)
            dc.FillRect(text, SysColorRef(SysColor::Highlight));
        const SysColor ink = !enabled  ? SysColor::GrayText
                             : focused ? SysColor::HighlightText
                                       : SysColor::WindowText;
        const Size extent = dc.TextExtent(Text());
        DrawPlainText(dc, {text.left + 1, text.top + (text.Height() - extent.cy) / 2}, Text(),
                      SysColorRef(ink));
        if (focused)
            DrawFocusRect(dc, text);
    }

    Detached items_;
    int32_t madeHeight_ = 0;
    WindowHandle drop_ = 0;
};

// The list of a list box or of a combo box.
ListBox* ListOf(WindowHandle hwnd)
{
    if (auto* combo = FindAs<ComboBox>(hwnd))
        return &combo->Items();
    return FindAs<ListBox>(hwnd);
}

} // namespace

std::unique_ptr<Widget> MakeComboBox(WindowHandle hwnd) { return std::make_unique<ComboBox>(hwnd); }

} // namespace plat::widgets

namespace plat {

using widgets::ListOf;

int32_t AddListString(WindowHandle list, std::string_view text)
{
    auto* l = ListOf(list);
    return l ? l->Add(text) : -1;
}

void ResetList(WindowHandle list)
{
    if (auto* l = ListOf(list)) {
        l->Reset();
        InvalidateRect(list, nullptr, false);
    }
}

int32_t GetListCount(WindowHandle list)
{
    auto* l = ListOf(list);
    return l ? l->Count() : 0;
}

std::string GetListString(WindowHandle list, int32_t index)
{
    auto* l = ListOf(list);
    return l ? l->Item(index) : std::string();
}

void SetListCurrent(WindowHandle list, int32_t index)
{
    if (auto* l = ListOf(list)) {
        l->SetCurrent(index);
        InvalidateRect(list, nullptr, false);
    }
}

int32_t GetListCurrent(WindowHandle list)
{
    auto* l = ListOf(list);
    return l ? l->Current() : -1;
}

int32_t GetListTopIndex(WindowHandle list)
{
    auto* l = ListOf(list);
    return l ? l->Top() : 0;
}

bool IsComboDropped(WindowHandle combo)
{
    auto* c = widgets::FindAs<widgets::ComboBox>(combo);
    return c && c->IsDropped();
}

} // namespace plat
