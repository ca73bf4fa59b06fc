// The travel screen's panels and the messages of their buttons, popups and dialogs in the game
// started on the sample data: the pace and ration popups, the stay panel, the days-to-wait
// dialog answered by typing, the status panel with its fields and its refresh at the day's end,
// and the switches to the hunting, river and gathering modules.
//
// The golden picture holds the status panel of a four-member party; run the tests once with
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
#include "engine/controls/native/ColorWnd.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/framework/Util.h"
#include "engine/media/SmackerFrame.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/GameGlobals.h"
#include "game/base/MainWnd.h"
#include "game/base/ModuleBackFrm.h"
#include "game/base/ModuleMgr.h"
#include "game/base/SoundSlots.h"
#include "game/base/save/QM3Doc.h"
#include "game/shell/QM3Appl.h"
#include "game/travel/EventGen.h"
#include "game/travel/HealthCond.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Travel.h"
#include "game/travel/Weather.h"
#include "platform/Desktop.h"
#include "platform/Input.h"
#include "platform/MessageQueue.h"
#include "platform/Window.h"
#include "platform/WindowMessages.h"
#include "tests/game/shell/SampleGame.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

// A condition whose recognition the test decides.
class SetCondition : public CHealthCond {
public:
    SetCondition(CPartyMember* person, int32_t kind, bool known) : CHealthCond(person, kind, 1), known_(known)
    {
    }
    bool IsRecognised() const override { return known_; }

private:
    bool known_;
};

void SetHealth(CPartyMember& member, int32_t health) { member.Damage(member.GetHealth() - health); }

void AddCondition(CPartyMember& member, int32_t kind, bool known)
{
    member.GetConditions().AddHead(new SetCondition(&member, kind, known));
}

