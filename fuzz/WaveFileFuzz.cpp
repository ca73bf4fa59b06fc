// Reads arbitrary bytes as a WAVE file and touches every frame it answers, so that any read
// past the file's bytes is caught; a refusal must say why.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string error;
    const std::optional<plat::WaveSound> sound = plat::ReadWave(data, size, &error);
    if (!sound) {
        if (error.empty())
            __builtin_trap();
        return 0;
    }
    volatile unsigned sum = 0;
    for (uint8_t byte : sound->frames)
        sum = sum + byte;
    if (sound->FrameBytes() == 0 || sound->frames.size() % sound->FrameBytes() != 0)
        __builtin_trap();
    return 0;
}
