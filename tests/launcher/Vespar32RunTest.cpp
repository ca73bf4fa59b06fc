// The built launcher, run headless on the sample tour from scripts as a person's session would
// be replayed: its screens against their goldens, what its items start, its command line, a
// second launcher started while one runs, and once on SDL's dummy drivers.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>

#include "platform/NamedLock.h"
#include "platform/Settings.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

const fs::path kProgram = VESPAR32_PROGRAM;

fs::path LauncherFolder() { return fs::absolute(kProgram).lexically_normal().parent_path(); }

qmtest::ProgramRun RunScript(const std::string& script, std::vector<std::string> args = {})
{
    args.insert(args.begin(), {"--script", qmtest::WriteScript(script).string()});
    return qmtest::RunProgram(kProgram, args);
}

void ExpectSamePicture(const fs::path& made, const char* golden)
{
    qmtest::ExpectSamePicture(made, qmtest::SourceDir() / "tests" / "launcher" / "golden" / golden);
}

TEST(Vespar32Run, TheMenuWithAnItemHoveredAndTheAboutScreenMatchTheirGoldens)
{
    // The goldens' own script, its pictures written to the test's folder instead.
    std::ifstream in(qmtest::SourceDir() / "tests" / "launcher" / "golden" / "make-goldens.txt");
    std::string script(std::istreambuf_iterator<char>(in), {});
    const std::string folder = "tests/launcher/golden/";
    for (size_t at = script.find(folder); at != std::string::npos; at = script.find(folder, at))
        script.replace(at, folder.size(), qmtest::TempDir().string() + "/");
    const qmtest::ProgramRun run = RunScript(script);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    ExpectSamePicture(qmtest::TempDir() / "screen-1000.png", "screen-1000.png");
    ExpectSamePicture(qmtest::TempDir() / "screen-1002.png", "screen-1002.png");
}

TEST(Vespar32Run, TheFirstItemStartsTheGameBesideTheLauncherAndEndsTheTour)
{
    const fs::path never = qmtest::TempDir() / "never.png";
    const qmtest::ProgramRun run =
        RunScript("tick 10\nclick 100 155\ntick 2\nscreenshot " + never.string() + "\n");
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string folder = LauncherFolder().string();
    EXPECT_EQ(run.out, "spawn \"" + folder + "/qm3\" in \"" + folder + "\"\n");
    EXPECT_EQ(run.err, "");
    EXPECT_FALSE(fs::exists(never)); // the tour ended before it
}

TEST(Vespar32Run, TheSiteItemHandsItsAddressOnAndTheTourGoesOn)
{
    const qmtest::ProgramRun run = RunScript("tick 10\nclick 100 235\ntick 2\nclick 100 235\ntick 2\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "url \"https://quillmark.example/\"\nurl \"https://quillmark.example/\"\n");
}

TEST(Vespar32Run, ABadCommandLineIsReportedWithTheUsage)
{
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"--tour", (qmtest::TempDir() / "nowhere").string()}, "vespar32: no tour folder"},
        {{"--tour"}, "vespar32: --tour needs a value"},
        {{"--fast"}, "vespar32: unknown option --fast"},
        {{"--fa\nst\x1b"}, "vespar32: unknown option --fa\\x0Ast\\x1B\n"},
        {{"--script", (qmtest::TempDir() / "none.txt").string()}, "cannot read the script"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const qmtest::ProgramRun run = qmtest::RunProgram(kProgram, c.args);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

TEST(Vespar32Run, AnotherTourFolderIsDriveCAndWhereProgramsAreFound)
{
    // A copy of the sample tour elsewhere, with a game of its own.
    const fs::path tour = qmtest::TempDir() / "my tour";
    fs::create_directories(tour);
    fs::copy(LauncherFolder() / "TourData", tour / "TourData", fs::copy_options::recursive);
    std::ofstream(tour / "qm3") << "x";
    fs::permissions(tour / "qm3", fs::perms::owner_all);
    const qmtest::ProgramRun run = RunScript("tick 10\nclick 100 155\ntick 2\n", {"--tour", tour.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "spawn \"" + tour.string() + "/qm3\" in \"" + tour.string() + "\"\n");
}

// Waits until the launcher started as "first" shows its menu; false (after ending it) when it
// never does.
bool WaitForMenu(pid_t first)
{
    // Its border window's marker is made just before its menu window (a probe of the menu's
    // marker would hold it for a moment, and the launcher would take that for another one).
    plat::SetSettingsFolder(qmtest::ProgramConfigHome() / "kvl");
    const fs::path border = plat::NamedLock::FileFor("window\\BORDERWINDOW\\Quillmark III Tour Border");
    for (int waited = 0; !fs::exists(border) && waited < 30000; waited += 10)
        usleep(10000);
    if (!fs::exists(border)) {
        kill(first, SIGTERM);
        const qmtest::ProgramRun run = qmtest::FinishProgram(first, "first");
        ADD_FAILURE() << "the launcher never showed its menu: " << run.status << " " << run.err << run.out;
        return false;
    }
    usleep(200000);
    return true;
}

TEST(Vespar32Run, ASecondLauncherEndsAtOnceWhileOneShowsItsMenu)
{
    // The first launcher runs without a script until it is ended.
    const pid_t first = qmtest::StartProgram(kProgram, {"--headless"}, {}, "first");
    ASSERT_GT(first, 0);
    ASSERT_TRUE(WaitForMenu(first));

    const fs::path picture = qmtest::TempDir() / "second.png";
    const qmtest::ProgramRun second = RunScript("tick 10\nscreenshot " + picture.string() + "\n");
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.out, "");
    EXPECT_EQ(second.err, "");
    EXPECT_FALSE(fs::exists(picture));

    kill(first, SIGTERM);
    qmtest::FinishProgram(first, "first");
    // Once it has gone, a launcher starts again.
    const qmtest::ProgramRun again = RunScript("tick 10\nscreenshot " + picture.string() + "\n");
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_TRUE(fs::exists(picture));
}

TEST(Vespar32Run, OnSdlDummyDriversTheLauncherRunsUntilTheSessionEnds)
{
    const std::string suppressions =
        (qmtest::SourceDir() / "tests" / "game" / "program" / "sdl-leaks.supp").string();
    const pid_t first =
        qmtest::StartProgram(kProgram, {},
                             {"DISPLAY=:vespar32-test", "SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy",
                              "LSAN_OPTIONS=suppressions=" + suppressions},
                             "first");
    ASSERT_GT(first, 0);
    ASSERT_TRUE(WaitForMenu(first));
    kill(first, SIGTERM); // the session ends: the launcher quits
    const qmtest::ProgramRun run = qmtest::FinishProgram(first, "first");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
}

} // namespace
