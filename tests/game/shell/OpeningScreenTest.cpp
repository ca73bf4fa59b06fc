// The opening screen (module 0) in the game started on the sample data: its music, the idle
// wait and the attract movie (a fake that plays until the test ends it), its three commands
// with their dialogs answered by clicks, and the new game's choice.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "engine/controls/Wind.h"
#include "engine/controls/WindowHooks.h"
#include "engine/controls/WndProc.h"
#include "engine/controls/text/EngineHooks.h"
#include "engine/controls/text/ScreenHooks.h"
#include "engine/framework/Appl.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Options.h"
#include "engine/framework/TimerEvent.h"
#include "engine/graphics/GraphicsHooks.h"
#include "engine/media/SmackerFrame.h"
#include "engine/resources/DefinitionTextHooks.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/LibraryHooks.h"
#include "game/base/GameGlobals.h"
#include "game/base/LibraryDiscovery.h"
#include "game/base/MainWnd.h"
#include "game/base/ModuleMgr.h"
#include "game/base/SaveListFrm.h"
#include "game/shell/FileCommands.h"
#include "game/shell/QM3Appl.h"
#include "game/shell/SmackerModule.h"
#include "game/travel/Party.h"
#include "game/travel/SceneFrame.h"
#include "game/travel/Travel.h"
#include "platform/Input.h"
#include "platform/MessageQueue.h"
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

// An attract movie that plays until the test ends it, then tells its target (-23) as a
// finished clip does from its own timer.
class FakeMovie : public CSmackerFrame {
public:
    FakeMovie(const CPoint& at, int32_t movieId, uint32_t libMask, FakeMovie*& current)
        : CSmackerFrame(-2, at, movieId, libMask, 0, nullptr, 0), current_(current)
    {
        current_ = this;
    }
    ~FakeMovie() override
    {
        if (current_ == this)
            current_ = nullptr;
    }
    void Open() override {}
    void Play(int32_t) override { playing_ = true; }
    void Stop() override { playing_ = false; }
    bool IsPlaying() const { return playing_; }
    void End()
    {
        playing_ = false;
        CDispatchScope scope;
        CMessage done(kMsgVideoDone);
        if (CFrame* parent = GetParent())
            DeliverMessage(*parent, done, this, false);
    }

private:
    FakeMovie*& current_;
    bool playing_ = false;
};

class OpeningScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        shelltest::UseSampleGame(shelltest::CopySampleGame({"Disc1"}));
        SetSoundFactory([this](int32_t id, bool streamed) -> std::unique_ptr<CSndObj> {
            return std::make_unique<FakeSound>(id, streamed, sounds, 0);
        });
        SetAttractMovieMaker(
            [this](const CPoint& at, int32_t id, uint32_t mask) -> std::unique_ptr<CSmackerFrame> {
                ++moviesAsked;
                if (!makeMovies)
                    return nullptr;
                return std::make_unique<FakeMovie>(at, id, mask, movie);
            });
        plat::GetMessageQueue().SetEventSource([this](plat::MessageQueue&, uint64_t) { PressNext(); });
        box = std::make_unique<CMsgBox>();
        appl = std::make_unique<CQM3Appl>();
        ASSERT_FALSE(IsQuitRequested());
        SendMsg(*appl, 2, 0, 0, nullptr);
        ASSERT_NE(Screen(), nullptr);
    }
    void TearDown() override
    {
        plat::GetMessageQueue().SetEventSource(nullptr);
        appl.reset();
        box.reset();
    }

    CSmackerModule* Screen() const
    {
        CModuleMgr* manager = GetModuleMgr();
        return manager ? dynamic_cast<CSmackerModule*>(manager->GetModule(0)) : nullptr;
    }
    CTravel* Travel() const { return dynamic_cast<CTravel*>(GetModuleMgr()->GetModule(CModuleMgr::kTravel)); }
    bool Has(int32_t id) const { return Screen()->FindObject(CBaseObj::kAnyKind, id) != nullptr; }
    // The sound in a music slot with the id (null when none plays).
    static CSndObj* Music()
    {
        for (int32_t slot = 0; slot < kSoundSlotCount; ++slot)
            if (CSndObj* sound = PeekSlot(slot);
                sound && sound->GetId() == CSmackerModule::kMusic && sound->GetState() == kSoundPlaying)
                return sound;
        return nullptr;
    }

    // Lets the idle wait run out, as the pump would fire its timer.
    void WaitIdlePeriod()
    {
        qmtest::Clock().Advance(CSmackerModule::kIdlePeriod * 17);
        CDispatchScope scope;
        RunDueTimers();
    }
    // Sends the screen a command as its buttons do.
    void Command(int32_t id)
    {
        CDispatchScope scope;
        SendMsg(*Screen(), id, 0, 0, nullptr);
    }
    void ClickScreen()
    {
        CDispatchScope scope;
        CMessage mouse(kMsgMouse);
        DeliverMessage(*Screen(), mouse, nullptr, false);
    }

    // Clicks the next button of `presses` once a dialog shows it (the pump asks for input).
    void PressNext()
    {
        CWind* top = CWind::GetTopWnd();
        if (presses.empty() || !top)
            return;
        CFrame* button = top->GetTopFrame()->FindObject(CBaseObj::kAnyKind, presses.front());
        if (!button)
            return;
        presses.pop_front();
        const CRect& r = button->GetDrawnRect();
        plat::Click(plat::ClientToScreen(
            top->GetHwnd(), plat::Point{(r.GetLeft() + r.GetRight()) / 2, (r.GetTop() + r.GetBottom()) / 2}));
    }

    Log sounds;
    FakeMovie* movie = nullptr;
    bool makeMovies = true;
    int moviesAsked = 0;
    std::deque<int32_t> presses;
    std::unique_ptr<CMsgBox> box;
    std::unique_ptr<CQM3Appl> appl;
};

