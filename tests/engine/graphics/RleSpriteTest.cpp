#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/graphics/RleSprite.h"
#include "tests/support/RleFixtures.h"

using qmtest::MakeRls;
using qmtest::RleCelSpec;

namespace {

// A bitmap whose rows are exactly its width, so that any write outside it is caught by the
// address sanitizer; rows are stored top-down or bottom-up.
struct Canvas {
    int width;
    int height;
    bool bottomUp;
    std::vector<uint8_t> pixels;
    Canvas(int w, int h, uint8_t background = 0xEE, bool up = false)
        : width(w), height(h), bottomUp(up), pixels(static_cast<size_t>(w * h), background)
    {
    }
    PixelRows Rows() { return {pixels.data(), width, height, width, bottomUp}; }
    uint8_t At(int x, int y) const
    {
        const int stored = bottomUp ? height - 1 - y : y;
        return pixels[static_cast<size_t>(stored * width + x)];
    }
    // Row y as text of two-digit hex values, '..' for the background, for readable failures.
    std::string Row(int y, uint8_t background = 0xEE) const
    {
        std::string s;
        for (int x = 0; x < width; ++x) {
            char b[4];
            snprintf(b, sizeof b, "%02X", At(x, y));
            s += At(x, y) == background ? ".." : b;
            if (x + 1 < width)
                s += ' ';
        }
        return s;
    }
};

void Draw(const std::vector<uint8_t>& rls, int32_t cel, Canvas& canvas, int top, int left,
          const RleDrawOptions& options = {})
{
    const RleCelTable table(rls.data(), rls.size());
    DrawRleCelPixels(table, cel, canvas.Rows(), top, left, options);
}

// One cel of a single row.
std::vector<uint8_t> OneRow(int16_t width, std::vector<uint8_t> runs)
{
    return MakeRls({{1, width, std::move(runs)}});
}

// A 4x4 cel whose pixel (x, y) is 0x10 * (y + 1) + x + 1, one literal run per row.
std::vector<uint8_t> Numbered4x4()
{
    RleCelSpec cel{4, 4, {}};
    for (int y = 0; y < 4; ++y) {
        cel.runs.push_back(0x83);
        for (int x = 0; x < 4; ++x)
            cel.runs.push_back(static_cast<uint8_t>(0x10 * (y + 1) + x + 1));
    }
    return MakeRls({cel});
}

} // namespace

TEST(RleSprite, RunLengthsAtTheirLimits)
{
    // 0x7F repeats 128 times; 0x80 is one literal byte; 0xFF is 128 literal bytes.
    std::vector<uint8_t> runs{0x7F, 5, 0x80, 9, 0xFF};
    for (int i = 0; i < 128; ++i)
        runs.push_back(static_cast<uint8_t>(i));
    Canvas c(257, 1);
    Draw(OneRow(257, runs), 0, c, 0, 0);
    for (int x = 0; x < 128; ++x)
        ASSERT_EQ(c.At(x, 0), 5) << x;
    EXPECT_EQ(c.At(128, 0), 9);
    for (int x = 0; x < 128; ++x)
        ASSERT_EQ(c.At(129 + x, 0), x) << x;
}

TEST(RleSprite, TransparencyTestsOnlyTheFirstByteOfALiteralRun)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> runs;
        int32_t transparent;
        std::string expected;
    };
    const Case cases[] = {
        {"literal starting with the key is skipped whole", {0x82, 0, 7, 7}, 0, ".. .. .."},
        {"literal with the key inside is written whole", {0x82, 7, 0, 7}, 0, "07 00 07"},
        {"repeat of the key is skipped", {0x02, 0}, 0, ".. .. .."},
        {"repeat of another colour is written", {0x02, 3}, 0, "03 03 03"},
        {"no transparent colour writes index 0", {0x82, 0, 7, 7}, -1, "00 07 07"},
        {"a key of 200 skips only 200", {0x00, 200, 0x81, 0, 200}, 200, ".. 00 C8"},
    };
    for (const Case& k : cases) {
        Canvas c(3, 1);
        RleDrawOptions o;
        o.transparent = k.transparent;
        Draw(OneRow(3, k.runs), 0, c, 0, 0, o);
        EXPECT_EQ(c.Row(0), k.expected) << k.name;
    }
}

