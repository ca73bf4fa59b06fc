// The gathering screen (module type 3) in the game started on the sample data: the table of
// the node and season, the distinct picks, marking plants to take or leave, what a gather
// adds or which event it runs, and how the screen closes.
//
// The golden pictures hold the screen with its four sample picks and the result of a gather;
// run the tests once with QM_UPDATE_GOLDEN=1 in the environment to write them again (text
// pixels depend on the fonts installed).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/controls/ImageWnd.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/Wind.h"
#include "engine/controls/imagectl/ImgBtnWnd.h"
#include "engine/framework/Date.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "game/base/GameGlobals.h"
#include "game/base/MainWnd.h"
#include "game/base/ModuleMgr.h"
#include "game/shell/GatherModule.h"
#include "game/shell/ModuleFactory.h"
#include "game/travel/Party.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Travel.h"
#include "platform/Desktop.h"
#include "tests/game/base/FakeSound.h"
#include "tests/game/shell/SampleGame.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/ScriptedDraws.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

// The travel module with a date the test chooses.
class DatedTravel : public CTravel {
public:
    using CTravel::CTravel;
    void SetMonth(int16_t month) { curDate_ = std::make_unique<CDate>(kStartYear, month, 1); }
};

// Shows each event (noting its type) and finishes it with its first choice.
class NotingHandler : public CEventHandler {
public:
    explicit NotingHandler(std::vector<int16_t>& shown) : shown_(shown) {}
    void ShowEvent(CEventQueue& queue, CRouteEvent& event) override
    {
        shown_.push_back(event.GetType());
        event.SetStep(0);
        queue.ResolveEvent(event);
    }
    void ResolveEvent(CEventQueue&, CRouteEvent& event) override { event.SetState(CRouteEvent::kFinished); }

private:
    std::vector<int16_t>& shown_;
};

// A display that counts the pictures shown (each stage of a transition shows one).
class CountingDisplay : public plat::Display {
public:
    void Pump(uint64_t, bool) override {}
    void Present() override { ++presents; }
    int presents = 0;
};

// The sample table of node 3 (plants) in April, "GTR" 6012, entry by entry.
enum SampleEntry : int32_t {
    kOnion,        // plant 1, kind 1, amount 3, topic 0
    kTurnip,       // plant 2, kind 1, amount 2
    kLambsQuarter, // plant 3, kind 1, amount 3
    kChokecherry,  // plant 4, kind 2, amount 4, topic 2
    kGooseberry,   // plant 5, kind 2, amount 3
    kServiceberry, // plant 6, kind 2, amount 4
    kHemlock,      // plant 7, kind 0, amount 0, topic 1 (read as 2)
    kStrawberry,   // plant 9, kind 2, amount 3
    kDandelion,    // plant 10, kind 1, amount 2
};

class GatherScreen : public shelltest::SampleGameScreen {
protected:
    void SetUp() override
    {
        SetModuleConstructor(CModuleMgr::kTravel, [](const CRect& rect, CModuleMgr&) -> CModule* {
            return new DatedTravel(rect);
        });
        SampleGameScreen::SetUp();
        ASSERT_NE(Travel(), nullptr);
        // Node 3 has plants; the trip starts in April.
        Travel()->PlaceOnNode(3);
        Travel()->SetMonth(4);
        Travel()->GetEventQueue()->SetHandler(std::make_unique<NotingHandler>(events));
    }
    void TearDown() override
    {
        CUtil::SetDrawSource(nullptr);
        SampleGameScreen::TearDown();
    }

    static DatedTravel* Travel()
    {
        return dynamic_cast<DatedTravel*>(GetModuleMgr()->GetModule(CModuleMgr::kTravel));
    }
    static CGatherModule* Gather() { return dynamic_cast<CGatherModule*>(GetModuleMgr()->GetModule(3)); }
    static CSupplyList& Supplies() { return *Travel()->GetParty()->GetSupplies(); }

