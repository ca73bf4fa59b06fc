#include "game/travel/Trip.h"

#include <algorithm>
#include <charconv>

#include "engine/framework/Doc.h"
#include "engine/framework/Util.h"
#include "game/base/GameGlobals.h"
#include "game/base/SoundSlots.h"
#include "game/base/save/QM3Doc.h"
#include "game/travel/EventResolve.h"
#include "game/travel/GameRecord.h"
#include "game/travel/HealthCond.h"
#include "game/travel/Item.h"
#include "game/travel/Market.h"
#include "game/travel/Party.h"
#include "game/travel/RouteNode.h"
#include "game/travel/RouteObj.h"
#include "game/travel/RouteSeqState.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Weather.h"

namespace {

// The party's hourly travel base after the day's slowdowns, worked out in the first moving
// hour of a day and kept for the others. It belongs to the program, not to one trip.
int16_t g_hourlyBase = 0;

int16_t Product(int16_t value, int32_t percent) { return static_cast<int16_t>(value * percent / 100); }

int16_t HoursPerDay(int32_t pace) { return pace == 1 ? 10 : pace == 2 ? 12 : 8; }

constexpr int16_t kItemWater = 42;
constexpr int16_t kItemFreshWater = 64;
constexpr int16_t kItemMilkCow = 118;
constexpr int16_t kItemMilk = 119;
constexpr int16_t kItemChurn = 26;
constexpr int16_t kItemButter = 25;

// Persons never met, and the pairs who travel together.
bool NeverDrawn(int16_t id) { return id == 5 || id == 8 || id == 12 || id == 15; }
int16_t PartnerOf(int16_t id)
{
    switch (id) {
    case 1: return 16;
    case 16: return 1;
    case 11: return 18;
    case 18: return 11;
    default: return 0;
    }
}

constexpr int16_t kStoppedEvents[] = {8,  9,  11, 17, 18, 19, 20, 21, 22, 25, 26, 28,
                                      35, 37, 38, 41, 43, 45, 48, 49, 51, 54, 62, 68,
                                      69, 75, 76, 79, 80, 82, 87, 92, 93, 98, 99, 103};
constexpr int16_t kAnimalEvents[] = {1,  3,  6,  7,  12, 13, 14, 15, 39, 42,
                                     52, 56, 73, 74, 77, 88, 90, 94, 95, 107};
constexpr int16_t kAlwaysEvents[] = {2,  8,  9,  11, 17, 18, 19, 20,  21,  22,  25,  26,  27, 28, 29,
                                     30, 33, 34, 35, 36, 37, 38, 40,  41,  43,  44,  45,  46, 47, 48,
                                     49, 51, 53, 54, 62, 68, 69, 72,  75,  76,  79,  80,  81, 82, 83,
                                     86, 87, 91, 92, 93, 98, 99, 103, 109, 111, 112, 113, 114};

template <size_t N> bool Among(const int16_t (&ids)[N], int32_t id)
{
    return std::find(std::begin(ids), std::end(ids), id) != std::end(ids);
}

} // namespace

void CTrip::ClearHourlyBase() { g_hourlyBase = 0; }

CTrip::CTrip() = default;

CTrip::~CTrip() = default;

void CTrip::NewEventGen()
{
    eventGen_ = std::make_unique<CEventGen>(*this, *this);
    eventGen_->GetQueue().SetHandler(std::make_unique<CTripEvents>(*this));
}

void CTrip::RetireEventGen(bool party)
{
    FreeRetired();
    if (!eventGen_ || !eventGen_->GetQueue().IsRunning()) {
        eventGen_.reset();
        return;
    }
    eventGen_->GetQueue().Abandon();
    retiredEventGens_.push_back(std::move(eventGen_));
    if (party && party_)
        retiredParties_.push_back(std::move(party_));
}

void CTrip::FreeRetired()
{
    for (const auto& gen : retiredEventGens_)
        if (gen->GetQueue().IsRunning())
            return;
    retiredEventGens_.clear();
    retiredParties_.clear();
}

void CTrip::ClearTripFields()
{
    hourOfDay_ = 0;
    tenthsCarry_ = 0;
    prevNodeId_ = 0;
    daysSinceStop_ = 0;
    daysOnRoute_ = 0;
    distanceToday_ = 0;
    totalDistance_ = 0;
    distanceToNext_ = 0;
    waitDays_ = 0;
    node_.reset();
    weather_.reset();
    pace_ = 0;
    speedPercent_ = 100;
    mode_ = kNotOnRoute;
    daySpeedPercent_ = 100;
    weatherId_ = -1;
    post_ = 0;
    tripRisk_ = static_cast<int16_t>(CUtil::Random(3, 150, 1));
    startMonth_ = kStartMonth;
    reserved3_ = 0;
    lostHours_ = 0;
    ClearHourlyBase();
    CHealthCond::ResetMarks();
}

