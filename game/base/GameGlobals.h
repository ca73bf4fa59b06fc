#pragma once
// The game's process-wide objects, one of each. The application makes and deletes the ones
// it owns (settings, printer, image cache, help popup, message filter); command 2 makes the
// game window and the top window, and the game window owns the module manager. Every user
// tests for null: a failed start leaves them empty.
#include <cstdint>

class CEditTarget;
class CCtrlBarFrm;
class CMainWnd;
class CModuleMgr;
class CMsgFilter;
class CPopWind;
class CPrinter;
class CQM3Doc;
class CRegSettings;
class CRsrcCache;
class CTopWnd;
class CWind;

struct GameGlobals {
    CRegSettings* settings = nullptr;
    CPrinter* printer = nullptr;
    CRsrcCache* imageCache = nullptr;
    CPopWind* popup = nullptr;
    CMsgFilter* msgFilter = nullptr;
    CQM3Doc* document = nullptr;
    CMainWnd* mainWnd = nullptr;
    CTopWnd* topWnd = nullptr;
    CModuleMgr* moduleMgr = nullptr;
    // The object whose text names menu item 3010 (command -36).
    CEditTarget* editTarget = nullptr;
    // 0 after a new or opened game, 1 when the open dialog was cancelled, 2 when loading failed.
    int16_t lastOpenResult = 0;
};

GameGlobals& Game();
// Empties every global (tests); owners delete their objects before.
void ResetGameGlobals();

// The accessors the screens use.
CMainWnd* GetMainWnd();
// The native top-level window that holds the game window and the menu.
CWind* GetMenuWnd();
CModuleMgr* GetModuleMgr();
// The control bar of the module manager, null when none.
CCtrlBarFrm* GetCtrlBar();
CRsrcCache* GetRsrcCache();
CQM3Doc* GetCurDoc();
CRegSettings* GetGameSettings();
// Elapsed ticks of the application's pausable game clock.
uint32_t GetAppTime();
