#pragma once
// An engine object that receives messages and timer ticks. It adds a flag word (bit 8 =
// enabled), a live state kept by the live-object list, a save/restore pair for the enabled
// state, and its own timer on a clock.
#include <cstdint>
#include <memory>

#include "engine/framework/BaseObj.h"

class CMessage;
class CStopwatch;
class CTimerEvent;

class CEventObj : public CBaseObj {
public:
    static constexpr uint32_t kFlagEnabled = 0x8;
    // Asks an object's timer to run on the real clock instead of the game clock.
    static constexpr uint32_t kFlagRealClock = 0x100;

    // Enabled, not live, without a timer. Classes that want to be addressed register
    // themselves (RegisterLiveObject).
    CEventObj(uint32_t kind, int32_t id, CBaseObj* owner);
    // Leaves the live-object list first, so no message reaches it afterwards, then deletes
    // its timer.
    ~CEventObj() override;

    // Replaces the object's timer by one of the given period on the given clock (null =
    // the game clock); each expiry calls OnTimer while the object is enabled.
    virtual void StartTimer(uint32_t period, CStopwatch* clock);
    virtual bool OnTimer() { return false; }
    // True when the message was handled.
    virtual bool HandleMessage(CMessage& message, CBaseObj* sender) = 0;
    // Undoes SaveEnabled; nothing when no state is saved.
    virtual void RestoreEnabled(bool flag, int32_t unused = 0);
    // Sets or clears the enabled bit; `flag` and `recurse` are for subclasses with children.
    virtual void Enable(bool enable, bool flag = false, bool recurse = false);
    // Remembers the enabled state and disables; nested saves keep the first state.
    virtual void SaveEnabled(bool flag, int32_t unused = 0);

    bool IsEnabled() const { return (flags_ & kFlagEnabled) != 0; }
    // Whether SaveEnabled has kept a state that RestoreEnabled has not yet put back.
    bool HasSavedState() const { return saved_ != 0; }
    bool IsLive() const { return live_ != 0; }
    void SetLive(bool live) { live_ = live ? 1 : 0; }
    uint32_t GetFlags() const { return flags_; }

    void StopTimer();
    CTimerEvent* GetTimer() const { return timer_.get(); }
    // The clock the object's timer runs on; the real clock when it has no timer.
    CStopwatch* GetClock() const;
    // Elapsed milliseconds of that clock.
    uint32_t GetClockTime() const;

    // The timer callback: OnTimer of the object when it may take the tick, else false.
    static bool TimerCallback(void* object);

protected:
    // Whether a timer expiry reaches OnTimer: while the object is enabled. Graphic objects
    // also want an owner window.
    virtual bool TakesTimerTick() const { return IsEnabled(); }

    uint32_t flags_ = kFlagEnabled;

private:
    uint8_t saved_ = 0;
    uint8_t savedEnabled_ = 0;
    uint8_t live_ = 0;
    std::unique_ptr<CTimerEvent> timer_;
};
