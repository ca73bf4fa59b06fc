#include "launcher/LaunchProc.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "platform/Files.h"
#include "platform/Programs.h"
#include "platform/Settings.h"
#include "platform/SystemInfo.h"
#include "tests/launcher/TourFolder.h"

namespace fs = std::filesystem;

namespace {

class LaunchProc : public TourFolder {
protected:
    void SetUp() override
    {
        TourFolder::SetUp();
        Write("quillgame", "x", true);
        Write("tools.exe", "x", true);
        Write("bin/helper", "x", true);
        Write("ReadMe.txt", "x", false);
        Write("notes", "x", false);
    }
};

TEST_F(LaunchProc, StartsTheFoundProgramInItsOwnFolderWithOneDocument)
{
    struct Case {
        const char* program;
        std::optional<std::string> document;
        fs::path path;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"quillgame", std::nullopt, "quillgame", {}},
        {"quillgame.EXE", std::nullopt, "quillgame", {}},
        {"tools.exe", std::nullopt, "tools.exe", {}},
        {"C:\\bin\\helper", std::nullopt, "bin/helper", {}},
        {"quillgame", "ReadMe.txt", "quillgame", {(tour_ / "ReadMe.txt").string()}},
        {"quillgame", "my trip; rm -rf $(x) > y", "quillgame", {"my trip; rm -rf $(x) > y"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        plat::ResetPrograms();
        plat::RecordSpawns(true);
        tour::CLaunchProc launcher(c.program, c.document);
        ASSERT_TRUE(launcher.Run()) << launcher.GetLastError();
        ASSERT_EQ(plat::GetRecordedSpawns().size(), 1u);
        const plat::SpawnRequest& request = plat::GetRecordedSpawns()[0];
        EXPECT_EQ(request.program, (tour_ / c.path).lexically_normal());
        EXPECT_EQ(request.args, c.args);
        EXPECT_EQ(request.folder, (tour_ / c.path).parent_path());
    }
}

TEST_F(LaunchProc, FailsWithTheReasonAndStartsNothing)
{
    struct Case {
        const char* program;
        int spawnError;
        int error;
    };
    const Case cases[] = {
        {"nothere", 0, ENOENT},
        {"notes", 0, EACCES},
        {"ReadMe.txt", 0, EACCES},
        {"quillgame", ENOMEM, ENOMEM},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        plat::ResetPrograms();
        plat::RecordSpawns(true, c.spawnError);
        tour::CLaunchProc launcher(c.program, std::nullopt);
        EXPECT_FALSE(launcher.Run());
        EXPECT_EQ(launcher.GetLastError(), c.error);
        EXPECT_EQ(plat::GetRecordedSpawns().size(), c.spawnError ? 1u : 0u);
    }
}

// Stands in for the open-file dialog.
class ChoosingLaunchProc : public tour::CLaunchProc {
public:
    explicit ChoosingLaunchProc(std::optional<std::string> choice)
        : CLaunchProc("", std::nullopt), choice_(std::move(choice))
    {
    }
    std::optional<std::string> ChooseProgram() override { return choice_; }

private:
    std::optional<std::string> choice_;
};

TEST_F(LaunchProc, WithoutAProgramStartsTheOneTheUserChooses)
{
    ChoosingLaunchProc chosen("C:\\quillgame");
    EXPECT_TRUE(chosen.Run());
    EXPECT_EQ(plat::GetRecordedSpawns().at(0).program, tour_ / "quillgame");

    ChoosingLaunchProc document("C:\\ReadMe.txt");
    EXPECT_FALSE(document.Run());
    EXPECT_EQ(document.GetLastError(), EACCES);

    ChoosingLaunchProc cancelled(std::nullopt);
    EXPECT_FALSE(cancelled.Run());
    EXPECT_EQ(plat::GetRecordedSpawns().size(), 1u);
}

TEST_F(LaunchProc, ReplacesThePlaceholderInTheFailureText)
{
    struct Case {
        const char* failure;
        const char* placeholder;
        size_t commandSize;
        const char* text;
    };
    const Case cases[] = {
        {"PROGRAM could not start.", "PROGRAM", 9, "quillgame could not start."},
        {"PROGRAM, PROGRAM!", "PROGRAM", 9, "quillgame, quillgame!"},
        {"PROGRAM could not start.", "PROGRAM", 4, "PROGRAM could not start."},
        {"Could not start.", "", 9, "Could not start."},
        {"gamegame", "game", 9, "quillgamequillgame"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tour::ProgramFailureText(c.failure, c.placeholder, "quillgame", c.commandSize), c.text);
}

TEST_F(LaunchProc, FindsAnInstalledProductInTheMachineSettings)
{
    EXPECT_FALSE(tour::IsProductInstalled("Quillmark", "3.0"));
    EXPECT_FALSE(tour::InstalledProgramPath("Quillmark", "qm3"));

    std::unique_ptr<plat::SettingsKey> key;
    ASSERT_EQ(plat::CreateSettingsKey(plat::SettingsPart::Machine, "SOFTWARE\\KVL\\Quillmark", "", key),
              plat::SettingsStatus::Ok);
    EXPECT_TRUE(tour::IsProductInstalled("Quillmark", ""));
    EXPECT_FALSE(tour::IsProductInstalled("Quillmark", "3.0"));
    EXPECT_FALSE(tour::InstalledProgramPath("Quillmark", "qm3")); // no "Path" yet

    const std::string path("C:\\bin\\", 8); // written with its final zero
    ASSERT_EQ(key->Write("Path", plat::SettingsType::String,
                         std::span(reinterpret_cast<const uint8_t*>(path.data()), path.size())),
              plat::SettingsStatus::Ok);
    std::unique_ptr<plat::SettingsKey> version;
    ASSERT_EQ(
        plat::CreateSettingsKey(plat::SettingsPart::Machine, "software\\kvl\\quillmark\\3.0", "", version),
        plat::SettingsStatus::Ok);
    EXPECT_TRUE(tour::IsProductInstalled("Quillmark", "3.0"));
    EXPECT_EQ(tour::InstalledProgramPath("Quillmark", "helper"), "C:\\bin\\helper");

    tour::CLaunchProc launcher(*tour::InstalledProgramPath("Quillmark", "helper"), std::nullopt);
    EXPECT_TRUE(launcher.Run());
    EXPECT_EQ(plat::GetRecordedSpawns().at(0).program, tour_ / "bin" / "helper");
}

} // namespace
