#include "engine/media/StreamSound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <vector>

#include "engine/framework/Memory.h"
#include "engine/media/SampleSnd.h"
#include "engine/media/SndMgr.h"
#include "platform/SoundDevice.h"
#include "platform/WorkerThread.h"
#include "tests/engine/sound/SoundFixture.h"
#include "tests/support/TestEnv.h"

namespace {

using namespace soundtest;

constexpr uint32_t kAllLibraries = 0xFFFFFFFF;

// Reaches the rewind that starting playback does, so a test can call Fill itself.
class TestSound : public CStreamSound {
public:
    using CStreamSound::CStreamSound;
    using CStreamSound::Rewind;
};

class StreamSoundTest : public SoundFixture {
protected:
    void SetUp() override
    {
        SoundFixture::SetUp();
        Bytes cut = TestCsn(22050);
        cut.resize(cut.size() / 2); // decodes short
        MakeLibrary({{1, TestCsn(22050)}, {3, cut}});
    }
};

// What a sound played: `expected` first, then silence only.
void ExpectPlayedThenSilence(const Bytes& played, const Bytes& expected)
{
    ASSERT_GE(played.size(), expected.size());
    EXPECT_EQ(Bytes(played.begin(), played.begin() + expected.size()), expected);
    EXPECT_EQ(std::count(played.begin() + expected.size(), played.end(), 128),
              static_cast<long>(played.size() - expected.size()));
}

TEST_F(StreamSoundTest, LoadsTheWholeSoundIntoMemory)
{
    CStreamSound sound(1, kAllLibraries);
    EXPECT_EQ(sound.GetState(), 0);
    EXPECT_FALSE(sound.IsStreamed());
    EXPECT_EQ(sound.GetLength(), 22050);
    EXPECT_EQ(sound.GetBufferSize(), 22050);
    EXPECT_EQ(sound.GetData(), Samples(0, 22050));
    EXPECT_EQ(sound.GetLoadStatus(), 0);

    // A resource that decodes short keeps what came, and silence behind it.
    CStreamSound cut(3, kAllLibraries);
    const Bytes& data = cut.GetData();
    ASSERT_EQ(data.size(), 22050u);
    const auto silence = std::find_if(data.rbegin(), data.rend(), [](uint8_t b) { return b != 0x80; }).base();
    EXPECT_LT(silence - data.begin(), 22050);
    EXPECT_TRUE(std::equal(data.begin(), silence, Samples(0, 22050).begin()));

    CStreamSound missing(2, kAllLibraries);
    EXPECT_EQ(missing.GetState(), CSndObj::kStateNothing);
    EXPECT_EQ(missing.Play(false), 3);

    CSndMgr::ReleaseDevice();
    CStreamSound noBuffer(1, kAllLibraries); // loaded, but there is nothing to play it on
    EXPECT_EQ(noBuffer.GetState(), CSndObj::kStateNothing);
    EXPECT_EQ(noBuffer.StartPlayback(), 3);
}

TEST_F(StreamSoundTest, ASoundThatCannotHaveItsMemoryFailsToOpen)
{
    // Every block but one of the decoded sound's size (the library's own blocks are had).
    struct Refusing : CMemoryAllocator {
        void* Allocate(size_t size) override
        {
            if (size != 22050)
                return std::malloc(size);
            ++asked;
            return nullptr;
        }
        void* Reallocate(void* block, size_t size) override { return std::realloc(block, size); }
        void Free(void* block) override { std::free(block); }
        int asked = 0;
    } refusing;
    SetMemoryAllocator(&refusing);
    CStreamSound sound(1, kAllLibraries);
    SetMemoryAllocator(nullptr);
    EXPECT_EQ(refusing.asked, 2); // once more after the low-memory notice
    EXPECT_EQ(sound.GetState(), CSndObj::kStateNothing);
    EXPECT_EQ(sound.GetBuffer(), nullptr);
    EXPECT_TRUE(sound.GetData().empty());
    Played();
    EXPECT_EQ(sound.Play(false), 3);
    qmtest::Clock().Advance(100);
    const Bytes played = Played();
    EXPECT_EQ(std::count(played.begin(), played.end(), 128), static_cast<std::ptrdiff_t>(played.size()));
}

TEST_F(StreamSoundTest, LevelsBecomeBufferVolumes)
{
    CStreamSound sound(1, kAllLibraries);
    const int32_t cases[][2] = {{0, -10000}, {1, -2540}, {128, -1270}, {254, -10}, {255, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(sound.SetLevel(c[0]), 0);
        EXPECT_EQ(sound.GetBuffer()->GetVolume(), c[1]) << c[0];
    }
}

TEST_F(StreamSoundTest, ARangePlaysExactlyItsBytes)
{
    CStreamSound sound(1, kAllLibraries);
    sound.SetRange(1000, 5000);
    Played();
    EXPECT_EQ(sound.Play(false), 1);
    EXPECT_EQ(sound.GetBufferSize(), 4000);
    EXPECT_EQ(sound.GetState(), CSndObj::kStatePlaying);
    EXPECT_EQ(sound.GetWorkerState(), CGameSound::kNoWorker); // the buffer plays by itself
    qmtest::Clock().Advance(1000);
    EXPECT_EQ(sound.GetState(), 0); // the buffer played once to its end
    ExpectPlayedThenSilence(Played(), Samples(1000, 5000));
}

// Resume starts a paused sound again from the start of its range, in each of the real sound
// classes (one in memory, one streamed through its ring).
TEST_F(StreamSoundTest, ResumeAfterAPauseStartsAgainFromTheRangeStart)
{
    std::unique_ptr<CGameSound> sounds[] = {std::make_unique<CStreamSound>(1, kAllLibraries),
                                            std::make_unique<CSampleSnd>(1, kAllLibraries)};
    for (const auto& sound : sounds) {
        SCOPED_TRACE(sound->IsStreamed() ? "streamed" : "in memory");
        EXPECT_EQ(sound->Resume(), 0); // not paused
        sound->SetRange(1000, 5000);
        ASSERT_EQ(sound->Play(false), 1);
        qmtest::Clock().Advance(50); // part of the range
        EXPECT_EQ(sound->Pause(), 1);
        EXPECT_TRUE(sound->IsPaused());
        EXPECT_NE(sound->GetState(), CSndObj::kStatePlaying);
        Played();
        EXPECT_EQ(sound->Resume(), 1);
        EXPECT_FALSE(sound->IsPaused());
        EXPECT_EQ(sound->GetState(), CSndObj::kStatePlaying);
        qmtest::Clock().Advance(1000);
        ExpectPlayedThenSilence(Played(), Samples(1000, 5000));
        EXPECT_EQ(sound->Resume(), 0);
    }
}

TEST_F(StreamSoundTest, AWorkerPlaysTheLoopSectionItsCountThenOnToTheEnd)
{
    struct Case {
        int32_t loopStart, loopEnd, loopCount;
        Bytes expected;
    } cases[] = {
        {2000, 3000, 2,
         Join({Samples(0, 3000), Samples(2000, 3000), Samples(2000, 3000), Samples(3000, 5000)})},
        // A section shorter than one refill (1102 bytes every 50 ms) is repeated within one.
        {2000, 2100, 3,
         Join({Samples(0, 2100), Samples(2000, 2100), Samples(2000, 2100), Samples(2000, 2100),
               Samples(2100, 5000)})},
    };
    for (const Case& c : cases) {
        CStreamSound sound(1, kAllLibraries);
        sound.SetRange(0, 5000);
        sound.SetLoop(c.loopStart, c.loopEnd, c.loopCount);
        Played();
        EXPECT_EQ(sound.Play(false), 1);
        EXPECT_EQ(sound.GetRefillPeriod(), 50);
        qmtest::Clock().Advance(10);
        EXPECT_EQ(sound.GetWorkerState(), CGameSound::kWorkerRunning);
        qmtest::Clock().Advance(1000);
        ExpectPlayedThenSilence(Played(), c.expected);
        // The refill step stopped the sound after its end, and the worker ended.
        EXPECT_EQ(sound.GetState(), 0);
        EXPECT_EQ(sound.GetWorkerState(), CGameSound::kNoWorker);
    }
}

// Without a worker nothing repeats the loop section: the buffer plays what it was primed with
// once (the range's length of the sound with its section), and the sound ends.
TEST_F(StreamSoundTest, ALoopSectionWhoseWorkerCannotStartPlaysOnce)
{
    plat::SetWorkerThreadsRefused(true);
    CStreamSound sound(1, kAllLibraries);
    sound.SetRange(0, 5000);
    sound.SetLoop(2000, 3000, 2);
    Played();
    EXPECT_EQ(sound.Play(false), 1);
    EXPECT_EQ(sound.GetWorkerState(), CGameSound::kNoWorker);
    qmtest::Clock().Advance(1000);
    ExpectPlayedThenSilence(Played(), Join({Samples(0, 3000), Samples(2000, 3000), Samples(2000, 3000)}));
    EXPECT_EQ(sound.GetState(), 0);
}

TEST_F(StreamSoundTest, PlayAgainOrDeletingWhileTheWorkerRuns)
{
    auto sound = std::make_unique<CStreamSound>(1, kAllLibraries);
    sound->SetRange(0, 5000);
    sound->SetLoop(2000, 3000, 2);
    Played();
    sound->Play(false);
    qmtest::Clock().Advance(100); // 2205 bytes played
    EXPECT_EQ(sound->GetWorkerState(), CGameSound::kWorkerRunning);
    EXPECT_EQ(sound->Play(false), 1); // ends the worker, starts over with a new one
    EXPECT_EQ(sound->GetWorkerState(), CGameSound::kWorkerRunning);
    qmtest::Clock().Advance(1000);
    ExpectPlayedThenSilence(Played(), Join({Samples(0, 2205), Samples(0, 3000), Samples(2000, 3000),
                                            Samples(2000, 3000), Samples(3000, 5000)}));

    sound->Play(false);
    qmtest::Clock().Advance(60);
    sound.reset(); // joins the worker
    qmtest::Clock().Advance(100);
    ExpectPlayedThenSilence(Played(), Samples(0, 1323));
}

TEST_F(StreamSoundTest, FillWrapsAsOftenAsOneCallNeeds)
{
    struct Case {
        const char* name;
        int32_t rangeStart, rangeEnd, loopStart, loopEnd, loopCount;
        bool loopFlag;
        Bytes expected;
        bool ended;
    } cases[] = {
        {"short section, three passes", 0, 40, 10, 14, 2, false,
         Join({Samples(0, 14), Samples(10, 14), Samples(10, 40)}), true},
        {"endless section", 0, 40, 10, 14, -1, false,
         Join({Samples(0, 14), Samples(10, 14), Samples(10, 14), Samples(10, 14), Samples(10, 12)}), false},
        {"short looping range", 5, 9, 5, 9, 0, true,
         Join({Samples(5, 9), Samples(5, 9), Samples(5, 9), Samples(5, 7)}), false},
        {"range past the data is clipped", 22040, 99999, 0, 0, 0, false, Samples(22040, 22050), true},
        {"section clipped into the range", 100, 110, 0, 105, 1, false,
         Join({Samples(100, 105), Samples(100, 110)}), true},
    };
    for (const Case& c : cases) {
        TestSound sound(1, kAllLibraries);
        sound.SetRange(c.rangeStart, c.rangeEnd);
        if (c.loopEnd > 0) {
            sound.SetLoop(c.loopStart, c.loopEnd, c.loopCount);
        }
        sound.SetLoopFlag(c.loopFlag);
        sound.Rewind();
        Bytes out(c.expected.size() + (c.ended ? 10 : 0), 0);
        int32_t count = static_cast<int32_t>(out.size());
        EXPECT_EQ(sound.Fill(out.data(), count), c.ended) << c.name;
        out.resize(static_cast<size_t>(count));
        EXPECT_EQ(out, c.expected) << c.name;
    }
}

} // namespace