TEST_F(OpeningScreen, StartsWithItsScreenMusicAndIdleWait)
{
    CSmackerModule* screen = Screen();
    EXPECT_EQ(screen->GetId(), CSmackerModule::kScreenList);
    EXPECT_TRUE(screen->TakesInput());
    EXPECT_TRUE(screen->IsVisible());
    EXPECT_EQ(screen->GetAttractState(), CSmackerModule::kIdleWait);
    EXPECT_EQ(screen->GetMovieIndex(), -1);
    ASSERT_NE(screen->GetTimer(), nullptr);
    EXPECT_EQ(screen->GetTimer()->GetPeriod(), CSmackerModule::kIdlePeriod);
    for (int32_t id : {4001, 4002, 420, 421, 422})
        EXPECT_TRUE(Has(id)) << id;
    // Fade time 0 plays the music as an effect, at level 200.
    CSndObj* music = GetSlotSound(screen->GetMusic());
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(music->GetId(), CSmackerModule::kMusic);
    EXPECT_EQ(music->GetLevel(), 200);
}

TEST_F(OpeningScreen, TheIdleWaitPlaysTheMovieOnDiscOneAndAClickEndsIt)
{
    qmtest::Clock().Advance((CSmackerModule::kIdlePeriod - 1) * 17);
    RunDueTimers();
    EXPECT_EQ(movie, nullptr);
    WaitIdlePeriod();
    EXPECT_EQ(appl->GetCurrentDisc(), 1);
    ASSERT_NE(movie, nullptr);
    EXPECT_TRUE(movie->IsPlaying());
    EXPECT_EQ(movie->GetParent(), Screen());
    EXPECT_EQ(movie->GetBounds().TopLeft(), CPoint(110, 20));
    EXPECT_EQ(movie->GetClickMode(), 0);
    EXPECT_EQ(Screen()->GetAttractState(), CSmackerModule::kMoviePlaying);
    EXPECT_EQ(Screen()->GetMovieIndex(), 0);
    EXPECT_TRUE(Has(4050) && Has(4051));
    EXPECT_EQ(Music(), nullptr); // the music stops for the movie

    // A click anywhere: the movie and its objects go, the music comes back (fade 5) and the
    // wait starts over.
    sounds.clear();
    ClickScreen();
    EXPECT_EQ(movie, nullptr);
    EXPECT_FALSE(Has(4050) || Has(4051));
    EXPECT_EQ(Screen()->GetAttractState(), CSmackerModule::kIdleWait);
    EXPECT_EQ(Screen()->GetMovieIndex(), -1);
    ASSERT_NE(Screen()->GetTimer(), nullptr);
    EXPECT_TRUE(Screen()->IsEnabled());
    ASSERT_NE(Music(), nullptr);
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "621:fade 0 5 255"), sounds.end());

    // A click while waiting changes nothing.
    ClickScreen();
    EXPECT_EQ(Screen()->GetAttractState(), CSmackerModule::kIdleWait);
}

