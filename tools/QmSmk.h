#pragma once
// qmsmk, the video tool: writes "SMK2" clips from indexed PNG frames and plays clips through
// the platform's clip layer into raw pictures, sound and PNG files.
//
//   qmsmk make [--fps N] [--wav IN.wav] [--raw-audio] OUT.smk FRAME.png...
//   qmsmk info SOURCE
//   qmsmk decode SOURCE RGB [AUDIO] [--track T]
//   qmsmk show SOURCE --frame N OUT.png
//
// SOURCE is a clip file, or --lib LIBRARY NUMBER for the "SMK" resource NUMBER as the video
// frame finds it. Errors are one line "qmsmk: ..." on the error stream and exit status 1; no
// file is left.
#include <iosfwd>
#include <string>
#include <vector>

// Runs the tool on its arguments (without the program name); returns the exit status.
int RunQmSmk(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
