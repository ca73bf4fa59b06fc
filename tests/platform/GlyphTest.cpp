#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/DrawContext.h"
#include "platform/Font.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"

namespace {

using plat::BkMode;
using plat::ColorRef;
using plat::DrawContext;
using plat::FontHandle;
using plat::FontSpec;
using plat::Surface;

std::string Picture(const Surface& s)
{
    std::string out;
    for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width; ++x) {
            const int v = s.At(x, y);
            out += v == 0 ? '.' : v < 10 ? static_cast<char>('0' + v) : '?';
        }
        out += '\n';
    }
    return out;
}

// The committed bitmap font: 8-pixel cells, ascent 6, "A" and "B" 6 wide, "i" 3, "y" 5 with a
// two-row descender, the euro sign, and a blank for everything else.
FontHandle TestFont(bool underline = false)
{
    plat::AddFontFace("Quill Test",
                      {(qmtest::SourceDir() / "tests/platform/fixtures/QuillTest8.bdf").string()});
    std::string error;
    FontSpec spec{"Quill Test", 8};
    spec.underline = underline;
    FontHandle font = plat::CreateFont(spec, &error);
    EXPECT_TRUE(font) << error;
    return font;
}

DrawContext TextContext(Surface& s, FontHandle font)
{
    DrawContext dc(s);
    dc.SelectFont(std::move(font));
    dc.SetTextColor(ColorRef::FromIndex(1));
    dc.SetBkColor(ColorRef::FromIndex(2));
    return dc;
}

TEST(Glyphs, BitmapFontTextLandsOnExactPixels)
{
    const FontHandle font = TestFont();
    ASSERT_TRUE(font);
    const plat::FontMetrics& m = font->Metrics();
    EXPECT_EQ(m.height, 8);
    EXPECT_EQ(m.ascent, 6);
    EXPECT_EQ(m.descent, 2);
    EXPECT_EQ(font->TextWidth("ABiy"), 20);

    Surface s(24, 10);
    DrawContext dc = TextContext(s, font);
    EXPECT_EQ(dc.TextExtent("ABiy"), (plat::Size{20, 8}));
    dc.TextOut({1, 1}, "ABiy");
    EXPECT_EQ(Picture(s), "........................\n"
                          ".22122211112221222222...\n"
                          ".21212212221222222222...\n"
                          ".12221211112221212212...\n"
                          ".11111212221221212212...\n"
                          ".12221212221221221112...\n"
                          ".12221211112221222212...\n"
                          ".22222222222222212212...\n"
                          ".22222222222222221122...\n"
                          "........................\n");

    // Transparent: only the ink. Byte 0x80 is the euro sign; a byte the font lacks is blank.
    Surface t(20, 8);
    DrawContext tc = TextContext(t, font);
    tc.SetBkMode(BkMode::Transparent);
    tc.TextOut({0, 0}, "\x80z!y");
    EXPECT_EQ(Picture(t), "..111...............\n"
                          ".1..................\n"
                          "1111..............1.\n"
                          ".1................1.\n"
                          "1111...............1\n"
                          "..111...............\n"
                          "..................1.\n"
                          "...................1\n");
}

TEST(Glyphs, UnderlinesAndClipping)
{
    const FontHandle font = TestFont();
    ASSERT_TRUE(font);
    Surface s(24, 9);
    DrawContext dc = TextContext(s, font);
    dc.SetBkMode(BkMode::Transparent);
    // The shortcut mark under "Bi" of "ABiy": from x 6 to 15, the row below the baseline.
    dc.UnderlineText({0, 0}, "ABiy", 1, 2);
    dc.UnderlineText({0, 0}, "ABiy", 3, 100); // a count past the end stops at the end
    dc.UnderlineText({0, 0}, "ABiy", 9, 1);   // past the end: nothing
    const std::string blank(24, '.');
    std::string expected;
    for (int y = 0; y < 9; ++y)
        expected += (y == 7 ? "......11111111111111...." : blank) + "\n";
    EXPECT_EQ(Picture(s), expected);

    // An underlined font marks the whole line; the clip region cuts the text.
    Surface u(14, 8);
    DrawContext uc = TextContext(u, TestFont(true));
    const plat::Region clip(plat::Rect{0, 0, 9, 8});
    uc.SetClipRegion(&clip);
    uc.TextOut({0, 0}, "AB");
    EXPECT_EQ(Picture(u), "221222111.....\n"
                          "212122122.....\n"
                          "122212111.....\n"
                          "111112122.....\n"
                          "122212122.....\n"
                          "122212111.....\n"
                          "222222222.....\n"
                          "111111111.....\n");
}

