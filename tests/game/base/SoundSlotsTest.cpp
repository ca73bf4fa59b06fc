#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/framework/Options.h"
#include "engine/framework/RegSettings.h"
#include "game/base/GameGlobals.h"
#include "game/base/SoundSlots.h"
#include "tests/game/base/FakeSound.h"
#include "tests/support/TestEnv.h"

namespace {

using shelltest::FakeSound;
using shelltest::Log;

class SoundSlotsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetOptionSettings(&settings);
        SetSoundFactory([this](int32_t id, bool streamed) -> std::unique_ptr<CSndObj> {
            made.push_back(std::to_string(id) + (streamed ? " streamed" : " sample"));
            return std::make_unique<FakeSound>(id, streamed, log, id == 404 ? kSoundFailed : 0);
        });
    }
    void TearDown() override
    {
        DeleteAllSounds();
        SetOptionSettings(nullptr);
    }
    FakeSound* Slot(int32_t i) { return static_cast<FakeSound*>(PeekSlot(i)); }

    CRegSettings settings{"Quillmark III", "QMK3"};
    Log log;
    std::vector<std::string> made;
};

TEST_F(SoundSlotsTest, EffectsFillTheFourSlotsAndAFifthIsRefused)
{
    for (int32_t id = 1; id <= 4; ++id)
        EXPECT_TRUE(PlaySoundEffect(id, id == 2 ? kSoundStreamed : 0, 200)) << id;
    EXPECT_EQ(made, (std::vector<std::string>{"1 sample", "2 streamed", "3 sample", "4 sample"}));
    EXPECT_FALSE(PlaySoundEffect(5, 0, 200));
    EXPECT_EQ(made.size(), 4u); // not even made
    EXPECT_EQ(Slot(3)->GetLevel(), 200);
    // A finished sound leaves its slot at the next purge.
    Slot(1)->Finish();
    EXPECT_TRUE(PlaySoundEffect(6, kSoundLoop, 10));
    EXPECT_EQ(Slot(1)->GetId(), 6);
    EXPECT_EQ(log.back(), "6:play loop");
}

TEST_F(SoundSlotsTest, MusicNeverTakesSlotZeroAndAMissingSoundChangesNothing)
{
    for (int32_t id = 1; id <= 3; ++id)
        ASSERT_TRUE(PlayMusic(id, 0, 100, 60, false));
    EXPECT_EQ(PeekSlot(0), nullptr);
    EXPECT_FALSE(PlayMusic(9, 0, 100, 60, false)); // slot 0 is free, but music does not go there
    EXPECT_FALSE(PlaySoundEffect(404, 0, 100));    // made, failed to open, deleted
    EXPECT_EQ(PeekSlot(0), nullptr);
    EXPECT_EQ(log.back(), "404:deleted");
}

TEST_F(SoundSlotsTest, ACrossFadeFadesTheLoopingMusicOutAndTheNewPieceIn)
{
    ASSERT_TRUE(PlaySoundEffect(1, 0, 100));               // an effect: stopped and dropped
    ASSERT_TRUE(PlayMusic(2, kSoundLoop, 120, 60, false)); // looping music: faded out over 180
    log.clear();
    const SoundHandle third = PlayMusic(3, kSoundLoop, 126, 120, true);
    ASSERT_TRUE(third);
    EXPECT_EQ(log, (Log{"1:stop", "1:deleted", "2:fade 0 180 0", "3:fade 480 120 126"}));
    EXPECT_TRUE(GetSlotSound(third)->GetLoopFlag()); // it starts looping when its fade begins
    EXPECT_EQ(third.slot, 2);                        // the faded piece keeps slot 1 until it ends
}

TEST_F(SoundSlotsTest, HandlesGiveTheirSoundOnlyWhileItIsInItsSlot)
{
    const SoundHandle first = PlaySoundEffect(7, 0, 100);
    ASSERT_TRUE(first);
    EXPECT_TRUE(IsSoundInSlot(first));
    Slot(0)->Finish();
    EXPECT_FALSE(IsSoundInSlot(first)); // purged and deleted
    const SoundHandle second = PlaySoundEffect(8, 0, 100);
    EXPECT_EQ(second.slot, first.slot);
    EXPECT_EQ(GetSlotSound(first), nullptr); // the same slot, a new sound: the old handle is dead
    EXPECT_NE(GetSlotSound(second), nullptr);
    StopSounds(&first, 0); // harmless
    EXPECT_EQ(Slot(0)->GetState(), kSoundPlaying);
}

