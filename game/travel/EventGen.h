#pragma once
// CEventGen: the route event generator of a trip. Once per travelled day it decides which
// route events happen to the party (storms, breakdowns, lost animals, a lost member, a lost
// post) and which illnesses and injuries its members catch, from random draws weighted by the
// date, the weather of the last days, the current route node, the party's supplies, skills,
// load and morale. It owns the trip's event queue. Its smaller operations (losing animals,
// breakdowns, injuries, wagon mishaps) also serve event resolution and the hunts.
//
// It hears message 300 (a member's health condition reaches a telling stage) and runs the
// condition's route event at once.
#include <cstdint>
#include <memory>

#include "engine/framework/EventObj.h"
#include "game/travel/EventQueue.h"

class CDate;
class CDoc;
class CParty;
class CPartyMember;
class CRouteNode;
class CWeather;

// What the event generator needs of the trip that only the travel module knows. The names
// and signatures are the travel module's own, so it implements the interface by deriving
// from it.
class CEventGenTrip {
public:
    virtual ~CEventGenTrip() = default;
    // The travel date and the departure date; null before the trip has them.
    virtual const CDate* GetCurDate() const = 0;
    virtual const CDate* GetStartDate() const = 0;
    virtual CWeather* GetWeather() const = 0;
    // The current route node; null when none.
    virtual CRouteNode* GetNode() const = 0;
    virtual CParty* GetParty() const = 0;
    // 0, 1 or 2.
    virtual int32_t GetPace() const = 0;
    // The player's post: above 0 while the player holds one, 2 when hired.
    virtual int16_t GetPost() const = 0;
    virtual int16_t GetDaysOnRoute() const = 0;
    virtual int16_t GetDaysSinceStop() const = 0;
    virtual int16_t GetTripRisk() const = 0;
    // Whether route event `code` can happen where the party is.
    virtual bool IsEventPossible(int16_t code) const = 0;
    virtual bool GetSceneFlag(int16_t flag) const = 0;
    virtual void SetSceneFlag(int16_t flag, bool value) = 0;
    // Lowers the day's speed percent to at most `percent`.
    virtual void LowerDaySpeed(int16_t percent) = 0;
};

class CEventGen : public CEventObj {
public:
    static constexpr int32_t kId = 1234;
    // The saved size of the generator's own fields (they follow the queue's).
    static constexpr int32_t kSavedSize = 21;

    // Scene flags the rules read and set.
    static constexpr int16_t kFlagNoFood = 0;
    static constexpr int16_t kFlagWeather = 9;
    static constexpr int16_t kFlagNoMeat = 12;
    static constexpr int16_t kFlagNoTag15 = 13;

    CEventGen(CEventHost& host, CEventGenTrip& trip);
    ~CEventGen() override;

    // One day's rules: weather, then illness, then misfortune. With the flag clear nothing
    // happens (a day that passed without travelling).
    void DailyStep(bool eventFlag);
    void RunWeatherRules();
    void RunIllnessRules();
    void RunMisfortuneRules();

    CEventQueue& GetQueue() const { return *queue_; }
    // Message 300: the condition's route event for a travelling member.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;

    // The event type of a health condition kind (1-47); 0 for any other kind.
    static int16_t EventForCondition(int32_t kind);

