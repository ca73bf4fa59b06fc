// Both library kinds test the paths they are given through the engine profile's path test: by
// default the path must name a file (single-file library) or a folder (folder library); under
// the launcher's profile it must pass CFileSpec::Exists, which opens a file for reading and
// tries a folder as a folder.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "engine/framework/EngineProfile.h"
#include "engine/framework/FileSpecs.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/MegaLib.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;
using qmtest::Bytes;

namespace {

class LibraryPathTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qmtest::UseTempDirAsDriveC();
        qmtest::WriteMegaLibrary(qmtest::TempDir() / "data.qmd", {{"CBM", 123, Bytes("house")}}, 20, 0);
        MakeSocket(qmtest::TempDir() / "socket.qmd");
        folder_.Add("CBM", 123, "house");
        fs::create_directories(qmtest::TempDir() / "empty");
    }

    static void MakeSocket(const fs::path& path)
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        ASSERT_LT(path.native().size(), sizeof(address.sun_path));
        std::strcpy(address.sun_path, path.c_str());
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
        close(fd); // the socket file stays
    }

    qmtest::FolderLibraryWriter folder_{qmtest::TempDir() / "Game"};
};

struct Outcome {
    bool open;
    int16_t status;
};

struct Case {
    const char* what;
    const char* path;
    Outcome game, launcher;
};

void ExpectOutcome(const CResLib& lib, const Outcome& expected, const std::string& what)
{
    EXPECT_EQ(lib.IsOpen(), expected.open) << what;
    EXPECT_EQ(lib.GetStatus(), expected.status) << what;
}

} // namespace

TEST_F(LibraryPathTest, SingleFileLibraryUnderBothProfiles)
{
    // A socket is a file that no one opens for reading: it passes the game's test and fails
    // when it is read, while the launcher's test refuses it at once. A folder passes only the
    // launcher's test and then fails to open as a file.
    struct SpecCase {
        Case c;
        Outcome bySpecGame, bySpecLauncher;
    };
    const SpecCase cases[] = {
        {{"library", "C:\\data.qmd", {true, kLibOk}, {true, kLibOk}}, {true, kLibOk}, {true, kLibOk}},
        {{"socket", "C:\\socket.qmd", {false, kLibNoFile}, {false, kLibNoFile}},
         {false, kLibNoFile},
         {false, kLibNotOpen}},
        {{"folder", "C:\\empty", {false, kLibNoFile}, {false, kLibNoFile}},
         {false, kLibNotOpen},
         {false, kLibNoFile}},
        {{"nothing", "C:\\none.qmd", {false, kLibNoFile}, {false, kLibNoFile}},
         {false, kLibNotOpen},
         {false, kLibNotOpen}},
    };
    for (const bool launcher : {false, true}) {
        SetEngineProfile(launcher ? LauncherProfile() : EngineProfile{});
        for (const SpecCase& s : cases) {
            const std::string what = std::string(s.c.what) + (launcher ? " (launcher)" : " (game)");
            const CMegaLib byPath(s.c.path);
            ExpectOutcome(byPath, launcher ? s.c.launcher : s.c.game, what + " by path");
            const CMegaLib bySpec(CFileSpec(s.c.path));
            ExpectOutcome(bySpec, launcher ? s.bySpecLauncher : s.bySpecGame, what + " by spec");
        }
    }
}

TEST_F(LibraryPathTest, FolderLibraryUnderBothProfiles)
{
    // A file passes only the launcher's test: the library then holds a folder without types.
    struct FolderCase {
        Case c;
        bool holdsResources;
    };
    const FolderCase cases[] = {
        {{"library", "C:\\Game", {true, kLibOk}, {true, kLibOk}}, true},
        {{"trailing backslash", "C:\\Game\\", {true, kLibOk}, {true, kLibOk}}, true},
        {{"a file", "C:\\data.qmd", {false, kLibNotOpen}, {true, kLibOk}}, false},
        {{"nothing", "C:\\nowhere", {false, kLibNotOpen}, {false, kLibNotOpen}}, false},
    };
    for (const bool launcher : {false, true}) {
        SetEngineProfile(launcher ? LauncherProfile() : EngineProfile{});
        for (const FolderCase& f : cases) {
            const std::string what = std::string(f.c.what) + (launcher ? " (launcher)" : " (game)");
            CFoldLib lib(f.c.path);
            ExpectOutcome(lib, launcher ? f.c.launcher : f.c.game, what);
            EXPECT_EQ(lib.HasResource("CBM", 123), f.holdsResources) << what;
        }
    }
}

TEST_F(LibraryPathTest, FolderLibraryTypeFoldersUnderBothProfiles)
{
    // A file where a type folder belongs passes only the launcher's test: listing it then
    // finds no resource (status 3) where the game finds no type (status 5). Neither finds a
    // resource in it nor writes one there.
    qmtest::WriteFile(folder_.Folder() / "SND", "not a folder");
    for (const bool launcher : {false, true}) {
        SetEngineProfile(launcher ? LauncherProfile() : EngineProfile{});
        const std::string what = launcher ? "launcher" : "game";
        CFoldLib lib("C:\\Game");
        ASSERT_TRUE(lib.IsOpen()) << what;
        EXPECT_EQ(lib.GetResourceId("SND", 0), -1) << what;
        EXPECT_EQ(lib.GetStatus(), launcher ? kLibNotFound : kLibNoType) << what;
        EXPECT_FALSE(lib.HasResource("SND", 4)) << what;
        EXPECT_EQ(lib.WriteResource("SND", 4, "ding", 4, false, 0), kLibNotFound) << what;
        EXPECT_EQ(qmtest::ReadWholeFile(folder_.Folder() / "SND"), "not a folder") << what;
        EXPECT_EQ(lib.GetResourceId("CBM", 0), 123) << what;
    }
}
