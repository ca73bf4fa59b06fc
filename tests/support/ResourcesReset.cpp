// Every test starts with an empty library manager.
#include "engine/resources/LibMgr.h"
#include "engine/resources/ResLib.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_resourcesReset([] { SetLibMgr(nullptr); });

} // namespace
