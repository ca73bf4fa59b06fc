#pragma once
// A modal dialog window built from widgets (not for use outside platform/): it is centred on
// its owner, holds labels and widgets, moves the focus with Tab, presses its default button on
// Enter and cancels on Esc, and runs its own loop until something ends it.
#include <functional>
#include <string>
#include <vector>

#include "platform/DrawContext.h"
#include "platform/MessageBox.h"
#include "platform/Window.h"

namespace plat::widgets {

class DialogBox {
public:
    // A dialog of this client size, hidden until Run.
    DialogBox(WindowHandle owner, const std::string& caption, int width, int height);
    ~DialogBox();
    DialogBox(const DialogBox&) = delete;
    DialogBox& operator=(const DialogBox&) = delete;

    WindowHandle Hwnd() const { return hwnd_; }
    // A widget in the dialog, in tab order.
    WindowHandle Add(const char* className, uint32_t style, const Rect& rect, const std::string& text = "");
    // Text drawn on the dialog's face (left aligned, top at the rectangle's top).
    size_t AddLabel(const Rect& rect, const std::string& text);
    void SetLabel(size_t index, const std::string& text);
    // What is drawn on the face after the labels (icons).
    std::function<void(DrawContext&)> paintExtra;
    // A widget's notification: msg::Command (code) or a scroll message's code.
    std::function<void(WindowHandle widget, uint32_t code)> onCommand;
    void SetDefault(WindowHandle button) { defaultButton_ = button; }
    void SetCancel(WindowHandle button) { cancelButton_ = button; }
    // Whether Esc ends a dialog that has no cancel button (a message box without one ignores it).
    void SetEscEnds(bool ends) { escEnds_ = ends; }
    void SetFocusTo(WindowHandle widget) { firstFocus_ = widget; }

    // Shows the dialog and runs its loop until End is called, answering End's value; a loop
    // that runs out of input, Esc without a cancel button and a closed dialog answer
    // cancelValue. Messages posted to the program meanwhile are posted again afterwards.
    int Run(int cancelValue);
    void End(int value);

    // Text drawing on the face: the dialog font, its line height, and the width of a text.
    static FontHandle Font();
    static int LineHeight();
    static int TextWidth(std::string_view text);

    // The dialog window's procedure.
    intptr_t Dispatch(uint32_t message, uintptr_t wParam, intptr_t lParam);

private:
    bool TakeKey(const PlatMessage& m);
    void Paint();
    void Press(WindowHandle button);
    void MoveFocus(int step);

    struct Label {
        Rect rect;
        std::string text;
    };
    WindowHandle owner_;
    WindowHandle hwnd_ = 0;
    std::vector<WindowHandle> controls_;
    std::vector<Label> labels_;
    WindowHandle defaultButton_ = 0;
    WindowHandle cancelButton_ = 0;
    WindowHandle firstFocus_ = 0;
    WindowHandle lastFocus_ = 0;
    bool escEnds_ = true;
    bool ended_ = false;
    int result_ = 0;
    int cancelValue_ = 0;
};

// A message box of its own inside a dialog (a question before replacing a file, a report of a
// name that cannot be used), answered the same way as the service's.
MbResult ShowDrawnBox(WindowHandle owner, const std::string& caption, const std::string& text, MbIcon icon,
                      MbButtons buttons, int defaultButton);

} // namespace plat::widgets
