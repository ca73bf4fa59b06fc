// The guidebook in the built game program, run headless from a new game: opened from the
// control bar's options panel, its pages turned, a line written into the diary and the book
// closed and opened again at the diary.
//
// The golden pictures are remade by the test's own script, run from the source folder with a
// fresh XDG_CONFIG_HOME and XDG_DATA_HOME:
//   build/test/game/qm3 --seed 1 --script tests/game/program/golden/make-guidebook-goldens.txt
#include <gtest/gtest.h>

#include <string>

#include "tests/support/LibraryFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

TEST(GuidebookRun, PagesTurnedAndADiaryLineKeptFromANewGame)
{
    // The goldens' own script, its pictures written to the test's folder instead.
    const fs::path golden = qmtest::SourceDir() / "tests" / "game" / "program" / "golden";
    std::string script = qmtest::ReadWholeFile(golden / "make-guidebook-goldens.txt");
    const std::string folder = "tests/game/program/golden/";
    for (size_t at = script.find(folder); at != std::string::npos; at = script.find(folder, at))
        script.replace(at, folder.size(), qmtest::TempDir().string() + "/");
    const qmtest::ProgramRun run =
        qmtest::RunProgram(QM3_PROGRAM, {"--seed", "1", "--script", qmtest::WriteScript(script).string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    for (const char* picture : {"guidebook-spread.png", "guidebook-diary.png"})
        qmtest::ExpectSamePicture(qmtest::TempDir() / picture, golden / picture);
}

} // namespace
