#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Color.h"
#include "platform/DrawContext.h"

namespace {

using plat::BkMode;
using plat::Brush;
using plat::ColorRef;
using plat::DrawContext;
using plat::Pen;
using plat::PenStyle;
using plat::Point;
using plat::Rect;
using plat::Region;
using plat::Rop2;
using plat::Rop3;
using plat::Surface;

constexpr ColorRef kPen = ColorRef::FromIndex(1);
constexpr ColorRef kBrush = ColorRef::FromIndex(2);

// The surface as text, one line per row: '.' for 0, '#' for 255, digits for 1-9, '?' else.
std::string Picture(const Surface& s)
{
    std::string out;
    for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width; ++x) {
            const int v = s.At(x, y);
            out += v == 0 ? '.' : v == 255 ? '#' : v < 10 ? static_cast<char>('0' + v) : '?';
        }
        out += '\n';
    }
    return out;
}

// A surface drawn by one call on a context with pen 1 and brush 2.
std::string Draw(int w, int h, const std::function<void(DrawContext&)>& draw,
                 Pen pen = {PenStyle::Solid, 1, kPen})
{
    Surface s(w, h);
    DrawContext dc(s);
    dc.SetPen(pen);
    dc.SetBrush({false, kBrush});
    draw(dc);
    return Picture(s);
}

// A surface whose pixel (x, y) holds y * width + x (wrapping at 256).
Surface Numbered(int w, int h, bool bottomUp = false)
{
    Surface s(w, h, bottomUp);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            s.Row(y)[x] = static_cast<uint8_t>(y * w + x);
    }
    return s;
}

std::vector<uint8_t> RowOf(const Surface& s, int y) { return {s.Row(y), s.Row(y) + s.width}; }

TEST(Colors, SystemPaletteKeepsTheTwentyFixedColours)
{
    EXPECT_EQ(plat::SystemPaletteEntry(0), (plat::Rgb{0, 0, 0, 0}));
    EXPECT_EQ(plat::SystemPaletteEntry(7), (plat::Rgb{192, 192, 192, 0}));
    EXPECT_EQ(plat::SystemPaletteEntry(8), (plat::Rgb{192, 220, 192, 0}));
    EXPECT_EQ(plat::SystemPaletteEntry(9), (plat::Rgb{166, 202, 240, 0}));
    EXPECT_EQ(plat::SystemPaletteEntry(246), (plat::Rgb{255, 251, 240, 0}));
    EXPECT_EQ(plat::SystemPaletteEntry(248), (plat::Rgb{128, 128, 128, 0}));
    EXPECT_EQ(plat::SystemPaletteEntry(255), (plat::Rgb{255, 255, 255, 0}));
    EXPECT_EQ(plat::SystemPaletteEntry(100), (plat::Rgb{0, 0, 0, 0}));
    int fixed = 0;
    for (int i = 0; i < 256; ++i)
        fixed += plat::IsSystemColorIndex(i);
    EXPECT_EQ(fixed, plat::kSystemColorCount);
    EXPECT_EQ(plat::SystemPalette()[250], (plat::Rgb{0, 255, 0, 0}));
}

TEST(Colors, ReferencesResolveToPaletteIndices)
{
    plat::ColorTable table = plat::SystemPalette();
    table[40] = {0x40, 0x80, 0xFF, 0};
    table[41] = {0x40, 0x80, 0xFF, 0}; // the same colour again: the lower index wins
    table[42] = {100, 100, 100, 0};
    struct Case {
        ColorRef color;
        uint8_t index;
    };
    const Case cases[] = {
        {ColorRef::FromIndex(17), 17},
        {ColorRef::FromIndex(255), 255},
        {ColorRef::FromIndex(300), 0}, // past the table
        {ColorRef::FromRgb(0, 0, 0), 0},
        {ColorRef::FromRgb(255, 255, 255), 255},
        {ColorRef::FromPaletteRgb(0x40, 0x80, 0xFF), 40},
        {ColorRef::FromPaletteRgb(0x41, 0x81, 0xFE), 40},
        {ColorRef::FromPaletteRgb(101, 99, 100), 42},
        {ColorRef::FromRgb(250, 5, 5), 249},
        {ColorRef::FromPaletteRgb(128, 128, 128), 248},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plat::ResolveColor(c.color, table), c.index) << int(c.color.r) << "," << c.color.index;
    // Equal distances: the lowest index wins.
    plat::ColorTable ties{};
    ties.fill({255, 255, 255, 0});
    ties[10] = {2, 0, 0, 0};
    ties[20] = {0, 0, 0, 0};
    ties[15] = {1, 1, 0, 0};
    EXPECT_EQ(plat::NearestColorIndex(ties, 1, 0, 0), 10);
    ties[3] = {1, 0, 1, 0};
    EXPECT_EQ(plat::NearestColorIndex(ties, 1, 0, 0), 3);
}

