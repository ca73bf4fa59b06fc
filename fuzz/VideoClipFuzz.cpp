// Reads arbitrary bytes as a video clip from memory through the platform's clip layer: opened,
// played frame by frame into a buffer with the sound taken, gone back to a middle frame and
// played on, and drawn zoomed through the buffers. Frames are capped, since a valid clip may
// hold millions of small frames.
// Run: fuzz_VideoClipFuzz fuzz/corpus/VideoClipFuzz
#include <cstdint>
#include <vector>

#include "fuzz/support/FuzzSupport.h"
#include "platform/VideoBuffer.h"
#include "platform/VideoClip.h"

namespace {

constexpr int kMaxFrames = 64;

void Play(plat::VideoClip& clip, plat::ClipBuffer& buffer, int frames)
{
    for (int k = 0; k < frames; ++k) {
        clip.DoFrame();
        plat::Rect r;
        while (clip.NextRect(r))
            plat::ClipBuffer::Copy(buffer, r.left, r.top, buffer, r.left, r.top, r.Width(), r.Height(), 0);
        clip.NextFrame();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Guarded([&] {
        auto clip = plat::VideoClip::OpenMemory(std::vector<uint8_t>(data, data + size), plat::kClipAllTracks,
                                                nullptr);
        if (!clip)
            return;
        size_t soundBytes = 0;
        clip->SetSoundTap([&](int, const uint8_t*, size_t n) { soundBytes += n; });
        auto buffer = plat::ClipBuffer::Open(clip->Width(), clip->Height(), clip->Width(), clip->Height());
        if (!buffer)
            return;
        const plat::ClipTarget target = buffer->Target();
        clip->SetTarget(&target);
        const int frames = std::min(clip->FrameCount(), kMaxFrames);
        Play(*clip, *buffer, frames);
        clip->GoTo(frames / 2 + 1);
        clip->ColorRemap(buffer->Palette().data(), 256);
        Play(*clip, *buffer, 2);
        auto half =
            plat::ClipBuffer::Open(clip->Width(), clip->Height(), clip->Width() / 2, clip->Height() / 2);
        if (half) {
            std::copy(buffer->Pixels(), buffer->Pixels() + clip->Width() * clip->Height(), half->Pixels());
            plat::ClipBuffer::Copy(*buffer, 1, 1, *half, 0, 0, clip->Width(), clip->Height(), 3);
        }
    });
    return 0;
}
