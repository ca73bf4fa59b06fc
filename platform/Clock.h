#pragma once
// Monotonic time for the engine. The engine counts in ticks of 17 ms taken from a 64-bit
// millisecond counter, so the tick never wraps the way a 32-bit millisecond count would.
//
// Worker threads (WorkerThread.h) wait on the clock in use through WaitUntil, which a stop
// request cuts short. On the fake clock such a wait blocks until a test moves the clock past
// its time, and moving the clock returns only once every worker it woke waits again or has
// ended, so a run on the fake clock repeats exactly.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

namespace plat {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary fixed start.
    virtual uint64_t NowMs() = 0;
    // Blocks until NowMs() >= ms (returns at once when that time has passed).
    virtual void SleepUntil(uint64_t ms) = 0;
    // Blocks until NowMs() >= ms or `stop` is set; false when it ended for the stop. Whoever
    // sets `stop` then calls WakeStopped.
    virtual bool WaitUntil(uint64_t ms, const std::atomic<bool>& stop) = 0;
    virtual void WakeStopped() = 0;
    // A worker thread is about to start (called on the starting thread), and has ended.
    virtual void AddWorker() {}
    virtual void RemoveWorker() {}
};

// The clock in use: the system's monotonic clock unless a test installed another.
Clock& GetClock();
// Installs a clock (not owned); nullptr restores the system clock.
void SetClock(Clock* clock);

// The engine tick for a millisecond count: ms / 17, kept in 32 bits.
constexpr uint32_t TickFromMs(uint64_t ms) { return static_cast<uint32_t>(ms / 17); }
// The current engine tick of the clock in use.
uint32_t CurrentTick();
// The current millisecond count truncated to 32 bits (the classic tick count).
uint32_t CurrentMs32();

// Whether the calling thread is a worker thread (set by WorkerThread for its own thread).
bool OnWorkerThread();
void SetOnWorkerThread(bool worker);

// A clock that only moves when told to. With auto-advance set, every read moves it on by
// that many milliseconds first, so code that waits for time to pass still finishes (waiting
// workers wake as it passes their time, but nothing waits for them).
//
// Moving the clock (Set, Advance, and SleepUntil or WaitUntil called on a thread that is not
// a worker, which jump ahead) first waits until every worker waits or has ended, then moves
// from one worker's wake-up time to the next, each time waiting until the workers it woke
// wait again or have ended. Workers are counted from AddWorker, before their thread starts.
class FakeClock : public Clock {
public:
    explicit FakeClock(uint64_t startMs = 0) : now_(startMs) {}
    // Back to startMs without auto-advance, for a fresh test (no worker may be left).
    void Reset(uint64_t startMs);
    uint64_t NowMs() override;
    void SleepUntil(uint64_t ms) override;
    bool WaitUntil(uint64_t ms, const std::atomic<bool>& stop) override;
    void WakeStopped() override;
    void AddWorker() override;
    void RemoveWorker() override;
    void Set(uint64_t ms);
    void Advance(uint64_t ms) { Set(now_.load() + ms); }
    void SetAutoAdvance(uint64_t stepMs) { autoStep_ = stepMs; }

private:
    struct Waiter {
        uint64_t until = 0;
        const std::atomic<bool>* stop = nullptr;
        bool released = false;
    };
    // Ends the waits that are due or stopped. Mutex held.
    void ReleaseWaiters();
    // Waits until no worker runs. Mutex held.
    void WaitForIdle(std::unique_lock<std::mutex>& lock);

    std::atomic<uint64_t> now_;
    std::atomic<uint64_t> autoStep_{0};
    std::mutex mutex_;
    std::condition_variable wake_; // waiting workers
    std::condition_variable idle_; // the thread moving the clock
    std::vector<Waiter*> waiters_;
    int running_ = 0; // workers counted and not waiting
};

// Wall-clock date and time in UTC.
struct WallTime {
    int year = 1970;
    int month = 1; // 1-12
    int day = 1;   // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int dayOfWeek = 4; // 0 = Sunday
};
WallTime NowUtc();
// Tests pin "today"; a null pointer goes back to the system time.
void SetWallTimeOverride(const WallTime* fixed);

} // namespace plat
