// The menu model, the menu strip of a window, and the open menus while the user moves
// through them. An open menu is shown in a top-most popup window of the window system's own.
#include "platform/Menu.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "platform/Metrics.h"
#include "platform/WindowInternal.h"

namespace plat {

using namespace detail;

namespace {

constexpr MenuHandle kFirstMenu = 0x20000;
constexpr int kStripPad = 6;   // blank on each side of a strip item's text
constexpr int kMarkWidth = 16; // the column for check marks, and for the popup arrow
constexpr int kSeparatorHeight = 8;
constexpr const char* kPopupClass = "#MenuPopup";

struct MenuRecord {
    std::vector<MenuItem> items;
};

struct OpenMenu {
    MenuHandle menu = 0;
    WindowHandle popup = 0;
    int highlighted = -1;
};

struct Tracking {
    bool active = false;
    WindowHandle window = 0;
    MenuHandle strip = 0;
    int stripItem = -1;
    std::vector<OpenMenu> open;
};

struct MenuState {
    std::map<MenuHandle, MenuRecord> menus;
    MenuHandle next = kFirstMenu;
    Tracking tracking;
};

MenuState g_menus;

MenuRecord* FindMenu(MenuHandle menu)
{
    auto it = g_menus.menus.find(menu);
    return it == g_menus.menus.end() ? nullptr : &it->second;
}

MenuItem* FindItem(MenuHandle menu, int position)
{
    MenuRecord* m = FindMenu(menu);
    if (!m || position < 0 || static_cast<size_t>(position) >= m->items.size())
        return nullptr;
    return &m->items[static_cast<size_t>(position)];
}

uint8_t Sys(SysColor c) { return PaletteIndexOf(GetSysColor(c)); }

// The text shown for an item: without its "&" marks, split at the tab.
std::string ShownText(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        out += text[i];
    }
    return out;
}

std::pair<std::string, std::string> SplitAtTab(std::string_view text)
{
    const size_t tab = text.find('\t');
    if (tab == std::string_view::npos)
        return {ShownText(text), {}};
    return {ShownText(text.substr(0, tab)), ShownText(text.substr(tab + 1))};
}

// The item's letter key (the character after a single "&"), lower case; 0 when none.
char Mnemonic(std::string_view text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '&') {
            if (text[i + 1] != '&')
                return static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1])));
            ++i;
        }
    }
    return 0;
}

void RedrawStripsShowing(MenuHandle menu)
{
    for (auto& [h, w] : System().windows) {
        if (w->menu == menu && !w->destroying)
            PaintMenuStrip(*w);
    }
}

// Rows of an open menu, in the popup's window coordinates.
std::vector<Rect> PopupRows(MenuHandle menu, int* widthOut)
{
    const MenuRecord* m = FindMenu(menu);
    const int border = GetMetrics().fixedFrame;
    const int rowHeight = GetMetrics().menuHeight;
    int textWidth = 0;
    if (m) {
        for (const MenuItem& item : m->items) {
            const auto [left, right] = SplitAtTab(item.text);
            textWidth = std::max(textWidth,
                                 UiTextWidth(left) + (right.empty() ? 0 : kMarkWidth + UiTextWidth(right)));
        }
    }
    const int width = 2 * border + 2 * kMarkWidth + textWidth;
    std::vector<Rect> rows;
    int y = border;
    if (m) {
        for (const MenuItem& item : m->items) {
            const int h = item.separator ? kSeparatorHeight : rowHeight;
            rows.push_back({border, y, width - border, y + h});
            y += h;
        }
    }
    if (widthOut)
        *widthOut = width;
    return rows;
}

void DrawCheckMark(Surface& s, int x, int y, uint8_t color)
{
    // A tick: a short stroke down to the right, then a long one up to the right.
    static const int kTick[7][2] = {{0, 2}, {1, 3}, {2, 4}, {3, 3}, {4, 2}, {5, 1}, {6, 0}};
    for (const auto& p : kTick)
        FillRect(s, Rect::FromSize(x + p[0], y + p[1], 1, 3), color);
}

