#pragma once
// Writes "SMK2" video clips, the format the platform's clip layer plays, from 8-bit frames.
//
// The clip keeps the whole picture in 4 x 4 blocks coded with four prefix-code trees (block
// types, two-colour maps, two-colour pairs, full pixel pairs), each a tree of 16-bit values
// whose leaves are coded by two byte trees. Every frame codes its blocks as unchanged (not in
// frame 1), one colour, two colours or sixteen pixels. Sound becomes track 1, either raw PCM
// or a difference code with one byte tree per channel and byte.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "tools/WavFile.h"

struct ClipFrame {
    std::vector<uint8_t> pixels;        // width x height indices, rows top down
    std::array<uint8_t, 768> palette{}; // 8-bit red, green, blue for each index
};

struct ClipSource {
    int width = 0;  // multiple of 4, 4-4096
    int height = 0; // multiple of 4, 4-4096
    int fps = 10;   // 1-100
    std::vector<ClipFrame> frames;
    std::optional<PcmSound> sound; // 8 or 16 bits, mono or stereo
    bool rawSound = false;         // store the samples as they are instead of difference-coded
};

// The clip's bytes. Throws std::runtime_error for sizes, rates or sounds it cannot store.
std::vector<uint8_t> EncodeClip(const ClipSource& source);

// The frame time stored for a rate: -round(100000 / fps), in units of 10 microseconds.
int32_t ClipFrameTimeField(int fps);

// The sample frames [first, end) that frame k (from 0) of `frameCount` carries for a sound of
// `totalFrames` sample frames at `rate` with the stored frame time field.
struct SampleSpan {
    uint64_t first = 0;
    uint64_t end = 0;
};
SampleSpan ClipSamplesOfFrame(uint32_t k, uint32_t frameCount, uint64_t totalFrames, uint32_t rate,
                              int32_t frameTimeField);
