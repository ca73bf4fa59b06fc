#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/controls/Frame.h"
#include "engine/framework/Stopwatch.h"
#include "engine/framework/Util.h"
#include "engine/graphics/CachedImages.h"
#include "engine/graphics/ImgSet.h"
#include "engine/graphics/OffScEnv.h"
#include "game/action/PlaySceneObj.h"
#include "game/action/PlaySprites.h"
#include "game/action/PlayTargets.h"
#include "game/travel/AnimFigure.h"
#include "tests/engine/controls/anim/AnimTestKit.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/engine/resources/DefinitionText.h"
#include "tests/game/action/PhaseFrame.h"
#include "tests/support/RleFixtures.h"
#include "tests/support/TestEnv.h"

namespace {

using namespace animtest;

using playtest::PhaseFrame;

// Settings 9500 (marker 600, type list 700, lure 613, landing sound 20); two types, "Pike"
// (record 501: weight 9, turning 1, bands 0..1) and "Trout" (record 500: weight 5, margin 10,
// bands 1..3); the scene record 300; every sprite image a 4 x 2 cel with one still frame.
class PlayTargetsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        deftext::InstallEngineStrings();
        std::string settings;
        for (int i = 0; i < 22; ++i)
            settings += std::to_string(i == 6 ? 600 : i == 7 ? 700 : i == 13 ? 613 : i) + "\n";
        const std::string rls = Text(qmtest::MakeRls({{2, 4, {0x03, 1, 0x03, 1}}}));
        const std::string seq = Text(SeqBytes({{0, 0, 1, 1}}, {{0, 0, 0, 0, 0, 0}}));
        std::vector<deftext::Resource> resources = {
            {"STR", 9500, settings},
            {"STR", 700, "Pike\n501\n801\nTrout\n500\n800\n"},
            {"STR", 500, "trout\n5\n0\n4\n2\n10\n20\n2\n1\n3\n"},
            {"STR", 501, "pike\n9\n1\n6\n3\n0\n20\n2\n0\n1\n"},
            {"STR", 300, "Pool\nBank\n0\n0\n900\nweeds\nend\n110\n"},
            {"STR", 301, "Pool\nBank\n0\n0\n900\nweeds\n110\n"},
        };
        for (const int id : {500, 501, 600, 613}) {
            resources.push_back({"RLS", id, rls});
            resources.push_back({"SEQ", id, seq});
            resources.push_back({"CEL", id, Text(CelBytes({}))});
        }
        deftext::AddFolderLibrary(resources);
        CUtil::SetRandomSeed(11);
    }

    std::unique_ptr<CPlayTargetSet> Set(int16_t maxDepth = 110)
    {
        auto set = std::make_unique<CPlayTargetSet>(CRect(0, 0, 400, 640), &frame, maxDepth);
        set->LoadTypes({"Pike", "Carp", "Trout"}, 700);
        return set;
    }

    // Scripts every draw to answer `value`, noting "lo..hi".
    void ScriptDraws(int32_t value)
    {
        CUtil::SetDrawSource([this, value](int32_t lo, int32_t hi, int32_t) {
            draws += std::to_string(lo) + ".." + std::to_string(hi) + " ";
            return lo <= value && value <= hi ? value : lo;
        });
    }
    void TearDown() override { CUtil::SetDrawSource(nullptr); }

    PhaseFrame frame;
    std::string draws;
};

} // namespace

TEST_F(PlayTargetsTest, TheSceneRecordsMaximumDepthFollowsItsEndLine)
{
    CPlaySceneObj scene(300);
    scene.Load();
    EXPECT_EQ(scene.GetBackgroundId(), 900);
    EXPECT_EQ(scene.GetMaxDepth(), 110);
    CPlaySceneObj noEnd(301);
    noEnd.Load();
    EXPECT_EQ(noEnd.GetMaxDepth(), 0);
}

TEST_F(PlayTargetsTest, TypesAreBuiltForTheNamesTheListHolds)
{
    auto set = Set();
    ASSERT_EQ(set->GetTypeCount(), 2); // "Carp" is not in the list
    EXPECT_EQ(set->GetType(0)->name, "Pike");
    EXPECT_EQ(set->GetType(0)->id, 501);
    EXPECT_EQ(set->GetType(0)->pictureId, 801);
    EXPECT_EQ(set->GetType(0)->bands, 1);
    EXPECT_EQ(set->GetType(0)->turning, 1);
    const PlayTargetType* trout = set->GetType(1);
    EXPECT_EQ(trout->maxWeight, 5);
    EXPECT_EQ(trout->highSpeed, 4);
    EXPECT_EQ(trout->lowSpeed, 2);
    EXPECT_EQ(trout->home, CRect(-10, -10, 410, 650));
    EXPECT_EQ(trout->nearRange, 20);
    EXPECT_EQ(trout->turnPause, 2);
    EXPECT_EQ(trout->bands, 2);
    EXPECT_EQ(set->GetWeightBound(1), 5);
    EXPECT_EQ(set->GetWeightBound(2), 0);
}

