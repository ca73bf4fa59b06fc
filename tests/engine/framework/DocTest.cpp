#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "engine/framework/ApplHooks.h"
#include "engine/framework/Doc.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kType = 0x514D3347; // "QM3G"

using Bytes = std::vector<uint8_t>;

class Doc : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = qmtest::TempDir() / "c";
        fs::create_directories(root_ / "saves");
        plat::SetDrives({{'C', root_, plat::DriveKind::Fixed}});
    }
    Bytes Contents(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    void Put(const fs::path& path, const Bytes& bytes)
    {
        qmtest::WriteFile(path, std::string(bytes.begin(), bytes.end()));
    }
    std::unique_ptr<CDoc> Document(const char* path = "C:\\saves\\game.qm3")
    {
        return std::make_unique<CDoc>("Saved games", "*.qm3", "My trip", std::make_unique<CFileSpec>(path));
    }
    // The names in the saves folder: a finished save leaves no temporary file behind.
    std::vector<std::string> Saves()
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(root_ / "saves"))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path Target() const { return root_ / "saves" / "game.qm3"; }
    fs::path root_;
};

// Every typed value once, and the bytes they make.
void WriteEverything(CDoc& d)
{
    CMemory block(3);
    block.PutBytes("xyz", 3, 0);
    d.WriteHeader(kType, 257);
    d.WriteByte(0xAB).WriteShort(-2).WriteLong(0x01020304).WriteDouble(1.5).WriteFloat(1.5f);
    d.WritePoint(CPoint(3, 4)).WriteRect(CRect(1, 2, 3, 4));
    d.WriteString(CStr("abc")).WriteString(CStr()).WriteCounted("\x01\x02", 2).WriteBlock(block);
}

const Bytes kEverything = {
    'V',  'O',  'R',  'T',  0x51, 0x4D, 0x33, 0x47, 0x01, 0x01,    // header, version 257
    0xAB, 0xFF, 0xFE, 0x01, 0x02, 0x03, 0x04,                      // byte, short, long
    0x3F, 0xF8, 0,    0,    0,    0,    0,    0,                   // double 1.5, big-endian
    0,    0,    0,    0,    0,    0,    0xF8, 0x3F,                // float 1.5, little-endian double
    0,    3,    0,    4,                                           // point: h, v
    0,    1,    0,    2,    0,    3,    0,    4,                   // rect: top, left, bottom, right
    0,    0,    0,    3,    'a',  'b',  'c',  0,    0,    0,    0, // strings
    0,    0,    0,    2,    1,    2,    0,    0,    0,    3,    'x', 'y', 'z', // counted bytes, block
};

TEST_F(Doc, RoundTripsEveryTypedValueByteForByte)
{
    auto doc = Document();
    ASSERT_EQ(doc->OpenForSave(0, nullptr), CDoc::kOk);
    WriteEverything(*doc);
    EXPECT_EQ(doc->GetByteCount(), static_cast<int32_t>(kEverything.size()));
    ASSERT_EQ(doc->CommitSave(), CDoc::kOk);
    EXPECT_EQ(Contents(Target()), kEverything);

    ASSERT_EQ(doc->OpenForLoad(), CDoc::kOk);
    ASSERT_EQ(doc->ReadHeader(kType, 257, 257), CDoc::kOk);
    EXPECT_EQ(doc->GetVersion(), 257);
    uint8_t b = 0;
    int16_t s = 0;
    int32_t l = 0;
    double dbl = 0;
    float f = 0;
    CPoint p;
    CRect r;
    CStr abc, empty("not empty");
    char counted[8] = {};
    int32_t stored = -1;
    CMemory block;
    doc->ReadByte(b).ReadShort(s).ReadLong(l).ReadDouble(dbl).ReadFloat(f).ReadPoint(p).ReadRect(r);
    doc->ReadString(abc).ReadString(empty).ReadCounted(counted, sizeof counted, &stored).ReadBlock(block);
    ASSERT_EQ(doc->GetError(), CDoc::kOk);
    EXPECT_EQ(b, 0xAB);
    EXPECT_EQ(s, -2);
    EXPECT_EQ(l, 0x01020304);
    EXPECT_EQ(dbl, 1.5);
    EXPECT_EQ(f, 1.5f);
    EXPECT_EQ(p, CPoint(3, 4));
    EXPECT_EQ(r, CRect(1, 2, 3, 4));
    EXPECT_STREQ(abc.GetText(), "abc");
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(stored, 2);
    EXPECT_EQ(counted[1], 2);
    ASSERT_EQ(block.GetSize(), 3);
    char xyz[3];
    block.GetBytes(xyz, 3, 0);
    EXPECT_EQ(std::string(xyz, 3), "xyz");
}