TEST_F(OpeningScreen, AMovieThatEndsOrCannotBeMadeReturnsToTheIdleWait)
{
    WaitIdlePeriod();
    ASSERT_NE(movie, nullptr);
    movie->End();
    EXPECT_EQ(movie, nullptr); // freed once its own call returned
    EXPECT_FALSE(Has(4050) || Has(4051));
    EXPECT_EQ(Screen()->GetAttractState(), CSmackerModule::kIdleWait);
    EXPECT_EQ(Screen()->GetMovieIndex(), -1);
    EXPECT_NE(Music(), nullptr);

    // No movie: the screen goes straight back to waiting, and asks again next time.
    makeMovies = false;
    WaitIdlePeriod();
    EXPECT_EQ(moviesAsked, 2);
    EXPECT_FALSE(Has(4050) || Has(4051));
    EXPECT_EQ(Screen()->GetAttractState(), CSmackerModule::kIdleWait);
    EXPECT_NE(Music(), nullptr);
}

TEST_F(OpeningScreen, WithoutDiscOneTheMusicStartsAgainAndTheWaitRepeats)
{
    fs::remove(qmtest::TempDir() / "QM3DISC1.MRK");
    sounds.clear();
    WaitIdlePeriod();
    EXPECT_EQ(moviesAsked, 0);
    EXPECT_EQ(Screen()->GetAttractState(), CSmackerModule::kIdleWait);
    CSndObj* music = GetSlotSound(Screen()->GetMusic());
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(music->GetLevel(), 255);
    EXPECT_EQ(appl->GetCurrentDisc(), 0);
}

TEST_F(OpeningScreen, CommandsDuringTheMovieOnlyEndIt)
{
    for (int32_t command : {420, 421, 422}) {
        WaitIdlePeriod();
        ASSERT_NE(movie, nullptr) << command;
        Command(command);
        EXPECT_EQ(movie, nullptr) << command;
        EXPECT_EQ(Screen()->GetAttractState(), CSmackerModule::kIdleWait) << command;
        EXPECT_TRUE(Screen()->IsEnabled()) << command;
        EXPECT_EQ(GetCurDoc(), nullptr) << command;
    }
}

TEST_F(OpeningScreen, TheNoticeReturnsToTheScreenOnlyBy4099)
{
    presses = {CSmackerModule::kNoticeBack};
    Command(420);
    EXPECT_TRUE(presses.empty());
    EXPECT_TRUE(Screen()->IsEnabled());
    EXPECT_TRUE(Screen()->FindObject(CBaseObj::kAnyKind, 421)->IsEnabled());
    EXPECT_EQ(Screen()->GetAttractState(), CSmackerModule::kIdleWait);
    EXPECT_NE(Screen()->GetTimer(), nullptr);

    // A dialog ended any other way leaves the screen disabled and waiting for nothing.
    plat::GetMessageQueue().SetEventSource([](plat::MessageQueue&, uint64_t) {
        CBaseObj other(CBaseObj::kAnyKind, 4012, nullptr);
        CMessage end(kMsgEndModal);
        BroadcastMessage(end, &other);
    });
    Command(420);
    EXPECT_FALSE(Screen()->IsEnabled());
    EXPECT_EQ(Screen()->GetAttractState(), CSmackerModule::kStopped);
    EXPECT_EQ(Screen()->GetTimer(), nullptr);
}

TEST_F(OpeningScreen, CancellingTheNewGameLeavesTheTripAndReenablesTheScreen)
{
    Travel()->SetPost(7);
    presses = {CSmackerModule::kNewGameCancel};
    Command(421);
    EXPECT_TRUE(presses.empty());
    EXPECT_EQ(Travel()->GetPost(), 7);
    EXPECT_EQ(Travel()->GetParty()->GetMoney(), 0.0);
    EXPECT_TRUE(Screen()->IsEnabled());
    EXPECT_EQ(Screen()->GetAttractState(), CSmackerModule::kIdleWait);
    EXPECT_EQ(GetCurDoc(), nullptr);
    EXPECT_NE(Music(), nullptr);
}

