// The 3D view's pixel work on small top-down buffers: triangle and quad fills, spans, clipped
// lines and outlines. Pictures are rows of text ('.' untouched, '0'-'9' and 'a'-'z' colours).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/action/3DView.h"
#include "tests/engine/graphics/PixelText.h"

namespace {

using Rows = std::vector<std::string>;

class RasterTest : public ::testing::Test {
protected:
    // A width x height buffer of 255s, the whole of it the clip area unless a rectangle is given.
    void Attach(int16_t width, int16_t height, const CRect* rect = nullptr)
    {
        w = width;
        h = height;
        pixels.assign(static_cast<size_t>(w) * h, 255);
        view.AttachRows(w, h, 0, w, rect);
        view.SetPixels(nullptr, pixels.data());
    }

    Rows Picture() const
    {
        Rows rows;
        for (int32_t y = 0; y < h; ++y) {
            std::string row;
            for (int32_t x = 0; x < w; ++x)
                row += qmtest::PixelChar(pixels[static_cast<size_t>(y * w + x)]);
            rows.push_back(row);
        }
        return rows;
    }

    int32_t Count() const
    {
        int32_t n = 0;
        for (const uint8_t p : pixels)
            n += p != 255;
        return n;
    }

    std::vector<std::pair<int32_t, int32_t>> Points() const
    {
        std::vector<std::pair<int32_t, int32_t>> points;
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                if (pixels[static_cast<size_t>(y * w + x)] != 255)
                    points.emplace_back(x, y);
        return points;
    }

    // A camera-space polygon whose corners project onto the screen points given: z is the
    // focal length and the vertical scale 1, so that only the centre is added.
    CSortPoly Polygon(const std::vector<std::pair<int16_t, int16_t>>& points, uint16_t colour)
    {
        view.SetVerticalScale(1.0);
        const C3DFrameBuffer& fb = *view.GetFrameBuffer();
        CSortPoly entry;
        entry.vertexCount = static_cast<int16_t>(points.size());
        entry.colour = colour;
        for (size_t k = 0; k < points.size(); ++k)
            entry.vertices[k] = C3DPoint{double(points[k].first - fb.centreX),
                                         double(fb.centreY - points[k].second), double(view.GetFocal()), 0};
        return entry;
    }

    C3DView view{nullptr};
    std::vector<uint8_t> pixels;
    int16_t w = 0;
    int16_t h = 0;
};

} // namespace

TEST_F(RasterTest, TheTriangleFromTenTenFillsRowTwentyFromZeroToTwenty)
{
    Attach(24, 24);
    view.FillTriangle(10, 10, 20, 20, 0, 20, 3);
    // Row y runs from 20 - y to y: the right edge starts half a pixel right of the apex.
    Rows want(24, std::string(24, '.'));
    for (int32_t y = 10; y <= 20; ++y)
        for (int32_t x = 20 - y; x <= y; ++x)
            want[static_cast<size_t>(y)][static_cast<size_t>(x)] = '3';
    EXPECT_EQ(Picture(), want);
}

TEST_F(RasterTest, TrianglesSplitAtTheMiddleRowAndFlatTopsFillFromTheirApex)
{
    Attach(8, 7);
    view.FillTriangle(1, 0, 6, 3, 2, 6, 5); // split at row 3, x = 1 + 1 * 3 / 6 = 1
    view.FillTriangle(0, 0, 3, 0, 0, 3, 7); // flat top, apex (0, 3) at the bottom
    EXPECT_EQ(Picture(), (Rows{"7777....",  //
                               "7775....",  //
                               "77555...",  //
                               "7555555.",  //
                               ".55555..",  //
                               ".555....",  //
                               "..5....."}));
}

