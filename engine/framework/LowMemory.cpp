#include "engine/framework/LowMemory.h"

#include "engine/framework/Appl.h"

void NotifyLowMemory(int32_t size)
{
    if (auto* appl = dynamic_cast<CAppl*>(GetApplication()))
        appl->LowMemoryNotice(size);
}
