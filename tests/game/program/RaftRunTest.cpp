// The rafting run: the game program, headless with a fixed seed, runs golden/raft.txt (a new
// game to the sample route's river, rafted through the rafting module, then on along the route)
// and every picture the script takes must equal its golden beside the script; no message box
// may come up on the way.
//
// The pictures' goldens are remade by the command in the script's header:
//   build/test/game/qm3 --headless --seed 2 --script tests/game/program/golden/raft.txt
// run from the source folder with a fresh XDG_CONFIG_HOME and XDG_DATA_HOME; the golden of the
// run's lines (golden/raft-events.txt) by running this test with QM_UPDATE_GOLDEN=1.
#include <gtest/gtest.h>

#include <algorithm>
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

// The run's lines without the events' announce and resolve lines: the route travelled.
std::vector<std::string> RouteLines(const std::string& out)
{
    std::vector<std::string> route;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string kind, date, id;
        words >> kind >> date >> id;
        if (kind == "arrive" || kind == "scene" || kind == "event")
            route.push_back(kind + " " + id);
    }
    return route;
}

TEST(RaftRun, ANewGameRaftsTheSampleRiverAndGoesOnAlongTheRoute)
{
    const qmtest::ProgramRun run =
        qmtest::RunGoldenScript(QM3_PROGRAM, "raft.txt", {"--headless", "--seed", "2"},
                                {"raft-river.png", "raft-after-river.png", "raft-trail.png"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.find("msgbox"), std::string::npos) << run.out;

    // The raft leaves the river's scene straight for node 7: through the rafting module, not
    // the shallow river's way (which would raise route event 94 first). The route goes on past
    // the landmark at node 8.
    const std::vector<std::string> route = RouteLines(run.out);
    size_t river = 0;
    while (river < route.size() && route[river] != "scene 20200")
        ++river;
    ASSERT_LT(river + 1, route.size()) << run.out;
    EXPECT_EQ(route[river + 1], "arrive 7") << run.out;
    const std::vector<std::string> after(route.begin() + static_cast<long>(river), route.end());
    for (const char* line : {"arrive 8", "scene 20300", "arrive 9"})
        EXPECT_NE(std::find(after.begin(), after.end(), line), after.end()) << line << "\n" << run.out;

    const fs::path events = qmtest::SourceDir() / "tests/game/program/golden/raft-events.txt";
    if (const char* update = std::getenv("QM_UPDATE_GOLDEN"); update && *update == '1')
        std::ofstream(events, std::ios::binary) << run.out;
    EXPECT_EQ(run.out, qmtest::ReadWholeFile(events));
}

} // namespace
