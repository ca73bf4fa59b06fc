// The game's text button, the repeat button and the spin control, driven through a window with
// the mouse and the fake clock.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "engine/controls/input/TextBtnFrame.h"
#include "engine/resources/Registrar.h"
#include "game/base/GameBtn.h"
#include "game/base/RepeatButton.h"
#include "game/base/SpinFrm.h"
#include "game/shell/TemplateTypes.h"
#include "tests/engine/controls/imagectl/ImageControlsKit.h"

namespace {

using namespace itest;

class RepeatSpinTest : public ImageControlsTest {
protected:
    void SetUp() override
    {
        ImageControlsTest::SetUp();
        CRegistrar::Clear();
        RegisterTemplateTypes();
    }

    // A repeat button (picture 3: three images of 8 x 6) at (100, 50), notifying message 60 to
    // the target, with the given "whentosend" and repeat settings.
    CRepeatButton* MakeButton(int whenToSend, const RepeatSettings& r)
    {
        Build("0x40, 11, 0, 0x9, 0,0, 0,0, 50, 100, 0, 0, 0, 900, 60, 0, 0, " + std::to_string(whenToSend) +
              ", 3, -1, " + std::to_string(r.idleTicks) + ", " + std::to_string(r.delayCount) + ", " +
              std::to_string(r.startInc) + ", " + std::to_string(r.incSize) + ", " +
              std::to_string(r.maxInc) + "\n");
        return Control<CRepeatButton>(11);
    }

    // Word 1 of every notification after a press held for `ticks` ticks, and after the release.
    std::vector<MsgWord> Hold(uint32_t ticks)
    {
        Down(102, 52);
        Ticks(ticks);
        Up(102, 52);
        return target->Words(1);
    }
};

RepeatSettings Repeat(int32_t idle, int16_t delay, int32_t start, int32_t inc, int32_t max)
{
    RepeatSettings r;
    r.idleTicks = idle;
    r.delayCount = delay;
    r.startInc = start;
    r.incSize = inc;
    r.maxInc = max;
    return r;
}

TEST_F(RepeatSpinTest, AHeldRepeatButtonSendsGrowingStepsUpToTheMaximum)
{
    struct Case {
        const char* what;
        RepeatSettings repeat;
        uint32_t ticks;
        std::vector<MsgWord> steps; // the press, then one per timer period
    };
    const Case cases[] = {
        {"delay 0 changes every tick", Repeat(1, 0, 1, 5, 100), 4, {1, 5, 10, 15, 20}},
        {"delay 2", Repeat(1, 2, 1, 5, 100), 6, {1, 1, 5, 5, 10, 10, 15}},
        {"start equal to the size still grows", Repeat(1, 1, 5, 5, 100), 4, {5, 5, 10, 15, 20}},
        {"a step passing the start again keeps growing", Repeat(1, 0, 10, 5, 100), 4, {10, 5, 10, 15, 20}},
        {"clamped to the maximum", Repeat(1, 0, 1, 30, 100), 5, {1, 30, 60, 90, 100, 100}},
        {"a sum reaching the maximum exactly", Repeat(1, 0, 1, 25, 100), 5, {1, 25, 50, 75, 100, 100}},
        {"no overflow", Repeat(1, 0, 1, INT32_MAX, INT32_MAX), 3, {1, INT32_MAX, INT32_MAX, INT32_MAX}},
        {"idle ticks 3", Repeat(3, 0, 1, 5, 100), 9, {1, 5, 10, 15}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        target->notes.clear();
        CRepeatButton* button = MakeButton(0, c.repeat);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(Hold(c.ticks), c.steps);
        EXPECT_EQ(button->GetStep(), c.repeat.startInc) << "the release resets the step";
        Ticks(6);
        EXPECT_EQ(target->notes.size(), c.steps.size()) << "the release stops the timer";
        button->RemoveFromParent();
        delete button;
    }
}

TEST_F(RepeatSpinTest, WhenToSendAddsThePushControlsOwnNotification)
{
    // Mode 1 notifies at the press before the repeat's own, with the template's "usr2" (0) in
    // word 1, which the template puts there after construction; mode 2 at the release with the
    // step then held, before it goes back to the start.
    CRepeatButton* press = MakeButton(1, Repeat(1, 0, 2, 7, 100));
    Down(102, 52);
    EXPECT_EQ(target->Words(1), (std::vector<MsgWord>{0, 2}));
    Up(102, 52);
    press->RemoveFromParent();
    delete press;

    target->notes.clear();
    CRepeatButton* release = MakeButton(2, Repeat(1, 0, 2, 7, 100));
    EXPECT_EQ(Hold(2), (std::vector<MsgWord>{2, 7, 14, 14}));
    EXPECT_EQ(target->Words(2), (std::vector<MsgWord>{1, 1, 1, 0}));
    EXPECT_EQ(release->GetStep(), 2);
    target->notes.clear();
    EXPECT_EQ(Hold(0), (std::vector<MsgWord>{2, 2})) << "a later single click sends the start increment";
}

TEST_F(RepeatSpinTest, TheGameButtonShowsTheHandOnlyWhileEnabled)
{
    Build("0x23, 7, 0, 9, 0, 0, 0, 0, 40, 50, 0, 0,  0, 900, 91, 4, 5, 1, \"AB\", 5, 20, 21, 22, 2\n");
    auto* button = Control<CGameBtn>(7);
    ASSERT_NE(button, nullptr);
    const CPoint far(1000, 1000);
    EXPECT_EQ(button->GetCursorAt(&far), CGameBtn::kHandCursor);
    button->Enable(false);
    EXPECT_EQ(button->GetCursorAt(nullptr), 0);
    button->Enable(true);
    Down(55, 45);
    Up(55, 45);
    EXPECT_EQ(target->notes.size(), 1u);
}

// A spin control of range min..max at value, with the target as its notify target.
struct SpinCase {
    int32_t min, max, value, direction, step;
    bool handled;
    int32_t after;
    int64_t change;
};

TEST_F(RepeatSpinTest, ArrowMessagesStepTheValueAndWrapAtTheEnds)
{
    const SpinCase cases[] = {
        {0, 10, 9, CSpinFrm::kUp, 5, true, 0, -9},
        {0, 10, 1, CSpinFrm::kDown, 5, true, 10, 9},
        {0, 10, 3, CSpinFrm::kUp, 5, true, 8, 5},
        {0, 10, 10, CSpinFrm::kUp, 0, true, 10, 0},
        {0, 10, 3, 2, 5, false, 3, 0},
        {0, INT32_MAX, INT32_MAX - 1, CSpinFrm::kUp, INT32_MAX, true, 0, -(int64_t{INT32_MAX} - 1)},
        {INT32_MIN, INT32_MAX, INT32_MIN + 1, CSpinFrm::kDown, INT32_MAX, true, INT32_MAX,
         int64_t{INT32_MAX} - (int64_t{INT32_MIN} + 1)},
    };
    for (const SpinCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.value) + " dir " + std::to_string(c.direction));
        target->notes.clear();
        auto* spin = Add(new CSpinFrm(20, CRect(10, 10, 30, 60), 77, target, c.min, c.max, c.value,
                                      CSpinFrm::Looks(), nullptr, RepeatSettings()));
        CMessage arrow(CSpinFrm::kArrowMessage);
        arrow.SetParam(c.direction, 0);
        arrow.SetParam(c.step, 1);
        EXPECT_EQ(spin->HandleMessage(arrow, nullptr), c.handled);
        EXPECT_EQ(spin->GetValue(), c.after);
        EXPECT_EQ(target->notes.size(), c.handled ? 1u : 0u);
        if (c.handled) {
            EXPECT_EQ(target->notes[0].words[2], c.change);
            EXPECT_EQ(target->notes[0].words[3], c.after);
        }
        EXPECT_STREQ(spin->GetText()->GetText(), std::to_string(c.after).c_str());
        spin->RemoveFromParent();
        delete spin;
    }
}

