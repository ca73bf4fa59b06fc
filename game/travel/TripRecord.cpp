// Record 2 of the saved game: the trip's fields, the party's record, the weather's record, the
// travellers, the scene flags and the route map's progress, in that order, big-endian.
#include <vector>

#include "engine/framework/Doc.h"
#include "game/travel/HealthCond.h"
#include "game/travel/Party.h"
#include "game/travel/RouteNode.h"
#include "game/travel/RouteObj.h"
#include "game/travel/RouteSeqState.h"
#include "game/travel/Trip.h"
#include "game/travel/Weather.h"

void CTrip::SaveFields(CDoc& doc) const
{
    doc.WriteLong(landmarkId_).WriteByte(fresh_).WriteShort(waitDays_).WriteShort(prevNodeId_);
    doc.WriteShort(nodeId_).WriteShort(reserved1_).WriteShort(daysOnRoute_).WriteShort(daysSinceStop_);
    doc.WriteShort(distanceToday_).WriteShort(totalDistance_).WriteShort(distanceToNext_);
    doc.WriteShort(speedPercent_).WriteShort(daySpeedPercent_).WriteShort(post_).WriteShort(hourOfDay_);
    doc.WriteShort(tenthsCarry_).WriteShort(reserved2_).WriteShort(mostAnimals_).WriteShort(weatherId_);
    doc.WriteShort(tripRisk_).WriteShort(startMonth_);
    const CDate start(kStartYear, startMonth_, 1);
    doc.WriteLong((curDate_ ? *curDate_ : start).GetDayNumber());
    doc.WriteLong((startDate_ ? *startDate_ : start).GetDayNumber());
    doc.WriteShort(static_cast<int16_t>(pace_)).WriteShort(static_cast<int16_t>(mode_));
    doc.WriteShort(static_cast<int16_t>(modeBefore_)).WriteShort(static_cast<int16_t>(reserved3_));
}

void CTrip::Save(CDoc& doc)
{
    SaveFields(doc);
    if (party_) {
        party_->Save(doc);
    } else {
        const CParty fresh;
        fresh.Save(doc);
    }
    // The live weather, so that saving never changes a game's weather; without one the
    // region and an empty history.
    if (weather_) {
        weather_->Save(doc);
    } else {
        doc.WriteShort(weatherId_);
        const std::vector<uint8_t> zeros(CWeather::kRecordSize - 2, 0);
        doc.Write(zeros.data(), static_cast<int32_t>(zeros.size()));
    }
    for (const Person& p : persons_)
        doc.WriteShort(p.id).WriteShort(p.wordA).WriteShort(p.wordB);
    doc.Write(sceneFlags_.data(), kSceneFlagCount);
    if (!routeSeqState_)
        routeSeqState_ =
            std::make_unique<CRouteSeqState>(routeObj_ ? routeObj_->GetState() : CRouteSeqState());
    routeSeqState_->Save(doc);
}

void CTrip::LoadFields(CDoc& doc)
{
    doc.ReadLong(landmarkId_).ReadByte(fresh_).ReadShort(waitDays_).ReadShort(prevNodeId_);
    doc.ReadShort(nodeId_).ReadShort(reserved1_).ReadShort(daysOnRoute_).ReadShort(daysSinceStop_);
    doc.ReadShort(distanceToday_).ReadShort(totalDistance_).ReadShort(distanceToNext_);
    doc.ReadShort(speedPercent_).ReadShort(daySpeedPercent_).ReadShort(post_).ReadShort(hourOfDay_);
    doc.ReadShort(tenthsCarry_).ReadShort(reserved2_).ReadShort(mostAnimals_).ReadShort(weatherId_);
    doc.ReadShort(tripRisk_).ReadShort(startMonth_);
    int32_t current = 0;
    int32_t departure = 0;
    doc.ReadLong(current).ReadLong(departure);
    curDate_ = std::make_unique<CDate>(current);
    startDate_ = std::make_unique<CDate>(departure);
    int16_t pace = 0;
    int16_t mode = 0;
    int16_t modeBefore = 0;
    int16_t reserved3 = 0;
    doc.ReadShort(pace).ReadShort(mode).ReadShort(modeBefore).ReadShort(reserved3);
    pace_ = pace;
    modeBefore_ = modeBefore;
    mode_ = mode == kStopped ? modeBefore_ : mode;
    reserved3_ = reserved3;
}

void CTrip::Load(CDoc& doc)
{
    LoadFields(doc);
    // The companions who joined at the store took their goods and deleted the markets before
    // any game could be saved: a loaded trip has none.
    DeleteMarkets();
    // A loaded game runs on a generator of its own: the events queued by the trip that ran
    // before name members of a party that is about to go.
    RetireEventGen(true);
    NewEventGen();
    party_ = std::make_unique<CParty>();
    if (doc.GetError() != CDoc::kOk)
        return;
    party_->Load(doc);
    if (doc.GetError() != CDoc::kOk)
        return;
    weather_ = std::make_unique<CWeather>(weatherId_, *curDate_);
    weather_->Load(doc);
    // A trip saved before it reached the route has no node yet: the first resume arrives.
    node_ = nodeId_ > 0 ? std::make_unique<CRouteNode>(nodeId_) : nullptr;
    for (Person& p : persons_)
        doc.ReadShort(p.id).ReadShort(p.wordA).ReadShort(p.wordB);
    doc.Read(sceneFlags_.data(), kSceneFlagCount);
    if (!routeSeqState_)
        routeSeqState_ = std::make_unique<CRouteSeqState>();
    routeSeqState_->Load(doc);
    waitDays_ = 0;
    lostHours_ = 0;
    // What the trip that ran before worked out belongs to it, not to the loaded one.
    ClearHourlyBase();
    CHealthCond::ResetMarks();
}
