// Every test starts without a font table and with the built-in remap table, not loaded.
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/RleStretchDraw.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_graphicsReset([] {
    CDrawEnv::ResetFonts();
    ResetRemapTable();
});

} // namespace
