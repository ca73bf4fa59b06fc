// The engine's own byte copies, which compose every screen: a full-screen opaque copy, a
// full-screen transparent copy (a sprite of half key colour) and a full-screen fill of an
// off-screen bitmap, each beside the plain memory operation over the same bytes.
#include <benchmark/benchmark.h>

#include "engine/graphics/DibSect.h"

#include "bench/References.h"

namespace {

constexpr int16_t kWidth = 640;
constexpr int16_t kHeight = 480;
constexpr int64_t kBytes = int64_t{kWidth} * kHeight;

// A bitmap of the screen's size whose pixels alternate between the key colour and others.
void PaintPattern(CDibSect& bitmap)
{
    uint8_t* bits = bitmap.LockBits();
    for (int64_t i = 0; i < kBytes; ++i)
        bits[i] = (i / 3) % 2 ? 0 : static_cast<uint8_t>(i * 7 | 1);
    bitmap.UnlockBits();
}

void Copy(benchmark::State& state, DrawProc proc)
{
    const CRect screen(0, 0, kHeight, kWidth);
    CDibSect source(screen, CPoint(0, 0), 8, 0);
    PaintPattern(source);
    CDibSect dest(screen, CPoint(0, 0), 8, 0xFF);
    benchref::RunVsMemcpy(state, static_cast<size_t>(kBytes), [&] {
        proc(&source, &dest, screen, nullptr);
        benchmark::ClobberMemory();
    });
    state.SetBytesProcessed(state.iterations() * kBytes);
}

void BM_DrawOpaqueFullScreen(benchmark::State& state) { Copy(state, DrawOpaque); }
BENCHMARK(BM_DrawOpaqueFullScreen);

void BM_DrawTransparentFullScreen(benchmark::State& state) { Copy(state, DrawTransparent); }
BENCHMARK(BM_DrawTransparentFullScreen);

BENCHMARK_CAPTURE(MemcpyReference, fullScreen, benchref::kScreenBytes);

void BM_FillRectFullScreen(benchmark::State& state)
{
    const CRect screen(0, 0, kHeight, kWidth);
    CDibSect bitmap(screen, CPoint(0, 0), 8, 0);
    uint8_t colour = 0;
    benchref::RunVsMemset(state, static_cast<size_t>(kBytes), [&] {
        bitmap.FillRect(screen, ++colour);
        benchmark::ClobberMemory();
    });
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_FillRectFullScreen);

BENCHMARK_CAPTURE(MemsetReference, fullScreen, benchref::kScreenBytes);

} // namespace
