#include <gtest/gtest.h>

#include "engine/controls/anim/Sequence.h"
#include "tests/engine/controls/anim/AnimTestKit.h"
#include "tests/engine/resources/DefinitionText.h"
#include "tests/support/RleFixtures.h"

namespace {

using namespace animtest;

std::vector<uint8_t> Raw(CMemory& block)
{
    std::vector<uint8_t> bytes(static_cast<size_t>(block.GetSize()));
    block.GetBytes(bytes.data(), block.GetSize(), 0);
    return bytes;
}

} // namespace

TEST(Sequence, TheFrameTableFollowsTheAnimations)
{
    // A = 2: the frame count at byte 18, frame 0 at byte 20.
    auto block =
        qmtest::BlockOf(SeqBytes({{0, 1, 4, 2}, {2, 255, 6, 1}},
                                 {{3, 1, -2, 0, 0, 0}, {4, 5, 6, 7, 8, 9}, {10, -11, 12, 13, 14, 15}}));
    CSequence seq(block.get());
    EXPECT_EQ(seq.GetFrameTableOffset(), 18);
    EXPECT_EQ(seq.GetAnimationCount(), 2);
    EXPECT_EQ(seq.GetFrameCount(), 3);
    const std::vector<uint8_t> raw = Raw(*block);
    EXPECT_EQ(raw[18] | raw[19] << 8, 3); // swapped to host order in place
    EXPECT_EQ(raw[20] | raw[21] << 8, 3); // frame 0's cel

    const auto a1 = seq.GetAnimation(1);
    ASSERT_TRUE(a1);
    EXPECT_EQ(a1->firstFrame, 2);
    EXPECT_EQ(a1->nextAnimation, 255);
    EXPECT_EQ(a1->ticksPerFrame, 6);
    EXPECT_EQ(a1->frameCount, 1);
    EXPECT_EQ(seq.GetFirstFrame(1), 2);
    EXPECT_EQ(seq.GetNextAnimation(0), 1);
    EXPECT_EQ(seq.GetTicksPerFrame(0), 4);
    EXPECT_EQ(seq.GetAnimFrameCount(0), 2);

    const auto last = seq.GetFrame(2);
    ASSERT_TRUE(last);
    EXPECT_EQ((std::vector<int>{last->cel, last->dh, last->dv, last->sound, last->ticks, last->dz}),
              (std::vector<int>{10, -11, 12, 13, 14, 15}));
    EXPECT_EQ(seq.GetCel(0), 3);
    EXPECT_EQ(seq.GetDh(0), 1);
    EXPECT_EQ(seq.GetDv(0), -2);
    EXPECT_EQ(seq.GetSound(1), 7);
    EXPECT_EQ(seq.GetFrameTicks(1), 8);

    // Out of range, negative indices too: null copies and 0 fields.
    for (const int16_t n : {int16_t{3}, int16_t{-1}, int16_t{-32768}}) {
        EXPECT_FALSE(seq.GetFrame(n)) << n;
        EXPECT_EQ(seq.GetCel(n), 0) << n;
        EXPECT_EQ(seq.GetFrameTicks(n), 0) << n;
    }
    for (const int16_t n : {int16_t{2}, int16_t{-1}}) {
        EXPECT_FALSE(seq.GetAnimation(n)) << n;
        EXPECT_EQ(seq.GetAnimFrameCount(n), 0) << n;
        EXPECT_EQ(seq.GetNextAnimation(n), 0) << n;
    }
}

TEST(Sequence, CountsAreBelievedOnlyAsFarAsTheBlockHoldsEntries)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        int16_t anims, frames;
    };
    const std::vector<uint8_t> full = SeqBytes({{0, 0, 1, 2}}, {{1, 0, 0, 0, 0, 0}, {2, 0, 0, 0, 0, 0}});
    std::vector<uint8_t> cutFrames(full.begin(), full.end() - 1); // the last frame is one byte short
    std::vector<uint8_t> manyFrames = full;
    manyFrames[10] = 0x7F; // F = 0x7F02
    std::vector<uint8_t> manyAnims = full;
    manyAnims[0] = 0x01; // A = 257: the frame count would lie past the block
    std::vector<uint8_t> negativeAnims = full;
    negativeAnims[0] = 0xFF; // A = -255: none, and the frame count is read at byte 2
    std::vector<uint8_t> negativeFrames = full;
    negativeFrames[10] = 0x80; // F = -32766
    const Case cases[] = {
        {"whole", full, 1, 2},
        {"cut frame", cutFrames, 1, 1},
        {"frame count too large", manyFrames, 1, 2},
        {"animation count too large", manyAnims, 4, 0},
        {"negative animation count", negativeAnims, 0, 0},
        {"negative frame count", negativeFrames, 1, 0},
        {"one byte", {0x00}, 0, 0},
        {"empty", {}, 0, 0},
        {"no frame count", Be16({1, 0, 0, 1, 1}), 1, 0},
    };
    for (const Case& c : cases) {
        auto block = qmtest::BlockOf(c.bytes);
        CSequence seq(block.get());
        EXPECT_EQ(seq.GetAnimationCount(), c.anims) << c.what;
        EXPECT_EQ(seq.GetFrameCount(), c.frames) << c.what;
        EXPECT_FALSE(seq.GetFrame(c.frames)) << c.what;
        EXPECT_FALSE(seq.GetAnimation(c.anims)) << c.what;
    }
    CSequence none(nullptr);
    EXPECT_EQ(none.GetAnimationCount(), 0);
    EXPECT_FALSE(none.GetFrame(0));
}

TEST(CelTable, EntriesAreAnchorsWithinTheBlock)
{
    auto block = qmtest::BlockOf(CelBytes({{3, 4}, {-5, 600}}));
    CCelTable cels(block.get());
    EXPECT_EQ(cels.GetCount(), 2);
    const auto e = cels.GetEntry(1);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->h, -5);
    EXPECT_EQ(e->v, 600);
    EXPECT_FALSE(cels.GetEntry(2));
    EXPECT_FALSE(cels.GetEntry(-1));
    EXPECT_FALSE(cels.OwnsBlock());

    std::vector<uint8_t> cut = CelBytes({{1, 2}, {3, 4}, {5, 6}});
    cut.resize(cut.size() - 2);
    auto cutBlock = qmtest::BlockOf(cut);
    EXPECT_EQ(CCelTable(cutBlock.get()).GetCount(), 2);
    auto negative = qmtest::BlockOf(Be16({-3, 1, 1}));
    EXPECT_EQ(CCelTable(negative.get()).GetCount(), 0);
}

TEST(Sequence, LoadedByIdItOwnsTheBlockAndAMissingOneIsFatal)
{
    deftext::InstallEngineStrings();
    deftext::AddFolderLibrary({{"SEQ", 40, Text(SeqBytes({{0, 0, 2, 1}}, {{7, 0, 0, 0, 0, 0}}))},
                               {"CEL", 40, Text(CelBytes({{8, 9}}))}});
    CSequence seq(40, 0xFFFFFFFF);
    EXPECT_TRUE(seq.OwnsBlock());
    EXPECT_EQ(seq.GetCel(0), 7);
    CCelTable cels(40, 0xFFFFFFFF);
    EXPECT_TRUE(cels.OwnsBlock());
    EXPECT_EQ(cels.GetEntry(0)->v, 9);
    EXPECT_NE(deftext::FatalReport([] { CSequence missing(41, 0xFFFFFFFF); }), "(no report)");
    EXPECT_NE(deftext::FatalReport([] { CCelTable missing(41, 0xFFFFFFFF); }), "(no report)");
}
