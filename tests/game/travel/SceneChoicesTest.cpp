// The stop scene's hill and river choices with scripted draws: their chances, the draws that
// decide them, the failure outcome table and the events outcomes raise.
#include <gtest/gtest.h>

#include <optional>

#include "game/travel/SceneChoices.h"
#include "tests/game/travel/TravelFixture.h"

namespace {

using namespace scene;
using traveltest::ScriptedDraws;

class SceneChoicesTest : public ::testing::Test {
protected:
    void SetUp() override { ResetSharedChoiceState(); }
    void TearDown() override { ResetSharedChoiceState(); }
};

CrossingFacts River(int16_t depthSteps, int16_t condition)
{
    CrossingFacts f;
    f.depthSteps = depthSteps;
    f.condition = condition;
    f.width = 200;
    return f;
}

TEST_F(SceneChoicesTest, TheFordsChanceFollowsDepthAndConditionThenThePenalties)
{
    GetSharedChoiceState().informed = true;
    struct Case {
        int16_t depth, condition, chance;
    };
    for (const Case& c : {Case{4, 1, 99}, Case{4, 5, 75}, Case{5, 1, 97}, Case{5, 5, 50}, Case{6, 1, 0},
                          Case{30, 3, 0}, Case{3, 0, 0}, Case{3, 6, 0}})
        EXPECT_EQ(CrossingChance(kFord, River(c.depth, c.condition)), c.chance)
            << c.depth << " " << c.condition;

    CrossingFacts wet = River(4, 1);
    wet.precipToday = 2;
    wet.overloaded = true;
    EXPECT_EQ(CrossingChance(kFord, wet), 99 - 5 - 15);
    EXPECT_EQ(CrossingChance(kFerry, wet), 99) << "rain and load weigh on the ford alone";
    // Skill 1 halves the risk left: 80 becomes 90; only the skill raises a ford too deep.
    CrossingFacts eighty = River(4, 4);
    eighty.precipToday = 1;
    EXPECT_EQ(CrossingChance(kFord, eighty), 80);
    eighty.skilled = true;
    EXPECT_EQ(CrossingChance(kFord, eighty), 90);
    CrossingFacts deep = River(9, 1);
    deep.skilled = true;
    EXPECT_EQ(CrossingChance(kFord, deep), 50);
}

TEST_F(SceneChoicesTest, TheUninformedPenaltyEndsWithTheFirstLookOfTheRun)
{
    EXPECT_EQ(CrossingChance(kFord, River(4, 1)), 89);
    EXPECT_EQ(CrossingChance(kFerry, River(4, 1)), 99) << "the ferryman knows the river";
    EXPECT_EQ(HillChance(351, HillFacts{1, false, false}), 87);
    GetSharedChoiceState().informed = true; // any look, at any stop
    EXPECT_EQ(CrossingChance(kFord, River(4, 1)), 99);
    EXPECT_EQ(HillChance(351, HillFacts{1, false, false}), 97);
}

TEST_F(SceneChoicesTest, TheThirdRiverChoiceWeighsLoadWidthFrostAndHeat)
{
    GetSharedChoiceState().informed = true;
    CrossingFacts f = River(3, 3);
    f.supplyWeight = 8000; // 2
    f.width = 900;         // 3
    EXPECT_EQ(CrossingChance(kRiverThird, f), 95);
    f.freezingDays = 21;
    EXPECT_EQ(CrossingChance(kRiverThird, f), 98);
    f.high = 40;
    EXPECT_EQ(CrossingChance(kRiverThird, f), 90);
}

TEST_F(SceneChoicesTest, ACrossingSucceedsUpToItsChanceAndFailsAboveIt)
{
    GetSharedChoiceState().informed = true;
    ScriptedDraws draws;
    draws.Draw(1, 100, 50); // the chance of a depth-5, condition-5 ford is 50
    ChoiceRoll roll = RollCrossing(kFord, River(5, 5));
    EXPECT_TRUE(roll.success);
    EXPECT_EQ(roll.outcome, 9);
    EXPECT_EQ(GetSharedChoiceState().lastKind, 11);
    draws.Draw(1, 100, 51).Draw(1, 100, 1);
    roll = RollCrossing(kFord, River(5, 5));
    EXPECT_FALSE(roll.success);
    EXPECT_EQ(roll.outcome, 11);
}

TEST_F(SceneChoicesTest, EveryRowOfTheFailureTableGivesAUpToItsLimitAndBAboveIt)
{
    GetSharedChoiceState().informed = true;
    // A failed crossing's second draw: outcome A up to X, B above it, by the kind of crossing,
    // the depth in steps and the condition (0 and 6 stand for any other condition).
    struct Row {
        int32_t choice;
        int16_t depth, condition, a, b, x;
    };
    const Row rows[] = {{kRiverThird, 2, 1, 15, 15, 100},
                        {kRiverThird, 40, 0, 15, 15, 100},
                        // The ford and the ferry up to 24 steps deep.
                        {kFord, 3, 1, 11, 13, 100},
                        {kFord, 24, 2, 11, 13, 100},
                        {kFord, 5, 3, 11, 13, 75},
                        {kFord, 24, 4, 11, 13, 50},
                        {kFord, 24, 5, 11, 13, 25},
                        {kFord, 24, 0, 11, 13, 0},
                        {kFerry, 24, 1, 11, 13, 100},
                        {kFerry, 1, 2, 11, 13, 100},
                        {kFerry, 24, 3, 11, 13, 75},
                        {kFerry, 24, 4, 11, 13, 50},
                        {kFerry, 24, 5, 11, 13, 25},
                        {kFerry, 24, 6, 11, 13, 0},
                        // 25 to 30 steps.
                        {kFord, 25, 1, 11, 14, 75},
                        {kFord, 30, 2, 11, 14, 50},
                        {kFord, 25, 3, 14, 13, 50},
                        {kFord, 30, 4, 14, 13, 25},
                        {kFord, 25, 5, 13, 13, 0},
                        {kFord, 30, 0, 13, 13, 0},
                        {kFerry, 25, 1, 11, 11, 100},
                        {kFerry, 30, 2, 11, 13, 75},
                        {kFerry, 25, 3, 11, 13, 50},
                        {kFerry, 30, 4, 11, 13, 25},
                        {kFerry, 25, 5, 13, 13, 0},
                        {kFerry, 30, 0, 13, 13, 0},
                        // Above 30 steps.
                        {kFord, 31, 1, 12, 10, 100},
                        {kFord, 31, 2, 12, 10, 100},
                        {kFord, 31, 3, 12, 10, 50},
                        {kFord, 31, 4, 12, 10, 25},
                        {kFord, 31, 5, 12, 10, 0},
                        {kFord, 31, 0, 12, 10, 0},
                        {kFerry, 31, 1, 10, 10, 100},
                        {kFerry, 99, 5, 10, 10, 100},
                        {kFerry, 31, 0, 10, 10, 100}};
    ScriptedDraws draws;
    for (const Row& r : rows) {
        CrossingFacts f = River(r.depth, r.condition);
        f.supplyWeight = 400000; // the third choice fails too
        for (int16_t second : {r.x, static_cast<int16_t>(r.x + 1)}) {
            if (second < 1 || second > 100)
                continue;
            draws.Draw(1, 100, 100).Draw(1, 100, second);
            const ChoiceRoll roll = RollCrossing(r.choice, f);
            EXPECT_FALSE(roll.success);
            EXPECT_EQ(roll.outcome, second <= r.x ? r.a : r.b)
                << r.choice << " depth " << r.depth << " condition " << r.condition << " second draw "
                << second;
        }
    }
}

TEST_F(SceneChoicesTest, ARaftNeedsTheRaftingModuleFromLandmark48OnOrARawDepthOf24)
{
    struct Case {
        int16_t landmark, rawDepth;
        bool module;
    };
    for (const Case& c : {Case{47, 23, false}, Case{47, 24, true}, Case{48, 23, true}, Case{48, 24, true},
                          Case{2, 1, false}, Case{60, 1, true}})
        EXPECT_EQ(RaftNeedsModule(c.landmark, c.rawDepth), c.module) << c.landmark << " " << c.rawDepth;
}

TEST_F(SceneChoicesTest, AHillChoiceNeedsBothDrawsAtOrBelowItsChance)
{
    GetSharedChoiceState().informed = true;
    const HillFacts easy{2, false, false}; // 351: 75
    ScriptedDraws draws;
    draws.Draw(1, 100, 75).Draw(1, 100, 75);
    EXPECT_EQ(RollHill(351, easy).outcome, 5);
    draws.Draw(1, 100, 76);
    EXPECT_EQ(RollHill(351, easy).outcome, 6);
    draws.Draw(1, 100, 10).Draw(1, 100, 76);
    const ChoiceRoll second = RollHill(351, easy);
    EXPECT_EQ(second.outcome, 7);
    EXPECT_FALSE(second.success);
    draws.Draw(1, 100, 10).Draw(1, 100, 90);
    EXPECT_EQ(RollHill(358, HillFacts{3, false, false}).outcome, 1) << "358 at difficulty 3 has 97";
    EXPECT_EQ(GetSharedChoiceState().lastKind, 26);

    EXPECT_EQ(HillChance(353, HillFacts{5, true, true}), 0);
    EXPECT_EQ(HillChance(353, HillFacts{0, false, false}), 0) << "a difficulty outside 1-5 has no chance";
    EXPECT_EQ(HillChance(356, HillFacts{6, false, false}), 0);
}

TEST_F(SceneChoicesTest, AdviceAndDepthTexts)
{
    struct Case {
        int16_t difficulty;
        bool flag, snow, wet;
        int16_t index;
    };
    for (const Case& c :
         {Case{1, true, false, false, 0}, Case{5, true, true, true, 14}, Case{5, true, false, true, 9},
          Case{1, false, false, false, 15}, Case{5, false, true, false, 29}, Case{0, true, false, false, 31},
          Case{7, false, true, false, 31}})
        EXPECT_EQ(AdviceIndex(c.difficulty, c.flag, c.snow, c.wet), c.index)
            << c.difficulty << c.flag << c.snow;
    EXPECT_EQ(DepthText(0), "0");
    EXPECT_EQ(DepthText(7), "3.5");
    EXPECT_EQ(DepthText(2468), "1,234");
    EXPECT_EQ(DepthText(32767), "16,383.5");
}

TEST_F(SceneChoicesTest, OutcomesRaiseTheirMishapsOnlyWithTheValueTheyNeed)
{
    ScriptedDraws draws;
    GetSharedChoiceState().lastKind = 23;
    draws.Draw(0, 20, 4);
    std::optional<OutcomeEvent> e = EventForOutcome(6, 3, std::nullopt);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->type, 90);
    EXPECT_EQ(e->amount, 19);
    draws.Draw(0, 20, 0);
    EXPECT_EQ(EventForOutcome(3, 1, std::nullopt)->type, 73);
    draws.Draw(0, 20, 1);
    e = EventForOutcome(13, std::nullopt, 4);
    EXPECT_EQ(e->amount, 9);
    EXPECT_TRUE(e->flagA);
    EXPECT_TRUE(e->flagB) << "the last crossing was no ford";
    GetSharedChoiceState().lastKind = 11;
    draws.Draw(0, 30, 2);
    e = EventForOutcome(14, std::nullopt, 2);
    EXPECT_EQ(e->type, 85);
    EXPECT_EQ(e->amount, 6);
    EXPECT_FALSE(e->flagB);
    draws.Draw(0, 30, 0);
    e = EventForOutcome(15, std::nullopt, 3);
    EXPECT_EQ(e->type, 96);
    EXPECT_EQ(e->amount, 15);
    EXPECT_TRUE(EventForOutcome(11, std::nullopt, 1)->routeEvent94);
    for (int16_t none : {0, 1, 5, 9, 16})
        EXPECT_FALSE(EventForOutcome(none, 2, 2)) << none;
    // A hill's outcome at a river and a river's at a hill raise nothing and draw nothing.
    EXPECT_FALSE(EventForOutcome(2, std::nullopt, 3));
    EXPECT_FALSE(EventForOutcome(12, 3, std::nullopt));
}

} // namespace
