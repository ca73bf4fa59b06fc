#include "game/travel/SceneChoices.h"

#include <array>

#include "engine/framework/Util.h"

namespace scene {

namespace {

// Crossing kinds, remembered as the last choice made.
constexpr int16_t kKindThird = 9, kKindFord = 11, kKindFerry = 23;
constexpr int16_t kUninformed = 10, kFordRain = 5, kFordOverload = 15, kHillPenalty = 25;
// Early landmarks with shallow rivers need no raft.
constexpr int16_t kRaftLandmark = 48, kRaftDepth = 24;

using ByCondition = std::array<int16_t, 5>;

// A value by condition 1..5; any other condition gives `other`.
int16_t ForCondition(const ByCondition& table, int16_t condition, int16_t other = 0)
{
    return condition >= 1 && condition <= 5 ? table[static_cast<size_t>(condition - 1)] : other;
}

int16_t Draw100() { return static_cast<int16_t>(CUtil::Random(1, 100)); }

// The failure outcomes of a crossing: A, and B when the second draw lies above X.
struct FailureRow {
    int16_t a, b, x;
};

FailureRow FailureFor(int16_t kind, int16_t d, int16_t k)
{
    static constexpr ByCondition kShallowX = {100, 100, 75, 50, 25};
    if (kind == kKindThird)
        return {15, 15, 100};
    if (d <= 24)
        return {11, 13, ForCondition(kShallowX, k)};
    if (kind == kKindFord) {
        if (d > 30)
            return {12, 10, ForCondition({100, 100, 50, 25, 0}, k)};
        static constexpr std::array<FailureRow, 5> kDeepFord = {
            {{11, 14, 75}, {11, 14, 50}, {14, 13, 50}, {14, 13, 25}, {13, 13, 0}}};
        return k >= 1 && k <= 5 ? kDeepFord[static_cast<size_t>(k - 1)] : FailureRow{13, 13, 0};
    }
    if (d > 30)
        return {10, 10, 100};
    if (k == 1)
        return {11, 11, 100};
    if (k >= 2 && k <= 4)
        return {11, 13, ForCondition({0, 75, 50, 25, 0}, k)};
    return {13, 13, 0};
}

int16_t CrossingKind(int32_t choice)
{
    switch (choice) {
    case kFord: return kKindFord;
    case kFerry: return kKindFerry;
    default: return kKindThird;
    }
}

// The choice's own chance, before the penalties and the skill bonus.
int32_t BaseCrossingChance(int32_t choice, const CrossingFacts& f)
{
    if (choice == kFord) {
        if (f.depthSteps < 5)
            return ForCondition({99, 97, 95, 85, 75}, f.condition);
        if (f.depthSteps == 5)
            return ForCondition({97, 95, 85, 75, 50}, f.condition);
        return 0;
    }
    if (choice == kFerry)
        return ForCondition({99, 99, 95, 90, 85}, f.condition);
    int32_t risk = f.supplyWeight / 4000 + f.width / 300;
    if (f.freezingDays > 20)
        risk /= 2;
    if (f.high > 32)
        risk += f.high - 32;
    return 100 - risk;
}

struct HillRow {
    int32_t choice;
    int16_t kind;
    ByCondition chance; // by difficulty 1..5
};
constexpr std::array<HillRow, 7> kHillRows = {{{351, 6, {97, 75, 50, 0, 0}},
                                               {352, 18, {97, 92, 75, 50, 0}},
                                               {353, 29, {97, 92, 87, 75, 50}},
                                               {354, 26, {75, 75, 75, 95, 90}},
                                               {356, 8, {97, 75, 50, 0, 0}},
                                               {357, 10, {97, 92, 75, 50, 0}},
                                               {358, 26, {75, 75, 97, 92, 85}}}};

const HillRow* FindHillRow(int32_t choice)
{
    for (const HillRow& row : kHillRows)
        if (row.choice == choice)
            return &row;
    return nullptr;
}

bool IsHillB(int32_t choice) { return choice >= 355; }

} // namespace

SharedChoiceState& GetSharedChoiceState()
{
    static SharedChoiceState state;
    return state;
}

void ResetSharedChoiceState() { GetSharedChoiceState() = SharedChoiceState{}; }

int16_t CrossingChance(int32_t choice, const CrossingFacts& facts)
{
    const int16_t kind = CrossingKind(choice);
    int32_t c = BaseCrossingChance(choice, facts);
    if (kind != kKindFerry && !GetSharedChoiceState().informed)
        c -= kUninformed;
    if (kind == kKindFord) {
        if (facts.precipToday != 0)
            c -= kFordRain;
        if (facts.overloaded)
            c -= kFordOverload;
    }
    if (facts.skilled)
        c += (100 - c) / 2;
    return static_cast<int16_t>(c);
}

ChoiceRoll RollCrossing(int32_t choice, const CrossingFacts& facts)
{
    const int16_t kind = CrossingKind(choice);
    GetSharedChoiceState().lastKind = kind;
    ChoiceRoll roll;
    roll.chance = CrossingChance(choice, facts);
    roll.outcome = 9;
    roll.success = Draw100() <= roll.chance;
    if (!roll.success) {
        const FailureRow row = FailureFor(kind, facts.depthSteps, facts.condition);
        roll.outcome = Draw100() > row.x ? row.b : row.a;
    }
    return roll;
}

int16_t HillChance(int32_t choice, const HillFacts& facts)
{
    const HillRow* row = FindHillRow(choice);
    int32_t c = row ? ForCondition(row->chance, facts.difficulty) : 0;
    if (!GetSharedChoiceState().informed)
        c -= kUninformed;
    if (facts.overloaded)
        c -= kHillPenalty;
    if (facts.wetOrSnow)
        c -= kHillPenalty;
    return static_cast<int16_t>(c);
}

ChoiceRoll RollHill(int32_t choice, const HillFacts& facts)
{
    const bool b = IsHillB(choice);
    if (const HillRow* row = FindHillRow(choice))
        GetSharedChoiceState().lastKind = row->kind;
    ChoiceRoll roll;
    roll.chance = HillChance(choice, facts);
    roll.outcome = b ? 1 : 5;
    if (Draw100() > roll.chance)
        roll.outcome = b ? 2 : 6;
    else if (Draw100() > roll.chance)
        roll.outcome = b ? 3 : 7;
    roll.success = roll.outcome == (b ? 1 : 5);
    return roll;
}

bool RaftNeedsModule(int16_t landmarkNumber, int16_t rawDepth)
{
    return landmarkNumber >= kRaftLandmark || rawDepth >= kRaftDepth;
}

int16_t AdviceIndex(int16_t difficulty, bool adviceFlag, bool snow, bool wetGround)
{
    int32_t index = adviceFlag ? difficulty - 1 : difficulty + 14;
    if (snow)
        index += 10;
    else if (wetGround)
        index += 5;
    return index < 0 || index > 30 ? 31 : static_cast<int16_t>(index);
}

std::string DepthText(int16_t depthSteps)
{
    const int32_t whole = depthSteps / 2;
    const std::string digits = std::to_string(whole < 0 ? -whole : whole);
    std::string text = whole < 0 ? "-" : "";
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    if (depthSteps % 2 != 0)
        text += ".5";
    return text;
}

std::optional<OutcomeEvent> EventForOutcome(int16_t outcome, std::optional<int16_t> difficulty,
                                            std::optional<int16_t> condition)
{
    const bool fordKind = GetSharedChoiceState().lastKind == kKindFord;
    auto mishap = [](int16_t type, int32_t spread, int32_t base, bool a, bool b) {
        return OutcomeEvent{false, type, static_cast<int16_t>(CUtil::Random(0, spread) + base), a, b};
    };
    switch (outcome) {
    case 2:
    case 6:
        if (difficulty)
            return mishap(90, 20, 5 * *difficulty, false, false);
        break;
    case 3:
    case 7:
        if (difficulty)
            return mishap(73, 20, 5 * *difficulty, false, false);
        break;
    case 10:
    case 13:
        if (condition)
            return mishap(90, 20, 2 * *condition, true, !fordKind);
        break;
    case 11: return OutcomeEvent{true, 94, 0, false, false};
    case 12:
    case 14:
        if (condition)
            return mishap(85, 30, 2 * *condition, true, !fordKind);
        break;
    case 15:
        if (condition)
            return mishap(96, 30, 5 * *condition, true, false);
        break;
    default: break;
    }
    return std::nullopt;
}

} // namespace scene
