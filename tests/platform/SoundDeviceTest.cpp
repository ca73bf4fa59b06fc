#include "platform/SoundDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/support/TestEnv.h"

namespace {

using plat::SoundBuffer;
using plat::SoundDevice;
using plat::SoundFormat;
using plat::SoundRegion;
using plat::SoundResult;

std::unique_ptr<SoundDevice> NullDevice() { return plat::OpenSoundDevice(SoundDevice::Output::Null); }

uint32_t PlayCursor(SoundBuffer& b)
{
    uint32_t play = 0;
    b.GetCurrentPosition(&play, nullptr);
    return play;
}

// Sets an environment variable for one test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        setenv(name, value, 1);
    }
    ~ScopedEnv()
    {
        if (old_.empty())
            unsetenv(name_);
        else
            setenv(name_, old_.c_str(), 1);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::string old_;
};

TEST(SoundDevice, BuffersTakeOnlyUsableFormatsAndSizes)
{
    auto device = NullDevice();
    EXPECT_NE(device->CreateBuffer({1, 22050, 8}, 1), nullptr);
    EXPECT_NE(device->CreateBuffer({2, 44100, 16}, 44100), nullptr);
    EXPECT_EQ(device->CreateBuffer({1, 22050, 8}, 0), nullptr);
    EXPECT_EQ(device->CreateBuffer({2, 22050, 16}, 3), nullptr); // less than a frame
    EXPECT_NE(device->CreateBuffer({2, 22050, 16}, 5), nullptr);
    EXPECT_EQ(device->CreateBuffer({0, 22050, 8}, 100), nullptr);
    EXPECT_EQ(device->CreateBuffer({3, 22050, 8}, 100), nullptr);
    EXPECT_EQ(device->CreateBuffer({1, 22050, 12}, 100), nullptr);
    EXPECT_EQ(device->CreateBuffer({1, 0, 8}, 100), nullptr);
    auto b = device->CreateBuffer({2, 11025, 16}, 1000);
    EXPECT_EQ(b->GetSize(), 1000u);
    EXPECT_EQ(b->GetFormat().rate, 11025u);
}

TEST(SoundDevice, LocksGiveOneRegionOrTwoWhenTheRangeWraps)
{
    auto device = NullDevice();
    auto b = device->CreateBuffer({1, 22050, 8}, 44100);
    struct Case {
        uint32_t offset, bytes;
        SoundResult result;
        uint32_t first, second;
    } cases[] = {
        {1000, 43499, SoundResult::Ok, 43100, 399},  {0, 44100, SoundResult::Ok, 44100, 0},
        {44099, 2, SoundResult::Ok, 1, 1},           {44099, 44100, SoundResult::Ok, 1, 44099},
        {44100, 1, SoundResult::InvalidParam, 0, 0}, {0, 0, SoundResult::InvalidParam, 0, 0},
        {0, 44101, SoundResult::InvalidParam, 0, 0},
    };
    for (const Case& c : cases) {
        SoundRegion first, second;
        SCOPED_TRACE(testing::Message() << c.offset << " + " << c.bytes);
        ASSERT_EQ(b->Lock(c.offset, c.bytes, first, second), c.result);
        EXPECT_EQ(first.bytes, c.first);
        EXPECT_EQ(second.bytes, c.second);
        if (c.second > 0) {
            EXPECT_EQ(first.data - second.data, c.offset); // the second region is the ring's start
        }
        EXPECT_EQ(b->Unlock(first, second), SoundResult::Ok);
    }
    SoundRegion outside{nullptr, 0};
    uint8_t other[4];
    EXPECT_EQ(b->Unlock({other, 4}, outside), SoundResult::InvalidParam);
}

TEST(SoundDevice, CursorsMoveWithTheFakeClock)
{
    auto device = NullDevice();
    auto b = device->CreateBuffer({1, 22050, 8}, 22050);
    uint32_t play = 1, write = 1;
    b->GetCurrentPosition(&play, &write);
    EXPECT_EQ(play, 0u);
    EXPECT_EQ(write, 0u); // a stopped buffer's write cursor is its play cursor

    ASSERT_EQ(b->Play(true), SoundResult::Ok);
    qmtest::Clock().Advance(100); // 2205 frames
    b->GetCurrentPosition(&play, &write);
    EXPECT_EQ(play, 2205u);
    EXPECT_EQ(write, 2205u + 514u); // 512 frames ahead, and the two around them
    EXPECT_EQ(b->GetStatus(), plat::kSoundStatusPlaying | plat::kSoundStatusLooping);

    qmtest::Clock().Advance(1000); // a whole turn of the ring
    EXPECT_EQ(PlayCursor(*b), 2205u);
    b->Stop();
    qmtest::Clock().Advance(500);
    EXPECT_EQ(PlayCursor(*b), 2205u); // stopping keeps the cursor
    EXPECT_EQ(b->GetStatus(), 0u);

    ASSERT_EQ(b->SetCurrentPosition(22049), SoundResult::Ok);
    EXPECT_EQ(PlayCursor(*b), 22049u);
    EXPECT_EQ(b->SetCurrentPosition(22050), SoundResult::InvalidParam);

    // A 16-bit stereo buffer at 11025 Hz moves half a frame per output frame.
    auto slow = device->CreateBuffer({2, 11025, 16}, 44100);
    slow->Play(false);
    qmtest::Clock().Advance(200); // 4410 output frames
    EXPECT_EQ(PlayCursor(*slow), 2205u * 4u);
    qmtest::Clock().Advance(1000); // past the end: played once, it stops at the start
    EXPECT_EQ(PlayCursor(*slow), 0u);
    EXPECT_EQ(slow->GetStatus(), 0u);
}

