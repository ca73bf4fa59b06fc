#include "game/shell/SmackerModule.h"

#include <iterator>

#include "engine/controls/TplList.h"
#include "engine/framework/Appl.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/FileSpecs.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/media/SmackerFrame.h"
#include "engine/media/SmkResource.h"
#include "engine/resources/LibMgr.h"
#include "game/base/DriveLibMgr.h"
#include "game/base/GameGlobals.h"
#include "game/base/LibraryDiscovery.h"
#include "game/base/MainWnd.h"
#include "game/base/ModalList.h"
#include "game/base/ModuleMgr.h"
#include "game/travel/Party.h"
#include "game/travel/Travel.h"

namespace {

const CPoint kMoviePosition(110, 20); // left 110, top 20
// The music's requests: flags, levels at start and after an idle wait or a movie, fade
// times (0 plays it as an effect).
constexpr uint32_t kMusicFlags = 2;
constexpr uint8_t kFirstLevel = 200;
constexpr uint8_t kLaterLevel = 255;
constexpr uint16_t kAfterMovieFade = 5;
constexpr uint16_t kNewGameFadeOut = 100;
// Entry of the module messages shown while the new game starts.
constexpr int32_t kStartingMessage = 1;
// The application's file commands: a new game, open a saved game.
constexpr int32_t kCmdFileNew = -24;
constexpr int32_t kCmdFileOpen = -25;
constexpr int16_t kOpenLoaded = 0;

std::unique_ptr<CSmackerFrame> MakeGameMovie(const CPoint& at, int32_t movieId, uint32_t libMask)
{
    // A missing clip would leave a frame that never plays and never ends.
    if (!FindSmkResource(movieId, libMask))
        return nullptr;
    return std::make_unique<CSmackerFrame>(-2, at, movieId, libMask, 0, nullptr, 0);
}

AttractMovieMaker& MovieMaker()
{
    static AttractMovieMaker maker;
    return maker;
}

std::unique_ptr<CSmackerFrame> MakeMovie(const CPoint& at, int32_t movieId, uint32_t libMask)
{
    const AttractMovieMaker& maker = MovieMaker();
    return maker ? maker(at, movieId, libMask) : MakeGameMovie(at, movieId, libMask);
}

// The player's post and the money the party starts with, by the new game's choice.
struct StartingChoice {
    int32_t result;
    int16_t post;
    double money;
};
constexpr StartingChoice kChoices[] = {{428, 0, 650.0}, {429, 2, 500.0}, {430, 1, 430.0}};

} // namespace

void SetAttractMovieMaker(AttractMovieMaker maker) { MovieMaker() = std::move(maker); }

CSmackerModule::CSmackerModule(const CRect& rect) : CFrameModule(rect)
{
    music_ = PlayMusicIfOn(kMusic, kMusicFlags, kFirstLevel, 0, true);
    SetVisible(true);
    StoreId(kScreenList);
}

CSmackerModule::~CSmackerModule()
{
    StopMusic();
    StopTimer();
}

void CSmackerModule::OnAttach()
{
    BuildScreen();
    SetTakesInput(true);
    IdleTimer(true);
}

void CSmackerModule::Suspend()
{
    Enable(false, true, false);
    SetShown(false);
    CModule::Suspend();
}

void CSmackerModule::Resume()
{
    CModule::Resume();
    BuildScreen();
    Enable(true, true, false);
}

void CSmackerModule::BuildList(int32_t listId)
{
    CTplList list(listId, CLibMgr::kAllLibraries, GetRsrcCache());
    if (CBaseObj* root = list.Build(this, this, 0))
        if (auto* frame = dynamic_cast<CFrame*>(root))
            frame->AfterBuild();
}

void CSmackerModule::BuildScreen()
{
    const CList* children = GetChildren();
    if (children && children->GetCount() > 0) {
        SetShown(true);
        return;
    }
    BuildList(kScreenList);
}

void CSmackerModule::IdleTimer(bool run)
{
    movieIndex_ = -1;
    if (run) {
        StartTimer(kIdlePeriod, nullptr);
        attractState_ = kIdleWait;
    } else {
        attractState_ = kStopped;
        StopTimer();
    }
}

void CSmackerModule::StopMusic()
{
    if (IsSoundInSlot(music_))
        StopSounds(&music_, 0);
}

bool CSmackerModule::DiscCheck()
{
    StopTimer();
    bool switched = false;
    if (CDriveLibMgr* manager = GetDriveLibMgr())
        if (manager->FindDisc(1))
            switched = SwitchDisc(1, true);
    if (!IsDeletePending(this))
        StartTimer(kIdlePeriod, nullptr);
    return switched;
}

