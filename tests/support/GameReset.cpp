// Every test starts without the game's globals, sound slots or replaced module constructors.
#include "engine/framework/Options.h"
#include "game/base/GameGlobals.h"
#include "game/base/LibraryDiscovery.h"
#include "game/base/SoundSlots.h"
#include "game/landmarks/LmCharVideo.h"
#include "game/shell/ModuleFactory.h"
#include "game/shell/SmackerModule.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_gameReset([] {
    DeleteAllSounds();
    SetSoundFactory(nullptr);
    ResetModuleConstructors();
    InstallGameModules();
    SetAttractMovieMaker(nullptr);
    SetLmCharVideoMaker(nullptr);
    ResetGameGlobals();
    SetDiscSwitch(nullptr);
    SetOptionSettings(nullptr);
});

} // namespace
