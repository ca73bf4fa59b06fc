// Push buttons, default push buttons, check boxes and radio buttons. The mark of a check box
// or radio button changes only when the owner sets it; a press and release inside the button,
// or Space on the focused button, clicks it.
#include "platform/Input.h"
#include "platform/widgets/WidgetCore.h"

namespace plat::widgets {
namespace {

constexpr int kMarkSize = 13; // the box of a check mark or radio dot
constexpr int kMarkGap = 4;   // between the box and the caption

class Button : public Widget {
public:
    using Widget::Widget;

    intptr_t Handle(uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        switch (message) {
        case msg::Paint: Paint(); return 0;
        case msg::EraseBackground: return 1;
        case msg::SetFocus:
        case msg::KillFocus:
            if (message == msg::KillFocus)
                SetPushed(false, false);
            Redraw();
            return 0;
        case msg::Enable: Redraw(); return 0;
        case msg::LButtonDown:
        case msg::LButtonDoubleClick:
            SetFocus(hwnd_);
            SetCapture(hwnd_);
            SetPushed(true, true);
            return 0;
        case msg::MouseMove:
            if (tracking_)
                SetPushed(true, GetClientRect(hwnd_).Contains(UnpackPoint(lParam)));
            return 0;
        case msg::LButtonUp:
            if (tracking_) {
                const bool inside = GetClientRect(hwnd_).Contains(UnpackPoint(lParam));
                ReleaseCapture();
                SetPushed(false, false);
                if (inside)
                    Notify(notify::ButtonClicked);
            }
            return 0;
        case msg::KeyDown:
            if (wParam == key::Space && !(lParam & kWasDownBit)) {
                spaceDown_ = true;
                SetPushed(false, true);
            }
            return 0;
        case msg::KeyUp:
            if (wParam == key::Space && spaceDown_) {
                spaceDown_ = false;
                SetPushed(false, false);
                Notify(notify::ButtonClicked);
            }
            return 0;
        default: return Default(message, wParam, lParam);
        }
    }

    void SetText(std::string_view text) override
    {
        text_ = text;
        Redraw();
    }

    bool checked = false;

private:
    uint32_t Kind() const { return GetStyle(hwnd_) & wstyle::ButtonKindMask; }
    bool IsPush() const { return Kind() == 0 || Kind() == wstyle::DefPushButton; }

    void SetPushed(bool tracking, bool pushed)
    {
        tracking_ = tracking;
        if (pushed != pushed_) {
            pushed_ = pushed;
            Redraw();
        }
    }

    void Paint()
    {
        WidgetPaint p(hwnd_);
        DrawContext& dc = p.Dc();
        dc.SelectFont(TextFont());
        if (IsPush())
            PaintPush(dc, p.Client());
        else
            PaintMarked(dc, p.Client());
    }

    void PaintPush(DrawContext& dc, const Rect& client)
    {
        Rect face = client;
        if (Kind() == wstyle::DefPushButton || (pushed_ && GetFocus() == hwnd_)) {
            DrawEdge(dc, face, SysColor::WindowFrame, SysColor::WindowFrame); // the thicker frame
            face = face.Inflate(-1, -1);
        }
        DrawButtonFace(dc, face, pushed_);
        const Size extent = dc.TextExtent(text_);
        const int shift = pushed_ ? 1 : 0;
        const Point at{client.left + (client.Width() - extent.cx) / 2 + shift,
                       client.top + (client.Height() - extent.cy) / 2 + shift};
        DrawCaption(dc, at);
        if (GetFocus() == hwnd_)
            DrawFocusRect(dc, face.Inflate(-3, -3));
    }

    void PaintMarked(DrawContext& dc, const Rect& client)
    {
        const Rgb parentColor = GetSysColor(SysColor::ButtonFace);
        dc.FillRect(client, ColorRef::FromRgb(parentColor.r, parentColor.g, parentColor.b));
        const int top = client.top + (client.Height() - kMarkSize) / 2;
        const Rect box{client.left, top, client.left + kMarkSize, top + kMarkSize};
        const ColorRef inside =
            SysColorRef(pushed_ || !IsEnabled(hwnd_) ? SysColor::ButtonFace : SysColor::Window);
        if (Kind() == wstyle::RadioButton)
            PaintRadio(dc, box, inside);
        else
            PaintCheck(dc, box, inside);
        const Size extent = dc.TextExtent(text_);
        const Point at{box.right + kMarkGap, client.top + (client.Height() - extent.cy) / 2};
        DrawCaption(dc, at);
        if (GetFocus() == hwnd_)
            DrawFocusRect(dc, Intersect(Rect::FromSize(at.x - 1, at.y, extent.cx + 2, extent.cy), client));
    }

    void PaintCheck(DrawContext& dc, const Rect& box, const ColorRef& inside)
    {
        dc.FillRect(box, inside);
        DrawEdge(dc, box, SysColor::ButtonShadow, SysColor::ButtonHighlight);
        DrawEdge(dc, box.Inflate(-1, -1), SysColor::WindowFrame, SysColor::ButtonFace);
        if (!checked)
            return;
        const ColorRef ink = SysColorRef(IsEnabled(hwnd_) ? SysColor::WindowText : SysColor::GrayText);
        // A tick: down three pixels from the left, then up four to the right, three rows thick.
        for (int i = 0; i < 7; ++i) {
            const int x = box.left + 3 + i;
            const int y = box.top + (i < 3 ? 5 + i : 9 - i);
            dc.FillRect({x, y, x + 1, y + 3}, ink);
        }
    }

    void PaintRadio(DrawContext& dc, const Rect& box, const ColorRef& inside)
    {
        dc.SetPen({PenStyle::Solid, 1, SysColorRef(SysColor::ButtonShadow)});
        dc.SetBrush({false, inside});
        dc.Ellipse(box);
        if (!checked)
            return;
        const ColorRef ink = SysColorRef(IsEnabled(hwnd_) ? SysColor::WindowText : SysColor::GrayText);
        dc.SetPen({PenStyle::Solid, 1, ink});
        dc.SetBrush({false, ink});
        dc.Ellipse(box.Inflate(-4, -4));
    }

    void DrawCaption(DrawContext& dc, Point at)
    {
        if (IsEnabled(hwnd_))
            DrawPlainText(dc, at, text_, SysColorRef(SysColor::ButtonText));
        else
            DrawDisabledText(dc, at, text_);
    }

    bool tracking_ = false;
    bool pushed_ = false;
    bool spaceDown_ = false;
};

} // namespace

std::unique_ptr<Widget> MakeButton(WindowHandle hwnd) { return std::make_unique<Button>(hwnd); }

namespace {
Button* FindButton(WindowHandle hwnd) { return FindAs<Button>(hwnd); }
} // namespace

} // namespace plat::widgets

namespace plat {

void SetButtonCheck(WindowHandle button, bool checked)
{
    if (auto* b = widgets::FindButton(button); b && b->checked != checked) {
        b->checked = checked;
        InvalidateRect(button, nullptr, false);
    }
}

bool GetButtonCheck(WindowHandle button)
{
    auto* b = widgets::FindButton(button);
    return b && b->checked;
}
} // namespace plat
