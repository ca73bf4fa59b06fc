#include "game/shell/TripStatusModule.h"

#include "engine/controls/ImageWnd.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/TplList.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/graphics/CursorMgr.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/GameGlobals.h"
#include "game/base/GameImages.h"
#include "game/base/MainWnd.h"
#include "game/base/ModuleMgr.h"
#include "game/shell/TripRating.h"
#include "game/travel/Travel.h"

namespace {

constexpr int32_t kMousePress = 1;
// The narrations' play request.
constexpr uint32_t kNarrationFlags = 2;
constexpr uint8_t kNarrationLevel = 255;

} // namespace

CTripStatusModule::CTripStatusModule(const CRect& rect)
    : CFrameModule(rect), busy_(std::make_unique<CBusyCursor>())
{
    FadeOutSounds(nullptr, 0, kFadeTime);
}

CTripStatusModule::~CTripStatusModule()
{
    StopTimer();
    busy_.reset();
    if (screen_) {
        CFrame* screen = screen_;
        screen_ = nullptr;
        screen->RemoveFromParent();
        delete screen;
    }
}

CTravel* CTripStatusModule::Travel()
{
    CModuleMgr* manager = GetModuleMgr();
    return manager ? dynamic_cast<CTravel*>(manager->GetModule(CModuleMgr::kTravel)) : nullptr;
}

void CTripStatusModule::OnAttach()
{
    SetTakesInput(true);
    BuildScreen(kScreenList);
    // A reserved word of the trip, set only by saved games, adds to the score.
    if (const CTravel* travel = Travel()) {
        const int32_t word = travel->GetReservedWord3();
        if (word == 2)
            goodPoints_ = static_cast<int16_t>(goodPoints_ + 1);
        else if (word == 1)
            goodPoints_ = static_cast<int16_t>(goodPoints_ + 2);
    }
    if (screen_)
        screen_->UpdateWindow();
    busy_.reset();
    step_ = 0;
    StartTimer(kPeriod, nullptr);
}

void CTripStatusModule::BuildScreen(int32_t listId)
{
    CTplList list(listId, CLibMgr::kAllLibraries, GetRsrcCache());
    screen_ = dynamic_cast<CFrame*>(list.Build(this, this, 0));
    if (screen_)
        screen_->AfterBuild();
}

void CTripStatusModule::RemoveScreen(CBaseObj* sender)
{
    if (!screen_)
        return;
    CFrame* screen = screen_;
    screen_ = nullptr;
    SendMsg(*screen, kMsgEndModal, 0, 0, sender);
    // Freed once the running dispatch has returned: the click may have come through it.
    screen->Destroy();
}

void CTripStatusModule::ShowPanel(int16_t panel)
{
    const std::unique_ptr<CTplRec> list = CreateTplRec(kStringListBase + panel, CLibMgr::kAllLibraries, true);
    if (auto* marker = FindAs<CImageWnd>(kMarkerBase + panel))
        marker->SetFrame(1);
    const CTravel* travel = Travel();
    const tripstatus::PanelRating rating = tripstatus::RatePanel(panel, travel ? travel->GetParty() : nullptr,
                                                                 travel ? travel->GetDaysOnRoute() : 0);
    narration_ = PlaySoundEffect(rating.sound, kNarrationFlags, kNarrationLevel);
    std::unique_ptr<CStr> text = list ? list->GetEntryString(rating.rating) : nullptr;
    goodPoints_ = static_cast<int16_t>(goodPoints_ + rating.goodPoints);
    if (rating.counter == tripstatus::Counter::kTrouble)
        ++troublePoints_;
    else if (rating.counter == tripstatus::Counter::kWant)
        ++wantPoints_;
    if (auto* line = FindAs<CTextFrame>(kTextBase + panel); line && text)
        line->AdoptText(std::move(text));
    if (screen_)
        screen_->UpdateWindow();
}

bool CTripStatusModule::OnTimer()
{
    // A suspended screen holds its panels back, so that no narration plays over the screen
    // on top of it.
    if (GetState() == kStateSuspended)
        return true;
    if (step_ == 0) {
        narration_ = {};
        ShowPanel(1);
        step_ = 1;
    } else if (step_ <= tripstatus::kPanelCount - 1) {
        if (!narration_ || !IsSoundInSlot(narration_)) {
            narration_ = {};
            ++step_;
            ShowPanel(step_);
        }
    } else {
        // The closing narrations play to their end: a later click no longer stops them.
        narration_ = {};
    }
    return true;
}

bool CTripStatusModule::IsRouteCompleted() const
{
    const CTravel* travel = Travel();
    return travel && travel->GetNodeId() >= tripstatus::kLastNode;
}

void CTripStatusModule::ShowPicture(int32_t imageId)
{
    std::unique_ptr<CImgSet> image = LoadImage("CBMP", 0, imageId, false, 0);
    if (CFrame* panels = FindObject(CBaseObj::kAnyKind, kPanelsObject))
        panels->Hide(true, true);
    if (auto* element = FindAs<CImageWnd>(kPictureElement); element && image)
        element->SetImages(image.release(), true);
    if (screen_)
        screen_->UpdateWindow();
}

void CTripStatusModule::OnPress(CBaseObj* sender)
{
    if (narration_ && IsSoundInSlot(narration_)) {
        StopSounds(nullptr, 0);
        narration_ = {};
    }
    const bool completed = IsRouteCompleted();
    switch (step_) {
    case 6: {
        const tripstatus::ClosingPicture closing =
            tripstatus::ChooseClosingPicture(goodPoints_, troublePoints_, wantPoints_, completed);
        ShowPicture(closing.image);
        if (closing.sound)
            narration_ = PlaySoundEffect(closing.sound, kNarrationFlags, kNarrationLevel);
        step_ = closing.nextStep;
        break;
    }
    case 7:
        if (completed) {
            ShowPicture(tripstatus::ChooseFinalPicture(goodPoints_));
            step_ = 8;
        } else if (CMainWnd* main = GetMainWnd()) {
            // The game window closes this screen (it is freed once this click has been
            // handled) and asks whether to start over: nothing here may be touched after.
            SendMsg(*main, CMainWnd::kMsgLeaveModule, CMainWnd::kStartOverList, 0, this);
        }
        break;
    case 8:
        RemoveScreen(sender);
        BuildScreen(kClosingList);
        if (screen_)
            screen_->UpdateWindow();
        step_ = kLastStep;
        break;
    case kLastStep:
        RemoveScreen(sender);
        // The new trip closes the game back to the opening screen, this screen with it.
        if (CTravel* travel = Travel())
            travel->ResetTrip();
        break;
    default: break;
    }
}

bool CTripStatusModule::HandleMessage(CMessage& message, CBaseObj* sender)
{
    if (message.GetId() == kMsgMouse && message.GetParam(2) == kMousePress)
        OnPress(sender);
    return true;
}

void CTripStatusModule::Suspend()
{
    CModule::Suspend();
    CBusyCursor busy;
}

void CTripStatusModule::Resume()
{
    CModule::Resume();
    CBusyCursor busy;
}