void CTrip::SetUpTrip()
{
    ClearTripFields();
    curDate_ = std::make_unique<CDate>(kStartYear, startMonth_, 1);
    startDate_ = std::make_unique<CDate>(kStartYear, startMonth_, 1);
    RetireEventGen(true);
    party_ = std::make_unique<CParty>();
    NewEventGen();
    DrawTravellers();
    MakeMarkets();
    mostAnimals_ = party_->GetItem132Total();
    sceneFlags_ = {};
    fresh_ = 0;
}

void CTrip::SetStartMonth(int16_t month)
{
    startMonth_ = month;
    curDate_ = std::make_unique<CDate>(kStartYear, month, 1);
    startDate_ = std::make_unique<CDate>(kStartYear, month, 1);
}

int16_t CTrip::GetPersonId(int16_t i) const
{
    return i >= 0 && i < kPersonCount ? persons_[static_cast<size_t>(i)].id : 0;
}

int16_t CTrip::GetPersonVisited(int16_t i) const
{
    return i >= 0 && i < kPersonCount ? persons_[static_cast<size_t>(i)].wordA : 0;
}

void CTrip::SetPersonVisited(int16_t i, int16_t value)
{
    if (i >= 0 && i < kPersonCount)
        persons_[static_cast<size_t>(i)].wordA = value;
}

void CTrip::ResetTripState()
{
    nodeId_ = -1;
    routeSeqState_.reset();
    routeObj_.reset();
    hourOfDay_ = 0;
    ClearTripFields();
    if (curDate_)
        curDate_ = std::make_unique<CDate>(kStartYear, startMonth_, 1);
    if (startDate_)
        startDate_ = std::make_unique<CDate>(kStartYear, startMonth_, 1);
    // The old generator's queued events name the old party's members: it goes first.
    const bool hadEventGen = eventGen_ != nullptr;
    const bool hadParty = party_ != nullptr;
    RetireEventGen(true);
    if (hadParty)
        party_ = std::make_unique<CParty>();
    if (hadEventGen)
        NewEventGen();
    DrawTravellers();
    DeleteMarkets();
    MakeMarkets();
    mostAnimals_ = party_ ? party_->GetItem132Total() : 0;
    sceneFlags_ = {};
}

void CTrip::DrawTravellers()
{
    for (Person& p : persons_)
        p = Person{};
    for (int i = 0; i < kPersonCount; ++i) {
        if (persons_[static_cast<size_t>(i)].id != 0)
            continue;
        int16_t id = 0;
        for (;;) {
            id = static_cast<int16_t>(CUtil::Random(1, kLastPersonId, 1));
            bool refused = NeverDrawn(id) || (i == kPersonCount - 1 && PartnerOf(id) != 0);
            for (int j = 0; j < i && !refused; ++j)
                refused = persons_[static_cast<size_t>(j)].id == id;
            if (!refused)
                break;
        }
        if (i < kPersonCount - 1 && PartnerOf(id) != 0)
            persons_[static_cast<size_t>(i + 1)] = Person{PartnerOf(id), 0, 0};
        persons_[static_cast<size_t>(i)] = Person{id, 0, 0};
    }
    for (size_t i = 0; i + 1 < persons_.size(); ++i)
        for (size_t j = i + 1; j < persons_.size(); ++j)
            if (persons_[j].id < persons_[i].id)
                std::swap(persons_[i].id, persons_[j].id);
}

int16_t CTrip::GetPartner(int16_t id) { return PartnerOf(id); }

std::unique_ptr<CMarket> CTrip::MakePersonMarket(int16_t id)
{
    return MakePersonMarket(id, CGameRecord("PRC", CMarket::kPriceRecord));
}

