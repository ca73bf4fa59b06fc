// The guidebook (module type 4) in the game started on the sample data: its screen, turning
// pages, the tabs and entries with their sounds, the diary written back, and content or
// screens that differ from the sample's.
//
// The golden pictures hold the first spread of the river section and the first contents
// screen of a section with two; run the tests
// once with QM_UPDATE_GOLDEN=1 in the environment to write it again (text pixels depend on the
// fonts installed).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/controls/ImageWnd.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/Wind.h"
#include "engine/controls/imagectl/ImgRadioWnd.h"
#include "engine/controls/input/CaptionFrame.h"
#include "engine/controls/input/InputFrame.h"
#include "engine/controls/input/TextBtnFrame.h"
#include "engine/controls/native/EditField.h"
#include "engine/controls/text/ScrollList.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgBox.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "game/base/GameGlobals.h"
#include "game/base/MainWnd.h"
#include "game/base/ModuleMgr.h"
#include "game/base/save/Diary.h"
#include "game/base/save/QM3Doc.h"
#include "game/shell/Guidebook.h"
#include "game/shell/ModuleFactory.h"
#include "game/shell/QM3Appl.h"
#include "game/shell/StandInModules.h"
#include "tests/game/base/FakeSound.h"
#include "tests/game/shell/SampleGame.h"
#include "tests/support/FatalReports.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

using shelltest::FakeSound;
using shelltest::Log;

// Section ids and indices of the sample guidebook.
constexpr int32_t kWelcome = 1;   // index 0, a single text
constexpr int32_t kJourney = 2;   // index 1, 6 pages on 2 contents screens
constexpr int32_t kWagons = 3;    // index 2, 3 pages on 1 contents screen
constexpr int32_t kRivers = 4;    // index 3
constexpr int32_t kPlants = 5;    // index 4
constexpr int32_t kLandmarks = 8; // index 7
constexpr int32_t kIndex = 9;     // index 8
constexpr int32_t kDiary = 10;    // index 9

// The game on the sample data, past its start (the opening screen current).
class GuidebookScreen : public shelltest::SampleGameScreen {
protected:
    void TearDown() override
    {
        SampleGameScreen::TearDown(); // closes the game too
        ResetModuleConstructors();
    }

    // A resource of the sample data replaced (before the guidebook is opened).
    void Replace(const char* type, int32_t id, const std::string& text)
    {
        qmtest::ReplaceFile(folder / "QM3Data.qmd" / type / qmtest::FolderLibraryWriter::FileName(type, id),
                            text);
    }
    // A game open, with that diary text.
    void OpenGame(const std::string& diaryText)
    {
        doc = new CQM3Doc("Sample");
        doc->GetDiary()->SetText(CStr(diaryText.c_str()));
        Game().document = doc;
    }
    std::string DiaryText() const { return doc->GetDiary()->GetText().GetText(); }

