#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "engine/framework/File.h"
#include "engine/framework/FileSpecs.h"
#include "platform/Files.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

class File : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = qmtest::TempDir() / "c";
        fs::create_directories(root_ / "dir");
        plat::SetDrives({{'C', root_, plat::DriveKind::Fixed}});
        qmtest::WriteFile(root_ / "data.bin", "0123456789");
    }
    std::string Contents(const char* name)
    {
        std::ifstream in(root_ / name, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    fs::path root_;
    CFileSpec data_{"C:\\DATA.BIN"};
};

TEST_F(File, ConstructionAndOpeningErrors)
{
    EXPECT_EQ(CFile().GetError(), CFile::kNotOpen);
    EXPECT_EQ(CFile(nullptr, CFile::kRead, 0).GetError(), CFile::kOpenFailed);
    const CFileSpec noPath(nullptr);
    EXPECT_EQ(CFile(&noPath, CFile::kRead, 0).GetError(), CFile::kNoPath);
    const CFileSpec missing("C:\\missing.bin");
    EXPECT_EQ(CFile(&missing, CFile::kRead, 0).GetError(), CFile::kOpenFailed);
    EXPECT_FALSE(fs::exists(root_ / "missing.bin")); // never created
    const CFileSpec folder("C:\\dir");
    EXPECT_EQ(CFile(&folder, CFile::kRead, 0).GetError(), CFile::kOpenFailed);

    CFile file;
    EXPECT_EQ(file.Open(&noPath, CFile::kRead, 0), CFile::kOpenFailed);
    EXPECT_EQ(file.Open(nullptr, CFile::kRead, 0), CFile::kOpenFailed);
    EXPECT_EQ(file.Open(&data_, CFile::kRead, 7), CFile::kOk);
    EXPECT_EQ(file.GetFlag(), 7);
    // A second open keeps the file that is open.
    EXPECT_EQ(file.Open(&missing, CFile::kRead, 0), CFile::kOpenFailed);
    EXPECT_EQ(file.GetLength(), 10);
    file.Close();
    EXPECT_EQ(file.GetError(), CFile::kOk);
    EXPECT_FALSE(file.IsOpen());
}

TEST_F(File, ReadsAtPositionsAndAtTheEnd)
{
    CFile file(&data_, CFile::kRead, 0);
    ASSERT_EQ(file.GetError(), CFile::kOk);
    EXPECT_EQ(file.GetTransferred(), -1);
    char buf[16] = {};
    EXPECT_EQ(file.Read(buf, 3, 2), CFile::kOk);
    EXPECT_EQ(std::string(buf, 3), "234");
    EXPECT_EQ(file.GetPos(), 5);
    EXPECT_EQ(file.Read(buf, 10), CFile::kOk); // fewer bytes than asked is still success
    EXPECT_EQ(file.GetTransferred(), 5);
    EXPECT_EQ(std::string(buf, 5), "56789");
    EXPECT_EQ(file.Read(buf, 4), CFile::kShort);
    EXPECT_EQ(file.GetTransferred(), 0);
    std::memset(buf, 0, sizeof buf);
    EXPECT_EQ(file.Read(buf, -1, 0), CFile::kOk); // -1: the whole length
    EXPECT_EQ(file.GetTransferred(), 10);
    EXPECT_STREQ(buf, "0123456789");
    EXPECT_EQ(file.Read(buf, -5), CFile::kReadFailed);
    // Writing to a file opened for reading fails.
    EXPECT_EQ(file.Write("x", 1, 0), CFile::kWriteFailed);
}

TEST_F(File, ClosedFilesTouchNothing)
{
    CFile file;
    char buf[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(file.Read(buf, 4), CFile::kNotOpen);
    EXPECT_EQ(std::string(buf, 4), "abcd");
    EXPECT_EQ(file.Write(buf, 4), CFile::kNotOpen);
    EXPECT_EQ(file.Seek(0), CFile::kNotOpen);
    EXPECT_EQ(file.GetPos(), -1);
    EXPECT_EQ(file.GetError(), CFile::kNotOpen);
    EXPECT_EQ(file.GetLength(), -1);
    EXPECT_EQ(file.SetLength(0), 1);
}

TEST_F(File, WritesSeeksAndTruncates)
{
    CFile file(&data_, CFile::kReadWrite, 0);
    ASSERT_EQ(file.GetError(), CFile::kOk);
    EXPECT_EQ(file.Write("ab", 2, 3), CFile::kOk);
    EXPECT_EQ(file.GetTransferred(), 2);
    EXPECT_EQ(file.Write("XYZ", 3), CFile::kOk);
    EXPECT_EQ(file.Write("tail", 4, 12), CFile::kOk); // beyond the end: the gap is zeros
    EXPECT_EQ(file.GetLength(), 16);
    EXPECT_EQ(Contents("data.bin"), std::string("012abXYZ89\0\0tail", 16));

    // A failed seek skips the transfer and leaves error 9.
    char buf[2] = {'q', 'q'};
    EXPECT_EQ(file.Seek(-4), CFile::kSeekFailed);

    // Shortening behind the position leaves the position at the new end; lengthening
    // returns to the old position.
    ASSERT_EQ(file.Seek(12), CFile::kOk);
    EXPECT_EQ(file.SetLength(0), 0);
    EXPECT_EQ(file.GetLength(), 0);
    EXPECT_EQ(file.GetPos(), 0);
    EXPECT_EQ(file.Read(buf, 2), CFile::kShort);
    EXPECT_EQ(file.SetLength(8), 0);
    EXPECT_EQ(file.GetLength(), 8);
    EXPECT_EQ(file.GetPos(), 0);
    ASSERT_EQ(file.Seek(5), CFile::kOk);
    EXPECT_EQ(file.SetLength(-1), 0); // negative: the end moves to the position
    EXPECT_EQ(file.GetLength(), 5);
}

TEST_F(File, WriteOnlyFilesCannotBeRead)
{
    CFile file(&data_, CFile::kWrite, 0);
    ASSERT_EQ(file.GetError(), CFile::kOk);
    char buf[4];
    EXPECT_EQ(file.Read(buf, 4), CFile::kReadFailed);
    EXPECT_EQ(file.Write("WXYZ", 4), CFile::kOk);
    file.Close();
    EXPECT_EQ(Contents("data.bin"), "WXYZ456789");
}

} // namespace
