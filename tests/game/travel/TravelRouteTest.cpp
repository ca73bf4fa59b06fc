// The route screen on the sample route: arriving at nodes, the timer's tick by node Kind,
// resuming the screen after another module, and the mouse input dropped before going on.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "engine/controls/ImageWnd.h"
#include "engine/framework/Date.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "engine/resources/LibMgr.h"
#include "game/travel/Party.h"
#include "game/travel/RiverData.h"
#include "game/travel/RouteNode.h"
#include "game/travel/RouteObj.h"
#include "game/travel/SceneFrame.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Travel.h"
#include "platform/MessageQueue.h"
#include "platform/WindowMessages.h"
#include "tests/game/travel/SampleData.h"
#include "tests/game/travel/TravelFixture.h"
#include "tests/game/travel/TravelScreen.h"

namespace traveltest {
namespace {

class TravelRouteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        OpenSampleData();
        CTrip::ClearHourlyBase();
        CUtil::SetRandomSeed(5);
        window = std::make_unique<GameWindowStandIn>();
        travel = new TestTravel();
        window->AddChild(travel, false);
        travel->OnAttach();
    }
    void TearDown() override { window.reset(); }

    // The picture the route panel's node picture shows, -1 without one.
    const CImgSet* NodePicture() const
    {
        CFrame* panel = travel->GetRoutePanel();
        auto* image = panel
                          ? dynamic_cast<CImageWnd*>(panel->FindObject(0xFFFFFFFFu, CTravel::kNodePictureId))
                          : nullptr;
        return image ? image->GetImages() : nullptr;
    }
    bool TimerRuns() const { return travel->GetTimer() != nullptr; }

    std::unique_ptr<GameWindowStandIn> window;
    TestTravel* travel = nullptr;
};

TEST_F(TravelRouteTest, TheStartGoesToTheStoreAndTheNextResumeToTheFirstScene)
{
    travel->Resume();
    EXPECT_EQ(travel->GetNodeId(), 0) << "the store is left for node 1";
    ASSERT_NE(travel->GetNode(), nullptr);
    EXPECT_EQ(travel->GetNode()->GetId(), 1);
    EXPECT_EQ(travel->GetLandmarkId(), CTravel::kStoreSceneId);
    EXPECT_EQ(window->requests, (std::vector<std::pair<int32_t, int32_t>>{{102, 9}}));

    travel->Resume();
    EXPECT_EQ(travel->GetNodeId(), 1);
    EXPECT_EQ(travel->GetLandmarkId(), 20100);
    ASSERT_NE(travel->GetSceneFrame(), nullptr);
    EXPECT_EQ(travel->GetSceneFrame()->GetId(), CTravel::kSceneFrameId);
    EXPECT_TRUE(travel->GetSceneFrame()->IsShown());
    EXPECT_FALSE(TimerRuns()) << "a stop waits for its scene";
    EXPECT_EQ(window->requests.size(), 1u);
    EXPECT_TRUE(travel->IsEnabled());
    EXPECT_TRUE(travel->IsShown());
}

TEST_F(TravelRouteTest, ANewTripAsksItsPartysNamesAtTheFirstSceneAgain)
{
    travel->Resume();
    travel->Resume();
    auto* scene = dynamic_cast<CRouteSceneFrm*>(travel->GetSceneFrame());
    ASSERT_NE(scene, nullptr);
    EXPECT_TRUE(scene->NamesAsked());
    travel->ResetTrip();
    ASSERT_EQ(travel->GetSceneFrame(), scene) << "the scene frame outlives the trip";
    EXPECT_FALSE(scene->NamesAsked()) << "the new party is named at its first scene";
}

