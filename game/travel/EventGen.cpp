#include "game/travel/EventGen.h"

#include <algorithm>
#include <array>

#include "engine/framework/Date.h"
#include "engine/framework/Doc.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Util.h"
#include "game/travel/HealthCond.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/RouteNode.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Weather.h"

namespace {

int32_t R(int32_t lo, int32_t hi, int32_t n = 1) { return CUtil::Random(lo, hi, n); }

// Event types the rules post.
enum : int16_t {
    kAbandonedWagon = 1,
    kAnimalDeath = 3,
    kAnimalExhausted = 6,
    kLostAnimal = 7,
    kBrokenOxYoke = 12,
    kBrokenAxle = 13,
    kBrokenTongue = 14,
    kBrokenWheel = 15,
    kStampede = 16,
    kDismissed = 26,
    kExtremeCold = 29,
    kExtremeHeat = 30,
    kFallenRocks = 31,
    kFallenTimbers = 32,
    kWagonFire = 33,
    kHeavyRain = 34,
    kIndependenceDay = 40,
    kInjuredLivestock = 42,
    kMissingLivestock = 52,
    kMissingPerson = 53,
    kMoraleLow = 54,
    kNoFood = 57,
    kNoTag15 = 58,
    kNoGrass = 59,
    kNoMeat = 60,
    kPrairieFire = 66,
    kQuicksand = 67,
    kReelected = 72,
    kRunaway = 73,
    kRunover = 74,
    kSnowbound = 81,
    kWagonTheft = 86,
    kEvent88 = 88,
    kThirst = 89,
    kWagonTipped = 90,
    kEvent94 = 94,
    kEvent95 = 95,
    kThroughIce = 96,
    kFired = 99,
    kBlizzard = 109,
    kDuststorm = 110,
    kHailstorm = 111,
    kHeavyFog = 112,
    kLocusts = 113,
    kThunderstorm = 114,
    kPlainRain = 115,
    kMosquitoes = 108,
    kSwamped = 85,
    kRaftingLosses = 69,
};

// Rule codes asked of the place (some are event types, some only place tests).
enum : int16_t {
    kAllowAlkali = 61,
    kAllowMountainFever = 55,
    kAllowCholera = 100,
    kAllowDuststormLikely = 101,
    kAllowSnakes = 104,
    kAllowQuicksandCertain = 105,
    kAllowRocksLikely = 106,
    kAllowWaterPoisoning = 97,
};

// Item types.
enum : int16_t {
    kWarmClothes = 5,
    kClothesA = 16,
    kBoots = 19,
    kWater33 = 33,
    kFeed = 40,
    kSpareParts82 = 82,
    kClothesB = 112,
    kBlankets = 115,
    kClothesC = 121,
    kRestingAnimals = 182,
    kMedicine = 173,
    kSpareParts203 = 203,
    kWater209 = 209,
    kClothesD = 210,
    kClothesE = 211,
};

constexpr int16_t kDraughtAnimals = CParty::kDraughtAnimals;

bool IsTravelling(const CPartyMember* m) { return m && m->GetStatus() == CPartyMember::kStatusTravelling; }

// Whether the date lies between (m1, d1) and (m2, d2), both included.
bool Between(int16_t month, int16_t day, int16_t m1, int16_t d1, int16_t m2, int16_t d2)
{
    const int32_t at = month * 100 + day;
    return at >= m1 * 100 + d1 && at <= m2 * 100 + d2;
}

} // namespace

struct CEventGen::Day {
    CParty* party = nullptr;
    CWeather* weather = nullptr;
    const CRouteNode* node = nullptr;
    int32_t dayNumber = 0;
    int16_t year = 0, month = 0, dayOfMonth = 0;
    int16_t startMonth = 0;
    int16_t high = 0, low = 0;
    int16_t snow = 0;
    int16_t normalPrecip = 0;

    int16_t Sum(int16_t n) const { return weather->GetPrecipSum(n); }
    // Whether the precipitation of the last 30 days exceeds the month's normal.
    bool Wet() const { return Sum(29) > normalPrecip; }
    bool Dry() const { return Sum(29) < normalPrecip; }
    int16_t Landmark() const { return node ? node->LandmarkNumber() : 0; }
    int16_t Plants() const { return node ? node->GetPlants() : 0; }
    // The node's kind while on a trail (landmark number 1), else 0.
    int16_t K() const { return node && node->LandmarkNumber() == 1 ? node->GetKind() : 0; }
};

