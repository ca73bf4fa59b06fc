#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/framework/Memory.h"
#include "engine/graphics/FrameSet.h"
#include "engine/graphics/OffScEnv.h"
#include "tests/engine/graphics/PixelText.h"
#include "tools/ImageEncoder.h"

using qmtest::Pixels;
using Rows = std::vector<std::string>;

namespace {

std::unique_ptr<CMemory> Block(const std::vector<uint8_t>& bytes)
{
    auto block = std::make_unique<CMemory>(static_cast<int32_t>(bytes.size()));
    block->PutBytes(bytes.data(), static_cast<int32_t>(bytes.size()), 0);
    return block;
}

std::vector<uint8_t> PixelsOf(const Rows& rows)
{
    std::vector<uint8_t> pixels;
    for (const std::string& row : rows)
        for (char c : row)
            pixels.push_back(qmtest::PixelValue(c));
    return pixels;
}

// An image strip whose frames are coded as the image tool codes them: frame 0 whole, each
// later frame holding the tiles that differ from the frame before.
std::vector<uint8_t> Strip(const std::vector<Rows>& frames)
{
    std::vector<StripFrame> coded;
    std::vector<uint8_t> previous;
    for (const Rows& rows : frames) {
        const std::vector<uint8_t> pixels = PixelsOf(rows);
        const auto w = static_cast<int16_t>(rows[0].size()), h = static_cast<int16_t>(rows.size());
        const PictureView before{previous.data(), w, h, w};
        coded.push_back(
            {w, h, EncodeBlockImage({pixels.data(), w, h, w}, previous.empty() ? nullptr : &before)});
        previous = pixels;
    }
    return BuildFrameStrip(coded);
}

// A 16 x 8 picture of two tiles, the left one of colour a and the right one of colour b.
Rows TwoTiles(char a, char b) { return Rows(8, std::string(8, a) + std::string(8, b)); }

} // namespace

TEST(FrameSet, PlaysForwardAndReplaysFromFrameZeroGoingBack)
{
    // Frame 0 has a tile of 0 that frame 1 paints over; each later frame changes one tile.
    CFrameSet set(Block(Strip({TwoTiles('0', '1'), TwoTiles('5', '1'), TwoTiles('5', '2'), TwoTiles('6', '2'),
                               TwoTiles('6', '3'), TwoTiles('7', '3')})));
    ASSERT_EQ(set.GetCount(), 6);
    EXPECT_EQ(Pixels(*set.GetBitmap()), TwoTiles('0', '1'));
    EXPECT_EQ(set.GetUpdateRect(), CRect(0, 0, 8, 16)) << "frame 0 is written whole";

    EXPECT_TRUE(set.GoToFrame(5));
    EXPECT_EQ(Pixels(*set.GetBitmap()), TwoTiles('7', '3'));
    EXPECT_EQ(set.GetUpdateRect(), CRect(0, 0, 8, 8)) << "frame 5 changes the left tile only";

    EXPECT_TRUE(set.GoToFrame(2));
    EXPECT_EQ(set.GetIndex(), 2);
    EXPECT_EQ(Pixels(*set.GetBitmap()), TwoTiles('5', '2'));
    EXPECT_EQ(set.GetUpdateRect(), CRect(0, 8, 8, 16)) << "the tiles of frame 2 only";

    // Back to frame 0: its tile of 0 is written again, not left from a later frame.
    EXPECT_TRUE(set.GoToFrame(0));
    EXPECT_EQ(Pixels(*set.GetBitmap()), TwoTiles('0', '1'));

    EXPECT_FALSE(set.GoToFrame(0)) << "already there";
    EXPECT_FALSE(set.GoToFrame(6));
    EXPECT_FALSE(set.GoToFrame(-1));
    EXPECT_EQ(set.GetIndex(), 0);
}

TEST(FrameSet, NextFrameStopsAtTheLast)
{
    CFrameSet set(Block(Strip({TwoTiles('1', '1'), TwoTiles('2', '1')})));
    EXPECT_TRUE(set.NextFrame());
    EXPECT_EQ(set.GetIndex(), 1);
    EXPECT_FALSE(set.NextFrame());
    EXPECT_EQ(set.GetIndex(), 1);
    EXPECT_EQ(Pixels(*set.GetBitmap()), TwoTiles('2', '1'));
}

TEST(FrameSet, ALargerLaterFrameStaysInsideFrameZerosBitmap)
{
    std::vector<StripFrame> frames;
    const std::vector<uint8_t> small = PixelsOf(Rows(3, "123"));
    Rows bigRows;
    for (int y = 0; y < 20; ++y) {
        std::string row;
        for (int x = 0; x < 20; ++x)
            row += static_cast<char>('a' + (x + y) % 20);
        bigRows.push_back(row);
    }
    const std::vector<uint8_t> big = PixelsOf(bigRows);
    frames.push_back({3, 3, EncodeBlockImage({small.data(), 3, 3, 3})});
    frames.push_back({20, 20, EncodeBlockImage({big.data(), 20, 20, 20})});
    CFrameSet set(Block(BuildFrameStrip(frames)));
    ASSERT_TRUE(set.NextFrame());
    EXPECT_EQ(set.GetBitmap()->GetRect(), CRect(0, 0, 3, 3));
    EXPECT_EQ(Pixels(*set.GetBitmap()), (Rows{"abc", "bcd", "cde"}));
    CPoint size;
    set.GetEntrySize(size, 1);
    EXPECT_EQ(size, CPoint(20, 20));
}

TEST(FrameSet, DrawsTheCurrentFrameThroughItsRecord)
{
    CFrameSet set(Block(Strip({{"0123", "4567"}})));
    auto env = std::make_unique<COffScEnv>();
    env->Init(CRect(0, 0, 3, 6), nullptr, false);
    set.Draw(env.get(), CRect(1, 1, 3, 5), false);
    EXPECT_EQ(Pixels(*env->GetBitmap()), (Rows{"......", ".0123.", ".4567."}));

    env->Init(CRect(0, 0, 3, 6), nullptr, false);
    set.SetDrawProc(DrawTransparent);
    set.Draw(env.get(), CRect(0, 0, 2, 4), false);
    EXPECT_EQ(Pixels(*env->GetBitmap()), (Rows{".123..", "4567..", "......"}));

    // Scaled: stretched into the rectangle by the environment's own copy.
    env->Init(CRect(0, 0, 4, 8), nullptr, false);
    set.SetDrawProc(nullptr);
    set.Draw(env.get(), CRect(0, 0, 4, 8), true);
    EXPECT_EQ(Pixels(*env->GetBitmap()), (Rows{"00112233", "00112233", "44556677", "44556677"}));
    EXPECT_EQ(set.GetByteSize(), 8 * 2);
}

TEST(FrameSet, ANullOrDamagedStripGivesAnEmptySet)
{
    CFrameSet none(nullptr);
    EXPECT_EQ(none.GetCount(), 0);
    EXPECT_FALSE(none.NextFrame());
    EXPECT_FALSE(none.GoToFrame(0));
    auto env = std::make_unique<COffScEnv>();
    env->Init(CRect(0, 0, 2, 2), nullptr, false);
    none.Draw(env.get(), CRect(0, 0, 2, 2), false);
    EXPECT_EQ(Pixels(*env->GetBitmap()), (Rows{"..", ".."}));
}
