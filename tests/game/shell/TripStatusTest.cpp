// The trip status screen (module type 2) in the game started on the sample data: the six
// panels' ratings, the narration each panel waits for and a click cuts short, the pictures
// the score earns, the start-over question before the end of the route and the new trip
// after it, and a suspend in the middle of the panels.
//
// The golden picture holds the screen with its six panels rated; run the tests once with
// QM_UPDATE_GOLDEN=1 in the environment to write it again (text pixels depend on the fonts
// installed).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/controls/ImageWnd.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/Wind.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Options.h"
#include "engine/framework/TimerEvent.h"
#include "engine/framework/Util.h"
#include "engine/graphics/ImgSet.h"
#include "game/base/GameGlobals.h"
#include "game/base/MainWnd.h"
#include "game/base/ModuleMgr.h"
#include "game/shell/ModuleFactory.h"
#include "game/shell/TripRating.h"
#include "game/shell/TripStatusModule.h"
#include "game/travel/Party.h"
#include "game/travel/Travel.h"
#include "platform/Desktop.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "tests/game/base/FakeSound.h"
#include "tests/game/shell/SampleGame.h"
#include "tests/support/TestEnv.h"
#include "tools/PngImage.h"
#include "tools/QmImg.h"
#include "tools/QmSnd.h"

namespace fs = std::filesystem;