// The game on the sample data past its start, its travel screen enabled and in front of the
// opening screen, the trip on the route's first node.
class TravelPanels : public shelltest::SampleGameScreen {
protected:
    void SetUp() override
    {
        SampleGameScreen::SetUp();
        ASSERT_NE(Travel(), nullptr);
        GetModuleMgr()->GetModule(0)->GetGraphic()->Hide(true, false);
        Travel()->SetSuspended(false);
        Travel()->Enable(true, false, false);
        Travel()->Show(false);
        Travel()->PlaceOnNode(1);
        words = CreateTplRec(CTravel::kStatusWords, 0xFFFFFFFFu, false);
        ASSERT_NE(words, nullptr);
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
    // A message to the travel screen as its panels send it.
    static void Send(int32_t id, MsgWord p0 = 0)
    {
        CDispatchScope scope;
        CMessage message(id, p0);
        Travel()->HandleMessage(message, nullptr);
    }
    // A panel button's notification, as a click sends it.
    static void Press(CFrame* panel, int32_t id)
    {
        ASSERT_NE(panel, nullptr);
        auto* button = dynamic_cast<CInputFrame*>(panel->FindObject(CBaseObj::kAnyKind, id));
        ASSERT_NE(button, nullptr) << id;
        CDispatchScope scope;
        button->SendNotify();
    }
    // The travel screen's children with the id.
    static int Children(int32_t id)
    {
        int n = 0;
        for (CFrame* child : ChildFrames(*Travel()))
            n += child->GetId() == id ? 1 : 0;
        return n;
    }
    static std::string Text(CFrame* panel, int32_t id)
    {
        auto* field = panel ? dynamic_cast<CTextFrame*>(panel->FindObject(CBaseObj::kAnyKind, id)) : nullptr;
        if (!field)
            return "(none)";
        const std::unique_ptr<CStr> text = field->GetText();
        return text && text->GetText() ? text->GetText() : "";
    }
    std::string Word(int32_t i) const { return words->GetEntry(i)->GetText(); }
    // The route view as a moving party sees it.
    static void ShowRoute()
    {
        Send(CTravel::kMsgStay);
        Send(CTravel::kMsgBackToRoute);
        ASSERT_NE(Travel()->GetRoutePanel(), nullptr);
    }
    static CPartyMember& Member(int16_t slot) { return *Travel()->GetParty()->GetMember(slot); }

    std::unique_ptr<CTplRec> words;
};

TEST_F(TravelPanels, ThePopupsReplaceEachOtherAndTheirChoicesSetPaceAndRations)
{
    struct Case {
        int32_t message;
        int32_t popup;
        int32_t firstButton;
    };
    for (const Case& c : {Case{CTravel::kMsgPace, 9310, 9312}, Case{CTravel::kMsgRations, 9320, 9322}}) {
        SCOPED_TRACE(c.message);
        for (int32_t choice = 2; choice >= 0; --choice) {
            Send(CTravel::kMsgPace, -1);
            Send(CTravel::kMsgRations, -1);
            Send(c.message, -1);
            EXPECT_EQ(Children(9310) + Children(9320), 1) << "one popup at a time";
            ASSERT_NE(Travel()->GetChoicePopup(), nullptr);
            EXPECT_EQ(Travel()->GetChoicePopup()->GetId(), c.popup);
            Press(Travel()->GetChoicePopup(), c.firstButton + choice);
            EXPECT_EQ(Travel()->GetChoicePopup(), nullptr);
            EXPECT_EQ(Children(c.popup), 0);
            const int32_t value =
                c.message == CTravel::kMsgPace ? Travel()->GetPace() : Travel()->GetParty()->GetRation();
            EXPECT_EQ(value, choice);
        }
    }
}

TEST_F(TravelPanels, TheStayPanelStopsTheDaysAndHidesTheStatusPanel)
{
    Travel()->StartTimer(CTravel::kDayPeriod, nullptr);
    Send(CTravel::kMsgStatusPanel);
    Send(CTravel::kMsgStay);
    EXPECT_TRUE(Travel()->IsStaying());
    EXPECT_EQ(Travel()->GetTimer(), nullptr);
    ASSERT_NE(Travel()->GetStayPanel(), nullptr);
    EXPECT_TRUE(Travel()->GetStayPanel()->IsShown());
    EXPECT_NE(Travel()->GetStayPanel()->FindObject(CBaseObj::kAnyKind, 9302), nullptr) << "its button";
    EXPECT_FALSE(Travel()->GetStatusPanel()->IsShown());
    EXPECT_TRUE(Travel()->IsStatusPanelOn()) << "shown again when the stay ends";
    EXPECT_FALSE(GetModuleMgr()->GetMessageFrame() && GetModuleMgr()->GetMessageFrame()->IsShown());
    // A second stay keeps the one panel.
    Send(CTravel::kMsgStay);
    EXPECT_EQ(Children(9300), 1);
}

TEST_F(TravelPanels, TheStayPanelsButtonGoesBackToTheTrail)
{
    for (bool statusOn : {false, true}) {
        SCOPED_TRACE(statusOn);
        if (Travel()->IsStatusPanelOn() != statusOn)
            Send(CTravel::kMsgStatusPanel);
        Send(CTravel::kMsgPace, -1);
        Send(CTravel::kMsgStay);
        Press(Travel()->GetStayPanel(), 9302);
        EXPECT_FALSE(Travel()->IsStaying());
        EXPECT_FALSE(Travel()->GetStayPanel()->IsShown());
        EXPECT_EQ(Travel()->GetChoicePopup(), nullptr);
        ASSERT_NE(Travel()->GetRoutePanel(), nullptr);
        EXPECT_TRUE(Travel()->GetRoutePanel()->IsShown());
        EXPECT_EQ(Travel()->GetStatusPanel() && Travel()->GetStatusPanel()->IsShown(), statusOn);
        ASSERT_NE(Travel()->GetTimer(), nullptr);
        EXPECT_EQ(Travel()->GetTimer()->GetPeriod(), CTravel::kDayPeriod);
    }
}

TEST_F(TravelPanels, TheStatusButtonShowsWhetherThePanelIsOpen)
{
    ShowRoute();
    CFrame* button = Travel()->GetRoutePanel()->FindObject(CBaseObj::kAnyKind, CTravel::kStatusButton);
    ASSERT_NE(button, nullptr);
    // A point of the button inside the open ledger's page, on the closed ledger's cover.
    const auto pixel = [button] {
        GetMainWnd()->Draw(true);
        CWind* window = GetMainWnd()->GetOwnerWnd();
        plat::UpdateWindow(window->GetHwnd());
        const CRect& r = button->GetDrawnRect();
        const plat::Point at = plat::ClientToScreen(window->GetHwnd(), {r.GetLeft() + 14, r.GetTop() + 8});
        return plat::DesktopPixel(at.x, at.y);
    };
    const uint8_t closed = pixel();
    Press(Travel()->GetRoutePanel(), CTravel::kStatusButton);
    EXPECT_TRUE(Travel()->IsStatusPanelOn());
    const uint8_t open = pixel();
    EXPECT_NE(open, closed);
    Press(Travel()->GetRoutePanel(), CTravel::kStatusButton);
    EXPECT_FALSE(Travel()->IsStatusPanelOn());
    EXPECT_EQ(pixel(), closed);
}

// While a panel puts the route map away (the status panel over the picture, the stay panel
// instead of the route panel) the map's picture is gone: a box drawn over the travel view and
// taken away again, as an event's dialog is, must leave no trace, neither in the map's strip
// nor around the panel.
TEST_F(TravelPanels, WhatTheMapAndRoutePanelLeaveIsRepaintedWhileAPanelIsUp)
{
    constexpr uint8_t kBoxColour = 3;
    CWind* window = GetMainWnd()->GetOwnerWnd();
    const auto pixel = [window](int h, int v) {
        plat::UpdateWindow(window->GetHwnd());
        const plat::Point at = plat::ClientToScreen(window->GetHwnd(), {h, v});
        return plat::DesktopPixel(at.x, at.y);
    };
    // Points in the map's strip, beside and above the stay panel's box.
    const std::vector<plat::Point> points = {{40, 20}, {320, 60}, {600, 100}, {8, 200}, {320, 130}};
    for (int32_t message : {CTravel::kMsgStatusPanel, CTravel::kMsgStay}) {
        SCOPED_TRACE(message);
        ShowRoute();
        if (Travel()->IsStatusPanelOn())
            Send(CTravel::kMsgStatusPanel);
        GetMainWnd()->Draw(true);
        Send(message);
        auto* box = new CColorWnd(-2, CRect(0, 0, 400, 640), kBoxColour, 0);
        GetMainWnd()->AddChild(box, true);
        for (const plat::Point& p : points)
            ASSERT_EQ(pixel(p.x, p.y), kBoxColour) << p.x << ", " << p.y << ": the box is on top";
        box->Hide(true, true);
        GetMainWnd()->RemoveChild(*box);
        delete box;
        for (const plat::Point& p : points)
            EXPECT_NE(pixel(p.x, p.y), kBoxColour) << p.x << ", " << p.y;
    }
}

TEST_F(TravelPanels, GoingOnFromAStopTakesTheChosenBranch)
{
    struct Case {
        MsgWord branch;
        int16_t node;
        bool moving;
    };
    // Node 8 is a landmark whose next nodes are 9 (a stretch of trail) and 189 (the route's end,
    // a stop in its turn).
    for (const Case& c : {Case{0, 9, true}, Case{1, 9, true}, Case{2, 189, false}}) {
        SCOPED_TRACE(c.branch);
        Travel()->PlaceOnNode(8);
        Travel()->StopTimer();
        Send(CTravel::kMsgContinue, c.branch);
        EXPECT_EQ(Travel()->GetNodeId(), c.node);
        EXPECT_EQ(Travel()->GetTimer() != nullptr, c.moving);
        EXPECT_EQ(Travel()->GetRoutePanel() && Travel()->GetRoutePanel()->IsShown(), c.moving);
        EXPECT_EQ(Travel()->GetSceneFrame() && Travel()->GetSceneFrame()->IsShown(), !c.moving);
        if (c.moving) {
            EXPECT_NE(Travel()->GetRouteObj(), nullptr) << "the route map starts with the route view";
        }
    }
}

// The sample data with disc 2 in its drive as well.
class TravelPanelsWithDiscTwo : public TravelPanels {
protected:
    void PrepareData(const fs::path& folder) override
    {
        const fs::path source = qmtest::SourceDir() / "data" / "game";
        fs::create_directories(folder / "QM3DISC");
        fs::copy(source / "Disc2", folder / "QM3DISC" / "Disc2.qmd", fs::copy_options::recursive);
        fs::copy(source / "QM3DISC2.MRK", folder / "QM3DISC2.MRK");
    }
};

TEST_F(TravelPanelsWithDiscTwo, LeavingTheFirstLandmarkTurnsToDiscTwoAndItsMusic)
{
    sounds.clear();
    Send(CTravel::kMsgContinue, 0);
    EXPECT_EQ(GetGameAppl()->GetCurrentDisc(), 2);
    EXPECT_EQ(Travel()->GetNodeId(), 2);
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "50010:play loop"), sounds.end());
    ASSERT_NE(Travel()->GetTimer(), nullptr);
}

