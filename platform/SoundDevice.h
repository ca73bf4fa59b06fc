#pragma once
// The sound output: one device that mixes any number of sound buffers (SoundMixer.h).
//
// A buffer is a ring of exactly the bytes asked for, in its own PCM format. Its play cursor
// is the next frame the mixer takes; its write cursor runs ahead of it by what the mixer may
// read before it next looks (the play cursor itself while stopped). A writer locks a range of
// the ring, gets it as one or two regions (two when it wraps), writes them and unlocks them.
// One mutex per device guards every buffer's cursors and state (never the ring's bytes), so
// any thread may call any operation. A buffer outlives its device: after the device is
// released its calls still work, but nothing plays.
//
// Outputs:
//   Null  the installed clock drives the mixer: t ms after opening, floor(t x 22050 / 1000)
//         frames have been mixed, brought up to date whenever a cursor or status is read.
//         The mixed frames are kept for tests (TakeOutput).
//   Sdl   one SDL audio callback runs the mixer. When no audio device opens, a silent mixer
//         on the system's own clock stands in and one line on standard error gives SDL's
//         reason: a missing device never ends the program.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plat {

struct SoundFormat {
    uint16_t channels = 1; // 1 or 2
    uint32_t rate = 22050; // frames a second
    uint16_t bits = 8;     // 8 (unsigned) or 16 (signed little-endian)
};

enum class SoundResult {
    Ok = 0,
    BufferLost,   // the buffer's memory was lost: Restore it and write it anew
    InvalidParam, // an offset, size, volume or pan outside what the buffer takes
};

// Bits of SoundBuffer::GetStatus.
constexpr uint32_t kSoundStatusPlaying = 1;
constexpr uint32_t kSoundStatusLost = 2;
constexpr uint32_t kSoundStatusLooping = 4;

struct SoundRegion {
    uint8_t* data = nullptr;
    uint32_t bytes = 0;
};

namespace detail {
struct SoundDeviceCore;
struct SoundBufferCore;
} // namespace detail

class SoundBuffer {
public:
    explicit SoundBuffer(std::unique_ptr<detail::SoundBufferCore> core);
    // Leaves the mixer.
    ~SoundBuffer();
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

    uint32_t GetSize() const;
    SoundFormat GetFormat() const;
    // Byte offsets of the play and write cursors.
    void GetCurrentPosition(uint32_t* play, uint32_t* write);
    // `bytes` bytes from `offset`, as one region or, when they wrap, two (the second from the
    // ring's start; null and 0 otherwise). InvalidParam for an offset outside the ring or a
    // count of 0 or more than the ring.
    SoundResult Lock(uint32_t offset, uint32_t bytes, SoundRegion& first, SoundRegion& second);
    SoundResult Unlock(const SoundRegion& first, const SoundRegion& second);
    // Plays from the play cursor, once to the ring's end or round and round.
    SoundResult Play(bool looping);
    // Stops; the play cursor stays where it is.
    void Stop();
    SoundResult SetCurrentPosition(uint32_t offset);
    SoundResult SetVolume(int32_t volume); // -10000..0
    SoundResult SetPan(int32_t pan);       // -10000..10000
    int32_t GetVolume() const;
    int32_t GetPan() const;
    uint32_t GetStatus();
    // Gives a lost buffer its memory back (silence, to be written anew).
    SoundResult Restore();

    // Tests only: the buffer loses its memory, as another program taking the device would
    // make it; it stops, and Lock and Play answer BufferLost until Restore.
    void LoseForTest();

private:
    std::unique_ptr<detail::SoundBufferCore> core_;
};

class SoundDevice {
public:
    enum class Output { Null, Sdl, Silent };

    explicit SoundDevice(std::shared_ptr<detail::SoundDeviceCore> core);
    // Stops the mixer; buffers still alive keep working silently.
    ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    Output GetOutput() const;
    // Shares the device with other programs; false only under the test fault below.
    bool SetCooperativeLevel();
    // A buffer of exactly `bytes` bytes; null for a size below one frame or a format other
    // than 1-2 channels of 8 or 16 bits at a positive rate.
    std::unique_ptr<SoundBuffer> CreateBuffer(const SoundFormat& format, uint32_t bytes);

    // The frames mixed so far (Null output: brought up to date first).
    uint64_t GetFramesMixed();
    // Null output: the frames mixed since the last call, left and right interleaved (at most
    // the first minute of them is kept).
    std::vector<int16_t> TakeOutput();

private:
    std::shared_ptr<detail::SoundDeviceCore> core_;
};

// Opens the output the platform's backend calls for: Sdl with a display, Null headless.
// Null only under the test fault CannotOpen.
std::unique_ptr<SoundDevice> OpenSoundDevice();
std::unique_ptr<SoundDevice> OpenSoundDevice(SoundDevice::Output output);

// Test switch to reach the program's handling of a device that fails.
enum class SoundDeviceFault { None, CannotOpen, RefusesToShare };
void SetSoundDeviceFault(SoundDeviceFault fault);
// Puts the switch back (part of ResetPlatform).
void ResetSoundDevice();

} // namespace plat