TEST_F(RasterTest, DegenerateAndFarOutTrianglesDrawNothing)
{
    Attach(12, 12);
    struct Case {
        int16_t x0, y0, x1, y1, x2, y2;
    };
    const Case cases[] = {
        {1, 5, 6, 5, 10, 5},                                // one row
        {4, 1, 4, 6, 4, 11},                                // one column
        {1001, 0, 0, 11, 11, 11},                           // a corner at x = 1001, the rest on screen
        {-501, 0, 0, 11, 11, 11}, {0, -20, 11, -30, 5, -1}, // wholly above
        {0, 12, 11, 30, 5, 20},                             // wholly below
        {-9, 0, -1, 11, -5, 5},                             // wholly left
        {12, 0, 20, 11, 15, 5},                             // wholly right
    };
    for (const Case& c : cases) {
        view.FillTriangle(c.x0, c.y0, c.x1, c.y1, c.x2, c.y2, 1);
        EXPECT_EQ(Count(), 0) << c.x0 << "," << c.y0 << " " << c.x1 << "," << c.y1 << " " << c.x2 << ","
                              << c.y2;
    }
    view.FillTriangle(1000, 0, 0, 11, 11, 11, 1); // x = 1000 is still filled
    EXPECT_GT(Count(), 0);
}

TEST_F(RasterTest, ClippedFillsMatchTheWholeFillInsideTheClipArea)
{
    // Triangles reaching past every side of a clip rectangle, apexes above and below it.
    struct Case {
        int16_t x0, y0, x1, y1, x2, y2;
    };
    const Case cases[] = {{8, -6, 22, 18, -5, 14}, {-4, 2, 25, 6, 9, 25}, {10, -3, 24, 8, -3, 20}};
    for (const Case& c : cases) {
        Attach(20, 20);
        view.FillTriangle(c.x0, c.y0, c.x1, c.y1, c.x2, c.y2, 4);
        Rows want = Picture();
        const CRect clip(3, 2, 15, 17); // rows 3..14, columns 2..16
        Attach(20, 20, &clip);
        view.FillTriangle(c.x0, c.y0, c.x1, c.y1, c.x2, c.y2, 4);
        for (int32_t y = 0; y < 20; ++y)
            for (int32_t x = 0; x < 20; ++x)
                if (y < 3 || y > 14 || x < 2 || x > 16)
                    want[static_cast<size_t>(y)][static_cast<size_t>(x)] = '.';
        EXPECT_EQ(Picture(), want) << c.x0 << "," << c.y0;
    }
}

TEST_F(RasterTest, AQuadIsTwoTrianglesSharingTheDiagonalFromItsFirstCorner)
{
    Attach(10, 10);
    // A dart: (0, 0), (8, 0), (2, 2), (0, 8); split on 1-3 it would fill the whole hull.
    view.FillPolygon(Polygon({{0, 0}, {8, 0}, {2, 2}, {0, 8}}, 9));
    EXPECT_EQ(Picture(), (Rows{"999999999.", //
                               "999999....", //
                               "999.......", //
                               "999.......", //
                               "99........", //
                               "99........", //
                               "99........", //
                               "9.........", //
                               "9.........", //
                               ".........."}));
}

TEST_F(RasterTest, FilledPolygonsLeaveAZeroZAsItIs)
{
    Attach(10, 10);
    CSortPoly entry = Polygon({{0, 0}, {8, 0}, {0, 8}}, 2);
    entry.vertices[1].z = 0; // projects as 1e-13 (far off the screen): nothing is filled
    view.FillPolygon(entry);
    EXPECT_EQ(entry.vertices[1].z, 0.0);
    EXPECT_EQ(Count(), 0);
}

TEST_F(RasterTest, ASpanWritesItsPixelsInclusive)
{
    Attach(8, 1);
    C3DView::FillSpan(pixels.data(), 5, 5, 1);
    C3DView::FillSpan(pixels.data(), 0, 2, 2);
    C3DView::FillSpan(pixels.data(), 7, 6, 3);
    EXPECT_EQ(Picture(), (Rows{"222..1.."}));
}

