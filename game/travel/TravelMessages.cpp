// The travel screen's panels and what their buttons, popups and dialogs send the screen: the
// pace and ration popups, the stay panel, the days-to-wait dialog, the status panel's toggle
// and the switches to the hunting, river and gathering modules.
#include <memory>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/Wind.h"
#include "engine/controls/imagectl/ImgBtnWnd.h"
#include "engine/controls/native/EditField.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/graphics/DibSect.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/LibMgr.h"
#include "game/base/GameGlobals.h"
#include "game/base/GameImages.h"
#include "game/base/LibraryDiscovery.h"
#include "game/base/MainWnd.h"
#include "game/base/ModalList.h"
#include "game/base/ModuleMgr.h"
#include "game/base/save/Diary.h"
#include "game/base/save/QM3Doc.h"
#include "game/travel/Party.h"
#include "game/travel/RouteNode.h"
#include "game/travel/RouteObj.h"
#include "game/travel/Travel.h"

namespace {

// The modules the screen's buttons switch to.
constexpr int32_t kGatheringModule = 3;
constexpr int32_t kRiverModule = 6;
constexpr int32_t kHuntingModule = 7;
// The module manager's full-screen message while a stay begins.
constexpr int32_t kStayMessage = 8;

} // namespace

void CTravel::DestroyFrame::operator()(CFrame* frame) const { frame->Destroy(); }

bool CTravel::HandlePanelMessage(CMessage& message)
{
    const MsgWord p0 = message.GetParam(0);
    switch (message.GetId()) {
    case kMsgHunt: RequestModule(kHuntingModule); return true;
    case kMsgFish: RequestModule(kRiverModule); return true;
    case kMsgGather: RequestModule(kGatheringModule); return true;
    case kMsgPace: Choose(kPacePopupList, p0); return true;
    case kMsgRations: Choose(kRationsPopupList, p0); return true;
    case kMsgContinue: ContinueJourney(p0); return true;
    case kMsgBackToRoute: BackToRoute(); return true;
    case kMsgAskWaitDays: AskDays(); return true;
    case kMsgStay: BeginStay(); return true;
    case kMsgStatusPanel: ToggleStatusPanel(); return true;
    default: return false;
    }
}

void CTravel::RequestModule(int32_t type)
{
    if (CFrame* gameWindow = GetParent())
        SendMsg(*gameWindow, CMainWnd::kMsgRequestModule, type, 1, this);
}

CFrame* CTravel::MakePanel(PanelPtr& panel, int32_t listId)
{
    if (!panel) {
        panel.reset(BuildListFrame(listId, this, this));
        if (panel)
            panel->AfterBuild();
    }
    return panel.get();
}

CFrame* CTravel::MakeRoutePanel() { return MakePanel(routePanel_, kRoutePanelList); }

void CTravel::ClosePopup() { choicePopup_.reset(); }

// 286 and 287: -1 opens the popup of choices (any open one closes first); a choice closes it
// and becomes the pace or the party's rations.
void CTravel::Choose(int32_t popupList, MsgWord choice)
{
    ClosePopup();
    if (choice == -1) {
        if (MakePanel(choicePopup_, popupList)) {
            Draw(true);
            UpdateWindow();
        }
        return;
    }
    if (popupList == kPacePopupList)
        SetPace(static_cast<int32_t>(choice));
    else if (party_)
        party_->SetRation(static_cast<int32_t>(choice));
}

// 344: the stop scene lets the party go on, to the next node or, at a fork, along the branch the
// player chose (p0 - 1). Leaving the first landmark needs disc 2. When the node reached is a
// stop in its turn, its scene stays up and the days wait for it; a moving screen under the
// scene would carry the party on past it.
void CTravel::ContinueJourney(MsgWord branch)
{
    arrival_ = 0;
    if (sceneFrame_) {
        sceneFrame_->Enable(false, false, true);
        sceneFrame_->Enable(true, false, false);
        sceneFrame_->Hide(true, true);
    }
    if (node_ && node_->LandmarkNumber() == 1) {
        if (CQM3Doc* doc = GetCurDoc())
            doc->SetDisc(2);
        if (!SwitchDisc(2, true))
            return;
        PlayTravelMusic();
    }
    if (branch == 0)
        GoToNextNode();
    else if (node_)
        ArriveAtNode(node_->GetNextNode(static_cast<int16_t>(branch - 1)));
    if (IsSuspended() || (sceneFrame_ && sceneFrame_->IsShown()))
        return;
    StartRouteObj();
    ShowRoutePanel();
    Draw(true);
    FlushMouseMessages();
}

