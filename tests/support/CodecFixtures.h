#pragma once
// Builds whole block-coded images around hand-assembled bitstreams, and codes a pixel buffer
// with a small encoder so that tests, fuzz corpora and benchmarks have realistic images.
#include <cstdint>
#include <optional>
#include <vector>

namespace qmtest {

// An image: the 12-byte little-endian header, the colour map when given (at most 256
// entries), then the bitstream.
std::vector<uint8_t> MakeImage(uint32_t valueCount, const std::optional<std::vector<uint8_t>>& colourMap,
                               const std::vector<uint8_t>& bitstream);

// Codes a width x height picture (rows top-down, `pitch` bytes apart) as an image with the
// identity colour map: one-colour tiles become fills (runs of equal fills one repeated fill),
// tiles equal to an earlier tile become copies, and the rest palette blocks over a selection
// of the map's entries, alternating the two number codes.
std::vector<uint8_t> EncodeImage(const uint8_t* pixels, int width, int height, int pitch);

// A sound stream: the 12-byte little-endian header (flag bit 1 and the seek table when
// `seekTable` is given), then the bitstream.
struct SoundSeekPoint {
    uint32_t valuePosition;
    uint32_t bitPosition;
};
std::vector<uint8_t> MakeSoundStream(uint32_t valueCount, uint32_t endBit,
                                     const std::optional<std::vector<SoundSeekPoint>>& seekTable,
                                     const std::vector<uint8_t>& bitstream);

// The index of a sample in the sound streams' fixed value table.
uint8_t SoundIndex(uint8_t sample);

// Codes samples as a sound stream: runs of equal samples become (repeated) fills and other
// blocks palette blocks in alternating codes; `longBlocks` codes every fifth such block in
// the slowest chain code (up to 255 bits a value). With `seekEvery` above 0 a seek point
// marks every block whose index is a multiple of it.
std::vector<uint8_t> EncodeSound(const std::vector<uint8_t>& samples, int seekEvery, bool longBlocks = false);

} // namespace qmtest
