#include <gtest/gtest.h>

#include "platform/Cursor.h"
#include "platform/Desktop.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "tests/platform/WindowTestKit.h"
#include "tests/support/TestEnv.h"

namespace {

using plat::Point;
using plat::Rect;
using plat::WindowHandle;
namespace msg = plat::msg;
namespace key = plat::key;

// Two shown windows side by side; "right" is the active one.
struct TwoWindows {
    wintest::Recorder rec;
    WindowHandle left = wintest::MakeTopLevel("Left", {50, 50, 250, 250});
    WindowHandle right = wintest::MakeTopLevel("Right", {300, 50, 500, 250});
    TwoWindows()
    {
        plat::ShowWindow(left, plat::ShowCommand::Show);
        plat::ShowWindow(right, plat::ShowCommand::Show);
        wintest::PumpAll();
        rec.Clear();
    }
};

// The messages of the kinds that matter to key handling, in order.
std::vector<std::pair<uint32_t, uintptr_t>> KeyTraffic(const wintest::Recorder& rec)
{
    std::vector<std::pair<uint32_t, uintptr_t>> out;
    for (const wintest::Seen& s : rec.All()) {
        if (s.message == msg::KeyDown || s.message == msg::KeyUp || s.message == msg::Char ||
            s.message == msg::SysKeyDown || s.message == msg::SysKeyUp || s.message == msg::SysChar)
            out.emplace_back(s.message, s.wParam);
    }
    return out;
}

TEST(Input, APressActivatesItsWindowWhichTakesTheFocus)
{
    TwoWindows t;
    EXPECT_EQ(plat::GetActiveWindow(), t.right);
    plat::Click({100, 100});
    wintest::PumpAll();
    EXPECT_EQ(plat::GetActiveWindow(), t.left);
    EXPECT_EQ(plat::GetFocus(), t.left);
    EXPECT_EQ(plat::GetTopLevelWindows().back(), t.left);

    // The old window hears first, then the new one, which also gets the press itself.
    std::vector<std::pair<WindowHandle, uint32_t>> order;
    for (const wintest::Seen& s : t.rec.All()) {
        if (s.message == msg::Activate || s.message == msg::NcActivate || s.message == msg::LButtonDown ||
            s.message == msg::SetFocus || s.message == msg::KillFocus)
            order.emplace_back(s.window, s.message);
    }
    const std::vector<std::pair<WindowHandle, uint32_t>> expected = {
        {t.right, msg::NcActivate}, {t.right, msg::Activate},  {t.left, msg::NcActivate},
        {t.left, msg::Activate},    {t.right, msg::KillFocus}, {t.left, msg::SetFocus},
        {t.left, msg::LButtonDown},
    };
    EXPECT_EQ(order, expected);
    EXPECT_EQ(t.rec.Of(msg::Activate)[1].wParam, plat::activate::ClickActive);
    EXPECT_EQ(t.rec.Of(msg::LButtonDown)[0].lParam, plat::PackPoint({50, 50})); // client coordinates
}

TEST(Input, KeysArriveAsKeyDownThenTheirCharacter)
{
    TwoWindows t;
    plat::PressKey(key::Enter);
    plat::PressKey(key::Left);
    plat::TypeText("a\t\b");
    plat::PressKey(key::Escape);
    plat::InjectKey(key::Control, true);
    plat::PressKey('Z');
    plat::InjectKey(key::Control, false);
    wintest::PumpAll();
    using P = std::pair<uint32_t, uintptr_t>;
    const std::vector<P> expected = {
        {msg::KeyDown, key::Enter},
        {msg::Char, 13},
        {msg::KeyUp, key::Enter},
        {msg::KeyDown, key::Left},
        {msg::KeyUp, key::Left}, // arrows give no character
        {msg::KeyDown, 'A'},
        {msg::Char, 'a'},
        {msg::KeyUp, 'A'},
        {msg::KeyDown, key::Tab},
        {msg::Char, 9},
        {msg::KeyUp, key::Tab},
        {msg::KeyDown, key::Backspace},
        {msg::Char, 8},
        {msg::KeyUp, key::Backspace},
        {msg::KeyDown, key::Escape},
        {msg::Char, 27},
        {msg::KeyUp, key::Escape},
        {msg::KeyDown, key::Control},
        {msg::KeyDown, 'Z'},
        {msg::Char, 26},
        {msg::KeyUp, 'Z'},
        {msg::KeyUp, key::Control},
    };
    EXPECT_EQ(KeyTraffic(t.rec), expected);
    for (const wintest::Seen& s : t.rec.All())
        EXPECT_EQ(s.window, t.right); // the focus window gets them all
}

TEST(Input, AltKeysAndF10AreSystemKeys)
{
    TwoWindows t;
    plat::InjectKey(key::Alt, true);
    plat::PressKey('X');
    plat::InjectChar('x');
    plat::InjectKey(key::Alt, false);
    wintest::PumpAll();
    using P = std::pair<uint32_t, uintptr_t>;
    const std::vector<P> expected = {
        {msg::SysKeyDown, key::Alt}, {msg::SysKeyDown, 'X'},    {msg::SysKeyUp, 'X'},
        {msg::SysChar, 'x'},         {msg::SysKeyUp, key::Alt},
    };
    EXPECT_EQ(KeyTraffic(t.rec), expected);
    EXPECT_TRUE(t.rec.Of(msg::KeyDown).empty());
}

TEST(Input, DoubleClicksNeedTheSameWindowButtonSpotAndTime)
{
    struct Case {
        const char* what;
        Point second;
        uint64_t afterMs;
        bool sameClass;
        bool doubleClick;
    };
    const Case cases[] = {
        {"same spot, quick", {100, 100}, 200, true, true},
        {"two pixels off", {102, 98}, 500, true, true},
        {"three pixels off", {103, 100}, 100, true, false},
        {"too late", {100, 100}, 501, true, false},
        {"class without double clicks", {100, 100}, 100, false, false},
    };
    for (const Case& c : cases) {
        plat::ResetWindowSystem();
        wintest::Recorder rec("Test", c.sameClass ? uint32_t{plat::classstyle::DoubleClicks} : 0u);
        const WindowHandle w = wintest::MakeTopLevel("W", {50, 50, 250, 250});
        plat::ShowWindow(w, plat::ShowCommand::Show);
        plat::Click({100, 100});
        qmtest::Clock().Advance(c.afterMs);
        plat::Click(c.second);
        wintest::PumpAll();
        EXPECT_EQ(rec.Of(msg::LButtonDoubleClick).size(), c.doubleClick ? 1u : 0u) << c.what;
        EXPECT_EQ(rec.Of(msg::LButtonDown).size(), c.doubleClick ? 1u : 2u) << c.what;
    }
}

TEST(Input, ADoubleClickStartsOverAndNeedsTheSameWindow)
{
    TwoWindows t;
    plat::Click({100, 100});
    plat::Click({100, 100});
    plat::Click({100, 100}); // a third press is a single press again
    plat::Click({350, 100}); // the other window
    plat::Click({100, 100});
    wintest::PumpAll();
    EXPECT_EQ(t.rec.Of(msg::LButtonDoubleClick).size(), 1u);
    EXPECT_EQ(t.rec.Of(msg::LButtonDown).size(), 4u);
}

TEST(Input, TheCaptureWindowGetsTheMouseEverywhere)
{
    TwoWindows t;
    plat::SetCapture(t.left);
    plat::InjectMouseMove({400, 100}); // over the right window
    plat::InjectMouseMove({700, 500}); // over the desktop
    plat::ReleaseCapture();
    plat::InjectMouseMove({400, 100});
    wintest::PumpAll();
    const auto moves = t.rec.Of(msg::MouseMove);
    ASSERT_EQ(moves.size(), 3u);
    EXPECT_EQ(moves[0].window, t.left);
    EXPECT_EQ(moves[0].lParam, plat::PackPoint({350, 50}));
    EXPECT_EQ(moves[1].window, t.left);
    EXPECT_EQ(moves[2].window, t.right);
    EXPECT_EQ(plat::GetCursorPos(), (Point{400, 100}));
}

TEST(Input, ADisabledWindowGetsNoInputAndIsNotActivated)
{
    TwoWindows t;
    plat::EnableWindow(t.left, false);
    plat::Click({100, 100});
    wintest::PumpAll();
    EXPECT_TRUE(t.rec.Of(msg::LButtonDown).empty());
    EXPECT_EQ(plat::GetActiveWindow(), t.right);
}

TEST(Input, FocusMovesWithKillAndSetFocus)
{
    TwoWindows t;
    const WindowHandle child = wintest::MakeChild(t.right, {10, 10, 50, 50});
    t.rec.Clear();
    EXPECT_EQ(plat::SetFocus(child), t.right);
    EXPECT_EQ(plat::GetFocus(), child);
    ASSERT_EQ(t.rec.All().size(), 2u);
    EXPECT_EQ(t.rec.All()[0].message, msg::KillFocus);
    EXPECT_EQ(t.rec.All()[1].message, msg::SetFocus);
    EXPECT_EQ(t.rec.All()[1].lParam, static_cast<intptr_t>(t.right));
    plat::PressKey('Q');
    wintest::PumpAll();
    EXPECT_EQ(t.rec.Of(msg::KeyDown)[0].window, child);

    plat::SetFocus(0);
    plat::PressKey('Q'); // with no focus, keys go to the active window
    wintest::PumpAll();
    EXPECT_EQ(t.rec.Of(msg::KeyDown)[1].window, t.right);
    EXPECT_EQ(plat::SetFocus(999999), 0u);
}

TEST(Input, HotKeysAreTakenBeforeAnyWindowWhileTheProgramIsActive)
{
    TwoWindows t;
    EXPECT_TRUE(plat::RegisterHotKey(100, plat::hotkeymod::Alt | plat::hotkeymod::Control, 'A'));
    EXPECT_FALSE(plat::RegisterHotKey(100, 0, 'B')); // id taken
    EXPECT_FALSE(
        plat::RegisterHotKey(101, plat::hotkeymod::Alt | plat::hotkeymod::Control, 'A')); // keys taken
    EXPECT_FALSE(plat::RegisterHotKey(102, 0, 0));
    EXPECT_TRUE(plat::RegisterHotKey(103, 0, key::F1));

    plat::InjectKey(key::Control, true);
    plat::InjectKey(key::Alt, true);
    plat::PressKey('A');
    plat::InjectKey(key::Alt, false);
    plat::PressKey('A'); // Ctrl alone does not match
    plat::InjectKey(key::Control, false);
    plat::PressKey(key::F1);
    plat::InjectAppActive(false);
    plat::PressKey(key::F1); // not while another program is active
    plat::InjectAppActive(true);
    EXPECT_TRUE(plat::UnregisterHotKey(103));
    EXPECT_FALSE(plat::UnregisterHotKey(103));
    plat::PressKey(key::F1);

    std::vector<uintptr_t> ids;
    plat::PlatMessage m;
    while (plat::PeekWindowMessage(m)) {
        if (m.message == msg::HotKey) {
            EXPECT_EQ(m.window, 0u);
            ids.push_back(m.wParam);
        }
        plat::DispatchWindowMessage(m);
    }
    EXPECT_EQ(ids, (std::vector<uintptr_t>{100, 103}));
    std::vector<uintptr_t> downs;
    for (const wintest::Seen& s : t.rec.Of(msg::KeyDown))
        downs.push_back(s.wParam);
    // Alt with Ctrl held is a plain key.
    EXPECT_EQ(downs, (std::vector<uintptr_t>{key::Control, key::Alt, 'A', key::F1}));
}

TEST(Input, LosingAndRegainingTheProgramActivation)
{
    TwoWindows t;
    plat::InjectAppActive(false);
    EXPECT_FALSE(plat::IsAppActive());
    EXPECT_EQ(plat::GetActiveWindow(), 0u);
    EXPECT_EQ(plat::GetFocus(), 0u);
    const auto apps = t.rec.Of(msg::ActivateApp);
    ASSERT_EQ(apps.size(), 2u);
    EXPECT_EQ(apps[0].wParam, 0u);
    EXPECT_EQ(t.rec.Of(msg::Activate).back().wParam, plat::activate::Inactive);

    t.rec.Clear();
    plat::InjectAppActive(true);
    EXPECT_EQ(plat::GetActiveWindow(), t.right);
    EXPECT_EQ(plat::GetFocus(), t.right);
    EXPECT_EQ(t.rec.Of(msg::ActivateApp).size(), 2u);
    EXPECT_EQ(t.rec.All().front().message, msg::ActivateApp); // before the activation itself
}

TEST(Input, AltF4ClosesAndAltEnterAsksTheScreenOwner)
{
    TwoWindows t;
    plat::WindowClass border;
    border.name = "Border";
    border.proc = plat::DefaultWindowProc;
    border.background = plat::Rgb{0x40, 0x40, 0x40};
    ASSERT_TRUE(plat::RegisterWindowClass(border));
    plat::WindowParams params;
    params.className = "Border";
    params.style = plat::style::Popup | plat::style::Visible;
    const WindowHandle owner = plat::CreateWindow(params);
    plat::SetScreenOwner(owner);
    plat::ActivateWindow(t.right);

    plat::InjectKey(key::Alt, true);
    plat::PressKey(key::Enter);
    plat::InjectKey(key::Alt, false);
    wintest::PumpAll();
    EXPECT_TRUE(plat::IsMaximized(owner));
    EXPECT_TRUE(plat::IsFullscreen());
    EXPECT_EQ(plat::GetScreenBorderColor(), (plat::Rgb{0x40, 0x40, 0x40}));
    EXPECT_TRUE(t.rec.Of(msg::Char).empty()); // Alt+Enter types nothing

    plat::ActivateWindow(t.right);
    plat::InjectKey(key::Alt, true);
    plat::PressKey(key::F4);
    plat::InjectKey(key::Alt, false);
    wintest::PumpAll();
    EXPECT_EQ(t.rec.Of(msg::SysCommand).size(), 1u);
    EXPECT_EQ(t.rec.Of(msg::Close).size(), 1u);
    EXPECT_FALSE(plat::IsWindow(t.right));
}

TEST(Input, AltF4AsksABarePresentedWindowToCloseAsTheCloseButtonDoes)
{
    // Two popups without a system menu; the display shows the first.
    wintest::Recorder rec;
    plat::WindowParams params;
    params.className = "Test";
    params.style = plat::style::Popup | plat::style::Visible;
    params.rect = {0, 0, 640, 480};
    const WindowHandle game = plat::CreateWindow(params);
    params.rect = {100, 100, 300, 200};
    const WindowHandle other = plat::CreateWindow(params);
    plat::SetPresentedWindow(game);
    for (const WindowHandle active : {other, game}) {
        plat::ActivateWindow(active);
        wintest::PumpAll();
        rec.Clear();
        plat::InjectKey(key::Alt, true);
        plat::PressKey(key::F4);
        plat::InjectKey(key::Alt, false);
        wintest::PumpAll();
        EXPECT_TRUE(rec.Of(msg::SysCommand).empty());
        const std::vector<wintest::Seen> closes = rec.Of(msg::Close);
        if (active == other) {
            EXPECT_TRUE(closes.empty()) << "a bare window the display does not show stays";
        } else {
            ASSERT_EQ(closes.size(), 1u);
            EXPECT_EQ(closes[0].window, game);
        }
    }
    plat::SetPresentedWindow(0);
}

TEST(Input, TheWindowPicksTheCursorBeforeEachMouseMessage)
{
    wintest::Recorder rec;
    plat::WindowClass cls;
    cls.name = "Text";
    cls.proc = plat::DefaultWindowProc;
    cls.cursor = plat::GetStandardCursor(plat::StandardCursor::IBeam);
    ASSERT_TRUE(plat::RegisterWindowClass(cls));
    const WindowHandle main = wintest::MakeTopLevel("Main", {50, 50, 250, 250}, plat::style::ThickFrame);
    plat::ShowWindow(main, plat::ShowCommand::Show);
    plat::WindowParams params;
    params.className = "Text";
    params.style = plat::style::Child | plat::style::Visible;
    params.rect = {0, 0, 50, 50};
    params.parent = main;
    plat::CreateWindow(params);
    wintest::PumpAll();

    plat::InjectMouseMove({60, 60}); // over the child
    wintest::PumpAll();
    EXPECT_EQ(plat::GetCursor(), plat::GetStandardCursor(plat::StandardCursor::IBeam));
    const auto asks = rec.Of(msg::SetCursor); // the parent is asked first
    ASSERT_FALSE(asks.empty());
    EXPECT_EQ(plat::LowWord(static_cast<uintptr_t>(asks.back().lParam)), plat::hit::Client);

    plat::InjectMouseMove({251, 150}); // the right sizing border of the main window
    wintest::PumpAll();
    EXPECT_EQ(plat::GetCursor(), plat::GetStandardCursor(plat::StandardCursor::SizeWe));
    EXPECT_EQ(plat::LowWord(static_cast<uintptr_t>(rec.Of(msg::SetCursor).back().lParam)), plat::hit::Right);
}

TEST(Input, DraggingTheFrameResizesWithinTheWindowsLimits)
{
    wintest::Recorder rec;
    rec.SetHandler([](WindowHandle, uint32_t m, uintptr_t, intptr_t l) -> std::optional<intptr_t> {
        if (m == msg::GetMinMaxInfo)
            reinterpret_cast<plat::MinMaxInfo*>(l)->maxTrackSize = {300, 300};
        return std::nullopt;
    });
    const WindowHandle w = wintest::MakeTopLevel("W", {100, 100, 200, 200}, plat::style::ThickFrame);
    plat::ShowWindow(w, plat::ShowCommand::Show);
    const Rect before = plat::GetWindowRect(w);
    plat::InjectMouseMove({before.right - 1, before.bottom - 1});
    plat::InjectMouseButton(plat::MouseButton::Left, true, {before.right - 1, before.bottom - 1});
    wintest::PumpAll();
    plat::InjectMouseMove({before.right + 29, before.bottom + 9});
    plat::InjectMouseButton(plat::MouseButton::Left, false, {before.right + 500, before.bottom + 9});
    const Rect after = plat::GetWindowRect(w);
    EXPECT_EQ(after.TopLeft(), before.TopLeft());
    EXPECT_EQ(after.Width(), 300); // stopped at the largest size the window allows
    EXPECT_EQ(after.Height(), before.Height() + 10);
}

} // namespace
