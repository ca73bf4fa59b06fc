#include <gtest/gtest.h>

#include "engine/controls/BTplList.h"
#include "engine/controls/InputState.h"
#include "engine/controls/input/PushFrame.h"
#include "engine/controls/kinds/TemplateKinds.h"
#include "engine/resources/RsrcBlock.h"
#include "tests/engine/controls/input/ControlsKit.h"
#include "tests/engine/resources/DefinitionText.h"

namespace {

using namespace ctest;

class PushFrameTest : public ControlsTest {
protected:
    CPushFrame* Push(int32_t mode, bool isDefault = false)
    {
        return Add(new CPushFrame(1, 5, CRect(10, 10, 30, 60), 40, target, mode, isDefault));
    }
};

TEST_F(PushFrameTest, EachModeNotifiesAtItsOwnMomentsWithThePressedValue)
{
    // Steps: 'D' press, 'M' move, 'U' release; lower case inside the control, upper outside.
    struct Case {
        int32_t mode;
        const char* script;
        std::vector<MsgWord> notified; // word 2 of each notification
        std::vector<int32_t> states;   // the pressed value after each step
    };
    const Case cases[] = {
        {1, "du", {0}, {0, 0}},                  // at the press, with the capture given up
        {2, "du", {0}, {1, 0}},                  // at the release inside
        {2, "dmU", {}, {1, 1, 0}},               // a release outside sends nothing
        {2, "dMmu", {0}, {1, 0, 1, 0}},          //
        {3, "dMmu", {1, 0, 1, 0}, {1, 0, 1, 0}}, // every change while it holds the capture
        {3, "dMU", {1, 0}, {1, 0, 0}},           //
        {0, "dMmu", {}, {1, 0, 1, 0}},           // other modes never notify
        {2, "Du", {}, {0, 0}},                   // a press elsewhere is not ours
    };
    for (const Case& c : cases) {
        CPushFrame* push = Push(c.mode);
        target->notes.clear();
        std::vector<int32_t> states;
        for (const char* s = c.script; *s; ++s) {
            const bool inside = *s >= 'a';
            const int x = inside ? 20 : 100;
            switch (*s | 0x20) {
            case 'd': Down(x, x); break;
            case 'm': Move(x, x); break;
            case 'u': Up(x, x); break;
            }
            states.push_back(push->GetState());
        }
        EXPECT_EQ(target->Words(2), c.notified) << c.mode << " " << c.script;
        EXPECT_EQ(states, c.states) << c.mode << " " << c.script;
        for (const Note& n : target->notes)
            EXPECT_EQ(n.sender, push);
        EXPECT_EQ(GetCaptureObj(), nullptr);
        push->Destroy();
    }
}

TEST_F(PushFrameTest, EnterPressesTheDefaultControlOnceWithValueZero)
{
    CPushFrame* push = Push(CPushFrame::kSendOnChange, true);
    EXPECT_EQ(push->GetInputMode(), 0u);
    EXPECT_EQ(wnd->GetDefaultControl(), push);
    Key(plat::key::Enter);
    EXPECT_EQ(target->Words(2), std::vector<MsgWord>{0});
    EXPECT_EQ(push->GetState(), 0);
}

TEST_F(PushFrameTest, TheDefaultMovesBetweenControlsAndAShownDefaultClaimsItBack)
{
    CPushFrame* a = Push(2, true);
    CPushFrame* b = Push(2);
    b->SetDefault(true);
    EXPECT_EQ(wnd->GetDefaultControl(), b);
    EXPECT_FALSE(a->IsDefault()); // the replaced control no longer counts itself the default
    b->SetDefault(false);
    EXPECT_EQ(wnd->GetDefaultControl(), nullptr);
    a->SetDefault(true);
    b->SetDefault(true);
    a->Hide(false, false);
    b->Hide(false, false);
    b->Show(false);
    EXPECT_EQ(wnd->GetDefaultControl(), b);
    a->Show(false); // not the default any more: nothing to claim
    EXPECT_EQ(wnd->GetDefaultControl(), b);
    b->SetDefault(true); // unchanged
    EXPECT_EQ(wnd->GetDefaultControl(), b);
    wnd->SetDefaultControl(nullptr);
    b->Hide(false, false);
    b->Show(false); // hidden and shown again, it claims the window's default
    EXPECT_EQ(wnd->GetDefaultControl(), b);
}

TEST_F(PushFrameTest, DisablingAPressedControlReleasesItWithoutANotification)
{
    CPushFrame* push = Push(CPushFrame::kSendOnChange);
    Down(20, 20);
    ASSERT_EQ(push->GetState(), 1);
    target->notes.clear();
    push->Enable(false);
    EXPECT_EQ(push->GetState(), 0);
    EXPECT_TRUE(target->notes.empty());
    Up(20, 20);
    EXPECT_TRUE(target->notes.empty());
}

TEST_F(PushFrameTest, TheTemplateGivesTheNotificationTheTargetAndTheTabOrder)
{
    RegisterAllTemplateKinds();
    // Kind 0x0f: the frame values, then taborder, notifywhoid, mssgtype, usr1, usr2, whentosend.
    CBTplList list(deftext::MakeBlock("15, 31, 0, 9, 0, 0, 0, 0, 10, 10, 30, 60,  2, 900, 44, 7, 8, 3\n"
                                      "15, 32, 0, 9, 0, 0, 0, 0, 40, 10, 60, 60,  1, 900, 45, 0, 0, 2\n",
                                      "TPL", 70));
    list.Build(root, nullptr, 0);
    auto* push = dynamic_cast<CPushFrame*>(wnd->FindControlById(31));
    auto* second = dynamic_cast<CPushFrame*>(wnd->FindControlById(32));
    ASSERT_TRUE(push && second);
    EXPECT_EQ(push->GetControlKind(), 1);
    EXPECT_EQ(push->GetWhenToSend(), 3);
    EXPECT_EQ(push->GetTabOrder(), 2);
    EXPECT_EQ(wtest::Str(push->GetBounds()), "10,10,30,60");
    EXPECT_EQ(static_cast<CWindControl*>(wnd->GetControls().GetHeadNode()->item), second); // order 1 first
    Down(20, 20);
    Up(20, 20);
    ASSERT_EQ(target->notes.size(), 2u);
    EXPECT_EQ(target->notes[0].id, 44);
    EXPECT_EQ(target->Words(0), (std::vector<MsgWord>{7, 7}));
    EXPECT_EQ(target->Words(1), (std::vector<MsgWord>{8, 8}));
    EXPECT_EQ(target->Words(2), (std::vector<MsgWord>{1, 0}));
}

} // namespace
