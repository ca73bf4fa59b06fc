#include "engine/controls/input/PushFrame.h"

#include "engine/controls/InputState.h"
#include "engine/controls/Wind.h"
#include "engine/resources/RawParser.h"

CPushFrame::CPushFrame(int32_t controlKind, int32_t id, const CRect& rect, int32_t notifyType,
                       CBaseObj* target, int32_t whenToSend, bool isDefault)
    : CInputFrame(controlKind, id, rect, notifyType, target)
{
    Init(whenToSend, isDefault);
}

CPushFrame::CPushFrame(int32_t controlKind, int32_t id, const CPoint& size, int32_t notifyType,
                       CBaseObj* target, int32_t whenToSend, bool isDefault)
    : CInputFrame(controlKind, id, size, notifyType, target)
{
    Init(whenToSend, isDefault);
}

void CPushFrame::Init(int32_t whenToSend, bool isDefault)
{
    SetInputMode(0);
    if (isDefault)
        SetDefault(true);
    whenToSend_ = whenToSend;
    pressed_ = 0;
}

void CPushFrame::Enable(bool enable, bool redraw, bool children)
{
    CInputFrame::Enable(enable, redraw, children);
    if (!enable && pressed_ == 1)
        pressed_ = 0;
}

void CPushFrame::Show(bool recurse)
{
    CInputFrame::Show(recurse);
    if (CWind* window = GetOwnerWnd(); window && IsDefault() && window->GetDefaultControl() != this)
        window->ReplaceDefaultControl(this);
}

void CPushFrame::SetDefault(bool isDefault)
{
    if (isDefault == IsDefault())
        return;
    StoreDefault(isDefault);
    CWind* window = GetOwnerWnd();
    if (!window)
        return;
    if (!isDefault && window->GetDefaultControl() == this)
        window->SetDefaultControl(nullptr);
    else if (isDefault && window->GetDefaultControl() != this)
        // The control it replaces stops counting itself the default, so it cannot claim the
        // window back when it is shown again.
        window->ReplaceDefaultControl(this);
    // Subclasses may mark the default control.
    window->Invalidate(&GetDrawnRect());
}

void CPushFrame::SendNotify()
{
    GetNotifyMessage().SetParam(pressed_, 2);
    CInputFrame::SendNotify();
}

void CPushFrame::SetState(int32_t value)
{
    if (value == pressed_)
        return;
    pressed_ = value;
    if (HasOwnContent() || !IsTransparent())
        UpdateWindow();
    if (whenToSend_ == kSendOnChange && HoldsCapture())
        SendNotify();
}

void CPushFrame::OnMouseDown(bool inside, CMessage&)
{
    if (whenToSend_ == kSendOnPress && inside && HoldsCapture()) {
        ReleaseCaptureObj();
        SendNotify();
        return;
    }
    if (inside)
        SetState(1);
}

void CPushFrame::OnMouseMove(bool inside, CMessage&) { SetState(inside ? 1 : 0); }

void CPushFrame::OnMouseUp(bool inside, CMessage&)
{
    SetState(0);
    if (whenToSend_ == kSendOnRelease && inside && HoldsCapture()) {
        // The window releases the native capture itself once the release is routed.
        SetCaptureObj(nullptr);
        SendNotify();
    }
}

CTObj* CPushFrame::ReadTemplate(int32_t kind, CRawParser* parser) { return new CTPushFrame(kind, parser); }

CBaseObj* CPushFrame::Create(CTObj* tpl)
{
    auto* t = static_cast<CTPushFrame*>(tpl);
    return new CPushFrame(kKindPush, t->GetId(), t->GetRect(), t->GetMsgType(), t->GetBuildOwner(),
                          t->GetWhenToSend(), false);
}

CTPushFrame::CTPushFrame(int32_t kind, CRawParser* parser) : CTInputFrame(kind, parser)
{
    whenToSend_ = parser->ReadShort("whentosend");
}
