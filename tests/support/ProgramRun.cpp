#include "tests/support/ProgramRun.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"
#include "tools/PngImage.h"

extern char** environ;

namespace fs = std::filesystem;

namespace qmtest {
namespace {

std::string Slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The environment with the settings and the saved games in the test's folder, no display, and
// the additions.
std::vector<std::string> Environment(const std::vector<std::string>& extra)
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("XDG_CONFIG_HOME=", 0) != 0 && entry.rfind("XDG_DATA_HOME=", 0) != 0 &&
            entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("SDL_", 0) != 0)
            env.push_back(entry);
    }
    env.push_back("XDG_CONFIG_HOME=" + ProgramConfigHome().string());
    env.push_back("XDG_DATA_HOME=" + (TempDir() / "share").string());
    env.insert(env.end(), extra.begin(), extra.end());
    return env;
}

fs::path OutFile(const std::string& name) { return TempDir() / (name + ".out"); }
fs::path ErrFile(const std::string& name) { return TempDir() / (name + ".err"); }

std::vector<char*> Pointers(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

fs::path ProgramConfigHome() { return TempDir() / "config"; }

pid_t StartProgram(const fs::path& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& extraEnv, const std::string& name)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, OutFile(name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, ErrFile(name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    std::vector<std::string> argStrings{program.string()};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv = Pointers(argStrings);
    std::vector<std::string> envStrings = Environment(extraEnv);
    std::vector<char*> envp = Pointers(envStrings);
    pid_t pid = 0;
    const int started = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return started == 0 ? pid : 0;
}

ProgramRun FinishProgram(pid_t pid, const std::string& name)
{
    ProgramRun run;
    if (pid <= 0)
        return run;
    int status = 0;
    for (int waited = 0; waitpid(pid, &status, WNOHANG) == 0; waited += 10) {
        if (waited >= 60000) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        usleep(10000);
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = Slurp(OutFile(name));
    run.err = Slurp(ErrFile(name));
    return run;
}

ProgramRun RunProgram(const fs::path& program, const std::vector<std::string>& args,
                      const std::vector<std::string>& extraEnv, int killAfterMs)
{
    const pid_t pid = StartProgram(program, args, extraEnv, "run");
    if (pid > 0 && killAfterMs > 0) {
        // The program has made its settings once it runs (its display is up by then).
        const fs::path settings = ProgramConfigHome() / "kvl" / "user.settings";
        for (int waited = 0; !fs::exists(settings) && waited < 30000; waited += 10)
            usleep(10000);
        usleep(static_cast<useconds_t>(killAfterMs) * 1000);
        kill(pid, SIGTERM);
    }
    return FinishProgram(pid, "run");
}

fs::path WriteScript(const std::string& text, const std::string& name)
{
    const fs::path path = TempDir() / name;
    std::ofstream(path) << text;
    return path;
}

void ExpectSamePicture(const fs::path& made, const fs::path& golden)
{
    const IndexedImage a = ReadIndexedPng(made);
    const IndexedImage b = ReadIndexedPng(golden);
    EXPECT_EQ(a.palette, b.palette) << golden;
    EXPECT_TRUE(a.width == b.width && a.height == b.height && a.pixels == b.pixels)
        << made << " differs from " << golden;
}

ProgramRun RunGoldenScript(const fs::path& program, const std::string& script,
                           const std::vector<std::string>& args, const std::vector<std::string>& pictures)
{
    const std::string folder = "tests/game/program/golden/";
    const fs::path golden = SourceDir() / folder;
    std::string text = ReadWholeFile(golden / script);
    for (size_t at = text.find(folder); at != std::string::npos; at = text.find(folder, at))
        text.replace(at, folder.size(), TempDir().string() + "/");
    std::vector<std::string> all = args;
    all.push_back("--script");
    all.push_back(WriteScript(text).string());
    ProgramRun run = RunProgram(program, all);
    for (const std::string& picture : pictures)
        ExpectSamePicture(TempDir() / picture, golden / picture);
    return run;
}

} // namespace qmtest
