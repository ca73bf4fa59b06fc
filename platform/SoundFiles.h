#pragma once
// Sound files played straight from disk through the sound output (SoundDevice.h): one voice,
// a new sound cuts off the one playing, a call returns at once, and a file that is missing or
// not a playable WAVE file is silent. The player opens its own output on the first sound.
// It also keeps a record of what it played and for how long on the clock in use, which tests
// and headless runs read.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class SoundDevice;

struct SoundFilePlay {
    std::string path;     // the engine path as given
    uint64_t startMs = 0; // on the clock in use
    uint64_t endMs = 0;   // when it runs out, or was cut off
};

// Plays the WAVE file at the engine path; false (and silence) when it cannot be read. Any
// sound still playing is cut off first.
bool PlaySoundFile(std::string_view enginePath);
// Cuts off the sound playing, if any.
void StopSoundFile();

// The sound playing now, if any.
std::optional<SoundFilePlay> GetPlayingSoundFile();
// Every sound played since the reset, oldest first.
const std::vector<SoundFilePlay>& GetSoundFileLog();
// The output the sound files play on; null before the first sound.
SoundDevice* GetSoundFileDevice();
// Stops the sound, closes the output and clears the record (part of ResetPlatform).
void ResetSoundFiles();

} // namespace plat
