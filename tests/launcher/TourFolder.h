#pragma once
// The fixture of the launch tests: a tour folder that is drive C:, the program folder and the
// engine's current folder, with program starts recorded rather than made.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/Files.h"
#include "platform/Programs.h"
#include "platform/SystemInfo.h"
#include "tests/support/TestEnv.h"

class TourFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::ResetPrograms();
        plat::RecordSpawns(true);
        tour_ = qmtest::TempDir() / "tour";
        std::filesystem::create_directories(tour_);
        plat::SetDrives({{'C', tour_, plat::DriveKind::Fixed}});
        plat::SetProgramFolder(tour_);
        ASSERT_TRUE(plat::SetCurrentFolder("C:\\"));
    }
    void TearDown() override { plat::ResetPrograms(); }

    // Writes a file below the tour folder, executable or not.
    void Write(const std::filesystem::path& name, const char* text, bool execute)
    {
        namespace fs = std::filesystem;
        const fs::path path = tour_ / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << text;
        fs::permissions(path,
                        execute ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write);
    }

    std::filesystem::path tour_;
};
