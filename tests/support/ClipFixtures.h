#pragma once
// Small video clips for the clip layer's, the video frame's and the video tool's tests: frames
// that hold every block kind, a palette change and a sound of any format.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "tools/ClipEncoder.h"

namespace qmtest {

// `count` frames of width x height: a filled band, a two-colour checker, noise, a part that
// stays from frame to frame and one that moves; the palette changes at frame 3 (when there
// is one).
ClipSource ClipWithEveryBlockKind(int width, int height, int count, int fps = 10);

// A sound of `frames` sample frames: a tone with noise in each channel.
PcmSound ClipSound(uint16_t channels, uint16_t bits, uint32_t rate, size_t frames);

// Writes the clip to the path and answers its bytes.
std::vector<uint8_t> WriteClip(const std::filesystem::path& path, const ClipSource& clip);

// The 8-bit value the clip shows for a colour stored from the 8-bit value v (v >> 2 kept).
inline uint8_t ShownColor(uint8_t v)
{
    const int six = v >> 2;
    return static_cast<uint8_t>(six * 4 + six / 16);
}

} // namespace qmtest
