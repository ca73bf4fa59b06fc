// A button, an edit field and a message box on the SDL display with SDL's dummy video driver,
// driven by SDL events.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Desktop.h"
#include "platform/SdlBackend.h"
#include "platform/widgets/DrawnDialogs.h"
#include "tests/platform/widgets/WidgetTestKit.h"

using namespace plat;

namespace {

class SdlWidgets : public ::testing::Test {
protected:
    // Starts the display over the windows made so far.
    void Start()
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        std::string error;
        ASSERT_TRUE(StartSdlDisplay(&error)) << error;
        PresentSdlNow();
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        ASSERT_TRUE(ReadSdlPixels(px, w, h));
        area_ = GetPresentedArea();
        view_ = FitViewport(area_.Width(), area_.Height(), w, h);
    }
    void TearDown() override { StopSdlDisplay(); }

    // The SDL window point over the middle of a widget.
    Point Over(WindowHandle widget) const
    {
        const Rect r = GetWindowRect(widget);
        const Point mid{(r.left + r.right) / 2 - area_.left, (r.top + r.bottom) / 2 - area_.top};
        return {view_.dest.left + mid.x * view_.scale + view_.scale / 2,
                view_.dest.top + mid.y * view_.scale};
    }
    void ClickThroughSdl(WindowHandle widget)
    {
        ASSERT_TRUE(PushSdlEvent(SdlEventKind::MouseMove, Over(widget)));
        ASSERT_TRUE(PushSdlEvent(SdlEventKind::LeftPress, Over(widget)));
        ASSERT_TRUE(PushSdlEvent(SdlEventKind::LeftRelease, Over(widget)));
        wintest::PumpAll();
    }
    static void KeyThroughSdl(uint8_t k)
    {
        PushSdlEvent(SdlEventKind::KeyDown, k);
        PushSdlEvent(SdlEventKind::KeyUp, k);
    }

    Rect area_;
    Viewport view_;
};

TEST_F(SdlWidgets, AButtonAnEditAndAMessageBoxWorkThroughSdlEvents)
{
    widgettest::WidgetFixture f; // the main window, presented by the display
    const WindowHandle button = f.Make(widgetclass::Button, 0, {10, 10, 90, 34}, "AB");
    const WindowHandle edit = f.Make(widgetclass::Edit, style::Border, {10, 50, 200, 66});
    Start();
    ClickThroughSdl(button);
    EXPECT_EQ(f.Codes(button), (std::vector<uint32_t>{notify::ButtonClicked}));

    ClickThroughSdl(edit);
    EXPECT_EQ(GetFocus(), edit);
    ASSERT_TRUE(PushSdlEvent(SdlEventKind::Text, "AB\xE2\x82\xAC"
                                                 "y")); // the euro sign is 0x80
    KeyThroughSdl(key::Backspace);
    wintest::PumpAll();
    EXPECT_EQ(GetWidgetText(edit), "AB\x80");
    EXPECT_FALSE(PushSdlEvent(SdlEventKind::Text, std::string(40, 'A'))) << "too long for one event";

    // The display installed the drawn message box; Esc through SDL answers it.
    ASSERT_EQ(&GetMessageBoxService(), &GetDrawnMessageBoxes());
    QueueDialogInput([] { KeyThroughSdl(key::Escape); });
    MessageBoxRequest request{"AB iy", "Bi", MbIcon::Warning, MbButtons::OkCancel, 0};
    request.owner = f.window;
    EXPECT_EQ(GetMessageBoxService().Show(request), MbResult::Cancel);
    EXPECT_EQ(GetActiveWindow(), f.window);
}

} // namespace
