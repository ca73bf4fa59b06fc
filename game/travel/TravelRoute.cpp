// The route screen of the travel module: the timer's tick, arriving at route nodes, resuming
// the screen after another module, the route panel and the route map over the screen.
#include <memory>
#include <vector>

#include "engine/controls/ImageWnd.h"
#include "engine/controls/ScreenTransition.h"
#include "engine/controls/Wind.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "engine/graphics/ImgSet.h"
#include "game/base/GameGlobals.h"
#include "game/base/GameImages.h"
#include "game/base/LibraryDiscovery.h"
#include "game/base/ModuleMgr.h"
#include "game/base/save/Diary.h"
#include "game/base/save/QM3Doc.h"
#include "game/travel/EventResolve.h"
#include "game/travel/RiverData.h"
#include "game/travel/RouteNode.h"
#include "game/travel/RouteObj.h"
#include "game/travel/RouteSeqState.h"
#include "game/travel/Travel.h"
#include "platform/MessageQueue.h"
#include "platform/WindowMessages.h"

namespace {

// The crossing events of a river, the dry-land event whose places clear the water warnings.
constexpr int16_t kEventRiverDelayAhead = 23;
constexpr int16_t kEventRiverDelay = 24;
constexpr int16_t kEventThirst = 89;
// The landmark whose arrival needs disc 3.
constexpr int16_t kDiscThreeLandmark = 29;
// A river's scene when it is frozen over.
constexpr int32_t kFrozenSceneOffset = 5;

// Uphill, downhill, river and landmark nodes stop the party and show a scene.
bool IsStop(int16_t routeType)
{
    return routeType == CRouteNode::kUphill || routeType == CRouteNode::kDownhill ||
           routeType == CRouteNode::kRiver || routeType == CRouteNode::kLandmark;
}

int32_t SceneIdOf(int16_t landmarkNumber) { return (200 + landmarkNumber) * 100; }

bool IsMouseMessage(uint32_t message)
{
    return message >= plat::msg::MouseMove && message <= plat::msg::RButtonDoubleClick;
}

// Panels are hidden and shown with their children. The scene frame is shown alone: its
// build leaves objects hidden that must stay so.
void HideFrame(CFrame* frame)
{
    if (frame)
        frame->Hide(true, true);
}

void ShowFrame(CFrame* frame)
{
    if (frame)
        frame->Show(true);
}

void ShowScene(CFrame* scene)
{
    if (scene)
        scene->Show(false);
}

} // namespace

void CTravel::SetOwner(CBaseObj* owner)
{
    if (owner == GetOwner())
        return;
    CFrame::SetOwner(owner);
    if (owner)
        RegisterLiveObject(this);
}

bool CTravel::OnTimer()
{
    OnIdle();
    return true;
}

void CTravel::OnIdle()
{
    const int16_t kind = node_ ? node_->GetKind() : static_cast<int16_t>(CRouteNode::kStartPoint);
    switch (kind) {
    case CRouteNode::kStartPoint:
    case CRouteNode::kForcedStop:
    case CRouteNode::kOptionalStop:
    case CRouteNode::kEndPoint:
    case CRouteNode::kMapOnly:
    case CRouteNode::kNeverStop: GoToNextNode(); break;
    case CRouteNode::kTrailSeg:
        if (distanceToNext_ <= 0) {
            GoToNextNode();
        } else {
            StopTimer();
            AdvanceDay(1);
            if (mode_ != kStopped)
                StartTimer(kDayPeriod, nullptr);
        }
        break;
    default: break;
    }
    if (routeObj_)
        routeObj_->Step();
}

void CTravel::GoToNextNode()
{
    StopTimer();
    const int16_t next = node_ ? node_->GetNextNode(0) : 0;
    // A node without a next one ends the route: arriving at 0 would start the trip over.
    if (node_ && next == 0)
        return;
    ArriveAtNode(next);
}

