#pragma once
// CHealthCond: one illness or injury of one person, a small state machine driven by the kind's
// "HLT" record: incubating (1) → active (2) → recovering (3) → ended (0), each state entered
// only when the record gives it a range of days. It deals a daily damage, may leave a follow-up
// condition pending, and reacts to the causes that route events apply to it.
#include <cstdint>

#include "game/travel/Lifeline.h"

class CDoc;
class CPartyMember;

// The "HLT" record of a condition kind (46 bytes compiled, 16-bit fields).
struct HealthDef {
    int16_t flags = 0;
    int16_t v = 0;
    int16_t w = 0;
    int16_t incubationMin = 0;
    int16_t incubationMax = 0; // 0: no state 1
    int16_t activeMin = 0;
    int16_t activeMax = 0; // 0: no state 2
    int16_t recoveryMin = 0;
    int16_t recoveryMax = 0; // 0: no state 3
    int16_t severityMin = 0;
    int16_t severityMax = 0;
    int16_t recoverySeverity = 0;
    int16_t recognisePercent = 0;

    static HealthDef Load(int32_t kind);
};

class CHealthCond {
public:
    enum State : int16_t { kEnded = 0, kIncubating = 1, kActive = 2, kRecovering = 3 };
    enum Flag : int16_t {
        kFlagFirstDayV = 0x1,
        kFlagAgeIncubation = 0x2,
        kFlagLaterDaysV = 0x4,
        kFlagGrowing = 0x8,
        kFlagSeverityFromIncubation = 0x10,
        kFlagDaysFromSeverity = 0x20,
        kFlagRepeatIncubation = 0x40,
        kFlagWhileKindTest = 0x80,
        kFlagLethalChance = 0x100,
    };
    static constexpr int32_t kTag = 1234;
    static constexpr int16_t kLethalSeverity = 3000;
    // The message every live object gets at an onset: (person, condition).
    static constexpr int32_t kMsgOnset = 300;
    static constexpr int32_t kSkillRecognise = 13;

    // A new condition of the kind for the person, starting in state `param` (1 or 2).
    CHealthCond(CPartyMember* person, int32_t kind, int32_t param);
    // An empty condition, to be loaded.
    CHealthCond();
    virtual ~CHealthCond() = default;
    CHealthCond(const CHealthCond&) = delete;
    CHealthCond& operator=(const CHealthCond&) = delete;

    // The kind's own test (kinds 6, 23, 33, 41, 43); false for the others.
    virtual bool KindTest();
    // One day: the damage the person takes today.
    virtual int16_t DailyStep();
    // After all steps of a day: true when the condition has ended.
    virtual bool EndedTest();
    // Cause `cause` (1-30) applied by a route event; `flag` false doubles a follow-up chance.
    virtual void ApplyCause(int32_t cause, bool flag);
    virtual bool IsRecognised() const { return recognised_ != 0; }
    virtual void Advance();
    virtual bool EnterActive();
    virtual bool EnterIncubation();
    virtual void Start();
    virtual bool EnterRecovery();

    int32_t GetKind() const { return kind_; }
    int16_t GetState() const { return state_; }
    bool GetMarkFlag() const { return markFlag_ != 0; }
    int16_t GetSeverity() const { return severity_; }
    int16_t GetDaysLeft() const { return daysLeft_; }
    int16_t GetStoredSeverity() const { return storedSeverity_; }
    int16_t GetDaysInState() const { return daysInState_; }
    int32_t GetLastCause() const { return lastCause_; }
    int16_t GetChanceA() const { return chanceA_; }
    int16_t GetChanceB() const { return chanceB_; }
    int32_t GetFollowUpKind() const { return followUp_; }
    bool IsAnnounced() const { return announced_ != 0; }
    bool GetSkill13Flag() const { return skill13_ != 0; }
    const HealthDef& GetDef() const { return def_; }
    CPartyMember* GetPerson() const { return person_; }
    void SetPerson(CPartyMember* person) { person_ = person; }
    // Route events hold the condition through it, to see when the condition is deleted.
    const CLifeline& GetLifeline() const { return lifeline_; }

    // The condition's record: 26 bytes.
    void Save(CDoc& doc) const;
    // Reads the record and the kind's "HLT" record again; the person is set by the caller.
    void Load(CDoc& doc);

    // The two marks kinds 6 and 33 share between all conditions of a trip; 0 at the start.
    static void ResetMarks();
    static int16_t GetMark6();
    static int16_t GetMark33();

private:
    bool TravellerHasSkill13() const;
    void EnterFrom(int16_t state);

    uint8_t announced_ = 0;
    CPartyMember* person_ = nullptr;
    int16_t state_ = kEnded;
    int16_t severity_ = 0;
    int32_t lastCause_ = 1;
    int16_t daysLeft_ = 0;
    int16_t storedSeverity_ = 0;
    int16_t daysInState_ = 0;
    uint8_t recognised_ = 0;
    uint8_t skill13_ = 0;
    HealthDef def_;
    int16_t chanceB_ = 0;
    int16_t chanceA_ = 0;
    int32_t followUp_ = 0;
    uint8_t markFlag_ = 0;
    int32_t kind_ = 0;
    CLifeline lifeline_;
};
