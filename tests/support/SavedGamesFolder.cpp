// Every test's saved games go into the test's own temporary folder ($XDG_DATA_HOME), so no
// test writes into the saved games of the user running it.
#include <cstdlib>

#include "tests/support/TestEnv.h"

namespace {

qmtest::ResetRegistrar g_savedGames([] {
    setenv("XDG_DATA_HOME", (qmtest::TempDir() / "share").c_str(), 1);
});

} // namespace
