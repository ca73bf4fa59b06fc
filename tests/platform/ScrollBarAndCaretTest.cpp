// What a text console needs of its window: scroll bars, a caret and the beep.
#include <gtest/gtest.h>

#include "platform/Caret.h"
#include "platform/Desktop.h"
#include "platform/Input.h"
#include "platform/Metrics.h"
#include "platform/Window.h"
#include "tests/platform/WindowTestKit.h"
#include "tests/support/TestEnv.h"

namespace {

using plat::Point;
using plat::Rect;
using plat::WindowHandle;
namespace msg = plat::msg;
namespace scroll = plat::scroll;

// A console-like window with both scroll bars: client 200 x 100 at 100,100 before the bars.
struct Console {
    wintest::Recorder rec;
    WindowHandle w = wintest::MakeTopLevel("Stdio Window", {100, 100, 300, 200},
                                           plat::style::HScroll | plat::style::VScroll);
    Console()
    {
        plat::ShowWindow(w, plat::ShowCommand::Show);
        wintest::PumpAll();
        rec.Clear();
    }
    std::vector<std::pair<uint32_t, int>> Scrolls()
    {
        wintest::PumpAll();
        std::vector<std::pair<uint32_t, int>> out;
        for (const wintest::Seen& s : rec.Of(msg::VScroll))
            out.emplace_back(plat::LowWord(s.wParam), static_cast<int16_t>(plat::HighWord(s.wParam)));
        rec.Clear();
        return out;
    }
};

TEST(ScrollBar, RangeAndPositionAreKeptWithinEachOther)
{
    Console c;
    const int sb = plat::GetMetrics().scrollBarSize;
    EXPECT_EQ(plat::GetClientRect(c.w), (Rect{0, 0, 200 - sb, 100 - sb}));
    plat::SetScrollRange(c.w, scroll::Vertical, 1, 50);
    EXPECT_EQ(plat::SetScrollPos(c.w, scroll::Vertical, 80), 1);
    EXPECT_EQ(plat::GetScrollPos(c.w, scroll::Vertical), 50);
    plat::SetScrollRange(c.w, scroll::Vertical, 1, 20);
    EXPECT_EQ(plat::GetScrollPos(c.w, scroll::Vertical), 20);
    plat::SetScrollRange(c.w, scroll::Horizontal, 10, 5); // an upside-down range is empty
    EXPECT_EQ(plat::GetScrollRange(c.w, scroll::Horizontal), (std::pair<int32_t, int32_t>{10, 10}));
}

TEST(ScrollBar, PressesOnArrowsTrackAndThumbPostScrollRequests)
{
    Console c;
    plat::SetScrollRange(c.w, scroll::Vertical, 0, 100);
    // The vertical bar lies right of the client area: arrows at its ends, track between.
    const Point corner = plat::ClientToScreen(c.w, {0, 0});
    const Rect client = plat::GetClientRect(c.w);
    const int sb = plat::GetMetrics().scrollBarSize;
    const int x = corner.x + client.right + sb / 2;
    const int top = corner.y, bottom = corner.y + client.bottom;
    plat::Click({x, bottom - 2});
    plat::Click({x, top + 2});
    plat::Click({x, bottom - sb - 2}); // the track below the thumb
    EXPECT_EQ(c.Scrolls(), (std::vector<std::pair<uint32_t, int>>{{scroll::LineDown, 0},
                                                                  {scroll::EndScroll, 0},
                                                                  {scroll::LineUp, 0},
                                                                  {scroll::EndScroll, 0},
                                                                  {scroll::PageDown, 0},
                                                                  {scroll::EndScroll, 0}}));

    // Dragging the thumb (at the top of the track) to the far end reports the positions.
    const Point thumb{x, top + sb + sb / 2};
    plat::InjectMouseMove(thumb);
    plat::InjectMouseButton(plat::MouseButton::Left, true, thumb);
    wintest::PumpAll();
    plat::InjectMouseMove({x, bottom + 50});
    plat::InjectMouseButton(plat::MouseButton::Left, false, {x, bottom + 50});
    EXPECT_EQ(c.Scrolls(),
              (std::vector<std::pair<uint32_t, int>>{
                  {scroll::ThumbTrack, 100}, {scroll::ThumbPosition, 100}, {scroll::EndScroll, 100}}));
    EXPECT_EQ(plat::GetScrollPos(c.w, scroll::Vertical), 0); // the window sets it itself
}

TEST(Caret, BlinksInvertedWhileShownAndGoesWithItsWindow)
{
    Console c;
    const Point origin = plat::ClientToScreen(c.w, {0, 0});
    auto at = [&](int x, int y) { return plat::DesktopPixel(origin.x + x, origin.y + y); };
    const uint8_t paper = at(10, 10);
    ASSERT_EQ(paper, 255);
    ASSERT_TRUE(plat::CreateCaret(c.w, 2, 13));
    plat::SetCaretPos({10, 10});
    EXPECT_EQ(at(10, 10), paper); // created hidden
    plat::ShowCaret(c.w);
    EXPECT_EQ(at(10, 10), 0); // white inverted
    EXPECT_EQ(at(11, 22), 0);
    EXPECT_EQ(at(12, 10), paper);
    qmtest::Clock().Advance(plat::GetMetrics().caretBlinkMs);
    EXPECT_EQ(at(10, 10), paper); // the off phase
    qmtest::Clock().Advance(plat::GetMetrics().caretBlinkMs);
    EXPECT_EQ(at(10, 10), 0);
    plat::HideCaret(c.w);
    plat::HideCaret(c.w);
    plat::ShowCaret(c.w);
    EXPECT_EQ(at(10, 10), paper); // hidden twice, shown once
    plat::ShowCaret(c.w);
    EXPECT_EQ(at(10, 10), 0);
    EXPECT_FALSE(plat::ShowCaret(c.w)); // already showing

    // A window lying over the caret hides it.
    plat::WindowParams cover;
    cover.className = "Test";
    cover.style = plat::style::Popup | plat::style::Visible;
    cover.rect = plat::Rect::FromSize(origin.x, origin.y, 30, 30);
    const WindowHandle above = plat::CreateWindow(cover);
    plat::ValidateRect(above, nullptr);
    EXPECT_EQ(at(10, 10), plat::GetClientTarget(above).surface->At(10, 10));
    plat::DestroyWindow(above);
    plat::DestroyWindow(c.w);
    EXPECT_FALSE(plat::DestroyCaret());
}

TEST(Beep, IsCountedAndHooked)
{
    int heard = 0;
    plat::SetBeepHook([&] { ++heard; });
    plat::Beep();
    plat::Beep();
    EXPECT_EQ(plat::GetBeepCount(), 2);
    EXPECT_EQ(heard, 2);
}

} // namespace
