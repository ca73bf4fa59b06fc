#pragma once
// Benchmarks report their speed as a ratio to a plain reference (memcpy or memset of the same
// bytes, FFmpeg's own decode loop, ...), timed in the same process and interleaved with the
// benchmark's own iterations, so that nobody compares a figure with one from another run or
// another machine, and so that both sides of a ratio see the same state of a shared machine:
//     benchref::RunVsMemcpy(state, benchref::kScreenBytes, [&] { ...draw 640 x 480 bytes... });
// sets counter x_memcpy (2.0: twice as fast as memcpy moving the same bytes).
//
// The loop alternates rounds: a batch of the benchmark's calls (about a millisecond of them),
// then a batch of the reference's. Each round gives one ratio of the mean call times, and the
// counter is the median of the rounds, so that a round in which another process took the
// processor moves it little. A reference run against itself (MemcpyReference, MemsetReference)
// reads 1.00.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/mman.h>
#include <vector>

namespace benchref {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr size_t kScreenBytes = size_t{kScreenWidth} * kScreenHeight;

// Wall-clock seconds from a monotonic clock: cheap enough to read around every batch.
inline double NowSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Seconds `calls` calls of `work` take together.
template <typename Work> double SecondsFor(Work& work, int64_t calls)
{
    const double start = NowSeconds();
    for (int64_t i = 0; i < calls; ++i)
        work();
    return NowSeconds() - start;
}

// How many calls of `work` make a batch of about a millisecond (at least one), judged from
// a few calls after a first one that warms the caches.
template <typename Work> int64_t BatchCalls(Work& work)
{
    constexpr double kBatchSeconds = 1e-3;
    work();
    int64_t calls = 1;
    double seconds = SecondsFor(work, calls);
    while (seconds < kBatchSeconds / 8 && calls < (int64_t{1} << 24)) {
        calls *= 2;
        seconds = SecondsFor(work, calls);
    }
    const double perCall = seconds / static_cast<double>(calls);
    return std::max<int64_t>(1, static_cast<int64_t>(kBatchSeconds / std::max(perCall, 1e-12)));
}

// The ratios of the rounds of one benchmark: the reference's time per call over the
// benchmark's, one per round.
class RoundRatios {
public:
    void Add(double referenceSecondsPerCall, double workSecondsPerCall)
    {
        if (workSecondsPerCall > 0 && referenceSecondsPerCall > 0)
            ratios_.push_back(referenceSecondsPerCall / workSecondsPerCall);
    }
    // Sets counter `name` to the median round (1: the reference's speed; higher is faster).
    void Report(benchmark::State& state, const char* name)
    {
        if (ratios_.empty())
            return;
        const auto middle = ratios_.begin() + static_cast<std::ptrdiff_t>(ratios_.size() / 2);
        std::nth_element(ratios_.begin(), middle, ratios_.end());
        state.counters[name] = *middle;
    }

private:
    std::vector<double> ratios_;
};

// Runs the benchmark's loop over `work`, timing `reference` in the rounds between its batches
// (the reference's time is not counted in the benchmark's), and reports counter `name`.
template <typename Work, typename Reference>
void RunAgainst(benchmark::State& state, const char* name, Work&& work, Reference&& reference)
{
    const int64_t workBatch = BatchCalls(work);
    const int64_t referenceBatch = BatchCalls(reference);
    RoundRatios rounds;
    const auto addRound = [&](int64_t calls, double workSeconds) {
        const double referenceSeconds = SecondsFor(reference, referenceBatch);
        rounds.Add(referenceSeconds / static_cast<double>(referenceBatch),
                   workSeconds / static_cast<double>(calls));
    };
    int64_t calls = 0;
    double start = NowSeconds();
    for (auto _ : state) {
        work();
        if (++calls == workBatch) {
            const double workSeconds = NowSeconds() - start;
            state.PauseTiming();
            addRound(calls, workSeconds);
            state.ResumeTiming();
            calls = 0;
            start = NowSeconds();
        }
    }
    if (calls > 0) // the loop's clock has stopped: the last round needs no pause
        addRound(calls, NowSeconds() - start);
    rounds.Report(state, name);
}

// Bytes for a reference to work on, in huge pages where the system gives them: a buffer of
// ordinary pages lands on physical pages that may crowd some cache sets, which made one
// memcpy of a cache-sized block up to a fifth slower than another in the same process.
class ReferenceBytes {
public:
    explicit ReferenceBytes(size_t bytes)
    {
        constexpr size_t kHugePage = size_t{2} << 20;
        const size_t size = (std::max<size_t>(bytes, 1) + kHugePage - 1) / kHugePage * kHugePage;
        data_ = static_cast<uint8_t*>(std::aligned_alloc(kHugePage, size));
        madvise(data_, size, MADV_HUGEPAGE);
        std::memset(data_, 7, size);
    }
    ~ReferenceBytes() { std::free(data_); }
    ReferenceBytes(const ReferenceBytes&) = delete;
    ReferenceBytes& operator=(const ReferenceBytes&) = delete;
    uint8_t* Data() { return data_; }

private:
    uint8_t* data_;
};

// One memcpy of `bytes` bytes per call, between two halves of a buffer of its own.
class Memcpy {
public:
    explicit Memcpy(size_t bytes) : bytes_(bytes), buffer_(std::make_unique<ReferenceBytes>(2 * bytes)) {}
    void operator()()
    {
        std::memcpy(buffer_->Data() + bytes_, buffer_->Data(), bytes_);
        benchmark::DoNotOptimize(buffer_->Data());
        benchmark::ClobberMemory();
    }

private:
    size_t bytes_;
    std::unique_ptr<ReferenceBytes> buffer_;
};

// One memset of `bytes` bytes per call, with a new value each time.
class Memset {
public:
    explicit Memset(size_t bytes) : bytes_(bytes), buffer_(std::make_unique<ReferenceBytes>(bytes)) {}
    void operator()()
    {
        std::memset(buffer_->Data(), ++value_ & 0xFF, bytes_);
        benchmark::DoNotOptimize(buffer_->Data());
        benchmark::ClobberMemory();
    }

private:
    size_t bytes_;
    std::unique_ptr<ReferenceBytes> buffer_;
    int value_ = 0;
};

// x_memcpy: this benchmark's speed over memcpy's, moving `bytes` bytes per call of `work`.
template <typename Work> void RunVsMemcpy(benchmark::State& state, size_t bytes, Work&& work)
{
    RunAgainst(state, "x_memcpy", work, Memcpy(bytes));
}

// x_memset: this benchmark's speed over memset's, filling `bytes` bytes per call of `work`.
template <typename Work> void RunVsMemset(benchmark::State& state, size_t bytes, Work&& work)
{
    RunAgainst(state, "x_memset", work, Memset(bytes));
}

} // namespace benchref

// The loops live at file scope because BENCHMARK_CAPTURE builds identifiers from their names.
// Each is run against a second copy of itself: its ratio shows how far the ratios of this
// run can be trusted (1.00 on a quiet machine).

// One memcpy of `bytes` bytes per iteration.
inline void MemcpyReference(benchmark::State& state, size_t bytes)
{
    benchref::RunVsMemcpy(state, bytes, benchref::Memcpy(bytes));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}

// One memset of `bytes` bytes per iteration, with a new value each time.
inline void MemsetReference(benchmark::State& state, size_t bytes)
{
    benchref::RunVsMemset(state, bytes, benchref::Memset(bytes));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}
