#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/DibSect.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/support/TestEnv.h"

namespace {

using Rows = std::vector<std::string>;
using qmtest::MakeBitmap;
using qmtest::Pixels;

TEST(DibSect, RowWidthsOfBothConstructors)
{
    const struct {
        int16_t width;
        bool exact; // made through the origin-point constructor
        int16_t rowBytes;
    } cases[] = {{100, false, 104}, {100, true, 100}, {638, false, 640},
                 {638, true, 640},  {1, true, 4},     {8, false, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + (c.exact ? " exact" : " rounded"));
        const CRect rect(0, 0, 3, c.width);
        const auto made = c.exact ? std::make_unique<CDibSect>(rect, CPoint(0, 0), 8, 0xFF)
                                  : std::make_unique<CDibSect>(rect, 8, 0xFF);
        const CDibSect& bitmap = *made;
        EXPECT_TRUE(bitmap.IsCreated());
        EXPECT_EQ(bitmap.GetRowBytes(), c.rowBytes);
        EXPECT_EQ(bitmap.GetHandle()->width, c.rowBytes);
        EXPECT_EQ(bitmap.GetHandle()->pitch, c.rowBytes);
        EXPECT_EQ(bitmap.GetInfo()->header.width, c.rowBytes);
        EXPECT_EQ(bitmap.GetInfo()->header.height, 3) << "positive: bottom-up";
        EXPECT_EQ(bitmap.GetInfo()->header.bitCount, 8);
        EXPECT_EQ(bitmap.GetRect(), rect);
        EXPECT_EQ(bitmap.GetImageBytes(), c.rowBytes * 3);
    }
}

TEST(DibSect, EmptyOrTooWideRectanglesMakeNoPixels)
{
    for (const CRect& rect : {CRect(0, 0, 10, 0), CRect(0, 0, 0, 10), CRect(0, 10, 10, 0), CRect(5, 0, 0, 10),
                              CRect(0, 0, 10, 16383), CRect(0, 0, 2, 32767)}) {
        SCOPED_TRACE(std::to_string(rect.GetWidth()) + "x" + std::to_string(rect.GetHeight()));
        CDibSect bitmap(rect, CPoint(0, 0), 8, 0xFF);
        EXPECT_FALSE(bitmap.IsCreated());
        EXPECT_EQ(bitmap.GetHandle(), nullptr);
        EXPECT_EQ(bitmap.LockBits(), nullptr);
        bitmap.FillRect(CRect(0, 0, 5, 5), 3);
        EXPECT_EQ(bitmap.GetPixel(0, 0), 0);
    }
    // The widest rows a bitmap allows: 16380 bytes (16381 pixels would need 16384).
    EXPECT_TRUE(CDibSect(CRect(0, 0, 1, 16380), CPoint(0, 0), 8, 0).IsCreated());
    EXPECT_FALSE(CDibSect(CRect(0, 0, 1, 16381), CPoint(0, 0), 8, 0).IsCreated());
}

TEST(DibSect, FillValueOneLeavesThePixelsAlone)
{
    EXPECT_EQ(Pixels(*MakeBitmap(3, 2, 1)), (Rows{"000", "000"}));
    EXPECT_EQ(Pixels(*MakeBitmap(3, 2, 7)), (Rows{"777", "777"}));
    auto bitmap = MakeBitmap(3, 2, 0);
    bitmap->LockBits();
    bitmap->Fill(9);
    bitmap->UnlockBits();
    EXPECT_EQ(Pixels(*bitmap), (Rows{"999", "999"}));
}

TEST(DibSect, RowsAreStoredBottomUp)
{
    auto bitmap = MakeBitmap({"123", "456"});
    const uint8_t* bits = bitmap->LockBits();
    EXPECT_EQ(std::string(bits, bits + 3), std::string("\4\5\6", 3));
    EXPECT_EQ(std::string(bits + 4, bits + 7), std::string("\1\2\3", 3));
    const PixelRows rows = bitmap->GetPixelRows();
    EXPECT_TRUE(rows.Valid());
    EXPECT_EQ(rows.Row(0), bits + 4);
    EXPECT_EQ(rows.width, 3);
    EXPECT_EQ(rows.rows, 2);
    EXPECT_EQ(rows.bytesPerRow, 4);
    bitmap->UnlockBits();
    EXPECT_EQ(bitmap->GetBits(), nullptr);
    EXPECT_FALSE(bitmap->GetPixelRows().Valid());
    EXPECT_EQ(bitmap->GetPixel(2, 1), 6);
}

TEST(DibSect, PixelReadsOutsideTheRectangleGiveZero)
{
    auto bitmap = MakeBitmap(4, 3, 9);
    for (const auto& [h, v] : {std::pair{4, 0}, {0, 3}, {-1, 0}, {0, -1}, {100000, 1}})
        EXPECT_EQ(bitmap->GetPixel(h, v), 0) << h << "," << v;
    EXPECT_EQ(bitmap->GetPixel(3, 2), 9);
}

TEST(DibSect, FillsAndColourReplacementsAreClippedToTheBitmap)
{
    auto bitmap = MakeBitmap({"0000", "0120", "0000"});
    bitmap->FillRect(CRect(-5, 2, 2, 50), 7);
    EXPECT_EQ(Pixels(*bitmap), (Rows{"0077", "0177", "0000"}));
    bitmap->ReplaceColorInRect(CRect(1, -3, 30, 3), 0, 5);
    EXPECT_EQ(Pixels(*bitmap), (Rows{"0077", "5177", "5550"}));
    bitmap->FillRect(CRect(3, 0, 40, 4), 8); // below the bitmap: nothing
    bitmap->LockBits();
    bitmap->ReplaceColor(7, 3);
    bitmap->UnlockBits();
    EXPECT_EQ(Pixels(*bitmap), (Rows{"0033", "5133", "5550"}));
}

TEST(DibSect, RecreateCopiesTheGivenRows)
{
    CDibSect bitmap(CRect(0, 0, 1, 1), CPoint(0, 0), 8, 0);
    const uint8_t rows[] = {1, 2, 3, 4, 5, 6, 7, 8};
    const CRect rect(0, 0, 2, 4);
    bitmap.Recreate(rect, &rect, 8, 4, rows);
    EXPECT_EQ(Pixels(bitmap), (Rows{"5678", "1234"}));
}

TEST(DibSect, ABorrowedViewKeepsItsPointer)
{
    auto bitmap = MakeBitmap({"12", "34"});
    CDibSect view;
    uint8_t* bits = bitmap->LockBits();
    view.ShareBits(*bitmap);
    bitmap->UnlockBits();
    view.UnlockBits();
    EXPECT_TRUE(view.IsBorrowed());
    EXPECT_EQ(view.GetBits(), bits);
    EXPECT_EQ(view.LockBits(), bits);
    EXPECT_EQ(view.GetRowBytes(), 4);
    EXPECT_EQ(view.GetPixel(1, 1), 4);
}

// ---- Copies ----------------------------------------------------------------------------------

const Rows kSprite = {
    "0120",
    "3450",
    "0006",
};

struct CopyCase {
    const char* name;
    DrawProc proc;
    CRect srcRect; // all zero: the whole source
    CPoint at;
    bool mirror;
    Rows expected;
};

TEST(DibSect, StandardCallbacksCopyClippedOpaqueTransparentAndMirrored)
{
    const CopyCase cases[] = {
        {"opaque", DrawOpaque, {}, {1, 1}, false, {"......", ".0120.", ".3450.", ".0006."}},
        {"transparent", DrawTransparent, {}, {1, 1}, false, {"......", "..12..", ".345..", "....6."}},
        {"mirrored", DrawTransparent, {}, {1, 1}, true, {"......", "..21..", "..543.", ".6...."}},
        {"opaque ignores mirror", DrawOpaque, {}, {0, 0}, true, {"0120..", "3450..", "0006..", "......"}},
        {"above and left", DrawOpaque, {}, {-2, -1}, false, {"50....", "06....", "......", "......"}},
        {"right and below", DrawTransparent, {}, {4, 2}, false, {"......", "......", ".....1", "....34"}},
        {"far outside", DrawOpaque, {}, {6, 0}, false, {"......", "......", "......", "......"}},
        {"source part", DrawOpaque, {1, 1, 3, 4}, {0, 0}, false, {"450...", "006...", "......", "......"}},
        {"source part sticking out",
         DrawOpaque,
         {-1, 2, 2, 9},
         {0, 0},
         false,
         {"20....", "50....", "......", "......"}},
        {"mirrored source part",
         DrawTransparent,
         {0, 1, 2, 4},
         {0, 0},
         true,
         {".21...", ".54...", "......", "......"}},
    };
    auto source = MakeBitmap(kSprite);
    for (const CopyCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto dest = MakeBitmap(6, 4);
        DrawRecord record;
        record.proc = c.proc;
        CRect srcRect = c.srcRect;
        if (srcRect != CRect())
            record.params[0] = reinterpret_cast<intptr_t>(&srcRect);
        record.params[1] = c.mirror ? 0x10001 : 0x10000; // only the low 16 bits count
        c.proc(source.get(), dest.get(), CRect(c.at.GetV(), c.at.GetH(), 0, 0), &record);
        EXPECT_EQ(Pixels(*dest), c.expected);
        EXPECT_EQ(source->GetBits(), nullptr) << "unlocked again";
    }
}

TEST(DibSect, DepthTestedCopiesWriteOnlyWhereTheDepthIsNotBelowTheMap)
{
    auto depthMap = MakeBitmap({"0000", "2222", "5555"});
    const struct {
        intptr_t depth;
        Rows expected;
    } cases[] = {
        {0x100, {".12.", "....", "...."}}, // only the low byte counts: depth 0
        {2, {".12.", "345.", "...."}},
        {9, {".12.", "345.", "...6"}},
    };
    auto source = MakeBitmap(kSprite);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.depth);
        auto dest = MakeBitmap(4, 3);
        DrawRecord record;
        record.params[1] = 1; // the depth-tested copy never mirrors
        record.params[2] = reinterpret_cast<intptr_t>(depthMap.get());
        record.params[3] = c.depth;
        DrawDepthTested(source.get(), dest.get(), CRect(), &record);
        EXPECT_EQ(Pixels(*dest), c.expected);
    }
    EXPECT_EQ(Pixels(*depthMap), (Rows{"0000", "2222", "5555"}));

    // A depth map of another size than the destination draws nothing.
    auto other = MakeBitmap(8, 3, 0);
    auto dest = MakeBitmap(4, 3);
    DrawRecord record;
    record.params[2] = reinterpret_cast<intptr_t>(other.get());
    record.params[3] = 255;
    DrawDepthTested(source.get(), dest.get(), CRect(), &record);
    EXPECT_EQ(Pixels(*dest), (Rows{"....", "....", "...."}));
}

