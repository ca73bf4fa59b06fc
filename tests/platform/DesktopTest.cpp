#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/Desktop.h"
#include "platform/Metrics.h"
#include "platform/Window.h"
#include "tests/platform/WindowTestKit.h"
#include "tests/support/TestEnv.h"

namespace {

using plat::Rect;
using plat::WindowHandle;
namespace msg = plat::msg;

// Fills a window's whole client area with one palette index.
void FillClient(WindowHandle w, uint8_t index)
{
    const plat::ClientTarget t = plat::GetClientTarget(w);
    for (int y = 0; y < t.client.bottom; ++y)
        std::fill_n(t.surface->Row(t.origin.y + y) + t.origin.x, t.client.right, index);
}

WindowHandle Popup(Rect r, WindowHandle parent = 0, uint32_t style = plat::style::Popup)
{
    plat::WindowParams params;
    params.className = "Test";
    params.style = style | plat::style::Visible;
    params.rect = r;
    params.parent = parent;
    return plat::CreateWindow(params);
}

TEST(Desktop, ComposesWindowsBottomUpWithChildrenClippedToTheirParent)
{
    wintest::Recorder rec;
    const WindowHandle lower = Popup({100, 100, 300, 300});
    const WindowHandle upper = Popup({200, 200, 400, 400});
    const WindowHandle child = Popup({150, 150, 260, 180}, upper, plat::style::Child); // pokes out right
    const WindowHandle hidden = Popup({0, 0, 50, 50});
    FillClient(lower, 1);
    FillClient(upper, 2);
    FillClient(child, 3);
    FillClient(hidden, 4);
    plat::ShowWindow(hidden, plat::ShowCommand::Hide);

    const uint8_t desktop = plat::DesktopPixel(10, 10);
    EXPECT_EQ(desktop, 6); // the desktop colour, dark cyan of the system colours
    struct Case {
        int x, y;
        uint8_t index;
    };
    const Case cases[] = {
        {150, 150, 1},       {250, 250, 2}, // the upper window covers the lower one
        {299, 299, 2},       {199, 199, 1},
        {350, 350, 3},       {399, 379, 3}, // the child, in the parent's coordinates
        {401, 360, desktop},                // its part beyond the parent is cut off
        {25, 25, desktop},                  // a hidden window shows nothing
    };
    for (const Case& c : cases)
        EXPECT_EQ(plat::DesktopPixel(c.x, c.y), c.index) << c.x << "," << c.y;

    plat::BringToTop(lower);
    EXPECT_EQ(plat::DesktopPixel(250, 250), 1);
}

TEST(Desktop, OwnedWindowsShowWithAHiddenOwnerButNotWithAMinimizedOne)
{
    wintest::Recorder rec;
    const WindowHandle border = Popup({0, 0, 800, 600});
    const WindowHandle main = Popup({100, 100, 200, 200}, border);
    FillClient(border, 1);
    FillClient(main, 2);
    const uint8_t desktop = 6;
    EXPECT_EQ(plat::DesktopPixel(150, 150), 2);
    EXPECT_EQ(plat::DesktopPixel(10, 10), 1);
    plat::ShowWindow(border, plat::ShowCommand::Hide);
    EXPECT_EQ(plat::DesktopPixel(150, 150), 2);
    EXPECT_EQ(plat::DesktopPixel(10, 10), desktop);
    plat::ShowWindow(border, plat::ShowCommand::Minimize); // minimizing the owner hides what it owns
    EXPECT_EQ(plat::DesktopPixel(150, 150), desktop);
    EXPECT_EQ(plat::WindowFromPoint({150, 150}), 0u);
    plat::ShowWindow(border, plat::ShowCommand::Restore);
    EXPECT_EQ(plat::DesktopPixel(150, 150), 2);
}

TEST(Desktop, NonClientPartsAreDrawnAroundTheClientArea)
{
    wintest::Recorder rec;
    const WindowHandle w = wintest::MakeTopLevel("Main", {100, 100, 300, 200});
    plat::ShowWindow(w, plat::ShowCommand::Show);
    FillClient(w, 5);
    const Rect outer = plat::GetWindowRect(w);
    EXPECT_EQ(plat::DesktopPixel(outer.left, outer.top), 255);           // the frame's light edge
    EXPECT_EQ(plat::DesktopPixel(outer.right - 1, outer.bottom - 1), 0); // its dark edge
    EXPECT_EQ(plat::DesktopPixel(150, 90), 4);                           // the active caption, dark blue
    EXPECT_EQ(plat::DesktopPixel(150, 150), 5);
    const WindowHandle other = wintest::MakeTopLevel("Other", {500, 100, 600, 200});
    plat::ShowWindow(other, plat::ShowCommand::Show);
    EXPECT_EQ(plat::DesktopPixel(150, 90), 248); // now inactive: grey
}

TEST(Desktop, PaletteKeepsTheSystemColoursAndTellsTheWindows)
{
    wintest::Recorder rec;
    const WindowHandle w = Popup({0, 0, 10, 10});
    plat::ColorTable colors{};
    for (int i = 0; i < 256; ++i)
        colors[i] = {static_cast<uint8_t>(i), 0, 0};
    EXPECT_EQ(plat::SetDesktopPalette(colors, w), 236);
    EXPECT_EQ(plat::GetDesktopPalette()[0], (plat::Rgb{0, 0, 0}));
    EXPECT_EQ(plat::GetDesktopPalette()[255], (plat::Rgb{255, 255, 255}));
    EXPECT_EQ(plat::GetDesktopPalette()[100], (plat::Rgb{100, 0, 0}));
    ASSERT_EQ(rec.Of(msg::PaletteChanged).size(), 1u);
    EXPECT_EQ(rec.Of(msg::PaletteChanged)[0].wParam, w);
    EXPECT_EQ(plat::GetClientTarget(w).surface->colors[100], (plat::Rgb{100, 0, 0}));

    EXPECT_EQ(plat::SetDesktopPalette(colors, w), 0); // nothing changed: no notice
    EXPECT_EQ(rec.Of(msg::PaletteChanged).size(), 1u);
}

TEST(Desktop, WritesAreasAsPalettePng)
{
    wintest::Recorder rec;
    const WindowHandle w = Popup({0, 0, 40, 30});
    FillClient(w, 9);
    const auto path = qmtest::TempDir() / "desk.png";
    const Rect area{0, 0, 40, 30};
    ASSERT_TRUE(plat::WriteDesktopPng(path, &area));
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    auto be32 = [&](size_t at) {
        return (uint8_t(bytes[at]) << 24) | (uint8_t(bytes[at + 1]) << 16) | (uint8_t(bytes[at + 2]) << 8) |
               uint8_t(bytes[at + 3]);
    };
    EXPECT_EQ(be32(16), 40u); // width and height of the header chunk
    EXPECT_EQ(be32(20), 30u);
    EXPECT_EQ(bytes[25], 3); // colour type: palette
    const Rect nothing{900, 900, 950, 950};
    EXPECT_FALSE(plat::WriteDesktopPng(path, &nothing));
    EXPECT_FALSE(plat::WriteDesktopPng(qmtest::TempDir() / "missing" / "x.png"));
}

TEST(Desktop, PresentedAreaIsTheMainWindowsMenuStripAndClientArea)
{
    wintest::Recorder rec;
    EXPECT_EQ(plat::GetPresentedArea(), (Rect{0, 0, 800, 600}));
    const WindowHandle tool = Popup({0, 0, 50, 50});
    (void)tool;
    const WindowHandle main = wintest::MakeTopLevel("Main", {80, 60, 720, 540});
    plat::ShowWindow(main, plat::ShowCommand::Show);
    EXPECT_EQ(plat::GetPresentedWindow(), main);
    EXPECT_EQ(plat::GetPresentedArea(), (Rect{80, 60, 720, 540}));
}

} // namespace
