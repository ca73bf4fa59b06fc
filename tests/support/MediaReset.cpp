// Every test starts without a sound device.
#include "engine/media/SndMgr.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_mediaReset([] { CSndMgr::ReleaseDevice(); });

} // namespace
