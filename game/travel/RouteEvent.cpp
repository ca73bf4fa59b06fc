#include "game/travel/RouteEvent.h"

#include "engine/framework/Util.h"
#include "game/travel/GameRecord.h"
#include "game/travel/HealthCond.h"
#include "game/travel/PartyMember.h"

CEventArg::CEventArg(CPartyMember* member) : value_(reinterpret_cast<MsgWord>(member)), member_(member) {}

CEventArg::CEventArg(CHealthCond* condition)
    : value_(reinterpret_cast<MsgWord>(condition)), condition_(condition)
{
}

MsgWord CEventArg::GetValue() const
{
    if (member_.WasSet())
        return reinterpret_cast<MsgWord>(GetMember());
    if (condition_.WasSet())
        return reinterpret_cast<MsgWord>(GetCondition());
    return value_;
}

CHealthCond* CEventArg::GetCondition() const
{
    CHealthCond* condition = condition_.Get();
    return condition && condition->GetState() != CHealthCond::kEnded ? condition : nullptr;
}

CRouteEvent::CRouteEvent(int16_t type, CEventArg first, CEventArg second, CPartyMember* person)
    : CRouteEvent(type)
{
    choiceFlags_.fill(1);
    count_ = static_cast<int16_t>(CUtil::Random(1, 100, 1));
    first_ = first;
    second_ = second;
    SetPerson(person);
    // An event the data does not describe has nothing to show: it ends at once.
    if (!hasRecord_)
        state_ = kFinished;
}

CRouteEvent::CRouteEvent(int16_t type) : type_(type) { ReadRecord(); }

void CRouteEvent::ReadRecord()
{
    const CGameRecord record("EVT", type_);
    hasRecord_ = record.Exists();
    for (size_t i = 0; i < record_.size(); ++i)
        record_[i] = record.Short(static_cast<int32_t>(2 * i));
}

void CRouteEvent::SetPerson(CPartyMember* person) { person_ = CWatchedPtr<CPartyMember>(person); }

bool CRouteEvent::IsChoiceEnabled(int i) const
{
    return i >= 0 && i < kChoiceFlagCount && choiceFlags_[static_cast<size_t>(i)] != 0;
}

void CRouteEvent::SetChoiceFlag(int i, bool enabled)
{
    if (i >= 0 && i < kChoiceFlagCount)
        choiceFlags_[static_cast<size_t>(i)] = enabled ? 1 : 0;
}

int16_t CRouteEvent::ChoiceWord(int i, int32_t offset) const
{
    if (i < -1 || i >= kChoiceCount)
        return 0;
    return Word(kFirstChoice + kChoiceSize * i + offset);
}
