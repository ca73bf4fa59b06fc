// The widget records, their class procedure, subclassing, notifications and the shared look.
#include "platform/widgets/WidgetCore.h"

#include <map>

#include "platform/Desktop.h"
#include "platform/widgets/DrawnDialogs.h"

namespace plat {
namespace widgets {

namespace {

std::map<WindowHandle, std::unique_ptr<Widget>>& Records()
{
    static std::map<WindowHandle, std::unique_ptr<Widget>> records;
    return records;
}

std::map<std::string, WidgetFactory>& Factories()
{
    static std::map<std::string, WidgetFactory> factories;
    return factories;
}

// The widget's own procedure, as subclassing hands it out.
intptr_t OwnProc(WindowHandle hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    Widget* w = FindWidget(hwnd);
    if (!w)
        return DefaultWindowProc(hwnd, message, wParam, lParam);
    const intptr_t answer = w->Handle(message, wParam, lParam);
    if (message == msg::Destroy)
        Records().erase(hwnd);
    return answer;
}

intptr_t ClassProc(const std::string& className, WindowHandle hwnd, uint32_t message, uintptr_t wParam,
                   intptr_t lParam)
{
    if (message == msg::Create) {
        auto found = Factories().find(className);
        if (found == Factories().end())
            return -1;
        Records()[hwnd] = found->second(hwnd);
    }
    Widget* w = FindWidget(hwnd);
    if (w && w->front) {
        const WindowProc front = w->front; // the procedure may replace itself while it runs
        return front(hwnd, message, wParam, lParam);
    }
    return OwnProc(hwnd, message, wParam, lParam);
}

} // namespace

intptr_t Widget::Default(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return DefaultWindowProc(hwnd_, message, wParam, lParam);
}

FontHandle Widget::TextFont() const { return font ? font : GetStockFont(StockFont::System); }

void Widget::Notify(uint32_t code)
{
    const WindowHandle target = notifyTarget ? notifyTarget : GetParent(hwnd_);
    SendWindowMessage(target, msg::Command, static_cast<uintptr_t>(code) << 16, static_cast<intptr_t>(hwnd_));
}

void RegisterWidgetClass(const char* name, uint32_t classStyle, WidgetFactory factory)
{
    Factories()[name] = std::move(factory);
    WindowClass cls;
    cls.name = name;
    cls.style = classStyle;
    const std::string key = name;
    cls.proc = [key](WindowHandle h, uint32_t m, uintptr_t w, intptr_t l) {
        return ClassProc(key, h, m, w, l);
    };
    RegisterWindowClass(cls);
}

Widget* FindWidget(WindowHandle hwnd)
{
    auto found = Records().find(hwnd);
    return found == Records().end() || !IsWindow(hwnd) ? nullptr : found->second.get();
}

intptr_t SendToWidget(WindowHandle hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return SendWindowMessage(hwnd, message, wParam, lParam);
}

void ResetWidgetRecords()
{
    Records().clear();
    ResetClipboard();
    ResetDialogInput();
}

ColorRef SysColorRef(SysColor color)
{
    const Rgb c = GetSysColor(color);
    return ColorRef::FromRgb(c.r, c.g, c.b);
}

WidgetPaint::WidgetPaint(WindowHandle hwnd) : hwnd_(hwnd), paint_(BeginPaint(hwnd))
{
    Surface& target = paint_.target.surface ? *paint_.target.surface : dummy_;
    dc_ = std::make_unique<DrawContext>(target);
    dc_->SelectPalette(GetDesktopPalette());
    dc_->SetViewportOrigin(paint_.target.origin);
    clip_ = Region(paint_.target.client.Offset(paint_.target.origin.x, paint_.target.origin.y));
    dc_->SetClipRegion(&clip_);
    dc_->SetBkMode(BkMode::Transparent);
}

WidgetPaint::~WidgetPaint() { EndPaint(hwnd_, paint_); }

void DrawEdge(DrawContext& dc, const Rect& r, SysColor topLeft, SysColor bottomRight)
{
    if (r.Empty())
        return;
    const ColorRef a = SysColorRef(topLeft);
    const ColorRef b = SysColorRef(bottomRight);
    dc.FillRect({r.left, r.top, r.right - 1, r.top + 1}, a);
    dc.FillRect({r.left, r.top, r.left + 1, r.bottom - 1}, a);
    dc.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, b);
    dc.FillRect({r.right - 1, r.top, r.right, r.bottom}, b);
}

void DrawButtonFace(DrawContext& dc, const Rect& r, bool pressed)
{
    dc.FillRect(r, SysColorRef(SysColor::ButtonFace));
    if (pressed) {
        DrawEdge(dc, r, SysColor::ButtonShadow, SysColor::ButtonShadow);
        return;
    }
    DrawEdge(dc, r, SysColor::ButtonHighlight, SysColor::WindowFrame);
    DrawEdge(dc, r.Inflate(-1, -1), SysColor::ButtonFace, SysColor::ButtonShadow);
}

void DrawFocusRect(DrawContext& dc, const Rect& r)
{
    const ColorRef ink = SysColorRef(SysColor::WindowText);
    for (int x = r.left; x < r.right; x += 2) {
        dc.FillRect({x, r.top, x + 1, r.top + 1}, ink);
        dc.FillRect({x, r.bottom - 1, x + 1, r.bottom}, ink);
    }
    for (int y = r.top; y < r.bottom; y += 2) {
        dc.FillRect({r.left, y, r.left + 1, y + 1}, ink);
        dc.FillRect({r.right - 1, y, r.right, y + 1}, ink);
    }
}

void DrawArrow(DrawContext& dc, const Rect& r, ArrowDir dir, const ColorRef& color)
{
    // Four rows of a triangle, 7 pixels at its base.
    const int cx = r.left + r.Width() / 2;
    const int cy = r.top + r.Height() / 2;
    for (int i = 0; i < 4; ++i) {
        const int half = 3 - i;
        switch (dir) {
        case ArrowDir::Up: dc.FillRect({cx - i, cy - 2 + i, cx + i + 1, cy - 1 + i}, color); break;
        case ArrowDir::Down: dc.FillRect({cx - half, cy - 2 + i, cx + half + 1, cy - 1 + i}, color); break;
        case ArrowDir::Left: dc.FillRect({cx - 2 + i, cy - i, cx - 1 + i, cy + i + 1}, color); break;
        case ArrowDir::Right: dc.FillRect({cx - 2 + i, cy - half, cx - 1 + i, cy + half + 1}, color); break;
        }
    }
}

void DrawPlainText(DrawContext& dc, Point p, std::string_view text, const ColorRef& color)
{
    dc.SetBkMode(BkMode::Transparent);
    dc.SetTextColor(color);
    dc.TextOut(p, text);
}

void DrawDisabledText(DrawContext& dc, Point p, std::string_view text)
{
    DrawPlainText(dc, {p.x + 1, p.y + 1}, text, SysColorRef(SysColor::ButtonHighlight));
    DrawPlainText(dc, p, text, SysColorRef(SysColor::GrayText));
}

uint8_t FoldCase(uint8_t c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<uint8_t>(c - 0x20);
    return c;
}

} // namespace widgets

WindowProc SubclassWidget(WindowHandle widget, WindowProc proc)
{
    widgets::Widget* w = widgets::FindWidget(widget);
    if (!w)
        return {};
    WindowProc previous = w->front ? w->front : WindowProc(&widgets::OwnProc);
    w->front = std::move(proc);
    return previous;
}

void SetWidgetFont(WindowHandle widget, FontHandle font)
{
    if (widgets::Widget* w = widgets::FindWidget(widget)) {
        w->font = std::move(font);
        w->Relayout();
        InvalidateRect(widget, nullptr, false);
    }
}

FontHandle GetWidgetFont(WindowHandle widget)
{
    widgets::Widget* w = widgets::FindWidget(widget);
    return w ? w->font : nullptr;
}

void SetWidgetText(WindowHandle widget, std::string_view text)
{
    if (widgets::Widget* w = widgets::FindWidget(widget))
        w->SetText(text);
}

std::string GetWidgetText(WindowHandle widget)
{
    widgets::Widget* w = widgets::FindWidget(widget);
    return w ? w->Text() : std::string();
}

int32_t GetWidgetTextLength(WindowHandle widget)
{
    return static_cast<int32_t>(GetWidgetText(widget).size());
}

} // namespace plat
