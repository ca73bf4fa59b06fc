#pragma once
// CLaunchProc: starts one outside program for a launch item and never waits for it. The
// program is found by name (in the program folder, the current folder, then $PATH), its one
// document by name too (else taken as written), and the program starts in its own folder with
// an argument vector, never through a shell. Without a program name the user chooses one in
// the open-file dialog. A launcher lives for one launch.
#include <optional>
#include <string>
#include <string_view>

namespace tour {

class CLaunchProc {
public:
    CLaunchProc(std::string program, std::optional<std::string> document);
    virtual ~CLaunchProc() = default;

    // True when the program started; otherwise GetLastError tells why (an errno value).
    bool Run();
    int GetLastError() const { return lastError_; }

    // The open-file dialog: the engine path of the program the user chose, or nothing.
    virtual std::optional<std::string> ChooseProgram();

private:
    std::string program_;
    std::optional<std::string> document_;
    int lastError_ = 0;
};

// The message of a program item that did not start: every occurrence of the placeholder word
// in the failure text replaced by the program part, when the command is longer than 4 bytes
// and the placeholder is not empty.
std::string ProgramFailureText(std::string failure, std::string_view placeholder, std::string_view program,
                               size_t commandSize);

// Whether the machine part of the settings holds SOFTWARE\KVL\KEY and SOFTWARE\KVL\KEY\SUBKEY
// (just the first without a subkey).
bool IsProductInstalled(std::string_view key, std::string_view subkey);

// The engine path of an installed product's program: the "Path" value of SOFTWARE\KVL\KEY in
// the machine part (a final zero dropped) followed by the program below the product folder.
std::optional<std::string> InstalledProgramPath(std::string_view key, std::string_view program);

} // namespace tour
