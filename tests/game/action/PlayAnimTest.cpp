#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/controls/Frame.h"
#include "engine/controls/anim/Sequence.h"
#include "engine/framework/Util.h"
#include "engine/graphics/CachedImages.h"
#include "engine/graphics/ImgSet.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/RleStretchDraw.h"
#include "game/action/PlayAnim.h"
#include "game/action/PlayItem.h"
#include "game/travel/AnimFigure.h"
#include "tests/engine/controls/anim/AnimTestKit.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/engine/resources/DefinitionText.h"
#include "tests/game/action/PhaseFrame.h"
#include "tests/support/RleFixtures.h"
#include "tests/support/TestEnv.h"

namespace {

using namespace animtest;
using Rows = std::vector<std::string>;

using playtest::PhaseFrame;

class Species : public CPlaySpecies {
public:
    int16_t GetWeightBound(int16_t index) const override { return index == 1 ? 5 : 0; }
};

// "RLS"/"SEQ"/"CEL" 40: three cels (4 x 2 of colour 1, 2 x 2 of colour 2 and 3); sixteen
// animations, animation n playing frame n (cel n mod 3) for 1 tick; frame 16 (animation 16)
// steps by (4, 6, 8) for 2 ticks. "RLS" 41: a two-cel strip image.
class PlayAnimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        deftext::InstallEngineStrings();
        std::vector<Anim> anims;
        std::vector<Frame> frames;
        for (int n = 0; n < 16; ++n) {
            anims.push_back({n, n, 1, 1});
            frames.push_back({n % 3, 0, 0, 0, 0, 0});
        }
        anims.push_back({16, 16, 1, 1});
        frames.push_back({0, 4, 6, 0, 2, 8});
        const std::vector<uint8_t> rls = qmtest::MakeRls(
            {{2, 4, {0x03, 1, 0x03, 1}}, {2, 2, {0x01, 2, 0x01, 2}}, {2, 2, {0x01, 3, 0x01, 3}}});
        const std::vector<uint8_t> strip = qmtest::MakeRls({{1, 3, {0x02, 4}}, {1, 3, {0x02, 5}}});
        deftext::AddFolderLibrary({{"RLS", 40, Text(rls)},
                                   {"SEQ", 40, Text(SeqBytes(anims, frames))},
                                   {"CEL", 40, Text(CelBytes({}))},
                                   {"RLS", 41, Text(strip)}});
        images = LoadRleImgSet(nullptr, 40, 0xFFFFFFFF, -1, false);
        CUtil::SetRandomSeed(7);
    }

    template <class Creature = CPlayAnimFrm> std::unique_ptr<Creature> Make(int16_t h = 100, int16_t v = 100)
    {
        auto creature = std::make_unique<Creature>(-2, CPoint(0, 0), &frame, images.get(), 40,
                                                   CRect(0, 0, 400, 640), &species);
        creature->MoveTo(h, v, 50);
        return creature;
    }

    PhaseFrame frame;
    Species species;
    std::unique_ptr<CImgSet> images;
};

} // namespace

TEST_F(PlayAnimTest, TheTurnTableTurnsOneStepAndClockwiseWhenFacingAway)
{
    const int16_t expected[8][8] = {
        {255, 2, 2, 2, 2, 8, 8, 8}, {1, 255, 3, 3, 3, 3, 1, 1}, {2, 2, 255, 4, 4, 4, 4, 2},
        {3, 3, 3, 255, 5, 5, 5, 5}, {6, 4, 4, 4, 255, 6, 6, 6}, {7, 7, 5, 5, 5, 255, 7, 7},
        {8, 8, 8, 6, 6, 6, 255, 8}, {1, 1, 1, 1, 7, 7, 7, 255},
    };
    for (int16_t from = 1; from <= 8; ++from) {
        for (int16_t to = 1; to <= 8; ++to)
            EXPECT_EQ(CPlayAnim::Turn(from, to), expected[from - 1][to - 1]) << from << "->" << to;
        // Facing away: the next direction is one step clockwise.
        EXPECT_EQ(CPlayAnim::Turn(from, static_cast<int16_t>((from + 3) % 8 + 1)), from % 8 + 1) << from;
    }
    EXPECT_EQ(CPlayAnim::Turn(0, 3), CPlayAnim::kFacing);
}

TEST_F(PlayAnimTest, NextDirectionFollowsTheOrientationOrTheFlagsAtOnce)
{
    struct Case {
        int16_t current;
        uint16_t flags;
        int16_t orientation;
        int16_t next;
    } cases[] = {
        {3, CPlayAnim::kUp, CPlayAnim::kVertical, 2},
        {3, CPlayAnim::kDown, CPlayAnim::kVertical, 4},
        {1, CPlayAnim::kLeft, CPlayAnim::kHorizontal, 8},
        {7, CPlayAnim::kLeft, CPlayAnim::kHorizontal, 255},
        {1, CPlayAnim::kDown | CPlayAnim::kRight, CPlayAnim::kDiagonal, 2},
        {5, CPlayAnim::kUp | CPlayAnim::kLeft, CPlayAnim::kDiagonal, 6},
        {5, CPlayAnim::kUp, CPlayAnim::kDiagonal, 255}, // no diagonal pair
        // Without a direction the flags name one at once.
        {0, 1, 3, 1},
        {0, 2, 3, 3},
        {0, 3, 3, 2},
        {0, 4, 3, 5},
        {0, 6, 3, 4},
        {0, 8, 3, 7},
        {0, 9, 3, 8},
        {0, 12, 3, 6},
        {0, 0, 3, 5},
        {0, 5, 3, 5},
    };
    auto creature = Make();
    for (const Case& c : cases) {
        creature->SetDirection(c.current);
        EXPECT_EQ(creature->NextDirection(c.flags, c.orientation), c.next) << c.current << "/" << c.flags;
    }
}

