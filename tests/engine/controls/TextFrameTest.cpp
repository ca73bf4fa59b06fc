#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/controls/BTplList.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/kinds/TemplateKinds.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/graphics/OffScEnv.h"
#include "tests/engine/graphics/PixelText.h"
#include "tests/engine/resources/DefinitionText.h"

namespace {

using Rows = std::vector<std::string>;

// An off-screen environment of w x h pixels filled with colour 7.
std::unique_ptr<COffScEnv> Env(int16_t w, int16_t h)
{
    auto env = std::make_unique<COffScEnv>();
    env->Init(CRect(0, 0, h, w), nullptr, false);
    env->SetTextColor(7);
    env->FillRect(CRect(0, 0, h, w));
    env->SetTextColor(0);
    return env;
}

Rows Picture(COffScEnv& env) { return qmtest::Pixels(*env.GetBitmap()); }

std::string Text(const CTextFrame& frame) { return frame.GetText()->GetText(); }

class TextFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        deftext::InstallEngineStrings();
        RegisterAllTemplateKinds();
    }
};

// Template values after the frame's: kind 8 "strlistid", "strlibmsk", "strindex"; kind 9
// the text; then "fontid", "textcolor", "bckcolor", "hjust", "vjust", "Wrap?", "border?".
TEST_F(TextFrameTest, TemplatesGiveTextColoursJustificationAndFlags)
{
    deftext::AddFolderLibrary({{"STR", 40, "zero one"}});
    CBTplList list(
        deftext::MakeBlock("1, 1, 0, 9, 0,0, 0,0, 0, 0, 100, 100\n"
                           "8, 2, 1, 9,    0,0, 0,0, 0, 0, 10, 50,  40, -1, 1,  2, -1, -1, 1, 2, 1, 1\n"
                           "8, 3, 1, 0xB,  0,0, 0,0, 0, 0, 10, 50,  40, -1, -1, 2, 5, 6, 0, 0, 0, 0\n"
                           "9, 4, 1, 0x39, 0,0, 0,0, 0, 0, 10, 50,  \"Hello\", 0, 3, 4, 0, 0, 0, 0\n",
                           "TPL", 5));
    std::unique_ptr<CFrame> root(static_cast<CFrame*>(list.Build(nullptr, nullptr, 0)));
    auto* byIndex = dynamic_cast<CTextFrame*>(root->FindObject(CBaseObj::kAnyKind, 2));
    auto* wholeList = dynamic_cast<CTextFrame*>(root->FindObject(CBaseObj::kAnyKind, 3));
    auto* literal = dynamic_cast<CTextFrame*>(root->FindObject(CBaseObj::kAnyKind, 4));
    ASSERT_TRUE(byIndex && wholeList && literal);

    EXPECT_EQ(Text(*byIndex), "one");
    EXPECT_EQ(byIndex->GetKind(), CTextFrame::kKind);
    EXPECT_EQ(byIndex->GetTextColor(), 0u);   // -1: the default
    EXPECT_EQ(byIndex->GetBackColor(), 255u); // -1: the default
    EXPECT_EQ(byIndex->GetHJust(), 1);
    EXPECT_EQ(byIndex->GetVJust(), 2);
    EXPECT_TRUE(byIndex->GetWrap());
    EXPECT_FALSE(byIndex->HasBorder());     // "border?" is replaced by the template's flags
    EXPECT_FALSE(byIndex->IsTransparent()); // only flags 0x2 make it transparent
    EXPECT_TRUE(byIndex->HasOwnContent());

    EXPECT_EQ(Text(*wholeList), "zero\none\n");
    EXPECT_EQ(wholeList->GetFontId(), 2);
    EXPECT_EQ(wholeList->GetTextColor(), 5u);
    EXPECT_EQ(wholeList->GetBackColor(), 6u);
    EXPECT_TRUE(wholeList->IsTransparent());

    EXPECT_EQ(Text(*literal), "Hello");
    EXPECT_EQ(literal->GetTextColor(), 3u);
    EXPECT_TRUE(literal->HasBorder());
}

