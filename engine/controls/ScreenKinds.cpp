#include "engine/controls/ScreenKinds.h"

#include "engine/controls/ImageFrame.h"
#include "engine/controls/ImageWnd.h"
#include "engine/controls/TextFrame.h"
#include "engine/resources/Registrar.h"

void RegisterScreenTemplateKinds()
{
    CRegistrar::Register(CImageWnd::kTemplateKind, &CImageWnd::Create, &CImageWnd::ReadTemplate);
    CRegistrar::Register(CTTextFrame::kKindByReference, &CTextFrame::Create, &CTTextFrame::ReadByReference);
    CRegistrar::Register(CTTextFrame::kKindLiteral, &CTextFrame::Create, &CTTextFrame::ReadLiteral);
    CRegistrar::Register(CImageFrame::kTemplateKind, &CImageFrame::Create, &CImageFrame::ReadTemplate);
}
