#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/Files.h"
#include "platform/NamedLock.h"
#include "platform/Programs.h"
#include "platform/SystemInfo.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

// The helper program that writes down how it was started (tests/SpawnProbe.cpp).
const fs::path kProbe = QM_SPAWN_PROBE;

class Programs : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* path = std::getenv("PATH");
        savedPath_ = path ? path : "";
        savedFolder_ = fs::current_path();
        root_ = qmtest::TempDir() / "c";
        fs::create_directories(root_);
        plat::SetDrives({{'C', root_, plat::DriveKind::Fixed}});
        plat::SetProgramFolder(qmtest::TempDir() / "program");
        fs::create_directories(qmtest::TempDir() / "program");
    }
    void TearDown() override
    {
        setenv("PATH", savedPath_.c_str(), 1);
        fs::current_path(savedFolder_);
    }
    static void MakeExecutable(const fs::path& path, bool execute = true)
    {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "x";
        fs::permissions(path,
                        execute ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write);
    }

    std::string savedPath_;
    fs::path savedFolder_;
    fs::path root_;
};

// Waits until the child has ended (through a process descriptor, no sleeping), then reaps.
void WaitForEnd(pid_t pid)
{
    const int fd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (fd >= 0) {
        pollfd p{fd, POLLIN, 0};
        while (poll(&p, 1, 20000) < 0 && errno == EINTR) {
        }
        close(fd);
    }
    plat::ReapChildren();
}

std::vector<std::string> ProbeLines(const fs::path& folder)
{
    std::ifstream in(folder / "probe.txt");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST_F(Programs, ArgumentsArriveLiterallyInTheProgramsOwnFolderWithOnlyTheStandardDescriptors)
{
    const fs::path folder = qmtest::TempDir() / "run";
    fs::create_directories(folder);
    // A lock of ours is open while the child starts; it must not reach the child.
    std::unique_ptr<plat::NamedLock> lock = plat::NamedLock::Create("held while spawning");
    ASSERT_TRUE(lock && lock->Acquire());
    const std::vector<std::string> args = {"; | & $( ) > * \"", "$(touch made)", "x > made2", "a b", ""};
    const plat::SpawnResult started = plat::SpawnProgram(kProbe, args, folder);
    ASSERT_EQ(started.error, 0);
    ASSERT_GT(started.pid, 0);
    WaitForEnd(started.pid);

    std::vector<std::string> want = {"cwd " + fs::canonical(folder).string()};
    for (const std::string& a : args)
        want.push_back("arg " + a);
    for (const char* line : {"fd 0", "fd 1", "fd 2", "session yes", "stdin null"})
        want.push_back(line);
    EXPECT_EQ(ProbeLines(folder), want);
    // Nothing the arguments name was made; the child is gone, not a zombie.
    std::vector<std::string> made;
    for (const auto& entry : fs::directory_iterator(folder))
        made.push_back(entry.path().filename().string());
    EXPECT_EQ(made, std::vector<std::string>{"probe.txt"});
    errno = 0;
    EXPECT_EQ(waitpid(started.pid, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST_F(Programs, StartFailuresAnswerTheirErrno)
{
    const fs::path plain = qmtest::TempDir() / "plain";
    MakeExecutable(plain, false);
    const struct {
        fs::path program;
        fs::path folder;
        int error;
    } cases[] = {
        {qmtest::TempDir() / "missing", {}, ENOENT},
        {plain, {}, EACCES},
        {kProbe, qmtest::TempDir() / "no-such-folder", ENOENT},
    };
    for (const auto& c : cases) {
        const plat::SpawnResult r = plat::SpawnProgram(c.program, {}, c.folder);
        EXPECT_EQ(r.error, c.error) << c.program << " in " << c.folder;
        EXPECT_EQ(r.pid, 0);
    }
}

TEST_F(Programs, FindProgramLooksInTheProgramFolderTheCurrentFolderThenPath)
{
    const fs::path program = qmtest::TempDir() / "program";
    const fs::path bin = qmtest::TempDir() / "bin";
    MakeExecutable(program / "Shared");
    MakeExecutable(root_ / "work" / "Here.EXE");
    MakeExecutable(root_ / "work" / "shared"); // the program folder comes first
    MakeExecutable(bin / "onpath");
    MakeExecutable(bin / "Tool.EXE");
    MakeExecutable(bin / "dotted.v2");
    MakeExecutable(bin / "Tool.bin.EXE");
    MakeExecutable(root_ / "work" / "sub" / "Inner");
    fs::create_directories(bin / "folder");
    MakeExecutable(qmtest::TempDir() / "relative" / "rel");
    ASSERT_TRUE(plat::SetCurrentFolder("C:\\work"));
    setenv("PATH", ("relative:" + bin.string()).c_str(), 1);
    fs::current_path(qmtest::TempDir()); // where the relative entry would point

    const struct {
        const char* name;
        const char* ext;
        std::optional<fs::path> found;
    } cases[] = {
        {"shared", ".EXE", program / "Shared"},        // without regard to case
        {"HERE", ".EXE", root_ / "work" / "Here.EXE"}, // the default extension added
        {"onpath", ".EXE", bin / "onpath"},
        {"Tool", ".EXE", bin / "Tool.EXE"},
        {"tool", ".EXE", std::nullopt},     // $PATH folders are the host's: case counts
        {"Tool.bin", ".EXE", std::nullopt}, // a name with an extension gets no other
        {"dotted.v2", ".EXE", bin / "dotted.v2"},
        {"folder", "", std::nullopt}, // regular files only
        {"rel", "", std::nullopt},    // relative $PATH entries are skipped
        {"C:\\WORK\\here.exe", "", root_ / "work" / "Here.EXE"},
        {"sub/inner", "", root_ / "work" / "sub" / "Inner"}, // an engine path from the current folder
        {"", ".EXE", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plat::FindProgram(c.name, c.ext), c.found) << c.name;
}

TEST_F(Programs, LinksOpenOnlyWebUrlsThroughXdgOpen)
{
    const struct {
        const char* url;
        bool openable;
    } cases[] = {
        {"http://quillmark.example/tour", true},
        {"HTTPS://quillmark.example/", true},
        {"file:///etc/passwd", false},
        {"-x", false},
        {"http:", false},
        {"http://a\nb", false},
        {"http://a\x7f", false},
        {"mailto:someone@quillmark.example", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plat::IsOpenableUrl(c.url), c.openable) << c.url;

    const fs::path bin = qmtest::TempDir() / "bin";
    fs::create_directories(bin);
    fs::copy_file(kProbe, bin / "xdg-open");
    setenv("PATH", (bin.string() + ":" + savedPath_).c_str(), 1);
    plat::RecordSpawns(true);
    EXPECT_FALSE(plat::OpenUrl("file:///etc/passwd"));
    EXPECT_FALSE(plat::OpenUrl("-x"));
    EXPECT_TRUE(plat::GetRecordedSpawns().empty());

    // The recording twin shows what would start: the opener first on PATH, the URL as one
    // argument.
    EXPECT_TRUE(plat::OpenUrl("https://quillmark.example/a b"));
    ASSERT_EQ(plat::GetRecordedSpawns().size(), 1u);
    EXPECT_EQ(plat::GetRecordedSpawns()[0].program, bin / "xdg-open");
    EXPECT_EQ(plat::GetRecordedSpawns()[0].args, std::vector<std::string>{"https://quillmark.example/a b"});
}

} // namespace
