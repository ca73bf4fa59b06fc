#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/framework/ApplHooks.h"
#include "engine/framework/Str.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/Font.h"
#include "engine/graphics/GraphicsHooks.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/Palette.h"
#include "engine/graphics/TextLayout.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace {

using Rows = std::vector<std::string>;

// The committed bitmap font of the platform's tests: 8-pixel cells (ascent 6, descent 2, no
// leading), "A" and "B" 6 pixels wide, "i" 3, "y" 5, the blank 6; other characters are blank.
constexpr const char* kTestFace = "Quill Test";
// The point size that gives it its 8-pixel character height at 96 pixels per inch.
constexpr int16_t kTestSize = 6;

void InstallTestFace()
{
    plat::AddFontFace(kTestFace, {(qmtest::SourceDir() / "tests/platform/fixtures/QuillTest8.bdf").string()});
}

// Builds the font table with the test face as font 5.
void InitTestFonts()
{
    InstallTestFace();
    const FontList list = {{5, 0, CStr(kTestFace), kTestSize}};
    ASSERT_EQ(CDrawEnv::InitFonts(&list), 0);
    ASSERT_NE(CDrawEnv::GetFontTable()->Find(5), nullptr);
}

std::unique_ptr<COffScEnv> Env(int16_t w, int16_t h)
{
    auto env = std::make_unique<COffScEnv>();
    env->Init(CRect(0, 0, h, w), nullptr, false);
    env->SetFont(5);
    env->SetTextColor(1);
    env->SetBkColor(2);
    return env;
}

// The same picture drawn straight through the platform: a context over a w x h bitmap with the
// test font, text colour 1 and background 2.
Rows Reference(int16_t w, int16_t h, const std::function<void(plat::DrawContext&)>& draw)
{
    auto bitmap = qmtest::MakeBitmap(w, h);
    plat::DrawContext dc(*bitmap->GetHandle());
    dc.SelectFont(CDrawEnv::GetFontTable()->Find(5)->GetHandle());
    dc.SetTextColor(plat::ColorRef::FromIndex(1));
    dc.SetBkColor(plat::ColorRef::FromIndex(2));
    dc.SetBkMode(plat::BkMode::Transparent);
    draw(dc);
    return qmtest::Pixels(*bitmap);
}

TEST(Fonts, PointSizesBecomeCharacterHeights)
{
    const struct {
        int16_t size, style;
        int32_t height, width, weight;
        bool italic, underline;
    } cases[] = {
        {12, 0, -16, 0, 400, false, false},
        {10, 0, -13, 0, 400, false, false},
        {12, 0x21, -16, 10, 700, false, false},
        {6, kFontItalic, -8, 0, 400, true, false},
        {14, kFontUnderline, -19, 0, 400, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.size) + " style " + std::to_string(c.style));
        const plat::FontSpec spec = CDrawEnv::FontSpecFor("Arial", c.size, c.style);
        EXPECT_EQ(spec.face, "Arial");
        EXPECT_EQ(spec.height, c.height);
        EXPECT_EQ(spec.width, c.width);
        EXPECT_EQ(spec.weight, c.weight);
        EXPECT_EQ(spec.italic, c.italic);
        EXPECT_EQ(spec.underline, c.underline);
        EXPECT_EQ(spec.charset, plat::kAnsiCharset);
    }
}

TEST(Fonts, TheCharacterSetChoosesTheCharacterMap)
{
    InstallTestFace();
    const struct {
        uint8_t charset;
        int32_t map;
    } cases[] = {{plat::kAnsiCharset, kCharMapTypographic},
                 {plat::kSymbolCharset, kCharMapNone},
                 {kShiftJisCharset, kCharMapNone},
                 {plat::kOemCharset, kCharMapPlain},
                 {186, kCharMapTypographic}};
    for (const auto& c : cases) {
        plat::FontSpec spec{kTestFace, 8};
        spec.charset = c.charset;
        const CFont font(1, plat::CreateFont(spec), 6, 0);
        EXPECT_EQ(font.GetCharMap(), c.map) << int(c.charset);
    }
    EXPECT_EQ(CFont(1, nullptr, 6, 0).GetCharMap(), kCharMapTypographic) << "no font";
}

