#include <gtest/gtest.h>

#include <cstring>

#include "engine/framework/EngineStrings.h"
#include "engine/framework/File.h"
#include "engine/framework/FileSpecs.h"
#include "engine/resources/BigEndian.h"
#include "engine/resources/MegaLib.h"
#include "platform/Fatal.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "tests/support/FatalReports.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;
using qmtest::Bytes;

namespace {

class MegaLib : public ::testing::Test {
protected:
    void SetUp() override { qmtest::UseTempDirAsDriveC(); }

    // A library of three types; CBM 5 is absent (size 0), CBM 50 is 50 bytes 0..49.
    std::string Write(uint16_t version = 20, uint32_t stamp = 0, const char* name = "data.qmd")
    {
        std::vector<uint8_t> fifty(50);
        for (size_t i = 0; i < fifty.size(); ++i)
            fifty[i] = static_cast<uint8_t>(i);
        qmtest::WriteMegaLibrary(qmtest::TempDir() / name,
                                 {{"CBM", 5, {}},
                                  {"CBM", 50, fifty},
                                  {"CBM", 123, Bytes("house")},
                                  {"SND", 1, Bytes("sound")},
                                  {"STR", 8, Bytes("Out of memory")}},
                                 version, stamp);
        return qmtest::EnginePath(qmtest::TempDir() / name);
    }
};

// The text of the fatal report that the call ends the program with ("" when it returns).
std::string FatalReport(const std::function<void()>& call) { return qmtest::FatalBoxText(call); }

} // namespace

TEST_F(MegaLib, OpensAndLoadsWholeResources)
{
    CMegaLib lib(Write().c_str());
    ASSERT_TRUE(lib.IsOpen());
    EXPECT_EQ(lib.GetStatus(), kLibOk);
    EXPECT_EQ(lib.GetKind(), kLibKindSingleFile);
    EXPECT_FALSE(lib.CanWrite());
    EXPECT_TRUE(lib.CanDelete());
    // No identity record: every mask, version 0, id 0, no name.
    EXPECT_EQ(lib.GetMask(), 0xFFFFFFFFu);
    EXPECT_EQ(lib.GetVersion(), 0u);
    EXPECT_EQ(lib.GetId(), 0);
    EXPECT_TRUE(lib.GetName().IsEmpty());

    auto block = lib.LoadResource("cbm", 123, false); // types are found regardless of case
    ASSERT_TRUE(block);
    EXPECT_EQ(lib.GetStatus(), kLibOk);
    EXPECT_STREQ(block->GetType(), "cbm");
    EXPECT_EQ(block->GetId(), 123);
    ASSERT_EQ(block->GetSize(), 5);
    EXPECT_EQ(std::memcmp(block->Lock(), "house", 5), 0);
    block->Unlock();
    EXPECT_EQ(block->GetLockCount(), 0);
    EXPECT_EQ(lib.GetResourceSize("STR", 8), 13);
    EXPECT_TRUE(lib.HasResource("Snd", 1));
}

TEST_F(MegaLib, AbsentResourcesAndTypesGiveTheirStatus)
{
    CMegaLib lib(Write().c_str());
    EXPECT_FALSE(lib.HasResource("CBM", 5)); // size 0
    EXPECT_EQ(lib.LoadResource("CBM", 5, false), nullptr);
    EXPECT_EQ(lib.GetStatus(), kLibNotFound);
    EXPECT_EQ(lib.GetResourceSize("CBM", 5), -1);
    EXPECT_EQ(lib.GetStatus(), kLibNotFound);
    EXPECT_EQ(lib.LoadResource("ZZZ", 1, false), nullptr); // sorts after every type
    EXPECT_EQ(lib.GetStatus(), kLibNotFound);
    EXPECT_EQ(lib.GetResourceFileSpec("CBM", 6), nullptr);
    EXPECT_EQ(lib.GetStatus(), kLibNotFound);
    EXPECT_EQ(lib.GetResourceTime("CBM", 6), 0u);
    EXPECT_EQ(lib.WriteResource("CBM", 6, "x", 1, false, 0), kLibUnsupported);
    EXPECT_EQ(lib.GetStatus(), kLibUnsupported);
    EXPECT_EQ(lib.SetResourceTime("CBM", 123, 5), -1);
    EXPECT_EQ(lib.GetStatus(), kLibUnsupported);
}

