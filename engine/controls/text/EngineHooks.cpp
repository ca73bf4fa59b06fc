#include "engine/controls/text/EngineHooks.h"

#include "engine/controls/WindowHooks.h"
#include "engine/controls/WndProc.h"
#include "engine/controls/text/ScreenHooks.h"
#include "engine/graphics/GraphicsHooks.h"
#include "engine/resources/DefinitionTextHooks.h"
#include "engine/resources/LibraryHooks.h"

void InstallEngineHooks()
{
    InstallDefinitionTextHooks();
    InstallLibraryHooks();
    InstallGraphicsHooks();
    InstallWindowHooks();
    InstallScreenHooks();
    RegisterEngineClasses();
}
