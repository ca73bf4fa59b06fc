// CWind: construction, the window lists, the native window, titles, size and position.
#include "engine/controls/Wind.h"

#include <vector>

#include "engine/controls/BorderWnd.h"
#include "engine/controls/Frame.h"
#include "engine/controls/MenuBar.h"
#include "engine/controls/TWind.h"
#include "engine/controls/WindControl.h"
#include "engine/controls/WindGlobals.h"
#include "engine/controls/WndProc.h"
#include "engine/framework/Appl.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/Diag.h"
#include "engine/framework/EngineStrings.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/graphics/Palette.h"
#include "engine/graphics/WndEnv.h"
#include "engine/resources/TplRecLoader.h"
#include "platform/DrawContext.h"
#include "platform/Input.h"
#include "platform/Metrics.h"
#include "platform/Window.h"

namespace wndglobals {

State& Get()
{
    static State state;
    return state;
}

CWindList& EnsureList(std::unique_ptr<CWindList>& list)
{
    if (!list)
        list = std::make_unique<CWindList>();
    return *list;
}

void RemoveFromList(std::unique_ptr<CWindList>& list, CWind* wnd)
{
    if (!list)
        return;
    list->RemoveItem(wnd);
    if (list->IsEmpty())
        list.reset();
}

std::vector<CWind*> Snapshot(const CWindList* list)
{
    std::vector<CWind*> out;
    if (list)
        for (CList::Node* n = list->GetHeadNode(); n; n = n->next)
            out.push_back(static_cast<CWind*>(n->item));
    return out;
}

} // namespace wndglobals

using wndglobals::Get;

namespace {

int16_t Half(int32_t v) { return static_cast<int16_t>(v / 2); }

// The client rectangle of a root frame, moved to the origin.
CRect ClientOf(const CFrame* root)
{
    if (!root)
        return CRect();
    CRect r = root->GetDrawnRect();
    r.ZeroOrigin();
    return r;
}

} // namespace

CWind::CWind(int32_t type, CFrame* root, const CPoint* position, uint32_t flags)
    : CEventObj(kKindWindow, kNewId, nullptr), noPosition_(position == nullptr), wndFlags_(flags),
      number_(Get().nextNumber++), inListA_(type == kTypeTemplate || type == kTypeTopLevel),
      sizeLimits_(64, 64, 440, 640), type_(type)
{
    frames_.Add(root);
    frameRect_ = ClientOf(root);
    if (root)
        lastClientRect_ = root->GetDrawnRect();
    if (position)
        position_ = *position;
    SetupEnvironments();
    wndglobals::EnsureList(inListA_ ? Get().listA : Get().listB).AddTail(this);
    RegisterLiveObject(this);
}

CWind::CWind(int32_t type, CFrame* root, const CPoint* position, const CWindOptions& options)
    : CWind(type, root, position, FlagsFor(options))
{
}

uint32_t CWind::FlagsFor(const CWindOptions& options)
{
    uint32_t flags = kFlagMinimizeBox;
    if (options.shadowed)
        flags |= kFlagOffScreen;
    if (options.grow)
        flags |= kFlagResizable;
    if (options.close)
        flags |= kFlagClose;
    return flags;
}

CWind::~CWind() { Teardown(); }

void CWind::Destroy()
{
    Teardown();
    DeleteWhenSafe(this);
}

void CWind::Teardown()
{
    if (tornDown_)
        return;
    tornDown_ = true;
    wndglobals::State& g = Get();
    UnregisterLiveObject(this);
    StopTimer();
    if (g.topWnd == this)
        g.topWnd = nullptr;
    Hide();
    if (g.activeWnd == this)
        g.activeWnd = nullptr;
    wndglobals::RemoveFromList(g.activation, this);
    // The window owns its frames; a frame may be among the callers of a handler that closes
    // the window, so each one is freed when it is safe.
    for (int32_t i = frames_.GetCount() - 1; i >= 0; --i) {
        auto* layer = static_cast<CFrame*>(frames_.GetAt(i));
        frames_.RemoveAt(i);
        if (!layer)
            continue;
        if (layer->GetOwner())
            layer->SetOwner(nullptr);
        layer->Destroy();
    }
    DeleteEnvironments();
    if (plat::IsWindow(hwnd_)) {
        plat::SetWindowObject(hwnd_, nullptr);
        plat::DestroyWindow(hwnd_);
    }
    hwnd_ = 0;
    wndglobals::RemoveFromList(inListA_ ? g.listA : g.listB, this);
    if (CWindControl* focus = GetKeyFocus(); focus && HasControl(focus))
        SetKeyFocus(nullptr);
    controls_.RemoveAll();
    focusControl_ = defaultControl_ = cancelControl_ = nullptr;
    lastPressed_ = nullptr;
}

