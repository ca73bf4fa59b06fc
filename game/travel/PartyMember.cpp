#include "game/travel/PartyMember.h"

#include <algorithm>
#include <vector>

#include "engine/framework/Doc.h"
#include "engine/framework/TplRec.h"
#include "engine/framework/Util.h"
#include "engine/resources/TplRecLoader.h"
#include "game/travel/GameRecord.h"
#include "game/travel/HealthCond.h"
#include "game/travel/PartyTrip.h"

namespace {

// Person index by person id 1-20.
constexpr int16_t kPersonIndex[20] = {11, 18, 6, 2, 9, 8, 1, 19, 14, 15, 4, 13, 20, 16, 3, 5, 10, 17, 12, 7};

// Kinds of which a person can hold several at once.
bool MayRepeat(int32_t kind) { return kind == 35 || kind == 1 || kind == 3 || kind == 4; }

// Bytes of a condition's record, and of a member's record without its name and conditions.
constexpr int32_t kConditionRecordSize = 26;

CStr ListEntry(int32_t list, int32_t entry)
{
    const std::unique_ptr<CTplRec> names = CreateTplRec(list, 0xFFFFFFFF, false);
    const CStr* name = names ? names->GetEntry(entry) : nullptr;
    return name ? *name : CStr();
}

CHealthCond* CondOf(const CList::Node* n) { return static_cast<CHealthCond*>(n->item); }

} // namespace

CPartyMember::CPartyMember() = default;

CPartyMember::CPartyMember(const void*, int16_t age, int16_t valueB, int16_t valueC, int32_t occupation)
    : age_(age), valueB_(valueB), valueC_(valueC), occupation_(occupation)
{
    const std::unique_ptr<CTplRec> names = CreateTplRec(kRandomNameList, 0xFFFFFFFF, false);
    const int32_t count = names ? names->GetEntryCount() : 0;
    const CStr* name = names ? names->GetEntry(CUtil::Random(0, count - 1)) : nullptr;
    if (name)
        name_ = *name;
    const CGameRecord rec("OCP", occupation);
    for (int i = 0; i < kSkillCount; ++i)
        skills_[static_cast<size_t>(i)] = rec.Short(4 + 2 * i);
    SetCapByAge();
    DrawOnceFlags();
    status_ = kStatusTravelling;
}

CPartyMember::CPartyMember(int16_t personId) : personId_(personId)
{
    if (personId >= 1 && personId <= 20)
        personIndex_ = kPersonIndex[personId - 1];
    const CGameRecord rec("PPL", personId);
    age_ = rec.Short(0);
    occupation_ = rec.Short(2);
    for (int i = 0; i < kSkillCount; ++i)
        skills_[static_cast<size_t>(i)] = rec.Short(4 + 2 * i);
    valueP_ = rec.Long(16);
    valueQ_ = rec.Long(20);
    name_ = ListEntry(kPersonNameList, personId - 1);
    SetCapByAge();
    DrawOnceFlags();
    status_ = kStatusTravelling;
}

CPartyMember::~CPartyMember()
{
    while (CList::Node* n = conditions_.GetHeadNode()) {
        CHealthCond* cond = CondOf(n);
        conditions_.RemoveNode(n);
        delete cond;
    }
}

void CPartyMember::SetCapByAge()
{
    struct Band {
        int16_t below;
        int16_t cap;
        int16_t recovery;
    };
    static constexpr Band kBands[] = {{11, 800, 80}, {21, 900, 100}, {41, 1000, 100}, {51, 900, 80}};
    cap_ = 800;
    recovery_ = 70;
    for (const Band& b : kBands) {
        if (age_ < b.below) {
            cap_ = b.cap;
            recovery_ = b.recovery;
            break;
        }
    }
    health_ = cap_;
    // The level belongs with the health: a member made at full health travels at full speed
    // from the first hour, not only once its first day has ended.
    ComputeLevel();
}

