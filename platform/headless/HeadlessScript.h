#pragma once
// The headless script of the programs (the game and the launcher): one line per step, run by the pump
// whenever it would wait, so a script drives the program exactly as a person at the keyboard would, on a fake
// clock that only the script's ticks move.
//
//   tick [N]            N x 17 ms (1 by default), never past a wait's deadline
//   move X Y | down X Y | up X Y | click X Y     the left button, X Y in the game area
//   press ID            a click at the centre of the shown, enabled object of that id
//   key K               K down and up with its character; K a printable character or Enter,
//                       Esc, Tab, Space, Backspace, Delete, Home, End, Left, Right, Up, Down,
//                       F1-F12, after any of Shift+, Ctrl+, Alt+
//   type TEXT           the rest of the line as characters
//   command N           message N to the application at the next pass
//   answer ok|cancel|yes|no        the answer of the next message boxes
//   screenshot FILE     the game area as an 8-bit indexed PNG
//   window W H          later screenshots show what a display window of W x H pixels (1-4096)
//                       shows: the game area fitted into it with the border around it, as the
//                       SDL display shows it; "window 0 0" goes back to the game area alone
//   quit                command 252 (the script's end does the same)
//
// Blank lines and lines starting with '#' are skipped.
#include <cstdint>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/MessageBox.h"

struct ScriptError : std::runtime_error {
    ScriptError(const std::string& file, int line, const std::string& message)
        : std::runtime_error(file + ":" + std::to_string(line) + ": " + message)
    {
    }
};

struct ScriptKey {
    uint8_t key = 0; // the key code; 0 for a character without a key of its own
    uint8_t ch = 0;  // the character typed; 0 when the key gives none by itself
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

struct ScriptLine {
    enum class Kind {
        Tick,
        Move,
        Down,
        Up,
        Click,
        Press,
        Key,
        Type,
        Command,
        Answer,
        Screenshot,
        Window,
        Quit
    };
    Kind kind = Kind::Tick;
    int line = 0;
    int32_t x = 0; // tick count, coordinates, object id or command
    int32_t y = 0;
    std::string text; // typed text (Windows-1252) or screenshot file
    ScriptKey key;
    plat::MbResult answer = plat::MbResult::Ok;
};

// Reads the whole script; throws ScriptError naming the first bad line.
std::vector<ScriptLine> ParseScript(std::istream& in, const std::string& fileName);
// One line (for the tests); throws ScriptError.
ScriptLine ParseScriptLine(const std::string& text, const std::string& fileName, int line);
// UTF-8 text as Windows-1252 bytes; false when a character has no such byte or the UTF-8 is bad.
bool Utf8ToWindows1252(const std::string& utf8, std::string& out);
// Text in double quotes as the output lines write it (plat::Quoted).
std::string QuoteScriptText(const std::string& text);
// A message box as the script prints it: msgbox "CAPTION" "TEXT" ANSWER.
std::string MessageBoxLine(const plat::MessageBoxRequest& request, plat::MbResult answer);
