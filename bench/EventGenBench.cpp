// 150 travel days of the event generator on the sample data: each day draws the weather, runs
// the generator's rules (weather, illness, misfortune) and then the event queue, whose events
// are answered with their first choice and finished without a dialog. Beside it, the same days
// with the event flag clear (the weather alone), timed in the same run: x_flag_clear is the
// flag-clear days' time over the ruled days' time.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "engine/framework/Date.h"
#include "engine/framework/Util.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "game/travel/EventGen.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/Weather.h"
#include "platform/Files.h"

#include "bench/References.h"
#include "tests/game/travel/EventTrip.h"

namespace {

constexpr int kDays = 150;

void OpenSampleData()
{
    static const bool open = [] {
        plat::SetDrives(
            {{'C', std::filesystem::path(QM_SOURCE_DIR) / "data" / "game", plat::DriveKind::Fixed}});
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\QM3Data"));
        return true;
    }();
    (void)open;
}

// A party of three with animals and food, travelling 150 days.
void TravelDays(bool eventFlag)
{
    CParty party;
    for (int16_t slot = 1; slot < 3; ++slot)
        party.SetMember(slot,
                        std::make_unique<CPartyMember>(nullptr, static_cast<int16_t>(20 + slot), 3, 9, 4));
    party.SetMemberCount(3);
    party.GetSupplies()->AddItem(CParty::kDraughtAnimals, 6);
    // A trip on no node, every event possible, the player holding a post.
    traveltest::EventTrip trip;
    trip.party = &party;
    trip.date = trip.start = CDate(1848, 4, 15);
    trip.weather = std::make_unique<CWeather>(10, trip.date);
    trip.pace = 1;
    trip.post = 1;
    trip.daysOnRoute = 60;
    trip.daysSinceStop = 20;
    trip.allowAll = true;
    CEventGen gen(trip, trip);
    for (int day = 0; day < kDays; ++day) {
        trip.weather->NewDay(trip.date);
        gen.DailyStep(eventFlag);
        gen.GetQueue().RunEvent(nullptr);
        trip.date.AddDays(1);
    }
    benchmark::DoNotOptimize(gen.GetQueue().GetCount());
}

void BM_EventDays(benchmark::State& state)
{
    OpenSampleData();
    CUtil::SetRandomSeed(1);
    const benchref::LoopTimer loop;
    for (auto _ : state)
        TravelDays(true);
    benchref::ReportRatio(state, "x_flag_clear", loop,
                          [] { return benchref::SecondsPerCall([] { TravelDays(false); }); });
}
BENCHMARK(BM_EventDays)->Unit(benchmark::kMillisecond);

} // namespace
