// The travel module: its trip set up on attaching, and what the route event queue reads of
// the travel screen.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "engine/graphics/CursorMgr.h"
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

TEST(TravelModule, SettingUpAndResettingTheTripShowTheWaitCursorThroughout)
{
    // Every draw a trip's making takes is made with the wait cursor up; the arrow is back after.
    constexpr int32_t kArrow = 0, kWait = 3;
    CreateCursorMgr();
    std::set<int32_t> seen;
    int32_t draws = 0;
    CUtil::SetDrawSource([&seen, &draws](int32_t lo, int32_t hi, int32_t) {
        seen.insert(GetCursorId());
        return lo + draws++ % (hi - lo + 1);
    });
    auto travel = std::make_unique<CTravel>(CRect(0, 0, 480, 640));
    travel->OnAttach();
    EXPECT_EQ(seen, std::set<int32_t>{kWait}) << "set-up";
    EXPECT_EQ(GetCursorId(), kArrow);
    seen.clear();
    travel->ResetTrip();
    EXPECT_EQ(seen, std::set<int32_t>{kWait}) << "reset";
    EXPECT_EQ(GetCursorId(), kArrow);
    CUtil::SetDrawSource(nullptr);
}

} // namespace