void PaintPopup(const OpenMenu& open)
{
    WindowRecord* w = Find(open.popup);
    const MenuRecord* m = FindMenu(open.menu);
    if (!w || !m)
        return;
    Surface& s = w->surface;
    const Rect outer{0, 0, w->rect.Width(), w->rect.Height()};
    FillRect(s, outer, Sys(SysColor::Menu));
    FillRect(s, {0, 0, outer.right, 1}, Sys(SysColor::ButtonHighlight));
    FillRect(s, {0, 0, 1, outer.bottom}, Sys(SysColor::ButtonHighlight));
    FillRect(s, {0, outer.bottom - 1, outer.right, outer.bottom}, Sys(SysColor::WindowFrame));
    FillRect(s, {outer.right - 1, 0, outer.right, outer.bottom}, Sys(SysColor::WindowFrame));
    const std::vector<Rect> rows = PopupRows(open.menu, nullptr);
    for (size_t i = 0; i < rows.size(); ++i) {
        const MenuItem& item = m->items[i];
        const Rect row = rows[i];
        if (item.separator) {
            const int mid = (row.top + row.bottom) / 2;
            FillRect(s, {row.left + 1, mid - 1, row.right - 1, mid}, Sys(SysColor::ButtonShadow));
            FillRect(s, {row.left + 1, mid, row.right - 1, mid + 1}, Sys(SysColor::ButtonHighlight));
            continue;
        }
        const bool lit = static_cast<int>(i) == open.highlighted;
        if (lit)
            FillRect(s, row, Sys(SysColor::Highlight));
        const uint8_t text =
            item.grayed ? Sys(SysColor::GrayText) : Sys(lit ? SysColor::HighlightText : SysColor::MenuText);
        const int textY = row.top + (row.Height() - UiTextHeight()) / 2;
        if (item.checked)
            DrawCheckMark(s, row.left + 4, row.top + (row.Height() - 7) / 2, text);
        const auto [left, right] = SplitAtTab(item.text);
        DrawUiText(s, row.left + kMarkWidth, textY, left, text, row);
        if (!right.empty())
            DrawUiText(s, row.right - kMarkWidth - UiTextWidth(right), textY, right, text, row);
        if (item.popup) {
            const int cx = row.right - kMarkWidth / 2, cy = (row.top + row.bottom) / 2;
            for (int k = 0; k < 4; ++k)
                FillRect(s, {cx - 2 + k, cy - 3 + k, cx - 1 + k, cy + 4 - k}, text);
        }
    }
}

void EnsurePopupClass()
{
    WindowClass cls;
    cls.name = kPopupClass;
    cls.proc = DefaultWindowProc;
    RegisterWindowClass(cls); // refused when it exists already, which is fine
}

// Opens a menu as a new level at a screen point (its corner), kept on the screen.
void OpenLevel(MenuHandle menu, Point at)
{
    if (!FindMenu(menu))
        return;
    EnsurePopupClass();
    int width = 0;
    const std::vector<Rect> rows = PopupRows(menu, &width);
    const int height = (rows.empty() ? 0 : rows.back().bottom) + GetMetrics().fixedFrame;
    const Metrics m = GetMetrics();
    at.x = std::max(0, std::min(at.x, m.screenWidth - width));
    at.y = std::max(0, std::min(at.y, m.screenHeight - height));
    WindowParams params;
    params.className = kPopupClass;
    params.style = style::Popup | style::Disabled; // never activated, never given input
    params.exStyle = exstyle::TopMost;
    params.rect = Rect::FromSize(at.x, at.y, width, height);
    const WindowHandle popup = CreateWindow(params);
    if (!popup)
        return;
    ValidateRect(popup, nullptr);
    ShowWindow(popup, ShowCommand::ShowNoActivate);
    g_menus.tracking.open.push_back({menu, popup, -1});
    PaintPopup(g_menus.tracking.open.back());
}

