// The game application started in the test process on the sample data (data/game), with its
// commands, options and disc switches.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/Menu.h"
#include "engine/controls/MenuBar.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/TopWnd.h"
#include "engine/controls/TplList.h"
#include "engine/controls/WindowHooks.h"
#include "engine/controls/WndProc.h"
#include "engine/controls/input/CaptionFrame.h"
#include "engine/controls/native/EditField.h"
#include "engine/controls/native/StrListBox.h"
#include "engine/controls/text/EngineHooks.h"
#include "engine/controls/text/ScreenHooks.h"
#include "engine/framework/Appl.h"
#include "engine/framework/EngineStrings.h"
#include "engine/framework/EventObj.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Options.h"
#include "engine/graphics/GraphicsHooks.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/DefinitionTextHooks.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/LibraryHooks.h"
#include "engine/resources/RsrcCache.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/CheckListCtl.h"
#include "game/base/CtrlBarFrm.h"
#include "game/base/GameBtn.h"
#include "game/base/GameGlobals.h"
#include "game/base/GameImages.h"
#include "game/base/LibraryDiscovery.h"
#include "game/base/MainWnd.h"
#include "game/base/Module.h"
#include "game/base/ModuleMgr.h"
#include "game/base/RandomPictureCtl.h"
#include "game/base/RepeatButton.h"
#include "game/base/SaveDlg.h"
#include "game/base/SaveListFrm.h"
#include "game/base/SpinFrm.h"
#include "game/base/TwoColListFrm.h"
#include "game/base/save/QM3Doc.h"
#include "game/shell/FileCommands.h"
#include "game/shell/QM3Appl.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/MessageQueue.h"
#include "platform/SystemInfo.h"
#include "platform/Window.h"
#include "tests/game/shell/SampleGame.h"
#include "tests/support/FatalReports.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

const std::vector<plat::MessageBoxRequest>& Boxes() { return plat::GetScriptedMessageBoxes().Log(); }

class GameCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        shelltest::UseSampleGame(shelltest::CopySampleGame({"Disc1", "Disc2"}));
        box = std::make_unique<CMsgBox>();
        appl = std::make_unique<CQM3Appl>();
        ASSERT_FALSE(IsQuitRequested());
        SendMsg(*appl, 2, 0, 0, nullptr);
    }
    void TearDown() override
    {
        plat::GetMessageQueue().SetEventSource(nullptr);
        appl.reset();
        box.reset();
    }
    bool Checked(int32_t item)
    {
        auto* entry = static_cast<CMenuItem*>(GetMenuBar()->FindCommand(item, nullptr, nullptr));
        return entry && entry->IsChecked();
    }
    bool Command(int32_t id) { return SendMsg(*appl, id, 0, 0, nullptr); }

    std::unique_ptr<CMsgBox> box;
    std::unique_ptr<CQM3Appl> appl;
};

TEST_F(GameCommands, TheGameOpensOnTheOpeningScreenWithItsControlBar)
{
    ASSERT_NE(GetMainWnd(), nullptr);
    ASSERT_NE(GetMenuWnd(), nullptr);
    EXPECT_EQ(GetMenuWnd()->GetFirstFrame(), static_cast<CFrame*>(GetMainWnd()));
    EXPECT_EQ(GetModuleMgr()->GetCurModule(), 0);
    EXPECT_EQ(GetCtrlBar()->GetElementSet(), 50000);
    EXPECT_TRUE(Checked(4003)); // sound is on by default
    EXPECT_FALSE(Checked(4002));
    EXPECT_EQ(GetLibMgr()->GetCount(), 2);
    EXPECT_EQ(appl->GetDiscFolderName()->GetText(), std::string("QM3DISC"));
}

