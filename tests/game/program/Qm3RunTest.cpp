// The built game program, run headless on the sample data from a script (as a person's
// session would be replayed), and once on SDL's dummy drivers.
//
// The golden pictures hold the game area after start-up and with the options panel open:
//   build/test/game/qm3 --script tests/game/program/golden/make-goldens.txt
// run from the source folder remakes them. The opening screen's attract movie and the new game
// that follows it are remade likewise from golden/make-attract-goldens.txt, the script the test
// runs.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/game/program/FixtureGame.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestEnv.h"
#include "tools/QmSave.h"

namespace fs = std::filesystem;

namespace {

using qm3test::FixtureGame;
using qm3test::FixtureTrip;
using qmtest::ProgramRun;
using qmtest::WriteScript;

ProgramRun RunQm3(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv = {},
                  int killAfterMs = 0)
{
    return qmtest::RunProgram(QM3_PROGRAM, args, extraEnv, killAfterMs);
}

void ExpectSamePicture(const fs::path& made, const char* golden)
{
    qmtest::ExpectSamePicture(made, qmtest::SourceDir() / "tests" / "game" / "program" / "golden" / golden);
}

TEST(Qm3Run, OpeningScreenAndOptionsPanelThenTheSoundToggleAndQuit)
{
    const fs::path opening = qmtest::TempDir() / "opening.png";
    const fs::path panel = qmtest::TempDir() / "panel.png";
    const ProgramRun run = RunQm3({"--script", WriteScript("tick 10\n"
                                                           "screenshot " +
                                                           opening.string() +
                                                           "\n"
                                                           "press 5002\n"
                                                           "tick 5\n"
                                                           "screenshot " +
                                                           panel.string() +
                                                           "\n"
                                                           "# the sound toggle, then the panel's quit\n"
                                                           "press 5412\n"
                                                           "tick 2\n"
                                                           "press 5423\n"
                                                           "tick 1\n")
                                                   .string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    ExpectSamePicture(opening, "opening.png");
    ExpectSamePicture(panel, "options-panel.png");
    const std::string settings =
        qmtest::ReadWholeFile(qmtest::TempDir() / "config" / "kvl" / "user.settings");
    EXPECT_NE(settings.find("\"soundon\" string \"FALSE"), std::string::npos) << settings;
}

TEST(Qm3Run, TheIdleOpeningScreenPlaysItsMovieThenANewGameReachesTheTrip)
{
    // The goldens' own script, its pictures written to the test's folder instead.
    const fs::path golden = qmtest::SourceDir() / "tests" / "game" / "program" / "golden";
    std::string script = qmtest::ReadWholeFile(golden / "make-attract-goldens.txt");
    const std::string folder = "tests/game/program/golden/";
    for (size_t at = script.find(folder); at != std::string::npos; at = script.find(folder, at))
        script.replace(at, folder.size(), qmtest::TempDir().string() + "/");
    const ProgramRun run = RunQm3({"--seed", "1", "--script", WriteScript(script).string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    ExpectSamePicture(qmtest::TempDir() / "attract-movie.png", "attract-movie.png");
    ExpectSamePicture(qmtest::TempDir() / "new-game.png", "new-game.png");
}

TEST(Qm3Run, AltF4QuitsAsClosingTheWindowDoes)
{
    // The opening screen quits at once: nothing after the key runs.
    const fs::path after = qmtest::TempDir() / "after.png";
    const ProgramRun run =
        RunQm3({"--script",
                WriteScript("tick 10\nkey Alt+F4\ntick 5\nscreenshot " + after.string() + "\n").string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(fs::exists(after)) << "the game ran on after Alt+F4";
}

TEST(Qm3Run, AFailedLoadLeavesTheOpeningScreenUsableAndANewGameStarts)
{
    const fs::path slot = qmtest::TempDir() / "share" / "kvl" / "Quillmark III" / "Saved Games" / "SLOT1.QM3";
    fs::create_directories(slot.parent_path());
    std::ofstream(slot, std::ios::binary) << "no saved game";
    const ProgramRun run = qmtest::RunGoldenScript(
        QM3_PROGRAM, "failed-load.txt", {"--headless", "--seed", "1"},
        {"failed-load-open.png", "failed-load-opening.png", "failed-load-new-game.png"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1),
              "msgbox \"\" \"This is not a Quillmark III saved game.\" ok\n");
    EXPECT_NE(run.out.find("scene 1848-04-01 20100"), std::string::npos) << run.out;
}

TEST(Qm3Run, TheSaveOfferedOnClosingComesOverAnEventsDialogWithItsWholeTitle)
{
    const ProgramRun run = qmtest::RunGoldenScript(QM3_PROGRAM, "save-prompt.txt",
                                                   {"--headless", "--seed", "1"}, {"save-prompt.png"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.find("msgbox"), std::string::npos) << run.out;
}

TEST(Qm3Run, AWindowSmallerThanTheGameShowsItShrunkToFit)
{
    const ProgramRun run =
        qmtest::RunGoldenScript(QM3_PROGRAM, "small-window.txt", {"--headless", "--seed", "1"},
                                {"small-window-wide.png", "small-window-narrow.png"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
}

TEST(Qm3Run, BadCommandLinesAndScriptsExitWithOne)
{
    struct Case {
        std::vector<std::string> args;
        std::string script;
        std::string err;
    };
    const std::string file = (qmtest::TempDir() / "script.txt").string();
    for (const Case& c : std::vector<Case>{
             {{"--bogus"}, "", "qm3: unknown option --bogus\n"},
             // A line feed or escape in an argument cannot split the line or reach the terminal.
             {{"--bo\ngus\x1b"}, "", "qm3: unknown option --bo\\x0Agus\\x1B\n"},
             {{"--seed", "x"}, "", "qm3: bad seed \"x\"\n"},
             {{"--script", file}, "tick\nwiggle 3\n", "qm3: " + file + ":2: unknown command \"wiggle\"\n"},
             {{"--script", file}, "# fine\npress 77\n", "qm3: " + file + ":2: no object 77\n"},
         }) {
        WriteScript(c.script);
        const ProgramRun run = RunQm3(c.args);
        EXPECT_EQ(run.status, 1) << c.err;
        EXPECT_EQ(run.err.substr(0, c.err.size()), c.err);
    }
}

TEST(Qm3Run, MessageBoxesArePrintedWithTheirAnswer)
{
    // A saved game named on the command line that is not there: its load fails.
    const ProgramRun run =
        RunQm3({"--script", WriteScript("answer cancel\ntick\n").string(), "C:\\NOSUCH.QM3"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "msgbox \"\" \"The saved game cannot be read.\" ok\n");
}

std::string QmSaveLines(const fs::path& file)
{
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunQmSave({file.string()}, out, err), 0) << err.str();
    return out.str();
}

TEST(Qm3Run, AGameNamedOnTheCommandLineIsSavedThroughTheControlBarIntoASlot)
{
    const fs::path fixture = qmtest::TempDir() / "fixture.qm3";
    std::ofstream(fixture, std::ios::binary) << FixtureGame();
    const fs::path slot = qmtest::TempDir() / "share" / "kvl" / "Quillmark III" / "Saved Games" / "SLOT2.QM3";
    // The game as opened, then saved through the options panel into the second slot under a
    // typed name; quitting offers the save again, which is declined.
    const fs::path script = WriteScript("tick 5\n"
                                        "press 5002\n"
                                        "tick 2\n"
                                        "press 5422\n"
                                        "tick 2\n"
                                        "# the first slot, then the second: each pick puts the\n"
                                        "# slot's name in the name field, selected\n"
                                        "click 200 170\n"
                                        "tick 1\n"
                                        "click 200 187\n"
                                        "tick 2\n"
                                        "type Second try\n"
                                        "press 14000\n"
                                        "tick 2\n"
                                        "press 5423\n"
                                        "tick 2\n"
                                        "press 14001\n"
                                        "tick 1\n");
    std::string expected = QmSaveLines(fixture);
    expected.replace(expected.find("name \"Fixture trail\""), 20, "name \"Second try\"");
    // Each run opens the last one's save: three saves and loads leave the game as it was.
    fs::path game = fixture;
    for (int run = 1; run <= 3; ++run) {
        SCOPED_TRACE(run);
        const ProgramRun result = RunQm3({"--headless", "--script", script.string(), game.string()});
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out, "");
        ASSERT_TRUE(fs::exists(slot));
        EXPECT_EQ(QmSaveLines(slot), expected);
        game = slot;
    }
}

TEST(Qm3Run, ASavedGameWhoseTripIsDamagedIsRefusedAndTheTripStartsOver)
{
    // Nine members in the trip's party: the load ends with its message, the trip is thrown
    // away and the game is back at its opening screen.
    std::string game = FixtureGame();
    const size_t trip = game.size() - 2 - FixtureTrip().size();
    game[trip + 60] = 9;
    const fs::path fixture = qmtest::TempDir() / "damaged.qm3";
    std::ofstream(fixture, std::ios::binary) << game;
    const fs::path opening = qmtest::TempDir() / "opening.png";
    const ProgramRun run =
        RunQm3({"--headless", "--script",
                WriteScript("tick 10\nscreenshot " + opening.string() + "\n").string(), fixture.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "msgbox \"\" \"The saved game cannot be read.\" ok\n");
    ExpectSamePicture(opening, "opening.png");
}

TEST(Qm3Run, OnSdlDummyDriversTheGameRunsUntilTheSessionEnds)
{
    const std::string suppressions =
        (qmtest::SourceDir() / "tests" / "game" / "program" / "sdl-leaks.supp").string();
    const ProgramRun run = RunQm3({"--seed", "7"},
                                  {"DISPLAY=:qm3-test", "SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy",
                                   "LSAN_OPTIONS=suppressions=" + suppressions},
                                  300);
    EXPECT_EQ(run.status, 0) << run.err;
}

} // namespace
