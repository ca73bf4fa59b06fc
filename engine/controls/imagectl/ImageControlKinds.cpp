#include "engine/controls/imagectl/ImageControlKinds.h"

#include "engine/controls/imagectl/ImgBtnWnd.h"
#include "engine/controls/imagectl/ImgRadioWnd.h"
#include "engine/controls/imagectl/ImgSwitchWnd.h"
#include "engine/resources/Registrar.h"

void RegisterImageControlKinds()
{
    for (int32_t kind : {CImgBtnWnd::kTemplateKind, CImgBtnWnd::kKindDefault})
        CRegistrar::Register(kind, &CImgBtnWnd::Create, &CImgBtnWnd::ReadTemplate);
    CRegistrar::Register(CImgSwitchWnd::kTemplateKind, &CImgSwitchWnd::Create, &CImgSwitchWnd::ReadTemplate);
    CRegistrar::Register(CImgRadioWnd::kTemplateKind, &CImgRadioWnd::Create, &CImgRadioWnd::ReadTemplate);
}