uint32_t CWind::StyleFor(int32_t type, uint32_t flags, uint32_t& exStyle)
{
    using namespace plat::style;
    const uint32_t popupBorder = Popup | Border;
    const uint32_t popupCaption = Popup | Caption | SysMenu;
    const bool thin = (flags & kFlagThinBorder) != 0;
    const bool bare = (flags & kFlagPopup) != 0;
    switch (type) {
    case kTypeTopLevel: {
        exStyle = 0;
        if (thin)
            return popupBorder;
        if (bare)
            return Popup;
        uint32_t style = Caption | SysMenu;
        if (flags & kFlagResizable)
            style |= ThickFrame | MaximizeBox;
        if (flags & kFlagMinimizeBox)
            style |= MinimizeBox;
        return style;
    }
    case kTypeModalDialog:
        exStyle = plat::exstyle::DialogModalFrame | plat::exstyle::TopMost;
        return thin ? popupBorder : bare ? Popup : popupCaption;
    case kTypeDialog: return popupCaption;
    case kTypeTool:
        exStyle = plat::exstyle::TopMost | plat::exstyle::ToolWindow;
        if (thin)
            return popupBorder;
        if (bare)
            return Popup;
        return (flags & kFlagFixedSize) ? popupCaption : (Popup | Caption);
    default: return 0;
    }
}

uint32_t CWind::GetStyle(uint32_t& exStyle) const { return StyleFor(type_, wndFlags_, exStyle); }

void CWind::Create(int32_t type, const CStr* title, uint32_t style, uint32_t exStyle, CWind* parent)
{
    if (hwnd_)
        return;
    wndglobals::State& g = Get();
    type_ = type;
    parent_ = parent;
    style |= plat::style::ClipChildren;
    plat::WindowHandle owner = 0;
    if (parent) {
        style |= plat::style::ClipSiblings;
        owner = parent->GetHwnd();
    } else if (CBorderWnd* border = GetBorderWnd()) {
        owner = border->GetHwnd();
    }
    plat::MenuHandle menu = 0;
    if (inListA_ && !g.topWnd && !parent) {
        g.topWnd = this;
        if (CMenuBar* bar = GetMenuBar(); bar && UseMenuBar())
            menu = bar->GetHandle();
    }
    plat::Rect client;
    const plat::Rect outer = plat::OuterRectForClient(frameRect_.ToRECT(client), style, exStyle, menu != 0);
    plat::WindowParams spec;
    spec.className = (type == kTypeModalDialog || type == kTypeDialog) ? kDialogClassName : kWindowClassName;
    if (title) {
        CStr text(*title);
        MapTitleText(text);
        spec.title = text.GetText();
    }
    spec.style = style;
    spec.exStyle = exStyle;
    spec.rect = outer;
    spec.parent = owner;
    spec.menu = menu;
    hwnd_ = plat::CreateWindow(spec);
    if (!hwnd_) {
        const char* text = GetEngineString(17);
        ReportError(kReportFatal, text ? text : "The window could not be created.", "Wind", 1404);
        return;
    }
    if (menu)
        GetMenuBar()->SetWindow(hwnd_);
    Center();
    // The environments are set up on the new window's device context, and the off-screen
    // bitmap made at the root frame's size.
    SetupEnvironments();
    plat::SetWindowObject(hwnd_, this);
    if (CFrame* root = GetFirstFrame())
        root->SetOwner(this);
    if (position_)
        SetPosition(position_->GetH(), position_->GetV());
}

CBaseObj* CWind::CreateFromTemplate(CTObj* tpl)
{
    auto* t = static_cast<CTWind*>(tpl);
    const std::optional<CPoint> at = t->GetPosition();
    auto* wnd = new CWind(kTypeTemplate, nullptr, at ? &*at : nullptr, t->GetFlags());
    wnd->SetId(t->GetId());
    return wnd;
}

CWind* CWind::FromHandle(plat::WindowHandle hwnd)
{
    auto* wnd = static_cast<CWind*>(plat::GetWindowObject(hwnd));
    return IsLiveWindow(wnd) ? wnd : nullptr;
}

bool CWind::IsLiveWindow(const CWind* wnd)
{
    if (!wnd)
        return false;
    const wndglobals::State& g = Get();
    return (g.listB && g.listB->Contains(wnd)) || (g.listA && g.listA->Contains(wnd));
}

CWind* CWind::FindWnd(int32_t id)
{
    const wndglobals::State& g = Get();
    for (CWind* w : wndglobals::Snapshot(g.listB.get()))
        if (w->GetId() == id || (id == 0 && w->type_ == kTypeTopLevel))
            return w;
    for (CWind* w : wndglobals::Snapshot(g.listA.get()))
        if (w->GetId() == id)
            return w;
    return nullptr;
}