namespace {

using shelltest::FakeSound;
using namespace tripstatus;

// Members of the healths, travelling, then `lost` members left behind (health 0).
void SetMembers(CParty& party, const std::vector<int16_t>& healths, int16_t lost = 0)
{
    const auto count = static_cast<int16_t>(healths.size() + static_cast<size_t>(lost));
    party.SetMemberCount(count);
    for (int16_t slot = 0; slot < count; ++slot) {
        auto member = std::make_unique<CPartyMember>(nullptr, 30, 3, 9, 4);
        const bool travelling = slot < static_cast<int16_t>(healths.size());
        member->SetStatus(travelling ? CPartyMember::kStatusTravelling : 0);
        member->Damage(member->GetHealth() - (travelling ? healths[static_cast<size_t>(slot)] : 0));
        party.SetMember(slot, std::move(member));
    }
}

void AddSupplies(CParty& party, int n)
{
    for (int i = 0; i < n; ++i)
        party.GetSupplies()->AppendItem(std::make_unique<CItem>(static_cast<int16_t>(1 + i % 200), 1, 0.0));
}

TEST(TripRating, PanelBoundaries)
{
    struct Case {
        const char* what;
        int16_t panel;
        std::function<void(CParty&)> setup;
        int16_t days;
        Rating rating;
        Counter counter;
    };
    const auto lost = [](int16_t n) { return [n](CParty& p) { SetMembers(p, {800, 800, 800}, n); }; };
    const auto healths = [](std::vector<int16_t> h) { return [h](CParty& p) { SetMembers(p, h); }; };
    const auto morale = [](int16_t m) {
        return [m](CParty& p) { p.AddMorale(static_cast<int16_t>(m - p.GetMorale())); };
    };
    const auto money = [](double m) { return [m](CParty& p) { p.AddMoney(m); }; };
    const auto supplies = [](int n) { return [n](CParty& p) { AddSupplies(p, n); }; };
    const auto none = [](CParty&) {};
    const std::vector<Case> cases = {
        {"nobody lost", 1, lost(0), 0, kGood, Counter::kNone},
        {"one lost", 1, lost(1), 0, kFair, Counter::kNone},
        {"two lost", 1, lost(2), 0, kPoor, Counter::kTrouble},
        {"health 750", 2, healths({750, 750}), 0, kGood, Counter::kNone},
        {"health 749", 2, healths({750, 748}), 0, kFair, Counter::kNone},
        {"health 350", 2, healths({350}), 0, kFair, Counter::kNone},
        {"health 349", 2, healths({349}), 0, kPoor, Counter::kTrouble},
        // 800 and 800 rate good; a dead member (health 0) counts in the average: 533.
        {"a dead member lowers the average", 2, healths({800, 800, 0}), 0, kFair, Counter::kNone},
        {"no members", 2, healths({}), 0, kPoor, Counter::kTrouble},
        {"morale 60", 3, morale(60), 0, kGood, Counter::kNone},
        {"morale 59", 3, morale(59), 0, kFair, Counter::kNone},
        {"morale 35", 3, morale(35), 0, kFair, Counter::kNone},
        {"morale 34", 3, morale(34), 0, kPoor, Counter::kTrouble},
        {"money 400.0", 4, money(400.0), 0, kGood, Counter::kNone},
        {"money 399.99", 4, money(399.99), 0, kFair, Counter::kNone},
        {"money 200.0", 4, money(200.0), 0, kFair, Counter::kNone},
        {"money 199.99", 4, money(199.99), 0, kPoor, Counter::kWant},
        {"60 supplies", 5, supplies(60), 0, kGood, Counter::kNone},
        {"59 supplies", 5, supplies(59), 0, kFair, Counter::kNone},
        {"20 supplies", 5, supplies(20), 0, kFair, Counter::kNone},
        {"19 supplies", 5, supplies(19), 0, kPoor, Counter::kWant},
        {"159 days", 6, none, 159, kGood, Counter::kNone},
        {"160 days", 6, none, 160, kFair, Counter::kNone},
        {"199 days", 6, none, 199, kFair, Counter::kNone},
        {"200 days", 6, none, 200, kPoor, Counter::kNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CParty party;
        c.setup(party);
        const PanelRating r = RatePanel(c.panel, &party, c.days);
        EXPECT_EQ(r.rating, c.rating);
        EXPECT_EQ(r.counter, c.counter);
        EXPECT_EQ(r.goodPoints, 2 - c.rating);
        EXPECT_EQ(r.sound, 518271 + 3 * (c.panel - 1) + c.rating);
    }
    // Without a party every measure is 0: nobody lost, but no health, morale, money or goods.
    std::vector<Rating> got;
    for (int16_t panel = 1; panel <= 6; ++panel)
        got.push_back(RatePanel(panel, nullptr, 0).rating);
    EXPECT_EQ(got, (std::vector<Rating>{kGood, kPoor, kPoor, kPoor, kPoor, kGood}));
}

TEST(TripRating, AverageHealthWithoutMembersIsZero)
{
    CParty party;
    SetMembers(party, {});
    EXPECT_EQ(AverageHealth(party), 0);
    SetMembers(party, {900, 600}, 1);
    EXPECT_EQ(AverageHealth(party), 500);
}

TEST(TripRating, PointsToClosingPictures)
{
    struct Case {
        int16_t good, trouble, want;
        bool completed;
        ClosingPicture expected;
    };
    for (const Case& c : std::vector<Case>{
             {12, 0, 0, false, {9030, 0, 7}},
             {0, 3, 2, false, {9030, 0, 7}},
             {4, 0, 0, true, {9201, 518294, 7}},
             {5, 2, 1, true, {9202, 518295, 7}},
             {6, 0, 0, true, {9202, 518295, 7}},
             {7, 0, 0, true, {9203, 518296, 7}},
             {9, 0, 0, true, {9204, 518297, 7}},
             {11, 0, 0, true, {9205, 518298, 7}},
             {14, 0, 0, true, {9205, 518298, 7}},
             // Three trouble points skip the final picture: step 8 follows.
             {12, 3, 0, true, {9000, 518292, 8}},
             {12, 3, 2, true, {9000, 518292, 8}},
             {12, 2, 2, true, {9010, 518293, 8}},
         }) {
        SCOPED_TRACE(testing::Message() << c.good << " " << c.trouble << " " << c.want << " " << c.completed);
        const ClosingPicture got = ChooseClosingPicture(c.good, c.trouble, c.want, c.completed);
        EXPECT_EQ(got.image, c.expected.image);
        EXPECT_EQ(got.sound, c.expected.sound);
        EXPECT_EQ(got.nextStep, c.expected.nextStep);
    }
}

TEST(TripRating, FinalPicturesWithOneDraw)
{
    struct Case {
        int16_t good;
        int32_t draw;
        int32_t hi;
        int32_t image;
    };
    for (const Case& c : std::vector<Case>{{0, 0, 1, 9020},
                                           {4, 1, 1, 9040},
                                           {5, 0, 2, 9050},
                                           {6, 2, 2, 9070},
                                           {7, 1, 2, 9090},
                                           {10, 2, 2, 9130},
                                           {11, 0, 2, 9140},
                                           {14, 2, 2, 9160}}) {
        SCOPED_TRACE(c.good);
        std::vector<std::string> draws;
        CUtil::SetDrawSource([&](int32_t lo, int32_t hi, int32_t n) {
            draws.push_back(std::to_string(lo) + ".." + std::to_string(hi) + " x" + std::to_string(n));
            return c.draw;
        });
        EXPECT_EQ(ChooseFinalPicture(c.good), c.image);
        EXPECT_EQ(draws, std::vector<std::string>{"0.." + std::to_string(c.hi) + " x1"});
    }
    CUtil::SetDrawSource(nullptr);
    // A seeded generator gives the same picture every run.
    CUtil::SetRandomSeed(41);
    const int32_t first = ChooseFinalPicture(8);
    CUtil::SetRandomSeed(41);
    EXPECT_EQ(ChooseFinalPicture(8), first);
    EXPECT_TRUE(first == 9080 || first == 9090 || first == 9100) << first;
}

std::vector<uint8_t> FileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The screen's pictures and narrations are what qmimg and qmsnd make from the art that
// data/game-art/tripstatus/make-status.py draws.
TEST(TripStatusData, PicturesAndNarrationsAreMadeFromTheArt)
{
    const fs::path art = qmtest::SourceDir() / "data" / "game-art" / "tripstatus";
    const fs::path data = qmtest::SourceDir() / "data" / "game" / "QM3Data";
    std::vector<std::pair<std::vector<std::string>, std::string>> pictures = {
        {{"status.png"}, "004020.CBM"},
        {{"marker-0.png", "marker-1.png"}, "004021.CBM"},
        {{"blank.png"}, "004022.CBM"}};
    std::vector<int32_t> ids = {9000, 9010, 9020, 9030, 9040, 9201, 9202, 9203, 9204, 9205};
    for (int32_t id = 9050; id <= 9160; id += 10)
        ids.push_back(id);
    for (int32_t id : ids)
        pictures.push_back({{"picture-" + std::to_string(id) + ".png"}, "00" + std::to_string(id) + ".CBM"});
    const fs::path made = qmtest::TempDir() / "made";
    for (const auto& [pngs, resource] : pictures) {
        std::vector<std::string> args{"cbm"};
        for (const std::string& png : pngs)
            args.push_back((art / png).string());
        args.push_back(made.string());
        std::ostringstream out, err;
        ASSERT_EQ(RunQmImg(args, out, err), 0) << err.str();
        EXPECT_EQ(FileBytes(made), FileBytes(data / "CBM" / resource)) << resource;
    }
    for (int32_t id = 518271; id <= 518298; ++id) {
        if (id > 518288 && id < 518292)
            continue;
        const std::string name = std::to_string(id);
        std::ostringstream out, err;
        ASSERT_EQ(
            RunQmSnd({"make", (art / ("narration-" + name + ".wav")).string(), made.string()}, out, err), 0)
            << err.str();
        EXPECT_EQ(FileBytes(made), FileBytes(data / "CSN" / (name + ".CSN"))) << name;
    }
}

// A travel module whose days on the route, node and reserved word the tests set.
class TestTravel : public CTravel {
public:
    using CTravel::CTravel;
    void SetDays(int16_t days) { daysOnRoute_ = days; }
    void SetReservedWord3(int32_t word) { reserved3_ = word; }
};

fs::path GoldenFolder() { return qmtest::SourceDir() / "tests" / "game" / "shell" / "golden"; }

// The game on the sample data, past its start, with a party of five: nobody lost, in good
// health and spirits, 300.00 in money (fair) and 10 goods (poor: one want point).
class TripStatus : public shelltest::SampleGameScreen {
protected:
    void SetUp() override
    {
        SetModuleConstructor(CModuleMgr::kTravel,
                             [](const CRect& rect, CModuleMgr&) { return new TestTravel(rect); });
        SampleGameScreen::SetUp();
        // The sounds made from now on are kept, so that a test can end them.
        SetSoundFactory([this](int32_t id, bool streamed) -> std::unique_ptr<CSndObj> {
            auto sound = std::make_unique<FakeSound>(id, streamed, sounds, 0);
            made.push_back(sound.get());
            return sound;
        });
        ASSERT_NE(Travel(), nullptr);
        auto party = std::make_unique<CParty>();
        SetMembers(*party, {800, 800, 800, 800, 800});
        party->AddMoney(300.0);
        AddSupplies(*party, 10);
        Travel()->SetParty(std::move(party));
        Travel()->SetDays(120);
    }

    static TestTravel* Travel()
    {
        return dynamic_cast<TestTravel*>(GetModuleMgr()->GetModule(CModuleMgr::kTravel));
    }
    static CTripStatusModule* Status()
    {
        return dynamic_cast<CTripStatusModule*>(GetModuleMgr()->GetModule(2));
    }
    // Opens the screen as the options panel's choice does.
    static void Open()
    {
        CDispatchScope scope;
        SendMsg(*GetMainWnd(), CMainWnd::kMsgRequestModule, 2, 1, nullptr);
    }
    static void Tick()
    {
        CDispatchScope scope;
        Status()->OnTimer();
    }
    static void Press()
    {
        CDispatchScope scope;
        CMessage press(kMsgMouse);
        press.SetParam(1, 2);
        DeliverMessage(*Status(), press, nullptr, false);
    }
    // Ends the playing narrations, as their last sample would.
    void FinishSounds()
    {
        for (FakeSound* sound : made)
            if (IsPlaying(sound))
                sound->Finish();
    }
    bool IsPlaying(FakeSound* sound) const
    {
        for (int32_t slot = 0; slot < kSoundSlotCount; ++slot)
            if (PeekSlot(slot) == sound)
                return sound->GetState() == kSoundPlaying;
        return false;
    }
    // Runs the six panels, each narration played to its end.
    void RunPanels()
    {
        for (int i = 0; i < 6; ++i) {
            Tick();
            FinishSounds();
        }
        ASSERT_EQ(Status()->GetStep(), 6);
    }
    static int16_t MarkerFrame(int32_t n)
    {
        auto* marker = dynamic_cast<CImageWnd*>(Status()->FindObject(CBaseObj::kAnyKind, 500 + n));
        return marker ? marker->GetFrame() : -1;
    }
    static std::string PanelText(int32_t n)
    {
        auto* text = dynamic_cast<CTextFrame*>(Status()->FindObject(CBaseObj::kAnyKind, 510 + n));
        return text && text->GetText() ? text->GetText()->GetText() : std::string("(none)");
    }
    static bool PanelsShown()
    {
        CFrame* panels = Status()->FindObject(CBaseObj::kAnyKind, CTripStatusModule::kPanelsObject);
        return panels && panels->IsShown();
    }
    static CImgSet* Picture()
    {
        auto* element = dynamic_cast<CImageWnd*>(Status()->FindObject(CBaseObj::kAnyKind, 520));
        return element ? element->GetImages() : nullptr;
    }
    bool Played(int32_t id) const
    {
        const std::string entry = std::to_string(id) + ":play";
        for (const std::string& s : sounds)
            if (s == entry)
                return true;
        return false;
    }
    static CWind* Window() { return GetMainWnd()->GetOwnerWnd(); }
    // Clicks the game window's point with the mouse (a modal run takes it from the queue).
    static void QueueClick(int x, int y)
    {
        const plat::Point at = plat::ClientToScreen(Window()->GetHwnd(), {x, y});
        plat::InjectMouseButton(plat::MouseButton::Left, true, at);
        plat::InjectMouseButton(plat::MouseButton::Left, false, at);
    }

    std::vector<FakeSound*> made;
};

TEST_F(TripStatus, OpensWithItsScreenAndTimer)
{
    // A looping sound before (no music switch fades it first): the screen fades it out over
    // 10 ticks and stops the others.
    SetOption("musicon", false);
    PlaySoundEffect(700, kSoundLoop, 200);
    Open();
    CTripStatusModule* status = Status();
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(GetModuleMgr()->GetCurModule(), 2);
    EXPECT_EQ(status->GetBounds(), CRect(0, 0, 480, 640));
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "700:fade 0 10 0"), sounds.end());
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "621:stop"), sounds.end());
    EXPECT_FALSE(status->ShowsBusyCursor());
    EXPECT_TRUE(status->TakesInput());
    ASSERT_NE(status->GetTimer(), nullptr);
    EXPECT_EQ(status->GetTimer()->GetPeriod(), CTripStatusModule::kPeriod);
    ASSERT_NE(status->GetScreen(), nullptr);
    EXPECT_EQ(status->GetScreen()->GetId(), CTripStatusModule::kScreenList);
    EXPECT_EQ(status->GetStep(), 0);
    for (int32_t n = 1; n <= 6; ++n) {
        EXPECT_EQ(MarkerFrame(n), 0) << n;
        EXPECT_EQ(PanelText(n), "") << n;
    }
    EXPECT_EQ(status->GetGoodPoints(), 0);
}