TEST(Glyphs, FaceNamesMapToInstalledFonts)
{
    std::string error;
    const auto fileOf = [&](const std::string& face, bool bold = false) {
        FontSpec spec{face, -13};
        spec.weight = bold ? 700 : 400;
        const FontHandle f = plat::CreateFont(spec, &error);
        EXPECT_TRUE(f) << error;
        return f ? f->File().filename().string() : std::string();
    };
    const std::set<std::string> sans = {"DejaVuSans.ttf", "LiberationSans-Regular.ttf"};
    EXPECT_TRUE(sans.count(fileOf("MS Sans Serif")));
    EXPECT_TRUE(sans.count(fileOf("arial")));
    EXPECT_TRUE(sans.count(fileOf("No Such Face"))); // unknown names get the default face
    EXPECT_TRUE((std::set<std::string>{"DejaVuSerif.ttf", "LiberationSerif-Regular.ttf"})
                    .count(fileOf("Times New Roman")));
    EXPECT_TRUE((std::set<std::string>{"DejaVuSansMono.ttf", "LiberationMono-Regular.ttf"})
                    .count(fileOf("Courier New")));
    EXPECT_TRUE((std::set<std::string>{"DejaVuSans-Bold.ttf", "LiberationSans-Bold.ttf"})
                    .count(fileOf("Arial", true)));
}

TEST(Glyphs, HeightsWidthsAndWeights)
{
    std::string error;
    // A negative height is the character height: the cell adds the internal leading to it.
    const FontHandle thirteen = plat::CreateFont({"MS Sans Serif", -13}, &error);
    ASSERT_TRUE(thirteen) << error;
    const plat::FontMetrics& m = thirteen->Metrics();
    EXPECT_EQ(m.height - m.internalLeading, 13);
    EXPECT_EQ(m.ascent + m.descent, m.height);
    EXPECT_GT(m.averageCharWidth, 0);
    EXPECT_GE(m.maxCharWidth, m.averageCharWidth);
    // A positive height is the cell height; a width sets the average character width.
    const FontHandle cell = plat::CreateFont({"MS Sans Serif", 16, 7, 700}, &error);
    ASSERT_TRUE(cell) << error;
    EXPECT_EQ(cell->Metrics().height, 16);
    EXPECT_EQ(cell->Metrics().averageCharWidth, 7);
    const FontHandle wide = plat::CreateFont({"MS Sans Serif", 16, 14, 700}, &error);
    ASSERT_TRUE(wide) << error;
    EXPECT_GT(wide->TextWidth("Quillmark"), cell->TextWidth("Quillmark") * 3 / 2);
    // Bold is heavier; a fixed-pitch face gives every character the same advance.
    const FontHandle regular = plat::CreateFont({"Arial", -16}, &error);
    const FontHandle bold = plat::CreateFont({"Arial", -16, 0, 700}, &error);
    ASSERT_TRUE(regular && bold);
    EXPECT_GT(bold->TextWidth("Quillmark Road"), regular->TextWidth("Quillmark Road"));
    const FontHandle mono = plat::CreateFont({"Courier New", -13}, &error);
    ASSERT_TRUE(mono);
    EXPECT_EQ(mono->TextWidth("iiii"), mono->TextWidth("MMMM"));
    // Absurd sizes are limited instead of filling memory.
    const FontHandle huge = plat::CreateFont({"Arial", -1000000}, &error);
    ASSERT_TRUE(huge) << error;
    EXPECT_LE(huge->Metrics().height, 1024);
}

TEST(Glyphs, ScalableTextIsOneColourWithoutSmoothing)
{
    Surface s(80, 24);
    DrawContext dc(s);
    std::string error;
    dc.SelectFont(plat::CreateFont({"Times New Roman", -16}, &error));
    dc.SetTextColor(ColorRef::FromIndex(7));
    dc.SetBkMode(BkMode::Transparent);
    dc.TextOut({2, 2}, "Quillmark & Co");
    std::set<int> values(s.pixels.begin(), s.pixels.end());
    EXPECT_EQ(values, (std::set<int>{0, 7}));
    // Every ink pixel lies within the cells (the Q's tail may reach into the descent).
    const plat::Size extent = dc.TextExtent("Quillmark & Co");
    for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width; ++x) {
            if (s.At(x, y)) {
                EXPECT_TRUE(x >= 2 && x < 2 + extent.cx + 1 && y >= 2 && y < 2 + extent.cy) << x << "," << y;
            }
        }
    }
}

