#pragma once
// CControl: the base of the controls that are platform widgets (child windows of the classes
// "BUTTON", "SCROLLBAR", "LISTBOX", "COMBOBOX" and "EDIT"). The engine keeps the frame's
// rectangle, visibility, enabled state, tab order and notification as for any control; the
// control mirrors them onto its widget, puts its own procedure in front of the widget's so
// that the engine sees the characters typed into it first, and turns the widget's command
// notifications into its engine notification.
//
// The widget exists only while the control is in a window: it is made (hidden) when the
// control joins one and destroyed when it leaves. The frame is a direct frame (it is left out
// of the window's off-screen painting), so the window's paint pass calls DrawContent, which
// shows the widget; the widget paints itself.
//
// The control keeps a 16-bit value with a minimum and a maximum (a check state, a scroll
// position, a current item). CTControl is its template: "fontid" after the control values.
#include <cstdint>
#include <string>

#include "engine/controls/input/InputFrame.h"
#include "platform/Window.h"

class CStr;

class CControl : public CInputFrame {
public:
    // Control kinds of the widget controls besides the window's own (edit field 8, radio
    // button 12, push button 14) and the scroll bar (6) and list box (9).
    enum : int32_t {
        kKindCombo = 10,
        kKindCheckBox = 13,
    };

    // Hidden from the off-screen painting, drawing its own content; value, minimum and
    // maximum 0; no widget yet.
    CControl(int32_t controlKind, int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
             int16_t fontId);
    // The widget goes first.
    ~CControl() override;

    // Joining a window makes the widget and enters the window's list; leaving destroys it.
    // The window's kept mask of direct frames is dropped around both.
    void SetOwner(CBaseObj* owner) override;
    // Shows or hides the widget by the frame's shown state, sets its enabled state and lets
    // it repaint over the engine's drawing. The environment is not used.
    void DrawContent(CDrawEnv* env, const CRect& clip) override;
    void Hide(bool recurse, bool erase) override;
    // Moves the widget by the same amount (without repainting).
    void MoveBy(int16_t dh, int16_t dv, int16_t dz) override;
    // Resizes the widget so that its client area gets the size.
    void SetSize(int16_t width, int16_t height) override;
    void SetSizePt(const CPoint& size) override { CControl::SetSize(size.GetH(), size.GetV()); }
    void Show(bool recurse) override;
    plat::WindowHandle GetHwnd() const override { return hwnd_; }
    void DestroyWnd() override;
    // Stores the state and enables or disables the widget.
    void EnableWnd(bool enable) override;
    void CreateWnd() override;
    // The widget handles the mouse itself.
    void OnMouseDown(bool inside, CMessage& message) override;
    // The widget's command: a check box flips its value first; then the notification.
    void OnCommand(plat::WindowHandle window, uint32_t id, plat::WindowHandle control,
                   uint32_t code) override;

    // The value and its bounds. The value is kept within minimum..maximum; moving one bound
    // past the other drags the other along.
    virtual void SetMax(int16_t maximum);
    virtual void SetMin(int16_t minimum);
    virtual void SetValue(int16_t value);
    // Moves the window's focus to the next (or previous) control; 1 when the widget's parent
    // is no engine window, else 0.
    virtual int32_t MoveFocus(bool backwards);
    // Tab moves the focus (backwards with Shift held); 1 for every other key.
    virtual int32_t OnKey(int32_t key);
    // The procedure in front of the widget's own. A character goes to the window's key
    // handler first and reaches the widget only when the window's focus control wants it (or
    // no control has the focus); everything else goes straight to the widget.
    virtual intptr_t WndProc(plat::WindowHandle hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam);

    // The control of a widget, or null.
    static CControl* FromHwnd(plat::WindowHandle hwnd);
    // The procedure put in front of every control's widget: the control's WndProc, 0 for a
    // widget that belongs to no control.
    static intptr_t ControlWndProc(plat::WindowHandle hwnd, uint32_t message, uintptr_t wParam,
                                   intptr_t lParam);

    int16_t GetValue() const { return value_; }
    int16_t GetMin() const { return min_; }
    int16_t GetMax() const { return max_; }
    int16_t GetFontId() const { return fontId_; }
    void SetFontId(int16_t id) { fontId_ = id; }
    uint32_t GetWndStyle() const { return style_; }

protected:
    void SetWndClass(const char* name) { className_ = name; }
    void SetWndStyle(uint32_t style) { style_ = style; }
    // Stores the value alone (no clamping, no widget).
    void StoreValue(int16_t value) { value_ = value; }
    // The rectangle the widget is made in: the drawn rectangle.
    virtual CRect WidgetRect() const { return GetDrawnRect(); }
    // Gives the widget the engine font of the control's font id; answers false (the widget's
    // font unchanged) when the font table lacks it.
    bool ApplyFont();
    // A copy of the text converted through the character map of the control's font.
    std::string MappedText(const CStr& text) const;
    // Passes the message on to the widget's own procedure.
    intptr_t CallPrevious(plat::WindowHandle hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam);
    bool IsCheckKind() const
    {
        return GetControlKind() == kKindCheckBox || GetControlKind() == kKindNativeRadio;
    }

private:
    int16_t value_ = 0;
    int16_t min_ = 0;
    int16_t max_ = 0;
    int16_t fontId_;
    const char* className_ = "";
    uint32_t style_ = 0;
    plat::WindowHandle hwnd_ = 0;
    plat::WindowProc previous_;
};

// The template of a widget control: "fontid" after the control values. Applying it keeps the
// control out of the off-screen painting, as the constructor does.
class CTControl : public CTInputFrame {
public:
    CTControl(int32_t kind, CRawParser* parser);

    void ApplyTo(CFrame* object) override;

    int16_t GetFontId() const { return fontId_; }

private:
    int16_t fontId_ = 0;
};