void CloseLevelsFrom(size_t level)
{
    Tracking& t = g_menus.tracking;
    while (t.open.size() > level) {
        const WindowHandle popup = t.open.back().popup;
        t.open.pop_back();
        DestroyWindow(popup);
    }
}

Rect StripItemScreenRect(int index)
{
    const WindowRecord* w = Find(g_menus.tracking.window);
    if (!w)
        return {};
    const std::vector<Rect> items = MenuStripItemRects(*w);
    if (index < 0 || static_cast<size_t>(index) >= items.size())
        return {};
    const Point corner = ScreenCorner(*w);
    return items[static_cast<size_t>(index)].Offset(corner.x, corner.y);
}

void RepaintTracking()
{
    if (WindowRecord* w = Find(g_menus.tracking.window))
        PaintMenuStrip(*w);
    for (const OpenMenu& open : g_menus.tracking.open)
        PaintPopup(open);
}

void PostCommandAndEnd(uint32_t id)
{
    const WindowHandle window = g_menus.tracking.window;
    EndMenuTracking();
    PostWindowMessage(window, msg::Command, id, 0);
}

// Opens the menu of a strip item, or picks a strip item that is a command.
void SelectStripItem(int index, bool open)
{
    Tracking& t = g_menus.tracking;
    const int count = GetMenuItemCount(t.strip);
    if (count <= 0) {
        EndMenuTracking();
        return;
    }
    CloseLevelsFrom(0);
    t.stripItem = (index % count + count) % count;
    const MenuItem* item = FindItem(t.strip, t.stripItem);
    if (open && item && item->popup && !item->grayed) {
        const Rect r = StripItemScreenRect(t.stripItem);
        OpenLevel(item->popup, {r.left, r.bottom});
    }
    RepaintTracking();
}

// Picks the highlighted item of the deepest open menu.
void PickHighlighted()
{
    Tracking& t = g_menus.tracking;
    if (t.open.empty())
        return;
    OpenMenu& level = t.open.back();
    const MenuItem* item = FindItem(level.menu, level.highlighted);
    if (!item || item->separator || item->grayed)
        return;
    if (item->popup) {
        const Rect r = GetMenuItemScreenRect(static_cast<int>(t.open.size()) - 1, level.highlighted);
        OpenLevel(item->popup, {r.right, r.top - GetMetrics().fixedFrame});
        if (!t.open.empty() && t.open.back().menu == item->popup)
            t.open.back().highlighted = 0;
        RepaintTracking();
        return;
    }
    PostCommandAndEnd(item->id);
}

// Moves the highlight of the deepest open menu to the next item that is not a separator.
void StepHighlight(int step)
{
    OpenMenu& level = g_menus.tracking.open.back();
    const int count = GetMenuItemCount(level.menu);
    int at = level.highlighted;
    for (int tries = 0; tries < count; ++tries) {
        at = at < 0 ? (step > 0 ? 0 : count - 1) : ((at + step) % count + count) % count;
        const MenuItem* item = FindItem(level.menu, at);
        if (item && !item->separator) {
            level.highlighted = at;
            break;
        }
    }
    RepaintTracking();
}

struct MenuSpot {
    int level = -2; // -1 the strip, 0.. an open menu, -2 nowhere
    int item = -1;
};

MenuSpot SpotAt(Point screen)
{
    const Tracking& t = g_menus.tracking;
    for (int level = static_cast<int>(t.open.size()) - 1; level >= 0; --level) {
        const int count = GetMenuItemCount(t.open[static_cast<size_t>(level)].menu);
        for (int i = 0; i < count; ++i) {
            if (GetMenuItemScreenRect(level, i).Contains(screen))
                return {level, i};
        }
        if (GetWindowRect(t.open[static_cast<size_t>(level)].popup).Contains(screen))
            return {level, -1};
    }
    const int strips = GetMenuItemCount(t.strip);
    for (int i = 0; i < strips; ++i) {
        if (StripItemScreenRect(i).Contains(screen))
            return {-1, i};
    }
    return {};
}

