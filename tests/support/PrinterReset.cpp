// Every test starts with no printer environment factory and no printer choice.
#include "engine/framework/Printer.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_printerReset([] { ResetPrinting(); });

} // namespace
