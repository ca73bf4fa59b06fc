#include "engine/resources/DefinitionTextHooks.h"

#include "engine/framework/ApplHooks.h"
#include "engine/framework/EngineStrings.h"
#include "engine/framework/TplRec.h"
#include "engine/resources/FormatList.h"
#include "engine/resources/TplRecLoader.h"

void InstallDefinitionTextHooks()
{
    ApplHooks& hooks = GetApplHooks();
    hooks.defineRecordFormats = [] { AddLibIdFormat(); };
    // A data set without the list keeps the texts it had; reports are then shorter.
    hooks.loadEngineStrings = [] {
        if (std::unique_ptr<CTplRec> list = CreateTplRec(8, 0xFFFFFFFF, false))
            SetEngineStringList(std::move(list));
    };
}
