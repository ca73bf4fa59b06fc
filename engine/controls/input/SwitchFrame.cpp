#include "engine/controls/input/SwitchFrame.h"

#include "engine/controls/InputState.h"
#include "engine/controls/Wind.h"
#include "engine/resources/RawParser.h"

CSwitchFrame::CSwitchFrame(int32_t controlKind, int32_t id, const CRect& rect, int32_t notifyType,
                           CBaseObj* target, bool on)
    : CPushFrame(controlKind, id, rect, notifyType, target, kSendOnRelease, false), on_(on ? 1 : 0)
{
}

CSwitchFrame::CSwitchFrame(int32_t controlKind, int32_t id, const CPoint& size, int32_t notifyType,
                           CBaseObj* target, bool on)
    : CPushFrame(controlKind, id, size, notifyType, target, kSendOnRelease, false), on_(on ? 1 : 0)
{
}

void CSwitchFrame::SetDefault(bool) { StoreDefault(false); }

void CSwitchFrame::NotifyState()
{
    GetNotifyMessage().SetParam(on_, 3);
    CPushFrame::SendNotify();
}

void CSwitchFrame::SendNotify()
{
    SetOn(!IsOn(), true, false);
    NotifyState();
}

void CSwitchFrame::SetOn(bool on, bool redraw, bool notify)
{
    if (on == IsOn())
        return;
    on_ = on ? 1 : 0;
    if (redraw)
        UpdateWindow();
    if (notify && on)
        NotifyState();
}

CRadioFrame::CRadioFrame(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target, int32_t groupId,
                         bool on)
    : CSwitchFrame(kKindRadioFrame, id, rect, notifyType, target, on), groupId_(groupId)
{
}

CRadioFrame::CRadioFrame(int32_t id, const CPoint& size, int32_t notifyType, CBaseObj* target,
                         int32_t groupId, bool on)
    : CSwitchFrame(kKindRadioFrame, id, size, notifyType, target, on), groupId_(groupId)
{
}

void CRadioFrame::ClearGroupChoice(CWind& window)
{
    for (CList::Node* n = window.GetControls().GetHeadNode(); n; n = n->next) {
        auto* member = static_cast<CWindControl*>(n->item);
        if (member->IsGrouped() && member->GetGroupId() == groupId_)
            member->SetGroupChoice(nullptr);
    }
}

void CRadioFrame::SetOwner(CBaseObj* owner)
{
    if (owner == GetOwner())
        return;
    if (CWind* old = GetOwnerWnd(); old && chosen_ == this)
        ClearGroupChoice(*old);
    auto* window = dynamic_cast<CWind*>(owner);
    // The group's choice in the new window, read before this radio is one of its members.
    CWindControl* current = window ? window->GetGroupValue(groupId_) : nullptr;
    if (window && !IsOn())
        chosen_ = current;
    CSwitchFrame::SetOwner(owner);
    if (!window || !IsOn())
        return;
    if (auto* previous = dynamic_cast<CSwitchFrame*>(current); previous && previous != this)
        previous->SetOn(false, true, false);
    window->SelectInGroup(this);
}

void CRadioFrame::OnMouseUp(bool inside, CMessage&)
{
    if (!inside || !HoldsCapture()) {
        SetState(0);
        return;
    }
    StoreState(0);
    if (!IsOn())
        SetOn(true, true, false);
    else
        UpdateWindow();
    SetCaptureObj(nullptr);
    if (GetWhenToSend() == kSendOnRelease || GetWhenToSend() == kSendOnChange)
        CInputFrame::SendNotify();
}

void CRadioFrame::SetOn(bool on, bool redraw, bool notify)
{
    if (on == IsOn())
        return;
    if (on && chosen_ && chosen_ != this)
        if (auto* previous = dynamic_cast<CSwitchFrame*>(chosen_))
            previous->SetOn(false, true, false);
    CSwitchFrame::SetOn(on, redraw, notify);
    if (CWind* window = GetOwnerWnd(); on && window)
        window->SelectInGroup(this);
}

CTSwitchFrame::CTSwitchFrame(int32_t kind, CRawParser* parser) : CTPushFrame(kind, parser)
{
    switchOn_ = parser->ReadShort("switchon");
}

CTRadioFrame::CTRadioFrame(int32_t kind, CRawParser* parser) : CTSwitchFrame(kind, parser)
{
    groupId_ = parser->ReadLong("groupid");
}
