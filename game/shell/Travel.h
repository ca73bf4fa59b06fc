#pragma once
// CTravel: the travel module (type 10), owner of the trip. The journey itself is not built
// yet; this module holds what the shell and the route events ask of it: the landmark to show
// (none), the mode, the trip reset (which closes the game back to the opening screen), the
// trip's date, the party, and the route event queue with what the queue reads of the travel
// screen (whether it is suspended or enabled, its route panel, the frame told of events).
#include <cstdint>
#include <memory>

#include "engine/framework/Date.h"
#include "game/shell/Module.h"
#include "game/travel/EventQueue.h"
#include "game/travel/Party.h"
#include "game/travel/RouteSeqState.h"

class CRouteNode;

class CTravel : public CFrameModule, public CEventHost {
public:
    // Message 3 resets the trip.
    static constexpr int32_t kMsgResetTrip = 3;

    explicit CTravel(const CRect& rect);
    ~CTravel() override;

    bool HandleMessage(CMessage& message, CBaseObj* sender) override;

    // The landmark the landmark module is to show; -1 for none.
    int32_t GetLandmarkId() const { return -1; }
    void SetMode(int16_t mode) { mode_ = mode; }
    int16_t GetMode() const { return mode_; }
    // Starts the trip over (a new party, no events) and sends command 3 (close the game) to
    // the application.
    void ResetTrip();
    CDate GetCurDate() const { return CDate(1848, 4, 1); }
    // The current route node: none yet.
    const CRouteNode* GetRouteNode() const { return nullptr; }
    void UpdatePartyAfterLoad() {}

    // The new game's choice: the player's post and the party's starting money.
    void SetPost(int16_t post) { post_ = post; }
    int16_t GetPost() const { return post_; }

    CEventQueue* GetEventQueue() const { return queue_.get(); }
    // The travel screen's own suspended flag (the module state 3 counts as well).
    void SetSuspended(bool suspended) { suspended_ = suspended; }
    bool IsRoutePanelEnabled() const { return routePanelEnabled_; }
    // The messages the travel screen's frame was told of events (341), in all.
    int32_t GetEventGoneCount() const { return eventsGone_; }

    // CEventHost
    CParty* GetParty() const override { return party_.get(); }
    bool IsTripSuspended() const override { return suspended_ || GetState() == kStateSuspended; }
    bool IsTravelFrameEnabled() const override { return IsEnabled(); }
    void EnableRoutePanel(bool enable) override { routePanelEnabled_ = enable; }
    void SendToTravelFrame(int32_t id) override;
    CDiary* GetDiary() const override;

    // The route map's saved progress; none until the trip makes one.
    CRouteSeqState* GetRouteSeqState() const { return routeSeqState_.get(); }
    void SetRouteSeqState(std::unique_ptr<CRouteSeqState> state) { routeSeqState_ = std::move(state); }

private:
    int16_t mode_ = 0;
    int16_t post_ = 0;
    bool suspended_ = false;
    bool routePanelEnabled_ = true;
    int32_t eventsGone_ = 0;
    std::unique_ptr<CParty> party_;
    std::unique_ptr<CEventQueue> queue_;
    std::unique_ptr<CRouteSeqState> routeSeqState_;
};
