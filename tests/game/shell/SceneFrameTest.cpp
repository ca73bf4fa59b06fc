// The stop scene frame in the game started on the sample data: its build from the scene's
// template list, the fork sign 7111, the naming dialog of the first scene, leaving the scene,
// visiting the landmark, resting, and the pending outcome a crossing leaves behind.
//
// The golden picture holds the trading post's scene; run the tests once with
// QM_UPDATE_GOLDEN=1 in the environment to write it again (text pixels depend on the fonts
// installed).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/controls/TextFrame.h"
#include "engine/controls/Wind.h"
#include "engine/controls/input/InputFrame.h"
#include "engine/controls/native/EditField.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/framework/Util.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/GameGlobals.h"
#include "game/base/MainWnd.h"
#include "game/base/ModuleMgr.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/RouteNode.h"
#include "game/travel/SceneFrame.h"
#include "game/travel/Travel.h"
#include "platform/Input.h"
#include "platform/MessageQueue.h"
#include "tests/game/base/FakeSound.h"
#include "tests/game/shell/SampleGame.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

// The second branches the fork sign is tried with, each on a copy of node 8 (the trading post)
// as node 40 + i.
constexpr int16_t kForkBranches[] = {0, 100, 168, 169, 189};

// Node 8 of the sample route as node `id` whose second branch is `branch`.
std::string ForkNode(const std::string& node8, int16_t id, int16_t branch)
{
    std::string text = node8;
    const auto replace = [&text](const std::string& from, const std::string& to) {
        const size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos)
            text.replace(at, from.size(), to);
    };
    replace("\n8, 9, 1, 2,", std::string("\n").append(std::to_string(id)) + ", 9, 1, 2,");
    replace("0, 9, 189, 0,", std::string("0, 9, ").append(std::to_string(branch)) + ", 0,");
    return text;
}

// The game on the sample data past its start, its travel screen enabled and in front of the
// opening screen, the trip on node 8 (the trading post).
class SceneFrame : public shelltest::SampleGameScreen {
protected:
    void PrepareData(const fs::path& data) override
    {
        const fs::path nodes = data / "QM3Data.qmd" / "NOD";
        const std::string node8 = qmtest::ReadWholeFile(nodes / "000008.NOD");
        for (size_t i = 0; i < std::size(kForkBranches); ++i) {
            const auto id = static_cast<int16_t>(40 + i);
            qmtest::ReplaceFile(nodes / qmtest::FolderLibraryWriter::FileName("NOD", id),
                                ForkNode(node8, id, kForkBranches[i]));
        }
    }
    void SetUp() override
    {
        CUtil::SetRandomSeed(1);
        SampleGameScreen::SetUp();
        ASSERT_NE(Travel(), nullptr);
        GetModuleMgr()->GetModule(0)->GetGraphic()->Hide(true, false);
        Travel()->Enable(true, false, false);
        Travel()->Show(false);
        Travel()->PlaceOnNode(8);
    }
    void TearDown() override
    {
        plat::GetMessageQueue().SetEventSource(nullptr);
        SampleGameScreen::TearDown();
    }
    static CTravel* Travel()
    {
        return dynamic_cast<CTravel*>(GetModuleMgr()->GetModule(CModuleMgr::kTravel));
    }
    // A scene frame over the travel screen, built for the scene as a stop builds it.
    CRouteSceneFrm& Scene(int32_t sceneId)
    {
        auto* scene = static_cast<CRouteSceneFrm*>(MakeSceneFrame(*Travel(), sceneId));
        scene->OnAttach();
        Travel()->AddChild(scene, true);
        return *scene;
    }
    static CFrame* Element(CFrame& root, int32_t id) { return root.FindObject(CBaseObj::kAnyKind, id); }
    // A scene button's notification, as a click sends it.
    static void Press(CFrame& scene, int32_t id)
    {
        auto* button = dynamic_cast<CInputFrame*>(Element(scene, id));
        ASSERT_NE(button, nullptr) << id;
        CDispatchScope scope;
        button->SendNotify();
    }
};

