#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>

#include "engine/framework/EngineStrings.h"
#include "engine/framework/File.h"
#include "engine/framework/FileSpecs.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/MegaLib.h"
#include "platform/Fatal.h"
#include "platform/MessageBox.h"
#include "tests/support/FatalReports.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace {

// A library held in memory: enough to watch the manager's order, masks and statuses.
class FakeLib : public CResLib {
public:
    FakeLib(const char* name, uint32_t mask = 0xFFFFFFFF, int32_t id = 0, uint32_t version = 0)
    {
        name_ = CStr(name);
        mask_ = mask;
        id_ = id;
        version_ = version;
        writable_ = true;
        Open();
        ++alive;
    }
    ~FakeLib() override { --alive; }

    void Put(const char* type, int32_t id, std::string content)
    {
        items_[Key(type, id)] = std::move(content);
    }

    bool HasResource(const char* type, int32_t id) override { return Find(type, id) != nullptr; }
    std::unique_ptr<CRsrcBlock> LoadResource(const char* type, int32_t id, bool) override
    {
        const std::string* s = Find(type, id);
        status_ = s ? kLibOk : kLibNotFound;
        if (!s)
            return nullptr;
        auto block = std::make_unique<CRsrcBlock>(type, id, static_cast<int32_t>(s->size()));
        std::memcpy(block->Lock(), s->data(), s->size());
        block->Unlock();
        return block;
    }
    std::unique_ptr<CFile> OpenResourceFile(const char*, int32_t, int32_t*, int32_t*, bool) override
    {
        status_ = kLibNoFile;
        return nullptr;
    }
    std::unique_ptr<CFileSpec> GetResourceFileSpec(const char* type, int32_t id) override
    {
        status_ = Find(type, id) ? kLibOk : kLibNotFound;
        return status_ == kLibOk ? std::make_unique<CFileSpec>(name_.GetText()) : nullptr;
    }
    uint32_t GetResourceTime(const char* type, int32_t id) override
    {
        status_ = Find(type, id) ? kLibOk : kLibNotFound;
        return status_ == kLibOk ? 42 : 0;
    }
    int32_t GetResourceSize(const char* type, int32_t id) override
    {
        const std::string* s = Find(type, id);
        status_ = s ? kLibOk : kLibNotFound;
        return s ? static_cast<int32_t>(s->size()) : -1;
    }
    int32_t GetResourceId(const char*, int16_t) override { return -1; }
    int16_t ReadResource(const char* type, int32_t id, void* buffer, int32_t offset, int32_t count,
                         bool) override
    {
        const std::string* s = Find(type, id);
        status_ = s ? kLibOk : kLibNotFound;
        if (s)
            std::memcpy(buffer, s->data() + offset, static_cast<size_t>(count));
        return status_;
    }
    int16_t WriteResource(const char* type, int32_t id, const void* data, int32_t size, bool,
                          int16_t) override
    {
        Put(type, id, std::string(static_cast<const char*>(data), static_cast<size_t>(size)));
        status_ = kLibOk;
        return status_;
    }
    bool DeleteResource(const char* type, int32_t id) override
    {
        status_ = items_.erase(Key(type, id)) ? kLibOk : kLibNotFound;
        return status_ == kLibOk;
    }
    int16_t SetResourceTime(const char* type, int32_t id, int32_t) override
    {
        status_ = Find(type, id) ? kLibOk : kLibNotFound;
        return status_;
    }

    static inline int alive = 0;

private:
    static std::string Key(const char* type, int32_t id)
    {
        return std::string(type) + " " + std::to_string(id);
    }
    const std::string* Find(const char* type, int32_t id) const
    {
        const auto it = items_.find(Key(type, id));
        return it == items_.end() ? nullptr : &it->second;
    }
    std::map<std::string, std::string> items_;
};

FakeLib* Add(CLibMgr& mgr, const char* name, uint32_t mask = 0xFFFFFFFF, int32_t id = 0, uint32_t version = 0)
{
    auto lib = std::make_unique<FakeLib>(name, mask, id, version);
    FakeLib* raw = lib.get();
    mgr.AddLibrary(std::move(lib));
    return raw;
}

std::string Order(const CLibMgr& mgr)
{
    std::string out;
    for (CLibNode* n = mgr.GetFirstNode(); n; n = n->next)
        out += n->library->GetName().GetText();
    out += "|";
    for (CLibNode* n = mgr.GetLastNode(); n; n = n->prev)
        out += n->library->GetName().GetText();
    return out;
}

