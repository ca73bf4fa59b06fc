#include "engine/controls/imagectl/ImageControlKinds.h"

#include "engine/controls/imagectl/BkImgBtnWnd.h"
#include "engine/controls/imagectl/ImgBtnWnd.h"
#include "engine/controls/imagectl/ImgRadioWnd.h"
#include "engine/controls/imagectl/ImgScrollBar.h"
#include "engine/controls/imagectl/ImgSwitchWnd.h"
#include "engine/controls/imagectl/ImgTextBtnWnd.h"
#include "engine/resources/Registrar.h"

void RegisterImageControlKinds()
{
    for (int32_t kind : {CImgBtnWnd::kTemplateKind, CImgBtnWnd::kKindDefault})
        CRegistrar::Register(kind, &CImgBtnWnd::Create, &CImgBtnWnd::ReadTemplate);
    CRegistrar::Register(CImgSwitchWnd::kTemplateKind, &CImgSwitchWnd::Create, &CImgSwitchWnd::ReadTemplate);
    CRegistrar::Register(CImgRadioWnd::kTemplateKind, &CImgRadioWnd::Create, &CImgRadioWnd::ReadTemplate);
    for (int32_t kind : {CBkImgBtnWnd::kTemplateKind, CBkImgBtnWnd::kKindDefault})
        CRegistrar::Register(kind, &CBkImgBtnWnd::Create, &CBkImgBtnWnd::ReadTemplate);
    for (int32_t kind : {CImgTextBtnWnd::kKindByReference, CImgTextBtnWnd::kKindByReferenceDefault})
        CRegistrar::Register(kind, &CImgTextBtnWnd::Create, &CImgTextBtnWnd::ReadByReference);
    for (int32_t kind : {CImgTextBtnWnd::kKindLiteral, CImgTextBtnWnd::kKindLiteralDefault})
        CRegistrar::Register(kind, &CImgTextBtnWnd::Create, &CImgTextBtnWnd::ReadLiteral);
    CRegistrar::Register(CImgScrollBar::kTemplateKind, &CImgScrollBar::Create, &CImgScrollBar::ReadTemplate);
}