TEST_F(RasterTest, LinesStepTheirOwnErrorTerm)
{
    using PointList = std::vector<std::pair<int32_t, int32_t>>;
    struct Case {
        int16_t x0, y0, x1, y1;
        PointList points;
    };
    const Case cases[] = {
        {0,
         0,
         10,
         5,
         {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}, {5, 2}, {6, 2}, {7, 3}, {8, 3}, {9, 4}, {10, 4}}},
        {0,
         0,
         5,
         10,
         {{0, 0}, {1, 1}, {1, 2}, {2, 3}, {2, 4}, {3, 5}, {3, 6}, {4, 7}, {4, 8}, {5, 9}, {5, 10}}},
        {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {3, 3, 0, 0, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {4, 2, 4, 2, {{4, 2}}},
    };
    for (const Case& c : cases) {
        Attach(12, 12);
        view.DrawLine(c.x0, c.y0, c.x1, c.y1, 6);
        EXPECT_EQ(Points(), c.points) << c.x0 << "," << c.y0 << " to " << c.x1 << "," << c.y1;
    }
}

TEST_F(RasterTest, LinesSkipThePixelsOutsideTheClipArea)
{
    const CRect clip(2, 2, 6, 8); // rows 2..5, columns 2..7
    Attach(10, 8, &clip);
    view.DrawLine(CPoint(-3, 0), CPoint(12, 7), 1);
    EXPECT_EQ(Picture(), (Rows{"..........", //
                               "..........", //
                               "..11......", //
                               "....11....", //
                               "......11..", //
                               "..........", //
                               "..........", //
                               ".........."}));
}

TEST_F(RasterTest, ClipLineMovesEachOutsideEndOnceOntoTheEdgeItCrosses)
{
    const CRect clip(0, 0, 20, 20); // 0..19 both ways
    Attach(20, 20, &clip);
    struct Case {
        int16_t x0, y0, x1, y1;
        int16_t result;
        int16_t cx0, cy0, cx1, cy1;
    };
    const Case cases[] = {
        {2, 3, 15, 16, 1, 2, 3, 15, 16},     // both inside: unchanged
        {-5, 2, -1, 30, 0, -5, 2, -1, 30},   // both left of the clip
        {3, 25, 17, 21, 0, 3, 25, 17, 21},   // both below
        {5, 5, 35, 5, 1, 5, 5, 19, 5},       // through the right edge
        {5, 5, 5, 100, 1, 5, 5, 5, 19},      // through the bottom
        {-10, 5, 30, 5, 1, 0, 5, 19, 5},     // both ends outside, through both sides
        {10, 10, 30, 40, 1, 10, 10, 16, 19}, // past the corner: the bottom edge is met first
        {10, 10, 40, 25, 1, 10, 10, 19, 14}, // past the corner: the right edge
        {-10, 5, 5, -10, 0, -10, 5, 5, -10}, // beside the corner, nothing inside
        {-6, -6, 10, 10, 1, 0, 0, 10, 10},   // end 0 moved onto the corner
    };
    for (const Case& c : cases) {
        int16_t x0 = c.x0, y0 = c.y0, x1 = c.x1, y1 = c.y1;
        EXPECT_EQ(view.ClipLine(x0, y0, x1, y1), c.result)
            << c.x0 << "," << c.y0 << " " << c.x1 << "," << c.y1;
        EXPECT_EQ((std::vector<int16_t>{x0, y0, x1, y1}), (std::vector<int16_t>{c.cx0, c.cy0, c.cx1, c.cy1}))
            << c.x0 << "," << c.y0 << " " << c.x1 << "," << c.y1;
    }
}

TEST_F(RasterTest, OutlinesDrawEveryEdgeAndTheClosingOne)
{
    Attach(8, 6);
    CSortPoly entry = Polygon({{1, 1}, {6, 1}, {6, 4}, {1, 4}}, 8);
    view.DrawPolygonEdges(entry);
    EXPECT_EQ(Picture(), (Rows{"........", //
                               ".888888.", //
                               ".8....8.", //
                               ".8....8.", //
                               ".888888.", //
                               "........"}));
}

TEST_F(RasterTest, FillRowsFillsTopToBottomInclusiveWithinTheClipArea)
{
    const CRect clip(1, 1, 5, 7); // rows 1..4, columns 1..6
    Attach(8, 6, &clip);
    view.FillRows(2, CRect(0, 0, 2, 5)); // rows 0..2, columns 0..4
    view.FillRows(3, CRect(4, 4, 9, 20));
    EXPECT_EQ(Picture(), (Rows{"........", //
                               ".2222...", //
                               ".2222...", //
                               "........", //
                               "....333.", //
                               "........"}));
}

TEST_F(RasterTest, NothingIsDrawnWithoutPixels)
{
    Attach(8, 8);
    view.SetPixels(nullptr, nullptr);
    view.FillTriangle(0, 0, 7, 0, 0, 7, 1);
    view.DrawLine(0, 0, 7, 7, 1);
    view.FillRows(1, CRect(0, 0, 8, 8));
    EXPECT_EQ(Count(), 0);
}