TEST_F(PlayTargetsTest, BandsAndTheirLayers)
{
    struct BandCase {
        int32_t first, end;
        uint16_t bands;
    } bandCases[] = {{1, 3, 2}, {0, 4, 7}, {3, 4, 4}, {2, 3, 0}, {0, 1, 1}};
    for (const BandCase& c : bandCases)
        EXPECT_EQ(CPlayTargetSet::BandsFrom(c.first, c.end), c.bands) << c.first << ".." << c.end;
    struct LayerCase {
        uint16_t bands;
        int32_t drawn; // the layer a random choice answers
        int16_t depth, floor, ceiling;
    } layerCases[] = {
        {1, 0, 40, 47, 75},  {2, 0, 65, 72, 100}, {3, 1, 65, 47, 100},
        {4, 0, 90, 97, 125}, {6, 1, 65, 72, 125}, {8, 2, 90, 47, 125},
        {7, 2, 90, 47, 125}, {0, 0, 40, 47, 75},  {5, 0, 40, 47, 75},
    };
    for (const LayerCase& c : layerCases) {
        ScriptDraws(c.drawn);
        const DepthLayer layer = CPlayTargetSet::LayerFor(c.bands);
        EXPECT_EQ(layer.depth, c.depth) << c.bands;
        EXPECT_EQ(layer.floor, c.floor) << c.bands;
        EXPECT_EQ(layer.ceiling, c.ceiling) << c.bands;
    }
}

TEST_F(PlayTargetsTest, TenSlotsAnEleventhIsRefusedAndAFreedSlotIsReused)
{
    auto set = Set();
    EXPECT_EQ(set->AddTarget(2), nullptr); // the type count is no type
    EXPECT_EQ(set->AddTarget(-1), nullptr);
    for (int i = 0; i < 10; ++i)
        ASSERT_NE(set->AddTarget(static_cast<int16_t>(i % 2)), nullptr);
    EXPECT_EQ(set->AddTarget(1), nullptr);
    EXPECT_EQ(set->GetCount(), 10);
    PlayTarget* third = set->GetTarget(3);
    ASSERT_NE(third->creature, nullptr);
    EXPECT_EQ(third->creature->GetParent(), &frame);
    set->RemoveTarget(*third); // the creature goes, the slot stays counted
    EXPECT_EQ(third->creature, nullptr);
    EXPECT_EQ(set->GetCount(), 10);
    set->DeleteTarget(3);
    EXPECT_EQ(set->GetCount(), 9);
    PlayTarget* again = set->AddTarget(1);
    EXPECT_EQ(again, set->GetTarget(3));
    // A trout swims in layer 1 (65), its creature placed no deeper than the scene allows.
    EXPECT_EQ(again->depth, 65);
    EXPECT_EQ(again->state, PlayTarget::kRoaming);
    EXPECT_EQ(again->speed, 2);
    auto shallow = Set(50);
    EXPECT_EQ(shallow->AddTarget(1)->creature->GetZ(), 50);
    set->RemoveAll();
    EXPECT_EQ(set->GetCount(), 0);
    EXPECT_EQ(frame.GetChildren()->GetCount(), 1); // the shallow set's creature
}

TEST_F(PlayTargetsTest, ATargetWrapsAtOneEdgeXFirst)
{
    auto set = Set();
    PlayTarget* target = set->AddTarget(1); // home -10, -10, 410, 650
    ScriptDraws(2);                         // no change of course
    struct Case {
        int16_t x, y, direction;
        int16_t wrappedX, wrappedY;
    } cases[] = {
        {648, 420, 3, -10, 420}, // right and below: only x is corrected
        {-8, 100, 7, 650, 100},  {100, -8, 1, 100, 410}, {100, 408, 5, 100, -10}, {100, 100, 4, 102, 102},
    };
    for (const Case& c : cases) {
        target->x = c.x;
        target->y = c.y;
        target->direction = c.direction;
        target->speed = 4;
        set->MoveTarget(*target);
        EXPECT_EQ(target->x, c.wrappedX) << c.x << "," << c.y;
        EXPECT_EQ(target->y, c.wrappedY) << c.x << "," << c.y;
    }
}

