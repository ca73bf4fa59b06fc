#include <gtest/gtest.h>

#include "engine/controls/native/ColorWnd.h"
#include "engine/controls/native/TextLabel.h"
#include "tests/engine/controls/native/NativeKit.h"

namespace {

using namespace ntest;

class TextLabelTest : public NativeTest {
protected:
    void SetUp() override
    {
        NativeTest::SetUp();
        InstallTestFont();
    }
    static uint8_t Pixel(COffScEnv& env, int h, int v) { return env.GetBitmap()->GetPixel(h, v); }
};

TEST_F(TextLabelTest, OnlyTheChosenLinesAreDrawnAndTheCaptionKeepsEightPixelsFromTheSides)
{
    constexpr uint8_t kBack = 200, kLine = 1, kInk = 2;
    // The test font's cell is 8 high (ascent 6, descent 2): the top line lies 4 rows down.
    for (const int32_t justification : {0, 2}) {
        CTextLabel label(1, CRect(0, 0, 40, 100), std::make_unique<CStr>("ABAB"), kTestFont, justification);
        label.SetBorder(CFrame::kFlagBorderTop | CFrame::kFlagBorderBottom);
        label.SetBackColor(kBack);
        label.SetForeColor(kLine);
        label.SetTextColor(kInk);
        auto env = WhiteEnv(100, 40);
        label.DrawContent(env.get(), label.GetDrawnRect());

        int inkLeft = 100, inkRight = -1;
        for (int v = 0; v < 40; ++v)
            for (int h = 0; h < 100; ++h)
                if (Pixel(*env, h, v) == kInk) {
                    inkLeft = std::min(inkLeft, h);
                    inkRight = std::max(inkRight, h);
                }
        ASSERT_LE(inkLeft, inkRight) << "the caption is drawn";
        EXPECT_GE(inkLeft, CTextLabel::kCaptionInset) << justification;
        EXPECT_LE(inkRight, 99 - CTextLabel::kCaptionInset) << justification;
        if (justification == 0) {
            EXPECT_EQ(inkLeft, 8);
        }

        EXPECT_EQ(Pixel(*env, 0, 4), kLine) << "the top line runs through the caption's middle";
        EXPECT_EQ(Pixel(*env, 98, 4), kLine) << "lines end before the right edge, as frame borders do";
        EXPECT_NE(Pixel(*env, 0, 0), kLine);
        const int underCaption = justification == 0 ? 10 : 89;
        EXPECT_NE(Pixel(*env, underCaption, 4), kLine) << "the caption's background covers it";
        for (int h = 0; h < 99; ++h)
            EXPECT_EQ(Pixel(*env, h, 39), kLine) << h;
        EXPECT_EQ(Pixel(*env, 0, 20), kBack) << "no left line";
        EXPECT_EQ(Pixel(*env, 99, 20), kBack) << "no right line";
    }

    // Transparent: no background, the border still drawn.
    CTextLabel bare(2, CRect(0, 0, 20, 50), nullptr, kTestFont, 0);
    bare.SetFlags(bare.GetFlags() | CFrame::kFlagTransparent | CFrame::kFlagBorderLeft);
    bare.SetForeColor(kLine);
    auto env = WhiteEnv(50, 20);
    bare.DrawContent(env.get(), bare.GetDrawnRect());
    EXPECT_EQ(Pixel(*env, 0, 0), kLine) << "without a caption the line starts at the top";
    EXPECT_EQ(Pixel(*env, 10, 10), 255);
}

TEST_F(TextLabelTest, TemplatesGiveLabelsAndFramedColourBoxes)
{
    // Kind 4: frame values, caption, fontid, textcolor, bckcolor, hjust, thickness. Kind 2:
    // frame values, color.
    auto* label =
        BuildFrame<CTextLabel>("4, 61, 0, 0x9, 0,0,0,0, 10, 10, 50, 110, \"Supplies\", 5, -1, -1, 1, 2\n"
                               "2, 62, 0, 0x9, 0,0,0,0, 60, 10, 70, 20, -1\n"
                               "2, 63, 0, 0x9, 0,0,0,0, 80, 10, 90, 20, 7\n",
                               61);
    ASSERT_TRUE(label);
    EXPECT_EQ(label->GetText()->GetText(), std::string("Supplies"));
    EXPECT_EQ(label->GetBackColor(), 255u);
    EXPECT_EQ(label->GetTextColor(), 0u);
    EXPECT_EQ(label->GetThickness(), 2);

    auto* white = dynamic_cast<CColorWnd*>(root->FindObject(static_cast<uint32_t>(-1), 62));
    auto* box = dynamic_cast<CColorWnd*>(root->FindObject(static_cast<uint32_t>(-1), 63));
    ASSERT_TRUE(white && box);
    EXPECT_EQ(white->GetBackColor(), 255u);
    // A 10 x 10 box: framed on all four sides in colour 0, filled over the inner 8 x 8.
    auto env = WhiteEnv(120, 100);
    box->DrawContent(env.get(), box->GetDrawnRect());
    std::string rows;
    for (int v = 79; v <= 90; ++v) {
        for (int h = 9; h <= 20; ++h)
            rows += qmtest::PixelChar(env->GetBitmap()->GetPixel(h, v));
        rows += "\n";
    }
    const char W = qmtest::PixelChar(255), B = qmtest::PixelChar(0), F = qmtest::PixelChar(7);
    std::string want = std::string(12, W) + "\n";
    for (int v = 0; v < 10; ++v)
        want += W + (B + std::string(8, v == 0 || v == 9 ? B : F) + B) + W + "\n";
    want += std::string(12, W) + "\n";
    EXPECT_EQ(rows, want);
}

} // namespace
