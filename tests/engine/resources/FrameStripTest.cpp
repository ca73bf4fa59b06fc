#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "engine/resources/FrameStrip.h"
#include "tests/support/BitWriter.h"
#include "tests/support/CodecFixtures.h"
#include "tests/support/FrameStripFixtures.h"

using qmtest::CodedFrame;
using qmtest::MakeFrameStrip;

namespace {

std::unique_ptr<CMemory> Block(const std::vector<uint8_t>& bytes)
{
    auto block = std::make_unique<CMemory>(static_cast<int32_t>(bytes.size()));
    if (!bytes.empty())
        block->PutBytes(bytes.data(), static_cast<int32_t>(bytes.size()), 0);
    return block;
}

// A picture whose pixel (x, y) is (x * 7 + y * 3) % 251, rows top-down.
std::vector<uint8_t> Picture(int width, int height, int seed = 0)
{
    std::vector<uint8_t> p(static_cast<size_t>(width * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p[static_cast<size_t>(y * width + x)] = static_cast<uint8_t>((x * 7 + y * 3 + seed) % 251);
    return p;
}

// A bitmap with rows exactly as wide as the picture, so that stray writes are caught.
struct Bitmap {
    int width, height;
    bool bottomUp;
    std::vector<uint8_t> pixels;
    Bitmap(int w, int h, bool up = false, uint8_t fill = 0xEE)
        : width(w), height(h), bottomUp(up), pixels(static_cast<size_t>(w * h), fill)
    {
    }
    PixelRows Rows() { return {pixels.data(), width, height, width, bottomUp}; }
    uint8_t At(int x, int y) const
    {
        return pixels[static_cast<size_t>((bottomUp ? height - 1 - y : y) * width + x)];
    }
    // The picture as top-down rows.
    std::vector<uint8_t> TopDown() const
    {
        std::vector<uint8_t> out;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                out.push_back(At(x, y));
        return out;
    }
};

std::vector<uint8_t> Le32(uint32_t v)
{
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}

} // namespace

TEST(FrameStrip, NullBlockAnswersNoBlockToEveryOperation)
{
    CFrameStrip strip(nullptr);
    EXPECT_EQ(strip.GetStatus(), CFrameStrip::kNoBlock);
    EXPECT_EQ(strip.GetFrameCount(), 0);
    CPoint size(5, 5);
    EXPECT_EQ(strip.GetFrameSize(size, 0), CFrameStrip::kNoBlock);
    EXPECT_EQ(size, CPoint(0, 0));
    Bitmap bmp(8, 8);
    EXPECT_EQ(strip.DecodeFrame(bmp.Rows(), 0, nullptr), CFrameStrip::kNoBlock);
}

TEST(FrameStrip, FrameSizesAndRange)
{
    CFrameStrip strip(
        Block(MakeFrameStrip({CodedFrame(5, 3, Picture(5, 3)), CodedFrame(9, 17, Picture(9, 17))})));
    ASSERT_EQ(strip.GetFrameCount(), 2);
    CPoint size;
    EXPECT_EQ(strip.GetFrameSize(size, 1), CFrameStrip::kOk);
    EXPECT_EQ(size, CPoint(9, 17));
    EXPECT_EQ(strip.GetFrameSize(size, 2), CFrameStrip::kOutOfRange);
    EXPECT_EQ(size, CPoint(0, 0));
    EXPECT_EQ(strip.GetFrameSize(size, -1), CFrameStrip::kOutOfRange);
    Bitmap bmp(9, 17);
    EXPECT_EQ(strip.DecodeFrame(bmp.Rows(), 2, nullptr), CFrameStrip::kOutOfRange);
}

TEST(FrameStrip, DecodesEachFrameTopDownAndBottomUp)
{
    const std::vector<uint8_t> a = Picture(13, 11, 1), b = Picture(20, 6, 2);
    CFrameStrip strip(Block(MakeFrameStrip({CodedFrame(13, 11, a), CodedFrame(20, 6, b)})));
    for (bool up : {false, true}) {
        Bitmap first(13, 11, up), second(20, 6, up);
        EXPECT_EQ(strip.DecodeFrame(first.Rows(), 0, nullptr), CFrameStrip::kOk);
        EXPECT_EQ(strip.DecodeFrame(second.Rows(), 1, nullptr), CFrameStrip::kOk);
        EXPECT_EQ(first.TopDown(), a) << "bottom-up " << up;
        EXPECT_EQ(second.TopDown(), b) << "bottom-up " << up;
    }
}

TEST(FrameStrip, LargerFrameIsClippedToTheBitmap)
{
    // A 20x20 frame decoded into a 12x9 bitmap: its top-left part, nothing outside.
    const std::vector<uint8_t> big = Picture(20, 20, 3);
    CFrameStrip strip(Block(MakeFrameStrip({CodedFrame(20, 20, big)})));
    for (bool up : {false, true}) {
        Bitmap bmp(12, 9, up);
        CRect updated;
        EXPECT_EQ(strip.DecodeFrame(bmp.Rows(), 0, &updated), CFrameStrip::kOk);
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 12; ++x)
                ASSERT_EQ(bmp.At(x, y), big[static_cast<size_t>(y * 20 + x)]) << x << "," << y;
        EXPECT_EQ(updated, CRect(0, 0, 16, 16)); // the tiles that reached the bitmap
    }
}

TEST(FrameStrip, MaskedDecodeLeavesZeroFillsAndReportsTheTilesWritten)
{
    // 16x16: tiles in order (0,0) (8,0) (0,8) (8,8) by column. Two zero fills are skipped.
    qmtest::BitWriter w;
    w.Fill(0, 1).Fill(5).Fill(0);
    CFrameStrip strip(Block(MakeFrameStrip({{16, 16, qmtest::MakeImage(256, std::nullopt, w.Bytes())}})));
    Bitmap bmp(16, 16);
    CRect updated;
    ASSERT_EQ(strip.DecodeFrame(bmp.Rows(), 0, &updated), CFrameStrip::kOk);
    EXPECT_EQ(bmp.At(0, 0), 0xEE);
    EXPECT_EQ(bmp.At(0, 8), 0xEE);
    EXPECT_EQ(bmp.At(8, 0), 5);
    EXPECT_EQ(bmp.At(8, 8), 0xEE);
    EXPECT_EQ(updated, CRect(0, 8, 8, 16));

    // Without a rectangle every tile is written.
    Bitmap whole(16, 16);
    ASSERT_EQ(strip.DecodeFrame(whole.Rows(), 0, nullptr), CFrameStrip::kOk);
    EXPECT_EQ(whole.At(0, 0), 0);
}

TEST(FrameStrip, DamagedTableIsCheckedAgainstTheBlock)
{
    const std::vector<uint8_t> good =
        MakeFrameStrip({CodedFrame(8, 8, Picture(8, 8)), CodedFrame(8, 8, Picture(8, 8, 9))});
    // A count of 30000 keeps only the records that lie inside the block.
    const auto fit = static_cast<int16_t>((good.size() - 2) / 12);
    struct Case {
        const char* name;
        size_t at;
        std::vector<uint8_t> bytes;
        int16_t count;
        int16_t frame1;
    };
    const Case cases[] = {
        {"count past the block", 0, {0x30, 0x75}, fit, CFrameStrip::kOk},
        {"negative count", 0, {0xFF, 0xFF}, 0, CFrameStrip::kOutOfRange},
        {"negative width", 14, {0xFF, 0xFF}, 2, CFrameStrip::kDamaged},
        {"negative height", 16, {0x00, 0x80}, 2, CFrameStrip::kDamaged},
        {"offset past the end", 18, {0xFF, 0xFF, 0xFF, 0x7F}, 2, CFrameStrip::kDamaged},
        {"offset leaving no header", 18, Le32(static_cast<uint32_t>(good.size() - 4)), 2,
         CFrameStrip::kDamaged},
    };
    for (const Case& k : cases) {
        std::vector<uint8_t> bytes = good;
        std::memcpy(bytes.data() + k.at, k.bytes.data(), k.bytes.size());
        CFrameStrip strip(Block(bytes));
        EXPECT_EQ(strip.GetFrameCount(), k.count) << k.name;
        Bitmap bmp(8, 8);
        const int16_t result = strip.DecodeFrame(bmp.Rows(), 1, nullptr);
        EXPECT_EQ(result, k.frame1) << k.name;
        if (k.frame1 == CFrameStrip::kDamaged) {
            EXPECT_EQ(bmp.At(0, 0), 0xEE) << k.name << ": a damaged frame draws nothing";
        }
    }
}

TEST(FrameStrip, TruncatedStripsNeverReadOrWriteOutside)
{
    const std::vector<uint8_t> good =
        MakeFrameStrip({CodedFrame(11, 9, Picture(11, 9)), CodedFrame(7, 13, Picture(7, 13, 4))});
    for (size_t n = 0; n <= good.size(); ++n) {
        CFrameStrip strip(
            Block(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<ptrdiff_t>(n))));
        for (int32_t i = 0; i < strip.GetFrameCount(); ++i) {
            CPoint size;
            strip.GetFrameSize(size, i);
            Bitmap bmp(9, 9, i == 1);
            CRect updated;
            strip.DecodeFrame(bmp.Rows(), i, nullptr);
            strip.DecodeFrame(bmp.Rows(), i, &updated);
        }
    }
}

TEST(FrameStrip, LoadHandsBackTheOldBlock)
{
    CFrameStrip strip(Block(MakeFrameStrip({CodedFrame(8, 8, Picture(8, 8))})));
    std::unique_ptr<CMemory> old = strip.Load(nullptr);
    ASSERT_TRUE(old);
    EXPECT_EQ(strip.GetStatus(), CFrameStrip::kNoBlock);
    EXPECT_EQ(strip.GetFrameCount(), 0);
    strip.Load(std::move(old));
    EXPECT_EQ(strip.GetFrameCount(), 1);
}
