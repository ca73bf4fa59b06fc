#include "engine/controls/input/InputKinds.h"

#include "engine/controls/input/CaptionFrame.h"
#include "engine/controls/input/PushFrame.h"
#include "engine/controls/input/ScrollBar.h"
#include "engine/controls/input/TextBtnFrame.h"
#include "engine/resources/Registrar.h"

void RegisterInputTemplateKinds()
{
    CRegistrar::Register(CPushFrame::kTemplateKind, &CPushFrame::Create, &CPushFrame::ReadTemplate);
    CRegistrar::Register(CCaptionFrame::kKindByReference, &CCaptionFrame::Create,
                         &CCaptionFrame::ReadByReference);
    CRegistrar::Register(CCaptionFrame::kKindLiteral, &CCaptionFrame::Create, &CCaptionFrame::ReadLiteral);
    CRegistrar::Register(CTextBtnFrame::kKindByReference, &CTextBtnFrame::Create,
                         &CTextBtnFrame::ReadByReference);
    CRegistrar::Register(CTextBtnFrame::kKindLiteral, &CTextBtnFrame::Create, &CTextBtnFrame::ReadLiteral);
    CRegistrar::Register(CScrollBar::kTemplateKind, &CScrollBar::Create, &CScrollBar::ReadTemplate);
}