void CTravel::ArriveAtNode(int16_t id)
{
    sceneReturn_ = 0;
    PlaceOnNode(id);
    WriteEventLogLine("arrive", GetCurDate(), {id});
    if (routeObj_)
        routeObj_->UpdateFromNode(node_.get());
    const int16_t type = node_->GetRouteType();
    if (type == CRouteNode::kLandmark && id != 0)
        if (CDiary* diary = GetDiary())
            diary->PostString(node_->LandmarkNumber());
    if (type == CRouteNode::kRiver)
        DrawRiverFlags();
    if (!IsStop(type)) {
        ShowNodePicture();
        StartTimer(kDayPeriod, nullptr);
        return;
    }
    if (id == 0) {
        landmarkId_ = kStoreSceneId;
        nodeId_ = 0;
        RequestModule(CModuleMgr::kLandmark);
        return;
    }
    ArriveAtStop();
}

void CTravel::DrawRiverFlags()
{
    CRiverData* river = node_->GetRiverData();
    if (!river)
        return;
    if (IsEventPossible(static_cast<int32_t>(kEventRiverDelayAhead)))
        while (CUtil::Random(1, 100, 1) < 50)
            river->SetUsed1(1);
    if (IsEventPossible(static_cast<int32_t>(kEventRiverDelay)))
        while (CUtil::Random(1, 100, 1) < 50)
            river->SetUsed2(1);
}

void CTravel::ShowNodePicture()
{
    if (node_->GetKind() != CRouteNode::kTrailSeg)
        return;
    const int16_t picture = node_->GetImage(static_cast<int16_t>(CUtil::Random(0, 2, 1)));
    if (picture <= 0)
        return;
    DeleteEventClip();
    CFrame* panel = MakeRoutePanel();
    auto* image = panel ? panel->FindAs<CImageWnd>(kNodePictureId) : nullptr;
    if (image) {
        if (std::unique_ptr<CImgSet> set = LoadImage("CBMP", 0, picture, true, 1)) {
            set->SetDrawProc(DrawOpaque);
            image->SetImages(set.release(), true);
            image->Draw(true);
        }
        // The first picture simply appears; later ones dissolve into the last.
        CWind* wnd = image->GetOwnerWnd();
        if (arrival_ && wnd && wnd->GetOffScreenEnv() && image->IsShown() && panel->IsShown() && IsShown()) {
            wnd->DrawRegion(&image->GetDrawnRect(), false);
            DoScreenTransition(image, kTransitionDissolve, kClosing, 1);
        }
    }
    arrival_ = 1;
}

void CTravel::ArriveAtStop()
{
    const int16_t type = node_->GetRouteType();
    CRiverData* river = type == CRouteNode::kRiver ? node_->GetRiverData() : nullptr;
    if (IsEventPossible(static_cast<int32_t>(kEventThirst)) && eventGen_)
        eventGen_->ClearWarnings();
    landmarkId_ = SceneIdOf(node_->LandmarkNumber());
    if (river && river->IsFrozen())
        landmarkId_ += kFrozenSceneOffset;
    if (river && IsEventPossible(static_cast<int32_t>(kEventRiverDelay)) && CUtil::Random(1, 100, 1) < 50) {
        PostAndRunEvent(kEventRiverDelay, 0, 0, -1, nullptr);
        river->SetUsed2(1);
    }
    if (node_->LandmarkNumber() == kDiscThreeLandmark) {
        if (CQM3Doc* doc = GetCurDoc())
            doc->SetDisc(3);
        if (!SwitchDisc(3, true))
            return;
    }
    DeleteEventClip();
    ShowSceneFrame();
}

void CTravel::ShowSceneFrame()
{
    if (!sceneFrame_) {
        sceneFrame_ = MakeSceneFrame(*this, landmarkId_);
        if (!sceneFrame_)
            return;
        sceneFrame_->OnAttach();
        AddChild(sceneFrame_, true);
    } else {
        SetSceneFrameId(*sceneFrame_, landmarkId_);
        sceneFrame_->OnAttach();
    }
    HideFrame(routePanel_.get());
    if (routeObj_)
        routeObj_->Pause();
    ShowScene(sceneFrame_);
    if (statusPanel_ && panelFlag_)
        HideFrame(statusPanel_.get());
}

