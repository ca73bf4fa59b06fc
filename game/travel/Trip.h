#pragma once
// CTrip: the state of one journey and its clock. It holds the date, the position on the
// route, the pace and mode, the party, the weather, the event generator, the current route
// node, the travellers that can be met and the 27 scene flags; it makes a new trip, runs one
// travel hour (and the day's steps when the hour completes a day), lets time pass while the
// party stands still, and saves and loads the trip as record 2 of the saved game.
//
// The travel screen is a CTrip: what needs the screen (its timer, panels, status panel and
// the route map's frame) it supplies through the virtual hooks below; on its own a trip runs
// without a screen, which is how the tests and benchmarks drive it.
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/framework/Date.h"
#include "game/travel/EventGen.h"
#include "game/travel/EventQueue.h"
#include "game/travel/PartyTrip.h"

class CDoc;
class CGameRecord;
class CMarket;
class CParty;
class CRouteNode;
class CRouteObj;
class CRouteSeqState;
class CWeather;

class CTrip : public CPartyTrip, public CEventHost, public CEventGenTrip {
public:
    static constexpr int16_t kStartYear = 1848;
    static constexpr int16_t kStartMonth = 4;
    static constexpr int kSceneFlagCount = 27;
    static constexpr int kPersonCount = 8;
    static constexpr int16_t kLastPersonId = 20;
    // The longest wait the days field and the waits of events allow (a little over 3 years).
    static constexpr int16_t kMaxWaitDays = 1365;
    // A wait until an event clears it gives up after this many days.
    static constexpr int16_t kMaxEventWaitDays = 365;
    // The landmark id of a stop that a route event asks for.
    static constexpr int32_t kEventStopLandmarkId = -52;
    // Record 2 without the party and weather records inside it.
    static constexpr int32_t kFixedRecordSize = 207;

    enum Mode : int32_t { kMoving = 0, kStopped = 1, kStoppedToo = 2, kNotOnRoute = 3 };

    // The scene flags the trip itself sets (the others are CPartyTrip's).
    enum TripFlag : int16_t {
        kFlagNoProgress = 3,
        kFlagNoGrass = 5,
        kFlagThirst = 6,
        kFlagAlkali = 7,
        kFlagBadWater = 8,
        kFlagWeatherScene = 9,
        kFlagSand = 10,
        kFlagPlants = 15,
        kFlagRough = 16,
        kFlagEventA = 17,
        kFlagEventB = 18,
        kFlagRoughSecond = 21,
        kFlagStopped = 22,
        kFlagSlowProgress = 26,
    };

    // A traveller that can be met: the person id and two words the meeting sets.
    struct Person {
        int16_t id = 0;
        int16_t wordA = 0;
        int16_t wordB = 0;
    };

    CTrip();
    ~CTrip() override;
    CTrip(const CTrip&) = delete;
    CTrip& operator=(const CTrip&) = delete;

    // The first trip: dates, party, event generator and travellers, nothing deleted.
    void SetUpTrip();
    // Throws the trip away and makes a fresh one (without a screen: no command is sent). A
    // missing date, party or event generator stays missing.
    void ResetTripState();

    // One travel hour; the day's steps when it completes the day. The event flag goes to the
    // event generator's daily step.
    void AdvanceDay(uint8_t eventFlag);
    // Lets hours pass with the party stopped; returns hours.
    int16_t PassHours(int16_t hours);
    void UpdateDayFlags();
    bool IsEventPossible(int32_t id) const;
    // 3 with snow on the ground, else 2 winter, 1 autumn, 0 otherwise by the date.
    uint8_t GetSeason() const;
    // Lets the wait days pass (the party stopped): -1 waits day by day until an event clears
    // it, at most a year, stopping once a day ends with no event queued; otherwise the days
    // (clamped to 1..1365) pass at once. Wait days are 0 afterwards.
    void WaitDays();
    // The next d hours moving gain no miles (a delay on the way).
    void LoseHours(int16_t d);
    int16_t GetLostHours() const { return lostHours_; }

    // The number a days field holds: its leading digits, at least 1 and at most 1365.
    static int16_t ParseDays(std::string_view text);

    // Record 2 of the saved game.
    void Save(CDoc& doc);
    // A damaged record leaves the document's error set; the trip is then to be reset.
    void Load(CDoc& doc);

    // The travellers: 8 of person ids 1-20 in ascending order, never 5, 8, 12 or 15, the pairs
    // 1 and 16, 11 and 18 together.
    void DrawTravellers();
    bool IsPersonListed(int16_t id) const;
    // The table entry of person id; -43 when the id is not listed.
    int16_t FindPerson(int16_t id) const;
    const std::array<Person, kPersonCount>& GetPersons() const { return persons_; }
    // Entry i's person id and visited flag (word A); 0 for an entry out of range, whose flag
    // is not set.
    int16_t GetPersonId(int16_t i) const;
    int16_t GetPersonVisited(int16_t i) const;
    void SetPersonVisited(int16_t i, int16_t value);

