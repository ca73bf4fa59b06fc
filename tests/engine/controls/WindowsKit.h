#pragma once
// Fixtures for the window and frame tests: frames and controls that log what reaches them,
// an application that logs the commands it gets, engine windows made and shown in one call,
// and a pump that dispatches every waiting platform message.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/controls/Frame.h"
#include "engine/controls/InputState.h"
#include "engine/controls/Wind.h"
#include "engine/controls/WindControl.h"
#include "engine/controls/WindHooks.h"
#include "engine/controls/WindowHooks.h"
#include "engine/controls/WndProc.h"
#include "engine/framework/Appl.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Stopwatch.h"
#include "engine/framework/TimerEvent.h"
#include "platform/Input.h"
#include "platform/Window.h"

namespace wtest {

using Log = std::vector<std::string>;

inline std::string Str(const CRect& r)
{
    return std::to_string(r.GetTop()) + "," + std::to_string(r.GetLeft()) + "," +
           std::to_string(r.GetBottom()) + "," + std::to_string(r.GetRight());
}

// A frame that logs the engine messages it gets: "name:-1/1" for a mouse press (with "/dbl"
// on a double click), "name:-3/65" for a key, "name:id" for anything else.
class LogFrame : public CFrame {
public:
    LogFrame(Log& log, std::string name, const CRect& rect, int32_t id = kNewId, bool takesInput = true)
        : CFrame(5, id, rect, false), log_(log), name_(std::move(name))
    {
        SetTakesInput(takesInput);
        RegisterLiveObject(this);
    }
    bool HandleMessage(CMessage& m, CBaseObj*) override
    {
        std::string entry = name_ + ":" + std::to_string(m.GetId());
        if (m.GetId() == kMsgMouse) {
            (entry += "/") += std::to_string(m.GetParam(2));
            const CPoint* p = m.GetParamPtr<CPoint>(4);
            (entry += "@") += std::to_string(p->GetH()) + "," + std::to_string(p->GetV());
            if (m.GetParam(5))
                entry += "/dbl";
        } else if (m.GetId() == kMsgKey) {
            (entry += "/") += std::to_string(m.GetParam(2)) + "/" + std::to_string(m.GetParam(3));
        }
        log_.push_back(entry);
        if (onMessage)
            onMessage(m);
        return true;
    }
    std::function<void(CMessage&)> onMessage;

private:
    Log& log_;
    std::string name_;
};

// A control implementing the slots its window calls; it logs each call.
class TestControl : public CWindControl {
public:
    TestControl(Log& log, std::string name, const CRect& rect, int16_t tabOrder = -1, int32_t kind = 1)
        : CWindControl(1, kNewId, rect, false), log_(log), name_(std::move(name)), tabOrder_(tabOrder),
          controlKind_(kind)
    {
        SetTakesInput(true);
        RegisterLiveObject(this);
    }
    int32_t GetControlKind() const override { return controlKind_; }
    int16_t GetTabOrder() const override { return tabOrder_; }
    bool IsDefault() const override { return isDefault_; }
    uint32_t GetInputMode() const override { return inputMode; }
    int32_t GetGroupId() const override { return groupId; }
    CWindControl* GetGroupChoice() const override { return choice; }
    void SetGroupChoice(CWindControl* c) override { choice = c; }
    void SetDefault(bool d) override
    {
        isDefault_ = d;
        log_.push_back(name_ + ":default=" + std::to_string(d));
    }
    void SendNotify() override { log_.push_back(name_ + ":notify"); }
    bool WantsKey(int32_t key) override { return wantedKey != 0 && key == wantedKey; }
    plat::WindowHandle GetHwnd() const override { return hwnd; }
    void SetHasFocus(bool f) override
    {
        hasFocus = f;
        log_.push_back(name_ + ":focus=" + std::to_string(f));
    }
    void SetPressedLook(bool p) override { log_.push_back(name_ + ":pressed=" + std::to_string(p)); }
    void OnCommand(plat::WindowHandle, uint32_t id, plat::WindowHandle, uint32_t code) override
    {
        log_.push_back(name_ + ":command " + std::to_string(id) + "/" + std::to_string(code));
    }
    void OnScroll(plat::WindowHandle, uint32_t code, int32_t pos) override
    {
        log_.push_back(name_ + ":scroll " + std::to_string(code) + "/" + std::to_string(pos));
    }
    bool HandleMessage(CMessage& m, CBaseObj*) override
    {
        std::string entry = name_ + ":" + std::to_string(m.GetId());
        if (m.GetId() == kMsgKey || m.GetId() == kMsgMouse)
            (entry += "/") += std::to_string(m.GetParam(2));
        log_.push_back(entry);
        return true;
    }
    // Joins or leaves the window's control list with its owner, as the control base does.
    void SetOwner(CBaseObj* owner) override
    {
        CWind* old = GetOwnerWnd();
        CWindControl::SetOwner(owner);
        if (old && !owner)
            old->RemoveControl(this);
        if (CWind* w = GetOwnerWnd(); w && w != old)
            w->AddControl(this, tabOrder_);
    }
    void SetOrder(int16_t order) { tabOrder_ = order; }
    void MakeDefault(bool d) { isDefault_ = d; }

