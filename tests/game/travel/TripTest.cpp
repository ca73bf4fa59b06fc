#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "engine/framework/Doc.h"
#include "engine/framework/Util.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/RouteNode.h"
#include "game/travel/RouteSeqState.h"
#include "game/travel/Trip.h"
#include "game/travel/Weather.h"
#include "tests/game/travel/SampleData.h"
#include "tests/game/travel/TravelRecords.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace traveltest {
namespace {

// A trip whose fields a test may set directly.
class TestTrip : public CTrip {
public:
    using CTrip::curDate_;
    using CTrip::daysOnRoute_;
    using CTrip::mode_;
    using CTrip::modeBefore_;
    using CTrip::tenthsCarry_;
    int32_t daysEnded = 0;
    // Runs at each day's end when set.
    std::function<void(TestTrip&)> dayEnd;

protected:
    void OnDayEnded() override
    {
        ++daysEnded;
        if (dayEnd)
            dayEnd(*this);
    }
};

// Answers each draw through `pick` (lo, hi) while it lives.
class Draws {
public:
    explicit Draws(std::function<int32_t(int32_t, int32_t)> pick)
    {
        CUtil::SetDrawSource(
            [pick = std::move(pick)](int32_t lo, int32_t hi, int32_t) { return pick(lo, hi); });
    }
    ~Draws() { CUtil::SetDrawSource(nullptr); }
    Draws(const Draws&) = delete;
    Draws& operator=(const Draws&) = delete;
};

// The hour's random factor at `percent`; travellers drawn in turn 1, 2, ... 20, 1, ...; every
// other draw its low end.
std::function<int32_t(int32_t, int32_t)> Fixed(int32_t percent)
{
    return [percent, person = 0](int32_t lo, int32_t hi) mutable {
        if (lo == 80 && hi == 125)
            return percent;
        if (lo == 1 && hi == 20)
            return person++ % 20 + 1;
        return lo;
    };
}

// A weather model of region 10 with `snow` on the ground and a dry 30-day history.
std::unique_ptr<CWeather> WeatherWithSnow(int16_t snow, const CDate& date)
{
    std::string record;
    const auto word = [&](int16_t v) {
        record += static_cast<char>((v >> 8) & 0xff);
        record += static_cast<char>(v & 0xff);
    };
    for (int16_t v : {int16_t{10}, snow, int16_t{0}, int16_t{0}})
        word(v);
    for (int day = 0; day < CWeather::kHistoryDays; ++day)
        for (int16_t v : {int16_t{80}, int16_t{55}, int16_t{0}})
            word(v);
    auto weather = std::make_unique<CWeather>(10, date);
    EXPECT_EQ(LoadBytes(record, [&](CDoc& doc) { weather->Load(doc); }), CDoc::kOk);
    return weather;
}

// An event type that has no record: it ends as soon as the queue runs it.
constexpr int16_t kEventWithoutRecord = 999;

class TripTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        OpenSampleData();
        CTrip::ClearHourlyBase();
    }

    // A trip on node 2 (a 40-mile segment) with six draught animals and nothing else.
    void StartOnSegment(TestTrip& trip)
    {
        trip.SetUpTrip();
        trip.PlaceOnNode(2);
        trip.GetParty()->GetSupplies()->AddItem(CParty::kDraughtAnimals, 6);
    }
};