    static CGuidebook* Guide() { return dynamic_cast<CGuidebook*>(GetModuleMgr()->GetModule(4)); }
    static void Open()
    {
        CDispatchScope scope;
        SendMsg(*GetMainWnd(), CMainWnd::kMsgRequestModule, 4, 1, nullptr);
    }
    static CFrame* Control(int32_t id) { return Guide()->FindObject(CBaseObj::kAnyKind, id); }
    // A click on a control of the screen (its notification, as a release inside sends it).
    static void Click(CFrame* control)
    {
        ASSERT_NE(control, nullptr);
        // The sounds of earlier clicks have ended, so every slot is free.
        for (int32_t slot = 0; slot < kSoundSlotCount; ++slot)
            if (auto* sound = dynamic_cast<FakeSound*>(PeekSlot(slot)))
                sound->Finish();
        CDispatchScope scope;
        dynamic_cast<CInputFrame&>(*control).SendNotify();
    }
    static void Press(int32_t id) { Click(Control(id)); }
    // The sounds played since the last call.
    Log Played()
    {
        Log played;
        for (const std::string& line : sounds)
            if (line.ends_with(":play"))
                played.push_back(line);
        sounds.clear();
        return played;
    }
    static std::string Text(int32_t id)
    {
        auto* frame = dynamic_cast<CTextFrame*>(Control(id));
        return frame && frame->PeekText() ? frame->PeekText()->GetText() : std::string("(none)");
    }
    static bool Shown(int32_t id)
    {
        CFrame* frame = Control(id);
        return frame && frame->IsShown();
    }
    // Where the book is: section id and page.
    static std::pair<int32_t, int32_t> Place()
    {
        const CGuidebook* guide = Guide();
        return {guide->GetContent().sections[static_cast<size_t>(guide->GetCurSection())].id,
                guide->GetCurPage()};
    }
    // The entries of the two contents columns, and their labels.
    static std::vector<CTextBtnFrame*> EntryButtons()
    {
        std::vector<CTextBtnFrame*> entries;
        for (int column = 0; column < 2; ++column)
            if (CFrame* frame = Guide()->GetColumn(column))
                for (CFrame* child : ChildFrames(*frame))
                    if (auto* entry = dynamic_cast<CTextBtnFrame*>(child))
                        entries.push_back(entry);
        return entries;
    }
    static std::string Label(const CTextBtnFrame* entry)
    {
        const CCaptionFrame* caption = entry->GetCaption();
        return caption && caption->PeekText() ? caption->PeekText()->GetText() : "";
    }
    static std::vector<std::string> Entries()
    {
        std::vector<std::string> labels;
        for (const CTextBtnFrame* entry : EntryButtons())
            labels.push_back(Label(entry));
        return labels;
    }
    static CTextBtnFrame* EntryNamed(const std::string& label)
    {
        for (CTextBtnFrame* entry : EntryButtons())
            if (Label(entry) == label)
                return entry;
        return nullptr;
    }
    static void ShowSection(int32_t id, int32_t page)
    {
        CDispatchScope scope;
        Guide()->ShowSection(id, page);
    }
    static void ExpectGolden(const char* name) { shelltest::ExpectGameWindowGolden(name, 480); }

    CQM3Doc* doc = nullptr; // the application's
};

TEST_F(GuidebookScreen, OpensAtTheFirstSectionWithATabForEach)
{
    Open();
    CGuidebook* guide = Guide();
    ASSERT_NE(guide, nullptr);
    EXPECT_EQ(GetModuleMgr()->GetCurModule(), 4);
    EXPECT_EQ(guide->GetVariant(), 1);
    ASSERT_EQ(guide->GetContent().sections.size(), 10u);
    for (size_t slot = 0; slot < 10; ++slot) {
        CImgRadioWnd* tab = guide->GetTab(slot);
        ASSERT_NE(tab, nullptr) << slot;
        EXPECT_EQ(tab->GetGroupId(), CGuidebook::kTabGroup);
        EXPECT_EQ(tab->GetNotifyMessage().GetId(), CGuidebook::kMsgButton);
        EXPECT_EQ(tab->GetNotifyMessage().GetParam(0), guide->GetContent().sections[slot].id);
    }
    EXPECT_EQ(guide->GetTab(10), nullptr);
    // The welcome section is a single text.
    EXPECT_EQ(Place(), std::make_pair(kWelcome, 0));
    EXPECT_TRUE(Shown(CGuidebook::kSingleText));
    EXPECT_NE(Text(CGuidebook::kSingleText).find("Welcome to the Quillmark III guidebook."),
              std::string::npos);
    for (int32_t id : {CGuidebook::kLeftHeading, CGuidebook::kRightHeading, CGuidebook::kLeftText,
                       CGuidebook::kRightText, CGuidebook::kVoice, CGuidebook::kMovie, CGuidebook::kSound})
        EXPECT_FALSE(Shown(id)) << id;
    ASSERT_NE(guide->GetIcon(), nullptr);
    EXPECT_EQ(guide->GetIcon()->GetDrawnRect().GetTop(), 18);
    EXPECT_EQ(guide->GetIcon()->GetDrawnRect().GetLeft(), 18);
    EXPECT_FALSE(guide->GetMoreNotice()->IsShown());
    EXPECT_EQ(guide->GetMoreNotice()->GetDrawnRect(), CRect(460, 150, 480, 640));
}

