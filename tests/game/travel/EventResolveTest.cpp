// Route event resolution: the steps a choice applies, on the sample data's trip with events of
// the sample records and of records a test writes, draws scripted.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/framework/Util.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "game/base/save/Diary.h"
#include "game/travel/EventResolve.h"
#include "game/travel/HealthCond.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Trip.h"
#include "game/travel/Weather.h"
#include "platform/Files.h"
#include "tests/game/travel/EventRecords.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace traveltest {
namespace {

// Draws of a range answer the values given for it in turn, then `fallback`(lo, hi).
class Answers {
public:
    explicit Answers(std::function<int32_t(int32_t, int32_t)> fallback = [](int32_t,
                                                                            int32_t hi) { return hi; })
        : fallback_(std::move(fallback))
    {
        CUtil::SetDrawSource([this](int32_t lo, int32_t hi, int32_t) { return Next(lo, hi); });
    }
    ~Answers() { CUtil::SetDrawSource(nullptr); }
    Answers(const Answers&) = delete;
    Answers& operator=(const Answers&) = delete;

    Answers& Give(int32_t lo, int32_t hi, std::vector<int32_t> values)
    {
        for (int32_t v : values)
            next_[{lo, hi}].push_back(v);
        return *this;
    }

private:
    int32_t Next(int32_t lo, int32_t hi)
    {
        std::deque<int32_t>& q = next_[{lo, hi}];
        if (q.empty())
            return fallback_(lo, hi);
        const int32_t v = q.front();
        q.pop_front();
        return v;
    }
    std::function<int32_t(int32_t, int32_t)> fallback_;
    std::map<std::pair<int32_t, int32_t>, std::deque<int32_t>> next_;
};

struct Sent {
    int32_t id;
    MsgWord p1;
    MsgWord p2;
    bool operator==(const Sent&) const = default;
};

// A trip that records what its events ask of the screen and the application.
class EventsTrip : public CTrip {
public:
    void StopForEvent(bool askDays) override
    {
        stops.push_back(askDays);
        CTrip::StopForEvent(askDays);
    }
    void SendToApplication(int32_t id, MsgWord p1, MsgWord p2) override
    {
        application.push_back({id, p1, p2});
    }
    void PostToTravelFrame(int32_t id) override
    {
        posted.push_back(id);
        if (onPost)
            onPost(id);
    }
    void BroadcastToScreens(int32_t id, MsgWord p1) override { broadcast.push_back({id, p1, 0}); }
    void SendToTravelFrame(int32_t id) override { frame.push_back(id); }
    void OnChoiceItem(int16_t item, CParty*) override { items.push_back(item); }
    bool IsTravelFrameEnabled() const override { return frameEnabled; }
    CDiary* GetDiary() const override { return diary.get(); }

    std::vector<bool> stops;
    std::vector<Sent> application;
    std::vector<int32_t> posted;
    std::vector<Sent> broadcast;
    std::vector<int32_t> frame;
    std::vector<int16_t> items;
    bool frameEnabled = true;
    std::function<void(int32_t)> onPost;
    std::unique_ptr<CDiary> diary;
};

// Resolution with the result boxes recorded (phrase, or -1 and the text) instead of shown.
class RecordingEvents : public CTripEvents {
public:
    using CTripEvents::CTripEvents;
    void ShowResult(int16_t, int16_t phrase, const CStr* text) override
    {
        results.push_back(text ? -1 : phrase);
        if (text)
            texts.emplace_back(text->GetText());
    }
    std::vector<int16_t> results;
    std::vector<std::string> texts;
};

class EventResolveTest : public ::testing::Test {
public:
    void SetUp() override
    {
        // Records of the test's own (test types 25, 27, 28, 35-38, 40, 41, 43 and 45 are
        // generic) come before the sample data.
        qmtest::FolderLibraryWriter extra(qmtest::TempDir() / "Extra");
        const auto data = qmtest::SourceDir() / "data" / "game";
        extra.Add("EVT", 0, qmtest::ReadWholeFile(data / "QM3Data" / "EVT" / "000000.EVT"));
        const int16_t genericTypes[] = {25, 27, 28, 35, 36, 37, 38, 40, 41, 43, 45};
        for (int16_t kind = 0; kind <= 10; ++kind)
            extra.Add(
                "EVT", genericTypes[kind],
                EventRecordText(
                    {},
                    {Choice{
                        .text = 1, .outcome = kind, .success = -3, .failure = -5, .cap = 40, .delay = 5}}));
        extra.Add("EVT", 9,
                  EventRecordText({.target = 2}, {Choice{.text = 1, .success = -1, .cap = 100, .stage = 7}}));
        extra.Add("EVT", 17,
                  EventRecordText({}, {Choice{.text = 1, .cap = 100, .delay = -2},
                                       Choice{.text = 2, .cap = 100, .delay = -1}}));
        plat::SetDrives(
            {{'C', data, plat::DriveKind::Fixed}, {'D', qmtest::TempDir(), plat::DriveKind::Fixed}});
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("D:\\Extra"));
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\QM3Data"));
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\QM3Lang"));
        CTrip::ClearHourlyBase();
        CUtil::SetRandomSeed(3);
        trip.stops.clear();
        trip.application.clear();
        trip.posted.clear();
        trip.broadcast.clear();
        trip.frame.clear();
        events.results.clear();
        events.texts.clear();
        trip.SetUpTrip();
        trip.PlaceOnNode(2);
        trip.SetMode(CTrip::kMoving);
        party().GetSupplies()->AddItem(CParty::kDraughtAnimals, 4);
        // Two more travellers (named persons 2 and 3).
        party().CreateMember(1, 2);
        party().CreateMember(2, 3);
        party().SetMemberCount(3);
    }