    // The draws of CUtil::Random, in order (then the lowest value); each range asked is noted.
    void ScriptDraws(const std::vector<int32_t>& values) { draws.Script(values); }
    // Opens the gathering screen as the travel screen asks for it, with the picks drawn.
    CGatherModule* OpenWithPicks(std::vector<int32_t> picks)
    {
        ScriptDraws(std::move(picks));
        {
            CDispatchScope scope;
            SendMsg(*GetMainWnd(), CMainWnd::kMsgRequestModule, 3, 1, nullptr);
        }
        return Gather();
    }
    static void Send(int32_t id, MsgWord param = 0)
    {
        CDispatchScope scope;
        SendMsg(*Gather(), id, param, 0, nullptr);
    }
    static void Take(int pickNumber)
    {
        Send(CGatherModule::kMsgSelectPick, pickNumber);
        Send(CGatherModule::kMsgTake);
    }
    static void Leave(int pickNumber)
    {
        Send(CGatherModule::kMsgSelectPick, pickNumber);
        Send(CGatherModule::kMsgLeave);
    }
    static CFrame* Object(int32_t id) { return Gather()->FindObject(CBaseObj::kAnyKind, id); }
    static CImageWnd* Image(int32_t id) { return dynamic_cast<CImageWnd*>(Object(id)); }
    // A four-member party, all travelling.
    static void PartyOfFour()
    {
        CParty& party = *Travel()->GetParty();
        for (int16_t slot = 1; slot <= 3; ++slot)
            party.CreateMember(slot, slot);
        party.SetMemberCount(4);
        ASSERT_EQ(party.CountMembers(true), 4);
    }
    // A mouse release on the screen.
    static void Release()
    {
        CPoint at(10, 10);
        CMessage release(kMsgMouse, 0, 0, -1);
        release.SetParam(CInputFrame::kMouseRelease, 2);
        release.SetParamPtr(&at, 4);
        CDispatchScope scope;
        DeliverMessage(*Gather(), release, nullptr, false);
    }
    static std::string ResultText()
    {
        auto* text = dynamic_cast<CTextFrame*>(Object(CGatherModule::kResultText));
        return text && text->PeekText() ? text->PeekText()->GetText() : std::string("(none)");
    }
    // The game window against a golden picture.
    static void ExpectGolden(const char* name) { shelltest::ExpectGameWindowGolden(name, 480); }

    std::vector<int16_t> events;
    qmtest::DrawsInOrder draws;
    std::vector<std::pair<int32_t, int32_t>>& ranges = draws.ranges;
};

TEST(GatherModule, MonthsToSeasonColumns)
{
    const int16_t columns[12] = {1, 1, 2, 2, 2, 1, 1, 1, 2, 2, 2, 1};
    for (int16_t month = 1; month <= 12; ++month)
        EXPECT_EQ(CGatherModule::SeasonColumn(month), columns[month - 1]) << "month " << month;
    for (const auto& [topic, even] : {std::pair{0, 0}, {1, 2}, {2, 2}, {7, 8}})
        EXPECT_EQ(CGatherModule::EvenTopic(static_cast<int16_t>(topic)), even);
}

TEST_F(GatherScreen, ReadsTheTableOfTheNodesPlantsAndTheSeason)
{
    struct Case {
        int16_t node;
        int16_t month;
        int32_t table;
    };
    // Node 3 has plants, node 1 none.
    for (const Case& c : {Case{3, 4, 6012}, Case{3, 7, 6011}, Case{3, 10, 6012}, Case{3, 12, 6011},
                          Case{1, 4, 6002}, Case{1, 1, 6001}}) {
        Travel()->PlaceOnNode(c.node);
        Travel()->SetMonth(c.month);
        CGatherModule* gather = OpenWithPicks({0, 1, 2, 3});
        ASSERT_NE(gather, nullptr);
        EXPECT_EQ(gather->GetId(), CGatherModule::kFrameId);
        EXPECT_EQ(gather->GetGatherTableId(), c.table) << "node " << c.node << ", month " << c.month;
        // Every sample table has at least four plants.
        EXPECT_EQ(gather->GetPickCount(), 4);
        Send(CGatherModule::kMsgGather); // nothing taken: closes
        EXPECT_EQ(Gather(), nullptr);
    }
}