CEventGen::CEventGen(CEventHost& host, CEventGenTrip& trip)
    : CEventObj(static_cast<uint32_t>(-1), kId, nullptr), trip_(trip),
      queue_(std::make_unique<CEventQueue>(host))
{
    RegisterLiveObject(this);
}

CEventGen::~CEventGen() = default;

bool CEventGen::GatherDay(Day& day) const
{
    day.party = trip_.GetParty();
    day.weather = trip_.GetWeather();
    const CDate* date = trip_.GetCurDate();
    if (!day.party || !day.weather || !date)
        return false;
    day.node = trip_.GetNode();
    day.dayNumber = date->GetDayNumber();
    day.year = date->GetYear();
    day.month = date->GetMonth();
    day.dayOfMonth = date->GetDay();
    const CDate* start = trip_.GetStartDate();
    day.startMonth = start ? start->GetMonth() : day.month;
    day.high = day.weather->GetHigh(0);
    day.low = day.weather->GetLow(0);
    day.snow = day.weather->GetSnowDepth();
    day.normalPrecip = day.weather->GetNormalPrecip(day.month);
    return true;
}

void CEventGen::DailyStep(bool eventFlag)
{
    if (!eventFlag)
        return;
    RunWeatherRules();
    RunIllnessRules();
    RunMisfortuneRules();
}

void CEventGen::RunWeatherRules()
{
    Day day;
    if (GatherDay(day))
        WeatherRules(day);
}

void CEventGen::RunIllnessRules()
{
    Day day;
    if (GatherDay(day))
        IllnessRules(day);
}

void CEventGen::RunMisfortuneRules()
{
    Day day;
    if (GatherDay(day))
        MisfortuneRules(day);
}

void CEventGen::Post(int16_t type, CEventArg first, int16_t count)
{
    queue_->PostEvent(type, first, {}, count, 0, nullptr);
}

bool CEventGen::IsQueued(int16_t type) const { return queue_->FindEvent(type) != nullptr; }

// ---- Weather rules ----

void CEventGen::WeatherRules(const Day& day)
{
    // The storm draw is the day's first, taken whatever the weather.
    const int32_t stormDraw = R(1, 100);
    int16_t kind = CWeather::kNone;
    const int16_t amount = day.weather->GetDayPrecip(kind, 0);
    if (kind == CWeather::kNone) {
        if (day.Sum(2) == 0 && day.low > 24 && day.low < 51 && R(1, 100) < 16)
            Post(kHeavyFog, {}, 3);
    } else if (kind == CWeather::kRain) {
        RainRule(day, amount, stormDraw);
    } else if (day.weather->GetSnowfall() > 50) {
        Post(kBlizzard, {}, 3);
        f_.timber = f_.rock = 1;
    }

    // Snowbound: only deep snow gives a chance; a heavy load adds to it.
    int32_t chance = day.snow > 300   ? 100
                     : day.snow > 250 ? 50
                     : day.snow > 200 ? 30
                     : day.snow > 150 ? 5
                                      : 0;
    if (chance > 0 && day.party->GetLoadState() == 1)
        chance += 5;
    if (R(1, 100) <= chance)
        Post(kSnowbound, day.snow);

    if (day.snow == 0) {
        const int16_t sum3 = day.Sum(3);
        const int32_t heavy = sum3 > 30 ? 25 : sum3 > 20 ? 10 : sum3 > 10 ? 2 : 0;
        if (R(1, 100) < heavy)
            Post(kHeavyRain);
    }

    f_.mud = 0;
    if (day.node && day.Landmark() == 1 && day.node->GetKind() != 4 && day.node->GetKind() != 1 &&
        day.snow == 0 && (day.Wet() || day.Sum(2) > 5)) {
        f_.mud = 1;
        day.party->AddMorale(-1);
        trip_.LowerDaySpeed(50);
    }
    trip_.SetSceneFlag(kFlagWeather, f_.mud != 0);

    if (day.high > 95)
        Post(kExtremeHeat);
    if (day.low < 10)
        Post(kExtremeCold);
}

