#pragma once
// Runs one of the built programs as a person's session would, headless: its settings and saved
// games in the test's folder ($XDG_CONFIG_HOME, $XDG_DATA_HOME), no display, standard input
// from /dev/null, and its output and exit status collected.
#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace qmtest {

struct ProgramRun {
    int status = -1; // the exit status; -1 when it did not start or did not exit
    std::string out;
    std::string err;
};

// The settings folder the programs are given: "config" in the test's folder.
std::filesystem::path ProgramConfigHome();

// Starts the program with the arguments and the environment additions, its output going to
// NAME.out and NAME.err in the test's folder, and answers its process id (0 when it did not
// start); FinishProgram waits for it (at most a minute, then kills it) and collects the output.
pid_t StartProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& extraEnv, const std::string& name);
ProgramRun FinishProgram(pid_t pid, const std::string& name);

// Runs the program with the arguments and the environment additions; with killAfterMs the
// program is asked to end (as the session ends) once it has run that long after it made its
// settings. A program that does not end within a minute is killed.
ProgramRun RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                      const std::vector<std::string>& extraEnv = {}, int killAfterMs = 0);

// Writes a script into the test's folder and answers its path.
std::filesystem::path WriteScript(const std::string& text, const std::string& name = "script.txt");

// Expects the 8-bit PNG a program wrote to match its golden picture, palette and pixels.
void ExpectSamePicture(const std::filesystem::path& made, const std::filesystem::path& golden);

// Runs the program with the arguments and "--script" on a golden script of
// tests/game/program/golden (the one that remakes its pictures), its screenshots written to the
// test's folder instead; then expects each picture named to equal its golden.
ProgramRun RunGoldenScript(const std::filesystem::path& program, const std::string& script,
                           const std::vector<std::string>& args, const std::vector<std::string>& pictures);

} // namespace qmtest
