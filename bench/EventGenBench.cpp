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

namespace {

constexpr int kDays = 150;

// A trip on no node, every event possible, the player holding a post.
class BenchTrip : public CEventHost, public CEventGenTrip {
public:
    BenchTrip(CParty& party, CWeather& weather) : party_(party), weather_(weather) {}
    CParty* GetParty() const override { return &party_; }
    bool IsTripSuspended() const override { return false; }
    bool IsTravelFrameEnabled() const override { return true; }
    void EnableRoutePanel(bool) override {}
    void SendToTravelFrame(int32_t) override {}
    CDiary* GetDiary() const override { return nullptr; }
    const CDate* GetCurDate() const override { return &date; }
    const CDate* GetStartDate() const override { return &start_; }
    CWeather* GetWeather() const override { return &weather_; }
    CRouteNode* GetNode() const override { return nullptr; }
    int32_t GetPace() const override { return 1; }
    int16_t GetPost() const override { return 1; }
    int16_t GetDaysOnRoute() const override { return 60; }
    int16_t GetDaysSinceStop() const override { return 20; }
    int16_t GetTripRisk() const override { return 0; }
    bool IsEventPossible(int16_t) const override { return true; }
    bool GetSceneFlag(int16_t) const override { return false; }
    void SetSceneFlag(int16_t, bool) override {}
    void LowerDaySpeed(int16_t) override {}

    CDate date{1848, 4, 15};

private:
    CParty& party_;
    CWeather& weather_;
    CDate start_{1848, 4, 15};
};

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
    CWeather weather(10, CDate(1848, 4, 15));
    BenchTrip trip(party, weather);
    CEventGen gen(trip, trip);
    for (int day = 0; day < kDays; ++day) {
        weather.NewDay(trip.date);
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
