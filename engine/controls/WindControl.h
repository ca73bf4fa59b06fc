#pragma once
// CWindControl: a control (an input object the user operates) as its window sees it. The
// window keeps its controls in tab order, moves the key focus among them, presses the
// default and cancel controls for Enter and Esc, keeps the choice of grouped controls, and
// hands native notifications to them. Every control derives from this class; the control
// base adds its notification, mouse handling and enabling.
#include <cstdint>

#include "engine/controls/Frame.h"
#include "platform/MessageQueue.h"

class CWindControl : public CFrame {
public:
    // Control kinds the window treats specially.
    enum : int32_t {
        kKindRadioFrame = 4,    // grouped choice
        kKindEditField = 8,     // gets -34 when Tab gives it the focus
        kKindNativeRadio = 12,  // grouped choice
        kKindNativeButton = 14, // not flashed when pressed by Enter or Esc
    };
    // Input-mode bit: the control can take the key focus.
    static constexpr uint32_t kInputFocusable = 0x2;

    using CFrame::CFrame;

    virtual int32_t GetControlKind() const = 0;
    virtual int16_t GetTabOrder() const = 0;
    // True while the control is its window's default control.
    virtual bool IsDefault() const = 0;
    virtual uint32_t GetInputMode() const = 0;
    // Grouped choice controls (kinds 4 and 12): the group and the current choice of it.
    virtual int32_t GetGroupId() const { return 0; }
    virtual CWindControl* GetGroupChoice() const { return nullptr; }
    virtual void SetGroupChoice(CWindControl*) {}

    // Slot 31: becomes (or stops being) the default control.
    virtual void SetDefault(bool isDefault) = 0;
    // Slot 32: the control's action, as on a click.
    virtual void SendNotify() = 0;
    // Slot 35: whether the control takes this key.
    virtual bool WantsKey(int32_t key) = 0;
    // Slot 36: the control's native window, 0 for one drawn by the engine.
    virtual plat::WindowHandle GetHwnd() const { return 0; }
    // Slot 43: shows or hides the focus.
    virtual void SetHasFocus(bool hasFocus) = 0;
    // Slot 45: the pressed look of a push control.
    virtual void SetPressedLook(bool) {}
    // Slot 47: a native control's command notification.
    virtual void OnCommand(plat::WindowHandle, uint32_t /*id*/, plat::WindowHandle, uint32_t /*code*/) {}
    // Slot 51: a native scroll bar's notification.
    virtual void OnScroll(plat::WindowHandle, uint32_t /*code*/, int32_t /*position*/) {}
    // A native edit field's colour request: sets the field's text and background colours in
    // the colour context and answers its background brush.
    virtual intptr_t OnEditColor(uintptr_t /*colorContext*/) { return 0; }

    // Shown, enabled and focusable.
    bool CanTakeFocus() const { return IsShown() && IsEnabled() && (GetInputMode() & kInputFocusable) != 0; }
    bool IsGrouped() const
    {
        const int32_t kind = GetControlKind();
        return kind == kKindRadioFrame || kind == kKindNativeRadio;
    }
};
