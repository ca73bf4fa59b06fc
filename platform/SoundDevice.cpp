#include "platform/SoundDevice.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <iostream>
#include <mutex>
#include <utility>

#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/SoundMixer.h"

namespace plat {

namespace {

// Frames the SDL callback mixes at a time, and so what a write cursor keeps ahead of.
constexpr uint32_t kCallbackFrames = 512;
// The Null output keeps this many frames for tests between two TakeOutput calls.
constexpr size_t kMaxKeptFrames = size_t{kMixRate} * 60;

SoundDeviceFault g_fault = SoundDeviceFault::None;

uint64_t SystemMs()
{
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

bool ValidFormat(const SoundFormat& f)
{
    return (f.channels == 1 || f.channels == 2) && (f.bits == 8 || f.bits == 16) && f.rate > 0;
}

} // namespace

namespace detail {

struct SoundDeviceCore {
    std::mutex mutex;
    SoundDevice::Output output = SoundDevice::Output::Null;
    bool released = false;
    std::vector<SoundBufferCore*> buffers;
    std::vector<MixVoice> scratch;
    uint64_t openMs = 0;
    uint64_t framesMixed = 0;
    std::vector<int16_t> kept; // Null output
    SDL_AudioDeviceID sdlDevice = 0;

    uint64_t NowMs() const { return output == SoundDevice::Output::Null ? GetClock().NowMs() : SystemMs(); }
    // Mixes `frames` frames of every buffer into out (null: thrown away). Mutex held.
    void Mix(int16_t* out, uint32_t frames);
    // Null and silent outputs: mixes what the clock says is due. Mutex held.
    void CatchUp();
    void Close();
};

struct SoundBufferCore {
    std::shared_ptr<SoundDeviceCore> device;
    SoundFormat format;
    std::vector<uint8_t> ring;
    MixVoice voice;
    bool lost = false;