TEST_F(TripStatus, EachPanelWaitsForItsNarrationAndAPressSkipsIt)
{
    Open();
    Tick();
    EXPECT_EQ(Status()->GetStep(), 1);
    EXPECT_EQ(MarkerFrame(1), 1);
    EXPECT_EQ(MarkerFrame(2), 0);
    EXPECT_EQ(PanelText(1), "Everyone who set out is still with the party.");
    EXPECT_TRUE(Played(518271));
    EXPECT_TRUE(IsSoundInSlot(Status()->GetNarration()));
    // The narration plays on: the next panel waits.
    Tick();
    Tick();
    EXPECT_EQ(Status()->GetStep(), 1);
    EXPECT_EQ(PanelText(2), "");
    // A press cuts it short; the next tick shows panel 2.
    Press();
    EXPECT_FALSE(Status()->GetNarration());
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "518271:stop"), sounds.end());
    EXPECT_EQ(Status()->GetStep(), 1);
    Tick();
    EXPECT_EQ(Status()->GetStep(), 2);
    EXPECT_EQ(PanelText(2), "The party is in good health.");
    // A narration that ends by itself lets the next panel follow.
    FinishSounds();
    Tick();
    EXPECT_EQ(Status()->GetStep(), 3);
    for (int i = 0; i < 3; ++i) {
        FinishSounds();
        Tick();
    }
    EXPECT_EQ(Status()->GetStep(), 6);
    EXPECT_EQ(PanelText(4), "There is money enough to get by.");
    EXPECT_EQ(PanelText(5), "The supplies are running low.");
    EXPECT_EQ(PanelText(6), "The party is making good time.");
    for (int32_t id : {518274, 518277, 518281, 518285, 518286})
        EXPECT_TRUE(Played(id)) << id;
    // good, good, good, fair, poor, good
    EXPECT_EQ(Status()->GetGoodPoints(), 9);
    EXPECT_EQ(Status()->GetTroublePoints(), 0);
    EXPECT_EQ(Status()->GetWantPoints(), 1);
}

