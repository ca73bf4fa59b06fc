// Reads arbitrary bytes as a WAVE file, then touches every frame it answers, so that any read
// past the file's bytes is caught.
#include <cstddef>
#include <cstdint>

#include "platform/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string error;
    const std::optional<plat::WaveSound> sound = plat::ReadWave(data, size, &error);
    if (!sound)
        return error.empty() ? 1 : 0;
    unsigned sum = 0;
    for (uint8_t byte : sound->frames)
        sum += byte;
    return sum == 0xFFFFFFFFu ? 1 : 0;
}
