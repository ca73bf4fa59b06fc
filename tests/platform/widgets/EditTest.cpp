#include <gtest/gtest.h>

#include "platform/Caret.h"
#include "platform/Desktop.h"
#include "platform/DrawContext.h"
#include "platform/widgets/EditLayout.h"
#include "tests/platform/widgets/WidgetTestKit.h"

using namespace plat;
using widgettest::WidgetFixture;

namespace {

// In the test font "A" and "B" are 6 pixels wide; text starts 2 pixels in.
constexpr int kChar = 6;
constexpr int kMargin = 2;
const Rect kEditRect{10, 10, 210, 26};

using Sel = std::pair<int32_t, int32_t>;

TEST(Edit, TypingNotifiesEachChangeAndSettingTheTextToo)
{
    WidgetFixture f;
    const WindowHandle e = f.Make(widgetclass::Edit, style::Border, kEditRect);
    f.Click(e, {5, 5});
    EXPECT_EQ(GetFocus(), e);
    EXPECT_EQ(GetVisibleCaret().window == e || GetVisibleCaret().window == 0, true);
    f.Type("AB");
    f.Key(key::Backspace);
    EXPECT_EQ(GetWidgetText(e), "A");
    EXPECT_EQ(f.Codes(e), (std::vector<uint32_t>{notify::EditSetFocus, notify::EditChange, notify::EditChange,
                                                 notify::EditChange}));

    // Setting the text notifies at once, before a selection call that follows.
    f.recorder.Clear();
    std::vector<std::string> order;
    f.recorder.SetHandler([&](WindowHandle, uint32_t m, uintptr_t w, intptr_t) -> std::optional<intptr_t> {
        if (m == msg::Command)
            order.push_back("change " + std::to_string(HighWord(w)));
        return std::nullopt;
    });
    SetWidgetText(e, "BAB");
    order.push_back("select");
    SetEditSelection(e, 1, 2);
    EXPECT_EQ(order, (std::vector<std::string>{"change 768", "select"}));
    EXPECT_EQ(GetEditSelection(e), Sel(1, 2));
    EXPECT_EQ(GetWidgetTextLength(e), 3);
}

TEST(Edit, ShiftKeysAndTheMouseSelect)
{
    WidgetFixture f;
    const WindowHandle e = f.Make(widgetclass::Edit, 0, kEditRect, "ABABAB");
    SetFocus(e);
    SetEditSelection(e, 2, 2);
    f.Key(key::Right, true);
    f.Key(key::Right, true);
    EXPECT_EQ(GetEditSelection(e), Sel(2, 4));
    f.Key(key::Home, true);
    EXPECT_EQ(GetEditSelection(e), Sel(0, 2));
    f.Key(key::Right); // without Shift: to the selection's end
    EXPECT_EQ(GetEditSelection(e), Sel(2, 2));
    f.Key(key::End, true);
    EXPECT_EQ(GetEditSelection(e), Sel(2, 6));

    // A drag from between characters 1 and 2 to the middle of character 4.
    f.Press(e, {kMargin + kChar + 1, 5}, true);
    f.MoveTo(e, {kMargin + 4 * kChar + 4, 5});
    f.Press(e, {kMargin + 4 * kChar + 4, 5}, false);
    EXPECT_EQ(GetEditSelection(e), Sel(1, 5));
    SetEditSelection(e, -1, 0);
    EXPECT_EQ(GetEditSelection(e), Sel(5, 5)) << "-1 clears the selection";
    SetEditSelection(e, 0, -1);
    EXPECT_EQ(GetEditSelection(e), Sel(0, 6));
}

TEST(Edit, TheLimitAndTheWidthRefuseInput)
{
    struct Case {
        uint32_t style;
        int32_t limit;
        const char* typed;
        const char* kept;
    };
    // A field 40 wide has room for six "A"s across.
    for (const Case& c :
         {Case{0, 3, "ABAB", "ABA"}, Case{0, 0, "AAAAAAAA", "AAAAAA"},
          Case{wstyle::AutoHScroll, 0, "AAAAAAAA", "AAAAAAAA"},
          Case{wstyle::AutoHScroll, 5, "AAAAAAAA", "AAAAA"},
          // Two rows of eight pixels: wrapped lines run out of rows, scrolled ones do not.
          Case{wstyle::MultiLine, 0, "AAAAAAAAAAAAAAAA", "AAAAAAAAAAAA"},
          Case{wstyle::MultiLine | wstyle::AutoHScroll, 0, "AAAAAAAAAAAAAAAA", "AAAAAAAAAAAAAAAA"}}) {
        WidgetFixture f;
        const WindowHandle e = f.Make(widgetclass::Edit, c.style, {10, 10, 50, 26});
        SetEditLimit(e, c.limit);
        SetFocus(e);
        const int beeps = GetBeepCount();
        f.Type(c.typed);
        EXPECT_EQ(GetWidgetText(e), c.kept) << c.typed << " limit " << c.limit;
        EXPECT_EQ(GetBeepCount() - beeps, static_cast<int>(strlen(c.typed) - strlen(c.kept)));
        EXPECT_EQ(GetEditLimit(e), c.limit);
        ResetWindowSystem();
    }
}

TEST(Edit, CutCopyAndPasteRoundTripThroughTheClipboard)
{
    WidgetFixture f;
    const WindowHandle a = f.Make(widgetclass::Edit, 0, kEditRect, "ABiy");
    const WindowHandle b = f.Make(widgetclass::Edit, 0, {10, 40, 210, 56});
    EXPECT_FALSE(ClipboardHasText());
    SetFocus(a);
    SetEditSelection(a, 1, 3);
    f.Key('X', false, true); // Ctrl+X
    EXPECT_EQ(GetWidgetText(a), "Ay");
    EXPECT_TRUE(ClipboardHasText());
    EXPECT_EQ(GetClipboardText(), "Bi");
    SetFocus(b);
    f.Key('V', false, true);
    f.Key('V', false, true);
    EXPECT_EQ(GetWidgetText(b), "BiBi");
    SetEditSelection(b, 0, 1);
    f.Key('C', false, true);
    EXPECT_EQ(GetClipboardText(), "B");
    EditClear(b);
    EXPECT_EQ(GetWidgetText(b), "iBi");
    SetEditSelection(b, 0, 0);
    EditPaste(b);
    EXPECT_EQ(GetWidgetText(b), "BiBi");
    SetEditSelection(b, 0, 2);
    EditCut(b);
    EditCopy(b); // nothing selected: the clipboard keeps its text
    EXPECT_EQ(GetClipboardText(), "Bi");
}

TEST(Edit, CtrlZSwapsTheLastChangeBackAndForth)
{
    WidgetFixture f;
    const WindowHandle e = f.Make(widgetclass::Edit, 0, kEditRect);
    SetFocus(e);
    f.Type("AB");
    f.Key('Z', false, true);
    EXPECT_EQ(GetWidgetText(e), "A");
    f.Key('Z', false, true);
    EXPECT_EQ(GetWidgetText(e), "AB");
    f.Key('Z', false, true);
    EXPECT_EQ(GetWidgetText(e), "A");
    EXPECT_TRUE(EditUndo(e));
    EXPECT_EQ(GetWidgetText(e), "AB");
}

TEST(Edit, MultiLineFieldsBreakLinesAndShowTheirBarWhenTheyOverflow)
{
    WidgetFixture f;
    // Three rows of 8 pixels; the text area is 60 - 4 wide: nine characters.
    const WindowHandle e =
        f.Make(widgetclass::Edit, wstyle::MultiLine | wstyle::AutoVScroll, {10, 10, 70, 34});
    SetFocus(e);
    f.Type("AB");
    f.Key(key::Enter);
    f.Type("B");
    EXPECT_EQ(GetWidgetText(e), "AB\r\nB");
    f.Key(key::Up);
    f.Key(key::End, true);
    EXPECT_EQ(GetEditSelection(e), Sel(1, 2)) << "up keeps the column";
    const WindowHandle bar = GetChildren(e).at(0);
    EXPECT_FALSE(IsVisible(bar));
    SetEditSelection(e, 5, 5);
    for (int i = 0; i < 3; ++i)
        f.Key(key::Enter);
    EXPECT_TRUE(IsVisible(bar));
    f.Key(key::Left);
    f.Key(key::Left); // a line break is one step
    EXPECT_EQ(GetEditSelection(e), Sel(7, 7));
    f.Key(key::Delete);
    EXPECT_EQ(GetWidgetText(e), "AB\r\nB\r\n\r\n");

    // Ctrl with Home and End: the start and the end of the whole text, Shift selecting.
    SetEditSelection(e, 4, 4);
    f.Key(key::End, true, true);
    EXPECT_EQ(GetEditSelection(e), Sel(4, 9));
    f.Key(key::Home, false, true);
    EXPECT_EQ(GetEditSelection(e), Sel(0, 0));

    // Without AutoVScroll, a line that would not fit is refused.
    const WindowHandle fixed = f.Make(widgetclass::Edit, wstyle::MultiLine, {10, 50, 70, 74});
    SetFocus(fixed);
    for (int i = 0; i < 4; ++i)
        f.Key(key::Enter);
    EXPECT_EQ(GetWidgetText(fixed), "\r\n\r\n");
}

TEST(EditLayout, LinesBreakAtLineBreaksThenAfterTheLastBlankThatFits)
{
    const plat::widgets::TextWidth oneEach = [](std::string_view s) {
        return static_cast<int32_t>(s.size());
    };
    struct Case {
        const char* text;
        int32_t width;
        std::vector<std::pair<int32_t, int32_t>> lines;
    };
    for (const Case& c :
         {Case{"", 5, {{0, 0}}}, Case{"ab cd ef", 5, {{0, 3}, {3, 8}}}, Case{"ab cd ef", 0, {{0, 8}}},
          Case{"abcdefgh", 3, {{0, 3}, {3, 6}, {6, 8}}}, Case{"ab\r\n\r\ncd", 9, {{0, 2}, {4, 4}, {6, 8}}},
          Case{"ab\r\n", 9, {{0, 2}, {4, 4}}}}) {
        std::vector<std::pair<int32_t, int32_t>> got;
        for (const auto& l : plat::widgets::BreakLines(c.text, c.width, oneEach))
            got.emplace_back(l.start, l.end);
        EXPECT_EQ(got, c.lines) << c.text;
    }
}

TEST(Edit, TheOwnerColoursTheFieldBeforeItPaints)
{
    WidgetFixture f;
    const WindowHandle e = f.Make(widgetclass::Edit, 0, kEditRect, "AB");
    const Brush brush{false, ColorRef::FromIndex(250)};
    bool sawContext = false;
    f.recorder.SetHandler([&](WindowHandle, uint32_t m, uintptr_t w, intptr_t l) -> std::optional<intptr_t> {
        if (m != msg::EditColor)
            return std::nullopt;
        auto* dc = reinterpret_cast<DrawContext*>(w);
        sawContext = dc && static_cast<WindowHandle>(l) == e;
        dc->SetTextColor(ColorRef::FromIndex(249));
        return reinterpret_cast<intptr_t>(&brush);
    });
    InvalidateRect(e, nullptr, false);
    wintest::PumpAll();
    EXPECT_TRUE(sawContext);
    const Point corner = ClientToScreen(e, {0, 0});
    EXPECT_EQ(DesktopPixel(corner.x + 150, corner.y + 2), 250);
    bool inked = false;
    for (int x = 0; x < 14; ++x)
        for (int y = 0; y < 16; ++y)
            inked = inked || DesktopPixel(corner.x + kMargin + x, corner.y + y) == 249;
    EXPECT_TRUE(inked);
}

} // namespace
