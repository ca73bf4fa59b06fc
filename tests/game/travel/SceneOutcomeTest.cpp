// A stop scene's outcomes over the travel screen on the sample route, with scripted draws and
// an event generator that records what it is asked: the route events each outcome raises when
// the scene is left, the ferry's fee (kept to the cent) on a failed crossing, and rafting, which
// goes to the rafting module at landmark 48 or later or on a deep river and otherwise leaves at
// once.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/controls/input/InputFrame.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "game/travel/EventGen.h"
#include "game/travel/Party.h"
#include "game/travel/RiverData.h"
#include "game/travel/RouteNode.h"
#include "game/travel/SceneChoices.h"
#include "game/travel/SceneFrame.h"
#include "game/travel/Travel.h"
#include "tests/game/travel/SampleData.h"
#include "tests/game/travel/TravelFixture.h"
#include "tests/game/travel/TravelScreen.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace traveltest {
namespace {

// What the scene asked of the event generator: a wagon mishap, or a route event run at once
// (amount -1).
struct Asked {
    int16_t type;
    int16_t amount;
    bool flagA, flagB;
    bool operator==(const Asked&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Asked& a)
{
    return out << '{' << a.type << ", " << a.amount << ", " << a.flagA << ", " << a.flagB << '}';
}

class RecordingEventGen : public CEventGen {
public:
    using CEventGen::CEventGen;
    void RunWagonMishap(int16_t type, int16_t amount, bool flagA, bool flagB) override
    {
        asked.push_back({type, amount, flagA, flagB});
    }
    void RunRouteEvent(int16_t type) override { asked.push_back({type, -1, false, false}); }
    std::vector<Asked> asked;
};

// Sample route nodes: a plain one, the hill (difficulty 2) and the river (condition 2, raw
// depth 30, a $5 ferry).
constexpr int16_t kPlainNode = 2, kHillNode = 4, kRiverNode = 6, kLandmarkNode = 8;
// Copies of the river written for the test: (node, landmark number, "RVR" record); record 60
// is 19 deep in a normal month (raw depth 22), record 61 is 20 deep (raw depth 24), record 62
// is the sample river with a ferry of 550 cents. Node 60 leads to the landmark at node 8.
struct TestRiver {
    int16_t node, landmark, record;
};
constexpr TestRiver kShallowRiver{60, 2, 60}, kShallowAt48{61, 48, 60}, kDeepRiver{62, 47, 61},
    kShallowAt47{63, 47, 60}, kDearFerry{64, 2, 62};
constexpr int32_t kRiverScene = 20200, kLandmarkScene = 20300, kFerryButton = 18245;
constexpr int32_t kRaftModule = 8, kLandmarkModule = 9, kMsgRequestModule = 102;

class SceneOutcomeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        OpenSampleData();
        AddTestRivers();
        CTrip::ClearHourlyBase();
        CUtil::SetRandomSeed(5);
        scene::ResetSharedChoiceState();
        window = std::make_unique<GameWindowStandIn>();
        travel = new TestTravel();
        window->AddChild(travel, false);
        travel->OnAttach();
        auto recorder = std::make_unique<RecordingEventGen>(*travel, *travel);
        generator = recorder.get();
        travel->eventGen_ = std::move(recorder);
    }
    void TearDown() override
    {
        window.reset();
        scene::ResetSharedChoiceState();
    }