TEST(DibSect, ASpriteOfIndexZeroOnlyChangesNothing)
{
    auto source = MakeBitmap(3, 3, 0);
    auto dest = MakeBitmap({"123", "456", "789"});
    DrawTransparent(source.get(), dest.get(), CRect(), nullptr);
    EXPECT_EQ(Pixels(*dest), (Rows{"123", "456", "789"}));
}

TEST(DibSect, PlanBlitReportsTheClippedCopy)
{
    auto source = MakeBitmap(4, 3, 0);
    auto dest = MakeBitmap(6, 4);
    auto extra = MakeBitmap(6, 4);
    BlitPlan plan;
    ASSERT_EQ(PlanBlit(plan, *source, 0, 0, 4, 3, *dest, -1, 2, extra.get(), nullptr, true), 1);
    EXPECT_EQ(plan.width, 3);
    EXPECT_EQ(plan.height, 2);
    // Lowest destination row (image row 3) is memory row 0; lowest source row used is image row
    // 1 (memory row 1), from column 1, plus the width when mirrored.
    EXPECT_EQ(plan.destOffset, 0);
    EXPECT_EQ(plan.srcOffset, 4 * 1 + 1 + 3);
    EXPECT_EQ(plan.extraOffset1, plan.destOffset);
    EXPECT_EQ(plan.extraOffset2, 0);
    EXPECT_EQ(PlanBlit(plan, *source, 0, 0, 4, 3, *dest, 6, 0, nullptr, nullptr, false), 0);
    EXPECT_EQ(PlanBlit(plan, *source, 2, 2, 2, 3, *dest, 0, 0, nullptr, nullptr, false), 0);
}

