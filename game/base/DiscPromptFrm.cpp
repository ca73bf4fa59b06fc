#include "game/base/DiscPromptFrm.h"

#include "engine/framework/FileSpecs.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "game/base/DriveLibMgr.h"
#include "game/base/ModalList.h"

CDiscPromptFrm::CDiscPromptFrm(int32_t id, const CPoint& at, CBaseObj* notifyTarget, int32_t resultMessage,
                               CDriveLibMgr* manager, int32_t disc, int32_t screenList, uint32_t libraryMask)
    : CFrame(kKindFrame, id, at, true), notifyTarget_(notifyTarget), manager_(manager),
      resultMessage_(resultMessage), disc_(disc)
{
    if (manager_)
        found_ = manager_->FindDisc(disc_);
    if (found_)
        return;
    screen_ = BuildHeldScreen(screenList, libraryMask, *this, this);
    RegisterLiveObject(this);
    StartTimer(kPollTicks, nullptr);
}

CDiscPromptFrm::~CDiscPromptFrm() = default;

bool CDiscPromptFrm::OnTimer()
{
    found_.reset();
    if (manager_)
        found_ = manager_->FindDisc(disc_);
    if (found_) {
        StopTimer();
        Report();
    }
    return true;
}

bool CDiscPromptFrm::HandleMessage(CMessage& message, CBaseObj*)
{
    if (message.GetId() == kMsgGiveUp)
        Report();
    return true;
}

std::unique_ptr<CFileSpec> CDiscPromptFrm::GetResult() const
{
    return found_ ? std::make_unique<CFileSpec>(*found_) : nullptr;
}

void CDiscPromptFrm::Report()
{
    if (!notifyTarget_)
        return;
    CMessage result(resultMessage_, 0, 0, -1);
    result.SetParamPtr(found_.get(), 2);
    DeliverMessage(*notifyTarget_, result, this, false);
}