CWind* CWind::GetWindowAt(int32_t n)
{
    const wndglobals::State& g = Get();
    const int32_t countB = g.listB ? g.listB->GetCount() : 0;
    if (n < 0)
        return nullptr;
    if (n < countB) {
        CListIter it(g.listB.get());
        return static_cast<CWind*>(it.Nth(n));
    }
    CListIter it(g.listA.get());
    return static_cast<CWind*>(it.Nth(n - countB));
}

int32_t CWind::GetWindowCount()
{
    const wndglobals::State& g = Get();
    return (g.listA ? g.listA->GetCount() : 0) + (g.listB ? g.listB->GetCount() : 0);
}

CWind* CWind::GetFirstShownWnd(bool fromListA)
{
    const CWindList* list = fromListA ? Get().listA.get() : Get().listB.get();
    return list ? list->NextShown(nullptr) : nullptr;
}

CWind* CWind::GetTopWnd() { return Get().topWnd; }
CWind* CWind::GetActiveWnd() { return Get().activeWnd; }
CWindList* CWind::GetActivationList() { return Get().activation.get(); }
CWindList* CWind::GetListA() { return Get().listA.get(); }
CWindList* CWind::GetListB() { return Get().listB.get(); }

CFrame* CWind::FindObject(uint32_t kind, int32_t id)
{
    for (int32_t i = frames_.GetCount() - 1; i >= 0; --i)
        if (CFrame* layer = GetLayer(i))
            if (CFrame* found = layer->FindObject(kind, id))
                return found;
    return nullptr;
}

bool CWind::HandleMessage(CMessage& message, CBaseObj*)
{
    if (message.GetId() != kMsgSetTitle)
        return false;
    const auto listId = static_cast<int32_t>(message.GetParam(0));
    const auto entry = static_cast<int32_t>(message.GetParam(1));
    if (std::unique_ptr<CTplRec> list = CreateTplRec(listId, 0xFFFFFFFFu, false))
        SetTitle(list->GetEntryString(entry));
    return true;
}

void CWind::SendToFocus(int32_t id, MsgWord word2, MsgWord word3)
{
    CWindControl* focus = GetKeyFocus();
    if (!focus || !HasControl(focus))
        return;
    CMessage message(id, 0, 0, -1);
    message.SetParam(word2, 2);
    message.SetParam(word3, 3);
    DeliverMessage(*focus, message, nullptr, false);
}

void CWind::SetTitle(std::unique_ptr<CStr> title)
{
    if (!hwnd_)
        return;
    if (!title) {
        plat::SetTitle(hwnd_, "");
        return;
    }
    MapTitleText(*title);
    plat::SetTitle(hwnd_, title->GetText());
}

std::unique_ptr<CStr> CWind::GetTitle()
{
    const std::string text = hwnd_ ? plat::GetTitle(hwnd_) : std::string();
    if (text.empty())
        return nullptr;
    return std::make_unique<CStr>(text.c_str());
}

void CWind::GetCursorPos(CPoint& out, bool screen)
{
    plat::Point p = plat::GetCursorPos();
    if (!screen && hwnd_)
        p = plat::ScreenToClient(hwnd_, p);
    out.FromPOINT(p);
}

void CWind::ScreenToLocalPt(CPoint& point)
{
    if (!hwnd_)
        return;
    point.FromPOINT(plat::ScreenToClient(hwnd_, {point.GetH(), point.GetV()}));
}

void CWind::LocalToScreenPt(CPoint& point)
{
    if (!hwnd_)
        return;
    point.FromPOINT(plat::ClientToScreen(hwnd_, {point.GetH(), point.GetV()}));
}

void CWind::ScreenToLocalRect(CRect& rect)
{
    CPoint a(rect.GetLeft(), rect.GetTop());
    CPoint b(rect.GetRight(), rect.GetBottom());
    ScreenToLocalPt(a);
    ScreenToLocalPt(b);
    rect.SetCorners(a, b);
}

void CWind::LocalToScreenRect(CRect& rect)
{
    CPoint a(rect.GetLeft(), rect.GetTop());
    CPoint b(rect.GetRight(), rect.GetBottom());
    LocalToScreenPt(a);
    LocalToScreenPt(b);
    rect.SetCorners(a, b);
}

void CWind::Broadcast(const CRect& a, const CRect& b)
{
    for (int32_t i = 0; i < frames_.GetCount(); ++i)
        if (CFrame* layer = GetLayer(i))
            layer->Broadcast(a, b);
}

