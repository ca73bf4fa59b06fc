#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "tests/support/TestEnv.h"

namespace {

TEST(Clock, TickIsMillisecondsOverSeventeenWithoutWrapping)
{
    struct Case {
        uint64_t ms;
        uint32_t tick;
    };
    const Case cases[] = {
        {0, 0},
        {16, 0},
        {17, 1},
        {34, 2},
        // Past the 49.7 days where a 32-bit millisecond count wraps, the tick still grows.
        {0xFFFFFFFFull, 252645135},
        {0x100000000ull + 17, 252645136},
        {17ull * 0xFFFFFFFFull, 0xFFFFFFFFu},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plat::TickFromMs(c.ms), c.tick) << c.ms;
}

TEST(Clock, FakeClockMovesOnlyWhenTold)
{
    plat::FakeClock& clock = qmtest::Clock();
    EXPECT_EQ(&plat::GetClock(), &clock);
    const uint64_t start = clock.NowMs();
    EXPECT_EQ(clock.NowMs(), start);
    clock.Advance(170);
    EXPECT_EQ(plat::CurrentTick(), plat::TickFromMs(start + 170));
    clock.SleepUntil(start + 1000);
    EXPECT_EQ(clock.NowMs(), start + 1000);
    clock.SleepUntil(start);  // never goes back
    EXPECT_EQ(clock.NowMs(), start + 1000);
}

TEST(Clock, AutoAdvanceLetsWaitingLoopsFinish)
{
    plat::FakeClock& clock = qmtest::Clock();
    clock.SetAutoAdvance(5);
    const uint32_t first = plat::CurrentTick();
    int reads = 0;
    while (plat::CurrentTick() == first)
        ++reads;
    EXPECT_LE(reads, 4);
}

TEST(Clock, WallTimeCanBePinned)
{
    const plat::WallTime fixed{1848, 3, 1, 12, 0, 0, 3};
    plat::SetWallTimeOverride(&fixed);
    EXPECT_EQ(plat::NowUtc().year, 1848);
    plat::SetWallTimeOverride(nullptr);
    EXPECT_GE(plat::NowUtc().year, 2024);
}

}  // namespace
