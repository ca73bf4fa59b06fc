#pragma once
// CTravel: the travel module (type 10), the travel screen and the owner of the trip (CTrip).
// The factory attaches it once the frame is in the game window, which sets the first trip up;
// message 3 resets the trip and closes the game back to the opening screen. The route
// screen itself (arrival at nodes, the idle tick, its panels and scenes) is not built yet,
// and the trip is not yet written into saved games.
#include <cstdint>
#include <memory>
#include <vector>

#include "game/shell/Module.h"
#include "game/travel/Trip.h"

class CImageFrame;
class CMarket;
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

    // Trading with travellers and the supplies-discard dialog. The application routes its
    // trade commands here; true when the id was one of them.
    static constexpr int32_t kMsgTrade = 305;
    static constexpr int32_t kMsgFillTradeLists = 2331;
    static constexpr int32_t kMsgTraderItemPicked = 460;
    static constexpr int32_t kMsgOwnItemPicked = 461;
    static constexpr int32_t kMsgAcceptTrade = 462;
    static constexpr int32_t kMsgOwnListChange = 467;
    static constexpr int32_t kMsgTradeQuantity = 468;
    static constexpr int32_t kMsgDiscard = 406;
    bool HandleTradeCommand(CMessage& message, CBaseObj* sender);
    // Opens a trade with the trader of stock record `stockId` and runs its window until it
    // is closed; a party without supplies never sees it.
    void StartTrade(int16_t stockId, int32_t soundBase);
    void FillTradeLists();
    // The deal check on the trade window's controls: true when the offer is worth strictly
    // more than what is asked. It writes the verdict on button 200.
    bool CheckDeal(CFrame& window);
    void AcceptTrade();
    void OnTraderItemPicked();
    void OnOwnItemPicked();
    void UpdateTradeLabels();
    void OnOwnListChange(CBaseObj* sender);
    // The supplies-discard dialog for the items of `category` (1: every category).
    void ShowDiscardDialog(int16_t category);
    // While a trade runs: the trader's stock and the window (tests look at them).
    CMarket* GetTraderMarket() const { return traderMarket_.get(); }
    CImageFrame* GetTradeWindow() const { return tradeWindow_.get(); }

private:
    // The item type of each row of the party's goods list, in row order.
    std::vector<int16_t> ownGoods_;
    std::unique_ptr<CMarket> traderMarket_;
    std::unique_ptr<CImageFrame> tradeWindow_;
    int32_t traderSoundBase_ = 0;

    bool routePanelEnabled_ = true;
    int32_t eventsGone_ = 0;
};