// Three pages on one contents screen: the contents (0), the spread of pages 1 and 2, and page
// 3 beside the blank page of list 8998; then the next section.
TEST_F(GuidebookScreen, NextAndPreviousTurnThroughASection)
{
    Open();
    ShowSection(kWagons, 0);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"The Wagon", "Oxen", "Spare Parts"}));
    EXPECT_EQ(Text(CGuidebook::kLeftHeading), "Wagons and Teams");
    EXPECT_FALSE(Shown(CGuidebook::kLeftText));
    EXPECT_TRUE(Guide()->GetTab(2)->IsOn());

    Played();
    Press(CGuidebook::kNext);
    EXPECT_EQ(Place(), std::make_pair(kWagons, 1));
    EXPECT_EQ(Played(), (Log{"8003:play"}));
    EXPECT_EQ(Text(CGuidebook::kLeftHeading), "The Wagon");
    EXPECT_EQ(Text(CGuidebook::kRightHeading), "Oxen");
    EXPECT_NE(Text(CGuidebook::kLeftText).find("sturdy farm wagon"), std::string::npos);
    EXPECT_EQ(Guide()->GetColumn(0), nullptr);
    // The left page's picture over the left text, none for the right page (it has none).
    ASSERT_NE(Guide()->GetLeftPicture(), nullptr);
    EXPECT_EQ(Guide()->GetRightPicture(), nullptr);
    const CRect& text = Control(CGuidebook::kLeftText)->GetDrawnRect();
    const CRect& picture = Guide()->GetLeftPicture()->GetDrawnRect();
    EXPECT_EQ(picture.GetBottom(), text.GetBottom() - 30);
    EXPECT_EQ(picture.GetLeft() + picture.GetRight(), text.GetLeft() + text.GetRight());

    Press(CGuidebook::kNext);
    EXPECT_EQ(Place(), std::make_pair(kWagons, 3));
    EXPECT_EQ(Text(CGuidebook::kLeftHeading), "Spare Parts");
    EXPECT_EQ(Text(CGuidebook::kRightHeading), "Notes");
    EXPECT_EQ(Text(CGuidebook::kRightText), "This page is left blank for your own notes.");
    EXPECT_EQ(Guide()->GetLeftPicture(), nullptr); // a page without pictures

    Press(CGuidebook::kNext);
    EXPECT_EQ(Place(), std::make_pair(kRivers, 0));
    Press(CGuidebook::kPrevious);
    EXPECT_EQ(Place(), std::make_pair(kWagons, 3));
    Press(CGuidebook::kPrevious);
    EXPECT_EQ(Place(), std::make_pair(kWagons, 1));
    Press(CGuidebook::kPrevious);
    EXPECT_EQ(Place(), std::make_pair(kWagons, 0));

    // An entry shows its page with sound 50001; a page asked for on the right of a spread
    // shows the whole spread.
    Played();
    Click(EntryNamed("Oxen"));
    EXPECT_EQ(Played(), (Log{"50001:play"}));
    EXPECT_EQ(Place(), std::make_pair(kWagons, 2));
    EXPECT_EQ(Text(CGuidebook::kLeftHeading), "The Wagon");
}

