#include "engine/controls/text/PopWind.h"

#include "engine/controls/Frame.h"
#include "engine/controls/text/PopTextList.h"
#include "engine/framework/Stopwatch.h"
#include "engine/framework/TimerEvent.h"
#include "platform/Metrics.h"
#include "platform/Window.h"

namespace {

const CRect kDefaultRect(0, 0, 40, 200);

CPopWind* g_popup = nullptr;

} // namespace

CPopWind::CPopWind(CFrame* content, const CPoint* position, CWind* owner, MsgWord contentValue)
    : CWind(kTypePopup, content, position, CWindOptions{}), ownerWnd_(owner)
{
    if (!content)
        SetFrame(new CPopTextList(kContentId, kDefaultRect, static_cast<uint32_t>(contentValue)));
    Create(kTypePopup, nullptr,
           plat::style::Popup | plat::style::Disabled | plat::style::Border | plat::style::SysMenu,
           plat::exstyle::TopMost, owner);
    g_popup = this;
}

CPopWind::~CPopWind()
{
    timer_.reset();
    if (g_popup == this)
        g_popup = nullptr;
}

CPopWind* CPopWind::GetPopup() { return g_popup; }

CPopContent* CPopWind::GetContent() { return dynamic_cast<CPopContent*>(GetFirstFrame()); }

void CPopWind::ShowFor(CFrame* frame)
{
    if (!frame)
        return;
    if (!ownerWnd_)
        ownerWnd_ = frame->GetOwnerWnd();
    if (!ownerWnd_ || frame->GetHelpId() == 0)
        return;
    if (delay_ < 1) {
        ShowNow(frame);
        return;
    }
    pending_ = frame;
    StartTimer(static_cast<uint32_t>(delay_), nullptr);
}

void CPopWind::ShowNow(CFrame* frame)
{
    CPoint mouse;
    if (ownerWnd_)
        ownerWnd_->GetCursorPos(mouse, true);
    if (!frame || frame->GetHelpId() == 0 || !frame->GetOwner()) {
        Dismiss();
        return;
    }
    CPopContent* content = GetContent();
    if (content) {
        content->SetSource(frame);
        // A frame whose help record is missing shows no popup.
        if (!content->HasHelp()) {
            Dismiss();
            return;
        }
    }
    if (CFrame* root = GetFirstFrame())
        MoveResize(root->GetDrawnRect().GetWidth(), root->GetDrawnRect().GetHeight());
    Place(mouse, frame);
    if (!content || content->GetPlacementMode() != kModeNoMove)
        SetPosition(mouse.GetH(), mouse.GetV());
    plat::BringToTop(GetHwnd());
    ShowWnd();
}

void CPopWind::StartTimer(uint32_t period, CStopwatch*)
{
    timer_ = std::make_unique<CTimerEvent>(period, &TimerCallback, this, GetRealClock());
}

bool CPopWind::TimerCallback(void* popup) { return static_cast<CPopWind*>(popup)->OnTimer(); }

bool CPopWind::OnTimer()
{
    CPoint mouse;
    if (ownerWnd_)
        ownerWnd_->GetCursorPos(mouse, false);
    CFrame* frame = pending_;
    // The wait fires once, whatever comes of it.
    CancelPending();
    if (frame && frame->GetDrawnRect().ContainsPoint(mouse))
        ShowNow(frame);
    return true;
}

void CPopWind::Dismiss()
{
    pausedShown_ = false;
    if (IsShown())
        Hide();
    else
        CancelPending();
}

void CPopWind::ForgetFrame(const CFrame* frame)
{
    CWind::ForgetFrame(frame);
    if (CPopContent* content = GetContent())
        content->ForgetSource(frame);
    if (frame && frame == pending_)
        CancelPending();
}

void CPopWind::CancelPending()
{
    pending_ = nullptr;
    timer_.reset();
}

void CPopWind::Activate() { plat::BringToTop(GetHwnd()); }

void CPopWind::OnAppPause()
{
    if (IsShown()) {
        Hide();
        pausedShown_ = true;
    }
    CancelPending();
}

void CPopWind::Restore()
{
    if (pausedShown_) {
        pausedShown_ = false;
        ShowWnd();
    }
    CWind::Restore();
}

void CPopWind::Place(CPoint& point, CFrame* frame)
{
    CFrame* root = GetFirstFrame();
    if (!root || !frame)
        return;
    CRect onScreen = frame->GetDrawnRect();
    if (CWind* window = frame->GetOwnerWnd())
        window->LocalToScreenRect(onScreen);
    CPopContent* content = GetContent();
    const plat::Metrics screen = plat::GetMetrics();
    point =
        PlaceFor(content ? content->GetPlacementMode() : kModeNoMove, point, root->GetDrawnRect().GetWidth(),
                 root->GetDrawnRect().GetHeight(), onScreen, screen.screenWidth, screen.screenHeight);
}

CPoint CPopWind::PlaceFor(int32_t mode, const CPoint& point, int16_t width, int16_t height,
                          const CRect& frame, int32_t screenWidth, int32_t screenHeight)
{
    const int32_t ph = point.GetH(), pv = point.GetV(), w = width, hgt = height;
    const int32_t centreH = (frame.GetLeft() + frame.GetRight() - w) / 2;
    const int32_t centreV = (frame.GetTop() + frame.GetBottom() - hgt) / 2;
    int32_t h = ph, v = pv;
    switch (mode) {
    case 0: h = ph - w / 2, v = pv - hgt - 4; break;
    case 1: h = ph - w / 2, v = pv + 10; break;
    case 2: h = ph - w - 4, v = pv - hgt / 2; break;
    case 3: h = ph + w + 10, v = pv - hgt / 2; break;
    case 5: h = centreH, v = frame.GetTop() - hgt - 4; break;
    case 6: h = centreH, v = frame.GetBottom() + 4; break;
    case 7: h = frame.GetLeft() - w - 4, v = centreV; break;
    case 8: h = frame.GetRight() + 4, v = centreV; break;
    case 9: h = centreH, v = centreV; break;
    default: break;
    }
    // Kept on the screen, in this order; off the top or bottom it flips below or above the
    // point.
    if (h < 0)
        h = 1;
    if (h > screenWidth - w)
        h = screenWidth - w - 1;
    if (v < 0)
        v = pv + 10;
    if (v > screenHeight - hgt)
        v = pv - hgt - 4;
    return CPoint(static_cast<int16_t>(h), static_cast<int16_t>(v));
}
