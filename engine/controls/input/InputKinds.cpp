#include "engine/controls/input/InputKinds.h"

#include "engine/controls/input/PushFrame.h"
#include "engine/controls/input/ScrollBar.h"
#include "engine/resources/Registrar.h"

void RegisterInputTemplateKinds()
{
    CRegistrar::Register(CPushFrame::kTemplateKind, &CPushFrame::Create, &CPushFrame::ReadTemplate);
    CRegistrar::Register(CScrollBar::kTemplateKind, &CScrollBar::Create, &CScrollBar::ReadTemplate);
}