TEST_F(TripTest, SetUpStartsAFreshTripOffTheRoute)
{
    TestTrip trip;
    EXPECT_TRUE(trip.IsFresh());
    trip.SetUpTrip();
    EXPECT_FALSE(trip.IsFresh());
    EXPECT_EQ(trip.GetMode(), CTrip::kNotOnRoute);
    EXPECT_EQ(trip.GetNodeId(), -1);
    EXPECT_EQ(trip.GetPace(), 0);
    EXPECT_EQ(trip.GetSpeedPercent(), 100);
    EXPECT_EQ(trip.GetDaySpeedPercent(), 100);
    EXPECT_EQ(trip.GetWeatherId(), -1);
    EXPECT_EQ(trip.GetWeather(), nullptr);
    EXPECT_EQ(trip.GetNode(), nullptr);
    EXPECT_TRUE(trip.HasNoPost());
    EXPECT_GE(trip.GetTripRisk(), 3);
    EXPECT_LE(trip.GetTripRisk(), 150);
    ASSERT_NE(trip.GetCurDate(), nullptr);
    EXPECT_EQ(trip.GetCurDate()->GetDayNumber(), CDate(1848, 4, 1).GetDayNumber());
    EXPECT_EQ(trip.GetStartDate()->GetDayNumber(), CDate(1848, 4, 1).GetDayNumber());
    ASSERT_NE(trip.GetParty(), nullptr);
    EXPECT_NE(trip.GetEventQueue(), nullptr);
    for (int16_t f = 0; f < CTrip::kSceneFlagCount; ++f)
        EXPECT_FALSE(trip.GetSceneFlag(f));
}

TEST_F(TripTest, TheTravellersKeepTheirRulesOverAThousandSeeds)
{
    TestTrip trip;
    for (uint32_t seed = 1; seed <= 1000; ++seed) {
        CUtil::SetRandomSeed(seed);
        trip.DrawTravellers();
        std::set<int16_t> ids;
        int16_t last = 0;
        for (const CTrip::Person& p : trip.GetPersons()) {
            ASSERT_GE(p.id, 1) << seed;
            ASSERT_LE(p.id, 20) << seed;
            ASSERT_GT(p.id, last) << "sorted, no repeats; seed " << seed;
            ASSERT_EQ(p.wordA, 0);
            ASSERT_EQ(p.wordB, 0);
            last = p.id;
            ids.insert(p.id);
        }
        ASSERT_EQ(ids.size(), 8u);
        for (int16_t never : {5, 8, 12, 15})
            ASSERT_FALSE(trip.IsPersonListed(never)) << seed;
        ASSERT_EQ(trip.IsPersonListed(1), trip.IsPersonListed(16)) << seed;
        ASSERT_EQ(trip.IsPersonListed(11), trip.IsPersonListed(18)) << seed;
        ASSERT_EQ(trip.FindPerson(last), 7);
        ASSERT_EQ(trip.FindPerson(5), -43);
    }
}

TEST_F(TripTest, TheLastTravellerIsNeverHalfOfAPair)
{
    // Every draw offers 1 first (a pair), so the eighth entry must refuse it and the ids
    // after it until one stands alone.
    int32_t next = 0;
    const int16_t offers[] = {1, 2, 3, 4, 6, 7, 1, 11, 16, 18, 9};
    Draws draws([&](int32_t lo, int32_t hi) {
        if (lo == 1 && hi == 20)
            return static_cast<int32_t>(
                offers[std::min<size_t>(static_cast<size_t>(next++), std::size(offers) - 1)]);
        return lo;
    });
    TestTrip trip;
    trip.SetUpTrip();
    std::vector<int16_t> ids;
    for (const CTrip::Person& p : trip.GetPersons())
        ids.push_back(p.id);
    EXPECT_EQ(ids, (std::vector<int16_t>{1, 2, 3, 4, 6, 7, 9, 16}));
}

TEST_F(TripTest, AResetWithoutASetUpLeavesTheDatesAndPartyMissing)
{
    TestTrip never;
    never.ResetTripState();
    EXPECT_EQ(never.GetCurDate(), nullptr);
    EXPECT_EQ(never.GetStartDate(), nullptr);
    EXPECT_EQ(never.GetParty(), nullptr);
    EXPECT_EQ(never.GetMode(), CTrip::kNotOnRoute);

    TestTrip trip;
    StartOnSegment(trip);
    for (int i = 0; i < 20; ++i)
        trip.AdvanceDay(1);
    const CParty* before = trip.GetParty();
    trip.ResetTripState();
    EXPECT_NE(trip.GetParty(), before);
    EXPECT_EQ(trip.GetParty()->GetSupplies()->GetCount(), 0);
    EXPECT_EQ(trip.GetNodeId(), -1);
    EXPECT_EQ(trip.GetNode(), nullptr);
    EXPECT_EQ(trip.GetWeather(), nullptr);
    EXPECT_EQ(trip.GetDaysOnRoute(), 0);
    EXPECT_EQ(trip.GetTotalDistance(), 0);
    EXPECT_EQ(trip.GetHourOfDay(), 0);
    EXPECT_EQ(trip.GetCurDate()->GetDayNumber(), CDate(1848, 4, 1).GetDayNumber());
}