    CParty& party() { return *trip.GetParty(); }
    CEventQueue& queue() { return *trip.GetEventQueue(); }

    // Posts an event of the type (its count drawn) at `step`.
    CRouteEvent& Post(int16_t type, int16_t step, CEventArg first = {}, CEventArg second = {},
                      CPartyMember* person = nullptr)
    {
        CRouteEvent* event = queue().PostEvent(type, first, second, -1, 0, person);
        event->SetStep(step);
        return *event;
    }
    // Resolves a new event of the type at `step` (posted with the arguments); answers it.
    CRouteEvent& Resolve(int16_t type, int16_t step, CEventArg first = {}, CEventArg second = {},
                         CPartyMember* person = nullptr)
    {
        CRouteEvent& event = Post(type, step, first, second, person);
        events.ResolveEvent(queue(), event);
        return event;
    }

    EventsTrip trip;
    RecordingEvents events{trip};
};

TEST_F(EventResolveTest, GenericOutcomeKindsDecideBetweenTheSuccessAndFailureMorale)
{
    struct Row {
        int16_t type;
        int16_t kind;
        bool food;
        std::vector<std::pair<int32_t, int32_t>> lowDraws; // ranges that answer their low end
        int16_t morale;                                    // change
        std::vector<int32_t> percentDraws = {};            // R(1..100) first (the event's count first)
    };
    // Success -3, failure -5; the draws answer their high end ("nothing happened") unless listed.
    const Row rows[] = {
        {25, 0, false, {}, -3},
        {27, 1, true, {}, -3},
        {27, 1, false, {}, -5},
        {28, 2, false, {}, -3},
        {28, 2, false, {{1, 10000}}, -5, {50, 30}}, // a breakdown: an axle, queued
        {35, 3, false, {}, -3},
        {36, 4, false, {}, -3},
        {36, 4, false, {{1, 100}}, -5},
        {37, 5, false, {{1, 100}}, -5},
        {38, 6, false, {}, -3},
        {40, 7, false, {}, 0},
        {41, 8, false, {{1, 100}}, 0},
        {43, 9, false, {}, 0},
        {45, 10, false, {}, -3}, // travel rate 25 below 30
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "kind " << row.kind);
        SetUp();
        if (row.food)
            party().GetSupplies()->AddItem(5, 200);
        Answers draws([&](int32_t lo, int32_t hi) {
            for (const auto& r : row.lowDraws)
                if (r.first == lo && r.second == hi)
                    return lo;
            return hi;
        });
        draws.Give(1, 100, row.percentDraws);
        party().AddMorale(-40);
        const CRouteEvent& event = Resolve(row.type, 0, 30);
        EXPECT_EQ(party().GetMorale(), 50 + row.morale);
        EXPECT_EQ(event.GetState(), CRouteEvent::kFinished);
        EXPECT_EQ(trip.GetDaySpeedPercent(), 40);
        EXPECT_EQ(trip.GetLostHours(), 5);
    }
}

