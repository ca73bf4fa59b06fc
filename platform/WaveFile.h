#pragma once
// The RIFF/WAVE reader: uncompressed PCM, one or two channels, 8 or 16 bits per sample.
// Chunks are walked with every length checked against what remains, so a damaged file gives
// an error text and never a read outside its bytes.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace plat {

struct WaveSound {
    uint16_t channels = 0;       // 1 or 2
    uint16_t bitsPerSample = 0;  // 8 (unsigned) or 16 (signed, little-endian)
    uint32_t sampleRate = 0;     // frames per second
    std::vector<uint8_t> frames; // whole frames only
    size_t partialBytes = 0;     // bytes of a last, partial frame, left out of frames

    size_t FrameBytes() const { return size_t(channels) * bitsPerSample / 8; }
    size_t FrameCount() const { return FrameBytes() ? frames.size() / FrameBytes() : 0; }
};

// Reads a WAVE file's bytes. On failure answers nullopt and, with error, says why. The sound
// tool (tools/WavFile) reads through here too.
std::optional<WaveSound> ReadWave(const uint8_t* bytes, size_t size, std::string* error = nullptr);
// Reads a WAVE file from a host path (at most 256 MiB).
std::optional<WaveSound> ReadWaveFile(const std::filesystem::path& path, std::string* error = nullptr);

} // namespace plat
