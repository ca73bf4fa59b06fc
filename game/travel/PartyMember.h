#pragma once
// CPartyMember: one traveller: a name, an age, an occupation with four skill values, health
// points with an age-dependent cap and daily recovery, the health conditions the traveller
// suffers (newest first) and a few once-in-a-life flags.
#include <array>
#include <cstdint>
#include <memory>

#include "engine/framework/List.h"
#include "engine/framework/Str.h"
#include "game/travel/Lifeline.h"

class CDoc;
class CHealthCond;

class CPartyMember {
public:
    static constexpr int32_t kStatusTravelling = 2;
    static constexpr int32_t kRandomNameList = 902050;
    static constexpr int32_t kPersonNameList = 30005;
    static constexpr int kSkillCount = 4;
    // The condition kinds a person can have only once, in the order of the once flags.
    static constexpr std::array<int32_t, 6> kOnceKinds = {42, 28, 29, 17, 34, 32};

    static constexpr int32_t kFirstCharacterScreen = 15831;

    // A random person (the leader): a random name of list 902050, the skills of occupation
    // `occupation`. The first argument is not used.
    CPartyMember(const void* unused, int16_t age, int16_t valueB, int16_t valueC, int32_t occupation);
    // Named person `id` ("PPL" record, name entry id - 1 of list 30005).
    explicit CPartyMember(int16_t personId);
    // An empty person, to be loaded.
    CPartyMember();
    virtual ~CPartyMember();
    CPartyMember(const CPartyMember&) = delete;
    CPartyMember& operator=(const CPartyMember&) = delete;

    int16_t GetId() const { return personId_; }
    const CStr& GetName() const { return name_; }
    void SetName(const char* text) { name_ = CStr(text ? text : ""); }
    int32_t GetStatus() const { return status_; }
    void SetStatus(int32_t status) { status_ = status; }
    int16_t GetHealth() const { return health_; }
    int16_t GetAge() const { return age_; }
    int16_t GetHealthCap() const { return cap_; }
    int16_t GetRecovery() const { return recovery_; }
    int16_t GetHourCount() const { return hours_; }
    int16_t GetPersonIndex() const { return personIndex_; }
    int32_t GetOccupation() const { return occupation_; }
    // The landmark screen (template list) of the member's character: value P of the person's
    // record, 15831 (the first character list) when it names none.
    int32_t GetCharacterScreen() const { return valueP_ != 0 ? valueP_ : kFirstCharacterScreen; }
    // The leader's start code: value Q, which the landmark's set-up popup sets.
    int32_t GetStartCode() const { return valueQ_; }
    void SetStartCode(int32_t code) { valueQ_ = code; }
    int32_t GetSkill(int i) const { return i >= 0 && i < kSkillCount ? skills_[i] : 0; }
    int16_t GetOnsetMark() const { return onsetMark_; }
    bool GetOnceFlag(int i) const { return i >= 0 && i < 6 && onceFlags_[i] != 0; }
    int32_t GetPendingKind() const { return pendingKind_; }
    int32_t GetPendingParam() const { return pendingParam_; }

    // health -= amount; true when the person is then below 1.
    bool Damage(int32_t amount);
    // The onset mark: half the health now.
    void SetOnsetMark();
    bool HasSkillValue(int32_t value) const;
    // 0-4, recomputed each day.
    int32_t GetLevel() const { return level_; }
    // A condition to add at the end of the day; parameter 0 is none.
    void SetPending(int32_t kind, int32_t param);

    // Gives the person a condition (parameter 1 incubating, 2 active). Refused while not
    // travelling, while a condition of the kind is held (except kinds 35, 1, 3 and 4) and for a
    // once-only kind the person has had.
    bool AddCondition(int32_t kind, int32_t param);
    bool HasCondition(int32_t kind) const;
    // The conditions, head (newest) first.
    CList& GetConditions() { return conditions_; }
    int32_t GetConditionCount() const { return conditions_.GetCount(); }
    CHealthCond* GetCondition(int32_t i) const;

    // One daily update: `hours` travelled, `wear` taken off the day's recovery.
    void DailyUpdate(int16_t hours, int32_t wear);
    // Posts the person's death: route event 48 at once for the leader, else 22 queued.
    void PostDeathEvent();

    void Save(CDoc& doc) const;
    // Error 6 for a negative condition count or one the file cannot hold.
    void Load(CDoc& doc);

    // Route events hold the member through it, to see when the member is deleted.
    const CLifeline& GetLifeline() const { return lifeline_; }

private:
    void SetCapByAge();
    void DrawOnceFlags();
    void RunDay(int32_t wear);
    void SetHealth(int32_t health);
    void ComputeLevel();
    void RemoveEndedConditions();
    int OnceIndex(int32_t kind) const;

    CStr name_;
    int16_t personId_ = 0;
    int16_t age_ = 0;
    int16_t valueB_ = 0;
    int16_t valueC_ = 0;
    int32_t valueP_ = 0;
    int32_t valueQ_ = 0;
    int16_t health_ = 0;
    int16_t hours_ = 0;
    int16_t personIndex_ = 0;
    int16_t cap_ = 0;
    int16_t recovery_ = 0;
    std::array<uint8_t, 6> onceFlags_ = {};
    int16_t onsetMark_ = 0;
    int32_t occupation_ = 0;
    std::array<int32_t, kSkillCount> skills_ = {};
    int32_t status_ = 0;
    int32_t level_ = 0;
    int32_t pendingKind_ = 0;
    int32_t pendingParam_ = 0;
    CList conditions_; // owned CHealthCond pointers, newest first
    CLifeline lifeline_;
};
