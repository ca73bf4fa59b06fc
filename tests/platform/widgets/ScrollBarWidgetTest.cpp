#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "tests/platform/widgets/WidgetTestKit.h"

using namespace plat;
using widgettest::WidgetFixture;

namespace {

// A horizontal bar 200 wide and 16 high: arrows and thumb 16 wide, the thumb's travel 152.
const Rect kBarRect{10, 10, 210, 26};

TEST(ScrollBarWidget, ArrowsAndTrackSendTheirCodesThenEndScroll)
{
    WidgetFixture f;
    const WindowHandle bar = f.Make(widgetclass::ScrollBar, 0, kBarRect);
    SetScrollBarRange(bar, 0, 10);
    SetScrollBarPos(bar, 5); // the thumb covers 92-108
    struct Case {
        Point at;
        uint32_t code;
    };
    for (const Case& c : {Case{{4, 8}, scroll::LineUp}, Case{{195, 8}, scroll::LineDown},
                          Case{{40, 8}, scroll::PageUp}, Case{{150, 8}, scroll::PageDown}}) {
        f.recorder.Clear();
        f.Click(bar, c.at);
        EXPECT_EQ(f.ScrollCodes(bar), (std::vector<uint32_t>{c.code, scroll::EndScroll})) << c.at.x;
        EXPECT_EQ(f.recorder.Of(msg::HScroll).size(), 2u);
    }
    EXPECT_EQ(GetScrollBarPos(bar), 5) << "the owner moves the thumb, not the bar";
}

TEST(ScrollBarWidget, AHeldArrowRepeatsUntilReleased)
{
    WidgetFixture f;
    const WindowHandle bar = f.Make(widgetclass::ScrollBar, wstyle::VerticalBar, {10, 10, 26, 180});
    int lines = 0;
    f.recorder.SetHandler([&](WindowHandle, uint32_t m, uintptr_t w, intptr_t) -> std::optional<intptr_t> {
        if (m == msg::VScroll && LowWord(w) == scroll::LineDown && ++lines == 4)
            InjectMouseButton(MouseButton::Left, false, f.Screen(bar, {8, 165}));
        return std::nullopt;
    });
    const uint64_t start = GetClock().NowMs();
    f.Press(bar, {8, 165}, true);
    EXPECT_EQ(f.ScrollCodes(bar), (std::vector<uint32_t>{scroll::LineDown, scroll::LineDown, scroll::LineDown,
                                                         scroll::LineDown, scroll::EndScroll}));
    // The first repeat waits longer than the ones after it.
    EXPECT_EQ(GetClock().NowMs() - start, 400u + 2 * 50u);
    EXPECT_EQ(GetCapture(), 0u);
}

TEST(ScrollBarWidget, TheThumbFollowsThePointerOnlyWhileDragged)
{
    WidgetFixture f;
    const WindowHandle bar = f.Make(widgetclass::ScrollBar, 0, kBarRect);
    SetScrollBarRange(bar, 0, 152); // one position a pixel
    f.Press(bar, {20, 8}, true);    // 4 pixels into the thumb
    f.MoveTo(bar, {30, 8});
    f.MoveTo(bar, {30, 9}); // no new position: no message
    f.MoveTo(bar, {60, 8});
    f.MoveTo(bar, {500, 8}); // past the end: the last position
    f.Press(bar, {500, 8}, false);
    EXPECT_EQ(f.ScrollCodes(bar),
              (std::vector<uint32_t>{scroll::ThumbTrack, scroll::ThumbTrack, scroll::ThumbTrack,
                                     scroll::ThumbPosition, scroll::EndScroll}));
    EXPECT_EQ(f.ScrollPositions(bar, scroll::ThumbTrack), (std::vector<int32_t>{10, 40, 152}));
    EXPECT_EQ(f.ScrollPositions(bar, scroll::ThumbPosition), (std::vector<int32_t>{152}));
    EXPECT_EQ(GetScrollBarPos(bar), 0) << "the owner did not move it";
}

TEST(ScrollBarWidget, RangeAndPositionAreClampedAndAnEmptyRangeIsDisabled)
{
    WidgetFixture f;
    const WindowHandle bar = f.Make(widgetclass::ScrollBar, 0, kBarRect);
    SetScrollBarRange(bar, 10, 20);
    EXPECT_EQ(GetScrollBarPos(bar), 10);
    SetScrollBarPos(bar, 99);
    EXPECT_EQ(GetScrollBarPos(bar), 20);
    SetScrollBarRange(bar, 0, 5);
    EXPECT_EQ(GetScrollBarPos(bar), 5);
    EXPECT_EQ(GetScrollBarRange(bar), (std::pair<int32_t, int32_t>{0, 5}));
    SetScrollBarRange(bar, 3, 3);
    f.Click(bar, {100, 8}); // no thumb, no track
    EXPECT_TRUE(f.ScrollCodes(bar).empty());
}

} // namespace
