#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/framework/Memory.h"
#include "engine/graphics/BitmapSet.h"
#include "engine/graphics/CelList.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/RleDraw.h"
#include "engine/graphics/RleImgSet.h"
#include "engine/graphics/RsrcList.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/support/RleFixtures.h"
#include "tools/ImageEncoder.h"

using qmtest::Pixels;
using Rows = std::vector<std::string>;

namespace {

std::unique_ptr<CMemory> Block(const std::vector<uint8_t>& bytes)
{
    auto block = std::make_unique<CMemory>(static_cast<int32_t>(bytes.size()));
    if (!bytes.empty())
        block->PutBytes(bytes.data(), static_cast<int32_t>(bytes.size()), 0);
    return block;
}

// A frame coded from rows of pixel text ('0'-'9', 'a'-'z', '.' for 255).
StripFrame Frame(const Rows& rows)
{
    std::vector<uint8_t> pixels;
    for (const std::string& row : rows)
        for (char c : row)
            pixels.push_back(qmtest::PixelValue(c));
    const auto w = static_cast<int16_t>(rows[0].size()), h = static_cast<int16_t>(rows.size());
    return {w, h, EncodeBlockImage({pixels.data(), w, h, w})};
}

// A picture strip of two frames of different sizes.
std::unique_ptr<CBitmapSet> TwoFrames()
{
    return std::make_unique<CBitmapSet>(
        Block(BuildFrameStrip({Frame({"0123", "4567"}), Frame({"ab", "cd", "e0"})})));
}

// A sprite of two cels: 3x2 with a transparent corner, and 2x1.
std::vector<uint8_t> TwoCels()
{
    return qmtest::MakeRls({{2, 3, {0x00, 0, 0x81, 1, 2, 0x02, 3}}, {1, 2, {0x01, 5}}});
}

std::unique_ptr<COffScEnv> Env(int16_t w, int16_t h)
{
    auto env = std::make_unique<COffScEnv>();
    env->Init(CRect(0, 0, h, w), nullptr, false);
    return env;
}

} // namespace

TEST(BitmapSet, DecodesEveryFrameIntoItsOwnBitmap)
{
    auto set = TwoFrames();
    ASSERT_EQ(set->GetCount(), 2);
    EXPECT_TRUE(set->IsComplete());
    EXPECT_EQ(Pixels(*set->GetEntry(0)), (Rows{"0123", "4567"}));
    EXPECT_EQ(Pixels(*set->GetEntry(1)), (Rows{"ab", "cd", "e0"}));
    CPoint size;
    set->GetEntrySize(size, 1);
    EXPECT_EQ(size, CPoint(2, 3));
    EXPECT_EQ(set->GetEntry(2), nullptr);
    EXPECT_EQ(set->GetEntry(-1), nullptr);
    EXPECT_EQ(set->GetByteSize(), 8 * 2 + 8 * 3); // rows rounded up to 8 pixels
}

TEST(BitmapSet, ADamagedFrameMakesTheSetIncomplete)
{
    std::vector<uint8_t> bytes = BuildFrameStrip({Frame({"01"}), Frame({"23"})});
    bytes[2 + 12 + 1] = 0x80; // frame 1's width becomes negative
    CBitmapSet set(Block(bytes));
    EXPECT_FALSE(set.IsComplete());
    EXPECT_EQ(Pixels(*set.GetEntry(0)), (Rows{"01"}));
    EXPECT_EQ(set.GetEntry(1), nullptr);
    EXPECT_EQ(CBitmapSet(nullptr).GetCount(), 0);
}