TEST(Colors, ContextResolvesAgainstTheSelectedPalette)
{
    Surface s(4, 1);
    s.colors = plat::SystemPalette();
    s.colors[50] = {10, 20, 30, 0};
    DrawContext dc(s);
    dc.FillRect({0, 0, 1, 1}, ColorRef::FromPaletteRgb(10, 20, 31));
    plat::ColorTable other = plat::SystemPalette();
    other[60] = {10, 20, 30, 0};
    dc.SelectPalette(other);
    dc.FillRect({1, 0, 2, 1}, ColorRef::FromPaletteRgb(10, 20, 31));
    EXPECT_EQ(RowOf(s, 0), (std::vector<uint8_t>{50, 60, 0, 0}));
}

TEST(Drawing, RectanglesFillInsideThePenFrame)
{
    EXPECT_EQ(Draw(8, 6,
                   [](DrawContext& dc) {
                       dc.Rectangle({1, 1, 6, 5});
                   }),
              "........\n"
              ".11111..\n"
              ".12221..\n"
              ".12221..\n"
              ".11111..\n"
              "........\n");
    // An inside-frame pen stays inside the box however wide it is.
    EXPECT_EQ(Draw(10, 8,
                   [](DrawContext& dc) {
                       dc.Rectangle({1, 1, 9, 7});
                   },
                   {PenStyle::InsideFrame, 2, kPen}),
              "..........\n"
              ".11111111.\n"
              ".11111111.\n"
              ".11222211.\n"
              ".11222211.\n"
              ".11111111.\n"
              ".11111111.\n"
              "..........\n");
    // A centred pen of width 3 reaches one pixel outside the box.
    EXPECT_EQ(Draw(12, 10,
                   [](DrawContext& dc) {
                       dc.Rectangle({3, 2, 10, 8});
                   },
                   {PenStyle::Solid, 3, kPen}),
              "............\n"
              "..111111111.\n"
              "..111111111.\n"
              "..111111111.\n"
              "..111222111.\n"
              "..111222111.\n"
              "..111111111.\n"
              "..111111111.\n"
              "..111111111.\n"
              "............\n");
    // A hollow brush leaves the inside alone.
    EXPECT_EQ(Draw(6, 5,
                   [](DrawContext& dc) {
                       dc.SetBrush({true, kBrush});
                       dc.Rectangle({0, 0, 6, 5});
                   }),
              "111111\n"
              "1....1\n"
              "1....1\n"
              "1....1\n"
              "111111\n");
    // Empty and inverted boxes draw nothing.
    for (const Rect& r : {Rect{2, 2, 2, 5}, Rect{5, 1, 1, 4}, Rect{1, 4, 5, 1}})
        EXPECT_EQ(Draw(6, 5, [&](DrawContext& dc) { dc.Rectangle(r); }),
                  std::string(5, '.') + ".\n" + std::string(5, '.') + ".\n" + std::string(5, '.') + ".\n" +
                      std::string(5, '.') + ".\n" + std::string(5, '.') + ".\n");
}