void HoverOpenItem(int level, int index)
{
    Tracking& t = g_menus.tracking;
    CloseLevelsFrom(static_cast<size_t>(level) + 1);
    t.open[static_cast<size_t>(level)].highlighted = index;
    const MenuItem* item = FindItem(t.open[static_cast<size_t>(level)].menu, index);
    if (item && item->popup && !item->grayed && !item->separator) {
        const Rect r = GetMenuItemScreenRect(level, index);
        OpenLevel(item->popup, {r.right, r.top - GetMetrics().fixedFrame});
    }
    RepaintTracking();
}

} // namespace

namespace detail {

void ResetMenus() { g_menus = MenuState{}; }

std::vector<Rect> MenuStripItemRects(const WindowRecord& w)
{
    std::vector<Rect> rects;
    const MenuRecord* m = FindMenu(w.menu);
    const Rect strip = MenuStripArea(w);
    if (!m || strip.Empty())
        return rects;
    int x = strip.left;
    for (const MenuItem& item : m->items) {
        const int width = item.separator ? kStripPad : UiTextWidth(ShownText(item.text)) + 2 * kStripPad;
        rects.push_back({x, strip.top, x + width, strip.bottom});
        x += width;
    }
    return rects;
}

void PaintMenuStrip(WindowRecord& w)
{
    const Rect strip = MenuStripArea(w);
    if (strip.Empty())
        return;
    Surface& s = w.surface;
    FillRect(s, strip, Sys(SysColor::Menu));
    const MenuRecord* m = FindMenu(w.menu);
    if (!m)
        return;
    const Tracking& t = g_menus.tracking;
    const std::vector<Rect> rects = MenuStripItemRects(w);
    for (size_t i = 0; i < rects.size(); ++i) {
        const MenuItem& item = m->items[i];
        if (item.separator)
            continue;
        const bool lit = t.active && t.window == w.handle && t.stripItem == static_cast<int>(i);
        if (lit)
            FillRect(s, rects[i], Sys(SysColor::Highlight));
        const uint8_t color =
            item.grayed ? Sys(SysColor::GrayText) : Sys(lit ? SysColor::HighlightText : SysColor::MenuText);
        const int y = strip.top + (strip.Height() - UiTextHeight()) / 2;
        DrawUiText(s, rects[i].left + kStripPad, y, ShownText(item.text), color, Intersect(rects[i], strip));
    }
}

void StartMenuTracking(WindowHandle window, int item, bool open)
{
    const WindowRecord* w = Find(window);
    if (!w || !FindMenu(w->menu))
        return;
    EndMenuTracking();
    Tracking& t = g_menus.tracking;
    t.active = true;
    t.window = window;
    t.strip = w->menu;
    SendWindowMessage(window, msg::InitMenu, t.strip);
    if (!t.active || t.window != window || !IsWindow(window))
        return;
    SelectStripItem(std::max(item, 0), open);
}

bool IsMenuTracking() { return g_menus.tracking.active; }

void EndMenuTracking()
{
    Tracking& t = g_menus.tracking;
    if (!t.active)
        return;
    CloseLevelsFrom(0);
    const WindowHandle window = t.window;
    t = Tracking{};
    if (WindowRecord* w = Find(window))
        PaintMenuStrip(*w);
}

void MenuWindowGone(WindowHandle window)
{
    if (g_menus.tracking.active && IsSameOrDescendant(g_menus.tracking.window, window))
        EndMenuTracking();
}

bool MenuTrackMouse(uint32_t message, Point screen)
{
    Tracking& t = g_menus.tracking;
    if (!t.active)
        return false;
    const MenuSpot spot = SpotAt(screen);
    if (message == msg::MouseMove) {
        if (spot.level >= 0 && spot.item >= 0)
            HoverOpenItem(spot.level, spot.item);
        else if (spot.level == -1 && !t.open.empty() && spot.item != t.stripItem)
            SelectStripItem(spot.item, true);
        return true;
    }
    if (message == msg::LButtonDown) {
        if (spot.level == -2) {
            EndMenuTracking(); // a press elsewhere closes the menu and goes nowhere else
        } else if (spot.level == -1) {
            if (spot.item == t.stripItem && !t.open.empty())
                EndMenuTracking();
            else
                SelectStripItem(spot.item, true);
        } else if (spot.item >= 0) {
            HoverOpenItem(spot.level, spot.item);
        }
        return true;
    }
    // A release picks the item under it.
    if (spot.level >= 0 && spot.item >= 0) {
        CloseLevelsFrom(static_cast<size_t>(spot.level) + 1);
        t.open[static_cast<size_t>(spot.level)].highlighted = spot.item;
        PickHighlighted();
    } else if (spot.level == -1 && spot.item == t.stripItem) {
        const MenuItem* item = FindItem(t.strip, t.stripItem);
        if (item && !item->popup && !item->separator && !item->grayed)
            PostCommandAndEnd(item->id);
    }
    return true;
}

bool MenuTrackKey(uint8_t k)
{
    Tracking& t = g_menus.tracking;
    if (!t.active)
        return false;
    switch (k) {
    case key::Escape:
        if (!t.open.empty())
            CloseLevelsFrom(t.open.size() - 1);
        else
            EndMenuTracking();
        RepaintTracking();
        break;
    case key::F10:
    case key::Alt: EndMenuTracking(); break;
    case key::Left:
        if (t.open.size() > 1) {
            CloseLevelsFrom(t.open.size() - 1);
            RepaintTracking();
        } else {
            SelectStripItem(t.stripItem - 1, !t.open.empty());
        }
        break;
    case key::Right: {
        const MenuItem* item =
            t.open.empty() ? nullptr : FindItem(t.open.back().menu, t.open.back().highlighted);
        if (item && item->popup && !item->grayed)
            PickHighlighted();
        else
            SelectStripItem(t.stripItem + 1, !t.open.empty());
        break;
    }
    case key::Down:
    case key::Up:
        if (t.open.empty()) {
            SelectStripItem(t.stripItem, true);
            if (!t.open.empty())
                StepHighlight(k == key::Down ? 1 : -1);
        } else {
            StepHighlight(k == key::Down ? 1 : -1);
        }
        break;
    case key::Enter:
        if (t.open.empty()) {
            const MenuItem* item = FindItem(t.strip, t.stripItem);
            if (item && !item->popup && !item->separator && !item->grayed)
                PostCommandAndEnd(item->id);
            else
                SelectStripItem(t.stripItem, true);
        } else {
            PickHighlighted();
        }
        break;
    default: break;
    }
    return true;
}

bool MenuTrackChar(uint8_t ch)
{
    Tracking& t = g_menus.tracking;
    if (!t.active)
        return false;
    const char want = static_cast<char>(std::tolower(ch));
    const MenuHandle menu = t.open.empty() ? t.strip : t.open.back().menu;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const MenuItem* item = FindItem(menu, i);
        if (!item || item->separator || Mnemonic(item->text) != want)
            continue;
        if (t.open.empty()) {
            SelectStripItem(i, true);
            if (!t.open.empty())
                StepHighlight(1);
        } else {
            t.open.back().highlighted = i;
            PickHighlighted();
        }
        break;
    }
    return true;
}

} // namespace detail

