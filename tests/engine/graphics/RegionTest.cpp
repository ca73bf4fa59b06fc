#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/Region.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/support/TestEnv.h"

namespace {

using Rows = std::vector<std::string>;

std::string Dump(const CRegion& r) { return r.GetHandle()->Dump(); }

// Rectangles are (top, left, bottom, right).
TEST(Region, ShapesAndTheirKinds)
{
    const CRect box(0, 0, 4, 6);
    const int32_t triangle[] = {0, 0, 4, 0, 0, 4};
    const struct {
        const char* name;
        CRegion region;
        int32_t kind;
        const char* dump;
    } cases[] = {
        {"empty", CRegion(), kRgnEmpty, ""},
        {"rectangle", CRegion(box, kRgnRect), kRgnRect, "0-4: 0-6\n"},
        {"rounded", CRegion(box, kRgnRoundRect, 4, 4), kRgnRoundRect, "0-1: 1-5\n1-3: 0-6\n3-4: 1-5\n"},
        {"ellipse", CRegion(box, kRgnEllipse), kRgnEllipse, "0-1: 1-5\n1-3: 0-6\n3-4: 1-5\n"},
        {"polygon", CRegion(box, kRgnPolygon, 3, reinterpret_cast<intptr_t>(triangle)), kRgnPolygon,
         "0-1: 0-3\n1-2: 0-2\n2-3: 0-1\n"}, // pixels whose centres lie inside
        {"polygon without points", CRegion(box, kRgnPolygon, 3, 0), kRgnPolygon, ""},
        {"unknown shape", CRegion(box, 7), 7, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.region.GetKind(), c.kind);
        EXPECT_EQ(Dump(c.region), c.dump);
    }
}

TEST(Region, SetOperationsUpdateTheKind)
{
    CRegion r(CRect(0, 0, 4, 4), kRgnRect);
    r.Subtract(CRect(-1, -1, 10, 10));
    EXPECT_EQ(r.GetKind(), kRgnEmpty) << "a rectangle covering the region leaves nothing";

    CRegion a(CRect(0, 0, 4, 4), kRgnRect);
    a.Intersect(CRect(2, 2, 6, 6));
    EXPECT_EQ(a.GetKind(), kRgnRect);
    EXPECT_EQ(Dump(a), "2-4: 2-4\n");

    CRegion u(CRect(0, 0, 2, 2), kRgnRect);
    const CRegion other(CRect(0, 5, 2, 7), kRgnRect);
    u.Union(&other);
    EXPECT_EQ(u.GetKind(), kRgnCombined) << "two disjoint rectangles";
    EXPECT_EQ(Dump(u), "0-2: 0-2 5-7\n");

    u.Union(static_cast<const CRegion*>(nullptr));
    EXPECT_EQ(u.GetKind(), kRgnCombined);
    u.Subtract(CRect(0, 5, 2, 7));
    EXPECT_EQ(u.GetKind(), kRgnRect);

    CRegion marked(CRect(0, 0, 2, 2), kRgnRect);
    marked.MarkCombined(nullptr);
    EXPECT_EQ(marked.GetKind(), kRgnRect);
    marked.MarkCombined(&other);
    EXPECT_EQ(marked.GetKind(), kRgnCombined);
    EXPECT_EQ(Dump(marked), "0-2: 0-2\n") << "marking leaves the area";
}

TEST(Region, OperatorsBuildNewRegions)
{
    const CRegion a(CRect(0, 0, 4, 4), kRgnRect);
    const CRegion b(CRect(2, 2, 6, 6), kRgnRect);
    const CRect r(0, 3, 1, 8);

    EXPECT_EQ(Dump(a + b), "0-2: 0-4\n2-4: 0-6\n4-6: 2-6\n");
    EXPECT_EQ(Dump(r + a), "0-1: 0-8\n1-4: 0-4\n");
    EXPECT_EQ(Dump(a + r), Dump(r + a));
    EXPECT_EQ(Dump(a - b), "0-2: 0-4\n2-4: 0-2\n");
    EXPECT_EQ(Dump(r - a), "0-1: 4-8\n");
    EXPECT_EQ(Dump(a - r), "0-1: 0-3\n1-4: 0-4\n") << "the region less the rectangle";

    CRegion c = a;
    EXPECT_EQ(c.GetKind(), kRgnRect);
    c += b;
    c -= CRect(0, 0, 6, 6);
    EXPECT_EQ(c.GetKind(), kRgnEmpty);
    c = CRect(1, 1, 2, 2);
    EXPECT_EQ(c.GetKind(), kRgnRect);
    EXPECT_TRUE(c == CRegion(CRect(1, 1, 2, 2), kRgnRect));
    EXPECT_TRUE(c != a);

    CRegion copy(a + b);
    EXPECT_EQ(copy.GetKind(), kRgnCombined) << "a copy keeps the kind with the area";
    EXPECT_EQ(copy.Offset(-2, 1), plat::RegionKind::Complex);
    EXPECT_EQ(Dump(copy), "1-3: -2-2\n3-5: -2-4\n5-7: 0-4\n");
}

TEST(Region, PaintFillsTheAreaWithTheColourInDrawingCoordinates)
{
    COffScEnv env;
    env.Init(CRect(0, 0, 4, 6), nullptr, false);
    const CRegion area = CRegion(CRect(0, 0, 2, 2), kRgnRect) + CRegion(CRect(2, 3, 4, 6), kRgnRect);
    area.Paint(&env, 7);
    EXPECT_EQ(env.GetBrushColor(), 7);
    EXPECT_EQ(qmtest::Pixels(*env.GetBitmap()), (Rows{"77....", "77....", "...777", "...777"}));
}

} // namespace