// The narration is kept as a handle to its slot: once it has ended, a sound that takes its slot
// (even at its address) neither holds the next panel back nor is stopped by a press.
TEST_F(TripStatus, ASoundInTheEndedNarrationsSlotDoesNotHoldThePanels)
{
    Open();
    Tick();
    const SoundHandle narration = Status()->GetNarration();
    ASSERT_TRUE(IsSoundInSlot(narration));
    FinishSounds();
    const SoundHandle other = PlaySoundEffect(700, 0, 200);
    ASSERT_EQ(other.slot, narration.slot);
    ASSERT_FALSE(IsSoundInSlot(narration));
    Press();
    EXPECT_EQ(std::find(sounds.begin(), sounds.end(), "700:stop"), sounds.end());
    EXPECT_TRUE(IsSoundInSlot(other));
    Tick();
    EXPECT_EQ(Status()->GetStep(), 2);
    EXPECT_NE(Status()->GetNarration().slot, narration.slot);
}

TEST_F(TripStatus, WithoutSoundThePanelsFollowEveryTick)
{
    SetOption("soundon", false);
    Open();
    for (int16_t step = 1; step <= 6; ++step) {
        Tick();
        EXPECT_EQ(Status()->GetStep(), step);
    }
    for (int32_t id = 518271; id <= 518288; ++id)
        EXPECT_FALSE(Played(id)) << id;
}

