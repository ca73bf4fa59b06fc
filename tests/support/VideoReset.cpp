// Every test starts with the platform's video library, no shared video palette and no
// option settings.
#include "engine/framework/Options.h"
#include "engine/media/SmackerFrame.h"
#include "engine/media/SmackerLib.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_videoReset([] {
    SetSmackerLib(nullptr);
    CSmackerFrame::ResetSharedPalette();
    SetOptionSettings(nullptr);
});

} // namespace