TEST_F(GuidebookScreen, TheEndsOfTheBookGoNoFurther)
{
    Open();
    // Back from the second section's first page to the first section: its tab goes off.
    Click(Guide()->GetTab(1));
    ASSERT_TRUE(Guide()->GetTab(1)->IsOn());
    Press(CGuidebook::kPrevious);
    EXPECT_EQ(Place(), std::make_pair(kWelcome, 0));
    EXPECT_FALSE(Guide()->GetTab(1)->IsOn());
    Played();
    Press(CGuidebook::kPrevious);
    EXPECT_EQ(Place(), std::make_pair(kWelcome, 0));
    EXPECT_TRUE(Played().empty());
    ShowSection(kDiary, 0);
    Press(CGuidebook::kNext);
    EXPECT_EQ(Place(), std::make_pair(kDiary, 0));
    EXPECT_TRUE(Played().empty());
    // Back from the diary: the last index screen.
    Press(CGuidebook::kPrevious);
    EXPECT_EQ(Place(), std::make_pair(kIndex, 1));
}

TEST_F(GuidebookScreen, TabsOpenTheirSectionAtItsFirstPage)
{
    Open();
    ShowSection(kLandmarks, 3);
    Played();
    Click(Guide()->GetTab(4));
    EXPECT_EQ(Played(), (Log{"50000:play"}));
    EXPECT_EQ(Place(), std::make_pair(kPlants, 0));
    EXPECT_TRUE(Guide()->GetTab(4)->IsOn());
    // The plant section has no contents screen: page 0 is its first spread.
    EXPECT_EQ(Text(CGuidebook::kLeftHeading), "Wild Greens");
    EXPECT_EQ(Text(CGuidebook::kRightHeading), "Roots");
}

TEST_F(GuidebookScreen, ContentsOverTwoScreensShowTheMoreNotice)
{
    Open();
    ShowSection(kJourney, 0);
    EXPECT_EQ(Entries(),
              (std::vector<std::string>{"Setting Out", "The Route", "Pace", "Rations", "Resting"}));
    EXPECT_TRUE(Guide()->GetMoreNotice()->IsShown());
    // Three rows in the first column, two in the second.
    EXPECT_EQ(Guide()->GetColumn(0)->GetDrawnRect(), CRect(60, 40, 60 + 3 * 26, 290));
    EXPECT_EQ(Guide()->GetColumn(1)->GetDrawnRect(), CRect(60, 340, 60 + 2 * 26, 590));
    EXPECT_EQ(EntryNamed("Rations")->GetDrawnRect().GetTop(), 60);
    EXPECT_EQ(EntryNamed("Rations")->GetDrawnRect().GetLeft(), 340);
    Press(CGuidebook::kNext);
    EXPECT_EQ(Place(), std::make_pair(kJourney, 1));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Trading"}));
    EXPECT_FALSE(Guide()->GetMoreNotice()->IsShown());
    // An even number of contents screens: the spreads start at page 2.
    Press(CGuidebook::kNext);
    EXPECT_EQ(Place(), std::make_pair(kJourney, 2));
    EXPECT_EQ(Text(CGuidebook::kLeftHeading), "Setting Out");
    Press(CGuidebook::kNext);
    Press(CGuidebook::kNext);
    EXPECT_EQ(Place(), std::make_pair(kJourney, 6));
    EXPECT_EQ(Text(CGuidebook::kLeftHeading), "Resting");
    EXPECT_EQ(Text(CGuidebook::kRightHeading), "Trading");
    Press(CGuidebook::kNext);
    EXPECT_EQ(Place(), std::make_pair(kWagons, 0));
}

TEST_F(GuidebookScreen, TheIndexLeadsToItsPages)
{
    Open();
    ShowSection(kIndex, 0);
    EXPECT_EQ(Text(CGuidebook::kLeftHeading), "Index");
    const std::vector<std::string> first = Entries();
    ASSERT_EQ(first.size(), 10u);
    EXPECT_EQ(first.front(), "Axles and wheels");
    EXPECT_TRUE(Guide()->GetMoreNotice()->IsShown());
    Click(EntryNamed("Poisonous plants"));
    EXPECT_EQ(Place(), std::make_pair(kPlants, 3));
    EXPECT_EQ(Text(CGuidebook::kLeftHeading), "Berries");
    EXPECT_EQ(Text(CGuidebook::kRightHeading), "Poisonous Plants");
    ShowSection(kIndex, 1);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Snow", "Stores"}));
    EXPECT_FALSE(Guide()->GetMoreNotice()->IsShown());
}

