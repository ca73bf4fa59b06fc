#pragma once
// Starting other programs and opening web links. Programs start through posix_spawn with an
// argument vector, never through a shell, so no argument is ever read as shell syntax. A
// started program runs on its own: nobody waits for it, and each child is reaped by its
// process id without blocking as soon as it ends, so none stays behind as a zombie.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace plat {

// Finds a program file. A name holding a drive, a backslash or a slash is an engine path
// (relative ones start at the current folder). A bare name is looked for in the program
// folder, then the engine's current folder (both matched without regard to case), then each
// absolute folder of $PATH. Each place tries the name as given and then, when the name has
// no extension, the name with defaultExt. Only regular files count. The answer is a host path.
std::optional<std::filesystem::path> FindProgram(std::string_view name, std::string_view defaultExt);

struct SpawnResult {
    int error = 0; // 0 when the program started, else the errno that stopped it
    pid_t pid = 0;
};

// Starts the program at that host path with the arguments (argv[0] is the path), the
// caller's environment, in the folder (the caller's when empty), with standard input from
// /dev/null and only descriptors 0-2 open, in a session of its own, with default signal
// handling and nothing blocked.
SpawnResult SpawnProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::filesystem::path& folder = {});

// The recording twin, for tests and headless runs: while on, SpawnProgram starts nothing,
// records each request and answers the error set here (0: started).
struct SpawnRequest {
    std::filesystem::path program;
    std::vector<std::string> args;
    std::filesystem::path folder;
};
void RecordSpawns(bool on, int error = 0);
const std::vector<SpawnRequest>& GetRecordedSpawns();
// Real starts again, and an empty record.
void ResetPrograms();

// Reaps every child started here that has ended; never waits. A SIGCHLD handler calls it
// too, so callers need not.
void ReapChildren();

// Whether a URL may be handed to the link opener: http: or https:, no control characters.
bool IsOpenableUrl(std::string_view url);
// Hands the URL to xdg-open (found by FindProgram) as its one argument. False when the URL is
// refused or the opener did not start.
bool OpenUrl(std::string_view url);

} // namespace plat
