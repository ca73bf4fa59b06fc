#include "engine/controls/kinds/TemplateKinds.h"

#include "engine/controls/ScreenKinds.h"
#include "engine/controls/TFrame.h"
#include "engine/controls/WindowKinds.h"

void RegisterAllTemplateKinds()
{
    RegisterEngineTemplateKinds();
    RegisterWindowTemplateKinds();
    RegisterScreenTemplateKinds();
}
