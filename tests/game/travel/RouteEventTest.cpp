#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "game/travel/RouteEvent.h"
#include "tests/game/travel/TravelFixture.h"

namespace traveltest {
namespace {

class RouteEventTest : public TravelTest {};

TEST_F(RouteEventTest, TheRecordsFieldsAreReadAtTheirOffsets)
{
    // Word i of the record holds 1000 + i, so every field tells which word it came from.
    std::ostringstream text;
    for (int i = 0; i < CRouteEvent::kRecordSize / 2; ++i)
        text << (i ? ", " : "") << 1000 + i;
    AddRecord("EVT", 15, text.str());
    Open();
    ScriptedDraws draws;
    draws.Draw(1, 100, 42);
    const CRouteEvent event(15, 3, 4, nullptr);
    EXPECT_TRUE(event.HasRecord());
    EXPECT_EQ(event.GetType(), 15);
    EXPECT_EQ(event.GetState(), CRouteEvent::kNew);
    EXPECT_EQ(event.GetStep(), 0);
    EXPECT_EQ(event.GetCount(), 42);
    EXPECT_EQ(event.GetFirst().GetValue(), 3);
    EXPECT_EQ(event.GetSecond().GetValue(), 4);
    EXPECT_EQ(event.GetTargetKind(), 1002);
    EXPECT_EQ(event.GetDisplayKind(), 1003);
    EXPECT_EQ(event.GetSound(), 1004);
    EXPECT_EQ(event.GetPictureMode(), 1006);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(event.GetPicture(i), 1007 + i);
    EXPECT_EQ(event.GetPicture(5), 0);
    for (int i = -1; i < CRouteEvent::kChoiceCount; ++i) {
        SCOPED_TRACE(i);
        const int first = 1015 + 12 * i; // choice i starts at byte 30 + 24 i
        EXPECT_EQ(event.GetRequiredItem(i), first);
        EXPECT_EQ(event.GetTextNumber(i), first + 1);
        EXPECT_EQ(event.GetOutcomeKind(i), first + 2);
        EXPECT_EQ(event.GetSuccessMorale(i), first + 3);
        EXPECT_EQ(event.GetFailureMorale(i), first + 4);
        EXPECT_EQ(event.GetTravelCap(i), first + 5);
        EXPECT_EQ(event.GetDelay(i), first + 6);
        EXPECT_EQ(event.GetStageValue(i), first + 7);
    }
    EXPECT_EQ(event.GetTextNumber(8), 0);
    EXPECT_EQ(event.GetTextNumber(-2), 0);
}

TEST_F(RouteEventTest, ChoiceFlagsOutsideTheNineReadOffAndStayOff)
{
    Open();
    ScriptedDraws draws;
    draws.Draw(1, 100, 1);
    CRouteEvent event(15, 0, 0, nullptr);
    for (int i = 0; i < CRouteEvent::kChoiceFlagCount; ++i)
        EXPECT_TRUE(event.IsChoiceEnabled(i)) << i;
    event.DisableChoice(3);
    EXPECT_FALSE(event.IsChoiceEnabled(3));
    event.EnableChoice(3);
    EXPECT_TRUE(event.IsChoiceEnabled(3));
    for (int i : {-1, 9, 100}) {
        event.EnableChoice(i);
        event.DisableChoice(i);
        EXPECT_FALSE(event.IsChoiceEnabled(i)) << i;
    }
    for (int i = 0; i < CRouteEvent::kChoiceFlagCount; ++i)
        EXPECT_TRUE(event.IsChoiceEnabled(i)) << i;
}

TEST_F(RouteEventTest, AnEventWithoutItsRecordIsFinishedAtOnce)
{
    Open();
    ScriptedDraws draws;
    draws.Draw(1, 100, 9);
    const CRouteEvent event(15, 0, 0, nullptr);
    EXPECT_FALSE(event.HasRecord());
    EXPECT_EQ(event.GetState(), CRouteEvent::kFinished);
    EXPECT_EQ(event.GetTextNumber(0), 0);
    const CRouteEvent loaded(15);
    EXPECT_EQ(loaded.GetCount(), 0) << "a loaded event draws nothing";
}

} // namespace
} // namespace traveltest