TEST_F(SceneFrame, ItIsBuiltFromTheScenesTemplateListOverTheTravelScreen)
{
    CRouteSceneFrm& scene = Scene(20300);
    EXPECT_EQ(scene.GetId(), CRouteSceneFrm::kFrameId);
    EXPECT_EQ(scene.GetBounds(), Travel()->GetDrawnRect());
    ASSERT_NE(scene.GetContent(), nullptr);
    for (int32_t id : {20303, 20304, 20305, 7111})
        EXPECT_NE(Element(scene, id), nullptr) << id;
    EXPECT_TRUE(Element(scene, 7111)->IsShown()) << "node 8's second branch is 189";
    EXPECT_FALSE(scene.IsClosed());
    EXPECT_FALSE(scene.NamesAsked());
    // Another stop: the scene's new id, built anew.
    scene.SetSceneId(20200);
    scene.OnAttach();
    EXPECT_EQ(Element(scene, 20305), nullptr);
    EXPECT_NE(Element(scene, 20203), nullptr);
    // A scene id without a template list shows nothing.
    scene.SetSceneId(20205);
    scene.OnAttach();
    EXPECT_EQ(scene.GetContent(), nullptr);
}

TEST_F(SceneFrame, TheForkSignIsHiddenFromAPlayerWithoutAPostBelowNode169)
{
    struct Case {
        int16_t branch;
        int16_t post;
        bool shown;
    } cases[] = {
        {0, 0, true},    {100, 0, false}, {100, 1, true}, {100, 2, true},
        {168, 0, false}, {169, 0, true},  {189, 0, true},
    };
    CRouteSceneFrm& scene = Scene(20300);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "branch " << c.branch << ", post " << c.post);
        const auto at = std::find(std::begin(kForkBranches), std::end(kForkBranches), c.branch);
        Travel()->PlaceOnNode(static_cast<int16_t>(40 + (at - std::begin(kForkBranches))));
        ASSERT_EQ(Travel()->GetNode()->GetNextNode(1), c.branch);
        Travel()->SetPost(c.post);
        scene.OnAttach();
        ASSERT_NE(Element(scene, CRouteSceneFrm::kForkObject), nullptr);
        EXPECT_EQ(Element(scene, CRouteSceneFrm::kForkObject)->IsShown(), c.shown);
    }
}

// ---- The naming dialog of the first scene ----

class NamingDialog : public SceneFrame {
protected:
    // Once the dialog shows, notes each row's text and field, lets `edit` change the fields,
    // then presses Enter (the OK button).
    void Answer(std::function<void(CFrame& dialog)> edit)
    {
        plat::GetMessageQueue().SetEventSource(
            [this, edit, done = false](plat::MessageQueue&, uint64_t) mutable {
                CWind* top = CWind::GetTopWnd();
                CFrame* dialog = top ? top->GetTopFrame() : nullptr;
                if (done || !dialog || dialog->GetId() != CRouteSceneFrm::kNamingDialog)
                    return;
                done = true;
                for (int32_t row = 0; row < 5; ++row) {
                    texts.push_back(Shown(*dialog, 9200 + 20 * row));
                    fields.push_back(Shown(*dialog, 9210 + 20 * row));
                }
                edit(*dialog);
                plat::PressKey(plat::key::Enter);
            });
    }
    // The text of a shown element, "(hidden)" for one that is hidden.
    static std::string Shown(CFrame& dialog, int32_t id)
    {
        CFrame* element = Element(dialog, id);
        if (!element || !element->IsShown())
            return "(hidden)";
        std::unique_ptr<CStr> text;
        if (auto* field = dynamic_cast<CEditField*>(element))
            text = field->GetText();
        else if (auto* label = dynamic_cast<CTextFrame*>(element))
            text = label->GetText();
        return text && text->GetText() ? text->GetText() : "";
    }
    static void Type(CFrame& dialog, int32_t id, const char* name)
    {
        dynamic_cast<CEditField&>(*Element(dialog, id)).SetText(std::make_unique<CStr>(name), true);
    }
    static std::string Name(int16_t slot)
    {
        return Travel()->GetParty()->GetMember(slot)->GetName().GetText();
    }
    static std::string TrailName(int16_t id)
    {
        const std::unique_ptr<CTplRec> names = CreateTplRec(CRouteSceneFrm::kTrailNames, 0xFFFFFFFFu, false);
        return names->GetEntry(id - 1)->GetText();
    }