// The travel music: sound 50010, then a tune by the disc and the party's health, some drawn.
TEST_F(TravelPanels, TheTravelMusicFollowsTheDiscAndThePartysHealth)
{
    struct Case {
        int32_t disc;
        int16_t poorFlag;
        int32_t draw, music;
    } cases[] = {
        {1, -1, 0, 560},
        {1, -1, 1, 560},
        {1, CPartyTrip::kFlagSomeonePoor, 0, 530},
        {1, CPartyTrip::kFlagPoorHealth, 1, 550},
        {2, -1, 0, 570},
        {2, -1, 1, 580},
        {2, CPartyTrip::kFlagSomeonePoor, 1, 540},
        {2, CPartyTrip::kFlagPoorHealth, 0, 540},
    };
    CQM3Doc doc("Trail");
    ASSERT_EQ(GetCurDoc(), nullptr);
    Game().document = &doc;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "disc " << c.disc << ", flag " << c.poorFlag << ", draw " << c.draw);
        doc.SetDisc(c.disc);
        Travel()->SetSceneFlag(CPartyTrip::kFlagSomeonePoor, c.poorFlag == CPartyTrip::kFlagSomeonePoor);
        Travel()->SetSceneFlag(CPartyTrip::kFlagPoorHealth, c.poorFlag == CPartyTrip::kFlagPoorHealth);
        CUtil::SetDrawSource(
            [&c](int32_t lo, int32_t hi, int32_t) { return lo == 0 && hi == 1 ? c.draw : lo; });
        StopSounds(nullptr, 0);
        sounds.clear();
        Travel()->PlayTravelMusic();
        CUtil::SetDrawSource(nullptr);
        std::vector<std::string> played;
        for (const std::string& note : sounds)
            if (note.find(":play") != std::string::npos)
                played.push_back(note.substr(0, note.find(':')));
        EXPECT_EQ(played, (std::vector<std::string>{"50010", std::to_string(c.music)}));
    }
    Game().document = nullptr;
}