TEST_F(EventResolveTest, ANoDialogEventTakesItsCapFromTheFirstChoiceAndNothingElse)
{
    Answers draws;
    const int16_t morale = party().GetMorale();
    CRouteEvent& rain = Resolve(115, -1);
    EXPECT_EQ(trip.GetDaySpeedPercent(), 90);
    EXPECT_EQ(party().GetMorale(), morale);
    EXPECT_EQ(trip.GetLostHours(), 0);
    EXPECT_EQ(rain.GetStep(), -1);
}

TEST_F(EventResolveTest, AWeatherEventPostedWithCountThreeComesBackOnTheNextThreeRuns)
{
    Answers draws; // R(1..100) answers 100: the hail's own chance never repeats it
    CRouteEvent* hail = queue().PostEvent(111, 0, 0, 3, 0, nullptr);
    hail->SetStep(0);
    for (int run = 1; run <= 3; ++run) {
        events.ResolveEvent(queue(), *hail);
        EXPECT_EQ(hail->GetState(), CRouteEvent::kResolveAgain) << "run " << run;
    }
    events.ResolveEvent(queue(), *hail);
    EXPECT_EQ(hail->GetState(), CRouteEvent::kFinished);
    // Plain rain lasts while its scene flag is set, whatever its count.
    CRouteEvent* rain = queue().PostEvent(115, 0, 0, 0, 0, nullptr);
    rain->SetStep(-1);
    trip.SetSceneFlag(CTrip::kFlagEventB, true);
    events.ResolveEvent(queue(), *rain);
    EXPECT_EQ(rain->GetState(), CRouteEvent::kResolveAgain);
    trip.SetSceneFlag(CTrip::kFlagEventB, false);
    events.ResolveEvent(queue(), *rain);
    EXPECT_EQ(rain->GetState(), CRouteEvent::kFinished);
}

TEST_F(EventResolveTest, WithoutTravellersAnEventEndsAtOnceWithoutEffect)
{
    Answers draws;
    for (int16_t i = 0; i < 3; ++i)
        party().GetMember(i)->SetStatus(0);
    const int16_t morale = party().GetMorale();
    const CRouteEvent& event = Resolve(25, 0);
    EXPECT_EQ(event.GetState(), CRouteEvent::kFinished);
    EXPECT_EQ(party().GetMorale(), morale);
    EXPECT_EQ(trip.GetDaySpeedPercent(), 100);
    EXPECT_EQ(trip.GetLostHours(), 0);
}

TEST_F(EventResolveTest, AConditionThatEndedBeforeItsEventResolvesIsLeftAlone)
{
    Answers draws;
    CPartyMember& member = *party().GetMember(1);
    ASSERT_TRUE(member.AddCondition(18, 2)); // cholera, active
    CHealthCond* cholera = member.GetCondition(0);
    // Event 9 (a test record of target kind 2) gives the condition stage 7 while it runs.
    Resolve(9, 0, &member, cholera);
    EXPECT_EQ(cholera->GetLastCause(), 7);
    // The same with the condition ended and deleted: its steps are skipped.
    CRouteEvent* event = queue().PostEvent(76, &member, cholera, -1, 0, &member);
    CRouteEvent* again = queue().PostEvent(9, &member, cholera, -1, 0, &member);
    (void)again;
    member.GetConditions().RemoveAll();
    delete cholera;
    const int16_t morale = party().GetMorale();
    event->SetStep(0);
    events.ResolveEvent(queue(), *event);
    EXPECT_EQ(party().GetMorale(), morale) << "type 76 skipped its step";
    EXPECT_EQ(event->GetState(), CRouteEvent::kFinished);
    // A member deleted with the conditions it had: the event's step is skipped too.
    ASSERT_TRUE(member.AddCondition(18, 2));
    CRouteEvent* left = queue().PostEvent(83, &member, member.GetCondition(0), -1, 0, &member);
    const int16_t before = party().GetMorale();
    party().DeleteMember(1);
    left->SetStep(0);
    events.ResolveEvent(queue(), *left);
    EXPECT_EQ(party().GetMorale(), before);
    // A member deleted before the death event (22) resolves: nothing happens to anybody.
    CRouteEvent* death = queue().PostEvent(22, 0, 0, -1, 0, party().GetMember(2));
    party().DeleteMember(2);
    death->SetStep(0);
    events.ResolveEvent(queue(), *death);
    EXPECT_EQ(party().GetMorale(), before);
}

