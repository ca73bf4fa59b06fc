#include "tests/support/ClipFixtures.h"

#include <cmath>
#include <fstream>
#include <random>

namespace qmtest {

ClipSource ClipWithEveryBlockKind(int width, int height, int count, int fps)
{
    ClipSource clip;
    clip.width = width;
    clip.height = height;
    clip.fps = fps;
    std::mt19937 rng(static_cast<unsigned>(width * 31 + height));
    for (int k = 0; k < count; ++k) {
        ClipFrame f;
        f.pixels.assign(static_cast<size_t>(width) * height, 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                uint8_t& p = f.pixels[static_cast<size_t>(y) * width + x];
                if (y < height / 4)
                    p = static_cast<uint8_t>(10 + (x / 8) % 3); // filled blocks, still
                else if (y < height / 2)
                    p = ((x + y) % 2) ? 20 : static_cast<uint8_t>(21 + k % 2); // two colours
                else if (y < 3 * height / 4)
                    p = static_cast<uint8_t>(rng() % 256); // full blocks
                else
                    p = (x / 4 == k % (width / 4)) ? 200 : 7; // one block moves
            }
        for (int i = 0; i < 256; ++i) {
            const int shift = k >= 2 ? 60 : 0;
            f.palette[i * 3] = static_cast<uint8_t>((i + shift) % 256);
            f.palette[i * 3 + 1] = static_cast<uint8_t>(255 - i);
            f.palette[i * 3 + 2] = static_cast<uint8_t>((i * 7) % 256);
        }
        clip.frames.push_back(std::move(f));
    }
    return clip;
}

PcmSound ClipSound(uint16_t channels, uint16_t bits, uint32_t rate, size_t frames)
{
    PcmSound s;
    s.channels = channels;
    s.bits = bits;
    s.rate = rate;
    std::mt19937 rng(channels * 10 + bits);
    for (size_t i = 0; i < frames; ++i)
        for (uint16_t c = 0; c < channels; ++c) {
            const double v =
                0.6 * std::sin(static_cast<double>(i) / (4.0 + c)) + (rng() % 200) / 1000.0 - 0.1;
            if (bits == 8) {
                s.data.push_back(static_cast<uint8_t>(std::lround(127.5 + v * 127)));
            } else {
                const auto x = static_cast<int16_t>(std::lround(v * 32000));
                s.data.push_back(static_cast<uint8_t>(x & 0xFF));
                s.data.push_back(static_cast<uint8_t>((x >> 8) & 0xFF));
            }
        }
    return s;
}

std::vector<uint8_t> WriteClip(const std::filesystem::path& path, const ClipSource& clip)
{
    std::vector<uint8_t> bytes = EncodeClip(clip);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

} // namespace qmtest
