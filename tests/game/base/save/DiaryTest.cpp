#include <gtest/gtest.h>

#include "engine/framework/Date.h"
#include "engine/resources/LibMgr.h"
#include "game/base/save/Diary.h"
#include "tests/game/base/save/SaveFixture.h"
#include "tests/support/FatalReports.h"

namespace savetest {
namespace {

class DiaryTest : public SaveTest {
protected:
    std::string DateLine() const
    {
        return std::string(host_.date->Format(CDate::kLongWithDayName)->GetText()) + "\r\n";
    }
};

TEST_F(DiaryTest, DatedEntriesGetADateLineAndOthersDoNot)
{
    host_.date = CDate(1848, 4, 1);
    const struct {
        int16_t entry;
        bool dated;
        bool posts;
    } cases[] = {{0, true, true},   {176, true, true},   {177, false, true}, {276, false, true},
                 {5, false, false}, {277, false, false}, {-1, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        CDiary diary;
        diary.PostString(c.entry);
        const std::string entry = c.posts ? "entry " + std::to_string(c.entry) + "\r\n" : "";
        EXPECT_EQ(diary.GetText().GetText(), (c.dated ? DateLine() : "") + entry);
    }

    CDiary diary;
    diary.PostDiary(std::make_unique<CStr>("Forded the river"));
    diary.PostDiary(std::make_unique<CStr>(""));
    diary.AppendLine(nullptr);
    EXPECT_EQ(diary.GetText().GetText(), DateLine() + "Forded the river\r\n\r\n");
}

TEST_F(DiaryTest, NullTextsAndAMissingListAreFatal)
{
    CDiary diary;
    EXPECT_EQ(qmtest::FatalBoxText([&] { diary.PostDiary(nullptr); }),
              "Fatal Error: Post diary with NULL Cstring\r\rFile: diary  Line: 189");
    while (GetLibMgr()->GetCount() > 0)
        GetLibMgr()->RemoveLibraryByIndex(0);
    CDiary unlisted;
    unlisted.PostString(177); // no list: nothing, and no report
    EXPECT_STREQ(unlisted.GetText().GetText(), "");
    EXPECT_EQ(qmtest::FatalBoxText([&] { unlisted.PostDateHeading(); }),
              "Fatal Error: Diary String List not found.\r\rFile: diary  Line: 213");
}

TEST_F(DiaryTest, SavingAndLoadingKeepsTheDiaryAsItWas)
{
    host_.date = CDate(1848, 5, 2);
    CQM3Doc doc("Default");
    doc.SetDisc(2);
    doc.GetDiary()->PostString(3);
    doc.GetDiary()->PostString(200);
    const std::string text = doc.GetDiary()->GetText().GetText();
    doc.SetFileSpec(Spec("slot1.qm3"));
    ASSERT_EQ(doc.Save(0, nullptr), CDoc::kOk);
    const std::string first = Read(Host("slot1.qm3"));
    for (int cycle = 0; cycle < 3; ++cycle) {
        int16_t code = -1;
        auto loaded = LoadFile("slot1.qm3", code);
        ASSERT_EQ(code, CDoc::kOk);
        EXPECT_EQ(loaded->GetDiary()->GetText().GetText(), text);
        loaded->SetFileSpec(Spec("slot1.qm3"));
        ASSERT_EQ(loaded->Save(0, nullptr), CDoc::kOk);
    }
    EXPECT_EQ(Read(Host("slot1.qm3")), first);

    // An empty diary is the tag and a length of 0.
    CQM3Doc empty("Default");
    empty.SetFileSpec(Spec("empty.qm3"));
    ASSERT_EQ(empty.Save(0, nullptr), CDoc::kOk);
    EXPECT_EQ(Read(Host("empty.qm3")).substr(52), Bytes().Diary("").U16(3).Str());
}

} // namespace
} // namespace savetest
