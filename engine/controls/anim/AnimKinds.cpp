#include "engine/controls/anim/AnimKinds.h"

#include "engine/controls/anim/SeqWnd.h"
#include "engine/resources/Registrar.h"

void RegisterAnimTemplateKinds()
{
    CRegistrar::Register(CSeqWnd::kTemplateKind, &CSeqWnd::Create, &CSeqWnd::ReadTemplate);
}
