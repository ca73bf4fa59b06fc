// The river scene: its legend, terrain and camera, drawing, steering, current, collisions,
// endings and keys, over small maps stated in the tests.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "engine/framework/Message.h"
#include "engine/framework/Util.h"
#include "engine/graphics/DibSect.h"
#include "game/action/3DScene.h"
#include "game/action/3DView.h"
#include "game/travel/SceneObj.h"
#include "game/travel/SceneSeqWnd.h"
#include "tests/game/action/RiverFixture.h"

namespace {

using rivertest::Fill;
using rivertest::Grid;
using rivertest::SceneRig;
using rivertest::Settings;

// Legend values of the test maps.
constexpr uint8_t kWater0 = 100; // current codes 0..16 are 100..116
constexpr uint8_t kSpecial = 117;
constexpr uint8_t kStart = 120;
constexpr uint8_t kMoreWater = 121;
constexpr uint8_t kMoreWater2 = 122;
constexpr uint8_t kEnd = 130;
constexpr uint8_t kRock = 140;
constexpr uint8_t kObstacle = 150;
constexpr uint8_t kTreeValue = 160;
constexpr uint8_t kBoulderValue = 161;
constexpr uint8_t kBank = 50;

// A 40 x 24 map: the full legend in rows 0 and 1, banks, and a channel of still water in
// columns 10..29 from row 2 on.
Grid LegendMap()
{
    Grid map = Fill(40, 24, kBank);
    std::vector<uint8_t> legend(40, 0), colours(40, 0);
    for (int p = 0; p < 17; ++p)
        legend[static_cast<size_t>(p)] = static_cast<uint8_t>(kWater0 + p);
    legend[17] = kSpecial;
    colours[17] = 77;
    legend[19] = kStart;
    legend[20] = kMoreWater;
    legend[21] = kMoreWater2;
    legend[23] = kEnd;
    legend[25] = kRock;
    legend[27] = kObstacle;
    colours[27] = 78;
    legend[29] = kTreeValue;
    legend[30] = kBoulderValue;
    colours[29] = 79;
    colours[30] = 80;
    for (int c = 0; c < 40; ++c) {
        map.At(c, 0) = legend[static_cast<size_t>(c)];
        map.At(c, 1) = colours[static_cast<size_t>(c)];
    }
    for (int r = 2; r < 24; ++r)
        for (int c = 10; c < 30; ++c)
            map.At(c, r) = kWater0;
    return map;
}

Grid FlatHeights(uint8_t level = 0) { return Fill(40, 24, level); }

size_t ImageBytes(const CDibSect& bitmap)
{
    return static_cast<size_t>(bitmap.GetRowBytes()) * static_cast<size_t>(bitmap.ImageRows());
}

CMessage Key(int32_t key)
{
    CMessage message(-3, 0, 0, -1);
    message.SetParam(key, 2);
    return message;
}

class SceneTest : public ::testing::Test {
protected:
    C3DScene& Make(const Grid& map, const Grid& heights, const Settings& settings = {}, bool deferred = false)
    {
        rivertest::WriteRiver(map, heights, settings);
        return rig.Make(deferred);
    }
    // A scene over the legend map with the camera standing still on water at (c, r).
    C3DScene& Standing(int32_t column, int32_t row, const Settings& settings = {}, Grid map = LegendMap())
    {
        C3DScene& scene = Make(map, FlatHeights(), settings);
        scene.BuildTerrain();
        PlaceAt(column, row);
        return scene;
    }
    void PlaceAt(int32_t column, int32_t row, double dx = -8, double dz = 8)
    {
        C3DPoint p = rig.View().GetPosition();
        p.x = -16.0 * column + dx;
        p.z = 16.0 * row + dz;
        rig.View().SetPosition(p);
    }

