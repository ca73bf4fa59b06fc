#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>

#include "engine/controls/imagectl/ImgTextBtnWnd.h"
#include "engine/framework/Str.h"
#include "tests/engine/controls/imagectl/ImageControlsKit.h"

namespace {

using namespace itest;

constexpr int32_t kUp = 60, kDown = 61, kGray = 62;

class ImgTextBtnWndTest : public ImageControlsTest {
protected:
    void SetUp() override
    {
        ImageControlsTest::SetUp();
        InstallTestFont();
    }
};

// The smallest rectangle holding every pixel of the colour.
std::optional<CRect> BoxOf(COffScEnv& env, int color)
{
    std::optional<CRect> box;
    const CRect& bounds = env.GetBitmap()->GetRect();
    for (int v = 0; v < bounds.GetHeight(); ++v)
        for (int h = 0; h < bounds.GetWidth(); ++h) {
            if (env.GetBitmap()->GetPixel(h, v) != color)
                continue;
            const auto hh = static_cast<int16_t>(h), vv = static_cast<int16_t>(v);
            if (!box)
                box = CRect(vv, hh, static_cast<int16_t>(vv + 1), static_cast<int16_t>(hh + 1));
            box->Set(std::min(box->GetTop(), vv), std::min(box->GetLeft(), hh),
                     std::max<int16_t>(box->GetBottom(), static_cast<int16_t>(vv + 1)),
                     std::max<int16_t>(box->GetRight(), static_cast<int16_t>(hh + 1)));
        }
    return box;
}

TEST_F(ImgTextBtnWndTest, TheOffsetCutsTheTextRectangleAndMovesThePressedOne)
{
    struct Case {
        CPoint at;
        std::optional<CRect> text;
        std::optional<CPoint> offset; // (x, y)
        const char* up;
        const char* pressed;
    };
    const Case cases[] = {
        {{0, 0}, CRect(10, 10, 30, 110), CPoint(3, 2), "10,10,28,107", "12,13,30,110"},
        {{0, 0}, CRect(10, 10, 30, 110), CPoint(-3, -2), "12,13,30,110", "10,10,28,107"},
        {{5, 7}, CRect(10, 10, 30, 110), CPoint(3, 2), "17,15,35,112", "19,18,37,115"}, // from the corner
        {{0, 0}, CRect(10, 10, 30, 110), std::nullopt, "10,10,30,110", "10,10,30,110"},
        {{0, 0}, std::nullopt, CPoint(3, 2), "0,0,18,17", "2,3,20,20"}, // the whole 20 x 20 button
        {{4, 4}, std::nullopt, std::nullopt, "4,4,24,24", "4,4,24,24"},
    };
    for (const Case& c : cases) {
        CImgTextBtnWnd button(1, c.at, nullptr, nullptr, nullptr, c.text ? &*c.text : nullptr,
                              c.offset ? &*c.offset : nullptr, 5, 0, 0);
        EXPECT_EQ(wtest::Str(button.GetTextRect()), c.up) << c.up;
        EXPECT_EQ(wtest::Str(button.GetPressedTextRect()), c.pressed) << c.up;
    }
}

TEST_F(ImgTextBtnWndTest, TheLabelTakesTheColourAndRectangleOfTheState)
{
    const CRect text(0, 0, 20, 40);
    const CPoint offset(3, 2);
    auto* button =
        Add(new CImgTextBtnWnd(1, CPoint(20, 20), target, LoadPictureSet(kFramed, 0xFFFFFFFF, false),
                               std::make_unique<CStr>("AB"), &text, &offset, 5, 0, 0));
    button->SetColors(kUp, kDown, kGray);
    const auto draw = [&](bool enabled, bool pressed) {
        button->Enable(enabled);
        button->SetState(pressed ? 1 : 0);
        auto env = WhiteEnv(320, 240);
        button->DrawContent(env.get(), CRect(0, 0, 240, 320));
        return env;
    };
    const auto up = draw(true, false);
    const std::optional<CRect> upBox = BoxOf(*up, kUp);
    ASSERT_TRUE(upBox);
    EXPECT_FALSE(BoxOf(*up, kDown) || BoxOf(*up, kGray));
    EXPECT_EQ(up->GetBitmap()->GetPixel(21, 21), kFramedColor); // the image under the label
    // Centred in the up rectangle (20, 20, 38, 57).
    const CRect upRect = button->GetTextRect();
    EXPECT_LE(std::abs((upBox->GetLeft() + upBox->GetRight()) - (upRect.GetLeft() + upRect.GetRight())), 2);
    EXPECT_LE(std::abs((upBox->GetTop() + upBox->GetBottom()) - (upRect.GetTop() + upRect.GetBottom())), 2);

    const auto pressed = draw(true, true);
    std::optional<CRect> pressedBox = BoxOf(*pressed, kDown);
    ASSERT_TRUE(pressedBox);
    EXPECT_EQ(up->GetBitmap()->GetPixel(21, 21), kFramedColor + 0);
    EXPECT_EQ(pressed->GetBitmap()->GetPixel(21, 21), kFramedColor + 1);
    pressedBox->Offset(-3, -2);
    EXPECT_EQ(wtest::Str(*pressedBox), wtest::Str(*upBox)); // moved by the offset

    const auto disabled = draw(false, true); // disabled wins over pressed
    const std::optional<CRect> grayBox = BoxOf(*disabled, kGray);
    ASSERT_TRUE(grayBox);
    EXPECT_EQ(wtest::Str(*grayBox), wtest::Str(*upBox));
    EXPECT_FALSE(BoxOf(*disabled, kDown));

    // Without a text only the image is drawn; without images the label is drawn over the mark.
    button->Enable(true);
    button->SetText(nullptr);
    EXPECT_FALSE(BoxOf(*draw(true, false), kUp));
    CImgTextBtnWnd bare(2, CPoint(0, 0), nullptr, nullptr, std::make_unique<CStr>("AB"), nullptr, nullptr, 5,
                        0, 0);
    bare.SetColors(kUp, kDown, kGray);
    auto env = WhiteEnv(40, 40);
    bare.DrawContent(env.get(), CRect(0, 0, 40, 40));
    EXPECT_TRUE(BoxOf(*env, kUp));
}

// Kinds 0x16-0x19: the frame values, the control values, whentosend, imgid, imglibmask, the text
// (strlistid, strlibmsk, strindex; or written out), fontid, top, left, bottom, right, y, x, upcolor,
// downcolor, graycolor.
TEST_F(ImgTextBtnWndTest, TemplatesGiveTheTextTheRectanglesAndTheColours)
{
    deftext::AddFolderLibrary({{"STR", 5, "Go\nStop\n"}}, "Strings");
    Build("0x16, 21, 0, 0x9, 0,0, 0,0, 10, 10, 0, 0, 0, 900, 77, 0, 0, 3, 11, -1, 5, -1, 1, 5, 10, 10, 30, "
          "110, "
          "2, 3, -1, 61, -1\n"
          "0x17, 22, 0, 0x9, 0,0, 0,0, 40, 10, 0, 0, 0, 900, 77, 0, 0, 1, 11, -1, \"Halt\", 5, 0, 0, 0, 0, "
          "0, 0, "
          "60, 61, 62\n"
          "0x18, 23, 0, 0x9, 0,0, 0,0, 60, 10, 0, 0, 0, 900, 77, 0, 0, 3, 11, -1, 5, -1, 0, 5, 0, 0, 0, 0, "
          "0, 0, "
          "60, 61, 62\n");
    auto* byReference = Control<CImgTextBtnWnd>(21);
    auto* literal = Control<CImgTextBtnWnd>(22);
    auto* chosen = Control<CImgTextBtnWnd>(23);
    ASSERT_TRUE(byReference && literal && chosen);
    EXPECT_STREQ(byReference->GetText()->GetText(), "Stop");
    EXPECT_STREQ(literal->GetText()->GetText(), "Halt");
    EXPECT_EQ(byReference->GetFontId(), 5);
    EXPECT_EQ(wtest::Str(byReference->GetTextRect()), "20,20,38,117");
    EXPECT_EQ(wtest::Str(byReference->GetPressedTextRect()), "22,23,40,120");
    EXPECT_EQ(wtest::Str(literal->GetTextRect()), "40,10,48,20"); // all zero: the whole button
    EXPECT_EQ(byReference->GetUpColor(), 0);                      // -1 becomes 0
    EXPECT_EQ(byReference->GetDownColor(), 61);
    EXPECT_EQ(byReference->GetGrayColor(), 0);
    EXPECT_EQ(literal->GetGrayColor(), 62);
    for (CImgTextBtnWnd* b : {byReference, literal, chosen}) {
        EXPECT_EQ(b->GetNotifyMessage().GetId(), CImgTextBtnWnd::kMessage); // not the template's 77
        EXPECT_EQ(b->GetWhenToSend(), CPushFrame::kSendOnRelease);
    }
    EXPECT_EQ(wnd->GetDefaultControl(), chosen);
    EXPECT_FALSE(literal->IsDefault());

    Down(12, 42);
    EXPECT_TRUE(target->notes.empty()); // not at the press
    Up(12, 42);
    ASSERT_EQ(target->notes.size(), 1u);
    EXPECT_EQ(target->notes[0].id, CImgTextBtnWnd::kMessage);
    EXPECT_EQ(target->notes[0].sender, literal);
}

} // namespace
