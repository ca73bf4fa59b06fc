#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/framework/EventObj.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "game/base/save/Diary.h"
#include "game/travel/EventQueue.h"
#include "game/travel/HealthCond.h"
#include "game/travel/Party.h"
#include "tests/game/travel/SampleData.h"
#include "tests/game/travel/TravelFixture.h"

namespace traveltest {
namespace {

// The travel screen as the queue sees it, recording what it is told.
class FakeHost : public CEventHost {
public:
    CParty* GetParty() const override { return party; }
    bool IsTripSuspended() const override { return suspended; }
    bool IsTravelFrameEnabled() const override { return frameEnabled; }
    void EnableRoutePanel(bool enable) override { panel.push_back(enable); }
    void SendToTravelFrame(int32_t id) override { sent.push_back(id); }
    CDiary* GetDiary() const override { return diary; }

    CParty* party = nullptr;
    bool suspended = false;
    bool frameEnabled = true;
    std::vector<bool> panel;
    std::vector<int32_t> sent;
    CDiary* diary = nullptr;
};

// Shows and resolves as the tests say: every show and resolution is logged ("show 15",
// "resolve 15"); a resolution finishes the event unless the test's rule for its type says
// otherwise.
class ScriptedHandler : public CEventHandler {
public:
    using Rule = std::function<void(CEventQueue&, CRouteEvent&)>;

    ScriptedHandler(std::vector<std::string>& log, std::map<int32_t, Rule> rules)
        : log_(log), rules_(std::move(rules))
    {
    }
    void ShowEvent(CEventQueue& queue, CRouteEvent& event) override
    {
        log_.push_back("show " + std::to_string(event.GetType()));
        event.SetStep(0);
        queue.ResolveEvent(event);
    }
    void ResolveEvent(CEventQueue& queue, CRouteEvent& event) override
    {
        log_.push_back("resolve " + std::to_string(event.GetType()));
        event.SetState(CRouteEvent::kFinished);
        if (const auto rule = rules_.find(event.GetType()); rule != rules_.end())
            rule->second(queue, event);
    }

private:
    std::vector<std::string>& log_;
    std::map<int32_t, Rule> rules_;
};

class EventQueueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        OpenSampleData();
        CUtil::SetRandomSeed(1);
        party = std::make_unique<CParty>();
        party->SetMemberCount(3);
        party->CreateMember(1, 1);
        party->CreateMember(2, 2);
        host.party = party.get();
        diary = std::make_unique<CDiary>(); // with the sample diary list
        host.diary = diary.get();
        queue = std::make_unique<CEventQueue>(host);
        Script({});
    }

    void Script(std::map<int32_t, ScriptedHandler::Rule> rules)
    {
        queue->SetHandler(std::make_unique<ScriptedHandler>(log, std::move(rules)));
    }
    std::vector<int32_t> Types() const
    {
        std::vector<int32_t> types;
        for (int32_t i = 0; i < queue->GetCount(); ++i)
            types.push_back(queue->GetEvent(i)->GetType());
        return types;
    }
    CRouteEvent* Post(int16_t type, CPartyMember* person = nullptr)
    {
        return queue->PostEvent(type, 0, 0, -1, 0, person);
    }

