#include <gtest/gtest.h>

#include "engine/controls/input/RangeFrame.h"
#include "tests/engine/controls/input/ControlsKit.h"

namespace {

using namespace ctest;

// A range control that counts how often it is drawn.
class CountedRange : public CRangeFrame {
public:
    CountedRange(CBaseObj* target, int32_t minimum, int32_t maximum, int32_t value)
        : CRangeFrame(3, 1, CRect(0, 0, 20, 20), 50, target, minimum, maximum, value)
    {
    }
    void DrawContent(CDrawEnv*, const CRect&) override { ++draws; }
    int draws = 0;
};

class RangeFrameTest : public ControlsTest {};

TEST_F(RangeFrameTest, ValuesAreRaisedToTheMinimumThenLoweredToTheMaximum)
{
    struct Case {
        int32_t minimum, maximum, initial, set, expected;
    };
    const Case cases[] = {
        {0, 10, 5, -3, 0},   {0, 10, 5, 11, 10}, {0, 10, 5, 7, 7},
        {4, 4, 4, -9, 4},    {4, 4, 4, 90, 4}, // minimum = maximum: that one value
        {10, 0, 5, 3, 0},                      // a maximum below the minimum wins the second clamp
        {0, 10, 50, 50, 10},                   // an initial value outside the range is kept until set
    };
    for (const Case& c : cases) {
        CRangeFrame range(3, 1, CRect(0, 0, 10, 10), 50, nullptr, c.minimum, c.maximum, c.initial);
        EXPECT_EQ(range.GetValue(), c.initial);
        range.SetValue(c.set);
        EXPECT_EQ(range.GetValue(), c.expected) << c.minimum << ".." << c.maximum << " " << c.set;
    }
}

TEST_F(RangeFrameTest, SetMaxBelowTheMinimumPullsTheValueAndOnlyChangesRepaint)
{
    auto* range = Add(new CountedRange(target, 10, 100, 50));
    const int before = range->draws;
    range->SetValue(50); // unchanged: nothing painted
    EXPECT_EQ(range->draws, before);
    range->SetValue(60);
    EXPECT_EQ(range->draws, before + 1);
    range->SetMax(5);
    EXPECT_EQ(range->GetMax(), 10);
    EXPECT_EQ(range->GetValue(), 10);
    EXPECT_EQ(range->draws, before + 2);
    EXPECT_TRUE(target->notes.empty()); // setting never notifies
    range->SendNotify();
    EXPECT_EQ(target->Words(3), std::vector<MsgWord>{10});
}

} // namespace
