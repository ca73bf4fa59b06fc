#include "platform/SoundFiles.h"

#include <cstring>
#include <memory>

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/SoundDevice.h"
#include "platform/WaveFile.h"

namespace plat {
namespace {

struct Player {
    std::unique_ptr<SoundDevice> device;
    std::unique_ptr<SoundBuffer> voice; // the sound playing, or the last one
    std::vector<SoundFilePlay> log;
};

Player& GetPlayer()
{
    static Player player;
    return player;
}

// Stops the voice, and ends the record of the last sound at now when it was still playing.
void CutOff(Player& p, uint64_t now)
{
    if (p.voice)
        p.voice->Stop();
    p.voice.reset();
    if (!p.log.empty() && p.log.back().endMs > now)
        p.log.back().endMs = now;
}

// The sound's frames in a buffer of their own, started once; null when the output has none.
std::unique_ptr<SoundBuffer> StartVoice(SoundDevice& device, const WaveSound& sound)
{
    const SoundFormat format{sound.channels, sound.sampleRate, sound.bitsPerSample};
    std::unique_ptr<SoundBuffer> buffer =
        device.CreateBuffer(format, static_cast<uint32_t>(sound.frames.size()));
    if (!buffer)
        return nullptr;
    SoundRegion first, second;
    if (buffer->Lock(0, buffer->GetSize(), first, second) != SoundResult::Ok)
        return nullptr;
    std::memcpy(first.data, sound.frames.data(), first.bytes);
    if (second.data)
        std::memcpy(second.data, sound.frames.data() + first.bytes, second.bytes);
    buffer->Unlock(first, second);
    buffer->Play(false);
    return buffer;
}

} // namespace

bool PlaySoundFile(std::string_view enginePath)
{
    Player& p = GetPlayer();
    const uint64_t now = GetClock().NowMs();
    CutOff(p, now);
    const std::optional<std::filesystem::path> host = ToHostPath(enginePath);
    if (!host)
        return false;
    const std::optional<WaveSound> sound = ReadWaveFile(*host);
    // A file at most 4 GiB long cannot hold more; an empty sound plays nothing.
    if (!sound || sound->frames.empty() || sound->frames.size() > UINT32_MAX)
        return false;
    if (!p.device)
        p.device = OpenSoundDevice();
    if (p.device)
        p.voice = StartVoice(*p.device, *sound);
    // Its length in whole milliseconds, rounded up so that a short sound still counts.
    const uint64_t lengthMs =
        (uint64_t(sound->FrameCount()) * 1000 + sound->sampleRate - 1) / sound->sampleRate;
    p.log.push_back({std::string(enginePath), now, now + lengthMs});
    return true;
}

void StopSoundFile() { CutOff(GetPlayer(), GetClock().NowMs()); }

std::optional<SoundFilePlay> GetPlayingSoundFile()
{
    const Player& p = GetPlayer();
    if (p.log.empty() || p.log.back().endMs <= GetClock().NowMs())
        return std::nullopt;
    return p.log.back();
}

const std::vector<SoundFilePlay>& GetSoundFileLog() { return GetPlayer().log; }
SoundDevice* GetSoundFileDevice() { return GetPlayer().device.get(); }

void ResetSoundFiles()
{
    Player& p = GetPlayer();
    p.voice.reset();
    p.device.reset();
    p.log.clear();
}

} // namespace plat
