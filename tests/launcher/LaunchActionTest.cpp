#include "launcher/LaunchAction.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/Files.h"
#include "platform/Programs.h"
#include "platform/Settings.h"
#include "platform/SystemInfo.h"
#include "tests/launcher/TourFolder.h"

namespace fs = std::filesystem;

namespace {

// Records what a pick asked of the program around it.
class RecordingServices : public tour::LaunchServices {
public:
    RecordingServices()
    {
        placeholder = "PROGRAM";
        linkPrefix = "Please visit";
    }
    void ShowMessage(const std::string& text, bool stop) override
    {
        log += (stop ? "stop \"" : "info \"") + text + "\";";
    }
    void SwitchScreen(int32_t screen) override { log += "screen " + std::to_string(screen) + ";"; }
    bool OpenLink(const std::string& url) override
    {
        log += "url " + url + ";";
        return plat::IsOpenableUrl(url);
    }
    void ShowBusy(bool busy) override { log += busy ? "busy;" : "idle;"; }

    std::string log;
};

class LaunchAction : public TourFolder {
protected:
    void SetUp() override
    {
        TourFolder::SetUp();
        Write("quillgame", "x", true);
        Write("Site.url", "[InternetShortcut]\r\nURL=https://quillmark.example/\r\n", false);
        Write("Bad.url", "[InternetShortcut]\nURL=file:///etc/passwd\n", false);
        Write("Empty.url", "[Other]\n", false);
    }
};

TEST_F(LaunchAction, EachKindOfPick)
{
    struct Case {
        const char* command;
        bool endsTour;
        bool goesOn; // false: the tour ends
        const char* log;
        size_t spawns;
    };
    const Case cases[] = {
        {"quillgame", true, false, "busy;idle;", 1},
        {"quillgame", false, true, "busy;idle;", 1},
        {"missing", true, true, "busy;idle;stop \"missing would not start.\";", 0},
        {"*APPL[Quillmark][3.0] quillgame", true, true, "stop \"PROGRAM would not start.\";", 0},
        {"*HTTP Site.url", true, true, "url https://quillmark.example/;", 0},
        {"*HTTP Bad.url", false, true, "url file:///etc/passwd;info \"Please visit file:///etc/passwd\";", 0},
        {"*HTTP Empty.url", false, true, "info \"Please visit \";", 0},
        {"*HTTP Nowhere.url", false, true, "info \"Please visit \";", 0},
        {"*MENU 1002", true, true, "screen 1002;", 0},
        {"", true, false, "", 0},
        {"", false, true, "", 0},
        {"*menu 2", true, true,
         "stop \"The menu item \"Item\" has an unknown word after *; the words are APPL, "
         "HTTP and MENU.\";",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        plat::ResetPrograms();
        plat::RecordSpawns(true);
        RecordingServices services;
        const tour::LaunchItemData item{"Item", c.command, "PROGRAM would not start.", c.endsTour,
                                        tour::ParseLaunchCommand(c.command)};
        EXPECT_EQ(tour::Launch(item, services), c.goesOn);
        EXPECT_EQ(services.log, c.log);
        EXPECT_EQ(plat::GetRecordedSpawns().size(), c.spawns);
    }
}

TEST_F(LaunchAction, AnInstalledProductStartsFromItsRecordedFolder)
{
    std::unique_ptr<plat::SettingsKey> key;
    ASSERT_EQ(plat::CreateSettingsKey(plat::SettingsPart::Machine, "SOFTWARE\\KVL\\Quillmark\\3.0", "", key),
              plat::SettingsStatus::Ok);
    ASSERT_EQ(plat::CreateSettingsKey(plat::SettingsPart::Machine, "SOFTWARE\\KVL\\Quillmark", "", key),
              plat::SettingsStatus::Ok);
    const std::string folder = "C:\\";
    ASSERT_EQ(key->Write("Path", plat::SettingsType::String,
                         std::span(reinterpret_cast<const uint8_t*>(folder.data()), folder.size())),
              plat::SettingsStatus::Ok);

    RecordingServices services;
    const char* command = "*APPL[Quillmark][3.0] quillgame";
    const tour::LaunchItemData item{"Play", command, "Not installed.", true,
                                    tour::ParseLaunchCommand(command)};
    EXPECT_FALSE(tour::Launch(item, services));
    EXPECT_EQ(services.log, "busy;idle;");
    ASSERT_EQ(plat::GetRecordedSpawns().size(), 1u);
    EXPECT_EQ(plat::GetRecordedSpawns()[0].program, tour_ / "quillgame");
    EXPECT_TRUE(plat::GetRecordedSpawns()[0].args.empty());
}

} // namespace
