#include "engine/framework/Stopwatch.h"

#include <limits>
#include <memory>

#include "platform/Clock.h"

namespace {

std::unique_ptr<CStopwatch> g_realClock;
std::unique_ptr<CStopwatch> g_gameClock;

} // namespace

CStopwatch::CStopwatch() : start_(plat::CurrentTick()) {}

uint32_t CStopwatch::Elapsed() const { return pauses_ > 0 ? frozen_ : plat::CurrentTick() - start_; }

void CStopwatch::Pause()
{
    if (pauses_ == 0)
        frozen_ = plat::CurrentTick() - start_;
    if (pauses_ < std::numeric_limits<int16_t>::max())
        ++pauses_;
}

void CStopwatch::Resume()
{
    if (pauses_ == 0)
        return;
    if (--pauses_ == 0)
        start_ += plat::CurrentTick() - start_ - frozen_;
}

CStopwatch* GetRealClock()
{
    if (!g_realClock)
        g_realClock = std::make_unique<CStopwatch>();
    return g_realClock.get();
}

CStopwatch* GetGameClock()
{
    if (!g_gameClock)
        g_gameClock = std::make_unique<CStopwatch>();
    return g_gameClock.get();
}

void CreateClocks()
{
    GetRealClock();
    GetGameClock();
}

void DeleteClocks()
{
    g_gameClock.reset();
    g_realClock.reset();
}

uint32_t GetTick() { return GetRealClock()->Elapsed(); }
