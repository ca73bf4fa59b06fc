#pragma once
// The software mixer behind every sound buffer. It is a pure function of its voices and a
// frame count: no device, no clock, no lock, so tests feed it voices and read the output.
//
// Output: signed 16-bit stereo at 22050 frames a second. A voice is a ring of PCM frames
// (1 or 2 channels, 8-bit unsigned or 16-bit signed little-endian, at any rate):
//   - an 8-bit sample s counts as (s - 128) x 256, a 16-bit one as it stands; a mono voice
//     feeds both sides;
//   - volume v (hundredths of a decibel, -10000..0) gives the gain 10^(v / 2000), and -10000
//     exactly 0; pan p (-10000..10000) lowers the other side by a further |p| hundredths
//     (p > 0 lowers the left side), a side reaching -10000 being silent;
//   - a voice at another rate steps through its frames in 16.16 fixed point by
//     rate x 65536 / 22050 (truncated) per output frame, interpolating linearly between a
//     frame and the next (the ring's first frame follows its last when looping);
//   - each voice adds round-half-away-from-zero(sample x gain) to each side, and the sum is
//     clamped to 16 bits.
#include <cstdint>
#include <span>

namespace plat {

constexpr uint32_t kMixRate = 22050;
constexpr int32_t kSilentVolume = -10000;
constexpr int32_t kMaxPan = 10000;

struct MixVoice {
    const uint8_t* data = nullptr; // the ring
    uint32_t size = 0;             // bytes in the ring (whole frames are used)
    uint16_t channels = 1;         // 1 or 2
    uint16_t bits = 8;             // 8 or 16
    uint32_t rate = kMixRate;      // frames a second
    int32_t volume = 0;
    int32_t pan = 0;
    bool playing = false;
    bool looping = false;
    // Where the voice is: the frame mixed next and the fraction (of 65536) past it. The mixer
    // moves both on; a voice that is not looping stops at the ring's end, its frame back at 0.
    uint32_t frame = 0;
    uint32_t fraction = 0;

    uint32_t FrameBytes() const { return static_cast<uint32_t>(channels) * (bits / 8u); }
    uint32_t FrameCount() const { return FrameBytes() ? size / FrameBytes() : 0; }
};

// The step of a voice's position per output frame, in 16.16 fixed point.
uint32_t MixStep(uint32_t rate);
// The gain of a volume in hundredths of a decibel.
double MixGain(int32_t volume);
// Source frames a voice may read while `frames` output frames are mixed (the frame under
// the position, the one after it for interpolation, and every step in between).
uint32_t FramesReadAhead(uint32_t rate, uint32_t frames);

// Overwrites out[0 .. 2 x frames) with the voices mixed (left, right, left, ...) and moves
// every playing voice on.
void MixVoices(std::span<MixVoice> voices, int16_t* out, uint32_t frames);

} // namespace plat
