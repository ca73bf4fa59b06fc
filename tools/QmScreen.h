#pragma once
// qmscreen, the screen tool: builds the screen of a template list headless and writes the
// window's client area as an indexed PNG.
//
//   qmscreen LIBRARY... --tpl NUMBER [--palette ID] OUT.png
//
// The libraries are searched in the order given. Every template kind the engine builds is
// registered; the palette is "CLT" ID (default: the lowest-numbered "CLT" of the libraries) and
// the fonts come from "FTL" 128 when there is one. The window takes the size of the root
// object's rectangle; a list without a window template is shown in a top-level window of that
// size. Errors are one line on the error stream and exit status 1.
#include <iosfwd>
#include <string>
#include <vector>

// Registers the template kinds a screen is built with.
using RegisterKinds = void (*)();

// Runs the tool on its arguments (without the program name); returns the exit status.
int RunQmScreen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The same with the template kinds of a program that has kinds of its own (the game), in place
// of the engine's.
int RunQmScreenWithKinds(RegisterKinds registerKinds, const std::vector<std::string>& args, std::ostream& out,
                         std::ostream& err);
