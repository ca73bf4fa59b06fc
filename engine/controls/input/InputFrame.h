#pragma once
// CInputFrame: the base of every control the user operates. Over the graphic object it adds a
// place in its window's tab-order list (with the key focus), routing of the engine mouse
// message (-1) to three mouse operations, an enabled/active state that controls with a window
// of their own mirror, and one notification message sent at once to a target when the user
// operates the control.
//
// The notification carries the template's "mssgtype" as its id, "usr1" and "usr2" in words 0
// and 1; subclasses fill words 2 to 5 just before sending (push controls the pressed value in
// word 2, range controls the value in word 3, scroll bars a reason in word 4).
//
// A control joins its window's control list when its owner is set and leaves it when the
// owner is cleared; the live-object registration follows, so it receives messages only while
// attached. CTInputFrame is its template: "taborder", "notifywhoid", "mssgtype", "usr1",
// "usr2" after the frame values.
#include <cstdint>
#include <memory>

#include "engine/controls/TFrame.h"
#include "engine/controls/WindControl.h"
#include "engine/framework/Message.h"

class CInputFrame : public CWindControl {
public:
    // The object kind of every control.
    static constexpr uint32_t kKind = 1;
    // Control kinds the creators give.
    enum : int32_t {
        kKindPush = 1,
        kKindSpin = 3,
        kKindScrollBar = 6,
        kKindListBox = 9,
    };
    // Word 2 of the mouse message (-1).
    enum : int32_t { kMouseRelease = 0, kMousePress = 1, kMouseMove = 2 };

    // Transparent and taking input; tab order -1, input mode 0, active. The target is the
    // object the notification goes to (see SetNotifyTarget).
    CInputFrame(int32_t controlKind, int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target);
    CInputFrame(int32_t controlKind, int32_t id, const CPoint& size, int32_t notifyType, CBaseObj* target);
    // Leaves its parent (and so its window's list) first.
    ~CInputFrame() override;

    // Slot 1: attaching registers the control, makes its window (CreateWnd) and enters the
    // window's list by tab order; detaching undoes it in reverse. A control moved straight to
    // another window leaves the old one first.
    void SetOwner(CBaseObj* owner) override;
    // Slot 4: only the mouse message (-1) is handled here, answered true whatever its kind;
    // every other message answers false so subclasses can pass them on.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    // Slot 6: nothing when the state is unchanged; otherwise gives up a held mouse capture
    // first, then enables, sets the active state and redraws (now, with redraw).
    void Enable(bool enable, bool redraw = false, bool children = false) override;

    // CWindControl.
    int32_t GetControlKind() const override { return controlKind_; }
    int16_t GetTabOrder() const override { return tabOrder_; }
    bool IsDefault() const override { return isDefault_ != 0; }
    uint32_t GetInputMode() const override { return inputMode_; }
    // Slot 31: a plain control never becomes the default control.
    void SetDefault(bool isDefault) override;
    // Slot 32: delivers the notification at once, with this control as its sender.
    void SendNotify() override;
    // Slot 35: a plain control takes no keys.
    bool WantsKey(int32_t key) override;
    // Slot 43: stores the flag.
    void SetHasFocus(bool hasFocus) override { hasFocus_ = hasFocus ? 1 : 0; }

    // Slot 33: stores the request; the effective state (request and enabled) goes to
    // EnableWnd when it differs from the last one given.
    virtual void SetActive(bool active);
    // Slot 37: the control's own window goes; nothing for an engine-drawn control.
    virtual void DestroyWnd() {}
    // Slot 38: stores the effective state; redraws when the control asks for it.
    virtual void EnableWnd(bool enable);
    // Slot 39: the control's own window is made; nothing for an engine-drawn control.
    virtual void CreateWnd() {}
    // Slots 40-42: a press, move or release of the mouse, inside the control or not.
    virtual void OnMouseDown(bool inside, CMessage& message);
    virtual void OnMouseMove(bool inside, CMessage& message);
    virtual void OnMouseUp(bool inside, CMessage& message);

    // The target: a live object gets the notification itself; a plain key (kind and id)
    // addresses every live object it matches, and the control keeps its own copy of it.
    void SetNotifyTarget(CBaseObj* target);
    void SetNotifyType(int32_t id) { notify_.SetId(id); }
    // Word 0 or 1 of the notification.
    void SetNotifyParam(MsgWord value, int index);
    // Stores the order; an attached control takes its new place in the window's list.
    void SetTabOrder(int16_t order);
    void SetInputMode(uint32_t mode) { inputMode_ = mode; }
    // When set, EnableWnd redraws the control.
    void SetRedrawOnEnable(bool redraw) { redrawOnEnable_ = redraw ? 1 : 0; }

    bool HasFocus() const { return hasFocus_ != 0; }
    bool IsActiveRequested() const { return activeRequested_ != 0; }
    bool IsWndEnabled() const { return wndEnabled_ != 0; }
    bool IsTargetLive() const { return !ownedTarget_; }
    CBaseObj* GetNotifyTarget() const { return target_; }
    CMessage& GetNotifyMessage() { return notify_; }
    // Whether this control holds the engine's mouse capture.
    bool HoldsCapture() const;

protected:
    void StoreDefault(bool isDefault) { isDefault_ = isDefault ? 1 : 0; }

private:
    // Leaves the window it is attached to: unregisters, DestroyWnd, no owner, out of the list.
    void Detach();

    int32_t controlKind_;
    CBaseObj* target_ = nullptr;
    std::unique_ptr<CBaseObj> ownedTarget_; // the copy of a key target
    CMessage notify_;
    int16_t tabOrder_ = -1;
    uint32_t inputMode_ = 0;
    uint8_t hasFocus_ = 0;
    uint8_t activeRequested_ = 1;
    uint8_t wndEnabled_ = 1;
    uint8_t redrawOnEnable_ = 0;
    uint8_t isDefault_ = 0;
};

// The template of a control. It is never a kind of its own: the control templates build on it.
class CTInputFrame : public CTFrame {
public:
    CTInputFrame(int32_t kind, CRawParser* parser);

    // Slot 4: "taborder"; slot 5: "notifywhoid".
    int32_t GetTabOrder() const override { return tabOrder_; }
    int32_t GetNotifyWhoId() const override { return notifyWhoId_; }
    // Slot 8: the frame values, then the notification id and words, last the tab order.
    void ApplyTo(CFrame* object) override;

    int16_t GetMsgType() const { return msgType_; }
    int32_t GetUser1() const { return user1_; }
    int32_t GetUser2() const { return user2_; }

private:
    int16_t tabOrder_ = 0;
    int32_t notifyWhoId_ = 0;
    int16_t msgType_ = 0;
    int32_t user1_ = 0;
    int32_t user2_ = 0;
};