// An index key that names no page is skipped: the next item takes its row.
TEST_F(GuidebookScreen, AnIndexKeyWithoutItsPageIsSkipped)
{
    Replace("STR", 8018, "\"Index\" \"Fording\" \"Fording\" \"Lost\" \"No Such Page\" \"Oxen\" \"Oxen\"\n");
    Open();
    ShowSection(kIndex, 0);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Fording", "Oxen"}));
    EXPECT_EQ(EntryNamed("Oxen")->GetDrawnRect().GetTop(), 60 + 26);
    EXPECT_FALSE(Guide()->GetMoreNotice()->IsShown());
}

TEST_F(GuidebookScreen, TheVoiceAndSoundOfTheLeftPage)
{
    Open();
    ShowSection(kRivers, 1);
    EXPECT_TRUE(Shown(CGuidebook::kVoice));
    EXPECT_TRUE(Shown(CGuidebook::kSound));
    EXPECT_FALSE(Shown(CGuidebook::kMovie));
    Played();
    Press(CGuidebook::kVoice);
    Press(CGuidebook::kSound);
    Press(CGuidebook::kMovie);
    EXPECT_EQ(Played(), (Log{"8401:play", "8402:play"}));
    ShowSection(kRivers, 3);
    EXPECT_FALSE(Shown(CGuidebook::kVoice));
    EXPECT_FALSE(Shown(CGuidebook::kSound));
}

// Every sound of the book is streamed at full level: a tab's, an entry's, the buttons' and the
// page's voice and sound.
TEST_F(GuidebookScreen, ItsSoundsAreStreamedAtFullLevel)
{
    Open();
    struct Case {
        const char* what;
        std::function<void()> click;
        int32_t sound;
    };
    const Case cases[] = {
        {"tab", [] { Click(Guide()->GetTab(2)); }, CGuidebook::kTabSound},
        {"entry", [] { Click(EntryNamed("Oxen")); }, CGuidebook::kEntrySound},
        {"next", [] { Press(CGuidebook::kNext); }, 8003},
        {"previous", [] { Press(CGuidebook::kPrevious); }, 8003},
        {"voice",
         [] {
             ShowSection(kRivers, 1);
             Press(CGuidebook::kVoice);
         },
         8401},
        {"sound", [] { Press(CGuidebook::kSound); }, 8402},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.click();
        const CSndObj* sound = nullptr;
        for (int32_t slot = 0; slot < kSoundSlotCount; ++slot)
            if (const CSndObj* s = PeekSlot(slot); s && s->GetId() == c.sound && !sound)
                sound = s;
        ASSERT_NE(sound, nullptr);
        EXPECT_TRUE(sound->IsStreamed());
        EXPECT_EQ(sound->GetLevel(), 255);
    }
}

