#include "platform/Clock.h"

#include <chrono>
#include <ctime>
#include <optional>
#include <thread>

namespace plat {
namespace {

class SystemClock : public Clock {
public:
    uint64_t NowMs() override
    {
        using namespace std::chrono;
        return static_cast<uint64_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void SleepUntil(uint64_t ms) override
    {
        const uint64_t now = NowMs();
        if (ms > now)
            std::this_thread::sleep_for(std::chrono::milliseconds(ms - now));
    }
};

SystemClock g_systemClock;
Clock* g_clock = &g_systemClock;
std::optional<WallTime> g_wallOverride;

}  // namespace

Clock& GetClock() { return *g_clock; }
void SetClock(Clock* clock) { g_clock = clock ? clock : &g_systemClock; }

uint32_t CurrentTick() { return TickFromMs(g_clock->NowMs()); }
uint32_t CurrentMs32() { return static_cast<uint32_t>(g_clock->NowMs()); }

uint64_t FakeClock::NowMs()
{
    now_ += autoStep_;
    return now_;
}

void FakeClock::SleepUntil(uint64_t ms)
{
    if (ms > now_)
        now_ = ms;
}

WallTime NowUtc()
{
    if (g_wallOverride)
        return *g_wallOverride;
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&t, &tm);
    WallTime w;
    w.year = tm.tm_year + 1900;
    w.month = tm.tm_mon + 1;
    w.day = tm.tm_mday;
    w.hour = tm.tm_hour;
    w.minute = tm.tm_min;
    w.second = tm.tm_sec;
    w.dayOfWeek = tm.tm_wday;
    return w;
}

void SetWallTimeOverride(const WallTime* fixed)
{
    if (fixed)
        g_wallOverride = *fixed;
    else
        g_wallOverride.reset();
}

}  // namespace plat
