#include "platform/Clock.h"

#include <chrono>
#include <ctime>
#include <optional>
#include <thread>

namespace plat {
namespace {

class SystemClock : public Clock {
public:
    uint64_t NowMs() override
    {
        using namespace std::chrono;
        return static_cast<uint64_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void SleepUntil(uint64_t ms) override
    {
        const uint64_t now = NowMs();
        if (ms > now)
            std::this_thread::sleep_for(std::chrono::milliseconds(ms - now));
    }
    bool WaitUntil(uint64_t ms, const std::atomic<bool>& stop) override
    {
        std::unique_lock lock(mutex_);
        const std::chrono::steady_clock::time_point deadline{std::chrono::milliseconds(ms)};
        return !wake_.wait_until(lock, deadline, [&] { return stop.load(); });
    }
    void WakeStopped() override
    {
        // Taking the mutex orders the stop before a waiter's next look at it.
        {
            std::lock_guard lock(mutex_);
        }
        wake_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
};

SystemClock g_systemClock;
Clock* g_clock = &g_systemClock;
std::optional<WallTime> g_wallOverride;
thread_local bool t_onWorkerThread = false;

} // namespace

Clock& GetClock() { return *g_clock; }
void SetClock(Clock* clock) { g_clock = clock ? clock : &g_systemClock; }

uint32_t CurrentTick() { return TickFromMs(g_clock->NowMs()); }
uint32_t CurrentMs32() { return static_cast<uint32_t>(g_clock->NowMs()); }

bool OnWorkerThread() { return t_onWorkerThread; }
void SetOnWorkerThread(bool worker) { t_onWorkerThread = worker; }

void FakeClock::Reset(uint64_t startMs)
{
    std::lock_guard lock(mutex_);
    now_ = startMs;
    autoStep_ = 0;
    waiters_.clear();
    running_ = 0;
}

uint64_t FakeClock::NowMs()
{
    const uint64_t step = autoStep_.load();
    if (step == 0)
        return now_.load();
    const uint64_t now = now_.fetch_add(step) + step;
    std::lock_guard lock(mutex_);
    ReleaseWaiters();
    return now;
}

void FakeClock::SleepUntil(uint64_t ms)
{
    if (OnWorkerThread()) {
        const std::atomic<bool> never{false};
        WaitUntil(ms, never);
    } else if (ms > now_.load()) {
        Set(ms);
    }
}

bool FakeClock::WaitUntil(uint64_t ms, const std::atomic<bool>& stop)
{
    if (!OnWorkerThread()) {
        // The GUI thread jumps ahead, as SleepUntil does.
        if (!stop.load())
            SleepUntil(ms);
        return !stop.load();
    }
    std::unique_lock lock(mutex_);
    if (stop.load())
        return false;
    if (now_.load() >= ms)
        return true;
    Waiter self{ms, &stop, false};
    waiters_.push_back(&self);
    --running_;
    idle_.notify_all();
    wake_.wait(lock, [&] { return self.released; });
    return !stop.load();
}

void FakeClock::WakeStopped()
{
    std::lock_guard lock(mutex_);
    ReleaseWaiters();
}

void FakeClock::AddWorker()
{
    std::lock_guard lock(mutex_);
    ++running_;
}

void FakeClock::RemoveWorker()
{
    std::lock_guard lock(mutex_);
    --running_;
    idle_.notify_all();
}

void FakeClock::Set(uint64_t ms)
{
    std::unique_lock lock(mutex_);
    if (OnWorkerThread()) {
        // A worker cannot wait for the workers, itself among them.
        now_ = ms;
        ReleaseWaiters();
        return;
    }
    WaitForIdle(lock);
    for (;;) {
        // Step to the next wake-up time on the way, so that every worker runs when its time
        // comes, however far the clock moves.
        uint64_t next = ms;
        for (const Waiter* w : waiters_)
            if (w->until > now_.load() && w->until < next)
                next = w->until;
        now_ = next;
        ReleaseWaiters();
        WaitForIdle(lock);
        if (next == ms)
            return;
    }
}

void FakeClock::ReleaseWaiters()
{
    const uint64_t now = now_.load();
    const size_t before = waiters_.size();
    std::erase_if(waiters_, [&](Waiter* w) {
        if (now < w->until && !w->stop->load())
            return false;
        w->released = true;
        ++running_; // it runs from now on, as far as the thread moving the clock knows
        return true;
    });
    if (waiters_.size() != before)
        wake_.notify_all();
}

void FakeClock::WaitForIdle(std::unique_lock<std::mutex>& lock)
{
    idle_.wait(lock, [&] { return running_ <= 0; });
}

WallTime NowUtc()
{
    if (g_wallOverride)
        return *g_wallOverride;
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&t, &tm);
    WallTime w;
    w.year = tm.tm_year + 1900;
    w.month = tm.tm_mon + 1;
    w.day = tm.tm_mday;
    w.hour = tm.tm_hour;
    w.minute = tm.tm_min;
    w.second = tm.tm_sec;
    w.dayOfWeek = tm.tm_wday;
    return w;
}

void SetWallTimeOverride(const WallTime* fixed)
{
    if (fixed)
        g_wallOverride = *fixed;
    else
        g_wallOverride.reset();
}

} // namespace plat
