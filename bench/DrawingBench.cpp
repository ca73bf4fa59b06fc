// The software drawing's two hottest paths: a full-screen opaque blit (the composed off-screen
// picture reaching a window) and a full-screen fill, each beside the plain memory operation
// moving the same bytes.
#include <benchmark/benchmark.h>

#include "platform/DrawContext.h"

#include "bench/References.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int64_t kBytes = int64_t{kWidth} * kHeight;

void BM_FullScreenBlit(benchmark::State& state)
{
    plat::Surface source(kWidth, kHeight, true);
    for (size_t i = 0; i < source.pixels.size(); ++i)
        source.pixels[i] = static_cast<uint8_t>(i * 7);
    plat::Surface target(kWidth, kHeight);
    plat::DrawContext dc(target);
    benchref::RunVsMemcpy(state, static_cast<size_t>(kBytes), [&] {
        dc.BitBlt({0, 0, kWidth, kHeight}, source, {0, 0});
        benchmark::DoNotOptimize(target.pixels.data());
        benchmark::ClobberMemory();
    });
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_FullScreenBlit);

BENCHMARK_CAPTURE(MemcpyReference, fullScreen, benchref::kScreenBytes);

void BM_FullScreenFill(benchmark::State& state)
{
    plat::Surface target(kWidth, kHeight);
    plat::DrawContext dc(target);
    uint16_t colour = 0;
    benchref::RunVsMemset(state, static_cast<size_t>(kBytes), [&] {
        dc.FillRect({0, 0, kWidth, kHeight}, plat::ColorRef::FromIndex(++colour & 0xFF));
        benchmark::DoNotOptimize(target.pixels.data());
        benchmark::ClobberMemory();
    });
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_FullScreenFill);

BENCHMARK_CAPTURE(MemsetReference, fullScreen, benchref::kScreenBytes);

} // namespace
