// The check-image list, the two-column list, the random picture, the frame-type text and the
// debug window.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/controls/TextFrame.h"
#include "engine/controls/native/Button.h"
#include "engine/framework/Util.h"
#include "engine/resources/Registrar.h"
#include "game/base/CheckListCtl.h"
#include "game/base/RandomPictureCtl.h"
#include "game/base/TFrameType.h"
#include "game/base/TwoColListFrm.h"
#include "game/shell/DebugInfoWnd.h"
#include "game/shell/TemplateTypes.h"
#include "tests/engine/controls/imagectl/ImageControlsKit.h"

namespace {

using namespace itest;

constexpr int32_t kText = 41, kHilite = 42, kDim = 43, kBack = 44;

std::unique_ptr<CTplRec> Lines(const std::vector<std::string>& lines)
{
    auto list = std::make_unique<CTplRec>();
    for (const std::string& s : lines)
        list->Add(std::make_unique<CStr>(s.c_str()));
    return list;
}

class GameListsTest : public ImageControlsTest {
protected:
    void SetUp() override
    {
        ImageControlsTest::SetUp();
        CRegistrar::Clear();
        RegisterTemplateTypes();
        plat::AddFontFace("Quill Test",
                          {(qmtest::SourceDir() / "tests/platform/fixtures/QuillTest8.bdf").string()});
        const FontList fonts = {{3, 0, CStr("Quill Test"), 6}, {5, 0, CStr("Quill Test"), 6}};
        ASSERT_EQ(CDrawEnv::InitFonts(&fonts), 0);
    }

