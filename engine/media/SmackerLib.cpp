#include "engine/media/SmackerLib.h"

#include "engine/graphics/WndEnv.h"
#include "platform/DrawContext.h"
#include "platform/VideoBuffer.h"
#include "platform/VideoClip.h"

namespace {

class ClipMovie : public CSmackMovie {
public:
    explicit ClipMovie(std::unique_ptr<plat::VideoClip> c) : clip(std::move(c)) {}
    std::unique_ptr<plat::VideoClip> clip;
};

class ClipBuf : public CSmackBuf {
public:
    explicit ClipBuf(std::unique_ptr<plat::ClipBuffer> b) : buffer(std::move(b)) {}
    std::unique_ptr<plat::ClipBuffer> buffer;
};

plat::VideoClip& Clip(CSmackMovie& movie) { return *static_cast<ClipMovie&>(movie).clip; }
plat::ClipBuffer& Buf(CSmackBuf& buffer) { return *static_cast<ClipBuf&>(buffer).buffer; }

// The platform's clip layer behind the library's operations.
class PlatformSmackerLib : public CSmackerLib {
public:
    void SoundUseDevice(plat::SoundDevice* device) override { device_ = device; }
    std::unique_ptr<CSmackMovie> Open(const CSmackSource& source, uint32_t flags, uint32_t) override
    {
        auto clip = plat::VideoClip::OpenRange(source.hostPath, source.offset, source.size, flags, device_);
        if (!clip)
            return nullptr;
        return std::make_unique<ClipMovie>(std::move(clip));
    }
    void SoundOnOff(CSmackMovie& movie, bool on) override { Clip(movie).SoundOnOff(on); }
    void VolumePan(CSmackMovie& movie, uint32_t mask, int32_t volume, int32_t pan) override
    {
        Clip(movie).VolumePan(mask, volume, pan);
    }
    void SoundCheck() override {}
    bool Wait(CSmackMovie& movie) override { return Clip(movie).Wait(); }
    void DoFrame(CSmackMovie& movie) override
    {
        Clip(movie).SoundCheck();
        Clip(movie).DoFrame();
    }
    void NextFrame(CSmackMovie& movie) override { Clip(movie).NextFrame(); }
    void Goto(CSmackMovie& movie, int32_t frame) override { Clip(movie).GoTo(frame); }
    void ToBuffer(CSmackMovie& movie, CSmackBuf* buffer) override
    {
        if (!buffer) {
            Clip(movie).SetTarget(nullptr);
            return;
        }
        const plat::ClipTarget target = Buf(*buffer).Target();
        Clip(movie).SetTarget(&target);
    }
    bool ToBufferRect(CSmackMovie& movie, plat::Rect& rect) override { return Clip(movie).NextRect(rect); }
    int32_t Width(CSmackMovie& movie) override { return Clip(movie).Width(); }
    int32_t Height(CSmackMovie& movie) override { return Clip(movie).Height(); }
    int32_t Frames(CSmackMovie& movie) override { return Clip(movie).FrameCount(); }
    int32_t FrameNum(CSmackMovie& movie) override { return Clip(movie).CurrentFrame(); }
    bool NewPalette(CSmackMovie& movie) override { return Clip(movie).NewPalette(); }
    void SetNewPalette(CSmackMovie& movie, bool changed) override { Clip(movie).SetNewPalette(changed); }
    uint8_t* Palette(CSmackMovie& movie) override { return Clip(movie).Palette().data(); }

    std::unique_ptr<CSmackBuf> BufferOpen(plat::WindowHandle, int, int width, int height, int shownWidth,
                                          int shownHeight) override
    {
        auto buffer = plat::ClipBuffer::Open(width, height, shownWidth, shownHeight);
        if (!buffer)
            return nullptr;
        return std::make_unique<ClipBuf>(std::move(buffer));
    }
    int BufferBlit(CSmackBuf& buffer, plat::DrawContext& dc, int x, int y, const plat::Rect& src) override
    {
        return Buf(buffer).Blit(dc, x, y, src);
    }
    void BufferNewPalette(CSmackBuf& buffer, const uint8_t* palette) override
    {
        Buf(buffer).NewPalette(palette);
    }
    uint8_t* BufferPalette(CSmackBuf& buffer) override { return Buf(buffer).Palette().data(); }
    uint8_t BufferFirstPixel(CSmackBuf& buffer) override { return Buf(buffer).Pixels()[0]; }
    void ColorRemap(CSmackMovie& movie, const uint8_t* palette, int count) override
    {
        Clip(movie).ColorRemap(palette, count);
    }
    void BufferFromScreen(CSmackBuf& buffer, plat::WindowHandle window, int x, int y) override
    {
        if (auto dc = CreateWindowDC(window)) {
            const plat::Point origin = dc->ViewportOrigin();
            Buf(buffer).FromSurface(dc->Target(), origin.x + x, origin.y + y);
        }
    }
    void BufferToBuffer(CSmackBuf& dst, int x, int y, CSmackBuf& src, int sx, int sy, int w, int h) override
    {
        plat::ClipBuffer::Copy(Buf(dst), x, y, Buf(src), sx, sy, w, h);
    }
    void BufferToBufferTrans(CSmackBuf& dst, int x, int y, CSmackBuf& src, int sx, int sy, int w, int h,
                             int key) override
    {
        plat::ClipBuffer::Copy(Buf(dst), x, y, Buf(src), sx, sy, w, h, key);
    }

private:
    plat::SoundDevice* device_ = nullptr;
};

PlatformSmackerLib& PlatformLib()
{
    static PlatformSmackerLib lib;
    return lib;
}

CSmackerLib* installed = nullptr;

} // namespace

CSmackerLib& GetSmackerLib() { return installed ? *installed : PlatformLib(); }
void SetSmackerLib(CSmackerLib* lib) { installed = lib; }
