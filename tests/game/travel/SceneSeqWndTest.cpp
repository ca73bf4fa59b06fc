// The scene sequence elements: stepped by their owner on the game clock, one frame when due or
// when the due tick lies 500 or more ahead; the river element's offsets, motion and half speed.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/controls/anim/Sequence.h"
#include "engine/framework/Stopwatch.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "game/base/GameGlobals.h"
#include "game/base/GameImages.h"
#include "game/travel/SceneSeqWnd.h"
#include "tests/engine/controls/anim/AnimTestKit.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/RleFixtures.h"
#include "tests/support/TestEnv.h"

namespace {

constexpr uint32_t kMsPerTick = 17;

// Sprite 80 of three cels; its sequence: animation 0 plays cels 0, 1, 2 (delays 0, 6 and 0
// over an animation delay of 4; the second frame steps y by 3), animation 1 plays cel 2.
class SceneSeqWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qmtest::UseTempDirAsDriveC();
        qmtest::FolderLibraryWriter lib(qmtest::TempDir() / "Seq.qmd");
        const qmtest::RleCelSpec cel{3, 6, {0x00, 0, 0x04, 2, 0x00, 0, 0x04, 2, 0x00, 0, 0x04, 2}};
        lib.Add("RLS", 80, qmtest::MakeRls({cel, cel, cel}));
        lib.Add("SEQ", 80,
                animtest::Text(animtest::SeqBytes(
                    {{0, 255, 4, 3}, {3, 255, 4, 1}},
                    {{0, 0, 0, 0, 0, 0}, {1, 0, 3, 0, 6, 0}, {2, 0, 0, 0, 0, 0}, {2, 0, 0, 0, 0, 0}})));
        lib.Add("CEL", 80, animtest::Text(animtest::CelBytes({{0, 0}, {0, 0}, {0, 0}})));
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>(qmtest::EnginePath(lib.Folder()).c_str()));
        images = LoadImage("RLES", 0, 80, true, 0);
    }
    static void Ticks(uint32_t n) { qmtest::Clock().Advance(n * kMsPerTick); }
    // Steps the element once a tick for n ticks and lists the cels it showed after each.
    static std::vector<int16_t> Run(CSceneSeqWnd& element, int n, bool moving = true)
    {
        std::vector<int16_t> cels;
        for (int i = 0; i < n; ++i) {
            element.Step(moving);
            cels.push_back(element.GetCel());
            Ticks(1);
        }
        return cels;
    }

    std::unique_ptr<CImgSet> images;
};

TEST_F(SceneSeqWndTest, TheOwnerStepsTheElementThroughItsFramesOverAndOver)
{
    CSceneSeqWnd element(1, CPoint(0, 0), nullptr, images.get(), 80);
    element.SetShown(true);
    element.SetAnimation(0);
    element.Step(); // the engine's tick does nothing
    EXPECT_EQ(element.GetFramesRemaining(), 3);
    // Cel 0 for 4 ticks, cel 1 for 6, cel 2 for 4, then from the start again.
    const std::vector<int16_t> expected{0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 0, 0};
    EXPECT_EQ(Run(element, 16), expected);
    element.QueueAnimation(1);
    element.Step(true);
    EXPECT_EQ(element.GetAnimation(), 1);
    EXPECT_EQ(element.GetQueuedAnimation(), -1);
    EXPECT_EQ(element.GetMotion(0), 0); // the frame's steps do not move it
    EXPECT_EQ(element.GetH(), 0);
}

TEST_F(SceneSeqWndTest, AFrameDueFiveHundredTicksAheadIsPlayedAtOnce)
{
    CSceneSeqWnd element(1, CPoint(0, 0), nullptr, images.get(), 80);
    element.SetShown(true);
    element.SetAnimation(0);
    element.Step(true);
    const uint32_t now = GetAppTime();
    element.SetDue(now + 499);
    element.Step(true);
    EXPECT_EQ(element.GetCel(), 0);
    element.SetDue(now + 500);
    element.Step(true);
    EXPECT_EQ(element.GetCel(), 1);
    element.SetShown(false);
    element.SetDue(now);
    element.Step(true);
    EXPECT_EQ(element.GetCel(), 1); // hidden: no frame
}

TEST_F(SceneSeqWndTest, RiverElementsTakeTheirOffsetsFromTheSizeClass)
{
    struct Case {
        int16_t sizeClass;
        int16_t low, middle, wrap;
    };
    for (const Case c : {Case{0, 0, 16, 16}, Case{2, 0, 16, 16}, Case{3, -4, 20, 24}, Case{4, -4, 20, 24}}) {
        CRiverSeqWnd element(1, CPoint(0, 0), nullptr, images.get(), 80, 0, c.sizeClass);
        EXPECT_EQ(element.GetLow(), c.low) << c.sizeClass;
        EXPECT_EQ(element.GetMiddle(), c.middle);
        EXPECT_EQ(element.GetWrap(), c.wrap);
        EXPECT_EQ(element.GetBaseValue(), c.middle);
    }
}

TEST_F(SceneSeqWndTest, RiverElementsWalkWrappingOffsetsByTheirMotionKind)
{
    struct Case {
        int16_t kind;
        int16_t sizeClass;
        int32_t x, z; // after 3 frames
    };
    const Case cases[] = {
        {0, 0, 0, 0},  {1, 0, 0, 13},  {2, 0, 3, 13},  {3, 0, 3, 0},   {4, 0, 3, 3},  {5, 0, 0, 3},
        {6, 0, 13, 3}, {7, 0, 13, 0},  {8, 0, 13, 13}, {9, 0, 0, 10},  {12, 0, 6, 6}, {16, 0, 10, 10},
        {7, 4, -3, 0}, {8, 4, -3, -3}, {11, 4, 6, 0},  {15, 4, 18, 0},
    };
    for (const Case& c : cases) {
        CRiverSeqWnd element(1, CPoint(0, 0), nullptr, images.get(), 80, c.kind, c.sizeClass);
        element.SetShown(true);
        element.SetAnimation(0);
        for (int frame = 0; frame < 3; ++frame) {
            element.Step(true);
            element.SetDue(GetAppTime());
        }
        EXPECT_EQ(element.GetMotion(0), c.x) << c.kind << " size " << c.sizeClass;
        EXPECT_EQ(element.GetMotion(2), c.z) << c.kind << " size " << c.sizeClass;
    }
}

TEST_F(SceneSeqWndTest, SizeClassOneRunsAtHalfSpeedAndTheYStepCountsOnlyWhenMoving)
{
    CRiverSeqWnd slow(1, CPoint(0, 0), nullptr, images.get(), 80, 0, 1);
    slow.SetShown(true);
    slow.SetAnimation(0);
    const std::vector<int16_t> expected{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1,
                                        1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2};
    EXPECT_EQ(Run(slow, 25), expected);

    CRiverSeqWnd element(2, CPoint(0, 0), nullptr, images.get(), 80, 0, 0);
    element.SetShown(true);
    element.SetAnimation(0);
    element.Step(true);
    element.SetDue(GetAppTime());
    element.Step(true);
    EXPECT_EQ(element.GetMotion(1), 3);
    element.SetAnimation(0);
    element.SetDue(GetAppTime());
    element.Step(false);
    element.SetDue(GetAppTime());
    element.Step(false);
    EXPECT_EQ(element.GetMotion(1), 0);
    EXPECT_EQ(element.GetPendingAnimation(), -1);
}

} // namespace