// The diary page edits the open game's diary; leaving it writes the text back, adding a line
// end only when the text has none at its end, so visits add no blank lines.
TEST_F(GuidebookScreen, TheDiaryEditIsWrittenBack)
{
    OpenGame("May 1: We left the landing.\r\n");
    Open();
    ShowSection(kDiary, 0);
    CEditCtl* editor = Guide()->GetEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetDrawnRect(), CRect(30, 330, 380, 600));
    EXPECT_STREQ(editor->GetText()->GetText(), "May 1: We left the landing.\r\n");
    EXPECT_TRUE(Guide()->GetTab(9)->IsOn());
    EXPECT_EQ(Text(CGuidebook::kLeftHeading), "Diary");
    // Visited and left without an edit: unchanged.
    Press(CGuidebook::kPrevious);
    EXPECT_EQ(Guide()->GetEditor(), nullptr);
    EXPECT_EQ(DiaryText(), "May 1: We left the landing.\r\n");
    // A line typed at the end, without a line end of its own: one is added.
    ShowSection(kDiary, 0);
    Guide()->GetEditor()->SetText(std::make_unique<CStr>("May 1: We left the landing.\r\nMay 2: Rain."),
                                  false);
    Click(Guide()->GetTab(0));
    EXPECT_EQ(DiaryText(), "May 1: We left the landing.\r\nMay 2: Rain.\r\n");
    // Visited twice more: no blank line grows.
    ShowSection(kDiary, 0);
    ShowSection(kWelcome, 0);
    ShowSection(kDiary, 0);
    ShowSection(kWelcome, 0);
    EXPECT_EQ(DiaryText(), "May 1: We left the landing.\r\nMay 2: Rain.\r\n");
    // Closing the book on the diary page writes it back too.
    ShowSection(kDiary, 0);
    Guide()->GetEditor()->SetText(std::make_unique<CStr>("Nothing else."), false);
    {
        CDispatchScope scope;
        SendMsg(*GetMainWnd(), CMainWnd::kMsgLeaveModule, 0, 0, nullptr);
    }
    EXPECT_EQ(GetModuleMgr()->GetModule(4), nullptr);
    EXPECT_EQ(DiaryText(), "Nothing else.\r\n");
}

TEST_F(GuidebookScreen, WithoutAGameTheDiaryIsAnEmptyPageThatKeepsNothing)
{
    Open();
    ShowSection(kDiary, 0);
    ASSERT_NE(Guide()->GetEditor(), nullptr);
    EXPECT_STREQ(Guide()->GetEditor()->GetText()->GetText(), "");
    Guide()->GetEditor()->SetText(std::make_unique<CStr>("A note."), false);
    Press(CGuidebook::kPrevious);
    EXPECT_EQ(GetCurDoc(), nullptr);
    ShowSection(kDiary, 0);
    EXPECT_STREQ(Guide()->GetEditor()->GetText()->GetText(), "");
}

TEST_F(GuidebookScreen, ASuspendedGuidebookComesBackOnItsPage)
{
    OpenGame("");
    Open();
    ShowSection(kDiary, 0);
    Guide()->GetEditor()->SetText(std::make_unique<CStr>("Crossed the river."), false);
    {
        CDispatchScope scope;
        SendMsg(*GetMainWnd(), CMainWnd::kMsgRequestModule, 2, 1, nullptr);
    }
    EXPECT_EQ(Guide()->GetState(), CModule::kStateSuspended);
    EXPECT_EQ(DiaryText(), "Crossed the river.\r\n");
    EXPECT_EQ(Guide()->GetEditor(), nullptr);
    {
        CDispatchScope scope;
        SendMsg(*GetMainWnd(), CMainWnd::kMsgLeaveModule, 0, 0, nullptr);
    }
    ASSERT_EQ(GetModuleMgr()->GetCurModule(), 4);
    EXPECT_EQ(Place(), std::make_pair(kDiary, 0));
    ASSERT_NE(Guide()->GetEditor(), nullptr);
    EXPECT_STREQ(Guide()->GetEditor()->GetText()->GetText(), "Crossed the river.\r\n");
    // One set of controls and tabs, not two.
    int tabs = 0, nexts = 0;
    for (CFrame* child : ChildFrames(*Guide())) {
        tabs += dynamic_cast<CImgRadioWnd*>(child) != nullptr;
        nexts += child->GetId() == CGuidebook::kNext;
    }
    EXPECT_EQ(tabs, 10);
    EXPECT_EQ(nexts, 1);
}