TEST_F(TripTest, SeasonsFollowTheCalendar)
{
    struct Case {
        int16_t month, day;
        uint8_t season;
    } cases[] = {{1, 10, 2}, {2, 28, 2}, {3, 25, 2}, {3, 26, 0}, {4, 1, 0},  {8, 31, 0},
                 {9, 19, 0}, {9, 20, 1}, {10, 1, 1}, {11, 1, 2}, {12, 31, 2}};
    TestTrip trip;
    trip.SetUpTrip();
    for (const Case& c : cases) {
        trip.curDate_ = std::make_unique<CDate>(1848, c.month, c.day);
        EXPECT_EQ(trip.GetSeason(), c.season) << c.month << "/" << c.day;
    }
    // Snow on the ground makes it season 3 whatever the date.
    trip.SetWeather(WeatherWithSnow(40, *trip.curDate_));
    EXPECT_EQ(trip.GetSeason(), 3);
    trip.SetWeather(WeatherWithSnow(0, *trip.curDate_));
    EXPECT_EQ(trip.GetSeason(), 2);
}

TEST_F(TripTest, TenthsOfAMileCarryToTheNextHour)
{
    // The first hours of a trip: a full rate of 25 for a leader at full health (level 4 from
    // the start, no slowing), at 94 percent: 23 tenths an hour.
    Draws draws(Fixed(94));
    TestTrip trip;
    StartOnSegment(trip);
    trip.SetWeather(nullptr); // no snow
    ASSERT_EQ(trip.GetParty()->GetMember(0)->GetLevel(), 4);
    const int16_t miles[] = {2, 2, 2};
    const int16_t carry[] = {3, 6, 9};
    int16_t total = 0;
    for (int i = 0; i < 3; ++i) {
        trip.AdvanceDay(1);
        total = static_cast<int16_t>(total + miles[i]);
        EXPECT_EQ(trip.GetDistanceToday(), total) << i;
        EXPECT_EQ(trip.GetTenthsCarry(), carry[i]) << i;
    }
    EXPECT_EQ(trip.GetTotalDistance(), 6);
    EXPECT_EQ(trip.GetDistanceToNext(), 34);
}

TEST_F(TripTest, HoursThatGainNothing)
{
    struct Case {
        const char* what;
        std::function<void(TestTrip&)> arrange;
    } cases[] = {
        {"no draught animals", [](TestTrip& t) { t.GetParty()->GetSupplies()->Clear(); }},
        {"speed percent 0", [](TestTrip& t) { t.SetSpeedPercent(0); }},
        {"stopped", [](TestTrip& t) { t.SetMode(CTrip::kStopped); }},
        {"hours lost", [](TestTrip& t) { t.LoseHours(3); }},
    };
    for (const Case& c : cases) {
        CTrip::ClearHourlyBase();
        TestTrip trip;
        StartOnSegment(trip);
        trip.tenthsCarry_ = 7;
        c.arrange(trip);
        for (int i = 0; i < 3; ++i)
            trip.AdvanceDay(1);
        EXPECT_EQ(trip.GetDistanceToday(), 0) << c.what;
        EXPECT_EQ(trip.GetTenthsCarry(), 7) << c.what;
        EXPECT_EQ(trip.GetHourOfDay(), 3) << c.what;
        EXPECT_EQ(trip.GetLostHours(), 0) << c.what;
    }
}