    // A check list of four lines, the second dimmed, 100 x 104 at the window's corner, with six
    // check images of 8 x 12 (image i of colour 10 + i below its top row).
    CCheckListCtl* CheckList()
    {
        CCheckListCtl::Looks looks;
        looks.textColor = kText;
        looks.hiliteColor = kHilite;
        looks.dimColor = kDim;
        looks.backColor = kBack;
        looks.fontId = 5;
        auto* list = Add(new CCheckListCtl(30, CRect(0, 0, 104, 100), 70, target,
                                           MarkedSet(std::vector<CPoint>(6, CPoint(8, 12))), nullptr,
                                           Lines({"AB", "BA", "AA", "BB"}), looks));
        list->SetState(1, CCheckListCtl::kDimmed);
        return list;
    }
    std::vector<std::pair<MsgWord, MsgWord>> Notes() const
    {
        std::vector<std::pair<MsgWord, MsgWord>> out;
        for (const Note& n : target->notes)
            out.emplace_back(n.words[2], n.words[3]);
        return out;
    }
    // The middle of a check-list line: 8 rows of 12 below a margin of 4.
    static int LineY(int line) { return 4 + line * 12 + 6; }
};

TEST_F(GameListsTest, CheckListKeysSkipDimmedLinesAndEnterOrAReclickToggles)
{
    CCheckListCtl* list = CheckList();
    ASSERT_EQ(wnd->GetFocusControl(), list);
    EXPECT_EQ(list->GetItemHeight(), 12) << "the check height wins over the font's 9";
    EXPECT_EQ(list->GetItemCount(), 4);
    struct Step {
        char action; // 'u', 'd' keys, 'e' Enter, 'c' click on a line
        int line;
        int32_t selection;
        std::vector<std::pair<MsgWord, MsgWord>> notes;
    };
    const Step steps[] = {
        {'d', 0, 2, {{0, 2}}},                    // line 1 is dimmed
        {'d', 0, 3, {{0, 3}}},   {'d', 0, 3, {}}, // the last line
        {'e', 0, 3, {{13, -1}}}, {'u', 0, 2, {{0, 2}}},
        {'u', 0, 0, {{0, 0}}},   {'u', 0, 0, {}}, // the first line
        {'c', 1, 0, {}},                          // a dimmed line refuses a click
        {'c', 0, 0, {{13, -1}}},                  // a click on the selected line toggles it
        {'c', 2, 2, {{0, 2}}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(1, s.action) + std::to_string(s.line));
        target->notes.clear();
        switch (s.action) {
        case 'u': Key(plat::key::Up); break;
        case 'd': Key(plat::key::Down); break;
        case 'e': Key(plat::key::Enter); break;
        default:
            Down(20, LineY(s.line));
            Up(20, LineY(s.line));
            break;
        }
        EXPECT_EQ(list->GetSelection(), s.selection);
        EXPECT_EQ(Notes(), s.notes);
    }
    EXPECT_EQ(list->GetState(0), CCheckListCtl::kChecked);
    EXPECT_EQ(list->GetState(3), CCheckListCtl::kChecked);
    std::unique_ptr<CTplRec> checked = list->GetCheckedLines();
    ASSERT_EQ(checked->GetEntryCount(), 2);
    EXPECT_STREQ(checked->GetEntry(0)->GetText(), "AB");
    EXPECT_STREQ(checked->GetEntry(1)->GetText(), "BB");
}

TEST_F(GameListsTest, ANewListClearsTheChecksAndAnEmptyOneLeavesNothingToToggle)
{
    CCheckListCtl* list = CheckList();
    list->SetState(0, CCheckListCtl::kChecked);
    list->SetList(Lines({"A", "B", "A", "B", "A"}));
    EXPECT_EQ(list->GetItemCount(), 5);
    for (int32_t i = 0; i < 5; ++i)
        EXPECT_EQ(list->GetState(i), 0);
    list->SetList(Lines({}));
    EXPECT_EQ(list->GetItemCount(), 5) << "the old count stays";
    target->notes.clear();
    list->Toggle();
    Key(plat::key::Enter);
    EXPECT_TRUE(target->notes.empty());
    EXPECT_EQ(list->GetCheckedLines()->GetEntryCount(), 0);
}

TEST_F(GameListsTest, EachLineShowsTheCheckImageOfItsStateAndTheHighlightFrame)
{
    CCheckListCtl* list = CheckList();
    list->SetFlags(list->GetFlags() & ~CFrame::kFlagTransparent);
    struct Case {
        uint16_t state;
        bool highlighted;
        int image;
    };
    const Case cases[] = {{0, false, 0}, {1, false, 3}, {2, false, 2}, {3, false, 5}, {1, true, 3}};
    const CRect line(0, 0, 12, 80);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        list->SetState(0, c.state);
        const std::unique_ptr<COffScEnv> env = WhiteEnv(100, 20);
        ASSERT_TRUE(list->DrawItem(env.get(), 0, line, c.highlighted));
        EXPECT_EQ(env->GetBitmap()->GetPixel(3, 5), 10 + c.image) << "the image at left + 1";
        EXPECT_EQ(env->GetBitmap()->GetPixel(0, 5), c.highlighted ? kHilite : kBack);
        EXPECT_EQ(env->GetBitmap()->GetPixel(79, 5), c.highlighted ? kHilite : kBack);
        // The text starts at 8 + 4 and takes the colour of the line's state.
        const int colour = c.highlighted ? kHilite : (c.state & 2) ? kDim : kText;
        int inks = 0;
        for (int h = 12; h < 30; ++h)
            for (int v = 1; v < 11; ++v)
                inks += env->GetBitmap()->GetPixel(h, v) == colour;
        EXPECT_GT(inks, 4);
    }
    EXPECT_FALSE(list->DrawItem(nullptr, 9, line, false)) << "no line 9";
}

class TwoColumnsTest : public GameListsTest {
protected:
    CTwoColListFrm* TwoColumns(std::unique_ptr<CTplRec> lines, int16_t fill, bool transparent)
    {
        CTwoColListFrm::Columns columns;
        columns.left1 = 0;
        columns.left2 = 30;
        columns.highlightFill = fill;
        auto* list = Add(new CTwoColListFrm(31, CRect(0, 0, 104, 100), 71, target, nullptr, std::move(lines),
                                            5, kText, kDim, kBack, columns));
        list->SetFlags(transparent ? list->GetFlags() | CFrame::kFlagTransparent
                                   : list->GetFlags() & ~CFrame::kFlagTransparent);
        return list;
    }
    // Pixels of the colour in the cell's area.
    static int Count(COffScEnv& env, int from, int to, int colour)
    {
        int n = 0;
        for (int h = from; h < to; ++h)
            for (int v = 0; v < 12; ++v)
                n += env.GetBitmap()->GetPixel(h, v) == colour;
        return n;
    }
};

