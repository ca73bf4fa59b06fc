#pragma once
// qmsnd, the sound tool: writes "CSN" sound resources from WAV files and plays them back
// through the engine's sound stream into WAV files.
//
//   qmsnd make IN.wav OUT [--mode M] [--level L] [--seek-every N] [--state-width W]
//        IN is PCM, 1-2 channels of 8 or 16 bits at 11025, 22050 or 44100 Hz. OUT is the raw
//        "CSN": mode M (0-4, default 1), a level chunk with L (0-255), a seek point every N
//        bytes (a positive multiple of 64), W lane states per point (4, or 1 for mono 8-bit).
//   qmsnd wav LIBRARY NUMBER OUT.wav [--streamed] [--seek POS]
//        "CSN" NUMBER decoded from memory (or from the library file with --streamed), from
//        byte POS (whole frames, at most the length) to its end, as a canonical WAV file.
//   qmsnd info LIBRARY NUMBER
//        channels, bits, rate, mode, state-width, level, length (decoded bytes) and
//        seek-points, one "name value" line each.
//
// Errors are one line "qmsnd: ..." on the error stream and exit status 1; no file is left.
#include <iosfwd>
#include <string>
#include <vector>

// Runs the tool on its arguments (without the program name); returns the exit status.
int RunQmSnd(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