TEST_F(TravelRouteTest, ASegmentShowsOneOfItsPicturesAndRunsTheTimer)
{
    travel->ArriveAtNode(2);
    EXPECT_EQ(travel->GetNodeId(), 2);
    EXPECT_EQ(travel->GetPrevNodeId(), -1);
    EXPECT_EQ(travel->GetDistanceToNext(), 40);
    EXPECT_EQ(travel->GetMode(), CTrip::kMoving);
    EXPECT_NE(travel->GetWeather(), nullptr);
    EXPECT_NE(NodePicture(), nullptr);
    EXPECT_TRUE(travel->GetArrivalFlag());
    EXPECT_TRUE(TimerRuns());
    EXPECT_EQ(travel->GetSceneFrame(), nullptr);

    // The next segment replaces the picture on the same panel.
    CFrame* panel = travel->GetRoutePanel();
    const CImgSet* first = NodePicture();
    travel->ArriveAtNode(3);
    EXPECT_EQ(travel->GetRoutePanel(), panel);
    EXPECT_NE(NodePicture(), first);
    EXPECT_EQ(travel->GetPrevNodeId(), 2);
}

TEST_F(TravelRouteTest, StopsShowTheirSceneAndHideTheRoutePanel)
{
    struct Case {
        int16_t node;
        int32_t scene;
        int16_t distance;
    };
    for (const Case& c : {Case{4, 20500, -1}, Case{8, 20300, -1}, Case{189, 20600, 0}}) {
        SCOPED_TRACE(c.node);
        travel->ArriveAtNode(2);
        travel->StopTimer(); // as going on does
        travel->ArriveAtNode(c.node);
        EXPECT_EQ(travel->GetLandmarkId(), c.scene);
        EXPECT_EQ(travel->GetDistanceToNext(), c.distance);
        ASSERT_NE(travel->GetSceneFrame(), nullptr);
        EXPECT_TRUE(travel->GetSceneFrame()->IsShown());
        EXPECT_FALSE(travel->GetRoutePanel()->IsShown());
        EXPECT_FALSE(TimerRuns());
    }
}

TEST_F(TravelRouteTest, ARiverSetsItsCrossingFlagsByRepeatedDraws)
{
    travel->ArriveAtNode(5); // the river's region, so the river makes no new weather
    ScriptedDraws draws;
    // Event 23: two draws below 50, then one that ends; event 24: ends at once. At the stop
    // the river delay (24) is not drawn.
    draws.Draw(1, 100, 10).Draw(1, 100, 49).Draw(1, 100, 50);
    draws.Draw(1, 100, 77);
    draws.Draw(1, 100, 50);
    travel->ArriveAtNode(6);
    CRiverData* river = travel->GetNode()->GetRiverData();
    ASSERT_NE(river, nullptr);
    EXPECT_EQ(river->GetUsed1(), 1);
    EXPECT_EQ(river->GetUsed2(), 0);
    EXPECT_EQ(travel->GetLandmarkId(), 20200);
}

TEST_F(TravelRouteTest, TheTickFollowsTheNodesKind)
{
    // A segment: one travel hour, and the timer again.
    travel->ArriveAtNode(2);
    travel->OnIdle();
    EXPECT_EQ(travel->GetHourOfDay(), 1);
    EXPECT_EQ(travel->GetNodeId(), 2);
    EXPECT_TRUE(TimerRuns());

    // Stopped on a segment: the hour passes and the timer stays off.
    travel->mode_ = CTrip::kStopped;
    travel->OnIdle();
    EXPECT_EQ(travel->GetHourOfDay(), 2);
    EXPECT_FALSE(TimerRuns());

    // A segment covered: on to the next node.
    travel->mode_ = CTrip::kMoving;
    travel->distanceToNext_ = 0;
    travel->OnIdle();
    EXPECT_EQ(travel->GetNodeId(), 3);

    // A forced stop (the climb, Kind 2) goes on at the next tick too.
    travel->ArriveAtNode(4);
    travel->OnIdle();
    EXPECT_EQ(travel->GetNodeId(), 5);

    // The route's end (Kind 4, no next node) stays where it is.
    travel->ArriveAtNode(189);
    travel->OnIdle();
    EXPECT_EQ(travel->GetNodeId(), 189);
    EXPECT_FALSE(TimerRuns());
}

