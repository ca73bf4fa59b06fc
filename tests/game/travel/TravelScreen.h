#pragma once
// The travel screen as the route tests drive it: under a stand-in of the game window, which
// records the modules the screen asks for, and with the fields a test may set directly.
#include <cstdint>
#include <utility>
#include <vector>

#include "engine/controls/Frame.h"
#include "engine/framework/Message.h"
#include "game/travel/Travel.h"

namespace traveltest {

// The game window as the travel screen sees it: its parent, which hears module requests.
class GameWindowStandIn : public CFrame {
public:
    GameWindowStandIn() : CFrame(kKindFrame, 920, CRect(0, 0, 480, 640), false) {}
    bool HandleMessage(CMessage& message, CBaseObj*) override
    {
        requests.push_back(
            {static_cast<int32_t>(message.GetId()), static_cast<int32_t>(message.GetParam(0))});
        return true;
    }
    std::vector<std::pair<int32_t, int32_t>> requests;
};

// A travel screen whose fields a test may set directly.
class TestTravel : public CTravel {
public:
    TestTravel() : CTravel(CRect(0, 0, 480, 640)) {}
    using CTravel::daysSinceStop_;
    using CTravel::distanceToNext_;
    using CTravel::eventGen_;
    using CTravel::eventStop_;
    using CTravel::mode_;
    using CTravel::nodeId_;
    using CTravel::waitDays_;
};

} // namespace traveltest
