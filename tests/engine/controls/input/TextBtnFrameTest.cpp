#include <gtest/gtest.h>

#include "engine/controls/BTplList.h"
#include "engine/controls/input/CaptionFrame.h"
#include "engine/controls/input/TextBtnFrame.h"
#include "engine/controls/kinds/TemplateKinds.h"
#include "engine/framework/Stopwatch.h"
#include "engine/framework/Str.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/resources/RsrcBlock.h"
#include "platform/MessageQueue.h"
#include "tests/engine/controls/input/ControlsKit.h"
#include "tests/engine/resources/DefinitionText.h"

namespace {

using namespace ctest;

constexpr int32_t kNormal = 20, kHilite = 21, kDim = 22;

class TextBtnFrameTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        InstallTestFont();
    }
    // "AB" at (50, 40) with pad 2: 16 x 12.
    CTextBtnFrame* Button()
    {
        return Add(new CTextBtnFrame(6, CPoint(50, 40), std::make_unique<CStr>("AB"), 90, target, 5, 2,
                                     kNormal, kHilite, kDim));
    }
    int32_t Color(const CTextBtnFrame& b) const
    {
        return static_cast<int32_t>(b.GetCaption()->GetTextColor());
    }
};

TEST_F(TextBtnFrameTest, CaptionsSizeThemselvesToTheirTextAndPad)
{
    EXPECT_EQ(CCaptionFrame::SizeFor(40, FontInfo{10, 3, 0, 13}, 3), CPoint(46, 19));
    EXPECT_EQ(CCaptionFrame::SizeFor(40, FontInfo{10, 3, 2, 13}, 0), CPoint(40, 15));

    CCaptionFrame caption(1, CPoint(10, 20), std::make_unique<CStr>("AB"), 5, 3, false);
    EXPECT_EQ(wtest::Str(caption.GetBounds()), "20,10,34,28"); // 12 + 6 wide, 8 + 6 high
    EXPECT_EQ(caption.GetHJust(), 1);
    EXPECT_EQ(caption.GetVJust(), 1);
    CCaptionFrame blank(2, CPoint(0, 0), nullptr, 5, 0, false); // one space
    EXPECT_STREQ(blank.PeekText()->GetText(), " ");
    EXPECT_EQ(wtest::Str(blank.GetBounds()), "0,0,8,6");
    caption.AdoptText(std::make_unique<CStr>("ABAB"));
    EXPECT_EQ(wtest::Str(caption.GetBounds()), "20,10,34,40");
}

TEST_F(TextBtnFrameTest, TheColourFollowsThePointerAndTheEnabledState)
{
    CTextBtnFrame* b = Button();
    EXPECT_EQ(wtest::Str(b->GetBounds()), "40,50,52,66");
    EXPECT_EQ(Color(*b), kNormal);
    Move(66, 52); // the far corner counts as over
    Ticks(1);
    EXPECT_EQ(Color(*b), kHilite);
    Move(67, 52);
    Ticks(1);
    EXPECT_EQ(Color(*b), kNormal);

    Move(55, 45);
    b->Enable(false);
    EXPECT_EQ(Color(*b), kDim);
    Ticks(3); // a disabled button ignores the pointer
    EXPECT_EQ(Color(*b), kDim);
    b->Enable(true);
    EXPECT_EQ(Color(*b), kNormal); // until the next tick finds the pointer over it
    Ticks(1);
    EXPECT_EQ(Color(*b), kHilite);

    b->SetLabel(std::make_unique<CStr>("ABAB"));
    EXPECT_EQ(wtest::Str(b->GetBounds()), "40,50,52,78");
    EXPECT_STREQ(b->GetCaption()->PeekText()->GetText(), "ABAB");
}

TEST_F(TextBtnFrameTest, ItNotifiesOnceAtTheReleaseWhateverItsTemplateSays)
{
    RegisterAllTemplateKinds();
    // Kind 0x23: the push values with "whentosend" 1, the label, fontid, colours, pad.
    CBTplList list(deftext::MakeBlock("35, 7, 0, 9, 0, 0, 0, 0, 40, 50, 0, 0,  0, 900, 91, 4, 5, 1, "
                                      "\"AB\", 5, 20, 21, 22, 2\n",
                                      "TPL", 71));
    list.Build(root, nullptr, 0);
    auto* b = dynamic_cast<CTextBtnFrame*>(wnd->FindControlById(7));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetWhenToSend(), CPushFrame::kSendOnRelease);
    EXPECT_EQ(wtest::Str(b->GetBounds()), "40,50,52,66");
    Down(55, 45);
    EXPECT_TRUE(target->notes.empty());
    Up(55, 45);
    ASSERT_EQ(target->notes.size(), 1u);
    EXPECT_EQ(target->notes[0].id, 91);
    EXPECT_EQ(target->Words(2), std::vector<MsgWord>{0});
    EXPECT_EQ(target->Words(0), std::vector<MsgWord>{4});
}

TEST_F(TextBtnFrameTest, AnIdleProgramWithAShownButtonSleepsBetweenTicks)
{
    wtest::TestAppl app(log);
    Button();
    int waits = 0;
    plat::GetMessageQueue().SetEventSource([&](plat::MessageQueue&, uint64_t) { ++waits; });
    const uint32_t start = GetTick();
    app.PumpFor(10);
    // A pass that finds only the hover poll due sleeps until the next tick.
    EXPECT_GE(waits, 10);
    EXPECT_LE(waits, 12);
    EXPECT_GE(GetTick() - start, 10u);
    plat::GetMessageQueue().SetEventSource(nullptr);
}

} // namespace
