#pragma once
// How the trip status screen rates a journey: the six panels (people lost, average health,
// morale, money, supplies, days on the route), each rated good, fair or poor with its
// narration and score, and the closing and final pictures the score earns at the end of the
// route.
#include <cstdint>

class CParty;

namespace tripstatus {

constexpr int16_t kPanelCount = 6;
// Entries of a panel's string list.
enum Rating : int16_t { kGood = 0, kFair = 1, kPoor = 2 };
// What a poor rating counts against: people, health and morale are trouble, money and
// supplies are want; the days count against nothing.
enum class Counter { kNone, kTrouble, kWant };

struct PanelRating {
    Rating rating = kPoor;
    // The narration: three per panel, in panel order (good, fair, poor).
    int32_t sound = 0;
    // 2 for good, 1 for fair, 0 for poor.
    int16_t goodPoints = 0;
    // The counter a poor rating adds to (kNone otherwise).
    Counter counter = Counter::kNone;
};

constexpr int32_t kFirstPanelSound = 518271;

// The health of every member, the dead included, summed in 16 bits and divided by the member
// count; 0 for a party without members.
int16_t AverageHealth(const CParty& party);
// Panel 1-6 of the party (none: every measure 0) after the days on the route.
PanelRating RatePanel(int16_t panel, const CParty* party, int16_t daysOnRoute);

// What a click after the panels shows (step 6): the picture, its narration (0: none) and the
// step that follows.
struct ClosingPicture {
    int32_t image = 0;
    int32_t sound = 0;
    int16_t nextStep = 0;
};
// The route is completed from node 189 on.
constexpr int16_t kLastNode = 189;
ClosingPicture ChooseClosingPicture(int16_t goodPoints, int16_t trouble, int16_t want, bool completed);
// The final picture (step 7) by the score, with one random draw among its variants.
int32_t ChooseFinalPicture(int16_t goodPoints);

} // namespace tripstatus
