#include "platform/widgets/DialogBox.h"

#include <algorithm>

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Files.h"
#include "platform/Input.h"
#include "platform/Platform.h"
#include "platform/widgets/DrawnDialogs.h"
#include "platform/widgets/WidgetCore.h"

namespace plat::widgets {
namespace {

constexpr const char* kDialogClass = "QmDrawnDialog";

void RegisterDialogClass()
{
    WindowClass cls;
    cls.name = kDialogClass;
    cls.proc = [](WindowHandle h, uint32_t m, uintptr_t w, intptr_t l) -> intptr_t {
        if (auto* box = static_cast<DialogBox*>(GetWindowObject(h)))
            return box->Dispatch(m, w, l);
        return DefaultWindowProc(h, m, w, l);
    };
    RegisterWindowClass(cls); // already there after the first dialog since the last reset
}

// The outer rectangle of a dialog centred on its owner (or on the screen), kept on the screen.
Rect CentredRect(WindowHandle owner, int width, int height, uint32_t style, uint32_t exStyle)
{
    const Rect outer = OuterRectForClient({0, 0, width, height}, style, exStyle, false);
    const Metrics m = GetMetrics();
    const Rect around =
        IsWindow(owner) ? GetWindowRect(GetTopLevel(owner)) : Rect{0, 0, m.screenWidth, m.screenHeight};
    int x = around.left + (around.Width() - outer.Width()) / 2;
    int y = around.top + (around.Height() - outer.Height()) / 2;
    x = std::clamp(x, 0, std::max(0, m.screenWidth - outer.Width()));
    y = std::clamp(y, 0, std::max(0, m.screenHeight - outer.Height()));
    return Rect::FromSize(x, y, outer.Width(), outer.Height());
}

bool IsPushButton(WindowHandle h)
{
    return NamesEqualNoCase(GetClassName(h), widgetclass::Button) &&
           (GetStyle(h) & wstyle::ButtonKindMask) <= wstyle::DefPushButton;
}

bool IsDroppedCombo(WindowHandle h) { return IsComboDropped(h); }

} // namespace

DialogBox::DialogBox(WindowHandle owner, const std::string& caption, int width, int height)
    : owner_(IsWindow(owner) ? GetTopLevel(owner) : 0)
{
    RegisterDialogClass();
    const uint32_t style = style::Caption | style::SysMenu | style::DialogFrame;
    const uint32_t exStyle = exstyle::DialogModalFrame;
    hwnd_ = CreateWindow(
        {kDialogClass, caption, style, exStyle, CentredRect(owner_, width, height, style, exStyle), owner_});
    SetWindowObject(hwnd_, this);
}

DialogBox::~DialogBox()
{
    if (IsWindow(hwnd_)) {
        SetWindowObject(hwnd_, nullptr);
        DestroyWindow(hwnd_);
    }
}

WindowHandle DialogBox::Add(const char* className, uint32_t style, const Rect& rect, const std::string& text)
{
    const WindowHandle h =
        CreateWindow({className, text, style::Child | style::Visible | style, 0, rect, hwnd_});
    SetWidgetText(h, text);
    controls_.push_back(h);
    return h;
}

size_t DialogBox::AddLabel(const Rect& rect, const std::string& text)
{
    labels_.push_back({rect, text});
    return labels_.size() - 1;
}

void DialogBox::SetLabel(size_t index, const std::string& text)
{
    if (index < labels_.size() && labels_[index].text != text) {
        labels_[index].text = text;
        InvalidateRect(hwnd_, &labels_[index].rect, false);
    }
}

FontHandle DialogBox::Font() { return GetStockFont(StockFont::System); }

int DialogBox::LineHeight()
{
    const FontHandle f = Font();
    return f ? std::max(1, f->Metrics().height) : 16;
}

int DialogBox::TextWidth(std::string_view text)
{
    const FontHandle f = Font();
    return f ? f->TextWidth(text) : static_cast<int>(text.size()) * 8;
}

intptr_t DialogBox::Dispatch(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case msg::Paint: Paint(); return 0;
    case msg::EraseBackground: return 1;
    case msg::Command:
        if (onCommand && lParam)
            onCommand(static_cast<WindowHandle>(lParam), HighWord(wParam));
        return 0;
    case msg::Activate:
        if (LowWord(wParam) != activate::Inactive) {
            const WindowHandle to = IsWindow(lastFocus_) ? lastFocus_ : firstFocus_;
            SetFocus(IsWindow(to) ? to : hwnd_);
        } else if (GetFocus() && GetTopLevel(GetFocus()) == hwnd_) {
            lastFocus_ = GetFocus();
        }
        return 0;
    case msg::Close: End(cancelValue_); return 0;
    default: return DefaultWindowProc(hwnd_, message, wParam, lParam);
    }
}

