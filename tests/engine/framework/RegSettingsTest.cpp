#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "engine/framework/RegSettings.h"
#include "platform/NamedLock.h"
#include "platform/SystemInfo.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"

namespace {

using plat::SettingsPart;
using plat::SettingsStatus;
using plat::SettingsType;

constexpr const char* kApp = "Quillmark III";
constexpr const char* kPath = "Software\\KVL\\Quillmark III";

std::string ReadText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Reads a value straight from the store, the way another program would see it.
bool StoredValue(SettingsPart part, const char* name, plat::SettingsValue& value,
                 std::string* className = nullptr)
{
    std::unique_ptr<plat::SettingsKey> key;
    if (plat::OpenSettingsKey(part, kPath, plat::SettingsAccess::Read, key) != SettingsStatus::Ok)
        return false;
    if (className)
        key->ReadClass(*className);
    return key->Read(name, value) == SettingsStatus::Ok;
}

std::vector<uint8_t> Text(std::string_view text) { return {text.begin(), text.end()}; }

TEST(RegSettings, FirstRunCreatesBothKeys)
{
    CRegSettings settings(kApp, "QMK3");
    EXPECT_TRUE(settings.HasMachineKey());
    EXPECT_TRUE(settings.HasUserKey());

    plat::SettingsValue value;
    std::string className;
    ASSERT_TRUE(StoredValue(SettingsPart::Machine, "Installed", value, &className));
    EXPECT_EQ(value.type, SettingsType::Number);
    EXPECT_EQ(plat::SettingsNumber(value.data), 1u);
    EXPECT_EQ(className, "Application Global Data");
    ASSERT_TRUE(StoredValue(SettingsPart::Machine, "Version Number:", value));
    EXPECT_EQ(value.type, SettingsType::String);
    const std::string version = plat::GetProductVersion();
    EXPECT_EQ(value.data, Text(std::string(version.c_str(), version.size() + 1)));

    ASSERT_TRUE(StoredValue(SettingsPart::User, "Installed", value, &className));
    EXPECT_EQ(plat::SettingsNumber(value.data), 1u);
    EXPECT_EQ(className, "Application Per-User Data");
    EXPECT_FALSE(StoredValue(SettingsPart::User, "Version Number:", value));

    // The creation ran under the two named locks.
    EXPECT_TRUE(std::filesystem::exists(plat::NamedLock::FileFor("Software/KVL/Quillmark III")));
    EXPECT_TRUE(std::filesystem::exists(plat::NamedLock::FileFor("Software/KVL/Quillmark III/PerUser")));
}

TEST(RegSettings, ASecondRunKeepsTheValues)
{
    {
        CRegSettings first(kApp, "QMK3");
        EXPECT_EQ(first.WriteString("FALSE", 6, "options", "musicon"), 0);
        EXPECT_EQ(first.WriteDword(42, "options", "count"), 0);
    }
    const std::string machineBefore = ReadText(plat::GetSettingsFile(SettingsPart::Machine));
    CRegSettings second(kApp, "QMK3");
    char buffer[16] = "TRUE";
    second.ReadString(buffer, sizeof buffer, "options", "musicon");
    EXPECT_STREQ(buffer, "FALSE");
    uint32_t count = 7;
    second.ReadDword(count, "other section", "COUNT");
    EXPECT_EQ(count, 42u);
    // Nothing is created again.
    EXPECT_EQ(ReadText(plat::GetSettingsFile(SettingsPart::Machine)), machineBefore);
}

TEST(RegSettings, AUserKeyWithoutInstalledIsCreatedAgainKeepingItsValues)
{
    std::unique_ptr<plat::SettingsKey> key;
    ASSERT_EQ(plat::CreateSettingsKey(SettingsPart::User, kPath, "", key), SettingsStatus::Ok);
    ASSERT_EQ(key->Write("soundon", SettingsType::String, Text(std::string("TRUE\0", 5))),
              SettingsStatus::Ok);

    CRegSettings settings(kApp, "QMK3");
    plat::SettingsValue value;
    ASSERT_TRUE(StoredValue(SettingsPart::User, "Installed", value));
    EXPECT_EQ(plat::SettingsNumber(value.data), 1u);
    char buffer[8] = "x";
    settings.ReadString(buffer, sizeof buffer, nullptr, "soundon");
    EXPECT_STREQ(buffer, "TRUE");
}

TEST(RegSettings, ReadsKeepTheDefaultUnlessTypeAndSizeFit)
{
    CRegSettings settings(kApp, "QMK3");
    std::unique_ptr<plat::SettingsKey> key;
    ASSERT_EQ(plat::OpenSettingsKey(SettingsPart::User, kPath, plat::SettingsAccess::ReadWrite, key),
              SettingsStatus::Ok);
    key->WriteNumber("number", 5);
    key->Write("text", SettingsType::String, Text(std::string("abcdef\0", 7)));
    key->Write("unended", SettingsType::String, Text("abc"));
    key->Write("blob4", SettingsType::Binary, std::vector<uint8_t>{1, 0, 0, 0});
    key->Write("empty", SettingsType::String, {});

    struct StringCase {
        const char* name;
        int32_t size;
        std::string expected;
    };
    const StringCase strings[] = {
        {"missing", 10, "default"}, {"number", 10, "default"}, {"blob4", 10, "default"},
        {"text", 10, "abcdef"},     {"text", 7, "abcdef"},     {"text", 6, "defau"}, // does not fit
        {"unended", 10, "abc"},     {"unended", 3, "ab"},      {"empty", 10, ""},
    };
    for (const auto& c : strings) {
        char buffer[16];
        std::memset(buffer, 'Z', sizeof buffer);
        std::snprintf(buffer, static_cast<size_t>(c.size), "%s", "default");
        settings.ReadString(buffer, c.size, nullptr, c.name);
        EXPECT_EQ(std::string(buffer, strnlen(buffer, static_cast<size_t>(c.size))), c.expected)
            << c.name << " " << c.size;
        EXPECT_NE(std::memchr(buffer, 0, static_cast<size_t>(c.size)), nullptr) << c.name << " " << c.size;
        EXPECT_EQ(buffer[c.size], 'Z'); // nothing written beyond the size
    }

    struct NumberCase {
        const char* name;
        uint32_t expected;
    };
    for (const auto& c : {NumberCase{"number", 5}, {"text", 99}, {"blob4", 99}, {"missing", 99}}) {
        uint32_t value = 99;
        settings.ReadDword(value, nullptr, c.name);
        EXPECT_EQ(value, c.expected) << c.name;
    }
}

TEST(RegSettings, AMachinePartThatCannotBeWrittenLeavesTheUserPartWorking)
{
    qmtest::WriteFile(qmtest::TempDir() / "blocker", "x");
    plat::SetSettingsFile(SettingsPart::Machine, qmtest::TempDir() / "blocker" / "machine.settings");
    CRegSettings settings(kApp, "QMK3");
    EXPECT_FALSE(settings.HasMachineKey());
    ASSERT_TRUE(settings.HasUserKey());
    EXPECT_EQ(settings.WriteString("TRUE", 5, "options", "closecap"), 0);
    char buffer[8] = "FALSE";
    settings.ReadString(buffer, sizeof buffer, "options", "closecap");
    EXPECT_STREQ(buffer, "TRUE");

    // A machine part that exists but cannot be written is opened for reading.
    const auto file = qmtest::TempDir() / "shared" / "machine.settings";
    qmtest::WriteFile(file, "QMSETTINGS 1\n[Software\\KVL\\Quillmark III]\n\"Installed\" number 1\n");
    std::filesystem::create_directories(file.string() + ".lock");
    plat::SetSettingsFile(SettingsPart::Machine, file);
    CRegSettings again(kApp, "QMK3");
    EXPECT_TRUE(again.HasMachineKey());
    EXPECT_TRUE(again.HasUserKey());
}

TEST(RegSettings, WithoutAUserKeyReadsKeepDefaultsAndWritesFail)
{
    const auto file = plat::GetSettingsFile(SettingsPart::User);
    const std::string damaged = "QMSETTINGS 1\n[Software\\KVL\\Quillmark III]\n\"musicon\" strin \"TRUE\"\n";
    qmtest::WriteFile(file, damaged);
    CRegSettings settings(kApp, "QMK3");
    EXPECT_TRUE(settings.HasMachineKey());
    EXPECT_FALSE(settings.HasUserKey());
    char buffer[8] = "FALSE";
    settings.ReadString(buffer, sizeof buffer, "options", "musicon");
    EXPECT_STREQ(buffer, "FALSE");
    uint32_t value = 3;
    settings.ReadDword(value, "options", "musicon");
    EXPECT_EQ(value, 3u);
    EXPECT_NE(settings.WriteString("TRUE", 5, "options", "musicon"), 0);
    EXPECT_NE(settings.WriteDword(1, "options", "n"), 0);
    EXPECT_EQ(ReadText(file), damaged); // the user's file is left for them to mend
}

} // namespace
