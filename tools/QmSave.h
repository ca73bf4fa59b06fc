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
//   travel                  record 2, the trip, then its parts one line each:
//   trip ...                  its 27 fields before the party (dates as day numbers)
//   party ...                 the party's fixed part: members, money, spare value, spare
//                             word, morale, hungry days, diet counters A and B, spoiled today,
//                             day strain, ration, load state, flag bytes
//   member "NAME" ...         per member: person id, age, values B C P Q, health, hours,
//                             person index, cap, recovery, once flags, onset mark,
//                             occupation, 4 skills, status, level, pending kind and
//                             parameter, condition count
//   condition ...             per condition, after its member: state, severity, last cause,
//                             days left, stored severity, days in state, recognised, skill
//                             flag, announced, chances B and A, follow-up, mark flag, kind
//   supplies N                then N lines "item TYPE PACKAGES PARTIAL SHELFLIFE PRICEFACTOR"
//   weather ...               region, snow depth, snowfall, day counter
//   day I HIGH LOW PRECIP     the 30 days of the weather's history, I = 0..29
//   person ID A B             the 8 travellers
//   scene HEX                 the 27 scene flags
//   route ...                 sequence, alternative, lengths A and B, progress, 32 visited
//   flags N                 record 4, then N lines "flag ID VALUE" in stored order
//   end                     record 3; then "trailing N" when N bytes follow it
//
// Numbers are decimal; doubles are the shortest text that reads back to the same value; byte
// runs (flag bytes, once flags, scene flags) are two lower-case hex digits a byte. Strings
// are quoted, with '"', '\\', CR, LF and tab written \" \\ \r \n \t and every other byte
// below 0x20 or above 0x7E as \xHH. A file the game would refuse
// (an unreadable file, another header, a record reaching past the end, record 0, which the
// game never writes, an unknown tag, a flag record the game refuses, a record 2 with counts the
// party refuses or whose fields do not lead to record 4 or 3, or no end record) prints
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
