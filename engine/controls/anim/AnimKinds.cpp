#include "engine/controls/anim/AnimKinds.h"

#include "engine/controls/anim/PackedAnimWnd.h"
#include "engine/controls/anim/ScrollTextWnd.h"
#include "engine/controls/anim/SeqWnd.h"
#include "engine/resources/Registrar.h"

void RegisterAnimTemplateKinds()
{
    CRegistrar::Register(CScrollTextWnd::kTemplateKind, &CScrollTextWnd::Create,
                         &CScrollTextWnd::ReadTemplate);
    CRegistrar::Register(CPackedAnimWnd::kTemplateKind, &CPackedAnimWnd::Create,
                         &CPackedAnimWnd::ReadTemplate);
    CRegistrar::Register(CSeqWnd::kTemplateKind, &CSeqWnd::Create, &CSeqWnd::ReadTemplate);
}