TEST_F(Doc, HeaderChecks)
{
    struct Case {
        const char* name;
        Bytes file;
        int16_t error;
    };
    const Bytes good = {'V', 'O', 'R', 'T', 0x51, 0x4D, 0x33, 0x47, 0x01, 0x00};
    auto with = [&](size_t at, uint8_t v) {
        Bytes b = good;
        b[at] = v;
        return b;
    };
    const Case cases[] = {
        {"lowest version", with(9, 0x00), CDoc::kOk},
        {"highest version", with(9, 0x05), CDoc::kOk},
        {"below the range", with(8, 0x00), CDoc::kBadVersion},
        {"above the range", with(9, 0x06), CDoc::kBadVersion},
        {"bad magic", with(0, 'W'), CDoc::kBadMagic},
        {"other type", with(7, 'H'), CDoc::kWrongType},
        {"shorter than a header", Bytes(good.begin(), good.begin() + 9), CDoc::kStreamFailure},
    };
    for (const Case& c : cases) {
        Put(Target(), c.file);
        auto doc = Document();
        ASSERT_EQ(doc->OpenForLoad(), CDoc::kOk) << c.name;
        EXPECT_EQ(doc->ReadHeader(kType, 0x100, 0x105), c.error) << c.name;
    }
    auto missing = Document("C:\\saves\\none.qm3");
    EXPECT_EQ(missing->OpenForLoad(), CDoc::kStreamFailure);
    EXPECT_EQ(missing->ReadHeader(kType, 0, 9), CDoc::kStreamFailure);
}

TEST_F(Doc, HostileLengthsAreRefusedAndNothingIsRead)
{
    struct Case {
        const char* name;
        int32_t length;
    };
    const Case cases[] = {{"negative", -1}, {"above the capacity", 9}, {"above the file", 1000}};
    for (const Case& c : cases) {
        const uint32_t n = static_cast<uint32_t>(c.length);
        Bytes file = {static_cast<uint8_t>(n >> 24), static_cast<uint8_t>(n >> 16),
                      static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)};
        file.resize(file.size() + 20, 'q');
        for (int kind = 0; kind < 3; ++kind) {
            Put(Target(), file);
            auto doc = Document();
            ASSERT_EQ(doc->OpenForLoad(), CDoc::kOk);
            char buffer[8] = {};
            CStr text("kept");
            CMemory block(2);
            if (kind == 0)
                doc->ReadCounted(buffer, sizeof buffer);
            else if (kind == 1 && c.length != 9) // a string has no capacity
                doc->ReadString(text);
            else if (kind == 2 && c.length != 9)
                doc->ReadBlock(block);
            else
                continue;
            EXPECT_EQ(doc->GetError(), CDoc::kStreamFailure) << c.name << " kind " << kind;
            EXPECT_EQ(buffer[0], 0) << c.name;
            EXPECT_STREQ(text.GetText(), "kept") << c.name;
            EXPECT_EQ(block.GetSize(), 2) << c.name;
        }
    }
}