TEST(SoundDevice, TheNullOutputKeepsWhatWasMixed)
{
    auto device = NullDevice();
    auto b = device->CreateBuffer({1, 22050, 16}, 4);
    SoundRegion first, second;
    ASSERT_EQ(b->Lock(0, 4, first, second), SoundResult::Ok);
    const uint8_t samples[] = {0xE8, 0x03, 0x18, 0xFC}; // 1000, -1000
    std::copy(samples, samples + 4, first.data);
    b->Unlock(first, second);
    qmtest::Clock().Advance(10); // 220 frames of silence before it plays
    b->SetVolume(-600);
    b->SetPan(-600);
    b->Play(true);
    qmtest::Clock().Advance(1); // frame 242 is due after 11 ms (242.55)
    const std::vector<int16_t> out = device->TakeOutput();
    ASSERT_EQ(out.size(), 2u * 242u);
    EXPECT_EQ(out[2 * 219], 0);
    EXPECT_EQ((std::vector<int16_t>(out.begin() + 440, out.begin() + 448)),
              (std::vector<int16_t>{501, 251, -501, -251, 501, 251, -501, -251}));
    EXPECT_EQ(device->GetFramesMixed(), 242u);
    EXPECT_TRUE(device->TakeOutput().empty());
}

TEST(SoundDevice, ALostBufferRefusesUntilRestored)
{
    auto device = NullDevice();
    auto b = device->CreateBuffer({1, 22050, 8}, 100);
    b->Play(true);
    b->LoseForTest();
    EXPECT_EQ(b->GetStatus(), plat::kSoundStatusLost);
    SoundRegion first, second;
    EXPECT_EQ(b->Lock(0, 10, first, second), SoundResult::BufferLost);
    EXPECT_EQ(b->Play(false), SoundResult::BufferLost);
    EXPECT_EQ(b->Restore(), SoundResult::Ok);
    EXPECT_EQ(b->GetStatus(), 0u);
    ASSERT_EQ(b->Lock(0, 10, first, second), SoundResult::Ok);
    EXPECT_EQ(first.data[0], 0x80); // silence, to be written anew
    EXPECT_EQ(b->Play(false), SoundResult::Ok);
}

TEST(SoundDevice, VolumeAndPanOutsideTheirRangesAreRefused)
{
    auto device = NullDevice();
    auto b = device->CreateBuffer({1, 22050, 8}, 100);
    EXPECT_EQ(b->SetVolume(-10001), SoundResult::InvalidParam);
    EXPECT_EQ(b->SetVolume(1), SoundResult::InvalidParam);
    EXPECT_EQ(b->SetPan(10001), SoundResult::InvalidParam);
    EXPECT_EQ(b->SetVolume(-10000), SoundResult::Ok);
    EXPECT_EQ(b->SetPan(-10000), SoundResult::Ok);
    EXPECT_EQ(b->GetVolume(), -10000);
    EXPECT_EQ(b->GetPan(), -10000);
}

TEST(SoundDevice, BuffersKeepWorkingSilentlyAfterTheDeviceIsReleased)
{
    auto device = NullDevice();
    auto b = device->CreateBuffer({1, 22050, 8}, 22050);
    b->Play(true);
    qmtest::Clock().Advance(100);
    EXPECT_EQ(PlayCursor(*b), 2205u);
    device.reset();
    qmtest::Clock().Advance(100);
    EXPECT_EQ(PlayCursor(*b), 2205u);
    EXPECT_EQ(b->Play(true), SoundResult::Ok);
    EXPECT_EQ(b->GetStatus(), 0u);
    SoundRegion first, second;
    EXPECT_EQ(b->Lock(0, 10, first, second), SoundResult::Ok);
    EXPECT_EQ(b->SetVolume(-100), SoundResult::Ok);
}

TEST(SoundDevice, TheTestSwitchMakesOpeningOrSharingFail)
{
    plat::SetSoundDeviceFault(plat::SoundDeviceFault::CannotOpen);
    EXPECT_EQ(NullDevice(), nullptr);
    plat::SetSoundDeviceFault(plat::SoundDeviceFault::RefusesToShare);
    auto device = NullDevice();
    ASSERT_NE(device, nullptr);
    EXPECT_FALSE(device->SetCooperativeLevel());
    plat::SetSoundDeviceFault(plat::SoundDeviceFault::None);
    EXPECT_TRUE(device->SetCooperativeLevel());
}

TEST(SoundDeviceSdl, TheDummyDriverMovesACursor)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    auto device = plat::OpenSoundDevice(SoundDevice::Output::Sdl);
    ASSERT_EQ(device->GetOutput(), SoundDevice::Output::Sdl);
    auto b = device->CreateBuffer({1, 22050, 8}, 22050);
    b->Play(true);
    // The driver's own thread runs the callback on the system clock (it may have run before
    // the buffer played): wait for a turn that moves the cursor.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (PlayCursor(*b) == 0 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_GT(PlayCursor(*b), 0u);
    EXPECT_GT(device->GetFramesMixed(), 0u);
}

TEST(SoundDeviceSdl, WithoutAnAudioDeviceAMixerPlaysSilentlyAndSaysWhyOnce)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "qm-no-such-driver");
    testing::internal::CaptureStderr();
    auto device = plat::OpenSoundDevice(SoundDevice::Output::Sdl);
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->GetOutput(), SoundDevice::Output::Silent);
    EXPECT_EQ(said.rfind("sound: no audio device (", 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
    auto b = device->CreateBuffer({1, 22050, 8}, 100);
    EXPECT_EQ(b->Play(true), SoundResult::Ok);
    EXPECT_TRUE(device->TakeOutput().empty());
}

} // namespace