TEST(Fonts, TheTableFindsFontsById)
{
    CFontTable table;
    auto* a = new CFont(3, nullptr, 10, 1);
    auto* b = new CFont(3, nullptr, 12, 2);
    EXPECT_TRUE(table.Add(a));
    EXPECT_FALSE(table.Add(a)) << "a font is held once";
    EXPECT_TRUE(table.Add(b));
    EXPECT_EQ(table.Find(3), a);
    EXPECT_EQ(table.Find(4), nullptr);
    EXPECT_EQ(table.GetCharMap(4), kCharMapTypographic);
    EXPECT_TRUE(table.RemoveById(3));
    EXPECT_EQ(table.Find(3), b);
    delete a; // taken out, not deleted
    EXPECT_FALSE(table.RemoveAt(1));
    EXPECT_EQ(table.GetAt(0), b);
}

TEST(Fonts, TheFontTableIsBuiltOnceAndDeletedWhenNoEnvironmentIsLeft)
{
    EXPECT_EQ(GetFontCharMap(0), kCharMapNone) << "no table yet";
    EXPECT_EQ(CDrawEnv::InitFonts(nullptr), 1);
    CFontTable* table = CDrawEnv::GetFontTable();
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->GetCount(), 1);
    const CFont* standard = table->GetAt(0);
    EXPECT_EQ(standard->GetId(), 0);
    EXPECT_EQ(standard->GetSize(), 12);
    EXPECT_EQ(standard->GetStyle(), 0);
    ASSERT_TRUE(standard->GetHandle());
    EXPECT_EQ(standard->GetHandle()->Spec().face, "MS Sans Serif");
    EXPECT_EQ(standard->GetHandle()->Metrics().height, 16);
    EXPECT_EQ(standard->GetHandle()->Metrics().averageCharWidth, 7);
    EXPECT_EQ(standard->GetHandle()->Spec().weight, 700);
    EXPECT_EQ(GetFontCharMap(0), kCharMapTypographic);
    EXPECT_EQ(GetFontCharMap(9), kCharMapTypographic) << "an id the table lacks";

    const FontList more = {{7, 0, CStr("Arial"), 10}};
    CDrawEnv::InitFonts(&more);
    EXPECT_EQ(CDrawEnv::GetFontTable()->GetCount(), 1) << "built already";

    {
        COffScEnv env;
        CDrawEnv::DeleteFonts();
        EXPECT_EQ(CDrawEnv::GetFontTable(), table) << "an environment still exists";
    }
    CDrawEnv::DeleteFonts();
    EXPECT_EQ(CDrawEnv::GetFontTable(), nullptr);
}

TEST(Fonts, TheHooksBuildTheTableFromTheFontListAndThePaletteFromItsTable)
{
    InstallTestFace();
    qmtest::UseTempDirAsDriveC();
    qmtest::FolderLibraryWriter writer(qmtest::TempDir() / "Lib");
    writer.Add("FTL", 0, "list short short string short endlist\n");
    writer.Add("FTL", 128, "1, 0, \"Arial\", 10\n5, 0x21, \"Quill Test\", 6\n");
    std::vector<uint8_t> colours(2 + 4 * 3, 0);
    colours[0] = 2;
    writer.Add("CLT", 9, colours);
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\Lib"));

    InstallGraphicsHooks();
    ApplHooks& hooks = GetApplHooks();
    hooks.initFonts();
    CFontTable* table = CDrawEnv::GetFontTable();
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->GetCount(), 3);
    const CFont* five = table->Find(5);
    ASSERT_NE(five, nullptr);
    EXPECT_EQ(five->GetSize(), 6);
    EXPECT_EQ(five->GetStyle(), 0x21);
    EXPECT_EQ(five->GetHandle()->Spec().height, -8);
    EXPECT_EQ(five->GetHandle()->Spec().width, 5);
    EXPECT_EQ(table->Find(1)->GetHandle()->Spec().height, -13);
    hooks.deleteFonts();
    EXPECT_EQ(CDrawEnv::GetFontTable(), nullptr);

    CPalette* palette = hooks.createPalette(9, 0xFFFFFFFFu);
    EXPECT_TRUE(hooks.isPaletteValid(palette));
    hooks.deletePalette(palette);
}

