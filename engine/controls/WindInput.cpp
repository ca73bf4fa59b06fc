// CWind: keys routed to the controls, the mouse routed to frames with capture and hover, and
// frame layers pushed over a window.
#include "engine/controls/Frame.h"
#include "engine/controls/InputState.h"
#include "engine/controls/Wind.h"
#include "engine/controls/WindControl.h"
#include "engine/controls/WindHooks.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Stopwatch.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/Metrics.h"
#include "platform/Window.h"

namespace {

constexpr int32_t kKeyTab = 9;
constexpr int32_t kKeyEnter = 13;
constexpr int32_t kKeyEscape = 27;
constexpr uint32_t kModShift = 0x40;

enum : int32_t { kMouseRelease = 0, kMousePress = 1, kMouseMove = 2 };

void SendKey(CWindControl& control, int32_t key, uint32_t modifiers)
{
    CMessage message(kMsgKey, 0, 0, -1);
    message.SetParam(key, 2);
    message.SetParam(modifiers, 3);
    DeliverMessage(control, message, nullptr, false);
}

bool IsUsable(const CWindControl* control) { return control && control->IsShown() && control->IsEnabled(); }

// Waits on the clock, a tick at a time, until the real clock's tick has moved `ticks` past t0.
void SleepTicks(uint32_t t0, uint32_t ticks)
{
    plat::Clock& clock = plat::GetClock();
    while (GetTick() - t0 < ticks)
        clock.SleepUntil((static_cast<uint64_t>(plat::TickFromMs(clock.NowMs())) + 1) * 17);
}

} // namespace

void CWind::OnKey(int32_t key, uint32_t modifiers)
{
    if (CWindControl* focus = GetKeyFocus(); focus && focus->WantsKey(key)) {
        SendKey(*focus, key, modifiers);
        return;
    }
    if (key == kKeyEnter && IsUsable(defaultControl_)) {
        FlashAndPress(defaultControl_);
        return;
    }
    if (key == kKeyEscape && IsUsable(cancelControl_)) {
        FlashAndPress(cancelControl_);
        return;
    }
    if (AskControlsForKey(key, modifiers))
        return;
    if (key == kKeyTab) {
        if (modifiers & kModShift)
            FocusPrev();
        else
            FocusNext();
        if (CWindControl* focus = GetKeyFocus();
            focus && focus->GetControlKind() == CWindControl::kKindEditField)
            SendMsg(*focus, kMsgSelectAll, 0, 0, nullptr);
        return;
    }
    CMessage message(kMsgKey, 0, 0, -1);
    message.SetParam(key, 2);
    message.SetParam(modifiers, 3);
    BroadcastMessage(message, nullptr);
}

bool CWind::AskControlsForKey(int32_t key, uint32_t modifiers)
{
    for (CList::Node* n = controls_.GetHeadNode(); n; n = n->next) {
        auto* control = static_cast<CWindControl*>(n->item);
        if (IsUsable(control) && control->WantsKey(key)) {
            SendKey(*control, key, modifiers);
            return true;
        }
    }
    return false;
}

uint32_t CWind::FlashTicks(uint32_t caretBlinkMs)
{
    // A blink time of 0 or "infinite" would make the press vanish or hang the program.
    const uint32_t blink = (caretBlinkMs == 0 || caretBlinkMs > 1200) ? 530 : caretBlinkMs;
    return blink / 17 / 2;
}

void CWind::FlashAndPress(CWindControl* control)
{
    if (!control)
        return;
    const uint32_t t0 = GetTick();
    if (control->GetControlKind() != CWindControl::kKindNativeButton) {
        control->SetPressedLook(true);
        control->UpdateWindow();
        SleepTicks(t0, FlashTicks(plat::GetMetrics().caretBlinkMs));
        control->SetPressedLook(false);
        control->UpdateWindow();
    }
    control->SendNotify();
}

void CWind::SendMouse(CFrame* target, int32_t kind, uint32_t modifiers, const CPoint& point, bool doubleClick)
{
    CMessage message(kMsgMouse, 0, 0, -1);
    message.SetParam(kind, 2);
    message.SetParam(modifiers, 3);
    message.SetParamPtr(&point, 4);
    message.SetParam(doubleClick ? 1 : 0, 5);
    DeliverMessage(*target, message, nullptr, false);
}

CFrame* CWind::FindInTopLayer(const CPoint& point)
{
    CFrame* top = GetTopFrame();
    return top ? top->FindAt(point, true) : nullptr;
}

void CWind::BeginCapture(const CPoint& point, uint32_t modifiers, bool doubleClick)
{
    if (!GetFirstFrame())
        return;
    CFrame* found = FindInTopLayer(point);
    // A double click counts only on the frame that took the press before.
    doubleClick = doubleClick && found && found == lastPressed_;
    lastPressed_ = found;
    if (!GetCaptureObj()) {
        if (CList::Node* node = controls_.FindNode(found)) {
            auto* control = static_cast<CWindControl*>(node->item);
            if (control != GetKeyFocus())
                SetFocusControl(control);
        }
        SetHoverFrame(found, false);
        SetCaptureObj(found);
        if (found && hwnd_)
            plat::SetCapture(hwnd_);
    }
    if (found)
        SendMouse(found, kMousePress, modifiers, point, doubleClick);
}

