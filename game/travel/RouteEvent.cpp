#include "game/travel/RouteEvent.h"

#include <array>

#include "engine/framework/Doc.h"
#include "engine/framework/Util.h"
#include "game/travel/GameRecord.h"
#include "game/travel/HealthCond.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"

CEventArg::CEventArg(CPartyMember* member) : value_(reinterpret_cast<MsgWord>(member)), member_(member) {}

CEventArg::CEventArg(CHealthCond* condition)
    : value_(reinterpret_cast<MsgWord>(condition)), condition_(condition)
{
}

CEventArg::CEventArg(CSupplyList* supplies) : value_(reinterpret_cast<MsgWord>(supplies)), object_(true) {}

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

namespace {

// A saved argument keeps only a number: an object it stood for is written as 0.
int32_t SavedNumber(const CEventArg& arg)
{
    return arg.IsReference() ? 0 : static_cast<int32_t>(arg.GetValue());
}

} // namespace

void CRouteEvent::Save(CDoc& doc) const
{
    const auto type = static_cast<int16_t>(type_);
    doc.WriteShort(type).WriteShort(type).WriteShort(static_cast<int16_t>(state_));
    doc.WriteLong(SavedNumber(first_)).WriteLong(SavedNumber(second_));
    doc.WriteShort(step_).WriteShort(count_);
    for (uint8_t flag : choiceFlags_)
        doc.WriteShort(flag);
    doc.WriteShort(spare_);
    const CPartyMember* person = person_.Get();
    doc.WriteShort(person ? person->GetId() : 0);
}

std::unique_ptr<CRouteEvent> CRouteEvent::Load(CDoc& doc, const CParty* party)
{
    int16_t type = 0, typeAgain = 0, state = 0, step = 0, count = 0, spare = 0, personId = 0;
    int32_t first = 0, second = 0;
    std::array<int16_t, kChoiceFlagCount> flags = {};
    doc.ReadShort(type).ReadShort(typeAgain).ReadShort(state).ReadLong(first).ReadLong(second);
    doc.ReadShort(step).ReadShort(count);
    for (int16_t& flag : flags)
        doc.ReadShort(flag);
    doc.ReadShort(spare).ReadShort(personId);
    if (doc.GetError() != CDoc::kOk)
        return nullptr;
    auto event = std::make_unique<CRouteEvent>(type);
    // A state the queue does not know, or a type the data does not describe, ends the event.
    event->state_ = state >= kNew && state <= kFinished && event->hasRecord_ ? state : int32_t{kFinished};
    event->first_ = first;
    event->second_ = second;
    event->step_ = step;
    event->count_ = count;
    for (size_t i = 0; i < flags.size(); ++i)
        event->choiceFlags_[i] = flags[i] != 0 ? 1 : 0;
    event->spare_ = spare;
    for (int16_t slot = 0; party && personId != 0 && slot < CParty::kMaxMembers; ++slot) {
        CPartyMember* member = party->GetMember(slot);
        if (member && member->GetId() == personId) {
            event->SetPerson(member);
            break;
        }
    }
    return event;
}