TEST_F(GameCommands, ScreenSwitchesSuspendTheOpeningScreen)
{
    SendMsg(*GetMainWnd(), CMainWnd::kMsgRequestModule, 2, 1, nullptr);
    EXPECT_EQ(GetModuleMgr()->GetCurModule(), 2);
    EXPECT_EQ(GetCtrlBar()->GetElementSet(), 55002);
    EXPECT_EQ(GetModuleMgr()->GetModule(0)->GetState(), CModule::kStateSuspended);
}

TEST_F(GameCommands, EveryScreenOfTheSampleDataBuilds)
{
    for (int32_t id : {1, 2, 4000, 4002, 4999, 50000, 50001, 51000, 52000, 54000, 55000, 55001, 55002, 56000,
                       56001, 57000, 57001, 3400}) {
        CTplList list(id, 0xFFFFFFFFu, GetRsrcCache());
        CBaseObj* built = list.Build(nullptr, appl.get(), 0);
        EXPECT_NE(dynamic_cast<CFrame*>(built), nullptr) << id;
        delete built;
    }
}

TEST_F(GameCommands, PicturesComeThroughTheImageCacheOrDirectly)
{
    CRsrcCache* cache = GetRsrcCache();
    ASSERT_NE(cache, nullptr);
    std::unique_ptr<CImgSet> first = LoadImage("CBMP", 0, 4000, true, 1);
    ASSERT_NE(first, nullptr);
    EXPECT_NE(cache->Find("BMPD", 4000), nullptr);
    std::unique_ptr<CImgSet> second = LoadImage("CBMP", 0, 4000, true, 1);
    EXPECT_EQ(second->GetSource(), first->GetSource()); // decoded once, shared
    std::unique_ptr<CImgSet> direct = LoadImage("CBMP", 0, 4000, true, 0);
    EXPECT_NE(direct->GetSource(), first->GetSource());
    // Only "RLES" asks for a sprite: "rles" is a picture key like any other.
    EXPECT_NE(LoadImage("rles", 0, 318, false, 1), nullptr);
    EXPECT_EQ(LoadImage("RLES", 0, 318, false, 1), nullptr);
    EXPECT_EQ(LoadImage("CBMP", 0, 9999, false, 0), nullptr);
    const std::string report = qmtest::FatalBoxText([] { LoadImage("RLES", 0, 9999, true, 1); });
    EXPECT_NE(report.find("Qm3appl  Line: 2133"), std::string::npos) << report;
    // Without the engine's messages the report names its message instead of showing nothing.
    ClearEngineStrings();
    const std::string unnamed = qmtest::FatalBoxText([] { LoadImage("CBMP", 0, 9999, true, 1); });
    EXPECT_NE(unnamed.find(": [engine message 32] "), std::string::npos) << unnamed;
}

TEST_F(GameCommands, OptionTogglesStoreTheOptionAndTheirCheckMark)
{
    EXPECT_TRUE(Command(36));
    EXPECT_FALSE(GetOption("soundon"));
    EXPECT_FALSE(Checked(4003));
    Command(36);
    EXPECT_TRUE(GetOption("soundon"));
    EXPECT_TRUE(Checked(4003));

    Command(6);
    EXPECT_TRUE(GetOption("closecap"));
    EXPECT_TRUE(Checked(4002));

    // The border: on at first (the screen-border byte 0, item 4001 checked when the menu opens).
    appl->UpdateMenuChecks();
    EXPECT_TRUE(Checked(4001));
    Command(4);
    EXPECT_FALSE(GetOption("screenborder"));
    EXPECT_EQ(GetScreenBorder(), 1);
    EXPECT_FALSE(Checked(4001));
    Command(4); // twice: back where it was
    EXPECT_TRUE(GetOption("screenborder"));
    EXPECT_EQ(GetScreenBorder(), 0);
    EXPECT_TRUE(Checked(4001));
}

TEST_F(GameCommands, QuitCommandsAndANewGame)
{
    Command(-24);
    ASSERT_NE(GetCurDoc(), nullptr);
    EXPECT_EQ(GetCurDoc()->GetDisc(), 1);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(IsQuitRequested());
    EXPECT_FALSE(Command(-23)); // no file command: the engine's, which does not know it
    Command(-26);
    EXPECT_TRUE(IsQuitRequested());
    SetQuitRequested(false);
    Command(252);
    EXPECT_TRUE(IsQuitRequested());
}