// The factory's start places, with test modules in the gathering and river play slots.
TEST_F(GuidebookScreen, OpensWhereTheGatheringOrTheRiverAsks)
{
    SetModuleConstructor(3, [](const CRect& r, CModuleMgr&) { return new CPlainFrameModule(r); });
    SetModuleConstructor(6, [](const CRect& r, CModuleMgr&) { return new CPlainAnimModule(r); });
    // Gathering: section index 4 at the guidebook topic, the spread it lies on.
    GetModuleMgr()->SetGuideTopic(2);
    ASSERT_TRUE(GetModuleMgr()->CreateModule(3));
    Open();
    EXPECT_EQ(Guide()->GetVariant(), 0);
    EXPECT_EQ(Place(), std::make_pair(kPlants, 2));
    EXPECT_EQ(Text(CGuidebook::kLeftHeading), "Berries");
    EXPECT_EQ(Text(CGuidebook::kRightHeading), "Poisonous Plants");
    // A topic past the section's pages shows its last spread.
    GetModuleMgr()->DestroyModule(4);
    GetModuleMgr()->SetGuideTopic(40);
    ASSERT_TRUE(GetModuleMgr()->CreateModule(4));
    EXPECT_EQ(Place(), std::make_pair(kPlants, 3));
    EXPECT_EQ(Text(CGuidebook::kRightHeading), "Poisonous Plants");
    // An odd topic shows the spread it lies on.
    GetModuleMgr()->DestroyModule(4);
    GetModuleMgr()->SetGuideTopic(1);
    ASSERT_TRUE(GetModuleMgr()->CreateModule(4));
    EXPECT_EQ(Place(), std::make_pair(kPlants, 1));
    EXPECT_EQ(Text(CGuidebook::kLeftHeading), "Wild Greens");
    // River play (before gathering): the river section's contents.
    GetModuleMgr()->DestroyModule(4);
    ASSERT_TRUE(GetModuleMgr()->CreateModule(6));
    ASSERT_TRUE(GetModuleMgr()->CreateModule(4));
    EXPECT_EQ(Place(), std::make_pair(kRivers, 0));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Crossing a River", "Fording", "Ferries and Rafts"}));
}

TEST_F(GuidebookScreen, TwelveSectionsGetElevenTabs)
{
    std::string text = "8000, 8001, 8002, 8003, 8004,\n";
    for (int i = 0; i < 12; ++i)
        text += std::to_string(i + 1) + ", 3, " + std::to_string(16 + 30 * i) +
                ", 602, 8200, 18, 18, 60, 40, 0, 60, 340, 0, 26, 250, 21, 11, 202, 8010, 8210,\n-1,\n";
    Replace("GBK", 1, text + "-1\n");
    Open();
    ASSERT_EQ(Guide()->GetContent().sections.size(), 12u);
    int tabs = 0;
    for (CFrame* child : ChildFrames(*Guide()))
        tabs += dynamic_cast<CImgRadioWnd*>(child) != nullptr;
    EXPECT_EQ(tabs, 11);
    // The twelfth section is still reached by the buttons.
    ShowSection(11, 0);
    Press(CGuidebook::kNext);
    EXPECT_EQ(Place(), std::make_pair(12, 0));
}

// The diary lights the tab of slot 9 and previous turns off that of slot 1 on reaching the
// first section: in a book where neither slot holds a tab, both are skipped.
TEST_F(GuidebookScreen, NavigationSkipsTabSlotsWithoutATab)
{
    OpenGame("Day one.\r\n");
    const char* const kSection = ", 18, 18, 60, 40, 0, 60, 340, 0, 26, 250, 21, 11, 202, ";
    Replace("GBK", 1,
            std::string("8000, 8001, 8002, 8003, 8004,\n") + "1, 3, 16, 602, 8200" + kSection +
                "8010, 8210,\n-1,\n" + "2, 1, 53, 602, 0" + kSection + "8019, 8219,\n-1,\n" +
                "3, 3, 90, 602, 8202" + kSection + "8010, 8210,\n-1,\n-1\n");
    Open();
    EXPECT_NE(Guide()->GetTab(0), nullptr);
    EXPECT_EQ(Guide()->GetTab(1), nullptr);
    EXPECT_NE(Guide()->GetTab(2), nullptr);
    Click(Guide()->GetTab(2));
    EXPECT_EQ(Place(), std::make_pair(3, 0));
    Press(CGuidebook::kPrevious);
    EXPECT_EQ(Place(), std::make_pair(2, 0));
    ASSERT_NE(Guide()->GetEditor(), nullptr);
    EXPECT_STREQ(Guide()->GetEditor()->GetText()->GetText(), "Day one.\r\n");
    // The tab of the section left behind stays on: no tab lights for the diary.
    EXPECT_TRUE(Guide()->GetTab(2)->IsOn());
    Press(CGuidebook::kPrevious);
    EXPECT_EQ(Place(), std::make_pair(1, 0));
    EXPECT_EQ(DiaryText(), "Day one.\r\n");
}