    // A library on drive D: beside the sample data with the test's rivers: copies of node 6
    // with their own landmark number and crossing.
    static void AddTestRivers()
    {
        const std::filesystem::path data = qmtest::SourceDir() / "data" / "game" / "QM3Data";
        qmtest::FolderLibraryWriter lib(qmtest::TempDir() / "Rivers");
        for (const char* type : {"NOD", "RVR"})
            lib.Add(type, 0,
                    qmtest::ReadWholeFile(data / type / qmtest::FolderLibraryWriter::FileName(type, 0)));
        lib.Add("RVR", 60, "2, 250, 200, 150, 30, 19, 24");
        lib.Add("RVR", 61, "2, 250, 200, 150, 30, 20, 24");
        std::string dear =
            qmtest::ReadWholeFile(data / "RVR" / qmtest::FolderLibraryWriter::FileName("RVR", 6));
        dear.replace(dear.find("\n500,"), 5, "\n550,");
        lib.Add("RVR", 62, dear);
        const std::string node6 =
            qmtest::ReadWholeFile(data / "NOD" / qmtest::FolderLibraryWriter::FileName("NOD", 6));
        for (const TestRiver& river : {kShallowRiver, kShallowAt48, kDeepRiver, kShallowAt47, kDearFerry})
            lib.Add("NOD", river.node, RiverNode(node6, river));
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("D:\\Rivers"));
    }
    // Node 6 as the test's river: its id, crossing record and landmark number, on to node 8.
    static std::string RiverNode(std::string text, const TestRiver& river)
    {
        const auto replace = [&text](const std::string& from, const std::string& to) {
            const size_t at = text.find(from);
            EXPECT_NE(at, std::string::npos) << from;
            if (at != std::string::npos)
                text.replace(at, from.size(), to);
        };
        replace("\n6, 8, 0, 2, 6, 2,", std::string("\n").append(std::to_string(river.node)) + ", 8, 0, 2, " +
                                           std::to_string(river.record) + ", " +
                                           std::to_string(river.landmark) + ",");
        replace("\n0, 7, 0, 0, 11,", "\n0, 8, 0, 0, 11,");
        return text;
    }

    // The scene of the node, built over the travel screen as a stop builds it.
    CRouteSceneFrm& Scene(int16_t node, int32_t sceneId)
    {
        travel->PlaceOnNode(node);
        auto* frame = static_cast<CRouteSceneFrm*>(MakeSceneFrame(*travel, sceneId));
        frame->OnAttach();
        travel->AddChild(frame, true);
        return *frame;
    }
    CRouteSceneFrm* ShownScene() const { return dynamic_cast<CRouteSceneFrm*>(travel->GetSceneFrame()); }
    static void Send(CFrame& frame, int32_t id, int32_t p0 = 0)
    {
        CDispatchScope scope;
        SendMsg(frame, id, p0, 0, nullptr);
    }
    // The modules the screen asked the game window for, in order.
    std::vector<int32_t> ModulesAsked() const
    {
        std::vector<int32_t> modules;
        for (const auto& [id, type] : window->requests)
            if (id == kMsgRequestModule)
                modules.push_back(type);
        return modules;
    }

    std::unique_ptr<GameWindowStandIn> window;
    TestTravel* travel = nullptr;
    RecordingEventGen* generator = nullptr;
};