TEST_F(GatherScreen, DrawsFourDifferentPicksAgainUntilTheyDiffer)
{
    CGatherModule* gather =
        OpenWithPicks({kTurnip, kTurnip, kHemlock, kTurnip, kHemlock, kOnion, kHemlock, kChokecherry});
    ASSERT_NE(gather, nullptr);
    // Eight draws, each from the nine entries of the table.
    EXPECT_EQ(ranges, (std::vector<std::pair<int32_t, int32_t>>(8, {0, 8})));
    struct Expected {
        int16_t entry;
        int16_t amount;
        const char* name;
        int32_t kind;
        int16_t topic;
    };
    const Expected expected[] = {{kTurnip, 2, "Prairie Turnip", 1, 0},
                                 {kHemlock, 0, "Water Hemlock", 0, 2},
                                 {kOnion, 3, "Wild Onion", 1, 0},
                                 {kChokecherry, 4, "Chokecherry", 2, 2}};
    for (int i = 0; i < 4; ++i) {
        const CGatherModule::Pick& pick = gather->GetPick(i);
        EXPECT_EQ(pick.entry, expected[i].entry) << "pick " << i;
        EXPECT_EQ(pick.amount, expected[i].amount) << "pick " << i;
        EXPECT_STREQ(pick.name.GetText(), expected[i].name);
        EXPECT_EQ(pick.kind, expected[i].kind) << "pick " << i;
        EXPECT_EQ(pick.topic, expected[i].topic) << "pick " << i;
    }
    // The buttons show the picks' pictures; the first pick is selected and is the topic.
    auto* button = dynamic_cast<CImgBtnWnd*>(Object(CGatherModule::kPickButton + 1));
    ASSERT_NE(button, nullptr);
    ASSERT_NE(button->GetImages(), nullptr);
    EXPECT_EQ(gather->GetSelection(), 0);
    EXPECT_TRUE(Object(CGatherModule::kPickPage)->IsShown());
    EXPECT_FALSE(Object(CGatherModule::kPickPage + 1)->IsShown());
    // Choosing the hemlock shows its page and makes its even topic the guidebook's.
    Send(CGatherModule::kMsgSelectPick, 2);
    EXPECT_EQ(gather->GetSelection(), 1);
    EXPECT_FALSE(Object(CGatherModule::kPickPage)->IsShown());
    EXPECT_TRUE(Object(CGatherModule::kPickPage + 1)->IsShown());
    EXPECT_EQ(GetModuleMgr()->GetGuideTopic(), 2);
    // A pick number outside 1-4 changes nothing.
    Send(CGatherModule::kMsgSelectPick, 5);
    Send(CGatherModule::kMsgSelectPick, 0);
    EXPECT_EQ(gather->GetSelection(), 1);
}

TEST_F(GatherScreen, TakeAndLeaveMoveTheCounter)
{
    CGatherModule* gather = OpenWithPicks({kOnion, kTurnip, kLambsQuarter, kDandelion});
    ASSERT_NE(gather, nullptr);
    CImageWnd* count = Image(CGatherModule::kCountImage);
    ASSERT_NE(count, nullptr);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(Image(CGatherModule::kMarker + i)->IsShown()) << "undecided pick " << i;
    EXPECT_EQ(count->GetFrame(), 0);

    Take(1);
    Take(1); // counted once
    CImageWnd* marker = Image(CGatherModule::kMarker);
    EXPECT_TRUE(marker->IsShown());
    EXPECT_EQ(marker->GetFrame(), 0);
    EXPECT_EQ(count->GetFrame(), 1);
    Take(3);
    EXPECT_EQ(count->GetFrame(), 2);
    Leave(1);
    EXPECT_EQ(marker->GetFrame(), 1);
    EXPECT_TRUE(marker->IsShown());
    EXPECT_EQ(count->GetFrame(), 1);
    Leave(2); // left without having been taken
    EXPECT_EQ(count->GetFrame(), 1);
    EXPECT_EQ(Image(CGatherModule::kMarker + 1)->GetFrame(), 1);
}