    // The travellers' markets: slot p - 1 holds person p's goods while p is listed. Joining
    // companions at the store take their goods and delete every market; a loaded trip has none.
    static constexpr int16_t kMarketCount = kLastPersonId;
    // Person id's goods (a stock record by person, price column 1, 214 lines, 5 people); null
    // for an id outside 1..20.
    static std::unique_ptr<CMarket> MakePersonMarket(int16_t id);
    // The same priced from price record 1 already loaded (a trip makes several markets at once).
    static std::unique_ptr<CMarket> MakePersonMarket(int16_t id, const CGameRecord& prices);
    // The partner a person travels with (1 and 16, 11 and 18); 0 for one who travels alone.
    static int16_t GetPartner(int16_t id);
    // The market of slot 0..19; null outside, or when the slot has none.
    CMarket* GetMarket(int16_t slot) const;
    void DeleteMarkets();

    // The mode is a 32-bit value; PartyTrip's view of it is the same.
    void SetMode(int32_t mode) { mode_ = mode; }
    int32_t GetModeBefore() const { return modeBefore_; }
    void SetPace(int32_t pace) { pace_ = pace; }
    int16_t GetPost() const override { return post_; }
    void SetPost(int16_t post) { post_ = post; }
    bool HasNoPost() const { return post_ <= 0; }
    bool IsHiredPost() const { return post_ == 2; }
    bool IsFresh() const { return fresh_ != 0; }
    int16_t GetWaitDays() const { return waitDays_; }
    void SetWaitDays(int16_t days) { waitDays_ = days; }
    int16_t GetNodeId() const { return nodeId_; }
    int16_t GetPrevNodeId() const { return prevNodeId_; }
    int16_t GetDaysOnRoute() const override { return daysOnRoute_; }
    int16_t GetDaysSinceStop() const override { return daysSinceStop_; }
    void SetDaysSinceStop(int16_t days) { daysSinceStop_ = days; }
    int16_t GetDistanceToday() const { return distanceToday_; }
    int16_t GetTotalDistance() const { return totalDistance_; }
    int16_t GetDistanceToNext() const { return distanceToNext_; }
    void SetDistanceToNext(int16_t miles) { distanceToNext_ = miles; }
    int16_t GetSpeedPercent() const { return speedPercent_; }
    void SetSpeedPercent(int16_t percent) { speedPercent_ = percent; }
    int16_t GetDaySpeedPercent() const { return daySpeedPercent_; }
    // Events and the weather rules lower the day's speed to the lowest value asked.
    void LowerDaySpeed(int16_t percent) override;
    int16_t GetHourOfDay() const { return hourOfDay_; }
    int16_t GetTenthsCarry() const { return tenthsCarry_; }
    int16_t GetMostDraughtAnimals() const { return mostAnimals_; }
    int16_t GetWeatherId() const { return weatherId_; }
    int16_t GetTripRisk() const override { return tripRisk_; }
    int32_t GetLandmarkId() const { return landmarkId_; }
    void SetLandmarkId(int32_t id) { landmarkId_ = id; }
    // The party sets out in another month: the current and the departure date become the 1st
    // of that month of the start year.
    void SetStartMonth(int16_t month);
    const CDate* GetCurDate() const override { return curDate_.get(); }
    const CDate* GetStartDate() const override { return startDate_.get(); }
    CWeather* GetWeather() const override { return weather_.get(); }
    CEventGen* GetEventGen() const { return eventGen_.get(); }
    CEventQueue* GetEventQueue() const { return eventGen_ ? &eventGen_->GetQueue() : nullptr; }
    CRouteNode* GetNode() const override { return node_.get(); }
    CRouteSeqState* GetRouteSeqState() const { return routeSeqState_.get(); }
    CRouteObj* GetRouteObj() const { return routeObj_.get(); }
    bool GetSceneFlag(int16_t flag) const override;
    bool IsSuspended() const { return suspended_ != 0; }

    // Places the party on route node `id` (made from its record) with its weather region,
    // the node's length to go and the mode moving. The screen's arrival adds the rest.
    void PlaceOnNode(int16_t id);
    // Replaces the party (tests and the stores' set-up).
    void SetParty(std::unique_ptr<CParty> party);
    void SetWeather(std::unique_ptr<CWeather> weather);
    void SetRouteObj(std::unique_ptr<CRouteObj> obj);

    // CPartyTrip
    int32_t GetMode() const override { return mode_; }
    int32_t GetPace() const override { return pace_; }
    int16_t GetHigh() const override;
    int16_t GetLow() const override;
    int16_t GetPrecipSum() const override;
    bool IsEventPossible(int16_t code) const override { return IsEventPossible(static_cast<int32_t>(code)); }
    void SetSceneFlag(int16_t flag, bool value) override;
    int16_t GetDryDays() const override;
    CParty* GetParty() const override { return party_.get(); }
    CDiary* GetDiary() const override;
    void PostAndRunEvent(int16_t type, MsgWord param1, MsgWord param2, int16_t count,
                         CPartyMember* person) override;
    void PostEvent(int16_t type, MsgWord param1, MsgWord param2, int16_t count,
                   CPartyMember* person) override;

