#pragma once
// CPartyTrip: the trip as the party, its members and their health conditions see it. The
// travel module implements it; tests fill it in. One trip is current at a time (none while no
// game is open): the party's rules reach it through GetPartyTrip.
#include <cstdint>

#include "engine/framework/Message.h"

class CDiary;
class CParty;
class CPartyMember;

class CPartyTrip {
public:
    // The travel module's mode: 1 is stopped.
    static constexpr int32_t kModeStopped = 1;

    // Scene flags the party's food check sets.
    enum SceneFlag : int16_t {
        kFlagNoFood = 0,
        kFlagNoDraughtAnimals = 1,
        kFlagSomeonePoor = 2,
        kFlagLowFood = 4,
        kFlagNoMeat = 12,
        kFlagNoTag15First = 13,
        kFlagNoTag15Second = 14,
        kFlagPoorHealth = 19,
        kFlagMorale26To40 = 20,
        kFlagMoraleBelow26 = 23,
        kFlagMorale41To50 = 24,
        kFlagMoraleAbove80 = 25,
    };

    // Route events the death of a member posts: the leader's, and any other member's.
    static constexpr int16_t kEventLeaderDied = 48;
    static constexpr int16_t kEventMemberDied = 22;

    virtual ~CPartyTrip() = default;

    virtual int32_t GetMode() const = 0;
    // 0, 1 or 2.
    virtual int32_t GetPace() const = 0;
    // Today's weather: high and low temperature and the precipitation sum over today.
    virtual int16_t GetHigh() const = 0;
    virtual int16_t GetLow() const = 0;
    virtual int16_t GetPrecipSum() const = 0;
    // Whether route event (or rule) `code` can happen where the party is.
    virtual bool IsEventPossible(int16_t code) const = 0;
    virtual void SetSceneFlag(int16_t flag, bool value) = 0;
    // The event generator's count of dry days.
    virtual int16_t GetDryDays() const = 0;
    // The trip's party; null when it has none.
    virtual CParty* GetParty() const = 0;
    // The diary of the open game; null when none.
    virtual CDiary* GetDiary() const = 0;
    // Posts route event `type` at the head of the queue and runs it at once.
    virtual void PostAndRunEvent(int16_t type, MsgWord param1, MsgWord param2, int16_t count,
                                 CPartyMember* person) = 0;
    // Queues route event `type` (a type already queued stays as it is).
    virtual void PostEvent(int16_t type, MsgWord param1, MsgWord param2, int16_t count,
                           CPartyMember* person) = 0;

    // Whether the member is slot 0 of the trip's party (the leader).
    bool IsLeader(const CPartyMember* member) const;
};

// The current trip, or null.
CPartyTrip* GetPartyTrip();
void SetPartyTrip(CPartyTrip* trip);
