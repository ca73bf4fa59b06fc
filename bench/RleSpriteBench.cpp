// Drawing a full-screen run-length sprite, beside a copy of the same output bytes.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/graphics/RleSprite.h"
#include "tools/SpriteEncoder.h"

#include "bench/References.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// A sprite-like screen: a transparent sky, flat-coloured figures with outlines and a textured
// ground, so that the runs mix long repeats, short repeats and literals.
std::vector<uint8_t> Screen()
{
    std::vector<uint8_t> p(static_cast<size_t>(kWidth * kHeight));
    uint32_t noise = 7;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            noise = noise * 1103515245u + 12345u;
            uint8_t v;
            if (y < 160)
                v = 0; // transparent
            else if (y < 320)
                v = static_cast<uint8_t>((x / 40) % 2 ? 30 + (x % 40 == 0) : 50 + (y / 20) % 3);
            else
                v = static_cast<uint8_t>(60 + ((noise >> 16) % 16));
            p[static_cast<size_t>(y * kWidth + x)] = v;
        }
    return p;
}

struct Sprite {
    std::vector<uint8_t> screen = Screen();
    std::vector<uint8_t> rls =
        BuildRls({{kWidth, kHeight, EncodeRleCel({screen.data(), kWidth, kHeight, kWidth})}});
};

void DrawFullScreen(benchmark::State& state, bool transparent, bool mirror)
{
    const Sprite sprite;
    const RleCelTable table(sprite.rls.data(), sprite.rls.size());
    std::vector<uint8_t> out(sprite.screen.size(), 0);
    const PixelRows dest{out.data(), kWidth, kHeight, kWidth, true};
    RleDrawOptions options;
    options.transparent = transparent ? 0 : -1;
    options.mirror = mirror;
    benchref::RunVsMemcpy(state, out.size(), [&] {
        DrawRleCelPixels(table, 0, dest, 0, 0, options);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    });
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(out.size()));
    state.counters["coded_bytes"] = static_cast<double>(sprite.rls.size());
}

void BM_DrawRleFullScreen(benchmark::State& state) { DrawFullScreen(state, false, false); }
BENCHMARK(BM_DrawRleFullScreen);

void BM_DrawRleFullScreenTransparent(benchmark::State& state) { DrawFullScreen(state, true, false); }
BENCHMARK(BM_DrawRleFullScreenTransparent);

void BM_DrawRleFullScreenMirrored(benchmark::State& state) { DrawFullScreen(state, true, true); }
BENCHMARK(BM_DrawRleFullScreenMirrored);

// Reference: copying the drawn screen's bytes.
BENCHMARK_CAPTURE(MemcpyReference, fullScreen, benchref::kScreenBytes);

} // namespace
