#pragma once
// Tick clocks. Engine time is counted in ticks of 17 ms. A stopwatch counts ticks from its
// start and can be paused, with nesting: the first pause freezes its value and the last
// resume moves its start forward by the time spent paused.
//
// Two global stopwatches exist: the real clock, never paused, which stamps queued messages,
// and the game clock, paused with the application, on which timers and animations run.
#include <cstdint>

class CStopwatch {
public:
    CStopwatch();
    virtual ~CStopwatch() = default;

    // Ticks since the start; the frozen value while paused.
    uint32_t Elapsed() const;
    void Pause();
    void Resume();
    bool IsPaused() const { return pauses_ > 0; }

private:
    uint32_t start_;
    uint32_t frozen_ = 0;
    int16_t pauses_ = 0;
};

// The two global clocks. The application creates them; code that runs without one (tools,
// tests) gets them made on first use.
CStopwatch* GetRealClock();
CStopwatch* GetGameClock();
// Makes any clock that does not exist yet, started now.
void CreateClocks();
void DeleteClocks();
// The current tick of the real clock.
uint32_t GetTick();