    std::unique_ptr<CParty> party;
    std::unique_ptr<CDiary> diary;
    FakeHost host;
    std::unique_ptr<CEventQueue> queue;
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST_F(EventQueueTest, PostingQueuesEachTypeOnceAtTheTail)
{
    CRouteEvent* wheel = queue->PostEvent(15, 3, 4, 7, 0, nullptr);
    CRouteEvent* axle = Post(13);
    EXPECT_EQ(wheel->GetCount(), 7);
    EXPECT_GE(axle->GetCount(), 1);
    EXPECT_LE(axle->GetCount(), 100);
    wheel->SetStep(5);
    EXPECT_EQ(queue->PostEvent(15, 9, 9, 50, 0, party->GetMember(1)), wheel);
    EXPECT_EQ(wheel->GetCount(), 7);
    EXPECT_EQ(wheel->GetStep(), 5);
    EXPECT_EQ(wheel->GetFirst().GetValue(), 3);
    EXPECT_EQ(wheel->GetPerson(), nullptr);
    EXPECT_EQ(Types(), (std::vector<int32_t>{15, 13}));
    EXPECT_EQ(queue->FindEvent(13), axle);
    EXPECT_EQ(queue->FindEvent(12), nullptr);
    EXPECT_TRUE(log.empty());
}

TEST_F(EventQueueTest, UrgentEventsGoToTheHeadAndRunAtOnce)
{
    Post(15);
    Post(13);
    queue->PostAndRunEvent(11, 0, 0, -1, party->GetMember(1));
    EXPECT_EQ(log, (Log{"show 11", "resolve 11"}));
    EXPECT_EQ(Types(), (std::vector<int32_t>{15, 13})) << "the finished event is swept";
    // A queued type runs where it stands.
    log.clear();
    queue->PostAndRunEvent(13, 0, 0, -1, nullptr);
    EXPECT_EQ(log, (Log{"show 13", "resolve 13"}));
    EXPECT_EQ(Types(), (std::vector<int32_t>{15}));
    EXPECT_EQ(queue->GetEvent(0)->GetState(), CRouteEvent::kNew);
}

TEST_F(EventQueueTest, ARunWalksTheQueueAndSweepsWhatIsFinished)
{
    Script({{13, [](CEventQueue&, CRouteEvent& e) { e.SetState(CRouteEvent::kResolveAgain); }},
            {14, [n = 0](CEventQueue&, CRouteEvent& e) mutable {
                 e.SetState(++n < 3 ? CRouteEvent::kShowAgain : CRouteEvent::kFinished);
             }}});
    Post(15);
    Post(13);
    Post(14);
    queue->SetNotifyWord(4230);
    queue->RunEvent(nullptr);
    EXPECT_EQ(log, (Log{"show 15", "resolve 15", "show 13", "resolve 13", "show 14", "resolve 14", "show 14",
                        "resolve 14", "show 14", "resolve 14"}));
    EXPECT_EQ(Types(), (std::vector<int32_t>{13}));
    // The notify word is cleared by the first announcement; each removal tells the frame.
    EXPECT_EQ(queue->GetNotifyWord(), 0);
    EXPECT_EQ(host.sent, (std::vector<int32_t>{341, 341, 341}));
    const std::string text = diary->GetText().GetText();
    EXPECT_LT(text.find("A wagon wheel broke."), text.find("The wagon axle broke."));
    EXPECT_LT(text.find("The wagon axle broke."), text.find("The wagon tongue broke."));
    EXPECT_EQ(queue->GetEvent(0)->GetStep(), 0);

    // An event waiting in state 1 is resolved again without being announced.
    log.clear();
    queue->RunEvent(nullptr);
    EXPECT_EQ(log, (Log{"resolve 13"}));
}

TEST_F(EventQueueTest, NothingRunsWithoutATravellingLeader)
{
    Post(15);
    party->GetMember(0)->SetStatus(0);
    queue->RunEvent(nullptr);
    queue->PostAndRunEvent(11, 0, 0, -1, nullptr);
    EXPECT_TRUE(log.empty());
    party->GetMember(0)->SetStatus(CPartyMember::kStatusTravelling);
    for (int16_t slot = 0; slot < 3; ++slot)
        party->GetMember(slot)->SetStatus(1);
    queue->RunEvent(nullptr);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Types(), (std::vector<int32_t>{11, 15}));
}

TEST_F(EventQueueTest, WhileSuspendedOnlyHuntingAndRiverInjuriesAreShown)
{
    host.suspended = true;
    for (int16_t type : {63, 65, 64, 50, 10, 80, 78, 2})
        queue->PostAndRunEvent(type, 0, 0, -1, nullptr);
    queue->PostAndRunEvent(15, 0, 0, -1, nullptr); // a broken wheel waits
    EXPECT_EQ(log, (Log{"show 63", "resolve 63", "show 65", "resolve 65", "show 64", "resolve 64", "show 50",
                        "resolve 50", "show 10", "resolve 10", "show 80", "resolve 80", "show 78",
                        "resolve 78", "show 2", "resolve 2"}));
    EXPECT_EQ(Types(), (std::vector<int32_t>{15}));
    EXPECT_EQ(queue->GetEvent(0)->GetState(), CRouteEvent::kNew);
    host.suspended = false;
    log.clear();
    queue->RunEvent(nullptr);
    EXPECT_EQ(log, (Log{"show 15", "resolve 15"}));
}

