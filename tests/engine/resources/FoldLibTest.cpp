#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "engine/framework/EngineStrings.h"
#include "engine/framework/File.h"
#include "engine/framework/FileSpecs.h"
#include "engine/resources/FoldLib.h"
#include "platform/Fatal.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "tests/support/FatalReports.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

class FoldLib : public ::testing::Test {
protected:
    void SetUp() override
    {
        qmtest::UseTempDirAsDriveC();
        writer_.Add("CBM", 123, "house");
        writer_.Add("CBM", 7, "seven", "named"); // 000007 named.CBM
        writer_.Add("CBM", -5, "minus");
        writer_.Add("CBM", 9, ""); // empty file
        qmtest::WriteFile(writer_.Folder() / "CBM" / "Winter" / "000124.CBM", "winter");
        qmtest::WriteFile(writer_.Folder() / "CBM" / "(old)" / "000125.CBM", "old");
        qmtest::WriteFile(writer_.Folder() / "CBM" / "(old)" / "000123.CBM", "old house");
        writer_.Add("STR", 8, "Out of memory");
    }

    std::string Path() const { return qmtest::EnginePath(writer_.Folder()); }
    std::string Load(CFoldLib& lib, const char* type, int32_t id)
    {
        auto block = lib.LoadResource(type, id, false);
        if (!block)
            return "(none)";
        std::string out(static_cast<const char*>(block->Lock()), static_cast<size_t>(block->GetSize()));
        block->Unlock();
        return out;
    }

    qmtest::FolderLibraryWriter writer_{qmtest::TempDir() / "Game.qmd"};
};

std::string FatalReport(const std::function<void()>& call) { return qmtest::FatalBoxText(call); }

} // namespace

