// A 320 x 240 sprite cel stretched to the 640 x 480 screen with each pixel writer (copy, remap,
// blend), beside a copy of the same output bytes.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/graphics/RleStretch.h"
#include "tools/SpriteEncoder.h"

#include "bench/References.h"

namespace {

constexpr int kCelWidth = benchref::kScreenWidth / 2;
constexpr int kCelHeight = benchref::kScreenHeight / 2;

// Horizontal bands of flat colour with a transparent hole and a dithered strip, so that the
// rows mix long repeats, transparent runs and literals.
std::vector<uint8_t> Picture()
{
    std::vector<uint8_t> p(static_cast<size_t>(kCelWidth * kCelHeight));
    for (int y = 0; y < kCelHeight; ++y)
        for (int x = 0; x < kCelWidth; ++x) {
            uint8_t v = static_cast<uint8_t>(20 + y / 16);
            if (x > 100 && x < 140 && y > 60 && y < 180)
                v = 0; // transparent
            else if (y % 40 < 8)
                v = static_cast<uint8_t>(100 + (x + y) % 7);
            p[static_cast<size_t>(y * kCelWidth + x)] = v;
        }
    return p;
}

void Stretch(benchmark::State& state, RlePixelOp op)
{
    const std::vector<uint8_t> picture = Picture();
    const std::vector<uint8_t> rls =
        BuildRls({{kCelWidth, kCelHeight, EncodeRleCel({picture.data(), kCelWidth, kCelHeight, kCelWidth})}});
    const RleCelTable table(rls.data(), rls.size());
    std::vector<uint32_t> offsets;
    BuildRleRowOffsets(table, 0, offsets);

    std::vector<uint8_t> out(benchref::kScreenBytes, 7);
    const PixelRows dest{out.data(), benchref::kScreenWidth, benchref::kScreenHeight, benchref::kScreenWidth,
                         true};
    uint8_t remap[256], colours[256][3], nearest[4096];
    for (int i = 0; i < 256; ++i) {
        remap[i] = static_cast<uint8_t>(i + 1);
        colours[i][0] = static_cast<uint8_t>(i);
        colours[i][1] = static_cast<uint8_t>(255 - i);
        colours[i][2] = static_cast<uint8_t>(i * 3);
    }
    for (int i = 0; i < 4096; ++i)
        nearest[i] = static_cast<uint8_t>(i * 7);
    const RlePixelWriter writer{op, remap, colours, nearest};
    RleDrawOptions options;
    options.transparent = 0;
    const CRect position(0, 0, benchref::kScreenHeight, benchref::kScreenWidth);
    benchref::RunVsMemcpy(state, out.size(), [&] {
        DrawRleStretchedPixels(table, 0, &offsets, dest, position, options, writer);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    });
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(out.size()));
}

void BM_StretchRleToScreen(benchmark::State& state) { Stretch(state, RlePixelOp::Copy); }
BENCHMARK(BM_StretchRleToScreen);

void BM_StretchRleToScreenRemapped(benchmark::State& state) { Stretch(state, RlePixelOp::Remap); }
BENCHMARK(BM_StretchRleToScreenRemapped);

void BM_StretchRleToScreenBlended(benchmark::State& state) { Stretch(state, RlePixelOp::Blend); }
BENCHMARK(BM_StretchRleToScreenBlended);

// Reference: copying the drawn screen's bytes.
BENCHMARK_CAPTURE(MemcpyReference, fullScreen, benchref::kScreenBytes);

} // namespace