TEST_F(SoundSlotsTest, StopsByIdTakeItsMagnitudeAndTheSoundOptionGuardsEverything)
{
    ASSERT_TRUE(PlaySoundEffect(7, 0, 100));
    ASSERT_TRUE(PlaySoundEffect(8, 0, 100));
    ASSERT_TRUE(PlaySoundEffect(7, 0, 100));
    log.clear();
    StopSounds(nullptr, -7);
    EXPECT_EQ(log, (Log{"7:stop", "7:stop"}));
    PurgeSounds();
    EXPECT_EQ(PeekSlot(1)->GetId(), 8);

    SetOption("soundon", false);
    EXPECT_FALSE(PlaySoundEffect(9, 0, 100));
    EXPECT_FALSE(PlayMusic(9, 0, 100, 60, false));
    SetOption("soundon", true);
    SetOption("musicon", false);
    EXPECT_FALSE(PlayMusicIfOn(9, 0, 100, 60, false));
    SetOption("musicon", true);
    // Fade time 0 plays it as an effect: slot 0 may take it.
    const SoundHandle effect = PlayMusicIfOn(9, 0, 100, 0, false);
    EXPECT_EQ(effect.slot, 0);

    std::unique_ptr<CSndObj> mine;
    EXPECT_FALSE(PlaySoundEffect(10, kSoundHandOver, 50, &mine));
    ASSERT_NE(mine, nullptr); // handed over, neither played nor kept
    EXPECT_EQ(mine->GetLevel(), 50);
    EXPECT_EQ(mine->GetState(), 0);
}

TEST_F(SoundSlotsTest, FadesByIdFadeWhatPlaysAndStopWhatIsPaused)
{
    ASSERT_TRUE(PlaySoundEffect(7, 0, 100));          // slot 0
    ASSERT_TRUE(PlaySoundEffect(7, kSoundLoop, 100)); // slot 1
    ASSERT_TRUE(PlaySoundEffect(7, 0, 100));          // slot 2, paused
    ASSERT_TRUE(PlaySoundEffect(8, kSoundLoop, 100)); // slot 3
    Slot(2)->Pause();
    log.clear();
    // An id (its magnitude): its playing sounds fade out, its paused one stops.
    FadeOutSounds(nullptr, -7, 90);
    EXPECT_EQ(log, (Log{"7:fade 0 90 0", "7:fade 0 90 0", "7:stop"}));
    log.clear();
    // Id 0: only sounds whose slot still loops fade (slot 1's fade cleared its flag); the
    // rest stop.
    FadeOutSounds(nullptr, 0, 30);
    EXPECT_EQ(log, (Log{"7:stop", "7:stop", "7:stop", "8:fade 0 30 0"}));
    log.clear();
    // A handle fades its own sound and clears its slot's flag: id 0 then stops it, as it does
    // slot 3's, whose fade cleared its flag too. (The paused sound keeps its slot: stopping
    // leaves it paused.)
    const SoundHandle looping = PlaySoundEffect(9, kSoundLoop, 100);
    ASSERT_EQ(looping.slot, 0);
    log.clear();
    FadeOutSounds(&looping, 0, 12);
    FadeOutSounds(nullptr, 0, 30);
    EXPECT_EQ(log, (Log{"9:fade 0 12 0", "9:stop", "7:stop", "8:stop"}));
}

TEST_F(SoundSlotsTest, FadingOutTheMusicStopsEffectsAndFadesLoopsWhenSoundAndMusicAreOn)
{
    ASSERT_TRUE(PlaySoundEffect(1, 0, 100));
    ASSERT_TRUE(PlayMusic(2, kSoundLoop, 120, 60, false));
    ASSERT_TRUE(PlayMusic(3, 0, 120, 60, false));
    for (const char* option : {"soundon", "musicon"}) {
        SetOption(option, false);
        log.clear();
        FadeOutMusic();
        EXPECT_TRUE(log.empty()) << option;
        SetOption(option, true);
    }
    FadeOutMusic();
    EXPECT_EQ(log, (Log{"1:stop", "1:deleted", "2:fade 0 180 0", "3:stop", "3:deleted"}));
    EXPECT_EQ(PeekSlot(0), nullptr);
    EXPECT_EQ(Slot(1)->GetId(), 2); // fading: it keeps its slot until it ends
    EXPECT_EQ(PeekSlot(2), nullptr);
}

TEST_F(SoundSlotsTest, TheGameMakesBothKindsAndAMissingResourceTakesNoSlot)
{
    SetSoundFactory(nullptr); // the game's own: CStreamSound with 0x01, else CSampleSnd
    EXPECT_FALSE(PlaySoundEffect(12345, kSoundStreamed, 100));
    EXPECT_FALSE(PlaySoundEffect(12345, 0, 100));
    for (int32_t i = 0; i < kSoundSlotCount; ++i)
        EXPECT_EQ(PeekSlot(i), nullptr) << i;
}

TEST_F(SoundSlotsTest, EmptyingTheSlotsGivesUpOnASoundThatNeverStops)
{
    ASSERT_TRUE(PlaySoundEffect(1, 0, 100));
    // A sound that ignores its stop: the wait ends after its time on the clock.
    class Stubborn : public FakeSound {
    public:
        using FakeSound::FakeSound;
        void Stop() override {}
    };
    SetSoundFactory([this](int32_t id, bool) { return std::make_unique<Stubborn>(id, false, log, 0); });
    ASSERT_TRUE(PlaySoundEffect(2, 0, 100));
    qmtest::Clock().SetAutoAdvance(1);
    StopAndEmptySlots(500);
    qmtest::Clock().SetAutoAdvance(0);
    for (int32_t i = 0; i < kSoundSlotCount; ++i)
        EXPECT_EQ(PeekSlot(i), nullptr) << i;
}

} // namespace
