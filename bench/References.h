#pragma once
// The plain C library loops that benchmarks report beside their own work, so that results
// read as a ratio: copying or filling the same bytes with memcpy and memset.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace benchref {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr size_t kScreenBytes = size_t{kScreenWidth} * kScreenHeight;

} // namespace benchref

// The loops live at file scope because BENCHMARK_CAPTURE builds identifiers from their names.

// One memcpy of `bytes` bytes per iteration.
inline void MemcpyReference(benchmark::State& state, size_t bytes)
{
    const std::vector<uint8_t> source(bytes, 7);
    std::vector<uint8_t> target(bytes);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), bytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}

// The same bytes copied row by row, as blits move them (one large memcpy can take a slower
// path on some machines); with flip the rows land upside down, as a bottom-up copy moves them.
inline void MemcpyRowsReference(benchmark::State& state, int width, int height, bool flip)
{
    const size_t rowBytes = static_cast<size_t>(width);
    const std::vector<uint8_t> source(rowBytes * static_cast<size_t>(height), 7);
    std::vector<uint8_t> target(source.size());
    for (auto _ : state) {
        for (int y = 0; y < height; ++y) {
            const int from = flip ? height - 1 - y : y;
            std::memcpy(target.data() + static_cast<size_t>(y) * rowBytes,
                        source.data() + static_cast<size_t>(from) * rowBytes, rowBytes);
        }
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(source.size()));
}

// One memset of `bytes` bytes per iteration, with a new value each time.
inline void MemsetReference(benchmark::State& state, size_t bytes)
{
    std::vector<uint8_t> target(bytes);
    int value = 0;
    for (auto _ : state) {
        std::memset(target.data(), ++value & 0xFF, bytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}
