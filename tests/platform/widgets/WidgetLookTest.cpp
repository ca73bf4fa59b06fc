// Each widget's look, normal, focused and disabled, against golden pictures drawn with the
// committed bitmap font (which has glyphs for "A", "B", "i" and "y" only).
#include <gtest/gtest.h>

#include "tests/platform/widgets/WidgetTestKit.h"

using namespace plat;
using widgettest::MatchesGolden;
using widgettest::WidgetFixture;

namespace {

// Three copies of a widget in rows: normal, focused and disabled; the golden picture covers
// the window's client area.
template <class Setup>
void LookOfThree(const char* name, const char* className, uint32_t style, int width, int height, Setup setup)
{
    WidgetFixture f;
    WindowHandle made[3] = {};
    for (int i = 0; i < 3; ++i) {
        made[i] = f.Make(className, style, Rect::FromSize(8, 8 + i * (height + 8), width, height));
        setup(made[i]);
    }
    SetFocus(made[1]);
    EnableWindow(made[2], false);
    const Point corner = ClientToScreen(f.window, {0, 0});
    EXPECT_TRUE(MatchesGolden(name, Rect::FromSize(corner.x, corner.y, width + 16, 3 * (height + 8) + 8)));
}

TEST(WidgetLook, Buttons)
{
    for (const uint32_t kind : {0u, wstyle::DefPushButton, wstyle::CheckBox, wstyle::RadioButton}) {
        const std::string name = "button-" + std::to_string(kind >> 16);
        LookOfThree(name.c_str(), widgetclass::Button, kind, 60, 20, [&](WindowHandle b) {
            SetWidgetText(b, "AB iy");
            SetButtonCheck(b, kind != 0 && kind != wstyle::DefPushButton);
        });
        ResetWindowSystem();
    }
}

TEST(WidgetLook, ScrollBars)
{
    LookOfThree("scrollbar", widgetclass::ScrollBar, 0, 100, 16, [](WindowHandle bar) {
        SetScrollBarRange(bar, 0, 10);
        SetScrollBarPos(bar, 3);
    });
}

TEST(WidgetLook, ListBoxes)
{
    LookOfThree("listbox", widgetclass::ListBox, style::Border, 60, 26, [](WindowHandle list) {
        for (const char* item : {"AB", "iy", "BA", "yi"})
            AddListString(list, item);
        SetListCurrent(list, 1);
    });
}

TEST(WidgetLook, ComboBoxes)
{
    LookOfThree("combobox", widgetclass::ComboBox, 0, 60, 14, [](WindowHandle combo) {
        for (const char* item : {"AB", "iy"})
            AddListString(combo, item);
        SetListCurrent(combo, 0);
    });
}

TEST(WidgetLook, EditFields)
{
    LookOfThree("edit", widgetclass::Edit, style::Border | wstyle::AlignCenter, 60, 14, [](WindowHandle e) {
        SetWidgetText(e, "AB iy");
        SetEditSelection(e, 1, 3);
    });
}

TEST(WidgetLook, AnOpenComboList)
{
    WidgetFixture f;
    const WindowHandle combo = f.Make(widgetclass::ComboBox, 0, {8, 8, 68, 60});
    for (const char* item : {"AB", "iy", "BB", "yy", "ii", "AA", "Bi"})
        AddListString(combo, item);
    SetListCurrent(combo, 5);
    f.Click(combo, {50, 5});
    ASSERT_TRUE(IsComboDropped(combo));
    const Point corner = ClientToScreen(f.window, {0, 0});
    EXPECT_TRUE(MatchesGolden("combobox-open", Rect::FromSize(corner.x, corner.y, 76, 68)));
}

} // namespace
