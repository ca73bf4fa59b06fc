// Window classes, the window tree, placement, showing, enabling, z-order and activation.
#include <algorithm>
#include <cstring>

#include "platform/Desktop.h"
#include "platform/Files.h"
#include "platform/Input.h"
#include "platform/Menu.h"
#include "platform/Metrics.h"
#include "platform/WindowInternal.h"
#include "platform/widgets/WidgetCore.h"

namespace plat {
namespace detail {

namespace {

// Surfaces larger than this on either side are refused: a window that size is a mistake.
constexpr int32_t kMaxWindowSide = 8192;

Rect ClampSize(const Rect& r)
{
    Rect out = r;
    out.right = out.left + std::clamp(r.Width(), 0, kMaxWindowSide);
    out.bottom = out.top + std::clamp(r.Height(), 0, kMaxWindowSide);
    return out;
}

} // namespace

WindowSystem& System()
{
    static WindowSystem system;
    return system;
}

WindowRecord* Find(WindowHandle window)
{
    if (window == 0)
        return nullptr;
    auto& windows = System().windows;
    auto it = windows.find(window);
    if (it == windows.end() || it->second->destroying)
        return nullptr;
    return it->second.get();
}

Point ScreenCorner(const WindowRecord& w)
{
    Point p = w.rect.TopLeft();
    if (w.IsChild()) {
        if (const WindowRecord* parent = Find(w.parent)) {
            const Point pc = ScreenCorner(*parent);
            const Rect client = ClientArea(*parent);
            p.x += pc.x + client.left;
            p.y += pc.y + client.top;
        }
    }
    return p;
}

bool IsOnScreen(const WindowRecord& w)
{
    if (!w.visible || w.minimized)
        return false;
    if (w.IsChild()) {
        const WindowRecord* parent = Find(w.parent);
        return parent && IsOnScreen(*parent);
    }
    // An owned window shows even when its owner is hidden, but not while it is minimized.
    for (const WindowRecord* o = Find(w.owner); o; o = Find(o->owner)) {
        if (o->minimized)
            return false;
    }
    return true;
}

bool IsEffectivelyEnabled(const WindowRecord& w)
{
    if (!w.enabled)
        return false;
    if (!w.IsChild())
        return true;
    const WindowRecord* parent = Find(w.parent);
    return parent && IsEffectivelyEnabled(*parent);
}

bool IsSameOrDescendant(WindowHandle window, WindowHandle ancestor)
{
    for (const WindowRecord* w = Find(window); w; w = w->IsChild() ? Find(w->parent) : nullptr) {
        if (w->handle == ancestor)
            return true;
    }
    return false;
}

namespace {

void RemoveFrom(std::vector<WindowHandle>& list, WindowHandle h)
{
    list.erase(std::remove(list.begin(), list.end(), h), list.end());
}

// Puts a top-level window at the top of its band (top-most or not), then its owned
// windows above it in their present order.
void RaiseTopLevel(WindowHandle h)
{
    WindowSystem& sys = System();
    WindowRecord* w = Find(h);
    if (!w)
        return;
    RemoveFrom(sys.zOrder, h);
    const bool topMost = (w->exStyle & exstyle::TopMost) != 0;
    auto pos = sys.zOrder.end();
    if (!topMost) {
        pos = std::find_if(sys.zOrder.begin(), sys.zOrder.end(), [](WindowHandle o) {
            const WindowRecord* r = Find(o);
            return r && (r->exStyle & exstyle::TopMost);
        });
    }
    sys.zOrder.insert(pos, h);
    std::vector<WindowHandle> owned;
    for (WindowHandle o : sys.zOrder) {
        const WindowRecord* r = Find(o);
        if (r && r->owner == h)
            owned.push_back(o);
    }
    for (WindowHandle o : owned)
        RaiseTopLevel(o);
}

void ApplyRect(WindowRecord& w, const Rect& requested, size::Kind kind)
{
    const WindowHandle h = w.handle;
    const Rect r = ClampSize(requested);
    const bool moved = r.TopLeft() != w.rect.TopLeft();
    const bool resized = r.Width() != w.rect.Width() || r.Height() != w.rect.Height();
    w.rect = r;
    if (resized) {
        w.surface = Surface(r.Width(), r.Height());
        w.surface.colors = GetDesktopPalette();
        PaintNonClient(w);
        w.invalid.Clear();
        InvalidateRect(h, nullptr, true);
    }
    if (resized || kind != size::Restored) {
        const Rect client = ClientArea(w);
        SendWindowMessage(h, msg::Size, kind, PackWords(client.Width(), client.Height()));
    }
    if (moved) {
        WindowRecord* again = Find(h);
        if (again) {
            const Rect client = ClientArea(*again);
            SendWindowMessage(h, msg::Move, 0, PackWords(r.left + client.left, r.top + client.top));
        }
    }
}

// A window and every window below it, each before its children.
void CollectSubtree(WindowHandle h, std::vector<WindowHandle>& out)
{
    out.push_back(h);
    if (const WindowRecord* w = Find(h)) {
        const std::vector<WindowHandle> children = w->children;
        for (WindowHandle c : children)
            CollectSubtree(c, out);
    }
}

} // namespace

MinMaxInfo AskMinMax(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    const Metrics m = GetMetrics();
    const int f = w ? FrameThickness(w->style, w->exStyle) : 0;
    MinMaxInfo info;
    info.maxSize = {m.screenWidth + 2 * f, m.screenHeight + 2 * f};
    info.maxPosition = {-f, -f};
    info.minTrackSize = {m.minTrackWidth, m.minTrackHeight};
    info.maxTrackSize = {m.screenWidth + 2 * f, m.screenHeight + 2 * f};
    SendWindowMessage(window, msg::GetMinMaxInfo, 0, reinterpret_cast<intptr_t>(&info));
    return info;
}

WindowHandle ActivateWindowBy(WindowHandle window, bool byClick)
{
    WindowSystem& sys = System();
    const WindowHandle old = sys.active;
    if (window == 0) {
        if (old) {
            sys.active = 0;
            SendWindowMessage(old, msg::NcActivate, 0, 0);
            SendWindowMessage(old, msg::Activate, activate::Inactive, 0);
        }
        return old;
    }
    const WindowHandle top = GetTopLevel(window);
    if (!Find(top) || top == old)
        return old;
    sys.active = top;
    sys.lastActive = top;
    if (Find(old)) {
        SendWindowMessage(old, msg::NcActivate, 0, static_cast<intptr_t>(top));
        SendWindowMessage(old, msg::Activate, activate::Inactive, static_cast<intptr_t>(top));
        if (sys.active != top)
            return old; // the old window handed the activation elsewhere meanwhile
    }
    RaiseTopLevel(top);
    SendWindowMessage(top, msg::QueryNewPalette);
    SendWindowMessage(top, msg::NcActivate, 1, static_cast<intptr_t>(old));
    const WindowRecord* w = Find(top);
    if (w && sys.active == top) {
        const uint32_t state = byClick ? activate::ClickActive : activate::Active;
        SendWindowMessage(top, msg::Activate, state | (w->minimized ? 0x10000u : 0u),
                          static_cast<intptr_t>(old));
    }
    return old;
}

void ActivateNextAfter(WindowHandle gone)
{
    WindowSystem& sys = System();
    if (sys.active != gone && sys.active != 0)
        return;
    sys.active = 0;
    if (sys.lastActive == gone)
        sys.lastActive = 0;
    const WindowRecord* g = Find(gone);
    if (g && g->owner) {
        const WindowRecord* owner = Find(g->owner);
        if (owner && IsOnScreen(*owner) && owner->enabled) {
            ActivateWindowBy(owner->handle, false);
            return;
        }
    }
    for (auto it = sys.zOrder.rbegin(); it != sys.zOrder.rend(); ++it) {
        const WindowRecord* w = Find(*it);
        if (w && *it != gone && IsOnScreen(*w) && w->enabled) {
            ActivateWindowBy(*it, false);
            return;
        }
    }
}

} // namespace detail

using namespace detail;

namespace {

// The widget classes are the window system's own: registered before anything else looks at
// the classes, and again after a reset.
void EnsureSystemClasses()
{
    WindowSystem& sys = System();
    if (sys.systemClasses)
        return;
    sys.systemClasses = true;
    RegisterWidgetClasses();
}

} // namespace

bool RegisterWindowClass(const WindowClass& cls)
{
    EnsureSystemClasses();
    if (cls.name.empty() || !cls.proc || cls.extraBytes < 0 || cls.extraBytes > 4096)
        return false;
    for (const auto& c : System().classes) {
        if (NamesEqualNoCase(c->cls.name, cls.name))
            return false;
    }
    auto rec = std::make_shared<ClassRecord>();
    rec->cls = cls;
    System().classes.push_back(std::move(rec));
    return true;
}

bool UnregisterWindowClass(std::string_view name)
{
    EnsureSystemClasses();
    auto& classes = System().classes;
    for (auto it = classes.begin(); it != classes.end(); ++it) {
        if (NamesEqualNoCase((*it)->cls.name, name)) {
            if ((*it)->liveWindows > 0)
                return false;
            classes.erase(it);
            return true;
        }
    }
    return false;
}

WindowHandle CreateWindow(const WindowParams& params)
{
    EnsureSystemClasses();
    WindowSystem& sys = System();
    std::shared_ptr<ClassRecord> cls;
    for (const auto& c : sys.classes) {
        if (NamesEqualNoCase(c->cls.name, params.className))
            cls = c;
    }
    if (!cls)
        return 0;
    const bool child = (params.style & style::Child) != 0;
    WindowRecord* parent = Find(params.parent);
    if (child && !parent)
        return 0;

    auto rec = std::make_unique<WindowRecord>();
    WindowRecord& w = *rec;
    w.handle = sys.nextHandle++;
    w.cls = cls;
    w.title = params.title;
    w.style = params.style & ~(style::Visible | style::Disabled);
    w.exStyle = params.exStyle;
    w.enabled = (params.style & style::Disabled) == 0;
    w.extra.assign(static_cast<size_t>(cls->cls.extraBytes), 0);
    if (child) {
        w.parent = parent->handle;
        parent->children.push_back(w.handle);
    } else {
        w.owner = parent ? GetTopLevel(parent->handle) : 0;
        w.menu = IsMenu(params.menu) ? params.menu : 0;
    }
    w.rect = ClampSize(params.rect);
    w.restoreRect = w.rect;
    w.surface = Surface(w.rect.Width(), w.rect.Height());
    w.surface.colors = GetDesktopPalette();
    const WindowHandle h = w.handle;
    sys.windows.emplace(h, std::move(rec));
    if (!child)
        RaiseTopLevel(h);
    ++cls->liveWindows;
    UpdateWindowMarker(*Find(h));

    if (SendWindowMessage(h, msg::Create, 0, params.createData) == -1) {
        DestroyWindow(h);
        return 0;
    }
    WindowRecord* again = Find(h);
    if (!again)
        return 0;
    PaintNonClient(*again);
    const Rect client = ClientArea(*again);
    SendWindowMessage(h, msg::Size, size::Restored, PackWords(client.Width(), client.Height()));
    InvalidateRect(h, nullptr, true);
    if ((params.style & style::Visible) && IsWindow(h))
        ShowWindow(h, child ? ShowCommand::ShowNoActivate : ShowCommand::Show);
    return IsWindow(h) ? h : 0;
}

bool DestroyWindow(WindowHandle window)
{
    WindowSystem& sys = System();
    WindowRecord* w = Find(window);
    if (!w)
        return false;
    // Owned windows go first, entirely.
    std::vector<WindowHandle> owned;
    for (WindowHandle o : sys.zOrder) {
        const WindowRecord* r = Find(o);
        if (r && r->owner == window)
            owned.push_back(o);
    }
    for (WindowHandle o : owned)
        DestroyWindow(o);
    w = Find(window);
    if (!w)
        return true;

    std::vector<WindowHandle> subtree;
    CollectSubtree(window, subtree);
    const bool wasActive = sys.active == window;
    for (WindowHandle h : subtree)
        ForgetWindowInput(h, true);
    // The window hears of its end before its children, then none of them is a window.
    for (WindowHandle h : subtree)
        SendWindowMessage(h, msg::Destroy);
    for (WindowHandle h : subtree) {
        if (WindowRecord* r = Find(h))
            r->destroying = true;
    }
    for (auto it = subtree.rbegin(); it != subtree.rend(); ++it) {
        auto found = sys.windows.find(*it);
        if (found == sys.windows.end())
            continue;
        WindowRecord& r = *found->second;
        --r.cls->liveWindows;
        if (r.IsChild()) {
            auto p = sys.windows.find(r.parent);
            if (p != sys.windows.end())
                RemoveFrom(p->second->children, *it);
        } else {
            RemoveFrom(sys.zOrder, *it);
        }
        if (sys.lastActive == *it)
            sys.lastActive = 0;
        DropWindowMarker(*it);
        sys.windows.erase(found);
    }
    if (wasActive) {
        sys.active = 0;
        ActivateNextAfter(window);
    }
    return true;
}

bool IsWindow(WindowHandle window) { return Find(window) != nullptr; }

WindowHandle GetParent(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    return w && w->IsChild() ? w->parent : 0;
}

WindowHandle GetOwner(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    return w ? w->owner : 0;
}

WindowHandle GetTopLevel(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    while (w && w->IsChild())
        w = Find(w->parent);
    return w ? w->handle : 0;
}

std::vector<WindowHandle> GetChildren(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    return w ? w->children : std::vector<WindowHandle>{};
}

std::vector<WindowHandle> GetTopLevelWindows() { return System().zOrder; }

namespace {

WindowHandle ChildAt(const WindowRecord& w, Point screen)
{
    const Point corner = ScreenCorner(w);
    const Rect client = ClientArea(w).Offset(corner.x, corner.y);
    if (!client.Contains(screen))
        return w.handle;
    for (auto it = w.children.rbegin(); it != w.children.rend(); ++it) {
        const WindowRecord* c = Find(*it);
        if (!c || !c->visible || !c->enabled)
            continue;
        const Point cc = ScreenCorner(*c);
        if (Rect::FromSize(cc.x, cc.y, c->rect.Width(), c->rect.Height()).Contains(screen))
            return ChildAt(*c, screen);
    }
    return w.handle;
}

} // namespace

WindowHandle WindowFromPoint(Point screen)
{
    const auto& z = System().zOrder;
    for (auto it = z.rbegin(); it != z.rend(); ++it) {
        const WindowRecord* w = Find(*it);
        if (w && IsOnScreen(*w) && w->rect.Contains(screen))
            return ChildAt(*w, screen);
    }
    return 0;
}

std::string GetClassName(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    return w ? w->cls->cls.name : std::string();
}

uint32_t GetStyle(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    if (!w)
        return 0;
    return w->style | (w->visible ? style::Visible : 0u) | (w->enabled ? 0u : style::Disabled);
}

uint32_t GetExStyle(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    return w ? w->exStyle : 0;
}

void SetTitle(WindowHandle window, std::string_view title)
{
    if (WindowRecord* w = Find(window)) {
        w->title = std::string(title);
        UpdateWindowMarker(*w);
        PaintNonClient(*w);
    }
}

std::string GetTitle(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    return w ? w->title : std::string();
}

void SetWindowObject(WindowHandle window, void* object)
{
    if (WindowRecord* w = Find(window))
        w->object = object;
}

void* GetWindowObject(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    return w ? w->object : nullptr;
}

bool SetWindowExtra(WindowHandle window, int offset, uintptr_t value)
{
    WindowRecord* w = Find(window);
    if (!w || offset < 0 || static_cast<size_t>(offset) + sizeof value > w->extra.size())
        return false;
    std::memcpy(w->extra.data() + offset, &value, sizeof value);
    return true;
}

uintptr_t GetWindowExtra(WindowHandle window, int offset)
{
    const WindowRecord* w = Find(window);
    uintptr_t value = 0;
    if (!w || offset < 0 || static_cast<size_t>(offset) + sizeof value > w->extra.size())
        return 0;
    std::memcpy(&value, w->extra.data() + offset, sizeof value);
    return value;
}

Rect GetWindowRect(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    if (!w)
        return {};
    const Point c = ScreenCorner(*w);
    return Rect::FromSize(c.x, c.y, w->rect.Width(), w->rect.Height());
}

Rect GetClientRect(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    if (!w)
        return {};
    const Rect c = ClientArea(*w);
    return {0, 0, c.Width(), c.Height()};
}

Point ClientToScreen(WindowHandle window, Point p)
{
    const WindowRecord* w = Find(window);
    if (!w)
        return p;
    const Point corner = ScreenCorner(*w);
    const Rect c = ClientArea(*w);
    return {p.x + corner.x + c.left, p.y + corner.y + c.top};
}

Point ScreenToClient(WindowHandle window, Point p)
{
    const Point zero = ClientToScreen(window, {0, 0});
    return {p.x - zero.x, p.y - zero.y};
}

Rect OuterRectForClient(const Rect& client, uint32_t style, uint32_t exStyle, bool hasMenu)
{
    const int f = FrameThickness(style, exStyle);
    const int top =
        CaptionHeight(style, exStyle) + (hasMenu && !(style & style::Child) ? GetMetrics().menuHeight : 0);
    return {client.left - f, client.top - f - top, client.right + f, client.bottom + f};
}

void SetWindowRect(WindowHandle window, const Rect& rect)
{
    if (WindowRecord* w = Find(window))
        ApplyRect(*w, rect, size::Restored);
}

void MoveWindowTo(WindowHandle window, int32_t x, int32_t y)
{
    if (const WindowRecord* w = Find(window))
        SetWindowRect(window, Rect::FromSize(x, y, w->rect.Width(), w->rect.Height()));
}

bool ShowWindow(WindowHandle window, ShowCommand command)
{
    WindowSystem& sys = System();
    WindowRecord* w = Find(window);
    if (!w)
        return false;
    const bool wasVisible = w->visible;
    const bool topLevel = !w->IsChild();
    auto show = [&]() {
        if (!w->visible) {
            w->visible = true;
            SendWindowMessage(window, msg::ShowWindow, 1);
            if (WindowRecord* again = Find(window))
                QueuePaint(*again, true);
        }
    };
    switch (command) {
    case ShowCommand::Hide:
        if (w->visible) {
            w->visible = false;
            SendWindowMessage(window, msg::ShowWindow, 0);
            ForgetWindowInput(window, false);
            if (topLevel && sys.active == window)
                ActivateNextAfter(window);
        }
        break;
    case ShowCommand::ShowNoActivate: show(); break;
    case ShowCommand::Show:
        show();
        if (topLevel && Find(window))
            ActivateWindowBy(window, false);
        break;
    case ShowCommand::Minimize:
        show();
        if (Find(window) && !w->minimized) {
            w->minimized = true;
            const Rect client = ClientArea(*w);
            SendWindowMessage(window, msg::Size, size::Minimized, PackWords(client.Width(), client.Height()));
            if (topLevel && sys.active == window)
                ActivateNextAfter(window);
        }
        break;
    case ShowCommand::Maximize:
        show();
        if (Find(window) && !w->maximized) {
            const MinMaxInfo info = AskMinMax(window);
            if (!Find(window))
                break;
            w->restoreRect = w->rect;
            w->maximized = true;
            w->minimized = false;
            ApplyRect(*w,
                      Rect::FromSize(info.maxPosition.x, info.maxPosition.y, info.maxSize.x, info.maxSize.y),
                      size::Maximized);
        }
        if (topLevel && Find(window))
            ActivateWindowBy(window, false);
        break;
    case ShowCommand::Restore:
        show();
        if (Find(window) && w->minimized) {
            w->minimized = false;
            QueuePaint(*w, true);
            for (WindowHandle o : sys.zOrder) {
                if (WindowRecord* owned = Find(o); owned && owned->owner == window)
                    QueuePaint(*owned, true); // back on the screen with their owner
            }
            const Rect client = ClientArea(*w);
            SendWindowMessage(window, msg::Size, w->maximized ? size::Maximized : size::Restored,
                              PackWords(client.Width(), client.Height()));
        } else if (Find(window) && w->maximized) {
            w->maximized = false;
            ApplyRect(*w, w->restoreRect, size::Restored);
        }
        if (topLevel && Find(window))
            ActivateWindowBy(window, false);
        break;
    }
    return wasVisible;
}

bool IsVisible(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    if (!w || !w->visible)
        return false;
    return !w->IsChild() || IsVisible(w->parent);
}

bool IsMinimized(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    return w && w->minimized;
}

bool IsMaximized(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    return w && w->maximized;
}

bool EnableWindow(WindowHandle window, bool enable)
{
    WindowRecord* w = Find(window);
    if (!w)
        return false;
    const bool wasDisabled = !w->enabled;
    if (w->enabled == enable)
        return wasDisabled;
    w->enabled = enable;
    if (!enable)
        ForgetWindowInput(window, false);
    SendWindowMessage(window, msg::Enable, enable ? 1 : 0);
    return wasDisabled;
}

bool IsEnabled(WindowHandle window)
{
    const WindowRecord* w = Find(window);
    return w && w->enabled;
}

void BringToTop(WindowHandle window)
{
    WindowRecord* w = Find(window);
    if (!w)
        return;
    if (w->IsChild()) {
        if (WindowRecord* parent = Find(w->parent)) {
            RemoveFrom(parent->children, window);
            parent->children.push_back(window);
        }
        return;
    }
    RaiseTopLevel(window);
}

void SetTopMost(WindowHandle window, bool topMost)
{
    WindowRecord* w = Find(window);
    if (!w || w->IsChild())
        return;
    w->exStyle = topMost ? (w->exStyle | exstyle::TopMost) : (w->exStyle & ~exstyle::TopMost);
    RaiseTopLevel(window);
}

WindowHandle ActivateWindow(WindowHandle window) { return ActivateWindowBy(window, false); }

WindowHandle GetActiveWindow() { return System().active; }

void ResetWindowSystem()
{
    WindowSystem& sys = System();
    sys.windows.clear();
    sys = WindowSystem{};
    ResetWindowMarkers();
    ResetInput();
    ResetMenus();
    ResetCursors();
    ResetCaret();
    ResetDesktop();
    widgets::ResetWidgetRecords();
    EnsureSystemClasses();
}

} // namespace plat
