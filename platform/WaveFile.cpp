#include "platform/WaveFile.h"

#include <cstring>
#include <fstream>

namespace plat {
namespace {

constexpr uint64_t kMaxFileBytes = 256u << 20;
constexpr uint16_t kFormatPcm = 1;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

std::optional<WaveSound> Fail(std::string* error, const std::string& why)
{
    if (error)
        *error = why;
    return std::nullopt;
}

// Reads the "fmt " chunk's first 16 bytes into the sound; an error text when it is not a
// format this reader plays.
std::string ReadFormat(const uint8_t* p, uint32_t size, WaveSound& sound)
{
    if (size < 16)
        return "the format chunk is too short";
    if (Le16(p) != kFormatPcm)
        return "not PCM (format " + std::to_string(Le16(p)) + ")";
    sound.channels = Le16(p + 2);
    sound.sampleRate = Le32(p + 4);
    sound.bitsPerSample = Le16(p + 14);
    if (sound.channels < 1 || sound.channels > 2)
        return std::to_string(sound.channels) + " channels (1 or 2)";
    if (sound.bitsPerSample != 8 && sound.bitsPerSample != 16)
        return std::to_string(sound.bitsPerSample) + " bits per sample (8 or 16)";
    if (sound.sampleRate == 0)
        return "a sample rate of 0";
    return {};
}

} // namespace

std::optional<WaveSound> ReadWave(const uint8_t* bytes, size_t size, std::string* error)
{
    if (!bytes || size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return Fail(error, "not a WAV file");
    // The chunks end where the RIFF header says, or where the bytes do when that is sooner; a
    // header size below the "WAVE" tag leaves no room for any chunk.
    const size_t end = static_cast<size_t>(std::min<uint64_t>(uint64_t(Le32(bytes + 4)) + 8, size));
    WaveSound sound;
    bool haveFormat = false;
    const uint8_t* data = nullptr;
    size_t dataSize = 0;
    size_t at = 12;
    while (at <= end && end - at >= 8) {
        const uint8_t* chunk = bytes + at;
        const uint32_t chunkSize = Le32(chunk + 4);
        const size_t room = end - at - 8;
        const std::string id(reinterpret_cast<const char*>(chunk), 4);
        if (chunkSize > room)
            return Fail(error, "chunk \"" + id + "\" runs past the end of the file");
        if (id == "fmt " && !haveFormat) {
            if (std::string why = ReadFormat(chunk + 8, chunkSize, sound); !why.empty())
                return Fail(error, why);
            haveFormat = true;
        } else if (id == "data" && !data) {
            data = chunk + 8;
            dataSize = chunkSize;
        }
        // Chunks are padded to an even length; the pad may be missing after the last one.
        at += 8 + size_t(chunkSize) + (chunkSize & 1);
        if (at > end)
            break;
    }
    if (!haveFormat)
        return Fail(error, "no format chunk");
    if (!data)
        return Fail(error, "no data chunk");
    sound.partialBytes = dataSize % sound.FrameBytes();
    sound.frames.assign(data, data + dataSize - sound.partialBytes);
    return sound;
}

std::optional<WaveSound> ReadWaveFile(const std::filesystem::path& path, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Fail(error, path.string() + ": cannot read");
    std::vector<uint8_t> bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.insert(bytes.end(), buffer, buffer + in.gcount());
        if (bytes.size() > kMaxFileBytes)
            return Fail(error, path.string() + " is larger than 256 MiB");
    }
    if (in.bad())
        return Fail(error, path.string() + ": cannot read");
    std::optional<WaveSound> sound = ReadWave(bytes.data(), bytes.size(), error);
    if (!sound && error)
        *error = path.string() + ": " + *error;
    return sound;
}

} // namespace plat
