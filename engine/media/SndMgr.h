#pragma once
// CSndMgr: the engine's owner of the one sound device. The game opens the device once at
// start-up (and again after releasing it), releases it at exit, and every playing sound
// gets its buffer here, in the sound's own format. A device that cannot be opened, or that
// will not be shared, ends the program with a fatal report.
#include <cstdint>
#include <memory>

#include "platform/SoundDevice.h"

// What a buffer is made for: the format of the sound that will fill it.
class CSndFormat {
public:
    virtual ~CSndFormat() = default;
    virtual int16_t GetChannels() const = 0;
    virtual int32_t GetSampleRate() const = 0;
    virtual int16_t GetBitsPerSample() const = 0;
};

// The PCM wave format a buffer is described by.
struct CWaveFormat {
    uint16_t formatTag = 1; // PCM
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0; // samples per second x block align
    uint16_t blockAlign = 0;     // channels x (bits / 8)
    uint16_t bitsPerSample = 0;
};

// The description a buffer is asked for with.
struct CBufferDesc {
    static constexpr uint32_t kControlFrequency = 0x20;
    static constexpr uint32_t kControlPan = 0x40;
    static constexpr uint32_t kControlVolume = 0x80;

    uint32_t size = 20;
    uint32_t flags = kControlFrequency | kControlPan | kControlVolume;
    uint32_t bufferBytes = 0;
    uint32_t reserved = 0;
    CWaveFormat format;
};

class CSndMgr {
public:
    // Engine messages and source lines of the two fatal reports.
    static constexpr int32_t kCannotOpenString = 22;
    static constexpr int32_t kCannotShareString = 23;
    static constexpr uint32_t kCannotOpenLine = 52;
    static constexpr uint32_t kCannotShareLine = 58;

    // Opens the device when none is open; does nothing otherwise.
    static void CreateDevice();
    // Closes the device, if any. Buffers still alive keep working silently.
    static void ReleaseDevice();
    // A buffer of `size` bytes in the sound's format; null without a device or on failure.
    static std::unique_ptr<plat::SoundBuffer> CreateBuffer(const CSndFormat& sound, int32_t size);
    // Called when the application is deactivated and activated; nothing to do here.
    static void Suspend() {}
    static void Resume() {}

    static CWaveFormat MakeWaveFormat(const CSndFormat& sound);
    static CBufferDesc MakeBufferDesc(const CSndFormat& sound, int32_t size);
};

// The open device, or null.
plat::SoundDevice* GetSoundDevice();
