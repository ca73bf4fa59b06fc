#pragma once
// CSndObj: the base of every playable sound, the interface through which the game holds its
// sounds. It keeps what all sounds share (resource id, level 0..255, load status, pause and
// loop flags) and does the work that needs no output device: play, pause and resume
// bookkeeping and fades. A fade changes the level every 6 ticks of the game clock, so it
// stands still while the application is paused; it may wait a delay first, and then starts
// playback itself with the loop flag as set at that moment.
#include <cstdint>
#include <memory>

#include "engine/framework/TimerEvent.h"

class CSndObj {
public:
    // GetState codes.
    static constexpr int16_t kStateLoaded = 0;
    static constexpr int16_t kStatePlaying = 1;
    static constexpr int16_t kStateNothing = 3; // no data or no output buffer
    static constexpr int16_t kStateLost = 4;    // the output buffer was lost
    // Load status until a subclass has its data and buffer ready.
    static constexpr int16_t kNotLoaded = 4;
    static constexpr uint32_t kFadeStepTicks = 6;

    CSndObj() = default;
    CSndObj(const CSndObj&) = delete;
    CSndObj& operator=(const CSndObj&) = delete;
    // Ends a running fade.
    virtual ~CSndObj();

    // Stops, then starts again from the start of the play range; 3 while nothing is loaded.
    virtual int16_t Play(bool loop);
    // Starts a sound that Pause stopped (from the start of its play range); 0 otherwise.
    virtual int16_t Resume();
    // Stops a playing sound and remembers it was paused; 1 when it did, 0 otherwise.
    virtual int16_t Pause();
    virtual int16_t PlayOnce();
    virtual void Stop() = 0;
    // 0, or 3 when the level could not be applied.
    virtual int16_t SetLevel(int32_t level) = 0;
    virtual int16_t SetPan(int32_t pan) = 0;
    // Fades to the target level over `duration` ticks, after `delay` ticks; see SndObj.cpp.
    virtual void FadeTo(int32_t delay, uint16_t duration, int16_t target);
    // To level 0, starting now; playback goes on at level 0.
    virtual void FadeOut(uint16_t duration);
    // From level 0 to full; playback starts now, or when the delay runs out.
    virtual void FadeIn(int32_t delay, uint16_t duration);
    virtual int16_t GetState() = 0;
    virtual void ClearLoop() = 0;
    virtual void ClearRange() = 0;
    virtual bool IsStreamed() const { return false; }
    virtual void SetLoop(int32_t start, int32_t end, int32_t count) = 0;
    virtual void SetRange(int32_t start, int32_t end) = 0;
    // Ends any fade timer and starts the one that steps the level.
    virtual void BeginFadeSteps();
    virtual void StopFade();
    virtual int16_t StartPlayback() = 0;

    int32_t GetLevel() const { return level_; }
    int32_t GetId() const { return id_; }
    void SetLoopFlag(bool loop) { loop_ = loop; }
    bool GetLoopFlag() const { return loop_; }
    bool IsPaused() const { return paused_; }
    int16_t GetLoadStatus() const { return loadStatus_; }
    bool IsFading() const { return fadeTimer_ != nullptr; }
    int32_t GetFadeStepsLeft() const { return stepsLeft_; }
    int16_t GetFadeStep() const { return step_; }

protected:
    int32_t stepsLeft_ = 0;
    int16_t step_ = 0;
    int32_t id_ = 0;
    int32_t level_ = 255;
    int16_t loadStatus_ = kNotLoaded;
    bool paused_ = false;
    bool loop_ = false;
    std::unique_ptr<CTimerEvent> fadeTimer_;
    // The level the running fade stops at; none for a fade to the level it started from.
    int32_t fadeTarget_ = 0;
    bool fadeHasTarget_ = false;

private:
    static bool OnFadeDelay(void* sound);
    static bool OnFadeStep(void* sound);
    void FadeStep();
};