TEST_F(TravelPanels, TheStatusButtonTogglesThePanelFilledAfresh)
{
    Send(CTravel::kMsgStatusPanel);
    CFrame* panel = Travel()->GetStatusPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->IsShown());
    EXPECT_TRUE(Travel()->IsStatusPanelOn());
    EXPECT_EQ(Text(panel, 6804), "0");
    Send(CTravel::kMsgStatusPanel);
    EXPECT_FALSE(panel->IsShown());
    EXPECT_FALSE(Travel()->IsStatusPanelOn());
    EXPECT_EQ(Travel()->GetStatusPanel(), panel) << "kept for the next time";

    // While it is shown, each day's end fills it again.
    Send(CTravel::kMsgStatusPanel);
    Travel()->PassHours(24);
    EXPECT_EQ(Text(panel, 6804), "1");
    EXPECT_EQ(Text(panel, 6803), Travel()->GetCurDate()->Format(2)->GetText());
    // Hidden, the panel is left as it was.
    Send(CTravel::kMsgStatusPanel);
    Travel()->PassHours(24);
    EXPECT_EQ(Text(panel, 6804), "1");
}

TEST_F(TravelPanels, HuntingFishingAndGatheringSwitchModules)
{
    struct Case {
        int32_t message;
        int16_t module;
    };
    for (const Case& c :
         {Case{CTravel::kMsgHunt, 7}, Case{CTravel::kMsgFish, 6}, Case{CTravel::kMsgGather, 3}}) {
        SCOPED_TRACE(c.message);
        // The hunt asks for a gun, its bullets and powder first.
        if (c.module == 7)
            for (const int16_t item : {156, 23, 84})
                Travel()->GetParty()->GetSupplies()->AddItem(item, 1);
        Send(c.message);
        EXPECT_EQ(GetModuleMgr()->GetCurModule(), c.module);
        EXPECT_NE(GetModuleMgr()->GetModule(c.module), nullptr);
    }
}