void CEventGen::RainRule(const Day& day, int16_t amount, int32_t stormDraw)
{
    int32_t chance = 0;
    if (day.year == 1849 && day.weather->GetRegion() == 26 &&
        Between(day.month, day.dayOfMonth, 6, 9, 6, 11)) {
        chance = 200;
    } else if (Between(day.month, day.dayOfMonth, 4, 1, 10, 15)) {
        chance = amount > 5 ? 65 : amount > 2 ? 40 : 0;
        if (day.high < 75)
            chance = chance / 4;
    }
    if (stormDraw < chance) {
        const bool hailSeason = Between(day.month, day.dayOfMonth, 5, 15, 8, 31);
        Post(hailSeason && R(1, 100) < 10 ? kHailstorm : kThunderstorm, {}, 3);
        f_.timber = f_.rock = 1;
    } else {
        Post(kPlainRain, {}, 3);
    }
}

// ---- Illness rules ----

void CEventGen::IllnessRules(const Day& day)
{
    const int16_t travelling = day.party->CountMembers(true);
    if (trip_.IsEventPossible(kThirst) && day.snow == 0 && day.Sum(1) == 0) {
        ++f_.dryDays;
    } else {
        f_.dryDays = 0;
        f_.thirstPosted = 0;
    }
    for (int16_t slot = 0; slot < CParty::kMaxMembers; ++slot) {
        CPartyMember* member = day.party->GetMember(slot);
        if (!IsTravelling(member))
            continue;
        // With company the leader is spared all but thirst and hunger.
        if (slot != 0 || travelling <= 1) {
            MemberIllness(day, *member, travelling);
            MemberIllnessMore(day, *member, travelling);
        }
        // A condition's event may have removed the member meanwhile.
        if (day.party->GetMember(slot) == member && IsTravelling(member))
            ThirstAndHunger(day, *member, travelling);
    }
}

void CEventGen::MemberIllness(const Day& day, CPartyMember& m, int16_t)
{
    CParty& party = *day.party;
    // a. Alkali water: a warning the first day, a small risk later.
    if (trip_.IsEventPossible(kAllowAlkali))
        ++f_.alkali;
    else
        f_.alkali = 0;
    const int32_t alkali = f_.alkali == 1 ? 20 : f_.alkali == 0 ? 0 : 2;
    if (R(1, 1000) <= alkali)
        m.AddCondition(2, 0);
    // b, c. Falls.
    if (R(1, 10000) < 2)
        m.AddCondition(BrokenBoneKind(R(1, 100)), 1);
    if (R(1, 10000) < 6)
        m.AddCondition(SprainKind(R(1, 100)), 1);
    // d. Cholera.
    int32_t w = day.Wet() ? 20 : 0;
    w += (day.month > 4 ? 20 : 0) + (day.month > 5 ? 20 : 0) + (trip_.GetTripRisk() > 100 ? 20 : 0);
    if (trip_.IsEventPossible(kAllowCholera))
        w = day.year == 1849 || day.year == 1850 || day.year == 1852 ? w * 2 : w;
    else
        w /= 4;
    if (R(1, 10000) <= w)
        m.AddCondition(13, 0);
    // e. Bad cold.
    w = PartyHasItem(kWarmClothes) ? 1 : 50;
    w += (day.high < 45 ? 50 : 0) + (day.Sum(1) != 0 ? 50 : 0);
    if (w > 1 && !HasClothingForAll())
        w += 50;
    if (w > 1 && !PartyHasItem(kBlankets))
        w += 50;
    int32_t r = R(1, 10000);
    if (r <= w || (m.GetHealth() < 800 && r <= 2 * w))
        m.AddCondition(5, 0);
    // f. Concussion.
    if (R(1, 10000) < 6)
        m.AddCondition(14, 0);
    // g. Dysentery.
    w = (day.Wet() ? 1 : 0) + (day.high > 80 ? 1 : 0) + (day.startMonth > 4 ? 1 : 0) +
        (trip_.GetTripRisk() > 100 ? 1 : 0);
    if (R(1, 1000) <= w)
        m.AddCondition(19, 0);
    // h. The grippe, in the cold months.
    w = day.month >= 11 || day.month <= 2 ? 3 : day.month == 10 || day.month == 3 ? 1 : 0;
    if (w != 0)
        w += (HasClothingForAll() ? 0 : 2) + (PartyHasItem(kWarmClothes) ? 0 : 4);
    r = R(1, 1000);
    if (r <= w || (m.GetHealth() < 700 && r <= 2 * w))
        m.AddCondition(42, 0);
    // i. Malaria: more while the mosquitoes are about.
    if (R(1, 10000) <= (f_.mosquitoCool != 0 ? 15 : 5))
        m.AddCondition(27, 0);
    // j. Measles: mostly children.
    r = R(1, 10000);
    if ((m.GetAge() < 11 && r < 11) || r == 1)
        m.AddCondition(28, 0);
    // k. Mountain fever.
    if (trip_.IsEventPossible(kAllowMountainFever)) {
        const int32_t chance = day.month >= 5 && day.month <= 7    ? 3
                               : day.month >= 8 && day.month <= 10 ? 1
                                                                   : 0;
        if (R(1, 10000) <= chance)
            m.AddCondition(29, 0);
    }
    // l. Beriberi from a poor diet.
    if (party.GetDietCounterB() > R(60, 100, 3))
        m.AddCondition(6, 0);
    // m. Diphtheria.
    r = R(1, 10000);
    if ((m.GetAge() < 11 && r < 6) || r < 2)
        m.AddCondition(17, 0);
}

