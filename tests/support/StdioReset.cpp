// Every test starts with the console closed, its settings back at their defaults.
#include "engine/framework/Stdio.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_stdioReset([] { ResetStdio(); });

} // namespace