TEST_F(GameCommands, ClosingTheActiveWindowLetsGoOfTheGameWindows)
{
    CMessage close(201, 0, 0, -1);
    close.SetParamPtr(GetMenuWnd(), 2);
    DeliverMessage(*appl, close, nullptr, false);
    EXPECT_EQ(GetMainWnd(), nullptr);
    EXPECT_EQ(GetMenuWnd(), nullptr);
}

TEST_F(GameCommands, DialogCommandsEndTheDialogHoldingTheSender)
{
    CImageFrame outer(-2, CRect(0, 0, 100, 100), true);
    auto* dialog = new CImageFrame(-2, CRect(0, 0, 50, 50), true);
    auto* button = new CFrame(4, 77, CRect(0, 0, 10, 10), false);
    dialog->AddChild(button, false);
    outer.AddChild(dialog, false);
    RegisterLiveObject(dialog);
    RegisterLiveObject(&outer);
    Command(1000); // no sender: every live object hears -39
    EXPECT_TRUE(dialog->IsDone());
    EXPECT_TRUE(outer.IsDone());
}

TEST_F(GameCommands, DiscSwitchesOpenTheDiscLibrariesOrGiveUp)
{
    EXPECT_TRUE(SwitchDisc(1, false)); // its marker lies in the program's folder
    EXPECT_EQ(appl->GetCurrentDisc(), 1);
    EXPECT_EQ(GetLibMgr()->GetCount(), 3); // disc 2's library lacks disc 1's flag
    EXPECT_TRUE(SwitchDisc(1, false));
    EXPECT_EQ(GetLibMgr()->GetCount(), 3);

    // Disc 2 has no marker anywhere: the prompt runs until the player gives up.
    plat::GetMessageQueue().SetEventSource([](plat::MessageQueue&, uint64_t) {
        CMessage giveUp(-13, 0, 0, -1);
        BroadcastMessage(giveUp, nullptr);
    });
    EXPECT_FALSE(SwitchDisc(2, false));
    EXPECT_EQ(appl->GetCurrentDisc(), -1);
    EXPECT_EQ(GetLibMgr()->GetCount(), 2); // disc 1's library went

    EXPECT_TRUE(SwitchDisc(0, false));
    EXPECT_EQ(appl->GetCurrentDisc(), 0);
}

// The game controls' demonstration screen: every control of the game's own kinds, with its
// string list or pictures from the sample data.
TEST_F(GameCommands, TheGameControlsScreenMakesEachControlFromTheSampleData)
{
    CTplList list(3400, 0xFFFFFFFFu, GetRsrcCache());
    std::unique_ptr<CBaseObj> built(list.Build(nullptr, appl.get(), 0));
    auto* root = dynamic_cast<CFrame*>(built.get());
    ASSERT_NE(root, nullptr);
    const auto find = [&](uint32_t kind, int32_t id) { return root->FindObject(kind, id); };
    auto* button = dynamic_cast<CGameBtn*>(find(static_cast<uint32_t>(-1), 3401));
    ASSERT_NE(button, nullptr);
    EXPECT_STREQ(button->GetCaption()->PeekText()->GetText(), "Pack the Wagon");
    auto* repeat = dynamic_cast<CRepeatButton*>(find(static_cast<uint32_t>(-1), 3402));
    ASSERT_NE(repeat, nullptr);
    EXPECT_EQ(repeat->GetImageCount(), 6);
    auto* plain = dynamic_cast<CSpinFrm*>(find(static_cast<uint32_t>(-1), 3403));
    auto* arrows = dynamic_cast<CSpinFrm*>(find(static_cast<uint32_t>(-1), 3404));
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(arrows, nullptr);
    EXPECT_EQ(plain->GetUpButton(), nullptr);
    ASSERT_NE(arrows->GetUpButton(), nullptr);
    EXPECT_EQ(arrows->GetBounds().GetHeight(), 18) << "two arrows of 9";
    EXPECT_STREQ(arrows->GetText()->GetText(), "150");
    auto* checks = dynamic_cast<CCheckListCtl*>(find(static_cast<uint32_t>(-1), 3405));
    ASSERT_NE(checks, nullptr);
    EXPECT_EQ(checks->GetItemCount(), 4);
    auto* pairs = dynamic_cast<CTwoColListFrm*>(find(static_cast<uint32_t>(-1), 3406));
    ASSERT_NE(pairs, nullptr);
    EXPECT_EQ(pairs->GetSelectedNumber(), 20);
    EXPECT_STREQ(pairs->GetSelectedText()->GetText(), "pounds of flour");
    auto* picture = dynamic_cast<CRandomPictureCtl*>(find(static_cast<uint32_t>(-1), 3407));
    ASSERT_NE(picture, nullptr);
    EXPECT_NE(picture->GetImages(), nullptr);
    auto* text = dynamic_cast<CTextFrame*>(find(3408, 3408));
    ASSERT_NE(text, nullptr);
    EXPECT_NE(std::string(text->PeekText()->GetText()).find("each made from its template."),
              std::string::npos);
}

