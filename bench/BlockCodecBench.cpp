// Decoding a full-screen block-coded image, beside a copy of the same output bytes.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/resources/BlockCodec.h"
#include "tests/support/CodecFixtures.h"

#include "bench/References.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// A screen-like picture: flat panels, a gradient sky, a textured ground and repeated tiles.
std::vector<uint8_t> Screen()
{
    std::vector<uint8_t> p(static_cast<size_t>(kWidth * kHeight));
    uint32_t noise = 1;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            noise = noise * 1103515245u + 12345u;
            uint8_t v;
            if (y >= 440)
                v = 20; // control bar
            else if (y < 200)
                v = static_cast<uint8_t>(100 + y / 10); // sky bands
            else if ((x / 8 + y / 8) % 5 == 0)
                v = static_cast<uint8_t>((x % 8) * 4 + (y % 8)); // a repeated pattern
            else
                v = static_cast<uint8_t>(40 + ((noise >> 16) % 12)); // ground texture
            p[static_cast<size_t>(y * kWidth + x)] = v;
        }
    return p;
}

void BM_DecodeFullScreen(benchmark::State& state)
{
    const std::vector<uint8_t> screen = Screen();
    const std::vector<uint8_t> image = qmtest::EncodeImage(screen.data(), kWidth, kHeight, kWidth);
    std::vector<uint8_t> out(screen.size());
    benchref::RunVsMemcpy(state, out.size(), [&] {
        BlockCodec::DecodeToBitmap(image.data(), image.size(), kWidth, kHeight, out.data(), kWidth);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    });
    if (out != screen)
        state.SkipWithError("decoded screen differs from the picture");
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(out.size()));
    state.counters["coded_bytes"] = static_cast<double>(image.size());
}
BENCHMARK(BM_DecodeFullScreen);

// Reference: copying the decoded screen's bytes.
BENCHMARK_CAPTURE(MemcpyReference, fullScreen, benchref::kScreenBytes);

} // namespace