TEST_F(TravelRouteTest, TheTickWithoutANodeStartsTheRoute)
{
    travel->OnIdle();
    EXPECT_EQ(travel->GetNodeId(), 0);
    EXPECT_EQ(travel->GetLandmarkId(), CTravel::kStoreSceneId);
}

TEST_F(TravelRouteTest, TheRouteMapGrowsAsTheDaysPass)
{
    travel->GetParty()->GetSupplies()->AddItem(CParty::kDraughtAnimals, 6);
    travel->StartRouteObj();
    travel->ArriveAtNode(2); // the map follows the party onto the segment
    CRouteObj* map = travel->GetRouteObj();
    ASSERT_NE(map, nullptr);
    EXPECT_NE(travel->GetRouteSeqState(), nullptr);
    for (int hour = 0; hour < 16 && travel->GetNodeId() == 2; ++hour)
        travel->OnIdle();
    EXPECT_GT(map->GetState().progress, 0);
    EXPECT_GT(map->GetCurFrame(), 0);
    travel->StartRouteObj();
    EXPECT_EQ(travel->GetRouteObj(), map) << "made once";
}

TEST_F(TravelRouteTest, ResumingStoppedLetsTheWaitPassThenTravelsOn)
{
    travel->ArriveAtNode(2);
    const int32_t day = travel->GetCurDate()->GetDayNumber();
    travel->mode_ = CTrip::kStopped;
    travel->waitDays_ = 3;
    travel->Suspend();
    travel->Resume();
    EXPECT_EQ(travel->GetCurDate()->GetDayNumber(), day + 3);
    EXPECT_EQ(travel->GetMode(), CTrip::kMoving);
    EXPECT_EQ(travel->GetWaitDays(), 0);
    EXPECT_TRUE(travel->GetRoutePanel()->IsShown());
    EXPECT_TRUE(TimerRuns());
    EXPECT_TRUE(travel->IsShown());
}

TEST_F(TravelRouteTest, ResumingToWaitForAnEventEndsWithAnEmptyQueue)
{
    travel->ArriveAtNode(2);
    const int32_t day = travel->GetCurDate()->GetDayNumber();
    travel->mode_ = CTrip::kStopped;
    travel->waitDays_ = -1;
    travel->Resume();
    EXPECT_EQ(travel->GetCurDate()->GetDayNumber(), day + 1) << "no event could end the wait";
    EXPECT_EQ(travel->GetWaitDays(), 0);
    EXPECT_EQ(travel->GetMode(), CTrip::kMoving);
}

TEST_F(TravelRouteTest, ResumingStoppedAtAStopShowsItsSceneAgain)
{
    travel->ArriveAtNode(4);
    travel->mode_ = CTrip::kStopped;
    travel->waitDays_ = 1;
    travel->Suspend();
    travel->Resume();
    EXPECT_TRUE(travel->GetSceneFrame()->IsShown());
    EXPECT_FALSE(TimerRuns());
    EXPECT_EQ(travel->GetMode(), CTrip::kMoving);

    // Stopped there by an event, the route view comes back instead.
    travel->mode_ = CTrip::kStopped;
    travel->waitDays_ = 1;
    travel->eventStop_ = 1;
    travel->Resume();
    EXPECT_FALSE(travel->GetSceneFrame()->IsShown());
    EXPECT_TRUE(travel->GetRoutePanel()->IsShown());
    EXPECT_TRUE(TimerRuns());
    EXPECT_FALSE(travel->IsEventStop());
}

TEST_F(TravelRouteTest, ResumingAtALandmarkShowsItsSceneUnlessTheSceneWasPlayed)
{
    travel->ArriveAtNode(8);
    travel->daysSinceStop_ = 9;
    travel->Suspend();
    travel->Resume();
    EXPECT_EQ(travel->GetDaysSinceStop(), 0) << "LM class 1";
    EXPECT_EQ(travel->GetLandmarkId(), 20300);
    EXPECT_TRUE(travel->GetSceneFrame()->IsShown());
    EXPECT_FALSE(TimerRuns());

    travel->Suspend();
    travel->SetSceneReturn(true);
    travel->Resume();
    EXPECT_FALSE(travel->IsSceneReturn());
    EXPECT_FALSE(travel->GetSceneFrame()->IsShown());
    EXPECT_NE(travel->GetRouteObj(), nullptr);
    EXPECT_TRUE(travel->GetRoutePanel()->IsShown());
    EXPECT_TRUE(TimerRuns());
}

