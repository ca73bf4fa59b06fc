#include "platform/Programs.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/Files.h"
#include "platform/SystemInfo.h"

extern char** environ;

namespace plat {
namespace fs = std::filesystem;
namespace {

bool IsRegularFile(const fs::path& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool HasExtension(std::string_view name)
{
    const size_t dot = name.rfind('.');
    return dot != std::string_view::npos && name.find_first_of("\\/", dot) == std::string_view::npos;
}

// The entry of a folder with that name, matched without regard to case (an exact match first).
std::optional<fs::path> EntryNoCase(const fs::path& folder, std::string_view name)
{
    if (IsRegularFile(folder / name))
        return folder / name;
    std::optional<fs::path> best;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        const std::string found = entry.path().filename().string();
        if (NamesEqualNoCase(found, name) && IsRegularFile(entry.path()) &&
            (!best || NameLess(found, best->filename().string())))
            best = entry.path();
    }
    return best;
}

// The name as given, then with the default extension when it has none.
std::vector<std::string> Candidates(std::string_view name, std::string_view defaultExt)
{
    std::vector<std::string> out{std::string(name)};
    if (!defaultExt.empty() && !HasExtension(name))
        out.push_back(std::string(name) + std::string(defaultExt));
    return out;
}

// An engine path (relative ones start at the engine's current folder); a slash counts as a
// backslash.
std::optional<fs::path> FindEnginePath(std::string_view name, std::string_view defaultExt)
{
    std::string path(name);
    for (char& c : path)
        if (c == '/')
            c = '\\';
    for (const std::string& candidate : Candidates(path, defaultExt))
        if (std::optional<fs::path> host = ToHostPath(candidate); host && IsRegularFile(*host))
            return host;
    return std::nullopt;
}

std::vector<fs::path> SearchFolders()
{
    std::vector<fs::path> folders{GetProgramFolder()};
    if (std::optional<fs::path> current = ToHostPath(GetCurrentFolder()))
        folders.push_back(*current);
    return folders;
}

// ---- Children ----

struct Recording {
    bool on = false;
    int error = 0;
    std::vector<SpawnRequest> requests;
};
Recording g_recording;

constexpr size_t kMaxChildren = 256;
std::array<std::atomic<pid_t>, kMaxChildren> g_children{};
std::atomic<bool> g_handlerInstalled{false};

void OnChildSignal(int)
{
    const int saved = errno;
    ReapChildren();
    errno = saved;
}

void InstallChildHandler()
{
    if (g_handlerInstalled.exchange(true))
        return;
    struct sigaction action {};
    action.sa_handler = OnChildSignal;
    action.sa_flags = SA_RESTART | SA_NOCLDSTOP;
    sigemptyset(&action.sa_mask);
    sigaction(SIGCHLD, &action, nullptr);
}

void KeepChild(pid_t pid)
{
    for (std::atomic<pid_t>& slot : g_children) {
        pid_t expected = 0;
        if (slot.compare_exchange_strong(expected, pid))
            return;
    }
    // Every slot taken: the oldest children are long gone or still running; this one is
    // reaped at once if it has already ended, like the others.
    int status;
    waitpid(pid, &status, WNOHANG);
}

// Runs posix_spawn with the settings every child gets.
int Spawn(pid_t* pid, const fs::path& program, const std::vector<std::string>& args, const fs::path& folder)
{
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (!folder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    // No descriptor of ours (a lock file above all) outlives us in the child.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    std::vector<std::string> argvText{program.string()};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argvText)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const int error = posix_spawn(pid, program.c_str(), &actions, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    return error;
}

} // namespace

std::optional<fs::path> FindProgram(std::string_view name, std::string_view defaultExt)
{
    if (name.empty())
        return std::nullopt;
    const bool hasDrive = name.size() > 1 && name[1] == ':';
    if (hasDrive || name.find_first_of("\\/") != std::string_view::npos)
        return FindEnginePath(name, defaultExt);
    const std::vector<std::string> candidates = Candidates(name, defaultExt);
    for (const fs::path& folder : SearchFolders())
        for (const std::string& candidate : candidates)
            if (std::optional<fs::path> found = EntryNoCase(folder, candidate))
                return found;
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "";
    while (!rest.empty()) {
        const size_t colon = rest.find(':');
        const fs::path folder(std::string(rest.substr(0, colon)));
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        if (!folder.is_absolute())
            continue; // a relative entry would depend on whatever folder we run in
        for (const std::string& candidate : candidates)
            if (IsRegularFile(folder / candidate))
                return folder / candidate;
    }
    return std::nullopt;
}

SpawnResult SpawnProgram(const fs::path& program, const std::vector<std::string>& args,
                         const fs::path& folder)
{
    if (g_recording.on) {
        g_recording.requests.push_back({program, args, folder});
        return {g_recording.error, 0};
    }
    InstallChildHandler();
    // The child's end must not be signalled before its id is kept, or nobody would reap it.
    sigset_t childSignal, before;
    sigemptyset(&childSignal);
    sigaddset(&childSignal, SIGCHLD);
    pthread_sigmask(SIG_BLOCK, &childSignal, &before);
    SpawnResult result;
    result.error = Spawn(&result.pid, program, args, folder);
    if (result.error == 0)
        KeepChild(result.pid);
    else
        result.pid = 0;
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    return result;
}

void RecordSpawns(bool on, int error)
{
    g_recording.on = on;
    g_recording.error = error;
}

const std::vector<SpawnRequest>& GetRecordedSpawns() { return g_recording.requests; }
void ResetPrograms() { g_recording = Recording{}; }

void ReapChildren()
{
    for (std::atomic<pid_t>& slot : g_children) {
        const pid_t pid = slot.load();
        int status;
        if (pid > 0 && waitpid(pid, &status, WNOHANG) == pid) {
            pid_t expected = pid;
            slot.compare_exchange_strong(expected, 0);
        }
    }
}

bool IsOpenableUrl(std::string_view url)
{
    auto startsNoCase = [&](std::string_view prefix) {
        return url.size() > prefix.size() && NamesEqualNoCase(url.substr(0, prefix.size()), prefix);
    };
    if (!startsNoCase("http:") && !startsNoCase("https:"))
        return false;
    for (unsigned char c : url)
        if (c < 0x20 || c == 0x7F)
            return false;
    return true;
}

bool OpenUrl(std::string_view url)
{
    if (!IsOpenableUrl(url))
        return false;
    const std::optional<fs::path> opener = FindProgram("xdg-open", "");
    return opener && SpawnProgram(*opener, {std::string(url)}).error == 0;
}

} // namespace plat
