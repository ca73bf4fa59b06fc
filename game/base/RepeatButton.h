#pragma once
// CRepeatButton: an image button that keeps notifying its target while it is held. Word 1 of
// the notification carries the step: the start increment at the press and for the first delay,
// then the increment size, then growing by the increment size every "delay count" ticks up to
// the maximum increment. The spin control's arrows are repeat buttons.
//
// Template kind 0x40: the image button's values, then "idleticks", "delaycount", "startinc",
// "incsize" and "maxinc".
#include <cstdint>

#include "engine/controls/imagectl/ImgBtnWnd.h"

// How a held button repeats: the timer period in game-clock ticks, the periods between step
// changes, and the steps.
struct RepeatSettings {
    int32_t idleTicks = 0;
    int16_t delayCount = 0;
    int32_t startInc = 0;
    int32_t incSize = 0;
    int32_t maxInc = 0;
};

// Reads "idleticks", "delaycount", "startinc", "incsize" and "maxinc", in that order.
RepeatSettings ReadRepeatSettings(CRawParser* parser);

class CRepeatButton : public CImgBtnWnd {
public:
    static constexpr int32_t kTemplateKind = 0x40;

    // Takes the set over (null allowed); word 1 starts as the start increment.
    CRepeatButton(int32_t id, const CPoint& reference, int32_t notifyType, CBaseObj* target,
                  int32_t whenToSend, CImgSet* images, int16_t frameBase, int32_t hMode, int32_t vMode,
                  const RepeatSettings& repeat);

    // The push control's press, then a notification with the start increment and the timer.
    void OnMouseDown(bool inside, CMessage& message) override;
    // Stops repeating, then the push control's release; the step goes back to the start.
    void OnMouseUp(bool inside, CMessage& message) override;
    // One repeat: the step moves on when the countdown runs out, then a notification.
    bool OnTimer() override;

    // The step after `step` once the first delay has passed: one increment more, at most the
    // maximum, summed wider than 32 bits. (The first change always goes to the increment size,
    // kept by a flag rather than by comparing with the start increment, so a start equal to the
    // size, or a step passing the start value again, keeps growing.)
    static int32_t NextStep(int32_t step, const RepeatSettings& repeat);

    const RepeatSettings& GetRepeat() const { return repeat_; }
    int32_t GetStep() { return static_cast<int32_t>(GetNotifyMessage().GetParam(1)); }

    // The registrar's factories of kind 0x40.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

private:
    void SetStep(int32_t step) { SetNotifyParam(step, 1); }

    RepeatSettings repeat_;
    int16_t countdown_ = 0;
    bool grown_ = false; // the step has left the start increment during this press
};

// The template of a repeat button.
class CTRepeatButton : public CTImgBtnWnd {
public:
    CTRepeatButton(int32_t kind, CRawParser* parser);

    const RepeatSettings& GetRepeat() const { return repeat_; }

private:
    RepeatSettings repeat_;
};
