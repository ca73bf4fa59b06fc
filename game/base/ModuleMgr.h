#pragma once
// CModuleMgr: owns the game's modules (at most one of each type 0-11), the current one and a
// stack of module types waiting to run or to be resumed. It builds modules on demand through
// the module factory, closes or suspends the current one for the next, owns the control bar
// and the full-screen message shown while a module is being built.
//
// Modules are taken down with the frames' deferred deletion: a module may well be closed
// from inside its own handler (a click that asks to leave), so its frame is taken out of
// the game window at once and freed when the running dispatch has returned.
#include <array>
#include <cstdint>
#include <memory>

#include "game/base/IdStack.h"
#include "game/base/Module.h"

class CCtrlBarFrm;
class CFrame;
class CModuleBackFrm;
class CStr;

class CModuleMgr : public CIdStack {
public:
    static constexpr int32_t kModuleCount = 12;
    static constexpr int32_t kTravel = 10;
    static constexpr int32_t kLandmark = 9;
    // String list of the module messages.
    static constexpr int32_t kMessageList = 2000;

    CModuleMgr(CFrame* gameWindow, int16_t capacity);
    ~CModuleMgr();
    CModuleMgr(const CModuleMgr&) = delete;
    CModuleMgr& operator=(const CModuleMgr&) = delete;

    CModule* GetModule(int32_t i) const;
    // Module i as one of the interfaces of ModuleLinks.h (or any class it is), or null.
    template <class T> T* GetModuleAs(int32_t i) const { return dynamic_cast<T*>(GetModule(i)); }
    int16_t GetCurModule() const { return static_cast<int16_t>(current_); }
    void SetCurModule(int32_t i) { current_ = i; }
    int16_t PeekPending() const { return Peek(); }
    void PushCurrent() { Push(static_cast<int16_t>(current_)); }
    void SetGuideTopic(int16_t topic) { guideTopic_ = topic; }
    int16_t GetGuideTopic() const { return guideTopic_; }
    void SuppressNextMessage() { firstActivation_ = false; }
    CCtrlBarFrm* GetCtrlBar() const { return ctrlBar_; }
    CFrame* GetGameWindow() const { return gameWindow_; }
    CModuleBackFrm* GetMessageFrame() const { return messageFrame_; }

    // Pushes the type unless the stack holds it (or is full): false then.
    bool Request(int32_t i);
    // Makes the type on top of the stack current: resumed when it exists, else built.
    bool Activate();
    // Closes the current module for the pending one, when the module agrees.
    bool SwitchClose();
    // Suspends the current module and runs the pending one; the suspended one is resumed
    // when that one closes.
    bool SwitchSuspend();
    // Hides the module of type i and takes it down; true also for an empty slot.
    bool DestroyModule(int32_t i);
    // The module factory: builds type i into its slot and attaches it to the game window.
    bool CreateModule(int32_t i);

    // Entry n of the module messages (a new string), null when there is none.
    std::unique_ptr<CStr> GetMessageText(int32_t n) const;
    void ShowMessage(int32_t n);
    // Covers the game window with the message ("Default string!" for null).
    void ShowMessageText(std::unique_ptr<CStr> text);
    void HideMessage();
    // Before a switch to the type: suspends the travel module and shows the type's message.
    void PrepareSwitch(int32_t type);

private:
    bool ValidSlot(int32_t i) const { return i >= 0 && i < kModuleCount; }
    void MakeCtrlBar();

    std::array<CModule*, kModuleCount> modules_{};
    CCtrlBarFrm* ctrlBar_ = nullptr;
    int32_t current_ = -1;
    CFrame* gameWindow_;
    CModuleBackFrm* messageFrame_ = nullptr;
    bool firstActivation_ = false;
    int16_t guideTopic_ = 0;
};
