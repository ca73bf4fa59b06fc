#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Region.h"

namespace {

using plat::Point;
using plat::Rect;
using plat::Region;
using plat::RegionKind;
using plat::RegionOp;

// The region's pixels inside a box, one text line per row: '#' inside, '.' outside.
std::string Art(const Region& region, const Rect& box)
{
    std::string out;
    for (int32_t y = box.top; y < box.bottom; ++y) {
        for (int32_t x = box.left; x < box.right; ++x)
            out += region.Contains(x, y) ? '#' : '.';
        out += '\n';
    }
    return out;
}

TEST(Region, RectanglesAreEmptyWhenInvertedOrFlat)
{
    EXPECT_EQ(Region(Rect{2, 3, 7, 9}).Kind(), RegionKind::Simple);
    EXPECT_EQ(Region(Rect{2, 3, 7, 9}).Dump(), "3-9: 2-7\n");
    for (const Rect& r : {Rect{5, 0, 5, 10}, Rect{0, 5, 10, 5}, Rect{7, 0, 2, 10}, Rect{0, 9, 10, 3}}) {
        EXPECT_TRUE(Region(r).Empty());
        EXPECT_EQ(Region(r).Kind(), RegionKind::Empty);
        EXPECT_EQ(Region(r).Bounds(), Rect{});
    }
}

TEST(Region, CombineGivesBandsAndTheKindOfWhatIsLeft)
{
    const Region square(Rect{0, 0, 10, 10});
    struct Case {
        const char* name;
        Region other;
        RegionOp op;
        RegionKind kind;
        const char* dump;
    };
    const Case cases[] = {
        {"overlapping union", Region(Rect{5, 5, 15, 15}), RegionOp::Or, RegionKind::Complex,
         "0-5: 0-10\n5-10: 0-15\n10-15: 5-15\n"},
        {"disjoint union", Region(Rect{20, 0, 30, 10}), RegionOp::Or, RegionKind::Complex,
         "0-10: 0-10 20-30\n"},
        {"side by side union joins", Region(Rect{10, 0, 20, 10}), RegionOp::Or, RegionKind::Simple,
         "0-10: 0-20\n"},
        {"stacked union joins", Region(Rect{0, 10, 10, 12}), RegionOp::Or, RegionKind::Simple,
         "0-12: 0-10\n"},
        {"overlapping intersection", Region(Rect{5, 5, 15, 15}), RegionOp::And, RegionKind::Simple,
         "5-10: 5-10\n"},
        {"touching intersection", Region(Rect{10, 0, 20, 10}), RegionOp::And, RegionKind::Empty, ""},
        {"hole", Region(Rect{3, 3, 7, 7}), RegionOp::Diff, RegionKind::Complex,
         "0-3: 0-10\n3-7: 0-3 7-10\n7-10: 0-10\n"},
        {"covering difference", Region(Rect{-1, -1, 11, 11}), RegionOp::Diff, RegionKind::Empty, ""},
        {"difference of a side", Region(Rect{5, -5, 20, 20}), RegionOp::Diff, RegionKind::Simple,
         "0-10: 0-5\n"},
        {"xor", Region(Rect{5, 5, 15, 15}), RegionOp::Xor, RegionKind::Complex,
         "0-5: 0-10\n5-10: 0-5 10-15\n10-15: 5-15\n"},
        {"with empty", Region(), RegionOp::Or, RegionKind::Simple, "0-10: 0-10\n"},
    };
    for (const Case& c : cases) {
        Region r;
        EXPECT_EQ(r.Combine(square, c.other, c.op), c.kind) << c.name;
        EXPECT_EQ(r.Dump(), c.dump) << c.name;
    }
}

TEST(Region, CombiningWithItselfAndInPlaceIsSafe)
{
    Region r(Rect{0, 0, 4, 4});
    r.Union(Rect{8, 2, 12, 6});
    const Region before = r;
    EXPECT_EQ(r.Combine(r, r, RegionOp::Or), RegionKind::Complex);
    EXPECT_EQ(r, before);
    EXPECT_EQ(r.Combine(r, r, RegionOp::And), RegionKind::Complex);
    EXPECT_EQ(r, before);
    EXPECT_EQ(r.Xor(r), RegionKind::Empty);
    Region s = before;
    EXPECT_EQ(s.Subtract(s), RegionKind::Empty);
}

TEST(Region, EqualityIgnoresHowTheAreaWasBuilt)
{
    // An L shape built three ways: the canonical bands make the results equal.
    Region a(Rect{0, 0, 10, 4});
    a.Union(Rect{0, 4, 4, 10});
    Region b(Rect{0, 0, 4, 10});
    b.Union(Rect{4, 0, 10, 4});
    Region c(Rect{0, 0, 10, 10});
    c.Subtract(Rect{4, 4, 10, 10});
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, c);
    EXPECT_EQ(a.Dump(), "0-4: 0-10\n4-10: 0-4\n");
    EXPECT_NE(a, Region(Rect{0, 0, 10, 10}));
    // Filling the notch back in gives a plain rectangle again.
    c.Union(Rect{4, 4, 10, 10});
    EXPECT_EQ(c, Region(Rect{0, 0, 10, 10}));
    EXPECT_EQ(c.Kind(), RegionKind::Simple);
}