void CPartyMember::DrawOnceFlags()
{
    // Kinds 42, 28, 29, 17, 34, 32; each chance draws the left side first.
    auto chance = [](int32_t lo, int32_t hi) {
        const int32_t roll = CUtil::Random(1, 100);
        return static_cast<uint8_t>(roll <= CUtil::Random(lo, hi) ? 1 : 0);
    };
    onceFlags_ = {};
    onceFlags_[1] = chance(35, 75);
    onceFlags_[3] = chance(35, 75);
    onceFlags_[4] = chance(1, 20);
}

int CPartyMember::OnceIndex(int32_t kind) const
{
    for (size_t i = 0; i < kOnceKinds.size(); ++i)
        if (kOnceKinds[i] == kind)
            return static_cast<int>(i);
    return -1;
}

void CPartyMember::SetHealth(int32_t health)
{
    health_ = static_cast<int16_t>(std::clamp<int32_t>(health, -32768, 32767));
}

bool CPartyMember::Damage(int32_t amount)
{
    SetHealth(health_ - amount);
    return health_ < 1;
}

void CPartyMember::SetOnsetMark() { onsetMark_ = static_cast<int16_t>(health_ / 2); }

bool CPartyMember::HasSkillValue(int32_t value) const
{
    return std::find(skills_.begin(), skills_.end(), value) != skills_.end();
}

void CPartyMember::SetPending(int32_t kind, int32_t param)
{
    pendingKind_ = kind;
    pendingParam_ = param;
}

bool CPartyMember::HasCondition(int32_t kind) const
{
    for (const CList::Node* n = conditions_.GetHeadNode(); n; n = n->next)
        if (CondOf(n)->GetKind() == kind)
            return true;
    return false;
}

CHealthCond* CPartyMember::GetCondition(int32_t i) const
{
    const CList::Node* n = conditions_.GetHeadNode();
    for (; n && i > 0; --i)
        n = n->next;
    return n && i == 0 ? CondOf(n) : nullptr;
}

bool CPartyMember::AddCondition(int32_t kind, int32_t param)
{
    if (status_ != kStatusTravelling)
        return false;
    if (!MayRepeat(kind) && HasCondition(kind))
        return false;
    const int once = OnceIndex(kind);
    if (once >= 0) {
        if (onceFlags_[static_cast<size_t>(once)])
            return false;
        onceFlags_[static_cast<size_t>(once)] = 1;
    }
    conditions_.AddHead(new CHealthCond(this, kind, param));
    return true;
}

void CPartyMember::PostDeathEvent()
{
    CPartyTrip* trip = GetPartyTrip();
    if (!trip)
        return;
    const auto self = reinterpret_cast<MsgWord>(this);
    if (trip->IsLeader(this))
        trip->PostAndRunEvent(CPartyTrip::kEventLeaderDied, self, 0, -1, this);
    else
        trip->PostEvent(CPartyTrip::kEventMemberDied, self, 0, -1, this);
}

void CPartyMember::RunDay(int32_t wear)
{
    // A condition added meanwhile (by an event an onset runs) steps from the next day.
    std::vector<CHealthCond*> snapshot;
    for (const CList::Node* n = conditions_.GetHeadNode(); n; n = n->next)
        snapshot.push_back(CondOf(n));
    for (CHealthCond* cond : snapshot) {
        if (health_ <= 0)
            break;
        if (conditions_.FindNode(cond))
            SetHealth(health_ - cond->DailyStep());
    }
    if (health_ > 0)
        SetHealth(std::min<int32_t>(health_ + recovery_ - wear, cap_));
    if (health_ < cap_ / 2) {
        cap_ = std::max<int16_t>(static_cast<int16_t>(cap_ - 1), std::min<int16_t>(cap_, 700));
        recovery_ = std::max<int16_t>(static_cast<int16_t>(recovery_ - 1), std::min<int16_t>(recovery_, 70));
    }
    if (health_ < 1 && status_ == kStatusTravelling)
        PostDeathEvent();
    RemoveEndedConditions();
}

void CPartyMember::RemoveEndedConditions()
{
    CList::Node* n = conditions_.GetHeadNode();
    while (n) {
        CList::Node* next = n->next;
        CHealthCond* cond = CondOf(n);
        if (cond->EndedTest()) {
            conditions_.RemoveNode(n);
            delete cond;
        }
        n = next;
    }
}

