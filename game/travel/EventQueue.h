#pragma once
// CEventQueue: the route events waiting to be shown and resolved, in order. The day's rules
// post events at the tail; urgent ones (a wagon mishap, a hunting injury, an illness turning
// worse) go to the head and run at once. Running an event announces it in the diary, shows it
// (the player picks a choice) and resolves the choice; finished events are swept out.
//
// Runs nest: a resolution may post and run another event, and a condition's onset runs one at
// once. Only the outermost run sweeps, so an inner run never deletes an event an outer run
// stands on.
#include <cstdint>
#include <memory>

#include "engine/framework/List.h"
#include "game/travel/RouteEvent.h"

class CDiary;
class CDoc;
class CEventQueue;
class CParty;

// The trip as the event queue sees it: the travel module implements it.
class CEventHost {
public:
    // The message that tells the travel screen's frame an event has gone.
    static constexpr int32_t kMsgEventGone = 341;

    virtual ~CEventHost() = default;
    // The trip's party; null when it has none.
    virtual CParty* GetParty() const = 0;
    // Whether the travel screen is suspended (its suspended flag, or module state 3).
    virtual bool IsTripSuspended() const = 0;
    virtual bool IsTravelFrameEnabled() const = 0;
    virtual void EnableRoutePanel(bool enable) = 0;
    // Sends message `id` to the travel screen's frame at once.
    virtual void SendToTravelFrame(int32_t id) = 0;
    // The open game's diary; null when none.
    virtual CDiary* GetDiary() const = 0;
};

// How an event is shown and its choice resolved. Showing lets the player choose a step and
// then resolves it through the queue.
class CEventHandler {
public:
    virtual ~CEventHandler() = default;
    virtual void ShowEvent(CEventQueue& queue, CRouteEvent& event) = 0;
    virtual void ResolveEvent(CEventQueue& queue, CRouteEvent& event) = 0;
};

// Until events have their dialogs and consequences: showing takes the first choice without a
// dialog, and resolving finishes the event with no other effect.
class CPlainEventHandler : public CEventHandler {
public:
    void ShowEvent(CEventQueue& queue, CRouteEvent& event) override;
    void ResolveEvent(CEventQueue& queue, CRouteEvent& event) override;
};

class CEventQueue {
public:
    explicit CEventQueue(CEventHost& host);
    virtual ~CEventQueue();
    CEventQueue(const CEventQueue&) = delete;
    CEventQueue& operator=(const CEventQueue&) = delete;

    // Queues an event of `type` at the tail, or answers the one of that type already queued,
    // unchanged. A count of -1 keeps the event's own draw. (`extra` is not used.) A finished
    // event waiting for the sweep is no longer queued: posting its type makes a new one.
    CRouteEvent* PostEvent(int16_t type, CEventArg first, CEventArg second, int16_t count, int16_t extra,
                           CPartyMember* person);
    // As PostEvent, but a new event goes to the head; then the event runs at once (a queued
    // one where it stands).
    void PostAndRunEvent(int16_t type, CEventArg first, CEventArg second, int16_t count,
                         CPartyMember* person);
    // The first queued event of `type`; null when none.
    CRouteEvent* FindEvent(int16_t type) const;
    // Runs one queued event, or with none the whole queue, then sweeps out finished events.
    void RunEvent(CRouteEvent* event);

    // Shows an event (the player's choice becomes its step) and resolves it.
    void ShowEvent(CRouteEvent& event) { handler_->ShowEvent(*this, event); }
    // Applies the consequences of the event's step.
    void ResolveEvent(CRouteEvent& event) { handler_->ResolveEvent(*this, event); }
    // Replaces how events are shown and resolved; null puts the plain handler back.
    void SetHandler(std::unique_ptr<CEventHandler> handler);

    CEventHost& GetHost() const { return host_; }
    int16_t GetCount() const { return static_cast<int16_t>(events_.GetCount()); }
    // Event i from the head; null outside the queue.
    CRouteEvent* GetEvent(int32_t i) const;
    // Adds a loaded event at the tail; the queue owns it.
    void Append(std::unique_ptr<CRouteEvent> event);

    // The saved queue: the count and the recovery flag (3 bytes), then each event from the
    // head (CRouteEvent::kSavedSize bytes each).
    static constexpr int32_t kSavedHeadSize = 3;
    void Save(CDoc& doc) const;
    // Replaces the events by the saved ones. A count the remaining bytes cannot hold is error
    // 6 and leaves the queue as it was; so does a queue that is running.
    void Load(CDoc& doc);

    // Set by an event shown without a dialog to its first picture; the next event announced or
    // removed clears it and tells the travel screen.
    int16_t GetNotifyWord() const { return notify_; }
    void SetNotifyWord(int16_t word) { notify_ = word; }
    // The searches for missing animals and people keep it between runs.
    uint8_t GetRecoveryFlag() const { return recovery_; }
    void SetRecoveryFlag(uint8_t flag) { recovery_ = flag; }
    // Set by a stampede that the party follows; the next hunt is then a herd hunt.
    uint8_t GetStampedeFlag() const { return stampede_; }
    void SetStampedeFlag(uint8_t flag) { stampede_ = flag; }

    // Event types that run while the travel screen is suspended: the injuries a hunt or a
    // river can cause.
    static bool RunsWhileSuspended(int32_t type);

    // For resolution: whether the argument is a health condition that still runs and whose
    // person is a member of the party; an event whose condition ended (or whose member left)
    // skips the steps that act on it.
    static bool IsLiveCondition(const CEventArg& arg, const CParty* party);
    // Gives back the draught animals an event lost: its second parameter's packages of 132.
    void ReturnAnimals(const CRouteEvent& event);
    // An event asking to be shown again is shown at most this often in one run.
    static constexpr int kMaxShowsPerRun = 50;
    // Whether a run is under way (the events it stands on must stay).
    bool IsRunning() const { return depth_ > 0; }
    // The trip this queue served was replaced while it ran: the run ends, and nothing more runs.
    void Abandon() { abandoned_ = true; }

private:
    // The first event of the type that has not finished.
    CRouteEvent* FindPending(int16_t type) const;
    bool CanRun() const;
    void Announce(CRouteEvent& event);
    void RunOne(CRouteEvent& event);
    void RunQueue();
    // Whether the sweep takes the event out: finished, or its member gone or left the party.
    bool IsSpent(const CRouteEvent& event) const;
    void Sweep();
    void ClearNotify();
    void DeleteAll();

    CEventHost& host_;
    std::unique_ptr<CEventHandler> handler_;
    CList events_; // owned CRouteEvent pointers, head first
    uint8_t recovery_ = 0;
    int16_t notify_ = 0;
    uint8_t stampede_ = 0;
    // Runs under way: only the outermost one sweeps.
    int depth_ = 0;
    bool abandoned_ = false;
};
