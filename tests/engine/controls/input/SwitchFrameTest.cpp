#include <gtest/gtest.h>

#include "engine/controls/input/SwitchFrame.h"
#include "tests/engine/controls/input/ControlsKit.h"

namespace {

using namespace ctest;

class SwitchFrameTest : public ControlsTest {
protected:
    // Clicks at the middle of the control.
    void Click(const CFrame& control)
    {
        const CRect& r = control.GetDrawnRect();
        const int x = r.GetLeft() + r.GetWidth() / 2, y = r.GetTop() + r.GetHeight() / 2;
        Down(x, y);
        Up(x, y);
    }
    CRadioFrame* Radio(int16_t row, int32_t group, bool on)
    {
        const auto top = static_cast<int16_t>(row * 20);
        return Add(new CRadioFrame(row + 1, CRect(top, 0, static_cast<int16_t>(top + 10), 50), 60, target,
                                   group, on));
    }
    std::vector<const CBaseObj*> Senders() const
    {
        std::vector<const CBaseObj*> out;
        for (const Note& n : target->notes)
            out.push_back(n.sender);
        return out;
    }
};

TEST_F(SwitchFrameTest, EachClickFlipsTheSwitchAndSendsOneNotificationWithTheNewState)
{
    auto* sw = Add(new CSwitchFrame(2, 1, CRect(0, 0, 10, 50), 60, target, true));
    sw->SetDefault(true); // a switch is never the default control
    EXPECT_FALSE(sw->IsDefault());
    EXPECT_EQ(wnd->GetDefaultControl(), nullptr);
    Click(*sw);
    EXPECT_FALSE(sw->IsOn());
    Click(*sw);
    EXPECT_TRUE(sw->IsOn());
    EXPECT_EQ(target->Words(3), (std::vector<MsgWord>{0, 1}));
    EXPECT_EQ(target->Words(2), (std::vector<MsgWord>{0, 0}));

    // SetOn notifies only when told to and only when turning on.
    target->notes.clear();
    sw->SetOn(false, true, true);
    sw->SetOn(true, true, false);
    sw->SetOn(true, true, true); // unchanged
    sw->SetOn(false, false, false);
    sw->SetOn(true, false, true);
    EXPECT_EQ(target->Words(3), std::vector<MsgWord>{1});
}

TEST_F(SwitchFrameTest, ClickingARadioTurnsTheGroupsChoiceOffAndNeverTurnsItselfOff)
{
    CRadioFrame* a = Radio(0, 7, true);
    CRadioFrame* b = Radio(1, 7, false);
    CRadioFrame* other = Radio(2, 8, true);
    EXPECT_EQ(wnd->GetGroupValue(7), a);
    EXPECT_EQ(b->GetGroupChoice(), a);

    Click(*b);
    EXPECT_FALSE(a->IsOn());
    EXPECT_TRUE(b->IsOn());
    EXPECT_TRUE(other->IsOn()); // another group is never touched
    EXPECT_EQ(wnd->GetGroupValue(7), b);
    EXPECT_EQ(wnd->GetGroupValue(8), other);
    EXPECT_EQ(Senders(), std::vector<const CBaseObj*>{b}); // none from a

    // Clicking the choice again notifies again and leaves it on.
    Click(*b);
    EXPECT_TRUE(b->IsOn());
    EXPECT_EQ(Senders(), (std::vector<const CBaseObj*>{b, b}));

    // The release notifies without writing words 2 and 3: they keep what was last sent.
    target->notes.clear();
    a->SetOn(true, true, true); // word 3 = 1 on a's message
    a->GetNotifyMessage().SetParam(5, 2);
    Click(*a);
    EXPECT_EQ(target->Words(3), (std::vector<MsgWord>{1, 1}));
    EXPECT_EQ(target->Words(2), (std::vector<MsgWord>{0, 5}));
    EXPECT_FALSE(b->IsOn());

    // A press released outside only lets go of the pressed look.
    target->notes.clear();
    Down(10, 25);
    EXPECT_EQ(b->GetState(), 1);
    Up(200, 200);
    EXPECT_EQ(b->GetState(), 0);
    EXPECT_FALSE(b->IsOn());
    EXPECT_TRUE(target->notes.empty());
}

TEST_F(SwitchFrameTest, ARadioJoiningWhileOnTakesOverItsGroupAndOneLeavingTakesItsChoiceAlong)
{
    CRadioFrame* a = Radio(0, 7, true);
    CRadioFrame* b = Radio(1, 7, false);
    CRadioFrame* c = Radio(2, 7, true); // the newcomer wins
    EXPECT_FALSE(a->IsOn());
    EXPECT_TRUE(c->IsOn());
    EXPECT_EQ(wnd->GetGroupValue(7), c);
    EXPECT_EQ(b->GetGroupChoice(), c);
    EXPECT_TRUE(target->notes.empty());

    root->RemoveChild(*c);
    EXPECT_EQ(wnd->GetGroupValue(7), nullptr);
    EXPECT_EQ(b->GetGroupChoice(), nullptr);
    delete c;
    Click(*b);
    EXPECT_TRUE(b->IsOn());
    EXPECT_FALSE(a->IsOn());
    EXPECT_EQ(wnd->GetGroupValue(7), b);
}

} // namespace
