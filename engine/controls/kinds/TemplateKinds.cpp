#include "engine/controls/kinds/TemplateKinds.h"

#include "engine/controls/ScreenKinds.h"
#include "engine/controls/TFrame.h"
#include "engine/controls/WindowKinds.h"
#include "engine/controls/anim/AnimKinds.h"
#include "engine/controls/input/InputKinds.h"
#include "engine/controls/native/NativeKinds.h"

#include "engine/controls/imagectl/ImageControlKinds.h"
// The text elements.
#include "engine/controls/text/TextKinds.h"

void RegisterAllTemplateKinds()
{
    RegisterEngineTemplateKinds();
    RegisterWindowTemplateKinds();
    RegisterScreenTemplateKinds();
    RegisterInputTemplateKinds();
    RegisterNativeTemplateKinds();
    RegisterAnimTemplateKinds();

    RegisterImageControlKinds();

    // The text elements.
    RegisterTextTemplateKinds();
}
