#pragma once
// The application object: the root of a running program. CBaseAppl checks at start-up that
// the machine can run the product, reads the product version and runs the message pump;
// CAppl adds the engine-wide managers and clocks, palette, fonts, menu bar, pause and
// resume. The program derives its own application from CAppl.
//
// One pump pass runs the due timers, then (unless messages are held) the due engine
// messages, then takes at most one platform message. When nothing is due and no platform
// message waits, the pass sleeps on the platform until the next timer, queued message or
// input event, so an idle program does not spin.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/framework/ApplHooks.h"
#include "engine/framework/EventObj.h"

class CFileSpec;
class CMsgMgr;
class CTimerEvent;

// What the product needs of the machine.
struct ApplRequirements {
    uint32_t freeMemory = 3072000; // bytes of free memory
    int16_t requiredDepth = 8;     // bits per pixel
    int16_t recommendedDepth = 0;  // 0 = no recommendation
};

class CBaseAppl : public CEventObj {
public:
    // Null requirements take the defaults. A machine that cannot run the product ends the
    // program here with a message box.
    explicit CBaseAppl(const ApplRequirements* requirements = nullptr);
    ~CBaseAppl() override;

    // One pass of the pump. Waiting for a platform message and peeking behave alike: a
    // pass that finds nothing to do sleeps until something is due.
    virtual void PumpMessage(bool peek);
    // Asked before the window procedure handles a platform message; true swallows it.
    virtual bool FilterWindowMessage(plat::WindowHandle, uint32_t, uintptr_t, intptr_t) { return false; }
    // Called each time a menu is about to open.
    virtual void OnInitMenu() {}
    virtual void Resume() = 0;
    virtual void Pause() = 0;

    static CBaseAppl* GetAppl();
    // Free physical memory plus free swap, in bytes, at most 0x7FFFFFFF.
    static int32_t GetFreeMemory();
    // Sends message -19 with a file spec (word 2) for every argument on the
    // command line, in order; a receiver that handles it owns the file spec, otherwise
    // it is deleted.
    void SendCommandLineFiles();
    // Shows start-up string n under "Launch Error" and ends the program.
    [[noreturn]] static void StartupError(int16_t stringId);

    // The product version text, "0.0.0" when the program has none (at most 15 characters).
    const char* GetVersion() const { return version_.c_str(); }
    // The display depth the start-up check found (24 reported as 32).
    int16_t GetDisplayDepth() const { return depth_; }

protected:
    // The real-clock tick at which the innermost PumpFor ends; a pass never sleeps past it.
    std::optional<uint32_t> pumpEndTick_;

private:
    void WaitForWork();

    std::string version_ = "0.0.0";
    int16_t depth_ = 0;
};

class CAppl : public CBaseAppl {
public:
    // Creates the cursor manager, library manager, message manager and the two clocks.
    explicit CAppl(const ApplRequirements* requirements = nullptr);
    ~CAppl() override;

    // Start-up called by the program's application: needs an open library, loads the
    // engine strings, the palette, the fonts and the menu bar.
    void Init(int32_t paletteId);

    // -8 quits; -34 ... -30 go to the active window's focus control.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    void Resume() override;
    void Pause() override;
    virtual void SetRegistered(bool registered);
    // Pumps until the quit flag is set (at least one pass), then deletes the idle timer.
    virtual void Run();
    // Tells the user that memory runs low; called by memory blocks before they retry.
    // Answers the number of bytes freed (none here).
    virtual int32_t LowMemoryNotice(int32_t size);
    // Replaces the menu bar by one built from the menu resource.
    virtual void CreateMenuBar();
    // Sound hooks a program may override; the engine's do nothing.
    virtual void* StartSound(int32_t, uint32_t, int32_t) { return nullptr; }
    virtual void StopSound(int32_t, int32_t) {}
    // Pumps until the quit flag is set or the tick has moved past now + ticks.
    virtual void PumpFor(int16_t ticks);
    virtual void OnMenuBarCreated(CMenuBar*) {}
    // The idle timer's expiry: sets the quit flag.
    virtual void OnIdleTimer();

    // Makes the palette of that id current; false when it is current already or invalid.
    bool SetPalette(int32_t id, uint32_t libraryMask);
    // Makes the palette current and applies it to every window; false for none.
    bool InstallPalette(CPalette* palette, int32_t id);
    CPalette* GetPalette() const { return palette_; }
    int32_t GetPaletteId() const { return paletteId_; }
    // Replaces the idle timer by one of the given period on the game clock.
    void StartIdleTimer(uint32_t period);
    CTimerEvent* GetIdleTimer() const { return idleTimer_.get(); }
    void SetMessagesHeld(bool held);

private:
    static bool IdleCallback(void* appl);

    std::unique_ptr<CTimerEvent> idleTimer_;
    int32_t paletteId_ = -1;
    CPalette* palette_ = nullptr;
    std::unique_ptr<CMsgMgr> msgMgr_;
};

// The application object, or null when none exists.
CBaseAppl* GetApplication();

// The quit flag that ends Run.
void SetQuitRequested(bool quit);
bool IsQuitRequested();
// Whether the application is paused (its messages are held).
bool IsAppPaused();

// The menu bar; setting one deletes the current one.
void SetMenuBar(CMenuBar* menuBar);
CMenuBar* GetMenuBar();

// 0: the border window behind the main window is maximised; 1: restored.
void SetScreenBorder(uint8_t restored);
uint8_t GetScreenBorder();

// The window-frame switch, on at start: while it is on, the first top-level window gets the
// menu bar and top-level windows their caption and frame; off, they are plain popups.
// Clearing it also maximises the border window behind them (SetScreenBorder(0)).
void SetUseMenuBar(bool use);
bool UseMenuBar();

// The program's command line: the program path, then its arguments.
void SetCommandLine(std::vector<std::string> arguments);
const std::vector<std::string>& GetCommandLine();

// The file spec for a command-line argument: an engine path (one with a drive
// letter or a backslash; "X:NAME" lies in the root of drive X), or else a host path under
// one of the drives. The folder is kept as written and the file name takes the
// letter case stored on disk. Null for a path the engine cannot name.
std::unique_ptr<CFileSpec> CommandLineFileSpec(const std::string& argument);

// The texts of the start-up checks by string id (1-15); empty for any other id.
const char* GetStartupString(int16_t id);

// Puts the application's globals back to their start state (tests).
void ResetApplGlobals();
