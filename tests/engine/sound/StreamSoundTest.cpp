#include "engine/media/StreamSound.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/media/SndMgr.h"
#include "platform/SoundDevice.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"
#include "tools/EngineLibrary.h"
#include "tools/SoundEncoder.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Byte i of every test sound: distinct from its neighbours and never silence.
uint8_t Sample(int32_t i) { return static_cast<uint8_t>(i * 7 % 250 + 3); }

Bytes Samples(int32_t from, int32_t to)
{
    Bytes out;
    for (int32_t i = from; i < to; ++i) {
        out.push_back(Sample(i));
    }
    return out;
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

// Reaches the rewind that starting playback does, so a test can call Fill itself.
class TestSound : public CStreamSound {
public:
    using CStreamSound::CStreamSound;
    using CStreamSound::Rewind;
};

class StreamSoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CSndMgr::CreateDevice();
        PcmSound pcm;
        pcm.channels = 1;
        pcm.bits = 8;
        pcm.rate = 22050;
        pcm.data = Samples(0, 22050);
        CsnOptions options;
        options.level = 255;
        qmtest::FolderLibraryWriter w(qmtest::TempDir() / "sounds");
        w.Add("CSN", 1, EncodeCsn(pcm, options));
        library_ = std::make_unique<EngineLibrary>(w.Folder().string());
    }

    // The left channel of what the mixer played since the last call, as 8-bit samples.
    static Bytes Played()
    {
        Bytes out;
        const std::vector<int16_t> mixed = GetSoundDevice()->TakeOutput();
        for (size_t i = 0; i < mixed.size(); i += 2) {
            out.push_back(static_cast<uint8_t>(mixed[i] / 256 + 128));
        }
        return out;
    }

    // Runs the refill step every 50 ms for a second and returns what was played.
    static Bytes PlayWithRefills(CStreamSound& sound)
    {
        Played();
        for (int i = 0; i < 20; ++i) {
            qmtest::Clock().Advance(50);
            sound.Refill();
        }
        qmtest::Clock().Advance(50);
        return Played();
    }

    std::unique_ptr<EngineLibrary> library_;
};

TEST_F(StreamSoundTest, LoadsTheWholeSoundIntoMemory)
{
    CStreamSound sound(1, 0xFFFFFFFF);
    EXPECT_EQ(sound.GetState(), 0);
    EXPECT_FALSE(sound.IsStreamed());
    EXPECT_EQ(sound.GetLength(), 22050);
    EXPECT_EQ(sound.GetBufferSize(), 22050);
    EXPECT_EQ(sound.GetData(), Samples(0, 22050));
    EXPECT_EQ(sound.GetLoadStatus(), 0);

    CStreamSound missing(2, 0xFFFFFFFF);
    EXPECT_EQ(missing.GetState(), CSndObj::kStateNothing);
    EXPECT_EQ(missing.Play(false), 3);

    CSndMgr::ReleaseDevice();
    CStreamSound noBuffer(1, 0xFFFFFFFF); // loaded, but there is nothing to play it on
    EXPECT_EQ(noBuffer.GetState(), CSndObj::kStateNothing);
    EXPECT_EQ(noBuffer.StartPlayback(), 3);
}

TEST_F(StreamSoundTest, LevelsBecomeBufferVolumes)
{
    CStreamSound sound(1, 0xFFFFFFFF);
    const int32_t cases[][2] = {{0, -10000}, {1, -2540}, {128, -1270}, {254, -10}, {255, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(sound.SetLevel(c[0]), 0);
        EXPECT_EQ(sound.GetBuffer()->GetVolume(), c[1]) << c[0];
    }
}

TEST_F(StreamSoundTest, ARangePlaysExactlyItsBytes)
{
    CStreamSound sound(1, 0xFFFFFFFF);
    sound.SetRange(1000, 5000);
    Played();
    EXPECT_EQ(sound.Play(false), 1);
    EXPECT_EQ(sound.GetBufferSize(), 4000);
    EXPECT_EQ(sound.GetState(), CSndObj::kStatePlaying);
    qmtest::Clock().Advance(1000);
    EXPECT_EQ(sound.GetState(), 0); // the buffer played once to its end
    const Bytes played = Played();
    ASSERT_GE(played.size(), 4000u);
    EXPECT_EQ(Bytes(played.begin(), played.begin() + 4000), Samples(1000, 5000));
    EXPECT_EQ(std::count(played.begin() + 4000, played.end(), 128), static_cast<long>(played.size() - 4000));
}

TEST_F(StreamSoundTest, ALoopSectionRepeatsItsCountThenPlaysOn)
{
    CStreamSound sound(1, 0xFFFFFFFF);
    sound.SetRange(0, 5000);
    sound.SetLoop(2000, 3000, 2);
    EXPECT_EQ(sound.Play(false), 1);
    EXPECT_EQ(sound.GetRefillPeriod(), 50);
    const Bytes played = PlayWithRefills(sound);
    const Bytes expected =
        Join({Samples(0, 3000), Samples(2000, 3000), Samples(2000, 3000), Samples(3000, 5000)});
    ASSERT_GE(played.size(), expected.size());
    EXPECT_EQ(Bytes(played.begin(), played.begin() + expected.size()), expected);
    EXPECT_EQ(std::count(played.begin() + expected.size(), played.end(), 128),
              static_cast<long>(played.size() - expected.size()));
    EXPECT_EQ(sound.GetState(), 0); // the refill step stopped it after its end
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
        TestSound sound(1, 0xFFFFFFFF);
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
