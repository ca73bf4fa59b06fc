#include <gtest/gtest.h>

#include "platform/Cursor.h"
#include "platform/Metrics.h"

namespace {

using plat::CursorPixel;

TEST(Cursor, StandardKindsAreSharedAndNeverDestroyed)
{
    const plat::CursorHandle arrow = plat::GetStandardCursor(plat::StandardCursor::Arrow);
    EXPECT_EQ(plat::GetCursor(), arrow); // the arrow shows at start
    EXPECT_NE(plat::GetStandardCursor(plat::StandardCursor::Wait), arrow);
    EXPECT_EQ(plat::GetCursorImage(plat::GetStandardCursor(plat::StandardCursor::SizeNs))->standard,
              plat::StandardCursor::SizeNs);
    EXPECT_FALSE(plat::DestroyCursor(arrow));
    EXPECT_EQ(plat::SetCursor(plat::GetStandardCursor(plat::StandardCursor::Cross)), arrow);
    EXPECT_EQ(plat::SetCursor(12345), plat::GetStandardCursor(plat::StandardCursor::Cross));
    EXPECT_EQ(plat::GetCursor(), 0u); // not a cursor: none shows
}

TEST(Cursor, PlanesGiveTransparentBlackWhiteAndInvertedPixels)
{
    const plat::Metrics m = plat::GetMetrics();
    ASSERT_EQ(m.cursorWidth, 32);
    const size_t bytes = 4 * 32;
    std::vector<uint8_t> andPlane(bytes, 0xFF), xorPlane(bytes, 0x00);
    // Row 0: pixels 0-3 are AND 0 XOR 0, AND 0 XOR 1, AND 1 XOR 1, AND 1 XOR 0.
    andPlane[0] = 0x3F;
    xorPlane[0] = 0x60;
    const plat::CursorHandle c = plat::CreateCursor({3, 5}, 32, 32, andPlane, xorPlane);
    ASSERT_NE(c, 0u);
    const plat::CursorImage& img = *plat::GetCursorImage(c);
    EXPECT_EQ(img.hotSpot, (plat::Point{3, 5}));
    EXPECT_EQ(plat::GetCursorPixel(img, 0, 0), CursorPixel::Black);
    EXPECT_EQ(plat::GetCursorPixel(img, 1, 0), CursorPixel::White);
    EXPECT_EQ(plat::GetCursorPixel(img, 2, 0), CursorPixel::Inverted);
    EXPECT_EQ(plat::GetCursorPixel(img, 3, 0), CursorPixel::Transparent);
    EXPECT_EQ(plat::GetCursorPixel(img, 31, 31), CursorPixel::Transparent);
    EXPECT_EQ(plat::GetCursorPixel(img, 32, 0), CursorPixel::Transparent); // outside

    plat::SetCursor(c);
    EXPECT_TRUE(plat::DestroyCursor(c));
    EXPECT_EQ(plat::GetCursor(), 0u);
    EXPECT_FALSE(plat::DestroyCursor(c));
}

TEST(Cursor, BadSizesAndShortPlanesAreRefused)
{
    const std::vector<uint8_t> plane(4 * 32, 0);
    EXPECT_EQ(plat::CreateCursor({}, 30, 32, plane, plane), 0u); // not a multiple of 8
    EXPECT_EQ(plat::CreateCursor({}, 32, 0, plane, plane), 0u);
    EXPECT_EQ(plat::CreateCursor({}, 32, 33, plane, plane), 0u); // planes one row short
    EXPECT_EQ(plat::CreateCursor({}, 512, 32, plane, plane), 0u);
    EXPECT_NE(plat::CreateCursor({}, 16, 16, plane, plane), 0u);
    EXPECT_EQ(plat::ShowCursor(false), -1);
    EXPECT_EQ(plat::ShowCursor(true), 0);
}

} // namespace
