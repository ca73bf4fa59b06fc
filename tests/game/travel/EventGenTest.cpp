#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/framework/Date.h"
#include "engine/framework/Doc.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "game/travel/EventGen.h"
#include "game/travel/HealthCond.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/RouteNode.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Weather.h"
#include "platform/Files.h"
#include "tests/game/travel/EventTrip.h"
#include "tests/game/travel/SampleData.h"
#include "tests/game/travel/TravelFixture.h"
#include "tests/game/travel/TravelRecords.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace traveltest {
namespace {

// Draws answer their range's high end, which makes every rule's test fail ("nothing happens"),
// except where a test says otherwise: the next draw of a range answers a scripted value (after
// skipping `skip` draws of that range), or every draw of a range answers one value.
class RuleDraws {
public:
    RuleDraws()
    {
        CUtil::SetDrawSource([this](int32_t lo, int32_t hi, int32_t) { return Next(lo, hi); });
    }
    ~RuleDraws() { CUtil::SetDrawSource(nullptr); }
    RuleDraws(const RuleDraws&) = delete;
    RuleDraws& operator=(const RuleDraws&) = delete;

    RuleDraws& Next(int32_t lo, int32_t hi, int32_t value, int skip = 0)
    {
        next_.push_back({lo, hi, value, skip});
        return *this;
    }
    RuleDraws& Always(int32_t lo, int32_t hi, int32_t value)
    {
        always_.push_back({lo, hi, value, 0});
        return *this;
    }
    // Scripted answers not yet given.
    size_t Left() const { return next_.size(); }
    // How many draws of the range were made.
    int Count(int32_t lo, int32_t hi) const
    {
        return static_cast<int>(std::count(log_.begin(), log_.end(), std::make_pair(lo, hi)));
    }

private:
    struct Answer {
        int32_t lo, hi, value;
        int skip;
    };
    int32_t Next(int32_t lo, int32_t hi)
    {
        log_.emplace_back(lo, hi);
        for (auto it = next_.begin(); it != next_.end(); ++it) {
            if (it->lo != lo || it->hi != hi)
                continue;
            if (it->skip > 0) {
                --it->skip;
                break;
            }
            const int32_t value = it->value;
            next_.erase(it);
            return value;
        }
        for (const Answer& a : always_)
            if (a.lo == lo && a.hi == hi)
                return a.value;
        return hi;
    }
    std::deque<Answer> next_;
    std::vector<Answer> always_;
    std::vector<std::pair<int32_t, int32_t>> log_;
};

using GenTrip = EventTrip;

// Records the events run at once (the queued ones stay in the queue).
class RunLog : public CEventHandler {
public:
    explicit RunLog(std::vector<int32_t>& runs) : runs_(runs) {}
    void ShowEvent(CEventQueue& queue, CRouteEvent& event) override
    {
        runs_.push_back(event.GetType());
        queue.ResolveEvent(event);
    }
    void ResolveEvent(CEventQueue&, CRouteEvent& event) override { event.SetState(CRouteEvent::kFinished); }

private:
    std::vector<int32_t>& runs_;
};

// One day of weather: high, low, precipitation (hundredths of an inch).
struct WeatherDay {
    int16_t high = 80, low = 55, precip = 0;
};

// Public, so that the rows of a table can set a day up.
class EventGenTest : public ::testing::Test {
public:
    void SetUp() override
    {
        OpenSampleData();
        // The saved records the tests read lie in the temporary folder.
        plat::SetDrives({{'C', qmtest::SourceDir() / "data" / "game", plat::DriveKind::Fixed},
                         {'T', qmtest::TempDir(), plat::DriveKind::Fixed}});
        // Route nodes the tests make, beside the sample data's.
        nodes_.emplace(qmtest::TempDir() / "Nodes");
        nodes_->Add("NOD", 0,
                    qmtest::ReadWholeFile(qmtest::SourceDir() / "data" / "game" / "QM3Data" / "NOD" /
                                          qmtest::FolderLibraryWriter::FileName("NOD", 0)));
        for (int16_t kind = 0; kind <= 6; ++kind) {
            AddNode(static_cast<int16_t>(900 + kind), kind, 1, 0);
            AddNode(static_cast<int16_t>(910 + kind), kind, 1, 1);
        }
        AddNode(920, 2, 3, 0);
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("T:\\Nodes"));
        Reset();
    }
    // Node `id` of the given kind, landmark number and plants.
    void AddNode(int16_t id, int16_t kind, int16_t landmark, int16_t plants)
    {
        std::vector<int16_t> words(CRouteNode::kRecordSize / 2, 0);
        words[0] = id;
        words[3] = kind;
        words[5] = landmark;
        words[84] = plants;
        std::string text;
        for (size_t i = 0; i < words.size(); ++i)
            text += (i ? ", " : "") + std::to_string(words[i]);
        nodes_->Add("NOD", id, text);
    }
    // On a trail node (landmark number 1) of kind k, with or without plants.
    void OnTrail(int16_t k, bool plants = false)
    {
        trip.node = std::make_unique<CRouteNode>(static_cast<int16_t>((plants ? 910 : 900) + k));
        ASSERT_EQ(trip.node->LandmarkNumber(), 1);
        ASSERT_EQ(trip.node->GetKind(), k);
    }
    // A fresh party of one (a 30-year-old leader), weather, trip and generator.
    void Reset()
    {
        gen.reset();
        runs.clear();
        trip = GenTrip();
        RuleDraws quiet;
        auto p = std::make_unique<CParty>();
        party = std::move(p);
        party->SetMember(0, std::make_unique<CPartyMember>(nullptr, 30, 3, 9, 4));
        party->SetMemberCount(1);
        trip.party = party.get();
        recording.party = party.get();
        SetWeather({});
        gen = std::make_unique<CEventGen>(trip, trip);
        gen->GetQueue().SetHandler(std::make_unique<RunLog>(runs));
    }
    void TearDown() override { gen.reset(); }

