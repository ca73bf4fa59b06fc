#include "engine/controls/native/Button.h"

#include "engine/controls/Wind.h"
#include "engine/controls/input/SwitchFrame.h"
#include "engine/resources/RawParser.h"
#include "platform/widgets/Widgets.h"

namespace {

uint32_t PushStyle(bool isDefault)
{
    return plat::style::Child | (isDefault ? plat::wstyle::DefPushButton : 0u);
}

// Turns a group's previous choice off, whether it is a radio button or an engine radio frame.
void TurnOff(CWindControl* member)
{
    if (auto* box = dynamic_cast<CCheckBox*>(member))
        box->SetChecked(false);
    else if (auto* frame = dynamic_cast<CSwitchFrame*>(member))
        frame->SetOn(false, true, false);
}

} // namespace

CButton::CButton(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
                 std::unique_ptr<CStr> text, int16_t fontId, bool isDefault)
    : CButton(kKindNativeButton, id, rect, notifyType, target, std::move(text), fontId)
{
    if (isDefault)
        SetDefault(true);
    SetWndStyle(PushStyle(isDefault));
}

CButton::CButton(int32_t controlKind, int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
                 std::unique_ptr<CStr> text, int16_t fontId)
    : CControl(controlKind, id, rect, notifyType, target, fontId), text_(std::move(text))
{
    SetInputMode(kInputFocusable);
    SetFlags(GetFlags() | kFlagTransparent);
    SetWndClass(plat::widgetclass::Button);
    SetWndStyle(PushStyle(false));
}

void CButton::PutText()
{
    if (!GetHwnd() || !text_)
        return;
    plat::SetWidgetText(GetHwnd(), MappedText(*text_));
    ApplyFont();
}

void CButton::CreateWnd()
{
    CControl::CreateWnd();
    PutText();
}

void CButton::SetText(std::unique_ptr<CStr> text)
{
    text_ = std::move(text);
    PutText();
    if (CWind* window = GetOwnerWnd())
        window->Invalidate(&GetDrawnRect());
}

void CButton::SetDefault(bool isDefault)
{
    if (isDefault == IsDefault())
        return;
    StoreDefault(isDefault);
    CWind* window = GetOwnerWnd();
    if (window) {
        if (!isDefault && window->GetDefaultControl() == this)
            window->SetDefaultControl(nullptr);
        else if (isDefault && window->GetDefaultControl() != this)
            // The button it replaces stops counting itself the default (and changes its look).
            window->ReplaceDefaultControl(this);
    }
    SetWndStyle(PushStyle(isDefault));
    if (!window)
        return;
    // The widget takes the default button's look only when it is made.
    SetOwner(nullptr);
    SetOwner(window);
    window->Invalidate(&GetDrawnRect());
}

void CButton::Show(bool recurse)
{
    CControl::Show(recurse);
    if (CWind* window = GetOwnerWnd(); window && IsDefault() && window->GetDefaultControl() != this)
        window->ReplaceDefaultControl(this);
}

CCheckBox::CCheckBox(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
                     std::unique_ptr<CStr> text, bool on, int16_t fontId)
    : CCheckBox(kKindCheckBox, id, rect, notifyType, target, std::move(text), on, fontId)
{
}

CCheckBox::CCheckBox(int32_t controlKind, int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
                     std::unique_ptr<CStr> text, bool on, int16_t fontId)
    : CButton(controlKind, id, rect, notifyType, target, std::move(text), fontId)
{
    SetWndStyle(plat::style::Child | plat::wstyle::CheckBox);
    CControl::SetMax(1);
    StoreValue(on ? 1 : 0);
}

void CCheckBox::SetDefault(bool) { StoreDefault(false); }

void CCheckBox::SendNotify()
{
    GetNotifyMessage().SetParam(GetValue(), 3);
    if (GetHwnd())
        plat::SetButtonCheck(GetHwnd(), GetValue() != 0);
    CInputFrame::SendNotify();
}

void CCheckBox::SetChecked(bool on) { SetValue(on ? 1 : 0); }

