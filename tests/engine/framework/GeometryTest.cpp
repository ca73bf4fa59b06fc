#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include "engine/framework/Rect.h"

namespace {

using Edges = std::tuple<int, int, int, int>; // top, left, bottom, right

Edges E(const CRect& r) { return {r.GetTop(), r.GetLeft(), r.GetBottom(), r.GetRight()}; }

TEST(PointTest, StoresVerticalFirstAndWraps)
{
    const CPoint p(3, 4);
    EXPECT_EQ(p.GetH(), 3);
    EXPECT_EQ(p.GetV(), 4);
    int16_t raw[2];
    std::memcpy(raw, &p, sizeof raw);
    EXPECT_EQ(raw[0], 4);
    EXPECT_EQ(raw[1], 3);

    CPoint q(32767, -32768);
    q += CPoint(1, -1);
    EXPECT_EQ(q, CPoint(-32768, 32767));
    EXPECT_EQ(CPoint(5, 5) - CPoint(7, 1), CPoint(-2, 4));
    EXPECT_EQ(CPoint().FromPOINT(0x12345, -70000), CPoint(0x2345, static_cast<int16_t>(-70000)));
}

TEST(RectTest, ConstructorsAndSize)
{
    EXPECT_EQ(E(CRect(10, 20)), Edges(0, 0, 20, 10));
    EXPECT_EQ(E(CRect(CPoint(5, 6), 10, 20)), Edges(6, 5, 26, 15));
    EXPECT_EQ(E(CRect(CPoint(1, 2), CPoint(3, 4))), Edges(2, 1, 4, 3));
    EXPECT_EQ(E(CRect(static_cast<const CRect*>(nullptr))), Edges(0, 0, 0, 0));
    EXPECT_EQ(E(CRect(plat::Rect{-1, 2, 65539, 4})), Edges(2, -1, 4, 3));
    plat::Rect out;
    EXPECT_EQ(CRect(-2, -3, 4, 5).ToRECT(out), (plat::Rect{-3, -2, 5, 4}));

    CRect r(5, 7, 15, 27);
    CPoint size;
    EXPECT_EQ(r.GetSize(size), CPoint(20, 10));
    r.ZeroOrigin();
    EXPECT_EQ(E(r), Edges(0, 0, 10, 20));
    r.MoveTo(100, 50);
    EXPECT_EQ(E(r), Edges(50, 100, 60, 120));
    r.Inset(2, 3);
    EXPECT_EQ(E(r), Edges(53, 102, 57, 118));
    r.SetSize(CPoint(4, 6));
    EXPECT_EQ(E(r), Edges(53, 102, 59, 106));
    EXPECT_EQ(r.TopLeft(), CPoint(102, 53));

    CRect w(0, 32760, 10, 32767);
    w.Offset(10, 0);
    EXPECT_EQ(E(w), Edges(0, -32766, 10, -32759));
    EXPECT_EQ(CRect(0, -32768, 0, 32767).GetWidth(), -1); // 16-bit wrap
}

TEST(RectTest, OverlapUnionAndIntersectTable)
{
    struct Case {
        CRect a, b;
        Edges overlap;
        bool intersect;
        Edges intersection;
        bool intersects;
    };
    const std::vector<Case> cases = {
        // Touching corners: operator& gives a zero-size rectangle, Intersect answers false.
        {{0, 0, 10, 10}, {10, 10, 20, 20}, {10, 10, 10, 10}, false, {0, 0, 0, 0}, true},
        {{0, 0, 10, 10}, {11, 0, 20, 10}, {0, 0, 0, 0}, false, {0, 0, 0, 0}, false},
        {{0, 0, 10, 10}, {5, 5, 20, 20}, {5, 5, 10, 10}, true, {5, 5, 10, 10}, true},
        {{0, 0, 10, 10}, {2, 2, 4, 4}, {2, 2, 4, 4}, true, {2, 2, 4, 4}, true},
        {{0, 0, 10, 10}, {0, 10, 10, 20}, {0, 10, 10, 10}, false, {0, 0, 0, 0}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(E(c.a)) + " & " + testing::PrintToString(E(c.b)));
        EXPECT_EQ(E(c.a & c.b), c.overlap);
        CRect in(1, 1, 1, 1);
        EXPECT_EQ(c.a.Intersect(c.b, &in), c.intersect);
        EXPECT_EQ(E(in), c.intersection);
        EXPECT_EQ(c.a.Intersect(c.b), c.intersect);
        EXPECT_EQ(c.a.Intersects(c.b), c.intersects);
        EXPECT_EQ(c.b.Intersects(c.a), c.intersects);
        CRect inPlace = c.a;
        inPlace &= c.b;
        EXPECT_EQ(E(inPlace), c.overlap);
    }
    EXPECT_EQ(E(CRect(0, 5, 10, 10) | CRect(-3, 8, 4, 30)), Edges(-3, 5, 10, 30));
    EXPECT_EQ(E(CRect(0, 5, 10, 10).NewUnion(CRect(-3, 8, 4, 30))), Edges(-3, 5, 10, 30));
}

TEST(RectTest, CenterInUsesArithmeticHalves)
{
    CRect r(0, 0, 10, 10);
    r.CenterIn(CRect(0, 0, 100, 100), true, true);
    EXPECT_EQ(E(r), Edges(45, 45, 55, 55));

    CRect onlyH(0, 0, 10, 10);
    onlyH.CenterIn(CRect(0, 0, 100, 100), true, false);
    EXPECT_EQ(E(onlyH), Edges(0, 45, 10, 55));

    // Odd sizes round the halves down: (0 + 5) - 1 - 0 = 4.
    CRect odd(0, 0, 3, 3);
    odd.CenterIn(CRect(0, 0, 11, 11), true, true);
    EXPECT_EQ(E(odd), Edges(4, 4, 7, 7));

    // A negative width halves towards minus infinity: (0 + (-3 >> 1)) - 0 - 0 = -2.
    CRect neg(0, 0, 0, 0);
    neg.CenterIn(CRect(0, 0, -3, -3), true, true);
    EXPECT_EQ(E(neg), Edges(-2, -2, -2, -2));
}

TEST(RectTest, ClampPointAndContains)
{
    const CRect r(10, 20, 30, 40);
    EXPECT_EQ(r.ClampPoint(CPoint(0, 0)), CPoint(20, 10));
    EXPECT_EQ(r.ClampPoint(CPoint(50, 35)), CPoint(40, 30));
    EXPECT_EQ(r.ClampPoint(CPoint(25, 15)), CPoint(25, 15));
    EXPECT_TRUE(r.ContainsPoint(CPoint(40, 30)));
    EXPECT_TRUE(r.ContainsPoint(CPoint(20, 10)));
    EXPECT_FALSE(r.ContainsPoint(CPoint(41, 30)));
}

TEST(RectTest, ConstrainRectMovesWithoutResizing)
{
    const CRect screen(0, 0, 480, 640);
    struct Case {
        CRect in;
        Edges out;
    };
    const std::vector<Case> cases = {
        {{10, 10, 20, 20}, {10, 10, 20, 20}},         // inside: unchanged
        {{-5, -10, 5, 10}, {0, 0, 10, 20}},           // off the top left
        {{470, 630, 490, 650}, {460, 620, 480, 640}}, // off the bottom right
        {{-10, -10, 500, 700}, {0, 0, 510, 710}},     // larger, starting before
        {{10, 10, 500, 700}, {0, 0, 490, 690}},       // larger, starting inside
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(E(c.in)));
        EXPECT_EQ(E(screen.ConstrainRect(c.in)), c.out);
    }
}

} // namespace
