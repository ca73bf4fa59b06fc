#include "engine/media/SndObj.h"

#include <algorithm>

CSndObj::~CSndObj() { CSndObj::StopFade(); }

int16_t CSndObj::Play(bool loop)
{
    if (loadStatus_ == kNotLoaded)
        return kStateNothing;
    Stop();
    paused_ = false;
    loop_ = loop;
    return StartPlayback();
}

int16_t CSndObj::Resume()
{
    if (!paused_)
        return 0;
    const int16_t status = StartPlayback();
    paused_ = false;
    return status;
}

int16_t CSndObj::Pause()
{
    if (GetState() != kStatePlaying)
        return 0;
    Stop();
    paused_ = true;
    return 1;
}

int16_t CSndObj::PlayOnce()
{
    Play(false);
    return 0;
}

// A fade makes duration / 6 steps (at least 1) and one more, every 6 ticks. Each step moves
// the level by the step size: delta / steps pushed one unit toward the target, so that the
// level reaches the target in the last step, and a step that would pass the target stops on
// it. A fade to the level the sound already has lowers it by 1 per step.
void CSndObj::FadeTo(int32_t delay, uint16_t duration, int16_t target)
{
    const int32_t goal = std::clamp<int32_t>(target, 0, 255);
    const int32_t delta = goal - GetLevel();
    stepsLeft_ = std::max(duration / static_cast<int32_t>(kFadeStepTicks), 1);
    const int32_t quotient = delta / stepsLeft_;
    step_ = static_cast<int16_t>(delta > 0 ? quotient + 1 : quotient - 1);
    fadeTarget_ = goal;
    fadeHasTarget_ = delta != 0;
    if (delay > 0) {
        StopFade();
        fadeTimer_ = std::make_unique<CTimerEvent>(static_cast<uint32_t>(delay), &CSndObj::OnFadeDelay, this);
        return;
    }
    BeginFadeSteps();
}

void CSndObj::FadeOut(uint16_t duration) { FadeTo(0, duration, 0); }

void CSndObj::FadeIn(int32_t delay, uint16_t duration)
{
    SetLevel(0);
    if (delay <= 0)
        Play(false);
    FadeTo(delay, duration, 255);
}

void CSndObj::BeginFadeSteps()
{
    StopFade();
    fadeTimer_ = std::make_unique<CTimerEvent>(kFadeStepTicks, &CSndObj::OnFadeStep, this);
}

void CSndObj::StopFade() { fadeTimer_.reset(); }

bool CSndObj::OnFadeDelay(void* sound)
{
    auto* s = static_cast<CSndObj*>(sound);
    s->Play(s->loop_);
    s->BeginFadeSteps(); // deletes the delay timer that is running this
    return true;
}

bool CSndObj::OnFadeStep(void* sound)
{
    static_cast<CSndObj*>(sound)->FadeStep();
    return true;
}

void CSndObj::FadeStep()
{
    int32_t level = GetLevel() + step_;
    if (fadeHasTarget_)
        level = step_ > 0 ? std::min(level, fadeTarget_) : std::max(level, fadeTarget_);
    SetLevel(std::clamp(level, 0, 255)); // a failure to apply it is not a reason to stop
    if (stepsLeft_ <= 0)
        StopFade();
    else
        --stepsLeft_;
}