TEST(Region, HitTestsAndBounds)
{
    Region r(Rect{0, 0, 10, 10});
    r.Subtract(Rect{3, 3, 7, 7});
    r.Union(Rect{20, 20, 25, 22});
    struct Case {
        Point p;
        bool inside;
    };
    const Case points[] = {{{0, 0}, true},   {{9, 9}, true},   {{10, 5}, false},  {{5, 10}, false},
                           {{5, 5}, false},  {{2, 5}, true},   {{7, 5}, true},    {{6, 6}, false},
                           {{20, 21}, true}, {{24, 21}, true}, {{25, 21}, false}, {{15, 15}, false},
                           {{-1, 0}, false}, {{20, 22}, false}};
    for (const Case& c : points)
        EXPECT_EQ(r.Contains(c.p), c.inside) << c.p.x << "," << c.p.y;
    struct RectCase {
        Rect rect;
        bool hits;
    };
    const RectCase rects[] = {{{4, 4, 6, 6}, false},    {{4, 4, 8, 6}, true},     {{10, 0, 20, 20}, false},
                              {{9, 9, 10, 10}, true},   {{11, 11, 30, 21}, true}, {{0, 0, 0, 0}, false},
                              {{15, 0, 19, 100}, false}};
    for (const RectCase& c : rects)
        EXPECT_EQ(r.Intersects(c.rect), c.hits) << c.rect.left << "," << c.rect.top;
    EXPECT_EQ(r.Bounds(), (Rect{0, 0, 25, 22}));
    const std::vector<Rect> expected = {
        {0, 0, 10, 3}, {0, 3, 3, 7}, {7, 3, 10, 7}, {0, 7, 10, 10}, {20, 20, 25, 22}};
    EXPECT_EQ(r.Rects(), expected);
}

TEST(Region, OffsetMovesEveryBandAndCutsAtTheLimit)
{
    Region r(Rect{0, 0, 10, 10});
    r.Subtract(Rect{3, 3, 7, 7});
    EXPECT_EQ(r.Offset(5, -2), RegionKind::Complex);
    EXPECT_EQ(r.Dump(), "-2-1: 5-15\n1-5: 5-8 12-15\n5-8: 5-15\n");
    // Moving the region almost off the coordinate range keeps only what still fits.
    Region edge(Rect{0, 0, 10, 10});
    edge.Offset(Region::kCoordLimit - 4, 0);
    EXPECT_EQ(edge.Bounds(), (Rect{Region::kCoordLimit - 4, 0, Region::kCoordLimit, 10}));
    Region gone(Rect{0, 0, 10, 10});
    EXPECT_EQ(gone.Offset(Region::kCoordLimit, 0), RegionKind::Empty);
    Region far(Rect{0, 0, 10, 10});
    EXPECT_EQ(far.Offset(INT32_MIN, INT32_MAX), RegionKind::Empty);
}