std::string LoadText(CLibMgr& mgr, const char* type, int32_t id, uint32_t mask)
{
    auto block = mgr.LoadResource(type, id, mask, false);
    if (!block)
        return "(none)";
    std::string out(static_cast<const char*>(block->Lock()), static_cast<size_t>(block->GetSize()));
    block->Unlock();
    return out;
}

std::string FatalReport(const std::function<void()>& call) { return qmtest::FatalBoxText(call); }

} // namespace

TEST(LibMgr, FirstLibraryInListOrderAnswersAndMovesChangeTheOrder)
{
    CLibMgr mgr;
    EXPECT_EQ(mgr.GetStatus(), kLibNotOpen);
    FakeLib* a = Add(mgr, "1");
    FakeLib* b = Add(mgr, "2");
    Add(mgr, "3");
    a->Put("CBM", 100, "from 1");
    b->Put("CBM", 100, "from 2");
    EXPECT_EQ(LoadText(mgr, "CBM", 100, 0xFFFFFFFF), "from 1");
    EXPECT_EQ(mgr.GetStatus(), kLibOk);
    mgr.MoveToFront(b);
    EXPECT_EQ(Order(mgr), "213|312");
    EXPECT_EQ(LoadText(mgr, "CBM", 100, 0xFFFFFFFF), "from 2");

    mgr.MoveToBack(static_cast<int16_t>(0));
    EXPECT_EQ(Order(mgr), "132|231");
    mgr.MoveToFront(static_cast<int16_t>(0)); // already first: nothing
    mgr.MoveToFront(static_cast<int16_t>(3)); // beyond the list: nothing
    EXPECT_EQ(Order(mgr), "132|231");
    mgr.SwapLibraries(static_cast<int16_t>(0), static_cast<int16_t>(2));
    EXPECT_EQ(Order(mgr), "231|132");
    mgr.SwapLibraries(a, a);
    EXPECT_EQ(Order(mgr), "231|132");
    EXPECT_EQ(mgr.GetLibraryAt(3), nullptr);
    EXPECT_EQ(mgr.GetLibraryAt(-1), nullptr);
    EXPECT_EQ(mgr.GetFirstLibrary(), b);
}

TEST(LibMgr, MoveToBackOfTheFirstOfThreeWalksBothWays)
{
    CLibMgr mgr;
    FakeLib* first = Add(mgr, "1");
    Add(mgr, "2");
    Add(mgr, "3");
    mgr.MoveToBack(first);
    EXPECT_EQ(Order(mgr), "231|132");
    EXPECT_EQ(mgr.GetLastLibrary(), first);
}

TEST(LibMgr, MasksSelectTheLibrariesAsked)
{
    CLibMgr mgr;
    FakeLib* one = Add(mgr, "1", 0x1);
    one->Put("CBM", 100, "x");
    EXPECT_EQ(LoadText(mgr, "CBM", 100, 0x2), "(none)");
    EXPECT_NE(mgr.GetStatus(), kLibOk);
    EXPECT_FALSE(mgr.HasResource("CBM", 100, 0x2));
    EXPECT_TRUE(mgr.HasResource("CBM", 100, 0x3));
    EXPECT_EQ(mgr.GetResourceSize("CBM", 100, 0x2), -1);
    EXPECT_EQ(mgr.GetStatus(), kLibNotFound);
    EXPECT_EQ(mgr.GetLibraryMask(0), 0x1u);
    EXPECT_EQ(mgr.GetLibraryMask(1), 0u);
    // A closed library is never asked.
    one->Close();
    EXPECT_EQ(LoadText(mgr, "CBM", 100, 0xFFFFFFFF), "(none)");
}

TEST(LibMgr, SameIdReplacesOnlyWithAGreaterVersion)
{
    CLibMgr mgr;
    FakeLib::alive = 0;
    Add(mgr, "a", 0xFFFFFFFF, 7, 2);
    Add(mgr, "b");
    Add(mgr, "c", 0xFFFFFFFF, 7, 3); // replaces a in its place
    EXPECT_EQ(mgr.GetCount(), 2);
    EXPECT_EQ(Order(mgr), "cb|bc");
    EXPECT_EQ(FakeLib::alive, 2);
    Add(mgr, "d", 0xFFFFFFFF, 7, 3); // equal version: the listed one stays
    Add(mgr, "e", 0xFFFFFFFF, 7, 1);
    EXPECT_EQ(Order(mgr), "cb|bc");
    EXPECT_EQ(FakeLib::alive, 2);
    Add(mgr, "f"); // id 0 is always appended
    Add(mgr, "g");
    EXPECT_EQ(Order(mgr), "cbfg|gfbc");
    EXPECT_EQ(mgr.FindLibraryById(7)->GetName(), CStr("c"));
    mgr.AddLibrary(nullptr);
    EXPECT_EQ(mgr.GetStatus(), kLibBadRange);
    EXPECT_EQ(mgr.GetCount(), 4);
}