TEST_F(GameCommands, TheEditTargetItemShowsACopyOfTheAnnouncedText)
{
    const auto itemText = [] {
        CNamedItem* item = GetMenuBar()->FindCommand(3010, nullptr, nullptr);
        return item ? std::string(item->GetName().GetText()) : "no item";
    };
    {
        // The announcer keeps its text and may let it go at once.
        CStr announced("Undo Typing");
        CMessage message(-36, 0, 0, -1);
        message.SetParamPtr(&announced, 3);
        DeliverMessage(*appl, message, nullptr, false);
    }
    EXPECT_EQ(itemText(), "Undo Typing");
    Command(-36);
    EXPECT_EQ(itemText(), "Nothing to Edit");
}

// The player in the save dialog: picks a slot and names the game, or cancels.
struct ScriptedSaveDialog {
    ScriptedSaveDialog()
    {
        SetSaveDialogRunner([this](CSaveListFrm& dialog) {
            ++runs;
            shown = dialog.GetDisplayNames().GetEntryCount();
            CMessage pick(CSaveListFrm::kMsgListPick, 0, 0, -1);
            pick.SetParam(slot, 3);
            dialog.HandleMessage(pick, nullptr);
            // The player types the name into the dialog's field (the open dialog has none).
            if (auto* dlg = dynamic_cast<CSaveDlg*>(&dialog); dlg && dlg->GetNameField())
                dlg->GetNameField()->SetText(std::make_unique<CStr>(name), false);
            CMessage end(slot < 0 ? CSaveListFrm::kMsgCancel : CSaveListFrm::kMsgOk, 0, 0, -1);
            dialog.HandleMessage(end, nullptr);
        });
    }
    ~ScriptedSaveDialog() { SetSaveDialogRunner(nullptr); }
    int32_t slot = -1;
    const char* name = "";
    int runs = 0;
    int32_t shown = 0;
};

fs::path SlotFile(const char* name)
{
    return qmtest::TempDir() / "share" / "kvl" / "Quillmark III" / "Saved Games" / name;
}

