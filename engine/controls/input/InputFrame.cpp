#include "engine/controls/input/InputFrame.h"

#include "engine/controls/InputState.h"
#include "engine/controls/Wind.h"
#include "engine/framework/MsgMgr.h"
#include "engine/resources/RawParser.h"

CInputFrame::CInputFrame(int32_t controlKind, int32_t id, const CRect& rect, int32_t notifyType,
                         CBaseObj* target)
    : CWindControl(kKind, id, rect, true), controlKind_(controlKind), notify_(notifyType, 0, 0, -1)
{
    SetTakesInput(true);
    SetNotifyTarget(target);
}

CInputFrame::CInputFrame(int32_t controlKind, int32_t id, const CPoint& size, int32_t notifyType,
                         CBaseObj* target)
    : CInputFrame(controlKind, id, CRect(0, 0, size.GetV(), size.GetH()), notifyType, target)
{
}

CInputFrame::~CInputFrame()
{
    // Leaving the parent clears the owner, which takes the control out of its window's list.
    if (CFrame* parent = GetParent())
        parent->RemoveChild(*this);
}

void CInputFrame::SetNotifyTarget(CBaseObj* target)
{
    ownedTarget_.reset();
    target_ = target;
    // A plain key is copied: the control owns what it deletes, and the caller's key may go.
    if (target && !target->IsReceiver()) {
        ownedTarget_ = std::make_unique<CBaseObj>(*target);
        target_ = ownedTarget_.get();
    }
}

void CInputFrame::SetNotifyParam(MsgWord value, int index)
{
    if (index == 0 || index == 1)
        notify_.SetParam(value, index);
}

void CInputFrame::SetTabOrder(int16_t order)
{
    tabOrder_ = order;
    if (CWind* window = GetOwnerWnd())
        window->SetTabOrder(this, order);
}

void CInputFrame::Detach()
{
    CWind* window = GetOwnerWnd();
    UnregisterLiveObject(this);
    DestroyWnd();
    CWindControl::SetOwner(nullptr);
    if (window)
        window->RemoveControl(this);
}

void CInputFrame::SetOwner(CBaseObj* owner)
{
    if (owner == GetOwner())
        return;
    if (GetOwner())
        Detach();
    if (!owner)
        return;
    CWindControl::SetOwner(owner);
    RegisterLiveObject(this);
    CreateWnd();
    if (CWind* window = GetOwnerWnd())
        window->AddControl(this, tabOrder_);
}

bool CInputFrame::HandleMessage(CMessage& message, CBaseObj*)
{
    if (message.GetId() != kMsgMouse)
        return false;
    const CPoint* point = message.GetParamPtr<CPoint>(4);
    const bool inside = point && HitTest(*point);
    switch (message.GetParam(2)) {
    case kMousePress: OnMouseDown(inside, message); break;
    case kMouseMove: OnMouseMove(inside, message); break;
    case kMouseRelease: OnMouseUp(inside, message); break;
    default: break;
    }
    return true;
}

bool CInputFrame::HoldsCapture() const { return GetCaptureObj() == this; }

void CInputFrame::Enable(bool enable, bool redraw, bool children)
{
    if (enable == IsEnabled())
        return;
    if (HoldsCapture())
        ReleaseCaptureObj();
    CWindControl::Enable(enable, redraw, children);
    SetActive(enable);
    if (redraw)
        UpdateWindow();
    else
        Draw(false);
}

void CInputFrame::SetDefault(bool) { isDefault_ = 0; }

void CInputFrame::SendNotify()
{
    if (target_)
        DeliverMessage(*target_, notify_, this, false);
}

bool CInputFrame::WantsKey(int32_t) { return false; }

void CInputFrame::SetActive(bool active)
{
    activeRequested_ = active ? 1 : 0;
    const bool effective = active && IsEnabled();
    if (effective != IsWndEnabled())
        EnableWnd(effective);
}

void CInputFrame::EnableWnd(bool enable)
{
    wndEnabled_ = enable ? 1 : 0;
    if (redrawOnEnable_)
        Draw(false);
}

void CInputFrame::OnMouseDown(bool, CMessage&) {}
void CInputFrame::OnMouseMove(bool, CMessage&) {}
void CInputFrame::OnMouseUp(bool, CMessage&) {}

CTInputFrame::CTInputFrame(int32_t kind, CRawParser* parser) : CTFrame(kind, parser)
{
    tabOrder_ = parser->ReadShort("taborder");
    notifyWhoId_ = parser->ReadLong("notifywhoid");
    msgType_ = parser->ReadShort("mssgtype");
    user1_ = parser->ReadLong("usr1");
    user2_ = parser->ReadLong("usr2");
}

void CTInputFrame::ApplyTo(CFrame* object)
{
    auto* control = dynamic_cast<CInputFrame*>(object);
    const bool wasEnabled = control && control->IsEnabled();
    CTFrame::ApplyTo(object);
    if (!control)
        return;
    // A template that disables the control does it through Enable, so that the control's
    // own state (its active state, a text button's colour and polling) follows.
    if (const bool enabled = control->IsEnabled(); enabled != wasEnabled) {
        control->SetFlags(control->GetFlags() ^ CEventObj::kFlagEnabled);
        control->Enable(enabled);
    }
    control->SetNotifyType(msgType_);
    control->SetNotifyParam(user1_, 0);
    control->SetNotifyParam(user2_, 1);
    control->SetTabOrder(tabOrder_);
}
