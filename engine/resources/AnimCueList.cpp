#include "engine/resources/AnimCueList.h"

#include <algorithm>

#include "engine/framework/BaseObj.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"

CAnimCueList::CAnimCueList(CAnimCueTarget* target) : CTextRsrc("MCD"), target_(target) {}

CAnimCueList::CAnimCueList(CAnimCueTarget* target, int32_t id, uint32_t mask) : CAnimCueList(target)
{
    Load(id, mask);
}

CAnimCueList::~CAnimCueList()
{
    if (owned_ && !owned_->IsReceiver())
        delete owned_;
}

void CAnimCueList::Load(int32_t id, uint32_t mask, bool required)
{
    Reload(id, mask, required);
    CountCues();
    next_ = 0;
    active_ = count_ >= 1;
}

void CAnimCueList::CountCues()
{
    // The stored count is believed only as far as the record holds whole cues.
    count_ = 0;
    int32_t stored = 0;
    if (GetSize() < 4 || !GetBytes(&stored, 4, 0))
        return;
    count_ = std::clamp(stored, 0, (GetSize() - 4) / kCueSize);
}

bool CAnimCueList::GetCue(int32_t i, Cue& cue)
{
    if (i < 0 || i >= count_)
        return false;
    const int32_t at = 4 + i * kCueSize;
    return GetBytes(&cue.command, 2, at) && GetBytes(&cue.frame, 4, at + 4) &&
           GetBytes(&cue.target, 4, at + 8) && GetBytes(&cue.arg1, 4, at + 12) &&
           GetBytes(&cue.arg2, 4, at + 16);
}

void CAnimCueList::OnFrame(int32_t frame)
{
    if (!active_)
        return;
    Cue cue;
    if (GetCue(next_, cue) && cue.frame == frame) {
        ++next_;
        TakeCue(cue);
    }
    active_ = next_ < count_;
}

void CAnimCueList::TakeCue(const Cue& cue)
{
    switch (cue.command) {
    case kCmdStop: next_ = count_; return;
    case kCmdSelectFrame:
        if (target_)
            target_->SelectSourceFrame(cue.arg1);
        return;
    case kCmdSwiftness:
        if (target_)
            target_->SetSwiftness(static_cast<int16_t>(cue.arg1));
        return;
    case kCmdWait:
        if (target_)
            target_->SetWakeTime(target_->GetClockTime() + static_cast<uint32_t>(cue.arg1));
        return;
    default: {
        CBaseObj key(CBaseObj::kAnyKind, cue.target, nullptr);
        CMessage message(cue.command, cue.arg1, cue.arg2, -1);
        DeliverMessage(key, message, target_ ? target_->GetCueSender() : nullptr, false);
        return;
    }
    }
}

void CAnimCueList::SeekFrame(int32_t frame)
{
    active_ = false;
    next_ = count_;
    Cue cue;
    for (int32_t i = 0; i < count_; ++i)
        if (GetCue(i, cue) && cue.frame >= frame) {
            next_ = i;
            active_ = true;
            return;
        }
}