TEST(CelList, SizesRectanglesAndBitmapsOfCels)
{
    CCelList cels(Block(TwoCels()));
    ASSERT_EQ(cels.GetCount(), 2);
    CPoint size(9, 9);
    cels.GetEntrySize(size, 0);
    EXPECT_EQ(size, CPoint(3, 2));
    CRect rect(9, 9, 9, 9);
    cels.GetCelRect(rect, 1);
    EXPECT_EQ(rect, CRect(0, 0, 1, 2));
    // Out of range: nothing is written.
    size.Set(9, 9);
    cels.GetEntrySize(size, 2);
    EXPECT_EQ(size, CPoint(9, 9));
    EXPECT_EQ(cels.GetEntry(0), nullptr);
    EXPECT_EQ(cels.GetByteSize(), static_cast<int32_t>(TwoCels().size()));

    // A cel's own bitmap: filled with 255, index 0 left transparent.
    std::unique_ptr<CDibSect> bitmap = cels.MakeBitmap(0);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(Pixels(*bitmap), (Rows{".12", "333"}));
    EXPECT_EQ(cels.MakeBitmap(2), nullptr);

    // Row offsets: one table per cel.
    ASSERT_NE(cels.GetRowOffsets(), nullptr);
    const uint32_t start = 2 + 2 * 12;
    EXPECT_EQ((*cels.GetRowOffsets())[0], (std::vector<uint32_t>{start, start + 5, start + 7}));
    EXPECT_EQ((*cels.GetRowOffsets())[1], (std::vector<uint32_t>{start + 7, start + 9}));
}

TEST(CelList, ABlockWithoutDataGivesEmptySizes)
{
    CCelList cels(Block({}));
    EXPECT_EQ(cels.GetCount(), 0);
    CCelList none(nullptr);
    EXPECT_EQ(none.GetCount(), 0);
    EXPECT_EQ(none.GetByteSize(), 0);
    // A cel whose entry is damaged has the size (0, 0).
    std::vector<uint8_t> bytes = TwoCels();
    qmtest::PutBe32(bytes, 6, 5000);
    CCelList damaged(Block(bytes));
    CPoint size(9, 9);
    damaged.GetEntrySize(size, 0);
    EXPECT_EQ(size, CPoint(0, 0));
    EXPECT_EQ(damaged.MakeBitmap(0), nullptr);
}

TEST(ImgSet, IndexRulesAndContainment)
{
    CRsrcList list(TwoFrames().release(), 0);
    EXPECT_EQ(list.GetDrawProc(), DrawOpaque) << "a new set draws opaque";
    list.SetIndex(1);
    EXPECT_EQ(list.GetIndex(), 1);
    list.SetIndex(2); // the count: unchanged
    EXPECT_EQ(list.GetIndex(), 1);
    list.SetIndex(-1);
    EXPECT_EQ(list.GetIndex(), 1);

    CRect rect;
    list.GetImageRect(rect, 0);
    EXPECT_EQ(rect, CRect(0, 0, 2, 4));
    // Edges included; -1 is the current image (2 x 3).
    EXPECT_TRUE(list.ContainsPoint(CPoint(2, 3), -1));
    EXPECT_FALSE(list.ContainsPoint(CPoint(3, 3), -1));
    EXPECT_FALSE(list.ContainsPoint(CPoint(-1, 0), -1));
    EXPECT_TRUE(list.ContainsPoint(CPoint(4, 2), 0));

    CRsrcList empty(nullptr, 0);
    empty.SetIndex(77);
    EXPECT_EQ(empty.GetIndex(), 77) << "without a source any index is stored";
}

TEST(ImgSet, TransparentCallbacksLeaveColourZeroOutside)
{
    CRsrcList list(TwoFrames().release(), 0);
    const CPoint zero(0, 0), one(1, 0); // pixel (0, 0) has colour 0, (1, 0) colour 1
    EXPECT_TRUE(list.ContainsPoint(zero, -1));
    for (DrawProc proc : {DrawTransparent, DrawDepthTested}) {
        list.SetDrawProc(proc);
        EXPECT_FALSE(list.ContainsPoint(zero, -1));
        EXPECT_TRUE(list.ContainsPoint(one, -1));
        EXPECT_FALSE(list.ContainsPoint(CPoint(1, 2), 1)) << "image 1's pixel (1, 2) has colour 0";
    }
    list.SetDrawProc(DrawOpaque);
    EXPECT_TRUE(list.ContainsPoint(zero, -1));
}