TEST_F(Doc, ErrorsLatchAndStopTheByteCount)
{
    Put(Target(), Bytes{1, 2});
    auto doc = Document();
    ASSERT_EQ(doc->OpenForLoad(), CDoc::kOk);
    // The file is open for reading only, so the first write fails.
    doc->WriteLong(7);
    EXPECT_EQ(doc->GetError(), CDoc::kStreamFailure);
    EXPECT_EQ(doc->GetByteCount(), 4);
    doc->WriteLong(7).WriteString(CStr("abc"));
    EXPECT_EQ(doc->GetByteCount(), 4);
    int32_t v = 42;
    doc->ReadLong(v);
    EXPECT_EQ(v, 42);
    doc->SetError(CDoc::kOk);
    doc->ReadLong(v); // only two bytes in the file
    EXPECT_EQ(doc->GetError(), CDoc::kStreamFailure);
    EXPECT_EQ(v, 42);
}

TEST_F(Doc, WithOutputOffWritesOnlyCount)
{
    Put(Target(), Bytes{9, 9, 9});
    auto doc = Document();
    ASSERT_EQ(doc->OpenForSave(0, nullptr), CDoc::kOk);
    doc->SetOutput(false);
    doc->WriteHeader(kType, 1);
    doc->WriteLong(5).WriteString(CStr("hello"));
    EXPECT_EQ(doc->GetByteCount(), 10 + 4 + 9);
    doc->CloseFile();
    EXPECT_EQ(Contents(Target()), (Bytes{9, 9, 9}));
    EXPECT_EQ(Saves(), std::vector<std::string>{"game.qm3"});
}

TEST_F(Doc, ASaveReplacesTheWholeFileOnlyWhenCommitted)
{
    // The old file is longer than the new document: no old tail may remain.
    Put(Target(), Bytes(200, 0xEE));
    auto doc = Document();
    ASSERT_EQ(doc->OpenForSave(0, nullptr), CDoc::kOk);
    WriteEverything(*doc);
    EXPECT_EQ(Contents(Target()), Bytes(200, 0xEE)); // untouched until the commit
    ASSERT_EQ(doc->CommitSave(), CDoc::kOk);
    EXPECT_EQ(Contents(Target()), kEverything);
    EXPECT_EQ(Saves(), std::vector<std::string>{"game.qm3"});

    // A document saved again writes to the same file, without a dialog.
    ASSERT_EQ(doc->OpenForSave(0, nullptr), CDoc::kOk);
    doc->WriteHeader(kType, 2);
    ASSERT_EQ(doc->CommitSave(), CDoc::kOk);
    EXPECT_EQ(Contents(Target()).size(), 10u);
    EXPECT_TRUE(plat::GetScriptedDialogs().FileLog().empty());
}

TEST_F(Doc, ASaveThatIsNotCommittedLeavesThePreviousFile)
{
    Put(Target(), Bytes{1, 2, 3});
    struct Case {
        const char* name;
        void (*end)(CDoc&);
        int16_t error;
    };
    const Case cases[] = {
        {"failed write", [](CDoc& d) { d.SetError(CDoc::kStreamFailure), d.CommitSave(); },
         CDoc::kStreamFailure},
        {"file closed", [](CDoc& d) { d.CloseFile(), d.CommitSave(); }, CDoc::kOk},
        {"opened again", [](CDoc& d) { d.OpenForLoad(); }, CDoc::kOk},
    };
    for (const Case& c : cases) {
        auto doc = Document();
        ASSERT_EQ(doc->OpenForSave(0, nullptr), CDoc::kOk);
        WriteEverything(*doc);
        c.end(*doc);
        EXPECT_EQ(doc->GetError(), c.error) << c.name;
        EXPECT_EQ(Contents(Target()), (Bytes{1, 2, 3})) << c.name;
        EXPECT_EQ(Saves(), std::vector<std::string>{"game.qm3"}) << c.name;
    }
    {
        auto doc = Document();
        ASSERT_EQ(doc->OpenForSave(0, nullptr), CDoc::kOk);
        WriteEverything(*doc);
    } // destroyed without a commit
    EXPECT_EQ(Contents(Target()), (Bytes{1, 2, 3}));
    EXPECT_EQ(Saves(), std::vector<std::string>{"game.qm3"});
}

using qmtest::FileSizeLimit;

