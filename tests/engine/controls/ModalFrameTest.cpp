#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "engine/controls/BTplList.h"
#include "engine/controls/ImageFrame.h"
#include "engine/controls/Menu.h"
#include "engine/controls/MenuBar.h"
#include "engine/controls/kinds/TemplateKinds.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/engine/resources/DefinitionText.h"

namespace {

using namespace wtest;

class ModalFrameTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        appl = std::make_unique<TestAppl>(log);
        SetMenuBar(new CMenuBar(new CMenu(1000, 0xFFFFFFFF, nullptr)));
        wnd = MakeWindow(CWind::kTypeTopLevel, Root(200, 100, log));
    }
    void TearDown() override
    {
        delete wnd;
        SetMenuBar(nullptr);
    }
    // How many runs have the menu bar disabled.
    int16_t MenuDepth() { return static_cast<int16_t>(-GetMenuBar()->GetDisableDepth()); }

    std::unique_ptr<TestAppl> appl;
    CWind* wnd = nullptr;
};

TEST_F(ModalFrameTest, EndMessageFromAChildEndsTheRunWithTheChildsId)
{
    CImageFrame modal(1, CRect(0, 0, 50, 80), false);
    auto* button = new CFrame(4, 42, CRect(10, 10, 20, 30), false);
    modal.AddChild(button, false);
    int16_t depthDuring = 0;
    Later press([&] {
        depthDuring = MenuDepth();
        EXPECT_EQ(wnd->GetTopFrame(), &modal);
        SendMsg(modal, kMsgEndModal, 0, 0, button);
    });
    EXPECT_EQ(modal.Run(wnd, true), 42);
    EXPECT_EQ(depthDuring, 1);
    EXPECT_EQ(MenuDepth(), 0);
    EXPECT_EQ(wnd->GetLayerCount(), 1);
    EXPECT_FALSE(modal.IsLive());
    EXPECT_EQ(modal.GetDrawnRect().GetLeft(), 60); // centred on the 200 x 100 root
}

TEST_F(ModalFrameTest, MouseMessageOrQuitEndsTheRunAndKeepsTheResult)
{
    CImageFrame modal(1, CRect(0, 0, 50, 80), false);
    CFrame sender(4, 7, CRect(0, 0, 1, 1), false);
    Later first([&] { SendMsg(modal, kMsgEndModal, 0, 0, &sender); });
    EXPECT_EQ(modal.Run(wnd, false), 7);

    Later mouse([&] { SendMsg(modal, kMsgMouse, 0, 0, nullptr); });
    EXPECT_EQ(modal.Run(wnd, false), 7); // a new run starts undone; the result stays

    Later quit([] { SetQuitRequested(true); });
    EXPECT_EQ(modal.Run(wnd, false), 7);
    EXPECT_EQ(wnd->GetLayerCount(), 1);
    EXPECT_EQ(MenuDepth(), 0);
    SetQuitRequested(false);
    EXPECT_EQ(modal.Run(nullptr, false), 0);
}

TEST_F(ModalFrameTest, NestedRunsDisableTheMenuBarTwice)
{
    CImageFrame outer(1, CRect(0, 0, 50, 80), false);
    CImageFrame inner(2, CRect(0, 0, 20, 20), false);
    std::vector<int16_t> depths;
    Later openInner([&] {
        depths.push_back(MenuDepth());
        Later closeInner([&] {
            depths.push_back(MenuDepth());
            SendMsg(inner, kMsgEndModal, 0, 0, &inner);
        });
        EXPECT_EQ(inner.Run(wnd, false), 2);
        depths.push_back(MenuDepth());
        SendMsg(outer, kMsgEndModal, 0, 0, &outer);
    });
    EXPECT_EQ(outer.Run(wnd, false), 1);
    EXPECT_EQ(depths, (std::vector<int16_t>{1, 2, 1}));
    EXPECT_EQ(MenuDepth(), 0);
}

TEST_F(ModalFrameTest, GrowingFrameEnclosesItsPointAndChildren)
{
    CImageFrame modal(1, CPoint(100, 50), false);
    EXPECT_TRUE(modal.Grows());
    auto* a = new CFrame(4, 2, CRect(10, 10, 40, 60), false);
    auto* b = new CFrame(4, 3, CRect(30, 0, 90, 20), false);
    modal.AddChild(a, false);
    modal.AddChild(b, false);
    EXPECT_EQ(Str(modal.GetBounds()), "10,0,90,100");
    // The children stay where they were, inside the grown frame.
    EXPECT_EQ(Str(a->GetBounds()), "10,10,40,60");
    EXPECT_EQ(Str(b->GetBounds()), "30,0,90,20");
}

TEST_F(ModalFrameTest, TemplateWithoutSizeGrows)
{
    deftext::InstallEngineStrings();
    RegisterAllTemplateKinds();
    CBTplList list(deftext::MakeBlock("14, 1, 0, 9, 0,0, 0,0, 30, 20, 0, 0\n"
                                      "1,  2, 1, 9, 0,0, 0,0, 35, 25, 60, 90\n"
                                      "14, 3, 0, 9, 0,0, 0,0, 5, 6, 70, 80\n",
                                      "TPL", 1));
    std::unique_ptr<CFrame> grown(static_cast<CFrame*>(list.Build(nullptr, nullptr, 0)));
    auto* modal = dynamic_cast<CImageFrame*>(grown.get());
    ASSERT_NE(modal, nullptr);
    EXPECT_EQ(modal->GetKind(), CImageFrame::kKind);
    EXPECT_EQ(Str(modal->GetBounds()), "5,6,70,90"); // grown around both children
    auto* fixed = dynamic_cast<CImageFrame*>(grown->FindObject(CBaseObj::kAnyKind, 3));
    ASSERT_NE(fixed, nullptr);
    EXPECT_FALSE(fixed->Grows());
    EXPECT_EQ(Str(fixed->GetBounds()), "5,6,70,80");
    EXPECT_EQ(Str(grown->FindObject(CBaseObj::kAnyKind, 2)->GetBounds()), "35,25,60,90");
}

} // namespace