TEST_F(TextFrameTest, TextIsAppendedListedAdoptedAndCopied)
{
    CTextFrame frame(1, CRect(0, 0, 10, 10), nullptr, 0, false, true);
    EXPECT_TRUE(frame.IsTransparent()); // made in code
    EXPECT_EQ(frame.GetFlags() & CFrame::kFlagBorders, CFrame::kFlagBorders);
    EXPECT_EQ(Text(frame), "");
    frame.AppendText(std::make_unique<CStr>("ab"));
    frame.SetChanged(false);
    frame.AppendText(std::make_unique<CStr>("cd"));
    EXPECT_EQ(Text(frame), "abcd");
    EXPECT_TRUE(frame.IsChanged());

    CTplRec list;
    list.Add(std::make_unique<CStr>("a"));
    list.Add(std::make_unique<CStr>("b"));
    frame.SetTextFromList(list);
    EXPECT_EQ(Text(frame), "a\nb\n");
    frame.AdoptText(nullptr);
    EXPECT_EQ(frame.PeekText(), nullptr);
    frame.SetChanged(false);
    frame.SetText(std::make_unique<CStr>("set"));
    EXPECT_EQ(Text(frame), "set");
    EXPECT_TRUE(frame.IsChanged());
}

TEST_F(TextFrameTest, DrawsOneLineLikeTheEnvironmentAndPutsItsStateBack)
{
    CTextFrame frame(1, CRect(2, 3, 18, 57), std::make_unique<CStr>("Hi there"), 0, false, false);
    frame.SetTextColor(3);
    frame.SetHJust(1);
    frame.SetVJust(1);
    auto env = Env(60, 20);
    env->SetTextColor(9);
    env->SetBkColor(12);
    frame.DrawContent(env.get(), frame.GetDrawnRect());
    EXPECT_EQ(env->GetForeColor(), 9);
    EXPECT_EQ(env->GetBkColor(), 12);

    auto expected = Env(60, 20);
    expected->SetTextColor(3);
    expected->DrawTextAligned(CRect(2, 3, 18, 57), "Hi there", 8, 1, 1, kBkTransparent);
    EXPECT_EQ(Picture(*env), Picture(*expected));
    EXPECT_NE(Picture(*env), Picture(*Env(60, 20))); // something was drawn
}

TEST_F(TextFrameTest, WrappedTextInsideBackgroundAndBorder)
{
    const CRect rect(1, 1, 39, 59);
    CTextFrame frame(1, rect, std::make_unique<CStr>("one two three four five"), 0, true, true);
    frame.SetFlags(frame.GetFlags() & ~CFrame::kFlagTransparent);
    frame.SetBackColor(20);
    frame.SetForeColor(4);
    frame.SetTextColor(5);
    auto env = Env(60, 40);
    frame.DrawContent(env.get(), rect);

    // The same steps by hand: background and border as a plain frame draws them, then the
    // text wrapped two pixels inside.
    CFrame plain(4, 2, rect, false);
    plain.SetBorder(CFrame::kFlagBorders);
    plain.SetBackColor(20);
    plain.SetForeColor(4);
    auto expected = Env(60, 40);
    plain.DrawBackground(expected.get());
    plain.DrawBorder(expected.get());
    expected->SetTextColor(5);
    expected->DrawTextWrapped(CRect(3, 3, 37, 57), "one two three four five", 23, 0, kBkTransparent);
    EXPECT_EQ(Picture(*env), Picture(*expected));
    EXPECT_EQ(qmtest::PixelChar(env->GetBitmap()->GetPixel(1, 1)), '4'); // the border
    EXPECT_EQ(env->GetBitmap()->GetPixel(2, 30), 20);                    // the background
}

TEST_F(TextFrameTest, FrameWithoutTextDrawsNothing)
{
    CTextFrame frame(1, CRect(0, 0, 20, 20), nullptr, 0, false, true);
    frame.SetFlags(frame.GetFlags() & ~CFrame::kFlagTransparent);
    frame.SetBackColor(20);
    auto env = Env(20, 20);
    frame.DrawContent(env.get(), frame.GetDrawnRect());
    EXPECT_EQ(Picture(*env), Picture(*Env(20, 20)));
}

} // namespace
