#include <gtest/gtest.h>

#include "engine/controls/input/ListBox.h"
#include "engine/controls/input/PushFrame.h"
#include "engine/controls/input/ScrollBar.h"
#include "tests/engine/controls/input/ControlsKit.h"

namespace {

using namespace ctest;

// A list that logs its reclicks and releases.
class LoggingList : public CListBox {
public:
    LoggingList(Log& log, CBaseObj* target, CImgSet* images)
        : CListBox(4, CRect(0, 0, 104, 100), 70, target, images), log_(log)
    {
    }
    void OnReclick(const CPoint&) override { log_.push_back("reclick"); }
    void OnRelease(const CPoint&) override { log_.push_back("release"); }

private:
    Log& log_;
};

class ListBoxTest : public ControlsTest {
protected:
    LoggingList* List(bool withBar = true)
    {
        return Add(new LoggingList(log, target, withBar ? MarkedSet(BarImages()) : nullptr));
    }
    // (word 2, word 3) of each notification.
    std::vector<std::pair<MsgWord, MsgWord>> Notes() const
    {
        std::vector<std::pair<MsgWord, MsgWord>> out;
        for (const Note& n : target->notes)
            out.emplace_back(n.words[2], n.words[3]);
        return out;
    }
    // The point in the middle of a row's text (h 20).
    static int RowY(int row) { return 2 + row * 20 + 10; }
};

TEST_F(ListBoxTest, RowsMarginAndTheBarFollowTheHeightAndTheCount)
{
    LoggingList* list = List();
    EXPECT_EQ(list->GetVisibleRows(), 5); // (104 - 4) / 20
    EXPECT_EQ(list->GetTopMargin(), 2);   // (104 - 100) / 2
    EXPECT_EQ(list->GetItemCount(), 20);
    EXPECT_EQ(list->GetLargestTop(), 15);
    EXPECT_EQ(list->GetSelection(), 0);
    EXPECT_EQ(list->GetInputMode(), 3u);
    CScrollBar* bar = list->GetScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(wtest::Str(bar->GetBounds()), "0,84,104,100");
    EXPECT_EQ(bar->GetMax(), 15);
    EXPECT_EQ(bar->GetPageSize(), 5);
    EXPECT_EQ(list->GetBarWidth(), 16);
    EXPECT_TRUE(bar->IsShown());

    list->SetItemCount(5); // fits: the bar goes, the items take the full width
    EXPECT_FALSE(bar->IsShown());
    EXPECT_EQ(list->GetBarWidth(), 0);
    list->SetItemCount(6);
    EXPECT_TRUE(bar->IsShown());
    EXPECT_EQ(bar->GetMax(), 1);
    EXPECT_FALSE(bar->IsInactive());

    list->SetItemHeight(0); // at least 1
    EXPECT_EQ(list->GetItemHeight(), 1);
    EXPECT_EQ(list->GetVisibleRows(), 100);
    EXPECT_FALSE(bar->IsShown());
    list->SetItemHeight(30);
    EXPECT_EQ(list->GetVisibleRows(), 3);
    EXPECT_EQ(list->GetTopMargin(), 7);

    list->SetSize(120, 164); // 5 rows of 30: the bar moves right by 20 and takes the height
    EXPECT_EQ(list->GetVisibleRows(), 5);
    EXPECT_EQ(wtest::Str(bar->GetBounds()), "0,104,164,120");
    EXPECT_EQ(bar->GetPageSize(), 5);
}

TEST_F(ListBoxTest, KeysMoveTheSelectionOnlyWhileFocusedWithItemsAndStopAtTheEnds)
{
    LoggingList* list = List();
    list->ResetList(3);
    auto* ok = Add(new CPushFrame(1, 9, CRect(200, 200, 210, 210), 80, target, 2, true));
    ASSERT_EQ(wnd->GetFocusControl(), list);
    struct Case {
        uint8_t key;
        int32_t selection;
        bool notified;
    };
    const Case cases[] = {
        {plat::key::Up, 0, false}, // at the first item
        {plat::key::Down, 1, true},   {plat::key::Down, 2, true},
        {plat::key::Down, 2, false},  // at the last item
        {plat::key::Enter, 2, false}, // swallowed: the default control is not pressed
        {plat::key::Up, 1, true},
    };
    for (const Case& c : cases) {
        target->notes.clear();
        Key(c.key);
        EXPECT_EQ(list->GetSelection(), c.selection) << int(c.key);
        EXPECT_EQ(target->notes.size(), c.notified ? 1u : 0u) << int(c.key);
    }
    EXPECT_EQ(Notes().back(), (std::pair<MsgWord, MsgWord>{0, 1}));

    // Without items no key is wanted: Enter presses the default control again.
    list->ResetList(0);
    list->SetItemIndex(0);
    EXPECT_EQ(list->GetSelection(), -1);
    EXPECT_FALSE(list->WantsKey(31));
    target->notes.clear();
    Key(plat::key::Enter);
    ASSERT_EQ(target->notes.size(), 1u);
    EXPECT_EQ(target->notes[0].sender, ok);
}

TEST_F(ListBoxTest, ClicksSelectReclicksChangeNothingAndOnlyAChangeNotifies)
{
    LoggingList* list = List(false);
    Down(20, RowY(2));
    Up(20, RowY(2));
    EXPECT_EQ(list->GetSelection(), 2);
    log.clear();
    Down(20, RowY(2)); // the selected item again
    Up(20, RowY(2));
    EXPECT_EQ(log, (Log{"reclick", "release"}));
    EXPECT_EQ(Notes(), (std::vector<std::pair<MsgWord, MsgWord>>{{0, 2}}));
    Down(20, 1); // the margin above the first row: item 0 at the top
    Up(20, 1);
    EXPECT_EQ(list->GetSelection(), 0);
}

TEST_F(ListBoxTest, DraggingBeyondTheEndsScrollsAndTheBarMovesOnlyTheTop)
{
    LoggingList* list = List();
    Down(20, RowY(0));
    Move(20, 150); // below the list: the item under the pointer becomes the last row
    EXPECT_EQ(list->GetSelection(), 7);
    EXPECT_EQ(list->GetTopItem(), 3);
    EXPECT_EQ(list->GetScrollBar()->GetValue(), 3);
    Ticks(10); // held there, the timer goes on scrolling
    EXPECT_EQ(list->GetSelection(), 10);
    EXPECT_EQ(list->GetTopItem(), 6);
    Move(20, -5 + 10); // back in the first row
    Move(20, 1);       // above the rows: one item up per move, scrolling past the top row
    EXPECT_EQ(list->GetSelection(), 5);
    EXPECT_EQ(list->GetTopItem(), 5);
    Up(20, 1);
    EXPECT_EQ(Notes(), (std::vector<std::pair<MsgWord, MsgWord>>{{0, 5}}));

    // The bar's own notification (-18) moves the top, never the selection.
    target->notes.clear();
    Down(90, 95); // the bar's second arrow
    Up(90, 95);
    EXPECT_EQ(list->GetTopItem(), 6);
    EXPECT_EQ(list->GetSelection(), 5);
    EXPECT_TRUE(target->notes.empty());
}

TEST_F(ListBoxTest, ItemsAreDrawnInTheirRowsInsideABorderTwoPixelsWideWhileFocused)
{
    CListBox list(4, CRect(0, 0, 104, 100), 70, nullptr, nullptr);
    list.SetBorder(CFrame::kFlagBorders);
    list.SetForeColor(4);
    list.ResetList(2); // two items: the rest of the rows stay empty
    const auto picture = [&list](bool focused) {
        list.SetHasFocus(focused);
        auto env = WhiteEnv(100, 104);
        list.DrawContent(env.get(), CRect(0, 0, 104, 100));
        std::string row; // across the middle of the first row, then down the middle column
        for (int h = 0; h < 4; ++h)
            row += qmtest::PixelChar(env->GetBitmap()->GetPixel(h, 12));
        return row + "|" + Column(*env, 50, 0, 4) + "|" + Column(*env, 50, 40, 46);
    };
    // The border in colour 4, the selected item 0 framed in blue ('?'), item 1 below it.
    EXPECT_EQ(picture(false), "4.??|4.?.|......");
    EXPECT_EQ(picture(true), "44??|44?.|......"); // 2 pixels while focused
}

} // namespace
