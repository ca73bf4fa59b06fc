#include "game/shell/Travel.h"

#include "engine/framework/Appl.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "game/shell/GameGlobals.h"
#include "game/shell/save/QM3Doc.h"

CTravel::CTravel(const CRect& rect)
    : CFrameModule(rect), party_(std::make_unique<CParty>()), queue_(std::make_unique<CEventQueue>(*this))
{
}

CTravel::~CTravel() = default;

bool CTravel::HandleMessage(CMessage& message, CBaseObj* sender)
{
    if (message.GetId() == kMsgResetTrip) {
        ResetTrip();
        return true;
    }
    if (message.GetId() == kMsgEventGone) {
        ++eventsGone_;
        return true;
    }
    return CFrameModule::HandleMessage(message, sender);
}

void CTravel::ResetTrip()
{
    mode_ = 0;
    queue_ = std::make_unique<CEventQueue>(*this);
    party_ = std::make_unique<CParty>();
    if (CBaseAppl* appl = GetApplication())
        SendMsg(*appl, 3, 0, 0, this);
}

void CTravel::SendToTravelFrame(int32_t id) { SendMsg(*this, id, 0, 0, nullptr); }

CDiary* CTravel::GetDiary() const
{
    CQM3Doc* doc = GetCurDoc();
    return doc ? doc->GetDiary() : nullptr;
}
