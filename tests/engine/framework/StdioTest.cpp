#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/framework/Appl.h"
#include "engine/framework/Memory.h"
#include "engine/framework/Stdio.h"
#include "platform/Desktop.h"
#include "platform/Input.h"
#include "platform/MessageBox.h"
#include "platform/Metrics.h"

namespace {

// Counts the pixels of one text row of the console's client area that are not the
// background's, leaving out the caret's column.
int InkInRow(int row)
{
    const auto window = StdioGetHwnd();
    const auto& desktop = plat::ComposeDesktop();
    const plat::Point corner = plat::ClientToScreen(window, {0, 0});
    const int cellHeight = 16; // at least the fixed font's cell; rows are checked apart
    const uint8_t background = plat::DesktopPixel(corner.x + 1, corner.y + 400);
    int ink = 0;
    for (int y = corner.y + row * cellHeight; y < corner.y + (row + 1) * cellHeight; ++y)
        for (int x = corner.x + 2; x < corner.x + 200; ++x) // the caret stays left of x = 2
            ink += desktop.At(x, y) != background ? 1 : 0;
    return ink;
}

std::vector<std::string> BoxTexts()
{
    std::vector<std::string> texts;
    for (const auto& request : plat::GetScriptedMessageBoxes().Log())
        texts.push_back(request.caption + ": " + request.text);
    return texts;
}

TEST(Stdio, EveryCallIsHarmlessWhileClosed)
{
    EXPECT_EQ(StdioPrintf("RAFTING has been suspended! %d\n", 1), 0);
    EXPECT_EQ(StdioPutchar('x'), 0);
    EXPECT_EQ(StdioPuts("line"), 0);
    EXPECT_EQ(StdioGetchar(), 0);
    char line[8];
    EXPECT_EQ(StdioGets(line, sizeof line), nullptr);
    EXPECT_FALSE(StdioKbhit());
    EXPECT_EQ(StdioYield(), 0);
    EXPECT_FALSE(StdioSetPaint(true));
    EXPECT_EQ(StdioGetHwnd(), 0u);
    StdioClear();
    StdioClose();
    EXPECT_TRUE(plat::GetTopLevelWindows().empty());
}

int g_closeCalls = 0;

TEST(Stdio, AnOpenConsoleClosesInOrderWhenTheApplicationEnds)
{
    // Headless nobody can close the console, so the application's end closes it, its
    // on-close callback called while the window system still stands, and the program goes on.
    g_closeCalls = 0;
    {
        CAppl appl(nullptr);
        ASSERT_TRUE(StdioOpen());
        StdioOnClose([] { ++g_closeCalls; });
        EXPECT_EQ(g_closeCalls, 0);
    }
    EXPECT_EQ(g_closeCalls, 1);
    EXPECT_EQ(StdioGetHwnd(), 0u);
    EXPECT_TRUE(plat::GetTopLevelWindows().empty());
    EXPECT_EQ(StdioPuts("after"), 0); // closed: output goes nowhere
}

TEST(Stdio, OpensItsWindowOnce)
{
    ASSERT_TRUE(StdioOpen());
    EXPECT_FALSE(StdioOpen());
    const auto window = StdioGetHwnd();
    ASSERT_TRUE(plat::IsWindow(window));
    EXPECT_EQ(plat::GetTitle(window), "Stdio Window");
    EXPECT_EQ(plat::GetClassName(window), "winio_class");
    EXPECT_TRUE(plat::GetStyle(window) & plat::style::HScroll);
    EXPECT_TRUE(plat::GetStyle(window) & plat::style::VScroll);
    const auto metrics = plat::GetMetrics();
    EXPECT_EQ(plat::GetWindowRect(window),
              plat::Rect::FromSize(metrics.screenWidth / 8, metrics.screenHeight / 8,
                                   metrics.screenWidth * 3 / 4, metrics.screenHeight * 3 / 4));
    EXPECT_EQ(plat::GetScrollRange(window, plat::scroll::Horizontal), std::make_pair(1, 127));
    EXPECT_EQ(plat::GetScrollRange(window, plat::scroll::Vertical), std::make_pair(1, 1));

    StdioSetTitle(std::string(200, 't').c_str());
    EXPECT_EQ(plat::GetTitle(window), std::string(127, 't'));

    // Closing from the program does not end it; the next open starts afresh.
    StdioClose();
    EXPECT_FALSE(plat::IsWindow(window));
    EXPECT_EQ(StdioGetHwnd(), 0u);
    EXPECT_EQ(StdioPrintf("x"), 0);
    ASSERT_TRUE(StdioOpen());
    EXPECT_EQ(plat::GetTitle(StdioGetHwnd()), std::string(127, 't'));
    StdioClose();
}

TEST(Stdio, WritesAreDrawnInTheWindow)
{
    ASSERT_TRUE(StdioOpen());
    EXPECT_EQ(InkInRow(0), 0);
    EXPECT_EQ(StdioPrintf("%s %d\n", "hello", 42), 9);
    EXPECT_EQ(StdioPutchar('#'), '#');
    EXPECT_GT(InkInRow(0), 0);
    EXPECT_GT(InkInRow(1), 0);
    EXPECT_EQ(InkInRow(2), 0);
    EXPECT_EQ(plat::GetScrollRange(StdioGetHwnd(), plat::scroll::Vertical), std::make_pair(1, 2));

    // Formatted output stops at 1023 characters.
    const std::string wide(3000, 'w');
    EXPECT_EQ(StdioPrintf("%s", wide.c_str()), 1023);
    StdioClear();
    EXPECT_EQ(plat::GetScrollRange(StdioGetHwnd(), plat::scroll::Vertical), std::make_pair(1, 1));
    plat::UpdateWindow(StdioGetHwnd());
    EXPECT_EQ(InkInRow(0), 0);
    StdioClose();
}

TEST(Stdio, ScrollsToFollowTheTextAndWithTheKeys)
{
    ASSERT_TRUE(StdioOpen());
    const auto window = StdioGetHwnd();
    for (int i = 0; i < 40; ++i)
        StdioPrintf("line %d\n", i);
    // The write position is on line 40, brought into view half a window up.
    EXPECT_EQ(plat::GetScrollRange(window, plat::scroll::Vertical), std::make_pair(1, 41));
    EXPECT_GT(plat::GetScrollPos(window, plat::scroll::Vertical), 10);
    EXPECT_GT(InkInRow(0), 0);

    plat::SetFocus(window);
    plat::PressKey(plat::key::Home);
    StdioYield();
    EXPECT_EQ(plat::GetScrollPos(window, plat::scroll::Vertical), 1);
    plat::PressKey(plat::key::Down);
    plat::PressKey(plat::key::PageDown);
    StdioYield();
    EXPECT_GT(plat::GetScrollPos(window, plat::scroll::Vertical), 2);
    plat::PressKey(plat::key::End);
    StdioYield();
    EXPECT_EQ(plat::GetScrollPos(window, plat::scroll::Vertical), 41);
    plat::PressKey(plat::key::Right);
    StdioYield();
    EXPECT_EQ(plat::GetScrollPos(window, plat::scroll::Horizontal), 2);
    plat::SendWindowMessage(window, plat::msg::HScroll, plat::scroll::Bottom);
    EXPECT_EQ(plat::GetScrollPos(window, plat::scroll::Horizontal), 127);
    plat::SendWindowMessage(window, plat::msg::VScroll, plat::PackWords(plat::scroll::ThumbPosition, 10));
    EXPECT_EQ(plat::GetScrollPos(window, plat::scroll::Vertical), 10);
    StdioClose();
}

TEST(Stdio, GetcharReadsTypedKeys)
{
    ASSERT_TRUE(StdioOpen());
    plat::SetFocus(StdioGetHwnd());
    plat::TypeText("a\r\x1a"
                   "b");
    StdioYield();
    EXPECT_TRUE(StdioKbhit());
    EXPECT_EQ(StdioGetchar(), 'a');
    EXPECT_EQ(StdioGetchar(), '\n');
    EXPECT_EQ(StdioGetchar(), -1);
    EXPECT_TRUE(StdioSetEcho(false));
    EXPECT_EQ(StdioGetchar(), 'b');
    EXPECT_FALSE(StdioKbhit());
    // Without a display no key can come any more.
    EXPECT_EQ(StdioGetchar(), -1);
    StdioClose();
}

TEST(Stdio, GetsIsBoundedByItsBuffer)
{
    struct Case {
        std::string typed;
        int32_t size;
        const char* result; // null: none
        int beeps;
    };
    const Case cases[] = {
        {"hello\r", 16, "hello", 0},
        {"hello world\r", 6, "hello", 6},
        {"ab\bc\r", 16, "ac", 0},
        {"\b\bx\r", 16, "x", 0},
        {"abc\x1bxy\r", 16, "xy", 0},
        {"abc\x1a", 16, nullptr, 0},
        {"\r", 1, "", 0},
        {"abc", 16, nullptr, 0}, // no Enter ever comes
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(StdioOpen());
        plat::SetFocus(StdioGetHwnd());
        plat::TypeText(c.typed);
        const int beepsBefore = plat::GetBeepCount();
        std::vector<char> buffer(static_cast<size_t>(c.size) + 4, 'Z');
        char* result = StdioGets(buffer.data(), c.size);
        if (c.result) {
            ASSERT_EQ(result, buffer.data()) << c.typed;
            EXPECT_STREQ(result, c.result) << c.typed;
        } else {
            EXPECT_EQ(result, nullptr) << c.typed;
        }
        EXPECT_EQ(buffer[static_cast<size_t>(c.size)], 'Z') << c.typed;
        EXPECT_EQ(plat::GetBeepCount() - beepsBefore, c.beeps) << c.typed;
        StdioClose();
    }
}

TEST(Stdio, AFullTypeAheadRingBeepsAndDropsTheKey)
{
    ASSERT_TRUE(StdioOpen());
    plat::SetFocus(StdioGetHwnd());
    const int beepsBefore = plat::GetBeepCount();
    plat::TypeText(std::string(300, 'k'));
    StdioYield();
    EXPECT_EQ(plat::GetBeepCount() - beepsBefore, 45);
    int read = 0;
    StdioSetEcho(false);
    while (StdioKbhit() && StdioGetchar() == 'k')
        ++read;
    EXPECT_EQ(read, 255);
    // A bell in the text beeps too.
    StdioPrintf("\a\a");
    EXPECT_EQ(plat::GetBeepCount() - beepsBefore, 47);
    StdioClose();
}

TEST(Stdio, ClosingTheWindowEndsTheProgram)
{
    static int closed = 0;
    closed = 0;
    std::vector<int> exits;
    SetStdioExitHook([&](int code) { exits.push_back(code); });
    ASSERT_TRUE(StdioOpen());
    StdioOnClose([] { ++closed; });
    plat::PostWindowMessage(StdioGetHwnd(), plat::msg::Close);
    StdioYield();
    EXPECT_EQ(StdioGetHwnd(), 0u);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(exits, std::vector<int>{0});

    // StdioClose does not end the program, and a key wait ends when the console goes.
    ASSERT_TRUE(StdioOpen());
    StdioClose();
    EXPECT_EQ(closed, 2);
    EXPECT_EQ(exits, std::vector<int>{0});
}

intptr_t Swallow(plat::WindowHandle, uint32_t, uintptr_t, intptr_t) { return 7; }

TEST(Stdio, HandlersCanBeReplacedBelow1024)
{
    ASSERT_TRUE(StdioOpen());
    const auto window = StdioGetHwnd();
    EXPECT_EQ(StdioGetHandler(plat::msg::Command), &plat::DefaultWindowProc);
    EXPECT_EQ(StdioSetHandler(plat::msg::Command, Swallow), &plat::DefaultWindowProc);
    EXPECT_EQ(StdioGetHandler(plat::msg::Command), &Swallow);
    EXPECT_EQ(plat::SendWindowMessage(window, plat::msg::Command), 7);
    EXPECT_EQ(StdioSetHandler(plat::msg::Command, nullptr), &Swallow);
    EXPECT_EQ(StdioGetHandler(plat::msg::Command), &plat::DefaultWindowProc);
    EXPECT_EQ(StdioSetHandler(1024, Swallow), nullptr);
    EXPECT_EQ(StdioGetHandler(1024), nullptr);
    StdioClose();
}

TEST(Stdio, FontsAndPaint)
{
    EXPECT_FALSE(StdioSetFont(12));
    ASSERT_TRUE(StdioOpen());
    for (int32_t id : {11, 10, 16})
        EXPECT_TRUE(StdioSetFont(id)) << id;
    EXPECT_TRUE(StdioSetPaint(false));
    StdioPrintf("hidden");
    plat::ValidateRect(StdioGetHwnd(), nullptr);
    EXPECT_FALSE(StdioSetPaint(true));
    plat::UpdateWindow(StdioGetHwnd());
    EXPECT_GT(InkInRow(0), 0);
    StdioClose();
}

TEST(Stdio, BoxesAndFailures)
{
    auto& boxes = plat::GetScriptedMessageBoxes();
    EXPECT_EQ(StdioErrorBox("Bad thing"), 0);
    boxes.QueueAnswer(plat::MbResult::Cancel);
    EXPECT_FALSE(StdioAskBox(true, "Go on with %s?", "rafting"));
    EXPECT_EQ(boxes.Log().back().buttons, plat::MbButtons::OkCancel);
    EXPECT_TRUE(StdioAskBox(false, "%s", std::string(2000, 'q').c_str()));
    EXPECT_EQ(boxes.Log().back().buttons, plat::MbButtons::Ok);
    EXPECT_EQ(boxes.Log().back().text.size(), 511u);
    EXPECT_EQ(BoxTexts()[0], "ERROR: Bad thing");
    EXPECT_EQ(BoxTexts()[1], "Stdio Window: Go on with rafting?");

    // A buffer that cannot be had.
    struct Failing : CMemoryAllocator {
        void* Allocate(size_t) override { return nullptr; }
        void* Reallocate(void*, size_t) override { return nullptr; }
        void Free(void* block) override { std::free(block); }
    } failing;
    SetMemoryAllocator(&failing);
    boxes.Clear();
    EXPECT_FALSE(StdioOpen());
    SetMemoryAllocator(nullptr);
    EXPECT_EQ(BoxTexts().back(), "ERROR: Could not allocate/nconsole I/O buffer");
    EXPECT_EQ(StdioGetHwnd(), 0u);
    EXPECT_TRUE(StdioOpen());
    StdioClose();
}

} // namespace