TEST_F(GatherScreen, GreensAndBerriesTimesTheTravellers)
{
    PartyOfFour();
    const int16_t greens = Supplies().GetTotal(CGatherModule::kItemKind1);
    const int16_t berries = Supplies().GetTotal(CGatherModule::kItemKind2);
    CGatherModule* gather = OpenWithPicks({kOnion, kChokecherry, kTurnip, kDandelion});
    ASSERT_NE(gather, nullptr);
    Take(1); // 3 greens
    Take(2); // 4 berries
    Leave(3);
    Send(CGatherModule::kMsgGather);
    ASSERT_EQ(Gather(), gather);
    EXPECT_EQ(gather->GetKind1Total(), 3);
    EXPECT_EQ(gather->GetKind2Total(), 4);
    EXPECT_EQ(Supplies().GetTotal(CGatherModule::kItemKind1), greens + 12);
    EXPECT_EQ(Supplies().GetTotal(CGatherModule::kItemKind2), berries + 16);
    EXPECT_TRUE(events.empty());
    // The result replaces the picks.
    EXPECT_TRUE(Object(CGatherModule::kResultPanel)->IsShown());
    EXPECT_FALSE(Object(CGatherModule::kPickButton)->IsShown());
    EXPECT_FALSE(Object(CGatherModule::kCountImage)->IsShown());
    EXPECT_EQ(ResultText(), "Wild Onion\rChokecherry\r");

    // A click anywhere goes back to the travel screen.
    Release();
    EXPECT_EQ(Gather(), nullptr);
}

TEST_F(GatherScreen, TheResultsButtonGoesBackThroughTheGameWindow)
{
    CGatherModule* gather = OpenWithPicks({kOnion, kChokecherry, kTurnip, kDandelion});
    ASSERT_NE(gather, nullptr);
    Take(1);
    // Before a result a click leaves the screen open.
    Release();
    ASSERT_EQ(Gather(), gather);
    Send(CGatherModule::kMsgGather);
    auto* done = dynamic_cast<CInputFrame*>(Object(CGatherModule::kResultButton));
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(done->GetNotifyTarget(), GetMainWnd());
    {
        CDispatchScope scope;
        done->SendNotify();
    }
    EXPECT_EQ(Gather(), nullptr);
}

TEST_F(GatherScreen, ASecondGatherAddsNothingAlsoAfterASuspendAndResume)
{
    PartyOfFour();
    const int16_t greens = Supplies().GetTotal(CGatherModule::kItemKind1);
    CGatherModule* gather = OpenWithPicks({kOnion, kChokecherry, kTurnip, kDandelion});
    ASSERT_NE(gather, nullptr);
    Take(1);
    Send(CGatherModule::kMsgGather);
    EXPECT_EQ(Supplies().GetTotal(CGatherModule::kItemKind1), greens + 12);
    Send(CGatherModule::kMsgGather);
    EXPECT_EQ(Supplies().GetTotal(CGatherModule::kItemKind1), greens + 12);

    gather->Suspend();
    EXPECT_EQ(gather->GetScreen(), nullptr);
    EXPECT_EQ(Object(CGatherModule::kResultPanel), nullptr);
    gather->Resume();
    // The rebuilt screen shows the result again; a gather still adds nothing.
    EXPECT_TRUE(Object(CGatherModule::kResultPanel)->IsShown());
    EXPECT_EQ(ResultText(), "Wild Onion\r");
    Send(CGatherModule::kMsgGather);
    EXPECT_EQ(Supplies().GetTotal(CGatherModule::kItemKind1), greens + 12);
    EXPECT_EQ(Gather(), gather);
}

