#pragma once
// Timed callbacks. Every CTimerEvent sits in one global timer queue, in creation order, and
// the message pump fires the due ones once per pass. An event falls due when its clock has
// reached its due value; firing sets the next due value one period from the moment of
// firing (a late event does not catch up) and then calls the callback. Period 0 fires on
// every pass.
#include <cstdint>
#include <optional>

class CStopwatch;

class CTimerEvent {
public:
    // The callback's result is ignored.
    using Callback = bool (*)(void* argument);

    // Runs on the given clock, or on the game clock when none is given; first due one
    // period from now.
    CTimerEvent(uint32_t period, Callback callback, void* argument, CStopwatch* clock = nullptr);
    // Leaves the queue; a callback may delete its own event.
    virtual ~CTimerEvent();
    CTimerEvent(const CTimerEvent&) = delete;
    CTimerEvent& operator=(const CTimerEvent&) = delete;

    CStopwatch* GetClock() const { return clock_; }
    uint32_t GetPeriod() const { return period_; }
    uint32_t GetDue() const { return due_; }
    void* GetArgument() const { return argument_; }
    bool IsDue() const;

private:
    friend void RunDueTimers();
    void Fire();

    CStopwatch* clock_;
    uint32_t period_;
    uint32_t due_;
    void* argument_;
    Callback callback_;
};

// Fires every due event once, in queue order. Events created by callbacks during the walk
// wait for the next one.
void RunDueTimers();
// The number of events in the queue.
int32_t GetTimerCount();
// Ticks until the nearest event on a running clock falls due (0 when one is due now; an
// event of period 0 counts as due at the next tick, so an idle pump sleeps until then);
// nullopt when no event can fall due without a clock being resumed.
std::optional<uint32_t> TicksUntilNextTimer();
// Forgets every event (tests start from an empty queue; the events themselves belong to
// their owners).
void ClearTimerQueue();
