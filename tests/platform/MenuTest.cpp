#include <gtest/gtest.h>

#include <optional>

#include "platform/Desktop.h"
#include "platform/Input.h"
#include "platform/Menu.h"
#include "platform/Metrics.h"
#include "platform/Window.h"
#include "tests/platform/WindowTestKit.h"

namespace {

using plat::MenuHandle;
using plat::Point;
using plat::Rect;
using plat::WindowHandle;
namespace msg = plat::msg;
namespace key = plat::key;

Point Centre(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// A main window with the strip "&File | &Game" ; File: Open, -, Grey (greyed), Recent >
// (First); Game: New (checked).
struct MenuWindow {
    wintest::Recorder rec;
    MenuHandle strip = plat::CreateMenu();
    MenuHandle file = plat::CreateMenu();
    MenuHandle recent = plat::CreateMenu();
    MenuHandle game = plat::CreateMenu();
    WindowHandle window = 0;

    MenuWindow()
    {
        plat::AppendMenuItem(recent, {"First", 31});
        plat::AppendMenuItem(file, {"&Open\tCtrl+O", 11});
        plat::AppendMenuItem(file, {"-", 0, 0, true});
        plat::AppendMenuItem(file, {"Grey", 13, 0, false, true});
        plat::AppendMenuItem(file, {"Recent", 14, recent});
        plat::AppendMenuItem(game, {"&New", 21, 0, false, false, true});
        plat::AppendMenuItem(strip, {"&File", 1, file});
        plat::AppendMenuItem(strip, {"&Game", 2, game});
        window = wintest::MakeTopLevel("Main", {80, 60, 720, 540});
        plat::SetWindowMenu(window, strip);
        plat::ShowWindow(window, plat::ShowCommand::Show);
        wintest::PumpAll();
        rec.Clear();
    }

    std::vector<uintptr_t> Commands() const
    {
        std::vector<uintptr_t> ids;
        for (const wintest::Seen& s : rec.Of(msg::Command))
            ids.push_back(s.wParam);
        return ids;
    }
};

TEST(Menu, ModelKeepsItemsAndDestroysItsPopups)
{
    const MenuHandle top = plat::CreateMenu();
    const MenuHandle sub = plat::CreateMenu();
    EXPECT_TRUE(plat::AppendMenuItem(top, {"A", 1}));
    EXPECT_TRUE(plat::AppendMenuItem(top, {"Sub", 2, sub}));
    EXPECT_FALSE(plat::AppendMenuItem(top, {"Bad", 3, 999})); // a popup that is not a menu
    EXPECT_FALSE(plat::AppendMenuItem(top, {"Self", 4, top}));
    EXPECT_EQ(plat::GetMenuItemCount(top), 2);
    EXPECT_TRUE(plat::CheckMenuItem(top, 0, true));
    EXPECT_TRUE(plat::EnableMenuItem(top, 0, false));
    EXPECT_TRUE(plat::ModifyMenuItem(top, 0, 7, "B"));
    const std::optional<plat::MenuItem> item = plat::GetMenuItem(top, 0);
    ASSERT_TRUE(item.has_value());
    EXPECT_EQ(item->text, "B");
    EXPECT_EQ(item->id, 7u);
    EXPECT_TRUE(item->checked);
    EXPECT_TRUE(item->grayed);
    EXPECT_FALSE(plat::CheckMenuItem(top, 2, true));
    EXPECT_FALSE(plat::GetMenuItem(top, -1).has_value());

    EXPECT_TRUE(plat::DestroyMenu(top));
    EXPECT_FALSE(plat::IsMenu(sub));
    EXPECT_FALSE(plat::DestroyMenu(sub)); // gone with its menu
    EXPECT_EQ(plat::GetMenuItemCount(top), -1);
}

TEST(Menu, TheStripTakesItsHeightFromTheClientArea)
{
    MenuWindow m;
    EXPECT_EQ(plat::GetClientRect(m.window), (Rect{0, 0, 640, 461}));
    plat::SetWindowMenu(m.window, 0);
    EXPECT_EQ(plat::GetClientRect(m.window), (Rect{0, 0, 640, 480}));
    EXPECT_EQ(m.rec.Of(msg::Size).size(), 1u);
    // The strip is drawn across the top, in the menu colour, below the caption.
    plat::SetWindowMenu(m.window, m.strip);
    EXPECT_EQ(plat::DesktopPixel(700, 70), 7);
    EXPECT_EQ(plat::GetPresentedArea(), (Rect{80, 60, 720, 540}));
}

TEST(Menu, APressOnTheStripOpensItsMenuAndAReleaseOnAnItemPicksIt)
{
    MenuWindow m;
    const Rect fileItem = plat::GetWindowRect(m.window);
    plat::InjectMouseMove({fileItem.left + 10, 70});
    plat::InjectMouseButton(plat::MouseButton::Left, true, {fileItem.left + 10, 70});
    wintest::PumpAll();
    plat::InjectMouseButton(plat::MouseButton::Left, false, {fileItem.left + 10, 70});
    ASSERT_TRUE(plat::GetMenuTracking().has_value());
    EXPECT_EQ(m.rec.Of(msg::InitMenu).size(), 1u);
    EXPECT_EQ(m.rec.Of(msg::InitMenu)[0].wParam, m.strip);
    EXPECT_EQ(plat::GetMenuTracking()->openMenus, (std::vector<MenuHandle>{m.strip, m.file}));
    // The open menu shows below the strip item, above the window.
    const Rect open = plat::GetMenuItemScreenRect(0, 0);
    EXPECT_EQ(open.top, plat::GetMenuItemScreenRect(-1, 0).bottom + plat::GetMetrics().fixedFrame);
    EXPECT_EQ(plat::DesktopPixel(open.left + 2, open.top + 2), 7);

    // A release on the greyed item does nothing; hovering the popup item opens its menu.
    plat::InjectMouseMove(Centre(plat::GetMenuItemScreenRect(0, 2)));
    plat::InjectMouseButton(plat::MouseButton::Left, false, Centre(plat::GetMenuItemScreenRect(0, 2)));
    EXPECT_TRUE(plat::GetMenuTracking().has_value());
    plat::InjectMouseMove(Centre(plat::GetMenuItemScreenRect(0, 3)));
    EXPECT_EQ(plat::GetMenuTracking()->openMenus.size(), 3u);
    const Point first = Centre(plat::GetMenuItemScreenRect(1, 0));
    plat::InjectMouseMove(first);
    plat::InjectMouseButton(plat::MouseButton::Left, true, first);
    plat::InjectMouseButton(plat::MouseButton::Left, false, first);
    EXPECT_FALSE(plat::GetMenuTracking().has_value());
    wintest::PumpAll();
    EXPECT_EQ(m.Commands(), (std::vector<uintptr_t>{31}));
    EXPECT_EQ(m.rec.Of(msg::Command)[0].lParam, 0);
    EXPECT_TRUE(m.rec.Of(msg::LButtonDown).empty());  // the menu took every press
    EXPECT_EQ(plat::GetTopLevelWindows().size(), 1u); // its popups are gone
}

TEST(Menu, F10AndTheArrowKeysWalkTheMenus)
{
    MenuWindow m;
    plat::PressKey(key::F10);
    wintest::PumpAll();
    ASSERT_TRUE(plat::GetMenuTracking().has_value());
    EXPECT_EQ(plat::GetMenuTracking()->stripItem, 0);
    EXPECT_EQ(plat::GetMenuTracking()->openMenus.size(), 1u); // highlighted, not open

    plat::PressKey(key::Down); // opens File on its first item
    EXPECT_EQ(plat::GetMenuTracking()->highlighted, (std::vector<int>{0, 0}));
    plat::PressKey(key::Down); // skips the separator, stops on the greyed item
    EXPECT_EQ(plat::GetMenuTracking()->highlighted.back(), 2);
    plat::PressKey(key::Enter); // greyed: nothing
    EXPECT_TRUE(plat::GetMenuTracking().has_value());
    plat::PressKey(key::Right); // File's highlighted item opens nothing: on to Game
    EXPECT_EQ(plat::GetMenuTracking()->stripItem, 1);
    EXPECT_EQ(plat::GetMenuTracking()->openMenus.back(), m.game);
    plat::PressKey(key::Escape); // closes Game, the strip stays highlighted
    EXPECT_EQ(plat::GetMenuTracking()->openMenus.size(), 1u);
    plat::PressKey(key::Left);
    plat::PressKey(key::Enter); // opens File
    plat::PressKey(key::Down);
    plat::PressKey(key::Enter); // picks Open
    EXPECT_FALSE(plat::GetMenuTracking().has_value());
    wintest::PumpAll();
    EXPECT_EQ(m.Commands(), (std::vector<uintptr_t>{11}));
    EXPECT_TRUE(m.rec.Of(msg::KeyDown).empty()); // the open menu took the keys
}

TEST(Menu, LetterKeysPickAndAPressElsewhereCloses)
{
    MenuWindow m;
    plat::PressKey(key::F10);
    wintest::PumpAll();
    plat::InjectChar('g'); // opens Game
    EXPECT_EQ(plat::GetMenuTracking()->openMenus.back(), m.game);
    plat::InjectChar('n'); // picks New
    wintest::PumpAll();
    EXPECT_EQ(m.Commands(), (std::vector<uintptr_t>{21}));

    plat::PressKey(key::F10);
    wintest::PumpAll();
    plat::Click({700, 300});
    EXPECT_FALSE(plat::GetMenuTracking().has_value());
    wintest::PumpAll();
    EXPECT_TRUE(m.rec.Of(msg::LButtonDown).empty());
    EXPECT_EQ(m.Commands().size(), 1u);
}

TEST(Menu, DestroyingTheWindowEndsTheMenu)
{
    MenuWindow m;
    plat::PressKey(key::F10);
    wintest::PumpAll();
    plat::PressKey(key::Down);
    plat::DestroyWindow(m.window);
    EXPECT_FALSE(plat::GetMenuTracking().has_value());
    EXPECT_TRUE(plat::GetTopLevelWindows().empty());
    EXPECT_TRUE(plat::IsMenu(m.strip)); // menus belong to their maker, not the window
}

} // namespace
