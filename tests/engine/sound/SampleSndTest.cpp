#include "engine/media/SampleSnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

#include "engine/media/SndMgr.h"
#include "engine/media/StreamSound.h"
#include "platform/SoundDevice.h"
#include "platform/WorkerThread.h"
#include "tests/engine/sound/SoundFixture.h"
#include "tests/support/TestEnv.h"

namespace {

using namespace soundtest;

constexpr uint32_t kAllLibraries = 0xFFFFFFFF;
constexpr int32_t kOneSecond = 1;
constexpr int32_t kTenSeconds = 2;

class SampleSndTest : public SoundFixture {
protected:
    void SetUp() override
    {
        SoundFixture::SetUp();
        MakeLibrary({{kOneSecond, TestCsn(22050)}, {kTenSeconds, TestCsn(220500)}});
    }
};

TEST_F(SampleSndTest, TheRingHoldsTwoSecondsAtMost)
{
    struct Case {
        int32_t id, length, bufferSize;
    } cases[] = {{kOneSecond, 22050, 22050}, {kTenSeconds, 220500, 44100}};
    for (const Case& c : cases) {
        CSampleSnd sound(c.id, kAllLibraries);
        EXPECT_EQ(sound.GetState(), 0) << c.id;
        EXPECT_TRUE(sound.IsStreamed());
        EXPECT_EQ(sound.GetId(), c.id);
        EXPECT_EQ(sound.GetLength(), c.length);
        EXPECT_EQ(sound.GetBufferSize(), c.bufferSize);
        EXPECT_EQ(sound.GetRefillPeriod(), 200);
    }
    CSampleSnd fromStream(std::make_unique<CSndStrm>(kTenSeconds, kAllLibraries));
    EXPECT_EQ(fromStream.GetId(), -1);
    EXPECT_EQ(fromStream.GetBufferSize(), 44100);

    CSampleSnd missing(9, kAllLibraries);
    EXPECT_EQ(missing.GetState(), CSndObj::kStateNothing);
    EXPECT_EQ(missing.Play(false), 3);
    EXPECT_EQ(missing.StartPlayback(), 3);
}

TEST_F(SampleSndTest, ASoundThatFitsItsRingPlaysWithoutAWorker)
{
    CSampleSnd sound(kOneSecond, kAllLibraries);
    Played();
    EXPECT_EQ(sound.Play(false), 1);
    EXPECT_EQ(sound.GetWorkerState(), CGameSound::kNoWorker); // the stream ended with the last byte
    qmtest::Clock().Advance(1100);
    EXPECT_EQ(sound.GetState(), 0);
    const Bytes played = Played();
    EXPECT_EQ(Bytes(played.begin(), played.begin() + 22050), Samples(0, 22050));
    EXPECT_EQ(std::count(played.begin() + 22050, played.end(), 128),
              static_cast<long>(played.size() - 22050));
}

TEST_F(SampleSndTest, TheWorkerRefillsTheRingUntilTheEndStopsTheSound)
{
    CSampleSnd sound(kTenSeconds, kAllLibraries);
    Played();
    EXPECT_EQ(sound.Play(false), 1);
    qmtest::Clock().Advance(5000);
    EXPECT_EQ(sound.GetState(), CSndObj::kStatePlaying);
    EXPECT_EQ(sound.GetWorkerState(), CGameSound::kWorkerRunning);
    qmtest::Clock().Advance(6000);
    EXPECT_EQ(sound.GetState(), 0);
    EXPECT_EQ(sound.GetWorkerState(), CGameSound::kNoWorker);
    const Bytes played = Played();
    ASSERT_EQ(played.size(), 22050u * 11);
    EXPECT_TRUE(Bytes(played.begin(), played.begin() + 220500) == Samples(0, 220500));
    EXPECT_EQ(std::count(played.begin() + 220500, played.end(), 128), 22050);
}

// When the system makes no thread the sound still plays what its ring was primed with, once:
// nothing refills the ring, so going round it would repeat the sound's first two seconds.
TEST_F(SampleSndTest, ASoundWhoseWorkerCannotStartPlaysWhatItsRingHoldsOnce)
{
    plat::SetWorkerThreadsRefused(true);
    CSampleSnd sound(kTenSeconds, kAllLibraries);
    Played();
    EXPECT_EQ(sound.Play(true), 1);
    EXPECT_EQ(sound.GetWorkerState(), CGameSound::kNoWorker);
    EXPECT_EQ(sound.GetState(), CSndObj::kStatePlaying);
    qmtest::Clock().Advance(3000);
    const Bytes played = Played();
    ASSERT_GE(played.size(), 44100u);
    EXPECT_TRUE(Bytes(played.begin(), played.begin() + 44100) == Samples(0, 44100));
    EXPECT_EQ(std::count(played.begin() + 44100, played.end(), 128),
              static_cast<std::ptrdiff_t>(played.size() - 44100));
    EXPECT_EQ(sound.GetState(), 0);
}

TEST_F(SampleSndTest, RangesAndLoopsThroughTheRing)
{
    const Bytes shortRange = Samples(1000, 1500);
    Bytes repeated;
    while (repeated.size() < 22050) {
        repeated.insert(repeated.end(), shortRange.begin(), shortRange.end());
    }
    repeated.resize(22050);
    struct Case {
        const char* name;
        int32_t rangeStart, rangeEnd, loopStart, loopEnd, loopCount;
        bool loopFlag;
        Bytes expected;
        bool ends; // the expected bytes are followed by silence
    } cases[] = {
        {"a range within the ring", 1000, 5000, 0, 0, 0, false, Samples(1000, 5000), true},
        {"a looping range shorter than one refill", 1000, 1500, 0, 0, 0, true, repeated, false},
        {"a loop section shorter than one refill", 0, 50000, 1000, 1100, 3, false,
         Join({Samples(0, 1100), Samples(1000, 1100), Samples(1000, 1100), Samples(1000, 1100),
               Samples(1100, 50000)}),
         true},
    };
    for (const Case& c : cases) {
        CSampleSnd sound(kTenSeconds, kAllLibraries);
        sound.SetRange(c.rangeStart, c.rangeEnd);
        if (c.loopEnd > 0) {
            sound.SetLoop(c.loopStart, c.loopEnd, c.loopCount);
        }
        Played();
        EXPECT_EQ(sound.Play(c.loopFlag), 1);
        qmtest::Clock().Advance(3000);
        const Bytes played = Played();
        ASSERT_GE(played.size(), c.expected.size());
        EXPECT_TRUE(Bytes(played.begin(), played.begin() + c.expected.size()) == c.expected) << c.name;
        if (c.ends) {
            EXPECT_EQ(std::count(played.begin() + c.expected.size(), played.end(), 128),
                      static_cast<long>(played.size() - c.expected.size()))
                << c.name;
            EXPECT_EQ(sound.GetState(), 0) << c.name;
        } else {
            EXPECT_EQ(sound.GetState(), CSndObj::kStatePlaying) << c.name;
        }
    }
}

// Starting again primes the ring from the range start; what the ring held before is not
// heard again behind a range that fits it.
TEST_F(SampleSndTest, PlayAgainPrimesTheRingAfresh)
{
    CSampleSnd sound(kTenSeconds, kAllLibraries);
    sound.Play(false);
    qmtest::Clock().Advance(1500);
    sound.SetRange(1000, 1500);
    Played();
    EXPECT_EQ(sound.Play(false), 1);
    EXPECT_EQ(sound.GetWorkerState(), CGameSound::kNoWorker); // the range fits the ring
    qmtest::Clock().Advance(2500);
    const Bytes played = Played();
    ASSERT_EQ(played.size(), 55125u);
    EXPECT_TRUE(Bytes(played.begin(), played.begin() + 500) == Samples(1000, 1500));
    EXPECT_EQ(std::count(played.begin() + 500, played.end(), 128), 55125 - 500);
    EXPECT_EQ(sound.GetState(), 0);
}

TEST_F(SampleSndTest, ALostBufferIsRestoredWhenPlaybackStarts)
{
    CSampleSnd sound(kTenSeconds, kAllLibraries);
    sound.GetBuffer()->LoseForTest();
    Played();
    EXPECT_EQ(sound.Play(false), 1);
    EXPECT_EQ(sound.GetState(), CSndObj::kStatePlaying);
    qmtest::Clock().Advance(3000);
    const Bytes played = Played();
    EXPECT_TRUE(played == Samples(0, 66150));
}

// Two sounds with workers of their own, stopped and started again on the way, with the clock
// moved in uneven steps: the mixer hears exactly the same both times.
TEST_F(SampleSndTest, TheSameRunGivesTheSameMixerOutput)
{
    const auto run = [] {
        CSndMgr::ReleaseDevice();
        CSndMgr::CreateDevice(); // the mixer counts its frames from here
        CSampleSnd streamed(kTenSeconds, kAllLibraries);
        CStreamSound inMemory(kOneSecond, kAllLibraries);
        inMemory.SetLoop(3000, 3500, -1);
        streamed.SetLevel(200);
        streamed.Play(true);
        inMemory.Play(false);
        for (int i = 0; i < 40; ++i) {
            qmtest::Clock().Advance(37 + i * 11 % 90);
            if (i == 15) {
                streamed.Play(true);
            }
            if (i == 25) {
                inMemory.Stop();
            }
        }
        return Played();
    };
    const Bytes first = run();
    EXPECT_GT(first.size(), 22050u * 3);
    EXPECT_TRUE(run() == first);
}

} // namespace