    std::vector<std::string> texts;
    std::vector<std::string> fields;
};

TEST_F(NamingDialog, ThePartyIsNamedOnceAtTheFirstScene)
{
    // Four travellers of the person table join, as at the outfitting store.
    CParty& party = *Travel()->GetParty();
    for (int16_t slot = 1; slot < 5; ++slot)
        party.CreateMember(slot, Travel()->GetPersonId(static_cast<int16_t>(slot - 1)));
    party.SetMemberCount(5);
    std::vector<std::string> before;
    for (int16_t slot = 0; slot < 5; ++slot)
        before.push_back(Name(slot));
    Answer([](CFrame& dialog) { Type(dialog, 9210, "Mae Ardent"); });
    CRouteSceneFrm& scene = Scene(CRouteSceneFrm::kNamingScene);
    ASSERT_EQ(texts.size(), 5u) << "the dialog was shown";
    EXPECT_TRUE(scene.NamesAsked());
    EXPECT_EQ(texts[0], Travel()->GetCurDate()->Format(1)->GetText());
    EXPECT_EQ(fields[0], before[0]);
    for (int16_t slot = 1; slot < 5; ++slot) {
        const int16_t id = Travel()->GetParty()->GetMember(slot)->GetId();
        EXPECT_EQ(texts[static_cast<size_t>(slot)], before[static_cast<size_t>(slot)]);
        EXPECT_EQ(fields[static_cast<size_t>(slot)], TrailName(id));
        EXPECT_EQ(Name(slot), TrailName(id)) << "the trail name taken";
    }
    EXPECT_EQ(Name(0), "Mae Ardent");

    // Built again, the scene asks no more.
    texts.clear();
    Answer([](CFrame&) {});
    scene.OnAttach();
    EXPECT_TRUE(texts.empty());
    plat::GetMessageQueue().SetEventSource(nullptr);
}

TEST_F(NamingDialog, ASmallPartyHidesTheOtherRowsAndAnEmptyFieldKeepsTheName)
{
    // The leader, a named traveller and a person drawn at random (id 0: no trail name).
    CParty& party = *Travel()->GetParty();
    party.CreateMember(1, 7);
    party.SetMember(2, std::make_unique<CPartyMember>(nullptr, 30, 5, 5, 1));
    party.SetMemberCount(3);
    const std::string random = Name(2);
    Answer([](CFrame& dialog) { Type(dialog, 9230, ""); });
    Scene(CRouteSceneFrm::kNamingScene);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(fields[1], TrailName(7));
    EXPECT_EQ(fields[2], "") << "no entry -1: no initial text";
    for (size_t row : {3u, 4u}) {
        EXPECT_EQ(texts[row], "(hidden)") << row;
        EXPECT_EQ(fields[row], "(hidden)") << row;
    }
    EXPECT_EQ(Name(1), CPartyMember(7).GetName().GetText()) << "emptied: the name stays";
    EXPECT_EQ(Name(2), random);
}

// ---- The scene's buttons ----

TEST_F(SceneFrame, LeavingGoesOnOnceAndABuildMakesTheSceneLeavableAgain)
{
    CRouteSceneFrm& scene = Scene(20300);
    scene.SetOutcome(11);
    sounds.clear();
    Press(scene, 20305);
    EXPECT_TRUE(scene.IsClosed());
    EXPECT_EQ(scene.GetContent(), nullptr);
    EXPECT_FALSE(scene.IsShown());
    EXPECT_EQ(scene.GetOutcome(), 0) << "applied";
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "50010:play loop"), sounds.end()) << "the travel music";
    // A second leave (a late 282) does nothing.
    sounds.clear();
    CDispatchScope scope;
    SendMsg(scene, CRouteSceneFrm::kMsgLeaveNow, 0, 0, nullptr);
    EXPECT_TRUE(sounds.empty());
    // The next stop's scene is left by its own button.
    scene.SetSceneId(20200);
    scene.OnAttach();
    scene.Show(false);
    EXPECT_FALSE(scene.IsClosed());
    Press(scene, 20203);
    EXPECT_TRUE(scene.IsClosed());
    EXPECT_EQ(scene.GetContent(), nullptr);
}

