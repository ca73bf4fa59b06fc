#pragma once
// CRouteEvent: one pending route event (a broken wheel, a blizzard, an illness turning worse):
// its type (1-115), its "EVT" record (title picture, sound and up to eight choices with their
// consequences) and its running state while it is shown and resolved. The event queue makes,
// runs and deletes them.
#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/framework/Message.h"
#include "game/travel/Lifeline.h"

class CDoc;
class CHealthCond;
class CParty;
class CPartyMember;
class CSupplyList;

// A value a poster hands to a route event: a plain number (a day number, an amount) or a party
// member or health condition. A member or condition is watched: once it has been deleted (or a
// condition has ended) the argument no longer gives it out.
class CEventArg {
public:
    CEventArg() = default;
    template <std::integral T> CEventArg(T value) : value_(static_cast<MsgWord>(value)) {}
    CEventArg(std::nullptr_t) {}
    CEventArg(CPartyMember* member);
    CEventArg(CHealthCond* condition);
    // The party's supplies (a wagon theft takes from them).
    CEventArg(CSupplyList* supplies);

    // The number; for a member or a condition its address as a word, 0 once it is gone.
    MsgWord GetValue() const;
    // The member given, while it lives; otherwise null.
    CPartyMember* GetMember() const { return member_.Get(); }
    // The condition given, while it lives and has not ended; otherwise null.
    CHealthCond* GetCondition() const;
    // Whether the argument stands for an object rather than a number: a saved event keeps
    // only numbers, so an object comes back as 0 (gone).
    bool IsReference() const { return object_ || member_.WasSet() || condition_.WasSet(); }

private:
    MsgWord value_ = 0;
    bool object_ = false;
    CWatchedPtr<CPartyMember> member_;
    CWatchedPtr<CHealthCond> condition_;
};

class CRouteEvent {
public:
    static constexpr int32_t kRecordSize = 288;
    static constexpr int kChoiceCount = 8;
    static constexpr int kChoiceFlagCount = 9;
    enum State : int32_t { kNew = 0, kResolveAgain = 1, kShowAgain = 2, kFinished = 3 };
    // Display kinds.
    static constexpr int16_t kNoDialog = 2;
    static constexpr int16_t kVideoDialog = 4;
    // The target kind of an event that acts on a health condition.
    static constexpr int16_t kTargetCondition = 2;

    // A new event: reads the type's "EVT" record, enables every choice, draws the count
    // R(1..100); step 0, state 0. Without a record the event is finished at once.
    CRouteEvent(int16_t type, CEventArg first, CEventArg second, CPartyMember* person);
    // Only the record: a loaded event, whose fields the loader fills in.
    explicit CRouteEvent(int16_t type);
    virtual ~CRouteEvent() = default;
    CRouteEvent(const CRouteEvent&) = delete;
    CRouteEvent& operator=(const CRouteEvent&) = delete;

    int32_t GetType() const { return type_; }
    bool HasRecord() const { return hasRecord_; }
    int32_t GetState() const { return state_; }
    void SetState(int32_t state) { state_ = state; }
    const CEventArg& GetFirst() const { return first_; }
    const CEventArg& GetSecond() const { return second_; }
    void SetFirst(CEventArg value) { first_ = value; }
    void SetSecond(CEventArg value) { second_ = value; }
    // The choice taken; -1 while none.
    int16_t GetStep() const { return step_; }
    void SetStep(int16_t step) { step_ = step; }
    // Weather events count down their days with it.
    int16_t GetCount() const { return count_; }
    void SetCount(int16_t count) { count_ = count; }
    int16_t GetSpare() const { return spare_; }
    void SetSpare(int16_t spare) { spare_ = spare; }

    // The member the event concerns while that member lives; null for none.
    CPartyMember* GetPerson() const { return person_.Get(); }
    // Whether the event was made for a member (who may be gone since).
    bool HasPerson() const { return person_.WasSet(); }
    void SetPerson(CPartyMember* person);

    // Choice flags 0-8; outside that range a choice reads disabled and cannot be changed.
    bool IsChoiceEnabled(int i) const;
    void EnableChoice(int i) { SetChoiceFlag(i, true); }
    void DisableChoice(int i) { SetChoiceFlag(i, false); }

    // The record's fields.
    int16_t GetTargetKind() const { return Word(4); }
    int16_t GetDisplayKind() const { return Word(6); }
    // 0 none, 1 a random effect, else the sound id.
    int16_t GetSound() const { return Word(8); }
    // 3: one of the five pictures at random.
    int16_t GetPictureMode() const { return Word(12); }
    // Picture i (0-4); 0 outside.
    int16_t GetPicture(int i) const { return i >= 0 && i < 5 ? Word(14 + 2 * i) : 0; }

    // Choice i (0-7). Choice -1 is what an event without a chosen step reads: the 24 record
    // bytes before the first choice. Outside -1..7 every field reads 0.
    int16_t GetRequiredItem(int i) const { return ChoiceWord(i, 0); }
    // Entry n - 1 of the choice texts; 0: no such choice.
    int16_t GetTextNumber(int i) const { return ChoiceWord(i, 2); }
    int16_t GetOutcomeKind(int i) const { return ChoiceWord(i, 4); }
    int16_t GetSuccessMorale(int i) const { return ChoiceWord(i, 6); }
    int16_t GetFailureMorale(int i) const { return ChoiceWord(i, 8); }
    // The day's speed percent is lowered to at most this.
    int16_t GetTravelCap(int i) const { return ChoiceWord(i, 10); }
    // Hours lost (above 0) or waiting (below 0).
    int16_t GetDelay(int i) const { return ChoiceWord(i, 12); }
    // The stage handed to the health condition of a condition event.
    int16_t GetStageValue(int i) const { return ChoiceWord(i, 14); }

    // The saved event: 40 bytes from the type to the person's id.
    static constexpr int32_t kSavedSize = 40;
    void Save(CDoc& doc) const;
    // Reads an event saved by Save; its person is the party's member of the saved id (none
    // when no member has it). Null when the document fails.
    static std::unique_ptr<CRouteEvent> Load(CDoc& doc, const CParty* party);

private:
    static constexpr int32_t kFirstChoice = 30;
    static constexpr int32_t kChoiceSize = 24;

    void ReadRecord();
    int16_t Word(int32_t offset) const { return record_[static_cast<size_t>(offset / 2)]; }
    int16_t ChoiceWord(int i, int32_t offset) const;
    void SetChoiceFlag(int i, bool enabled);

    int32_t type_;
    std::array<int16_t, kRecordSize / 2> record_ = {};
    bool hasRecord_ = false;
    int32_t state_ = kNew;
    CEventArg first_;
    CEventArg second_;
    int16_t step_ = 0;
    int16_t count_ = 0;
    std::array<uint8_t, kChoiceFlagCount> choiceFlags_ = {};
    int16_t spare_ = 0;
    CWatchedPtr<CPartyMember> person_;
};
