// The route map's screens in the game started on the sample data: the sequence browse module
// (type 1) with the sample route map, its key commands and its captions, and the picture and
// backdrop modules (types 5 and 11).
//
// The golden pictures hold the browse screen's map after three entries with the place caption,
// and with a hover caption; run the tests once with QM_UPDATE_GOLDEN=1 in the environment to
// write them again (text pixels depend on the fonts installed).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/controls/ImageWnd.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/Wind.h"
#include "engine/controls/WindowHooks.h"
#include "engine/controls/WndProc.h"
#include "engine/controls/text/ScreenHooks.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/TimerEvent.h"
#include "engine/graphics/GraphicsHooks.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/DefinitionTextHooks.h"
#include "engine/resources/LibraryHooks.h"
#include "game/base/ButtonPanel.h"
#include "game/base/GameGlobals.h"
#include "game/base/LibraryDiscovery.h"
#include "game/base/MainWnd.h"
#include "game/base/ModuleMgr.h"
#include "game/shell/PictureModule.h"
#include "game/shell/QM3Appl.h"
#include "game/shell/SeqBrowseModule.h"
#include "game/travel/RouteNode.h"
#include "game/travel/RouteObj.h"
#include "game/travel/Travel.h"
#include "game/travel/TravelImage.h"
#include "platform/Desktop.h"
#include "platform/Input.h"
#include "platform/SystemInfo.h"
#include "platform/Window.h"
#include "tests/game/base/FakeSound.h"
#include "tests/game/shell/SampleGame.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

using shelltest::FakeSound;
using shelltest::Log;

// The game on the sample data, past its start (the opening screen current).
class RouteMapScreen : public shelltest::SampleGameScreen {
protected:
    static CTravel* Travel()
    {
        return dynamic_cast<CTravel*>(GetModuleMgr()->GetModule(CModuleMgr::kTravel));
    }
    // Switches to the module type as the screens ask for it.
    static void Open(int32_t type)
    {
        CDispatchScope scope;
        SendMsg(*GetMainWnd(), CMainWnd::kMsgRequestModule, type, 1, nullptr);
    }
    static CSeqBrowseModule* Browser()
    {
        return dynamic_cast<CSeqBrowseModule*>(GetModuleMgr()->GetModule(1));
    }
    // A key command as the keyboard sends it to the live objects.
    static bool Key(int32_t code)
    {
        CDispatchScope scope;
        CMessage key(kMsgKey);
        key.SetParam(code, 2);
        return DeliverMessage(*Browser()->GetButtonPanel(), key, nullptr, false);
    }
    static void Step()
    {
        CDispatchScope scope;
        Browser()->OnTimer();
    }
    static CWind* Window() { return GetMainWnd()->GetOwnerWnd(); }
    static void MoveMouse(int x, int y)
    {
        plat::SetCursorPos(plat::ClientToScreen(Window()->GetHwnd(), {x, y}));
    }
    static std::vector<CTravelImage*> Backgrounds()
    {
        std::vector<CTravelImage*> found;
        for (CFrame* child : ChildFrames(*Browser()))
            if (auto* image = dynamic_cast<CTravelImage*>(child))
                found.push_back(image);
        return found;
    }
    static std::string LabelText(const CFrame* label)
    {
        auto* text = label ? dynamic_cast<CTextFrame*>(const_cast<CFrame*>(label)->FindObject(
                                 CBaseObj::kAnyKind, CRouteObj::kCaptionText))
                           : nullptr;
        return text && text->GetText() ? text->GetText()->GetText() : std::string("(none)");
    }
    // The browse screen's top 160 rows (the map and its captions) against a golden picture.
    static void ExpectGolden(const char* name) { shelltest::ExpectGameWindowGolden(name, 160); }
};

