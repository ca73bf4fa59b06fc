#pragma once
// The writer of run-length sprites ("RLS"): each cel's rows are coded as repeat runs (a
// control byte below 128, then one colour for control + 1 pixels) and literal runs (a control
// byte of 128 or more, then control - 127 colours), and the cels are stored behind a
// big-endian table of height, width, offset and length.
//
// Index 0 is the transparent colour when the engine draws sprites, and the drawer tests only
// the first byte of a literal run: so index 0 is coded only in repeat runs, and a literal run
// never holds it.
#include <cstdint>
#include <vector>

#include "tools/ImageEncoder.h"

// The run data of one cel.
std::vector<uint8_t> EncodeRleCel(const PictureView& picture);

struct SpriteCel {
    int16_t width = 0;
    int16_t height = 0;
    std::vector<uint8_t> runs;
};

// The sprite resource. Throws std::length_error when the cels do not fit (more than 32767,
// or offsets past 32 bits).
std::vector<uint8_t> BuildRls(const std::vector<SpriteCel>& cels);
