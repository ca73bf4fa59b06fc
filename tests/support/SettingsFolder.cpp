// Every test keeps its settings and named locks in its own temporary folder, so no test
// reads or writes the settings of the user running it.
#include "platform/Settings.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_settingsFolder([] { plat::SetSettingsFolder(qmtest::TempDir() / "settings"); });

} // namespace
