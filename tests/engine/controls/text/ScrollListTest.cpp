#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/controls/text/ScrollList.h"
#include "engine/framework/Str.h"
#include "engine/graphics/FontList.h"
#include "engine/graphics/OffScEnv.h"
#include "platform/Font.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/support/TestEnv.h"

namespace {

// The committed bitmap font as font 5: 8-pixel cells, every character used here 6 pixels wide.
constexpr int16_t kFont = 5;
// A taller font for rows that mix heights.
constexpr int16_t kTallFont = 7;

class ScrollListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::AddFontFace("Quill Test",
                          {(qmtest::SourceDir() / "tests/platform/fixtures/QuillTest8.bdf").string()});
        const FontList list = {{kFont, 0, CStr("Quill Test"), 6}, {kTallFont, 0, CStr("Arial"), 14}};
        ASSERT_EQ(CDrawEnv::InitFonts(&list), 0);
        env_.Init(CRect(0, 0, 200, 200), nullptr, false);
        env_.SetTextColor(255);
        env_.FillRect(CRect(0, 0, 200, 200));
    }
    void TearDown() override { CDrawEnv::ResetFonts(); }

    // A list without border or bar, `width` wide and `height` high, laid out.
    std::unique_ptr<CScrollList> Laid(const char* text, int16_t width, int16_t height = 100)
    {
        auto list = Make(text, width, height);
        list->Layout(&env_);
        return list;
    }
    std::unique_ptr<CScrollList> Make(const char* text, int16_t width, int16_t height = 100)
    {
        return std::make_unique<CScrollList>(1, CRect(0, 0, height, width), std::make_unique<CStr>(text),
                                             kFont, false, false);
    }
    int16_t Height(int16_t font)
    {
        FontInfo info;
        env_.GetFontMetrics(info, font);
        return info.height;
    }

    // Each run as "row:x:colour:font:text".
    static std::vector<std::string> Runs(const CScrollList& list)
    {
        std::vector<std::string> out;
        const char* text = list.PeekText()->GetText();
        for (const CScrollListItem& i : list.GetItems())
            out.push_back(std::to_string(i.row) + ":" + std::to_string(i.x) + ":" + std::to_string(i.color) +
                          ":" + std::to_string(i.fontId) + ":" +
                          std::string(text + i.start, static_cast<size_t>(i.length)));
        return out;
    }

    COffScEnv env_;
};

using Strings = std::vector<std::string>;

TEST_F(ScrollListTest, MarkupAndLineFeedsMakeRunsAndRows)
{
    struct Case {
        const char* text;
        Strings runs;
        int16_t rows;
    };
    const Case cases[] = {
        {"Hello^c012 world", {"0:0:0:5:Hello", "0:30:12:5: world"}, 1},
        {"AB", {"0:0:0:5:AB"}, 1}, // no closing line feed: the last run stays
        {"", {}, 1},
        {"A\nB", {"0:0:0:5:A", "1:0:0:5:B"}, 2},
        {"A\n\nB", {"0:0:0:5:A", "1:0:0:5:B"}, 2}, // two line feeds, one break
        {"A\n", {"0:0:0:5:A"}, 1},                 // a closing line feed opens no row
        {"A^nxB", {"0:0:0:5:A", "1:0:0:5:B"}, 2},  // ^n takes the next character with it
        {"A^zB", {"0:0:0:5:A", "0:6:0:5:B"}, 1},   // an unknown command is dropped
        {"A^cxyzB", {"0:0:0:5:A", "0:6:0:5:xyzB"}, 1},
        {"^f005A^c003B", {"0:0:0:5:A", "0:6:3:5:B"}, 1},
        // Markup cut short by the end of the text ends the layout; what came before stays.
        {"AB^", {"0:0:0:5:AB"}, 1},
        {"AB^c01", {"0:0:0:5:AB"}, 1},
        {"AB^f0", {"0:0:0:5:AB"}, 1},
        {"AB^c", {"0:0:0:5:AB"}, 1},
        {"AB^n", {"0:0:0:5:AB"}, 1},
    };
    for (const Case& c : cases) {
        const auto list = Laid(c.text, 100);
        EXPECT_EQ(Runs(*list), c.runs) << c.text;
        EXPECT_EQ(list->GetTotalRows(), c.rows) << c.text;
        EXPECT_FALSE(list->IsLayoutDirty()) << c.text;
    }
}

