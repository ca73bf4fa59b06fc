#include "game/base/ButtonPanel.h"

#include "engine/framework/EventObj.h"
#include "engine/framework/MsgMgr.h"

CButtonPanel::CButtonPanel(CBaseObj* target)
    : CInputFrame(kControlId, kNewId, CRect(), 0, target), target_(target)
{
    RegisterLiveObject(this);
}

CButtonPanel::~CButtonPanel() { UnregisterLiveObject(this); }

bool CButtonPanel::HandleMessage(CMessage& message, CBaseObj*)
{
    if (message.GetId() != kMsgCommand)
        return false;
    auto* target = dynamic_cast<CEventObj*>(target_);
    return target && target->HandleMessage(message, this);
}
