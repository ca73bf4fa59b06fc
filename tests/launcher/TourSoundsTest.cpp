#include "launcher/TourSounds.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/Files.h"
#include "platform/SoundFiles.h"
#include "tests/support/TestEnv.h"
#include "tools/WavFile.h"

namespace fs = std::filesystem;

namespace {

class TourSounds : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::SetDrives({{'C', qmtest::TempDir(), plat::DriveKind::Fixed}});
        ASSERT_TRUE(plat::SetCurrentFolder("C:\\"));
    }
    static void WriteSounds()
    {
        const fs::path folder = qmtest::TempDir() / "TourData" / "TourData.Cus";
        fs::create_directories(folder);
        PcmSound sound;
        sound.data.assign(2205, 0xC0);
        const std::vector<uint8_t> bytes = WavBytes(sound);
        for (const char* name : {"Intro.wav", "Roll.wav", "Click.wav"})
            std::ofstream(folder / name, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
    }
};

TEST_F(TourSounds, PlayTheirFilesAndStopForAnyOtherNumber)
{
    WriteSounds();
    EXPECT_TRUE(tour::PlayTourSound(tour::kIntroSound));
    EXPECT_TRUE(tour::PlayTourSound(tour::kRollSound)); // cuts the intro off
    EXPECT_TRUE(tour::PlayTourSound(tour::kClickSound));
    const std::vector<plat::SoundFilePlay>& log = plat::GetSoundFileLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].path, "TourData\\TourData.Cus\\Intro.wav");
    EXPECT_EQ(log[1].path, "TourData\\TourData.Cus\\Roll.wav");
    EXPECT_EQ(log[2].path, "TourData\\TourData.Cus\\Click.wav");
    EXPECT_TRUE(plat::GetPlayingSoundFile().has_value());
    EXPECT_FALSE(tour::PlayTourSound(3));
    EXPECT_FALSE(plat::GetPlayingSoundFile().has_value());
}

TEST_F(TourSounds, WithoutTheFolderTheTourIsSilent)
{
    for (int16_t n : {tour::kIntroSound, tour::kRollSound, tour::kClickSound})
        EXPECT_FALSE(tour::PlayTourSound(n));
    EXPECT_FALSE(plat::GetPlayingSoundFile().has_value());
}

} // namespace