TEST_F(ScrollListTest, WithMarkupOffCaretsArePlainButLineFeedsStillBreak)
{
    auto list = Make("A^c012B\nC", 100);
    list->SetMarkup(false);
    list->Layout(&env_);
    EXPECT_EQ(Runs(*list), (Strings{"0:0:0:5:A^c012B", "1:0:0:5:C"}));
}

TEST_F(ScrollListTest, WrappingBreaksAtSpacesAndHyphensAndCutsWordsWiderThanTheRow)
{
    // 40 pixels hold six characters; the seventh meets the edge.
    struct Case {
        const char* text;
        Strings runs;
    };
    const Case cases[] = {
        {"AAA BBB", {"0:0:0:5:AAA ", "1:0:0:5:BBB"}},
        {"AAA-BBB", {"0:0:0:5:AAA-", "1:0:0:5:BBB"}},
        {"AA BB CC DD", {"0:0:0:5:AA BB ", "1:0:0:5:CC DD"}},
        {"AAAAAAAAAA", {"0:0:0:5:AAAAAA", "1:0:0:5:AAAA"}}, // wider than the row: cut at the edge
        {"A^c001BBBBBB", {"0:0:0:5:A", "1:0:1:5:BBBBBB"}},  // no break point: the run moves whole
        {"AAAAAAAAAAAAAAAAAAA", {"0:0:0:5:AAAAAA", "1:0:0:5:AAAAAA", "2:0:0:5:AAAAAA", "3:0:0:5:A"}},
    };
    for (const Case& c : cases) {
        auto list = Make(c.text, 40);
        list->SetWrap(true);
        list->Layout(&env_);
        EXPECT_EQ(Runs(*list), c.runs) << c.text;
    }
    // Without wrapping the row runs on.
    EXPECT_EQ(Runs(*Laid("AAA BBB", 40)), (Strings{"0:0:0:5:AAA BBB"}));
}

TEST_F(ScrollListTest, RowsAreCentredOrRightAlignedWithoutTheirClosingSpaces)
{
    struct Case {
        const char* text;
        int32_t hJust;
        Strings runs;
    };
    const Case cases[] = {
        {"AB ", 1, {"0:24:0:5:AB "}},                      // (60 - 18 + 6) / 2
        {"AB ", 2, {"0:48:0:5:AB "}},                      // 60 - 18 + 6
        {"AB", 0, {"0:0:0:5:AB"}},                         // left: as laid
        {"A^c003B", 2, {"0:48:0:5:A", "0:54:3:5:B"}},      // every run of the row moves alike
        {"A^c003B ", 1, {"0:24:0:5:A", "0:30:3:5:B "}},    // (60 - 18 + 6) / 2
        {"AB\nABAB", 2, {"0:48:0:5:AB", "1:36:0:5:ABAB"}}, // each row on its own
    };
    for (const Case& c : cases) {
        auto list = Make(c.text, 60);
        list->SetHJust(c.hJust);
        list->Layout(&env_);
        EXPECT_EQ(Runs(*list), c.runs) << c.text << " hjust " << c.hJust;
    }
}

