#pragma once
// qmriver, the river renderer's tool: prints a model text as the game reads it, and draws a
// river scene.
//
//   qmriver model LIBRARY... NUMBER [--scale S]
//   qmriver render LIBRARY... --records MAPS HEIGHTS SCENERY --river R [--seed N] [--steps K]
//                  [--detail L] [--palette ID] OUT.png
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
//
// render sets river R up from the records MAPS, HEIGHTS and SCENERY ("STR" lists whose entry R
// names the map, the height picture and the river settings) with a view over a 640 x 400
// bitmap, seeds the game's random generator with N (default 1), runs K steps of the scene
// (default 1) with the mouse outside the view and no key, at detail level L (default the
// scene's), and writes the frame as an 8-bit indexed PNG in the colours of "CLT" ID (default:
// the lowest-numbered "CLT" of the libraries). A river whose first step fails (no map or
// height picture, or a map under 4 x 4 cells) is an error.
#include <iosfwd>
#include <string>
#include <vector>

// Runs the tool on its arguments (without the program name); returns the exit status.
int RunQmRiver(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
