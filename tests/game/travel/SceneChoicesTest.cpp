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

TEST_F(SceneChoicesTest, ACrossingFailsAboveItsChanceAndItsSecondDrawPicksTheOutcome)
{
    GetSharedChoiceState().informed = true;
    ScriptedDraws draws;
    draws.Draw(1, 100, 50); // the chance of a depth-5, condition-5 ford is 50
    ChoiceRoll roll = RollCrossing(kFord, River(5, 5));
    EXPECT_TRUE(roll.success);
    EXPECT_EQ(roll.outcome, 9);
    EXPECT_EQ(GetSharedChoiceState().lastKind, 11);

    struct Case {
        int32_t choice;
        int16_t depth, condition, secondDraw, outcome;
    };
    // Rows of the failure table: A up to X, B above it.
    for (const Case& c :
         {Case{kFord, 5, 3, 75, 11}, Case{kFord, 5, 3, 76, 13}, Case{kFord, 26, 1, 76, 14},
          Case{kFord, 26, 3, 50, 14}, Case{kFord, 26, 5, 1, 13}, Case{kFord, 31, 2, 100, 12},
          Case{kFord, 31, 3, 51, 10}, Case{kFerry, 26, 1, 100, 11}, Case{kFerry, 27, 4, 26, 13},
          Case{kFerry, 31, 5, 100, 10}, Case{kRiverThird, 2, 1, 100, 15}}) {
        CrossingFacts f = River(c.depth, c.condition);
        f.supplyWeight = 400000; // the third choice fails too
        draws.Draw(1, 100, 100).Draw(1, 100, c.secondDraw);
        roll = RollCrossing(c.choice, f);
        EXPECT_FALSE(roll.success);
        EXPECT_EQ(roll.outcome, c.outcome)
            << c.choice << " depth " << c.depth << " condition " << c.condition;
    }
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
