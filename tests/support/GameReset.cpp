// Every test starts without the game's globals, sound slots or replaced module constructors.
#include "engine/framework/Options.h"
#include "game/shell/GameGlobals.h"
#include "game/shell/ModuleFactory.h"
#include "game/shell/SmackerModule.h"
#include "game/shell/SoundSlots.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_gameReset([] {
    DeleteAllSounds();
    SetSoundFactory(nullptr);
    ResetModuleConstructors();
    SetAttractMovieMaker(nullptr);
    ResetGameGlobals();
    SetOptionSettings(nullptr);
});

} // namespace
