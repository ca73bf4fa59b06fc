#include "tools/WavFile.h"

#include <optional>
#include <stdexcept>
#include <string>

#include "platform/WaveFile.h"

namespace {

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
    std::string error;
    std::optional<plat::WaveSound> wave = plat::ReadWaveFile(path, &error);
    if (!wave)
        throw std::runtime_error(error);
    const auto fail = [&](const std::string& why) { throw std::runtime_error(path.string() + ": " + why); };
    // The tool writes exact copies back, so it takes only whole frames at the rates it codes.
    if (wave->partialBytes)
        fail("the data ends inside a frame");
    if (wave->sampleRate != 11025 && wave->sampleRate != 22050 && wave->sampleRate != 44100)
        fail(std::to_string(wave->sampleRate) + " Hz (11025, 22050 or 44100)");
    PcmSound sound;
    sound.channels = wave->channels;
    sound.bits = wave->bitsPerSample;
    sound.rate = wave->sampleRate;
    sound.data = std::move(wave->frames);
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