TEST_F(OpeningScreen, EachPostSetsTheTripAndTheGameStartsOnDiscOne)
{
    struct Case {
        int32_t choice;
        int16_t post;
        double money;
    };
    for (const Case& c : {Case{428, 0, 650.0}, Case{429, 2, 500.0}, Case{430, 1, 430.0}}) {
        SCOPED_TRACE(c.choice);
        if (!Screen())
            SendMsg(*appl, 2, 0, 0, nullptr); // a fresh game window on the opening screen
        ASSERT_NE(Screen(), nullptr);
        Travel()->SetPost(7);
        // The later cases reach the route's first scene, which asks for the party's names.
        presses = {c.choice, CRouteSceneFrm::kNamingOk};
        Command(421);
        EXPECT_EQ(Travel()->GetPost(), c.post);
        EXPECT_EQ(Travel()->GetParty()->GetMoney(), c.money);
        EXPECT_EQ(Music(), nullptr);
        EXPECT_TRUE(Screen()->GetMusic().slot < 0);
        ASSERT_NE(GetCurDoc(), nullptr);
        EXPECT_EQ(appl->GetCurrentDisc(), 1);
        EXPECT_FALSE(Screen()->IsEnabled());
        // The game window leaves the opening screen a tick later, for the travel module,
        // which takes the first trip's new party to the store at the route's start (the
        // later cases go on with that trip).
        qmtest::Clock().Advance(17);
        appl->PumpMessage(true);
        if (c.choice == 428) {
            EXPECT_EQ(GetModuleMgr()->GetCurModule(), CModuleMgr::kLandmark);
            EXPECT_EQ(Travel()->GetLandmarkId(), CTravel::kStoreSceneId);
        }
        EXPECT_EQ(Screen(), nullptr);
        CloseDocument();
    }
}

TEST_F(OpeningScreen, WithTheMusicOffNothingPlaysAndNothingElseChanges)
{
    SetOption("musicon", false);
    SendMsg(*appl, 2, 0, 0, nullptr); // the game window again, on the opening screen
    ASSERT_NE(Screen(), nullptr);
    EXPECT_FALSE(Screen()->GetMusic());
    EXPECT_EQ(Music(), nullptr);
    WaitIdlePeriod();
    ASSERT_NE(movie, nullptr);
    ClickScreen();
    EXPECT_EQ(Screen()->GetAttractState(), CSmackerModule::kIdleWait);
    EXPECT_FALSE(Screen()->GetMusic());
    EXPECT_EQ(Music(), nullptr);
}

TEST_F(OpeningScreen, SuspendingAndResumingKeepsTheObjectsAndEnablesOnlyTheFrame)
{
    CSmackerModule* screen = Screen();
    CFrame* button = screen->FindObject(CBaseObj::kAnyKind, 421);
    SendMsg(*GetMainWnd(), CMainWnd::kMsgRequestModule, 2, 1, nullptr);
    EXPECT_EQ(screen->GetState(), CModule::kStateSuspended);
    EXPECT_FALSE(screen->IsEnabled());
    EXPECT_FALSE(screen->IsShown());
    EXPECT_TRUE(button->IsEnabled());
    // The idle wait does not run out while suspended.
    WaitIdlePeriod();
    EXPECT_EQ(moviesAsked, 0);

    button->Enable(false);
    GetModuleMgr()->SwitchClose();
    EXPECT_EQ(Screen(), screen);
    EXPECT_EQ(screen->GetState(), CModule::kStateBuilt);
    EXPECT_EQ(screen->FindObject(CBaseObj::kAnyKind, 421), button); // not built again
    EXPECT_TRUE(screen->IsEnabled());
    EXPECT_TRUE(screen->IsShown());
    EXPECT_FALSE(button->IsEnabled()); // the frame alone
}

// The game's own movie maker: the "SMK" of disc 1 as a video frame, none without it.
TEST_F(OpeningScreen, TheGamesMovieIsTheClipOnDiscOneOrNone)
{
    SetAttractMovieMaker(nullptr);
    WaitIdlePeriod();
    ASSERT_NE(Screen()->GetMovie(), nullptr);
    EXPECT_TRUE(Screen()->GetMovie()->HasMovie());
    EXPECT_EQ(Screen()->GetMovie()->GetState(), CSmackerFrame::kPlaying);
    ClickScreen();
    EXPECT_EQ(Screen()->GetMovie(), nullptr);

    SwitchDisc(0, false);
    fs::remove_all(qmtest::TempDir() / "QM3DISC" / "Disc1.qmd" / "SMK");
    WaitIdlePeriod();
    EXPECT_EQ(appl->GetCurrentDisc(), 1);
    EXPECT_EQ(Screen()->GetMovie(), nullptr);
    EXPECT_FALSE(Has(4050) || Has(4051));
    EXPECT_EQ(Screen()->GetAttractState(), CSmackerModule::kIdleWait);
}

