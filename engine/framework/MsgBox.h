#pragma once
// The one place the program shows a message box. A single instance, made by the program's
// entry point before the application, registers itself globally; diagnostics, start-up and
// error paths show their boxes through it and get back a small engine code for the button
// that closed the box.
#include <cstdint>

#include "platform/MessageQueue.h"

class CMsgBox {
public:
    // Icon kinds; any other value shows no icon.
    enum : int16_t { kIconStop = 0, kIconExclamation = 1, kIconInformation = 2, kIconQuestion = 3 };
    // Button sets; any other value shows OK alone.
    enum : int16_t { kButtonsOk = 0, kButtonsOkCancel = 1, kButtonsYesNo = 2, kButtonsYesNoCancel = 3 };
    // Results.
    enum : int16_t { kResultOk = 0, kResultCancel = 1, kResultYes = 2, kResultNo = 3, kResultOther = -1 };

    CMsgBox();
    virtual ~CMsgBox();
    CMsgBox(const CMsgBox&) = delete;
    CMsgBox& operator=(const CMsgBox&) = delete;

    // Shows a task-modal box. The default button is 1-based (2 or 3 select the second or
    // third button; anything else the first). A null text or caption shows as empty.
    int16_t Show(const char* text, const char* caption, int16_t icon, int16_t buttons,
                 int16_t defaultButton) const;
    // The same without an instance (no owner window).
    static int16_t ShowBox(plat::WindowHandle owner, const char* text, const char* caption, int16_t icon,
                           int16_t buttons, int16_t defaultButton);

    void SetOwnerWnd(plat::WindowHandle owner) { owner_ = owner; }
    plat::WindowHandle GetOwnerWnd() const { return owner_; }

private:
    plat::WindowHandle owner_ = 0;
};

// The registered instance, or null.
CMsgBox* GetMsgBox();
// Shows through the registered instance, or without an owner when there is none.
int16_t ShowMessageBox(const char* text, const char* caption, int16_t icon, int16_t buttons,
                       int16_t defaultButton);
// Forgets the registered instance (tests).
void ResetMsgBox();
