#pragma once
// What the application calls on subsystems that sit beside it: the menu bar, cursors,
// palettes, fonts, windows and the library manager. Each subsystem
// fills in its own entries when it starts; an empty entry does nothing (or answers the
// value its comment gives), so the application runs before those subsystems exist and tests
// set only what they watch. Hooks are filled when the program starts (not during static
// initialisation): the test harness clears them before every test.
#include <cstdint>
#include <functional>

#include "platform/MessageQueue.h"

class CMenuBar;
class CPalette;

struct ApplHooks {
    // Record formats the engine defines at start ("LID": ulong, ulong, long, string, string).
    std::function<void()> defineRecordFormats;
    std::function<void()> createCursorMgr;
    std::function<void()> deleteCursorMgr;
    // Makes the standard arrow current (cursor 0, every library).
    std::function<void()> setDefaultCursor;
    std::function<void()> createLibMgr;
    std::function<void()> deleteLibMgr;
    // The number of open libraries (0 when empty).
    std::function<int32_t()> libraryCount;
    // Loads the engine's message string list ("STR" 8) and installs it (SetEngineStringList).
    std::function<void()> loadEngineStrings;

    // A palette from a palette resource (null when empty or not found).
    std::function<CPalette*(int32_t id, uint32_t libraryMask)> createPalette;
    // Whether a palette is usable (false when empty).
    std::function<bool(CPalette*)> isPaletteValid;
    std::function<void(CPalette*)> deletePalette;
    std::function<void(CPalette*)> setPaletteAllWindows;

    std::function<void()> initFonts;
    std::function<void()> deleteFonts;
    std::function<void()> createScratchDC;
    std::function<void()> deleteScratchDC;

    // The menu bar built from "MNU" 1000 (null when empty).
    std::function<CMenuBar*()> buildMenuBar;
    std::function<void(CMenuBar*)> detachMenuBar;
    std::function<void(CMenuBar*)> deleteMenuBar;
    std::function<void(CMenuBar*, bool suspend)> suspendHotKeys;
    // Whether a platform message is a hot-key press; its wParam is then the hot-key id.
    std::function<bool(const plat::PlatMessage&)> isHotKeyMessage;
    // Finds the menu item of the hot key and invokes it.
    std::function<void(CMenuBar*, uintptr_t hotKeyId)> invokeHotKey;

    // Hands a platform message to the window system.
    std::function<void(const plat::PlatMessage&)> dispatchPlatformMessage;
    std::function<void()> pauseAllWindows;
    std::function<void()> restoreAllWindows;
    // Restores (true) or maximises (false) the border window when there is one.
    std::function<void(bool restored)> showBorderWnd;
    // Passes a command to the active window's key-focus control, when a window is active.
    std::function<void(int32_t id)> sendToActiveFocus;
};

ApplHooks& GetApplHooks();
