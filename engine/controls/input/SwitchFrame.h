#pragma once
// CSwitchFrame: an engine-drawn on/off switch, a push control that keeps an on state, flips it
// on each click (a release inside) and notifies with the new state in word 3. CRadioFrame: a
// switch in a group of its window (control kind 4): turning one member on turns the group's
// previous choice off, and a click never turns a radio off. Both draw nothing themselves; the
// image switch and image radio button derive from them and draw the state.
//
// Their templates: CTSwitchFrame adds "switchon" to the push control's values, CTRadioFrame
// adds "groupid" after it. Neither is a kind of its own: the image controls make them.
#include <cstdint>

#include "engine/controls/input/PushFrame.h"

class CSwitchFrame : public CPushFrame {
public:
    // Notifies on a release inside; never the default control.
    CSwitchFrame(int32_t controlKind, int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
                 bool on);
    CSwitchFrame(int32_t controlKind, int32_t id, const CPoint& size, int32_t notifyType, CBaseObj* target,
                 bool on);

    // A switch only ever clears its default flag.
    void SetDefault(bool isDefault) override;
    // The click: flips the state (repainted), then one notification, word 3 = the new state.
    void SendNotify() override;
    // Nothing when unchanged. Repaints now with redraw; with notify, turning on notifies
    // (turning off never does).
    virtual void SetOn(bool on, bool redraw, bool notify);

    bool IsOn() const { return on_ != 0; }

protected:
    // The push control's notification with word 3 = the state.
    void NotifyState();

private:
    uint8_t on_ = 0;
};

class CRadioFrame : public CSwitchFrame {
public:
    CRadioFrame(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target, int32_t groupId,
                bool on);
    CRadioFrame(int32_t id, const CPoint& size, int32_t notifyType, CBaseObj* target, int32_t groupId,
                bool on);

    // Leaving a window while chosen leaves its group without a choice; joining one takes the
    // group's choice there, and a radio that joins while on takes over the group.
    void SetOwner(CBaseObj* owner) override;
    // A release inside while holding the capture turns the radio on (or only repaints it) and
    // sends the plain notification in modes 2 and 3, words 2 and 3 as they were.
    void OnMouseUp(bool inside, CMessage& message) override;
    // Turning on turns the group's previous choice off first, then tells the window.
    void SetOn(bool on, bool redraw, bool notify) override;

    int32_t GetGroupId() const override { return groupId_; }
    CWindControl* GetGroupChoice() const override { return chosen_; }
    void SetGroupChoice(CWindControl* control) override { chosen_ = control; }

private:
    // Every member of its group in the window forgets the choice.
    void ClearGroupChoice(CWind& window);

    int32_t groupId_;
    CWindControl* chosen_ = nullptr;
};

// The template of a switch: the push control's values, then "switchon".
class CTSwitchFrame : public CTPushFrame {
public:
    CTSwitchFrame(int32_t kind, CRawParser* parser);

    bool GetSwitchOn() const { return switchOn_ != 0; }

private:
    int16_t switchOn_ = 0;
};

// The template of a radio frame: the switch's values, then "groupid".
class CTRadioFrame : public CTSwitchFrame {
public:
    CTRadioFrame(int32_t kind, CRawParser* parser);

    int32_t GetGroupId() const { return groupId_; }

private:
    int32_t groupId_ = 0;
};