void DialogBox::Paint()
{
    WidgetPaint p(hwnd_);
    DrawContext& dc = p.Dc();
    dc.FillRect(p.Client(), SysColorRef(SysColor::ButtonFace));
    dc.SelectFont(Font());
    for (const Label& l : labels_)
        DrawPlainText(dc, l.rect.TopLeft(), l.text, SysColorRef(SysColor::ButtonText));
    if (paintExtra)
        paintExtra(dc);
}

void DialogBox::Press(WindowHandle button)
{
    if (IsWindow(button) && IsEnabled(button) && onCommand)
        onCommand(button, notify::ButtonClicked);
}

void DialogBox::MoveFocus(int step)
{
    std::vector<WindowHandle> stops;
    for (WindowHandle h : controls_) {
        if (IsVisible(h) && IsEnabled(h))
            stops.push_back(h);
    }
    if (stops.empty())
        return;
    auto at = std::find(stops.begin(), stops.end(), GetFocus());
    const int n = static_cast<int>(stops.size());
    const int from = at == stops.end() ? (step > 0 ? -1 : 0) : static_cast<int>(at - stops.begin());
    SetFocus(stops[static_cast<size_t>(((from + step) % n + n) % n)]);
}

bool DialogBox::TakeKey(const PlatMessage& m)
{
    if (!IsWindow(m.window) || GetTopLevel(m.window) != hwnd_)
        return false;
    const WindowHandle focus = GetFocus();
    if (m.message == msg::Char)
        return m.wParam == 13 || m.wParam == 27 || m.wParam == 9; // their keys were taken
    if (m.message != msg::KeyDown || IsDroppedCombo(focus))
        return false;
    switch (m.wParam) {
    case key::Enter: Press(IsPushButton(focus) ? focus : defaultButton_); return true;
    case key::Escape:
        if (IsWindow(cancelButton_))
            Press(cancelButton_);
        else if (escEnds_)
            End(cancelValue_);
        return true;
    case key::Tab: MoveFocus(IsKeyDown(key::Shift) ? -1 : 1); return true;
    default: return false;
    }
}

int DialogBox::Run(int cancelValue)
{
    cancelValue_ = cancelValue;
    ended_ = false;
    const bool ownerWasDisabled = owner_ ? EnableWindow(owner_, false) : true;
    ShowWindow(hwnd_, ShowCommand::Show);
    ActivateWindow(hwnd_);
    SetFocus(IsWindow(firstFocus_) ? firstFocus_ : hwnd_);
    std::vector<PlatMessage> forProgram;
    while (!ended_ && IsWindow(hwnd_)) {
        PlatMessage m;
        if (PeekWindowMessage(m, true)) {
            if (m.window == 0)
                forProgram.push_back(m);
            else if (!TakeKey(m))
                DispatchWindowMessage(m);
            continue;
        }
        if (RunDialogInputStep())
            continue;
        if (!GetDisplay() || GetBackend() == Backend::Null) {
            End(cancelValue_); // headless and nothing more to do: no test can hang here
            break;
        }
        WaitWindowMessage(GetClock().NowMs() + 1000);
    }
    if (!ended_)
        result_ = cancelValue_;
    if (owner_ && !ownerWasDisabled)
        EnableWindow(owner_, true);
    ShowWindow(hwnd_, ShowCommand::Hide);
    if (IsWindow(owner_))
        ActivateWindow(owner_);
    for (const PlatMessage& m : forProgram)
        PostWindowMessage(0, m.message, m.wParam, m.lParam);
    return result_;
}

void DialogBox::End(int value)
{
    if (ended_)
        return;
    ended_ = true;
    result_ = value;
}

} // namespace plat::widgets