TEST(Drawing, EveryRasterModeMixesPenAndScreenBitByBit)
{
    const uint8_t d = 0xCA; // 1100 1010
    const uint8_t p = 0xA6; // 1010 0110
    struct Case {
        Rop2 mode;
        uint8_t expected;
    };
    const Case cases[] = {
        {Rop2::CopyPen, p},
        {Rop2::MergePen, static_cast<uint8_t>(p | d)},
        {Rop2::XorPen, static_cast<uint8_t>(p ^ d)},
        {Rop2::MaskNotPen, static_cast<uint8_t>(~p & d)},
        {Rop2::NotCopyPen, static_cast<uint8_t>(~p)},
        {Rop2::MergeNotPen, static_cast<uint8_t>(~p | d)},
        {Rop2::NotXorPen, static_cast<uint8_t>(~(p ^ d))},
        {Rop2::MaskPen, static_cast<uint8_t>(p & d)},
    };
    // Each shape with a pixel it covers; pixel (3, 3) is covered by none.
    struct Shape {
        std::function<void(DrawContext&)> draw;
        Point probe;
    };
    const Shape shapes[] = {
        {[](DrawContext& dc) {
             dc.Rectangle({0, 0, 3, 3});
         },
         {1, 1}},
        {[](DrawContext& dc) {
             dc.Ellipse({0, 0, 3, 3});
         },
         {1, 1}},
        {[](DrawContext& dc) {
             dc.Pie({0, 0, 3, 3}, {3, 1}, {3, 1});
         },
         {1, 1}},
        {[](DrawContext& dc) {
             dc.Arc({0, 0, 3, 3}, {3, 1}, {3, 1});
         },
         {1, 0}},
        {[](DrawContext& dc) {
             dc.MoveTo({1, 0});
             dc.LineTo({1, 3});
         },
         {1, 1}},
        {[](DrawContext& dc) {
             dc.PaintRegion(Region(Rect{1, 1, 2, 2}));
         },
         {1, 1}},
    };
    for (const Case& c : cases) {
        for (size_t i = 0; i < std::size(shapes); ++i) {
            Surface s(4, 4);
            std::fill(s.pixels.begin(), s.pixels.end(), d);
            DrawContext dc(s);
            dc.SetPen({PenStyle::Solid, 1, ColorRef::FromIndex(p)});
            dc.SetBrush({false, ColorRef::FromIndex(p)});
            dc.SetRop2(c.mode);
            shapes[i].draw(dc);
            EXPECT_EQ(s.At(shapes[i].probe.x, shapes[i].probe.y), c.expected)
                << "mode " << static_cast<int>(c.mode) << " shape " << i;
            EXPECT_EQ(s.At(3, 3), d) << "mode " << static_cast<int>(c.mode) << " shape " << i;
        }
    }
}

TEST(Drawing, XorLineDrawnTwiceLeavesNoTrace)
{
    Surface s = Numbered(16, 12);
    const Surface before = s;
    DrawContext dc(s);
    dc.SetPen({PenStyle::Solid, 3, ColorRef::FromIndex(0x5A)});
    dc.SetRop2(Rop2::XorPen);
    for (int pass = 0; pass < 2; ++pass) {
        dc.MoveTo({1, 1});
        dc.LineTo({14, 9});
        dc.Ellipse({2, 2, 12, 10});
    }
    EXPECT_EQ(s.pixels, before.pixels);
}

TEST(Drawing, LinesLeaveOutTheirEndPoint)
{
    EXPECT_EQ(Draw(12, 8,
                   [](DrawContext& dc) {
                       dc.MoveTo({1, 1});
                       dc.LineTo({10, 4});
                       dc.MoveTo({1, 6});
                       dc.LineTo({10, 6});
                       EXPECT_EQ(dc.CurrentPosition(), (Point{10, 6}));
                   }),
              "............\n"
              ".11.........\n"
              "...111......\n"
              "......111...\n"
              ".........1..\n"
              "............\n"
              ".111111111..\n"
              "............\n");
    EXPECT_EQ(Draw(8, 10,
                   [](DrawContext& dc) {
                       dc.MoveTo({6, 1});
                       dc.LineTo({2, 8});
                       dc.MoveTo({0, 9});
                       dc.LineTo({0, 9}); // no length: nothing
                   }),
              "........\n"
              "......1.\n"
              ".....1..\n"
              ".....1..\n"
              "....1...\n"
              "....1...\n"
              "...1....\n"
              "...1....\n"
              "........\n"
              "........\n");
    // The same line drawn backwards covers the same pixels but for its two ends.
    Surface forward(12, 6);
    Surface backward(12, 6);
    DrawContext f(forward);
    f.SetPen({PenStyle::Solid, 1, kPen});
    f.MoveTo({0, 0});
    f.LineTo({11, 5});
    DrawContext b(backward);
    b.SetPen({PenStyle::Solid, 1, kPen});
    b.MoveTo({11, 5});
    b.LineTo({0, 0});
    EXPECT_EQ(forward.At(0, 0), 1);
    EXPECT_EQ(backward.At(0, 0), 0);
    forward.Row(5)[11] = 1;
    backward.Row(0)[0] = 1;
    EXPECT_EQ(forward.pixels, backward.pixels);
}