TEST_F(ScrollListTest, RunsOfARowAreCentredOnItsTallestLine)
{
    const int16_t small = Height(kFont), tall = Height(kTallFont);
    ASSERT_GT(tall, small + 1);
    const auto list = Laid("A^f007B^f005\nA", 200);
    const auto& items = list->GetItems();
    ASSERT_EQ(items.size(), 4u); // A, B, the empty run before the line feed, A
    EXPECT_EQ(items[0].extra, (tall - small) / 2);
    EXPECT_EQ(items[1].extra, 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(items[static_cast<size_t>(i)].lineHeight, tall) << i;
    EXPECT_EQ(items[3].row, 1);
    EXPECT_EQ(items[3].extra, 0);
    EXPECT_EQ(list->GetTotalHeight(), tall + small);
    EXPECT_EQ(list->GetMaxRowWidth(), 6 + items[1].width);
}

TEST_F(ScrollListTest, ShortTextsMoveDownByTheVerticalJustification)
{
    const int16_t row = Height(kFont);
    struct Case {
        int32_t vJust;
        bool border;
        int32_t offset;
    };
    const Case cases[] = {
        {0, false, 0}, {1, false, (100 - 2 * row) / 2}, {2, false, 100 - 2 * row}, {2, true, 96 - 2 * row}};
    for (const Case& c : cases) {
        CScrollList list(1, CRect(0, 0, 100, 80), std::make_unique<CStr>("A\nB"), kFont, c.border, false);
        list.SetVJust(c.vJust);
        list.Layout(&env_);
        EXPECT_EQ(list.GetVOffset(), c.offset) << c.vJust << " " << c.border;
    }
    // An empty text has no offset.
    CScrollList empty(1, CRect(0, 0, 100, 80), std::make_unique<CStr>(""), kFont, false, false);
    empty.SetVJust(2);
    empty.Layout(&env_);
    EXPECT_EQ(empty.GetVOffset(), 0);
    EXPECT_EQ(empty.GetTotalHeight(), 0);
}

TEST_F(ScrollListTest, VisibleRowsAndScrollingWithoutABar)
{
    // Ten rows of 8 pixels in an area 30 high: three fit.
    const auto list = Laid("0\n1\n2\n3\n4\n5\n6\n7\n8\n9", 100, 30);
    EXPECT_EQ(list->GetTotalRows(), 10);
    EXPECT_EQ(list->GetVisibleRows(), 3);
    list->ScrollTo(4, false);
    EXPECT_EQ(list->GetTopRow(), 4);
    EXPECT_EQ(list->GetTopItem(), 4);
    EXPECT_EQ(list->GetVisibleRows(), 3);
    list->ScrollTo(8, false); // near the end only the rows left show
    EXPECT_EQ(list->GetTopRow(), 8);
    EXPECT_EQ(list->GetVisibleRows(), 2);
    list->ScrollTo(-3, false);
    EXPECT_EQ(list->GetTopRow(), 0);
    list->ScrollTo(50, true); // never past the last row
    EXPECT_EQ(list->GetTopRow(), 9);
    EXPECT_EQ(list->GetVisibleRows(), 1);

    // A text that fits shows all its rows.
    EXPECT_EQ(Laid("A\nB", 100, 100)->GetVisibleRows(), 2);
    // An area lower than one row still shows the first.
    EXPECT_EQ(Laid("A\nB", 100, 4)->GetVisibleRows(), 1);
}

TEST_F(ScrollListTest, TextChangesAndResizingLayTheTextOutAgain)
{
    auto list = Laid("A", 100);
    list->AdoptText(std::make_unique<CStr>("B\nC"));
    EXPECT_TRUE(list->IsLayoutDirty());
    list->Layout(&env_);
    EXPECT_EQ(list->GetTotalRows(), 2);
    list->SetText(std::make_unique<CStr>("B\nC"));
    EXPECT_TRUE(list->IsLayoutDirty());
    list->Layout(&env_);
    list->AppendText(std::make_unique<CStr>("\nD"));
    EXPECT_TRUE(list->IsLayoutDirty());
    list->Layout(&env_);
    EXPECT_EQ(list->GetTotalRows(), 3);
    list->SetSize(50, 50);
    EXPECT_TRUE(list->IsLayoutDirty());
    list->Layout(&env_);
    list->ScrollTo(2, true);
    list->AdoptText(std::make_unique<CStr>("E")); // fewer rows than the top row: back to row 0
    list->Layout(&env_);
    EXPECT_EQ(list->GetTopRow(), 0);
}

TEST_F(ScrollListTest, DrawsEachRunInItsColourFromTheTopRowAndPutsTheEnvironmentBack)
{
    // Rows "A", then "A" and "B" in colour 12: scrolled to row 1, only the second row shows,
    // at the top.
    CScrollList list(1, CRect(0, 0, 8, 24), std::make_unique<CStr>("A\nA^c012B"), kFont, false, false);
    list.SetFlags(list.GetFlags() & ~CFrame::kFlagTransparent);
    list.SetBackColor(255);
    list.Layout(&env_);
    list.ScrollTo(1, false);
    env_.SetTextColor(7);
    env_.SetBkColor(9);
    env_.SetFont(0);
    list.DrawContent(&env_, list.GetDrawnRect());
    const Strings rows = qmtest::Pixels(*env_.GetBitmap());
    const Strings expected = {
        "..0...cccc..............", //
        ".0.0..c...c.............", //
        "0...0.cccc..............", //
        "00000.c...c.............", //
        "0...0.c...c.............", //
        "0...0.cccc..............", //
        "........................", //
    };
    for (size_t v = 0; v < expected.size(); ++v)
        EXPECT_EQ(rows[v].substr(0, 24), expected[v]) << v;
    EXPECT_EQ(list.GetLastDrawnRow(), 1);
    EXPECT_EQ(list.GetDrawnHeight(), Height(kFont));
    EXPECT_EQ(env_.GetForeColor(), 7);
    EXPECT_EQ(env_.GetBkColor(), 9);
    EXPECT_EQ(env_.GetFontId(), 0);
}

} // namespace
