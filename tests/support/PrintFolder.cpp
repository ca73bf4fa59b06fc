// Every test's default printer writes its pages into the test's own temporary folder, so no
// test prints into the folder of the user running it.
#include "platform/Dialogs.h"
#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_printFolder([] {
    plat::PrintSetupResult printer;
    printer.folder = qmtest::TempDir() / "prints";
    plat::SetDefaultPrinterChoice(printer);
});

} // namespace
