#pragma once
// The writer of "CSN" sound resources: a header of chunks (format, an optional seek table, an
// optional default level, the end chunk) and the samples block-coded against the sound
// streams' fixed value table.
//
// The samples are coded per lane (a byte position within a frame), 16-bit samples with their
// bytes swapped to big-endian: mode 0 as they are, mode M from 1 to 4 as the M-th order
// difference, so that the decoder's running sums give them back. Every block of 64 coded
// values is a fill when it holds one value (fills in a row one repeated fill) and otherwise
// a chain-coded block with the number widths that take the fewest bits. No block repeats
// across a seek point and none copies another, so decoding may start at any seek point.
#include <cstdint>
#include <optional>
#include <vector>

#include "tools/WavFile.h"

struct CsnOptions {
    int mode = 1;                 // 0..4
    std::optional<int32_t> level; // 0..255: a level chunk
    int32_t seekEvery = 0;        // a positive multiple of 64: a seek point every so many bytes
    int stateWidth = 4;           // lane states per seek point: 4, or 1 for mono 8-bit sound
};

// Throws std::runtime_error for options the sound cannot take, or a sound too long for the
// format (more than 32767 seek points, lengths past 31 bits).
std::vector<uint8_t> EncodeCsn(const PcmSound& sound, const CsnOptions& options);
