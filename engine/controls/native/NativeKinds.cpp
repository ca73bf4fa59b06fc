#include "engine/controls/native/NativeKinds.h"

#include "engine/controls/native/ScrollBarCtl.h"
#include "engine/resources/Registrar.h"

void RegisterNativeTemplateKinds()
{
    CRegistrar::Register(CScrollBarCtl::kTemplateKind, &CScrollBarCtl::Create, &CScrollBarCtl::ReadTemplate);
}