TEST_F(GatherScreen, APoisonousPickRunsAnEventAndClosesThroughTheIris)
{
    PartyOfFour();
    const int16_t greens = Supplies().GetTotal(CGatherModule::kItemKind1);
    CGatherModule* gather = OpenWithPicks({kOnion, kHemlock, kTurnip, kDandelion, /* event */ 1});
    ASSERT_NE(gather, nullptr);
    Take(1);
    Take(2);
    CountingDisplay display;
    plat::Display* before = plat::GetDisplay();
    plat::SetDisplay(&display);
    Send(CGatherModule::kMsgGather);
    plat::SetDisplay(before);
    // Event 64 ran; nothing was added; the iris showed its stages and the screen closed.
    EXPECT_EQ(events, (std::vector<int16_t>{64}));
    ASSERT_GE(ranges.size(), 5u);
    EXPECT_EQ(ranges[4], (std::pair<int32_t, int32_t>{0, 2}));
    EXPECT_EQ(Supplies().GetTotal(CGatherModule::kItemKind1), greens);
    EXPECT_GT(display.presents, 5);
    EXPECT_EQ(Gather(), nullptr);
}

TEST_F(GatherScreen, NothingTakenClosesAtOnce)
{
    CGatherModule* gather = OpenWithPicks({kOnion, kTurnip, kLambsQuarter, kDandelion});
    ASSERT_NE(gather, nullptr);
    const int16_t before = Supplies().GetCount();
    Take(2);
    Leave(2);
    Leave(3);
    Send(CGatherModule::kMsgGather);
    EXPECT_EQ(Gather(), nullptr);
    EXPECT_EQ(Supplies().GetCount(), before);
    EXPECT_TRUE(events.empty());
}

TEST_F(GatherScreen, TheGuidebookOpensOverTheScreenAtThePicksTopic)
{
    CGatherModule* gather = OpenWithPicks({kOnion, kChokecherry, kTurnip, kDandelion});
    ASSERT_NE(gather, nullptr);
    Take(2);
    Send(CGatherModule::kMsgGuidebook);
    EXPECT_EQ(GetModuleMgr()->GetCurModule(), 4);
    EXPECT_EQ(GetModuleMgr()->GetGuideTopic(), 2);
    EXPECT_EQ(gather->GetState(), CModule::kStateSuspended);
    EXPECT_EQ(gather->GetScreen(), nullptr);
    // Back from the guidebook: the same picks, marks and count.
    {
        CDispatchScope scope;
        SendMsg(*GetMainWnd(), CMainWnd::kMsgLeaveModule, 0, 0, nullptr);
    }
    ASSERT_EQ(Gather(), gather);
    EXPECT_EQ(gather->GetState(), CModule::kStateBuilt);
    EXPECT_EQ(gather->GetPick(1).entry, kChokecherry);
    EXPECT_TRUE(Image(CGatherModule::kMarker + 1)->IsShown());
    EXPECT_EQ(Image(CGatherModule::kCountImage)->GetFrame(), 1);
    EXPECT_TRUE(Object(CGatherModule::kPickPage + 1)->IsShown());
}

TEST_F(GatherScreen, PicksAndResultAgainstGoldenPictures)
{
    ASSERT_NE(OpenWithPicks({kOnion, kChokecherry, kHemlock, kStrawberry}), nullptr);
    Take(1);
    Leave(3);
    Take(4);
    Send(CGatherModule::kMsgSelectPick, 2);
    ExpectGolden("gather-picks.png");
    Send(CGatherModule::kMsgGather);
    ExpectGolden("gather-result.png");
}

// A table of three plants among entries that count as empty: a plant number outside 1-65, and a
// picture of 0 with a plant.
class GatherThreeEntries : public GatherScreen {
protected:
    void PrepareData(const fs::path& copy) override
    {
        qmtest::ReplaceFile(copy / "QM3Data.qmd" / "GTR" / "006012.GTR",
                            "6101, 1, 3, 0,\n6104, 66, 4, 0,\n6102, 2, 2, 0,\n0, 4, 4, 0,\n6109, 20, 5, 0\n");
    }
};

