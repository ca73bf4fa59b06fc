#include <gtest/gtest.h>

#include <filesystem>

#include "engine/controls/Menu.h"
#include "engine/controls/MenuBar.h"
#include "engine/framework/Str.h"
#include "engine/resources/FormatList.h"
#include "platform/Menu.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/engine/resources/DefinitionText.h"

namespace {

using namespace wtest;

// The menus of the fixture: a bar of two pull-downs; "File" holds a command with Ctrl+N, a
// separator, the quit command with Alt+Ctrl+A (its id is its command, as the window
// procedure finds it by that id), a disabled command and a sub-menu with a
// plain hot key; "Options" names itself as a sub-menu, an item with an id above 32767, and
// an item without a command. Each entry: unused, unused, text, hot key, unused, id,
// command, flags (1 disabled, 2 sub-menu), unused.
const std::vector<deftext::Resource> kMenus = {
    {"MNU", 0, "list long long string short short long long short short endlist"},
    {"MNU", 1000,
     "0 0 \"File\" 0 0 1001 0 2 0\n"
     "0 0 \"Options\" 0 0 1002 0 2 0\n"},
    {"MNU", 1001,
     "0 0 \"New\" 0x24E 0 10 2001 0 0\n"
     "0 0 \"-\" 0x244 0 0 0 0 0\n"
     "0 0 \"Quit\" 0x341 0 2070 2070 0 0\n"
     "0 0 \"Grey\" 0x247 0 12 2002 1 0\n"
     "0 0 \"More\" 0 0 1003 0 2 0\n"},
    {"MNU", 1003, "0 0 \"Deep\" 0x44 0 13 2003 0 0\n"},
    {"MNU", 1002,
     "0 0 \"Again\" 0 0 1002 0 2 0\n"
     "0 0 \"High\" 0 0 40000 2004 0 0\n"
     "0 0 \"Idle\" 0x249 0 14 0 0 0\n"
     "0 0 \"Cut short\" 0 0\n"}, // an entry missing its last values is not read
};

class MenuTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        deftext::InstallEngineStrings();
        AddMenus();
        appl = std::make_unique<TestAppl>(log);
    }
    void TearDown() override
    {
        SetMenuBar(nullptr);
        appl.reset();
    }
    virtual void AddMenus() { deftext::AddFolderLibrary(kMenus); }
    // Builds the application's menu bar from "MNU" 1000.
    CMenuBar* Bar()
    {
        appl->CreateMenuBar();
        return GetMenuBar();
    }
    std::vector<std::string> Texts(plat::MenuHandle menu)
    {
        std::vector<std::string> out;
        for (int i = 0; i < plat::GetMenuItemCount(menu); ++i) {
            const plat::MenuItem item = *plat::GetMenuItem(menu, i);
            out.push_back(
                item.separator ? "--" : item.text + (item.grayed ? "(grey)" : "") + (item.popup ? ">" : ""));
        }
        return out;
    }
    CMenuItem* Item(int32_t id)
    {
        return static_cast<CMenuItem*>(GetMenuBar()->FindCommand(id, nullptr, nullptr));
    }
    void PressHotKey(std::initializer_list<uint8_t> modifiers, uint8_t key)
    {
        for (uint8_t m : modifiers)
            plat::InjectKey(m, true);
        plat::PressKey(key);
        for (uint8_t m : modifiers)
            plat::InjectKey(m, false);
        PumpAll();
    }

    std::unique_ptr<TestAppl> appl;
};

TEST_F(MenuTest, MenuRecordsBuildTheTreeOfTheMenuBar)
{
    CMenuBar* bar = Bar();
    EXPECT_EQ(Texts(bar->GetHandle()), (std::vector<std::string>{"File>", "Options>"}));
    CMenu* file = static_cast<CMenu*>(bar->GetMenu()->GetItem(0));
    EXPECT_EQ(file->GetId(), 1001);
    EXPECT_EQ(Texts(file->GetPopup()),
              (std::vector<std::string>{"New", "--", "Quit", "Grey(grey)", "More>"}));
    CMenu* options = static_cast<CMenu*>(bar->GetMenu()->GetItem(1));
    // The menu naming itself is left out; the cut-short entry is not read.
    EXPECT_EQ(Texts(options->GetPopup()), (std::vector<std::string>{"Again>", "High", "Idle"}));
    EXPECT_EQ(static_cast<CMenu*>(options->GetItem(0))->GetItemCount(), 0);

    auto* separator = static_cast<CMenuItem*>(file->GetItem(1));
    EXPECT_TRUE(separator->IsSeparator());
    EXPECT_FALSE(separator->IsEnabled());
    EXPECT_FALSE(separator->IsHotKeyRegistered()); // even with a hot key in the record

    // Hot-key ids count every item made, from 100.
    EXPECT_EQ(Item(10)->GetHotKeyId(), 100);
    EXPECT_EQ(Item(2070)->GetHotKeyId(), 102);
    EXPECT_EQ(Item(12)->GetHotKeyId(), 0); // disabled: not registered
    EXPECT_EQ(Item(13)->GetHotKeyId(), 104);

    CMenu empty(4242, 0xFFFFFFFFu, nullptr); // no such record
    EXPECT_EQ(empty.GetItemCount(), 0);
}

