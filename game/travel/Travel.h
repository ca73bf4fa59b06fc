#pragma once
// CTravel: the travel module (type 10), the travel screen and the owner of the trip (CTrip).
// The factory attaches it once the frame is in the game window, which sets the first trip up;
// message 3 resets the trip and closes the game back to the opening screen. The route
// screen itself (arrival at nodes, the idle tick, its panels and scenes) is not built yet,
// and the trip is not yet written into saved games.
#include <cstdint>
#include <memory>

#include "game/shell/Module.h"
#include "game/travel/Trip.h"

class CRouteNode;
class CRouteSeqState;

class CTravel : public CFrameModule, public CTrip {
public:
    // Message 3 resets the trip.
    static constexpr int32_t kMsgResetTrip = 3;
    // The travel screen's object id.
    static constexpr int32_t kFrameId = 900;

    explicit CTravel(const CRect& rect);
    ~CTravel() override;

    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    // Sets the first trip up (once).
    void OnAttach() override;
    void Suspend() override;
    void Resume() override;

    // Starts the trip over and sends command 3 (close the game) to the application.
    void ResetTrip();
    void UpdatePartyAfterLoad() {}
    // The current route node; none before the trip reaches the route.
    const CRouteNode* GetRouteNode() const { return GetNode(); }

    // The travel screen's own suspended flag (the module state 3 counts as well).
    void SetSuspended(bool suspended) { suspended_ = suspended ? 1 : 0; }
    bool IsRoutePanelEnabled() const { return routePanelEnabled_; }
    // The messages the travel screen's frame was told of events (341), in all.
    int32_t GetEventGoneCount() const { return eventsGone_; }
    // The route map's saved progress; none until the trip makes one.
    void SetRouteSeqState(std::unique_ptr<CRouteSeqState> state);

    // CEventHost
    bool IsTripSuspended() const override { return suspended_ != 0 || GetState() == kStateSuspended; }
    bool IsTravelFrameEnabled() const override { return IsEnabled(); }
    void EnableRoutePanel(bool enable) override { routePanelEnabled_ = enable; }
    void SendToTravelFrame(int32_t id) override;

    // Route events (their resolution asks the screen): a stop for an event switches to the
    // landmark module (9) to wait, or asks for the days to wait (message 402); the quit and
    // trade commands go to the application, the reset is posted to the screen itself, the
    // discard dialog is broadcast.
    static constexpr int32_t kMsgAskWaitDays = 402;
    static constexpr int32_t kLandmarkModule = 9;
    void StopForEvent(bool askDays) override;
    void SendToApplication(int32_t id, MsgWord param1, MsgWord param2) override;
    void PostToTravelFrame(int32_t id) override;
    void BroadcastToScreens(int32_t id, MsgWord param1) override;

private:
    bool routePanelEnabled_ = true;
    int32_t eventsGone_ = 0;
};
