// The SDL display on SDL's dummy video driver: no screen needed.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Desktop.h"
#include "platform/Input.h"
#include "platform/SdlBackend.h"
#include "platform/Window.h"
#include "tests/platform/WindowTestKit.h"

namespace {

using plat::Point;
using plat::Rect;
using plat::WindowHandle;
namespace msg = plat::msg;

TEST(SdlBackend, FitsThePictureByWholeScalesAndMapsPointsBack)
{
    struct Case {
        int ow, oh;
        int scale;
        Rect dest;
    };
    const Case cases[] = {
        {640, 499, 1, {0, 0, 640, 499}},
        {1920, 1080, 2, {320, 41, 1600, 1039}}, // 3x would not fit the height
        {2000, 2000, 3, {40, 251, 1960, 1748}},
        // Smaller than the picture: shrunk to fit, its shape kept, centred.
        {600, 400, 0, {43, 0, 556, 400}},
        {320, 480, 0, {0, 115, 320, 364}},
    };
    for (const Case& c : cases) {
        const plat::Viewport v = plat::FitViewport(640, 499, c.ow, c.oh);
        EXPECT_EQ(v.scale, c.scale) << c.ow;
        EXPECT_EQ(v.dest, c.dest) << c.ow;
    }
    const plat::Viewport v = plat::FitViewport(640, 499, 1920, 1080);
    EXPECT_EQ(plat::OutputToLogical(v, {320, 41}), (Point{0, 0}));
    EXPECT_EQ(plat::OutputToLogical(v, {321, 42}), (Point{0, 0}));
    EXPECT_EQ(plat::OutputToLogical(v, {322, 43}), (Point{1, 1}));
    EXPECT_EQ(plat::OutputToLogical(v, {319, 40}), (Point{-1, -1})); // the border stays outside
    EXPECT_EQ(plat::OutputToLogical(v, {1599, 1038}), (Point{639, 498}));
    const plat::Viewport shrunk = plat::FitViewport(640, 499, 600, 400);
    EXPECT_EQ(plat::OutputToLogical(shrunk, {43, 0}), (Point{0, 0}));
    EXPECT_EQ(plat::OutputToLogical(shrunk, {555, 399}), (Point{638, 497}));
    EXPECT_LT(plat::OutputToLogical(shrunk, {42, 0}).x, 0) << "the border stays outside";
}

TEST(SdlBackend, MapsWindowPointsToTheGameAreaInWindowsLargerThanIt)
{
    struct Case {
        plat::PixelSize window, output;
        Point at;      // in window coordinates
        Point logical; // in the 640 x 480 game area
    };
    const Case cases[] = {
        // A window covering a 1024 x 768 screen: the game area at (192, 144), not scaled.
        {{1024, 768}, {1024, 768}, {192, 144}, {0, 0}},
        {{1024, 768}, {1024, 768}, {831, 623}, {639, 479}},
        {{1024, 768}, {1024, 768}, {500, 300}, {308, 156}},
        {{1024, 768}, {1024, 768}, {191, 143}, {-1, -1}}, // the border is outside the game
        {{800, 600}, {800, 600}, {80, 60}, {0, 0}},
        // Twice the game area: every game pixel is 2 x 2 window pixels.
        {{1280, 960}, {1280, 960}, {641, 479}, {320, 239}},
        {{1920, 1080}, {1920, 1080}, {320, 60}, {0, 0}},
        {{1920, 1080}, {1920, 1080}, {1599, 1019}, {639, 479}},
        // A high-density screen: 1024 x 768 points, twice as many output pixels, scale 3.
        {{1024, 768}, {2048, 1536}, {32, 24}, {0, 0}},
        {{1024, 768}, {2048, 1536}, {512, 384}, {320, 240}},
        // A window half the game area's size shows it shrunk: a point stands for 2 x 2 pixels.
        {{320, 240}, {320, 240}, {160, 120}, {320, 240}},
        {{320, 240}, {320, 240}, {319, 239}, {638, 478}},
    };
    for (const Case& c : cases) {
        const plat::Viewport v = plat::FitViewport(640, 480, c.output.width, c.output.height);
        EXPECT_EQ(plat::WindowToLogical(v, c.window, c.output, c.at), c.logical)
            << c.window.width << "x" << c.window.height << " at " << c.at.x << "," << c.at.y;
    }
}

TEST(SdlBackend, ScalesAWindowByTheLargestWholeNumberThatFitsTheScreen)
{
    struct Case {
        plat::PixelSize area, usable;
        int scale;
    };
    const Case cases[] = {
        {{640, 480}, {1920, 1080}, 2}, // 3x would be taller than the screen
        {{800, 600}, {1920, 1080}, 1}, // the desktop's area before the game shows its window
        {{640, 480}, {1024, 768}, 1},  // 2x would not fit
        {{640, 480}, {3840, 2160}, 4}, // 5x would be taller than nine tenths
        {{640, 480}, {1423, 1067}, 2}, // 1280 x 960 is just within nine tenths
        {{640, 480}, {1422, 1067}, 1}, // one pixel too narrow
        {{640, 480}, {1423, 1066}, 1}, // one pixel too low
        {{640, 480}, {600, 400}, 1},   // a screen smaller than the area
        {{0, 0}, {1920, 1080}, 1},     // no area yet
    };
    for (const Case& c : cases)
        EXPECT_EQ(plat::WindowedScale(c.area, c.usable), c.scale) << c.area.width << " on " << c.usable.width;
}

// A client area 60 x 48: no whole scale fills a 4:3 screen with it, so a border shows.
constexpr int kWidth = 60;

TEST(SdlBackend, StartsOnlyWhenADisplayIsThereAndNotForcedHeadless)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    // A display is named by WAYLAND_DISPLAY: naming an X display instead would have the
    // message bus library try to start a bus on it.
    const char* named = std::getenv("WAYLAND_DISPLAY");
    const std::string saved = named ? named : "";
    setenv("WAYLAND_DISPLAY", "wayland-99", 1);
    EXPECT_EQ(plat::StartDisplay(true), plat::Backend::Null);
    EXPECT_FALSE(plat::IsSdlDisplayRunning());
    std::string error;
    EXPECT_EQ(plat::StartDisplay(false, &error), plat::Backend::Sdl) << error;
    EXPECT_EQ(plat::GetBackend(), plat::Backend::Sdl);
    EXPECT_TRUE(plat::IsSdlDisplayRunning());
    plat::StopSdlDisplay();
    if (saved.empty())
        unsetenv("WAYLAND_DISPLAY");
    else
        setenv("WAYLAND_DISPLAY", saved.c_str(), 1);
}

