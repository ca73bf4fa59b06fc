#pragma once
// The plain C library loops that benchmarks report beside their own work, so that results
// read as a ratio: copying or filling the same bytes with memcpy and memset.
//
// Every benchmark reports its ratio to a reference timed in the same process, as a counter
// such as x_memcpy (2.0: twice as fast as memcpy moving the same bytes), so that nobody
// compares a figure with one from another run or another machine:
//     const benchref::LoopTimer loop;
//     for (auto _ : state) { ...draw 640 x 480 bytes... }
//     benchref::ReportVsMemcpy(state, benchref::kScreenBytes, loop);
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <map>
#include <vector>

namespace benchref {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr size_t kScreenBytes = size_t{kScreenWidth} * kScreenHeight;

// The calling thread's processor time in seconds: Google Benchmark's own measure of a run.
inline double ThreadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Seconds of processor time one call of `work` takes, measured as Google Benchmark measures
// a benchmark: the mean over a run of calls (a tenth of a second), so that both sides of a
// ratio see the same interruptions and the reference's own ratio reads 1. The clock is read
// once per doubling of the calls, so that reading it adds nothing worth counting.
template <typename Work> double SecondsPerCall(Work&& work)
{
    constexpr double kRunSeconds = 0.1;
    work(); // warm the caches and fault the pages in
    const double start = ThreadSeconds();
    int64_t calls = 0;
    double elapsed = 0;
    for (int64_t round = 1; elapsed < kRunSeconds; round *= 2) {
        for (int64_t i = 0; i < round; ++i)
            work();
        calls += round;
        elapsed = ThreadSeconds() - start;
    }
    return elapsed / static_cast<double>(calls);
}

// The processor time of a benchmark's loop, as Google Benchmark measures it: made just
// before the loop, read just after it.
class LoopTimer {
public:
    LoopTimer() : start_(ThreadSeconds()) {}
    double Seconds() const { return ThreadSeconds() - start_; }

private:
    double start_;
};

// Reports counter `name`: the reference's time for one iteration's work over this
// benchmark's time per iteration, so that 1 is the reference's speed and higher is faster.
// The loop's time is read first, so that timing the reference (once per process and size)
// is not counted in it.
template <typename Reference>
void ReportRatio(benchmark::State& state, const char* name, const LoopTimer& loop,
                 Reference&& referenceSeconds)
{
    const double seconds = loop.Seconds();
    const double reference = referenceSeconds();
    if (seconds > 0)
        state.counters[name] = reference * static_cast<double>(state.iterations()) / seconds;
}

// Seconds one memcpy of `bytes` bytes takes in this process, measured once per size.
inline double MemcpySeconds(size_t bytes)
{
    static std::map<size_t, double> measured;
    if (const auto it = measured.find(bytes); it != measured.end())
        return it->second;
    const std::vector<uint8_t> source(bytes, 7);
    std::vector<uint8_t> target(bytes);
    return measured[bytes] = SecondsPerCall([&] {
               std::memcpy(target.data(), source.data(), bytes);
               benchmark::DoNotOptimize(target.data());
               benchmark::ClobberMemory();
           });
}

// Seconds one memset of `bytes` bytes takes in this process, measured once per size.
inline double MemsetSeconds(size_t bytes)
{
    static std::map<size_t, double> measured;
    if (const auto it = measured.find(bytes); it != measured.end())
        return it->second;
    std::vector<uint8_t> target(bytes);
    int value = 0;
    return measured[bytes] = SecondsPerCall([&] {
               std::memset(target.data(), ++value & 0xFF, bytes);
               benchmark::DoNotOptimize(target.data());
               benchmark::ClobberMemory();
           });
}

// x_memcpy: this benchmark's speed over memcpy's, moving `bytes` bytes per iteration.
inline void ReportVsMemcpy(benchmark::State& state, size_t bytes, const LoopTimer& loop)
{
    ReportRatio(state, "x_memcpy", loop, [bytes] { return MemcpySeconds(bytes); });
}

// x_memset: this benchmark's speed over memset's, filling `bytes` bytes per iteration.
inline void ReportVsMemset(benchmark::State& state, size_t bytes, const LoopTimer& loop)
{
    ReportRatio(state, "x_memset", loop, [bytes] { return MemsetSeconds(bytes); });
}

} // namespace benchref

// The loops live at file scope because BENCHMARK_CAPTURE builds identifiers from their names.

// One memcpy of `bytes` bytes per iteration.
inline void MemcpyReference(benchmark::State& state, size_t bytes)
{
    const std::vector<uint8_t> source(bytes, 7);
    std::vector<uint8_t> target(bytes);
    const benchref::LoopTimer loop;
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), bytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
    benchref::ReportVsMemcpy(state, bytes, loop);
}

// The same bytes copied row by row, as blits move them (one large memcpy can take a slower
// path on some machines); with flip the rows land upside down, as a bottom-up copy moves them.
inline void MemcpyRowsReference(benchmark::State& state, int width, int height, bool flip)
{
    const size_t rowBytes = static_cast<size_t>(width);
    const std::vector<uint8_t> source(rowBytes * static_cast<size_t>(height), 7);
    std::vector<uint8_t> target(source.size());
    const benchref::LoopTimer loop;
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
    benchref::ReportVsMemcpy(state, source.size(), loop);
}

// One memset of `bytes` bytes per iteration, with a new value each time.
inline void MemsetReference(benchmark::State& state, size_t bytes)
{
    std::vector<uint8_t> target(bytes);
    int value = 0;
    const benchref::LoopTimer loop;
    for (auto _ : state) {
        std::memset(target.data(), ++value & 0xFF, bytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
    benchref::ReportVsMemset(state, bytes, loop);
}