TEST(Fonts, WithoutAFontListOnlyTheDefaultFontIsMade)
{
    qmtest::UseTempDirAsDriveC();
    qmtest::FolderLibraryWriter writer(qmtest::TempDir() / "Lib");
    writer.Add("STR", 1, "\"unrelated\"\n");
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\Lib"));
    InstallGraphicsHooks();
    GetApplHooks().initFonts();
    ASSERT_NE(CDrawEnv::GetFontTable(), nullptr);
    EXPECT_EQ(CDrawEnv::GetFontTable()->GetCount(), 1);
}

// ---- Text ------------------------------------------------------------------------------------

TEST(Text, FontsAreSelectedByIdAndMeasured)
{
    InitTestFonts();
    auto env = Env(10, 10);
    EXPECT_EQ(env->GetFontId(), 5);
    EXPECT_EQ(env->GetTextWidth(CStr("ABiy")), 20);
    env->SetFont(42);
    EXPECT_EQ(env->GetFontId(), 0) << "an id the table lacks selects the system font";
    EXPECT_NE(env->GetTextWidth(CStr("ABiy")), 20);

    FontInfo info;
    env->GetFontMetrics(info, 5);
    EXPECT_EQ(info.ascent, 6);
    EXPECT_EQ(info.descent, 2);
    EXPECT_EQ(info.leading, 0);
    EXPECT_EQ(info.height, 8);
    EXPECT_EQ(env->GetFontId(), 0) << "the current font comes back";
}

TEST(Text, HighBytesAreTranslatedThroughTheFontsCharacterMap)
{
    InitTestFonts();
    auto env = Env(4, 4);
    const uint8_t* typographic = CStr::GetCharMap(kCharMapTypographic);
    const std::string text = "A\x80\xD2z\xFF";
    const std::string out = env->TranslateText(text.data(), static_cast<int32_t>(text.size()));
    EXPECT_EQ(out, std::string({'A', static_cast<char>(typographic[0]), static_cast<char>(typographic[0x52]),
                                'z', static_cast<char>(typographic[0x7F])}));
    EXPECT_EQ(env->TranslateText("AB", 1), "A") << "only the length given";

    // A symbol font keeps its bytes.
    plat::FontSpec symbolSpec{kTestFace, 8};
    symbolSpec.charset = plat::kSymbolCharset;
    CDrawEnv::GetFontTable()->Add(new CFont(6, plat::CreateFont(symbolSpec), 6, 0));
    env->SetFont(6);
    EXPECT_EQ(env->TranslateText(text.data(), static_cast<int32_t>(text.size())), text);
}

TEST(Text, AlignedTextIsPlacedInTheRectangle)
{
    InitTestFonts();
    const CRect box(1, 2, 15, 24); // 22 wide, 14 high
    const struct {
        int16_t h, v;
        plat::Point at;
    } cases[] = {
        {kJustifyStart, kJustifyStart, {2, 1}},
        {kJustifyCenter, kJustifyCenter, {7, 4}}, // (2 + 24 - 12) / 2; (1 + 15) / 2 - 8 / 2
        {kJustifyEnd, kJustifyEnd, {12, 7}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.h) + "," + std::to_string(c.v));
        auto env = Env(26, 16);
        env->DrawTextAligned(box, "AB", 2, c.h, c.v, kBkTransparent);
        EXPECT_EQ(qmtest::Pixels(*env->GetBitmap()),
                  Reference(26, 16, [&](plat::DrawContext& dc) { dc.TextOut(c.at, "AB"); }));
    }

    // Opaque text fills its cells with the background colour; an empty text draws nothing.
    auto env = Env(26, 16);
    env->DrawTextAligned(box, "", 0, 0, 0, kBkOpaque);
    env->DrawTextAligned(box, nullptr, 5, 0, 0, kBkOpaque);
    EXPECT_EQ(env->GetBkMode(), kBkTransparent);
    env->DrawTextAt(CPoint(3, 2), "Ai", 2, kBkOpaque);
    EXPECT_EQ(qmtest::Pixels(*env->GetBitmap()), Reference(26, 16, [&](plat::DrawContext& dc) {
                  dc.SetBkMode(plat::BkMode::Opaque);
                  dc.TextOut({3, 2}, "Ai");
              }));
}