TEST_F(TripStatus, TheReservedWordAddsToTheScore)
{
    for (auto [word, points] : {std::pair{0, 0}, {1, 2}, {2, 1}, {3, 0}}) {
        Travel()->SetReservedWord3(word);
        Open();
        EXPECT_EQ(Status()->GetGoodPoints(), points) << word;
        GetModuleMgr()->DestroyModule(2);
        GetModuleMgr()->SetCurModule(0);
    }
}

TEST_F(TripStatus, BeforeTheEndTheTrailGoesOnAndTheStartOverQuestionIsAsked)
{
    Travel()->PlaceOnNode(5);
    const CParty* party = Travel()->GetParty();
    Open();
    RunPanels();
    EXPECT_TRUE(PanelsShown());
    CImgSet* blank = Picture();
    Press();
    EXPECT_EQ(Status()->GetStep(), 7);
    EXPECT_FALSE(PanelsShown());
    ASSERT_NE(Picture(), nullptr);
    EXPECT_NE(Picture(), blank);
    EXPECT_FALSE(IsSoundInSlot(Status()->GetNarration())); // 9030 has no narration
    // The next click closes the screen and asks; "no" (5000) keeps the trip as it was.
    QueueClick(374, 271);
    Press();
    EXPECT_EQ(GetModuleMgr()->GetModule(2), nullptr);
    EXPECT_EQ(GetModuleMgr()->GetCurModule(), 0);
    EXPECT_EQ(Travel()->GetParty(), party);
    EXPECT_EQ(Travel()->GetNodeId(), 5);
}