TEST(LibMgr, RemovedLibrariesGoBackToTheCaller)
{
    FakeLib::alive = 0;
    {
        CLibMgr mgr;
        FakeLib* only = Add(mgr, "1");
        std::unique_ptr<CResLib> out = mgr.RemoveLibrary(only);
        EXPECT_EQ(out.get(), only);
        EXPECT_EQ(mgr.GetCount(), 0);
        EXPECT_EQ(Order(mgr), "|");
        EXPECT_EQ(mgr.RemoveLibrary(only), nullptr);
        EXPECT_EQ(FakeLib::alive, 1);
        Add(mgr, "2");
        Add(mgr, "3");
        EXPECT_EQ(mgr.RemoveLibraryByIndex(1)->GetName(), CStr("3"));
        EXPECT_EQ(mgr.RemoveLibraryByIndex(1), nullptr);
        Add(mgr, "4");
        EXPECT_EQ(FakeLib::alive, 3);
    }
    EXPECT_EQ(FakeLib::alive, 0); // the manager destroyed the two it still held
}

TEST(LibMgr, EmptyListAndUnansweredRequestsGiveStatusThree)
{
    CLibMgr mgr;
    char buf[4];
    EXPECT_EQ(LoadText(mgr, "CBM", 1, 0xFFFFFFFF), "(none)");
    EXPECT_EQ(mgr.GetStatus(), kLibNotFound);
    EXPECT_EQ(mgr.ReadResource("CBM", 1, buf, 0, 1, 0xFFFFFFFF, false), kLibNotFound);
    EXPECT_EQ(mgr.GetResourceSize("CBM", 1, 0xFFFFFFFF), -1);
    EXPECT_EQ(mgr.GetResourceTime("CBM", 1, 0xFFFFFFFF), 0u);
    EXPECT_EQ(mgr.GetResourceFileSpec("CBM", 1, 0xFFFFFFFF), nullptr);
    EXPECT_FALSE(mgr.DeleteResource("CBM", 1, 0xFFFFFFFF));
    EXPECT_EQ(mgr.GetStatus(), kLibNotFound);
    // Nothing asked is never a success, not even after an earlier success.
    FakeLib* lib = Add(mgr, "1", 0x1);
    lib->Put("CBM", 1, "x");
    ASSERT_EQ(mgr.GetResourceSize("CBM", 1, 0x1), 1);
    EXPECT_EQ(mgr.WriteResource("CBM", 2, "y", 1, 0x2, false), kLibNotFound);
    EXPECT_EQ(mgr.SetResourceTime("CBM", 1, 5, 0x2), kLibNotFound);
    EXPECT_EQ(mgr.UnsupportedOperation(1, 2), -1);
    EXPECT_EQ(mgr.GetStatus(), kLibUnsupported);
}

TEST(LibMgr, ResourceOperationsPassThroughToTheLibraryThatAnswers)
{
    CLibMgr mgr;
    FakeLib* ro = Add(mgr, "ro");
    FakeLib* rw = Add(mgr, "rw");
    ro->Put("STR", 8, "first");
    ro->SetMask(0x1);
    rw->Put("STR", 8, "second");

    char buf[3] = {};
    EXPECT_EQ(mgr.ReadResource("STR", 8, buf, 1, 2, 0x2, false), kLibOk);
    EXPECT_EQ(std::string(buf, 2), "ec");
    EXPECT_EQ(mgr.GetResourceTime("STR", 8, 0x2), 42u);
    CRsrcBlock block("TXT", 3, 2);
    std::memcpy(block.Lock(), "hi", 2);
    block.Unlock();
    EXPECT_EQ(mgr.WriteResource(&block, 0x2, false), kLibOk);
    EXPECT_EQ(block.GetLockCount(), 0);
    EXPECT_EQ(LoadText(mgr, "TXT", 3, 0xFFFFFFFF), "hi");
    EXPECT_TRUE(mgr.DeleteResource(&block, 0xFFFFFFFF));
    EXPECT_FALSE(mgr.HasResource("TXT", 3, 0xFFFFFFFF));
    EXPECT_EQ(mgr.SetResourceTime("STR", 8, 9, 0xFFFFFFFF), kLibOk);
}

