// Every test keeps its settings and named locks in its own temporary folder, so no test
// reads or writes the settings of the user running it. Writes skip the wait for the disk,
// which a temporary folder does not need.
#include "platform/Settings.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_settingsFolder([] {
    plat::SetSettingsFolder(qmtest::TempDir() / "settings");
    plat::SetSettingsDurable(false);
});

} // namespace