TEST_F(MegaLib, ReadsPartsWithinTheResource)
{
    CMegaLib lib(Write().c_str());
    struct Case {
        int32_t offset, count;
        int16_t status;
        int32_t first, copied;
    };
    const Case cases[] = {
        {10, 100, kLibOk, 10, 40},     {0, 50, kLibOk, 0, 50},       {49, 1, kLibOk, 49, 1},
        {60, 10, kLibBadRange, 0, 0},  {-1, 10, kLibBadRange, 0, 0}, {0, -5, kLibBadRange, 0, 0},
        {50, 10, kLibReadError, 0, 0}, // nothing left at the very end
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> buf(100, 0xEE);
        EXPECT_EQ(lib.ReadResource("CBM", 50, buf.data(), c.offset, c.count, false), c.status) << c.offset;
        for (int32_t i = 0; i < c.copied; ++i)
            ASSERT_EQ(buf[static_cast<size_t>(i)], c.first + i) << c.offset;
        EXPECT_EQ(buf[static_cast<size_t>(c.copied)], 0xEE) << c.offset;
    }
    char buf[8];
    EXPECT_EQ(lib.ReadResource("CBM", 5, buf, 0, 1, false), kLibNotFound);
}

TEST_F(MegaLib, OpensAFilePositionedAtTheResource)
{
    const std::string path = Write();
    CMegaLib lib(path.c_str());
    int32_t offset = -1, size = -1;
    std::unique_ptr<CFile> file = lib.OpenResourceFile("SND", 1, &offset, &size, false);
    ASSERT_TRUE(file);
    EXPECT_EQ(lib.GetStatus(), kLibOk);
    EXPECT_EQ(size, 5);
    EXPECT_EQ(file->GetPos(), offset);
    char buf[5];
    ASSERT_EQ(file->Read(buf, 5), 0);
    EXPECT_EQ(std::string(buf, 5), "sound");
    EXPECT_EQ(lib.OpenResourceFile("SND", 2, &offset, nullptr, false), nullptr);
    EXPECT_EQ(lib.GetStatus(), kLibNotFound);

    const auto spec = lib.GetResourceFileSpec("snd", 1);
    ASSERT_TRUE(spec);
    EXPECT_TRUE(plat::NamesEqualNoCase(spec->GetPath(), path));
}

TEST_F(MegaLib, EnumeratesEntriesOfATypeInNumberOrder)
{
    CMegaLib lib(Write().c_str());
    EXPECT_EQ(lib.GetResourceId("CBM", 0), 5); // absent entries count
    EXPECT_EQ(lib.GetResourceId("cbm", 2), 123);
    EXPECT_EQ(lib.GetStatus(), kLibOk);
    EXPECT_EQ(lib.GetResourceId("CBM", 3), -1);
    EXPECT_EQ(lib.GetStatus(), kLibNotFound);
    EXPECT_EQ(lib.GetResourceId("CBM", -1), -1);
    EXPECT_EQ(lib.GetResourceId("XYZ", 0), -1);
    EXPECT_EQ(lib.GetStatus(), kLibNoType);
}

TEST_F(MegaLib, TimeStampIsTheHeadersOrElseTheFilesTime)
{
    struct Case {
        uint16_t version;
        uint32_t stamp;
        uint32_t expected;
    };
    const Case cases[] = {{19, 777, 1000000}, {20, 0, 1000000}, {20, 123456789, 123456789}};
    for (const Case& c : cases) {
        const std::string path = Write(c.version, c.stamp);
        ASSERT_TRUE(plat::SetFileTime(path, 1000000));
        CMegaLib lib(path.c_str());
        ASSERT_TRUE(lib.IsOpen());
        EXPECT_EQ(lib.GetResourceTime("CBM", 123), c.expected) << c.version;
        EXPECT_EQ(lib.GetResourceTime("STR", 8), c.expected) << c.version;
        EXPECT_EQ(lib.GetResourceTime("STR", 9), 0u) << c.version;
    }
}

TEST_F(MegaLib, DeletedResourcesStayDeletedAfterReopening)
{
    const std::string path = Write();
    {
        CMegaLib lib(path.c_str());
        ASSERT_TRUE(lib.DeleteResource("cbm", 123));
        EXPECT_EQ(lib.GetStatus(), kLibOk);
        EXPECT_FALSE(lib.HasResource("CBM", 123));
        EXPECT_FALSE(lib.DeleteResource("CBM", 123));
        EXPECT_EQ(lib.GetStatus(), kLibNotFound);
        EXPECT_TRUE(lib.HasResource("SND", 1)); // the file still reads
        EXPECT_NE(lib.LoadResource("SND", 1, false), nullptr);
    }
    CMegaLib again(path.c_str());
    ASSERT_TRUE(again.IsOpen());
    EXPECT_FALSE(again.HasResource("CBM", 123));
    EXPECT_EQ(again.GetResourceId("CBM", 2), 123); // the entry stays, marked absent
    EXPECT_TRUE(again.HasResource("CBM", 50));
    EXPECT_EQ(again.GetResourceSize("STR", 8), 13);
}