class SdlDummy : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        colors_ = plat::GetDesktopPalette();
        colors_[10] = {200, 10, 20};
        colors_[11] = {10, 200, 20};
        colors_[12] = {10, 20, 200};
        colors_[13] = {250, 250, 5};
        plat::SetDesktopPalette(colors_);
        main_ = wintest::MakeTopLevel("Pattern", {100, 100, 160, 148});
        plat::ShowWindow(main_, plat::ShowCommand::Show);
        const plat::ClientTarget t = plat::GetClientTarget(main_);
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < kWidth; ++x)
                t.surface->Row(t.origin.y + y)[t.origin.x + x] = Pattern(x, y);
        }
        std::string error;
        ASSERT_TRUE(plat::StartSdlDisplay(&error)) << error;
    }
    void TearDown() override { plat::StopSdlDisplay(); }

    static uint8_t Pattern(int x, int y) { return static_cast<uint8_t>(10 + (x / 8 + y / 4) % 4); }

    wintest::Recorder rec_;
    plat::ColorTable colors_{};
    WindowHandle main_ = 0;
};

TEST_F(SdlDummy, ShowsThePresentedClientAreaThroughThePalette)
{
    plat::PresentSdlNow();
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    ASSERT_TRUE(plat::ReadSdlPixels(px, w, h));
    const plat::Viewport v = plat::FitViewport(kWidth, 48, w, h);
    ASSERT_GE(v.scale, 1);
    int checked = 0;
    for (int y = 0; y < 48; y += 3) {
        for (int x = 0; x < kWidth; x += 5) {
            const plat::Rgb c = colors_[Pattern(x, y)];
            const uint32_t want = 0xFF000000u | (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
            const int ox = v.dest.left + x * v.scale + v.scale / 2;
            const int oy = v.dest.top + y * v.scale + v.scale / 2;
            ASSERT_EQ(px[static_cast<size_t>(oy) * w + ox], want) << x << "," << y;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 16 * 12);
}

// What the SDL window shows equals the presentation the headless runs write.
void ExpectShownAsPresented(int width, int height)
{
    ASSERT_TRUE(plat::ResizeSdlWindow(width, height));
    plat::PresentSdlNow();
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    ASSERT_TRUE(plat::ReadSdlPixels(px, w, h));
    ASSERT_EQ(w, width);
    ASSERT_EQ(h, height);
    plat::Surface area;
    plat::ComposeArea(area, plat::GetPresentedArea());
    const plat::Surface presented = plat::PresentPicture(area, w, h, 0);
    std::vector<uint32_t> want(static_cast<size_t>(w) * static_cast<size_t>(h));
    plat::ConvertToRgb32(presented, want.data(), static_cast<size_t>(w));
    EXPECT_EQ(px, want) << width << " x " << height;
}

TEST_F(SdlDummy, AWindowSmallerThanTheAreaShowsItShrunkToFitAndAResizeLeavesNothingBehind)
{
    ExpectShownAsPresented(30, 20);   // wider than the area's shape: the height fills it
    ExpectShownAsPresented(40, 48);   // narrower: the width fills it
    ExpectShownAsPresented(130, 100); // twice the area, with a border; nothing of the small picture stays
}

TEST_F(SdlDummy, WindowEventsBecomeActivationCloseAndMouseInput)
{
    plat::PresentSdlNow();
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    ASSERT_TRUE(plat::ReadSdlPixels(px, w, h));
    const plat::Viewport v = plat::FitViewport(kWidth, 48, w, h);
    wintest::PumpAll();
    rec_.Clear();

    ASSERT_TRUE(plat::PushSdlEvent(plat::SdlEventKind::FocusLost));
    wintest::PumpAll();
    EXPECT_FALSE(plat::IsAppActive());
    ASSERT_TRUE(plat::PushSdlEvent(plat::SdlEventKind::FocusGained));
    wintest::PumpAll();
    EXPECT_TRUE(plat::IsAppActive());
    EXPECT_EQ(rec_.Of(msg::ActivateApp).size(), 2u);

    // A press on logical pixel (20, 10) of the picture reaches the window there.
    const Point at{v.dest.left + 20 * v.scale, v.dest.top + 10 * v.scale};
    plat::PushSdlEvent(plat::SdlEventKind::MouseMove, at);
    plat::PushSdlEvent(plat::SdlEventKind::LeftPress, at);
    plat::PushSdlEvent(plat::SdlEventKind::LeftRelease, at);
    wintest::PumpAll();
    ASSERT_EQ(rec_.Of(msg::LButtonDown).size(), 1u);
    EXPECT_EQ(rec_.Of(msg::LButtonDown)[0].lParam, plat::PackPoint({20, 10}));

    plat::PushSdlEvent(plat::SdlEventKind::Close);
    rec_.SetHandler([](WindowHandle, uint32_t m, uintptr_t, intptr_t) -> std::optional<intptr_t> {
        return m == msg::Close ? std::optional<intptr_t>(0) : std::nullopt; // the program decides
    });
    wintest::PumpAll();
    ASSERT_EQ(rec_.Of(msg::Close).size(), 1u);
    EXPECT_EQ(rec_.Of(msg::Close)[0].window, main_);
}

TEST_F(SdlDummy, MinimizingGoesBothWays)
{
    plat::PresentSdlNow();
    ASSERT_TRUE(plat::PushSdlEvent(plat::SdlEventKind::Minimized));
    wintest::PumpAll();
    ASSERT_EQ(rec_.Of(msg::SysCommand).size(), 1u); // the program may minimize another window
    EXPECT_EQ(rec_.Of(msg::SysCommand)[0].wParam, plat::syscmd::Minimize);
    EXPECT_TRUE(plat::IsMinimized(main_));
    plat::PresentSdlNow();
    ASSERT_TRUE(plat::PushSdlEvent(plat::SdlEventKind::Restored));
    wintest::PumpAll();
    EXPECT_FALSE(plat::IsMinimized(main_));
    EXPECT_EQ(rec_.Of(msg::SysCommand).size(), 1u);
}

TEST_F(SdlDummy, FullScreenShowsTheOwnersBorderColourAroundThePicture)
{
    plat::WindowClass border;
    border.name = "Border";
    border.proc = plat::DefaultWindowProc;
    border.background = plat::Rgb{0x7F, 0x7F, 0x7F};
    ASSERT_TRUE(plat::RegisterWindowClass(border));
    plat::WindowParams params;
    params.className = "Border";
    params.style = plat::style::Popup;
    const WindowHandle owner = plat::CreateWindow(params);
    plat::SetScreenOwner(owner);
    plat::ShowWindow(owner, plat::ShowCommand::Maximize);
    plat::BringToTop(main_);
    ASSERT_TRUE(plat::IsFullscreen());
    plat::PresentSdlNow();
    plat::PresentSdlNow(); // the second frame is drawn at the full-screen size
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    ASSERT_TRUE(plat::ReadSdlPixels(px, w, h));
    const plat::Viewport v = plat::FitViewport(kWidth, 48, w, h);
    ASSERT_GT(v.dest.left, 0);
    EXPECT_EQ(px[static_cast<size_t>(h / 2) * w], 0xFF7F7F7Fu);
    const uint32_t inside = px[static_cast<size_t>(v.dest.top + v.scale / 2) * w + v.dest.left + v.scale / 2];
    EXPECT_EQ(inside & 0xFFFFFF, (200u << 16) | (10u << 8) | 20u);
}

} // namespace
