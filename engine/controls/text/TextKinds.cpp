#include "engine/controls/text/TextKinds.h"

#include "engine/controls/text/ScrollList.h"
#include "engine/resources/Registrar.h"

void RegisterTextTemplateKinds()
{
    CRegistrar::Register(CScrollList::kKindByReference, &CScrollList::Create, &CScrollList::ReadByReference);
    CRegistrar::Register(CScrollList::kKindLiteral, &CScrollList::Create, &CScrollList::ReadLiteral);
}