TEST(RleSprite, ClipsColumnsAgainstTheClipRectangle)
{
    const std::vector<uint8_t> rls = Numbered4x4();
    struct Case {
        const char* name;
        int left;
        bool mirror;
        std::string row0;
    };
    // Clip columns 3..6 of a 10-wide canvas.
    const Case cases[] = {
        {"3 pixels left of the clip loses its first 3 columns", 0, false, ".. .. .. 14 .. .. .. .. .. .."},
        {"passing the clip's right keeps the columns before it", 5, false, ".. .. .. .. .. 11 12 .. .. .."},
        {"inside the clip is whole", 3, false, ".. .. .. 11 12 13 14 .. .. .."},
        {"mirrored, clipped on the left", 0, true, ".. .. .. 11 .. .. .. .. .. .."},
        {"mirrored, clipped on the right", 5, true, ".. .. .. .. .. 14 13 .. .. .."},
    };
    for (const Case& k : cases) {
        Canvas c(10, 4);
        const CRect clip(0, 3, 4, 7);
        RleDrawOptions o;
        o.clip = &clip;
        o.mirror = k.mirror;
        Draw(rls, 0, c, 0, k.left, o);
        EXPECT_EQ(c.Row(0), k.row0) << k.name;
    }
}

TEST(RleSprite, MirroredRowIsWrittenRightToLeft)
{
    Canvas c(6, 1);
    RleDrawOptions o;
    o.mirror = true;
    Draw(OneRow(4, {0x83, 1, 2, 3, 4}), 0, c, 0, 1, o);
    EXPECT_EQ(c.Row(0), ".. 04 03 02 01 ..");
}

TEST(RleSprite, RowsAreClippedAtTheClipTopAndBottom)
{
    const std::vector<uint8_t> rls = Numbered4x4();
    Canvas c(4, 8);
    const CRect clip(3, 0, 5, 4); // rows 3 and 4
    RleDrawOptions o;
    o.clip = &clip;
    Draw(rls, 0, c, 1, 0, o); // cel rows 0..3 land on rows 1..4
    EXPECT_EQ(c.Row(1), ".. .. .. ..");
    EXPECT_EQ(c.Row(2), ".. .. .. ..");
    EXPECT_EQ(c.Row(3), "31 32 33 34"); // the first row at or below clip.top
    EXPECT_EQ(c.Row(4), "41 42 43 44"); // clip.bottom - 1 is drawn
    EXPECT_EQ(c.Row(5), ".. .. .. ..");
}

TEST(RleSprite, BottomUpAndTopDownGiveTheSamePicture)
{
    const std::vector<uint8_t> rls = Numbered4x4();
    for (bool mirror : {false, true}) {
        Canvas down(7, 6, 0xEE, false), up(7, 6, 0xEE, true);
        RleDrawOptions o;
        o.mirror = mirror;
        Draw(rls, 0, down, 1, 2, o);
        Draw(rls, 0, up, 1, 2, o);
        for (int y = 0; y < 6; ++y)
            EXPECT_EQ(up.Row(y), down.Row(y)) << "row " << y << " mirror " << mirror;
        EXPECT_EQ(down.Row(1), mirror ? ".. .. 14 13 12 11 .." : ".. .. 11 12 13 14 ..");
    }
}

TEST(RleSprite, PriorityMaskWritesOnlyWhereTheMaskIsGreater)
{
    std::vector<uint8_t> maskBytes(4 * 2, 10);
    maskBytes[1] = 200; // one high mask byte in row 0
    const PixelRows mask{maskBytes.data(), 4, 2, 4, false};
    const std::vector<uint8_t> rls = MakeRls({{2, 4, {0x81, 0, 6, 0x01, 7, 0x83, 1, 2, 3, 4}}});
    struct Case {
        int16_t priority;
        std::string row0, row1;
    };
    const Case cases[] = {
        {10, ".. 06 .. ..", ".. .. .. .."}, // only where the mask exceeds 10
        {9, "00 06 07 07", "01 02 03 04"},  // every pixel
        {-1, "00 06 07 07", "01 02 03 04"},
    };
    for (const Case& k : cases) {
        Canvas c(4, 2);
        RleDrawOptions o;
        o.mask = &mask;
        o.priority = k.priority;
        Draw(rls, 0, c, 0, 0, o);
        EXPECT_EQ(c.Row(0), k.row0) << k.priority;
        EXPECT_EQ(c.Row(1), k.row1) << k.priority;
    }
}