TEST_F(GatherThreeEntries, DrawsThreePicksAndHidesTheFourth)
{
    CGatherModule* gather = OpenWithPicks({2, 2, 0, 2, 0, 1});
    ASSERT_NE(gather, nullptr);
    ASSERT_EQ(gather->GetPickCount(), 3);
    EXPECT_EQ(ranges, (std::vector<std::pair<int32_t, int32_t>>(6, {0, 2})));
    // Entries 0, 2 and 4 are the plants; plant 20 has no name.
    EXPECT_EQ(gather->GetPick(0).entry, 4);
    EXPECT_STREQ(gather->GetPick(0).name.GetText(), "");
    EXPECT_EQ(gather->GetPick(1).entry, 0);
    EXPECT_EQ(gather->GetPick(2).entry, 2);
    EXPECT_FALSE(Object(CGatherModule::kPickButton + 3)->IsShown());
    EXPECT_TRUE(Object(CGatherModule::kPickButton + 2)->IsShown());
    // The fourth pick cannot be chosen or marked.
    Send(CGatherModule::kMsgSelectPick, 4);
    EXPECT_EQ(gather->GetSelection(), 0);
}

// A table without a single plant.
class GatherNoEntries : public GatherScreen {
protected:
    void PrepareData(const fs::path& copy) override
    {
        qmtest::ReplaceFile(copy / "QM3Data.qmd" / "GTR" / "006012.GTR", "0, 1, 3, 0,\n6104, 0, 4, 0\n");
    }
};

TEST_F(GatherNoEntries, DrawsNothingAndTheGatherClosesAtOnce)
{
    CGatherModule* gather = OpenWithPicks({});
    ASSERT_NE(gather, nullptr);
    EXPECT_EQ(gather->GetPickCount(), 0);
    EXPECT_TRUE(ranges.empty());
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(Object(CGatherModule::kPickButton + i)->IsShown()) << i;
    Take(1);
    EXPECT_EQ(Image(CGatherModule::kCountImage)->GetFrame(), 0);
    Send(CGatherModule::kMsgGather);
    EXPECT_EQ(Gather(), nullptr);
    EXPECT_TRUE(events.empty());
}

// Greens and berries that yield nothing.
class GatherZeroAmounts : public GatherScreen {
protected:
    void PrepareData(const fs::path& copy) override
    {
        qmtest::ReplaceFile(copy / "QM3Data.qmd" / "GTR" / "006012.GTR",
                            "6101, 1, 0, 0,\n6104, 4, 0, 0,\n6102, 2, 0, 0,\n6105, 5, 0, 0\n");
    }
};

TEST_F(GatherZeroAmounts, TakingOnlyAmountsOfNothingClosesAtOnce)
{
    PartyOfFour();
    const int16_t before = Supplies().GetCount();
    ASSERT_NE(OpenWithPicks({0, 1, 2, 3}), nullptr);
    for (int pick = 1; pick <= 4; ++pick)
        Take(pick);
    Send(CGatherModule::kMsgGather);
    EXPECT_EQ(Gather(), nullptr);
    EXPECT_EQ(Supplies().GetCount(), before);
    EXPECT_TRUE(events.empty());
}

TEST_F(GatherScreen, WithoutATravelModuleNothingIsAddedOrPosted)
{
    PartyOfFour();
    const int16_t count = Supplies().GetCount();
    // A screen outside the game window has no travel module.
    auto* gather = new CGatherModule(CRect(0, 0, 480, 640));
    ScriptDraws({0, 1, 2, 3, /* event */ 0});
    gather->OnAttach();
    EXPECT_EQ(gather->GetSeasonColumn(), 1);
    EXPECT_EQ(gather->GetPlantsValue(), 0);
    EXPECT_EQ(gather->GetGatherTableId(), 6001);
    ASSERT_EQ(gather->GetPickCount(), 4);
    for (int pick = 1; pick <= 4; ++pick) {
        CMessage select(CGatherModule::kMsgSelectPick, pick);
        gather->HandleMessage(select, nullptr);
        CMessage take(CGatherModule::kMsgTake);
        gather->HandleMessage(take, nullptr);
    }
    CMessage gatherCommand(CGatherModule::kMsgGather);
    gather->HandleMessage(gatherCommand, nullptr);
    // Table 6001 holds a poisonous plant: no event without a trip, and nothing added.
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(Supplies().GetCount(), count);
    EXPECT_EQ(GetMenuWnd()->GetCloseTarget(), gather);
    delete gather;
    EXPECT_NE(GetMenuWnd()->GetCloseTarget(), nullptr);
}

} // namespace
