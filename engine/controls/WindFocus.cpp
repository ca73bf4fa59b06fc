// CWind: the controls in tab order, the focus within a window, the program's one key-focus
// control, the default and cancel controls and the choice of grouped controls.
#include "engine/controls/Wind.h"
#include "engine/controls/WindControl.h"
#include "engine/controls/WindGlobals.h"
#include "platform/Input.h"
#include "platform/Window.h"

using wndglobals::Get;

namespace {

CWindControl* ControlAt(const CList::Node* node)
{
    return node ? static_cast<CWindControl*>(node->item) : nullptr;
}

} // namespace

bool CWind::HasControl(const CWindControl* control) const { return control && controls_.FindNode(control); }

void CWind::AddControl(CWindControl* control, int16_t tabOrder)
{
    if (!control)
        return;
    if (tabOrder == 0) {
        controls_.AddHead(control);
    } else if (tabOrder < 0) {
        controls_.AddTail(control);
    } else {
        CList::Node* before = controls_.GetHeadNode();
        while (before && ControlAt(before)->GetTabOrder() < tabOrder)
            before = before->next;
        if (before)
            controls_.InsertBefore(control, before);
        else
            controls_.AddTail(control);
    }
    if (!focusControl_)
        SetFocusControl(control);
    if (control->IsDefault())
        defaultControl_ = control;
}

void CWind::RemoveControl(CWindControl* control)
{
    if (!control)
        return;
    if (control == focusControl_) {
        FocusNext();
        if (control == focusControl_)
            SetFocusControl(nullptr);
    }
    if (control == defaultControl_)
        defaultControl_ = nullptr;
    // A window must not keep pressing a control that has left it.
    if (control == cancelControl_)
        cancelControl_ = nullptr;
    controls_.RemoveItem(control);
}

void CWind::SetTabOrder(CWindControl* control, int16_t order)
{
    controls_.RemoveItem(control);
    AddControl(control, order);
}

bool CWind::FocusFrom(CList::Node* start, CList::Node* stop, bool forward)
{
    for (CList::Node* n = start; n && n != stop; n = forward ? n->next : n->prev)
        if (SetFocusControl(ControlAt(n)))
            return true;
    return false;
}

void CWind::FocusNext()
{
    CList::Node* current = focusControl_ ? controls_.FindNode(focusControl_) : nullptr;
    CList::Node* start = current ? current->next : controls_.GetHeadNode();
    if (FocusFrom(start, nullptr, true) || !current)
        return;
    FocusFrom(controls_.GetHeadNode(), current, true);
}

void CWind::ResetFocus() { FocusFrom(controls_.GetHeadNode(), nullptr, true); }

void CWind::FocusPrev()
{
    CList::Node* current = focusControl_ ? controls_.FindNode(focusControl_) : nullptr;
    CList::Node* start = current ? current->prev : controls_.GetTailNode();
    if (FocusFrom(start, nullptr, false) || !current)
        return;
    FocusFrom(controls_.GetTailNode(), current, false);
}

bool CWind::SetFocusControl(CWindControl* control)
{
    if (control == focusControl_)
        return true;
    if (!control) {
        focusControl_ = nullptr;
        if (active_)
            SetKeyFocus(nullptr);
        return true;
    }
    if (!control->CanTakeFocus())
        return false;
    focusControl_ = control;
    if (active_ && GetKeyFocus() != control)
        SetKeyFocus(control);
    return true;
}

void CWind::FocusIfAllowed(CWindControl* control)
{
    if (HasControl(control) && control->CanTakeFocus())
        SetFocusControl(control);
}

CWindControl* CWind::GetKeyFocus() { return Get().keyFocus; }

bool CWind::SetKeyFocus(CWindControl* control)
{
    wndglobals::State& g = Get();
    if (!control) {
        if (g.keyFocus)
            g.keyFocus->SetHasFocus(false);
        if (g.activeWnd && plat::IsWindow(g.activeWnd->hwnd_))
            plat::SetFocus(g.activeWnd->hwnd_);
        g.keyFocus = nullptr;
        return true;
    }
    if (!control->CanTakeFocus() || control == g.keyFocus)
        return false;
    if (g.keyFocus)
        g.keyFocus->SetHasFocus(false);
    if (CWind* owner = control->GetOwnerWnd(); owner && plat::IsWindow(owner->hwnd_))
        plat::SetFocus(owner->hwnd_);
    g.keyFocus = control;
    if (const plat::WindowHandle native = control->GetHwnd())
        plat::SetFocus(native);
    control->SetHasFocus(true);
    return true;
}

void CWind::SetDefaultControl(CWindControl* control)
{
    defaultControl_ = control;
    if (control)
        control->SetDefault(true);
}

void CWind::ReplaceDefaultControl(CWindControl* control)
{
    CWindControl* previous = defaultControl_;
    defaultControl_ = control;
    if (previous)
        previous->SetDefault(false);
    if (control)
        control->SetDefault(true);
}

CWindControl* CWind::FindControlByHwnd(plat::WindowHandle hwnd)
{
    if (!plat::IsWindow(hwnd))
        return nullptr;
    for (CList::Node* n = controls_.GetHeadNode(); n; n = n->next)
        if (ControlAt(n)->GetHwnd() == hwnd)
            return ControlAt(n);
    return nullptr;
}

CWindControl* CWind::FindControlById(int32_t id)
{
    for (CList::Node* n = controls_.GetHeadNode(); n; n = n->next)
        if (ControlAt(n)->GetId() == id)
            return ControlAt(n);
    return nullptr;
}

CWindControl* CWind::GetGroupValue(int32_t group)
{
    for (CList::Node* n = controls_.GetHeadNode(); n; n = n->next)
        if (ControlAt(n)->IsGrouped() && ControlAt(n)->GetGroupId() == group)
            return ControlAt(n)->GetGroupChoice();
    return nullptr;
}

void CWind::SelectInGroup(CWindControl* control)
{
    if (control && !control->IsGrouped())
        return;
    const int32_t group = control ? control->GetGroupId() : 0;
    for (CList::Node* n = controls_.GetHeadNode(); n; n = n->next)
        if (ControlAt(n)->IsGrouped() && ControlAt(n)->GetGroupId() == group)
            ControlAt(n)->SetGroupChoice(control);
}

void CWind::ForgetFrame(const CFrame* frame)
{
    if (frame == lastPressed_)
        lastPressed_ = nullptr;
    // Compared as addresses: the frame need not be a control.
    const void* address = frame;
    if (!controls_.FindNode(address))
        return;
    // A frame that is going away takes none of these roles with it.
    if (address == focusControl_)
        focusControl_ = nullptr;
    if (address == defaultControl_)
        defaultControl_ = nullptr;
    if (address == cancelControl_)
        cancelControl_ = nullptr;
    controls_.RemoveItem(address);
}
