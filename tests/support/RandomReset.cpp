// Every test starts with the random generator unseeded.
#include "engine/framework/Util.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_randomReset([] { CUtil::ResetRandom(); });

}  // namespace
