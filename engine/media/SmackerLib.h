#pragma once
// The video library as the video frame sees it: clips ("movies") and 8-bit buffers behind
// one interface, so tests can put a scripted library in its place. The platform's clip layer
// (VideoClip, ClipBuffer) does the work of the library in use by default.
#include <cstdint>
#include <filesystem>
#include <memory>

#include "platform/Geometry.h"
#include "platform/Window.h"

namespace plat {
class DrawContext;
class SoundDevice;
} // namespace plat

// An open clip and a buffer, as the library in use made them.
class CSmackMovie {
public:
    virtual ~CSmackMovie() = default;
};
class CSmackBuf {
public:
    virtual ~CSmackBuf() = default;
};

// Where a clip is read from: `size` bytes of the host file from `offset` (size -1: the
// whole file).
struct CSmackSource {
    std::filesystem::path hostPath;
    int64_t offset = 0;
    int64_t size = -1;
};

// Open flags besides the track bits (plat::kClipAllTracks, plat::ClipTrackBit).
constexpr uint32_t kSmackOpenFlags = 0x60;
constexpr uint32_t kSmackNoSkip = 0x400;
// Buffer blit types: a buffer shown in a window, and one kept in memory only.
constexpr int kSmackBlitWindow = 4;
constexpr int kSmackBlitMemory = 0;

class CSmackerLib {
public:
    virtual ~CSmackerLib() = default;

    virtual void SoundUseDevice(plat::SoundDevice* device) = 0;
    // Null when the clip cannot be opened.
    virtual std::unique_ptr<CSmackMovie> Open(const CSmackSource& source, uint32_t flags,
                                              uint32_t extraBuffer) = 0;
    virtual void SoundOnOff(CSmackMovie& movie, bool on) = 0;
    virtual void VolumePan(CSmackMovie& movie, uint32_t trackMask, int32_t volume, int32_t pan) = 0;
    virtual void SoundCheck() = 0;
    // True while the next frame is not yet due.
    virtual bool Wait(CSmackMovie& movie) = 0;
    virtual void DoFrame(CSmackMovie& movie) = 0;
    virtual void NextFrame(CSmackMovie& movie) = 0;
    virtual void Goto(CSmackMovie& movie, int32_t frame) = 0;
    // Decodes into the buffer's pixels from now on (null: decode only).
    virtual void ToBuffer(CSmackMovie& movie, CSmackBuf* buffer) = 0;
    // The next changed rectangle of the last decode (in the clip's pixels); false at the end.
    virtual bool ToBufferRect(CSmackMovie& movie, plat::Rect& rect) = 0;

    // The movie's fields.
    virtual int32_t Width(CSmackMovie& movie) = 0;
    virtual int32_t Height(CSmackMovie& movie) = 0;
    virtual int32_t Frames(CSmackMovie& movie) = 0;
    // The current frame, 0-based (Frames - 1 at the last).
    virtual int32_t FrameNum(CSmackMovie& movie) = 0;
    virtual bool NewPalette(CSmackMovie& movie) = 0;
    virtual void SetNewPalette(CSmackMovie& movie, bool changed) = 0;
    // 768 bytes of red, green, blue.
    virtual uint8_t* Palette(CSmackMovie& movie) = 0;

    // Null on failure.
    virtual std::unique_ptr<CSmackBuf> BufferOpen(plat::WindowHandle window, int blitType, int width,
                                                  int height, int shownWidth, int shownHeight) = 0;
    // 0 on success; the source rectangle is in the buffer's shown size.
    virtual int BufferBlit(CSmackBuf& buffer, plat::DrawContext& dc, int x, int y, const plat::Rect& src) = 0;
    virtual void BufferNewPalette(CSmackBuf& buffer, const uint8_t* palette) = 0;
    virtual uint8_t* BufferPalette(CSmackBuf& buffer) = 0;
    // The colour index of the buffer's first pixel.
    virtual uint8_t BufferFirstPixel(CSmackBuf& buffer) = 0;
    virtual void ColorRemap(CSmackMovie& movie, const uint8_t* palette, int count) = 0;
    // Copies the window's client pixels from (x, y) into the buffer.
    virtual void BufferFromScreen(CSmackBuf& buffer, plat::WindowHandle window, int x, int y) = 0;
    virtual void BufferToBuffer(CSmackBuf& dst, int x, int y, CSmackBuf& src, int sx, int sy, int w,
                                int h) = 0;
    virtual void BufferToBufferTrans(CSmackBuf& dst, int x, int y, CSmackBuf& src, int sx, int sy, int w,
                                     int h, int key) = 0;
};

// The library in use: the platform's clip layer unless a test installed another.
CSmackerLib& GetSmackerLib();
// Installs a library (not owned); null goes back to the platform's.
void SetSmackerLib(CSmackerLib* lib);
