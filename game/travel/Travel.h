#pragma once
// CTravel: the travel module (type 10), the travel screen and the owner of the trip (CTrip).
// The factory attaches it once the frame is in the game window, which sets the first trip up;
// message 3 resets the trip and closes the game back to the opening screen. Saved games hold
// the trip as their record 2. The route screen (TravelRoute.cpp) moves the party from node to
// node on the frame's timer, shows each segment's picture on the route panel and the route map
// above it, and hands each stop to the stop scene frame.
#include <cstdint>
#include <memory>
#include <vector>

#include "game/base/Module.h"
#include "game/base/ModuleLinks.h"
#include "game/travel/Trip.h"

class CImageFrame;
class CMarket;
class CRouteNode;
class CSmackerFrame;
class CRouteSeqState;
class CStr;

class CTravel;

// The stop scene frame (CRouteSceneFrm, object 935) as the route screen uses it: made over the
// screen for a scene id, given a new scene id, and asked to apply the outcome of the scene
// just played. The screen builds it (OnAttach), adds, shows and hides it itself.
CFrame* MakeSceneFrame(CTravel& travel, int32_t sceneId);
void SetSceneFrameId(CFrame& scene, int32_t sceneId);
void ApplySceneOutcome(CFrame& scene);

class CTravel : public CFrameModule, public CTrip, public CTravelLink {
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
    // CTravelLink
    int32_t GetLandmarkId() const override { return CTrip::GetLandmarkId(); }
    // Mode 3, then the reset message from the sender.
    void StartOver(CBaseObj* sender) override;
    int32_t GetNodeLandmark() const override;
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

    // The event clip of a no-dialog route event (TravelEventClip.cpp): message 340 plays the
    // clip the event queue names (its notify word) in the route panel while that panel is
    // shown; message 341, the next clip and a stay stop and delete it. The arrival's picture
    // change and the next stop delete it too (DeleteEventClip).
    static constexpr int32_t kMsgEventClip = 340;
    static constexpr int32_t kEventClipId = -2;
    void DeleteEventClip();
    // The clip playing in the route panel; null when none.
    CSmackerFrame* GetEventClip() const;

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

    // Saved games: the trip is record 2; after the whole game is read the party's food is
    // checked and the screen resumes. A damaged record leaves the document's error set.
    using CTrip::Load;
    using CTrip::Save;
    void Load(CQM3Doc* doc) override;
    void Save(CQM3Doc* doc) override;
    void UpdatePartyAfterLoad();

    // What the landmark, store and river modules read and set.
    CRouteNode* GetNode812() const { return GetNode(); }
    // The node id: the store lists outfits only at nodes 0 and 1, and river results apply
    // only on a node.
    int16_t GetField130() const { return GetNodeId(); }
    // The raft's damage percentage; -1 after a new trip, a reset and a load, never saved.
    void SetRaftDamage(int16_t percent) { raftDamage_ = percent; }
    int16_t GetRaftDamage() const { return raftDamage_; }

    // For the trip status screen: reserved word 3, which adds to its score (2: one point,
    // 1: two points). Only a saved game sets it.
    int32_t GetReservedWord3() const { return reserved3_; }

private:
    // The item type of each row of the party's goods list, in row order.
    std::vector<int16_t> ownGoods_;
    std::unique_ptr<CMarket> traderMarket_;
    std::unique_ptr<CImageFrame> tradeWindow_;
    int32_t traderSoundBase_ = 0;

public:
    // ---- The screen's panels and what its buttons, popups and dialogs send it
    //      (TravelMessages.cpp, TravelStatusPanel.cpp) ----
    enum PanelMessage : int32_t {
        kMsgHunt = 145,
        kMsgFish = 150,
        kMsgGather = 154,
        // p0 -1 opens the choice popup; 0, 1, 2 is the choice. (402 is kMsgAskWaitDays.)
        kMsgPace = 286,
        kMsgRations = 287,
        // p0 0 goes on to the next node, n > 0 along next node entry n - 1 (a fork).
        kMsgContinue = 344,
        kMsgBackToRoute = 401,
        kMsgStay = 403,
        kMsgStatusPanel = 413,
    };
    // Template lists of the panels, popups and the days dialog.
    static constexpr int32_t kRoutePanelList = 910;
    static constexpr int32_t kDaysDialogList = 911;
    static constexpr int32_t kStayPanelList = 930;
    static constexpr int32_t kPacePopupList = 931;
    static constexpr int32_t kRationsPopupList = 932;
    static constexpr int32_t kStatusPanelList = 940;
    // Objects: the route panel's status button, the days dialog's field and cancel control.
    static constexpr int32_t kStatusButton = 51413;
    static constexpr int32_t kDaysField = 9110;
    static constexpr int32_t kDaysCancel = 9111;
    // The status button's pictures while the status panel is shown and while it is hidden.
    static constexpr int32_t kStatusButtonOpen = 160;
    static constexpr int32_t kStatusButtonClosed = 165;
    // String lists of the status panel: its words and the condition names.
    static constexpr int32_t kStatusWords = 60000;
    static constexpr int32_t kConditionNames = 600035;
    // The diary entry of a wait.
    static constexpr int16_t kDiaryWait = 239;
    // The day cycle's timer period in ticks.
    static constexpr uint32_t kDayPeriod = 25;

