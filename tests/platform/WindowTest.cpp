#include <gtest/gtest.h>

#include "platform/Desktop.h"
#include "platform/Input.h"
#include "platform/Metrics.h"
#include "platform/Window.h"
#include "tests/platform/WindowTestKit.h"

namespace {

using plat::Rect;
using plat::WindowHandle;
namespace msg = plat::msg;
namespace style = plat::style;

TEST(Window, OuterRectangleFollowsTheStyle)
{
    struct Case {
        const char* what;
        uint32_t style;
        uint32_t exStyle;
        bool menu;
        Rect outer;
    };
    const Rect client{100, 100, 740, 580};
    const Case cases[] = {
        {"caption", style::Caption | style::SysMenu, 0, false, {97, 78, 743, 583}},
        {"caption and menu", style::Caption | style::SysMenu, 0, true, {97, 59, 743, 583}},
        {"resizable", style::Caption | style::ThickFrame, 0, false, {96, 77, 744, 584}},
        {"thin popup", style::Popup | style::Border, 0, false, {99, 99, 741, 581}},
        {"bare popup", style::Popup, 0, true, {100, 81, 740, 580}},
        {"tool window", style::Popup | style::Caption, plat::exstyle::ToolWindow, false, {97, 82, 743, 583}},
        {"child ignores a menu", style::Child, 0, true, client},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plat::OuterRectForClient(client, c.style, c.exStyle, c.menu), c.outer) << c.what;

    // The 640 x 480 main window with caption and menu fits the 800 x 600 screen.
    const Rect main = plat::OuterRectForClient({0, 0, 640, 480}, style::Caption | style::SysMenu, 0, true);
    EXPECT_EQ(main.Width(), 646);
    EXPECT_EQ(main.Height(), 524);
    EXPECT_LE(main.Height(), plat::GetMetrics().screenHeight);
}

TEST(Window, CreationSendsCreateAndSizeAndLeavesTheClientAreaInvalid)
{
    wintest::Recorder rec;
    const WindowHandle w = wintest::MakeTopLevel("Main", {80, 60, 720, 540});
    ASSERT_NE(w, 0u);
    EXPECT_EQ(rec.Messages(w), (std::vector<uint32_t>{msg::Create, msg::Size}));
    EXPECT_EQ(rec.Of(msg::Size)[0].lParam, plat::PackWords(640, 480));
    EXPECT_EQ(plat::GetClientRect(w), (Rect{0, 0, 640, 480}));
    EXPECT_EQ(plat::GetWindowRect(w), (Rect{77, 38, 723, 543}));
    EXPECT_EQ(plat::ClientToScreen(w, {0, 0}), (plat::Point{80, 60}));
    EXPECT_EQ(plat::GetUpdateRect(w), (Rect{0, 0, 640, 480}));
    EXPECT_FALSE(plat::IsVisible(w));
    EXPECT_EQ(plat::GetTitle(w), "Main");
    EXPECT_EQ(plat::GetClassName(w), "Test");
}

TEST(Window, CreationIsRefusedWithoutClassParentOrConsent)
{
    wintest::Recorder rec;
    plat::WindowParams params;
    params.className = "Nope";
    EXPECT_EQ(plat::CreateWindow(params), 0u);

    params.className = "TEST"; // class names match without regard to case
    params.style = style::Child;
    params.parent = 12345;
    EXPECT_EQ(plat::CreateWindow(params), 0u);

    rec.SetHandler([](WindowHandle, uint32_t m, uintptr_t, intptr_t) -> std::optional<intptr_t> {
        return m == msg::Create ? std::optional<intptr_t>(-1) : std::nullopt;
    });
    params.style = style::Popup;
    params.parent = 0;
    EXPECT_EQ(plat::CreateWindow(params), 0u);
    ASSERT_FALSE(rec.Of(msg::Destroy).empty());
    EXPECT_FALSE(plat::IsWindow(rec.Of(msg::Destroy)[0].window));
}

TEST(Window, ClassesAreUniqueAndStayWhileTheirWindowsLive)
{
    wintest::Recorder rec("Shared");
    plat::WindowClass dup;
    dup.name = "SHARED";
    dup.proc = plat::DefaultWindowProc;
    EXPECT_FALSE(plat::RegisterWindowClass(dup));
    const WindowHandle w = wintest::MakeTopLevel("A", {0, 0, 10, 10}, 0, 0, "Shared");
    EXPECT_FALSE(plat::UnregisterWindowClass("shared"));
    plat::DestroyWindow(w);
    EXPECT_TRUE(plat::UnregisterWindowClass("shared"));
    EXPECT_FALSE(plat::UnregisterWindowClass("shared"));
}

TEST(Window, DestroyTakesOwnedWindowsFirstThenTheWindowBeforeItsChildren)
{
    wintest::Recorder rec;
    const WindowHandle main = wintest::MakeTopLevel("Main", {0, 0, 200, 200});
    const WindowHandle child = wintest::MakeChild(main, {10, 10, 50, 50});
    const WindowHandle grandchild = wintest::MakeChild(child, {1, 1, 5, 5});
    const WindowHandle owned = wintest::MakeTopLevel("Dialog", {20, 20, 60, 60}, 0, child);
    const WindowHandle other = wintest::MakeTopLevel("Other", {300, 300, 400, 400});
    EXPECT_EQ(plat::GetOwner(owned), main); // the owner is always a top-level window
    EXPECT_EQ(plat::GetParent(grandchild), child);
    EXPECT_EQ(plat::GetTopLevel(grandchild), main);
    plat::ShowWindow(other, plat::ShowCommand::Show);
    plat::ShowWindow(main, plat::ShowCommand::Show);
    plat::SetFocus(grandchild);
    rec.Clear();

    EXPECT_TRUE(plat::DestroyWindow(main));
    std::vector<WindowHandle> order;
    for (const wintest::Seen& s : rec.Of(msg::Destroy))
        order.push_back(s.window);
    EXPECT_EQ(order, (std::vector<WindowHandle>{owned, main, child, grandchild}));
    for (WindowHandle h : {main, child, grandchild, owned})
        EXPECT_FALSE(plat::IsWindow(h));
    EXPECT_EQ(plat::GetFocus(), other); // the activation went to the window left
    EXPECT_EQ(plat::GetActiveWindow(), other);
    EXPECT_FALSE(plat::DestroyWindow(main));
}

TEST(Window, ZOrderKeepsTopMostWindowsAboveAndOwnedWindowsAboveTheirOwner)
{
    wintest::Recorder rec;
    const WindowHandle a = wintest::MakeTopLevel("A", {0, 0, 10, 10});
    const WindowHandle topMost = wintest::MakeTopLevel("T", {0, 0, 10, 10});
    plat::SetTopMost(topMost, true);
    const WindowHandle b = wintest::MakeTopLevel("B", {0, 0, 10, 10});
    const WindowHandle ownedByA = wintest::MakeTopLevel("O", {0, 0, 10, 10}, 0, a);
    EXPECT_EQ(plat::GetTopLevelWindows(), (std::vector<WindowHandle>{a, b, ownedByA, topMost}));

    plat::BringToTop(b);
    EXPECT_EQ(plat::GetTopLevelWindows(), (std::vector<WindowHandle>{a, ownedByA, b, topMost}));
    plat::BringToTop(a); // the owned window comes along, above it
    EXPECT_EQ(plat::GetTopLevelWindows(), (std::vector<WindowHandle>{b, a, ownedByA, topMost}));
    plat::SetTopMost(topMost, false);
    plat::BringToTop(b);
    EXPECT_EQ(plat::GetTopLevelWindows(), (std::vector<WindowHandle>{a, ownedByA, topMost, b}));
}

TEST(Window, ChildrenAreFoundOnlyInsideTheirParentsClientArea)
{
    wintest::Recorder rec;
    const WindowHandle main = wintest::MakeTopLevel("Main", {100, 100, 300, 300});
    plat::ShowWindow(main, plat::ShowCommand::Show);
    const WindowHandle child = wintest::MakeChild(main, {150, 150, 250, 250}); // half outside
    const WindowHandle off = wintest::MakeChild(main, {0, 0, 20, 20});
    plat::EnableWindow(off, false);

    EXPECT_EQ(plat::WindowFromPoint({260, 260}), child);
    EXPECT_EQ(plat::WindowFromPoint({310, 310}), 0u); // beyond the parent: the desktop
    EXPECT_EQ(plat::WindowFromPoint({299, 260}), child);
    EXPECT_EQ(plat::WindowFromPoint({300, 260}), main); // the parent's frame, not the child
    EXPECT_EQ(plat::WindowFromPoint({105, 105}), main); // a disabled child lets the point through
    EXPECT_EQ(plat::GetWindowRect(child), (Rect{250, 250, 350, 350}));
}

TEST(Window, ObjectMapAndExtraDataArePerWindow)
{
    plat::WindowClass cls;
    cls.name = "Extra";
    cls.proc = plat::DefaultWindowProc;
    cls.extraBytes = 16;
    ASSERT_TRUE(plat::RegisterWindowClass(cls));
    const WindowHandle a = wintest::MakeTopLevel("A", {0, 0, 10, 10}, 0, 0, "Extra");
    const WindowHandle b = wintest::MakeTopLevel("B", {0, 0, 10, 10}, 0, 0, "Extra");
    int objectA = 0;
    plat::SetWindowObject(a, &objectA);
    EXPECT_EQ(plat::GetWindowObject(a), &objectA);
    EXPECT_EQ(plat::GetWindowObject(b), nullptr);

    EXPECT_TRUE(plat::SetWindowExtra(a, 8, 0xDEADBEEF));
    EXPECT_EQ(plat::GetWindowExtra(a, 8), 0xDEADBEEFu);
    EXPECT_EQ(plat::GetWindowExtra(b, 8), 0u);
    EXPECT_FALSE(plat::SetWindowExtra(a, 9, 1)); // would run past the 16 bytes
    EXPECT_FALSE(plat::SetWindowExtra(a, -1, 1));
    plat::DestroyWindow(a);
    EXPECT_EQ(plat::GetWindowObject(a), nullptr);
}

TEST(Window, ShowHideMinimizeMaximizeAndRestore)
{
    wintest::Recorder rec;
    const WindowHandle a = wintest::MakeTopLevel("A", {100, 100, 300, 200}, style::ThickFrame);
    const WindowHandle b = wintest::MakeTopLevel("B", {100, 100, 300, 200}, style::ThickFrame);
    plat::ShowWindow(a, plat::ShowCommand::Show);
    EXPECT_EQ(plat::GetActiveWindow(), a);
    EXPECT_FALSE(plat::ShowWindow(b, plat::ShowCommand::ShowNoActivate));
    EXPECT_TRUE(plat::IsVisible(b));
    EXPECT_EQ(plat::GetActiveWindow(), a);

    rec.Clear();
    plat::ShowWindow(a, plat::ShowCommand::Maximize);
    const auto sizes = rec.Of(msg::Size);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].wParam, plat::size::Maximized);
    // Maximized, the frame lies just off the screen and the caption fills the top.
    EXPECT_EQ(plat::GetWindowRect(a), (Rect{-4, -4, 804, 604}));
    EXPECT_EQ(sizes[0].lParam, plat::PackWords(800, 600 - 19));
    EXPECT_FALSE(rec.Of(msg::GetMinMaxInfo).empty());
    plat::ShowWindow(a, plat::ShowCommand::Restore);
    EXPECT_EQ(plat::GetClientRect(a), (Rect{0, 0, 200, 100}));

    plat::ShowWindow(a, plat::ShowCommand::Minimize);
    EXPECT_TRUE(plat::IsMinimized(a));
    EXPECT_EQ(plat::GetActiveWindow(), b);
    EXPECT_EQ(plat::GetClientRect(a), (Rect{0, 0, 200, 100})); // a minimized window keeps its size
    plat::ShowWindow(b, plat::ShowCommand::Hide);
    EXPECT_FALSE(plat::IsVisible(b));
    EXPECT_EQ(plat::GetActiveWindow(), 0u); // nothing shown is left to activate
}

