// CWind: showing, hiding, activation and closing, and the application's pause and resume
// passes over every window.
#include "engine/controls/BorderWnd.h"
#include "engine/controls/Frame.h"
#include "engine/controls/InputState.h"
#include "engine/controls/Wind.h"
#include "engine/controls/WindControl.h"
#include "engine/controls/WindGlobals.h"
#include "engine/controls/WindHooks.h"
#include "engine/framework/Appl.h"
#include "engine/framework/EngineProfile.h"
#include "engine/framework/MsgMgr.h"
#include "platform/Input.h"
#include "platform/Window.h"

using wndglobals::Get;

bool CWind::HasLiveHwnd()
{
    if (!plat::IsWindow(hwnd_))
        hwnd_ = 0;
    return hwnd_ != 0;
}

void CWind::ShowWnd()
{
    if (!HasLiveHwnd() || shown_)
        return;
    plat::ShowWindow(hwnd_, plat::ShowCommand::ShowNoActivate);
    shown_ = true;
}

void CWind::Hide()
{
    wndglobals::State& g = Get();
    if (shown_) {
        if (plat::IsWindow(hwnd_))
            plat::ShowWindow(hwnd_, plat::ShowCommand::Hide);
        else
            hwnd_ = 0;
        shown_ = false;
    }
    if (CWindControl* focus = GetKeyFocus(); focus && HasControl(focus))
        SetFocusControl(nullptr);
    active_ = false;
    wndglobals::RemoveFromList(g.activation, this);
    if (g.activeWnd != this)
        return;
    // The most recently activated window that is still shown takes over.
    CWind* next = g.activation ? g.activation->NextShown(nullptr) : nullptr;
    if (!next)
        next = GetFirstShownWnd(true);
    if (!next)
        next = GetFirstShownWnd(false);
    g.activeWnd = next;
    if (next)
        next->Activate();
}

void CWind::Activate()
{
    wndglobals::State& g = Get();
    if (g.activeWnd && g.activeWnd != this)
        g.activeWnd->Deactivate();
    g.activeWnd = this;
    CWindList& order = wndglobals::EnsureList(g.activation);
    order.RemoveItem(this);
    order.AddHead(this);
    active_ = true;

    // To the head of its own list; in list B a popup frame window at the head stays there.
    CWindList* own = inListA_ ? g.listA.get() : g.listB.get();
    if (own) {
        own->RemoveItem(this);
        CWind* head = own->GetHead();
        if (!inListA_ && head && head->GetType() == kTypePopup)
            own->InsertAfterItem(this, head);
        else
            own->AddHead(this);
    }

    if (GetEngineProfile().activationKeepsFramesEnabled) {
        ActivateKeepingFrames();
        return;
    }
    if (plat::IsWindow(hwnd_)) {
        ShowWnd();
        if (parent_ && plat::IsWindow(parent_->hwnd_)) {
            // The owner is disabled while the window takes the activation, so the platform
            // does not hand it back to the owner.
            plat::EnableWindow(parent_->hwnd_, false);
            plat::EnableWindow(hwnd_, true);
            plat::ActivateWindow(hwnd_);
            plat::EnableWindow(parent_->hwnd_, true);
        }
    }
    if (CFrame* top = GetTopFrame())
        top->RestoreEnabled(true, 1);
    SetKeyFocus(focusControl_);
}

void CWind::ActivateKeepingFrames()
{
    if (plat::IsWindow(hwnd_)) {
        const plat::WindowHandle owner = parent_ && plat::IsWindow(parent_->hwnd_) ? parent_->hwnd_ : 0;
        // The owner stays disabled until the window is shown, so the platform cannot hand the
        // activation back to it on the way.
        if (owner)
            plat::EnableWindow(owner, false);
        plat::EnableWindow(hwnd_, true);
        plat::ActivateWindow(hwnd_);
        ShowWnd();
        if (owner)
            plat::EnableWindow(owner, true);
    }
    SetKeyFocus(focusControl_);
}

void CWind::Deactivate()
{
    wndglobals::State& g = Get();
    active_ = false;
    const bool keepFrames = GetEngineProfile().activationKeepsFramesEnabled;
    if (CWindControl* focus = GetKeyFocus(); focus && HasControl(focus))
        SetKeyFocus(nullptr);
    if (!keepFrames && plat::IsWindow(hwnd_))
        plat::SetFocus(hwnd_);
    if (CFrame* capture = GetCaptureObj()) {
        // A drag in progress ends with a release well away from the frame that had the mouse
        // (the hover frame) or, under the other rule, the frame that holds the capture.
        CFrame* from = keepFrames ? capture : GetHoverFrame();
        const CPoint away = from ? from->GetDrawnRect().TopLeft().Offset(-100, -100) : CPoint(-100, -100);
        EndCapture(away, 0);
    }
    if (const auto& setCursor = GetWindHooks().setCursorId)
        setCursor(0, 0xFFFFFFFFu);
    if (g.activeWnd == this)
        g.activeWnd = nullptr;
    if (CFrame* top = GetTopFrame(); top && !keepFrames)
        top->SaveEnabled(true, 1);
}

bool CWind::Close(bool ask)
{
    if (ask && closeTarget_) {
        SendMsgParam(*closeTarget_, kMsgCloseRequest, 2, reinterpret_cast<MsgWord>(this), nullptr);
        return false;
    }
    for (int32_t i = GetLayerCount() - 1; i >= 0; --i)
        if (CFrame* layer = GetLayer(i); layer && layer->GetOwner())
            layer->SetOwner(nullptr);
    return true;
}

void CWind::CloseChildWindows()
{
    const wndglobals::State& g = Get();
    std::vector<CWind*> all = wndglobals::Snapshot(g.listB.get());
    for (CWind* w : wndglobals::Snapshot(g.listA.get()))
        all.push_back(w);
    for (CWind* w : all) {
        if (w == this || w->parent_ != this || !IsLiveWindow(w))
            continue;
        w->CloseChildWindows();
        if (w->wndFlags_ & kFlagCloseWithParent)
            w->Close(false);
    }
}

void CWind::RestoreAllWindows()
{
    ShowBorderWnd(GetScreenBorder() != 0);
    const wndglobals::State& g = Get();
    for (CWind* w : wndglobals::Snapshot(g.listA.get()))
        if (IsLiveWindow(w))
            w->Restore();
    for (CWind* w : wndglobals::Snapshot(g.listB.get()))
        if (IsLiveWindow(w))
            w->Restore();
}

void CWind::PauseAllWindows()
{
    ShowBorderWnd(true);
    const wndglobals::State& g = Get();
    for (CWind* w : wndglobals::Snapshot(g.listB.get()))
        if (IsLiveWindow(w))
            w->OnAppPause();
    for (CWind* w : wndglobals::Snapshot(g.listA.get()))
        if (IsLiveWindow(w))
            w->OnAppPause();
}