void CEventGen::MemberIllnessMore(const Day& day, CPartyMember& m, int16_t travelling)
{
    CParty& party = *day.party;
    const bool clothed = HasClothingForAll();
    // n. Frostbite.
    if (day.high < 32) {
        int32_t w = 1;
        if (day.Sum(1) != 0)
            w = 2;
        if (IsQueued(kBlizzard) || day.snow != 0)
            w = 5;
        if (IsQueued(kSnowbound))
            w = 10;
        w += PartyHasItem(kWarmClothes) ? 0 : 5;
        w += !clothed ? 20 : PartyHasItem(kClothesA) ? 0 : 10;
        w += PartyHasItem(kBlankets) ? 0 : 10;
        if (R(1, 1000) <= w)
            m.AddCondition(22, 0);
    }
    // o. Scurvy.
    if (party.GetDietCounterA() > R(60, 100, 3))
        m.AddCondition(33, 0);
    // p. Smallpox.
    if (R(1, 10000) == 1)
        m.AddCondition(34, 0);
    // q. Snakebite, worse without boots for everyone.
    if (day.snow == 0 && day.high > 45) {
        int32_t w = trip_.IsEventPossible(kAllowSnakes) ? 100 : 1;
        const int16_t boots = party.GetSupplies()->GetTotal(kBoots);
        if (boots == 0)
            w *= 2;
        else if (boots < travelling)
            w += w / 2;
        if (R(1, 10000) <= w)
            m.AddCondition(35, 0);
    }
    // r. Typhoid and typhus.
    if (R(1, 10000) == 1)
        m.AddCondition(44, 0);
    if (R(1, 10000) == 1)
        m.AddCondition(45, 0);
    // s. Scarlet fever.
    const int32_t r = R(1, 10000);
    if ((m.GetAge() < 11 && r < 6) || r == 1)
        m.AddCondition(32, 0);
    // t. Food poisoning.
    int32_t w = (day.low > 60 ? 1 : 0) + (day.high > 80 ? 1 : 0) + (PartyHasItem(kBlankets) ? 0 : 1) +
                (PartyHasItem(kMedicine) ? 0 : 1) + (party.IsSpoiledToday() ? 10 : 0);
    if (party.HasSkill(9))
        w /= 2;
    if (R(1, 10000) <= w)
        m.AddCondition(20, 0);
    // u. Freezing.
    if (day.low < 20) {
        w = IsQueued(kSnowbound) ? 5 : 1;
        w += (PartyHasItem(kWarmClothes) ? 0 : 5) + (clothed ? 0 : 10) + (PartyHasItem(kBlankets) ? 0 : 5);
        if (day.Sum(1) != 0)
            w *= 2;
        if (R(1, 1000) <= w)
            m.AddCondition(21, 0);
    }
    // v. Consumption.
    w = day.high < 45 && day.Sum(1) != 0 ? 2 : 0;
    if (m.GetHealth() < 600)
        w *= 2;
    if (R(1, 10000) < w)
        m.AddCondition(15, 0);
    // w. Bad water, worse for the thirsty.
    if (trip_.IsEventPossible(kAllowWaterPoisoning) && R(1, 100) <= (m.HasCondition(43) ? 50 : 5))
        m.AddCondition(46, 0);
}

