#include <gtest/gtest.h>

#include "tests/platform/widgets/WidgetTestKit.h"

using namespace plat;
using widgettest::WidgetFixture;

namespace {

const Rect kButtonRect{10, 10, 90, 34};

TEST(Button, APressAndReleaseInsideClicksAndGivesTheFocus)
{
    WidgetFixture f;
    const WindowHandle b = f.Make(widgetclass::Button, 0, kButtonRect, "AB");
    f.Click(b, {5, 5});
    EXPECT_EQ(f.Codes(b), (std::vector<uint32_t>{notify::ButtonClicked}));
    EXPECT_EQ(GetFocus(), b);

    // Pressed inside, let go outside: no click; back inside before letting go: a click.
    f.recorder.Clear();
    f.Press(b, {5, 5}, true);
    f.MoveTo(b, {200, 5});
    f.Press(b, {200, 5}, false);
    EXPECT_TRUE(f.Codes(b).empty());
    f.Press(b, {5, 5}, true);
    f.MoveTo(b, {200, 5});
    f.MoveTo(b, {6, 6});
    f.Press(b, {6, 6}, false);
    EXPECT_EQ(f.Codes(b).size(), 1u);
}

TEST(Button, SpaceClicksTheFocusedButtonAndOtherKeysDoNot)
{
    WidgetFixture f;
    const WindowHandle b = f.Make(widgetclass::Button, wstyle::DefPushButton, kButtonRect, "AB");
    SetFocus(b);
    f.Key('A');
    f.Key(key::Enter);
    EXPECT_TRUE(f.Codes(b).empty());
    f.Key(key::Space);
    EXPECT_EQ(f.Codes(b), (std::vector<uint32_t>{notify::ButtonClicked}));
}

TEST(Button, CheckMarksChangeOnlyWhenTheOwnerSetsThem)
{
    WidgetFixture f;
    for (const uint32_t kind : {wstyle::CheckBox, wstyle::RadioButton}) {
        const WindowHandle b = f.Make(widgetclass::Button, kind, kButtonRect, "Bi");
        f.Click(b, {3, 12});
        EXPECT_EQ(f.Codes(b).size(), 1u);
        EXPECT_FALSE(GetButtonCheck(b));
        SetButtonCheck(b, true);
        f.Click(b, {3, 12});
        EXPECT_TRUE(GetButtonCheck(b));
        DestroyWindow(b);
    }
}

TEST(Button, ADisabledButtonIgnoresClicksAndTheTextCanChange)
{
    WidgetFixture f;
    const WindowHandle b = f.Make(widgetclass::Button, 0, kButtonRect, "AB");
    EnableWindow(b, false);
    f.Click(b, {5, 5});
    EXPECT_TRUE(f.Codes(b).empty());
    SetWidgetText(b, "yAy");
    EXPECT_EQ(GetWidgetText(b), "yAy");
    EXPECT_EQ(GetWidgetTextLength(b), 3);
}

TEST(Widgets, TheClassesAreTheSystemsOwnAndComeBackAfterAReset)
{
    for (int round = 0; round < 2; ++round) {
        for (const char* name : {widgetclass::Button, widgetclass::ScrollBar, widgetclass::ListBox,
                                 widgetclass::ComboBox, widgetclass::Edit}) {
            WindowClass cls;
            cls.name = name;
            cls.proc = DefaultWindowProc;
            EXPECT_FALSE(RegisterWindowClass(cls)) << name << " is taken by the system";
        }
        ResetWindowSystem();
    }
    // The widget style bits lie above every window style bit.
    for (const uint32_t bits :
         {wstyle::ButtonKindMask, wstyle::VerticalBar, wstyle::WantKeys, wstyle::MultiLine,
          wstyle::AlignCenter, wstyle::AlignRight, wstyle::AutoHScroll, wstyle::AutoVScroll})
        EXPECT_LT(0x7FFFu, bits);
}

TEST(Widgets, ASubclassProcedureSeesMessagesFirstAndCanPassThemOn)
{
    WidgetFixture f;
    const WindowHandle e = f.Make(widgetclass::Edit, 0, {10, 10, 200, 30});
    std::vector<uint8_t> seen;
    WindowProc previous;
    previous = SubclassWidget(e, [&](WindowHandle h, uint32_t m, uintptr_t w, intptr_t l) -> intptr_t {
        if (m == msg::Char) {
            seen.push_back(static_cast<uint8_t>(w));
            if (w == 'y')
                return 0; // swallowed
        }
        return previous(h, m, w, l);
    });
    ASSERT_TRUE(previous);
    SetFocus(e);
    f.Type("AyB");
    EXPECT_EQ(seen, (std::vector<uint8_t>{'A', 'y', 'B'}));
    EXPECT_EQ(GetWidgetText(e), "AB");

    // Taking the procedure away again answers it and leaves the widget's own.
    EXPECT_TRUE(SubclassWidget(e, previous));
    f.Type("i");
    EXPECT_EQ(GetWidgetText(e), "ABi");
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_FALSE(SubclassWidget(f.window, previous)) << "not a widget";
}

TEST(Widgets, TheOwnerChoosesTheCursorOverAWidget)
{
    WidgetFixture f;
    const WindowHandle b = f.Make(widgetclass::Button, 0, kButtonRect, "AB");
    f.MoveTo(b, {4, 4});
    const auto cursors = f.recorder.Of(msg::SetCursor);
    ASSERT_FALSE(cursors.empty());
    EXPECT_EQ(cursors.back().window, f.window);
    EXPECT_EQ(static_cast<WindowHandle>(cursors.back().wParam), b);
}

} // namespace
