#include <gtest/gtest.h>

#include "platform/Font.h"
#include "tests/platform/widgets/WidgetTestKit.h"

using namespace plat;
using widgettest::WidgetFixture;

namespace {

// The test font's cells are 8 pixels high, so a list box 40 high shows five rows.
constexpr int kRow = 8;

WindowHandle MakeList(WidgetFixture& f, const std::vector<std::string>& items, uint32_t style = 0)
{
    const WindowHandle list = f.Make(widgetclass::ListBox, style, {10, 10, 110, 10 + 5 * kRow});
    for (const std::string& item : items)
        AddListString(list, item);
    wintest::PumpAll();
    return list;
}

TEST(ListBox, ClicksDoubleClicksAndArrowKeysNotifyTheOwner)
{
    WidgetFixture f;
    const WindowHandle list = MakeList(f, {"A", "B", "i", "y"});
    EXPECT_EQ(GetListCurrent(list), -1);
    f.Click(list, {5, kRow + 2});
    EXPECT_EQ(GetListCurrent(list), 1);
    EXPECT_EQ(GetFocus(), list);
    f.Click(list, {5, kRow + 2}); // the same item again, as a double click
    EXPECT_EQ(f.Codes(list), (std::vector<uint32_t>{notify::ListSelChange, notify::ListDoubleClick}));

    f.recorder.Clear();
    f.Key(key::Down);
    f.Key(key::End);
    f.Key(key::End); // nothing changes: no notification
    f.Key(key::Home);
    EXPECT_EQ(GetListCurrent(list), 0);
    EXPECT_EQ(f.Codes(list), (std::vector<uint32_t>{1, 1, 1}));
    EXPECT_EQ(GetListString(list, 3), "y");
    EXPECT_EQ(GetListString(list, 4), "");
}

TEST(ListBox, LettersSelectTheNextItemStartingWithThemRoundTheEnd)
{
    WidgetFixture f;
    const WindowHandle list = MakeList(f, {"Bay", "Aby", "bib", "iBi", "Ba"});
    SetFocus(list);
    std::vector<int32_t> picked;
    for (const char c : std::string("bbbbAy")) {
        f.Type(std::string(1, c));
        picked.push_back(GetListCurrent(list));
    }
    EXPECT_EQ(picked, (std::vector<int32_t>{0, 2, 4, 0, 1, 1}));
}

TEST(ListBox, ItsOwnBarScrollsTheItemsAndFollowsTheCurrentOne)
{
    WidgetFixture f;
    const WindowHandle list = MakeList(f, {"A", "B", "i", "y", "AA", "BB", "ii"});
    SetFocus(list);
    f.Key(key::End);
    EXPECT_EQ(GetListTopIndex(list), 2);
    const std::vector<WindowHandle> children = GetChildren(list);
    ASSERT_EQ(children.size(), 1u);
    const WindowHandle bar = children[0];
    EXPECT_TRUE(IsVisible(bar));
    EXPECT_EQ(GetScrollBarPos(bar), 2);
    f.Click(bar, {8, 2}); // its up arrow
    EXPECT_EQ(GetListTopIndex(list), 1);
    EXPECT_EQ(GetListCurrent(list), 6) << "scrolling leaves the current item";

    // Current items of -1 and past the end select nothing; a reset empties the list.
    SetListCurrent(list, 7);
    EXPECT_EQ(GetListCurrent(list), -1);
    SetListCurrent(list, 2);
    SetListCurrent(list, -1);
    EXPECT_EQ(GetListCurrent(list), -1);
    ResetList(list);
    wintest::PumpAll();
    EXPECT_EQ(GetListCount(list), 0);
    EXPECT_FALSE(IsVisible(bar));
}

TEST(ListBox, AnOwnerThatWantsKeysAnswersForThem)
{
    WidgetFixture f;
    const WindowHandle list = MakeList(f, {"A", "B", "i"}, wstyle::WantKeys);
    f.recorder.SetHandler([](WindowHandle, uint32_t m, uintptr_t w, intptr_t) -> std::optional<intptr_t> {
        if (m != msg::VKeyToItem)
            return std::nullopt;
        return LowWord(w) == key::Down ? -2 : LowWord(w) == key::End ? 1 : -1;
    });
    SetFocus(list);
    f.Key(key::Down); // taken by the owner
    EXPECT_EQ(GetListCurrent(list), -1);
    f.Key(key::End); // the owner picks item 1
    EXPECT_EQ(GetListCurrent(list), 1);
    f.Key(key::Up); // the list's own handling
    EXPECT_EQ(GetListCurrent(list), 0);
    const auto asked = f.recorder.Of(msg::VKeyToItem);
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(HighWord(asked[2].wParam), 1u) << "the current item rides along";
}

WindowHandle MakeCombo(WidgetFixture& f)
{
    const WindowHandle combo = f.Make(widgetclass::ComboBox, 0, {10, 10, 110, 80});
    for (const char* item : {"A", "B", "i", "y"})
        AddListString(combo, item);
    wintest::PumpAll();
    return combo;
}

TEST(ComboBox, AClickOpensTheListIntoItsMadeHeightAndAClickInItChooses)
{
    WidgetFixture f;
    const WindowHandle combo = MakeCombo(f);
    EXPECT_EQ(GetWindowRect(combo).Height(), kRow + 6) << "closed, only the field";
    EXPECT_EQ(GetListCurrent(combo), -1);
    f.Click(combo, {5, 5});
    ASSERT_TRUE(IsComboDropped(combo));
    EXPECT_EQ(f.Codes(combo), (std::vector<uint32_t>{notify::ComboSetFocus}));
    const WindowHandle drop = WindowFromPoint(f.Screen(combo, {5, 20}));
    ASSERT_NE(drop, 0u);
    EXPECT_EQ(GetWindowRect(drop).bottom, GetWindowRect(combo).top + 70);

    // The selection follows the pointer; the release chooses and closes.
    plat::InjectMouseMove(f.Screen(combo, {5, kRow + 6 + 2 * kRow + 3}));
    wintest::PumpAll();
    f.Click(combo, {5, kRow + 6 + 2 * kRow + 3});
    EXPECT_FALSE(IsComboDropped(combo));
    EXPECT_EQ(GetListCurrent(combo), 2);
    EXPECT_EQ(GetWidgetText(combo), "i");
    EXPECT_EQ(f.Codes(combo), (std::vector<uint32_t>{notify::ComboSetFocus, notify::ComboSelChange}));
    EXPECT_EQ(GetFocus(), combo);
}

TEST(ComboBox, KeysOpenChooseAndCloseIt)
{
    WidgetFixture f;
    const WindowHandle combo = MakeCombo(f);
    SetFocus(combo);
    f.recorder.Clear();
    f.Key(key::Down); // closed: the arrow keys change the item
    f.Key(key::Down);
    EXPECT_EQ(GetListCurrent(combo), 1);
    f.Key(key::Down, false, false, true); // Alt+Down opens
    EXPECT_TRUE(IsComboDropped(combo));
    f.Key(key::Down);
    f.Key(key::Escape); // closes without choosing
    EXPECT_FALSE(IsComboDropped(combo));
    EXPECT_EQ(GetListCurrent(combo), 1);
    f.Key(key::F4);
    f.Key(key::Down);
    f.Key(key::Enter);
    EXPECT_FALSE(IsComboDropped(combo));
    EXPECT_EQ(GetListCurrent(combo), 2);
    EXPECT_EQ(f.Codes(combo), (std::vector<uint32_t>{1, 1, 1}));

    // A press outside the open list closes it.
    f.Click(combo, {5, 5});
    ASSERT_TRUE(IsComboDropped(combo));
    f.Click(combo, {250, 150});
    EXPECT_FALSE(IsComboDropped(combo));
    EXPECT_EQ(GetListCurrent(combo), 2);
}

} // namespace
