#include "platform/WorkerThread.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/Clock.h"
#include "tests/support/TestEnv.h"

namespace {

// A worker that notes the fake clock's time at every round and waits `period` between them.
class Ticker {
public:
    explicit Ticker(uint64_t period) : period_(period)
    {
        thread_.Start([this] {
            do {
                times.push_back(plat::GetClock().NowMs());
            } while (thread_.WaitUntil(plat::GetClock().NowMs() + period_));
        });
    }
    ~Ticker() { Stop(); }
    void Stop()
    {
        thread_.RequestStop();
        thread_.Join();
    }

    std::vector<uint64_t> times;

private:
    uint64_t period_;
    plat::WorkerThread thread_;
};

TEST(WorkerThread, RunsEveryRoundItsTimeComesOnTheFakeClock)
{
    plat::FakeClock& clock = qmtest::Clock();
    const uint64_t start = clock.NowMs();
    Ticker fast(200);
    Ticker slow(300);
    // One move of the clock runs each worker at each of its times on the way, and returns
    // once both wait again.
    clock.Advance(1000);
    EXPECT_EQ(fast.times, (std::vector<uint64_t>{start, start + 200, start + 400, start + 600, start + 800,
                                                 start + 1000}));
    EXPECT_EQ(slow.times, (std::vector<uint64_t>{start, start + 300, start + 600, start + 900}));
    clock.Advance(199);
    EXPECT_EQ(slow.times.size(), 4u);
    clock.Advance(1);
    EXPECT_EQ(slow.times.back(), start + 1200);
    EXPECT_EQ(fast.times.back(), start + 1200);

    // A stop cuts the wait short; nothing runs afterwards.
    fast.Stop();
    clock.Advance(1000);
    EXPECT_EQ(fast.times.size(), 7u);
    EXPECT_EQ(clock.NowMs(), start + 2200);
}

TEST(WorkerThread, TheGuiThreadStillJumpsAhead)
{
    plat::FakeClock& clock = qmtest::Clock();
    const uint64_t start = clock.NowMs();
    Ticker ticker(500);
    clock.SleepUntil(start + 1000);
    EXPECT_EQ(clock.NowMs(), start + 1000);
    EXPECT_EQ(ticker.times.size(), 3u);
    const std::atomic<bool> stop{false};
    EXPECT_TRUE(clock.WaitUntil(start + 1500, stop));
    EXPECT_EQ(ticker.times.back(), start + 1500);
}

TEST(WorkerThread, AStopEndsAWaitOnTheSystemClock)
{
    plat::SetClock(nullptr);
    plat::WorkerThread thread;
    std::atomic<bool> waited{true};
    thread.Start([&] { waited = thread.WaitUntil(plat::GetClock().NowMs() + 3600 * 1000); });
    thread.RequestStop();
    thread.Join();
    EXPECT_FALSE(waited);
}

} // namespace