TEST_F(FoldLib, FindsResourcesInTypeAndAlternativeFolders)
{
    CFoldLib lib(Path().c_str());
    ASSERT_TRUE(lib.IsOpen());
    EXPECT_EQ(lib.GetStatus(), kLibOk);
    EXPECT_EQ(lib.GetKind(), kLibKindFolder);
    EXPECT_TRUE(lib.CanWrite());
    EXPECT_EQ(lib.GetMask(), 0xFFFFFFFFu);
    struct Case {
        const char* type;
        int32_t id;
        const char* content;
    };
    const Case cases[] = {
        {"CBM", 123, "house"}, {"cbm", 123, "house"},  {"CBM", 7, "seven"},
        {"CBM", -5, "minus"},  {"CBM", 124, "winter"}, {"CBM", 125, "(none)"},
        {"SND", 1, "(none)"},  {"CBM", 12, "(none)"},  {"STR", 8, "Out of memory"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Load(lib, c.type, c.id), c.content) << c.type << " " << c.id;
    EXPECT_EQ(lib.LoadResource("SND", 1, false), nullptr);
    EXPECT_EQ(lib.GetStatus(), kLibNotFound);
    ASSERT_EQ(lib.GetTypes().size(), 2u);
    EXPECT_EQ(lib.GetTypes()[0]->GetFolders().GetEntryCount(), 1); // "(old)" is ignored
}

TEST_F(FoldLib, EmptyFileLoadsNothingButHasSizeZero)
{
    CFoldLib lib(Path().c_str());
    EXPECT_EQ(lib.LoadResource("CBM", 9, false), nullptr);
    EXPECT_EQ(lib.GetStatus(), kLibOk);
    EXPECT_EQ(lib.GetResourceSize("CBM", 9), 0);
    EXPECT_EQ(lib.GetResourceSize("CBM", 123), 5);
    EXPECT_EQ(lib.GetResourceSize("CBM", 10), -1);
    EXPECT_EQ(lib.GetStatus(), kLibNotFound);
}

TEST_F(FoldLib, ReadsPartsAndOpensTheResourceFile)
{
    CFoldLib lib(Path().c_str());
    char buf[16] = {};
    EXPECT_EQ(lib.ReadResource("CBM", 123, buf, 1, 100, false), kLibOk);
    EXPECT_STREQ(buf, "ouse");
    EXPECT_EQ(lib.ReadResource("CBM", 123, buf, 6, 1, false), kLibBadRange);
    EXPECT_EQ(lib.ReadResource("CBM", 123, buf, -2, 3, false), kLibBadRange);
    EXPECT_EQ(lib.ReadResource("CBM", 123, buf, 5, 1, false), kLibReadError);
    EXPECT_EQ(lib.ReadResource("CBM", 1, buf, 0, 1, false), kLibNotFound);

    int32_t offset = -1, size = -1;
    auto file = lib.OpenResourceFile("cbm", 124, &offset, &size, false);
    ASSERT_TRUE(file);
    EXPECT_EQ(offset, 0);
    EXPECT_EQ(size, 6);
    EXPECT_EQ(lib.OpenResourceFile("CBM", 1, &offset, &size, false), nullptr);
    EXPECT_EQ(lib.GetStatus(), kLibNoFile);
    const auto spec = lib.GetResourceFileSpec("CBM", 7);
    ASSERT_TRUE(spec);
    EXPECT_EQ(*spec->GetFileName(), CStr("000007 named.CBM"));
}

TEST_F(FoldLib, WritesCreateFoldersFilesAndCutOldContent)
{
    CFoldLib lib(Path().c_str());
    EXPECT_EQ(lib.WriteResource("TXT", 7, "hello", 5, false, 0), kLibOk);
    EXPECT_EQ(qmtest::ReadWholeFile(writer_.Folder() / "TXT" / "000007.TXT"), "hello");
    EXPECT_EQ(Load(lib, "TXT", 7), "hello");

    const std::string fifty(50, 'x');
    ASSERT_EQ(lib.WriteResource("TXT", 7, fifty.data(), 50, false, 0), kLibOk);
    ASSERT_EQ(lib.WriteResource("TXT", 7, "0123456789", 10, false, 0), kLibOk);
    EXPECT_EQ(qmtest::ReadWholeFile(writer_.Folder() / "TXT" / "000007.TXT"), "0123456789");

    ASSERT_EQ(lib.WriteResource("CBM", -5, "new", 3, false, 0), kLibOk);
    EXPECT_EQ(qmtest::ReadWholeFile(writer_.Folder() / "CBM" / "-00005.CBM"), "new");
    // A resource found in an alternative folder is rewritten there.
    ASSERT_EQ(lib.WriteResource("CBM", 124, "spring", 6, false, 0), kLibOk);
    EXPECT_EQ(qmtest::ReadWholeFile(writer_.Folder() / "CBM" / "Winter" / "000124.CBM"), "spring");

    EXPECT_EQ(lib.WriteResource("X", 1, "x", -1, false, 0), kLibBadRange);
}

TEST_F(FoldLib, TypesThatWouldLeaveTheLibraryFolderAreRefused)
{
    qmtest::WriteFile(qmtest::TempDir() / "000001.", "outside");
    qmtest::WriteFile(qmtest::TempDir() / "Game.qmd" / "000001.", "inside");
    CFoldLib lib(Path().c_str());
    for (const char* type : {"..", "../CBM", "CBM\\..", "C:", "a/b", ""}) {
        EXPECT_EQ(lib.WriteResource(type, 1, "x", 1, false, 0), kLibNotFound) << type;
        EXPECT_EQ(lib.LoadResource(type, 1, false), nullptr) << type;
        EXPECT_EQ(lib.GetStatus(), kLibNotFound) << type;
        EXPECT_FALSE(lib.DeleteResource(type, 1)) << type;
        EXPECT_EQ(lib.GetResourceId(type, 0), -1) << type;
    }
    EXPECT_EQ(qmtest::ReadWholeFile(qmtest::TempDir() / "000001."), "outside");
    EXPECT_FALSE(fs::exists(qmtest::TempDir() / "000001.."));
}

TEST_F(FoldLib, DeletesEnumeratesAndReportsTimes)
{
    CFoldLib lib(Path().c_str());
    EXPECT_EQ(lib.GetResourceId("CBM", 0), -5);
    EXPECT_EQ(lib.GetResourceId("cbm", 1), 7);
    EXPECT_EQ(lib.GetStatus(), kLibOk);
    EXPECT_EQ(lib.GetResourceId("CBM", 4), -1); // four files in the type folder itself
    EXPECT_EQ(lib.GetStatus(), kLibNotFound);
    EXPECT_EQ(lib.GetResourceId("SND", 0), -1);
    EXPECT_EQ(lib.GetStatus(), kLibNoType);

    EXPECT_EQ(lib.SetResourceTime("CBM", 123, 1234567), 0);
    EXPECT_EQ(lib.GetResourceTime("CBM", 123), 1234567u);
    EXPECT_EQ(lib.GetResourceTime("CBM", 1), 0u);
    EXPECT_EQ(lib.GetStatus(), kLibNotFound);
    EXPECT_EQ(lib.SetResourceTime("CBM", 1, 5), 2);

    EXPECT_TRUE(lib.DeleteResource("CBM", 123));
    EXPECT_FALSE(fs::exists(writer_.Folder() / "CBM" / "000123.CBM"));
    EXPECT_FALSE(lib.HasResource("CBM", 123));
    EXPECT_FALSE(lib.DeleteResource("CBM", 123));
    EXPECT_EQ(lib.GetStatus(), kLibNotFound);
}

TEST(FoldLibTimes, EveryFailureToSetATimeIsReportedAsOne)
{
    struct Case {
        int error;
        int16_t result;
    };
    const Case cases[] = {{ENOENT, 2}, {EACCES, 10}, {EMFILE, 4}, {EPERM, 1}, {EROFS, 1}, {0, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(CFoldLib::TimeErrorResult(c.error), c.result) << c.error;
}

TEST_F(FoldLib, OpensOnlyExistingFoldersAndClosedLibrariesAnswerNothing)
{
    CFoldLib missing("C:\\nowhere");
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.GetStatus(), kLibNotOpen);
    CFoldLib empty("");
    EXPECT_EQ(empty.GetStatus(), kLibNotOpen);
    CFoldLib onFile(qmtest::EnginePath(writer_.Folder() / "STR" / "000008.STR").c_str());
    EXPECT_FALSE(onFile.IsOpen());

    CFoldLib lib(CFileSpec(Path().c_str()));
    ASSERT_TRUE(lib.IsOpen());
    lib.Close();
    EXPECT_EQ(lib.GetStatus(), kLibClosed);
    EXPECT_EQ(lib.LoadResource("CBM", 123, false), nullptr);
    EXPECT_FALSE(lib.HasResource("CBM", 123));
    EXPECT_EQ(lib.WriteResource("CBM", 1, "x", 1, false, 0), kLibNotOpen);
    EXPECT_FALSE(fs::exists(writer_.Folder() / "CBM" / "000001.CBM"));
    lib.OpenFile(nullptr); // opens the folder it holds again
    EXPECT_TRUE(lib.IsOpen());
}

TEST_F(FoldLib, ReportFlagEndsTheProgramNamingTypeAndNumber)
{
    SetEngineStrings({"", "", "", "", "", "", "Missing: "});
    CFoldLib lib(Path().c_str());
    EXPECT_EQ(FatalReport([&] { lib.LoadResource("CBM", 9, true); }), // empty: null
              "Fatal Error: Missing: CBM 9\r\rFile: foldlib  Line: 527");
    char buf[2];
    EXPECT_EQ(FatalReport([&] { lib.ReadResource("CBM", 1, buf, 0, 1, true); }),
              "Fatal Error: Missing: CBM 1\r\rFile: foldlib  Line: 470");
    EXPECT_EQ(FatalReport([&] { lib.OpenResourceFile("STR", 2, nullptr, nullptr, true); }),
              "Fatal Error: Missing: STR 2\r\rFile: foldlib  Line: 586");
}
