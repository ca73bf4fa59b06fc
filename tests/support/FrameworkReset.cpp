// Puts the framework's process-wide objects back to their start state before every test.
#include "engine/framework/Memory.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_frameworkReset([] { SetMemoryAllocator(nullptr); });

} // namespace