TEST_F(GameCommands, FileCommandsSaveOpenAndQuitThroughTheSaveDialog)
{
    // Disc 2's marker is in a drive too.
    fs::copy(qmtest::SourceDir() / "data" / "game" / "QM3DISC2.MRK", qmtest::TempDir() / "QM3DISC2.MRK");
    ScriptedSaveDialog player;
    Command(-26); // no game: nothing to offer
    EXPECT_TRUE(IsQuitRequested());
    EXPECT_EQ(player.runs, 0);
    SetQuitRequested(false);

    Command(-24);
    Command(-26); // a game on disc 1 is not offered either
    EXPECT_TRUE(IsQuitRequested());
    EXPECT_EQ(player.runs, 0);
    SetQuitRequested(false);
    GetCurDoc()->SetDisc(2);
    player.slot = 1;
    player.name = "Typed name";
    Command(-27);
    EXPECT_EQ(player.runs, 1);
    EXPECT_EQ(player.shown, 5); // every slot when saving
    const std::string saved = qmtest::ReadWholeFile(SlotFile("SLOT2.QM3"));
    EXPECT_EQ(saved.substr(16, 11), std::string("Typed name") + '\0');
    EXPECT_STREQ(GetCurDoc()->GetName()->GetText(), "Typed name");

    // Quitting: a cancel quits; a failed save shows its message and keeps the game.
    player.slot = -1;
    Command(-26);
    EXPECT_TRUE(IsQuitRequested());
    SetQuitRequested(false);
    fs::create_directories(SlotFile("SLOT3.QM3"));
    player.slot = 2;
    Command(-26);
    EXPECT_FALSE(IsQuitRequested());
    ASSERT_FALSE(Boxes().empty());
    EXPECT_EQ(Boxes().back().text, "The saved game cannot be written.");
    ASSERT_NE(GetCurDoc(), nullptr);

    // Opening lists only saved games; a cancel leaves no game. (A game on disc 1 is not
    // offered for saving first.)
    GetCurDoc()->SetDisc(1);
    player.slot = 0;
    player.name = "";
    Command(-25);
    EXPECT_EQ(player.shown, 1);
    EXPECT_EQ(Game().lastOpenResult, 0);
    ASSERT_NE(GetCurDoc(), nullptr);
    EXPECT_STREQ(GetCurDoc()->GetName()->GetText(), "Typed name");
    EXPECT_EQ(GetCurDoc()->GetDisc(), 2);
    player.slot = -1;
    Command(-25);
    EXPECT_EQ(Game().lastOpenResult, 1);
    EXPECT_EQ(GetCurDoc(), nullptr);
}

// Keeps the save dialog's reports.
struct SaveReports : CEventObj {
    SaveReports() : CEventObj(1, 78, nullptr) { RegisterLiveObject(this); }
    bool HandleMessage(CMessage& message, CBaseObj*) override
    {
        indices.push_back(static_cast<int32_t>(message.GetParam(3)));
        return true;
    }
    std::vector<int32_t> indices;
};

std::unique_ptr<CSaveDlg> MakeSaveDialog(CBaseObj& target, int32_t screen, const char* current = nullptr)
{
    const std::unique_ptr<CTplRec> slots = CreateTplRec(kSlotFileList, 0xFFFFFFFFu, false);
    const CStr currentName(current ? current : "");
    return std::make_unique<CSaveDlg>(-2, CPoint(0, 0), &target, kSaveDialogResult, CStr("Saved Games"),
                                      slots.get(), CQM3Doc::kNameOffset, CQM3Doc::kNameSize,
                                      current ? &currentName : nullptr, screen, 0xFFFFFFFFu,
                                      screen == kOpenDialogList, kSlotListId, kNameFieldId, kOkButtonId);
}

void SendToDialog(CSaveDlg& dialog, int32_t id, int word, MsgWord value)
{
    CMessage message(id, 0, 0, -1);
    message.SetParam(value, word);
    dialog.HandleMessage(message, nullptr);
}

std::string FieldText(const CSaveDlg& dialog) { return dialog.GetNameField()->GetText()->GetText(); }