    // Members in slots 1.. of the given ages join, travelling.
    void AddMembers(std::vector<int16_t> ages)
    {
        RuleDraws quiet;
        int16_t slot = party->CountMembers(false);
        for (int16_t age : ages)
            party->SetMember(slot++, std::make_unique<CPartyMember>(nullptr, age, 3, 9, 4));
        party->SetMemberCount(slot);
    }
    // The weather: today first, then the days before (the rest of the 30 days are dry at
    // 80/55), with the snow on the ground and today's snowfall, in climate region `region`.
    void SetWeather(std::vector<WeatherDay> days, int16_t snow = 0, int16_t snowfall = 0, int16_t region = 10)
    {
        days.resize(CWeather::kHistoryDays);
        std::string record;
        auto word = [&](int16_t v) {
            record += static_cast<char>((v >> 8) & 0xff);
            record += static_cast<char>(v & 0xff);
        };
        word(region);
        word(snow);
        word(snowfall);
        word(0);
        for (const WeatherDay& d : days) {
            word(d.high);
            word(d.low);
            word(d.precip);
        }
        RuleDraws quiet;
        trip.weather = std::make_unique<CWeather>(region, trip.date);
        ASSERT_EQ(LoadBytes(record, [&](CDoc& doc) { trip.weather->Load(doc); }), CDoc::kOk);
    }
    // The generator's fields from their saved bytes.
    void LoadFields(const std::string& bytes)
    {
        ASSERT_EQ(LoadBytes(bytes, [&](CDoc& doc) { gen->Load(doc); }), CDoc::kOk);
    }
    std::vector<int32_t> Queued() const
    {
        std::vector<int32_t> types;
        for (int32_t i = 0; i < gen->GetQueue().GetCount(); ++i)
            types.push_back(gen->GetQueue().GetEvent(i)->GetType());
        return types;
    }
    bool IsQueued(int32_t type) const
    {
        const auto q = Queued();
        return std::find(q.begin(), q.end(), type) != q.end();
    }
    CPartyMember* Member(int16_t slot) const { return party->GetMember(slot); }

    std::optional<qmtest::FolderLibraryWriter> nodes_;
    RecordingTrip recording; // the party's trip, for deaths and onsets
    GenTrip trip;
    std::unique_ptr<CParty> party;
    std::unique_ptr<CEventGen> gen;
    std::vector<int32_t> runs;
};

std::string Bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}

// An empty queue, then the generator's fields: timber and rock flags clear, every counter 0.
const std::string kClearFields(CEventQueue::kSavedHeadSize + CEventGen::kSavedSize, '\0');

TEST_F(EventGenTest, ANewGeneratorHasItsStormFlagsSetAndItsCountersAtZero)
{
    EXPECT_EQ(gen->GetId(), CEventGen::kId);
    EXPECT_TRUE(gen->GetTimberFlag());
    EXPECT_TRUE(gen->GetRockFlag());
    EXPECT_FALSE(gen->GetMudFlag());
    EXPECT_EQ(gen->GetDryDays() | gen->GetAlkaliWarnings() | gen->GetReelection() | gen->GetGrassCooldown() |
                  gen->GetMosquitoCooldown() | gen->GetFireCooldown(),
              0);
    EXPECT_EQ(gen->GetQueue().GetCount(), 0);
}

TEST_F(EventGenTest, ADayWithTheEventFlagClearDrawsNothingAndChangesNothing)
{
    SetWeather({{100, 5, 40}}, 400);
    RuleDraws draws;
    draws.Always(1, 100, 1).Always(1, 1000, 1).Always(1, 10000, 1);
    gen->DailyStep(false);
    EXPECT_EQ(draws.Count(1, 100) + draws.Count(1, 1000) + draws.Count(1, 10000), 0);
    EXPECT_TRUE(Queued().empty());
    EXPECT_EQ(Member(0)->GetConditionCount(), 0);
}

TEST_F(EventGenTest, RainTurnsToAStormByTheSeasonTheAmountAndTheHeat)
{
    struct Case {
        const char* what;
        CDate date;
        int16_t region, high, precip;
        int32_t stormDraw, hailDraw;
        int32_t expected;
    };
    const Case cases[] = {
        {"heavy warm rain: 65", {1848, 6, 1}, 10, 80, 6, 64, 100, 114},
        {"heavy warm rain: 65 fails", {1848, 6, 1}, 10, 80, 6, 65, 100, 115},
        {"light warm rain: 40", {1848, 6, 1}, 10, 80, 3, 39, 100, 114},
        {"light warm rain: 40 fails", {1848, 6, 1}, 10, 80, 3, 40, 100, 115},
        {"drizzle: no storm", {1848, 6, 1}, 10, 80, 2, 1, 100, 115},
        {"cool heavy rain: 16", {1848, 6, 1}, 10, 74, 6, 15, 100, 114},
        {"cool heavy rain: 16 fails", {1848, 6, 1}, 10, 74, 6, 16, 100, 115},
        {"hail season", {1848, 6, 1}, 10, 80, 6, 1, 9, 111},
        {"hail season, no hail", {1848, 6, 1}, 10, 80, 6, 1, 10, 114},
        {"15 October still storms", {1848, 10, 15}, 10, 80, 6, 1, 100, 114},
        {"16 October: none", {1848, 10, 16}, 10, 80, 6, 1, 100, 115},
        {"March: none", {1848, 3, 31}, 10, 80, 6, 1, 100, 115},
        {"the 1849 storm", {1849, 6, 10}, 26, 60, 1, 100, 100, 114},
        {"the 1849 storm elsewhere", {1849, 6, 10}, 10, 60, 1, 1, 100, 115},
        {"the 1849 storm a day late", {1849, 6, 12}, 26, 60, 1, 1, 100, 115},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        trip.date = c.date;
        SetWeather({{c.high, 50, c.precip}}, 0, 0, c.region);
        gen = std::make_unique<CEventGen>(trip, trip);
        LoadFields(kClearFields);
        RuleDraws draws;
        draws.Next(1, 100, c.stormDraw);
        const bool hailWindow = c.date.GetMonth() >= 6 && c.date.GetMonth() <= 8;
        if (hailWindow)
            draws.Next(1, 100, c.hailDraw);
        gen->RunWeatherRules();
        EXPECT_EQ(Queued(), std::vector<int32_t>{c.expected});
        EXPECT_EQ(gen->GetQueue().GetEvent(0)->GetCount(), 3);
        const bool storm = c.expected != 115;
        EXPECT_EQ(gen->GetTimberFlag(), storm);
        EXPECT_EQ(gen->GetRockFlag(), storm);
    }
}

TEST_F(EventGenTest, SnowboundNeedsDeepSnowAndIsCertainAbove300)
{
    struct Case {
        int16_t snow;
        int32_t draw;
        bool snowbound;
    };
    const Case cases[] = {{150, 1, false},  {151, 5, true},  {151, 6, false},  {201, 30, true},
                          {250, 31, false}, {251, 50, true}, {300, 51, false}, {301, 100, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "snow " << c.snow << ", draw " << c.draw);
        SetWeather({{20, 5, 0}}, c.snow);
        gen = std::make_unique<CEventGen>(trip, trip);
        RuleDraws draws;
        draws.Next(1, 100, 100).Next(1, 100, c.draw); // the storm draw, then Snowbound
        gen->RunWeatherRules();
        EXPECT_EQ(IsQueued(81), c.snowbound);
        if (c.snowbound) {
            EXPECT_EQ(gen->GetQueue().FindEvent(81)->GetFirst().GetValue(), c.snow)
                << "the depth goes with it";
        }
    }
}