    // CEventHost: without a screen the trip is never suspended and its frame always enabled.
    bool IsTripSuspended() const override { return suspended_ != 0; }
    bool IsTravelFrameEnabled() const override { return true; }
    void EnableRoutePanel(bool) override {}
    void SendToTravelFrame(int32_t) override {}

    // Chooses the travel music (the ambient loop, then a tune by disc and the party's
    // health).
    virtual void PlayTravelMusic();

    // Clears the hourly base that the first moving hour of a day works out; a new, reset or
    // loaded trip starts without one.
    static void ClearHourlyBase();

    // Route events: what their resolution asks of the trip and its screen. StopForEvent stops
    // the party for an event (flag set, mode kept in mode before, mode 1; without asking, a
    // wait until an event clears it); the travel screen adds the landmark stop or the days
    // dialog. Without a screen the messages and commands go nowhere.
    virtual void StopForEvent(bool askDays);
    bool IsEventStop() const { return eventStop_ != 0; }
    void ClearEventStop() { eventStop_ = 0; }
    // A choice that names a required item was taken (the item is not used up).
    virtual void OnChoiceItem(int16_t itemType, CParty* party);
    // Message `id` to the application at once (252 quit, 305 trade).
    virtual void SendToApplication(int32_t id, MsgWord param1, MsgWord param2);
    // Message `id` to the travel screen's frame, delivered after the running events.
    virtual void PostToTravelFrame(int32_t id);
    // Message `id` to every live object (406 the discard dialog).
    virtual void BroadcastToScreens(int32_t id, MsgWord param1);

protected:
    // Called at the end of each day after the day's steps: the screen refreshes its status
    // panel there.
    virtual void OnDayEnded() {}

    int32_t landmarkId_ = -1;
    uint8_t fresh_ = 1;
    int16_t waitDays_ = 0;
    int16_t prevNodeId_ = 0;
    int16_t nodeId_ = -1;
    int16_t reserved1_ = 0;
    int16_t daysOnRoute_ = 0;
    int16_t daysSinceStop_ = 0;
    int16_t distanceToday_ = 0;
    int16_t totalDistance_ = 0;
    int16_t distanceToNext_ = 0;
    int16_t speedPercent_ = 100;
    int16_t daySpeedPercent_ = 100;
    int16_t post_ = 0;
    int16_t hourOfDay_ = 0;
    int16_t tenthsCarry_ = 0;
    int16_t reserved2_ = 0;
    int16_t mostAnimals_ = 0;
    int16_t weatherId_ = -1;
    int16_t tripRisk_ = 0;
    int16_t startMonth_ = kStartMonth;
    std::unique_ptr<CDate> curDate_;
    std::unique_ptr<CDate> startDate_;
    int32_t pace_ = 0;
    int32_t mode_ = kMoving;
    int32_t modeBefore_ = kMoving;
    int32_t reserved3_ = 0;
    std::array<uint8_t, kSceneFlagCount> sceneFlags_ = {};
    std::array<Person, kPersonCount> persons_ = {};
    std::unique_ptr<CRouteObj> routeObj_;
    std::unique_ptr<CRouteSeqState> routeSeqState_;
    std::unique_ptr<CParty> party_;
    std::unique_ptr<CWeather> weather_;
    std::unique_ptr<CEventGen> eventGen_;
    std::unique_ptr<CRouteNode> node_;
    uint8_t suspended_ = 0;
    std::array<std::unique_ptr<CMarket>, kMarketCount> markets_;
    // Hours of moving that gain nothing (not saved).
    int16_t lostHours_ = 0;
    // Set while a route event has stopped the party.
    uint8_t eventStop_ = 0;
    // A trip replaced while its route events run (a reset from a dialog's message loop, the
    // leader's death) keeps the running generator and the party its steps stand on until the
    // run has unwound.
    std::vector<std::unique_ptr<CEventGen>> retiredEventGens_;
    std::vector<std::unique_ptr<CParty>> retiredParties_;
    // A new event generator whose events show their dialogs and resolve their choices.
    void NewEventGen();
    // Lets the generator go (kept while its queue runs); with `party` the party too.
    void RetireEventGen(bool party);
    void FreeRetired();

private:
    // The fields a new trip starts with (the set-up and the reset share them).
    void ClearTripFields();
    // Markets for the listed persons (the slots are empty before).
    void MakeMarkets();
    // The hour's miles while moving.
    void MoveOneHour(int16_t carryAtStart);
    int16_t HourlyBase(int16_t snowDepth, int16_t hungryDays);
    void EndDay(uint8_t eventFlag, int16_t carryAtStart);
    void DailyMorale();
    void MonthlyLoss();
    void DailyProduce();
    void DailyPreserve();
    void WaitForEvent();
    void SaveFields(CDoc& doc) const;
    void LoadFields(CDoc& doc);
};