// ---- The days-to-wait dialog ----

class DaysDialog : public TravelPanels {
protected:
    // Answers the dialog once it shows: a click into the field, the text typed, then Enter (the
    // default button) or a click on the control given.
    void Answer(const std::string& text, int32_t control = 0)
    {
        plat::GetMessageQueue().SetEventSource([text, control, done = false](plat::MessageQueue&,
                                                                             uint64_t) mutable {
            CWind* top = CWind::GetTopWnd();
            CFrame* dialog = top ? top->GetTopFrame() : nullptr;
            CFrame* field = dialog ? dialog->FindObject(CBaseObj::kAnyKind, CTravel::kDaysField) : nullptr;
            if (done || !field)
                return;
            done = true;
            plat::Click(Centre(*top, *field));
            plat::TypeText(text);
            if (control == 0)
                plat::PressKey(plat::key::Enter);
            else
                plat::Click(Centre(*top, *dialog->FindObject(CBaseObj::kAnyKind, control)));
        });
    }
    static plat::Point Centre(CWind& window, CFrame& frame)
    {
        const CRect& r = frame.GetDrawnRect();
        return plat::ClientToScreen(window.GetHwnd(), plat::Point{(r.GetLeft() + r.GetRight()) / 2,
                                                                  (r.GetTop() + r.GetBottom()) / 2});
    }
};

TEST_F(DaysDialog, TheFieldWaitsItsLeadingNumberOfDaysWithinBounds)
{
    struct Case {
        const char* text;
        int16_t days;
    };
    for (const Case& c :
         {Case{"", 1}, Case{"x", 1}, Case{"0", 1}, Case{"-3", 1}, Case{"12ab", 12}, Case{"99999", 1365}}) {
        SCOPED_TRACE(c.text);
        Travel()->SetMode(CTrip::kMoving);
        Travel()->SetWaitDays(0);
        Travel()->SetLandmarkId(-1);
        Travel()->StartTimer(CTravel::kDayPeriod, nullptr);
        Answer(c.text);
        Send(CTravel::kMsgAskWaitDays);
        EXPECT_EQ(Travel()->GetWaitDays(), c.days);
        EXPECT_EQ(Travel()->GetLandmarkId(), CTravel::kEventStopLandmarkId);
        EXPECT_EQ(Travel()->GetMode(), CTrip::kStopped);
        EXPECT_EQ(Travel()->GetTimer(), nullptr);
        EXPECT_EQ(GetModuleMgr()->GetCurModule(), CModuleMgr::kLandmark)
            << "the landmark module holds the wait";
    }
}

TEST_F(DaysDialog, CancelMovesOnWithoutAWait)
{
    Travel()->SetMode(CTrip::kStopped);
    Answer("7", CTravel::kDaysCancel);
    Send(CTravel::kMsgAskWaitDays);
    EXPECT_EQ(Travel()->GetMode(), CTrip::kMoving);
    EXPECT_EQ(Travel()->GetWaitDays(), 0);
    EXPECT_EQ(Travel()->GetLandmarkId(), -1);
    EXPECT_NE(GetModuleMgr()->GetCurModule(), CModuleMgr::kLandmark);
}

// ---- The status panel's fields ----

