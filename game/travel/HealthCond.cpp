#include "game/travel/HealthCond.h"

#include <algorithm>

#include "engine/framework/Doc.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "game/travel/CauseTable.h"
#include "game/travel/GameRecord.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/PartyTrip.h"

namespace {

// Marks that conditions of kinds 6 and 33 share: the diet counter at the latest test.
int16_t g_mark6 = 0;
int16_t g_mark33 = 0;

int16_t Clamp16(int32_t v) { return static_cast<int16_t>(std::clamp<int32_t>(v, -32768, 32767)); }

CParty* TripParty()
{
    CPartyTrip* trip = GetPartyTrip();
    return trip ? trip->GetParty() : nullptr;
}

// The diet-counter test of kinds 6 and 33: true when the mark is unset or the counter has
// reached it; the mark then follows the counter.
bool DietTest(int16_t& mark, int16_t counter)
{
    const bool result = mark == 0 || counter >= mark;
    mark = counter;
    return result;
}

} // namespace

HealthDef HealthDef::Load(int32_t kind)
{
    const CGameRecord rec("HLT", kind);
    HealthDef d;
    d.flags = rec.Short(0);
    d.v = rec.Short(2);
    d.w = rec.Short(4);
    d.incubationMin = rec.Short(10);
    d.incubationMax = rec.Short(12);
    d.activeMin = rec.Short(14);
    d.activeMax = rec.Short(16);
    d.recoveryMin = rec.Short(18);
    d.recoveryMax = rec.Short(20);
    d.severityMin = rec.Short(22);
    d.severityMax = rec.Short(24);
    d.recoverySeverity = rec.Short(26);
    d.recognisePercent = rec.Short(28);
    return d;
}

void CHealthCond::ResetMarks()
{
    g_mark6 = 0;
    g_mark33 = 0;
}

int16_t CHealthCond::GetMark6() { return g_mark6; }

int16_t CHealthCond::GetMark33() { return g_mark33; }

CHealthCond::CHealthCond() = default;

CHealthCond::CHealthCond(CPartyMember* person, int32_t kind, int32_t param)
    : person_(person), state_(static_cast<int16_t>(param)), kind_(kind)
{
    def_ = HealthDef::Load(kind);
    recognised_ = TravellerHasSkill13() || CUtil::Random(0, 100) < def_.recognisePercent ? 1 : 0;
    Start();
    chanceA_ = 0;
    chanceB_ = 0;
    followUp_ = 0;
}

bool CHealthCond::TravellerHasSkill13() const
{
    const CParty* party = TripParty();
    return party && party->HasSkill(kSkillRecognise);
}

bool CHealthCond::KindTest()
{
    const CParty* party = TripParty();
    switch (kind_) {
    case 6: return DietTest(g_mark6, party ? party->GetDietCounterB() : 0);
    case 23: return true;
    case 33: return DietTest(g_mark33, party ? party->GetDietCounterA() : 0);
    case 41: return party && party->GetHungryDays() != 0;
    case 43: {
        const CPartyTrip* trip = GetPartyTrip();
        return trip && trip->GetDryDays() != 0;
    }
    default: return false;
    }
}

bool CHealthCond::EnterIncubation()
{
    severity_ = 0;
    storedSeverity_ = Clamp16(CUtil::Random(def_.severityMin, def_.severityMax));
    if (def_.incubationMax == 0)
        return false;
    int32_t days = CUtil::Random(def_.incubationMin, def_.incubationMax);
    if ((def_.flags & kFlagAgeIncubation) && person_)
        days += person_->GetAge();
    daysLeft_ = Clamp16(days);
    if (def_.flags & kFlagSeverityFromIncubation) {
        const int32_t d =
            def_.incubationMax - def_.incubationMin == 0 ? 1 : def_.incubationMax - def_.incubationMin;
        storedSeverity_ =
            Clamp16((def_.severityMax - def_.severityMin) * (def_.incubationMax - daysLeft_) / d);
    }
    return true;
}

