// The modal dialog window: its loop, its results, nesting, quitting and fixed-size dialogs.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/controls/BTplList.h"
#include "engine/controls/Menu.h"
#include "engine/controls/MenuBar.h"
#include "engine/controls/StrTplWnd.h"
#include "engine/controls/TopWnd.h"
#include "engine/controls/kinds/TemplateKinds.h"
#include "engine/framework/Str.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/engine/resources/DefinitionText.h"

namespace {

using namespace wtest;

class StrTplWndTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        appl = std::make_unique<TestAppl>(log);
        SetMenuBar(new CMenuBar(new CMenu(1000, 0xFFFFFFFF, nullptr)));
        main = std::make_unique<CTopWnd>(std::make_unique<CStr>("Main"), Root(400, 300, log), nullptr, 0);
        main->ShowWnd();
        main->Activate();
    }
    void TearDown() override
    {
        main.reset();
        SetMenuBar(nullptr);
    }
    std::unique_ptr<CStrTplWnd> Dialog(uint32_t flags = 0, CFrame* root = nullptr)
    {
        return std::make_unique<CStrTplWnd>(std::make_unique<CStr>("Pick"), root ? root : Root(120, 80, log),
                                            nullptr, main.get(), flags);
    }
    // How many runs have the menu bar disabled.
    int16_t MenuDepth() { return static_cast<int16_t>(-GetMenuBar()->GetDisableDepth()); }

    std::unique_ptr<TestAppl> appl;
    std::unique_ptr<CTopWnd> main;
};

TEST_F(StrTplWndTest, EndMessageEndsTheLoopWithItsSendersId)
{
    CFrame* root = Root(120, 80, log);
    auto dialog = Dialog(0, root);
    EXPECT_EQ(plat::GetTitle(dialog->GetHwnd()), "Pick");
    EXPECT_EQ(plat::GetOwner(dialog->GetHwnd()), main->GetHwnd());
    EXPECT_TRUE(dialog->HasChildren());
    CFrame button(4, 42, CRect(0, 0, 10, 10), false);
    int16_t depthDuring = 0;
    Later press([&] {
        depthDuring = MenuDepth();
        EXPECT_EQ(CWind::GetActiveWnd(), dialog.get());
        SendMsg(*dialog, kMsgEndModal, 0, 0, &button);
    });
    EXPECT_EQ(dialog->RunModal(), 42);
    EXPECT_EQ(depthDuring, 1);
    EXPECT_EQ(MenuDepth(), 0);
    EXPECT_EQ(root->GetOwner(), nullptr) << "the controls leave the window";

    // Without a sender the result stays what an earlier end gave; a new dialog answers 0.
    Later noSender([&] { SendMsg(*dialog, kMsgEndModal, 0, 0, nullptr); });
    EXPECT_EQ(dialog->RunModal(), 42);
    auto fresh = Dialog();
    Later again([&] { SendMsg(*fresh, kMsgEndModal, 0, 0, nullptr); });
    EXPECT_EQ(fresh->RunModal(), 0);
}

TEST_F(StrTplWndTest, RunningDialogKeepsTheActivation)
{
    auto dialog = Dialog();
    CWind* activeAfterClick = nullptr;
    Later click([&] {
        plat::ActivateWindow(main->GetHwnd());
        PumpAll();
        activeAfterClick = CWind::GetActiveWnd();
        SendMsg(*dialog, kMsgEndModal, 0, 0, nullptr);
    });
    dialog->RunModal();
    EXPECT_EQ(activeAfterClick, dialog.get());
}

TEST_F(StrTplWndTest, ClosingEndsTheLoopWithZeroAndLeavesTheWindowToTheCaller)
{
    auto dialog = Dialog();
    CFrame button(4, 7, CRect(0, 0, 10, 10), false);
    Later first([&] { SendMsg(*dialog, kMsgEndModal, 0, 0, &button); });
    EXPECT_EQ(dialog->RunModal(), 7);
    delete dialog->SetFrame(Root(120, 80, log)); // a second run needs a root again
    Later close(
        [&] { plat::SendWindowMessage(dialog->GetHwnd(), plat::msg::SysCommand, plat::syscmd::Close); });
    EXPECT_EQ(dialog->RunModal(), 0);
    EXPECT_TRUE(CWind::IsLiveWindow(dialog.get()));
    EXPECT_EQ(MenuDepth(), 0);

    // Closed while no loop runs, the window procedure deletes it as any dialog.
    CStrTplWnd* idle = Dialog().release();
    plat::SendWindowMessage(idle->GetHwnd(), plat::msg::SysCommand, plat::syscmd::Close);
    EXPECT_FALSE(CWind::IsLiveWindow(idle));
}