std::unique_ptr<CMarket> CTrip::MakePersonMarket(int16_t id, const CGameRecord& prices)
{
    // The stock record of each person, by person id 1..20.
    static constexpr int16_t kStockRecords[kLastPersonId] = {1011, 1018, 1006, 1002, 1009, 1008, 1001,
                                                             1019, 1014, 1015, 1004, 1013, 1020, 1016,
                                                             1003, 1005, 1010, 1017, 1012, 1007};
    constexpr int16_t kPriceColumn = 1;
    constexpr int16_t kLineLimit = 214;
    constexpr int16_t kPeople = 5;
    if (id < 1 || id > kLastPersonId)
        return nullptr;
    return std::make_unique<CMarket>(kStockRecords[id - 1], prices, kPriceColumn, kLineLimit, kPeople);
}

void CTrip::MakeMarkets()
{
    const CGameRecord prices("PRC", CMarket::kPriceRecord);
    for (int16_t id = 1; id <= kLastPersonId; ++id)
        if (IsPersonListed(id))
            markets_[static_cast<size_t>(id - 1)] = MakePersonMarket(id, prices);
}

CMarket* CTrip::GetMarket(int16_t slot) const
{
    return slot >= 0 && slot < kMarketCount ? markets_[static_cast<size_t>(slot)].get() : nullptr;
}

void CTrip::DeleteMarkets()
{
    for (std::unique_ptr<CMarket>& market : markets_)
        market.reset();
}

bool CTrip::IsPersonListed(int16_t id) const { return FindPerson(id) >= 0; }

int16_t CTrip::FindPerson(int16_t id) const
{
    for (size_t i = 0; i < persons_.size(); ++i)
        if (persons_[i].id == id)
            return static_cast<int16_t>(i);
    return -43;
}

// ---- The clock ----

void CTrip::AdvanceDay(uint8_t eventFlag)
{
    FreeRetired();
    const int16_t carryAtStart = tenthsCarry_;
    ++hourOfDay_;
    const int16_t hoursPerDay = HoursPerDay(pace_);
    if (mode_ == kMoving) {
        if (lostHours_ > 0)
            --lostHours_;
        else
            MoveOneHour(carryAtStart);
    }
    if (hourOfDay_ >= hoursPerDay) {
        EndDay(eventFlag, carryAtStart);
        hourOfDay_ = static_cast<int16_t>(hourOfDay_ - hoursPerDay);
        OnDayEnded();
    }
}

int16_t CTrip::HourlyBase(int16_t snowDepth, int16_t hungryDays)
{
    if (g_hourlyBase != 0)
        return g_hourlyBase;
    int16_t base = party_ ? static_cast<int16_t>(party_->GetTravelRate()) : 0;
    if (base != 0) {
        if (snowDepth != 0) {
            const int16_t f = snowDepth > 300   ? 25
                              : snowDepth > 240 ? 35
                              : snowDepth > 180 ? 50
                              : snowDepth > 120 ? 75
                                                : 85;
            base = Product(base, f);
        }
        if (hungryDays != 0)
            base = Product(base, hungryDays > 14 ? 25 : hungryDays >= 8 ? 50 : 75);
        int32_t lowest = 4;
        for (int16_t i = 0; i < party_->CountMembers(false); ++i)
            if (const CPartyMember* m = party_->GetMember(i); m && m->GetStatus() == 2)
                lowest = std::min(lowest, m->GetLevel());
        if (lowest <= 2)
            base = Product(base, lowest == 0 ? 60 : lowest == 1 ? 70 : 90);
        if (daySpeedPercent_ != 100)
            base = Product(base, daySpeedPercent_);
    }
    g_hourlyBase = base;
    return base;
}

void CTrip::MoveOneHour(int16_t carryAtStart)
{
    if (speedPercent_ == 0)
        return;
    const int16_t snow = weather_ ? weather_->GetSnowDepth() : 0;
    const int16_t hungry = party_ ? party_->GetHungryDays() : 0;
    int16_t base = HourlyBase(snow, hungry);
    const int16_t herd = party_ ? party_->GetItem132Total() : 0;
    if (herd > 50) {
        mostAnimals_ = std::max(mostAnimals_, herd);
        base = Product(base, std::max(150 - herd, 10));
    }
    base = Product(base, CUtil::Random(80, 125, 2));
    if (speedPercent_ != 100)
        base = Product(base, speedPercent_);
    const auto d = static_cast<int16_t>(base + carryAtStart);
    tenthsCarry_ = static_cast<int16_t>(d % 10);
    int16_t miles = static_cast<int16_t>(d / 10);
    miles = std::min(miles, distanceToNext_);
    distanceToday_ = static_cast<int16_t>(distanceToday_ + miles);
    if (routeObj_)
        routeObj_->AddProgress(miles);
    if (distanceToNext_ != 0) {
        totalDistance_ = static_cast<int16_t>(totalDistance_ + miles);
        distanceToNext_ = static_cast<int16_t>(distanceToNext_ - miles);
    }
}

