#include "engine/framework/EventObj.h"

#include "engine/framework/MsgMgr.h"
#include "engine/framework/Stopwatch.h"
#include "engine/framework/TimerEvent.h"

CEventObj::CEventObj(uint32_t kind, int32_t id, CBaseObj* owner) : CBaseObj(kind, id, owner)
{
    receiver_ = 1;
}

CEventObj::~CEventObj()
{
    if (IsLive())
        UnregisterLiveObject(this);
    // Queued messages that name this object as their sender must not hand a dangling
    // pointer to their receivers.
    ForgetSender(this);
    timer_.reset();
}

void CEventObj::StartTimer(uint32_t period, CStopwatch* clock)
{
    timer_.reset();
    timer_ = std::make_unique<CTimerEvent>(period, &CEventObj::TimerCallback, this, clock);
}

void CEventObj::StopTimer() { timer_.reset(); }

CStopwatch* CEventObj::GetClock() const { return timer_ ? timer_->GetClock() : GetRealClock(); }

uint32_t CEventObj::GetClockTime() const { return GetClock()->Elapsed() * 17u; }

bool CEventObj::TimerCallback(void* object)
{
    auto* obj = static_cast<CEventObj*>(object);
    return obj->TakesTimerTick() ? obj->OnTimer() : false;
}

void CEventObj::Enable(bool enable, bool, bool)
{
    if (enable)
        flags_ |= kFlagEnabled;
    else
        flags_ &= ~kFlagEnabled;
}

void CEventObj::SaveEnabled(bool flag, int32_t)
{
    if (saved_)
        return;
    saved_ = 1;
    savedEnabled_ = IsEnabled() ? 1 : 0;
    Enable(false, flag, false);
}

void CEventObj::RestoreEnabled(bool flag, int32_t)
{
    if (!saved_)
        return;
    saved_ = 0;
    Enable(savedEnabled_ != 0, flag, false);
}