// "Yes" to the question the screen's own click asked starts a new trip (the screen is gone by
// then: nothing of it may be touched after).
TEST_F(TripStatus, BeforeTheEndYesToTheStartOverQuestionStartsANewTrip)
{
    Travel()->PlaceOnNode(5);
    const CParty* party = Travel()->GetParty();
    Open();
    RunPanels();
    Press();
    ASSERT_EQ(Status()->GetStep(), 7);
    // The trail is behind the screen, taking messages (here the opening screen is current).
    Travel()->Enable(true, false, false);
    QueueClick(244, 271);
    Press();
    EXPECT_EQ(GetModuleMgr()->GetModule(2), nullptr);
    EXPECT_NE(Travel()->GetParty(), party);
    EXPECT_EQ(Travel()->GetNodeId(), -1);
}

TEST_F(TripStatus, AtTheEndAClosingPictureAFinalPictureTheClosingScreenThenANewTrip)
{
    Travel()->PlaceOnNode(kLastNode);
    CUtil::SetDrawSource([](int32_t, int32_t, int32_t) { return 1; });
    Open();
    RunPanels();
    Press();
    // 9 good points: picture 9204 with its narration.
    EXPECT_EQ(Status()->GetStep(), 7);
    EXPECT_TRUE(Played(518297));
    EXPECT_TRUE(IsSoundInSlot(Status()->GetNarration()));
    // Later ticks let go of the closing narration: a click no longer stops it.
    Tick();
    EXPECT_FALSE(Status()->GetNarration());
    Press();
    CUtil::SetDrawSource(nullptr);
    EXPECT_EQ(std::find(sounds.begin(), sounds.end(), "518297:stop"), sounds.end());
    EXPECT_EQ(Status()->GetStep(), 8);
    ASSERT_NE(Picture(), nullptr);
    Press();
    EXPECT_EQ(Status()->GetStep(), 9);
    ASSERT_NE(Status()->GetScreen(), nullptr);
    EXPECT_EQ(Status()->GetScreen()->GetId(), CTripStatusModule::kClosingList);
    EXPECT_EQ(Status()->FindObject(CBaseObj::kAnyKind, 520), nullptr);
    // The last click starts a new trip, which closes the game back to the opening screen.
    const CParty* party = Travel()->GetParty();
    Press();
    EXPECT_EQ(GetModuleMgr()->GetModule(2), nullptr);
    EXPECT_EQ(GetModuleMgr()->GetCurModule(), 0);
    EXPECT_NE(Travel()->GetParty(), party);
    EXPECT_EQ(Travel()->GetNodeId(), -1);
}

