// Saved games through the running game, headless with a fixed seed: a game saved into slot 1
// through the control bar equals its golden byte for byte, and its qmsave text its golden
// text; a second run opens slot 1 from the opening screen, travels three days and saves slot
// 2, which equals its goldens too. The first run starts from the fixture game (disc 2) named
// on the command line.
//
// The goldens (golden/slot1.qm3, slot1.qmsave.txt, slot2.qm3, slot2.qmsave.txt) are remade by
// running the test with QM_UPDATE_GOLDEN=1 from the source folder:
//   QM_UPDATE_GOLDEN=1 build/test/tests/test_game_program --gtest_filter='SavedGameRun*'
// then read the qmsave texts before committing them.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/game/program/FixtureGame.h"
#include "tests/game/program/SavedGameSteps.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

const char* const kRemake = "build/test/tests/test_game_program --gtest_filter='SavedGameRun*'";

qmtest::ProgramRun RunQm3(const std::string& script, const std::vector<std::string>& games = {})
{
    std::vector<std::string> args = {"--headless", "--seed", "1", "--script",
                                     qmtest::WriteScript(script).string()};
    args.insert(args.end(), games.begin(), games.end());
    return qmtest::RunProgram(QM3_PROGRAM, args);
}

// Steps of 25 ticks (a travel hour each on the way) that take the trip three days on.
constexpr int kTravelSteps = 60;

TEST(SavedGameRun, SlotOneAsTheGameSavesItThenThreeDaysOnInSlotTwo)
{
    const fs::path fixture = qmtest::TempDir() / "fixture.qm3";
    std::ofstream(fixture, std::ios::binary) << qm3test::FixtureGame();
    const qmtest::ProgramRun first =
        RunQm3("tick 5\n" + qm3test::SaveSteps(1, "Slot one") + qm3test::QuitSteps(), {fixture.string()});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err, "");
    EXPECT_EQ(first.out.find("msgbox"), std::string::npos) << first.out;
    qm3test::ExpectSlotAsGolden(qm3test::SlotFile(1), "slot1", kRemake);

    // The opening screen's open-game choice lists the saved games: slot 1 is the first. Then
    // three days along the route, each dialog on the way answered with its default choice.
    std::string goOn;
    for (int i = 0; i < kTravelSteps; ++i)
        goOn += "tick 25\nkey Enter\n";
    const qmtest::ProgramRun second =
        RunQm3(qm3test::OpenSlotOneSteps() + goOn + qm3test::SaveSteps(2, "Slot two") + qm3test::QuitSteps());
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.err, "");
    EXPECT_EQ(second.out.find("msgbox"), std::string::npos) << second.out;
    qm3test::ExpectSlotAsGolden(qm3test::SlotFile(2), "slot2", kRemake);
}

} // namespace
