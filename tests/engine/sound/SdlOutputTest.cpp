// The sound objects on the real output path: SDL's audio thread (the dummy driver, which needs
// no sound card) runs the mixer over the buffers while a sound's worker refills its ring and
// the test's thread plays, pauses, resumes and stops it. scripts/test-threads runs this under
// ThreadSanitizer, so a race between the callback, the worker and the GUI thread is a failure.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "engine/media/SampleSnd.h"
#include "engine/media/SndMgr.h"
#include "platform/Platform.h"
#include "platform/SoundDevice.h"
#include "tests/engine/sound/SoundFixture.h"
#include "tests/support/TestEnv.h"

namespace {

using namespace soundtest;

constexpr uint32_t kAllLibraries = 0xFFFFFFFF;
constexpr int32_t kThreeSeconds = 1;

class SdlOutputTest : public SoundFixture {
protected:
    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        plat::SetBackend(plat::Backend::Sdl);
        CSndMgr::ReleaseDevice();
        CSndMgr::CreateDevice();
        MakeLibrary({{kThreeSeconds, TestCsn(3 * 22050)}});
    }
    void TearDown() override
    {
        CSndMgr::ReleaseDevice();
        plat::SetBackend(plat::Backend::Null);
        unsetenv("SDL_AUDIODRIVER");
    }
    // Lets real time pass for SDL's thread while the fake clock, which paces the sound's
    // worker, moves along with it.
    static void Run(int milliseconds)
    {
        for (int t = 0; t < milliseconds; t += 10) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            qmtest::Clock().Advance(10);
        }
    }
};

TEST_F(SdlOutputTest, ASoundPlaysPausesResumesAndStopsWhileTheCallbackMixes)
{
    ASSERT_EQ(GetSoundDevice()->GetOutput(), plat::SoundDevice::Output::Sdl);
    CSampleSnd sound(kThreeSeconds, kAllLibraries); // a ring of two seconds: a worker refills it
    ASSERT_EQ(sound.Play(false), 1);
    EXPECT_EQ(sound.GetWorkerState(), CGameSound::kWorkerRunning);
    const uint64_t before = GetSoundDevice()->GetFramesMixed();
    Run(300);
    EXPECT_EQ(sound.Pause(), 1);
    Run(50);
    EXPECT_EQ(sound.Resume(), 1);
    sound.SetLevel(128);
    Run(300);
    sound.Stop();
    EXPECT_EQ(sound.GetWorkerState(), CGameSound::kNoWorker);
    EXPECT_GT(GetSoundDevice()->GetFramesMixed(), before);
}

} // namespace
