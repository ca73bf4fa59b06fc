#pragma once
// A sound for the game-shell tests: it plays at once, keeps playing until stopped or finished,
// and notes each request in a log as "id:what".
#include <cstdint>
#include <string>
#include <vector>

#include "engine/media/SndObj.h"
#include "game/base/SoundSlots.h"

namespace shelltest {

using Log = std::vector<std::string>;

// A sound that plays at once and keeps playing until told otherwise.
class FakeSound : public CSndObj {
public:
    FakeSound(int32_t id, bool streamed, Log& log, int16_t state)
        : log_(log), streamed_(streamed), state_(state)
    {
        id_ = id;
    }
    ~FakeSound() override { Note("deleted"); }
    int16_t Play(bool loop) override
    {
        Note(loop ? "play loop" : "play");
        state_ = kSoundPlaying;
        return 0;
    }
    void Stop() override
    {
        Note("stop");
        state_ = 0;
    }
    int16_t SetLevel(int32_t level) override
    {
        level_ = level;
        return 0;
    }
    int16_t SetPan(int32_t) override { return 0; }
    void FadeTo(int32_t delay, uint16_t duration, int16_t target) override
    {
        Note("fade " + std::to_string(delay) + " " + std::to_string(duration) + " " + std::to_string(target));
    }
    int16_t GetState() override { return state_; }
    void ClearLoop() override {}
    void ClearRange() override {}
    bool IsStreamed() const override { return streamed_; }
    void SetLoop(int32_t, int32_t, int32_t) override {}
    void SetRange(int32_t, int32_t) override {}
    int16_t StartPlayback() override { return 0; }
    void Finish() { state_ = 0; }

private:
    void Note(const std::string& what) { log_.push_back(std::to_string(id_) + ":" + what); }
    Log& log_;
    bool streamed_;
    int16_t state_;
};

} // namespace shelltest
