// Every test starts without a cursor manager.
#include "engine/graphics/CursorMgr.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_cursorReset([] { DeleteCursorMgr(); });

} // namespace
