#include "engine/controls/kinds/TemplateKinds.h"

#include "engine/controls/ScreenKinds.h"
#include "engine/controls/TFrame.h"

void RegisterAllTemplateKinds()
{
    RegisterEngineTemplateKinds();
    RegisterScreenTemplateKinds();
}