TEST(RleSprite, DrawsOnlyInsideTheDestinationWhateverTheClipSays)
{
    const std::vector<uint8_t> rls = Numbered4x4();
    const CRect huge(-1000, -1000, 1000, 1000);
    RleDrawOptions o;
    o.clip = &huge;
    for (bool mirror : {false, true})
        for (int top : {-3, -1, 0, 2, 3})
            for (int left : {-3, -1, 0, 2, 3}) {
                Canvas c(3, 3);
                o.mirror = mirror;
                Draw(rls, 0, c, top, left, o); // the sanitizer catches a stray write
                const int x = mirror ? left + 3 : left;
                if (top >= 0 && top < 3 && x >= 0 && x < 3) {
                    EXPECT_EQ(c.At(x, top), 0x11) << top << "," << left << " mirror " << mirror;
                }
            }
}

TEST(RleSprite, ARowClaimingMoreThanTheWidthDrawsOnlyTheWidth)
{
    // Width 3, but each row's runs cover 5 pixels.
    const std::vector<uint8_t> rls = MakeRls({{2, 3, {0x04, 8, 0x84, 1, 2, 3, 4, 5}}});
    for (bool mirror : {false, true}) {
        Canvas c(5, 2);
        RleDrawOptions o;
        o.mirror = mirror;
        Draw(rls, 0, c, 0, 1, o);
        EXPECT_EQ(c.Row(0), ".. 08 08 08 ..") << mirror;
        EXPECT_EQ(c.Row(1), mirror ? ".. 03 02 01 .." : ".. 01 02 03 ..");
    }
}

TEST(RleSprite, DamagedCelTableDrawsNothing)
{
    const std::vector<uint8_t> good = MakeRls({{1, 2, {0x01, 9}}});
    struct Case {
        const char* name;
        size_t at;
        uint32_t value;
        bool wide; // 32-bit field, else 16-bit
        int32_t cel;
    };
    const Case cases[] = {
        {"index past the count", 0, 1, false, 1},
        {"negative index", 0, 1, false, -1},
        {"count larger than the table", 0, 50, false, 1},
        {"negative height", 2, 0xFFFF, false, 0},
        {"negative width", 4, 0xFFFE, false, 0},
        {"offset past the end", 6, 1000, true, 0},
        {"length past the end", 10, 3, true, 0},
        {"offset and length wrapping", 6, 0xFFFFFFFF, true, 0},
        {"empty run data", 10, 0, true, 0},
    };
    for (const Case& k : cases) {
        std::vector<uint8_t> rls = good;
        if (k.wide)
            qmtest::PutBe32(rls, k.at, k.value);
        else
            qmtest::PutBe16(rls, k.at, static_cast<uint16_t>(k.value));
        Canvas c(4, 4);
        Draw(rls, k.cel, c, 0, 0);
        EXPECT_EQ(c.pixels, Canvas(4, 4).pixels) << k.name;
    }
    // Truncated resources: every length from nothing up to the last byte.
    for (size_t n = 0; n < good.size(); ++n) {
        const RleCelTable table(good.data(), n);
        Canvas c(4, 4);
        DrawRleCelPixels(table, 0, c.Rows(), 0, 0, {});
        EXPECT_EQ(c.At(0, 0), 0xEE) << n;
    }
}

TEST(RleSprite, RunDataEndingEarlyStopsTheCel)
{
    // Two rows of width 2, but the data end after the first row and one byte.
    const std::vector<uint8_t> rls = MakeRls({{2, 2, {0x01, 4, 0x81, 5}}});
    Canvas c(2, 2);
    Draw(rls, 0, c, 0, 0);
    EXPECT_EQ(c.Row(0), "04 04");
    EXPECT_EQ(c.Row(1), ".. ..");
}

