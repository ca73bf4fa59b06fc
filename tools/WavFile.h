#pragma once
// PCM WAV files as the sound tool reads and writes them.
#include <cstdint>
#include <filesystem>
#include <vector>

struct PcmSound {
    uint16_t channels = 1;
    uint16_t bits = 8;
    uint32_t rate = 22050;
    std::vector<uint8_t> data; // whole frames: 8-bit unsigned or 16-bit signed little-endian

    uint32_t FrameBytes() const { return uint32_t{channels} * (bits / 8u); }
};

// Reads a RIFF WAVE file: its "fmt " chunk must describe PCM (format 1) and its "data" chunk
// holds the samples; other chunks are skipped. Throws std::runtime_error ("PATH: ...") for a
// file that is not such a WAV, is cut short, or holds a part of a frame.
PcmSound ReadWav(const std::filesystem::path& path);

// The canonical file: a 44-byte header (RIFF, WAVE, a 16-byte "fmt " chunk, "data"), the
// samples, and a pad byte after odd data, counted in the RIFF size.
std::vector<uint8_t> WavBytes(const PcmSound& sound);