TEST_F(PlayAnimTest, AnimationForOfBothClasses)
{
    struct Case {
        int16_t direction;
        int16_t animation;
        bool flipped;
    } plain[] = {{2, 2, false}, {4, 4, false}, {5, 5, false}, {6, 4, true}, {7, 3, true},
                 {8, 2, true},  {0, 0, true},  {1, 1, true},  {5, 5, true}, {255, 255, true}};
    auto a = Make<CPlayAnim>();
    for (const Case& c : plain) {
        EXPECT_EQ(a->AnimationFor(c.direction), c.animation) << c.direction;
        EXPECT_EQ(a->IsFlipped(), c.flipped) << c.direction; // 1 and 5 keep the mirroring
    }
    struct TurnCase {
        int16_t previous, direction, animation;
    } turns[] = {{1, 2, 1}, {7, 8, 7}, {8, 1, 0}, {3, 2, 15}, {1, 8, 9}, {2, 1, 8}, {4, 4, 13}, {5, 0, 255}};
    auto f = Make<CPlayAnimFrm>();
    for (const TurnCase& c : turns) {
        f->SetDirection(c.previous);
        EXPECT_EQ(f->AnimationFor(c.direction), c.animation) << c.previous << "->" << c.direction;
        EXPECT_FALSE(f->IsFlipped());
    }
}

TEST_F(PlayAnimTest, NearAndArrivedRanges)
{
    struct Case {
        int16_t dx, dy;
        int32_t speedClass;
        bool arrived;
    } cases[] = {
        {0, 28, CPlayAnim::kCruise, true}, // 28 down is not near, but arrived (below 29)
        {0, 27, CPlayAnim::kSlow, true},    {27, 0, CPlayAnim::kSlow, true},
        {28, 0, CPlayAnim::kCruise, true},  {0, 29, CPlayAnim::kCruise, false},
        {29, 0, CPlayAnim::kCruise, false},
    };
    for (const Case& c : cases) {
        auto creature = Make();
        creature->SetHome(CRect(0, 0, 400, 640));
        creature->MoveToward(static_cast<int16_t>(100 + c.dx), static_cast<int16_t>(100 + c.dy), 50);
        EXPECT_EQ(creature->GetSpeedClass(), c.speedClass) << c.dx << "," << c.dy;
        EXPECT_EQ(creature->HasArrived(), c.arrived) << c.dx << "," << c.dy;
    }
}

TEST_F(PlayAnimTest, ATurnSelectsItsAnimationAndPausesTheSteering)
{
    auto creature = Make();
    creature->SetHome(CRect(0, 0, 400, 640));
    creature->SetDirection(1);
    // Goal far below: facing away, the creature turns clockwise to 2 (animation 1).
    creature->MoveToward(100, 300, 50);
    EXPECT_EQ(creature->GetDirection(), 2);
    EXPECT_EQ(creature->GetShownAnimation(), 1);
    EXPECT_EQ(creature->GetPauseCount(), 2);
    // The pause: two steps without steering.
    creature->MoveToward(100, 300, 50);
    creature->MoveToward(100, 300, 50);
    EXPECT_EQ(creature->GetDirection(), 2);
    EXPECT_EQ(creature->GetPauseCount(), 0);
    creature->MoveToward(100, 300, 50);
    EXPECT_EQ(creature->GetDirection(), 3);
}

TEST_F(PlayAnimTest, TheDepthGoalIsClampedIntoFloorAndCeiling)
{
    struct Case {
        int16_t goalZ;
        int16_t z;
    } cases[] = {{200, 52}, {0, 48}, {60, 52}};
    for (const Case& c : cases) {
        auto creature = Make();
        creature->SetHome(CRect(0, 0, 400, 640));
        creature->SetDirection(5);
        creature->SetAnimation(4); // a frame without steps
        creature->SetDepthRange(30, 75);
        creature->MoveToward(100, 300, c.goalZ); // straight down, moving: the flags' 2 in depth
        EXPECT_EQ(creature->GetZ(), c.z) << c.goalZ;
    }
    auto low = Make();
    low->SetDirection(5);
    low->SetAnimation(4);
    low->SetDepthRange(60, 75); // 50 lies at or below the floor: the creature goes deeper
    low->MoveToward(100, 300, 40);
    EXPECT_EQ(low->GetZ(), 52);
}

