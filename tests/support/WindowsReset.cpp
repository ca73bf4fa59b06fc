// Puts the window layer's process-wide state back to its start before every test: the
// window lists and input records, the hooks to the cursor manager and help popup, the menu
// counters, the border window and the edit-target word.
#include "engine/controls/BorderWnd.h"
#include "engine/controls/EditTarget.h"
#include "engine/controls/InputState.h"
#include "engine/controls/Menu.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_windowsReset([] {
    DeleteBorderWnd();
    ResetInputState();
    ResetMenuState();
    SetEditTargetWord(0);
});

} // namespace
