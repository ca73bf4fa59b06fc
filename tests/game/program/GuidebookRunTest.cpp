// The guidebook in the built game program, run headless from a new game: opened from the
// control bar's options panel, its pages turned, a line written into the diary and the book
// closed and opened again at the diary.
//
// The golden pictures are remade by the test's own script, run from the source folder with a
// fresh XDG_CONFIG_HOME and XDG_DATA_HOME:
//   build/test/game/qm3 --seed 1 --script tests/game/program/golden/make-guidebook-goldens.txt
#include <gtest/gtest.h>

#include "tests/support/ProgramRun.h"

namespace {

TEST(GuidebookRun, PagesTurnedAndADiaryLineKeptFromANewGame)
{
    const qmtest::ProgramRun run =
        qmtest::RunGoldenScript(QM3_PROGRAM, "make-guidebook-goldens.txt", {"--seed", "1"},
                                {"guidebook-spread.png", "guidebook-diary.png"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
}

} // namespace