// A disc 1 whose library does not open is given up: the trip reset closes the game back to
// a new opening screen while the old one's timer is still running.
TEST_F(OpeningScreen, ADiscGivenUpDuringTheIdleTickReplacesTheScreen)
{
    fs::remove_all(qmtest::TempDir() / "QM3DISC" / "Disc1.qmd");
    CSmackerModule* old = Screen();
    sounds.clear();
    WaitIdlePeriod();
    EXPECT_EQ(appl->GetCurrentDisc(), -1);
    ASSERT_NE(Screen(), nullptr);
    EXPECT_NE(Screen(), old);
    EXPECT_EQ(GetModuleMgr()->GetCurModule(), 0);
    EXPECT_EQ(Screen()->GetAttractState(), CSmackerModule::kIdleWait);
    EXPECT_EQ(moviesAsked, 0);
    // The new screen's music plays; the old one started nothing after it was taken down.
    EXPECT_EQ(std::count(sounds.begin(), sounds.end(), "621:play"), 1);
    ASSERT_NE(Music(), nullptr);
    EXPECT_EQ(Music(), GetSlotSound(Screen()->GetMusic()));
}

// Opening a saved game: the screen comes back after a cancel or a failed load.
TEST_F(OpeningScreen, OpeningASavedGameReenablesTheScreenUnlessTheGameLoaded)
{
    int32_t slot = -1;
    SetSaveDialogRunner([&slot](CSaveListFrm& dialog) {
        CMessage pick(CSaveListFrm::kMsgListPick, 0, 0, -1);
        pick.SetParam(slot, 3);
        dialog.HandleMessage(pick, nullptr);
        CMessage end(slot < 0 ? CSaveListFrm::kMsgCancel : CSaveListFrm::kMsgOk, 0, 0, -1);
        dialog.HandleMessage(end, nullptr);
    });
    Command(422);
    EXPECT_EQ(Game().lastOpenResult, 1);
    EXPECT_TRUE(Screen()->IsEnabled());
    EXPECT_EQ(Screen()->GetAttractState(), CSmackerModule::kIdleWait);

    // A slot holding no saved game: the load fails with its message and the same screen,
    // its choices with it, is usable again.
    const fs::path folder = qmtest::TempDir() / "share" / "kvl" / "Quillmark III" / "Saved Games";
    fs::create_directories(folder);
    std::ofstream(folder / "SLOT1.QM3", std::ios::binary) << std::string(60, 'x');
    CSmackerModule* before = Screen();
    slot = 0;
    Command(422);
    EXPECT_EQ(Game().lastOpenResult, 2);
    EXPECT_EQ(GetCurDoc(), nullptr);
    ASSERT_EQ(Screen(), before);
    EXPECT_TRUE(Screen()->IsEnabled());
    for (int32_t choice : {420, 421, 422}) {
        const CFrame* button = Screen()->FindObject(CBaseObj::kAnyKind, choice);
        ASSERT_NE(button, nullptr) << choice;
        EXPECT_TRUE(button->IsEnabled()) << choice;
    }
    EXPECT_EQ(Screen()->GetAttractState(), CSmackerModule::kIdleWait);

    // A saved game that loads closes the opening screen from inside its own command.
    std::ofstream(folder / "SLOT1.QM3", std::ios::binary)
        << "VORTQMK3" + std::string("\x01\x01", 2) + std::string(6, '\0') + "Named" + std::string(27, '\0') +
               std::string("\0\0\0\x01\0\x01\0\0\0\0\0\x03", 12);
    slot = 0;
    Command(422);
    EXPECT_EQ(Game().lastOpenResult, 0);
    ASSERT_NE(GetCurDoc(), nullptr);
    EXPECT_EQ(Screen(), nullptr);
    // The game holds no trip yet: the travel module starts one at the store.
    EXPECT_EQ(GetModuleMgr()->GetCurModule(), CModuleMgr::kLandmark);
    SetSaveDialogRunner(nullptr);
}

} // namespace
