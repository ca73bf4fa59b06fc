#include "game/shell/Travel.h"

#include "engine/framework/Appl.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"

bool CTravel::HandleMessage(CMessage& message, CBaseObj* sender)
{
    if (message.GetId() == kMsgResetTrip) {
        ResetTrip();
        return true;
    }
    return CFrameModule::HandleMessage(message, sender);
}

void CTravel::ResetTrip()
{
    mode_ = 0;
    if (CBaseAppl* appl = GetApplication())
        SendMsg(*appl, 3, 0, 0, this);
}