TEST_F(MegaLib, AFailedWriteBackIsNotReportedAsSuccess)
{
    const std::string path = Write();
    CMegaLib lib(path.c_str());
    // A device that takes no bytes stands in the library file's place under the open library:
    // it opens again for reading and for writing, but the entry cannot be written back.
    fs::remove(qmtest::TempDir() / "data.qmd");
    fs::create_symlink("/dev/full", qmtest::TempDir() / "data.qmd");
    EXPECT_FALSE(lib.DeleteResource("CBM", 123));
    EXPECT_EQ(lib.GetStatus(), kLibWriteError);
    EXPECT_FALSE(lib.HasResource("CBM", 123));
    EXPECT_TRUE(lib.IsOpen());
}

TEST_F(MegaLib, MissingOrCorruptFilesDoNotOpen)
{
    const std::string good = Write();
    const auto bytes = qmtest::ReadWholeFile(qmtest::TempDir() / "data.qmd");
    struct Case {
        const char* what;
        std::string content;
        int16_t status;
    };
    std::string noTypes = bytes;
    noTypes[2] = noTypes[3] = 0;
    std::string offsetPastEnd = bytes;
    PutBigEndian32(reinterpret_cast<uint8_t*>(&offsetPastEnd[12]), static_cast<uint32_t>(bytes.size()));
    const Case cases[] = {
        {"empty", "", kLibReadError},
        {"truncated header", bytes.substr(0, 10), kLibReadError},
        {"truncated directory", bytes.substr(0, bytes.size() - 7), kLibReadError},
        {"type count 0", noTypes, kLibNotOpen},
        {"directory past the end", offsetPastEnd, kLibReadError},
    };
    for (const Case& c : cases) {
        qmtest::WriteFile(qmtest::TempDir() / "bad.qmd", c.content);
        CMegaLib lib(qmtest::EnginePath(qmtest::TempDir() / "bad.qmd").c_str());
        EXPECT_FALSE(lib.IsOpen()) << c.what;
        EXPECT_EQ(lib.GetStatus(), c.status) << c.what;
        EXPECT_EQ(lib.LoadResource("CBM", 123, false), nullptr) << c.what;
        EXPECT_EQ(lib.GetResourceSize("CBM", 123), -1) << c.what;
        EXPECT_FALSE(lib.HasResource("CBM", 123)) << c.what;
    }

    CMegaLib missing("C:\\nothing.qmd");
    EXPECT_EQ(missing.GetStatus(), kLibNoFile);
    CMegaLib noPath(static_cast<const char*>(nullptr));
    EXPECT_EQ(noPath.GetStatus(), kLibNotOpen);
    fs::create_directories(qmtest::TempDir() / "folder.qmd");
    CMegaLib folder(CFileSpec("C:\\folder.qmd"));
    EXPECT_EQ(folder.GetStatus(), kLibNotOpen);
    EXPECT_FALSE(folder.IsOpen());
}

TEST_F(MegaLib, ClosedLibrariesAnswerNothing)
{
    CMegaLib lib(Write().c_str());
    lib.Close();
    EXPECT_EQ(lib.GetStatus(), kLibClosed);
    EXPECT_FALSE(lib.IsOpen());
    EXPECT_EQ(lib.LoadResource("CBM", 123, false), nullptr);
    EXPECT_EQ(lib.GetStatus(), kLibClosed);
    EXPECT_FALSE(lib.DeleteResource("CBM", 123));
    EXPECT_EQ(lib.GetResourceId("CBM", 0), -1);
    char buf[4];
    EXPECT_EQ(lib.ReadResource("CBM", 123, buf, 0, 4, false), kLibClosed);
}

TEST_F(MegaLib, ReportFlagEndsTheProgramNamingTypeAndNumber)
{
    SetEngineStrings({"", "", "", "", "", "", "Resource not found: "});
    CMegaLib lib(Write().c_str());
    EXPECT_EQ(FatalReport([&] { lib.LoadResource("CBM", 99, true); }),
              "Fatal Error: Resource not found: CBM 99\r\rFile: MegaLib  Line: 408");
    char buf[4];
    EXPECT_EQ(FatalReport([&] { lib.ReadResource("SND", -2, buf, 0, 4, true); }),
              "Fatal Error: Resource not found: SND -2\r\rFile: MegaLib  Line: 616");
    EXPECT_EQ(FatalReport([&] { lib.OpenResourceFile("SND", 3, nullptr, nullptr, true); }),
              "Fatal Error: Resource not found: SND 3\r\rFile: MegaLib  Line: 474");
    EXPECT_EQ(FatalReport([&] { lib.LoadResource("CBM", 123, true); }), "");
}