TEST_F(RouteMapScreen, TheBrowserBuildsTheSampleMap)
{
    Open(1);
    CSeqBrowseModule* browser = Browser();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->GetBounds(), CRect(0, 0, 440, 640));
    EXPECT_FALSE(browser->TakesInput());
    EXPECT_FALSE(browser->ShowsBusyCursor());
    ASSERT_NE(browser->GetTimer(), nullptr);
    EXPECT_EQ(browser->GetTimer()->GetPeriod(), CSeqBrowseModule::kPeriod);
    EXPECT_EQ(browser->GetButtonPanel()->GetControlKind(), CButtonPanel::kControlId);
    CRouteObj* map = browser->GetRouteObj();
    ASSERT_NE(map, nullptr);
    // The stand-in travel module has no state: the map keeps a fresh one.
    EXPECT_EQ(map->GetState().seq, CRouteSeqState::kNone);
    EXPECT_EQ(map->GetCurEntry(), CRouteObj::kNoEntry);
    ASSERT_EQ(map->GetSequences().size(), 1u);
    const CRouteSeq& seq = *map->GetSequences()[0];
    EXPECT_EQ(seq.backgroundId, 8100);
    ASSERT_EQ(seq.entries.size(), 9u);
    std::vector<int16_t> frames;
    for (const CRouteSeqEntry& entry : seq.entries)
        frames.push_back(entry.frameCount);
    EXPECT_EQ(frames, (std::vector<int16_t>{6, 7, 8, 9, 10, 6, 7, 8, 9}));
    std::vector<std::string> names;
    for (const CRouteHotspot& h : seq.hotspots)
        names.push_back(h.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Millbrook Landing", "Windy Ridge", "Tern River",
                                               "Sentinel Rock", "Harrow Valley"}));
    // Nothing is drawn before a sequence is chosen.
    Step();
    EXPECT_TRUE(Backgrounds().empty());
}

TEST_F(RouteMapScreen, KeyCommandsPickSequencesAndEntries)
{
    Open(1);
    CRouteObj* map = Browser()->GetRouteObj();
    // 'A' with no sequence current: sequence 0, entry 0.
    EXPECT_TRUE(Key('A'));
    EXPECT_EQ(map->GetState().seq, 0);
    EXPECT_EQ(map->GetCurEntry(), 0);
    EXPECT_TRUE(Key('C'));
    EXPECT_EQ(map->GetCurEntry(), 2);
    // '!' asks for sequence 1, which the sample map does not have.
    EXPECT_TRUE(Key('!'));
    EXPECT_EQ(map->GetState().seq, 0);
    // 'u' raises the current entry's frame.
    const int16_t before = map->GetSequences()[0]->entries[2].frameShown;
    EXPECT_TRUE(Key('u'));
    EXPECT_EQ(map->GetSequences()[0]->entries[2].frameShown, before + 1);
    EXPECT_TRUE(Key('z')); // any other code does nothing, handled
    EXPECT_EQ(map->GetCurEntry(), 2);

    // The panel hands on commands only.
    CMessage mouse(kMsgMouse);
    EXPECT_FALSE(Browser()->GetButtonPanel()->HandleMessage(mouse, nullptr));
    CMessage passed(CSeqBrowseModule::kMsgPassed);
    EXPECT_FALSE(Browser()->HandleMessage(passed, nullptr));
    CMessage other(4711);
    EXPECT_TRUE(Browser()->HandleMessage(other, nullptr));
}

TEST_F(RouteMapScreen, RebuildingTwiceLeavesOneMap)
{
    Open(1);
    Key('A');
    Step();
    ASSERT_EQ(Backgrounds().size(), 1u);
    EXPECT_TRUE(Key('r'));
    EXPECT_TRUE(Key('r'));
    // The new map reads the data afresh; its fresh state draws nothing until a pick.
    EXPECT_TRUE(Backgrounds().empty());
    Key('B');
    Step();
    EXPECT_EQ(Backgrounds().size(), 1u);
    ASSERT_NE(Browser()->GetTimer(), nullptr);
    EXPECT_EQ(Browser()->GetTimer()->GetPeriod(), CSeqBrowseModule::kPeriod);
}

