#include "engine/media/SndMgr.h"

#include <gtest/gtest.h>

#include "platform/SoundDevice.h"
#include "tests/support/FatalReports.h"
#include "tests/support/TestEnv.h"
#include "tools/EngineLibrary.h"

namespace {

class Sound : public CSndFormat {
public:
    Sound(int16_t channels, int32_t rate, int16_t bits) : channels_(channels), rate_(rate), bits_(bits) {}
    int16_t GetChannels() const override { return channels_; }
    int32_t GetSampleRate() const override { return rate_; }
    int16_t GetBitsPerSample() const override { return bits_; }

private:
    int16_t channels_;
    int32_t rate_;
    int16_t bits_;
};

TEST(SndMgr, BuffersAreDescribedInTheirSoundsFormat)
{
    struct Case {
        Sound sound;
        uint16_t blockAlign;
        uint32_t bytesPerSecond;
    } cases[] = {
        {{1, 22050, 8}, 1, 22050},
        {{2, 44100, 16}, 4, 176400},
        {{2, 11025, 8}, 2, 22050},
        {{1, 22050, 12}, 1, 22050}, // bits / 8 rounds down
    };
    for (const Case& c : cases) {
        const CBufferDesc d = CSndMgr::MakeBufferDesc(c.sound, 4096);
        EXPECT_EQ(d.size, 20u);
        EXPECT_EQ(d.flags, 0xE0u);
        EXPECT_EQ(d.bufferBytes, 4096u);
        EXPECT_EQ(d.reserved, 0u);
        EXPECT_EQ(d.format.formatTag, 1);
        EXPECT_EQ(d.format.channels, c.sound.GetChannels());
        EXPECT_EQ(d.format.samplesPerSec, static_cast<uint32_t>(c.sound.GetSampleRate()));
        EXPECT_EQ(d.format.bitsPerSample, c.sound.GetBitsPerSample());
        EXPECT_EQ(d.format.blockAlign, c.blockAlign);
        EXPECT_EQ(d.format.avgBytesPerSec, c.bytesPerSecond);
    }
}

TEST(SndMgr, TheDeviceOpensOnceAndBuffersNeedIt)
{
    const Sound sound(2, 44100, 16);
    EXPECT_EQ(CSndMgr::CreateBuffer(sound, 1000), nullptr);
    CSndMgr::ReleaseDevice(); // no device: nothing happens
    EXPECT_EQ(GetSoundDevice(), nullptr);

    CSndMgr::CreateDevice();
    plat::SoundDevice* device = GetSoundDevice();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->GetOutput(), plat::SoundDevice::Output::Null); // the tests' headless backend
    plat::SetSoundDeviceFault(plat::SoundDeviceFault::CannotOpen);
    EXPECT_EQ(qmtest::FatalText([] { CSndMgr::CreateDevice(); }), "(returned)"); // already open
    EXPECT_EQ(GetSoundDevice(), device);

    auto buffer = CSndMgr::CreateBuffer(sound, 1000);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->GetSize(), 1000u);
    EXPECT_EQ(buffer->GetFormat().bits, 16);
    EXPECT_EQ(CSndMgr::CreateBuffer(sound, 0), nullptr);
    EXPECT_EQ(CSndMgr::CreateBuffer(Sound(3, 22050, 8), 1000), nullptr);

    CSndMgr::ReleaseDevice();
    EXPECT_EQ(GetSoundDevice(), nullptr);
    EXPECT_EQ(buffer->Play(false), plat::SoundResult::Ok); // still works, silently
    EXPECT_EQ(CSndMgr::CreateBuffer(sound, 1000), nullptr);
}

TEST(SndMgr, ADeviceThatFailsEndsTheProgramWithTheEngineMessage)
{
    {
        // The engine's own messages, as the game loads them at start-up.
        EngineLibrary engine((qmtest::SourceDir() / "data" / "engine").string());
    }
    plat::SetSoundDeviceFault(plat::SoundDeviceFault::CannotOpen);
    EXPECT_EQ(qmtest::FatalBoxText([] { CSndMgr::CreateDevice(); }),
              "Fatal Error: The sound device cannot be opened\r\rFile: sndmgr32  Line: 52");
    EXPECT_EQ(GetSoundDevice(), nullptr);

    plat::SetSoundDeviceFault(plat::SoundDeviceFault::RefusesToShare);
    EXPECT_EQ(qmtest::FatalBoxText([] { CSndMgr::CreateDevice(); }),
              "Fatal Error: The sound device refuses to share\r\rFile: sndmgr32  Line: 58");
}

} // namespace
