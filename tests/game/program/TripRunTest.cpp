// The end-to-end trip: the game program, headless with a fixed seed, runs the trip script
// golden/trip.txt (a new game along the sample route: events answered, plants gathered, the
// ridge climbed and the river forded with their outcome clips, on to the fort) and every
// picture the script takes must equal its golden beside the script; no message box may come up
// on the way, and the standard output (the events announced and resolved, the nodes reached, the
// stop scenes put up) must equal golden/trip-events.txt.
//
// The pictures' goldens are remade by the command in the script's header:
//   build/test/game/qm3 --headless --seed 1 --script tests/game/program/golden/trip.txt
// run from the source folder with a fresh XDG_CONFIG_HOME and XDG_DATA_HOME; the golden of the
// output by running this test with QM_UPDATE_GOLDEN=1:
//   QM_UPDATE_GOLDEN=1 build/test/tests/test_game_program --gtest_filter='TripRun*'
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/LibraryFixtures.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

const char* const kGoldenFolder = "tests/game/program/golden/";

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
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.find("msgbox"), std::string::npos) << run.out;
    // The route events met on the way, as the game announces and resolves them.
    const fs::path events = golden / "trip-events.txt";
    if (const char* update = std::getenv("QM_UPDATE_GOLDEN"); update && *update == '1')
        std::ofstream(events, std::ios::binary) << run.out;
    EXPECT_EQ(run.out, qmtest::ReadWholeFile(events));
    for (const std::string& name : pictures) {
        SCOPED_TRACE(name);
        qmtest::ExpectSamePicture(qmtest::TempDir() / name, golden / name);
    }
}

} // namespace
