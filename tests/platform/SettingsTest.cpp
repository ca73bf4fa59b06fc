#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <unistd.h>

#include "platform/NamedLock.h"
#include "platform/Settings.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"

namespace {

using plat::SettingsAccess;
using plat::SettingsPart;
using plat::SettingsStatus;
using plat::SettingsType;

std::string ReadText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

std::unique_ptr<plat::SettingsKey> MakeKey(SettingsPart part, std::string_view path,
                                           std::string_view className = {})
{
    std::unique_ptr<plat::SettingsKey> key;
    EXPECT_EQ(plat::CreateSettingsKey(part, path, className, key), SettingsStatus::Ok);
    return key;
}

TEST(Settings, FilesLiveInTheConfigFolder)
{
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string savedText = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
    EXPECT_EQ(plat::DefaultSettingsFolder(), "/somewhere/config/kvl");
    setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    EXPECT_EQ(plat::DefaultSettingsFolder(), std::filesystem::path(std::getenv("HOME")) / ".config" / "kvl");
    if (saved)
        setenv("XDG_CONFIG_HOME", savedText.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");

    // Tests run in their own folder.
    EXPECT_EQ(plat::GetSettingsFolder(), qmtest::TempDir() / "settings");
    EXPECT_EQ(plat::GetSettingsFile(SettingsPart::User), qmtest::TempDir() / "settings" / "user.settings");
    EXPECT_EQ(plat::GetSettingsFile(SettingsPart::Machine),
              qmtest::TempDir() / "settings" / "machine.settings");
}

TEST(Settings, ValuesOfEveryTypeSurviveInTheFile)
{
    plat::SetSettingsDurable(true); // the real programs' way of writing
    auto key = MakeKey(SettingsPart::User, "Software\\KVL\\Game", "Application Per-User Data");
    ASSERT_TRUE(key);
    const std::string oddText("a \"quoted\" 100% [x]\n\x01\xE9", 22);
    EXPECT_EQ(key->WriteNumber("Installed", 0xFFFFFFFFu), SettingsStatus::Ok);
    EXPECT_EQ(key->Write("Name", SettingsType::String, Bytes(std::string("TRUE\0", 5))), SettingsStatus::Ok);
    EXPECT_EQ(key->Write("Odd", SettingsType::String, Bytes(oddText)), SettingsStatus::Ok);
    EXPECT_EQ(key->Write("Blob", SettingsType::Binary, std::vector<uint8_t>{0, 0xAB, 0xFF}),
              SettingsStatus::Ok);
    EXPECT_EQ(key->Write("Empty", SettingsType::Binary, {}), SettingsStatus::Ok);
    key.reset();

    // A fresh open reads everything back from the file, names compared without case.
    std::unique_ptr<plat::SettingsKey> again;
    ASSERT_EQ(plat::OpenSettingsKey(SettingsPart::User, "software\\kvl\\GAME", SettingsAccess::Read, again),
              SettingsStatus::Ok);
    EXPECT_EQ(again->Path(), "Software\\KVL\\Game");
    plat::SettingsValue value;
    ASSERT_EQ(again->Read("installed", value), SettingsStatus::Ok);
    EXPECT_EQ(value.type, SettingsType::Number);
    EXPECT_EQ(plat::SettingsNumber(value.data), 0xFFFFFFFFu);
    ASSERT_EQ(again->Read("NAME", value), SettingsStatus::Ok);
    EXPECT_EQ(value.type, SettingsType::String);
    EXPECT_EQ(value.data, Bytes(std::string("TRUE\0", 5)));
    ASSERT_EQ(again->Read("Odd", value), SettingsStatus::Ok);
    EXPECT_EQ(value.data, Bytes(oddText));
    ASSERT_EQ(again->Read("Blob", value), SettingsStatus::Ok);
    EXPECT_EQ(value.type, SettingsType::Binary);
    EXPECT_EQ(value.data, (std::vector<uint8_t>{0, 0xAB, 0xFF}));
    ASSERT_EQ(again->Read("Empty", value), SettingsStatus::Ok);
    EXPECT_TRUE(value.data.empty());
    EXPECT_EQ(again->Read("Missing", value), SettingsStatus::NotFound);
    std::string className;
    ASSERT_EQ(again->ReadClass(className), SettingsStatus::Ok);
    EXPECT_EQ(className, "Application Per-User Data");

    // The keys above it exist too, and the file is readable text.
    std::unique_ptr<plat::SettingsKey> parent;
    EXPECT_EQ(plat::OpenSettingsKey(SettingsPart::User, "Software\\KVL", SettingsAccess::Read, parent),
              SettingsStatus::Ok);
    const std::string text = ReadText(plat::GetSettingsFile(SettingsPart::User));
    EXPECT_EQ(text.rfind("QMSETTINGS 1\n", 0), 0u);
    EXPECT_NE(text.find("[Software\\KVL\\Game]\nclass \"Application Per-User Data\"\n"), std::string::npos);
    EXPECT_NE(text.find("\"Name\" string \"TRUE%00\"\n"), std::string::npos);
    EXPECT_NE(text.find("\"Installed\" number 4294967295\n"), std::string::npos);
    EXPECT_NE(text.find("\"Blob\" binary 00abff\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(plat::GetSettingsFile(SettingsPart::User).string() + ".tmp"));
    // The machine part is a file of its own and was not touched.
    EXPECT_FALSE(std::filesystem::exists(plat::GetSettingsFile(SettingsPart::Machine)));
}

TEST(Settings, CreateOpensAnExistingKeyAndKeepsItsValues)
{
    plat::SetSettingsDurable(true);  // the programs' way of writing, with its waits for the disk
    bool created = false;
    std::unique_ptr<plat::SettingsKey> key;
    ASSERT_EQ(plat::CreateSettingsKey(SettingsPart::Machine, "A\\B", "First", key, &created),
              SettingsStatus::Ok);
    EXPECT_TRUE(created);
    ASSERT_EQ(key->WriteNumber("N", 7), SettingsStatus::Ok);
    ASSERT_EQ(plat::CreateSettingsKey(SettingsPart::Machine, "a\\b", "Second", key, &created),
              SettingsStatus::Ok);
    EXPECT_FALSE(created);
    plat::SettingsValue value;
    ASSERT_EQ(key->Read("N", value), SettingsStatus::Ok);
    EXPECT_EQ(plat::SettingsNumber(value.data), 7u);
    std::string className;
    key->ReadClass(className);
    EXPECT_EQ(className, "First");
}

TEST(Settings, TwoWritersKeepEachOthersChanges)
{
    auto first = MakeKey(SettingsPart::User, "K");
    auto second = MakeKey(SettingsPart::User, "K");
    ASSERT_EQ(first->WriteNumber("one", 1), SettingsStatus::Ok);
    ASSERT_EQ(second->WriteNumber("two", 2), SettingsStatus::Ok);
    ASSERT_EQ(first->WriteNumber("one", 11), SettingsStatus::Ok);
    plat::SettingsValue value;
    ASSERT_EQ(second->Read("one", value), SettingsStatus::Ok);
    EXPECT_EQ(plat::SettingsNumber(value.data), 11u);
    ASSERT_EQ(first->Read("two", value), SettingsStatus::Ok);
    EXPECT_EQ(plat::SettingsNumber(value.data), 2u);
}

TEST(Settings, DeleteTakesTheKeyAndEverythingBelowIt)
{
    auto key = MakeKey(SettingsPart::User, "Software\\KVL\\Game\\Deep");
    MakeKey(SettingsPart::User, "Software\\KVL\\Gamer");
    EXPECT_EQ(plat::DeleteSettingsKey(SettingsPart::User, "software\\kvl\\game"), SettingsStatus::Ok);
    std::unique_ptr<plat::SettingsKey> probe;
    EXPECT_EQ(plat::OpenSettingsKey(SettingsPart::User, "Software\\KVL\\Game", SettingsAccess::Read, probe),
              SettingsStatus::NotFound);
    EXPECT_EQ(plat::OpenSettingsKey(SettingsPart::User, "Software\\KVL\\Gamer", SettingsAccess::Read, probe),
              SettingsStatus::Ok);
    // A key whose key was deleted meanwhile answers NotFound.
    plat::SettingsValue value;
    EXPECT_EQ(key->Read("x", value), SettingsStatus::NotFound);
    EXPECT_EQ(key->WriteNumber("x", 1), SettingsStatus::NotFound);
    EXPECT_EQ(plat::DeleteSettingsKey(SettingsPart::User, "Software\\KVL\\Game"), SettingsStatus::NotFound);
}

TEST(Settings, RefusesBadRequests)
{
    std::unique_ptr<plat::SettingsKey> key;
    for (const char* path : {"", "\\A", "A\\", "A\\\\B"})
        EXPECT_EQ(plat::CreateSettingsKey(SettingsPart::User, path, "", key), SettingsStatus::BadArgument)
            << path;
    key = MakeKey(SettingsPart::User, "K");
    EXPECT_EQ(key->Write("n", SettingsType::Number, std::vector<uint8_t>{1, 2, 3}),
              SettingsStatus::BadArgument);
    std::unique_ptr<plat::SettingsKey> reader;
    ASSERT_EQ(plat::OpenSettingsKey(SettingsPart::User, "K", SettingsAccess::Read, reader),
              SettingsStatus::Ok);
    EXPECT_EQ(reader->WriteNumber("n", 1), SettingsStatus::AccessDenied);
}

TEST(Settings, DamagedFilesAreReportedAndLeftAlone)
{
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"", "the file is empty"},
        {"SETTINGS\n", "line 1: the file does not start with"},
        {"QMSETTINGS 1\n\"v\" number 1\n", "line 2: a value must follow a key"},
        {"QMSETTINGS 1\n[A\n", "line 2: a key line must end with ']'"},
        {"QMSETTINGS 1\n[A\\\\B]\n", "line 2: bad key path"},
        {"QMSETTINGS 1\n[A%4]\n", "line 2: bad key path"},
        {"QMSETTINGS 1\n[A]\n[a]\n", "line 3: the key is listed twice"},
        {"QMSETTINGS 1\n# note\n[A]\nclass Foo\n", "line 4: a class line must follow a key"},
        {"QMSETTINGS 1\n[A]\nv number 1\n", "line 3: a value name must be a quoted text"},
        {"QMSETTINGS 1\n[A]\n\"v\" number 4294967296\n", "line 3: a number value must be"},
        {"QMSETTINGS 1\n[A]\n\"v\" number -1\n", "line 3: a number value must be"},
        {"QMSETTINGS 1\n[A]\n\"v\" binary abc\n", "line 3: a binary value must be"},
        {"QMSETTINGS 1\n[A]\n\"v\" string \"x\" y\n", "line 3: a string value must be"},
        {"QMSETTINGS 1\n[A]\n\"v\" string \"x%zz\"\n", "line 3: a string value must be"},
        {"QMSETTINGS 1\n[A]\n\"v\" float 1.5\n", "line 3: unknown value type \"float\""},
        {"QMSETTINGS 1\n[A]\n\"v\" number 1\n\"V\" number 2\n", "line 4: the value is listed twice"},
    };
    const auto file = plat::GetSettingsFile(SettingsPart::User);
    for (const auto& c : cases) {
        qmtest::WriteFile(file, c.text);
        std::unique_ptr<plat::SettingsKey> key;
        EXPECT_EQ(plat::OpenSettingsKey(SettingsPart::User, "A", SettingsAccess::Read, key),
                  SettingsStatus::Corrupt)
            << c.text;
        EXPECT_NE(plat::LastSettingsError().find(file.string()), std::string::npos);
        EXPECT_NE(plat::LastSettingsError().find(c.message), std::string::npos) << plat::LastSettingsError();
        EXPECT_EQ(plat::CreateSettingsKey(SettingsPart::User, "A", "", key), SettingsStatus::Corrupt);
        EXPECT_EQ(plat::DeleteSettingsKey(SettingsPart::User, "A"), SettingsStatus::Corrupt);
        EXPECT_EQ(ReadText(file), c.text);
    }

    // An oversized file is refused before it is read.
    std::filesystem::resize_file(file, 5u << 20);
    std::unique_ptr<plat::SettingsKey> key;
    EXPECT_EQ(plat::OpenSettingsKey(SettingsPart::User, "A", SettingsAccess::Read, key),
              SettingsStatus::Corrupt);
    EXPECT_NE(plat::LastSettingsError().find("larger"), std::string::npos);

    // Comments, blank lines and CR LF line ends are fine; the machine part is not affected.
    qmtest::WriteFile(file, "# written by hand\r\nQMSETTINGS 1\r\n\r\n[A]\r\n\"v\" number 5\r\n");
    ASSERT_EQ(plat::OpenSettingsKey(SettingsPart::User, "A", SettingsAccess::Read, key), SettingsStatus::Ok);
    plat::SettingsValue value;
    ASSERT_EQ(key->Read("v", value), SettingsStatus::Ok);
    EXPECT_EQ(plat::SettingsNumber(value.data), 5u);
}

TEST(Settings, APartThatCannotBeWrittenStillReads)
{
    // A folder that cannot be made (its parent is a file) fails even for the superuser.
    qmtest::WriteFile(qmtest::TempDir() / "blocker", "x");
    plat::SetSettingsFile(SettingsPart::Machine, qmtest::TempDir() / "blocker" / "machine.settings");
    std::unique_ptr<plat::SettingsKey> key;
    EXPECT_EQ(plat::CreateSettingsKey(SettingsPart::Machine, "A", "", key), SettingsStatus::AccessDenied);
    EXPECT_FALSE(key);
    EXPECT_EQ(plat::OpenSettingsKey(SettingsPart::Machine, "A", SettingsAccess::Read, key),
              SettingsStatus::NotFound);

    // An existing file whose lock file cannot be made reads but refuses changes.
    const auto file = qmtest::TempDir() / "ro" / "machine.settings";
    qmtest::WriteFile(file, "QMSETTINGS 1\n[A]\n\"v\" number 3\n");
    std::filesystem::create_directories(file.string() + ".lock");
    plat::SetSettingsFile(SettingsPart::Machine, file);
    ASSERT_EQ(plat::OpenSettingsKey(SettingsPart::Machine, "A", SettingsAccess::ReadWrite, key),
              SettingsStatus::Ok);
    plat::SettingsValue value;
    ASSERT_EQ(key->Read("v", value), SettingsStatus::Ok);
    EXPECT_EQ(plat::SettingsNumber(value.data), 3u);
    EXPECT_EQ(key->WriteNumber("v", 4), SettingsStatus::AccessDenied);
    EXPECT_NE(plat::LastSettingsError().find("cannot be written"), std::string::npos);
    EXPECT_EQ(ReadText(file), "QMSETTINGS 1\n[A]\n\"v\" number 3\n");
}

TEST(NamedLock, IsAnFlockOnAFileNamedAfterTheLock)
{
    EXPECT_EQ(plat::NamedLock::FileFor("Software/KVL/Quillmark III/PerUser"),
              plat::GetSettingsFolder() / "Software%2FKVL%2FQuillmark%20III%2FPerUser.lock");
    EXPECT_NE(plat::NamedLock::FileFor("a b"), plat::NamedLock::FileFor("a_b"));

    auto lock = plat::NamedLock::Create("Software/KVL/Game");
    ASSERT_TRUE(lock);
    const auto file = plat::NamedLock::FileFor("Software/KVL/Game");
    ASSERT_TRUE(std::filesystem::exists(file));
    const int other = ::open(file.c_str(), O_RDWR); // another program's view of the lock
    ASSERT_GE(other, 0);
    ASSERT_TRUE(lock->Acquire());
    EXPECT_NE(::flock(other, LOCK_EX | LOCK_NB), 0);
    lock->Release();
    EXPECT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    ::close(other);

    qmtest::WriteFile(qmtest::TempDir() / "blocker", "x");
    plat::SetSettingsFolder(qmtest::TempDir() / "blocker" / "sub");
    EXPECT_FALSE(plat::NamedLock::Create("x"));
}

} // namespace