// The engine's own sample menus (data/engine/MNU): their format ends each entry with an
// "fshort" filler, and the text of a record's last entry stops before it.
class EngineDataMenuTest : public MenuTest {
protected:
    void AddMenus() override
    {
        qmtest::UseTempDirAsDriveC();
        const std::filesystem::path folder = qmtest::TempDir() / "Engine" / "MNU";
        std::filesystem::create_directories(folder);
        std::filesystem::copy(qmtest::SourceDir() / "data" / "engine" / "MNU", folder);
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\Engine"));
    }
};

TEST_F(EngineDataMenuTest, TheLastEntryOfARecordIsBuiltWithoutItsTrailingFiller)
{
    CMenuBar* bar = Bar();
    ASSERT_EQ(Texts(bar->GetHandle()), (std::vector<std::string>{"File>", "Options>"}));
    CMenu* file = static_cast<CMenu*>(bar->GetMenu()->GetItem(0));
    EXPECT_EQ(Texts(file->GetPopup()), (std::vector<std::string>{"New", "Open...", "Save(grey)", "Quit"}));
    CMenu* options = static_cast<CMenu*>(bar->GetMenu()->GetItem(1));
    EXPECT_EQ(Texts(options->GetPopup()), (std::vector<std::string>{"Music", "Sound"}));
    ASSERT_NE(Item(4), nullptr);
    EXPECT_EQ(Item(4)->GetCommand(), 2070);
    EXPECT_TRUE(Item(4)->IsEnabled());
}

TEST_F(MenuTest, FindByIdComparesSixteenBitIds)
{
    CMenuBar* bar = Bar();
    CMenu* holder = nullptr;
    int32_t position = -1;
    EXPECT_EQ(bar->FindCommand(40000, &holder, &position), nullptr);
    CNamedItem* high = bar->FindCommand(40000 - 65536, &holder, &position);
    ASSERT_NE(high, nullptr);
    EXPECT_EQ(std::string(high->GetName().GetText()), "High");
    EXPECT_EQ(holder, bar->GetMenu()->GetItem(1));
    EXPECT_EQ(position, 1);
    EXPECT_EQ(bar->FindCommand(1003, nullptr, nullptr),
              static_cast<CMenu*>(bar->GetMenu()->GetItem(0))->GetItem(4));
}

TEST_F(MenuTest, HotKeysAndPicksSendTheCommandWithTheItemId)
{
    CWind* main = MakeWindow(CWind::kTypeTopLevel, Root(200, 100, log));
    (void)main;
    Bar();
    PressHotKey({plat::key::Alt, plat::key::Control}, 'A'); // 0x341: Alt+Ctrl with key 0x41
    PressHotKey({plat::key::Control}, 'N');
    PressHotKey({}, 'D');
    PressHotKey({plat::key::Control}, 'I'); // no command: nothing is sent
    EXPECT_EQ(log, (Log{"appl:2070/2070", "appl:2001/10", "appl:2003/13"}));

    // A menu pick arrives as a command with the item's id.
    log.clear();
    plat::SendWindowMessage(main->GetHwnd(), plat::msg::Command, 13, 0);
    EXPECT_EQ(log, Log{"appl:2003/13"});
    delete main;
}

