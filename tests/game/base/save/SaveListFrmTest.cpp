#include <gtest/gtest.h>

#include <filesystem>

#include "engine/framework/EventObj.h"
#include "engine/framework/FileSpecs.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "game/base/SaveListFrm.h"
#include "tests/game/base/save/SaveFixture.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace savetest {
namespace {

// Keeps the result messages it is sent.
class ResultTarget : public CEventObj {
public:
    ResultTarget() : CEventObj(1, 77, nullptr) { RegisterLiveObject(this); }
    bool HandleMessage(CMessage& message, CBaseObj*) override
    {
        ids.push_back(message.GetId());
        indices.push_back(static_cast<int32_t>(message.GetParam(3)));
        const auto* spec = message.GetParamPtr<CFileSpec>(2);
        specs.push_back(spec && spec->GetPath() ? spec->GetPath() : "");
        return true;
    }
    std::vector<int32_t> ids;
    std::vector<int32_t> indices;
    std::vector<std::string> specs;
};

class SaveListFrmTest : public SaveTest {
protected:
    void SetUp() override
    {
        SaveTest::SetUp();
        for (const char* name :
             {"SLOT1.QM3", "SLOT2.QM3", "SLOT3.QM3", "SLOT4.QM3", "SLOT5.QM3", "..", "A\\B.QM3", "A/B.QM3"})
            slots_.Add(std::make_unique<CStr>(name));
    }
    fs::path Folder() const { return qmtest::TempDir() / "share" / "kvl" / "Quillmark III" / "Saved Games"; }
    // Slot 1 and 5 hold games; 2 is missing, 3 ends inside the name, 4 has a name of 32
    // bytes without a 0 and only its disc after it.
    void WriteSlots()
    {
        fs::create_directories(Folder());
        Write(Folder() / "SLOT1.QM3", Bytes().Start("Westward bound", 2).Diary("").U16(3).Str());
        Write(Folder() / "SLOT3.QM3", Bytes().Start("Cut", 2).Str().substr(0, 40));
        Write(Folder() / "SLOT4.QM3", Bytes().Start(std::string(32, 'N'), 2).Str());
        Write(Folder() / "SLOT5.QM3", Bytes().Start("Fifth", 2).U16(3).Str());
    }
    std::unique_ptr<CSaveListFrm> Make(bool opening, const char* folder = "Saved Games",
                                       const char* current = nullptr)
    {
        const CStr currentName(current ? current : "");
        return std::make_unique<CSaveListFrm>(-2, CPoint(0, 0), &target_, 1100, CStr(folder), &slots_, 16, 32,
                                              current ? &currentName : nullptr, 90, 0xFFFFFFFFu, opening);
    }
    static std::vector<std::string> Entries(const CTplRec& record)
    {
        std::vector<std::string> out;
        for (int32_t i = 0; i < record.GetEntryCount(); ++i)
            out.push_back(record.GetEntry(i)->GetText());
        return out;
    }
    static void Send(CSaveListFrm& dialog, int32_t id, int word, MsgWord value)
    {
        CMessage message(id, 0, 0, -1);
        message.SetParam(value, word);
        dialog.HandleMessage(message, nullptr);
    }

    CTplRec slots_;
    ResultTarget target_;
};

TEST_F(SaveListFrmTest, ListsEverySlotWhenSavingAndOnlyGamesWhenOpening)
{
    WriteSlots();
    const auto saving = Make(false);
    EXPECT_EQ(saving->GetStatus(), 0);
    EXPECT_EQ(Entries(saving->GetDisplayNames()),
              (std::vector<std::string>{"Westward bound", "<untitled>", "<untitled>", std::string(32, 'N'),
                                        "Fifth"}));
    EXPECT_EQ(Entries(saving->GetFileNames()),
              (std::vector<std::string>{"SLOT1.QM3", "SLOT2.QM3", "SLOT3.QM3", "SLOT4.QM3", "SLOT5.QM3"}));
    EXPECT_EQ(saving->GetChosenIndex(), -1);

    // Opening leaves the free slot out; the cut one shows as saving shows it.
    const auto opening = Make(true);
    EXPECT_EQ(Entries(opening->GetDisplayNames()),
              (std::vector<std::string>{"Westward bound", "<untitled>", std::string(32, 'N'), "Fifth"}));
    EXPECT_EQ(Entries(opening->GetFileNames()),
              (std::vector<std::string>{"SLOT1.QM3", "SLOT3.QM3", "SLOT4.QM3", "SLOT5.QM3"}));

    const auto current = Make(false, "Saved Games", "SLOT5.QM3");
    EXPECT_EQ(current->GetChosenIndex(), 4);
    EXPECT_STREQ(current->GetChosenName().GetText(), "Fifth");
}

TEST_F(SaveListFrmTest, ReportsTheChosenSlotOrACancel)
{
    WriteSlots();
    const auto dialog = Make(false);
    Send(*dialog, CSaveListFrm::kMsgPick, 0, 7);      // outside the list: ignored
    Send(*dialog, CSaveListFrm::kMsgListPick, 3, -2); // likewise
    EXPECT_EQ(dialog->GetChosenIndex(), -1);
    Send(*dialog, CSaveListFrm::kMsgListPick, 3, 1);
    Send(*dialog, CSaveListFrm::kMsgOk, 0, 0);
    Send(*dialog, CSaveListFrm::kMsgPick, 0, 3);
    Send(*dialog, CSaveListFrm::kMsgReport, 0, 0);
    const std::string folder = dialog->GetFolderSpec()->GetPath();
    EXPECT_EQ(target_.indices, (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(target_.specs, (std::vector<std::string>{folder + "\\SLOT2.QM3", folder + "\\SLOT4.QM3"}));
    EXPECT_STREQ(dialog->GetChosenSpec()->GetPath(), (folder + "\\SLOT4.QM3").c_str());
    EXPECT_EQ(dialog->GetChosenSpec()->HostPath(), Folder() / "SLOT4.QM3");

    Send(*dialog, CSaveListFrm::kMsgCancel, 0, 0);
    EXPECT_TRUE(dialog->IsCancelled());
    EXPECT_EQ(dialog->GetChosenIndex(), -1);
    EXPECT_EQ(dialog->GetChosenSpec(), nullptr);
    EXPECT_EQ(target_.ids, (std::vector<int32_t>{1100, 1100, 1100}));
    EXPECT_EQ(target_.indices.back(), -1);
    EXPECT_EQ(target_.specs.back(), "");
}

TEST_F(SaveListFrmTest, TheFolderIsMadeWithItsParentsAndMustBeAPlainName)
{
    const auto dialog = Make(false);
    EXPECT_EQ(dialog->GetStatus(), 0);
    EXPECT_TRUE(fs::is_directory(Folder()));
    EXPECT_EQ(dialog->GetDisplayNames().GetEntryCount(), 5);
    for (const char* bad : {"..", ".", "", "a\\b", "a/b", "C:"}) {
        SCOPED_TRACE(bad);
        const auto refused = Make(false, bad);
        EXPECT_EQ(refused->GetStatus(), 1);
        EXPECT_EQ(refused->GetFolderSpec(), nullptr);
        EXPECT_EQ(refused->GetDisplayNames().GetEntryCount(), 0);
    }
}

} // namespace
} // namespace savetest
