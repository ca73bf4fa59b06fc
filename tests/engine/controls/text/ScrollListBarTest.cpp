#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/controls/RsrcTplList.h"
#include "engine/controls/kinds/TemplateKinds.h"
#include "engine/controls/native/ScrollBarCtl.h"
#include "engine/controls/text/ScrollList.h"
#include "engine/framework/Str.h"
#include "engine/graphics/FontList.h"
#include "platform/Font.h"
#include "platform/widgets/Widgets.h"
#include "tests/engine/controls/input/ControlsKit.h"
#include "tests/engine/resources/DefinitionText.h"

namespace {

using wtest::Str;

// Twenty rows of the 8-pixel test font in a list 60 pixels high: seven rows fit, so the bar
// ranges over 0-13 with a page of 7.
class ScrollListBarTest : public ctest::ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        plat::AddFontFace("Quill Test",
                          {(qmtest::SourceDir() / "tests/platform/fixtures/QuillTest8.bdf").string()});
        const FontList fonts = {{5, 0, CStr("Quill Test"), 6}};
        ASSERT_EQ(CDrawEnv::InitFonts(&fonts), 0);
        std::string rows;
        for (int i = 0; i < 20; ++i)
            rows += std::to_string(i) + "\n";
        list = Add(new CScrollList(40, CRect(20, 10, 80, 110), std::make_unique<CStr>(rows.c_str()), 5, false,
                                   true));
        list->Draw(true);
        wtest::PumpAll(); // the first paint lays the rows out
    }
    void TearDown() override
    {
        ControlsTest::TearDown();
        CDrawEnv::ResetFonts();
    }
    CScrollBarCtl* Bar() { return list->GetScrollBar(); }
    void Scroll(uint32_t code, int32_t position = 0)
    {
        plat::SendWindowMessage(wnd->GetHwnd(), plat::msg::VScroll, plat::PackWords(code, position),
                                static_cast<intptr_t>(Bar()->GetHwnd()));
        wtest::PumpAll();
    }

    CScrollList* list = nullptr;
};

TEST_F(ScrollListBarTest, TheBarIsMadeOnceAlongTheRightEdgeAndShownOrHiddenLater)
{
    ASSERT_NE(Bar(), nullptr);
    EXPECT_EQ(Bar()->GetParent(), list);
    EXPECT_EQ(Str(Bar()->GetDrawnRect()), "20,94,80,110");
    EXPECT_FALSE(list->IsTransparent());
    EXPECT_TRUE(list->IsLive());
    ASSERT_NE(Bar()->GetHwnd(), plat::WindowHandle{0});
    EXPECT_TRUE(plat::IsVisible(Bar()->GetHwnd()));
    EXPECT_EQ(list->GetTotalRows(), 20);
    EXPECT_EQ(Bar()->GetMax(), 13);
    EXPECT_EQ(Bar()->GetPage(), 7);
    EXPECT_EQ(list->GetVisibleRows(), 7);

    CScrollBarCtl* first = Bar();
    list->SetHasScrollBar(false);
    EXPECT_FALSE(first->IsShown());
    list->SetHasScrollBar(true);
    EXPECT_EQ(Bar(), first);
    EXPECT_TRUE(first->IsShown());

    // A list made without a bar has none until it asks for one.
    auto* plain =
        Add(new CScrollList(41, CRect(60, 10, 90, 110), std::make_unique<CStr>("A"), 5, false, false));
    EXPECT_EQ(plain->GetScrollBar(), nullptr);
    EXPECT_TRUE(plain->IsTransparent());
}

TEST_F(ScrollListBarTest, TheBarDraggedToItsEndShowsTheLastRows)
{
    // Press on the thumb (just below the upper arrow) and drag it to the bottom of the bar.
    Down(102, 20 + 16 + 2);
    Move(102, 60);
    Move(102, 79);
    Up(102, 79);
    EXPECT_EQ(Bar()->GetValue(), 13);
    EXPECT_EQ(list->GetTopRow(), 13);
    EXPECT_EQ(list->GetVisibleRows(), 7);
    EXPECT_EQ(list->GetLastDrawnRow(), 19);
    EXPECT_EQ(list->GetDrawnHeight(), 56);
}

TEST_F(ScrollListBarTest, TheBarsMessagesScrollTheListAndScrollToKeepsTheBarInStep)
{
    Scroll(plat::scroll::LineDown);
    EXPECT_EQ(list->GetTopRow(), 1);
    Scroll(plat::scroll::PageDown);
    EXPECT_EQ(list->GetTopRow(), 8);
    EXPECT_EQ(list->GetLastDrawnRow(), 14);

    list->ScrollTo(19, false); // the bar's end is as far as it goes
    EXPECT_EQ(list->GetTopRow(), 13);
    EXPECT_EQ(Bar()->GetValue(), 13);
    list->ScrollTo(19, true); // with keep it passes it
    EXPECT_EQ(list->GetTopRow(), 19);
    EXPECT_EQ(list->GetVisibleRows(), 1);
    list->ScrollTo(2, false);
    EXPECT_EQ(Bar()->GetValue(), 2);

    // Other messages are not the list's.
    CMessage other(5, 0, 0, -1);
    EXPECT_FALSE(list->HandleMessage(other, nullptr));
}

