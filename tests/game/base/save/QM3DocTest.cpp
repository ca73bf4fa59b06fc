#include <gtest/gtest.h>

#include <filesystem>

#include "platform/MessageBox.h"
#include "tests/game/base/save/SaveFixture.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestEnv.h"

namespace savetest {
namespace {

using Strings = std::vector<std::string>;

class QM3DocTest : public SaveTest {};

// A new game named "Trail" on disc 2 with a two-line diary.
std::unique_ptr<CQM3Doc> MakeGame(const char* name = "Trail")
{
    auto doc = std::make_unique<CQM3Doc>("Default");
    doc->SetName(std::make_unique<CStr>(name));
    doc->SetDisc(2);
    doc->GetDiary()->SetText(CStr("Left town\r\nCrossed the creek\r\n"));
    return doc;
}

TEST_F(QM3DocTest, SavesTheGameByteForByteAndLoadsItBack)
{
    const std::string diary = "Left town\r\nCrossed the creek\r\n";
    const struct {
        const char* what;
        bool travel;
        std::vector<std::pair<int32_t, int32_t>> flags;
        std::string records;
    } cases[] = {
        {"plain", false, {}, Bytes().U16(3).Str()},
        {"travel", true, {}, Bytes().U16(2).U16(3).Str()},
        {"flags",
         false,
         {{70, 1}, {-5, 123456}},
         Bytes().U16(4).U16(2).U32(70).U32(1).U32(0xFFFFFFFB).U32(123456).U16(3).Str()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        host_.travel = c.travel;
        host_.calls.clear();
        auto doc = MakeGame();
        for (const auto& [id, value] : c.flags)
            doc->SetLMFlag(id, value);
        doc->SetFileSpec(Spec("slot1.qm3"));
        ASSERT_EQ(doc->Save(0, nullptr), CDoc::kOk);
        const std::string expected = Bytes().Start("Trail", 2).Diary(diary).Str() + c.records;
        EXPECT_EQ(Read(Host("slot1.qm3")), expected);
        EXPECT_EQ(expected.size(), 52 + 6 + diary.size() + c.records.size());

        int16_t code = -1;
        auto loaded = LoadFile("slot1.qm3", code);
        ASSERT_EQ(code, CDoc::kOk);
        EXPECT_STREQ(loaded->GetName()->GetText(), "Trail");
        EXPECT_EQ(loaded->GetDisc(), 2);
        EXPECT_STREQ(loaded->GetDiary()->GetText().GetText(), diary.c_str());
        for (const auto& [id, value] : c.flags)
            EXPECT_EQ(loaded->GetLMFlag(id), value);
        loaded->SetFileSpec(Spec("slot2.qm3"));
        ASSERT_EQ(loaded->Save(0, nullptr), CDoc::kOk);
        EXPECT_EQ(Read(Host("slot2.qm3")), expected);
        if (c.travel) {
            EXPECT_EQ(host_.calls,
                      (Strings{"save travel", "disc 2", "load travel", "update party", "save travel"}));
        }
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(QM3DocTest, NamesAreCutTo31CharactersAndAnUnterminatedFieldIsReadWhole)
{
    auto doc = MakeGame("A name that runs to forty characters....");
    doc->SetFileSpec(Spec("long.qm3"));
    ASSERT_EQ(doc->Save(0, nullptr), CDoc::kOk);
    const std::string bytes = Read(Host("long.qm3"));
    EXPECT_EQ(bytes.substr(16, 32), std::string("A name that runs to forty chara") + '\0');

    const std::string full(32, 'N');
    Write(Host("full.qm3"), Bytes().Start(full, 1).Diary("").U16(3).Str());
    int16_t code = -1;
    auto loaded = LoadFile("full.qm3", code);
    ASSERT_EQ(code, CDoc::kOk);
    EXPECT_EQ(loaded->GetName()->GetText(), full);
}

TEST_F(QM3DocTest, RefusedFilesShowTheirMessageAndStayOnDisk)
{
    const std::string good = Bytes().Start("Trail", 1).Diary("x\r\n").Str();
    const struct {
        const char* what;
        std::string bytes;
        int16_t code;
        const char* message;
    } cases[] = {
        {"version 0x0102", Bytes().Start("Trail", 1, 0x0102).Diary("").U16(3).Str(), 9, "message 15"},
        {"bad magic", "VORX" + good.substr(4) + Bytes().U16(3).Str(), 7, "message 14"},
        {"other type", "VORTQMK4" + good.substr(8) + Bytes().U16(3).Str(), 8, "message 14"},
        {"empty", "", 6, "message 9"},
        {"no end", good, 6, "message 9"},
        {"unknown tag", good + Bytes().U16(9).U16(3).Str(), 6, "message 9"},
        {"diary past the end", Bytes().Start("Trail", 1).U16(1).U32(50).Raw("short").Str(), 6, "message 9"},
        {"disc below 0", Bytes().Start("Trail", -1).U16(3).Str(), 6, "message 9"},
        {"disc without a marker", Bytes().Start("Trail", 4).U16(3).Str(), 6, "message 9"},
        {"no flags", good + Bytes().U16(4).U16(0).U16(3).Str(), 6, "message 9"},
        {"101 flags", good + Bytes().U16(4).U16(101).U16(3).Str(), 6, "message 9"},
        {"flag id 0", good + Bytes().U16(4).U16(1).U32(0).U32(5).U16(3).Str(), 6, "message 9"},
        {"13 modules", good + Bytes().U16(0).U16(10).U16(13).U16(3).Str(), 6, "message 9"},
        {"module 12", good + Bytes().U16(0).U16(10).U16(1).U16(12).U16(1).U16(1).U16(3).Str(), 6,
         "message 9"},
        {"empty module slot", good + Bytes().U16(0).U16(10).U16(1).U16(4).U16(1).U16(1).U16(3).Str(), 6,
         "message 9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        plat::GetScriptedMessageBoxes().Clear();
        Write(Host("bad.qm3"), c.bytes);
        int16_t code = -1;
        auto doc = LoadFile("bad.qm3", code);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(Boxes(), Strings{c.message});
        EXPECT_FALSE(doc->HasFileSpec());
        EXPECT_EQ(Read(Host("bad.qm3")), c.bytes);
    }
}

TEST_F(QM3DocTest, TheModuleRecordLoadsEachModuleAndSwitchesToIt)
{
    host_.modules = {3, 10};
    Write(Host("modules.qm3"), Bytes()
                                   .Start("Trail", 1)
                                   .U16(0)
                                   .U16(3)
                                   .U16(2)
                                   .U16(10)
                                   .U16(1)
                                   .U16(3)
                                   .U16(3)
                                   .U16(1)
                                   .U16(1)
                                   .Diary("")
                                   .U16(3)
                                   .Str());
    int16_t code = -1;
    LoadFile("modules.qm3", code);
    EXPECT_EQ(code, CDoc::kOk);
    EXPECT_EQ(host_.calls,
              (Strings{"disc 1", "load 10", "close", "activate", "suspend", "load 3", "close", "activate"}));
}

TEST_F(QM3DocTest, AGivenUpDiscEndsTheLoadQuietlyAndAHalfReadTripIsStartedOver)
{
    Write(Host("disc3.qm3"), Bytes().Start("Trail", 3).Diary("").U16(3).Str());
    host_.discAvailable = false;
    int16_t code = -1;
    auto doc = LoadFile("disc3.qm3", code);
    EXPECT_EQ(code, CDoc::kNoFileChosen);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(doc->HasFileSpec());
    EXPECT_EQ(doc->GetDisc(), 3);

    // The travel state reads past the end of the file.
    host_.discAvailable = true;
    host_.travel = true;
    host_.travelBytes = 8;
    host_.calls.clear();
    Write(Host("trip.qm3"), Bytes().Start("Trail", 1).Diary("").U16(2).U32(7).Str());
    doc = LoadFile("trip.qm3", code);
    EXPECT_EQ(code, CDoc::kStreamFailure);
    EXPECT_EQ(host_.calls, (Strings{"disc 1", "load travel", "reset trip while loading"}));
    EXPECT_FALSE(doc->IsLoading());
}

TEST_F(QM3DocTest, AFailedSaveLeavesThePreviousGameInItsSlot)
{
    auto doc = MakeGame();
    doc->SetFileSpec(Spec("slot1.qm3"));
    ASSERT_EQ(doc->Save(0, nullptr), CDoc::kOk);
    const std::string before = Read(Host("slot1.qm3"));

    std::string big(64 * 1024, 'd');
    doc->GetDiary()->SetText(CStr(big.c_str()));
    doc->SetFileSpec(Spec("slot1.qm3"));
    {
        const qmtest::FileSizeLimit limit(4096);
        EXPECT_EQ(doc->Save(0, nullptr), CDoc::kStreamFailure);
    }
    EXPECT_EQ(Boxes(), Strings{"message 13"});
    EXPECT_FALSE(doc->HasFileSpec());
    EXPECT_EQ(Read(Host("slot1.qm3")), before);
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(qmtest::TempDir()))
        ++files;
    EXPECT_EQ(files, 2u); // the slot and the data library
}

TEST_F(QM3DocTest, SaveErrorsPickTheirMessages)
{
    const std::pair<int16_t, int32_t> cases[] = {{0, -1}, {1, -1}, {3, 12}, {4, 10},
                                                 {5, 11}, {6, 13}, {2, 13}};
    for (const auto& [code, entry] : cases)
        EXPECT_EQ(CQM3Doc::SaveMessageEntry(code), entry) << code;
}

TEST_F(QM3DocTest, LandmarkFlagsKeepADuplicateUntilClearedAndReportAFullTable)
{
    CQM3Doc doc("Default");
    for (int32_t id = 1; id <= 200; ++id)
        EXPECT_EQ(doc.GetLMFlag(id), -1);
    EXPECT_FALSE(doc.HasLMFlags());
    doc.SetLMFlag(4, 40);
    doc.SetLMFlag(5, 50);
    doc.SetLMFlag(7, 70);
    doc.ClearLMFlag(5);
    doc.SetLMFlag(7, 71); // the free entry 1 comes before entry 2, which holds 7
    EXPECT_EQ(doc.GetLMFlag(7), 71);
    doc.ClearLMFlag(7);
    EXPECT_EQ(doc.GetLMFlag(7), -1);
    EXPECT_EQ(doc.GetLMFlag(4), 40);
    EXPECT_TRUE(Boxes().empty());

    doc.ClearLMFlag(7);
    for (int32_t id = 100; id < 199; ++id)
        doc.SetLMFlag(id, id);
    doc.SetLMFlag(500, 1);
    EXPECT_EQ(doc.GetLMFlag(500), -1);
    EXPECT_EQ(Boxes(), (Strings{"Item not found in Flags index 7\n",
                                "Array full...Can't hold LMFlag.  Increase the size.  (Flag # 500)\n"}));
}

} // namespace
} // namespace savetest
