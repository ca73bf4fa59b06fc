#pragma once
// CMainWnd: the 640 x 480 game window, the root frame inside the top-level window. It owns
// the module manager and turns the messages that ask for another screen into module
// switches. CMsgFilter: a small live object of the application that answers the windows'
// close query.
#include <cstdint>

#include "engine/controls/Frame.h"
#include "engine/framework/EventObj.h"

class CModuleMgr;

class CMainWnd : public CFrame {
public:
    static constexpr int32_t kId = 920;
    // Messages the game window takes.
    static constexpr int32_t kMsgSuspendCurrent = 100;
    static constexpr int32_t kMsgLeaveModule = 101;
    static constexpr int32_t kMsgRequestModule = 102;
    // Template list of the start-over question, and its "no" answer.
    static constexpr int32_t kStartOverList = 4999;
    static constexpr int32_t kStartOverNo = 5000;

    CMainWnd(int32_t id, const CRect& rect);
    // Deletes the module manager first.
    ~CMainWnd() override;

    // Registers itself as a live object when it gets an owner.
    void SetOwner(CBaseObj* owner) override;
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;

    // Makes the module manager and starts the travel module in it.
    void CreateModuleMgr();
    void SwitchToModule(int32_t index, bool suspendCurrent);
    void RequestModule(int32_t index, bool suspendCurrent);
    // Runs the start-over question; true unless it was answered "no" (5000).
    bool AskStartOver();

    // The module type of a screen message id (145-198), -1 for none.
    static int32_t ModuleForMessage(int32_t id);
};

class CMsgFilter : public CEventObj {
public:
    CMsgFilter();
    CMsgFilter* Reset()
    {
        word_ = 0;
        return this;
    }
    // The windows' close query (-9) is answered as handled.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;

private:
    int32_t word_ = 0;
};

// Queues message 101 (leave the current module) to the game window, due after `delay` ticks,
// so that the module asking is not taken down inside its own handler.
void QueueLeaveModule(int16_t delay);

// Resets the application's message filter when there is one.
void ResetGlobalMsgFilter();