TEST_F(EventQueueTest, ADisabledTravelScreenHoldsTheWalkAndItsRoutePanel)
{
    Post(15);
    host.frameEnabled = false;
    queue->RunEvent(nullptr);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(host.panel, (std::vector<bool>{false, true}));
    // A given event is still shown.
    queue->PostAndRunEvent(64, 0, 0, -1, nullptr);
    EXPECT_EQ(log, (Log{"show 64", "resolve 64"}));
    host.frameEnabled = true;
    host.panel.clear();
    queue->RunEvent(nullptr);
    EXPECT_TRUE(host.panel.empty());
    // The walk stops as soon as the screen is disabled.
    Post(13);
    Post(14);
    Script({{13, [this](CEventQueue&, CRouteEvent&) { host.frameEnabled = false; }}});
    log.clear();
    queue->RunEvent(nullptr);
    EXPECT_EQ(log, (Log{"show 13", "resolve 13"}));
    EXPECT_EQ(Types(), (std::vector<int32_t>{14}));
}

TEST_F(EventQueueTest, AnEventOfAMemberWhoLeftIsSweptUnseen)
{
    Post(8, party->GetMember(1));
    Post(11, party->GetMember(2));
    Post(15);
    party->DeleteMember(1);
    party->GetMember(2)->SetStatus(0);
    queue->RunEvent(nullptr);
    EXPECT_EQ(log, (Log{"show 15", "resolve 15"}));
    EXPECT_EQ(queue->GetCount(), 0);
    // A member given by an urgent event who is gone by the time it runs: never shown.
    CRouteEvent* cold = Post(8, party->GetMember(0));
    party->SetMember(0, std::make_unique<CPartyMember>(3));
    EXPECT_EQ(cold->GetPerson(), nullptr);
    log.clear();
    queue->PostAndRunEvent(8, 0, 0, -1, nullptr);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(queue->GetCount(), 0);
}

TEST_F(EventQueueTest, AResolutionThatPostsAndRunsAnotherEventKeepsTheWalkSound)
{
    // Resolving the wheel runs the axle at once (at the head) and queues the tongue at the
    // tail: the inner run sweeps nothing, the outer walk goes on to the tongue.
    Script({{15, [](CEventQueue& q, CRouteEvent&) {
                 q.PostAndRunEvent(13, 0, 0, -1, nullptr);
                 q.PostEvent(14, 0, 0, -1, 0, nullptr);
             }}});
    Post(15);
    Post(12);
    queue->RunEvent(nullptr);
    EXPECT_EQ(log, (Log{"show 15", "resolve 15", "show 13", "resolve 13", "show 12", "resolve 12", "show 14",
                        "resolve 14"}));
    EXPECT_EQ(queue->GetCount(), 0);
    EXPECT_EQ(host.sent.size(), 4u);

    // A type that ran and finished earlier in the same run is posted anew, not found finished.
    log.clear();
    Script({{15, [](CEventQueue& q, CRouteEvent&) { q.PostAndRunEvent(13, 0, 0, -1, nullptr); }},
            {12, [](CEventQueue& q, CRouteEvent&) { q.PostAndRunEvent(13, 0, 0, -1, nullptr); }}});
    Post(15);
    Post(12);
    queue->RunEvent(nullptr);
    EXPECT_EQ(log, (Log{"show 15", "resolve 15", "show 13", "resolve 13", "show 12", "resolve 12", "show 13",
                        "resolve 13"}));
    EXPECT_EQ(queue->GetCount(), 0);

    // The same from an urgent event: the outer run's event survives the inner one.
    log.clear();
    Script({{11, [](CEventQueue& q, CRouteEvent&) { q.PostAndRunEvent(19, 0, 0, -1, nullptr); }}});
    queue->PostAndRunEvent(11, 0, 0, -1, nullptr);
    EXPECT_EQ(log, (Log{"show 11", "resolve 11", "show 19", "resolve 19"}));
    EXPECT_EQ(queue->GetCount(), 0);
}

