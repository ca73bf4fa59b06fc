#pragma once
// CPushFrame: the engine-drawn push control, a rectangle pressed with the mouse. It keeps a
// pressed value (0 released, 1 pressed) and notifies its target, as its mode says:
//   1  at the press (the mouse capture is given up at once),
//   2  at a release inside the control,
//   3  at every change of the pressed value while it holds the mouse capture;
// any other mode never notifies. Word 2 of the notification carries the pressed value. It
// draws nothing itself: subclasses and children show the pressed state. It never takes the
// key focus, but it can be its window's default control, which Enter presses.
//
// Template kind 0x0f makes a plain one; CTPushFrame adds "whentosend" to the control values.
#include <cstdint>

#include "engine/controls/input/InputFrame.h"

class CPushFrame : public CInputFrame {
public:
    static constexpr int32_t kTemplateKind = 0x0f;
    enum : int32_t { kSendOnPress = 1, kSendOnRelease = 2, kSendOnChange = 3 };

    CPushFrame(int32_t controlKind, int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
               int32_t whenToSend, bool isDefault);
    CPushFrame(int32_t controlKind, int32_t id, const CPoint& size, int32_t notifyType, CBaseObj* target,
               int32_t whenToSend, bool isDefault);

    // Slot 6: disabling also releases a pressed control, without a notification.
    void Enable(bool enable, bool redraw = false, bool children = false) override;
    // Slot 30: a default control that is shown again claims its window's default again.
    void Show(bool recurse) override;
    // Slot 31: becomes (or stops being) its window's default control.
    void SetDefault(bool isDefault) override;
    // Slot 32: word 2 = the pressed value, then the notification.
    void SendNotify() override;
    // Slots 40-42.
    void OnMouseDown(bool inside, CMessage& message) override;
    void OnMouseMove(bool inside, CMessage& message) override;
    void OnMouseUp(bool inside, CMessage& message) override;
    // The window's Enter and Esc presses show the control pressed through its state.
    void SetPressedLook(bool pressed) override { SetState(pressed ? 1 : 0); }

    // Slot 44.
    virtual void SetWhenToSend(int32_t mode) { whenToSend_ = mode; }
    // Slot 45: a changed value repaints a control that draws (not transparent, or with
    // content of its own) and, in mode 3 while it holds the capture, notifies.
    virtual void SetState(int32_t value);

    int32_t GetState() const { return pressed_; }
    int32_t GetWhenToSend() const { return whenToSend_; }

    // The registrar's factories of kind 0x0f.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

protected:
    // Stores the pressed value alone.
    void StoreState(int32_t value) { pressed_ = value; }

private:
    void Init(int32_t whenToSend, bool isDefault);

    int32_t pressed_ = 0;
    int32_t whenToSend_ = 0;
};

// The template of a push control.
class CTPushFrame : public CTInputFrame {
public:
    CTPushFrame(int32_t kind, CRawParser* parser);

    int16_t GetWhenToSend() const { return whenToSend_; }

private:
    int16_t whenToSend_ = 0;
};