void CPartyMember::ComputeLevel()
{
    // A damaged file may hold a cap below 1 (it counts as 1) or a health above the cap: the
    // level stays within 0-4 all the same.
    const int32_t cap = std::max<int32_t>(cap_, 1);
    level_ = std::min<int32_t>(std::max<int32_t>(1, 5 * health_ / cap) - 1, 4);
    if (!conditions_.IsEmpty())
        level_ = std::min(level_, 2);
}

void CPartyMember::DailyUpdate(int16_t hours, int32_t wear)
{
    pendingKind_ = 0;
    pendingParam_ = 0;
    if (health_ > 0) {
        hours_ = static_cast<int16_t>(std::clamp<int32_t>(hours_ + hours, -32768, 32767));
        if (hours_ > 23) {
            hours_ = static_cast<int16_t>(hours_ - 24);
            RunDay(wear);
        }
        ComputeLevel();
    } else {
        // A dead member lives no more days. While its death has not been dealt with (its
        // status is still travelling), the event is posted again: another member's queued
        // death event may have swallowed it.
        level_ = 0;
        if (status_ == kStatusTravelling)
            PostDeathEvent();
    }
    if (pendingParam_ != 0)
        AddCondition(pendingKind_, pendingParam_);
    pendingKind_ = 0;
    pendingParam_ = 0;
}

void CPartyMember::Save(CDoc& doc) const
{
    doc.WriteString(name_);
    doc.WriteShort(personId_).WriteShort(age_).WriteShort(valueB_).WriteShort(valueC_);
    doc.WriteLong(valueP_).WriteLong(valueQ_);
    doc.WriteShort(health_)
        .WriteShort(hours_)
        .WriteShort(personIndex_)
        .WriteShort(cap_)
        .WriteShort(recovery_);
    doc.Write(onceFlags_.data(), static_cast<int32_t>(onceFlags_.size()));
    doc.WriteShort(onsetMark_).WriteShort(static_cast<int16_t>(occupation_));
    for (int32_t s : skills_)
        doc.WriteShort(static_cast<int16_t>(s));
    doc.WriteShort(static_cast<int16_t>(status_)).WriteShort(static_cast<int16_t>(level_));
    doc.WriteShort(static_cast<int16_t>(pendingKind_)).WriteShort(static_cast<int16_t>(pendingParam_));
    doc.WriteShort(static_cast<int16_t>(conditions_.GetCount()));
    for (const CList::Node* n = conditions_.GetHeadNode(); n; n = n->next)
        CondOf(n)->Save(doc);
}

void CPartyMember::Load(CDoc& doc)
{
    auto read16 = [&doc](int32_t& out) {
        int16_t v = 0;
        doc.ReadShort(v);
        out = v;
    };
    doc.ReadString(name_);
    doc.ReadShort(personId_).ReadShort(age_).ReadShort(valueB_).ReadShort(valueC_);
    doc.ReadLong(valueP_).ReadLong(valueQ_);
    doc.ReadShort(health_).ReadShort(hours_).ReadShort(personIndex_).ReadShort(cap_).ReadShort(recovery_);
    doc.Read(onceFlags_.data(), static_cast<int32_t>(onceFlags_.size()));
    doc.ReadShort(onsetMark_);
    read16(occupation_);
    for (int32_t& s : skills_)
        read16(s);
    read16(status_);
    read16(level_);
    read16(pendingKind_);
    read16(pendingParam_);
    int16_t count = 0;
    doc.ReadShort(count);
    if (doc.GetError() != CDoc::kOk)
        return;
    if (count < 0 || count > doc.Remaining() / kConditionRecordSize) {
        doc.SetError(CDoc::kStreamFailure);
        return;
    }
    for (int16_t i = 0; i < count && doc.GetError() == CDoc::kOk; ++i) {
        auto cond = std::make_unique<CHealthCond>();
        cond->Load(doc);
        cond->SetPerson(this);
        conditions_.AddTail(cond.release());
    }
}