void CEventGen::ThirstAndHunger(const Day& day, CPartyMember& m, int16_t travelling)
{
    CParty& party = *day.party;
    // z. Thirst: the dry days against the water carried, per traveller.
    if (f_.dryDays > 1 && travelling > 0) {
        const CSupplyList& s = *party.GetSupplies();
        const int32_t water = 30 * s.GetTotal(kWater209) + 4 * s.GetTotal(kWater33);
        const int32_t x = (f_.dryDays * travelling - water) / travelling;
        if (x > 0 && R(1, 100) <= (x < 4 ? 25 * x : 100))
            m.AddCondition(43, 2);
    }
    // Starvation comes sooner to the young and the old.
    const int16_t hungry = party.GetHungryDays();
    if (m.GetAge() < 18 || m.GetAge() > 55) {
        if (hungry > R(3, 5))
            m.AddCondition(41, 0);
    } else if (hungry > R(5, 8)) {
        m.AddCondition(41, 0);
    }
}

// ---- Misfortune rules ----

int32_t CEventGen::LoadTerm() const
{
    // The load above 80 % of 4000 pounds adds a fifth of its excess percentage.
    const int32_t over = Party()->GetLoad() * 100 / 4000 - 80;
    return over > 0 ? over / 5 + 1 : 0;
}

void CEventGen::MisfortuneRules(const Day& day)
{
    const int16_t k = day.K();
    if (day.month == 7 && day.dayOfMonth == 4)
        queue_->PostAndRunEvent(kIndependenceDay, {}, {}, -1, nullptr);
    if (trip_.GetSceneFlag(kFlagNoMeat))
        Post(kNoMeat, day.dayNumber);
    if (trip_.GetSceneFlag(kFlagNoFood))
        Post(kNoFood, day.dayNumber);
    if (trip_.GetSceneFlag(kFlagNoTag15))
        Post(kNoTag15, day.dayNumber);

    if (f_.timber && trip_.IsEventPossible(kFallenTimbers) && R(1, 200) == 33) {
        Post(kFallenTimbers);
        f_.timber = 0;
    }
    if (f_.rock && trip_.IsEventPossible(kFallenRocks) &&
        R(1, 200) < (trip_.IsEventPossible(kAllowRocksLikely) ? 99 : 66)) {
        Post(kFallenRocks);
        f_.rock = 0;
    }

    const int32_t loadTerm = LoadTerm();
    const int32_t wear = trip_.GetDaysSinceStop() / 30 + 1 + (k != 0 && k != 6 ? 1 : 0) + loadTerm;
    if (R(1, 1000) <= wear)
        Post(kBrokenWheel);
    if (R(1, 10000) <= 5 * wear)
        Post(kBrokenAxle);
    if (R(1, 10000) <= 5 * wear)
        Post(kBrokenTongue);

    PlaceRules(day, k);
    AnimalRules(day, k, loadTerm);

    // Event 88 with its cool-down.
    if (f_.grassCool != 0)
        f_.grassCool = static_cast<int16_t>((f_.grassCool + 1) % 10);
    if (f_.grassCool == 0 && day.snow == 0 && !f_.mud) {
        const int32_t chance = (day.Plants() == 1 || k == 1) && day.Sum(5) == 0 ? 40
                               : k != 5 && day.Sum(10) == 0                     ? 10
                                                                                : 0;
        if (R(1, 100) <= chance) {
            Post(kEvent88);
            f_.grassCool = 1;
        }
    }
    // The ox yoke wears like the wagon.
    if (PartyHasItem(kDraughtAnimals) && R(1, 1000) <= wear)
        Post(kBrokenOxYoke);

    PostRules();
    SeasonRules(day, k);
}