TEST_F(TravelPanels, TheStatusPanelShowsTheTripAndEachMember)
{
    CParty& party = *Travel()->GetParty();
    party.SetMemberCount(4);
    for (int16_t slot = 1; slot < 4; ++slot)
        party.CreateMember(slot, slot);
    Member(0).SetName("Ezra Vance");
    SetHealth(Member(0), 950);
    SetHealth(Member(1), 750);
    AddCondition(Member(1), 13, false); // second in the list, not known: not shown
    AddCondition(Member(1), 5, true);
    SetHealth(Member(2), 150);
    Member(3).SetStatus(0);
    AddCondition(Member(3), 5, true);
    party.AddMorale(static_cast<int16_t>(60 - party.GetMorale()));
    Travel()->GetEventGen()->SetAlkaliWarnings(2);
    // The weather of the golden picture, whatever was drawn before.
    CUtil::SetRandomSeed(5);
    Travel()->SetWeather(std::make_unique<CWeather>(Travel()->GetWeatherId(), *Travel()->GetCurDate()));

    Send(CTravel::kMsgStatusPanel);
    CFrame* panel = Travel()->GetStatusPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(Text(panel, 6803), Travel()->GetCurDate()->Format(2)->GetText());
    EXPECT_EQ(Text(panel, 6801), std::to_string(Travel()->GetHigh()));
    EXPECT_EQ(Text(panel, 6802), std::to_string(Travel()->GetLow()));
    EXPECT_EQ(Text(panel, 6804), "0");
    EXPECT_EQ(Text(panel, 6809), "0");
    EXPECT_EQ(Text(panel, 6808), Word(0));
    EXPECT_EQ(Text(panel, 6815), Word(3)) << "no food";
    EXPECT_EQ(Text(panel, 6811), Word(6)) << "the alkali counter";
    const std::vector<std::vector<std::string>> slots = {
        {"Ezra Vance", Word(7), "", ""},
        {Member(1).GetName().GetText(), Word(10), "Bad Cold", ""},
        {Member(2).GetName().GetText(), Word(13), "", ""},
        {Member(3).GetName().GetText(), Word(14), "", ""},
        {"", "", "", ""},
    };
    for (int32_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Text(panel, 6901 + i), slots[i][0]);
        EXPECT_EQ(Text(panel, 6907 + i), slots[i][1]);
        EXPECT_EQ(Text(panel, 6919 + i), slots[i][2]);
        EXPECT_EQ(Text(panel, 6925 + i), slots[i][3]);
    }

    shelltest::ExpectGameWindowAreaGolden("travel-status-panel.png", panel->GetDrawnRect());
}

TEST_F(TravelPanels, TheHealthWordFollowsHealthConditionsAndDeath)
{
    struct Case {
        int32_t health;
        int32_t status;
        bool condition;
        int32_t word;
    };
    const Case cases[] = {
        {900, 2, false, 7},  {899, 2, false, 8},  {800, 2, false, 8},  {799, 2, false, 9},
        {700, 2, false, 9},  {699, 2, false, 10}, {600, 2, false, 10}, {599, 2, false, 11},
        {400, 2, false, 11}, {399, 2, false, 12}, {200, 2, false, 12}, {199, 2, false, 13},
        {0, 2, false, 13},   {950, 2, true, 10},  {750, 2, true, 10},  {500, 2, true, 11},
        {950, 0, false, 14}, {100, 0, true, 14},
    };
    CFrame* panel = nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.health << " status " << c.status << " condition " << c.condition);
        auto member = std::make_unique<CPartyMember>(static_cast<int16_t>(1));
        SetHealth(*member, c.health);
        member->SetStatus(c.status);
        if (c.condition)
            AddCondition(*member, 5, false);
        Travel()->GetParty()->SetMember(0, std::move(member));
        if (!panel) {
            Send(CTravel::kMsgStatusPanel);
            panel = Travel()->GetStatusPanel();
            ASSERT_NE(panel, nullptr);
        } else {
            Travel()->UpdateStatusPanel(panel);
        }
        EXPECT_EQ(Text(panel, 6907), Word(c.word));
    }
}

TEST_F(TravelPanels, MoraleAndWarningWords)
{
    CParty& party = *Travel()->GetParty();
    struct Case {
        int16_t morale;
        int32_t word;
    };
    for (const Case& c : {Case{51, 0}, Case{50, 1}, Case{25, 1}, Case{24, 2}}) {
        SCOPED_TRACE(c.morale);
        party.AddMorale(static_cast<int16_t>(c.morale - party.GetMorale()));
        Travel()->GetEventGen()->SetAlkaliWarnings(0);
        Send(CTravel::kMsgStatusPanel);
        EXPECT_EQ(Text(Travel()->GetStatusPanel(), 6808), Word(c.word));
        EXPECT_EQ(Text(Travel()->GetStatusPanel(), 6811), " ") << "no warning: a single blank";
        Send(CTravel::kMsgStatusPanel);
    }
}