    // Fills the status panel from the trip once the trip is on the route (then redraws it).
    void UpdateStatusPanel(CFrame* panel);
    // The route panel, made from its template list when missing (null when the list makes
    // nothing).
    CFrame* MakeRoutePanel();
    CFrame* GetRoutePanel() const { return routePanel_.get(); }
    CFrame* GetStayPanel() const { return stayPanel_.get(); }
    CFrame* GetStatusPanel() const { return statusPanel_.get(); }
    CFrame* GetChoicePopup() const { return choicePopup_.get(); }
    bool IsStatusPanelOn() const { return panelFlag_ != 0; }
    bool IsStaying() const { return stayFlag_ != 0; }
    // Asks the game window for module `type` (message 102), the travel screen suspended.
    void RequestModule(int32_t type);

    // ---- The stop scene frame (SceneFrame.cpp) and the days dialog its rest shares with 402 ----
    // A river crossing's result code becomes the stop scene's pending outcome (kept by no one
    // before the first stop).
    void SetCrossingCode(int32_t code);
    // Runs the days dialog (911): OK stops the party for the days typed (1..1365), the landmark
    // module holding the wait, and answers true; Cancel, or no dialog, changes nothing and
    // answers false.
    bool WaitFromDaysDialog();

protected:
    // The day's end shows the status panel afresh while it is on.
    void OnDayEnded() override;

    // Panels are the screen's children: deleting one takes it out of the screen first, and a
    // panel whose own button is being handled is freed once that dispatch has returned.
    struct DestroyFrame {
        void operator()(CFrame* frame) const;
    };
    using PanelPtr = std::unique_ptr<CFrame, DestroyFrame>;

    PanelPtr routePanel_;
    PanelPtr stayPanel_;
    PanelPtr statusPanel_;
    PanelPtr choicePopup_;
    // The status panel is on; the party is staying (stay panel shown).
    uint8_t panelFlag_ = 0;
    uint8_t stayFlag_ = 0;

public:
    // ---- The route screen (TravelRoute.cpp) ----
    // The node picture of the route panel, the stop scene frame's id, the store's scene.
    static constexpr int32_t kNodePictureId = 1818;
    static constexpr int32_t kSceneFrameId = 935;
    static constexpr int32_t kStoreSceneId = 10101;

    // Registers the screen as a live object when it gets an owner.
    void SetOwner(CBaseObj* owner) override;
    // The frame's timer: OnIdle.
    bool OnTimer() override;
    // One tick of the route screen by the current node's Kind: a travel hour on a segment, else
    // on to the next node; then a step of the route map.
    void OnIdle();
    // Moves the party onto node `id` (0: the start, node 1): a segment shows one of its
    // pictures and the timer runs on; a stop shows its scene; the start goes to the store.
    void ArriveAtNode(int16_t id);
    // On to the first next node (nothing at the route's end).
    void GoToNextNode();
    // Drops the mouse input still queued (a click made while the screen changed).
    static void FlushMouseMessages();
    // The route map over the screen, made (with the map's state when missing) and started when
    // there is none.
    void StartRouteObj();
    CFrame* GetSceneFrame() const { return sceneFrame_; }
    void SetSceneReturn(bool set) { sceneReturn_ = set ? 1 : 0; }
    bool IsSceneReturn() const { return sceneReturn_ != 0; }
    bool GetArrivalFlag() const { return arrival_ != 0; }
    void SetArrivalFlag(bool set) { arrival_ = set ? 1 : 0; }

protected:
    // The stop scene (a child of the screen, deleted with it) and the flags: back from a scene
    // (go on along the route), a node picture shown.
    CFrame* sceneFrame_ = nullptr;
    uint8_t sceneReturn_ = 0;
    uint8_t arrival_ = 0;

private:
    // The stop branch of an arrival: landmark id, river event, disc 3, the scene shown.
    void ArriveAtStop();
    // A segment's arrival: one of its pictures on the route panel.
    void ShowNodePicture();
    // Sets the crossing events' flags of a river node by repeated draws.
    void DrawRiverFlags();
    // Shows the stop scene of the landmark id, making its frame on first need.
    void ShowSceneFrame();
    // Resume's paths: stopped (time passes, then the scene or the route) and on the route.
    void ResumeStopped();
    void ResumeOnRoute();
    // Back to travelling: the route map, the panel, the timer.
    void ShowRouteView();

private:
    // The messages above; false for any other.
    bool HandlePanelMessage(CMessage& message);
    // Makes `panel` from the template list when it is empty; the panel.
    CFrame* MakePanel(PanelPtr& panel, int32_t listId);
    void Choose(int32_t popupList, MsgWord choice);
    void ClosePopup();
    void ContinueJourney(MsgWord branch);
    void BackToRoute();
    void ShowRoutePanel();
    void AskDays();
    void BeginStay();
    void ToggleStatusPanel();
    void ShowStatusButton(int32_t imageId);

    bool HandleEventClipMessage(const CMessage& message);
    void StartEventClip();
    CSmackerFrame* eventClip_ = nullptr;

    int16_t raftDamage_ = -1;
    bool routePanelEnabled_ = true;
    int32_t eventsGone_ = 0;
};