    SceneRig rig;
};

TEST_F(SceneTest, AFreshSceneHasTheDefaults)
{
    C3DScene& scene = Make(LegendMap(), FlatHeights());
    EXPECT_EQ(scene.GetStatus(), 0);
    EXPECT_TRUE(scene.AreKeysEnabled());
    EXPECT_EQ(scene.GetSkyColour(), 0x2f);
    EXPECT_EQ(scene.GetGroundColour(), 0x22); // the settings' -1
    EXPECT_EQ(scene.GetDetailLevel(), 3);
    EXPECT_EQ(scene.GetLegend(0).kind, C3DSceneLegend::kNothing);
    EXPECT_EQ(scene.GetLegend(kBank).kind, C3DSceneLegend::kUnlisted);
    EXPECT_EQ(scene.GetLegend(kBank).hardness, 4);
    EXPECT_EQ(scene.GetLegend(kBank).drawGround, 1);
    EXPECT_EQ(scene.GetMapWidth(), 40);
    EXPECT_EQ(scene.GetMapHeight(), 24);
}

TEST_F(SceneTest, TheLegendRowsGiveEveryValueItsKind)
{
    C3DScene& scene = Make(LegendMap(), FlatHeights());
    for (int p = 0; p < 17; ++p) {
        const C3DSceneLegend& e = scene.GetLegend(static_cast<uint8_t>(kWater0 + p));
        EXPECT_EQ(e.kind, C3DSceneLegend::kWater) << p;
        EXPECT_EQ(e.current, p);
        EXPECT_EQ(e.sequence, p);
        EXPECT_EQ(e.drawColour, kWater0 + p);
        EXPECT_EQ(e.drawGround, 0);
    }
    // Entry p of the scenery list: -1, the ripple, then a section's heading (no number).
    EXPECT_EQ(scene.GetLegend(kWater0).objectImageId, -1);
    EXPECT_EQ(scene.GetLegend(kWater0 + 1).objectImageId, rivertest::kRipple);
    EXPECT_EQ(scene.GetLegend(kSpecial).kind, C3DSceneLegend::kSpecial);
    EXPECT_EQ(scene.GetLegend(kSpecial).drawColour, 77);
    EXPECT_EQ(scene.GetLegend(kStart).kind, C3DSceneLegend::kStart);
    EXPECT_EQ(scene.GetLegend(kStart).drawGround, 0);
    EXPECT_EQ(scene.GetLegend(kMoreWater).kind, C3DSceneLegend::kWater);
    EXPECT_EQ(scene.GetLegend(kMoreWater).sequence, 1);
    EXPECT_EQ(scene.GetLegend(kMoreWater2).sequence, 2);
    EXPECT_EQ(scene.GetLegend(kEnd).kind, C3DSceneLegend::kEnd);
    EXPECT_EQ(scene.GetLegend(kEnd).hardness, 0);
    EXPECT_EQ(scene.GetLegend(kRock).kind, C3DSceneLegend::kRock);
    EXPECT_EQ(scene.GetLegend(kRock).drawColour, kRock);
    EXPECT_EQ(scene.GetLegend(kObstacle).kind, C3DSceneLegend::kObstacle);
    EXPECT_EQ(scene.GetLegend(kObstacle).hardness, 10);
    EXPECT_EQ(scene.GetLegend(kObstacle).drawColour, 78);
    const C3DSceneLegend& tree = scene.GetLegend(kTreeValue);
    EXPECT_EQ(tree.kind, C3DSceneLegend::kScenery);
    EXPECT_EQ(tree.objectImageId, rivertest::kTree);
    EXPECT_EQ(tree.hardness, 6);
    EXPECT_EQ(tree.drawGround, 1);
    EXPECT_EQ(tree.drawColour, 79);
    ASSERT_NE(tree.GetHitText(), nullptr);
    EXPECT_STREQ(tree.GetHitText()->GetText(), "a tree");
    const C3DSceneLegend& boulder = scene.GetLegend(kBoulderValue);
    EXPECT_EQ(boulder.objectImageId, rivertest::kBoulder);
    EXPECT_EQ(boulder.hardness, 8);
    EXPECT_EQ(boulder.drawGround, 0);
    EXPECT_EQ(boulder.sequence, 1);
    EXPECT_EQ(scene.GetLegend(kRock).GetHitText(), nullptr);
}

TEST_F(SceneTest, LegendObjectsAreMadeOnlyForValuesTheMapUses)
{
    Grid map = LegendMap();
    map.At(12, 5) = kWater0 + 1; // the ripple's water
    map.At(5, 6) = kTreeValue;
    C3DScene& scene = Make(map, FlatHeights());
    const C3DSceneLegend& ripple = scene.GetLegend(kWater0 + 1);
    ASSERT_NE(ripple.GetElement(), nullptr);
    auto* river = dynamic_cast<CRiverSeqWnd*>(ripple.GetElement());
    ASSERT_NE(river, nullptr);
    EXPECT_EQ(river->GetSizeClass(), 1);  // the roughness
    EXPECT_EQ(river->GetMotionKind(), 1); // the current code
    EXPECT_NE(scene.GetLegend(kTreeValue).GetElement(), nullptr);
    EXPECT_EQ(dynamic_cast<CRiverSeqWnd*>(scene.GetLegend(kTreeValue).GetElement()), nullptr);
    EXPECT_EQ(scene.GetLegend(kBoulderValue).GetElement(), nullptr); // only in the legend row
    EXPECT_NE(scene.GetRaftFigure(), nullptr);
}

TEST_F(SceneTest, TheCameraStartsOnTheStartCellOrCellOneOne)
{
    Grid map = LegendMap();
    map.At(15, 7) = kStart;
    Settings settings;
    settings.heading = 30;
    C3DScene& scene = Make(map, FlatHeights(), settings);
    scene.BuildTerrain();
    EXPECT_DOUBLE_EQ(rig.View().GetX(), -16 * 15);
    EXPECT_DOUBLE_EQ(rig.View().GetZ(), 16 * 7);
    EXPECT_EQ(scene.GetHeading(), 30);
    EXPECT_EQ(rig.View().GetFocal(), 1435);
    EXPECT_TRUE(scene.IsHeadingAllowed(30 + 44));
    EXPECT_FALSE(scene.IsHeadingAllowed(30 + 45));
    EXPECT_TRUE(scene.IsHeadingAllowed(346));

    C3DScene& noStart = Make(LegendMap(), FlatHeights(7));
    CUtil::SetDrawSource([](int32_t lo, int32_t, int32_t) { return lo; });
    noStart.BuildTerrain();
    CUtil::SetDrawSource(nullptr);
    EXPECT_DOUBLE_EQ(rig.View().GetX(), -16);
    EXPECT_DOUBLE_EQ(rig.View().GetZ(), 16);
    // The ground near (1, 1) is all 0: the water level, and the camera 10 above it.
    EXPECT_DOUBLE_EQ(rig.View().GetPosition().y, 7 + 10);
}

TEST_F(SceneTest, HeightsAreThePictureLessTheWaterLevelPlusJitterByRoughness)
{
    struct Case {
        int32_t roughness;
        double water;
    };
    for (const Case c : {Case{0, 0.5}, Case{1, 0.5}, Case{2, 1.5}, Case{3, 3.5}, Case{4, 3.5}, Case{5, 0}}) {
        Grid heights = Fill(30, 24, 20); // narrower than the map: the rest counts as 0
        heights.At(11, 4) = 26;
        Settings settings;
        settings.roughness = c.roughness;
        C3DScene& scene = Make(LegendMap(), heights, settings);
        CUtil::SetDrawSource([](int32_t, int32_t hi, int32_t) { return hi; });
        scene.BuildTerrain();
        CUtil::SetDrawSource(nullptr);
        EXPECT_EQ(scene.GetWaterLevel(), 20);
        EXPECT_DOUBLE_EQ(scene.HeightAt(11, 4), 6 + c.water) << c.roughness;
        EXPECT_DOUBLE_EQ(scene.HeightAt(5, 4), 3.5) << c.roughness;        // a bank
        EXPECT_DOUBLE_EQ(scene.HeightAt(35, 4), -20 + 3.5) << c.roughness; // beyond the picture
        EXPECT_EQ(scene.HeightAt(0, 4), 0);
        EXPECT_EQ(scene.HeightAt(11, 0), 0);
        EXPECT_EQ(scene.HeightAt(11, 23), 0);
    }
}

TEST_F(SceneTest, TheGroundNearACellIsTheHighestOfFourByFourOrTheWaterLevel)
{
    Grid heights = FlatHeights(5);
    heights.At(20, 10) = 9; // 4 above the level
    C3DScene& scene = Make(LegendMap(), heights);
    CUtil::SetDrawSource([](int32_t lo, int32_t, int32_t) { return lo; });
    scene.BuildTerrain();
    CUtil::SetDrawSource(nullptr);
    // Columns c-2..c+1 and rows r-2..r+1.
    EXPECT_DOUBLE_EQ(scene.GroundHeightNear(21, 11), 4);
    EXPECT_DOUBLE_EQ(scene.GroundHeightNear(22, 12), 4);
    EXPECT_DOUBLE_EQ(scene.GroundHeightNear(19, 9), 4);
    EXPECT_DOUBLE_EQ(scene.GroundHeightNear(23, 10), 5); // out of reach: the water level
    EXPECT_DOUBLE_EQ(scene.GroundHeightNear(18, 10), 5);
    EXPECT_DOUBLE_EQ(scene.GroundHeightNear(39, 23), 5); // clamped to the map
}

TEST_F(SceneTest, DetailLevelsSetTheGroundTheScaleTheFarDistanceAndTheOverlay)
{
    struct Case {
        int16_t level;
        bool simple;
        double scale;
        double far;
        bool overlay;
    };
    const Case cases[] = {{0, true, 0.4, 750, true},
                          {1, false, 0.4, 750, false},
                          {2, false, 0.4, 750, false},
                          {3, false, 0.515, 750, false},
                          {4, false, 0.515, 1000, true}};
    C3DScene& scene = Make(LegendMap(), FlatHeights());
    scene.SetOverlayImage(rivertest::kTree);
    for (const Case& c : cases) {
        scene.SetDetailLevel(c.level);
        EXPECT_EQ(scene.IsSimpleGround(), c.simple) << c.level;
        EXPECT_DOUBLE_EQ(rig.View().GetVerticalScale(), c.scale) << c.level;
        EXPECT_DOUBLE_EQ(rig.View().GetFar(), c.far) << c.level;
        EXPECT_EQ(scene.GetLegend(kBank).GetObjectImage() != nullptr, c.overlay) << c.level;
        EXPECT_EQ(scene.GetLegend(kSpecial).GetObjectImage() != nullptr, c.overlay) << c.level;
        EXPECT_EQ(scene.GetLegend(kRock).GetObjectImage(), nullptr) << c.level;
    }
}

TEST_F(SceneTest, AMissingOrTinyMapOrHeightPictureFailsAndDrawsNothing)
{
    const Grid tiny = Fill(3, 40, kWater0);
    const Grid flat = Fill(3, 2, 0);
    struct Case {
        Grid map;
        Grid heights;
        int16_t river;
    };
    const Case cases[] = {{LegendMap(), FlatHeights(), 1}, {LegendMap(), FlatHeights(), -1},
                          {Grid{}, FlatHeights(), 0},      {tiny, FlatHeights(), 0},
                          {Fill(40, 3, kWater0), flat, 0}, {LegendMap(), Grid{}, 0}};
    int n = 0;
    for (const Case& c : cases) {
        rivertest::WriteRiver(c.map, c.heights, Settings{});
        C3DScene& scene = rig.Make(false, c.river);
        std::memset(rig.Bitmap().LockBits(), 9, ImageBytes(rig.Bitmap()));
        rig.Bitmap().UnlockBits();
        EXPECT_EQ(scene.Step(), C3DScene::kFailed) << n;
        const uint8_t* pixels = rig.Bitmap().LockBits();
        bool untouched = true;
        for (size_t i = 0; i < ImageBytes(rig.Bitmap()); ++i)
            untouched = untouched && pixels[i] == 9;
        rig.Bitmap().UnlockBits();
        EXPECT_TRUE(untouched) << n++;
    }
}

TEST_F(SceneTest, AStepDrawsSkyAboveTheHorizonAndGroundBelow)
{
    Settings settings;
    settings.groundColour = 27;
    C3DScene& scene = Make(LegendMap(), FlatHeights(), settings);
    EXPECT_EQ(scene.Step(), 0);
    const int16_t horizon = scene.GetHorizonRow();
    ASSERT_GT(horizon, 1);
    ASSERT_LT(horizon, SceneRig::kHeight - 1);
    CDibSect& bitmap = rig.Bitmap();
    const uint8_t* pixels = bitmap.LockBits();
    const C3DFrameBuffer& fb = *rig.View().GetFrameBuffer();
    const auto at = [&](int32_t x, int32_t y) { return pixels[fb.rows[static_cast<size_t>(y)] + x]; };
    EXPECT_EQ(at(80, 0), 0x2f);
    EXPECT_EQ(at(2, horizon - 1), 0x2f);
    EXPECT_EQ(at(2, SceneRig::kHeight - 1), 27); // water: the ground colour alone
    bitmap.UnlockBits();
}

TEST_F(SceneTest, ADeferredSetUpThenResumeDrawsTheSameFrame)
{
    Grid map = LegendMap();
    map.At(14, 6) = kStart;
    map.At(12, 9) = kTreeValue;
    map.At(16, 12) = kRock;
    map.At(20, 10) = kWater0 + 1;
    rivertest::WriteRiver(map, FlatHeights(), Settings{});
    const auto frame = [&](bool deferred) {
        C3DScene& scene = rig.Make(deferred);
        if (deferred)
            scene.Resume();
        CUtil::SetRandomSeed(1);
        scene.Step();
        scene.Step();
        const uint8_t* pixels = rig.Bitmap().LockBits();
        std::vector<uint8_t> bytes(pixels, pixels + ImageBytes(rig.Bitmap()));
        rig.Bitmap().UnlockBits();
        return bytes;
    };
    const std::vector<uint8_t> direct = frame(false);
    EXPECT_EQ(frame(true), direct);
}

TEST_F(SceneTest, ZoneOneFromRestAcceleratesToNineAndStays)
{
    Settings settings;
    settings.moving = 0;
    C3DScene& scene = Standing(20, 10, settings);
    scene.SetMousePoint(scene.GetZone(1).TopLeft()); // the zone's corner: edges count
    std::vector<double> speeds;
    for (int i = 0; i < 11; ++i) {
        scene.SteerZones(C3DScene::kNoZone);
        speeds.push_back(scene.GetForwardSpeed());
    }
    const std::vector<double> expected{1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 9};
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_DOUBLE_EQ(speeds[i], expected[i]) << i;
    EXPECT_EQ(scene.GetLastCursor(), rivertest::kCursorBase + 11);
}

TEST_F(SceneTest, ZoneSevenFromThreeBrakesAcrossZeroToMinusEightPointTwo)
{
    Settings settings;
    settings.moving = 0;
    C3DScene& scene = Standing(20, 10, settings);
    scene.SetSpeeds(3, 0);
    const double expected[] = {2.2, 1.4, 0.6, -0.2, -1.2, -2.2, -3.2, -4.2, -5.2, -6.2, -7.2, -8.2, -8.2};
    for (const double e : expected) {
        scene.SteerZones(7);
        EXPECT_NEAR(scene.GetForwardSpeed(), e, 1e-9);
    }
    EXPECT_EQ(scene.GetLastCursor(), -1); // a requested zone sets no cursor
}

TEST_F(SceneTest, ZonesSteerSidewaysSettleAndSetTheirCursors)
{
    Settings settings;
    settings.moving = 0;
    C3DScene& scene = Standing(20, 10, settings);
    struct Case {
        int16_t zone;
        int32_t cursorEntry;
        double forward;
        double sideways;
    };
    const Case cases[] = {{0, 9, 1, -1}, {2, 1, 1, 1}, {4, 10, 0, 0}, {6, 6, -1, -1}, {8, 4, -1, 1}};
    for (const Case& c : cases) {
        scene.SetSpeeds(0, 0);
        const CRect& zone = scene.GetZone(c.zone);
        scene.SetMousePoint(CPoint(zone.GetRight(), zone.GetBottom()));
        scene.SteerZones(C3DScene::kNoZone);
        EXPECT_EQ(scene.GetLastCursor(), rivertest::kCursorBase + c.cursorEntry) << c.zone;
        EXPECT_DOUBLE_EQ(scene.GetForwardSpeed(), c.forward) << c.zone;
        EXPECT_DOUBLE_EQ(scene.GetSidewaysSpeed(), c.sideways) << c.zone;
    }
    scene.SetSpeeds(0.3, -0.3);
    scene.SteerZones(4);
    EXPECT_DOUBLE_EQ(scene.GetForwardSpeed(), 0.25);
    EXPECT_DOUBLE_EQ(scene.GetSidewaysSpeed(), -0.25);
    scene.SetMousePoint(CPoint(-5, -5));
    scene.SteerZones(C3DScene::kNoZone);
    EXPECT_EQ(scene.GetLastCursor(), 0); // outside every zone: the default cursor
}

TEST_F(SceneTest, ATurnThatLeavesTheWindowIsIgnored)
{
    C3DScene& scene = Standing(20, 10);
    for (int i = 0; i < 30; ++i)
        scene.SteerZones(3);
    EXPECT_EQ(scene.GetHeading(), 316); // 22 turns of 2 reach -44
    int16_t pitch = 0, heading = 0, roll = 0;
    rig.View().GetAngles(pitch, heading, roll);
    EXPECT_EQ(heading, 316);
    scene.SetMousePoint(CPoint(SceneRig::kWidth - 2, 50)); // within 4 pixels of the right edge
    scene.SteerZones(5);
    EXPECT_EQ(scene.GetHeading(), 320);
}

TEST_F(SceneTest, TheCurrentPushesByItsCodeAndTwiceAsHardOnRoughRivers)
{
    const double pushes[17][2] = {{0, 0},     {0, -2}, {-1.5, -1.5}, {-2, 0}, {-1.5, 1.5}, {0, 2},
                                  {1.5, 1.5}, {2, 0},  {1.5, -1.5},  {0, -4}, {-3, -3},    {-4, 0},
                                  {-3, 3},    {0, 4},  {3, 3},       {4, 0},  {3, -3}};
    // Column 10 + code carries current code `code` from row 2 down.
    Grid map = LegendMap();
    for (int r = 2; r < 24; ++r)
        for (int code = 0; code < 17; ++code)
            map.At(10 + code, r) = static_cast<uint8_t>(kWater0 + code);
    for (const int32_t roughness : {1, 3}) {
        Settings settings;
        settings.roughness = roughness;
        C3DScene& scene = Standing(10, 10, settings, map);
        const double k = roughness > 2 ? 2 : 1;
        double distance = 0;
        for (int code = 0; code < 17; ++code) {
            PlaceAt(10 + code, 10);
            const C3DPoint before = rig.View().GetPosition();
            scene.Drift();
            EXPECT_DOUBLE_EQ(rig.View().GetX() - before.x, k * pushes[code][0]) << code;
            EXPECT_DOUBLE_EQ(rig.View().GetZ() - before.z, k * pushes[code][1]) << code;
            distance += k * (std::abs(pushes[code][0]) + std::abs(pushes[code][1]));
            EXPECT_DOUBLE_EQ(scene.GetDistance(), distance) << code;
        }
    }
}

TEST_F(SceneTest, AnImpactOfFiveOnARockStopsWithoutDamageAndFivePointOneHitsHard)
{
    Grid map = LegendMap();
    map.At(20, 12) = kRock;
    C3DScene& scene = Standing(20, 10, Settings{}, map);
    scene.SetSpeeds(3, 1);
    EXPECT_TRUE(scene.Collide(kRock, 5, 20, 12));
    EXPECT_EQ(scene.GetDamage(), 0);
    EXPECT_EQ(scene.GetStatus(), 0);
    EXPECT_EQ(scene.GetForwardSpeed(), 0);
    EXPECT_EQ(scene.GetSidewaysSpeed(), 0);

    CUtil::SetDrawSource([](int32_t, int32_t hi, int32_t) { return hi; });
    EXPECT_TRUE(scene.Collide(kRock, 5.1, 20, 12));
    CUtil::SetDrawSource(nullptr);
    EXPECT_DOUBLE_EQ(scene.GetDamage(), 20.4); // no scenery beside it: hardness 4
    EXPECT_EQ(scene.GetStatus(), C3DScene::kHardHit);
    EXPECT_EQ(scene.GetHitValue(), 0);
    EXPECT_DOUBLE_EQ(scene.GetBob(), 51 / 20.0);
    EXPECT_EQ(scene.GetCollisionState(), C3DScene::kJustCollided);
    // Just collided: the same cell again does nothing; another cell makes the raft ready.
    EXPECT_FALSE(scene.Collide(kRock, 30, 20, 10));
    EXPECT_EQ(scene.GetCollisionState(), C3DScene::kJustCollided);
    EXPECT_FALSE(scene.Collide(kRock, 30, 20, 12));
    EXPECT_EQ(scene.GetCollisionState(), C3DScene::kCollideReady);
}

TEST_F(SceneTest, TheRockTestFindsTheSceneryThatShowsTheRock)
{
    struct Case {
        int32_t column, row; // the rock, hit from (20, 10)
        int32_t sceneryColumn, sceneryRow;
        bool found;
    };
    const Case cases[] = {
        {20, 12, 20, 18, true},  // straight ahead, 6 beyond
        {20, 12, 20, 19, false}, // 7 beyond
        {22, 12, 25, 15, true},  // diagonal
        {22, 12, 26, 12, true},  // diagonal, then across alone
        {22, 12, 22, 14, true},  // diagonal, then along alone
        {39, 12, 2, 2, false},   // the scan runs past the map's edge, which reads 0
    };
    for (const Case& c : cases) {
        Grid map = LegendMap();
        map.At(c.column, c.row) = kRock;
        map.At(c.sceneryColumn, c.sceneryRow) = kBoulderValue;
        C3DScene& scene = Standing(20, 10, Settings{}, map);
        scene.Collide(kRock, 10, c.column, c.row);
        EXPECT_EQ(scene.GetHitValue(), c.found ? kBoulderValue : 0) << c.sceneryColumn << "," << c.sceneryRow;
        EXPECT_DOUBLE_EQ(scene.GetDamage(), c.found ? 80 : 40);
    }
}

TEST_F(SceneTest, ADamageLimitOfZeroNeverWearsTheRaftOut)
{
    for (const int32_t limit : {0, 100}) {
        Settings settings;
        settings.damageLimit = limit;
        C3DScene& scene = Standing(20, 10, settings);
        for (int i = 0; i < 4; ++i) {
            scene.SetCollisionState(C3DScene::kCollideReady);
            scene.Collide(kBank, 10, 21, 10);
        }
        EXPECT_DOUBLE_EQ(scene.GetDamage(), 160);
        EXPECT_EQ(scene.GetStatus(), limit == 0 ? C3DScene::kHardHit : C3DScene::kWornOut) << limit;
        EXPECT_EQ(scene.GetCourseProps()->GetMovingAllowed(), limit == 0 ? 1 : 0);
    }
}

TEST_F(SceneTest, AnObstacleHitsForTwoHundredUnlessTheLastMoveCollided)
{
    Grid map = LegendMap();
    map.At(20, 12) = kObstacle;
    C3DScene& scene = Standing(20, 10, Settings{}, map);
    C3DPoint target = rig.View().GetPosition();
    target.z += 5;
    C3DPoint probe = target;
    probe.z = 16 * 12 + 4;
    EXPECT_TRUE(scene.TryMove(target, probe));
    EXPECT_DOUBLE_EQ(scene.GetDamage(), 200);
    EXPECT_EQ(scene.GetStatus(), C3DScene::kHardHit);
    EXPECT_EQ(scene.GetHitValue(), kObstacle);
    EXPECT_DOUBLE_EQ(rig.View().GetZ(), 16 * 10 + 8); // the raft stays
    scene.TryMove(target, probe);
    EXPECT_DOUBLE_EQ(scene.GetDamage(), 200);
}

TEST_F(SceneTest, MovesEnterWaterAndReachingAnEndCellEndsTheRun)
{
    Grid map = LegendMap();
    map.At(20, 11) = kEnd;
    C3DScene& scene = Standing(20, 10, Settings{}, map);
    C3DPoint target = rig.View().GetPosition();
    target.x -= 3;
    scene.TryMove(target, target);
    EXPECT_DOUBLE_EQ(rig.View().GetX(), target.x);
    EXPECT_DOUBLE_EQ(scene.GetLastValid().x, target.x);
    target.z += 10;
    scene.TryMove(target, target);
    EXPECT_EQ(scene.GetStatus(), C3DScene::kEndReached);
    EXPECT_DOUBLE_EQ(rig.View().GetZ(), target.z);
    EXPECT_EQ(scene.GetCourseProps()->GetMovingAllowed(), 0);
}

TEST_F(SceneTest, PassThroughLetsTheRaftOntoBanksAndHoldsIt)
{
    Settings settings;
    settings.passThrough = 1;
    C3DScene& scene = Standing(10, 10, settings);
    C3DPoint target = rig.View().GetPosition();
    target.x += 16; // column 9: a bank
    scene.TryMove(target, target);
    EXPECT_DOUBLE_EQ(rig.View().GetX(), target.x);
    EXPECT_TRUE(scene.IsHeld());
    EXPECT_EQ(scene.GetDamage(), 0);
}

TEST_F(SceneTest, TurnOnlySteeringTurnsAtTheEdgesAndShowsItsCursors)
{
    C3DScene& scene = Standing(20, 10);
    scene.SetSteeringMode(1);
    struct Case {
        int16_t x;
        int32_t entry;
        int16_t heading;
    };
    const Case cases[] = {{5, 23, 352}, {20, 23, 350}, {80, 22, 350}, {150, 24, 352}, {158, 24, 0}};
    for (const Case& c : cases) {
        scene.SetMousePoint(CPoint(c.x, 50));
        scene.SteerTurnOnly();
        EXPECT_EQ(scene.GetLastCursor(), rivertest::kCursorBase + c.entry) << c.x;
        EXPECT_EQ(scene.GetHeading(), c.heading) << c.x;
    }
    for (int i = 0; i < 10; ++i) {
        scene.SetMousePoint(CPoint(1, 50));
        scene.SteerTurnOnly();
    }
    EXPECT_EQ(scene.GetHeading(), 320); // -40; -48 lies outside the window
    EXPECT_EQ(scene.GetLastCursor(), rivertest::kCursorBase + 22);
    scene.SetMousePoint(CPoint(-1, 50));
    scene.SteerTurnOnly();
    EXPECT_EQ(scene.GetLastCursor(), 0);
}

TEST_F(SceneTest, KeysTuneTheSceneWhileEnabled)
{
    C3DScene& scene = Standing(20, 10);
    C3DView& view = rig.View();
    EXPECT_TRUE(scene.HandleKey(Key(0x1E)));
    scene.SteerZones(C3DScene::kNoZone); // not the requested one: the request is read by Step
    EXPECT_TRUE(scene.HandleKey(Key('Y')));
    EXPECT_DOUBLE_EQ(view.GetNear(), 41);
    for (int i = 0; i < 6; ++i)
        scene.HandleKey(Key('Y'));
    EXPECT_DOUBLE_EQ(view.GetNear(), 0); // past 100 wraps
    scene.HandleKey(Key('y'));
    EXPECT_DOUBLE_EQ(view.GetNear(), 100);
    scene.HandleKey(Key('x'));
    EXPECT_DOUBLE_EQ(view.GetFar(), 650);
    scene.HandleKey(Key('J'));
    scene.HandleKey(Key('u'));
    EXPECT_DOUBLE_EQ(view.GetFar(), 659);
    scene.HandleKey(Key('K'));
    scene.HandleKey(Key('i'));
    EXPECT_EQ(view.GetFocal(), 1450);
    scene.HandleKey(Key('L'));
    scene.HandleKey(Key('L'));
    EXPECT_EQ(scene.GetDetailLevel(), 0);
    scene.HandleKey(Key('l'));
    EXPECT_EQ(scene.GetDetailLevel(), 4);
    scene.HandleKey(Key(']'));
    scene.HandleKey(Key('{'));
    EXPECT_EQ(scene.GetGroundColour(), 0x23);
    EXPECT_EQ(scene.GetSkyColour(), 0x2e);
    scene.HandleKey(Key('\''));
    EXPECT_EQ(scene.GetGroundColour(), 0x22);
    scene.HandleKey(Key('|'));
    EXPECT_DOUBLE_EQ(scene.GetSceneryFactor(), 0.5);
    EXPECT_FALSE(scene.HandleKey(Key('V')));
    EXPECT_TRUE(scene.HandleKey(Key('4')));
    EXPECT_EQ(scene.GetCourseProps()->GetSoundLevel(), 0xAF);
    EXPECT_TRUE(scene.HandleKey(Key('5'))); // not right after V: no effect
    EXPECT_EQ(scene.GetCourseProps()->GetSoundLevel(), 0xAF);
    scene.HandleKey(Key('W'));
    EXPECT_TRUE(scene.IsWireframe());
    scene.SetSpeeds(3, 2);
    scene.HandleKey(Key('s'));
    EXPECT_EQ(scene.GetCourseProps()->GetMovingAllowed(), 0);
    EXPECT_EQ(scene.GetForwardSpeed(), 0);
    view.AddHeading(30);
    scene.HandleKey(Key('f'));
    int16_t pitch = 0, heading = 0, roll = 0;
    view.GetAngles(pitch, heading, roll);
    EXPECT_EQ(heading, 0);
    EXPECT_TRUE(scene.HandleKey(Key('Q')));
    EXPECT_FALSE(scene.HandleKey(Key('A')));

    EXPECT_TRUE(scene.HandleKey(Key('*')));
    EXPECT_FALSE(scene.AreKeysEnabled());
    EXPECT_FALSE(scene.HandleKey(Key('W')));
    EXPECT_TRUE(scene.IsWireframe());
    EXPECT_TRUE(scene.HandleKey(Key('*')));
    EXPECT_TRUE(scene.AreKeysEnabled());
}

TEST_F(SceneTest, CellCoordinatesAndTheBoundedCellReader)
{
    EXPECT_EQ(C3DScene::ColumnOf(-16.0 * 5 - 0.5), 5);
    EXPECT_EQ(C3DScene::ColumnOf(-16.0 * 5 + 0.5), 4);
    EXPECT_EQ(C3DScene::RowOf(16.0 * 7 + 15.9), 7);
    C3DScene& scene = Make(LegendMap(), FlatHeights());
    EXPECT_EQ(scene.CellValue(20, 10), kWater0);
    EXPECT_EQ(scene.CellValue(20, 0), 0);
    EXPECT_EQ(scene.CellValue(0, 10), 0);
    EXPECT_EQ(scene.CellValue(40, 10), 0);
    EXPECT_EQ(scene.CellValue(20, 24), 0);
    EXPECT_EQ(scene.CellValue(-3, -3), 0);
}

} // namespace