MenuHandle CreateMenu()
{
    const MenuHandle h = g_menus.next++;
    g_menus.menus.emplace(h, MenuRecord{});
    return h;
}

bool DestroyMenu(MenuHandle menu)
{
    MenuRecord* m = FindMenu(menu);
    if (!m)
        return false;
    if (g_menus.tracking.active && (g_menus.tracking.strip == menu ||
                                    std::any_of(g_menus.tracking.open.begin(), g_menus.tracking.open.end(),
                                                [menu](const OpenMenu& o) { return o.menu == menu; })))
        EndMenuTracking();
    std::vector<MenuHandle> popups;
    for (const MenuItem& item : m->items) {
        if (item.popup)
            popups.push_back(item.popup);
    }
    g_menus.menus.erase(menu);
    for (MenuHandle p : popups)
        DestroyMenu(p);
    RedrawStripsShowing(menu);
    return true;
}

bool IsMenu(MenuHandle menu) { return FindMenu(menu) != nullptr; }

bool AppendMenuItem(MenuHandle menu, const MenuItem& item)
{
    MenuRecord* m = FindMenu(menu);
    if (!m || (item.popup && (!FindMenu(item.popup) || item.popup == menu)))
        return false;
    m->items.push_back(item);
    RedrawStripsShowing(menu);
    return true;
}