void CWind::Invalidate(const CRect* rect)
{
    if (!shown_ || !hwnd_)
        return;
    plat::Rect r;
    plat::InvalidateRect(hwnd_, rect ? &rect->ToRECT(r) : nullptr, false);
}

void CWind::Validate(const CRect* rect)
{
    if (!shown_ || !hwnd_)
        return;
    plat::Rect r;
    plat::ValidateRect(hwnd_, rect ? &rect->ToRECT(r) : nullptr);
}

CFrame* CWind::SetFrame(CFrame* frame)
{
    CFrame* old = GetFirstFrame();
    if (old)
        old->SetOwner(nullptr);
    if (frames_.GetCount() == 0)
        frames_.Add(frame);
    else
        frames_.SetAt(0, frame);
    if (frame) {
        const CRect& drawn = frame->GetDrawnRect();
        MoveResize(drawn.GetWidth(), drawn.GetHeight());
        if (noPosition_)
            Center();
        frame->SetOwner(this);
    }
    return old;
}

void CWind::MoveResize(int16_t width, int16_t height)
{
    if (frameRect_.GetWidth() == width && frameRect_.GetHeight() == height)
        return;
    // The size is kept even before the native window exists, so Create makes it this size.
    frameRect_.SetSize(width, height);
    if (plat::IsWindow(hwnd_)) {
        const plat::Rect client = plat::GetClientRect(hwnd_);
        const int32_t dw = width - client.Width();
        const int32_t dh = height - client.Height();
        if (dw != 0 || dh != 0) {
            const plat::Rect outer = plat::GetWindowRect(hwnd_);
            plat::SetWindowRect(hwnd_, {outer.left, outer.top, outer.right + dw, outer.bottom + dh});
        }
    }
    if (CFrame* root = GetFirstFrame()) {
        const CRect& drawn = root->GetDrawnRect();
        if (drawn.GetWidth() != width || drawn.GetHeight() != height)
            root->SetSize(width, height);
    }
    ResizeEnvironments(width, height);
    Invalidate(nullptr);
}

void CWind::Center()
{
    if (!plat::IsWindow(hwnd_))
        return;
    const plat::Rect outer = plat::GetWindowRect(hwnd_);
    int32_t x = 0;
    int32_t y = 0;
    if (!parent_ || !plat::IsWindow(parent_->hwnd_)) {
        const plat::Metrics m = plat::GetMetrics();
        x = Half(m.screenWidth) - Half(outer.Width());
        y = Half(m.screenHeight) - Half(outer.Height());
    } else {
        const plat::Rect parentOuter = plat::GetWindowRect(parent_->hwnd_);
        const CRect& parentClient = parent_->frameRect_;
        const int32_t parentNonClient = parentOuter.Height() - parentClient.GetHeight();
        const int32_t nonClient = outer.Height() - frameRect_.GetHeight();
        const int32_t cx = parentOuter.left + Half(parentClient.GetWidth());
        const int32_t cy = parentOuter.top + parentNonClient + Half(parentClient.GetHeight());
        x = cx - Half(frameRect_.GetWidth());
        y = cy - Half(frameRect_.GetHeight()) - nonClient;
    }
    plat::MoveWindowTo(hwnd_, x, y);
}

void CWind::SetPosition(int16_t h, int16_t v)
{
    frameRect_.MoveTo(h, v);
    if (!plat::IsWindow(hwnd_))
        return;
    const int32_t nonClient = plat::GetWindowRect(hwnd_).Height() - plat::GetClientRect(hwnd_).Height();
    plat::MoveWindowTo(hwnd_, h, v - nonClient);
}

void CWind::MoveBy(int16_t dh, int16_t dv)
{
    if (!plat::IsWindow(hwnd_))
        return;
    const plat::Point corner = plat::ClientToScreen(hwnd_, {0, 0});
    SetPosition(static_cast<int16_t>(corner.x + dh), static_cast<int16_t>(corner.y + dv));
}

CRect CWind::GetScreenClientRect()
{
    if (!plat::IsWindow(hwnd_))
        return CRect();
    const plat::Rect client = plat::GetClientRect(hwnd_);
    const plat::Point corner = plat::ClientToScreen(hwnd_, {0, 0});
    return CRect(plat::Rect::FromSize(corner.x, corner.y, client.Width(), client.Height()));
}

CRect CWind::GetScreenRect()
{
    const plat::Metrics m = plat::GetMetrics();
    return CRect(0, 0, static_cast<int16_t>(m.screenHeight), static_cast<int16_t>(m.screenWidth));
}

bool CWind::IsLeftButtonDown() { return plat::IsKeyDown(plat::key::LeftButton); }
