#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Desktop.h"
#include "platform/Window.h"
#include "tests/platform/WindowTestKit.h"
#include "tests/support/TestEnv.h"

namespace {

using plat::Rect;
using plat::WindowHandle;
namespace msg = plat::msg;

// A window whose paint handler records the area it was asked to paint.
struct PaintProbe {
    wintest::Recorder rec;
    std::vector<plat::PaintContext> paints;
    WindowHandle window = 0;

    PaintProbe()
    {
        rec.SetHandler([this](WindowHandle w, uint32_t m, uintptr_t, intptr_t) -> std::optional<intptr_t> {
            if (m != msg::Paint)
                return std::nullopt;
            paints.push_back(plat::BeginPaint(w));
            plat::EndPaint(w, paints.back());
            return 0;
        });
        window = wintest::MakeTopLevel("Paint", {0, 0, 100, 80});
        plat::ShowWindow(window, plat::ShowCommand::Show);
    }
};

TEST(Paint, IsQueuedOnceForAShownWindowAndSkippedOnceValidated)
{
    PaintProbe p;
    plat::PlatMessage m;
    std::vector<uint32_t> kinds;
    while (plat::PeekWindowMessage(m)) {
        kinds.push_back(m.message);
        plat::DispatchWindowMessage(m);
    }
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), msg::Paint), 1);
    ASSERT_EQ(p.paints.size(), 1u);
    EXPECT_EQ(p.paints[0].paintRect, (Rect{0, 0, 100, 80}));
    EXPECT_TRUE(p.paints[0].erased); // a new window is erased with its class background

    // Two invalidations, one paint; validated before it is taken, the paint is skipped.
    const Rect a{1, 1, 5, 5};
    plat::InvalidateRect(p.window, &a, false);
    plat::InvalidateRect(p.window, &a, false);
    EXPECT_EQ(plat::GetMessageQueue().Size(), 1u);
    plat::ValidateRect(p.window, nullptr);
    EXPECT_FALSE(plat::PeekWindowMessage(m));

    // A hidden window is not painted, however invalid, until it shows again.
    plat::ShowWindow(p.window, plat::ShowCommand::Hide);
    plat::InvalidateRect(p.window, nullptr, false);
    EXPECT_FALSE(plat::PeekWindowMessage(m));
    plat::UpdateWindow(p.window);
    EXPECT_EQ(p.paints.size(), 1u);
    plat::ShowWindow(p.window, plat::ShowCommand::ShowNoActivate);
    wintest::PumpAll();
    EXPECT_EQ(p.paints.size(), 2u);
}

TEST(Paint, AnyPumpOfTheQueueSeesThePaintAndItsWaitEnds)
{
    PaintProbe p;
    wintest::PumpAll();
    const Rect a{1, 1, 5, 5};
    plat::InvalidateRect(p.window, &a, false);
    // The program's own pump reads the queue directly: the paint is there, so it does not sleep.
    const uint64_t before = qmtest::Clock().NowMs();
    EXPECT_TRUE(plat::GetMessageQueue().WaitUntil(before + 1000));
    EXPECT_EQ(qmtest::Clock().NowMs(), before);
    const std::optional<plat::PlatMessage> m = plat::GetMessageQueue().Peek();
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->message, msg::Paint);
    plat::DispatchWindowMessage(*m);
    EXPECT_EQ(p.paints.size(), 2u);
}

TEST(Paint, TheAreaIsWhatWasInvalidatedLessWhatWasValidated)
{
    PaintProbe p;
    wintest::PumpAll();
    p.paints.clear();
    p.rec.Clear();
    const Rect a{10, 10, 30, 30};
    const Rect b{20, 20, 40, 40};
    const Rect outside{90, 70, 200, 200};
    plat::InvalidateRect(p.window, &a, false);
    plat::InvalidateRect(p.window, &b, false);
    plat::InvalidateRect(p.window, &outside, false); // clipped to the client area
    const Rect cut{10, 10, 30, 20};
    plat::ValidateRect(p.window, &cut);
    EXPECT_EQ(plat::GetUpdateRect(p.window), (Rect{10, 20, 100, 80}));

    plat::UpdateWindow(p.window); // paints at once, without the queue
    ASSERT_EQ(p.paints.size(), 1u);
    const plat::PaintContext& paint = p.paints[0];
    EXPECT_FALSE(paint.erased);
    EXPECT_TRUE(p.rec.Of(msg::EraseBackground).empty());
    // a less its validated top strip, plus b, plus the clipped corner.
    plat::Region expected(Rect{10, 20, 30, 30});
    expected.Union(b);
    expected.Union(Rect{90, 70, 100, 80});
    EXPECT_EQ(paint.area, expected) << paint.area.Dump();
    EXPECT_TRUE(plat::GetUpdateRect(p.window).Empty());

    // Any shape may be invalidated; what lies outside the client area is dropped.
    const plat::Region ellipse = plat::Region::Ellipse({-10, -10, 20, 20});
    plat::InvalidateRegion(p.window, ellipse, false);
    plat::Region inside = ellipse;
    inside.Intersect(Rect{0, 0, 100, 80});
    EXPECT_EQ(plat::GetUpdateRegion(p.window), inside);
}

TEST(Paint, EraseFillsOnlyTheInvalidAreaWithTheClassBackground)
{
    PaintProbe p;
    wintest::PumpAll();
    const plat::ClientTarget t = plat::GetClientTarget(p.window);
    for (int y = 0; y < 80; ++y)
        std::fill_n(t.surface->Row(t.origin.y + y) + t.origin.x, 100, uint8_t{3});
    const Rect r{5, 5, 15, 10};
    plat::InvalidateRect(p.window, &r, true);
    wintest::PumpAll();
    EXPECT_EQ(t.surface->At(t.origin.x + 5, t.origin.y + 5), 255); // white
    EXPECT_EQ(t.surface->At(t.origin.x + 14, t.origin.y + 9), 255);
    EXPECT_EQ(t.surface->At(t.origin.x + 15, t.origin.y + 9), 3);
    EXPECT_EQ(t.surface->At(t.origin.x + 4, t.origin.y + 5), 3);
}

TEST(Paint, ScrollingMovesThePixelsAndInvalidatesTheUncoveredStrip)
{
    PaintProbe p;
    wintest::PumpAll();
    const plat::ClientTarget t = plat::GetClientTarget(p.window);
    for (int y = 0; y < 80; ++y)
        std::fill_n(t.surface->Row(t.origin.y + y) + t.origin.x, 100, static_cast<uint8_t>(y));
    plat::ScrollClient(p.window, 0, -10); // contents move up by ten rows
    EXPECT_EQ(t.surface->At(t.origin.x + 50, t.origin.y + 0), 10);
    EXPECT_EQ(t.surface->At(t.origin.x + 50, t.origin.y + 69), 79);
    EXPECT_EQ(plat::GetUpdateRect(p.window), (Rect{0, 70, 100, 80}));

    plat::ScrollClient(p.window, 3, 0); // and right by three; the invalid strip moves along
    EXPECT_EQ(t.surface->At(t.origin.x + 3, t.origin.y + 0), 10);
    const plat::PaintContext paint = plat::BeginPaint(p.window);
    plat::Region expected(Rect{0, 0, 3, 80}); // the new left strip
    expected.Union(Rect{3, 70, 100, 80});     // and the bottom strip moved right
    EXPECT_EQ(paint.area, expected) << paint.area.Dump();
}

} // namespace