// Resolving clears the stampede flag and hands an illness event's condition its stage with
// whether the party holds item 186.
TEST_F(EventResolveTest, AnIllnessGetsItsStageAndWhetherItem186IsHeld)
{
    // A condition that records the causes applied to it.
    class CauseLog : public CHealthCond {
    public:
        CauseLog(CPartyMember* person, std::vector<std::pair<int32_t, bool>>& log)
            : CHealthCond(person, 18, 2), log_(log)
        {
        }
        void ApplyCause(int32_t cause, bool flag) override { log_.emplace_back(cause, flag); }

    private:
        std::vector<std::pair<int32_t, bool>>& log_;
    };
    Answers draws;
    CPartyMember& member = *party().GetMember(1);
    std::vector<std::pair<int32_t, bool>> causes;
    auto* condition = new CauseLog(&member, causes);
    member.GetConditions().AddHead(condition);
    for (const bool held : {false, true}) {
        SCOPED_TRACE(held ? "item 186 held" : "no item 186");
        if (held)
            party().GetSupplies()->AddItem(186, 1);
        causes.clear();
        queue().SetStampedeFlag(1);
        CRouteEvent& event = Resolve(9, 0, &member, condition);
        EXPECT_EQ(queue().GetStampedeFlag(), 0);
        EXPECT_EQ(causes, (std::vector<std::pair<int32_t, bool>>{{7, held}}));
        event.SetState(CRouteEvent::kFinished);
    }
}

