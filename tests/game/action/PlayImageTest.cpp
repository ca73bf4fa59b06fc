#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/controls/Frame.h"
#include "engine/controls/Menu.h"
#include "engine/controls/MenuBar.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/imagectl/ImgBtnWnd.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Message.h"
#include "engine/framework/Str.h"
#include "game/action/PlayImage.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/engine/controls/anim/AnimTestKit.h"
#include "tests/engine/resources/DefinitionText.h"
#include "tests/support/FrameStripFixtures.h"

namespace {

using animtest::Text;
using wtest::Str;

// A frame that notes the messages it is sent.
class Receiver : public CFrame {
public:
    Receiver() : CFrame(CFrame::kKindFrame, 70, CRect(0, 0, 400, 640), false) {}
    bool HandleMessage(CMessage& message, CBaseObj* sender) override
    {
        log += std::to_string(message.GetId()) + (sender ? "" : "?") + " ";
        return true;
    }
    std::string log;
};

// Picture 800 (200 x 150) and the buttons: keep 30 x 10, let go 20 x 10, the third 24 x 12.
class PlayImageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        deftext::InstallEngineStrings();
        std::vector<deftext::Resource> resources = {{"CBM", 800, Picture(200, 150)},
                                                    {"CBM", CPlayImage::kKeepImage, Picture(30, 10)},
                                                    {"CBM", CPlayImage::kLetGoImage, Picture(20, 10)}};
        if (withAskButton)
            resources.push_back({"CBM", CPlayImage::kAskImage, Picture(24, 12)});
        deftext::AddFolderLibrary(resources);
        bar = std::make_unique<CMenuBar>(new CMenu(1000, 0xFFFFFFFF, nullptr));
        SetMenuBar(bar.get());
    }
    void TearDown() override { SetMenuBar(nullptr); }

    static std::string Picture(int16_t w, int16_t h)
    {
        return Text(qmtest::MakeFrameStrip(
            {qmtest::CodedFrame(w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h, 5))}));
    }
    static int16_t MenuDepth() { return static_cast<int16_t>(-GetMenuBar()->GetDisableDepth()); }

    std::unique_ptr<CPlayImage> Window()
    {
        auto window = std::make_unique<CPlayImage>(CPlayImage::kId, CPoint(1, 1));
        const CStr text("A trout of 3.7 pounds");
        window->Setup(&receiver, 800, &text);
        window->AddButtons();
        return window;
    }

    std::unique_ptr<CMenuBar> bar;
    bool withAskButton = true;
    Receiver receiver;
};

class PlayImageWithoutButtonTest : public PlayImageTest {
protected:
    void SetUp() override
    {
        withAskButton = false;
        PlayImageTest::SetUp();
    }
};

} // namespace

TEST_F(PlayImageTest, PictureTextAndButtonsAreLaidOutAlongTheBottom)
{
    auto window = Window();
    const CRect& area = window->GetDrawnRect();
    EXPECT_EQ(area.GetWidth(), 200);
    EXPECT_EQ(area.GetHeight(), 150);
    EXPECT_EQ(window->GetZ(), -10);
    // Each child's rectangle within the window's.
    std::vector<std::string> children;
    for (CFrame* child : ChildFrames(*window)) {
        CRect r = child->GetDrawnRect();
        r.Offset(static_cast<int16_t>(-area.GetLeft()), static_cast<int16_t>(-area.GetTop()));
        children.push_back((dynamic_cast<CTextFrame*>(child) ? "text " : "button ") + Str(r));
    }
    // The text inset 30, 20, 20 and 80; keep centred 15 above the bottom, let go left of it and
    // the third button right of it, 4 apart.
    EXPECT_EQ(children, (std::vector<std::string>{"text 30,20,70,180", "button 125,85,135,115",
                                                  "button 125,61,135,81", "button 123,119,135,143"}));
    EXPECT_FALSE(window->TakesInput());
}

TEST_F(PlayImageTest, ButtonMessagesEnableTheMenuBarAndGoToTheReceiver)
{
    auto window = Window();
    EXPECT_EQ(MenuDepth(), 1);
    for (const int32_t id : {CPlayImage::kMsgAsk, 7, CPlayImage::kMsgKeep}) {
        CMessage message(id, 0, 0, -1);
        EXPECT_TRUE(window->HandleMessage(message, nullptr)); // every message is taken
    }
    EXPECT_EQ(receiver.log, "265 263 ");
    EXPECT_EQ(MenuDepth(), 0);
    window.reset();
    EXPECT_EQ(MenuDepth(), 0);
}

TEST_F(PlayImageWithoutButtonTest, AMissingButtonImageLeavesNoButtonsAndClosingEnablesTheBar)
{
    auto window = Window();
    int32_t children = 0;
    for (CFrame* child : ChildFrames(*window))
        children += child ? 1 : 0;
    EXPECT_EQ(children, 1); // the text only
    EXPECT_EQ(MenuDepth(), 1);
    window.reset(); // the module left with the window open
    EXPECT_EQ(MenuDepth(), 0);
}
