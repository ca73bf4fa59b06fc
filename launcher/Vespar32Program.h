#pragma once
// The launcher program: vespar32 [--headless] [--script FILE] [--tour DIR] [FILE...].
//
// The tour folder (DIR made absolute, else the program's folder) is drive C:, the current
// folder and the folder where programs are looked for first; its "TourData" folder holds the
// tour libraries. With a display the launcher opens its window through SDL; with --headless,
// with a script, or without a display, the desktop stays in memory on a fake clock, message
// boxes are printed as "msgbox" lines, and nothing is started: each program start is printed
// as a "spawn" line and each link as a "url" line (HeadlessLines.h). The script's lines are
// those of the game's (HeadlessScript.h), in pixels of the menu window's client area. Exit
// status: 0 after quitting, a failed start or when another launcher runs; 1 for a bad command
// line or script, or after a fatal report.
#include <istream>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tour {

struct Vespar32Options {
    bool headless = false;
    std::optional<std::string> script;
    std::optional<std::string> tour;
    std::vector<std::string> files; // handed to the application, which ignores them
};

struct Vespar32UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The options of the arguments after the program's name; throws Vespar32UsageError.
Vespar32Options ParseVespar32Options(const std::vector<std::string>& args);

// Runs the launcher; args[0] is the program's path.
int RunVespar32(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace tour
