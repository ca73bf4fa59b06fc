#pragma once
// What every widget shares (not for use outside platform/): the record kept per widget
// window, the class procedure that finds it, the notifications to the parent and the
// drawing of the common look.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Color.h"
#include "platform/DrawContext.h"
#include "platform/Metrics.h"
#include "platform/Window.h"
#include "platform/widgets/Widgets.h"

namespace plat::widgets {

class Widget {
public:
    explicit Widget(WindowHandle hwnd) : hwnd_(hwnd) {}
    virtual ~Widget() = default;
    // The widget's own procedure; what it does not handle goes to Default.
    virtual intptr_t Handle(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    virtual void SetText(std::string_view text) { text_ = text; }
    virtual std::string Text() const { return text_; }
    // Lays the text out again after a change of font or size.
    virtual void Relayout() {}

    WindowHandle Hwnd() const { return hwnd_; }
    WindowProc front; // a procedure put in front by subclassing; empty when none
    FontHandle font;  // the font set on the widget; nullptr for the system font

protected:
    intptr_t Default(uint32_t message, uintptr_t wParam, intptr_t lParam);
    // The font text is drawn and measured in.
    FontHandle TextFont() const;
    void Redraw() { InvalidateRect(hwnd_, nullptr, false); }
    // msg::Command to the parent (or the widget the notifications are redirected to).
    void Notify(uint32_t code);
    bool HasStyle(uint32_t bits) const { return (GetStyle(hwnd_) & bits) != 0; }

    WindowHandle hwnd_;
    std::string text_;

public:
    WindowHandle notifyTarget = 0; // 0: the parent
};

using WidgetFactory = std::function<std::unique_ptr<Widget>(WindowHandle hwnd)>;
void RegisterWidgetClass(const char* name, uint32_t classStyle, WidgetFactory factory);

Widget* FindWidget(WindowHandle hwnd);
template <class T> T* FindAs(WindowHandle hwnd) { return dynamic_cast<T*>(FindWidget(hwnd)); }
// Sends a message through the widget's front procedure, as a message from outside arrives.
intptr_t SendToWidget(WindowHandle hwnd, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);

// The widgets of each class.
std::unique_ptr<Widget> MakeButton(WindowHandle hwnd);
std::unique_ptr<Widget> MakeScrollBar(WindowHandle hwnd);
std::unique_ptr<Widget> MakeListBox(WindowHandle hwnd);
std::unique_ptr<Widget> MakeComboBox(WindowHandle hwnd);
std::unique_ptr<Widget> MakeEdit(WindowHandle hwnd);

// Forgets every widget record (the window system forgets its windows), the clipboard's text
// and the input queued for drawn dialogs.
void ResetWidgetRecords();

// Whether a window is shown itself, whether or not its parents are (a widget's own scroll bar
// counts for its layout while the widget is still hidden).
inline bool IsShown(WindowHandle hwnd) { return (GetStyle(hwnd) & style::Visible) != 0; }

// The look.
ColorRef SysColorRef(SysColor color);

// Painting a widget: begins the paint, and gives a context drawing in client coordinates with
// the desktop palette, clipped to the client area.
class WidgetPaint {
public:
    explicit WidgetPaint(WindowHandle hwnd);
    ~WidgetPaint();
    WidgetPaint(const WidgetPaint&) = delete;
    WidgetPaint& operator=(const WidgetPaint&) = delete;
    DrawContext& Dc() { return *dc_; }
    Rect Client() const { return paint_.target.client; }

private:
    WindowHandle hwnd_;
    PaintContext paint_;
    Surface dummy_;
    std::unique_ptr<DrawContext> dc_;
    Region clip_;
};

// A raised or sunken frame: the first colour along the top and left, the second along the
// bottom and right.
void DrawEdge(DrawContext& dc, const Rect& r, SysColor topLeft, SysColor bottomRight);
// The raised frame of a button face (outer shadow and highlight rings), pressed or not.
void DrawButtonFace(DrawContext& dc, const Rect& r, bool pressed);
// A dotted rectangle.
void DrawFocusRect(DrawContext& dc, const Rect& r);
enum class ArrowDir { Up, Down, Left, Right };
// A small filled triangle centred in the rectangle.
void DrawArrow(DrawContext& dc, const Rect& r, ArrowDir dir, const ColorRef& color);
// Text in a colour, transparent background, at p.
void DrawPlainText(DrawContext& dc, Point p, std::string_view text, const ColorRef& color);
// Text with a grey embossed look of a disabled control.
void DrawDisabledText(DrawContext& dc, Point p, std::string_view text);

// Case-blind comparison of a character's first letter, in Windows-1252 letters.
uint8_t FoldCase(uint8_t c);

} // namespace plat::widgets