TEST_F(StrTplWndTest, NestedDialogsEnableTheMenuBarOnlyAfterBothReturned)
{
    auto outer = Dialog();
    auto inner = Dialog();
    std::vector<int16_t> depths;
    Later openInner([&] {
        depths.push_back(MenuDepth());
        Later closeInner([&] {
            depths.push_back(MenuDepth());
            SendMsg(*inner, kMsgEndModal, 0, 0, inner.get());
        });
        inner->RunModal();
        depths.push_back(MenuDepth());
        SendMsg(*outer, kMsgEndModal, 0, 0, outer.get());
    });
    outer->RunModal();
    EXPECT_EQ(depths, (std::vector<int16_t>{1, 2, 1}));
    EXPECT_EQ(MenuDepth(), 0);
    EXPECT_EQ(inner->GetResult(), inner->GetId());
    EXPECT_EQ(outer->GetResult(), outer->GetId());
}

TEST_F(StrTplWndTest, QuitEndsEveryRunningLoop)
{
    auto outer = Dialog();
    auto inner = Dialog();
    bool innerReturned = false;
    Later openInner([&] {
        Later quit([&] { SendMsg(*appl, kMsgQuit, 0, 0, nullptr); });
        EXPECT_EQ(inner->RunModal(), 0);
        innerReturned = true;
    });
    EXPECT_EQ(outer->RunModal(), 0);
    EXPECT_TRUE(innerReturned);
    EXPECT_TRUE(IsQuitRequested());
    EXPECT_EQ(MenuDepth(), 0);
}

TEST_F(StrTplWndTest, WithoutRootFrameOrMenuBar)
{
    CStrTplWnd bare(nullptr, nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(bare.RunModal(), 0); // at once, the menu bar untouched
    EXPECT_EQ(MenuDepth(), 0);

    SetMenuBar(nullptr); // a program without a menu resource has none
    auto dialog = Dialog();
    Later press([&] { SendMsg(*dialog, kMsgEndModal, 0, 0, main.get()); });
    EXPECT_EQ(dialog->RunModal(), main->GetId());
    SetMenuBar(new CMenuBar(new CMenu(1000, 0xFFFFFFFF, nullptr)));
}

TEST_F(StrTplWndTest, FixedSizeDialogOffersNoSizeCommands)
{
    auto fixed = Dialog(CWind::kFlagFixedSize);
    auto resizable = Dialog();
    fixed->ShowWnd();
    resizable->ShowWnd();
    const uint32_t sizing[] = {plat::syscmd::Size, plat::syscmd::Minimize, plat::syscmd::Maximize,
                               plat::syscmd::Restore};
    for (uint32_t command : sizing) {
        EXPECT_FALSE(plat::OffersSystemCommand(fixed->GetHwnd(), command)) << command;
        EXPECT_TRUE(plat::OffersSystemCommand(resizable->GetHwnd(), command)) << command;
    }
    const plat::Rect before = plat::GetWindowRect(fixed->GetHwnd());
    for (uint32_t command : {plat::syscmd::Minimize, plat::syscmd::Size, plat::syscmd::Maximize})
        plat::SendWindowMessage(fixed->GetHwnd(), plat::msg::SysCommand, command);
    EXPECT_FALSE(plat::IsMinimized(fixed->GetHwnd()));
    EXPECT_FALSE(plat::IsMaximized(fixed->GetHwnd()));
    EXPECT_EQ(plat::GetWindowRect(fixed->GetHwnd()), before);
    plat::SendWindowMessage(resizable->GetHwnd(), plat::msg::SysCommand, plat::syscmd::Minimize);
    EXPECT_TRUE(plat::IsMinimized(resizable->GetHwnd()));
}

TEST_F(StrTplWndTest, TemplatePlacesTheDialogInItsParentsClientArea)
{
    deftext::InstallEngineStrings();
    RegisterAllTemplateKinds();
    main->SetId(5);
    CBTplList list(deftext::MakeBlock("0x35, 50, 5, 30, 20, 1, \"Store\"\n"
                                      "1, 10, 0, 9, 0, 0, 0, 0, 0, 0, 80, 120\n",
                                      "TPL", 77));
    std::unique_ptr<CWind> made(dynamic_cast<CWind*>(list.Build(nullptr, nullptr, 0)));
    auto* dialog = dynamic_cast<CStrTplWnd*>(made.get());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->GetId(), 50);
    EXPECT_EQ(dialog->GetParentWnd(), main.get());
    EXPECT_EQ(plat::GetTitle(dialog->GetHwnd()), "Store");
    EXPECT_FALSE(plat::OffersSystemCommand(dialog->GetHwnd(), plat::syscmd::Minimize));
    const CRect parent = main->GetScreenClientRect();
    EXPECT_EQ(dialog->GetFrameRect().GetLeft(), parent.GetLeft() + 20);
    EXPECT_EQ(dialog->GetFrameRect().GetTop(), parent.GetTop() + 30);
    EXPECT_EQ(dialog->GetScreenClientRect().GetWidth(), 120);
    EXPECT_EQ(dialog->GetScreenClientRect().GetHeight(), 80);
}

} // namespace