void CTrip::EndDay(uint8_t eventFlag, int16_t carryAtStart)
{
    ClearHourlyBase();
    if (party_)
        party_->DailyUpdate(24);
    if (curDate_)
        curDate_->AddDays(1);
    ++daysOnRoute_;
    UpdateDayFlags();
    if (party_) {
        party_->CheckFood();
        if (daysOnRoute_ > 400)
            party_->AddDayStrain(static_cast<int16_t>(daysOnRoute_ - 400));
    }
    ++daysSinceStop_;
    DailyMorale();
    MonthlyLoss();
    DailyProduce();
    if (mode_ == kMoving) {
        sceneFlags_[kFlagNoProgress] = 0;
        sceneFlags_[kFlagSlowProgress] = 0;
        if (distanceToday_ == 0 && tenthsCarry_ == carryAtStart)
            sceneFlags_[kFlagNoProgress] = 1;
        else if (distanceToday_ < 3)
            sceneFlags_[kFlagSlowProgress] = 1;
    }
    distanceToday_ = 0;
    if (weather_ && curDate_)
        weather_->NewDay(*curDate_);
    daySpeedPercent_ = 100;
    if (eventGen_)
        eventGen_->DailyStep(eventFlag != 0);
    DailyPreserve();
    if ((mode_ == kMoving || waitDays_ == -1) && eventGen_)
        eventGen_->GetQueue().RunEvent(nullptr);
}

void CTrip::DailyMorale()
{
    if (!party_)
        return;
    if (daysOnRoute_ % 7 != 0) {
        if (party_->HasSkill(9))
            party_->AddMorale(1);
        if (party_->HasSkill(10))
            party_->AddMorale(2);
        if (party_->HasOccupation(23))
            party_->AddMorale(2);
    }
    if (GetSceneFlag(kFlagLowFood))
        party_->AddMorale(-2);
    if (GetSceneFlag(kFlagNoFood))
        party_->AddMorale(-8);
    if (GetSceneFlag(kFlagNoTag15First))
        party_->AddMorale(-1);
    if (GetSceneFlag(kFlagThirst))
        party_->AddMorale(-2);
    if (GetSceneFlag(kFlagPoorHealth))
        party_->AddMorale(-2);
}

// Every 30th day something of tag 5 may wear out or go missing.
void CTrip::MonthlyLoss()
{
    if (!party_ || daysOnRoute_ % 30 != 0)
        return;
    CSupplyList& supplies = *party_->GetSupplies();
    int32_t chance = 50;
    if (party_->HasSkill(11))
        chance /= 2;
    if (supplies.HasTag(30))
        chance /= 2;
    if (CUtil::Random(0, 99, 1) >= chance)
        return;
    const std::vector<CItem*> items = supplies.CollectByTag(5);
    if (items.empty())
        return;
    CItem* lost = items[static_cast<size_t>(CUtil::Random(0, static_cast<int32_t>(items.size()) - 1, 1))];
    supplies.RemoveItem(lost);
    delete lost;
}

// Water fills the casks and the cows give milk, unless the land is dry.
void CTrip::DailyProduce()
{
    if (!party_ || GetSceneFlag(kFlagThirst))
        return;
    CSupplyList& supplies = *party_->GetSupplies();
    if (CItem* water = supplies.FindItem(kItemWater)) {
        const int16_t n = water->GetCount(false);
        supplies.AppendItem(std::make_unique<CItem>(
            kItemFreshWater, static_cast<int16_t>(n - n / 2 + CUtil::Random(0, n / 2, 1)), 0.0));
        if (CUtil::Random(0, 99, 1) < 3)
            water->RemovePackages(1);
    }
    if (pace_ != 0 || CUtil::Random(0, 500, 2) <= daysOnRoute_)
        return;
    if (CItem* cows = supplies.FindItem(kItemMilkCow)) {
        const int16_t n = cows->GetCount(false);
        const int32_t count = daysOnRoute_ < 100 ? n * CUtil::Random(1, 3, 1) : n;
        supplies.AppendItem(std::make_unique<CItem>(kItemMilk, static_cast<int16_t>(count), 0.0));
        if (CUtil::Random(0, 99, 1) < 2)
            cows->RemovePackages(1);
    }
}