int GetMenuItemCount(MenuHandle menu)
{
    const MenuRecord* m = FindMenu(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

std::optional<MenuItem> GetMenuItem(MenuHandle menu, int position)
{
    const MenuItem* item = FindItem(menu, position);
    return item ? std::optional<MenuItem>(*item) : std::nullopt;
}

bool CheckMenuItem(MenuHandle menu, int position, bool checked)
{
    MenuItem* item = FindItem(menu, position);
    if (!item)
        return false;
    item->checked = checked;
    RedrawStripsShowing(menu);
    return true;
}

bool EnableMenuItem(MenuHandle menu, int position, bool enabled)
{
    MenuItem* item = FindItem(menu, position);
    if (!item)
        return false;
    item->grayed = !enabled;
    RedrawStripsShowing(menu);
    return true;
}

bool ModifyMenuItem(MenuHandle menu, int position, uint32_t id, std::string_view text)
{
    MenuItem* item = FindItem(menu, position);
    if (!item)
        return false;
    item->id = id;
    item->text = std::string(text);
    RedrawStripsShowing(menu);
    return true;
}

bool RemoveMenuItem(MenuHandle menu, int position)
{
    MenuRecord* m = FindMenu(menu);
    if (!FindItem(menu, position))
        return false;
    if (g_menus.tracking.active)
        EndMenuTracking();
    m->items.erase(m->items.begin() + position);
    RedrawStripsShowing(menu);
    return true;
}

std::optional<MenuTrackingState> GetMenuTracking()
{
    const Tracking& t = g_menus.tracking;
    if (!t.active)
        return std::nullopt;
    MenuTrackingState s;
    s.window = t.window;
    s.stripItem = t.stripItem;
    s.openMenus.push_back(t.strip);
    s.highlighted.push_back(t.stripItem);
    for (const OpenMenu& o : t.open) {
        s.openMenus.push_back(o.menu);
        s.highlighted.push_back(o.highlighted);
    }
    return s;
}

Rect GetMenuItemScreenRect(int level, int position)
{
    const Tracking& t = g_menus.tracking;
    if (!t.active)
        return {};
    if (level == -1)
        return StripItemScreenRect(position);
    if (level < 0 || static_cast<size_t>(level) >= t.open.size())
        return {};
    const OpenMenu& o = t.open[static_cast<size_t>(level)];
    const std::vector<Rect> rows = PopupRows(o.menu, nullptr);
    if (position < 0 || static_cast<size_t>(position) >= rows.size())
        return {};
    const Rect outer = GetWindowRect(o.popup);
    return rows[static_cast<size_t>(position)].Offset(outer.left, outer.top);
}

} // namespace plat