TEST_F(GameCommands, TheSaveDialogNamesThePickedSlotAndEnablesOkOnlyThen)
{
    fs::create_directories(SlotFile(""));
    const std::string game = "VORTQMK3" + std::string("\x01\x01", 2) + std::string(6, '\0') + "Wagons" +
                             std::string(26, '\0') + std::string("\0\0\0\x02\0\x03", 6);
    std::ofstream(SlotFile("SLOT3.QM3"), std::ios::binary) << game;
    SaveReports reports;

    const auto dialog = MakeSaveDialog(reports, kSaveDialogList);
    ASSERT_TRUE(dialog->HasScreen());
    ASSERT_NE(dialog->GetList(), nullptr);
    ASSERT_NE(dialog->GetNameField(), nullptr);
    ASSERT_NE(dialog->GetOkButton(), nullptr);
    EXPECT_EQ(dialog->GetList()->GetItemCount(), 5);
    EXPECT_STREQ(dialog->GetList()->GetList()->GetEntry(2)->GetText(), "Wagons");
    EXPECT_EQ(dialog->GetList()->GetSelection(), -1);
    EXPECT_FALSE(dialog->IsOkEnabled());
    EXPECT_FALSE(dialog->GetOkButton()->IsEnabled());
    EXPECT_FALSE(dialog->GetNameField()->IsShown());

    // A pick outside the list changes nothing; a slot puts its name in the field.
    SendToDialog(*dialog, CSaveListFrm::kMsgListPick, 3, 5);
    SendToDialog(*dialog, CSaveListFrm::kMsgListPick, 3, -1);
    EXPECT_FALSE(dialog->IsOkEnabled());
    dialog->GetList()->SetItemIndex(2);
    SendToDialog(*dialog, CSaveListFrm::kMsgListPick, 3, 2);
    EXPECT_TRUE(dialog->IsOkEnabled());
    EXPECT_TRUE(dialog->GetOkButton()->IsEnabled());
    EXPECT_TRUE(dialog->GetNameField()->IsShown());
    EXPECT_EQ(FieldText(*dialog), "Wagons");
    EXPECT_STREQ(dialog->GetChosenName().GetText(), "Wagons");

    // OK takes the typed name's first line.
    dialog->GetNameField()->SetText(std::make_unique<CStr>("Across the plains\r\nand on"), false);
    SendToDialog(*dialog, CSaveListFrm::kMsgOk, 0, 0);
    EXPECT_STREQ(dialog->GetChosenName().GetText(), "Across the plains");
    EXPECT_EQ(reports.indices, (std::vector<int32_t>{2}));
    ASSERT_NE(dialog->GetChosenSpec(), nullptr);
    EXPECT_EQ(dialog->GetChosenSpec()->HostPath(), SlotFile("SLOT3.QM3"));

    // The open game's slot is chosen from the start; the open dialog lists only saved games
    // and has no name field.
    const auto current = MakeSaveDialog(reports, kForcedSaveDialogList, "SLOT3.QM3");
    EXPECT_TRUE(current->IsOkEnabled());
    EXPECT_EQ(current->GetList()->GetSelection(), 2);
    EXPECT_TRUE(current->GetNameField()->IsShown());
    EXPECT_EQ(FieldText(*current), "Wagons");
    const auto opening = MakeSaveDialog(reports, kOpenDialogList);
    EXPECT_EQ(opening->GetNameField(), nullptr);
    EXPECT_EQ(opening->GetList()->GetItemCount(), 1);
    SendToDialog(*opening, CSaveListFrm::kMsgListPick, 3, 0);
    SendToDialog(*opening, CSaveListFrm::kMsgOk, 0, 0);
    EXPECT_STREQ(opening->GetChosenName().GetText(), "Wagons");
    SendToDialog(*opening, CSaveListFrm::kMsgCancel, 0, 0);
    EXPECT_TRUE(opening->IsCancelled());
    EXPECT_EQ(reports.indices, (std::vector<int32_t>{2, 0, -1}));
}

// The names a save dialog's list shows, in order.
std::vector<std::string> ListedNames(const CSaveDlg& dialog)
{
    std::vector<std::string> names;
    for (int32_t i = 0; i < dialog.GetList()->GetItemCount(); ++i)
        names.push_back(dialog.GetList()->GetList()->GetEntry(i)->GetText());
    return names;
}

