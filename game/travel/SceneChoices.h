#pragma once
// The hill and river choices of a stop scene, apart from the screen: the chance each choice
// has from the node's hill record or river crossing, the weather and the party, the draws
// that decide it, the outcome code they leave and the route event an outcome raises when the
// scene is left. The scene frame gathers the facts and shows the result.
//
// Two values are shared by every stop scene for the whole program run: the crossing kind of
// the last choice and the informed flag, which a look (350, 355, 415) sets and which spares
// every later choice the uninformed penalty.
#include <cstdint>
#include <optional>
#include <string>

namespace scene {

// Choice messages of a stop scene.
constexpr int32_t kHillLookA = 350, kHillLookB = 355;
constexpr int32_t kFord = 416, kFerry = 417, kRiverThird = 418, kRiverLook = 415, kRaft = 414;

struct SharedChoiceState {
    int16_t lastKind = 0;
    bool informed = false;
};
SharedChoiceState& GetSharedChoiceState();
// Back to the program's start (tests).
void ResetSharedChoiceState();

// What a river choice depends on.
struct CrossingFacts {
    int16_t depthSteps = 0; // (raw depth + 5) / 6
    int16_t width = 0;
    int16_t condition = 0; // 1..5
    int32_t supplyWeight = 0;
    int16_t freezingDays = 0; // of the last 30
    int16_t high = 0;         // today's high temperature
    int16_t precipToday = 0;
    bool overloaded = false;
    bool skilled = false; // a travelling member has skill value 1
};

// What a hill choice depends on.
struct HillFacts {
    int16_t difficulty = 0; // 1..5; anything else gives the choice no chance
    bool overloaded = false;
    bool wetOrSnow = false;
};

struct ChoiceRoll {
    int16_t chance = 0;
    int16_t outcome = 0;
    bool success = false;
};

// The ford (416), the ferry (417) and the third choice (418): the chance, the success draw
// and on failure the outcome table's draw. Sets the last crossing kind. The ferry's fee is
// the caller's to charge.
ChoiceRoll RollCrossing(int32_t choice, const CrossingFacts& facts);
// Hill choices 351-354 (A) and 356-358 (B): both draws must lie at or below the chance.
ChoiceRoll RollHill(int32_t choice, const HillFacts& facts);
// The chance of a choice before its draws (exposed for the tables of tests).
int16_t CrossingChance(int32_t choice, const CrossingFacts& facts);
int16_t HillChance(int32_t choice, const HillFacts& facts);

// Rafting (414): a river before landmark 48 whose raw depth is below 24 is crossed without a
// raft (outcome 11, the scene left at once); any other goes to the rafting module.
bool RaftNeedsModule(int16_t landmarkNumber, int16_t rawDepth);

// The entry of "STR" 600074 that advises on a hill.
int16_t AdviceIndex(int16_t difficulty, bool adviceFlag, bool snow, bool wetGround);
// A depth in steps as feet: half the steps with thousands separators, ".5" when odd.
std::string DepthText(int16_t depthSteps);

// The event an outcome raises when the scene is left.
struct OutcomeEvent {
    bool routeEvent94 = false; // posted and run at once instead of a mishap
    int16_t type = 0;          // wagon mishap 90, 73, 85 or 96
    int16_t amount = 0;
    bool flagA = false;
    bool flagB = false;
};
// None for a success or an unknown outcome, and for an outcome that needs a value the node
// lacks: `difficulty` (a hill's) or `condition` (a river's) is empty when the node has no such
// record.
std::optional<OutcomeEvent> EventForOutcome(int16_t outcome, std::optional<int16_t> difficulty,
                                            std::optional<int16_t> condition);

} // namespace scene
