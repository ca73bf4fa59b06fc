#include <gtest/gtest.h>

#include "platform/Files.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

class Files : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = qmtest::TempDir() / "c";
        fs::create_directories(root_);
        plat::SetDrives(
            {{'C', root_, plat::DriveKind::Fixed}, {'E', qmtest::TempDir() / "e", plat::DriveKind::CdRom}});
    }
    fs::path root_;
};

TEST_F(Files, ResolvesEveryComponentWithoutRegardToCase)
{
    qmtest::WriteFile(root_ / "Data" / "Game.QMD", "x");
    EXPECT_EQ(*plat::ToHostPath("C:\\DATA\\game.qmd"), root_ / "Data" / "Game.QMD");
    EXPECT_EQ(*plat::ToHostPath("c:/data/GAME.QMD"), root_ / "Data" / "Game.QMD");
    // A missing tail keeps its spelling so the file can be created.
    EXPECT_EQ(*plat::ToHostPath("C:\\data\\New\\Save.qm3"), root_ / "Data" / "New" / "Save.qm3");
    EXPECT_FALSE(plat::ToHostPath("Q:\\x").has_value());
}

TEST_F(Files, RelativeAndRootedPathsStartFromTheCurrentFolder)
{
    qmtest::WriteFile(root_ / "Data" / "Sub" / "f.txt", "x");
    ASSERT_TRUE(plat::SetCurrentFolder("C:\\data"));
    EXPECT_EQ(plat::GetCurrentFolder(), "C:\\data");
    EXPECT_EQ(*plat::ToHostPath("sub\\F.TXT"), root_ / "Data" / "Sub" / "f.txt");
    EXPECT_EQ(*plat::ToHostPath("..\\data\\.\\sub"), root_ / "Data" / "Sub");
    EXPECT_EQ(*plat::ToHostPath("\\data"), root_ / "Data");
    EXPECT_FALSE(plat::SetCurrentFolder("C:\\nowhere"));
    EXPECT_EQ(plat::GetCurrentFolder(), "C:\\data");
    EXPECT_EQ(*plat::ToEnginePath(root_ / "Data" / "Sub"), "C:\\Data\\Sub");
    EXPECT_EQ(*plat::ToEnginePath(root_), "C:\\");
}

TEST(Wildcards, MatchTheWindowsWay)
{
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    };
    const Case cases[] = {
        {"*.*", "README", true},
        {"*.*", "file.txt", true},
        {"*", "anything.at.all", true},
        {"*.STR", "000008.str", true},
        {"*.STR", "000008.strx", false},
        {"000123*.CBM", "000123 house.cbm", true},
        {"000123*.CBM", "000124.CBM", false},
        {"file.*", "file", true},
        {"?.txt", "a.txt", true},
        {"?.txt", "ab.txt", false},
        {"*.qmd", "game.lng", false},
        {"a*b*c", "aXbYbZc", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plat::WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " ~ " << c.name;
}

TEST_F(Files, ListingsAreFilteredAndInOneOrder)
{
    for (const char* name : {"b.STR", "A.str", "c.txt", "a.STR"})
        qmtest::WriteFile(root_ / "lib" / name, "12345");
    fs::create_directories(root_ / "lib" / "Sub.str");
    const auto entries = plat::ListFolder("C:\\LIB", "*.str");
    ASSERT_TRUE(entries.has_value());
    std::vector<std::string> names;
    for (const auto& e : *entries)
        names.push_back(e.name + (e.isFolder ? "/" : ""));
    EXPECT_EQ(names, (std::vector<std::string>{"A.str", "a.STR", "b.STR", "Sub.str/"}));
    EXPECT_EQ((*entries)[0].size, 5u);
    EXPECT_FALSE(plat::ListFolder("C:\\missing").has_value());
}

// The names-only listing gives the names and folder flags of the full one; a link counts as what
// it leads to, as the full listing's look at each entry sees it.
TEST_F(Files, TheNamesOnlyListingAgreesWithTheFullOne)
{
    for (const char* name : {"b.STR", "A.str", "c.txt"})
        qmtest::WriteFile(root_ / "lib" / name, "12345");
    fs::create_directories(root_ / "lib" / "Sub.str");
    fs::create_directory_symlink(root_ / "lib" / "Sub.str", root_ / "lib" / "Linked.str");
    fs::create_symlink(root_ / "lib" / "A.str", root_ / "lib" / "File.str");
    fs::create_symlink(root_ / "lib" / "gone", root_ / "lib" / "Broken.str");
    const auto listed = [](const std::optional<std::vector<plat::FolderEntry>>& entries) {
        std::vector<std::string> names;
        for (const auto& e : *entries)
            names.push_back(e.name + (e.isFolder ? "/" : ""));
        return names;
    };
    const auto full = plat::ListFolder("C:\\LIB", "*.str");
    const auto names = plat::ListFolderNames("C:\\LIB", "*.str");
    ASSERT_TRUE(full.has_value());
    ASSERT_TRUE(names.has_value());
    EXPECT_EQ(listed(names), (std::vector<std::string>{"A.str", "b.STR", "Broken.str", "File.str",
                                                       "Linked.str/", "Sub.str/"}));
    EXPECT_EQ(listed(names), listed(full));
    EXPECT_EQ((*names)[0].size, 0u);
    EXPECT_EQ((*full)[0].size, 5u);
    EXPECT_FALSE(plat::ListFolderNames("C:\\missing").has_value());
}

TEST_F(Files, FileTimesAreReadAndSet)
{
    qmtest::WriteFile(root_ / "t.bin", "x");
    ASSERT_TRUE(plat::SetFileTime("C:\\T.BIN", 946684800));
    EXPECT_EQ(*plat::GetFileTime("c:\\t.bin"), 946684800);
    EXPECT_FALSE(plat::GetFileTime("C:\\none").has_value());
}

TEST(FolderLibraryWriter, NamesFilesBySixDigitsAndThreeLetterType)
{
    qmtest::FolderLibraryWriter lib(qmtest::TempDir() / "game.qmd");
    EXPECT_EQ(qmtest::FolderLibraryWriter::FileName("STR", 8), "000008.STR");
    EXPECT_EQ(qmtest::FolderLibraryWriter::FileName("FONT", 12), "000012.FON");
    EXPECT_EQ(lib.Add("CBM", 123, "xy", "house").filename(), "000123 house.CBM");
    EXPECT_TRUE(fs::exists(lib.Folder() / "CBM" / "000123 house.CBM"));
}

} // namespace