TEST(DibSect, FillRectClippedPlacesAndClipsTheRectangle)
{
    auto dest = MakeBitmap(5, 3);
    dest->LockBits();
    FillRectClipped(4, 10, 10, 13, 12, dest.get(), -1, 2);
    FillRectClipped(6, 0, 0, 2, 9, dest.get(), 4, -1);
    FillRectClipped(7, 0, 0, 0, 9, dest.get(), 0, 0);
    dest->UnlockBits();
    EXPECT_EQ(Pixels(*dest), (Rows{"....6", "....6", "44..6"}));
}

TEST(DibSect, BitmapsWhoseRectangleIsNotAtTheOriginStayInsideTheirPixels)
{
    // The rectangle keeps its origin (5, 5) while the pixels are 4 x 4: only what both cover
    // is touched.
    CDibSect bitmap(CRect(5, 5, 9, 9), 8, 0);
    ASSERT_TRUE(bitmap.IsCreated());
    bitmap.FillRect(CRect(0, 0, 20, 20), 3);
    EXPECT_EQ(bitmap.GetPixel(8, 8), 0);
    auto source = MakeBitmap(4, 4, 2);
    DrawOpaque(source.get(), &bitmap, CRect(5, 5, 0, 0), nullptr);
    DrawOpaque(&bitmap, source.get(), CRect(), nullptr);
    EXPECT_EQ(Pixels(*source), (Rows{"2222", "2222", "2222", "2222"}));
}

} // namespace
