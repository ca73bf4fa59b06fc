#include "engine/media/SndObj.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/framework/Stopwatch.h"
#include "engine/framework/TimerEvent.h"
#include "tests/support/TestEnv.h"

namespace {

// A sound that records what the base asks of it, with the game clock's tick.
class RecordingSound : public CSndObj {
public:
    explicit RecordingSound(int32_t level = 255, bool loaded = true)
    {
        level_ = level;
        if (loaded)
            loadStatus_ = 0;
    }
    void Stop() override
    {
        playing = false;
        log.push_back("Stop");
    }
    int16_t SetLevel(int32_t level) override
    {
        level_ = level;
        levels.push_back({GetGameClock()->Elapsed(), level});
        return 0;
    }
    int16_t SetPan(int32_t) override { return loadStatus_; }
    int16_t GetState() override { return playing ? kStatePlaying : kStateLoaded; }
    void ClearLoop() override {}
    void ClearRange() override {}
    void SetLoop(int32_t, int32_t, int32_t) override {}
    void SetRange(int32_t, int32_t) override {}
    int16_t StartPlayback() override
    {
        playing = true;
        log.push_back("StartPlayback loop " + std::to_string(loop_) + " at " +
                      std::to_string(GetGameClock()->Elapsed()));
        return 1;
    }

    struct Level {
        uint32_t tick;
        int32_t level;
        bool operator==(const Level&) const = default;
    };
    std::vector<Level> levels;
    std::vector<std::string> log;
    bool playing = false;
};

void RunTicks(uint32_t ticks)
{
    for (uint32_t i = 0; i < ticks; ++i) {
        qmtest::Clock().Advance(17);
        RunDueTimers();
    }
}

using Levels = std::vector<RecordingSound::Level>;

// Levels every 6 ticks from tick 6 on.
Levels Every6(const std::vector<int32_t>& values)
{
    Levels out;
    for (size_t i = 0; i < values.size(); ++i)
        out.push_back({static_cast<uint32_t>(6 * (i + 1)), values[i]});
    return out;
}

TEST(SndObjFade, StepsReachTheTargetEverySixTicks)
{
    struct Case {
        int32_t from;
        uint16_t duration;
        int16_t target;
        std::vector<int32_t> levels;
    } cases[] = {
        {255, 0, 0, {0, 0}},
        {0, 60, 255, {26, 52, 78, 104, 130, 156, 182, 208, 234, 255, 255}},
        {0, 60, 128, {13, 26, 39, 52, 65, 78, 91, 104, 117, 128, 128}},
        {120, 30, 126, {122, 124, 126, 126, 126, 126}}, // a rise smaller than the steps
        {200, 30, 200, {199, 198, 197, 196, 195, 194}}, // to the level it has: down by 1
        {100, 30, 300, {132, 164, 196, 228, 255, 255}}, // the target taken within 0-255
        {100, 30, 0, {79, 58, 37, 16, 0, 0}},
        {100, 11, -5, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " to " << c.target << " over " << c.duration);
        RecordingSound s(c.from);
        const uint32_t start = GetGameClock()->Elapsed();
        s.FadeTo(0, c.duration, c.target);
        RunTicks(6 * static_cast<uint32_t>(c.levels.size()) + 30);
        for (auto& l : s.levels)
            l.tick -= start;
        EXPECT_EQ(s.levels, Every6(c.levels));
        EXPECT_FALSE(s.IsFading());
        EXPECT_TRUE(s.log.empty()); // a fade without a delay leaves playback alone
    }
    EXPECT_EQ(GetTimerCount(), 0);

    RecordingSound slow(120);
    slow.FadeTo(0, 120, 126);
    RunTicks(6 * 21);
    EXPECT_EQ(slow.levels.size(), 21u);
    EXPECT_EQ(slow.levels.back().level, 126);
    EXPECT_EQ(slow.levels[5].level, 126);
}

TEST(SndObjFade, ADelayedFadeInStartsPlaybackWithTheLoopFlagAsSetThen)
{
    RecordingSound s(200);
    s.FadeIn(480, 20);
    EXPECT_EQ(s.levels, (Levels{{0, 0}}));
    EXPECT_TRUE(s.log.empty());
    s.SetLoopFlag(true);
    RunTicks(479);
    EXPECT_TRUE(s.log.empty());
    RunTicks(1 + 6 * 4 + 30);
    EXPECT_EQ(s.log, (std::vector<std::string>{"Stop", "StartPlayback loop 1 at 480"}));
    EXPECT_EQ(s.levels, (Levels{{0, 0}, {486, 86}, {492, 172}, {498, 255}, {504, 255}}));
    EXPECT_EQ(GetTimerCount(), 0);

    RecordingSound now(200);
    now.FadeIn(0, 12);
    EXPECT_EQ(now.log, (std::vector<std::string>{"Stop", "StartPlayback loop 0 at 534"}));
}

TEST(SndObjFade, AFadeStandsStillWhileTheGameClockIsPaused)
{
    RecordingSound s(100);
    s.FadeOut(30);
    RunTicks(6);
    GetGameClock()->Pause();
    RunTicks(100);
    GetGameClock()->Resume();
    RunTicks(6);
    EXPECT_EQ(s.levels, (Levels{{6, 79}, {12, 58}}));

    // A new fade replaces the running one; destroying the sound ends its fade.
    s.FadeTo(0, 60, 200);
    EXPECT_EQ(GetTimerCount(), 1);
    {
        RecordingSound other(10);
        other.FadeTo(50, 60, 100);
        EXPECT_EQ(GetTimerCount(), 2);
    }
    EXPECT_EQ(GetTimerCount(), 1);
    s.StopFade();
    EXPECT_EQ(GetTimerCount(), 0);
}

TEST(SndObj, PlayPauseAndResume)
{
    RecordingSound unloaded(255, false);
    EXPECT_EQ(unloaded.Play(true), 3);
    EXPECT_TRUE(unloaded.log.empty());

    RecordingSound s;
    EXPECT_EQ(s.GetId(), 0);
    EXPECT_EQ(s.GetLevel(), 255);
    EXPECT_EQ(s.Resume(), 0); // never paused
    EXPECT_EQ(s.Pause(), 0);  // not playing
    EXPECT_TRUE(s.log.empty());

    EXPECT_EQ(s.Play(true), 1);
    EXPECT_TRUE(s.GetLoopFlag());
    EXPECT_EQ(s.Pause(), 1);
    EXPECT_TRUE(s.IsPaused());
    EXPECT_EQ(s.Resume(), 1);
    EXPECT_FALSE(s.IsPaused());
    EXPECT_EQ(s.PlayOnce(), 0);
    EXPECT_FALSE(s.GetLoopFlag());
    EXPECT_EQ(s.log,
              (std::vector<std::string>{"Stop", "StartPlayback loop 1 at 0", "Stop",
                                        "StartPlayback loop 1 at 0", "Stop", "StartPlayback loop 0 at 0"}));
}

} // namespace
