#include <gtest/gtest.h>

#include <memory>

#include "engine/framework/Stopwatch.h"
#include "engine/framework/TimerEvent.h"
#include "tests/engine/framework/TestObjects.h"
#include "tests/support/TestEnv.h"

namespace {

using fwtest::Log;
using fwtest::Probe;

void Ticks(uint32_t n) { qmtest::Clock().Advance(17ull * n); }

TEST(StopwatchTest, NestedPausesFreezeAndResumeFromTheFrozenValue)
{
    CStopwatch w;
    Ticks(10);
    EXPECT_EQ(w.Elapsed(), 10u);
    w.Resume(); // not paused: nothing
    Ticks(1);
    EXPECT_EQ(w.Elapsed(), 11u);
    w.Pause();
    w.Pause();
    Ticks(100);
    EXPECT_EQ(w.Elapsed(), 11u);
    w.Resume();
    Ticks(5);
    EXPECT_EQ(w.Elapsed(), 11u); // still paused once
    w.Resume();
    EXPECT_EQ(w.Elapsed(), 11u);
    Ticks(3);
    EXPECT_EQ(w.Elapsed(), 14u);

    // Paused for 100 ticks: 100 ticks behind a clock that ran through.
    CStopwatch ran;
    CStopwatch paused;
    paused.Pause();
    Ticks(100);
    paused.Resume();
    Ticks(20);
    EXPECT_EQ(ran.Elapsed() - paused.Elapsed(), 100u);
}

struct Counter {
    int fired = 0;
    static bool Count(void* self)
    {
        ++static_cast<Counter*>(self)->fired;
        return true;
    }
};

TEST(TimerQueueTest, FiresOnDueWithoutCatchingUp)
{
    Counter c;
    CTimerEvent e(10, &Counter::Count, &c, GetRealClock());
    RunDueTimers();
    EXPECT_EQ(c.fired, 0);
    EXPECT_EQ(TicksUntilNextTimer(), 10u);
    Ticks(40); // 30 ticks late
    RunDueTimers();
    RunDueTimers();
    EXPECT_EQ(c.fired, 1); // no catching up
    EXPECT_EQ(e.GetDue(), GetRealClock()->Elapsed() + 10);
    Ticks(9);
    RunDueTimers();
    EXPECT_EQ(c.fired, 1);
    Ticks(1);
    RunDueTimers();
    EXPECT_EQ(c.fired, 2);
}

// Due is decided unsigned: a period of 2^31 ticks or more is a long wait, not an event already
// overdue (a signed difference would fire it at once and keep the pump awake).
TEST(TimerQueueTest, APeriodOfHalfTheClockOrMoreWaitsItsLength)
{
    Counter c;
    CTimerEvent e(0x80000001u, &Counter::Count, &c, GetRealClock());
    RunDueTimers();
    EXPECT_EQ(c.fired, 0);
    EXPECT_FALSE(e.IsDue());
    EXPECT_EQ(TicksUntilNextTimer(), 0x80000001u);
    Ticks(1000);
    RunDueTimers();
    EXPECT_EQ(c.fired, 0);
    EXPECT_EQ(TicksUntilNextTimer(), 0x80000001u - 1000);
}

TEST(TimerQueueTest, PeriodZeroFiresOnEveryRun)
{
    Counter c;
    {
        CTimerEvent e(0, &Counter::Count, &c, GetRealClock());
        EXPECT_EQ(TicksUntilNextTimer(), 1u); // the pump's sleep ends at the next tick
        for (int i = 0; i < 3; ++i)
            RunDueTimers();
        EXPECT_EQ(c.fired, 3);
    }
    EXPECT_EQ(GetTimerCount(), 0);
    EXPECT_EQ(TicksUntilNextTimer(), std::nullopt);
}

TEST(TimerQueueTest, GameClockTimersWaitWhileItIsPaused)
{
    Counter c;
    GetGameClock()->Pause();
    CTimerEvent e(5, &Counter::Count, &c);
    EXPECT_EQ(e.GetClock(), GetGameClock());
    Ticks(50);
    RunDueTimers();
    EXPECT_EQ(c.fired, 0);
    EXPECT_EQ(TicksUntilNextTimer(), std::nullopt);
    GetGameClock()->Resume();
    Ticks(4);
    RunDueTimers();
    EXPECT_EQ(c.fired, 0);
    Ticks(1);
    RunDueTimers();
    EXPECT_EQ(c.fired, 1);
}

TEST(TimerQueueTest, TimerRestartingItselfDoesNotHideTheNextOrFireTwice)
{
    Log log;
    Probe a(log, "a"), b(log, "b"), z(log, "z");
    a.StartTimer(0, GetRealClock());
    b.StartTimer(0, GetRealClock());
    z.StartTimer(3, GetRealClock());
    // a restarts its own timer in its callback: the event is deleted and a new one appended.
    a.onTimer = [&] { a.StartTimer(0, GetRealClock()); };
    RunDueTimers();
    EXPECT_EQ(log, (Log{"a:tick", "b:tick"}));
    RunDueTimers();
    EXPECT_EQ(log, (Log{"a:tick", "b:tick", "b:tick", "a:tick"}));

    // A disabled object's timer keeps running and skips its ticks.
    log.clear();
    b.Enable(false);
    Ticks(3);
    RunDueTimers();
    EXPECT_EQ(log, (Log{"z:tick", "a:tick"}));

    // A callback deleting another object's timer mid-walk.
    log.clear();
    b.Enable(true);
    b.onTimer = [&] { a.StopTimer(); };
    RunDueTimers();
    EXPECT_EQ(log, (Log{"b:tick"}));
    EXPECT_EQ(GetTimerCount(), 2);
}

} // namespace