TEST(ImgSet, ResourceListDrawsThroughTheEnvironmentAndItsCallback)
{
    CRsrcList list(TwoFrames().release(), 0);
    auto env = Env(6, 3);
    list.DrawAtPoint(env.get(), CPoint(1, 1));
    EXPECT_EQ(Pixels(*env->GetBitmap()), (Rows{"......", ".0123.", ".4567."}));

    env = Env(6, 3);
    list.SetDrawProc(DrawTransparent);
    list.DrawAtOrigin(env.get());
    EXPECT_EQ(Pixels(*env->GetBitmap()), (Rows{".123..", "4567..", "......"}));

    auto dest = qmtest::MakeBitmap(5, 2);
    list.SetIndex(1);
    list.Draw(dest.get(), CRect(0, 2, 0, 2));
    EXPECT_EQ(Pixels(*dest), (Rows{"..ab.", "..cd."}));
}

TEST(RleImgSet, DrawsTheCurrentCelIntoAnOffScreenEnvironment)
{
    CRleImgSet set(new CCelList(Block(TwoCels())), 0);
    EXPECT_EQ(set.GetDrawProc(), DrawRleCel);
    auto env = Env(5, 3);
    set.DrawAtPoint(env.get(), CPoint(1, 1));
    EXPECT_EQ(Pixels(*env->GetBitmap()), (Rows{".....", "..12.", ".333."}));
    EXPECT_EQ(set.GetRecord().params[6], reinterpret_cast<intptr_t>(&set));

    set.SetIndex(1);
    set.DrawInRect(env.get(), CRect(0, 3, 1, 5));
    EXPECT_EQ(Pixels(*env->GetBitmap())[0], "...55");

    // Mirrored through the record's parameter 2.
    env = Env(3, 2);
    set.SetIndex(0);
    set.SetDrawProc(DrawRleCel, 0, 0, 1);
    set.DrawAtOrigin(env.get());
    EXPECT_EQ(Pixels(*env->GetBitmap()), (Rows{"21.", "333"}));

    // Another kind of environment draws nothing.
    CDrawEnv plain;
    set.DrawAtOrigin(&plain);
}

TEST(MissingImage, RedCrossedByBlueAndTheEnvironmentKept)
{
    COffScEnv env;
    env.Init(CRect(0, 0, 12, 12), nullptr, false);
    // The indices the environment gives red and blue (program colour values, red in the low
    // byte), found by filling a probe pixel with each.
    const auto indexOf = [&env](int32_t color) {
        env.SetTextColor(color);
        env.FillRect(CRect(11, 11, 12, 12));
        return env.GetBitmap()->GetPixel(11, 11);
    };
    const uint8_t red = indexOf(0x100000FF), blue = indexOf(0x10FF0000);
    ASSERT_NE(red, blue);
    env.SetTextColor(7);
    env.SetPenWidth(1);
    const CRect rect(1, 1, 11, 11);
    DrawMissingImage(&env, &rect, false);
    CDibSect& bitmap = *env.GetBitmap();
    EXPECT_EQ(bitmap.GetPixel(6, 2), red) << "red fill";
    EXPECT_EQ(bitmap.GetPixel(5, 5), blue) << "blue diagonal";
    EXPECT_EQ(bitmap.GetPixel(5, 6), blue) << "3 pixels wide";
    EXPECT_EQ(bitmap.GetPixel(6, 9), red) << "only 3 pixels wide";
    EXPECT_EQ(bitmap.GetPixel(0, 0), 255) << "outside the rectangle";
    EXPECT_EQ(env.GetForeColor(), 7);
    EXPECT_EQ(env.GetPenWidth(), 1);

    DrawMissingImage(&env, &rect, true);
    EXPECT_EQ(bitmap.GetPixel(6, 2), blue) << "swapped: blue fill";
    EXPECT_EQ(bitmap.GetPixel(5, 5), red);
    DrawMissingImage(nullptr, &rect, false);
    DrawMissingImage(&env, nullptr, false);
}