TEST(LibMgr, ReportFlagEndsTheProgramWithMessageSixTypeAndNumber)
{
    SetEngineStrings({"", "", "", "", "", "", "Cannot find resource "});
    CLibMgr mgr;
    Add(mgr, "1");
    char buf[2];
    EXPECT_EQ(FatalReport([&] { mgr.LoadResource("CBM", 1234567, 0xFFFFFFFF, true); }),
              "Fatal Error: Cannot find resource CBM 1234567\r\rFile: libmgr  Line: 437");
    EXPECT_EQ(FatalReport([&] { mgr.ReadResource("SND", -4, buf, 0, 1, 0xFFFFFFFF, true); }),
              "Fatal Error: Cannot find resource SND -4\r\rFile: libmgr  Line: 386");
    EXPECT_EQ(FatalReport([&] { mgr.OpenResourceFile("SMK", 2, nullptr, nullptr, 0xFFFFFFFF, true); }),
              "Fatal Error: Cannot find resource SMK 2\r\rFile: libmgr  Line: 493");
    CLibMgr empty;
    EXPECT_EQ(FatalReport([&] { empty.WriteResource("TXT", 1, "x", 1, 0xFFFFFFFF, true); }),
              "Fatal Error: Cannot find resource TXT 1\r\rFile: libmgr  Line: 816");
}

TEST(LibMgr, GlobalManagerIsNeverNull)
{
    ASSERT_NE(GetLibMgr(), nullptr);
    auto mine = std::make_unique<CLibMgr>();
    CLibMgr* raw = mine.get();
    SetLibMgr(std::move(mine));
    EXPECT_EQ(GetLibMgr(), raw);
}

// Real libraries with identity records "mask version id first second".
TEST(LibMgr, IdentityRecordsGiveMaskVersionAndIdAndReplaceOlderVersions)
{
    qmtest::UseTempDirAsDriveC();
    qmtest::FolderLibraryWriter old(qmtest::TempDir() / "Old.qmd");
    old.Add("LID", 1, "2 1 5 Data QM3");
    old.Add("CBM", 1, "old");
    qmtest::WriteMegaLibrary(qmtest::TempDir() / "New.qmd",
                             {{"CBM", 1, qmtest::Bytes("new")}, {"LID", 1, qmtest::Bytes("6 2 5 Data QM3")}});

    CLibMgr mgr;
    auto folder = std::make_unique<CFoldLib>("C:\\Old.qmd");
    EXPECT_EQ(folder->GetMask(), 0x2u);
    EXPECT_EQ(folder->GetId(), 5);
    EXPECT_EQ(*folder->GetSecondText(), CStr("QM3"));
    EXPECT_EQ(folder->GetName(), CStr("Old.qmd"));
    mgr.AddLibrary(std::move(folder));
    EXPECT_EQ(LoadText(mgr, "CBM", 1, 0x2), "old");
    mgr.AddLibrary(std::make_unique<CMegaLib>("C:\\New.qmd"));
    EXPECT_EQ(mgr.GetCount(), 1);
    EXPECT_EQ(mgr.GetFirstLibrary()->GetName(), CStr("New.qmd"));
    EXPECT_EQ(LoadText(mgr, "CBM", 1, 0x2), "new");
    EXPECT_EQ(LoadText(mgr, "CBM", 1, 0x1), "(none)");

    // Writing the folder library's identity record reads it again.
    CFoldLib lib("C:\\Old.qmd");
    ASSERT_EQ(lib.WriteResource("LID", 1, "8 9 10 X Y", 10, false, 0), kLibOk);
    EXPECT_EQ(lib.GetMask(), 0x8u);
    EXPECT_EQ(lib.GetVersion(), 9u);
    EXPECT_EQ(lib.GetId(), 10);
}

TEST(LibMgr, IdentityRecordsCutShortOrEmpty)
{
    qmtest::UseTempDirAsDriveC();
    qmtest::FolderLibraryWriter shortId(qmtest::TempDir() / "Short");
    shortId.Add("LID", 1, "0x12, 3 // no id and no texts");
    CFoldLib lib("C:\\Short");
    EXPECT_EQ(lib.GetStatus(), kLibOk);
    EXPECT_EQ(lib.GetMask(), 0x12u);
    EXPECT_EQ(lib.GetVersion(), 3u);
    EXPECT_EQ(lib.GetId(), 0);
    EXPECT_EQ(lib.GetName(), CStr("Short"));
    EXPECT_EQ(lib.GetFirstText(), nullptr);
    EXPECT_EQ(lib.GetSecondText(), nullptr);

    // An empty record gives no identity at all.
    qmtest::FolderLibraryWriter empty(qmtest::TempDir() / "Empty");
    empty.Add("LID", 1, "");
    CFoldLib none("C:\\Empty");
    EXPECT_EQ(none.GetStatus(), kLibOk);
    EXPECT_EQ(none.GetMask(), 0xFFFFFFFFu);
    EXPECT_TRUE(none.GetName().IsEmpty());
}
