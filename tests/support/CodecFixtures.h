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

} // namespace qmtest
