// Opens arbitrary bytes as a frame strip and decodes every frame, plain and masked, into a
// top-down and a bottom-up bitmap whose rows are exactly their width, and into a bitmap of the
// frame's own size when it is small, so that any stray read or write is caught.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/resources/FrameStrip.h"
#include "fuzz/support/FuzzSupport.h"

namespace {

constexpr int32_t kMaxFrames = 16;
constexpr int32_t kMaxOwnPixels = 1 << 16;

void DecodeInto(CFrameStrip& strip, int32_t i, int32_t width, int32_t rows, bool bottomUp)
{
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(rows));
    const PixelRows dest{pixels.data(), width, rows, width, bottomUp};
    CRect updated;
    strip.DecodeFrame(dest, i, nullptr);
    strip.DecodeFrame(dest, i, &updated);
}

void DecodeStrip(const uint8_t* data, size_t size)
{
    auto block = std::make_unique<CMemory>(static_cast<int32_t>(size));
    if (size)
        block->PutBytes(data, static_cast<int32_t>(size), 0);
    CFrameStrip strip(std::move(block));
    for (int32_t i = 0; i < std::min<int32_t>(strip.GetFrameCount(), kMaxFrames); ++i) {
        CPoint frameSize;
        DecodeInto(strip, i, 37, 21, false);
        DecodeInto(strip, i, 37, 21, true);
        if (strip.GetFrameSize(frameSize, i) == CFrameStrip::kOk && frameSize.GetH() > 0 &&
            frameSize.GetV() > 0 && frameSize.GetH() * frameSize.GetV() <= kMaxOwnPixels)
            DecodeInto(strip, i, frameSize.GetH(), frameSize.GetV(), true);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;
    fuzz::Guarded([&] { DecodeStrip(data, size); });
    return 0;
}
