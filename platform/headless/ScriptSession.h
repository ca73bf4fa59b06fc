#pragma once
// The display and the script of one run of a program (the game or the launcher). With a
// display the program runs on SDL and the real clock; with --headless, with a script, or
// without a display, the desktop stays in memory on a fake clock that only the script's ticks
// move, message boxes are answered and printed by the script's runner, and the script (when
// there is one) is the source of the program's input. The session undoes all of it when it
// ends.
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/headless/ScriptRunner.h"

// Reads the whole script from the file, or from `in` for "-"; throws ScriptError.
std::vector<ScriptLine> ReadScriptFile(const std::string& file, std::istream& in);

class ScriptSession {
public:
    // `program` names the program in the line that says it runs headless for want of a display.
    ScriptSession(const std::string& program, bool headless, const std::optional<std::string>& scriptFile,
                  std::vector<ScriptLine> script, ScriptTarget target, std::ostream& out, std::ostream& err);
    ~ScriptSession();
    ScriptSession(const ScriptSession&) = delete;
    ScriptSession& operator=(const ScriptSession&) = delete;

    bool IsHeadless() const { return runner_ != nullptr; }
    // The exit status of the run: 1 after a script error (printed as "PROGRAM: message"), else 0.
    int Finish(std::ostream& err) const;

private:
    std::string program_;
    ScriptClock clock_;
    std::unique_ptr<ScriptRunner> runner_;
};