TEST_F(RouteMapScreen, Message250QueuesOneCloseRequest)
{
    Open(1);
    const int32_t pending = GetPendingMessageCount();
    CMessage close(CSeqBrowseModule::kMsgClose);
    EXPECT_TRUE(Browser()->HandleMessage(close, nullptr));
    EXPECT_TRUE(Browser()->IsCloseRequested());
    EXPECT_EQ(GetPendingMessageCount(), pending + 1);
    // A tick later the game window closes the browser and the opening screen returns.
    qmtest::Clock().Advance(2 * 17);
    {
        CDispatchScope scope;
        ProcessDueMessages();
    }
    EXPECT_EQ(GetModuleMgr()->GetModule(1), nullptr);
    EXPECT_EQ(GetModuleMgr()->GetCurModule(), 0);
}

TEST_F(RouteMapScreen, ThreeEntriesWithThePlaceCaptionThenAHoverCaption)
{
    Open(1);
    MoveMouse(630, 400);
    for (int key : {'A', 'B', 'C'})
        Key(key);
    Step();
    CRouteObj* map = Browser()->GetRouteObj();
    ASSERT_EQ(Backgrounds().size(), 1u);
    CTravelImage* background = Backgrounds()[0];
    EXPECT_EQ(background->GetZ(), CTravelImage::kDepth);
    ASSERT_NE(background->GetChildren(), nullptr);
    EXPECT_EQ(background->GetChildren()->GetCount(), 3);
    // Entry 2 ends at the hill.
    EXPECT_EQ(LabelText(map->GetPlaceLabel()), "Windy Ridge");
    EXPECT_EQ(map->GetPlaceLabel()->GetZ(), CTravelImage::kDepth - 1);
    EXPECT_EQ(map->GetPlaceLabel()->GetBounds().TopLeft(), CPoint(170, 10));
    EXPECT_EQ(map->GetHoverLabel(), nullptr);
    ExpectGolden("route-map-place.png");

    MoveMouse(350, 64); // over the river
    Step();
    EXPECT_EQ(LabelText(map->GetHoverLabel()), "Tern River");
    EXPECT_NE(map->GetHoverLabel()->GetId(), map->GetPlaceLabel()->GetId());
    ExpectGolden("route-map-hover.png");

    MoveMouse(630, 400);
    Step();
    EXPECT_EQ(map->GetHoverLabel(), nullptr);
    EXPECT_EQ(LabelText(map->GetPlaceLabel()), "Windy Ridge");

    // Paused, the map leaves the screen; resumed, it is drawn again with its caption.
    map->Pause();
    EXPECT_TRUE(Backgrounds().empty());
    EXPECT_FALSE(map->GetPlaceLabel()->IsShown());
    map->Resume();
    EXPECT_EQ(Backgrounds().size(), 1u);
    EXPECT_EQ(LabelText(map->GetPlaceLabel()), "Windy Ridge");
    EXPECT_TRUE(map->GetPlaceLabel()->IsShown());
}

TEST_F(RouteMapScreen, TheMapFollowsTheSampleRoutesNodes)
{
    Open(1);
    CRouteObj* map = Browser()->GetRouteObj();
    // Node 1, the start, has no map code: entry 0 of sequence 0.
    for (int16_t id : {1, 2, 3, 4}) {
        CRouteNode node(id);
        ASSERT_TRUE(node.Exists()) << id;
        map->UpdateFromNode(&node);
    }
    EXPECT_EQ(map->GetState().seq, 0);
    EXPECT_EQ(map->GetCurEntry(), 2);
    EXPECT_EQ(map->GetState().CountVisited(), 3);
    const CRouteNode hill(4);
    EXPECT_EQ(map->GetState().lengthA, hill.GetSegLengthA());
    EXPECT_EQ(map->GetState().lengthB, hill.GetSegLengthB());
    map->UpdateFromNode(static_cast<const CRouteNode*>(nullptr));
    EXPECT_EQ(map->GetCurEntry(), 2);
}

