// Every test starts without a font table.
#include "engine/graphics/DrawEnv.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_graphicsReset([] { CDrawEnv::ResetFonts(); });

} // namespace
