#pragma once
// CMenuBar: the main window's native menu bar, built over a menu tree whose top-level items
// are the bar's pull-down menus. There is one menu bar at a time (GetMenuBar). It finds,
// checks, enables and renames items by command id, finds items by hot key for the pump, and
// is disabled as a whole, nested, while modal layers run.
#include <cstdint>
#include <memory>

#include "platform/Menu.h"

class CMenu;
class CMenuItem;
class CNamedItem;
class CStr;

class CMenuBar {
public:
    // Takes the menu and builds the native bar: one pull-down for each top-level menu.
    explicit CMenuBar(CMenu* menu);
    // Detaches the bar from its window and destroys it with the menu tree.
    virtual ~CMenuBar();
    CMenuBar(const CMenuBar&) = delete;
    CMenuBar& operator=(const CMenuBar&) = delete;

    // Attaches the bar to the window; 0 detaches it from the window it was on.
    void SetWindow(plat::WindowHandle window);
    plat::WindowHandle GetWindow() const { return window_; }
    plat::MenuHandle GetHandle() const { return bar_; }
    CMenu* GetMenu() const { return menu_.get(); }

    // Appends a pull-down menu (owned) to the tree and the native bar.
    void AddMenu(CMenu* menu);
    // Deletes the item or sub-menu of the command id from the tree and the native menus.
    void RemoveCommand(int32_t commandId);
    CMenuItem* FindHotKeyItem(int32_t hotKeyId);
    // The command item (or sub-menu) of the id, with its menu and position.
    CNamedItem* FindCommand(int32_t commandId, CMenu** menu, int32_t* position);
    void CheckItem(int32_t commandId, bool check);
    void EnableItem(int32_t commandId, bool enable);
    void SetItemText(int32_t commandId, std::unique_ptr<CStr> text);
    // Nested enabling of the whole bar: the outermost disable records and disables the enabled
    // top-level menus; the matching enable restores those.
    void Enable(bool enable);
    int16_t GetDisableDepth() const { return depth_; }
    // Unregisters every hot key (true) or registers those of enabled items (false).
    void SuspendHotKeys(bool suspend);
    void Redraw();

private:
    // The native menu a menu of the tree lives in: the bar for the top level, else its popup.
    plat::MenuHandle NativeOf(const CMenu* menu) const;

    std::unique_ptr<CMenu> menu_;
    uint32_t enabledMask_ = 0;
    int16_t depth_ = 0;
    plat::WindowHandle window_ = 0;
    plat::MenuHandle bar_ = 0;
};

// Disables the program's menu bar, when there is one, for the guard's lifetime (nested: each
// disable has its enable). Modal runs hold one while they pump.
class MenuBarDisabled {
public:
    MenuBarDisabled();
    ~MenuBarDisabled();
    MenuBarDisabled(const MenuBarDisabled&) = delete;
    MenuBarDisabled& operator=(const MenuBarDisabled&) = delete;
};