// 401: the stay (or the status panel over it) gives way to the route view, and the days run
// again.
void CTravel::BackToRoute()
{
    if (stayPanel_)
        stayPanel_->Hide(true, true);
    if (statusPanel_)
        statusPanel_->Hide(true, true);
    ClosePopup();
    ShowRoutePanel();
    stayFlag_ = 0;
}

// The route view of a moving party: the route panel, with the status panel over it while that
// is on (the route map paused under it), and the day's timer.
void CTravel::ShowRoutePanel()
{
    MakeRoutePanel();
    if (panelFlag_ && statusPanel_)
        statusPanel_->Show(true);
    if (routePanel_)
        routePanel_->Show(true);
    if (!panelFlag_ && routeObj_)
        routeObj_->Resume();
    StartTimer(kDayPeriod, nullptr);
}

// 402: the days-to-wait dialog; cancelled, the party moves on at once.
void CTravel::AskDays()
{
    if (!WaitFromDaysDialog())
        SetMode(kMoving);
}

// A dialog that cannot be made counts as cancelled, so the party never stands stopped with no
// wait to end it.
bool CTravel::WaitFromDaysDialog()
{
    const std::unique_ptr<CImageFrame> built = MakeModalList(kDaysDialogList, GetApplication());
    CImageFrame* dialog = built.get();
    if (!dialog || dialog->Run(CWind::GetTopWnd(), true) == kDaysCancel)
        return false;
    if (CDiary* diary = GetDiary())
        diary->PostString(kDiaryWait);
    auto* field = dialog->FindAs<CEditField>(kDaysField);
    const std::unique_ptr<CStr> text = field ? field->GetText() : nullptr;
    const int16_t days = ParseDays(text && text->GetText() ? text->GetText() : "");
    StopTimer();
    waitDays_ = days;
    landmarkId_ = kEventStopLandmarkId;
    SetMode(kStopped);
    RequestModule(CModuleMgr::kLandmark);
    return true;
}

// 403: the party stays; the stay panel replaces the route view until its button sends 401.
void CTravel::BeginStay()
{
    CModuleMgr* manager = GetModuleMgr();
    if (manager)
        manager->ShowMessage(kStayMessage);
    StopTimer();
    stayFlag_ = 1;
    if (statusPanel_)
        statusPanel_->Hide(true, true);
    if (routeObj_)
        routeObj_->Pause();
    DeleteEventClip();
    if (routePanel_)
        routePanel_->Hide(true, true);
    MakePanel(stayPanel_, kStayPanelList);
    if (manager)
        manager->HideMessage();
    if (stayPanel_)
        stayPanel_->Show(true);
}

// 413: the status panel opens (filled afresh, the route map paused) or closes again.
void CTravel::ToggleStatusPanel()
{
    MakePanel(statusPanel_, kStatusPanelList);
    if (!panelFlag_) {
        if (routeObj_)
            routeObj_->Pause();
        if (statusPanel_) {
            UpdateStatusPanel(statusPanel_.get());
            statusPanel_->Show(true);
        }
        panelFlag_ = 1;
        ShowStatusButton(kStatusButtonOpen);
    } else {
        if (statusPanel_)
            statusPanel_->Hide(true, true);
        panelFlag_ = 0;
        ShowStatusButton(kStatusButtonClosed);
        if (routeObj_)
            routeObj_->Resume();
    }
}

void CTravel::ShowStatusButton(int32_t imageId)
{
    auto* button = routePanel_ ? routePanel_->FindAs<CImgBtnWnd>(kStatusButton) : nullptr;
    if (!button)
        return;
    if (std::unique_ptr<CImgSet> images = LoadImage("CBMP", 0, imageId, true, 1)) {
        images->SetDrawProc(DrawOpaque);
        button->SetImages(images.release());
    }
}

void CTravel::OnDayEnded()
{
    if (panelFlag_ && statusPanel_) {
        UpdateStatusPanel(statusPanel_.get());
        statusPanel_->Show(true);
    }
}