TEST_F(ScrollListBarTest, ResizingMovesTheBarAndKeepsTheListWithinItsRows)
{
    list->ScrollTo(13, false);
    list->SetSize(120, 100); // twelve rows fit now
    EXPECT_EQ(Str(Bar()->GetDrawnRect()), "20,114,120,130");
    EXPECT_EQ(Bar()->GetMax(), 8);
    EXPECT_EQ(list->GetTopRow(), 8);
    EXPECT_EQ(Bar()->GetValue(), 8);

    list->AdoptText(std::make_unique<CStr>("A\nB"));
    wtest::PumpAll();
    EXPECT_EQ(list->GetTopRow(), 0); // fewer rows than the top row
    EXPECT_EQ(Bar()->GetMax(), 0);
}

TEST_F(ScrollListBarTest, TemplatesGiveTheTextBarWrapAndMarkupSwitch)
{
    deftext::InstallEngineStrings();
    RegisterAllTemplateKinds();
    // Kind 0xb: the frame values, the text, fontid, textcolor, bckcolor, hjust, vjust, Wrap?,
    // border?, has scrollbar?; flag 0x1000 turns the markup off (the flags give the border bits).
    const char* text =
        "0xb, 50, 0, 0x10F9, 0, 0, 0, 0, 90, 10, 150, 110, \"A^c012B\", 5, 3, -1, 1, 0, 1, 1, 1\n"
        "0xb, 51, 0, 0x9, 0, 0, 0, 0, 160, 10, 180, 110, \"A^c012B\", 5, -1, 7, 0, 0, 0, 0, 0\n";
    CRsrcTplList templates(deftext::MakeBlock(text, "TPL", 70));
    templates.Build(root, nullptr, 0);
    auto* off = dynamic_cast<CScrollList*>(root->FindObject(static_cast<uint32_t>(-1), 50));
    auto* on = dynamic_cast<CScrollList*>(root->FindObject(static_cast<uint32_t>(-1), 51));
    ASSERT_NE(off, nullptr);
    ASSERT_NE(on, nullptr);
    EXPECT_FALSE(off->GetMarkup());
    EXPECT_TRUE(off->GetWrap());
    EXPECT_TRUE(off->HasBorder());
    EXPECT_TRUE(off->HasScrollBar());
    EXPECT_NE(off->GetScrollBar(), nullptr);
    EXPECT_EQ(off->GetHJust(), 1);
    EXPECT_EQ(off->GetTextColor(), 3u);
    EXPECT_EQ(off->GetBackColor(), 255u); // -1: the default background
    EXPECT_STREQ(off->PeekText()->GetText(), "A^c012B");
    EXPECT_TRUE(on->GetMarkup());
    EXPECT_FALSE(on->GetWrap());
    EXPECT_FALSE(on->HasScrollBar());
    EXPECT_EQ(on->GetScrollBar(), nullptr);
    EXPECT_EQ(on->GetTextColor(), 0u); // -1: the default text colour
    EXPECT_EQ(on->GetBackColor(), 7u);
}

} // namespace

namespace {

// A screen built from a template list joins its window before the window has a native window
// of its own; the bar's widget is made by the window's first paint.
TEST(ScrollListBarWindow, ABarAttachedBeforeItsWindowWasMadeGetsItsWidgetAtTheFirstPaint)
{
    RegisterEngineClasses();
    InstallWindowHooks();
    wtest::Log log;
    CFrame* root = wtest::Root(200, 100, log);
    auto* list = new CScrollList(40, CRect(0, 0, 100, 200), std::make_unique<CStr>("A"), 0, false, true);
    root->AddChild(list, false);
    CWind window(CWind::kTypeTopLevel, nullptr, nullptr, 0);
    window.SetFrame(root); // as a template list gives a window its root
    EXPECT_EQ(list->GetScrollBar()->GetHwnd(), plat::WindowHandle{0});
    uint32_t exStyle = 0;
    const uint32_t style = window.GetStyle(exStyle);
    window.Create(CWind::kTypeTopLevel, nullptr, style, exStyle, nullptr);
    window.ShowWnd();
    wtest::PumpAll();
    const plat::WindowHandle bar = list->GetScrollBar()->GetHwnd();
    ASSERT_NE(bar, plat::WindowHandle{0});
    EXPECT_EQ(plat::GetParent(bar), window.GetHwnd());
}

} // namespace