TEST(Region, CurvedShapes)
{
    EXPECT_EQ(Art(Region::Ellipse({0, 0, 10, 8}), {0, 0, 10, 8}), "...####...\n"
                                                                  ".########.\n"
                                                                  "##########\n"
                                                                  "##########\n"
                                                                  "##########\n"
                                                                  "##########\n"
                                                                  ".########.\n"
                                                                  "...####...\n");
    EXPECT_EQ(Art(Region::Ellipse({0, 0, 7, 7}), {0, 0, 7, 7}), "..###..\n"
                                                                ".#####.\n"
                                                                "#######\n"
                                                                "#######\n"
                                                                "#######\n"
                                                                ".#####.\n"
                                                                "..###..\n");
    EXPECT_EQ(Art(Region::RoundRect({1, 1, 13, 9}, 8, 6), {0, 0, 14, 10}), "..............\n"
                                                                           "...########...\n"
                                                                           "..##########..\n"
                                                                           ".############.\n"
                                                                           ".############.\n"
                                                                           ".############.\n"
                                                                           ".############.\n"
                                                                           "..##########..\n"
                                                                           "...########...\n"
                                                                           "..............\n");
    // Corners larger than the rectangle round it as the ellipse would.
    EXPECT_EQ(Region::RoundRect({0, 0, 10, 8}, 50, 50), Region::Ellipse({0, 0, 10, 8}));
    EXPECT_EQ(Region::RoundRect({0, 0, 10, 8}, 0, 0), Region(Rect{0, 0, 10, 8}));
    EXPECT_TRUE(Region::Ellipse({5, 5, 5, 20}).Empty());
    EXPECT_EQ(Region::Ellipse({0, 0, 1, 1}).Dump(), "0-1: 0-1\n");
}

TEST(Region, PolygonsFillByTheWindingRule)
{
    const Point triangle[] = {{0, 0}, {10, 0}, {0, 6}};
    EXPECT_EQ(Art(Region::Polygon(triangle), {0, 0, 10, 6}), "#########.\n"
                                                             "#######...\n"
                                                             "######....\n"
                                                             "####......\n"
                                                             "##........\n"
                                                             "#.........\n");
    // A five-pointed star drawn in one stroke: the centre is wound twice and stays filled.
    const Point star[] = {{6, 0}, {9, 11}, {0, 4}, {12, 4}, {3, 11}};
    const Region starRegion = Region::Polygon(star);
    EXPECT_TRUE(starRegion.Contains(6, 6));
    EXPECT_EQ(Art(starRegion, {0, 2, 12, 11}), ".....##.....\n"
                                               ".....##.....\n"
                                               ".##########.\n"
                                               "..########..\n"
                                               "...######...\n"
                                               "....####....\n"
                                               "....####....\n"
                                               "...##..##...\n"
                                               "...#....#...\n");
    // The same square traced either way round is the same area.
    const Point clockwise[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    const Point anticlockwise[] = {{0, 0}, {0, 4}, {4, 4}, {4, 0}};
    EXPECT_EQ(Region::Polygon(clockwise), Region(Rect{0, 0, 4, 4}));
    EXPECT_EQ(Region::Polygon(anticlockwise), Region(Rect{0, 0, 4, 4}));
    const Point line[] = {{0, 0}, {10, 10}};
    EXPECT_TRUE(Region::Polygon(line).Empty());
}

TEST(Region, ShapesWithExtremeCoordinatesStaySafe)
{
    // Extreme columns are cut to the coordinate limit without overflowing.
    const Point wide[] = {{INT32_MIN, 0}, {INT32_MAX, 0}, {0, 10}};
    const Region tri = Region::Polygon(wide);
    EXPECT_TRUE(tri.Contains(0, 5));
    EXPECT_EQ(tri.Bounds().top, 0);
    EXPECT_EQ(tri.Bounds().bottom, 10);
    EXPECT_GE(tri.Bounds().left, -Region::kCoordLimit);
    // Rows far outside anything drawable are not scanned at all.
    const Point far[] = {{0, 1 << 20}, {100, 1 << 20}, {0, 1 << 26}};
    EXPECT_TRUE(Region::Polygon(far).Empty());
    EXPECT_TRUE(Region::Ellipse({0, 1 << 20, 100, 1 << 26}).Empty());
    EXPECT_EQ(Region(Rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}).Bounds(),
              (Rect{-Region::kCoordLimit, -Region::kCoordLimit, Region::kCoordLimit, Region::kCoordLimit}));
}

} // namespace