TEST(RleSprite, RowOffsetsFollowTheCoveredWidth)
{
    // Width 3: row 0 ends in the middle of a run (2 + 2 pixels), row 1 is one repeat run.
    const std::vector<uint8_t> rls = MakeRls({{3, 3, {0x01, 1, 0x01, 2, 0x02, 3, 0x82, 4, 5, 6}}});
    const RleCelTable table(rls.data(), rls.size());
    std::vector<uint32_t> offsets;
    ASSERT_TRUE(BuildRleRowOffsets(table, 0, offsets));
    const uint32_t o = 2 + 12;
    EXPECT_EQ(offsets, (std::vector<uint32_t>{o, o + 4, o + 6, o + 10}));

    // Data ending early: the rows left start at the end.
    std::vector<uint8_t> cut = MakeRls({{3, 3, {0x02, 1}}});
    const RleCelTable cutTable(cut.data(), cut.size());
    ASSERT_TRUE(BuildRleRowOffsets(cutTable, 0, offsets));
    EXPECT_EQ(offsets, (std::vector<uint32_t>{o, o + 2, o + 2, o + 2}));

    EXPECT_FALSE(BuildRleRowOffsets(table, 1, offsets));
    EXPECT_TRUE(offsets.empty());
}

// A large cel takes the plain draw's own way (whole moves that may pass a run's end). It must
// draw what the pixel-by-pixel way draws (here: behind a mask that lets every pixel through),
// for runs of every length, rows whose last run passes the width, and data cut anywhere, and
// leave the pixels beside the cel as they were.
TEST(RleSprite, ThePlainDrawOfALargeCelMatchesThePixelByPixelDraw)
{
    constexpr int16_t kWidth = 301;
    constexpr int16_t kHeight = 24;
    uint32_t random = 12345;
    const auto next = [&random](uint32_t n) {
        random = random * 1103515245u + 12345u;
        return (random >> 16) % n;
    };
    qmtest::RleCelSpec cel{kHeight, kWidth, {}};
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth;) {
            const int n = static_cast<int>(next(y % 3 == 0 ? 128 : 20)) + 1; // some rows long runs
            if (next(2) == 0) {
                cel.runs.push_back(static_cast<uint8_t>(n - 1));
                cel.runs.push_back(static_cast<uint8_t>(next(256)));
            } else {
                cel.runs.push_back(static_cast<uint8_t>(127 + n));
                for (int i = 0; i < n; ++i)
                    cel.runs.push_back(static_cast<uint8_t>(next(256)));
            }
            x += n; // the last run of a row may pass the width
        }
    }
    const std::vector<uint8_t> whole = MakeRls({cel});
    constexpr int kMargin = 19; // background on every side of the cel
    constexpr int kCanvasWidth = kWidth + 2 * kMargin;
    constexpr int kCanvasHeight = kHeight + 2 * kMargin;
    Canvas open(kCanvasWidth, kCanvasHeight, 0xFF);
    RleDrawOptions masked;
    const PixelRows maskRows = open.Rows();
    masked.mask = &maskRows;
    for (size_t length = 0;; length = std::min(length + (length < 400 ? 1 : 97), cel.runs.size())) {
        // The resource ends where the data do, so that a read past them is caught.
        std::vector<uint8_t> rls(whole.begin(),
                                 whole.end() - static_cast<ptrdiff_t>(cel.runs.size() - length));
        qmtest::PutBe32(rls, 10, static_cast<uint32_t>(length));
        Canvas plain(kCanvasWidth, kCanvasHeight);
        Canvas reference(kCanvasWidth, kCanvasHeight);
        Draw(rls, 0, plain, kMargin, kMargin);
        Draw(rls, 0, reference, kMargin, kMargin, masked);
        ASSERT_TRUE(plain.pixels == reference.pixels) << length;
        if (length == cel.runs.size())
            break;
    }
}
