#pragma once
// The game program: qm3 [--headless] [--script FILE] [--seed N] [SAVED-GAME...].
//
// With a display the game opens its window through SDL on the real clock; with --headless,
// with a script, or without a display, the desktop stays in memory on a fake clock (and
// message boxes are printed on standard output as "msgbox" lines). A script (FILE, or "-" for
// standard input) drives the program; see HeadlessScript.h. Exit status: 0 after quitting or
// a failed start, 1 for a bad command line or script, or after a fatal report.
#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

struct Qm3Options {
    bool headless = false;
    std::optional<std::string> script;
    std::optional<uint32_t> seed;
    std::vector<std::string> savedGames;
};

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The options of the arguments after the program's name; throws UsageError.
Qm3Options ParseQm3Options(const std::vector<std::string>& args);

// Runs the game; args[0] is the program's path.
int RunQm3(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);