TEST_F(TravelPanels, APanelWithoutSomeFieldsFillsTheOthers)
{
    CFrame panel(CFrame::kKindFrame, 1, CRect(0, 0, 100, 100), false);
    auto* date = new CTextFrame(6803, CRect(0, 0, 20, 100), nullptr, 3, false, false);
    panel.AddChild(date, false);
    // An object of another kind under a field's id is not a field either.
    panel.AddChild(new CFrame(CFrame::kKindFrame, 6901, CRect(20, 0, 40, 100), false), false);
    Travel()->UpdateStatusPanel(&panel);
    EXPECT_EQ(Text(&panel, 6803), Travel()->GetCurDate()->Format(2)->GetText());

    // Before the trip reaches the route nothing is filled.
    Travel()->ResetTripState();
    date->SetText(std::make_unique<CStr>("kept"));
    Travel()->UpdateStatusPanel(&panel);
    EXPECT_EQ(Text(&panel, 6803), "kept");
}

// A no-dialog event's clip (plain rain's) plays only in the shown route panel, and not while
// the stay panel exists disabled.
TEST_F(TravelPanels, TheEventClipPlaysOnlyInTheShownRoutePanel)
{
    ShowRoute();
    CFrame* panel = Travel()->GetRoutePanel();
    Travel()->GetEventQueue()->SetNotifyWord(11500);
    Send(CTravel::kMsgEventClip);
    ASSERT_NE(Travel()->GetEventClip(), nullptr);
    EXPECT_EQ(Travel()->GetEventClip()->GetMovieId(), 11500);
    Send(CEventHost::kMsgEventGone);

    panel->Hide(true, false);
    Send(CTravel::kMsgEventClip);
    EXPECT_EQ(Travel()->GetEventClip(), nullptr) << "the route panel is hidden";

    Send(CTravel::kMsgStay);
    panel->Show(true);
    Travel()->GetStayPanel()->Enable(false);
    Send(CTravel::kMsgEventClip);
    EXPECT_EQ(Travel()->GetEventClip(), nullptr) << "the stay panel is there, disabled";
    Travel()->GetStayPanel()->Enable(true);
    Send(CTravel::kMsgEventClip);
    EXPECT_NE(Travel()->GetEventClip(), nullptr) << "the stay panel is there, enabled";
}

// The event clip lives until the event has gone (341), the next clip (340, which takes its
// place), a stay, the next segment's picture or the next stop: each stops and deletes it.
TEST_F(TravelPanels, TheEventClipEndsWithTheEventAndWhenTheScreenMovesOn)
{
    struct Case {
        const char* what;
        std::function<void()> act;
        int clipsAfter;
    } cases[] = {
        {"the event gone (341)", [] { Send(CEventHost::kMsgEventGone); }, 0},
        {"the next clip (340)", [] { Send(CTravel::kMsgEventClip); }, 1},
        {"a stay (403)", [] { Send(CTravel::kMsgStay); }, 0},
        {"the next segment's picture", [] { Travel()->ArriveAtNode(3); }, 0},
        {"the next stop", [] { Travel()->ArriveAtNode(4); }, 0},
    };
    Travel()->GetEventQueue()->SetNotifyWord(11500);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Travel()->PlaceOnNode(2);
        ShowRoute();
        Travel()->SetArrivalFlag(false); // a picture simply appears, without the dissolve
        CFrame* panel = Travel()->GetRoutePanel();
        Send(CTravel::kMsgEventClip);
        const CSmackerFrame* clip = Travel()->GetEventClip();
        ASSERT_NE(clip, nullptr);
        c.act();
        int clips = 0;
        for (CFrame* child : ChildFrames(*panel))
            clips += dynamic_cast<CSmackerFrame*>(child) ? 1 : 0;
        EXPECT_EQ(clips, c.clipsAfter);
        EXPECT_EQ(Travel()->GetEventClip() != nullptr, c.clipsAfter == 1);
        Travel()->DeleteEventClip();
    }
}

} // namespace