TEST_F(EventResolveTest, TheSpecialTypesStepsByTable)
{
    struct Row {
        const char* what;
        int16_t type;
        int16_t step;
        std::function<void(EventResolveTest&, Answers&)> setUp;
        int16_t morale; // change
        int32_t state;
        std::vector<int16_t> results;
        std::vector<Sent> application;
        std::vector<int32_t> frame;
        std::vector<Sent> broadcast;
    };
    const auto none = [](EventResolveTest&, Answers&) {};
    const auto fails = [](EventResolveTest&, Answers& a) { a.Give(1, 100, {100}); };
    const auto holdsYoke = [](EventResolveTest& t, Answers& a) {
        a.Give(1, 100, {100});
        t.party().GetSupplies()->AddItem(189, 1);
    };
    const Row rows[] = {
        {"a yoke that cannot be mended without a spare",
         12,
         0,
         fails,
         0,
         CRouteEvent::kShowAgain,
         {11},
         {},
         {},
         {}},
        {"a yoke mended with the spare", 12, 0, holdsYoke, 0, CRouteEvent::kFinished, {11, 12}, {}, {}, {}},
        {"a yoke mended",
         12,
         0,
         [](EventResolveTest&, Answers& a) { a.Give(1, 100, {10}); },
         1,
         CRouteEvent::kFinished,
         {},
         {},
         {},
         {}},
        {"trading for a wheel", 15, 2, none, 0, CRouteEvent::kFinished, {}, {{305, 2, 0}}, {}, {}},
        {"following the herd", 16, 2, none, 2, CRouteEvent::kFinished, {}, {}, {145}, {}},
        {"dismissed", 26, 0, none, 3, CRouteEvent::kFinished, {}, {}, {}, {}},
        {"an animal stolen", 39, 0, none, -1, CRouteEvent::kFinished, {}, {}, {}, {}},
        {"the leader's death, ending", 48, 0, none, 0, CRouteEvent::kFinished, {}, {{252, 0, 0}}, {}, {}},
        {"lightening the load", 6, 2, none, 0, CRouteEvent::kShowAgain, {}, {}, {}, {{406, 1, 0}}},
        {"a thief caught",
         86,
         1,
         [](EventResolveTest&, Answers& a) { a.Give(1, 100, {5}); },
         3,
         CRouteEvent::kFinished,
         {33},
         {},
         {},
         {}},
        {"a thief lost", 86, 1, none, -2, CRouteEvent::kFinished, {34}, {}, {}, {}},
        {"nothing to butcher",
         60,
         3,
         [](EventResolveTest& t, Answers&) {
             t.trip.SetSceneFlag(12, true);
             t.party().TakeItems132(4);
         },
         0,
         CRouteEvent::kFinished,
         {37},
         {},
         {},
         {}},
        {"no greens, gathering",
         58,
         2,
         [](EventResolveTest& t, Answers&) { t.trip.SetSceneFlag(13, true); },
         -1,
         CRouteEvent::kFinished,
         {},
         {},
         {154},
         {}},
        {"the animals found",
         52,
         1,
         [](EventResolveTest&, Answers& a) {
             a.Give(1, 100, {1, 100, 100});
         },
         0,
         CRouteEvent::kFinished,
         {14},
         {},
         {},
         {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        Answers draws;
        CRouteEvent& event = Post(row.type, row.step, 0, 2);
        row.setUp(*this, draws);
        const int16_t morale = party().GetMorale();
        events.ResolveEvent(queue(), event);
        EXPECT_EQ(party().GetMorale(), std::clamp(morale + row.morale, -50, 100));
        EXPECT_EQ(event.GetState(), row.state);
        EXPECT_EQ(events.results, row.results);
        EXPECT_EQ(trip.application, row.application);
        EXPECT_EQ(trip.frame, row.frame);
        EXPECT_EQ(trip.broadcast, row.broadcast);
    }
}

TEST_F(EventResolveTest, SuppliesAnimalsAndThePostChangeAsTheStepsSay)
{
    Answers draws;
    // A part used when held.
    party().GetSupplies()->AddItem(190, 2);
    Resolve(13, 1);
    EXPECT_EQ(party().GetSupplies()->GetTotal(190), 1);
    // The animals of a search come back (the second parameter's count).
    draws.Give(1, 100, {50, 1, 100, 100}); // the event's count, then the search succeeds
    Resolve(52, 1, 0, 3);
    EXPECT_EQ(party().GetItem132Total(), 7);
    // An animal found dead gives meat.
    draws.Give(100, 250, {150}).Give(200, 300, {250}); // a hunter gets more
    Resolve(3, 1);
    EXPECT_EQ(events.texts.back(), party().HasSkill(9) ? "\n250 pounds of meat were added to the supplies."
                                                       : "\n150 pounds of meat were added to the supplies.");
    // Re-elected: the post and 40 morale at once.
    party().AddMorale(-60);
    const int16_t morale = party().GetMorale();
    Resolve(72, 0);
    EXPECT_EQ(trip.GetPost(), 1);
    EXPECT_EQ(party().GetMorale(), morale + 40);
}

TEST_F(EventResolveTest, TheFoodEventsLastWhileTheirFlagIsSetAndComeUpEveryFifthDay)
{
    Answers draws;
    const int32_t today = trip.GetCurDate()->GetDayNumber();
    // The state after resolving a no-food event posted on the day; the event then ends.
    const auto stateFrom = [&](int32_t posted) {
        CRouteEvent& event = Resolve(57, 0, posted);
        const int32_t state = event.GetState();
        event.SetState(CRouteEvent::kFinished);
        return state;
    };
    EXPECT_EQ(stateFrom(today), CRouteEvent::kFinished) << "flag clear";
    trip.SetSceneFlag(0, true);
    EXPECT_EQ(stateFrom(today), CRouteEvent::kResolveAgain);
    EXPECT_EQ(stateFrom(today - 4), CRouteEvent::kNew) << "shown again";
    EXPECT_EQ(stateFrom(today - 9), CRouteEvent::kNew);
    EXPECT_EQ(stateFrom(today - 5), CRouteEvent::kResolveAgain);
}

TEST_F(EventResolveTest, DelaysLoseHoursOrStopTheParty)
{
    Answers draws;
    // Test type 17: step 0 waits (delay -2) until an event clears it, step 1 (delay -1) asks.
    CRouteEvent& waiting = Resolve(17, 0);
    EXPECT_EQ(waiting.GetState(), CRouteEvent::kResolveAgain);
    EXPECT_EQ(trip.stops, std::vector<bool>{false});
    EXPECT_EQ(trip.GetMode(), CTrip::kStopped);
    EXPECT_EQ(trip.GetModeBefore(), CTrip::kMoving);
    EXPECT_EQ(trip.GetWaitDays(), -1);
    EXPECT_EQ(trip.GetLandmarkId(), CTrip::kEventStopLandmarkId);
    EXPECT_TRUE(trip.IsEventStop());
    // Stopped, a wait counts down the wait days.
    trip.SetWaitDays(3);
    events.ResolveEvent(queue(), waiting);
    EXPECT_EQ(trip.GetWaitDays(), 2);
    EXPECT_EQ(waiting.GetState(), CRouteEvent::kResolveAgain);
    trip.SetWaitDays(1);
    events.ResolveEvent(queue(), waiting);
    EXPECT_EQ(trip.GetWaitDays(), 0);
    EXPECT_EQ(waiting.GetState(), CRouteEvent::kFinished);
    // Moving again, any other wait asks for the days.
    trip.SetMode(CTrip::kMoving);
    Resolve(17, 1);
    EXPECT_EQ(trip.stops, (std::vector<bool>{false, true}));
}

TEST_F(EventResolveTest, TheLeadersDeathInsideTheQueuesRunEndsTheRunAndTheTripStartsOver)
{
    CUtil::SetRandomSeed(7);
    // Event 48 at its second step resets the trip: the reset comes (here at once, as a
    // message loop could deliver it) while the queue still runs the death and another event.
    class DeathAtStepOne : public CTripEvents {
    public:
        using CTripEvents::CTripEvents;
        int shown = 0;

    protected:
        int32_t RunDialog(CEventQueue&, CRouteEvent& event) override
        {
            ++shown;
            return event.GetType() == 48 ? kFirstChoiceId + 1 : kFirstChoiceId;
        }
    };
    auto handler = std::make_unique<DeathAtStepOne>(trip);
    DeathAtStepOne& shown = *handler;
    queue().SetHandler(std::move(handler));
    trip.onPost = [this](int32_t id) {
        if (id == 3)
            trip.ResetTripState();
    };
    const CParty* before = trip.GetParty();
    queue().PostEvent(48, 0, 0, -1, 0, nullptr);
    queue().PostEvent(25, 0, 0, -1, 0, nullptr);
    trip.GetEventQueue()->RunEvent(nullptr);
    EXPECT_EQ(trip.posted, std::vector<int32_t>{3});
    EXPECT_EQ(shown.shown, 1) << "the walk ended with the leader";
    EXPECT_NE(trip.GetParty(), before);
    EXPECT_EQ(trip.GetEventQueue()->GetCount(), 0) << "a fresh generator";
    EXPECT_EQ(trip.GetMode(), CTrip::kNotOnRoute);
    // The old generator goes once its run has unwound; the new one runs days.
    trip.PlaceOnNode(2);
    trip.GetParty()->GetSupplies()->AddItem(CParty::kDraughtAnimals, 4);
    for (int i = 0; i < 30; ++i)
        trip.AdvanceDay(1);
}

TEST_F(EventResolveTest, AStopInsideTheQueuesRunEndsTheWalkWhileTheScreenIsAway)
{
    CUtil::SetRandomSeed(7);
    // The first event stops the party; the screen then leaves for the landmark module and its
    // frame is disabled, so the second event waits for the next run.
    class StopsTheScreen : public EventsTrip {
    public:
        void StopForEvent(bool askDays) override
        {
            EventsTrip::StopForEvent(askDays);
            frameEnabled = false;
        }
    };
    StopsTheScreen screen;
    screen.SetUpTrip();
    screen.PlaceOnNode(2);
    screen.SetMode(CTrip::kMoving);
    screen.GetParty()->GetSupplies()->AddItem(CParty::kDraughtAnimals, 4);
    CEventQueue& q = *screen.GetEventQueue();
    CRouteEvent* stop = q.PostEvent(17, 0, 0, -1, 0, nullptr);
    CRouteEvent* next = q.PostEvent(25, 0, 0, -1, 0, nullptr);
    q.RunEvent(nullptr);
    EXPECT_EQ(screen.stops, std::vector<bool>{false});
    EXPECT_EQ(stop->GetState(), CRouteEvent::kResolveAgain);
    EXPECT_EQ(next->GetState(), CRouteEvent::kNew) << "not shown in this walk";
    // Back on the route screen, the next run resolves the wait and shows the other event.
    screen.frameEnabled = true;
    screen.SetWaitDays(1);
    q.RunEvent(nullptr);
    EXPECT_EQ(q.GetCount(), 0);
}

} // namespace
} // namespace traveltest

namespace traveltest {
namespace {

TEST_F(EventResolveTest, AChosenStepOfANewEventIsToldInTheDiary)
{
    Answers draws;
    trip.diary = std::make_unique<CDiary>();
    // Event 42's second choice (text 26) at its first showing: diary entry 26 + 176.
    Resolve(42, 1);
    EXPECT_NE(std::string(trip.diary->GetText().GetText()).find("We rested the animals."), std::string::npos)
        << trip.diary->GetText().GetText();
    // Resolved again on a later run, or without a chosen step, it is not told again.
    trip.diary->Clear();
    CRouteEvent& again = Post(42, 1);
    again.SetState(CRouteEvent::kResolveAgain);
    events.ResolveEvent(queue(), again);
    Resolve(115, -1);
    EXPECT_STREQ(trip.diary->GetText().GetText() ? trip.diary->GetText().GetText() : "", "");
    trip.diary.reset();
}

} // namespace
} // namespace traveltest
