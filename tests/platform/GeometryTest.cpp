#include <gtest/gtest.h>

#include "platform/Geometry.h"

namespace {

TEST(Geometry, IntersectAndBoundsTreatEmptyRectanglesAsNothing)
{
    const plat::Rect a{0, 0, 10, 10};
    const plat::Rect b{5, 5, 20, 20};
    EXPECT_EQ(plat::Intersect(a, b), (plat::Rect{5, 5, 10, 10}));
    EXPECT_TRUE(plat::Intersect(a, plat::Rect{10, 0, 20, 10}).Empty()); // touching edges share no pixel
    EXPECT_EQ(plat::Bounds(a, b), (plat::Rect{0, 0, 20, 20}));
    EXPECT_EQ(plat::Bounds(plat::Rect{50, 50, 50, 60}, b), b); // zero width: ignored
    EXPECT_TRUE(a.Contains({9, 9}));
    EXPECT_FALSE(a.Contains({10, 9}));
}

} // namespace