// With a churn, milk becomes butter: two packages of milk for one of butter.
void CTrip::DailyPreserve()
{
    if (!party_ || GetSceneFlag(kFlagThirst))
        return;
    CSupplyList& supplies = *party_->GetSupplies();
    CItem* milk = supplies.FindItem(kItemMilk);
    if (!milk || !supplies.FindItem(kItemChurn))
        return;
    const auto h = static_cast<int16_t>(milk->GetCount(true) / 2);
    if (h == 0)
        return;
    milk->RemovePackages(static_cast<int16_t>(2 * h));
    supplies.AppendItem(std::make_unique<CItem>(kItemButter, h, 0.0));
}

int16_t CTrip::PassHours(int16_t hours)
{
    modeBefore_ = mode_;
    if (hours != 0) {
        mode_ = kStopped;
        const int32_t k = HoursPerDay(pace_);
        const int32_t steps = k * (hours / 24) + ((hours % 24) * 2 * k) / 48;
        for (int32_t i = 0; i < steps; ++i)
            AdvanceDay(0);
        mode_ = modeBefore_;
    }
    PlayTravelMusic();
    return hours;
}

void CTrip::LoseHours(int16_t d) { lostHours_ = static_cast<int16_t>(std::max<int32_t>(0, lostHours_ + d)); }

void CTrip::WaitDays()
{
    if (waitDays_ < 0)
        WaitForEvent();
    else
        PassHours(static_cast<int16_t>(std::clamp<int16_t>(waitDays_, 1, kMaxWaitDays) * 24));
    waitDays_ = 0;
}

// Day by day while the wait lasts: an event that the queue runs clears it. A day that ends
// with nothing queued ends the wait too (nothing could clear it), and so does a year.
void CTrip::WaitForEvent()
{
    const int32_t hoursPerDay = HoursPerDay(pace_);
    for (int32_t day = 0; day < kMaxEventWaitDays && waitDays_ < 0; ++day) {
        for (int32_t h = 0; h < hoursPerDay && waitDays_ < 0; ++h)
            AdvanceDay(0);
        const CEventQueue* queue = GetEventQueue();
        if (!queue || queue->GetCount() == 0)
            break;
    }
}

int16_t CTrip::ParseDays(std::string_view text)
{
    int32_t n = 0;
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const bool negative = i < text.size() && text[i] == '-';
    if (negative)
        ++i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        n = std::min(n * 10 + (text[i] - '0'), 99999999);
    if (negative)
        n = -n;
    return static_cast<int16_t>(std::clamp<int32_t>(n, 1, kMaxWaitDays));
}

void CTrip::LowerDaySpeed(int16_t percent) { daySpeedPercent_ = std::min(daySpeedPercent_, percent); }

// ---- Flags and possibilities ----

bool CTrip::GetSceneFlag(int16_t flag) const
{
    return flag >= 0 && flag < kSceneFlagCount && sceneFlags_[static_cast<size_t>(flag)] != 0;
}

void CTrip::SetSceneFlag(int16_t flag, bool value)
{
    if (flag >= 0 && flag < kSceneFlagCount)
        sceneFlags_[static_cast<size_t>(flag)] = value ? 1 : 0;
}

void CTrip::UpdateDayFlags()
{
    int16_t kind = CWeather::kNone;
    const bool dry = weather_ && weather_->GetDayPrecip(kind, 0) == 0 && weather_->GetSnowDepth() == 0;
    SetSceneFlag(kFlagThirst, dry && IsEventPossible(89));
    const bool segment = node_ && node_->GetKind() == CRouteNode::kTrailSeg;
    const int16_t t = segment ? node_->GetRouteType() : 0;
    SetSceneFlag(kFlagSand, t == CRouteNode::kSand);
    SetSceneFlag(kFlagPlants, node_ && node_->GetPlants() == 1);
    SetSceneFlag(kFlagRough, t == CRouteNode::kRough);
    SetSceneFlag(kFlagRoughSecond, t == CRouteNode::kRough);
    SetSceneFlag(kFlagStopped, mode_ == kStopped);
    SetSceneFlag(kFlagAlkali, IsEventPossible(61));
    SetSceneFlag(kFlagBadWater, IsEventPossible(97));
    SetSceneFlag(kFlagNoGrass, IsEventPossible(59));
}