TEST_F(PlayAnimTest, SpeedClassesScaleTheStepsAndClassTwoDoublesTheDelay)
{
    struct Case {
        int32_t speedClass;
        int16_t dh, dv, dz;
        uint32_t delay;
    } cases[] = {{1, 0, 0, 0, 2}, {2, 3, 4, 5, 4}, {3, 6, 8, 10, 2}, {4, 12, 16, 20, 2}, {5, 24, 32, 40, 2}};
    for (const Case& c : cases) {
        auto creature = Make();
        creature->SetAnimation(16);
        creature->SetSpeedClass(c.speedClass);
        const uint32_t now = creature->GetStopwatch()->Elapsed();
        // Frame steps (4, 6, 8) plus 2 right, 2 down and 2 deeper.
        creature->Animate(true, CPlayAnim::kRight | CPlayAnim::kDown | CPlayAnim::kDeeper);
        EXPECT_EQ(creature->GetH() - 100, c.dh) << c.speedClass;
        EXPECT_EQ(creature->GetV() - 100, c.dv) << c.speedClass;
        EXPECT_EQ(creature->GetZ() - 50, c.dz) << c.speedClass;
        EXPECT_EQ(creature->GetNextDue() - now, c.delay) << c.speedClass;
    }
    // Half a negative step rounds down (arithmetic shift): 2 left at class 2 is -1, flags only.
    auto creature = Make();
    creature->SetAnimation(16);
    creature->SetSpeedClass(2);
    creature->Animate(false, CPlayAnim::kLeft | CPlayAnim::kShallower);
    EXPECT_EQ(creature->GetH(), 99);
    EXPECT_EQ(creature->GetZ(), 49);
}

TEST_F(PlayAnimTest, PickWeightDrawsTheMeanOfThreeUpToTheBoundInTenths)
{
    std::vector<std::string> draws;
    CUtil::SetDrawSource([&](int32_t lo, int32_t hi, int32_t n) {
        draws.push_back(std::to_string(lo) + ".." + std::to_string(hi) + "x" + std::to_string(n));
        return 37;
    });
    auto creature = Make();
    draws.clear();
    creature->PickWeight(1);
    CUtil::SetDrawSource(nullptr);
    EXPECT_EQ(draws, (std::vector<std::string>{"20..50x3"}));
    EXPECT_EQ(creature->GetWeightIndex(), 1);
    EXPECT_EQ(creature->GetWeightWhole(), 3);
    EXPECT_EQ(creature->GetWeightTenths(), 7);
}

TEST_F(PlayAnimTest, CreaturesDrawOnlyInTheCatchPhase)
{
    auto creature = Make();
    creature->ShowCel(1);
    for (const int16_t phase : {0, 1, 3, 2}) {
        frame.phase = phase;
        COffScEnv env;
        env.Init(CRect(0, 0, 400, 640), nullptr, false);
        creature->DrawContent(&env, creature->GetDrawnRect());
        const Rows rows = qmtest::Pixels(*env.GetBitmap());
        EXPECT_EQ(rows[100].substr(100, 2), phase == 2 ? "22" : "..") << phase;
        EXPECT_EQ(creature->GetDrawnCel(), phase == 2 ? 1 : 0) << phase;
    }
}

TEST_F(PlayAnimTest, StripsSitSideBySideAndStepEveryTenTicksWrapping)
{
    CFrame owner(CFrame::kKindFrame, 91, CRect(0, 0, 400, 640), false);
    CPlayItem item(&owner, 41);
    item.SetZ(7);
    item.Build();
    ASSERT_NE(item.GetStrip(1), nullptr);
    EXPECT_EQ(item.GetStrip(0)->GetH(), 0);
    EXPECT_EQ(item.GetStrip(1)->GetH(), 3);
    EXPECT_EQ(item.GetStrip(1)->GetZ(), 7);
    std::string cels;
    for (int t = 0; t < 31; ++t) {
        item.Step();
        cels += std::to_string(item.GetStrip(0)->GetCel()) + std::to_string(item.GetStrip(1)->GetCel());
        qmtest::Clock().Advance(17);
    }
    // Two cels: a step at ticks 0, 10, 20 and 30, wrapping.
    std::string expected;
    for (const char* cel : {"1", "0", "1"})
        for (int t = 0; t < 10; ++t)
            expected += std::string(cel) + cel;
    EXPECT_EQ(cels, expected + "00");
}

TEST_F(PlayAnimTest, StripDrawKindsAndAStripWithoutItsImage)
{
    EXPECT_EQ(CPlayAnimator::RoutineFor(1), &DrawRleRemapped);
    EXPECT_EQ(CPlayAnimator::RoutineFor(2), &DrawRleBlended);
    EXPECT_EQ(CPlayAnimator::RoutineFor(0), &DrawRleStretched);
    EXPECT_EQ(CPlayAnimator::RoutineFor(3), &DrawRleStretched);
    CFrame owner(CFrame::kKindFrame, 91, CRect(0, 0, 400, 640), false);
    CPlayItem missing(&owner, 99);
    missing.Build();
    missing.Step();
    EXPECT_EQ(missing.GetStrip(0), nullptr);
}
