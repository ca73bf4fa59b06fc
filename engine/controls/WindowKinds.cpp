#include "engine/controls/WindowKinds.h"

#include "engine/controls/StrTpl.h"
#include "engine/controls/StrTplWnd.h"
#include "engine/controls/TextWnd.h"
#include "engine/controls/TopWnd.h"
#include "engine/resources/Registrar.h"

void RegisterWindowTemplateKinds()
{
    CRegistrar::Register(CTopWnd::kKindByReference, &CTopWnd::CreateFromTemplate, &CStrTpl::ReadByReference);
    CRegistrar::Register(CTopWnd::kKindLiteral, &CTopWnd::CreateFromTemplate, &CStrTpl::ReadLiteral);
    CRegistrar::Register(CStrTplWnd::kKindByReference, &CStrTplWnd::CreateFromTemplate,
                         &CStrTpl::ReadByReference);
    CRegistrar::Register(CStrTplWnd::kKindLiteral, &CStrTplWnd::CreateFromTemplate, &CStrTpl::ReadLiteral);
    CRegistrar::Register(CTextWnd::kKindByReference, &CTextWnd::CreateFromTemplate,
                         &CStrTpl::ReadByReference);
    CRegistrar::Register(CTextWnd::kKindLiteral, &CTextWnd::CreateFromTemplate, &CStrTpl::ReadLiteral);
}
