#include "game/shell/TripRating.h"

#include <cstdint>

#include "engine/framework/Util.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/SupplyList.h"

namespace tripstatus {

namespace {

// A panel's limits: a measure at or past `good` rates good, at or past `fair` fair. For the
// measures where less is better (people lost, days) "past" means at or below.
struct Limits {
    double good;
    double fair;
    bool lessIsBetter;
    Counter counter;
};

constexpr Limits kLimits[kPanelCount] = {
    {0, 1, true, Counter::kTrouble},       // people lost: none, exactly one
    {750, 350, false, Counter::kTrouble},  // average health
    {60, 35, false, Counter::kTrouble},    // morale
    {400.0, 200.0, false, Counter::kWant}, // money
    {60, 20, false, Counter::kWant},       // entries in the supplies list
    {159, 199, true, Counter::kNone},      // days on the route: below 160, below 200
};

double Measure(int16_t panel, const CParty* party, int16_t daysOnRoute)
{
    if (panel == 6)
        return daysOnRoute;
    if (!party)
        return 0;
    switch (panel) {
    case 1: return static_cast<int16_t>(party->CountMembers(false) - party->CountMembers(true));
    case 2: return AverageHealth(*party);
    case 3: return party->GetMorale();
    case 4: return party->GetMoney();
    default: return party->GetSupplies() ? party->GetSupplies()->GetCount() : 0;
    }
}

bool Reaches(double value, double limit, bool lessIsBetter)
{
    return lessIsBetter ? value <= limit : value >= limit;
}

} // namespace

int16_t AverageHealth(const CParty& party)
{
    const int16_t count = party.CountMembers(false);
    // A party without members has no health to average: it rates poor rather than dividing
    // by zero.
    if (count <= 0)
        return 0;
    uint16_t sum = 0;
    for (int16_t slot = 0; slot < count; ++slot)
        if (const CPartyMember* member = party.GetMember(slot))
            sum = static_cast<uint16_t>(sum + static_cast<uint16_t>(member->GetHealth()));
    return static_cast<int16_t>(static_cast<int16_t>(sum) / count);
}

PanelRating RatePanel(int16_t panel, const CParty* party, int16_t daysOnRoute)
{
    PanelRating result;
    if (panel < 1 || panel > kPanelCount)
        return result;
    const Limits& limits = kLimits[panel - 1];
    const double value = Measure(panel, party, daysOnRoute);
    if (Reaches(value, limits.good, limits.lessIsBetter)) {
        result.rating = kGood;
        result.goodPoints = 2;
    } else if (Reaches(value, limits.fair, limits.lessIsBetter)) {
        result.rating = kFair;
        result.goodPoints = 1;
    } else {
        result.rating = kPoor;
        result.counter = limits.counter;
    }
    result.sound = kFirstPanelSound + 3 * (panel - 1) + result.rating;
    return result;
}

ClosingPicture ChooseClosingPicture(int16_t goodPoints, int16_t trouble, int16_t want, bool completed)
{
    if (!completed)
        return {9030, 0, 7};
    if (trouble >= 3)
        return {9000, 518292, 8};
    if (want >= 2)
        return {9010, 518293, 8};
    // Below 5, 7, 9, 11 and the rest: pictures 9201-9205 with sounds 518294-518298.
    int32_t band = 0;
    for (int16_t limit : {5, 7, 9, 11})
        if (goodPoints >= limit)
            ++band;
    return {9201 + band, 518294 + band, 7};
}

int32_t ChooseFinalPicture(int16_t goodPoints)
{
    if (goodPoints < 5)
        return 9020 + 20 * CUtil::Random(0, 1);
    int32_t first = 9140;
    if (goodPoints < 7)
        first = 9050;
    else if (goodPoints < 9)
        first = 9080;
    else if (goodPoints < 11)
        first = 9110;
    return first + 10 * CUtil::Random(0, 2);
}

} // namespace tripstatus