TEST_F(GameCommands, ADamagedSlotShowsUntitledInTheOpenAndTheSaveDialogAlike)
{
    fs::create_directories(SlotFile(""));
    const std::string header = "VORTQMK3" + std::string("\x01\x01", 2) + std::string(6, '\0');
    const std::string name = "Wagons" + std::string(26, '\0');
    // Slot 1 a saved game; 2 junk; 3 an empty file; 4 cut after its name; 5 free.
    for (const auto& [file, bytes] : std::vector<std::pair<std::string, std::string>>{
             {"SLOT1.QM3", header + name + std::string("\0\x03", 2)},
             {"SLOT2.QM3", std::string(60, 'x')},
             {"SLOT3.QM3", ""},
             {"SLOT4.QM3", header + name}})
        std::ofstream(SlotFile(file.c_str()), std::ios::binary) << bytes;
    SaveReports reports;
    const std::string untitled = CSaveListFrm::kUntitled;
    EXPECT_EQ(ListedNames(*MakeSaveDialog(reports, kSaveDialogList)),
              (std::vector<std::string>{"Wagons", untitled, untitled, untitled, untitled}));
    // Opening leaves the free slot out and shows the damaged ones as saving does.
    EXPECT_EQ(ListedNames(*MakeSaveDialog(reports, kOpenDialogList)),
              (std::vector<std::string>{"Wagons", untitled, untitled, untitled}));
}

TEST_F(GameCommands, AGameNamedByAMessageOpensAndAFailedLoadKeepsItsDocument)
{
    fs::create_directories(SlotFile(""));
    const std::string game = "VORTQMK3" + std::string("\x01\x01", 2) + std::string(6, '\0') + "Named" +
                             std::string(27, '\0') + std::string("\0\0\0\x01\0\x01\0\0\0\0\0\x03", 12);
    std::ofstream(qmtest::TempDir() / "named.qm3", std::ios::binary) << game;
    CMessage open(kMsgOpenFile, 0, 0, -1);
    open.SetParamPtr(new CFileSpec("C:\\named.qm3"), 2);
    SendMsg(*appl, open.GetId(), 0, 0, nullptr); // without a spec: nothing
    EXPECT_EQ(GetCurDoc(), nullptr);
    DeliverMessage(*appl, open, nullptr, false);
    ASSERT_NE(GetCurDoc(), nullptr);
    EXPECT_STREQ(GetCurDoc()->GetName()->GetText(), "Named");
    EXPECT_EQ(GetCurDoc()->GetDisc(), 1);
    EXPECT_EQ(plat::GetTitle(Game().topWnd->GetHwnd()), "Quillmark - Named");

    std::ofstream(qmtest::TempDir() / "bad.qm3", std::ios::binary) << game.substr(0, 58); // no end record
    open.SetParamPtr(new CFileSpec("C:\\bad.qm3"), 2);
    DeliverMessage(*appl, open, nullptr, false);
    ASSERT_NE(GetCurDoc(), nullptr);
    EXPECT_FALSE(GetCurDoc()->HasFileSpec());
    ASSERT_FALSE(Boxes().empty());
    EXPECT_EQ(Boxes().back().text, "The saved game cannot be read.");

    // A game on disc 2, whose marker no drive holds: the player gives up, the trip starts
    // over and the document that was loading goes.
    std::string disc2 = game;
    disc2[51] = 2;
    std::ofstream(qmtest::TempDir() / "disc2.qm3", std::ios::binary) << disc2;
    plat::GetMessageQueue().SetEventSource([](plat::MessageQueue&, uint64_t) {
        CMessage giveUp(-13, 0, 0, -1);
        BroadcastMessage(giveUp, nullptr);
    });
    open.SetParamPtr(new CFileSpec("C:\\disc2.qm3"), 2);
    DeliverMessage(*appl, open, nullptr, false);
    EXPECT_EQ(GetCurDoc(), nullptr);
    EXPECT_EQ(appl->GetCurrentDisc(), -1);
}

} // namespace
