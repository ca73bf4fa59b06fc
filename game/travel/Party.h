#pragma once
// CParty: the travellers the player leads (up to five members, slot 0 the leader), their
// money, morale and food state, and their supplies. The travel module owns one party while a
// game is open and runs its daily update once per travelled day.
#include <array>
#include <cstdint>
#include <memory>

#include "game/travel/PartyMember.h"
#include "game/travel/SupplyList.h"

class CDoc;

class CParty {
public:
    static constexpr int16_t kMaxMembers = 5;
    static constexpr int16_t kDraughtAnimals = 132;
    static constexpr int16_t kRestingAnimals = 182;
    static constexpr int16_t kButcherable = 143;
    static constexpr int16_t kTagMoney = 1;
    static constexpr int16_t kTagFood = 2;
    static constexpr int16_t kTagFeed = 40;
    // Load each draught animal pulls before the party slows, and the most animals that count.
    static constexpr int32_t kLoadPerAnimal = 600;
    static constexpr int16_t kMaxCountedAnimals = 8;
    static constexpr int32_t kFullRate = 25;
    // Butchering and the diary text it posts.
    static constexpr const char* kButcherTexts[2] = {"Butchered a pig for some meat today.",
                                                     "Getting low on meat, so we butchered a pig."};
    static constexpr int kFlagByteCount = 15;

    enum LoadState : int32_t { kLoadWithinLimit = 0, kOverloaded = 1, kNoAnimals = 2 };

    // A new trip's party: a random leader in slot 0, morale 90, ration 2, money 0.
    CParty();
    ~CParty();
    CParty(const CParty&) = delete;
    CParty& operator=(const CParty&) = delete;

    // The member count, or with travellingOnly the members travelling with the party.
    int16_t CountMembers(bool travellingOnly) const;
    void SetMemberCount(int16_t n);
    // Puts named person `personId` into slot i (a member there is deleted first).
    void CreateMember(int16_t slot, int16_t personId);
    void DeleteMember(int16_t slot);
    // The member in slot i below the member count, else null.
    CPartyMember* GetMember(int16_t slot) const;
    bool IsMember(const CPartyMember* member) const;
    // Puts a member into slot i (tests and loading); the party owns it.
    void SetMember(int16_t slot, std::unique_ptr<CPartyMember> member);

    void AddMorale(int16_t delta);
    int16_t GetMorale() const { return morale_; }
    double GetMoney() const { return money_; }
    // A result below 0 becomes 0.
    void AddMoney(double delta);
    int32_t GetRation() const { return ration_; }
    void SetRation(int32_t ration) { ration_ = ration; }
    int16_t GetHungryDays() const { return hungryDays_; }
    // Tests set the count directly.
    void SetHungryDays(int16_t days) { hungryDays_ = days; }
    int16_t GetDietCounterA() const { return dietA_; }
    int16_t GetDietCounterB() const { return dietB_; }
    bool IsSpoiledToday() const { return spoiledToday_ != 0; }
    int32_t GetLoadState() const { return loadState_; }

    // Whether a travelling member has the occupation / the skill value.
    bool HasOccupation(int32_t occupation) const;
    bool HasSkill(int32_t value) const;

    CSupplyList* GetSupplies() const { return supplies_.get(); }
    int16_t GetItem132Total() const { return supplies_->GetTotal(kDraughtAnimals); }
    int16_t GetItem182Total() const { return supplies_->GetTotal(kRestingAnimals); }
    void TakeItems132(int16_t n) { TakeFirst(kDraughtAnimals, n); }
    void TakeItems182(int16_t n) { TakeFirst(kRestingAnimals, n); }
    bool Switch132To182() { return SwitchOne(kDraughtAnimals, kRestingAnimals); }
    bool Switch182To132() { return SwitchOne(kRestingAnimals, kDraughtAnimals); }
    // Weight of everything held / 16 + 1, at most 32767.
    int16_t GetLoad() const;
    // Weight of the food / 16, at most 32000.
    int16_t GetFoodWeight() const;
    bool HasEnoughFood() const;
    // 25 within the load limit; less when overloaded; 0 without draught animals. Sets the load
    // state.
    int32_t GetTravelRate();
    bool CanTravel() { return GetTravelRate() > 0; }
    // Empties the list into the party: money-like items (tag 1) add to the money, the others
    // to the supplies.
    void TakeItems(CSupplyList& items);

    // One travelled day of `hours` hours: strain, health, spoilage, eating and animal feed.
    void DailyUpdate(int16_t hours);
    // A long trip wears the party down: the day strain grows (at most 32767).
    void AddDayStrain(int16_t n);
    // Eats one day's food; true when anything of tags 13, 14 or 15 was there.
    bool EatDay();
    // Sets the trip's food and morale scene flags, and butchers when meat runs out.
    void CheckFood();

    // The party record: a 50-byte fixed part, the members, the supplies.
    void Save(CDoc& doc) const;
    // Error 6 for a member count outside 0..5 (nothing is read past it).
    void Load(CDoc& doc);

private:
    struct EatFlags {
        bool tag27 = false;
        bool tag28 = false;
    };

    void TakeFirst(int16_t type, int16_t n);
    bool SwitchOne(int16_t from, int16_t to);
    bool AnyTravellingMember(bool (*test)(const CPartyMember&, int32_t), int32_t value) const;
    int16_t WeightOf(bool (*select)(const CItem&)) const;
    bool EatGroup(int16_t tag, int32_t need, EatFlags& flags);
    void SpoilFood(int16_t high);
    void FeedAnimals();
    bool Butcher();

    int16_t memberCount_ = 0;
    double money_ = 0.0;
    float spareValue_ = 0.0f;
    int16_t spareWord_ = 0;
    int16_t morale_ = 90;
    int16_t hungryDays_ = 0;
    int16_t dietA_ = 0;
    int16_t dietB_ = 0;
    uint8_t spoiledToday_ = 0;
    int16_t dayStrain_ = 0;
    int32_t ration_ = 2;
    int32_t loadState_ = kLoadWithinLimit;
    std::array<uint8_t, kFlagByteCount> flagBytes_ = {};
    std::array<std::unique_ptr<CPartyMember>, kMaxMembers> members_;
    std::unique_ptr<CSupplyList> supplies_;
};