// A contents section without pages shows its heading; pages asked for outside a section's
// pages are its nearest ones.
TEST_F(GuidebookScreen, SectionsWithoutPagesAndPagesOutsideThem)
{
    Replace("GBK", 1,
            "8000, 8001, 8002, 8003, 8004,\n"
            "1, 0, 16, 602, 8200, 18, 18, 60, 40, 5, 60, 340, 5, 26, 250, 21, 11, 202, 8011, 8210,\n-1,\n"
            "2, 2, 53, 602, 8201, 18, 18, 60, 40, 5, 60, 340, 5, 26, 250, 21, 11, 202, 8018, 8211,\n-1,\n"
            "-1\n");
    Open();
    EXPECT_EQ(Place(), std::make_pair(1, 0));
    EXPECT_EQ(Text(CGuidebook::kLeftHeading), "The Journey");
    EXPECT_TRUE(Entries().empty());
    ShowSection(1, 7);
    EXPECT_EQ(Place(), std::make_pair(1, 0));
    Press(CGuidebook::kNext);
    EXPECT_EQ(Place(), std::make_pair(2, 0));
    // None of the index's keys is a page here.
    EXPECT_TRUE(Entries().empty());
    ShowSection(2, -3);
    EXPECT_EQ(Place(), std::make_pair(2, 0));
    Press(CGuidebook::kNext);
    EXPECT_EQ(Place(), std::make_pair(2, 1));
    Press(CGuidebook::kNext);
    EXPECT_EQ(Place(), std::make_pair(2, 1));
}

// Each of the voice, film and sound buttons is required: a screen without one is a fatal
// report naming the line that looks it up.
class GuidebookMissingControl : public GuidebookScreen, public testing::WithParamInterface<int> {};

TEST_P(GuidebookMissingControl, IsAFatalReport)
{
    const std::pair<int32_t, const char*> lines[] = {{8008, "929"}, {8009, "935"}, {8010, "941"}};
    std::string screen;
    for (const auto& kept : lines)
        if (kept.first != lines[GetParam()].first)
            screen +=
                "0x23, " + std::to_string(kept.first) +
                ", 0, 0xB, 0, 0, 0, 0, 364, 260, 0, 0, 4, 0, -13, 0, 0, 2, \"B\", 21, 11, 202, 236, 3\n";
    Replace("TPL", 8002, screen);
    const std::string text = qmtest::FatalBoxText([] { Open(); });
    EXPECT_NE(text.find("Missing control."), std::string::npos) << text;
    EXPECT_NE(text.find("Guidebok"), std::string::npos) << text;
    EXPECT_NE(text.find(lines[GetParam()].second), std::string::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(VoiceFilmSound, GuidebookMissingControl, testing::Values(0, 1, 2));

TEST_F(GuidebookScreen, ASpreadAndAContentsScreenLookRight)
{
    Open();
    ShowSection(kRivers, 1);
    ExpectGolden("guidebook-rivers.png");
    Click(Guide()->GetTab(1));
    ExpectGolden("guidebook-contents.png");
}

} // namespace