bool CTrip::IsEventPossible(int32_t id) const
{
    if (node_ && node_->GetKind() == CRouteNode::kTrailSeg && node_->GetRouteType() == CRouteNode::kFloating)
        return false;
    if (mode_ == kStopped || mode_ == kStoppedToo)
        return Among(kStoppedEvents, id);
    if (Among(kAnimalEvents, id))
        return party_ && party_->GetItem132Total() >= 1;
    if (Among(kAlwaysEvents, id))
        return true;
    if (!node_)
        return false;
    // An empty entry (0) names no event.
    for (int i = 0; i < CRouteNode::kEventCount; ++i)
        if (const int16_t e = node_->GetEvent(static_cast<int16_t>(i)); e != 0 && e == id)
            return true;
    return false;
}

uint8_t CTrip::GetSeason() const
{
    if (weather_ && weather_->GetSnowDepth() != 0)
        return 3;
    if (!curDate_)
        return 0;
    switch (curDate_->GetMonth()) {
    case 1:
    case 2:
    case 11:
    case 12: return 2;
    case 3: return curDate_->GetDay() < 26 ? 2 : 0;
    case 9: return curDate_->GetDay() > 19 ? 1 : 0;
    case 10: return 1;
    default: return 0;
    }
}

// ---- What the party and the events ask ----

int16_t CTrip::GetHigh() const { return weather_ ? weather_->GetHigh(0) : 0; }

int16_t CTrip::GetLow() const { return weather_ ? weather_->GetLow(0) : 0; }

int16_t CTrip::GetPrecipSum() const { return weather_ ? weather_->GetPrecipSum(0) : 0; }

int16_t CTrip::GetDryDays() const { return eventGen_ ? eventGen_->GetDryDays() : 0; }

CDiary* CTrip::GetDiary() const
{
    CQM3Doc* doc = GetCurDoc();
    return doc ? doc->GetDiary() : nullptr;
}

void CTrip::PostAndRunEvent(int16_t type, MsgWord param1, MsgWord param2, int16_t count, CPartyMember* person)
{
    if (eventGen_)
        eventGen_->GetQueue().PostAndRunEvent(type, param1, param2, count, person);
}

void CTrip::PostEvent(int16_t type, MsgWord param1, MsgWord param2, int16_t count, CPartyMember* person)
{
    if (eventGen_)
        eventGen_->GetQueue().PostEvent(type, param1, param2, count, 0, person);
}

void CTrip::PlayTravelMusic()
{
    PlayMusic(50010, 14, 126, 120, true);
    const bool poorly = GetSceneFlag(kFlagSomeonePoor) || GetSceneFlag(kFlagPoorHealth);
    const CQM3Doc* doc = GetCurDoc();
    int32_t music = 0;
    if (doc && doc->GetDisc() == 2)
        music = poorly ? 540 : 570 + 10 * CUtil::Random(0, 1, 1);
    else
        music = poorly ? 530 + 20 * CUtil::Random(0, 1, 1) : 560;
    PlayMusicIfOn(music, 6, 126, 120, false);
}

// ---- Objects the trip holds ----

void CTrip::PlaceOnNode(int16_t id)
{
    prevNodeId_ = nodeId_;
    nodeId_ = id == 0 ? 1 : id;
    node_ = std::make_unique<CRouteNode>(nodeId_);
    const int16_t kind = node_->GetKind();
    distanceToNext_ = kind == CRouteNode::kForcedStop || kind == CRouteNode::kOptionalStop || kind == 7
                          ? -1
                          : node_->GetLength();
    if (node_->GetWeatherId() != weatherId_ || !weather_) {
        weather_ = std::make_unique<CWeather>(node_->GetWeatherId(),
                                              curDate_ ? *curDate_ : CDate(kStartYear, startMonth_, 1));
        weatherId_ = node_->GetWeatherId();
    }
    mode_ = kMoving;
}

void CTrip::SetParty(std::unique_ptr<CParty> party) { party_ = std::move(party); }

void CTrip::SetWeather(std::unique_ptr<CWeather> weather) { weather_ = std::move(weather); }

void CTrip::SetRouteObj(std::unique_ptr<CRouteObj> obj) { routeObj_ = std::move(obj); }

void CTrip::StopForEvent(bool askDays)
{
    eventStop_ = 1;
    modeBefore_ = mode_;
    mode_ = kStopped;
    if (!askDays) {
        landmarkId_ = kEventStopLandmarkId;
        waitDays_ = -1;
    }
}

void CTrip::OnChoiceItem(int16_t, CParty*) {}

void CTrip::SendToApplication(int32_t, MsgWord, MsgWord) {}

void CTrip::PostToTravelFrame(int32_t) {}

void CTrip::BroadcastToScreens(int32_t, MsgWord) {}
