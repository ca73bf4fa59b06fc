#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/graphics/DrawEnv.h"
#include "tests/engine/controls/text/PopupKit.h"

namespace {

using wtest::Str;

// A help list that counts the records it loads.
class CountingList : public CPopTextList {
public:
    using CPopTextList::CPopTextList;
    bool LoadHelp(int32_t id, uint32_t libraryMask) override
    {
        loads.push_back(id);
        return CPopTextList::LoadHelp(id, libraryMask);
    }
    std::vector<int32_t> loads;
};

class PopTextListTest : public poptest::PopupTest {
protected:
    CFrame* MakeContent() override { return counting = new CountingList(CPopWind::kContentId, kStart, -1); }

    static inline const CRect kStart{10, 20, 50, 220};
    CountingList* counting = nullptr;
};

// A frame that draws its own help: a negative help id, and a log of the two hooks.
class SelfHelpFrame : public CFrame {
public:
    explicit SelfHelpFrame(std::vector<std::string>& log)
        : CFrame(4, 13, CRect(150, 20, 180, 80), false), log_(log)
    {
        SetHelpId(-1);
    }
    void PrepareHelp() override { log_.push_back("prepare"); }
    void DrawHelp(CDrawEnv* env, const CRect& area) override
    {
        log_.push_back("draw " + Str(area));
        env->SetTextColor(12);
        env->FillRect(area);
    }

private:
    std::vector<std::string>& log_;
};

TEST_F(PopTextListTest, StartsOpaqueWithItsDefaults)
{
    EXPECT_FALSE(List()->IsTransparent());
    EXPECT_EQ(List()->GetHelpId(), 0);
    EXPECT_EQ(List()->GetPlacementMode(), 1);
    EXPECT_EQ(List()->GetWidthLimit(), 200);
    EXPECT_EQ(List()->GetFixedHeight(), 0);
    EXPECT_TRUE(List()->GetWrap());
    EXPECT_TRUE(List()->IsLive());
    EXPECT_FALSE(List()->HasHelp());
}

TEST_F(PopTextListTest, LoadHelpTakesTheRecordsValuesAndItsRectangleOnlyWhenGiven)
{
    ASSERT_TRUE(List()->LoadHelp(9, static_cast<uint32_t>(-1)));
    EXPECT_EQ(List()->GetPlacementMode(), 2);
    EXPECT_EQ(List()->GetWidthLimit(), 150);
    EXPECT_EQ(List()->GetValues(), (std::array<int32_t, 4>{11, -12, 13, 14}));
    EXPECT_EQ(Text(), "Four values");
    EXPECT_EQ(Str(List()->GetBounds()), Str(kStart)); // a zero rectangle leaves the bounds

    ASSERT_TRUE(List()->LoadHelp(10, static_cast<uint32_t>(-1)));
    EXPECT_EQ(Str(List()->GetBounds()), "5,6,35,106");
}

TEST_F(PopTextListTest, MeasuringKeepsTheCornerAndSizesTheListToItsText)
{
    helped->SetHelpId(9);
    List()->SetSource(helped);
    const CRect& rect = List()->GetDrawnRect();
    EXPECT_EQ(rect.GetTop(), kStart.GetTop());
    EXPECT_EQ(rect.GetLeft(), kStart.GetLeft());
    // Measured again in the list's environment, as the next paint will lay it out.
    List()->Layout(List()->GetDrawEnv());
    EXPECT_EQ(rect.GetWidth(), List()->GetMaxRowWidth() + 6);
    EXPECT_EQ(rect.GetHeight(), List()->GetTotalHeight() + 4);
    EXPECT_EQ(List()->GetTotalRows(), 1);
    EXPECT_LE(rect.GetWidth(), 150);

    // A long text wraps within the width limit.
    popup->ShowFor(plain); // no help: nothing changes
    helped->SetHelpId(7);
    List()->ForgetSource(helped);
    List()->AdoptText(nullptr);
    List()->SetSource(helped);
    EXPECT_LE(List()->GetDrawnRect().GetWidth(), 120);
}

TEST_F(PopTextListTest, FixedHeightAndModeFourSizes)
{
    helped->SetHelpId(11);
    List()->SetSource(helped);
    EXPECT_EQ(List()->GetDrawnRect().GetWidth(), 120);
    EXPECT_EQ(List()->GetDrawnRect().GetHeight(), 50);

    plain->SetHelpId(8); // mode 4: exactly the record's rectangle
    List()->SetSource(plain);
    EXPECT_EQ(Str(List()->GetDrawnRect()), "0,0,30,90");
}

TEST_F(PopTextListTest, PointingAtTheSameFrameTwiceLoadsItsRecordOnce)
{
    MouseAt(50, 30);
    popup->ShowFor(helped);
    popup->Dismiss();
    popup->ShowFor(helped);
    EXPECT_TRUE(popup->IsShown());
    EXPECT_EQ(counting->loads, (std::vector<int32_t>{7}));
    // Forgotten (the frame is going away), it loads again for the next frame.
    popup->ForgetFrame(helped);
    popup->ShowFor(helped);
    EXPECT_EQ(counting->loads, (std::vector<int32_t>{7, 7}));
}

TEST_F(PopTextListTest, AMissingOrBrokenRecordShowsNothingAndKeepsTheSize)
{
    for (const int32_t id : {99, 12, 13}) {
        popup->Dismiss();
        List()->ForgetSource(helped);
        const std::string size = Str(List()->GetDrawnRect());
        helped->SetHelpId(id);
        MouseAt(50, 30);
        popup->ShowFor(helped);
        EXPECT_FALSE(popup->IsShown()) << id;
        EXPECT_FALSE(List()->HasHelp()) << id;
        EXPECT_EQ(List()->PeekText(), nullptr) << id;
        EXPECT_EQ(Str(List()->GetDrawnRect()), size) << id;
    }
    // A good record after them shows again.
    helped->SetHelpId(7);
    List()->ForgetSource(helped);
    popup->ShowFor(helped);
    EXPECT_TRUE(popup->IsShown());
}

TEST_F(PopTextListTest, AFrameWithANegativeHelpIdPreparesAndDrawsItsOwnHelp)
{
    std::vector<std::string> hooks;
    auto* self = new SelfHelpFrame(hooks);
    wnd->GetFirstFrame()->AddChild(self, false);
    MouseAt(40, 160);
    popup->ShowFor(self);
    ASSERT_TRUE(popup->IsShown());
    EXPECT_EQ(List()->GetHelpId(), -1);
    EXPECT_EQ(hooks, (std::vector<std::string>{"prepare"}));
    wtest::PumpAll();
    ASSERT_EQ(hooks.size(), 2u);
    EXPECT_EQ(hooks[1], "draw " + Str(List()->GetDrawnRect()));

    // With help id 0 nothing is drawn at all.
    hooks.clear();
    List()->SetHelpId(0);
    List()->DrawContent(List()->GetDrawEnv(), List()->GetDrawnRect());
    EXPECT_TRUE(hooks.empty());
}

} // namespace
