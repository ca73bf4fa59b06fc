#pragma once
// qmsave, the saved-game printer: shows what a saved game holds, one line per item in file
// order.
//
//   qmsave FILE
//
//   header VORT QMK3 257
//   name "TEXT"             the name field up to its first 0 byte (all 32 bytes without one)
//   disc N
//   diary L "TEXT"          record 1; L is the text's length in bytes
//   travel                  record 2
//   flags N                 record 4, then N lines "flag ID VALUE" in stored order
//   end                     record 3; then "trailing N" when N bytes follow it
//
// Numbers are decimal. Strings are quoted, with '"', '\\', CR, LF and tab written \" \\ \r
// \n \t and every other byte below 0x20 or above 0x7E as \xHH. A file the game would refuse
// (an unreadable file, another header, a record reaching past the end, record 0, which the
// game never writes, an unknown tag, a flag record the game refuses or no end record) prints
// nothing on the output and one line "qmsave: FILE: message" on the error stream, exit 1.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

// Runs the tool on its arguments (without the program name); returns the exit status.
int RunQmSave(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The lines of a saved game's bytes; throws std::runtime_error with the reason when the game
// would refuse it.
std::string ShowSavedGame(const std::vector<uint8_t>& bytes);