TEST_F(EventGenTest, FogHeavyRainBlizzardHeatAndCold)
{
    struct Case {
        const char* what;
        std::vector<WeatherDay> days;
        int16_t snow, snowfall;
        std::vector<std::pair<int32_t, int32_t>> draws; // range high end, value
        std::vector<int32_t> expected;
    };
    const Case cases[] = {
        {"fog on a mild dry morning", {{70, 40, 0}}, 0, 0, {{100, 100}, {100, 15}}, {112}},
        {"no fog at 16", {{70, 40, 0}}, 0, 0, {{100, 100}, {100, 16}}, {}},
        {"no fog after yesterday's rain", {{70, 40, 0}, {70, 40, 1}}, 0, 0, {{100, 100}, {100, 1}}, {}},
        {"no fog at a low of 51", {{70, 51, 0}}, 0, 0, {{100, 100}, {100, 1}}, {}},
        {"heavy rain after 31 in four days",
         {{70, 40, 0}, {70, 40, 31}},
         0,
         0,
         {{100, 100}, {100, 100}, {100, 24}},
         {34}},
        {"no heavy rain at 25", {{70, 40, 0}, {70, 40, 31}}, 0, 0, {{100, 100}, {100, 100}, {100, 25}}, {}},
        {"a blizzard", {{20, 5, 60}}, 100, 51, {}, {109, 29}},
        {"heavy snow but no blizzard", {{20, 15, 60}}, 100, 50, {}, {}},
        {"heat", {{96, 70, 0}}, 0, 0, {}, {30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetWeather(c.days, c.snow, c.snowfall);
        gen = std::make_unique<CEventGen>(trip, trip);
        RuleDraws draws;
        for (const auto& [hi, value] : c.draws)
            draws.Next(1, static_cast<int32_t>(hi), value);
        gen->RunWeatherRules();
        std::vector<int32_t> queued = Queued();
        std::sort(queued.begin(), queued.end(), std::greater<>());
        EXPECT_EQ(queued, c.expected);
    }
}

TEST_F(EventGenTest, MudOnATrailSlowsTheDayAndLowersMorale)
{
    OnTrail(2); // a forced stop on the trail
    SetWeather({{70, 50, 0}, {70, 50, 3}, {70, 50, 3}});
    RuleDraws draws;
    draws.Always(1, 100, 100);
    const int16_t morale = party->GetMorale();
    gen->RunWeatherRules();
    EXPECT_TRUE(gen->GetMudFlag());
    EXPECT_EQ(party->GetMorale(), morale - 1);
    EXPECT_EQ(trip.speed, 50);
    EXPECT_TRUE(trip.GetSceneFlag(CEventGen::kFlagWeather));

    // Five hundredths in three days is not mud, and the flag and the scene flag clear.
    SetWeather({{70, 50, 0}, {70, 50, 3}, {70, 50, 2}});
    gen->RunWeatherRules();
    EXPECT_FALSE(gen->GetMudFlag());
    EXPECT_FALSE(trip.GetSceneFlag(CEventGen::kFlagWeather));
    EXPECT_EQ(party->GetMorale(), morale - 1);

    // Snow on the ground keeps the mud away; so does a trail segment.
    SetWeather({{70, 50, 0}, {70, 50, 9}}, 10);
    gen->RunWeatherRules();
    EXPECT_FALSE(gen->GetMudFlag());
    OnTrail(1);
    SetWeather({{70, 50, 0}, {70, 50, 9}});
    gen->RunWeatherRules();
    EXPECT_FALSE(gen->GetMudFlag());
}

TEST_F(EventGenTest, TheLeaderIsSparedTheIllnessesOnlyWithCompany)
{
    // Every one-in-ten-thousand illness strikes whoever is not spared.
    auto day = [&] {
        RuleDraws draws;
        draws.Always(1, 10000, 1);
        gen->RunIllnessRules();
    };
    day();
    EXPECT_TRUE(Member(0)->HasCondition(28)) << "a lone leader catches measles";

    AddMembers({30});
    const int32_t before = Member(0)->GetConditionCount();
    day();
    EXPECT_EQ(Member(0)->GetConditionCount(), before) << "with company the leader is spared";
    for (int32_t kind : {28, 34, 44, 45, 32})
        EXPECT_TRUE(Member(1)->HasCondition(kind)) << kind;
}

TEST_F(EventGenTest, ThirstGrowsWithTheDryDaysAgainstTheWaterCarried)
{
    struct Case {
        int16_t dryBefore; // the day adds one
        int16_t travellers, kegs209, canteens33;
        int32_t chance; // 0: no draw
    };
    // The day adds one dry day to the count before it: x = (d n - water) / n.
    const Case cases[] = {
        {0, 1, 0, 0, 0},   // one dry day: never
        {1, 1, 0, 0, 50},  // d = 2: x = 2
        {2, 1, 0, 0, 75},  // x = 3
        {3, 1, 0, 0, 100}, // x = 4
        {2, 1, 1, 0, 0},   // 30 units of water cover three days
        {2, 2, 0, 1, 25},  // (6 - 4) / 2 = 1
    };
    // A fresh party of the case's travellers and water lives one dry day, every thirst draw
    // answering `answer`; answers the draws of the range made.
    auto dryDay = [&](const Case& c, int32_t answer) {
        Reset();
        if (c.travellers > 1)
            AddMembers({30});
        party->GetSupplies()->AddItem(209, c.kegs209);
        party->GetSupplies()->AddItem(33, c.canteens33);
        trip.allowed = {89};
        gen->SetDryDays(c.dryBefore);
        RuleDraws draws;
        draws.Always(1, 100, answer);
        gen->RunIllnessRules();
        EXPECT_EQ(gen->GetDryDays(), c.dryBefore + 1);
        return draws.Count(1, 100);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "dry days before " << c.dryBefore << ", travellers " << c.travellers);
        const int drawn = dryDay(c, std::max(c.chance, 1));
        if (c.chance == 0) {
            EXPECT_EQ(drawn, 0);
        }
        for (int16_t slot = 0; slot < c.travellers; ++slot)
            EXPECT_EQ(Member(slot)->HasCondition(43), c.chance > 0) << "slot " << slot << " takes thirst too";
        if (c.chance > 0 && c.chance < 100) {
            dryDay(c, c.chance + 1);
            EXPECT_FALSE(Member(0)->HasCondition(43)) << "one above the chance";
        }
    }
}

TEST_F(EventGenTest, ARainyDayEndsTheDryDaysAndTheThirstWarning)
{
    trip.allowed = {89};
    gen->SetDryDays(5);
    SetWeather({{80, 55, 0}, {80, 55, 1}});
    RuleDraws draws;
    gen->RunIllnessRules();
    EXPECT_EQ(gen->GetDryDays(), 0);
}

TEST_F(EventGenTest, StarvationComesSoonerToTheYoungAndTheOld)
{
    struct Case {
        int16_t age, hungry;
        int32_t lo, hi, draw;
        bool starving;
    };
    const Case cases[] = {
        {17, 4, 3, 5, 3, true},  {17, 4, 3, 5, 4, false}, {56, 6, 3, 5, 5, true},
        {55, 4, 5, 8, 5, false}, {18, 6, 5, 8, 5, true},  {30, 9, 5, 8, 8, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "age " << c.age << ", hungry " << c.hungry);
        Reset();
        {
            RuleDraws quiet;
            party->SetMember(0, std::make_unique<CPartyMember>(nullptr, c.age, 3, 9, 4));
        }
        party->SetHungryDays(c.hungry);
        RuleDraws draws;
        draws.Next(c.lo, c.hi, c.draw);
        gen->RunIllnessRules();
        EXPECT_EQ(draws.Left(), 0u);
        EXPECT_EQ(Member(0)->HasCondition(41), c.starving);
    }
}

TEST_F(EventGenTest, BreakdownsWearWithTheDaysSinceTheLastStopAndTheLoad)
{
    struct Case {
        const char* what;
        int16_t daysSinceStop;
        int16_t heavyPackages;
        bool onTrail;
        int32_t weight;
    };
    const Case cases[] = {
        {"fresh", 0, 0, false, 1},
        {"two months", 60, 0, false, 3},
        {"on a trail segment", 29, 0, true, 2},
        {"overloaded", 0, 200, false, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int32_t over : {0, 1}) {
            Reset();
            trip.daysSinceStop = c.daysSinceStop;
            if (c.onTrail)
                OnTrail(2);
            party->GetSupplies()->AddItem(6, c.heavyPackages);
            if (c.heavyPackages) {
                ASSERT_EQ(party->GetLoad(), 4001) << "5 % over 80 % of 4000: 20 / 5 + 1";
            }
            RuleDraws draws;
            draws.Next(1, 1000, c.weight + over)
                .Next(1, 10000, 5 * c.weight + over)
                .Next(1, 10000, 5 * c.weight + over);
            gen->RunMisfortuneRules();
            EXPECT_EQ(IsQueued(15), over == 0);
            EXPECT_EQ(IsQueued(13), over == 0);
            EXPECT_EQ(IsQueued(14), over == 0);
        }
    }
}

// The R(1..100) draws of a day are many (stampede, prairie fire, grass, the post, the
// re-election, mosquitoes): these tests answer them all alike and look only at the post's rules.
TEST_F(EventGenTest, ALowMoraleCostsThePlayerHisPostAndAReelectionMayFollow)
{
    trip.post = 1;
    party->AddMorale(static_cast<int16_t>(20 - party->GetMorale()));
    auto day = [&](int32_t answer) {
        RuleDraws draws;
        draws.Always(1, 100, answer);
        gen->RunMisfortuneRules();
    };
    day(6);
    EXPECT_TRUE(gen->GetLowMoraleFlag());
    EXPECT_TRUE(IsQueued(54));
    EXPECT_FALSE(IsQueued(26)) << "6 keeps the post";
    EXPECT_EQ(gen->GetReelection(), 0);

    // The next day a 5 dismisses him; the re-election count starts at once.
    day(5);
    EXPECT_TRUE(IsQueued(26));
    EXPECT_EQ(gen->GetReelection(), 2);

    // Below 10 a hired hand is fired at once whatever the draw.
    trip.post = 2;
    party->AddMorale(static_cast<int16_t>(5 - party->GetMorale()));
    day(100);
    EXPECT_EQ(runs, std::vector<int32_t>{99});

    // Morale above 34 clears the flag; 25 to 34 keeps it.
    party->AddMorale(static_cast<int16_t>(30 - party->GetMorale()));
    day(100);
    EXPECT_TRUE(gen->GetLowMoraleFlag());
    party->AddMorale(static_cast<int16_t>(35 - party->GetMorale()));
    day(100);
    EXPECT_FALSE(gen->GetLowMoraleFlag());

    // Without a post nothing of this happens.
    trip.post = 0;
    party->AddMorale(static_cast<int16_t>(5 - party->GetMorale()));
    day(1);
    EXPECT_FALSE(gen->GetLowMoraleFlag());
}

TEST_F(EventGenTest, TheReelectionComesAfterFifteenDaysWithAThreeInAHundredChance)
{
    // Re-election counter 14 (bytes 11-12 of the fields), post held, morale high.
    std::string fields = kClearFields;
    fields[CEventQueue::kSavedHeadSize + 12] = 14;
    LoadFields(fields);
    trip.post = 1;
    auto day = [&](int32_t answer) {
        RuleDraws draws;
        draws.Always(1, 100, answer);
        gen->RunMisfortuneRules();
    };
    day(1);
    EXPECT_EQ(gen->GetReelection(), 15);
    EXPECT_FALSE(IsQueued(72)) << "15 is not above 15";
    day(4);
    EXPECT_EQ(gen->GetReelection(), 16);
    EXPECT_FALSE(IsQueued(72));
    day(3);
    EXPECT_TRUE(IsQueued(72));
    EXPECT_EQ(gen->GetReelection(), -1);
    day(1);
    EXPECT_EQ(gen->GetReelection(), -1) << "once re-elected the count stops";
}

TEST_F(EventGenTest, MosquitoesComeBackAfterEightDaysAtTheEarliest)
{
    SetWeather({{85, 60, 0}});
    std::vector<int16_t> cooldowns;
    for (int day = 0; day < 10; ++day) {
        RuleDraws draws;
        draws.Always(1, 100, 3);
        gen->RunMisfortuneRules();
        cooldowns.push_back(gen->GetMosquitoCooldown());
    }
    EXPECT_EQ(cooldowns, (std::vector<int16_t>{1, 2, 3, 4, 5, 6, 7, 0, 1, 2}));
    EXPECT_TRUE(IsQueued(108));

    // A freezing day in the last 30 keeps them away.
    SetWeather({{85, 60, 0}, {85, 60, 0}, {20, 10, 0}});
    gen = std::make_unique<CEventGen>(trip, trip);
    RuleDraws draws;
    draws.Always(1, 100, 1);
    gen->RunMisfortuneRules();
    EXPECT_EQ(gen->GetMosquitoCooldown(), 0);
}

TEST_F(EventGenTest, PrairieFiresAndEvent88WaitForTheirCooldowns)
{
    // A dry June off the trail: a fire chance below 6 and an event 88 chance of 10 each day.
    std::vector<int16_t> fire, grass;
    for (int day = 0; day < 16; ++day) {
        RuleDraws draws;
        draws.Always(1, 100, 5);
        gen->RunMisfortuneRules();
        fire.push_back(gen->GetFireCooldown());
        grass.push_back(gen->GetGrassCooldown());
        trip.date.AddDays(1);
    }
    EXPECT_EQ(fire, (std::vector<int16_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 1, 2, 3}));
    EXPECT_EQ(grass, (std::vector<int16_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(IsQueued(66));
    EXPECT_TRUE(IsQueued(88));

    // A wet day in the last week keeps both away.
    Reset();
    SetWeather({{80, 55, 0}, {80, 55, 0}, {80, 55, 0}, {80, 55, 0}, {80, 55, 0}, {80, 55, 0}, {80, 55, 1}});
    RuleDraws draws;
    draws.Always(1, 100, 1);
    gen->RunMisfortuneRules();
    EXPECT_EQ(gen->GetFireCooldown(), 0);
    EXPECT_EQ(gen->GetGrassCooldown(), 0);
    EXPECT_FALSE(IsQueued(66));
    EXPECT_FALSE(IsQueued(88));
}

TEST_F(EventGenTest, NoRulePostsATypeTwice)
{
    party->GetSupplies()->AddItem(132, 4);
    trip.allowed = {59};
    trip.flags = {CEventGen::kFlagNoFood, CEventGen::kFlagNoMeat};
    for (int day = 0; day < 3; ++day) {
        RuleDraws draws;
        draws.Always(1, 100, 1).Always(1, 1000, 1);
        gen->RunMisfortuneRules();
        trip.date.AddDays(1);
    }
    std::vector<int32_t> queued = Queued();
    std::vector<int32_t> unique = queued;
    std::sort(unique.begin(), unique.end());
    unique.erase(std::unique(unique.begin(), unique.end()), unique.end());
    EXPECT_EQ(unique.size(), queued.size());
    EXPECT_TRUE(IsQueued(57));
    EXPECT_TRUE(IsQueued(60));
    EXPECT_TRUE(IsQueued(59));
    EXPECT_EQ(gen->GetQueue().FindEvent(57)->GetFirst().GetValue(), CDate(1848, 6, 1).GetDayNumber())
        << "the first day's event stays";
}

// Each row sets up a day, answers every draw of one range alike and looks at one event: other
// rules may fire on the same answers, which the row does not look at.
TEST_F(EventGenTest, MisfortuneRulesByTheirWeightsPlacesAndDates)
{
    struct Case {
        const char* what;
        std::function<void(EventGenTest&)> setUp;
        int32_t hi, answer;
        int32_t type;
        bool posted;
    };
    auto onTrail = [](int16_t k) { return [k](EventGenTest& t) { t.OnTrail(k); }; };
    auto allow = [](std::set<int16_t> codes) { return [codes](EventGenTest& t) { t.trip.allowed = codes; }; };
    auto none = [](EventGenTest&) {};
    const Case cases[] = {
        {"fallen timbers at 33", allow({32}), 200, 33, 32, true},
        {"fallen timbers at 34", allow({32}), 200, 34, 32, false},
        {"fallen timbers not here", none, 200, 33, 32, false},
        {"fallen rocks below 66", allow({31}), 200, 65, 31, true},
        {"fallen rocks at 66", allow({31}), 200, 66, 31, false},
        {"fallen rocks likely", allow({31, 106}), 200, 98, 31, true},
        {"a duststorm on a dry trail",
         [](EventGenTest& t) {
             t.OnTrail(1);
             t.trip.allowed = {110};
         },
         100, 10, 110, true},
        {"no duststorm at 11",
         [](EventGenTest& t) {
             t.OnTrail(1);
             t.trip.allowed = {110};
         },
         100, 11, 110, false},
        {"quicksand where it is certain", allow({67, 105}), 100, 100, 67, true},
        {"quicksand on dry ground", allow({67}), 100, 1, 67, false},
        {"locusts from 15 June",
         [](EventGenTest& t) {
             t.trip.allowed = {113};
             t.trip.date = CDate(1848, 6, 15);
         },
         10000, 5, 113, true},
        {"locusts at 6",
         [](EventGenTest& t) {
             t.trip.allowed = {113};
             t.trip.date = CDate(1848, 6, 15);
         },
         10000, 6, 113, false},
        {"no locusts before 15 June", allow({113}), 10000, 1, 113, false},
        {"theft off the trail: 100", none, 10000, 100, 86, true},
        {"theft on the trail: 1", onTrail(1), 10000, 2, 86, false},
        {"a tipped wagon at pace 2",
         [](EventGenTest& t) {
             t.OnTrail(4);
             t.trip.pace = 2;
         },
         1000, 2, 90, true},
        {"no tipped wagon at pace 0",
         [](EventGenTest& t) {
             t.OnTrail(4);
             t.trip.pace = 0;
         },
         1000, 1, 90, false},
        {"94 on kind 5", onTrail(5), 100, 1, 94, true},
        {"95 on a trail segment", onTrail(1), 100, 2, 95, true},
        {"95 at 3", onTrail(1), 100, 3, 95, false},
        {"an abandoned wagon in June: 10", none, 1000, 10, 1, true},
        {"an abandoned wagon in April: 5", [](EventGenTest& t) { t.trip.date = CDate(1848, 4, 20); }, 1000, 6,
         1, false},
        {"a stampede at 1", none, 100, 1, 16, true},
        {"a wagon fire at 1", none, 10000, 1, 33, true},
        {"Independence Day", [](EventGenTest& t) { t.trip.date = CDate(1848, 7, 4); }, 100, 100, 40, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Reset();
        c.setUp(*this);
        {
            RuleDraws draws;
            draws.Always(1, c.hi, c.answer);
            gen->RunMisfortuneRules();
        }
        const bool ran = std::find(runs.begin(), runs.end(), c.type) != runs.end();
        EXPECT_EQ(IsQueued(c.type) || ran, c.posted);
    }
}

TEST_F(EventGenTest, AnimalsGoMissingTireAndAreInjuredByTheirWeights)
{
    struct Case {
        const char* what;
        int32_t pace;
        int32_t hi, answer;
        int32_t type;
        bool posted;
    };
    const Case cases[] = {
        {"missing off the trail: 25", 0, 10000, 25, 52, true},
        {"missing at 26", 0, 10000, 26, 52, false},
        {"exhausted with a hard pace: 15", 1, 1000, 15, 6, true},
        {"exhausted at 16", 1, 1000, 16, 6, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Reset();
        party->GetSupplies()->AddItem(CParty::kDraughtAnimals, 4);
        trip.pace = c.pace;
        {
            RuleDraws draws;
            draws.Always(1, c.hi, c.answer);
            draws.Always(1, 100, 50); // an injured animal lives
            gen->RunMisfortuneRules();
        }
        EXPECT_EQ(IsQueued(c.type), c.posted);
    }
    // An injured animal is the day's eighth draw of 1..10000 (after the wagon's two, the missing
    // person, the fire, the theft, the missing animal and the lost one): below 11.
    for (int32_t answer : {10, 11}) {
        Reset();
        party->GetSupplies()->AddItem(CParty::kDraughtAnimals, 4);
        RuleDraws draws;
        draws.Next(1, 10000, answer, 7).Always(1, 100, 50);
        gen->RunMisfortuneRules();
        EXPECT_EQ(IsQueued(42), answer == 10);
        EXPECT_EQ(draws.Left(), 0u);
    }

    // With a storm queued animals run off more: 100.
    Reset();
    party->GetSupplies()->AddItem(CParty::kDraughtAnimals, 4);
    gen->GetQueue().PostEvent(114, 0, 0, 3, 0, nullptr);
    RuleDraws draws;
    draws.Always(1, 10000, 100);
    gen->RunMisfortuneRules();
    EXPECT_TRUE(IsQueued(52));
    EXPECT_EQ(party->GetItem132Total(), 3);
}

TEST_F(EventGenTest, IllnessWeightsFollowTheSeasonTheWeatherAndTheSupplies)
{
    struct Case {
        const char* what;
        std::function<void(EventGenTest&)> setUp;
        int32_t hi, answer;
        int32_t kind;
        bool caught;
    };
    auto none = [](EventGenTest&) {};
    auto cholera = [](int16_t year) {
        return [year](EventGenTest& t) {
            t.trip.date = CDate(year, 6, 1);
            t.trip.allowed = {100};
        };
    };
    const Case cases[] = {
        {"cholera in June, away from it: 40 / 4", none, 10000, 10, 13, true},
        {"cholera at 11", none, 10000, 11, 13, false},
        {"cholera where it is likely in 1849: 80", cholera(1849), 10000, 80, 13, true},
        {"cholera where it is likely in 1849 at 81", cholera(1849), 10000, 81, 13, false},
        {"cholera where it is likely in 1848: 40", cholera(1848), 10000, 41, 13, false},
        {"a cold without clothes or blankets: 150", none, 10000, 150, 5, true},
        {"a cold at 151", none, 10000, 151, 5, false},
        {"a cold with warm clothes: 1", [](EventGenTest& t) { t.party->GetSupplies()->AddItem(5, 1); }, 10000,
         2, 5, false},
        {"alkali water's first day: 20", [](EventGenTest& t) { t.trip.allowed = {61}; }, 1000, 20, 2, true},
        {"alkali water's later days: 2",
         [](EventGenTest& t) {
             t.trip.allowed = {61};
             t.gen->SetAlkaliWarnings(1);
         },
         1000, 3, 2, false},
        {"snakes where they are: 200 without boots", [](EventGenTest& t) { t.trip.allowed = {104}; }, 10000,
         200, 35, true},
        {"snakes with boots for half: 150",
         [](EventGenTest& t) {
             t.trip.allowed = {104};
             t.AddMembers({30, 30});
             t.party->GetSupplies()->AddItem(19, 1);
         },
         10000, 151, 35, false},
        {"the grippe in January: 3 + 2 + 4",
         [](EventGenTest& t) {
             t.trip.date = CDate(1849, 1, 10);
             t.SetWeather({{50, 35, 0}});
         },
         1000, 9, 42, true},
        {"no grippe in June", none, 1000, 1, 42, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Reset();
        c.setUp(*this);
        {
            RuleDraws draws;
            draws.Always(1, c.hi, c.answer);
            gen->RunIllnessRules();
        }
        bool caught = false;
        for (int16_t slot = 0; slot < party->CountMembers(false); ++slot)
            caught = caught || Member(slot)->HasCondition(c.kind);
        EXPECT_EQ(caught, c.caught);
    }
}

TEST_F(EventGenTest, ConditionKindsMapToTheirEvents)
{
    const std::pair<int32_t, int16_t> table[] = {{0, 0},   {1, 2},   {2, 61},  {7, 11},  {11, 11}, {12, 17},
                                                 {16, 21}, {17, 25}, {32, 75}, {33, 76}, {36, 82}, {40, 82},
                                                 {41, 83}, {43, 89}, {46, 97}, {47, 98}, {48, 0},  {-1, 0}};
    for (const auto& [kind, type] : table)
        EXPECT_EQ(CEventGen::EventForCondition(kind), type) << "kind " << kind;
}

TEST_F(EventGenTest, AnOnsetRunsItsEventForATravellerAndThirstOnlyOncePerDrySpell)
{
    AddMembers({30});
    RuleDraws quiet;
    Member(1)->AddCondition(5, 0);
    CHealthCond* cold = Member(1)->GetCondition(0);
    ASSERT_NE(cold, nullptr);
    auto onset = [&](CPartyMember* person, CHealthCond* condition) {
        CMessage message(CHealthCond::kMsgOnset, reinterpret_cast<MsgWord>(person),
                         reinterpret_cast<MsgWord>(condition));
        return gen->HandleMessage(message, nullptr);
    };
    EXPECT_TRUE(onset(Member(1), cold));
    EXPECT_EQ(runs, std::vector<int32_t>{8});

    // Someone outside the party, or a member who is not travelling, gets no event.
    CParty other;
    EXPECT_TRUE(onset(other.GetMember(0), cold));
    Member(1)->SetStatus(1);
    EXPECT_TRUE(onset(Member(1), cold));
    Member(1)->SetStatus(CPartyMember::kStatusTravelling);
    EXPECT_EQ(runs, std::vector<int32_t>{8});

    Member(1)->AddCondition(43, 2);
    CHealthCond* thirst = Member(1)->GetCondition(0);
    ASSERT_EQ(thirst->GetKind(), 43);
    onset(Member(1), thirst);
    onset(Member(1), thirst);
    EXPECT_EQ(runs, (std::vector<int32_t>{8, 89}));
    EXPECT_TRUE(gen->GetThirstPosted());
    // A wet day clears the flag: the next thirst counts again.
    SetWeather({{80, 55, 0}, {80, 55, 3}});
    gen->RunIllnessRules();
    onset(Member(1), thirst);
    EXPECT_EQ(runs, (std::vector<int32_t>{8, 89, 89}));
}

TEST_F(EventGenTest, ARandomMemberIsATravellerOtherThanTheLeaderWhenThereIsOne)
{
    {
        RuleDraws draws;
        EXPECT_EQ(gen->PickRandomMember(), Member(0)) << "alone: the leader, without a draw";
        EXPECT_EQ(draws.Count(1, 0), 0);
    }
    AddMembers({30, 40, 50});
    {
        RuleDraws draws;
        draws.Next(1, 3, 2);
        EXPECT_EQ(gen->PickRandomMember(), Member(2));
    }
    Member(1)->SetStatus(1);
    Member(2)->SetStatus(0);
    Member(3)->SetStatus(1);
    {
        RuleDraws draws;
        EXPECT_EQ(gen->PickRandomMember(), Member(0)) << "20 failed draws: the leader";
        EXPECT_EQ(draws.Count(1, 3), 20);
    }
    Member(0)->SetStatus(1);
    {
        RuleDraws draws;
        EXPECT_EQ(gen->PickRandomMember(), nullptr) << "nobody travels: no member, and the search ends";
        gen->LoseMember();
        EXPECT_FALSE(IsQueued(53));
        EXPECT_TRUE(gen->InjuryRoll(100) == false);
    }
}

TEST_F(EventGenTest, ALostMemberIsMissingAndNamedByItsEvent)
{
    AddMembers({30});
    RuleDraws draws;
    gen->LoseMember();
    EXPECT_EQ(Member(1)->GetStatus(), 1);
    ASSERT_TRUE(IsQueued(53));
    EXPECT_EQ(gen->GetQueue().FindEvent(53)->GetFirst().GetMember(), Member(1));
}

TEST_F(EventGenTest, LostAnimalsAreTakenAndAnInjuredOneMayDie)
{
    party->GetSupplies()->AddItem(132, 3);
    {
        RuleDraws draws;
        draws.Next(1, 100, 21).Next(1, 100, 42);
        gen->LoseAnimals(5, 42);
    }
    EXPECT_EQ(party->GetItem132Total(), 0) << "no more than the party holds";
    ASSERT_TRUE(IsQueued(42));
    EXPECT_EQ(gen->GetQueue().FindEvent(42)->GetCount(), 42);
    EXPECT_EQ(gen->GetQueue().FindEvent(42)->GetFirst().GetValue(), 0) << "no animals: travel rate 0";
    party->GetSupplies()->AddItem(132, 2);
    {
        RuleDraws draws;
        draws.Next(1, 100, 20);
        gen->LoseAnimals(1, 42);
    }
    EXPECT_TRUE(IsQueued(3));
    EXPECT_EQ(party->GetItem132Total(), 1);
}

TEST_F(EventGenTest, ButcheringTurnsAnAnimalIntoMeat)
{
    {
        RuleDraws draws;
        gen->ButcherAnimal();
        EXPECT_EQ(draws.Count(100, 300), 0) << "no animal, nothing to butcher";
    }
    party->GetSupplies()->AddItem(132, 2);
    RuleDraws draws;
    draws.Next(100, 300, 150);
    gen->ButcherAnimal();
    EXPECT_EQ(party->GetItem132Total(), 1);
    EXPECT_GT(party->GetSupplies()->GetTotal(CSupplyList::kMeat), 0);
    EXPECT_EQ(draws.Left(), 0u);
}

TEST_F(EventGenTest, BreakdownsHalveWithSparePartsAndPickTheirKind)
{
    struct Case {
        std::vector<int16_t> parts;
        int32_t weight;
    };
    for (const Case& c : {Case{{}, 300}, Case{{82}, 150}, Case{{203}, 150}, Case{{82, 203}, 75}}) {
        Reset();
        for (int16_t type : c.parts)
            party->GetSupplies()->AddItem(type, 1);
        RuleDraws draws;
        draws.Next(1, 10000, c.weight + 1).Next(1, 10000, c.weight).Next(1, 100, 25);
        EXPECT_TRUE(gen->BreakdownChance(100));
        EXPECT_FALSE(gen->BreakdownChance(100));
        EXPECT_TRUE(IsQueued(15));
    }
    const std::pair<int32_t, int32_t> kinds[] = {{25, 15}, {26, 13}, {50, 13}, {51, 14}, {75, 14}, {76, 90}};
    for (const auto& [r, type] : kinds) {
        Reset();
        RuleDraws draws;
        draws.Next(1, 100, 10).Next(1, 100, r);
        EXPECT_FALSE(gen->BreakdownRoll(10));
        if (type == 90) {
            EXPECT_EQ(runs, std::vector<int32_t>{90}) << "a tipped wagon runs at once";
        } else {
            EXPECT_TRUE(IsQueued(type)) << r;
        }
    }
    RuleDraws draws;
    draws.Next(1, 100, 11);
    EXPECT_TRUE(gen->BreakdownRoll(10));
}

TEST_F(EventGenTest, InjuriesFollowTheirTables)
{
    const std::pair<int32_t, int32_t> bones[] = {{35, 7}, {36, 8},  {50, 8},  {51, 9},
                                                 {65, 9}, {66, 10}, {70, 10}, {71, 11}};
    for (const auto& [r, kind] : bones)
        EXPECT_EQ(CEventGen::BrokenBoneKind(r), kind) << r;
    const std::pair<int32_t, int32_t> sprains[] = {{20, 36}, {21, 37}, {30, 37}, {31, 38},
                                                   {40, 38}, {41, 39}, {75, 39}, {76, 40}};
    for (const auto& [r, kind] : sprains)
        EXPECT_EQ(CEventGen::SprainKind(r), kind) << r;

    const std::pair<int32_t, int32_t> injuries[] = {{45, 16}, {91, 14}};
    for (const auto& [r, kind] : injuries) {
        Reset();
        RuleDraws draws;
        draws.Next(1, 100, 20).Next(1, 100, r);
        EXPECT_FALSE(gen->InjuryRoll(20));
        EXPECT_TRUE(Member(0)->HasCondition(kind)) << r;
    }
    RuleDraws draws;
    draws.Next(1, 100, 21);
    EXPECT_TRUE(gen->InjuryRoll(20));
}

TEST_F(EventGenTest, OnlyTheFiveWagonMishapsRun)
{
    RuleDraws draws;
    gen->RunWagonMishap(15, 10, true, true);
    EXPECT_TRUE(runs.empty());
    EXPECT_EQ(draws.Count(1, 100), 0);
    draws.Next(1, 100, 100).Next(1, 100, 9); // the event's own count, then the runover draw
    gen->RunWagonMishap(73, 10);
    EXPECT_EQ(runs, std::vector<int32_t>{73});
    EXPECT_TRUE(IsQueued(74));

    // A tipped wagon in the water may drown someone.
    draws.Next(1, 100, 100).Next(1, 100, 29);
    gen->RunWagonMishap(90, 20, true, false);
    EXPECT_TRUE(Member(0)->HasCondition(18));
}

TEST_F(EventGenTest, ClothingCountsAgainstTheTravellers)
{
    AddMembers({30, 12});
    EXPECT_FALSE(gen->HasClothingForAll());
    party->GetSupplies()->AddItem(16, 1);
    party->GetSupplies()->AddItem(19, 1);
    EXPECT_FALSE(gen->HasClothingForAll());
    party->GetSupplies()->AddItem(112, 1);
    EXPECT_TRUE(gen->HasClothingForAll());
    Member(2)->SetStatus(1);
    party->GetSupplies()->SetItemCount(112, 0);
    EXPECT_TRUE(gen->HasClothingForAll()) << "only travellers need clothes";
    EXPECT_TRUE(gen->PartyHasItem(16));
    EXPECT_FALSE(gen->PartyHasItem(5));
}

TEST_F(EventGenTest, TheFieldsRoundTripInTwentyOneBytesAfterTheQueue)
{
    const std::string fields =
        Bytes({0, 0, 1, 1, 0, 1, 0, 7, 0, 9, 0, 2, 0, 0, 0xff, 0xff, 0, 4, 1, 0, 3, 1, 0, 5});
    LoadFields(fields);
    EXPECT_EQ(gen->GetQueue().GetRecoveryFlag(), 1);
    EXPECT_TRUE(gen->GetMudFlag());
    EXPECT_FALSE(gen->GetTimberFlag());
    EXPECT_EQ(gen->GetFireCooldown(), 9);
    EXPECT_EQ(gen->GetAlkaliWarnings(), 2);
    EXPECT_EQ(gen->GetReelection(), -1);
    EXPECT_EQ(gen->GetDryDays(), 4);
    EXPECT_TRUE(gen->GetLowMoraleFlag());
    EXPECT_EQ(gen->GetGrassCooldown(), 3);
    EXPECT_TRUE(gen->GetThirstPosted());
    EXPECT_EQ(gen->GetMosquitoCooldown(), 5);
    EXPECT_EQ(SaveBytes([&](CDoc& doc) { gen->Save(doc); }), fields);

    // A short record is an error and changes nothing.
    EXPECT_NE(LoadBytes(kClearFields.substr(0, kClearFields.size() - 1), [&](CDoc& doc) { gen->Load(doc); }),
              CDoc::kOk);
    EXPECT_TRUE(gen->GetMudFlag());
    EXPECT_EQ(gen->GetMosquitoCooldown(), 5);
}

TEST_F(EventGenTest, SavedEventsKeepTheirNumbersAndFindTheirPersonAgainByItsId)
{
    {
        RuleDraws quiet;
        party->SetMember(1, std::make_unique<CPartyMember>(static_cast<int16_t>(7)));
        party->SetMemberCount(2);
        Member(1)->AddCondition(5, 0);
    }
    CEventQueue& queue = gen->GetQueue();
    CRouteEvent* storm = queue.PostEvent(114, 1234567, -5, 3, 0, nullptr);
    storm->SetStep(2);
    storm->SetState(CRouteEvent::kShowAgain);
    storm->DisableChoice(3);
    storm->SetSpare(9);
    queue.PostEvent(8, Member(1), Member(1)->GetCondition(0), 0, 0, Member(1));
    queue.PostEvent(86, party->GetSupplies(), {}, 50, 0, nullptr);
    queue.SetRecoveryFlag(1);
    const std::string saved = SaveBytes([&](CDoc& doc) { gen->Save(doc); });
    ASSERT_EQ(saved.size(), static_cast<size_t>(CEventQueue::kSavedHeadSize + 3 * CRouteEvent::kSavedSize +
                                                CEventGen::kSavedSize));
    // The cold's event: type twice, state 0, both parameters 0 (they were objects), ... person 7.
    const std::string cold = saved.substr(CEventQueue::kSavedHeadSize + CRouteEvent::kSavedSize, 40);
    EXPECT_EQ(cold.substr(0, 14), Bytes({0, 8, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(cold.substr(38), Bytes({0, 7}));

    Reset();
    {
        RuleDraws quiet;
        party->SetMember(1, std::make_unique<CPartyMember>(static_cast<int16_t>(7)));
        party->SetMemberCount(2);
    }
    LoadFields(saved);
    ASSERT_EQ(gen->GetQueue().GetCount(), 3);
    const CRouteEvent* loaded = gen->GetQueue().GetEvent(0);
    EXPECT_EQ(loaded->GetType(), 114);
    EXPECT_EQ(loaded->GetFirst().GetValue(), 1234567);
    EXPECT_EQ(loaded->GetSecond().GetValue(), -5);
    EXPECT_EQ(loaded->GetStep(), 2);
    EXPECT_EQ(loaded->GetCount(), 3);
    EXPECT_EQ(loaded->GetState(), CRouteEvent::kShowAgain);
    EXPECT_FALSE(loaded->IsChoiceEnabled(3));
    EXPECT_TRUE(loaded->IsChoiceEnabled(4));
    EXPECT_EQ(loaded->GetSpare(), 9);
    EXPECT_EQ(loaded->GetPerson(), nullptr);
    const CRouteEvent* coldEvent = gen->GetQueue().GetEvent(1);
    EXPECT_EQ(coldEvent->GetPerson(), Member(1)) << "found again by id";
    EXPECT_EQ(coldEvent->GetFirst().GetMember(), nullptr);
    EXPECT_EQ(coldEvent->GetSecond().GetCondition(), nullptr) << "the condition is gone";
    EXPECT_EQ(gen->GetQueue().GetEvent(2)->GetFirst().GetValue(), 0) << "the supplies are not a number";
    EXPECT_EQ(gen->GetQueue().GetRecoveryFlag(), 1);
    EXPECT_EQ(SaveBytes([&](CDoc& doc) { gen->Save(doc); }).substr(0, 43), saved.substr(0, 43));
}

TEST_F(EventGenTest, ASavedQueueThatPromisesMoreThanItHoldsIsError6)
{
    gen->GetQueue().PostEvent(15, 0, 0, -1, 0, nullptr);
    struct Case {
        const char* what;
        std::string bytes;
    };
    const std::string oneEvent = Bytes({0, 15, 0, 15}) + std::string(36, '\0');
    const Case cases[] = {
        {"two promised, one there", Bytes({0, 2, 0}) + oneEvent + std::string(CEventGen::kSavedSize, '\0')},
        {"a negative count", Bytes({0xff, 0xff, 0}) + std::string(CEventGen::kSavedSize, '\0')},
        {"a huge count", Bytes({0x7f, 0xff, 0})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(LoadBytes(c.bytes, [&](CDoc& doc) { gen->Load(doc); }), CDoc::kStreamFailure);
        EXPECT_EQ(Queued(), std::vector<int32_t>{15}) << "the queue is kept";
    }
    // A type without a record, or a state the queue does not know, comes back finished.
    const std::string odd = Bytes({0, 2, 0}) + Bytes({0, 200, 0, 200}) + std::string(36, '\0') +
                            Bytes({0, 15, 0, 15, 0, 9}) + std::string(34, '\0') +
                            std::string(CEventGen::kSavedSize, '\0');
    ASSERT_EQ(LoadBytes(odd, [&](CDoc& doc) { gen->Load(doc); }), CDoc::kOk);
    ASSERT_EQ(gen->GetQueue().GetCount(), 2);
    EXPECT_EQ(gen->GetQueue().GetEvent(0)->GetState(), CRouteEvent::kFinished);
    EXPECT_EQ(gen->GetQueue().GetEvent(1)->GetState(), CRouteEvent::kFinished);
    gen->GetQueue().RunEvent(nullptr);
    EXPECT_EQ(gen->GetQueue().GetCount(), 0);
}

} // namespace
} // namespace traveltest