void CWind::RouteMouseMove(const CPoint& point, uint32_t modifiers, bool leftDown)
{
    if (!GetFirstFrame())
        return;
    if (leftDown) {
        // During a drag the hover frame is not updated, so it is the frame that took the press.
        if (CFrame* hover = GetHoverFrame(); hover && GetCaptureObj())
            SendMouse(hover, kMouseMove, modifiers, point, false);
        return;
    }
    SetHoverFrame(FindInTopLayer(point), false);
}

void CWind::EndCapture(const CPoint& point, uint32_t modifiers)
{
    if (!GetFirstFrame() || !GetCaptureObj())
        return;
    CFrame* previous = SetHoverFrame(FindInTopLayer(point), false);
    if (previous)
        SendMouse(previous, kMouseRelease, modifiers, point, false);
    ReleaseCaptureObj();
}

void CWind::CancelCapture()
{
    CPoint position;
    GetCursorPos(position, false);
    if (!GetFirstFrame()) {
        SetHoverFrameRecord(nullptr);
        return;
    }
    CFrame* found = FindInTopLayer(position);
    CFrame* capture = GetCaptureObj();
    if (!capture) {
        SetHoverFrame(found, false);
    } else if (capture == found) {
        SetHoverFrame(found, true);
    } else {
        SetHoverFrame(found, false);
        ReleaseCaptureObj();
    }
}

CFrame* CWind::SetHoverFrame(CFrame* frame, bool force)
{
    const WindHooks& hooks = GetWindHooks();
    CFrame* current = GetHoverFrame();
    const auto setCursor = [&hooks](int32_t id) {
        if (hooks.setCursorId)
            hooks.setCursorId(id, 0xFFFFFFFFu);
    };
    if (frame == current && !force) {
        if (!frame)
            setCursor(0);
        return current;
    }
    const bool help = IsPopupHelpOn();
    setCursor(frame ? frame->GetCursorAt(nullptr) : 0);
    if (current && help && hooks.dismissHelp)
        hooks.dismissHelp();
    if (frame && help && hooks.showHelpFor)
        hooks.showHelpFor(frame);
    SetHoverFrameRecord(frame);
    return current;
}

namespace {

// The area a frame and its shown descendants cover (a holder frame may have no size of its
// own and carry its screen as a child).
bool CoveredArea(const CFrame& frame, CRect& area, bool& any)
{
    if (!frame.IsShown())
        return any;
    const CRect& r = frame.GetDrawnRect();
    if (r.GetWidth() > 0 && r.GetHeight() > 0) {
        area = any ? (area | r) : r;
        any = true;
    }
    for (CFrame* child : ChildFrames(frame))
        CoveredArea(*child, area, any);
    return any;
}

} // namespace

bool CWind::IsUnderUpperLayer(const CFrame& frame)
{
    const CFrame* root = &frame;
    while (root->GetParent())
        root = root->GetParent();
    int32_t below = -1;
    for (int32_t i = 0; i < GetLayerCount() && below < 0; ++i)
        if (GetLayer(i) == root)
            below = i;
    if (below < 0)
        return false;
    for (int32_t i = below + 1; i < GetLayerCount(); ++i) {
        CRect area;
        bool any = false;
        if (CFrame* layer = GetLayer(i);
            layer && CoveredArea(*layer, area, any) && area.Intersect(frame.GetDrawnRect()))
            return true;
    }
    return false;
}

void CWind::PushFrame(CFrame* frame, bool centre)
{
    if (!frame)
        return;
    if (centre) {
        CFrame* root = GetFirstFrame();
        const CRect area = root ? root->GetDrawnRect() : CRect(plat::GetClientRect(hwnd_));
        CRect r = frame->GetDrawnRect();
        r.MoveTo(static_cast<int16_t>((area.GetWidth() - r.GetWidth()) / 2),
                 static_cast<int16_t>((area.GetHeight() - r.GetHeight()) / 2));
        frame->SetBounds(r);
    }
    CFrame* oldTop = GetTopFrame();
    if (oldTop)
        oldTop->SaveEnabled(true, 1);
    frames_.Add(frame);
    frame->SetOwner(this);
    CRect repaint = frame->GetDrawnRect();
    if (oldTop)
        repaint |= oldTop->GetDrawnRect();
    Invalidate(&repaint);
}

void CWind::PopFrame(CFrame* frame)
{
    for (int32_t i = 1; frame && i < frames_.GetCount(); ++i) {
        if (GetLayer(i) != frame)
            continue;
        if (frame->GetOwner())
            frame->SetOwner(nullptr);
        frames_.RemoveAt(i);
        Invalidate(&frame->GetDrawnRect());
        break;
    }
    if (CFrame* top = GetTopFrame()) {
        top->RestoreEnabled(true, 1);
        Invalidate(&top->GetDrawnRect());
    }
}

void CWind::DropLayer(CFrame* frame)
{
    const int32_t i = frames_.IndexOf(frame);
    if (i < 0)
        return;
    if (i > 0) {
        PopFrame(frame);
        return;
    }
    frames_.SetAt(0, nullptr);
    if (frame->GetOwner())
        frame->SetOwner(nullptr);
}