TEST(Glyphs, StockFonts)
{
    std::string error;
    for (plat::StockFont which : {plat::StockFont::System, plat::StockFont::SystemFixed,
                                  plat::StockFont::AnsiFixed, plat::StockFont::OemFixed}) {
        const FontHandle f = plat::GetStockFont(which, &error);
        ASSERT_TRUE(f) << error;
        EXPECT_EQ(f, plat::GetStockFont(which)); // made once
        EXPECT_EQ(f->Metrics().charset,
                  which == plat::StockFont::OemFixed ? plat::kOemCharset : plat::kAnsiCharset);
    }
    const FontHandle fixed = plat::GetStockFont(plat::StockFont::SystemFixed);
    EXPECT_EQ(fixed->TextWidth("il"), fixed->TextWidth("WM"));
    // A context without a selected font draws in the system font.
    Surface s(40, 20);
    DrawContext dc(s);
    EXPECT_EQ(dc.CurrentFont(), plat::GetStockFont(plat::StockFont::System));
    EXPECT_EQ(dc.TextExtent("Ok").cy, plat::GetStockFont(plat::StockFont::System)->Metrics().height);
}

TEST(Glyphs, MissingStylesAreMadeFromTheRegularFile)
{
    // A font folder holding only the upright sans face, as a minimal install has.
    const std::filesystem::path folder = qmtest::TempDir() / "fonts";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", folder / "DejaVuSans.ttf");
    plat::SetFontFolders({folder});
    std::string error;
    const FontHandle upright = plat::CreateFont({"Arial", -16}, &error);
    const FontHandle italic = plat::CreateFont({"Arial", -16, 0, 400, true}, &error);
    const FontHandle bold = plat::CreateFont({"Arial", -16, 0, 700}, &error);
    ASSERT_TRUE(upright && italic && bold) << error;
    EXPECT_EQ(italic->File(), folder / "DejaVuSans.ttf");
    const plat::Glyph& straight = upright->GlyphOf('l');
    const plat::Glyph& slanted = italic->GlyphOf('l');
    EXPECT_NE(straight.bits, slanted.bits);
    EXPECT_GT(slanted.width, straight.width);
    EXPECT_GT(bold->GlyphOf('l').width, straight.width);
}

TEST(Glyphs, MissingOrBrokenFontsGiveAClearErrorAndDrawNothing)
{
    const std::filesystem::path empty = qmtest::TempDir() / "none";
    std::filesystem::create_directories(empty);
    plat::SetFontFolders({empty});
    std::string error;
    EXPECT_FALSE(plat::CreateFont({"Arial", -16}, &error));
    EXPECT_NE(error.find("Cannot make the font \"Arial\": no font file found"), std::string::npos) << error;
    EXPECT_NE(error.find(empty.string()), std::string::npos) << error;
    EXPECT_FALSE(plat::GetStockFont(plat::StockFont::System));

    Surface s(20, 10);
    DrawContext dc(s);
    dc.SetTextColor(ColorRef::FromIndex(1));
    dc.TextOut({0, 0}, "nothing");
    dc.UnderlineText({0, 0}, "nothing", 0, 3);
    EXPECT_EQ(dc.TextExtent("nothing"), (plat::Size{0, 0}));
    EXPECT_EQ(dc.Metrics().height, 0);
    EXPECT_EQ(s.pixels, std::vector<uint8_t>(s.pixels.size(), 0));

    // A file that is not a font.
    qmtest::WriteFile(empty / "DejaVuSans.ttf", "not a font at all");
    EXPECT_FALSE(plat::CreateFont({"MS Sans Serif", -16}, &error));
    EXPECT_NE(error.find("cannot read"), std::string::npos) << error;

    // The reset brings the installed folders back.
    plat::ResetFonts();
    EXPECT_TRUE(plat::CreateFont({"Arial", -16}, &error)) << error;
}

} // namespace