    uint32_t inputMode = kInputFocusable;
    int32_t groupId = 0;
    CWindControl* choice = nullptr;
    int32_t wantedKey = 0;
    plat::WindowHandle hwnd = 0;
    bool hasFocus = false;

private:
    Log& log_;
    std::string name_;
    int16_t tabOrder_;
    int32_t controlKind_;
    bool isDefault_ = false;
};

// An application that logs every engine message it is sent, and shows each to onMessage.
class TestAppl : public CAppl {
public:
    explicit TestAppl(Log& log) : log_(log) {}
    bool HandleMessage(CMessage& m, CBaseObj* sender) override
    {
        log_.push_back("appl:" + std::to_string(m.GetId()) + "/" + std::to_string(m.GetParam(2)));
        if (onMessage)
            onMessage(m);
        return CAppl::HandleMessage(m, sender);
    }
    std::function<void(CMessage&)> onMessage;

private:
    Log& log_;
};

// A root frame of the given client size at the origin.
inline CFrame* Root(int16_t width, int16_t height, Log& log)
{
    return new LogFrame(log, "root", CRect(0, 0, height, width), CBaseObj::kNewId, false);
}

// A window of the type made, created with its own style and shown.
inline CWind* MakeWindow(int32_t type, CFrame* root, uint32_t flags = 0, CWind* parent = nullptr)
{
    auto* w = new CWind(type, root, nullptr, flags);
    uint32_t exStyle = 0;
    const uint32_t style = w->GetStyle(exStyle);
    w->Create(type, nullptr, style, exStyle, parent);
    w->ShowWnd();
    return w;
}

// Dispatches every waiting platform message (paints included) the way the pump does.
inline int PumpAll()
{
    int n = 0;
    plat::PlatMessage m;
    while (n < 10000 && plat::PeekWindowMessage(m, true)) {
        CDispatchScope pass;
        const ApplHooks& hooks = GetApplHooks();
        if (hooks.isHotKeyMessage && hooks.isHotKeyMessage(m)) {
            if (GetMenuBar() && hooks.invokeHotKey)
                hooks.invokeHotKey(GetMenuBar(), m.wParam);
        } else {
            plat::DispatchWindowMessage(m);
        }
        ++n;
    }
    return n;
}

// The screen point of a client point of the window.
inline plat::Point ScreenOf(const CWind& w, int x, int y)
{
    return plat::ClientToScreen(w.GetHwnd(), {x, y});
}

// Runs the action once, a few ticks after it is made, from the timer queue.
class Later {
public:
    explicit Later(std::function<void()> action, uint32_t ticks = 3)
        : action_(std::move(action)),
          timer_(std::make_unique<CTimerEvent>(ticks, &Fire, this, GetRealClock()))
    {
    }

private:
    static bool Fire(void* self)
    {
        auto* later = static_cast<Later*>(self);
        std::function<void()> action = std::move(later->action_);
        later->timer_.reset();
        if (action)
            action();
        return true;
    }
    std::function<void()> action_;
    std::unique_ptr<CTimerEvent> timer_;
};

// Every test of the window layer starts with the engine's classes and hooks.
class WindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterEngineClasses();
        InstallWindowHooks();
    }
    Log log;
};

} // namespace wtest