void CEventGen::PlaceRules(const Day& day, int16_t k)
{
    if (trip_.IsEventPossible(kDuststorm) && !f_.mud && day.snow == 0) {
        int32_t c = 0;
        if ((k == 1 || day.Plants() == 1) && day.Sum(3) == 0)
            c = 10;
        else if (day.Dry() && day.Sum(7) == 0)
            c = 1;
        if (trip_.IsEventPossible(kAllowDuststormLikely))
            c += 10;
        if (R(1, 100) <= c)
            Post(kDuststorm, {}, 3);
    }

    int32_t lost = 1;
    if (IsQueued(kBlizzard) || IsQueued(kDuststorm) || IsQueued(kSnowbound))
        lost = 50;
    else if (IsQueued(kThunderstorm) || IsQueued(kHailstorm))
        lost = 20;
    if (R(1, 10000) <= lost)
        LoseMember();

    const int32_t abandoned = day.month >= 5 && day.month <= 7    ? 10
                              : day.month >= 8 && day.month <= 10 ? 15
                                                                  : 5;
    if (R(1, 1000) <= abandoned)
        Post(kAbandonedWagon);
    if (R(1, 100) < 2)
        Post(kStampede);

    if (day.snow == 0 && trip_.IsEventPossible(kQuicksand)) {
        if (trip_.IsEventPossible(kAllowQuicksandCertain) ||
            ((day.Wet() || day.Sum(3) > 10) && R(1, 100) < 51))
            Post(kQuicksand);
    }

    if (f_.fireCool != 0)
        f_.fireCool = static_cast<int16_t>((f_.fireCool + 1) % 14);
    if (f_.fireCool == 0 && day.snow == 0 && Between(day.month, day.dayOfMonth, 5, 16, 10, 31) && day.Dry() &&
        day.Sum(7) == 0 && R(1, 100) < 6) {
        Post(kPrairieFire);
        f_.fireCool = 1;
    }

    if (trip_.IsEventPossible(kLocusts) && day.snow == 0 &&
        Between(day.month, day.dayOfMonth, 6, 15, 10, 15) && day.Plants() != 1 && k != 1 && R(1, 10000) < 6)
        Post(kLocusts, {}, 3);
    if (R(1, 10000) < 2)
        Post(kWagonFire);
    if (R(1, 10000) <= (day.Landmark() == 1 ? 1 : 100))
        Post(kWagonTheft, reinterpret_cast<MsgWord>(day.party->GetSupplies()));

    if (k == 4) {
        const int32_t pace = trip_.GetPace();
        if ((pace == 1 || pace == 2) && R(1, 1000) <= pace)
            RunWagonMishap(kWagonTipped, static_cast<int16_t>(R(2, 40)));
    }
    if ((k == 5 || f_.mud) && R(1, 100) < 2)
        Post(kEvent94);
    if (day.snow == 0 && k == 1 && R(1, 100) < 3)
        Post(kEvent95);
}

void CEventGen::AnimalRules(const Day& day, int16_t k, int32_t)
{
    CParty& party = *day.party;
    if (!PartyHasItem(kDraughtAnimals) && !PartyHasItem(kRestingAnimals))
        return;
    const bool herder = party.HasSkill(5);
    int32_t w = 0;
    if (IsQueued(kThunderstorm) || IsQueued(kBlizzard) || IsQueued(kDuststorm) || IsQueued(kHeavyFog) ||
        IsQueued(kHailstorm))
        w = 100;
    else
        w = day.Landmark() == 1 ? 3 : 25;
    if (herder)
        w /= 10;
    bool lost = false;
    if (R(1, 10000) <= w) {
        LoseAnimals(1, kMissingLivestock);
        lost = true;
    }
    if (trip_.IsEventPossible(kNoGrass) && !IsQueued(kNoGrass))
        Post(kNoGrass, day.dayNumber);
    if (!lost) {
        w = PartyHasItem(kRestingAnimals) ? 1 : 0;
        w += (k == 4 || k == 5 || k == 1 || k == 2) ? 1 : 0;
        w += trip_.IsEventPossible(kNoGrass) && !PartyHasItem(kFeed) ? 20 : 0;
        w += (day.high > 95 ? 9 : 0) + (day.low < 10 ? 3 : 0) + (trip_.GetPace() != 0 ? 15 : 0);
        w += trip_.GetDaysOnRoute() / 30;
        if (herder)
            w /= 2;
        if (R(1, 1000) <= w) {
            Post(kAnimalExhausted);
            lost = true;
        }
    }
    if (!lost && R(1, 10000) <= (herder ? 7 : 15)) {
        LoseAnimals(1, kLostAnimal);
        lost = true;
    }
    if (!lost) {
        w = trip_.GetDaysOnRoute() / 30 * 10 + (party.GetLoadState() == 1 ? 26 : 11);
        if (herder)
            w /= 2;
        if (R(1, 10000) < w)
            LoseAnimals(1, kInjuredLivestock);
    }
}

