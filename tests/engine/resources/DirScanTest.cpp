#include <gtest/gtest.h>

#include "engine/framework/FileSpecs.h"
#include "engine/resources/DirScan.h"
#include "platform/Files.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Names(const CDirScan& scan, bool folders)
{
    std::vector<std::string> out;
    const int32_t n = folders ? scan.GetFolderCount() : scan.GetFileCount();
    for (int32_t i = 0; i < n; ++i)
        out.push_back((folders ? scan.GetFolder(i) : scan.GetFile(i))->GetText());
    return out;
}

class DirScan : public ::testing::Test {
protected:
    void SetUp() override
    {
        qmtest::UseTempDirAsDriveC();
        for (const char* f : {"a.qmd", "b.txt", "c.QMD"})
            qmtest::WriteFile(qmtest::TempDir() / "discs" / f, "x");
        fs::create_directories(qmtest::TempDir() / "discs" / "x.qmd");
        fs::create_directories(qmtest::TempDir() / "discs" / "y");
    }
};

} // namespace

TEST_F(DirScan, ListsMatchingFilesAndEverySubFolder)
{
    const CDirScan scan("C:\\discs", 0, 0, "*.qmd");
    EXPECT_EQ(Names(scan, false), (std::vector<std::string>{"a.qmd", "c.QMD"}));
    EXPECT_EQ(Names(scan, true), (std::vector<std::string>{"x.qmd", "y"}));
    EXPECT_EQ(scan.GetFile(2), nullptr);
    EXPECT_EQ(scan.GetFolder(-1), nullptr);

    const CDirScan all(CFileSpec("C:\\discs\\"), 0, 0, nullptr); // a backslash at the end
    EXPECT_EQ(Names(all, false), (std::vector<std::string>{"a.qmd", "b.txt", "c.QMD"}));
    EXPECT_EQ(Names(all, true), (std::vector<std::string>{"x.qmd", "y"}));
}

TEST_F(DirScan, MissingFolderIsEmptyAndTheCurrentFolderNeverChanges)
{
    ASSERT_TRUE(plat::SetCurrentFolder("C:\\discs\\y"));
    const CDirScan missing("C:\\nowhere", 0, 0, "*.*");
    EXPECT_EQ(missing.GetFileCount(), 0);
    EXPECT_EQ(missing.GetFolderCount(), 0);
    const CDirScan scan("C:\\discs", 0, 0, "*.*");
    EXPECT_EQ(scan.GetFileCount(), 3);
    EXPECT_EQ(plat::GetCurrentFolder(), "C:\\discs\\y");
}