TEST_F(PlayTargetsTest, CourseChangesOneInAHundredForTurningZeroByOneStep)
{
    auto set = Set();
    PlayTarget* target = set->AddTarget(1);
    target->turning = 0;
    target->direction = 1;
    target->speed = 0;
    draws.clear();
    ScriptDraws(1);
    set->MoveTarget(*target);
    // 1 of 1..100 changes course: one step back (1 - 1 wraps to 8); 1 of 1..3 a depth within
    // the creature's range; 1 of 1..5 a speed from low..high.
    EXPECT_EQ(draws, "1..100 0..1 1..3 72..100 1..5 2..4 ");
    EXPECT_EQ(target->direction, 8);
    EXPECT_EQ(target->depth, 72);
    EXPECT_EQ(target->speed, 2);
    target->turning = 2;
    draws.clear();
    ScriptDraws(2);
    set->MoveTarget(*target);
    EXPECT_EQ(draws, "1..50 ");
}

TEST_F(PlayTargetsTest, ALureCastAtFiveSinksFiveStepsAndLandsAtTheSixth)
{
    auto lure = std::make_unique<CSpriteFrm>(
        -2, CPoint(0, 0), &frame, LoadRleImgSet(nullptr, 613, 0xFFFFFFFF, -1, false).release(), 613);
    EXPECT_EQ(lure->GetCentreOffset(), CPoint(2, 1));
    lure->PlaceCentre(100, 100, 5);
    lure->SetLandingDepth(25);
    std::string steps;
    for (int i = 0; i < 6; ++i) {
        lure->StepLure();
        steps += std::to_string(lure->GetH()) + "," + std::to_string(lure->GetV()) + "," +
                 std::to_string(lure->GetZ()) + (lure->HasLanded() ? "!" : "") + " ";
    }
    EXPECT_EQ(steps, "100,101,9 102,103,13 104,105,17 106,107,21 108,109,25 108,109,25! ");
    EXPECT_EQ(lure->GetState(), CSpriteFrm::kGoingDown); // no marker off a window
}

TEST_F(PlayTargetsTest, TheLureGoesDownOnlyWhenItsTickHasPassed)
{
    auto lure = std::make_unique<CSpriteFrm>(
        -2, CPoint(0, 0), &frame, LoadRleImgSet(nullptr, 613, 0xFFFFFFFF, -1, false).release(), 613);
    lure->MoveTo(100, 100, 25);
    lure->SetState(CSpriteFrm::kGoingDown);
    lure->StepLure(); // before the tick: to the bottom state
    EXPECT_EQ(lure->GetState(), CSpriteFrm::kAtBottom);
    EXPECT_EQ(lure->GetInterval(), 50);
    lure->StepLure(); // above the bottom: back to going down, not moved
    EXPECT_EQ(lure->GetState(), CSpriteFrm::kGoingDown);
    EXPECT_EQ(lure->GetZ(), 25);
    qmtest::Clock().Advance(17 * 11);
    lure->StepLure();
    EXPECT_EQ(lure->GetZ(), 29);
    EXPECT_EQ(lure->GetState(), CSpriteFrm::kGoingDown);
    // At the bottom it drifts without going deeper once each interval.
    lure->SetBottomDepth(29);
    lure->StepLure();
    EXPECT_EQ(lure->GetState(), CSpriteFrm::kAtBottom);
    qmtest::Clock().Advance(17 * 51);
    lure->StepLure();
    EXPECT_EQ(lure->GetZ(), 29);
    EXPECT_EQ(lure->GetH(), 104);
}

TEST_F(PlayTargetsTest, SpritesDrawOnlyInTheCatchPhase)
{
    CSpriteFrm3 holder(-2, CPoint(0, 0), &frame, LoadRleImgSet(nullptr, 600, 0xFFFFFFFF, -1, false).release(),
                       600);
    holder.MoveTo(10, 10, 0);
    for (const int16_t phase : {0, 1, 3, 2}) {
        frame.phase = phase;
        COffScEnv env;
        env.Init(CRect(0, 0, 400, 640), nullptr, false);
        holder.DrawContent(&env, holder.GetDrawnRect());
        EXPECT_EQ(qmtest::Pixels(*env.GetBitmap())[10].substr(10, 4), phase == 2 ? "1111" : "....") << phase;
    }
}
