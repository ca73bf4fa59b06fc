#pragma once
// The trip as the event generator and its queue see it, filled in by the test, harness or
// benchmark that uses it: a date, a weather, a node, a party and the trip's values, every
// event possible or only those listed, scene flags kept in a set and the lowest day speed
// asked for.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <set>

#include "engine/framework/Date.h"
#include "game/travel/EventGen.h"
#include "game/travel/RouteNode.h"
#include "game/travel/Weather.h"

namespace traveltest {

class EventTrip : public CEventHost, public CEventGenTrip {
public:
    CParty* GetParty() const override { return party; }
    bool IsTripSuspended() const override { return false; }
    bool IsTravelFrameEnabled() const override { return true; }
    void EnableRoutePanel(bool) override {}
    void SendToTravelFrame(int32_t) override {}
    CDiary* GetDiary() const override { return nullptr; }

    const CDate* GetCurDate() const override { return &date; }
    const CDate* GetStartDate() const override { return &start; }
    CWeather* GetWeather() const override { return weather.get(); }
    CRouteNode* GetNode() const override { return node.get(); }
    int32_t GetPace() const override { return pace; }
    int16_t GetPost() const override { return post; }
    int16_t GetDaysOnRoute() const override { return daysOnRoute; }
    int16_t GetDaysSinceStop() const override { return daysSinceStop; }
    int16_t GetTripRisk() const override { return risk; }
    bool IsEventPossible(int16_t code) const override { return allowAll || allowed.contains(code); }
    bool GetSceneFlag(int16_t flag) const override { return flags.contains(flag); }
    void SetSceneFlag(int16_t flag, bool value) override
    {
        if (value)
            flags.insert(flag);
        else
            flags.erase(flag);
    }
    void LowerDaySpeed(int16_t percent) override { speed = std::min(speed, percent); }

    CParty* party = nullptr;
    CDate date{1848, 6, 1};
    CDate start{1848, 4, 1};
    std::unique_ptr<CWeather> weather;
    std::unique_ptr<CRouteNode> node;
    int32_t pace = 0;
    int16_t post = 0;
    int16_t daysOnRoute = 0;
    int16_t daysSinceStop = 0;
    int16_t risk = 0;
    bool allowAll = false;
    std::set<int16_t> allowed;
    std::set<int16_t> flags;
    int16_t speed = 100;
};

} // namespace traveltest
