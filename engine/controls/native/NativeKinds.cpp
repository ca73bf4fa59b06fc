#include "engine/controls/native/NativeKinds.h"

#include "engine/controls/native/Button.h"
#include "engine/controls/native/ColorWnd.h"
#include "engine/controls/native/EditField.h"
#include "engine/controls/native/ListBoxCtl.h"
#include "engine/controls/native/ScrollBarCtl.h"
#include "engine/controls/native/StrListBox.h"
#include "engine/controls/native/TextLabel.h"
#include "engine/resources/Registrar.h"

void RegisterNativeTemplateKinds()
{
    for (int32_t kind = CButton::kKindRef; kind <= CButton::kKindRadioLit; ++kind)
        CRegistrar::Register(kind, &CButton::Create, &CButton::ReadTemplate);
    for (int32_t kind = CEditField::kKindRef; kind <= CEditCtl::kKindLit; ++kind)
        CRegistrar::Register(kind, &CEditField::Create, &CEditField::ReadTemplate);
    CRegistrar::Register(CListBoxCtl::kTemplateKind, &CListBoxCtl::Create, &CListBoxCtl::ReadTemplate);
    CRegistrar::Register(CComboBox::kTemplateKind, &CComboBox::Create, &CComboBox::ReadTemplate);
    CRegistrar::Register(CStrListBox::kTemplateKind, &CStrListBox::Create, &CStrListBox::ReadTemplate);
    CRegistrar::Register(CScrollBarCtl::kTemplateKind, &CScrollBarCtl::Create, &CScrollBarCtl::ReadTemplate);
    CRegistrar::Register(CTextLabel::kTemplateKind, &CTextLabel::Create, &CTextLabel::ReadTemplate);
    CRegistrar::Register(CColorWnd::kTemplateKind, &CColorWnd::Create, &CColorWnd::ReadTemplate);
}
