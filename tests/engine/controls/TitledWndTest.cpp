// The window-frame switch, top-level windows and text windows, made directly and from their
// templates.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/controls/BTplList.h"
#include "engine/controls/Menu.h"
#include "engine/controls/MenuBar.h"
#include "engine/controls/TextWnd.h"
#include "engine/controls/TopWnd.h"
#include "engine/controls/kinds/TemplateKinds.h"
#include "engine/framework/Str.h"
#include "platform/Input.h"
#include "platform/Metrics.h"
#include "tests/engine/controls/WindowsKit.h"
#include "tests/engine/resources/DefinitionText.h"

namespace {

using namespace wtest;

class TitledWndTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        deftext::InstallEngineStrings();
        RegisterAllTemplateKinds();
        SetMenuBar(new CMenuBar(new CMenu(1000, 0xFFFFFFFF, nullptr)));
    }
    void TearDown() override { SetMenuBar(nullptr); }

    // The window a template list builds from the text, its root frame 120 x 160.
    std::unique_ptr<CWind> Build(const std::string& windowTemplate)
    {
        list = std::make_unique<CBTplList>(
            deftext::MakeBlock(windowTemplate + "\n1, 10, 0, 9, 0, 0, 0, 0, 0, 0, 120, 160\n", "TPL", 77));
        return std::unique_ptr<CWind>(dynamic_cast<CWind*>(list->Build(nullptr, nullptr, 0)));
    }
    static CRect ScreenClient(CWind& w) { return w.GetScreenClientRect(); }

    std::unique_ptr<CBTplList> list;
};

TEST_F(TitledWndTest, MenuBarSwitchDecidesTheMenuOfTheFirstTopLevelWindow)
{
    for (bool use : {true, false}) {
        SetScreenBorder(1);
        SetUseMenuBar(use);
        EXPECT_EQ(UseMenuBar(), use);
        EXPECT_EQ(GetScreenBorder(), use ? 1 : 0) << "clearing the switch maximises the border window";
        std::unique_ptr<CWind> first(MakeWindow(CWind::kTypeTopLevel, Root(200, 100, log)));
        std::unique_ptr<CWind> second(MakeWindow(CWind::kTypeTopLevel, Root(200, 100, log)));
        EXPECT_EQ(plat::GetWindowMenu(first->GetHwnd()), use ? GetMenuBar()->GetHandle() : 0u);
        EXPECT_EQ(plat::GetWindowMenu(second->GetHwnd()), 0u);
        EXPECT_EQ(plat::GetClientRect(first->GetHwnd()).Height(), 100)
            << "the strip is outside the client area";
    }
}

TEST_F(TitledWndTest, TopWindowStyleFollowsTheSwitchAndItsMenuIsTakenOffFirst)
{
    const uint32_t flags = CWind::kFlagResizable | CWind::kFlagMinimizeBox;
    uint32_t exStyle = 0;
    const uint32_t framed = CWind::StyleFor(CWind::kTypeTopLevel, flags, exStyle) | plat::style::ClipChildren;
    struct Case {
        bool use;
        uint32_t style;
    } cases[] = {{true, framed}, {false, plat::style::Popup | plat::style::ClipChildren}};
    for (const Case& c : cases) {
        SetUseMenuBar(c.use);
        auto* top = new CTopWnd(std::make_unique<CStr>("Quillmark"), Root(200, 100, log), nullptr, flags);
        const plat::WindowHandle hwnd = top->GetHwnd();
        EXPECT_EQ(plat::GetStyle(hwnd), c.style);
        EXPECT_EQ(plat::GetExStyle(hwnd), 0u);
        EXPECT_EQ(plat::GetTitle(hwnd), "Quillmark");
        EXPECT_EQ(plat::GetParent(hwnd), 0u);
        EXPECT_EQ(GetMenuBar()->GetWindow(), c.use ? hwnd : 0u);
        delete top;
        EXPECT_EQ(GetMenuBar()->GetWindow(), 0u);
        EXPECT_TRUE(plat::IsMenu(GetMenuBar()->GetHandle()));
    }

    // The second constructor makes no native window.
    CTopWnd later(Root(10, 10, log), true);
    EXPECT_EQ(later.GetHwnd(), 0u);
    EXPECT_EQ(later.GetWndFlags(), CWind::kFlagOffScreen);
    EXPECT_EQ(later.GetType(), CWind::kTypeTopLevel);
    EXPECT_EQ(CTopWnd(nullptr, false).GetWndFlags(), 0u);
}