TEST(Drawing, WidePensHaveRoundEnds)
{
    EXPECT_EQ(Draw(14, 10,
                   [](DrawContext& dc) {
                       dc.MoveTo({2, 2});
                       dc.LineTo({11, 7});
                   },
                   {PenStyle::Solid, 3, kPen}),
              "..............\n"
              ".111..........\n"
              ".11111........\n"
              ".111111.......\n"
              "...111111.....\n"
              ".....111111...\n"
              ".......111111.\n"
              "........11111.\n"
              "..........111.\n"
              "..............\n");
    // An even width covers exactly that many rows.
    EXPECT_EQ(Draw(14, 6,
                   [](DrawContext& dc) {
                       dc.MoveTo({2, 3});
                       dc.LineTo({11, 3});
                   },
                   {PenStyle::InsideFrame, 2, kPen}),
              "..............\n"
              "..............\n"
              ".11111111111..\n"
              ".11111111111..\n"
              "..............\n"
              "..............\n");
}

TEST(Drawing, EllipsesArcsAndPies)
{
    EXPECT_EQ(Draw(12, 10,
                   [](DrawContext& dc) {
                       dc.Ellipse({1, 1, 11, 9});
                   }),
              "............\n"
              "....1111....\n"
              "..11222211..\n"
              ".1122222211.\n"
              ".1222222221.\n"
              ".1222222221.\n"
              ".1122222211.\n"
              "..11222211..\n"
              "....1111....\n"
              "............\n");
    EXPECT_EQ(Draw(14, 12,
                   [](DrawContext& dc) {
                       dc.Ellipse({1, 1, 13, 11});
                   },
                   {PenStyle::InsideFrame, 2, kPen}),
              "..............\n"
              "....111111....\n"
              "...11111111...\n"
              "..1112222111..\n"
              ".111222222111.\n"
              ".112222222211.\n"
              ".112222222211.\n"
              ".111222222111.\n"
              "..1112222111..\n"
              "...11111111...\n"
              "....111111....\n"
              "..............\n");
    // Rays that point the same way give the whole outline.
    const std::string full = Draw(12, 12, [](DrawContext& dc) { dc.Arc({1, 1, 11, 11}, {6, 6}, {6, 6}); });
    EXPECT_EQ(full, "............\n"
                    "....1111....\n"
                    "..11....11..\n"
                    "..1......1..\n"
                    ".1........1.\n"
                    ".1........1.\n"
                    ".1........1.\n"
                    ".1........1.\n"
                    "..1......1..\n"
                    "..11....11..\n"
                    "....1111....\n"
                    "............\n");
    EXPECT_EQ(full, Draw(12, 12, [](DrawContext& dc) { dc.Arc({1, 1, 11, 11}, {11, 1}, {22, -8}); }));
    // From three o'clock counter-clockwise to twelve: the upper right quarter.
    EXPECT_EQ(Draw(12, 8,
                   [](DrawContext& dc) {
                       dc.Arc({1, 1, 11, 11}, {11, 6}, {6, 0});
                   }),
              "............\n"
              "......11....\n"
              "........11..\n"
              ".........1..\n"
              "..........1.\n"
              "..........1.\n"
              "............\n"
              "............\n");
    EXPECT_EQ(Draw(12, 8,
                   [](DrawContext& dc) {
                       dc.Pie({1, 1, 11, 11}, {11, 6}, {6, 0});
                   }),
              "............\n"
              "......11....\n"
              "......1211..\n"
              "......1221..\n"
              "......12221.\n"
              "......12221.\n"
              "......1111..\n"
              "............\n");
    // More than half a turn: from three o'clock round to half past seven.
    EXPECT_EQ(Draw(16, 14,
                   [](DrawContext& dc) {
                       dc.Pie({1, 1, 15, 15}, {15, 8}, {1, 14});
                   }),
              "................\n"
              ".....111111.....\n"
              "....11222211....\n"
              "...1222222221...\n"
              "..122222222221..\n"
              ".11222222222211.\n"
              ".12222222222221.\n"
              ".12222222222221.\n"
              ".1222222111111..\n"
              ".1222221........\n"
              ".112211.........\n"
              "..121...........\n"
              "...1............\n"
              "................\n");
}