    uint32_t FrameBytes() const { return voice.FrameBytes(); }
};

void SoundDeviceCore::Mix(int16_t* out, uint32_t frames)
{
    scratch.clear();
    for (SoundBufferCore* b : buffers)
        scratch.push_back(b->voice);
    int16_t discard[2 * 256];
    for (uint32_t done = 0; done < frames;) {
        const uint32_t n = out ? frames - done : std::min<uint32_t>(256, frames - done);
        MixVoices(scratch, out ? out + 2 * size_t{done} : discard, n);
        done += n;
    }
    for (size_t i = 0; i < buffers.size(); ++i) {
        buffers[i]->voice.frame = scratch[i].frame;
        buffers[i]->voice.fraction = scratch[i].fraction;
        buffers[i]->voice.playing = scratch[i].playing;
    }
    framesMixed += frames;
}

void SoundDeviceCore::CatchUp()
{
    if (released || output == SoundDevice::Output::Sdl)
        return;
    const uint64_t now = NowMs();
    const uint64_t due = now > openMs ? (now - openMs) * kMixRate / 1000 : 0;
    while (framesMixed < due) {
        const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(due - framesMixed, 1u << 20));
        const bool anyPlaying = std::any_of(buffers.begin(), buffers.end(),
                                            [](const SoundBufferCore* b) { return b->voice.playing; });
        const bool keep = output == SoundDevice::Output::Null && kept.size() / 2 < kMaxKeptFrames;
        if (!anyPlaying && !keep) {
            framesMixed += n; // nothing to hear and nothing to keep
            continue;
        }
        if (!keep) {
            Mix(nullptr, n);
            continue;
        }
        const uint32_t room = static_cast<uint32_t>(std::min<uint64_t>(n, kMaxKeptFrames - kept.size() / 2));
        const size_t at = kept.size();
        kept.resize(at + 2 * size_t{room});
        Mix(kept.data() + at, room);
    }
}

void SoundDeviceCore::Close()
{
    SDL_AudioDeviceID id = 0;
    {
        std::lock_guard lock(mutex);
        if (released)
            return;
        // No last catch-up: a device may be closed at exit, after the clock is gone.
        released = true;
        id = sdlDevice;
        sdlDevice = 0;
    }
    if (id != 0) {
        // Waits for a callback that is running; none runs afterwards.
        SDL_CloseAudioDevice(id);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    std::lock_guard lock(mutex);
    for (SoundBufferCore* b : buffers)
        b->voice.playing = false;
    buffers.clear();
}

} // namespace detail

using detail::SoundBufferCore;
using detail::SoundDeviceCore;

namespace {

void SdlCallback(void* user, Uint8* stream, int len)
{
    auto* core = static_cast<SoundDeviceCore*>(user);
    std::lock_guard lock(core->mutex);
    core->Mix(reinterpret_cast<int16_t*>(stream), static_cast<uint32_t>(len) / 4);
}

// Opens SDL's default audio device for the core; false with SDL's reason.
bool OpenSdlAudio(SoundDeviceCore& core, std::string& reason)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        reason = SDL_GetError();
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(kMixRate);
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = kCallbackFrames;
    want.callback = SdlCallback;
    want.userdata = &core;
    SDL_AudioSpec have{};
    core.sdlDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (core.sdlDevice == 0) {
        reason = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(core.sdlDevice, 0);
    return true;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Buffers

SoundBuffer::SoundBuffer(std::unique_ptr<SoundBufferCore> core) : core_(std::move(core)) {}

SoundBuffer::~SoundBuffer()
{
    SoundDeviceCore& d = *core_->device;
    std::lock_guard lock(d.mutex);
    std::erase(d.buffers, core_.get());
}

uint32_t SoundBuffer::GetSize() const { return static_cast<uint32_t>(core_->ring.size()); }

SoundFormat SoundBuffer::GetFormat() const { return core_->format; }

void SoundBuffer::GetCurrentPosition(uint32_t* play, uint32_t* write)
{
    SoundDeviceCore& d = *core_->device;
    std::lock_guard lock(d.mutex);
    d.CatchUp();
    const MixVoice& v = core_->voice;
    const uint32_t frames = v.FrameCount();
    const uint32_t at = v.frame;
    const uint32_t ahead = v.playing ? std::min(FramesReadAhead(v.rate, kCallbackFrames), frames) : 0;
    if (play)
        *play = at * core_->FrameBytes();
    if (write)
        *write = ((at + ahead) % frames) * core_->FrameBytes();
}

SoundResult SoundBuffer::Lock(uint32_t offset, uint32_t bytes, SoundRegion& first, SoundRegion& second)
{
    first = second = {};
    const uint32_t size = GetSize();
    {
        std::lock_guard lock(core_->device->mutex);
        if (core_->lost)
            return SoundResult::BufferLost;
    }
    if (offset >= size || bytes == 0 || bytes > size)
        return SoundResult::InvalidParam;
    uint8_t* ring = core_->ring.data();
    first = {ring + offset, std::min(bytes, size - offset)};
    if (first.bytes < bytes)
        second = {ring, bytes - first.bytes};
    return SoundResult::Ok;
}

SoundResult SoundBuffer::Unlock(const SoundRegion& first, const SoundRegion& second)
{
    const uint8_t* begin = core_->ring.data();
    const uint8_t* end = begin + core_->ring.size();
    const auto inside = [&](const SoundRegion& r) {
        return !r.data || (r.data >= begin && r.data + r.bytes <= end);
    };
    // Taking the mutex orders what a writer on another thread wrote before the mixer's reads.
    { std::lock_guard lock(core_->device->mutex); }
    return inside(first) && inside(second) ? SoundResult::Ok : SoundResult::InvalidParam;
}

SoundResult SoundBuffer::Play(bool looping)
{
    std::lock_guard lock(core_->device->mutex);
    if (core_->lost)
        return SoundResult::BufferLost;
    core_->device->CatchUp(); // the frames due so far were mixed without it
    core_->voice.playing = !core_->device->released;
    core_->voice.looping = looping;
    return SoundResult::Ok;
}

void SoundBuffer::Stop()
{
    std::lock_guard lock(core_->device->mutex);
    core_->device->CatchUp();
    core_->voice.playing = false;
}

SoundResult SoundBuffer::SetCurrentPosition(uint32_t offset)
{
    if (offset >= GetSize())
        return SoundResult::InvalidParam;
    std::lock_guard lock(core_->device->mutex);
    core_->device->CatchUp();
    core_->voice.frame = offset / core_->FrameBytes();
    core_->voice.fraction = 0;
    return SoundResult::Ok;
}

SoundResult SoundBuffer::SetVolume(int32_t volume)
{
    if (volume < kSilentVolume || volume > 0)
        return SoundResult::InvalidParam;
    std::lock_guard lock(core_->device->mutex);
    core_->device->CatchUp();
    core_->voice.volume = volume;
    return SoundResult::Ok;
}

SoundResult SoundBuffer::SetPan(int32_t pan)
{
    if (pan < -kMaxPan || pan > kMaxPan)
        return SoundResult::InvalidParam;
    std::lock_guard lock(core_->device->mutex);
    core_->device->CatchUp();
    core_->voice.pan = pan;
    return SoundResult::Ok;
}

int32_t SoundBuffer::GetVolume() const
{
    std::lock_guard lock(core_->device->mutex);
    return core_->voice.volume;
}

int32_t SoundBuffer::GetPan() const
{
    std::lock_guard lock(core_->device->mutex);
    return core_->voice.pan;
}

uint32_t SoundBuffer::GetStatus()
{
    std::lock_guard lock(core_->device->mutex);
    core_->device->CatchUp();
    uint32_t status = 0;
    if (core_->voice.playing)
        status |= kSoundStatusPlaying | (core_->voice.looping ? kSoundStatusLooping : 0);
    if (core_->lost)
        status |= kSoundStatusLost;
    return status;
}

SoundResult SoundBuffer::Restore()
{
    std::lock_guard lock(core_->device->mutex);
    if (core_->lost) {
        std::fill(core_->ring.begin(), core_->ring.end(), core_->format.bits == 8 ? 0x80 : 0);
        core_->lost = false;
    }
    return SoundResult::Ok;
}

void SoundBuffer::LoseForTest()
{
    std::lock_guard lock(core_->device->mutex);
    core_->device->CatchUp();
    core_->lost = true;
    core_->voice.playing = false;
}

// ---------------------------------------------------------------------------------------------
// The device

SoundDevice::SoundDevice(std::shared_ptr<SoundDeviceCore> core) : core_(std::move(core)) {}

SoundDevice::~SoundDevice() { core_->Close(); }

SoundDevice::Output SoundDevice::GetOutput() const { return core_->output; }

bool SoundDevice::SetCooperativeLevel() { return g_fault != SoundDeviceFault::RefusesToShare; }

std::unique_ptr<SoundBuffer> SoundDevice::CreateBuffer(const SoundFormat& format, uint32_t bytes)
{
    // A ring must hold a whole frame: the cursors count in frames.
    if (!ValidFormat(format) || bytes < uint32_t{format.channels} * (format.bits / 8u))
        return nullptr;
    auto core = std::make_unique<SoundBufferCore>();
    core->device = core_;
    core->format = format;
    core->ring.assign(bytes, format.bits == 8 ? 0x80 : 0);
    core->voice.data = core->ring.data();
    core->voice.size = bytes;
    core->voice.channels = format.channels;
    core->voice.bits = format.bits;
    core->voice.rate = format.rate;
    SoundBufferCore* raw = core.get();
    auto buffer = std::make_unique<SoundBuffer>(std::move(core));
    std::lock_guard lock(core_->mutex);
    if (!core_->released) {
        core_->CatchUp();
        core_->buffers.push_back(raw);
    }
    return buffer;
}

uint64_t SoundDevice::GetFramesMixed()
{
    std::lock_guard lock(core_->mutex);
    core_->CatchUp();
    return core_->framesMixed;
}

std::vector<int16_t> SoundDevice::TakeOutput()
{
    std::lock_guard lock(core_->mutex);
    core_->CatchUp();
    return std::exchange(core_->kept, {});
}

std::unique_ptr<SoundDevice> OpenSoundDevice()
{
    return OpenSoundDevice(GetBackend() == Backend::Sdl ? SoundDevice::Output::Sdl
                                                        : SoundDevice::Output::Null);
}

std::unique_ptr<SoundDevice> OpenSoundDevice(SoundDevice::Output output)
{
    if (g_fault == SoundDeviceFault::CannotOpen)
        return nullptr;
    auto core = std::make_shared<SoundDeviceCore>();
    core->output = output;
    if (output == SoundDevice::Output::Sdl) {
        std::string reason;
        if (!OpenSdlAudio(*core, reason)) {
            std::cerr << "sound: no audio device (" << reason << "); sound is silent\n";
            core->output = SoundDevice::Output::Silent;
        }
    }
    core->openMs = core->NowMs();
    return std::make_unique<SoundDevice>(std::move(core));
}

void SetSoundDeviceFault(SoundDeviceFault fault) { g_fault = fault; }

void ResetSoundDevice() { g_fault = SoundDeviceFault::None; }

} // namespace plat