TEST(Text, WrappedTextBreaksBetweenWordsAndUnderlinesMarkedLetters)
{
    InitTestFonts();
    // "AB" is 12 wide, the blank 6: "AB AB" needs 30 and does not fit 20.
    const CRect box(0, 2, 24, 22);
    const struct {
        const char* name;
        int16_t just;
        const char* text;
        std::function<void(plat::DrawContext&)> reference;
    } cases[] = {
        {"left", kJustifyStart, "AB &AB",
         [](plat::DrawContext& dc) {
             dc.TextOut({2, 0}, "AB");
             dc.TextOut({2, 8}, "AB");
             dc.UnderlineText({2, 8}, "AB", 0, 1);
         }},
        {"centred", kJustifyCenter, "i&&y\r\nAB",
         [](plat::DrawContext& dc) {
             dc.TextOut({5, 0}, "i&y"); // 3 + 6 (the blank '&') + 5 = 14 wide
             dc.TextOut({6, 8}, "AB");
         }},
        {"right", kJustifyEnd, "ABABAB iy",
         [](plat::DrawContext& dc) {
             dc.TextOut({-14, 0}, "ABABAB"); // wider than the rectangle: alone, cut at its edge
             dc.TextOut({14, 8}, "iy");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto env = Env(26, 20);
        env->DrawTextWrapped(box, c.text, static_cast<int32_t>(std::strlen(c.text)), c.just, kBkTransparent);
        EXPECT_EQ(qmtest::Pixels(*env->GetBitmap()), Reference(26, 20, [&](plat::DrawContext& dc) {
                      const plat::Region inside(plat::Rect{2, 0, 22, 24});
                      dc.SetClipRegion(&inside);
                      c.reference(dc);
                  }));
        EXPECT_EQ(env->GetHDC()->ClipRegion(), nullptr) << "the clip comes back";
    }
}

TEST(TextLayout, LinesBreakAtLineEndsAndBetweenWords)
{
    const TextMeasure oneEach = [](std::string_view s) { return static_cast<int32_t>(s.size()); };
    const struct {
        const char* text;
        int32_t width;
        std::vector<std::string> lines;
    } cases[] = {
        {"aa bb cc", 5, {"aa bb", "cc"}},
        {"aa bb cc", 4, {"aa", "bb", "cc"}},
        {"aa  bb", 2, {"aa", "bb"}},
        {"longword x", 3, {"longword", "x"}},
        {"  lead", 10, {"  lead"}},
        {"tail   ", 10, {"tail"}},
        {"a\r\nb\nc\rd", 10, {"a", "b", "c", "d"}},
        {"a\n\nb", 10, {"a", "", "b"}},
        {"", 10, {""}},
        {"x y", 0, {"x", "y"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::vector<TextLine> lines = WrapText(c.text, c.width, oneEach);
        std::vector<std::string> texts;
        for (const TextLine& line : lines) {
            texts.push_back(line.text);
            EXPECT_EQ(line.width, static_cast<int32_t>(line.text.size()));
        }
        EXPECT_EQ(texts, c.lines);
    }
}

TEST(TextLayout, AmpersandsMarkTheNextCharacter)
{
    const TextMeasure oneEach = [](std::string_view s) { return static_cast<int32_t>(s.size()); };
    const struct {
        const char* text;
        std::vector<std::string> lines;
        std::vector<std::vector<size_t>> underlined;
    } cases[] = {
        {"&File", {"File"}, {{0}}},
        {"Fish &&Co", {"Fish &Co"}, {{}}},
        {"a&b &c&", {"ab c"}, {{1, 3}}},
        {"&a b&c", {"a", "bc"}, {{0}, {1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::vector<TextLine> lines = WrapText(c.text, c.lines.size() > 1 ? 2 : 20, oneEach);
        ASSERT_EQ(lines.size(), c.lines.size());
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].text, c.lines[i]);
            EXPECT_EQ(lines[i].underlined, c.underlined[i]);
        }
    }
}

} // namespace