bool CSmackerModule::OnTimer()
{
    if (attractState_ == kIdleWait) {
        const bool found = DiscCheck();
        // A disc given up resets the trip, which takes this screen down (a new one takes
        // its place): this one must not start its music or its wait again.
        if (IsDeletePending(this))
            return false;
        if (!found) {
            music_ = PlayMusicIfOn(kMusic, kMusicFlags, kLaterLevel, 0, true);
            IdleTimer(true);
        } else {
            BuildList(kAttractList);
            StopMusic();
            NextMovie(true);
        }
    }
    return CFrameModule::OnTimer();
}

void CSmackerModule::DeleteAttractObjects()
{
    for (int32_t id : kAttractObjects)
        if (CFrame* object = FindObject(CBaseObj::kAnyKind, id))
            object->Destroy();
}

void CSmackerModule::NextMovie(bool advance)
{
    // The movie may be the one telling us it ended: it is freed once its call has returned.
    if (movie_) {
        movie_->Destroy();
        movie_ = nullptr;
    }
    if (!advance) {
        IdleTimer(false);
    } else if (++movieIndex_ >= 0 && movieIndex_ < static_cast<int16_t>(std::size(kMovieList))) {
        if (std::unique_ptr<CSmackerFrame> movie =
                MakeMovie(kMoviePosition, kMovieList[movieIndex_], CLibMgr::kAllLibraries)) {
            movie_ = movie.release();
            AddChild(movie_, false);
            movie_->SetClickMode(0);
            UpdateWindow();
            movie_->Play(0);
            attractState_ = kMoviePlaying;
        }
    }
    if (movie_)
        return;
    DeleteAttractObjects();
    music_ = PlayMusicIfOn(kMusic, kMusicFlags, kLaterLevel, kAfterMovieFade, true);
    Enable(true, true, true);
    IdleTimer(true);
    Draw(false);
}

bool CSmackerModule::HandleMessage(CMessage& message, CBaseObj*)
{
    const int32_t id = message.GetId();
    if (id == kMsgMouse) {
        if (attractState_ == kMoviePlaying) {
            IdleTimer(false);
            NextMovie(false);
        }
        return true;
    }
    if (id == CSmackerFrame::kMsgVideoDone) {
        NextMovie(true);
        return true;
    }
    if (id != kCmdNotice && id != kCmdNewGame && id != kCmdOpenGame)
        return true;
    // A command while the movie plays only ends the movie.
    if (movie_) {
        NextMovie(false);
        return true;
    }
    Enable(false, true, true);
    IdleTimer(false);
    switch (id) {
    case kCmdNotice: ShowNotice(); break;
    case kCmdNewGame:
        if (NewGameDialog()) {
            IdleTimer(true);
            Enable(true, false, true);
        }
        break;
    default: OpenGame(); break;
    }
    return true;
}

void CSmackerModule::ShowNotice()
{
    if (RunModalList(kNoticeList, GetMainWnd()) == kNoticeBack) {
        IdleTimer(true);
        Enable(true, false, true);
    }
}

void CSmackerModule::OpenGame()
{
    if (CBaseAppl* appl = GetApplication())
        SendMsg(*appl, kCmdFileOpen, 0, 0, nullptr);
    // A saved game that opened has closed this screen by now (it is freed later), and so has a
    // load that reached the trip before it failed (the trip starts over on a new opening
    // screen). A cancelled choice, or a load that failed before anything changed, leaves this
    // screen in front: it is usable again, or the player could only quit.
    const CModuleMgr* manager = GetModuleMgr();
    const bool inFront = manager && manager->GetModule(0) == static_cast<CModule*>(this);
    if (Game().lastOpenResult != kOpenLoaded && inFront) {
        IdleTimer(true);
        Enable(true, false, true);
    }
}

bool CSmackerModule::NewGameDialog()
{
    const int32_t result = RunModalList(kNewGameList, GetApplication());
    if (result == kNewGameCancel)
        return true;
    if (CModuleMgr* manager = GetModuleMgr())
        manager->ShowMessage(kStartingMessage);
    if (IsSoundInSlot(music_))
        FadeOutSounds(&music_, 0, kNewGameFadeOut);
    ApplyChoice(result);
    StopMusic();
    music_ = SoundHandle();
    if (CBaseAppl* appl = GetApplication())
        SendMsg(*appl, kCmdFileNew, 0, 0, this);
    if (!SwitchDisc(1, true))
        return false;
    if (GetCurDoc())
        QueueGameStart();
    return false;
}

void CSmackerModule::ApplyChoice(int32_t choice)
{
    CModuleMgr* manager = GetModuleMgr();
    auto* travel = manager ? dynamic_cast<CTravel*>(manager->GetModule(CModuleMgr::kTravel)) : nullptr;
    if (!travel)
        return;
    for (const StartingChoice& c : kChoices)
        if (c.result == choice) {
            travel->SetPost(c.post);
            travel->GetParty()->AddMoney(c.money);
        }
}

void CSmackerModule::QueueGameStart() { QueueLeaveModule(1); }
