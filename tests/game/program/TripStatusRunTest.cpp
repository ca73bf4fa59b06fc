// The trip status screen in the built game program, run headless from a new game: opened from
// the control bar's options panel, its six panels rated, the trail going on, the start-over
// question answered "no" (5000), and the screen opened again afresh.
//
// The golden pictures are remade by the test's own script, run from the source folder with a
// fresh XDG_CONFIG_HOME and XDG_DATA_HOME:
//   build/test/game/qm3 --seed 1 --script tests/game/program/golden/make-trip-status-goldens.txt
#include <string>

#include <gtest/gtest.h>

#include "tests/support/ProgramRun.h"

namespace {

TEST(TripStatusRun, PanelsTheTrailAndTheStartOverQuestionAnsweredNoFromANewGame)
{
    const qmtest::ProgramRun run =
        qmtest::RunGoldenScript(QM3_PROGRAM, "make-trip-status-goldens.txt", {"--seed", "1"},
                                {"trip-status-panels.png", "trip-status-trail.png",
                                 "trip-status-start-over.png", "trip-status-again.png"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.find("msgbox"), std::string::npos) << run.out;
}

} // namespace