TEST_F(TwoColumnsTest, RowsDrawTheirTwoEntriesInSwappedColoursWhenSelected)
{
    // The test font draws only "A", "B" and the blank.
    CTwoColListFrm* list = TwoColumns(Lines({"AB", "BA", "BB", "AA", "AB"}), 0, false);
    list->SetItemCount(3);
    const CRect row(0, 0, 12, 80);
    struct Case {
        int32_t index;
        bool selected;
        int fill;  // of either cell that exists; 255 where none
        int fill2; // of the second cell
    };
    const Case cases[] = {
        {0, false, kBack, kBack}, {0, true, kText, kText}, {2, false, kBack, 255}, {3, false, 255, 255}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        const std::unique_ptr<COffScEnv> env = WhiteEnv(100, 20);
        EXPECT_TRUE(list->DrawItem(env.get(), c.index, row, c.selected));
        EXPECT_EQ(env->GetBitmap()->GetPixel(28, 10), c.fill);
        EXPECT_EQ(env->GetBitmap()->GetPixel(78, 10), c.fill2);
        if (c.fill != 255) {
            const int ink = c.selected ? kBack : kText;
            EXPECT_GT(Count(*env, 0, 30, ink), 4);
            EXPECT_EQ(Count(*env, 30, 80, ink) > 4, c.fill2 != 255);
        }
    }
}

TEST_F(TwoColumnsTest, ATransparentListFillsASelectedRowOnlyWithTheHighlightFill)
{
    for (int16_t fill : {0, 1}) {
        SCOPED_TRACE(fill);
        CTwoColListFrm* list = TwoColumns(Lines({"AB", "BA"}), fill, true);
        const std::unique_ptr<COffScEnv> env = WhiteEnv(100, 20);
        env->SetTextColor(7);
        list->DrawItem(env.get(), 0, CRect(0, 0, 12, 80), true);
        // With the fill, the cell takes the colour the environment came with.
        EXPECT_EQ(env->GetBitmap()->GetPixel(28, 10), fill ? 7 : 255);
        EXPECT_GT(Count(*env, 0, 30, kBack), 4);
        list->RemoveFromParent();
        delete list;
    }
}

TEST_F(TwoColumnsTest, TheSelectedNumberAndText)
{
    CTwoColListFrm* list = TwoColumns(Lines({"12", "Flour", "x7", "Bacon", "30"}), 0, false);
    list->SetItemCount(3);
    struct Case {
        int32_t selection;
        int32_t number;
        const char* text;
    };
    const Case cases[] = {{0, 12, "Flour"}, {1, 0, "Bacon"}, {2, 30, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selection);
        list->SetItemIndex(c.selection);
        EXPECT_EQ(list->GetSelectedNumber(), c.number);
        const std::unique_ptr<CStr> text = list->GetSelectedText();
        EXPECT_EQ(text ? std::string(text->GetText()) : "none", c.text ? c.text : "none");
    }
    list->SetList(nullptr);
    EXPECT_EQ(list->GetSelectedNumber(), 0);
    EXPECT_EQ(list->GetSelectedText(), nullptr);
    EXPECT_FALSE(list->DrawItem(nullptr, 0, CRect(0, 0, 12, 80), false));
}

class RandomPictureTest : public GameListsTest {
protected:
    void AddPictures(const std::vector<int32_t>& ids)
    {
        std::vector<deftext::Resource> pictures;
        for (int32_t id : ids)
            pictures.push_back({"CBM", id, Picture({CPoint(8, 6)}, [id](int, int, int) {
                                    return static_cast<uint8_t>(id % 200);
                                })});
        deftext::AddFolderLibrary(pictures);
    }
};

