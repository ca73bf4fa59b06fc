// The stop scene's hill and river choices in the game started on the sample data: the looks'
// panels, the ferry dimmed for a party that cannot pay, a choice's outcome panel and clip, the
// ferry's fee, rafting a shallow river, and the outcome's mishap when the scene is left.
#include <gtest/gtest.h>

#include "engine/controls/TextFrame.h"
#include "engine/controls/input/InputFrame.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/framework/Util.h"
#include "engine/media/SmackerFrame.h"
#include "game/base/GameGlobals.h"
#include "game/base/ModuleMgr.h"
#include "game/travel/Party.h"
#include "game/travel/RiverData.h"
#include "game/travel/RouteNode.h"
#include "game/travel/SceneChoices.h"
#include "game/travel/SceneFrame.h"
#include "game/travel/Travel.h"
#include "game/travel/Weather.h"
#include "platform/MessageQueue.h"
#include "tests/game/shell/SampleGame.h"
#include "tests/support/TestEnv.h"

namespace {

// The sample route's hill (node 4, scene 20500) and river (node 6, scene 20200).
constexpr int16_t kHillNode = 4, kRiverNode = 6;
constexpr int32_t kHillScene = 20500, kRiverScene = 20200;

class SceneChoices : public shelltest::SampleGameScreen {
protected:
    void SetUp() override
    {
        CUtil::SetRandomSeed(3);
        scene::ResetSharedChoiceState();
        SampleGameScreen::SetUp();
        ASSERT_NE(Travel(), nullptr);
        GetModuleMgr()->GetModule(0)->GetGraphic()->Hide(true, false);
        Travel()->Enable(true, false, false);
        Travel()->Show(false);
    }
    void TearDown() override
    {
        plat::GetMessageQueue().SetEventSource(nullptr);
        SampleGameScreen::TearDown();
        scene::ResetSharedChoiceState();
    }
    static CTravel* Travel()
    {
        return dynamic_cast<CTravel*>(GetModuleMgr()->GetModule(CModuleMgr::kTravel));
    }
    // The scene of the node, built over the travel screen as a stop builds it.
    CRouteSceneFrm& Scene(int16_t node, int32_t sceneId)
    {
        Travel()->PlaceOnNode(node);
        auto* frame = static_cast<CRouteSceneFrm*>(MakeSceneFrame(*Travel(), sceneId));
        frame->OnAttach();
        Travel()->AddChild(frame, true);
        return *frame;
    }
    static void Send(CRouteSceneFrm& frame, int32_t id)
    {
        CDispatchScope scope;
        SendMsg(frame, id, 0, 0, nullptr);
    }
    static std::string Text(CFrame& frame, int32_t id)
    {
        auto* field = dynamic_cast<CTextFrame*>(frame.FindObject(CBaseObj::kAnyKind, id));
        const std::unique_ptr<CStr> text = field ? field->GetText() : nullptr;
        return text && text->GetText() ? text->GetText() : "(none)";
    }
    static bool Has(CFrame& frame, int32_t id) { return frame.FindObject(CBaseObj::kAnyKind, id) != nullptr; }
};

TEST_F(SceneChoices, LooksShowTheRiversFactsAndTheHillsAdviceAndInformEveryLaterChoice)
{
    CRouteSceneFrm& river = Scene(kRiverNode, kRiverScene);
    const CRiverData* data = Travel()->GetNode()->GetRiverData();
    ASSERT_NE(data, nullptr);
    Send(river, scene::kRiverLook);
    EXPECT_TRUE(scene::GetSharedChoiceState().informed);
    EXPECT_EQ(Text(river, 10022), std::to_string(data->GetWidth()));
    EXPECT_EQ(Text(river, 10021), scene::DepthText(data->GetDepthSixths()));
    EXPECT_NE(Text(river, 10020), "(none)");
    EXPECT_EQ(river.GetOutcome(), 0) << "a look leaves the outcome as it was";

    CRouteSceneFrm& hill = Scene(kHillNode, kHillScene);
    Send(hill, scene::kHillLookA);
    // Difficulty 2, the way marked, and the early spring's snow still on the ground.
    ASSERT_NE(Travel()->GetWeather()->GetSnowDepth(), 0);
    EXPECT_EQ(Text(hill, 10220), "A fair climb in the snow. Double the team.");
}

TEST_F(SceneChoices, TheFerryIsDimmedForAPartyThatCannotPayAndChargesWhateverComesOfIt)
{
    Travel()->GetParty()->AddMoney(-Travel()->GetParty()->GetMoney());
    CRouteSceneFrm& poor = Scene(kRiverNode, kRiverScene);
    auto* ferry = dynamic_cast<CInputFrame*>(poor.FindObject(CBaseObj::kAnyKind, 18245));
    ASSERT_NE(ferry, nullptr);
    EXPECT_FALSE(ferry->IsEnabled());
    // The river's scene shown where the node has no river has no ferry to price.
    CRouteSceneFrm& elsewhere = Scene(kHillNode, kRiverScene);
    auto* unpriced = dynamic_cast<CInputFrame*>(elsewhere.FindObject(CBaseObj::kAnyKind, 18245));
    ASSERT_NE(unpriced, nullptr);
    EXPECT_TRUE(unpriced->IsEnabled());

    Travel()->GetParty()->AddMoney(20);
    CRouteSceneFrm& river = Scene(kRiverNode, kRiverScene);
    const double fee = Travel()->GetNode()->GetRiverData()->GetFerryDollars();
    Send(river, scene::kFerry);
    EXPECT_EQ(Travel()->GetParty()->GetMoney(), 20 - fee);
    EXPECT_NE(river.GetOutcome(), 0);
    EXPECT_TRUE(Has(river, 10500)) << "the outcome panel";
    EXPECT_FALSE(river.GetContent()->IsShown());
    EXPECT_FALSE(river.IsClosed()) << "the clip plays until the scene is left";
}

TEST_F(SceneChoices, AFailedClimbsOutcomeIsAppliedAndClearedWhenTheSceneIsLeft)
{
    CRouteSceneFrm& hill = Scene(kHillNode, kHillScene);
    // Difficulty 2 leaves 351 no chance once the ground is wet and the wagon overloaded.
    Travel()->SetSceneFlag(CTrip::kFlagWeatherScene, true);
    Send(hill, 351);
    EXPECT_TRUE(hill.GetOutcome() == 6 || hill.GetOutcome() == 7) << hill.GetOutcome();
    Send(hill, CRouteSceneFrm::kMsgLeaveNow);
    EXPECT_EQ(hill.GetOutcome(), 0);
    EXPECT_TRUE(hill.IsClosed());
    EXPECT_FALSE(Has(hill, 10520)) << "the outcome panel goes first";
}

// The clip is looked for before it is placed: a clip opens only once it is in the panel, so
// asking the frame whether it had a movie before that dropped every clip, and the scene, its
// buttons disabled, then waited for a leave that never came.
TEST_F(SceneChoices, AChoicesClipPlaysInTheOutcomePanelAndTheSceneLeavesItselfAfterIt)
{
    CRouteSceneFrm& hill = Scene(kHillNode, kHillScene);
    Send(hill, 351);
    auto* panel = dynamic_cast<CFrame*>(hill.FindObject(CBaseObj::kAnyKind, 10520));
    ASSERT_NE(panel, nullptr);
    CSmackerFrame* clip = nullptr;
    for (CFrame* child : ChildFrames(*panel))
        if (auto* video = dynamic_cast<CSmackerFrame*>(child))
            clip = video;
    ASSERT_NE(clip, nullptr) << "the climb's clip";
    EXPECT_TRUE(clip->HasMovie());
    EXPECT_FALSE(hill.IsClosed());

    // The clip has 360 ticks (of about 17 ms); then the scene leaves by itself.
    qmtest::Clock().Advance(300 * 17);
    ProcessDueMessages();
    EXPECT_FALSE(hill.IsClosed()) << "the clip still has its time";
    qmtest::Clock().Advance(100 * 17);
    ProcessDueMessages();
    EXPECT_TRUE(hill.IsClosed());
    EXPECT_FALSE(Has(hill, 10520)) << "the outcome panel goes with the scene";
}

TEST_F(SceneChoices, RaftingADeepRiverGoesToTheRaftingModule)
{
    CRouteSceneFrm& river = Scene(kRiverNode, kRiverScene);
    ASSERT_GE(Travel()->GetNode()->GetRiverData()->GetDepth(), 24) << "the sample river is too deep to wade";
    Send(river, scene::kRaft);
    EXPECT_TRUE(Travel()->IsSceneReturn());
    EXPECT_FALSE(river.IsClosed()) << "the rafting module's return leaves the scene";
    EXPECT_EQ(river.GetOutcome(), 0);
    EXPECT_FALSE(river.GetContent()->FindObject(CBaseObj::kAnyKind, 20203)->IsEnabled())
        << "the scene is disabled";
}

// A clip's timed leave belongs to the stop that played it. Floating the wagon leaves the
// river's buttons up, so the party may leave during the clip; should the next node be a stop,
// its scene is this frame built anew, which the old leave must not leave.
TEST_F(SceneChoices, AClipsTimedLeaveDoesNotLeaveTheNextStopsScene)
{
    CRouteSceneFrm& frame = Scene(kRiverNode, kRiverScene);
    Send(frame, scene::kRiverThird);
    Send(frame, CRouteSceneFrm::kMsgLeaveNow);
    ASSERT_TRUE(frame.IsClosed());
    Travel()->PlaceOnNode(8);
    frame.SetSceneId(20300);
    frame.OnAttach();
    frame.Show(true);
    qmtest::Clock().Advance(400 * 17);
    ProcessDueMessages();
    EXPECT_FALSE(frame.IsClosed()) << "the landmark's scene waits for the player";
    EXPECT_NE(frame.GetContent(), nullptr);
}

} // namespace