TEST(Drawing, OriginMovesDrawingAndClipRegionLimitsIt)
{
    Surface s(10, 6);
    DrawContext dc(s);
    dc.SetViewportOrigin({3, 1});
    Region clip(Rect{0, 0, 10, 6});
    clip.Subtract(Rect{5, 2, 7, 4}); // a hole, in surface pixels
    dc.SetClipRegion(&clip);
    dc.SetPen({PenStyle::Solid, 1, kBrush});
    dc.SetBrush({false, kBrush});
    dc.Rectangle({-3, -1, 7, 5}); // the whole surface
    dc.MoveTo({-3, 4});
    dc.LineTo({7, 4});
    dc.SetClipRegion(nullptr);
    dc.FillRect({-3, -1, -2, 0}, ColorRef::FromIndex(9));
    EXPECT_EQ(Picture(s), "9222222222\n"
                          "2222222222\n"
                          "22222..222\n"
                          "22222..222\n"
                          "2222222222\n"
                          "2222222222\n");
    EXPECT_EQ(dc.ClipRegion(), nullptr);
}

TEST(Drawing, FillAndInvertIgnoreTheRasterMode)
{
    Surface s = Numbered(6, 2);
    DrawContext dc(s);
    dc.SetRop2(Rop2::XorPen);
    dc.FillRect({1, 0, 3, 2}, ColorRef::FromIndex(200));
    dc.InvertRect({3, 0, 5, 1});
    EXPECT_EQ(RowOf(s, 0), (std::vector<uint8_t>{0, 200, 200, 252, 251, 5}));
    EXPECT_EQ(RowOf(s, 1), (std::vector<uint8_t>{6, 200, 200, 9, 10, 11}));
    dc.InvertRect({3, 0, 5, 1});
    EXPECT_EQ(RowOf(s, 0), (std::vector<uint8_t>{0, 200, 200, 3, 4, 5}));
}

TEST(Drawing, ScrollMovesPixelsInsideTheRectangleOnly)
{
    Surface s = Numbered(6, 5);
    DrawContext dc(s);
    dc.ScrollRect({1, 1, 5, 4}, 1, -1);
    const std::vector<std::vector<uint8_t>> expected = {
        {0, 1, 2, 3, 4, 5},     // outside: untouched
        {6, 7, 13, 14, 15, 11}, // row 2 moved up and right; column 1 keeps what it had
        {12, 13, 19, 20, 21, 17}, {18, 19, 20, 21, 22, 23}, // uncovered: keeps its old pixels
        {24, 25, 26, 27, 28, 29},
    };
    for (int y = 0; y < s.height; ++y)
        EXPECT_EQ(RowOf(s, y), expected[static_cast<size_t>(y)]) << y;
    Surface t = Numbered(4, 3);
    const Surface before = t;
    DrawContext(t).ScrollRect({0, 0, 4, 3}, 10, 0); // everything moves out: nothing changes
    EXPECT_EQ(t.pixels, before.pixels);
}

