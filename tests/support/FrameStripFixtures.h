#pragma once
// Builds frame strips ("CBM" pictures, "IMV" image strips) for tests, fuzz corpora and
// benchmarks: the little-endian frame table followed by each frame's block-coded image.
#include <cstdint>
#include <vector>

namespace qmtest {

struct FrameSpec {
    int16_t width = 0;
    int16_t height = 0;
    std::vector<uint8_t> image; // a block-coded image (see CodecFixtures.h)
};

std::vector<uint8_t> MakeFrameStrip(const std::vector<FrameSpec>& frames);

// A frame coded whole from a picture (rows top-down, exactly `width` bytes each).
FrameSpec CodedFrame(int16_t width, int16_t height, const std::vector<uint8_t>& pixels);

} // namespace qmtest
