// A game that ends through a fatal report while a sound fades ends cleanly: the test build's
// sanitizers watch what the exit destroys after the report (the sound slots' sounds leave the
// timer queue then). A copy of the built game beside its data without the pictures of node 2
// (the route panel's picture is one the game needs) ends as the party sets out, the travel
// music fading in.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "tests/support/ProgramRun.h"
#include "tests/support/TestEnv.h"
#include "tools/QmLib.h"

namespace fs = std::filesystem;

namespace {

// A hard link where the file system allows one, else a copy.
void LinkOrCopy(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    fs::create_hard_link(from, to, ec);
    if (ec)
        fs::copy(from, to, fs::copy_options::recursive);
}

// The built game with its data, node 2's pictures ("CBM" 9520-9522) left out.
fs::path GameWithoutNodeTwoPictures()
{
    const fs::path built = fs::path(QM3_PROGRAM).parent_path();
    const fs::path folder = qmtest::TempDir() / "game";
    fs::create_directories(folder);
    for (const char* name : {"qm3", "QM3Lang.lng", "QM3DISC1.MRK", "QM3DISC2.MRK"})
        LinkOrCopy(built / name, folder / name);
    fs::copy(built / "QM3DISC", folder / "QM3DISC", fs::copy_options::recursive);
    std::ostringstream out, err;
    EXPECT_EQ(
        RunQmLib({"unpack", (built / "QM3Data.qmd").string(), (folder / "QM3Data.qmd").string()}, out, err),
        0)
        << err.str();
    for (const char* picture : {"009520.CBM", "009521.CBM", "009522.CBM"})
        EXPECT_TRUE(fs::remove(folder / "QM3Data.qmd" / "CBM" / picture)) << picture;
    return folder / "qm3";
}

TEST(FatalEndRun, AFatalReportWhileTheMusicFadesEndsTheGameCleanly)
{
    const fs::path game = GameWithoutNodeTwoPictures();
    // A new game, the party named and out of the start's scene onto the trail.
    const qmtest::ProgramRun run =
        qmtest::RunProgram(game, {"--headless", "--seed", "1", "--script",
                                  qmtest::WriteScript("tick 10\npress 421\ntick 2\npress 428\ntick 5\n"
                                                      "key Enter\ntick 2\nkey Enter\ntick 5\ntick 40\n")
                                      .string()});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("msgbox \"Fatal Error\" \"Fatal Error: A picture the game needs is missing"),
              std::string::npos)
        << run.out;
}

} // namespace
