#include "engine/controls/WindowHooks.h"

#include "engine/controls/BorderWnd.h"
#include "engine/controls/Menu.h"
#include "engine/controls/MenuBar.h"
#include "engine/controls/Wind.h"
#include "engine/controls/WindHooks.h"
#include "engine/framework/ApplHooks.h"
#include "engine/framework/Printer.h"
#include "engine/framework/Str.h"
#include "engine/graphics/CursorMgr.h"
#include "platform/Window.h"

namespace {

// The main menu's "MNU" record.
constexpr int32_t kMainMenuId = 1000;

} // namespace

void InstallWindowHooks()
{
    ApplHooks& hooks = GetApplHooks();
    // Print dialogs belong to the top window.
    SetPrintOwnerSource([] {
        const CWind* top = CWind::GetTopWnd();
        return top ? top->GetHwnd() : plat::WindowHandle{0};
    });
    hooks.buildMenuBar = [] { return new CMenuBar(new CMenu(kMainMenuId, 0xFFFFFFFFu, nullptr)); };
    hooks.detachMenuBar = [](CMenuBar* bar) { bar->SetWindow(0); };
    hooks.deleteMenuBar = [](CMenuBar* bar) { delete bar; };
    hooks.suspendHotKeys = [](CMenuBar* bar, bool suspend) { bar->SuspendHotKeys(suspend); };
    hooks.isHotKeyMessage = [](const plat::PlatMessage& m) { return m.message == plat::msg::HotKey; };
    hooks.invokeHotKey = [](CMenuBar* bar, uintptr_t hotKeyId) {
        if (CMenuItem* item = bar->FindHotKeyItem(static_cast<int32_t>(hotKeyId)))
            item->Invoke();
    };
    hooks.dispatchPlatformMessage = [](const plat::PlatMessage& m) { plat::DispatchWindowMessage(m); };
    hooks.pauseAllWindows = [] { CWind::PauseAllWindows(); };
    hooks.restoreAllWindows = [] { CWind::RestoreAllWindows(); };
    hooks.showBorderWnd = [](bool restored) { ShowBorderWnd(restored); };
    hooks.setPaletteAllWindows = [](CPalette* palette) { CWind::SetPaletteAllWindows(palette); };
    hooks.sendToActiveFocus = [](int32_t id) {
        if (CWind* active = CWind::GetActiveWnd())
            active->SendToFocus(id, 0, 0);
    };

    // The windows show the cursors of the program's cursor manager.
    WindHooks& wind = GetWindHooks();
    wind.setCursorId = [](int32_t id, uint32_t mask) {
        if (CCursorMgr* cursors = GetCursorList())
            cursors->SetCursorId(id, mask);
    };
    wind.findOrLoadCursor = [](int32_t id, uint32_t mask) {
        if (CCursorMgr* cursors = GetCursorList())
            cursors->FindOrLoadCursor(id, mask);
    };
    wind.applyCurrentCursor = [] {
        if (CCursorMgr* cursors = GetCursorList())
            cursors->ApplyCurrent();
    };
}