TEST_F(SceneFrame, VisitingSwitchesToTheLandmarkWithTheButtonsDisabled)
{
    CRouteSceneFrm& scene = Scene(20300);
    Press(scene, 20303);
    EXPECT_EQ(Travel()->GetLandmarkId(), 10300);
    EXPECT_EQ(GetModuleMgr()->GetCurModule(), CModuleMgr::kLandmark);
    EXPECT_TRUE(scene.IsEnabled());
    EXPECT_FALSE(Element(scene, 20305)->IsEnabled());
    EXPECT_FALSE(scene.IsClosed());
}

class RestDialog : public SceneFrame {
protected:
    // Answers the days dialog once it shows: the text typed into its field, then Enter, or
    // Cancel clicked.
    void Answer(const std::string& text, bool cancel)
    {
        plat::GetMessageQueue().SetEventSource(
            [text, cancel, done = false](plat::MessageQueue&, uint64_t) mutable {
                CWind* top = CWind::GetTopWnd();
                CFrame* dialog = top ? top->GetTopFrame() : nullptr;
                CFrame* field = dialog ? Element(*dialog, CTravel::kDaysField) : nullptr;
                if (done || !field)
                    return;
                done = true;
                dynamic_cast<CEditField&>(*field).SetText(std::make_unique<CStr>(text.c_str()), true);
                if (cancel)
                    SendMsg(*dialog, -39, 0, 0, Element(*dialog, CTravel::kDaysCancel));
                else
                    plat::PressKey(plat::key::Enter);
            });
    }
};

TEST_F(RestDialog, CancelledTheSceneTakesItsButtonsBackAndAWaitGoesToTheLandmark)
{
    CRouteSceneFrm& scene = Scene(20300);
    Travel()->SetMode(CTrip::kMoving);
    Answer("3", true);
    Press(scene, 20304);
    EXPECT_TRUE(Element(scene, 20305)->IsEnabled());
    EXPECT_EQ(Travel()->GetMode(), CTrip::kMoving);
    EXPECT_EQ(Travel()->GetWaitDays(), 0);

    Answer("40000", false);
    Press(scene, 20304);
    EXPECT_FALSE(Element(scene, 20305)->IsEnabled());
    EXPECT_EQ(Travel()->GetWaitDays(), CTrip::kMaxWaitDays);
    EXPECT_EQ(Travel()->GetLandmarkId(), -52);
    EXPECT_EQ(Travel()->GetMode(), CTrip::kStopped);
    EXPECT_EQ(GetModuleMgr()->GetCurModule(), CModuleMgr::kLandmark);
}

// ---- The travel screen's own scene ----

TEST_F(SceneFrame, ACrossingCodeBecomesTheScenesPendingOutcome)
{
    Travel()->SetCrossingCode(12); // no scene yet: nothing to keep it
    Travel()->ArriveAtNode(8);
    auto* scene = dynamic_cast<CRouteSceneFrm*>(Travel()->GetSceneFrame());
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(scene->GetSceneId(), 20300);
    EXPECT_EQ(scene->GetOutcome(), 0);
    Travel()->SetCrossingCode(14);
    EXPECT_EQ(scene->GetOutcome(), 14);
    ApplySceneOutcome(*scene);
    EXPECT_EQ(scene->GetOutcome(), 0);
}

TEST_F(SceneFrame, TheTradingPostsSceneLooksAsDrawn)
{
    Travel()->ArriveAtNode(8);
    ASSERT_NE(Travel()->GetSceneFrame(), nullptr);
    shelltest::ExpectGameWindowGolden("scene-20300.png", 400);
}

} // namespace
