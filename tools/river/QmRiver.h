#pragma once
// qmriver, the river renderer's tool: prints a model text as the game reads it.
//
//   qmriver model LIBRARY... NUMBER [--scale S]
//
// The model text "STR" NUMBER, found in the libraries in the order given and read by the
// game's loader with each coordinate times S (read by strtod, 1 by default), is printed one
// line per item, fields separated by one space, reals with six decimals:
//
//   model V P
//   vertex X Y Z                              V lines, in text order
//   polygon N COLOUR FLAGS I1 .. IN LENGTH    P lines; LENGTH is the normal's length
//   radius R
//
// A missing record or a text the loader refuses prints nothing on standard output and one
// line "qmriver: NUMBER: message" on standard error; other errors are one line "qmriver:
// message". The exit status is 1 after an error, else 0.
#include <iosfwd>
#include <string>
#include <vector>

// Runs the tool on its arguments (without the program name); returns the exit status.
int RunQmRiver(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
