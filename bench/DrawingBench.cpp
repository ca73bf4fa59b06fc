// The software drawing's two hottest paths: a full-screen opaque blit (the composed off-screen
// picture reaching a window) and a full-screen fill, each beside the plain memory operation
// moving the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/DrawContext.h"

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
    for (auto _ : state) {
        dc.BitBlt({0, 0, kWidth, kHeight}, source, {0, 0});
        benchmark::DoNotOptimize(target.pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_FullScreenBlit);

void BM_MemcpyReference(benchmark::State& state)
{
    std::vector<uint8_t> source(kBytes, 7);
    std::vector<uint8_t> target(kBytes);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), kBytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_MemcpyReference);

// The same bytes copied row by row, as the blit moves them (a single large memcpy can take a
// slower path on some machines, so both references are shown).
void BM_MemcpyRowsReference(benchmark::State& state)
{
    std::vector<uint8_t> source(kBytes, 7);
    std::vector<uint8_t> target(kBytes);
    for (auto _ : state) {
        for (int y = 0; y < kHeight; ++y)
            std::memcpy(target.data() + y * kWidth, source.data() + (kHeight - 1 - y) * kWidth, kWidth);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_MemcpyRowsReference);

void BM_FullScreenFill(benchmark::State& state)
{
    plat::Surface target(kWidth, kHeight);
    plat::DrawContext dc(target);
    uint16_t colour = 0;
    for (auto _ : state) {
        dc.FillRect({0, 0, kWidth, kHeight}, plat::ColorRef::FromIndex(++colour & 0xFF));
        benchmark::DoNotOptimize(target.pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_FullScreenFill);

void BM_MemsetReference(benchmark::State& state)
{
    std::vector<uint8_t> target(kBytes);
    int colour = 0;
    for (auto _ : state) {
        std::memset(target.data(), ++colour & 0xFF, kBytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_MemsetReference);

} // namespace
