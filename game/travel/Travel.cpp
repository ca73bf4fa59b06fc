#include "game/travel/Travel.h"

#include "engine/controls/ImageFrame.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/graphics/CursorMgr.h"
#include "game/base/SoundSlots.h"
#include "game/base/save/QM3Doc.h"
#include "game/travel/Market.h"
#include "game/travel/Party.h"
#include "game/travel/RouteNode.h"
#include "game/travel/RouteSeqState.h"
#include "game/travel/SceneFrame.h"

CTravel::CTravel(const CRect& rect) : CFrameModule(rect)
{
    SetId(kFrameId);
    // The party's rules (its food check among them) set their scene flags on this trip.
    SetPartyTrip(this);
}

CTravel::~CTravel()
{
    StopTimer();
    if (GetPartyTrip() == this)
        SetPartyTrip(nullptr);
}

bool CTravel::HandleMessage(CMessage& message, CBaseObj* sender)
{
    if (message.GetId() == kMsgResetTrip) {
        ResetTrip();
        return true;
    }
    if (message.GetId() == kMsgDiscard) {
        ShowDiscardDialog(static_cast<int16_t>(message.GetParam(0)));
        return true;
    }
    if (HandleEventClipMessage(message))
        return true;
    if (HandlePanelMessage(message))
        return true;
    return CFrameModule::HandleMessage(message, sender);
}

void CTravel::OnAttach()
{
    CFrame::OnAttach();
    if (IsFresh()) {
        // Making a trip (party, travellers, their markets) takes a moment: the wait cursor says so.
        CBusyCursor busy;
        SetUpTrip();
        raftDamage_ = -1;
    }
}

void CTravel::Suspend()
{
    if (suspended_)
        return;
    StopSounds(nullptr, 0);
    suspended_ = 1;
    StopTimer();
    DeleteEventClip();
    Enable(false, false, false);
    // The scene's native buttons are windows of their own: they hide with the scene itself.
    if (sceneFrame_)
        sceneFrame_->Hide(true, false);
    CFrame::Hide(false, true);
    CModule::Suspend();
}

void CTravel::ResetTrip()
{
    StopTimer();
    {
        CBusyCursor busy;
        ResetTripState();
    }
    raftDamage_ = -1;
    // The scene frame outlives the trip, but its "names asked" mark belongs to the old party:
    // kept, a second new game in the same run would travel under the old party's names.
    if (auto* scene = dynamic_cast<CRouteSceneFrm*>(sceneFrame_))
        scene->ForgetNamesAsked();
    Enable(false, false, false);
    CFrame::Hide(false, true);
    if (CBaseAppl* appl = GetApplication())
        SendMsg(*appl, 3, 0, 0, this);
}

int32_t CTravel::GetNodeLandmark() const
{
    const CRouteNode* node = GetNode();
    return node ? node->LandmarkNumber() : -1;
}

void CTravel::StartOver(CBaseObj* sender)
{
    SetMode(3);
    SendMsg(*this, kMsgResetTrip, 0, 0, sender);
}

void CTravel::Save(CQM3Doc* doc)
{
    if (doc)
        CTrip::Save(*doc);
}

void CTravel::Load(CQM3Doc* doc)
{
    if (!doc)
        return;
    CTrip::Load(*doc);
    raftDamage_ = -1;
}

void CTravel::UpdatePartyAfterLoad()
{
    if (CParty* party = GetParty())
        party->CheckFood();
    Resume();
}

void CTravel::SetRouteSeqState(std::unique_ptr<CRouteSeqState> state) { routeSeqState_ = std::move(state); }

void CTravel::SendToTravelFrame(int32_t id) { SendMsg(*this, id, 0, 0, nullptr); }

void CTravel::StopForEvent(bool askDays)
{
    CTrip::StopForEvent(askDays);
    if (askDays) {
        SendMsg(*this, kMsgAskWaitDays, 0, 0, nullptr);
        SetLandmarkId(kEventStopLandmarkId);
    } else {
        RequestModule(kLandmarkModule);
    }
}

void CTravel::SendToApplication(int32_t id, MsgWord param1, MsgWord param2)
{
    if (CBaseAppl* appl = GetApplication())
        SendMsg(*appl, id, param1, param2, this);
}

void CTravel::PostToTravelFrame(int32_t id) { SendMessageRecord(*this, id, 0, 0, 0, nullptr); }

void CTravel::BroadcastToScreens(int32_t id, MsgWord param1)
{
    CMessage message(id, param1);
    BroadcastMessage(message, this);
}
