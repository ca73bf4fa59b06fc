// The trip's clock on the packed sample data the game reads: 150 travelled days of a five-member party (1200
// travel hours at the slowest pace), and 1365 days passed standing still, each beside a bare loop of as many
// CUtil::Random draws as those days made, timed in the same run. The counter x_random is the bare loop's time
// over the trip's: 0.1 means the days cost ten times their draws.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "engine/framework/Util.h"
#include "game/travel/Party.h"
#include "game/travel/Trip.h"

#include "bench/PackedGameData.h"
#include "bench/References.h"

namespace {

constexpr int kTravelDays = 150;
constexpr int16_t kWaitDays = CTrip::kMaxWaitDays;

// A trip on the first segment with four companions, oxen, food and feed.
std::unique_ptr<CTrip> NewTrip()
{
    auto trip = std::make_unique<CTrip>();
    trip->SetUpTrip();
    trip->PlaceOnNode(2);
    CParty& party = *trip->GetParty();
    for (int16_t slot = 1; slot < CParty::kMaxMembers; ++slot)
        party.CreateMember(slot, slot);
    party.SetMemberCount(CParty::kMaxMembers);
    CSupplyList& supplies = *party.GetSupplies();
    for (auto [type, packages] :
         {std::pair<int16_t, int16_t>{132, 6}, {5, 60}, {19, 30}, {16, 30}, {181, 60}})
        supplies.AddItem(type, packages);
    return trip;
}

void Travel(CTrip& trip)
{
    for (int hour = 0; hour < kTravelDays * 8; ++hour)
        trip.AdvanceDay(1);
}

void Wait(CTrip& trip) { trip.PassHours(static_cast<int16_t>(kWaitDays * 24)); }

// The draws one run of `days` makes, counted on a generator of our own.
int64_t CountDraws(const std::function<void(CTrip&)>& days)
{
    auto trip = NewTrip();
    int64_t draws = 0;
    uint32_t state = 12345;
    CUtil::SetDrawSource([&](int32_t lo, int32_t hi, int32_t) {
        ++draws;
        state = state * 1103515245u + 12345u;
        return lo + static_cast<int32_t>((state >> 16) % static_cast<uint32_t>(hi - lo + 1));
    });
    days(*trip);
    CUtil::SetDrawSource(nullptr);
    return draws;
}

// The reference: as many plain draws of the random generator as the days make.
double DrawSeconds(int64_t draws)
{
    const double start = benchref::NowSeconds();
    int32_t sum = 0;
    for (int64_t i = 0; i < draws; ++i)
        sum += CUtil::Random(0, 99, 1);
    benchmark::DoNotOptimize(sum);
    return benchref::NowSeconds() - start;
}

void RunDays(benchmark::State& state, const std::function<void(CTrip&)>& days)
{
    benchgame::OpenPackedGameData();
    CUtil::SetRandomSeed(1848);
    const int64_t draws = CountDraws(days);
    // Each iteration is a round of its own: the days, then the reference's draws.
    benchref::RoundRatios rounds;
    for (auto _ : state) {
        state.PauseTiming();
        auto trip = NewTrip();
        state.ResumeTiming();
        const double start = benchref::NowSeconds();
        days(*trip);
        const double seconds = benchref::NowSeconds() - start;
        benchmark::DoNotOptimize(trip->GetTotalDistance());
        state.PauseTiming();
        rounds.Add(DrawSeconds(draws), seconds);
        state.ResumeTiming();
    }
    state.counters["draws"] = static_cast<double>(draws);
    rounds.Report(state, "x_random");
}

void BM_TravelDays(benchmark::State& state) { RunDays(state, Travel); }
void BM_PassHours(benchmark::State& state) { RunDays(state, Wait); }

} // namespace

BENCHMARK(BM_TravelDays)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PassHours)->Unit(benchmark::kMillisecond);