TEST_F(SceneOutcomeTest, EachOutcomeAsksTheGeneratorForItsEventWhereTheNodeHasTheValueItNeeds)
{
    struct Case {
        int16_t node, outcome, lastKind;
        int32_t spread, draw; // the amount's draw, (0, spread); spread 0: none
        std::vector<Asked> asked;
    };
    const Case cases[] = {
        // The hill (difficulty 2): tipped over or run away, 5 per difficulty.
        {kHillNode, 2, 6, 20, 3, {{90, 13, false, false}}},
        {kHillNode, 6, 6, 20, 20, {{90, 30, false, false}}},
        {kHillNode, 3, 8, 20, 0, {{73, 10, false, false}}},
        {kHillNode, 7, 8, 20, 1, {{73, 11, false, false}}},
        // The river (condition 2): 2 per condition; the second flag for any crossing but the ford.
        {kRiverNode, 10, 11, 20, 5, {{90, 9, true, false}}},
        {kRiverNode, 13, 23, 20, 0, {{90, 4, true, true}}},
        {kRiverNode, 12, 11, 30, 30, {{85, 34, true, false}}},
        {kRiverNode, 14, 9, 30, 1, {{85, 5, true, true}}},
        {kRiverNode, 15, 9, 30, 6, {{96, 16, true, false}}},
        {kRiverNode, 11, 11, 0, 0, {{94, -1, false, false}}},
        // Successes and codes outside the table raise nothing.
        {kRiverNode, 9, 11, 0, 0, {}},
        {kHillNode, 1, 8, 0, 0, {}},
        {kHillNode, 5, 6, 0, 0, {}},
        {kRiverNode, 16, 11, 0, 0, {}},
        {kRiverNode, -1, 11, 0, 0, {}},
        // A hill's outcome at the river and a river's at the hill: the value is missing.
        {kRiverNode, 6, 6, 0, 0, {}},
        {kHillNode, 12, 11, 0, 0, {}},
        // A node with neither a river nor a hill raises nothing, not even route event 94.
        {kPlainNode, 11, 11, 0, 0, {}},
        {kPlainNode, 2, 6, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "node " << c.node << ", outcome " << c.outcome);
        travel->PlaceOnNode(c.node);
        auto frame = std::make_unique<CRouteSceneFrm>(CRouteSceneFrm::kFrameId, travel->GetDrawnRect(),
                                                      kRiverScene, *travel);
        scene::GetSharedChoiceState().lastKind = c.lastKind;
        generator->asked.clear();
        ScriptedDraws draws;
        if (c.spread != 0)
            draws.Draw(0, c.spread, c.draw);
        frame->SetOutcome(c.outcome);
        frame->ApplyOutcome();
        EXPECT_EQ(generator->asked, c.asked);
        EXPECT_EQ(frame->GetOutcome(), 0) << "the outcome is spent";
    }
}

TEST_F(SceneOutcomeTest, TheFerryIsPaidWhenItsCrossingFailsAndTakesNoMoreThanThePartyHas)
{
    struct Case {
        double money, left;
    };
    for (const Case& c : {Case{20, 15}, Case{3, 0}}) {
        SCOPED_TRACE(c.money);
        CParty& party = *travel->GetParty();
        party.AddMoney(c.money - party.GetMoney());
        CRouteSceneFrm& river = Scene(kRiverNode, kRiverScene);
        ScriptedDraws draws;
        draws.Draw(1, 100, 100).Draw(1, 100, 60); // the crossing fails
        draws.Draw(0, 1, 0);                      // which failure clip
        Send(river, scene::kFerry);
        EXPECT_EQ(party.GetMoney(), c.left);
        EXPECT_EQ(river.GetOutcome(), 11) << "a ferry over a river 5 steps deep, condition 2";
    }
}

TEST_F(SceneOutcomeTest, TheFerrysFeeKeepsItsCentsWhenItDimsTheButtonAndWhenItIsPaid)
{
    struct Case {
        double money;
        bool enabled;
        double left;
    };
    for (const Case& c : {Case{5.20, false, 0}, Case{5.50, true, 0}, Case{20, true, 14.50}}) {
        SCOPED_TRACE(c.money);
        CParty& party = *travel->GetParty();
        party.AddMoney(c.money - party.GetMoney());
        CRouteSceneFrm& river = Scene(kDearFerry.node, kRiverScene);
        ASSERT_EQ(travel->GetNode()->GetRiverData()->GetFee1(), 550);
        auto* ferry = dynamic_cast<CInputFrame*>(river.FindObject(CBaseObj::kAnyKind, kFerryButton));
        ASSERT_NE(ferry, nullptr);
        EXPECT_EQ(ferry->IsEnabled(), c.enabled);
        Send(river, scene::kFerry);
        EXPECT_DOUBLE_EQ(party.GetMoney(), c.left);
    }
}