TEST_F(TitledWndTest, TemplatesPlaceAtTheDefaultPlaceOrRelativeToTheParent)
{
    deftext::AddFolderLibrary({{"STR", 40, "zero \"Main street\" two"}});
    // 0x32: the title from string list 40; -1/-1: the default place, centred on the screen.
    std::unique_ptr<CWind> top = Build("0x32, 60, 0, -1, -1, 0, 40, -1, 1");
    ASSERT_NE(dynamic_cast<CTopWnd*>(top.get()), nullptr);
    EXPECT_EQ(top->GetId(), 60);
    EXPECT_EQ(plat::GetTitle(top->GetHwnd()), "Main street");
    const plat::Rect outer = plat::GetWindowRect(top->GetHwnd());
    const plat::Metrics m = plat::GetMetrics();
    EXPECT_EQ(outer.left, m.screenWidth / 2 - outer.Width() / 2);
    EXPECT_EQ(outer.top, m.screenHeight / 2 - outer.Height() / 2);
    EXPECT_EQ(ScreenClient(*top).GetWidth(), 160);
    top->ShowWnd();
    top->Activate();

    // 0x37: a text window of the parent named by "parentid", at a point of its client area.
    std::unique_ptr<CWind> text = Build("0x37, 70, 60, 20, 10, 0, \"Notes\"");
    ASSERT_NE(dynamic_cast<CTextWnd*>(text.get()), nullptr);
    EXPECT_EQ(text->GetType(), CWind::kTypeTool);
    EXPECT_EQ(text->GetParentWnd(), top.get());
    EXPECT_EQ(plat::GetTitle(text->GetHwnd()), "Notes");
    const CRect parentClient = ScreenClient(*top);
    EXPECT_EQ(text->GetFrameRect().GetLeft(), parentClient.GetLeft() + 10);
    EXPECT_EQ(text->GetFrameRect().GetTop(), parentClient.GetTop() + 20);
    EXPECT_EQ(plat::GetWindowRect(text->GetHwnd()).left, parentClient.GetLeft() + 10);

    // 0x36 with no such parent: the active window is the parent.
    std::unique_ptr<CWind> orphan = Build("0x36, 71, 999, 0, 0, 0, 40, -1, 0");
    EXPECT_EQ(orphan->GetParentWnd(), top.get());
    EXPECT_EQ(plat::GetTitle(orphan->GetHwnd()), "zero");
}

TEST_F(TitledWndTest, TextWindowStepsAsideWhileTheApplicationIsPaused)
{
    TestAppl appl(log);
    std::unique_ptr<CWind> top(MakeWindow(CWind::kTypeTopLevel, Root(200, 100, log)));
    auto text =
        std::make_unique<CTextWnd>(std::make_unique<CStr>("Notes"), Root(50, 40, log), nullptr, top.get(), 0);
    const plat::WindowHandle hwnd = text->GetHwnd();
    text->ShowWnd();
    // The program loses and regains the activation: the application pauses and resumes.
    auto switchProgram = [](bool active) {
        plat::InjectAppActive(active);
        PumpAll();
    };
    for (bool active : {false, true, false, true}) {
        switchProgram(active);
        EXPECT_EQ(IsAppPaused(), !active);
        EXPECT_EQ(plat::IsVisible(hwnd), active);
        EXPECT_EQ(plat::IsEnabled(hwnd), active);
        EXPECT_TRUE(text->IsShown());
    }

    // A hidden text window is left alone.
    text->Hide();
    switchProgram(false);
    switchProgram(true);
    EXPECT_FALSE(plat::IsVisible(hwnd));

    // A native window destroyed elsewhere is forgotten and nothing else happens.
    text->ShowWnd();
    plat::DestroyWindow(hwnd);
    switchProgram(false);
    EXPECT_EQ(text->GetHwnd(), 0u);
    switchProgram(true);
    EXPECT_EQ(text->GetHwnd(), 0u);
    EXPECT_TRUE(plat::IsVisible(top->GetHwnd()));
}

} // namespace