TEST(Window, MoveAndResizeReportAndInvalidate)
{
    wintest::Recorder rec;
    const WindowHandle w = wintest::MakeTopLevel("W", {10, 10, 110, 60});
    plat::ValidateRect(w, nullptr);
    rec.Clear();
    plat::MoveWindowTo(w, 50, 50);
    EXPECT_EQ(rec.Messages(w), (std::vector<uint32_t>{msg::Move}));
    EXPECT_EQ(rec.Of(msg::Move)[0].lParam, plat::PackWords(53, 72));
    EXPECT_TRUE(plat::GetUpdateRect(w).Empty()); // moving alone keeps the pixels

    rec.Clear();
    plat::SetWindowRect(w, Rect::FromSize(50, 50, 306, 225));
    EXPECT_EQ(rec.Messages(w), (std::vector<uint32_t>{msg::Size}));
    EXPECT_EQ(plat::GetClientRect(w), (Rect{0, 0, 300, 200}));
    EXPECT_EQ(plat::GetUpdateRect(w), (Rect{0, 0, 300, 200}));
    EXPECT_EQ(plat::GetClientTarget(w).surface->width, 306);
}

} // namespace

namespace {

TEST(Window, SystemCommandsTakenOffTheWindowAreIgnored)
{
    wintest::Recorder rec;
    const WindowHandle fixed = wintest::MakeTopLevel("Fixed", {100, 100, 300, 200}, style::ThickFrame);
    const WindowHandle free = wintest::MakeTopLevel("Free", {100, 100, 300, 200}, style::ThickFrame);
    plat::ShowWindow(fixed, plat::ShowCommand::Show);
    plat::ShowWindow(free, plat::ShowCommand::Show);
    for (uint32_t c :
         {plat::syscmd::Size, plat::syscmd::Minimize, plat::syscmd::Maximize, plat::syscmd::Restore})
        plat::RemoveSystemCommand(fixed, c);
    EXPECT_FALSE(
        plat::OffersSystemCommand(fixed, plat::syscmd::Minimize | 0x2)); // low bits are not the command
    EXPECT_TRUE(plat::OffersSystemCommand(fixed, plat::syscmd::Close));
    EXPECT_TRUE(plat::OffersSystemCommand(free, plat::syscmd::Minimize));
    EXPECT_FALSE(plat::OffersSystemCommand(0, plat::syscmd::Close));

    for (uint32_t c : {plat::syscmd::Minimize, plat::syscmd::Maximize}) {
        plat::SendWindowMessage(fixed, msg::SysCommand, c);
        EXPECT_FALSE(plat::IsMinimized(fixed) || plat::IsMaximized(fixed)) << c;
    }
    plat::SendWindowMessage(free, msg::SysCommand, plat::syscmd::Minimize);
    EXPECT_TRUE(plat::IsMinimized(free));

    // Without the size command the frame starts no resize.
    const Rect before = plat::GetWindowRect(fixed);
    plat::InjectMouseMove({before.right - 1, before.bottom - 1});
    plat::InjectMouseButton(plat::MouseButton::Left, true, {before.right - 1, before.bottom - 1});
    wintest::PumpAll();
    plat::InjectMouseMove({before.right + 29, before.bottom + 9});
    plat::InjectMouseButton(plat::MouseButton::Left, false, {before.right + 29, before.bottom + 9});
    EXPECT_EQ(plat::GetWindowRect(fixed), before);

    rec.Clear();
    plat::SendWindowMessage(fixed, msg::SysCommand, plat::syscmd::Close); // still offered
    EXPECT_EQ(rec.Of(msg::Close).size(), 1u);
}

} // namespace