void CEventGen::PostRules()
{
    CParty& party = *Party();
    const int16_t post = trip_.GetPost();
    if (post > 0) {
        if (party.GetMorale() < 25 && !f_.lowMorale) {
            f_.lowMorale = 1;
            Post(kMoraleLow);
        } else if (party.GetMorale() > 34) {
            f_.lowMorale = 0;
        }
        if (f_.lowMorale && (party.GetMorale() < 10 || R(1, 100) < 6)) {
            if (post == 2) {
                queue_->PostAndRunEvent(kFired, {}, {}, -1, nullptr);
            } else {
                Post(kDismissed);
                f_.reelection = 1;
            }
        }
    }
    if (f_.reelection > 0) {
        ++f_.reelection;
        if (f_.reelection > 15 && R(1, 100) < 4) {
            Post(kReelected);
            f_.reelection = -1;
        }
    }
}

void CEventGen::SeasonRules(const Day& day, int16_t)
{
    if (f_.mosquitoCool == 0) {
        if (day.snow == 0 && day.month >= 6 && day.month <= 9 && day.weather->CountFreezingDays() == 0 &&
            R(1, 100) < 4) {
            Post(kMosquitoes);
            f_.mosquitoCool = 1;
        }
    } else {
        f_.mosquitoCool = static_cast<int16_t>((f_.mosquitoCool + 1) % 8);
    }
}

// ---- Message 300 ----

int16_t CEventGen::EventForCondition(int32_t kind)
{
    static constexpr std::array<int16_t, 48> kTable = {
        0,  2,  61, 10, 50, 8,  9,  11, 11, 11, 11, 11, 17, 18, 19, 20, 21, 25, 27, 28, 35, 36, 37, 38,
        41, 43, 45, 49, 51, 55, 62, 68, 75, 76, 79, 80, 82, 82, 82, 82, 82, 83, 87, 89, 92, 93, 97, 98,
    };
    return kind >= 1 && kind <= 47 ? kTable[static_cast<size_t>(kind)] : 0;
}

bool CEventGen::HandleMessage(CMessage& message, CBaseObj*)
{
    if (message.GetId() != CHealthCond::kMsgOnset)
        return false;
    CParty* party = Party();
    auto* person = message.GetParamPtr<CPartyMember>(0);
    // The person is only looked at once it is known to be one of the party's members.
    if (!party || !party->IsMember(person) || !IsTravelling(person))
        return true;
    auto* condition = message.GetParamPtr<CHealthCond>(1);
    const int16_t type = EventForCondition(condition ? condition->GetKind() : 0);
    if (type == 0)
        return true;
    if (type == kThirst) {
        if (f_.thirstPosted)
            return true;
        f_.thirstPosted = 1;
    }
    queue_->PostAndRunEvent(type, person, condition, 0, person);
    return true;
}

// ---- Helpers ----

CPartyMember* CEventGen::PickRandomMember() const
{
    CParty* party = Party();
    if (!party)
        return nullptr;
    const int16_t n = party->CountMembers(false);
    if (n > 1) {
        for (int tries = 0; tries < 20; ++tries) {
            CPartyMember* m = party->GetMember(static_cast<int16_t>(R(1, n - 1)));
            if (IsTravelling(m))
                return m;
        }
    }
    CPartyMember* leader = party->GetMember(0);
    return IsTravelling(leader) ? leader : nullptr;
}

void CEventGen::LoseAnimals(int16_t n, int16_t type)
{
    CParty* party = Party();
    if (!party)
        return;
    party->TakeItems132(std::min(n, party->GetItem132Total()));
    if (type == kInjuredLivestock && R(1, 100) < 21)
        type = kAnimalDeath;
    const int32_t rate = party->GetTravelRate();
    const int16_t count = static_cast<int16_t>(R(1, 100));
    Post(type, rate, count);
}

void CEventGen::ButcherAnimal()
{
    CParty* party = Party();
    if (!party || !PartyHasItem(kDraughtAnimals))
        return;
    party->GetSupplies()->AddMeat(R(100, 300));
    party->TakeItems132(1);
}

void CEventGen::LoseMember()
{
    CPartyMember* m = PickRandomMember();
    if (!m)
        return;
    m->SetStatus(1);
    Post(kMissingPerson, m);
}

bool CEventGen::BreakdownChance(int16_t n)
{
    int32_t w = 3 * n;
    if (PartyHasItem(kSpareParts82))
        w /= 2;
    if (PartyHasItem(kSpareParts203))
        w /= 2;
    if (R(1, 10000) > w)
        return true;
    BreakdownOutcome();
    return false;
}