TEST_F(RepeatSpinTest, AHeldArrowStepsTheSpinControlFasterAndFaster)
{
    // Kind 0x3f: the range values 0..100000 at 0, the looks, picture 6 (six images of 8 x 6) and
    // the repeat settings: every tick, a step change every 2 ticks, 1, 5 … 100.
    Build("0x3f, 20, 0, 0x9, 0,0, 0,0, 10, 20, 30, 80, 0, 900, 77, 0, 0, 0, 100000, 0, "
          "5, -1, 3, 4, 255, 6, -1, 1, 2, 1, 5, 100\n"
          "0x3e, 21, 0, 0x9, 0,0, 0,0, 40, 20, 70, 80, 0, 900, 78, 0, 0, 0, 10, 0, 5, -1, 3, 4, 255\n");
    auto* spin = Control<CSpinFrm>(20);
    auto* plain = Control<CSpinFrm>(21);
    ASSERT_NE(spin, nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(wtest::Str(plain->GetBounds()), "40,20,70,80") << "kind 0x3e keeps its height";
    EXPECT_EQ(plain->GetUpButton(), nullptr);
    CRepeatButton* up = spin->GetUpButton();
    CRepeatButton* down = spin->GetDownButton();
    ASSERT_NE(up, nullptr);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(wtest::Str(up->GetBounds()), "10,72,16,80");
    EXPECT_EQ(wtest::Str(down->GetBounds()), "16,72,22,80");
    EXPECT_EQ(down->GetFrameBase(), 3);
    EXPECT_EQ(wtest::Str(spin->GetBounds()), "10,20,22,80") << "grown down to the lower arrow";

    Down(74, 12);
    Ticks(40);
    Up(74, 12);
    std::vector<MsgWord> steps;
    for (const Note& n : target->notes)
        steps.push_back(n.words[2]);
    // The press and the first tick send 1, then each step lasts two ticks.
    std::vector<MsgWord> expected{1, 1};
    for (MsgWord s = 5; expected.size() < 41; s = s < 100 ? s + 5 : 100)
        for (int i = 0; i < 2 && expected.size() < 41; ++i)
            expected.push_back(s);
    EXPECT_EQ(steps, expected);

    // The lower arrow steps down and wraps to the maximum.
    target->notes.clear();
    spin->SetValue(0);
    Down(74, 18);
    Up(74, 18);
    EXPECT_EQ(spin->GetValue(), 100000);
}

} // namespace