TEST_F(Doc, ASaveFailingHalfWayOnAFullDiskKeepsThePreviousSave)
{
    const Bytes previous(3000, 0x5A);
    Put(Target(), previous);
    auto doc = Document();
    ASSERT_EQ(doc->OpenForSave(0, nullptr), CDoc::kOk);
    int16_t error;
    {
        const FileSizeLimit full(1024);
        doc->WriteHeader(kType, 1);
        const Bytes chunk(500, 0x11);
        for (int i = 0; i < 10; ++i)
            doc->WriteCounted(chunk.data(), static_cast<int32_t>(chunk.size()));
        error = doc->CommitSave();
    }
    EXPECT_EQ(error, CDoc::kStreamFailure);
    EXPECT_EQ(Contents(Target()), previous);
    EXPECT_EQ(Saves(), std::vector<std::string>{"game.qm3"});
}

TEST_F(Doc, AFailedReplacementIsReportedAndCleanedUp)
{
    // The target's name is taken by a folder that cannot be replaced by a file.
    fs::create_directories(Target() / "inside");
    auto doc = Document();
    ASSERT_EQ(doc->OpenForSave(0, nullptr), CDoc::kOk);
    doc->WriteHeader(kType, 1);
    EXPECT_EQ(doc->CommitSave(), CDoc::kStreamFailure);
    EXPECT_TRUE(fs::is_directory(Target() / "inside"));
    EXPECT_EQ(Saves(), std::vector<std::string>{"game.qm3"});

    // A save into a folder that does not exist cannot even start.
    auto lost = Document("C:\\nowhere\\game.qm3");
    EXPECT_EQ(lost->OpenForSave(0, nullptr), CDoc::kStreamFailure);
}

TEST_F(Doc, WithoutAFileTheSaveDialogChoosesOneWithEveryWindowPaused)
{
    std::vector<std::string> calls;
    GetApplHooks().pauseAllWindows = [&] { calls.push_back("pause"); };
    GetApplHooks().restoreAllWindows = [&] { calls.push_back("restore"); };
    plat::ScriptedDialogs& dialogs = plat::GetScriptedDialogs();

    CDoc doc("Saved games", "*.qm3", "My trip", nullptr);
    EXPECT_STREQ(doc.GetFileName()->GetText(), "My trip");
    dialogs.QueueFileCancel();
    EXPECT_EQ(doc.OpenForSave(0, "Save the game"), CDoc::kNoFileChosen);
    EXPECT_FALSE(doc.HasFileSpec());

    dialogs.QueueFile("C:\\saves\\quillmark.qm3");
    ASSERT_EQ(doc.OpenForSave(0, "Save the game"), CDoc::kOk);
    doc.WriteHeader(kType, 1);
    ASSERT_EQ(doc.CommitSave(), CDoc::kOk);
    EXPECT_EQ(Contents(root_ / "saves" / "quillmark.qm3").size(), 10u);
    EXPECT_STREQ(doc.GetFileName()->GetText(), "quillmark.qm3");

    EXPECT_EQ(calls, (std::vector<std::string>{"pause", "restore", "pause", "restore"}));
    ASSERT_EQ(dialogs.FileLog().size(), 2u);
    const plat::FileDialogRequest& request = dialogs.FileLog()[1];
    EXPECT_EQ(request.kind, plat::FileDialogKind::Save);
    EXPECT_EQ(request.title, "Save the game");
    EXPECT_EQ(request.fileName, "My trip");
    ASSERT_EQ(request.filters.size(), 1u);
    EXPECT_EQ(request.filters[0].description, "Saved games");
    EXPECT_EQ(request.filters[0].pattern, "*.qm3");
    EXPECT_EQ(request.defaultExtension, "qm3");
}

TEST_F(Doc, SetFileSpecOpensTheNewFileForSaving)
{
    auto doc = Document();
    ASSERT_EQ(doc->SetFileSpec(std::make_unique<CFileSpec>("C:\\saves\\other.qm3")), CDoc::kOk);
    doc->WriteHeader(kType, 3);
    ASSERT_EQ(doc->CommitSave(), CDoc::kOk);
    EXPECT_EQ(Saves(), std::vector<std::string>{"other.qm3"});
    EXPECT_STREQ(doc->GetFileName()->GetText(), "other.qm3");
}

} // namespace