    // A random travelling member other than the leader: the leader when the party has one
    // member or 20 draws found nobody; null when the leader does not travel either.
    CPartyMember* PickRandomMember() const;
    // Takes up to n draught animals and posts `type` (an injured animal may die instead).
    void LoseAnimals(int16_t n, int16_t type);
    // Turns a draught animal into meat.
    void ButcherAnimal();
    // A random member goes missing.
    void LoseMember();
    // A chance of 3n in 10000 of a breakdown (less with spare parts); true when nothing broke.
    bool BreakdownChance(int16_t n);
    // A breakdown with `percent` in 100; true when nothing broke.
    bool BreakdownRoll(int16_t percent);
    // An injury to a random member with `percent` in 100; true when nobody was hurt.
    bool InjuryRoll(int16_t percent);
    // Posts and runs a wagon mishap (types 90, 85, 96, 69 and 73 only) with its follow-ups.
    // Virtual, as is RunRouteEvent, so that tests can record what a stop scene asks for.
    virtual void RunWagonMishap(int16_t type, int16_t amount, bool flagA = false, bool flagB = false);
    // Posts route event `type` and runs it at once.
    virtual void RunRouteEvent(int16_t type);
    bool PartyHasItem(int16_t type) const;
    // Whether the party's clothing packages number at least its travellers.
    bool HasClothingForAll() const;
    // Condition kinds of the injury tables.
    static int32_t BrokenBoneKind(int32_t r);
    static int32_t SprainKind(int32_t r);

    // The queue, then the generator's fields. A failed load leaves the fields as they were.
    void Save(CDoc& doc) const;
    void Load(CDoc& doc);

    bool GetMudFlag() const { return f_.mud != 0; }
    bool GetTimberFlag() const { return f_.timber != 0; }
    bool GetRockFlag() const { return f_.rock != 0; }
    int16_t GetFireCooldown() const { return f_.fireCool; }
    int16_t GetAlkaliWarnings() const { return f_.alkali; }
    void SetAlkaliWarnings(int16_t n) { f_.alkali = n; }
    int16_t GetReelection() const { return f_.reelection; }
    int16_t GetDryDays() const { return f_.dryDays; }
    void SetDryDays(int16_t n) { f_.dryDays = n; }
    // Arrival at a place with water clears the alkali and dry-day counters.
    void ClearWarnings()
    {
        f_.alkali = 0;
        f_.dryDays = 0;
    }
    bool GetLowMoraleFlag() const { return f_.lowMorale != 0; }
    int16_t GetGrassCooldown() const { return f_.grassCool; }
    bool GetThirstPosted() const { return f_.thirstPosted != 0; }
    int16_t GetMosquitoCooldown() const { return f_.mosquitoCool; }

private:
    // The day as the rules see it, gathered once.
    struct Day;
    bool GatherDay(Day& day) const;
    void WeatherRules(const Day& day);
    void RainRule(const Day& day, int16_t amount, int32_t stormDraw);
    void IllnessRules(const Day& day);
    void MemberIllness(const Day& day, CPartyMember& member, int16_t travelling);
    void MemberIllnessMore(const Day& day, CPartyMember& member, int16_t travelling);
    void ThirstAndHunger(const Day& day, CPartyMember& member, int16_t travelling);
    void MisfortuneRules(const Day& day);
    void PlaceRules(const Day& day, int16_t k);
    void AnimalRules(const Day& day, int16_t k, int32_t loadTerm);
    void PostRules();
    void SeasonRules(const Day& day, int16_t k);
    void BreakdownOutcome();
    int32_t LoadTerm() const;

    void Post(int16_t type, CEventArg first = {}, int16_t count = -1);
    bool IsQueued(int16_t type) const;
    CParty* Party() const { return trip_.GetParty(); }

    CEventGenTrip& trip_;
    std::unique_ptr<CEventQueue> queue_;
    // The day-to-day state the rules keep (saved after the queue).
    struct Fields {
        uint8_t mud = 0;
        uint8_t timber = 1;
        uint8_t rock = 1;
        int16_t spareA = 0;
        int16_t fireCool = 0;
        int16_t alkali = 0;
        int16_t spareB = 0;
        int16_t reelection = 0;
        int16_t dryDays = 0;
        uint8_t lowMorale = 0;
        int16_t grassCool = 0;
        uint8_t thirstPosted = 0;
        int16_t mosquitoCool = 0;
    };
    static void WriteFields(CDoc& doc, const Fields& f);
    static void ReadFields(CDoc& doc, Fields& f);
    Fields f_;
};