TEST_F(TravelRouteTest, SuspendingAndResettingTakeTheScreenDown)
{
    travel->ArriveAtNode(2);
    travel->Suspend();
    EXPECT_FALSE(travel->IsEnabled());
    EXPECT_FALSE(travel->IsShown());
    EXPECT_FALSE(TimerRuns());
    // A second suspend does nothing: it stops no timer started since.
    travel->StartTimer(CTravel::kDayPeriod, nullptr);
    travel->Suspend();
    EXPECT_TRUE(TimerRuns());
    travel->Resume();
    EXPECT_TRUE(travel->IsEnabled());
    SendMsg(*travel, CTravel::kMsgResetTrip, 0, 0, nullptr);
    EXPECT_FALSE(travel->IsEnabled());
    EXPECT_FALSE(travel->IsShown());
    EXPECT_EQ(travel->GetNodeId(), -1);
}

TEST_F(TravelRouteTest, AnOwnerMakesTheScreenALiveObject)
{
    const int32_t before = GetLiveObjectCount();
    CBaseObj owner(0, 1, nullptr);
    travel->SetOwner(&owner);
    EXPECT_EQ(GetLiveObjectCount(), before + 1);
    travel->SetOwner(&owner);
    EXPECT_EQ(GetLiveObjectCount(), before + 1);
    travel->SetOwner(nullptr);
}

TEST(TravelRouteData, EveryPictureAndTuneTheRouteNamesExists)
{
    OpenSampleData();
    std::set<int16_t> seen;
    std::vector<int16_t> next{1};
    int32_t pictures = 0;
    while (!next.empty()) {
        const int16_t id = next.back();
        next.pop_back();
        if (id == 0 || !seen.insert(id).second)
            continue;
        const CRouteNode node(id);
        ASSERT_EQ(node.GetId(), id) << "node " << id << " has a record";
        for (int16_t i = 0; i < CRouteNode::kImageCount; ++i)
            if (const int16_t picture = node.GetImage(i); picture > 0) {
                EXPECT_GT(GetLibMgr()->GetResourceSize("CBM", picture, 0xFFFFFFFFu), 0) << "node " << id;
                ++pictures;
            }
        next.push_back(node.GetNextNode(0));
        next.push_back(node.GetNextNode(1));
    }
    EXPECT_EQ(pictures, 15);
    for (const int32_t tune : {50010, 530, 540, 550, 560, 570, 580})
        EXPECT_GT(GetLibMgr()->GetResourceSize("CSN", tune, 0xFFFFFFFFu), 0) << tune;
    EXPECT_GT(GetLibMgr()->GetResourceSize("TPL", CTravel::kRoutePanelList, 0xFFFFFFFFu), 0);
}

TEST(TravelRoute, FlushingDropsOnlyTheMouseInput)
{
    plat::MessageQueue& queue = plat::GetMessageQueue();
    queue.Clear();
    for (const uint32_t m :
         {plat::msg::MouseMove, plat::msg::KeyDown, plat::msg::LButtonDown, plat::msg::Paint,
          plat::msg::LButtonUp, plat::msg::RButtonDoubleClick, plat::msg::NcMouseMove, plat::msg::Char})
        queue.Post({0, m, 0, 0, 1});
    CTravel::FlushMouseMessages();
    std::vector<uint32_t> left;
    while (std::optional<plat::PlatMessage> m = queue.Peek())
        left.push_back(m->message);
    EXPECT_EQ(left, (std::vector<uint32_t>{plat::msg::KeyDown, plat::msg::Paint, plat::msg::NcMouseMove,
                                           plat::msg::Char}));
}

} // namespace
} // namespace traveltest