TEST_F(SceneOutcomeTest, RaftingGoesToTheRaftingModuleFromLandmark48OnOrOnARiver24Deep)
{
    struct Case {
        TestRiver river;
        int16_t rawDepth;
        bool module;
    };
    for (const Case& c : {Case{kShallowAt47, 22, false}, Case{kShallowAt48, 22, true},
                          Case{kDeepRiver, 24, true}, Case{{kRiverNode, 2, 6}, 30, true}}) {
        SCOPED_TRACE(c.river.node);
        window->requests.clear();
        generator->asked.clear();
        CRouteSceneFrm& river = Scene(c.river.node, kRiverScene);
        ASSERT_EQ(travel->GetNode()->LandmarkNumber(), c.river.landmark);
        ASSERT_EQ(travel->GetNode()->GetRiverData()->GetDepth(), c.rawDepth);
        Send(river, scene::kRaft);
        // Left at once, the party is at the next node already, which ends the raft's return.
        EXPECT_EQ(travel->IsSceneReturn(), c.module);
        if (c.module) {
            EXPECT_EQ(ModulesAsked(), std::vector<int32_t>{kRaftModule});
            EXPECT_FALSE(river.IsClosed()) << "the module's return leaves the scene";
            EXPECT_TRUE(generator->asked.empty());
        } else {
            EXPECT_TRUE(ModulesAsked().empty());
            EXPECT_TRUE(river.IsClosed()) << "left at once";
            EXPECT_EQ(generator->asked, (std::vector<Asked>{{94, -1, false, false}})) << "outcome 11";
        }
    }
}

TEST_F(SceneOutcomeTest, TheRaftingModulesReturnGoesOnAlongTheRouteWithTheOutcomeItLeft)
{
    travel->ArriveAtNode(kRiverNode);
    CRouteSceneFrm* river = ShownScene();
    ASSERT_NE(river, nullptr);
    Send(*river, scene::kRaft);
    ASSERT_EQ(ModulesAsked(), std::vector<int32_t>{kRaftModule});
    travel->Suspend();
    travel->SetCrossingCode(12); // the raft swamped
    scene::GetSharedChoiceState().lastKind = 11;
    ScriptedDraws draws;
    draws.Draw(0, 30, 2);
    travel->Resume();
    EXPECT_EQ(generator->asked, (std::vector<Asked>{{85, 6, true, false}}));
    EXPECT_FALSE(travel->IsSceneReturn());
    EXPECT_FALSE(river->IsShown());
    EXPECT_TRUE(travel->GetRoutePanel()->IsShown());
}

TEST_F(SceneOutcomeTest, AfterRaftingAShallowRiverTheNextLandmarksSceneComesBackAfterAVisit)
{
    travel->ArriveAtNode(kShallowRiver.node);
    CRouteSceneFrm* river = ShownScene();
    ASSERT_NE(river, nullptr);
    ASSERT_EQ(river->GetSceneId(), kRiverScene);
    Send(*river, scene::kRaft);
    EXPECT_EQ(generator->asked, (std::vector<Asked>{{94, -1, false, false}}));
    // Left at once: on to the landmark, whose scene is up.
    EXPECT_EQ(travel->GetNodeId(), kLandmarkNode);
    CRouteSceneFrm* landmark = ShownScene();
    ASSERT_NE(landmark, nullptr);
    EXPECT_EQ(landmark->GetSceneId(), kLandmarkScene);
    EXPECT_TRUE(landmark->IsShown());
    EXPECT_FALSE(travel->IsSceneReturn()) << "arriving ends the raft's return";

    // A visit goes to the landmark module; its return brings the landmark's scene back.
    Send(*landmark, CRouteSceneFrm::kMsgVisit, 10300);
    EXPECT_EQ(ModulesAsked(), std::vector<int32_t>{kLandmarkModule});
    travel->Suspend();
    travel->Resume();
    EXPECT_EQ(travel->GetLandmarkId(), kLandmarkScene);
    EXPECT_TRUE(landmark->IsShown());
    EXPECT_FALSE(travel->GetRoutePanel() && travel->GetRoutePanel()->IsShown());
}

} // namespace
} // namespace traveltest