bool CHealthCond::EnterActive()
{
    if (person_)
        person_->SetOnsetMark();
    severity_ =
        storedSeverity_ >= 1 ? storedSeverity_ : Clamp16(CUtil::Random(def_.severityMin, def_.severityMax));
    if (def_.activeMax == 0)
        return false;
    if ((def_.flags & kFlagLethalChance) && CUtil::Random(0, 100) < def_.w) {
        severity_ = kLethalSeverity;
    } else if (def_.flags & kFlagWhileKindTest) {
        daysLeft_ = 2;
    } else if (def_.flags & kFlagDaysFromSeverity) {
        const int32_t d = def_.severityMax - def_.severityMin == 0 ? 1 : def_.severityMax - def_.severityMin;
        daysLeft_ = Clamp16((severity_ - def_.severityMin) * (def_.activeMax - def_.activeMin) / d);
    } else {
        daysLeft_ = Clamp16(CUtil::Random(def_.activeMin, def_.activeMax));
    }
    announced_ = 1;
    CMessage onset(kMsgOnset, reinterpret_cast<MsgWord>(person_), reinterpret_cast<MsgWord>(this));
    BroadcastMessage(onset, nullptr);
    if (person_ && person_->Damage(severity_) && person_->GetStatus() == CPartyMember::kStatusTravelling)
        person_->PostDeathEvent();
    return true;
}

bool CHealthCond::EnterRecovery()
{
    severity_ = def_.recoverySeverity;
    if (def_.recoveryMax == 0)
        return false;
    daysLeft_ = Clamp16(CUtil::Random(def_.recoveryMin, def_.recoveryMax));
    return true;
}

void CHealthCond::Start()
{
    daysInState_ = 0;
    storedSeverity_ = 0;
    EnterFrom(state_);
}

void CHealthCond::Advance()
{
    daysInState_ = 0;
    int16_t next = static_cast<int16_t>(state_ + 1);
    if (state_ == kEnded)
        next = kIncubating;
    else if (state_ == kRecovering)
        next = kEnded;
    EnterFrom(next);
}

// Enters `state`, or the first later state this kind has; past state 3 the condition ends.
void CHealthCond::EnterFrom(int16_t state)
{
    switch (state) {
    case kIncubating:
        if (EnterIncubation()) {
            state_ = kIncubating;
            return;
        }
        [[fallthrough]];
    case kActive:
        if (EnterActive()) {
            state_ = kActive;
            return;
        }
        [[fallthrough]];
    case kRecovering:
        if (EnterRecovery()) {
            state_ = kRecovering;
            return;
        }
        [[fallthrough]];
    default: state_ = kEnded; severity_ = 0;
    }
}

int16_t CHealthCond::DailyStep()
{
    if (state_ == kActive && (def_.flags & kFlagWhileKindTest))
        daysLeft_ = KindTest() ? 1 : 0;
    else
        daysLeft_ = Clamp16(daysLeft_ - 1);
    int16_t damage = 0;
    if (daysLeft_ <= 0) {
        Advance();
    } else {
        if (severity_ != 0) {
            const bool useV = (daysInState_ == 0 && (def_.flags & kFlagFirstDayV)) ||
                              (daysInState_ > 0 && (def_.flags & kFlagLaterDaysV));
            damage = useV ? def_.v : severity_;
        }
        if ((def_.flags & kFlagGrowing) && severity_ > def_.w)
            severity_ = Clamp16(severity_ + def_.v);
        daysInState_ = Clamp16(daysInState_ + 1);
    }
    if (state_ == kActive) {
        if (chanceA_ != 0 && CUtil::Random(1, 1000) <= chanceA_) {
            if (person_)
                person_->SetPending(followUp_, 2);
            state_ = kRecovering;
            Advance();
        }
        if (chanceB_ != 0 && CUtil::Random(1, 1000) <= chanceB_ && person_)
            person_->SetPending(followUp_, 1);
    }
    return damage;
}

