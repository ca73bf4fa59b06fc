// 150 travel days of a trip on the sample data with its route events: each day's hours, the
// weather, the generator's rules (weather, illness, misfortune) and the run of the event queue,
// whose events are shown by a stand-in that takes the first choice without drawing and are
// resolved as the game resolves them. Beside it, the same days with the event flag clear (no
// rules, nothing to resolve), timed in the same run: x_flag_clear is the flag-clear days' time
// over the eventful days' time. The data are the packed libraries the game reads.
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/framework/Util.h"
#include "game/travel/EventResolve.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Trip.h"

#include "bench/PackedGameData.h"
#include "bench/References.h"

namespace {

constexpr int kDays = 150;

// Every event's dialog answered with its first choice that can be pressed (as Enter does), no
// result box.
class EnterAnswers : public CTripEvents {
public:
    using CTripEvents::CTripEvents;
    void ShowResult(int16_t, int16_t, const CStr*) override {}

protected:
    int32_t RunDialog(CEventQueue&, CRouteEvent& event) override
    {
        return kFirstChoiceId + CTripEvents::FirstChoice(event, GetTrip().GetEventGen());
    }
};

class BenchTrip : public CTrip {
public:
    int days = 0;

protected:
    void OnDayEnded() override { ++days; }
};

// A party of three with animals and food on a long segment, travelling 150 days; the days it
// lived.
int TravelDays(bool eventFlag)
{
    BenchTrip trip;
    trip.SetUpTrip();
    trip.PlaceOnNode(2);
    trip.SetDistanceToNext(30000);
    trip.GetEventQueue()->SetHandler(std::make_unique<EnterAnswers>(trip));
    CParty& party = *trip.GetParty();
    party.CreateMember(1, 2);
    party.CreateMember(2, 3);
    party.SetMemberCount(3);
    party.GetSupplies()->AddItem(CParty::kDraughtAnimals, 6);
    party.GetSupplies()->AddItem(5, 2000);
    for (int hour = 0; trip.days < kDays && hour < kDays * 24 && trip.GetMode() == CTrip::kMoving; ++hour)
        trip.AdvanceDay(eventFlag ? 1 : 0);
    benchmark::DoNotOptimize(trip.days);
    return trip.days;
}

void BM_EventDays(benchmark::State& state)
{
    benchgame::OpenPackedGameData();
    CUtil::SetRandomSeed(1);
    int days = 0;
    benchref::RunAgainst(
        state, "x_flag_clear", [&] { days = TravelDays(true); }, [] { TravelDays(false); });
    state.counters["days"] = days;
}
BENCHMARK(BM_EventDays)->Unit(benchmark::kMillisecond);

} // namespace