TEST_F(TripStatus, ThreeTroublePointsSkipTheFinalPicture)
{
    // Three lost, the others weak, spirits low: people, health and morale rate poor.
    auto party = std::make_unique<CParty>();
    SetMembers(*party, {100, 100}, 3);
    party->AddMorale(-80);
    Travel()->SetParty(std::move(party));
    Travel()->PlaceOnNode(kLastNode);
    Open();
    RunPanels();
    EXPECT_EQ(Status()->GetTroublePoints(), 3);
    Press();
    EXPECT_TRUE(Played(518292));
    EXPECT_EQ(Status()->GetStep(), 8);
    Press();
    EXPECT_EQ(Status()->GetStep(), 9);
    EXPECT_EQ(Status()->GetScreen()->GetId(), CTripStatusModule::kClosingList);
}

TEST_F(TripStatus, ASuspendedScreenHoldsItsPanelsUntilResumed)
{
    Open();
    Tick();
    FinishSounds();
    const int16_t state = Status()->GetState();
    Status()->Suspend();
    EXPECT_EQ(Status()->GetState(), CModule::kStateSuspended);
    Tick();
    Tick();
    EXPECT_EQ(Status()->GetStep(), 1);
    EXPECT_FALSE(Played(518274));
    Status()->Resume();
    EXPECT_EQ(Status()->GetState(), state);
    Tick();
    EXPECT_EQ(Status()->GetStep(), 2);
    EXPECT_EQ(MarkerFrame(1), 1);
    EXPECT_EQ(PanelText(1), "Everyone who set out is still with the party.");
}

TEST_F(TripStatus, TheRatedScreenMatchesItsGolden)
{
    Open();
    RunPanels();
    GetMainWnd()->Draw(true);
    plat::UpdateWindow(Window()->GetHwnd());
    const plat::Point origin = plat::ClientToScreen(Window()->GetHwnd(), {0, 0});
    const plat::Rect area = plat::Rect::FromSize(origin.x, origin.y, 640, 400);
    const char* name = "trip-status.png";
    const fs::path made = qmtest::TempDir() / name;
    ASSERT_TRUE(plat::WriteDesktopPng(made, &area));
    if (const char* update = std::getenv("QM_UPDATE_GOLDEN"); update && *update == '1')
        fs::copy_file(made, GoldenFolder() / name, fs::copy_options::overwrite_existing);
    const IndexedImage got = ReadIndexedPng(made);
    const IndexedImage golden = ReadIndexedPng(GoldenFolder() / name);
    EXPECT_EQ(got.width, golden.width);
    EXPECT_EQ(got.height, golden.height);
    EXPECT_TRUE(got.pixels == golden.pixels) << name << " differs from its golden picture";
}

} // namespace
