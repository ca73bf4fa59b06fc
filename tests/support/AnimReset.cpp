// Every test starts with the engine's own routine for play-field cels.
#include "engine/controls/anim/AnimatorWnd.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_animReset([] { SetPlayfieldCelProc(nullptr); });

} // namespace
