#include "game/base/GameGlobals.h"

#include "engine/controls/TopWnd.h"
#include "engine/framework/Stopwatch.h"
#include "game/base/ModuleMgr.h"

GameGlobals& Game()
{
    static GameGlobals globals;
    return globals;
}

void ResetGameGlobals() { Game() = GameGlobals{}; }

CMainWnd* GetMainWnd() { return Game().mainWnd; }
CWind* GetMenuWnd() { return Game().topWnd; }
CModuleMgr* GetModuleMgr() { return Game().moduleMgr; }
CCtrlBarFrm* GetCtrlBar() { return Game().moduleMgr ? Game().moduleMgr->GetCtrlBar() : nullptr; }
CRsrcCache* GetRsrcCache() { return Game().imageCache; }
CQM3Doc* GetCurDoc() { return Game().document; }
CRegSettings* GetGameSettings() { return Game().settings; }

uint32_t GetAppTime()
{
    CStopwatch* clock = GetGameClock();
    return clock ? clock->Elapsed() : 0;
}