// Runs the "turn for the worse" event at once for every onset, as the event rules do.
class OnsetRunner : public CEventObj {
public:
    explicit OnsetRunner(CEventQueue& queue) : CEventObj(1, 93501, nullptr), queue_(queue)
    {
        RegisterLiveObject(this);
    }
    bool HandleMessage(CMessage& message, CBaseObj*) override
    {
        if (message.GetId() == CHealthCond::kMsgOnset) {
            auto* person = reinterpret_cast<CPartyMember*>(message.GetParam(0));
            auto* condition = reinterpret_cast<CHealthCond*>(message.GetParam(1));
            queue_.PostAndRunEvent(91, person, condition, -1, person);
        }
        return false;
    }

private:
    CEventQueue& queue_;
};

TEST_F(EventQueueTest, AConditionWhoseOnsetRunsAnEventInsideAResolution)
{
    OnsetRunner runner(*queue);
    const CHealthCond* onset = nullptr;
    Script({{8,
             [&](CEventQueue&, CRouteEvent& e) {
                 // The onset runs event 91 before AddCondition returns.
                 ASSERT_TRUE(e.GetPerson()->AddCondition(1, CHealthCond::kActive));
             }},
            {91, [&](CEventQueue&, CRouteEvent& e) {
                 onset = e.GetSecond().GetCondition();
                 EXPECT_EQ(e.GetFirst().GetMember(), party->GetMember(1));
             }}});
    Post(8, party->GetMember(1));
    Post(15);
    queue->RunEvent(nullptr);
    EXPECT_EQ(log, (Log{"show 8", "resolve 8", "show 91", "resolve 91", "show 15", "resolve 15"}));
    ASSERT_NE(onset, nullptr);
    EXPECT_EQ(onset, party->GetMember(1)->GetCondition(0));
    EXPECT_EQ(queue->GetCount(), 0);
}

TEST_F(EventQueueTest, ArgumentsLetGoOfMembersAndConditionsThatAreGone)
{
    CPartyMember* member = party->GetMember(1);
    ASSERT_TRUE(member->AddCondition(1, CHealthCond::kActive));
    CHealthCond* condition = member->GetCondition(0);
    const CEventArg byMember(member), byCondition(condition), number(1848), none(nullptr);
    EXPECT_EQ(byMember.GetMember(), member);
    EXPECT_EQ(byMember.GetValue(), reinterpret_cast<MsgWord>(member));
    EXPECT_EQ(byCondition.GetCondition(), condition);
    EXPECT_EQ(byCondition.GetMember(), nullptr);
    EXPECT_EQ(number.GetValue(), 1848);
    EXPECT_EQ(number.GetMember(), nullptr);
    EXPECT_EQ(number.GetCondition(), nullptr);
    EXPECT_EQ(none.GetValue(), 0);
    party->DeleteMember(1);
    EXPECT_EQ(byMember.GetMember(), nullptr);
    EXPECT_EQ(byMember.GetValue(), 0);
    EXPECT_EQ(byCondition.GetCondition(), nullptr);
    EXPECT_EQ(byCondition.GetValue(), 0);

    CHealthCond ended; // a condition that is over
    EXPECT_EQ(CEventArg(&ended).GetCondition(), nullptr);
}

TEST_F(EventQueueTest, AnEventWithoutItsRecordEndsUnseen)
{
    queue->PostAndRunEvent(200, 0, 0, -1, nullptr);
    Post(201);
    queue->RunEvent(nullptr);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(queue->GetCount(), 0);
    EXPECT_TRUE(diary->GetText().IsEmpty());
}

} // namespace
} // namespace traveltest
