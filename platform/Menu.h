#pragma once
// Menus: lists of items (commands, separators, popups that open further menus), each
// command item with an id, and checked or greyed. A menu attached to a top-level window
// (SetWindowMenu, Window.h) is drawn as a strip across the top of it. The strip opens by a
// press on one of its items or by F10; then the arrow keys, Enter and Esc move through the
// menus, and picking a command item posts msg::Command (wParam = the item's id, lParam 0)
// to the window. Before a strip opens the window gets msg::InitMenu with the strip's menu.
// In item texts "&" marks the next letter as the item's letter key ("&&" is an ampersand)
// and a tab starts the text shown at the right.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Window.h"

namespace plat {

struct MenuItem {
    std::string text;
    uint32_t id = 0;
    MenuHandle popup = 0; // a menu this item opens; 0 for a command item
    bool separator = false;
    bool grayed = false;
    bool checked = false;
};

MenuHandle CreateMenu();
// Destroys the menu and, before it, the menus its items open. False for a handle that is
// not a menu.
bool DestroyMenu(MenuHandle menu);
bool IsMenu(MenuHandle menu);
// False when the menu does not exist or the item's popup is not a menu.
bool AppendMenuItem(MenuHandle menu, const MenuItem& item);
// -1 for a handle that is not a menu.
int GetMenuItemCount(MenuHandle menu);
std::optional<MenuItem> GetMenuItem(MenuHandle menu, int position);
// The changes below return false for a missing menu or position; a window showing the
// menu as its strip draws it again.
bool CheckMenuItem(MenuHandle menu, int position, bool checked);
bool EnableMenuItem(MenuHandle menu, int position, bool enabled);
bool ModifyMenuItem(MenuHandle menu, int position, uint32_t id, std::string_view text);
// Takes the entry out of the menu; a menu it opens is left alive for its owner to destroy.
bool RemoveMenuItem(MenuHandle menu, int position);

// While a menu is open: the window whose strip it is, the strip item, and the item
// highlighted in each open menu (-1 none), the strip's menu first.
struct MenuTrackingState {
    WindowHandle window = 0;
    int stripItem = -1;
    std::vector<MenuHandle> openMenus;
    std::vector<int> highlighted;
};
std::optional<MenuTrackingState> GetMenuTracking();
// The screen rectangle of an item of an open menu (level 0 = the first menu below the
// strip), or of a strip item (level -1); empty when not shown.
Rect GetMenuItemScreenRect(int level, int position);

} // namespace plat