bool CHealthCond::EndedTest()
{
    if (def_.flags & kFlagRepeatIncubation) {
        def_.incubationMin = def_.v;
        def_.incubationMax = def_.w;
        EnterIncubation();
    }
    storedSeverity_ = 0;
    return state_ == kEnded;
}

void CHealthCond::ApplyCause(int32_t cause, bool flag)
{
    skill13_ = TravellerHasSkill13() ? 1 : 0;
    lastCause_ = cause;
    const int s = skill13_;
    const CauseEffect none{};
    const CauseEffect* found = FindCauseEffect(cause, kind_);
    const CauseEffect& e = found ? *found : none;

    int32_t baseB = e.chanceB[s];
    if (e.severityDiv[s] != 0)
        baseB = severity_ * 10 / e.severityDiv[s];
    if (e.choice[s] == CauseEffect::kMin)
        severity_ = def_.severityMin;
    else if (e.choice[s] == CauseEffect::kMax)
        severity_ = def_.severityMax;
    if (baseB != 0) {
        chanceB_ = Clamp16(flag ? baseB : 2 * baseB);
        followUp_ = 24;
    }
    if (e.lethal[s] != 0 && CUtil::Random(1, 1000) <= e.lethal[s]) {
        severity_ = kLethalSeverity;
        def_.flags = 0;
    }
    const bool old = person_ && person_->GetAge() > 50;
    int32_t a30 = e.a30IfOld ? (old ? 1 : 0) : e.a30[s];
    if (a30 != 0) {
        if (old)
            a30 *= 10;
        chanceA_ = Clamp16(a30);
        followUp_ = 30;
    }
    if (kind_ == 27 && CUtil::Random(1, 1000) > e.k[s])
        def_.flags = 0;
    if (e.a23[s] != 0) {
        chanceA_ = e.a23[s];
        followUp_ = 23;
    }
    if (kind_ == 19 && CUtil::Random(1, 1000) > e.k[s])
        def_.flags = 0;
    if (e.b19[s] != 0) {
        chanceB_ = e.b19[s];
        followUp_ = 19;
    }
    if (e.follow47) {
        chanceA_ = 1000;
        followUp_ = 47;
    }
}

void CHealthCond::Save(CDoc& doc) const
{
    doc.WriteShort(state_)
        .WriteShort(severity_)
        .WriteShort(static_cast<int16_t>(lastCause_))
        .WriteShort(daysLeft_);
    doc.WriteShort(storedSeverity_).WriteShort(daysInState_).WriteByte(recognised_).WriteByte(skill13_);
    doc.WriteShort(announced_)
        .WriteShort(chanceB_)
        .WriteShort(chanceA_)
        .WriteShort(static_cast<int16_t>(followUp_));
    doc.WriteShort(markFlag_).WriteShort(static_cast<int16_t>(kind_));
}

void CHealthCond::Load(CDoc& doc)
{
    int16_t lastCause = 0, announced = 0, followUp = 0, markFlag = 0, kind = 0;
    doc.ReadShort(state_).ReadShort(severity_).ReadShort(lastCause).ReadShort(daysLeft_);
    doc.ReadShort(storedSeverity_).ReadShort(daysInState_).ReadByte(recognised_).ReadByte(skill13_);
    doc.ReadShort(announced).ReadShort(chanceB_).ReadShort(chanceA_).ReadShort(followUp);
    doc.ReadShort(markFlag).ReadShort(kind);
    lastCause_ = lastCause;
    announced_ = static_cast<uint8_t>(announced);
    followUp_ = followUp;
    markFlag_ = static_cast<uint8_t>(markFlag);
    kind_ = kind;
    if (doc.GetError() == CDoc::kOk)
        def_ = HealthDef::Load(kind_);
}
