// The travel module: its trip set up on attaching, and what the route event queue reads of
// the travel screen.
#include <gtest/gtest.h>

#include <memory>

#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "game/travel/Party.h"
#include "game/travel/Travel.h"

namespace {

TEST(TravelModule, TheQueueSeesTheTravelScreensState)
{
    CUtil::SetRandomSeed(1);
    auto travel = std::make_unique<CTravel>(CRect(0, 0, 480, 640));
    EXPECT_EQ(travel->GetId(), 900);
    EXPECT_EQ(travel->GetParty(), nullptr) << "the trip is made on attaching";
    travel->OnAttach();
    EXPECT_FALSE(travel->IsFresh());
    EXPECT_EQ(travel->GetMode(), CTrip::kNotOnRoute);
    ASSERT_NE(travel->GetParty(), nullptr);
    EXPECT_EQ(travel->GetParty()->CountMembers(true), 1);
    ASSERT_NE(travel->GetEventQueue(), nullptr);
    EXPECT_EQ(&travel->GetEventQueue()->GetHost(), travel.get());
    EXPECT_EQ(travel->GetDiary(), nullptr) << "no game is open";

    EXPECT_FALSE(travel->IsTripSuspended());
    travel->Suspend();
    EXPECT_TRUE(travel->IsTripSuspended()) << "module state 3";
    travel->Resume();
    EXPECT_FALSE(travel->IsTripSuspended());
    travel->SetSuspended(true);
    EXPECT_TRUE(travel->IsTripSuspended());
    travel->SetSuspended(false);

    EXPECT_TRUE(travel->IsTravelFrameEnabled());
    travel->Enable(false);
    EXPECT_FALSE(travel->IsTravelFrameEnabled());
    travel->Enable(true);

    EXPECT_TRUE(travel->IsRoutePanelEnabled());
    travel->EnableRoutePanel(false);
    EXPECT_FALSE(travel->IsRoutePanelEnabled());
    travel->EnableRoutePanel(true);

    // An event without its record in no library ends at once, and its removal reaches the
    // travel screen's frame as message 341.
    travel->GetEventQueue()->PostAndRunEvent(15, 0, 0, -1, nullptr);
    EXPECT_EQ(travel->GetEventQueue()->GetCount(), 0);
    EXPECT_EQ(travel->GetEventGoneCount(), 1);
}

TEST(TravelModule, ResettingTheTripStartsAFreshPartyAndQueue)
{
    CUtil::SetRandomSeed(1);
    auto travel = std::make_unique<CTravel>(CRect(0, 0, 480, 640));
    travel->OnAttach();
    travel->GetParty()->AddMoney(400.0);
    travel->GetEventQueue()->SetStampedeFlag(1);
    SendMsg(*travel, CTravel::kMsgResetTrip, 0, 0, nullptr);
    EXPECT_EQ(travel->GetParty()->GetMoney(), 0.0);
    EXPECT_EQ(travel->GetEventQueue()->GetStampedeFlag(), 0);
}

} // namespace
