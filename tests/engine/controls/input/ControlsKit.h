#pragma once
// Fixtures for the control tests: a shown, active window with a root frame, a target that
// records the notifications it gets, and the mouse, keys and clock driven as a user would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/framework/TimerEvent.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/support/TestEnv.h"

namespace ctest {

using wtest::Log;

// One notification as the target saw it.
struct Note {
    int32_t id;
    const CBaseObj* sender;
    MsgWord words[6];
};

// A live frame outside the window that records every message it gets.
class Target : public CFrame {
public:
    Target() : CFrame(5, 900, CRect(0, 0, 1, 1), true) { RegisterLiveObject(this); }
    bool HandleMessage(CMessage& m, CBaseObj* sender) override
    {
        Note n{m.GetId(), sender, {}};
        for (int i = 0; i < 6; ++i)
            n.words[i] = m.GetParam(i);
        notes.push_back(n);
        return true;
    }
    // Word i of every notification, in order.
    std::vector<MsgWord> Words(int i) const
    {
        std::vector<MsgWord> out;
        for (const Note& n : notes)
            out.push_back(n.words[i]);
        return out;
    }
    std::vector<Note> notes;
};

class ControlsTest : public wtest::WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        root = wtest::Root(320, 240, log);
        wnd = wtest::MakeWindow(CWind::kTypeTopLevel, root);
        plat::ActivateWindow(wnd->GetHwnd());
        wtest::PumpAll();
        target = new Target;
    }
    void TearDown() override
    {
        delete wnd;
        delete target;
    }

    // Adds the control under the root (which puts it in the window's list).
    template <class T> T* Add(T* control)
    {
        root->AddChild(control, false);
        return control;
    }

    plat::Point At(int x, int y) const { return wtest::ScreenOf(*wnd, x, y); }
    void Down(int x, int y)
    {
        plat::InjectMouseButton(plat::MouseButton::Left, true, At(x, y));
        wtest::PumpAll();
    }
    void Move(int x, int y)
    {
        plat::InjectMouseMove(At(x, y));
        wtest::PumpAll();
    }
    void Up(int x, int y)
    {
        plat::InjectMouseButton(plat::MouseButton::Left, false, At(x, y));
        wtest::PumpAll();
    }
    void Key(uint8_t key)
    {
        plat::PressKey(key);
        wtest::PumpAll();
    }
    // Advances the clock tick by tick, running the due timers after each.
    static void Ticks(uint32_t n)
    {
        for (uint32_t i = 0; i < n; ++i) {
            qmtest::Clock().Advance(17);
            RunDueTimers();
        }
    }

    CFrame* root = nullptr;
    CWind* wnd = nullptr;
    Target* target = nullptr;
};

} // namespace ctest