TEST_F(RouteMapScreen, APlaceHoveredBeforeGetsItsPlaceCaptionLater)
{
    Open(1);
    for (int key : {'A', 'B', 'C'})
        Key(key);
    MoveMouse(350, 64); // the river
    Step();
    MoveMouse(480, 46); // the rock: the river's hover caption goes
    Step();
    CRouteObj* map = Browser()->GetRouteObj();
    EXPECT_EQ(LabelText(map->GetHoverLabel()), "Sentinel Rock");
    MoveMouse(630, 400);
    Key('D');
    Key('E'); // entry 4 ends at the river
    Step();
    EXPECT_EQ(LabelText(map->GetPlaceLabel()), "Tern River");
}

TEST_F(RouteMapScreen, TheMapDrawsTheTravelModulesProgress)
{
    // A new trip's state records nothing: no entry becomes current.
    Travel()->SetRouteSeqState(std::make_unique<CRouteSeqState>());
    Open(1);
    EXPECT_EQ(&Browser()->GetRouteObj()->GetState(), Travel()->GetRouteSeqState());
    EXPECT_EQ(Browser()->GetRouteObj()->GetCurEntry(), CRouteObj::kNoEntry);
    GetModuleMgr()->DestroyModule(1);

    // A trip under way: the last recorded entry is current, its frame from the progress.
    CRouteSeqState* state = Travel()->GetRouteSeqState();
    state->seq = 0;
    state->lengthA = 40;
    state->progress = 20;
    for (int16_t e : {0, 1, 2, 3, 4})
        state->Record(e);
    Open(1);
    CRouteObj* map = Browser()->GetRouteObj();
    EXPECT_EQ(map->GetCurEntry(), 4);
    EXPECT_EQ(map->GetCurFrame(), 4); // 10 frames, per = 40 / 10 + 1 = 5
    Step();
    ASSERT_EQ(Backgrounds().size(), 1u);
    EXPECT_EQ(Backgrounds()[0]->GetChildren()->GetCount(), 5);
    EXPECT_EQ(LabelText(map->GetPlaceLabel()), "Tern River");
    EXPECT_EQ(map->GetSequences()[0]->entries[4].sprite->GetFrame(), 4);
}

TEST_F(RouteMapScreen, PictureModulesShowTheirPictureAcrossASuspend)
{
    for (int32_t type : {5, 11}) {
        Open(type);
        auto* module = dynamic_cast<CPictureModule*>(GetModuleMgr()->GetModule(type));
        ASSERT_NE(module, nullptr) << type;
        EXPECT_TRUE(module->IsStarted());
        EXPECT_FALSE(module->ShowsBusyCursor());
        EXPECT_TRUE(module->TakesInput());
        ASSERT_NE(module->GetTimer(), nullptr);
        EXPECT_EQ(module->GetTimer()->GetPeriod(), CPictureModule::kPeriod);
        ASSERT_NE(module->GetImage(), nullptr);
        EXPECT_EQ(module->GetImage()->GetCount(), 1);
        const int16_t state = module->GetState();
        module->Suspend();
        EXPECT_EQ(module->GetImage(), nullptr);
        EXPECT_EQ(module->GetState(), CModule::kStateSuspended);
        module->Resume();
        EXPECT_NE(module->GetImage(), nullptr);
        EXPECT_EQ(module->GetState(), state);
        GetModuleMgr()->DestroyModule(type);
    }
}

class PictureModuleWithoutItsPicture : public RouteMapScreen {
protected:
    void PrepareData(const fs::path& folder) override
    {
        fs::remove(folder / "QM3Data.qmd" / "CBM" / "072000.CBM");
    }
};

TEST_F(PictureModuleWithoutItsPicture, LeavesAnEmptyFrame)
{
    Open(5);
    auto* module = dynamic_cast<CPictureModule*>(GetModuleMgr()->GetModule(5));
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(module->IsStarted());
    EXPECT_EQ(module->GetImage(), nullptr);
    module->Suspend();
    module->Resume();
    EXPECT_EQ(module->GetImage(), nullptr);
}

} // namespace
