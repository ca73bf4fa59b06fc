#pragma once
// Monotonic time for the engine. The engine counts in ticks of 17 ms taken from a 64-bit
// millisecond counter, so the tick never wraps the way a 32-bit millisecond count would.
#include <cstdint>

namespace plat {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary fixed start.
    virtual uint64_t NowMs() = 0;
    // Blocks until NowMs() >= ms (returns at once when that time has passed).
    virtual void SleepUntil(uint64_t ms) = 0;
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

// A clock that only moves when told to. With auto-advance set, every read moves it on by
// that many milliseconds first, so code that waits for time to pass still finishes.
class FakeClock : public Clock {
public:
    explicit FakeClock(uint64_t startMs = 0) : now_(startMs) {}
    uint64_t NowMs() override;
    void SleepUntil(uint64_t ms) override;
    void Set(uint64_t ms) { now_ = ms; }
    void Advance(uint64_t ms) { now_ += ms; }
    void SetAutoAdvance(uint64_t stepMs) { autoStep_ = stepMs; }

private:
    uint64_t now_;
    uint64_t autoStep_ = 0;
};

// Wall-clock date and time in UTC.
struct WallTime {
    int year = 1970;
    int month = 1;      // 1-12
    int day = 1;        // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int dayOfWeek = 4;  // 0 = Sunday
};
WallTime NowUtc();
// Tests pin "today"; a null pointer goes back to the system time.
void SetWallTimeOverride(const WallTime* fixed);

}  // namespace plat