TEST(Drawing, BitBltCopiesClipsAndMixes)
{
    const Surface src = Numbered(4, 3, true); // rows stored bottom-up
    Surface dst(6, 4);
    DrawContext dc(dst);
    dc.BitBlt({-1, 2, 5, 6}, src, {0, 0}); // sticks out left and below
    EXPECT_EQ(RowOf(dst, 2), (std::vector<uint8_t>{1, 2, 3, 0, 0, 0}));
    EXPECT_EQ(RowOf(dst, 3), (std::vector<uint8_t>{5, 6, 7, 0, 0, 0}));
    // Source pixels past the source's edge are not drawn.
    dc.BitBlt({3, 0, 6, 2}, src, {2, 2});
    EXPECT_EQ(RowOf(dst, 0), (std::vector<uint8_t>{0, 0, 0, 10, 11, 0}));
    EXPECT_EQ(RowOf(dst, 1), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0}));

    const uint8_t d = 0xCA;
    struct Case {
        Rop3 rop;
        uint8_t expected; // with source pixel 0x0B
    };
    const uint8_t sv = 0x0B;
    const Case cases[] = {
        {Rop3::SrcCopy, sv},
        {Rop3::SrcPaint, static_cast<uint8_t>(sv | d)},
        {Rop3::SrcInvert, static_cast<uint8_t>(sv ^ d)},
        {Rop3::NotSrcCopy, static_cast<uint8_t>(~sv)},
        {Rop3::NotSrcErase, static_cast<uint8_t>(~(sv | d))},
    };
    for (const Case& c : cases) {
        Surface t(2, 1);
        t.pixels.assign(t.pixels.size(), d);
        DrawContext(t).BitBlt({1, 0, 2, 1}, src, {3, 2}, c.rop);
        EXPECT_EQ(RowOf(t, 0), (std::vector<uint8_t>{d, c.expected})) << static_cast<int>(c.rop);
    }
}

TEST(Drawing, BlitsWithinOneSurfaceReadBeforeTheyWrite)
{
    Surface s = Numbered(6, 1);
    DrawContext dc(s);
    dc.BitBlt({1, 0, 6, 1}, s, {0, 0});
    EXPECT_EQ(RowOf(s, 0), (std::vector<uint8_t>{0, 0, 1, 2, 3, 4}));
    dc.StretchBlt({0, 0, 6, 1}, s, {3, 0, 6, 1});
    EXPECT_EQ(RowOf(s, 0), (std::vector<uint8_t>{2, 2, 3, 3, 4, 4}));
}

TEST(Drawing, StretchSamplesTheNearestPixel)
{
    const Surface src = Numbered(4, 2);
    Surface big(8, 4);
    DrawContext dc(big);
    dc.StretchBlt({0, 0, 8, 4}, src, {0, 0, 4, 2});
    EXPECT_EQ(RowOf(big, 0), (std::vector<uint8_t>{0, 0, 1, 1, 2, 2, 3, 3}));
    EXPECT_EQ(RowOf(big, 1), RowOf(big, 0));
    EXPECT_EQ(RowOf(big, 3), (std::vector<uint8_t>{4, 4, 5, 5, 6, 6, 7, 7}));

    Surface small(3, 1);
    DrawContext(small).StretchBlt({0, 0, 3, 1}, Numbered(9, 1), {0, 0, 9, 1});
    EXPECT_EQ(RowOf(small, 0), (std::vector<uint8_t>{1, 4, 7}));

    // Empty or inverted rectangles on either side draw nothing.
    Surface t(4, 2);
    t.pixels.assign(t.pixels.size(), 9);
    const Surface before = t;
    DrawContext tc(t);
    tc.StretchBlt({0, 0, 0, 2}, src, {0, 0, 4, 2});
    tc.StretchBlt({4, 0, 0, 2}, src, {0, 0, 4, 2});
    tc.StretchBlt({0, 0, 4, 2}, src, {4, 0, 0, 2});
    tc.StretchBlt({0, 0, 4, 2}, src, {0, 2, 4, 0});
    EXPECT_EQ(t.pixels, before.pixels);

    // Samples that fall outside the source are skipped; the origin and clip apply.
    Surface u(4, 1);
    DrawContext uc(u);
    uc.SetViewportOrigin({1, 0});
    const Region clip(Rect{0, 0, 3, 1});
    uc.SetClipRegion(&clip);
    uc.StretchBlt({-1, 0, 3, 1}, Numbered(4, 1), {2, 0, 8, 1}, Rop3::NotSrcCopy);
    EXPECT_EQ(RowOf(u, 0), (std::vector<uint8_t>{253, 0, 0, 0}));
}

} // namespace