TEST_F(MenuTest, HotKeysFollowEnablingAndTheApplicationsActivity)
{
    CMenuBar* bar = Bar();
    bar->EnableItem(10, false);
    EXPECT_EQ(Item(10)->GetHotKeyId(), 0);
    bar->EnableItem(12, true);
    EXPECT_EQ(Item(12)->GetHotKeyId(), 103);
    EXPECT_FALSE(plat::GetMenuItem(static_cast<CMenu*>(bar->GetMenu()->GetItem(0))->GetPopup(), 3)->grayed);

    appl->Pause();
    EXPECT_EQ(Item(12)->GetHotKeyId(), 0);
    EXPECT_EQ(Item(2070)->GetHotKeyId(), 0);
    PressHotKey({plat::key::Alt, plat::key::Control}, 'A');
    appl->Resume();
    EXPECT_EQ(Item(2070)->GetHotKeyId(), 102);
    EXPECT_EQ(Item(10)->GetHotKeyId(), 0); // still disabled
    PressHotKey({plat::key::Alt, plat::key::Control}, 'A');
    EXPECT_EQ(log, Log{"appl:2070/2070"});
}

TEST_F(MenuTest, TheBarIsDisabledNestedAndRestoresOnlyWhatWasEnabled)
{
    CMenuBar* bar = Bar();
    auto grayed = [bar](int i) { return plat::GetMenuItem(bar->GetHandle(), i)->grayed; };
    bar->EnableItem(1002, false); // "Options" disabled by the game
    bar->Enable(false);
    bar->Enable(false);
    EXPECT_TRUE(grayed(0));
    bar->Enable(true);
    EXPECT_TRUE(grayed(0)); // one disable is still open
    bar->Enable(true);
    EXPECT_FALSE(grayed(0));
    EXPECT_TRUE(grayed(1));
    EXPECT_EQ(bar->GetDisableDepth(), 0);
    bar->EnableItem(1001, false);
    bar->Enable(true); // without a disable: the menus recorded last time come back
    EXPECT_FALSE(grayed(0));
    EXPECT_EQ(bar->GetDisableDepth(), 0);
}

TEST_F(MenuTest, ItemsAreCheckedRenamedAndRemovedByCommandId)
{
    CMenuBar* bar = Bar();
    CMenu* file = static_cast<CMenu*>(bar->GetMenu()->GetItem(0));
    bar->CheckItem(2070, true);
    EXPECT_TRUE(plat::GetMenuItem(file->GetPopup(), 2)->checked);
    bar->SetItemText(2070, std::make_unique<CStr>("Leave"));
    EXPECT_EQ(plat::GetMenuItem(file->GetPopup(), 2)->text, "Leave");
    bar->RemoveCommand(2070);
    EXPECT_EQ(Texts(file->GetPopup()), (std::vector<std::string>{"New", "--", "Grey(grey)", "More>"}));
    EXPECT_EQ(bar->FindCommand(2070, nullptr, nullptr), nullptr);
    bar->RemoveCommand(1003); // a sub-menu
    EXPECT_EQ(Texts(file->GetPopup()), (std::vector<std::string>{"New", "--", "Grey(grey)"}));
}

TEST_F(MenuTest, TheFirstTopWindowCarriesTheBarAndAltF4GivesTheQuitCommand)
{
    CMenuBar* bar = Bar();
    CWind* main = MakeWindow(CWind::kTypeTopLevel, Root(200, 100, log));
    CWind* second = MakeWindow(CWind::kTypeTopLevel, Root(200, 100, log));
    EXPECT_EQ(plat::GetWindowMenu(main->GetHwnd()), bar->GetHandle());
    EXPECT_EQ(bar->GetWindow(), main->GetHwnd());
    EXPECT_EQ(plat::GetWindowMenu(second->GetHwnd()), 0u);
    EXPECT_EQ(plat::GetClientRect(main->GetHwnd()), plat::Rect::FromSize(0, 0, 200, 100));

    plat::ActivateWindow(main->GetHwnd());
    plat::InjectKey(plat::key::Alt, true);
    plat::PressKey(plat::key::F4);
    plat::InjectKey(plat::key::Alt, false);
    PumpAll();
    EXPECT_EQ(log, Log{"appl:2070/2070"});
    EXPECT_TRUE(CWind::IsLiveWindow(main)); // the window is not destroyed by the close
    delete second;
    delete main;
}

TEST_F(MenuTest, ClosingTheMainWindowWithoutAMenuBarQuits)
{
    appl->SetRegistered(true); // the quit message is broadcast to every live object
    CWind* main = MakeWindow(CWind::kTypeTopLevel, Root(200, 100, log));
    plat::SendWindowMessage(main->GetHwnd(), plat::msg::Close);
    EXPECT_TRUE(IsQuitRequested());
    EXPECT_EQ(plat::SendWindowMessage(main->GetHwnd(), plat::msg::QueryEndSession), 1);
    delete main;
}

} // namespace
