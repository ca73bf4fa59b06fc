#include <gtest/gtest.h>

#include <vector>

#include "engine/framework/Memory.h"
#include "engine/graphics/CelList.h"
#include "engine/graphics/RleDraw.h"
#include "engine/graphics/RleHitTest.h"
#include "engine/graphics/RleImgSet.h"
#include "tests/support/RleFixtures.h"

namespace {

// Two rows of 5 pixels: "0 0 7 8 9" (a repeat of 0, then a literal run) and "6 6 6 0 0".
const qmtest::RleCelSpec kCel{2, 5, {0x01, 0, 0x82, 7, 8, 9, 0x02, 6, 0x01, 0}};

TEST(RleHitTest, TheRunUnderThePointGivesItsFirstColour)
{
    const std::vector<uint8_t> rls = qmtest::MakeRls({kCel});
    const RleCelTable table(rls.data(), rls.size());
    struct Case {
        int32_t x, y, colour;
    };
    for (const Case& c : {Case{0, 0, 0}, Case{1, 0, 0}, Case{2, 0, 7}, Case{4, 0, 7}, Case{2, 1, 6},
                          Case{3, 1, 0}, Case{5, 0, -1}, Case{0, 2, -1}, Case{-1, 0, -1}})
        EXPECT_EQ(RleRunColourAt(table, 0, c.x, c.y), c.colour) << c.x << "," << c.y;
    EXPECT_EQ(RleRunColourAt(table, 1, 0, 0), -1); // no such cel
}

TEST(RleHitTest, DamagedRunsNeverLeadOutOfTheRowOrTheData)
{
    // A literal run claiming 128 bytes in a row of 5 ends the row; the data then stop.
    const std::vector<uint8_t> rls = qmtest::MakeRls({{2, 5, {0xFF, 1, 2}}});
    const RleCelTable table(rls.data(), rls.size());
    EXPECT_EQ(RleRunColourAt(table, 0, 4, 0), 1);
    EXPECT_EQ(RleRunColourAt(table, 0, 0, 1), -1);
    // A repeat run whose colour byte is missing gives no pixel.
    const std::vector<uint8_t> cut = qmtest::MakeRls({{1, 5, {0x04}}});
    const RleCelTable cutTable(cut.data(), cut.size());
    EXPECT_EQ(RleRunColourAt(cutTable, 0, 0, 0), -1);
}

TEST(RleHitTest, SpriteSetsHitOnlyTheirDrawnPixels)
{
    CRleImgSet set(new CCelList(qmtest::BlockOf(qmtest::MakeRls({kCel}))), 0);
    EXPECT_FALSE(set.ContainsPoint(CPoint(0, 0), -1)); // colour 0: transparent
    EXPECT_TRUE(set.ContainsPoint(CPoint(3, 0), -1));
    EXPECT_FALSE(set.ContainsPoint(CPoint(5, 0), -1)); // the right edge
    // Mirrored, column 0 shows cel column 4.
    set.SetDrawProc(DrawRleCel, 0, 0, 1, 0);
    EXPECT_TRUE(set.ContainsPoint(CPoint(0, 0), -1));
    EXPECT_FALSE(set.ContainsPoint(CPoint(4, 0), -1));
    // Without a transparent colour (128-255) every pixel counts.
    set.SetDrawProc(DrawRleCel, 0, 0, 0, 255);
    EXPECT_TRUE(set.ContainsPoint(CPoint(0, 0), -1));
}

} // namespace