CRadioButton::CRadioButton(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
                           std::unique_ptr<CStr> text, int32_t groupId, bool on, int16_t fontId)
    : CCheckBox(kKindNativeRadio, id, rect, notifyType, target, std::move(text), on, fontId),
      groupId_(groupId)
{
    SetWndStyle(plat::style::Child | plat::wstyle::RadioButton);
}

CRadioButton::~CRadioButton()
{
    if (CFrame* parent = GetParent())
        parent->RemoveChild(*this);
}

void CRadioButton::SetOwner(CBaseObj* owner)
{
    if (owner == GetOwner())
        return;
    if (CWind* old = GetOwnerWnd(); old && chosen_ == this)
        for (CList::Node* n = old->GetControls().GetHeadNode(); n; n = n->next)
            if (auto* member = static_cast<CWindControl*>(n->item);
                member->IsGrouped() && member->GetGroupId() == groupId_)
                member->SetGroupChoice(nullptr);
    auto* window = dynamic_cast<CWind*>(owner);
    // The group's choice in the new window, read before this radio is one of its members.
    CWindControl* current = window ? window->GetGroupValue(groupId_) : nullptr;
    const bool on = GetValue() != 0;
    if (window && !on)
        chosen_ = current;
    CCheckBox::SetOwner(owner);
    if (!window || !on)
        return;
    if (current && current != this)
        TurnOff(current);
    window->SelectInGroup(this);
}

void CRadioButton::SendNotify()
{
    // A click on the radio that is on already tells the target again that it is on.
    if (GetValue() != 0)
        CCheckBox::SendNotify();
    else
        SetChecked(true);
}

void CRadioButton::SetChecked(bool on)
{
    if (on == (GetValue() != 0))
        return;
    if (on && chosen_ && chosen_ != this)
        TurnOff(chosen_);
    SetValue(on ? 1 : 0);
    CCheckBox::SendNotify();
    if (CWind* window = GetOwnerWnd(); on && window)
        window->SelectInGroup(this);
}

CTObj* CButton::ReadTemplate(int32_t kind, CRawParser* parser)
{
    const bool literal = (kind & 1) != 0;
    if (kind == kKindCheckBoxRef || kind == kKindCheckBoxLit)
        return new CTCheckBox(kind, parser, literal);
    if (kind == kKindRadioRef || kind == kKindRadioLit)
        return new CTRadioButton(kind, parser, literal);
    return new CTButton(kind, parser, literal);
}

CBaseObj* CButton::Create(CTObj* tpl)
{
    auto* t = static_cast<CTButton*>(tpl);
    std::unique_ptr<CStr> text = t->GetText().Resolve(*t);
    if (auto* radio = dynamic_cast<CTRadioButton*>(t))
        return new CRadioButton(t->GetId(), t->GetRect(), t->GetMsgType(), t->GetBuildOwner(),
                                std::move(text), radio->GetGroupId(), radio->GetSwitchOn(), t->GetFontId());
    if (auto* box = dynamic_cast<CTCheckBox*>(t))
        return new CCheckBox(t->GetId(), t->GetRect(), t->GetMsgType(), t->GetBuildOwner(), std::move(text),
                             box->GetSwitchOn(), t->GetFontId());
    auto* button = new CButton(t->GetId(), t->GetRect(), t->GetMsgType(), t->GetBuildOwner(), std::move(text),
                               t->GetFontId(), false);
    if (t->GetKind() == kKindDefaultRef || t->GetKind() == kKindDefaultLit)
        button->SetDefault(true);
    return button;
}

CTButton::CTButton(int32_t kind, CRawParser* parser, bool literal)
    : CTControl(kind, parser), text_(parser, literal)
{
}

CTCheckBox::CTCheckBox(int32_t kind, CRawParser* parser, bool literal) : CTButton(kind, parser, literal)
{
    switchOn_ = parser->ReadShort("switchon");
}

CTRadioButton::CTRadioButton(int32_t kind, CRawParser* parser, bool literal)
    : CTCheckBox(kind, parser, literal)
{
    groupId_ = parser->ReadLong("groupid");
}