bool CEventGen::BreakdownRoll(int16_t percent)
{
    if (R(1, 100) > percent)
        return true;
    BreakdownOutcome();
    return false;
}

void CEventGen::BreakdownOutcome()
{
    const int32_t r = R(1, 100);
    if (r >= 76)
        RunWagonMishap(kWagonTipped, 20);
    else
        Post(r < 26 ? kBrokenWheel : r < 51 ? kBrokenAxle : kBrokenTongue);
    if (R(1, 100) < 3)
        LoseAnimals(1, kInjuredLivestock);
}

int32_t CEventGen::BrokenBoneKind(int32_t r)
{
    return r < 36 ? 7 : r < 51 ? 8 : r < 66 ? 9 : r <= 70 ? 10 : 11;
}

int32_t CEventGen::SprainKind(int32_t r)
{
    return r < 21 ? 36 : r < 31 ? 37 : r < 41 ? 38 : r < 76 ? 39 : 40;
}

bool CEventGen::InjuryRoll(int16_t percent)
{
    if (R(1, 100) > percent)
        return true;
    CPartyMember* m = PickRandomMember();
    if (!m)
        return false;
    const int32_t r = R(1, 100);
    if (r < 46)
        m->AddCondition(16, 1);
    else if (r < 68)
        m->AddCondition(SprainKind(R(1, 100)), 1);
    else if (r < 91)
        m->AddCondition(BrokenBoneKind(R(1, 100)), 1);
    else
        m->AddCondition(14, 1);
    return false;
}

void CEventGen::RunWagonMishap(int16_t type, int16_t amount, bool flagA, bool flagB)
{
    if (type != kWagonTipped && type != kSwamped && type != kThroughIce && type != kRaftingLosses &&
        type != kRunaway)
        return;
    queue_->PostAndRunEvent(type, amount, flagA ? 1 : 0,
                            static_cast<int16_t>((flagA ? 1 : 0) + (flagB ? 1 : 0)), nullptr);
    if (flagA && (type == kWagonTipped || type == kThroughIce)) {
        if (R(1, 100) <= 29)
            if (CPartyMember* m = PickRandomMember())
                m->AddCondition(18, 0);
    } else if (type == kRunaway && R(1, 100) < 10) {
        Post(kRunover);
    }
}

void CEventGen::RunRouteEvent(int16_t type) { queue_->PostAndRunEvent(type, 0, 0, -1, nullptr); }

bool CEventGen::PartyHasItem(int16_t type) const
{
    CParty* party = Party();
    return party && party->GetSupplies()->FindItem(type) != nullptr;
}

bool CEventGen::HasClothingForAll() const
{
    CParty* party = Party();
    if (!party)
        return false;
    int32_t packages = 0;
    for (int16_t type : {kClothesA, kClothesD, kClothesE, kClothesC, kBoots, kClothesB})
        packages += party->GetSupplies()->GetTotal(type);
    return packages >= party->CountMembers(true);
}

// ---- Persistence ----

void CEventGen::WriteFields(CDoc& doc, const Fields& f)
{
    doc.WriteByte(f.mud).WriteByte(f.timber).WriteByte(f.rock);
    doc.WriteShort(f.spareA).WriteShort(f.fireCool).WriteShort(f.alkali).WriteShort(f.spareB);
    doc.WriteShort(f.reelection).WriteShort(f.dryDays);
    doc.WriteByte(f.lowMorale).WriteShort(f.grassCool).WriteByte(f.thirstPosted).WriteShort(f.mosquitoCool);
}

void CEventGen::ReadFields(CDoc& doc, Fields& f)
{
    doc.ReadByte(f.mud).ReadByte(f.timber).ReadByte(f.rock);
    doc.ReadShort(f.spareA).ReadShort(f.fireCool).ReadShort(f.alkali).ReadShort(f.spareB);
    doc.ReadShort(f.reelection).ReadShort(f.dryDays);
    doc.ReadByte(f.lowMorale).ReadShort(f.grassCool).ReadByte(f.thirstPosted).ReadShort(f.mosquitoCool);
}

void CEventGen::Save(CDoc& doc) const
{
    queue_->Save(doc);
    WriteFields(doc, f_);
}

void CEventGen::Load(CDoc& doc)
{
    queue_->Load(doc);
    if (doc.GetError() != CDoc::kOk)
        return;
    Fields read;
    ReadFields(doc, read);
    if (doc.GetError() == CDoc::kOk)
        f_ = read;
}