// ---- Resuming the screen ----

void CTravel::Resume()
{
    // Asked while another module is on screen (a game loaded from the opening screen), the
    // screen waits: the module manager resumes it when it makes the travel module current.
    if (const CModuleMgr* manager = GetModuleMgr();
        manager && manager->GetCurModule() != -1 && manager->GetCurModule() != CModuleMgr::kTravel)
        return;
    suspended_ = 0;
    arrival_ = 0;
    CModule::Resume();
    if (nodeId_ < 1) {
        ++nodeId_;
        ArriveAtNode(nodeId_);
    } else if (mode_ == kStopped) {
        ResumeStopped();
    } else {
        ResumeOnRoute();
    }
    // An arrival that went on to another module (the store) leaves the screen suspended.
    if (suspended_)
        return;
    Enable(true, true, true);
    Show(false);
    Draw(false);
}

void CTravel::ResumeStopped()
{
    if (waitDays_ < 0)
        Enable(true, true, true);
    if (waitDays_ != 0)
        WaitDays();
    else
        PassHours(0);
    const int16_t type = node_ ? node_->GetRouteType() : -1;
    if (!eventStop_ && IsStop(type) && sceneFrame_) {
        HideFrame(routePanel_.get());
        if (routeObj_)
            routeObj_->Pause();
        if (panelFlag_)
            HideFrame(statusPanel_.get());
        // Not built again (the landmark id names the wait now): shown with its objects.
        sceneFrame_->Show(true);
    } else {
        HideFrame(sceneFrame_);
        StartTimer(kDayPeriod, nullptr);
        if (panelFlag_)
            ShowFrame(statusPanel_.get());
        ShowFrame(MakeRoutePanel());
        if (!panelFlag_ && routeObj_)
            routeObj_->Resume();
    }
    mode_ = kMoving;
    waitDays_ = 0;
    eventStop_ = 0;
    UpdateDayFlags();
}

void CTravel::ResumeOnRoute()
{
    if (node_ && node_->GetLmClass() == 1)
        daysSinceStop_ = 0;
    if (node_ && node_->GetLmClass() == 5 && sceneReturn_) {
        Enable(true, true, true);
        Show(false);
        ArriveAtNode(node_->GetNextNode(1));
        return;
    }
    if (!node_ || node_->LandmarkNumber() == 0 || sceneReturn_) {
        sceneReturn_ = 0;
        ShowRouteView();
    } else {
        landmarkId_ = SceneIdOf(node_->LandmarkNumber());
        ShowSceneFrame();
    }
    PlayTravelMusic();
}

void CTravel::ShowRouteView()
{
    StartRouteObj();
    CFrame* panel = MakeRoutePanel();
    if (panelFlag_ && statusPanel_)
        ShowFrame(statusPanel_.get());
    else if (routeObj_)
        routeObj_->Resume();
    if (sceneFrame_) {
        ApplySceneOutcome(*sceneFrame_);
        HideFrame(sceneFrame_);
    }
    ShowFrame(panel);
    StartTimer(kDayPeriod, nullptr);
}

// ---- The screen's parts ----

void CTravel::StartRouteObj()
{
    if (routeObj_)
        return;
    if (!routeSeqState_)
        routeSeqState_ = std::make_unique<CRouteSeqState>();
    routeObj_ = std::make_unique<CRouteObj>(this);
    routeObj_->Init();
}

void CTravel::FlushMouseMessages()
{
    plat::MessageQueue& queue = plat::GetMessageQueue();
    std::vector<plat::PlatMessage> kept;
    while (std::optional<plat::PlatMessage> message = queue.Peek())
        if (!IsMouseMessage(message->message))
            kept.push_back(*message);
    for (const plat::PlatMessage& message : kept)
        queue.Post(message);
}