TEST_F(RandomPictureTest, EveryPeriodShowsAnotherOfTheTwelvePictures)
{
    std::vector<int32_t> ids;
    for (int32_t n = 0; n < 12; ++n)
        ids.push_back(4230 + 10 * n);
    AddPictures(ids);
    CUtil::SetRandomSeed(34);
    auto* picture = Add(new CRandomPictureCtl(40, CPoint(10, 10), nullptr, 0, 0, true));
    ASSERT_NE(picture->GetTimer(), nullptr);
    std::vector<int32_t> shown;
    for (int period = 0; period < 50; ++period) {
        Ticks(CRandomPictureCtl::kPeriod);
        shown.push_back(picture->GetShownId());
    }
    for (size_t i = 0; i < shown.size(); ++i) {
        EXPECT_TRUE(shown[i] >= 4230 && shown[i] <= 4340 && shown[i] % 10 == 0) << shown[i];
        if (i > 0) {
            EXPECT_NE(shown[i], shown[i - 1]) << "period " << i;
        }
    }
    EXPECT_GT(std::set<int32_t>(shown.begin(), shown.end()).size(), 6u);
    EXPECT_EQ(DrawnAt(*picture, 12, 12), shown.back() % 200);

    root->RemoveChild(*picture);
    EXPECT_EQ(picture->GetTimer(), nullptr) << "detached";
    root->AddChild(picture, false);
    EXPECT_NE(picture->GetTimer(), nullptr) << "attached again";
}

TEST_F(RandomPictureTest, AMissingPictureChangesNothing)
{
    auto* picture = Add(new CRandomPictureCtl(40, CPoint(10, 10), nullptr, 0, 0, true));
    Ticks(CRandomPictureCtl::kPeriod * 3);
    EXPECT_EQ(picture->GetShownId(), 0);
    EXPECT_EQ(picture->GetImages(), nullptr);
}

TEST_F(GameListsTest, FrameTypeTextTakesItsKindAndTheWholeListForANegativeIndex)
{
    deftext::AddFolderLibrary({{"STR", 40, "\"AB\",\"BA\""}});
    // Frame values, "strlistid", "strlibmsk", "strindex", "fontid", colours, justifications,
    // "Wrap?", "border?", then "FRAMETYPE".
    Build("0x43, 2, 0, 9, 0,0, 0,0, 0, 0, 10, 50, 40, -1, 1, 5, -1, -1, 0, 0, 1, 0, 77\n"
          "0x43, 3, 0, 9, 0,0, 0,0, 20, 0, 60, 50, 40, -1, -1, 5, -1, -1, 0, 0, 1, 0\n");
    auto* typed = dynamic_cast<CTextFrame*>(root->FindObject(77, 2));
    ASSERT_NE(typed, nullptr);
    EXPECT_STREQ(typed->PeekText()->GetText(), "BA");
    auto* plain = dynamic_cast<CTextFrame*>(root->FindObject(0, 3));
    ASSERT_NE(plain, nullptr) << "no FRAMETYPE: kind 0";
    EXPECT_EQ(plain->GetKind(), 0u);
    const std::string joined = plain->PeekText()->GetText();
    EXPECT_NE(joined.find("AB"), std::string::npos);
    EXPECT_LT(joined.find("AB"), joined.find("BA"));
}

TEST_F(GameListsTest, TheDebugWindowEndsOnOkAndAgreesToClose)
{
    CDebugInfoWnd debug(std::make_unique<CStr>("Speed 12"));
    EXPECT_STREQ(debug.GetTitle()->GetText(), "Debug Information");
    CTextFrame* text = debug.GetTextFrame();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(wtest::Str(text->GetBounds()), "0,0,140,412");
    EXPECT_STREQ(text->PeekText()->GetText(), "Speed 12");
    EXPECT_EQ(text->GetHJust(), kJustifyCenter);
    EXPECT_EQ(text->GetVJust(), kJustifyCenter);
    EXPECT_TRUE(text->GetWrap());
    EXPECT_EQ(text->GetBackColor(), 0x10ffffffu);
    auto* ok = dynamic_cast<CButton*>(text->FindObject(static_cast<uint32_t>(-1), CDebugInfoWnd::kOkId));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(wtest::Str(ok->GetBounds()), "107,185,127,255");
    EXPECT_TRUE(ok->IsDefault());
    EXPECT_TRUE(debug.IsLive());

    CMessage close(CWind::kMsgCloseRequest);
    EXPECT_TRUE(debug.HandleMessage(close, nullptr));
    CMessage other(-13);
    EXPECT_FALSE(debug.HandleMessage(other, text)) << "-13 from another sender";
    EXPECT_FALSE(debug.IsDone());
    EXPECT_TRUE(debug.HandleMessage(other, ok));
    EXPECT_TRUE(debug.IsDone());
    CMessage later(5);
    EXPECT_FALSE(debug.HandleMessage(later, nullptr));
    EXPECT_FALSE(debug.IsDone()) << "every message clears the flag first";
}

} // namespace
