#include "tools/WavFile.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

uint32_t Le(const uint8_t* p, int bytes)
{
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

void PutLe(std::vector<uint8_t>& out, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutTag(std::vector<uint8_t>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(tag[i]));
}

} // namespace

PcmSound ReadWav(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        throw std::runtime_error(path.string() + ": cannot read");
    std::vector<uint8_t> file(static_cast<size_t>(std::max<std::streamoff>(in.tellg(), 0)));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(file.data()), static_cast<std::streamsize>(file.size())))
        throw std::runtime_error(path.string() + ": cannot read");
    const auto fail = [&](const std::string& why) { throw std::runtime_error(path.string() + ": " + why); };
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 ||
        std::memcmp(file.data() + 8, "WAVE", 4) != 0)
        fail("not a WAV file");
    PcmSound sound;
    bool haveFormat = false;
    bool haveData = false;
    for (size_t pos = 12; pos + 8 <= file.size() && !haveData;) {
        const uint8_t* chunk = file.data() + pos;
        const uint64_t size = Le(chunk + 4, 4);
        if (pos + 8 + size > file.size())
            fail("a chunk runs past the end of the file");
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16)
                fail("the format chunk is too short");
            if (Le(chunk + 8, 2) != 1)
                fail("not PCM (format " + std::to_string(Le(chunk + 8, 2)) + ")");
            sound.channels = static_cast<uint16_t>(Le(chunk + 10, 2));
            sound.rate = Le(chunk + 12, 4);
            sound.bits = static_cast<uint16_t>(Le(chunk + 22, 2));
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat)
                fail("the data chunk comes before the format chunk");
            sound.data.assign(chunk + 8, chunk + 8 + size);
            haveData = true;
        }
        pos += 8 + size + (size & 1);
    }
    if (!haveFormat || !haveData)
        fail(haveFormat ? "no data chunk" : "no format chunk");
    if (sound.channels != 1 && sound.channels != 2)
        fail(std::to_string(sound.channels) + " channels (1 or 2)");
    if (sound.bits != 8 && sound.bits != 16)
        fail(std::to_string(sound.bits) + " bits per sample (8 or 16)");
    if (sound.rate != 11025 && sound.rate != 22050 && sound.rate != 44100)
        fail(std::to_string(sound.rate) + " Hz (11025, 22050 or 44100)");
    if (sound.data.size() % sound.FrameBytes() != 0)
        fail("the data ends inside a frame");
    return sound;
}

std::vector<uint8_t> WavBytes(const PcmSound& sound)
{
    const uint32_t dataBytes = static_cast<uint32_t>(sound.data.size());
    const uint32_t pad = dataBytes & 1;
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes + pad);
    PutTag(out, "RIFF");
    PutLe(out, 36 + dataBytes + pad, 4);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLe(out, 16, 4);
    PutLe(out, 1, 2);
    PutLe(out, sound.channels, 2);
    PutLe(out, sound.rate, 4);
    PutLe(out, sound.rate * sound.FrameBytes(), 4);
    PutLe(out, sound.FrameBytes(), 2);
    PutLe(out, sound.bits, 2);
    PutTag(out, "data");
    PutLe(out, dataBytes, 4);
    out.insert(out.end(), sound.data.begin(), sound.data.end());
    if (pad)
        out.push_back(0);
    return out;
}
