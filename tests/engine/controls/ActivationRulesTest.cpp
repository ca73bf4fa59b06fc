// Activation and deactivation under both engine profiles, watched through the native
// window's messages on the null backend.
#include <gtest/gtest.h>

#include <map>

#include "engine/framework/EngineProfile.h"
#include "tests/engine/controls/WindowsKit.h"

namespace {

using namespace wtest;

Log g_calls;
std::map<plat::WindowHandle, std::string> g_names;

// The engine's window procedure, with the enable, show and activate messages written down.
intptr_t WatchingProc(plat::WindowHandle hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    const auto name = g_names.find(hwnd);
    if (name != g_names.end()) {
        if (message == plat::msg::Enable)
            g_calls.push_back(name->second + (wParam ? " enabled" : " disabled"));
        else if (message == plat::msg::ShowWindow)
            g_calls.push_back(name->second + (wParam ? " shown" : " hidden"));
        else if (message == plat::msg::Activate)
            g_calls.push_back(name->second + ((wParam & 0xFFFF) ? " activated" : " deactivated"));
    }
    return SharedWndProc(hwnd, message, wParam, lParam);
}

class ActivationRules : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_calls.clear();
        g_names.clear();
        plat::WindowClass watched;
        watched.name = kWindowClassName;
        watched.style = plat::classstyle::DoubleClicks;
        watched.proc = WatchingProc;
        watched.extraBytes = 4;
        ASSERT_TRUE(plat::RegisterWindowClass(watched));
        RegisterEngineClasses(); // the dialog class; ours stands for the window class
        InstallWindowHooks();
    }
    void TearDown() override
    {
        delete owned;
        delete owner;
    }
    // The owner, shown and active, and a window it owns, made but not shown yet.
    void MakeWindows(bool launcher)
    {
        SetEngineProfile(launcher ? LauncherProfile() : EngineProfile{});
        ownerRoot = Root(100, 100, log);
        captureFrame = new LogFrame(log, "capture", CRect(10, 20, 15, 25));
        hoverFrame = new LogFrame(log, "hover", CRect(30, 40, 35, 45));
        ownerRoot->AddChild(captureFrame, false);
        ownerRoot->AddChild(hoverFrame, false);
        owner = MakeWindow(CWind::kTypeTopLevel, ownerRoot);
        g_names[owner->GetHwnd()] = "owner";
        owner->Activate();
        owned = new CWind(CWind::kTypeTopLevel, Root(50, 50, log), nullptr, 0u);
        uint32_t exStyle = 0;
        owned->Create(CWind::kTypeTopLevel, nullptr, owned->GetStyle(exStyle), exStyle, owner);
        g_names[owned->GetHwnd()] = "owned";
        PumpAll();
        g_calls.clear();
        log.clear();
    }

    Log log;
    CFrame* ownerRoot = nullptr;
    LogFrame* captureFrame = nullptr;
    LogFrame* hoverFrame = nullptr;
    CWind* owner = nullptr;
    CWind* owned = nullptr;
};

TEST_F(ActivationRules, CallOrderUnderBothProfiles)
{
    // The game shows the window first; the launcher shows it once it is active, while the owner
    // is still disabled.
    const Log game = {"owned shown", "owner disabled", "owner deactivated", "owned activated",
                      "owner enabled"};
    const Log launcher = {"owner disabled", "owner deactivated", "owned activated", "owned shown",
                          "owner enabled"};
    for (const bool isLauncher : {false, true}) {
        MakeWindows(isLauncher);
        owned->Activate();
        EXPECT_EQ(g_calls, isLauncher ? launcher : game) << (isLauncher ? "launcher" : "game");
        EXPECT_TRUE(owned->IsActive());
        EXPECT_EQ(CWind::GetActiveWnd(), owned);
        delete owned;
        delete owner;
        owned = owner = nullptr;
    }
}

TEST_F(ActivationRules, DeactivationEndsACaptureAwayFromTheFrameAndKeepsTheFramesEnabled)
{
    for (const bool isLauncher : {false, true}) {
        MakeWindows(isLauncher);
        SetCaptureObj(captureFrame);
        SetHoverFrameRecord(hoverFrame);
        owned->Activate(); // the owner is deactivated on the way
        // Released 100 up and left of the capturing frame (launcher) or the hover frame (game);
        // the release goes where the window's capture routing sends it. The game's
        // deactivation also disables the frames until the window is active again.
        EXPECT_EQ(log, Log{isLauncher ? "hover:-1/0@-80,-90" : "hover:-1/0@-60,-70"})
            << (isLauncher ? "launcher" : "game");
        EXPECT_EQ(GetCaptureObj(), nullptr);
        EXPECT_EQ(captureFrame->IsEnabled(), isLauncher) << (isLauncher ? "launcher" : "game");
        delete owned;
        delete owner;
        owned = owner = nullptr;
    }
}

// The game's deactivation gives the native window the focus, which makes it active again and
// hands the key focus to its own focus control (none here); the launcher's leaves both alone.
TEST_F(ActivationRules, AnotherWindowsControlKeepsTheFocusUnderTheLauncherRule)
{
    for (const bool isLauncher : {false, true}) {
        MakeWindows(isLauncher);
        auto* control = new TestControl(log, "field", CRect(0, 0, 10, 10));
        owned->GetFirstFrame()->AddChild(control, false);
        owned->AddControl(control, -1);
        CWind::SetKeyFocus(control);
        owner->Deactivate();
        EXPECT_EQ(CWind::GetKeyFocus(), isLauncher ? control : nullptr) << (isLauncher ? "launcher" : "game");
        EXPECT_EQ(owner->IsActive(), !isLauncher);
        delete owned;
        delete owner;
        owned = owner = nullptr;
    }
}

} // namespace