// Lost hours are the next moving hours: they gain nothing and run no more hours than asked;
// hours standing still keep them; a new trip, a reset and a load have none.
// The hourly base is kept for the rest of a day, process-wide: a new trip, a reset and a load
// compute their own. Here deep snow leaves a quarter of the base another trip left behind.
TEST_F(TripTest, ANewResetOrLoadedTripComputesItsOwnHourlyBase)
{
    Draws draws(Fixed(100));
    const auto firstHourTenths = [](TestTrip& t) {
        const int16_t before = static_cast<int16_t>(t.GetTotalDistance() * 10 + t.GetTenthsCarry());
        t.AdvanceDay(1);
        return static_cast<int16_t>(t.GetTotalDistance() * 10 + t.GetTenthsCarry() - before);
    };
    const auto inDeepSnow = [](TestTrip& t) { t.SetWeather(WeatherWithSnow(400, *t.GetCurDate())); };
    TestTrip snowy;
    StartOnSegment(snowy);
    inDeepSnow(snowy);
    const std::string bytes = SaveBytes([&](CDoc& doc) { snowy.Save(doc); });

    struct Case {
        const char* what;
        std::function<void(TestTrip&)> start;
    } cases[] = {
        {"a new trip",
         [&](TestTrip& t) {
             StartOnSegment(t);
             inDeepSnow(t);
         }},
        {"a reset",
         [&](TestTrip& t) {
             t.ResetTripState();
             t.PlaceOnNode(2);
             t.GetParty()->GetSupplies()->AddItem(CParty::kDraughtAnimals, 6);
             inDeepSnow(t);
         }},
        {"a load",
         [&](TestTrip& t) { ASSERT_EQ(LoadBytes(bytes, [&](CDoc& doc) { t.Load(doc); }), CDoc::kOk); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestTrip trip;
        StartOnSegment(trip);
        TestTrip other;
        StartOnSegment(other);
        other.SetWeather(nullptr);
        const int16_t clear = firstHourTenths(other);
        ASSERT_GT(clear, 4);
        c.start(trip);
        EXPECT_EQ(trip.GetWeather()->GetSnowDepth(), 400);
        EXPECT_EQ(firstHourTenths(trip), clear * 25 / 100);
    }
}

TEST_F(TripTest, LostHoursAreTheNextMovingHours)
{
    Draws draws(Fixed(100));
    TestTrip trip;
    StartOnSegment(trip);
    trip.SetWeather(nullptr);
    trip.LoseHours(2);
    trip.PassHours(24);
    EXPECT_EQ(trip.GetLostHours(), 2) << "standing still";
    const int32_t days = trip.daysEnded;
    const int16_t miles = trip.GetTotalDistance();
    for (int hour = 1; hour <= 3; ++hour) {
        trip.AdvanceDay(1);
        EXPECT_EQ(trip.GetHourOfDay(), hour);
        EXPECT_EQ(trip.GetLostHours(), std::max(0, 2 - hour));
        EXPECT_EQ(trip.GetTotalDistance() > miles, hour == 3) << hour;
    }
    EXPECT_EQ(trip.daysEnded, days);

    const std::string bytes = SaveBytes([&](CDoc& doc) { trip.Save(doc); });
    const std::function<void(TestTrip&)> fresh[] = {
        [](TestTrip& t) { t.SetUpTrip(); },
        [](TestTrip& t) { t.ResetTripState(); },
        [&](TestTrip& t) { EXPECT_EQ(LoadBytes(bytes, [&](CDoc& doc) { t.Load(doc); }), CDoc::kOk); },
    };
    for (const auto& start : fresh) {
        TestTrip again;
        StartOnSegment(again);
        again.LoseHours(5);
        start(again);
        EXPECT_EQ(again.GetLostHours(), 0);
    }
}

// Skill 9 gives a day one point of morale, but not on days 7, 14 and 21; the day's
// penalties, the same for both parties, come every day.
TEST_F(TripTest, SkillsGiveNoMoraleOnEverySeventhDay)
{
    // Occupation 9's skills are 9, 1, 8 and 15; occupation 17's 1, 8, 15 and 5.
    std::vector<int16_t> gains[2];
    for (int32_t occupation : {9, 17}) {
        CUtil::SetRandomSeed(12);
        TestTrip trip;
        StartOnSegment(trip);
        CParty& party = *trip.GetParty();
        party.SetMember(0, std::make_unique<CPartyMember>(nullptr, 30, 3, 3, occupation));
        ASSERT_EQ(party.HasSkill(9), occupation == 9);
        std::vector<int16_t>& gain = gains[occupation == 9 ? 0 : 1];
        trip.dayEnd = [&](TestTrip& t) {
            gain.push_back(static_cast<int16_t>(t.GetParty()->GetMorale() - 50));
            t.GetParty()->AddMorale(static_cast<int16_t>(50 - t.GetParty()->GetMorale()));
        };
        party.AddMorale(static_cast<int16_t>(50 - party.GetMorale()));
        while (trip.daysEnded < 22)
            trip.AdvanceDay(0);
    }
    for (size_t day = 1; day <= 22; ++day)
        EXPECT_EQ(gains[0][day - 1] - gains[1][day - 1], day % 7 == 0 ? 0 : 1) << "day " << day;
}

TEST_F(TripTest, TheLastHourOfASegmentGainsOnlyWhatIsLeft)
{
    Draws draws(Fixed(125));
    TestTrip trip;
    StartOnSegment(trip);
    trip.SetWeather(nullptr); // no snow
    trip.SetDistanceToNext(4);
    trip.AdvanceDay(1); // 25 × 125 %: 31 tenths, 3 miles
    EXPECT_EQ(trip.GetDistanceToNext(), 1);
    trip.AdvanceDay(1); // 32 tenths: 3 miles, capped at 1
    EXPECT_EQ(trip.GetDistanceToNext(), 0);
    EXPECT_EQ(trip.GetTotalDistance(), 4);
    trip.AdvanceDay(1);
    EXPECT_EQ(trip.GetDistanceToNext(), 0);
    EXPECT_EQ(trip.GetTotalDistance(), 4);
}

TEST_F(TripTest, ADayEndsAfterItsTravelHoursAndPassingTimeCountsThem)
{
    TestTrip trip;
    StartOnSegment(trip);
    for (int i = 0; i < 7; ++i)
        trip.AdvanceDay(1);
    EXPECT_EQ(trip.daysEnded, 0);
    trip.AdvanceDay(1);
    EXPECT_EQ(trip.daysEnded, 1);
    EXPECT_EQ(trip.GetDaysOnRoute(), 1);
    EXPECT_EQ(trip.GetDaysSinceStop(), 1);
    EXPECT_EQ(trip.GetCurDate()->GetDayNumber(), CDate(1848, 4, 2).GetDayNumber());
    EXPECT_EQ(trip.GetHourOfDay(), 0);
    EXPECT_EQ(trip.GetDistanceToday(), 0);

    // 36 hours at pace 0: 8 + 4 travel hours, the party standing still.
    const int16_t miles = trip.GetTotalDistance();
    EXPECT_EQ(trip.PassHours(36), 36);
    EXPECT_EQ(trip.GetDaysOnRoute(), 2);
    EXPECT_EQ(trip.GetHourOfDay(), 4);
    EXPECT_EQ(trip.GetTotalDistance(), miles);
    EXPECT_EQ(trip.GetMode(), CTrip::kMoving);
    EXPECT_EQ(trip.GetModeBefore(), CTrip::kMoving);
}

TEST_F(TripTest, ADayWithoutMilesIsMarkedAsSuch)
{
    struct Case {
        const char* what;
        int16_t oxen;
        int32_t percent;
        bool none, slow;
    } cases[] = {
        {"no oxen", 0, 100, true, false}, {"crawling", 6, 80, false, true}, {"full", 6, 125, false, false}};
    for (const Case& c : cases) {
        Draws draws(Fixed(c.percent));
        TestTrip trip;
        trip.SetUpTrip();
        trip.PlaceOnNode(2);
        trip.SetWeather(nullptr);
        trip.GetParty()->GetSupplies()->AddItem(CParty::kDraughtAnimals, c.oxen);
        trip.SetSpeedPercent(c.percent == 80 ? 10 : 100); // 25 x 80 % x 10 %: 2 tenths an hour
        for (int i = 0; i < 8; ++i)
            trip.AdvanceDay(1);
        EXPECT_EQ(trip.GetSceneFlag(CTrip::kFlagNoProgress), c.none) << c.what;
        EXPECT_EQ(trip.GetSceneFlag(CTrip::kFlagSlowProgress), c.slow) << c.what;
    }
}

TEST_F(TripTest, EventsPossibleByModeAnimalsAndNode)
{
    TestTrip trip;
    StartOnSegment(trip);
    // Moving: always-possible ids, animal ids while animals are there, other ids by the node.
    EXPECT_TRUE(trip.IsEventPossible(2));
    EXPECT_TRUE(trip.IsEventPossible(1));
    EXPECT_FALSE(trip.IsEventPossible(0));
    EXPECT_FALSE(trip.IsEventPossible(115));
    trip.GetParty()->GetSupplies()->Clear();
    EXPECT_FALSE(trip.IsEventPossible(1));
    EXPECT_TRUE(trip.IsEventPossible(2));
    // Stopped: only the stopped list.
    trip.SetMode(CTrip::kStopped);
    EXPECT_TRUE(trip.IsEventPossible(8));
    EXPECT_FALSE(trip.IsEventPossible(2));
    trip.SetMode(CTrip::kStoppedToo);
    EXPECT_TRUE(trip.IsEventPossible(103));
    EXPECT_FALSE(trip.IsEventPossible(109));
    // The river node lists its crossing events.
    trip.SetMode(CTrip::kMoving);
    trip.PlaceOnNode(6);
    EXPECT_TRUE(trip.IsEventPossible(23));
    EXPECT_TRUE(trip.IsEventPossible(24));
    trip.PlaceOnNode(7);
    EXPECT_FALSE(trip.IsEventPossible(23));

    // Node 2 afloat (route type FLOATING, its event list kept) allows no event at all.
    trip.PlaceOnNode(2);
    ASSERT_TRUE(trip.IsEventPossible(59));
    std::string node = qmtest::ReadWholeFile(qmtest::SourceDir() / "data" / "game" / "QM3Data" / "NOD" /
                                             qmtest::FolderLibraryWriter::FileName("NOD", 2));
    const size_t at = node.find("2, 0, 0, 1,");
    ASSERT_NE(at, std::string::npos);
    node.replace(at, 11, "300, 6, 0, 1,");
    qmtest::FolderLibraryWriter(qmtest::TempDir() / "Afloat").Add("NOD", 300, node);
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("D:\\Afloat"));
    trip.PlaceOnNode(300);
    ASSERT_EQ(trip.GetNode()->GetRouteType(), CRouteNode::kFloating);
    for (int32_t id : {59, 101, 2})
        EXPECT_FALSE(trip.IsEventPossible(id)) << id;
}

TEST_F(TripTest, TheDaysFieldReadsItsLeadingNumberWithinBounds)
{
    struct Case {
        const char* text;
        int16_t days;
    } cases[] = {{"", 1},  {"x", 1},       {"0", 1},       {"-3", 1},       {"12ab", 12},
                 {"7", 7}, {"1365", 1365}, {"1366", 1365}, {"99999", 1365}, {"40000", 1365}};
    for (const Case& c : cases)
        EXPECT_EQ(CTrip::ParseDays(c.text), c.days) << c.text;
}

TEST_F(TripTest, WaitingForAnEventEndsWhenNothingIsQueued)
{
    TestTrip trip;
    StartOnSegment(trip);
    trip.SetMode(CTrip::kStopped);
    trip.SetWaitDays(-1);
    trip.WaitDays();
    EXPECT_EQ(trip.GetWaitDays(), 0);
    EXPECT_EQ(trip.GetDaysOnRoute(), 1);
    EXPECT_EQ(trip.GetTotalDistance(), 0);

    trip.SetWaitDays(40000 / 24); // 1666 days asked: 1365 pass
    trip.WaitDays();
    EXPECT_EQ(trip.GetWaitDays(), 0);
    EXPECT_EQ(trip.GetDaysOnRoute(), 1 + 1365);
}

// A wait for an event whose queue never empties (each day's end queues another event) ends
// after a year.
TEST_F(TripTest, WaitingForAnEventEndsAfterAYear)
{
    TestTrip trip;
    StartOnSegment(trip);
    trip.dayEnd = [](TestTrip& t) { t.PostEvent(kEventWithoutRecord, 0, 0, -1, nullptr); };
    trip.SetMode(CTrip::kStopped);
    trip.SetWaitDays(-1);
    trip.WaitDays();
    EXPECT_EQ(trip.GetWaitDays(), 0);
    EXPECT_EQ(trip.GetDaysOnRoute(), 365);
    EXPECT_EQ(trip.GetTotalDistance(), 0);
}

TEST_F(TripTest, DayFlagsFollowTheNodeAndTheMode)
{
    TestTrip trip;
    StartOnSegment(trip);
    trip.PlaceOnNode(3); // sand, plants
    trip.UpdateDayFlags();
    EXPECT_TRUE(trip.GetSceneFlag(CTrip::kFlagSand));
    EXPECT_TRUE(trip.GetSceneFlag(CTrip::kFlagPlants));
    EXPECT_FALSE(trip.GetSceneFlag(CTrip::kFlagRough));
    EXPECT_FALSE(trip.GetSceneFlag(CTrip::kFlagStopped));
    trip.PlaceOnNode(5); // rough
    trip.SetMode(CTrip::kStopped);
    trip.UpdateDayFlags();
    EXPECT_FALSE(trip.GetSceneFlag(CTrip::kFlagSand));
    EXPECT_TRUE(trip.GetSceneFlag(CTrip::kFlagRough));
    EXPECT_TRUE(trip.GetSceneFlag(CTrip::kFlagRoughSecond));
    EXPECT_TRUE(trip.GetSceneFlag(CTrip::kFlagStopped));
}

// ---- Record 2 ----

std::string SaveTrip(CTrip& trip)
{
    return SaveBytes([&](CDoc& doc) { trip.Save(doc); });
}

TEST_F(TripTest, RecordTwoHoldsTheFieldsAtTheirOffsets)
{
    TestTrip trip;
    StartOnSegment(trip);
    for (int i = 0; i < 20; ++i)
        trip.AdvanceDay(1);
    const std::string party = SaveBytes([&](CDoc& doc) { trip.GetParty()->Save(doc); });
    const std::string bytes = SaveTrip(trip);
    ASSERT_EQ(bytes.size(), CTrip::kFixedRecordSize + party.size() + CWeather::kRecordSize);
    auto word = [&](size_t at) {
        return static_cast<int16_t>((static_cast<uint8_t>(bytes[at]) << 8) |
                                    static_cast<uint8_t>(bytes[at + 1]));
    };
    auto longAt = [&](size_t at) { return (int32_t{word(at)} << 16) | static_cast<uint16_t>(word(at + 2)); };
    EXPECT_EQ(longAt(0), -1);
    EXPECT_EQ(bytes[4], 0);
    EXPECT_EQ(word(9), 2);
    EXPECT_EQ(word(13), 2); // days on route
    EXPECT_EQ(word(19), trip.GetTotalDistance());
    EXPECT_EQ(word(21), trip.GetDistanceToNext());
    EXPECT_EQ(word(37), 10); // weather id of node 2
    EXPECT_EQ(longAt(43), CDate(1848, 4, 3).GetDayNumber());
    EXPECT_EQ(longAt(47), CDate(1848, 4, 1).GetDayNumber());
    EXPECT_EQ(bytes.substr(59, party.size()), party);
    const size_t persons = 59 + party.size() + CWeather::kRecordSize;
    EXPECT_EQ(word(persons), trip.GetPersons()[0].id);
    EXPECT_EQ(word(persons + 42), trip.GetPersons()[7].id);
    // No map yet: a new trip's map state.
    EXPECT_EQ(word(persons + 48 + 27), CRouteSeqState::kNone);
}

TEST_F(TripTest, ALoadedTripSavesAsItWasAndStopsNoMore)
{
    TestTrip trip;
    StartOnSegment(trip);
    for (int i = 0; i < 30; ++i)
        trip.AdvanceDay(1);
    trip.mode_ = CTrip::kStopped;
    trip.modeBefore_ = CTrip::kMoving;
    trip.SetWaitDays(5);
    const std::string bytes = SaveTrip(trip);

    // One trip that ran a while with events queued, one made afresh: both load the same.
    TestTrip ran;
    StartOnSegment(ran);
    for (int i = 0; i < 50; ++i)
        ran.AdvanceDay(1);
    ran.PostEvent(22, 0, 0, -1, ran.GetParty()->GetMember(0));
    TestTrip fresh;
    for (TestTrip* t : {&ran, &fresh}) {
        ASSERT_EQ(LoadBytes(bytes, [&](CDoc& doc) { t->Load(doc); }), CDoc::kOk);
        EXPECT_EQ(t->GetMode(), CTrip::kMoving);
        EXPECT_EQ(t->GetWaitDays(), 0);
        EXPECT_EQ(t->GetEventQueue()->GetCount(), 0);
        EXPECT_EQ(t->GetNodeId(), 2);
        ASSERT_NE(t->GetNode(), nullptr);
        EXPECT_EQ(t->GetCurDate()->GetDayNumber(), trip.GetCurDate()->GetDayNumber());
        EXPECT_EQ(t->GetWeather()->GetHigh(3), trip.GetWeather()->GetHigh(3));
    }
    const std::string again = SaveTrip(fresh);
    EXPECT_EQ(SaveTrip(ran), again);
    // The stored mode was 1, so the reload stores its mode before; otherwise the same bytes.
    std::string expected = bytes;
    expected[5] = expected[6] = 0; // wait days
    expected[53] = 0;
    expected[54] = 0; // mode
    EXPECT_EQ(again, expected);
}

TEST_F(TripTest, SavingWithoutWeatherWritesItsRegionAndAnEmptyHistory)
{
    TestTrip trip;
    trip.SetUpTrip();
    const std::string party = SaveBytes([&](CDoc& doc) { trip.GetParty()->Save(doc); });
    const std::string bytes = SaveTrip(trip);
    ASSERT_EQ(bytes.size(), CTrip::kFixedRecordSize + party.size() + CWeather::kRecordSize);
    const std::string weather = bytes.substr(59 + party.size(), CWeather::kRecordSize);
    EXPECT_EQ(weather.substr(0, 2), std::string("\xff\xff", 2));
    EXPECT_EQ(weather.substr(2), std::string(CWeather::kRecordSize - 2, '\0'));
    ASSERT_NE(trip.GetRouteSeqState(), nullptr);
}

TEST_F(TripTest, ADamagedPartyEndsTheLoadWithErrorSix)
{
    TestTrip trip;
    trip.SetUpTrip();
    std::string bytes = SaveTrip(trip);
    bytes[59] = 0x00;
    bytes[60] = 0x09; // nine members
    TestTrip loaded;
    EXPECT_EQ(LoadBytes(bytes, [&](CDoc& doc) { loaded.Load(doc); }), CDoc::kStreamFailure);
    EXPECT_EQ(LoadBytes(bytes.substr(0, 40), [&](CDoc& doc) { loaded.Load(doc); }), CDoc::kStreamFailure);
}

} // namespace
} // namespace traveltest
