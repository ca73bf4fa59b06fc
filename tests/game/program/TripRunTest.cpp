// The end-to-end trip: the game program, headless with a fixed seed, runs the trip script
// golden/trip.txt (a new game along the sample route: events answered, plants gathered, the
// ridge climbed and the river forded with their outcome clips, on to the trading post, the guidebook's
// diary written, the trip status asked, the game saved into slot 1 through the control bar)
// and every picture the script takes must equal its golden beside the script; no message box
// may come up on the way, and the standard output (the events announced and resolved, the nodes
// reached, the stop scenes put up) must equal golden/trip-events.txt. Slot 1 must equal
// golden/trip-slot1.qm3 byte for byte and its qmsave text trip-slot1.qmsave.txt. A second run
// opens slot 1 from the opening screen, travels three days (to the route's end) and saves slot
// 2: golden/trip-slot2.qm3 and trip-slot2.qmsave.txt, its output golden/trip-loaded-events.txt.
//
// The pictures' goldens are remade by the command in the script's header:
//   build/test/game/qm3 --headless --seed 1 --script tests/game/program/golden/trip.txt
// run from the source folder with a fresh XDG_CONFIG_HOME and XDG_DATA_HOME; the outputs' and
// the slots' goldens by running this test with QM_UPDATE_GOLDEN=1:
//   QM_UPDATE_GOLDEN=1 build/test/tests/test_game_program --gtest_filter='TripRun*'
// then look at the pictures and read the qmsave texts before committing them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/game/program/SavedGameSteps.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

const char* const kGoldenFolder = "tests/game/program/golden/";
const char* const kRemake = "build/test/tests/test_game_program --gtest_filter='TripRun*'";

// The pictures the script takes, by file name.
std::vector<std::string> Screenshots(const std::string& script)
{
    std::vector<std::string> names;
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
        const std::string prefix = std::string("screenshot ") + kGoldenFolder;
        if (line.rfind(prefix, 0) == 0)
            names.push_back(line.substr(prefix.size()));
    }
    return names;
}

// The run's standard output against golden `name` (written first with QM_UPDATE_GOLDEN=1).
void ExpectOutputAsGolden(const qmtest::ProgramRun& run, const std::string& name)
{
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.find("msgbox"), std::string::npos) << run.out;
    const fs::path golden = qmtest::SourceDir() / kGoldenFolder / name;
    if (const char* update = std::getenv("QM_UPDATE_GOLDEN"); update && *update == '1')
        std::ofstream(golden, std::ios::binary) << run.out;
    EXPECT_EQ(run.out, qmtest::ReadWholeFile(golden)) << name;
}

// Steps of 25 ticks (a travel hour each on the way), each answering what came up with Enter,
// that take the trip three days on.
std::string ThreeDaysOn()
{
    std::string steps;
    for (int i = 0; i < 60; ++i)
        steps += "tick 25\nkey Enter\n";
    return steps;
}

TEST(TripRun, ANewGameTravelsTheSampleRouteAsTheGoldensShow)
{
    const fs::path golden = qmtest::SourceDir() / kGoldenFolder;
    std::string script = qmtest::ReadWholeFile(golden / "trip.txt");
    const std::vector<std::string> pictures = Screenshots(script);
    ASSERT_FALSE(pictures.empty());
    const std::string folder = kGoldenFolder;
    for (size_t at = script.find(folder); at != std::string::npos; at = script.find(folder, at))
        script.replace(at, folder.size(), qmtest::TempDir().string() + "/");

    const qmtest::ProgramRun run =
        qmtest::RunProgram(QM3_PROGRAM, {"--headless", "--seed", "1", "--script",
                                         qmtest::WriteScript(script, "trip.txt").string()});
    // The route events met on the way, the nodes reached and the stops put up.
    ExpectOutputAsGolden(run, "trip-events.txt");
    for (const std::string& name : pictures) {
        SCOPED_TRACE(name);
        qmtest::ExpectSamePicture(qmtest::TempDir() / name, golden / name);
    }
    qm3test::ExpectSlotAsGolden(qm3test::SlotFile(1), "trip-slot1", kRemake);

    // The saved trip goes on in a new run of the program.
    const qmtest::ProgramRun loaded = qmtest::RunProgram(
        QM3_PROGRAM, {"--headless", "--seed", "1", "--script",
                      qmtest::WriteScript(qm3test::OpenSlotOneSteps() + ThreeDaysOn() +
                                              qm3test::SaveSteps(2, "At the valley") + qm3test::QuitSteps(),
                                          "trip-loaded.txt")
                          .string()});
    ExpectOutputAsGolden(loaded, "trip-loaded-events.txt");
    qm3test::ExpectSlotAsGolden(qm3test::SlotFile(2), "trip-slot2", kRemake);
}

} // namespace
