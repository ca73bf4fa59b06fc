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

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/game/program/FixtureGame.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestEnv.h"
#include "tools/QmSave.h"

namespace fs = std::filesystem;

namespace {

fs::path GoldenFolder() { return qmtest::SourceDir() / "tests" / "game" / "program" / "golden"; }

fs::path Slot(int n)
{
    return qmtest::TempDir() / "share" / "kvl" / "Quillmark III" / "Saved Games" /
           ("SLOT" + std::to_string(n) + ".QM3");
}

std::string QmSaveText(const fs::path& file)
{
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunQmSave({file.string()}, out, err), 0) << err.str();
    return out.str();
}

// The slot's bytes and qmsave text against goldens `name`.qm3 and `name`.qmsave.txt (written
// first with QM_UPDATE_GOLDEN=1).
void ExpectSlotAsGolden(const fs::path& slot, const std::string& name)
{
    ASSERT_TRUE(fs::exists(slot));
    const fs::path bytes = GoldenFolder() / (name + ".qm3");
    const fs::path text = GoldenFolder() / (name + ".qmsave.txt");
    if (const char* update = std::getenv("QM_UPDATE_GOLDEN"); update && *update == '1') {
        fs::copy_file(slot, bytes, fs::copy_options::overwrite_existing);
        std::ofstream(text, std::ios::binary) << QmSaveText(slot);
    }
    const char* const remake = "; remake the goldens (and read their texts) with QM_UPDATE_GOLDEN=1 "
                               "build/test/tests/test_game_program --gtest_filter='SavedGameRun*'";
    EXPECT_EQ(qmtest::ReadWholeFile(slot), qmtest::ReadWholeFile(bytes)) << name << ".qm3" << remake;
    EXPECT_EQ(QmSaveText(slot), qmtest::ReadWholeFile(text)) << remake;
}

qmtest::ProgramRun RunQm3(const std::string& script, const std::vector<std::string>& games = {})
{
    std::vector<std::string> args = {"--headless", "--seed", "1", "--script",
                                     qmtest::WriteScript(script).string()};
    args.insert(args.end(), games.begin(), games.end());
    return qmtest::RunProgram(QM3_PROGRAM, args);
}

// Through the options panel into slot `slot` (1-5) under `name`.
std::string SaveSteps(int slot, const std::string& name)
{
    return "press 5002\n"
           "tick 2\n"
           "press 5422\n"
           "tick 2\n"
           "click 200 " +
           std::to_string(170 + 17 * (slot - 1)) +
           "\n"
           "tick 1\n"
           "type " +
           name +
           "\n"
           "press 14000\n"
           "tick 2\n";
}

// The options panel's quit, the save it offers declined.
const char* const kQuitSteps = "press 5423\n"
                               "tick 2\n"
                               "press 14001\n"
                               "tick 1\n";

// Steps of 25 ticks (a travel hour each on the way) that take the trip three days on.
constexpr int kTravelSteps = 60;

TEST(SavedGameRun, SlotOneAsTheGameSavesItThenThreeDaysOnInSlotTwo)
{
    const fs::path fixture = qmtest::TempDir() / "fixture.qm3";
    std::ofstream(fixture, std::ios::binary) << qm3test::FixtureGame();
    const qmtest::ProgramRun first =
        RunQm3("tick 5\n" + SaveSteps(1, "Slot one") + kQuitSteps, {fixture.string()});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err, "");
    EXPECT_EQ(first.out.find("msgbox"), std::string::npos) << first.out;
    ExpectSlotAsGolden(Slot(1), "slot1");

    // The opening screen's open-game choice lists the saved games: slot 1 is the first. Then
    // three days along the route, each dialog on the way answered with its default choice.
    std::string goOn;
    for (int i = 0; i < kTravelSteps; ++i)
        goOn += "tick 25\nkey Enter\n";
    const qmtest::ProgramRun second = RunQm3("tick 10\n"
                                             "press 422\n"
                                             "tick 2\n"
                                             "click 200 170\n"
                                             "tick 1\n"
                                             "press 14000\n"
                                             "tick 5\n" +
                                             goOn + SaveSteps(2, "Slot two") + kQuitSteps);
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.err, "");
    EXPECT_EQ(second.out.find("msgbox"), std::string::npos) << second.out;
    ExpectSlotAsGolden(Slot(2), "slot2");
}

} // namespace
