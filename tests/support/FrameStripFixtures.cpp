#include "tests/support/FrameStripFixtures.h"

#include <stdexcept>

#include "tests/support/CodecFixtures.h"

namespace qmtest {

namespace {

void PutLe(std::vector<uint8_t>& out, size_t at, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

} // namespace

std::vector<uint8_t> MakeFrameStrip(const std::vector<FrameSpec>& frames)
{
    if (frames.size() > 0x7FFF)
        throw std::logic_error("MakeFrameStrip: too many frames");
    std::vector<uint8_t> out(2 + 12 * frames.size(), 0);
    PutLe(out, 0, static_cast<uint32_t>(frames.size()), 2);
    for (size_t i = 0; i < frames.size(); ++i) {
        const size_t record = 2 + 12 * i;
        PutLe(out, record, static_cast<uint16_t>(frames[i].width), 2);
        PutLe(out, record + 2, static_cast<uint16_t>(frames[i].height), 2);
        PutLe(out, record + 4, static_cast<uint32_t>(out.size()), 4);
        out.insert(out.end(), frames[i].image.begin(), frames[i].image.end());
    }
    return out;
}

FrameSpec CodedFrame(int16_t width, int16_t height, const std::vector<uint8_t>& pixels)
{
    if (pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
        throw std::logic_error("CodedFrame: the picture is not width x height");
    return {width, height, EncodeImage(pixels.data(), width, height, width)};
}

} // namespace qmtest
