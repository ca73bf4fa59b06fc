// Resolution of a route event's step: the consequences of the choice the player took.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <ostream>
#include <string>

#include "engine/framework/Date.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/framework/Util.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/save/Diary.h"
#include "game/travel/EventGen.h"
#include "game/travel/EventResolve.h"
#include "game/travel/HealthCond.h"
#include "game/travel/Item.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Trip.h"
#include "game/travel/Weather.h"

namespace {

std::ostream* g_eventLog = nullptr;

int32_t R(int32_t lo, int32_t hi) { return CUtil::Random(lo, hi); }

// Item types the steps look at.
enum : int16_t {
    kItemFlint = 6,
    kItemTools8 = 8,
    kItemShovel = 39,
    kItemAxe = 87,
    kItemSaw = 91,
    kItemHammer = 126,
    kItemRope = 141,
    kItemLantern = 159,
    kItemKit = 170,
    kItemCrowbar = 181,
    kItemCharm = 186,
    kItemYoke = 189,
};

// Skill values the steps look at.
enum : int32_t {
    kSkillFire = 1,
    kSkillWheelwright = 3,
    kSkillBlacksmith = 4,
    kSkillTracker = 5,
    kSkillScout = 6,
    kSkillHunter = 9,
};

// Condition kinds events give.
enum : int32_t {
    kBurns = 12,
    kCondition20 = 20,
    kInternalInjuries = 25,
    kLockJaw = 26,
    kRabies = 31,
};

// Scene flags of the food events (57, 58, 60), and of the weather repeats (109, 115).
constexpr int16_t kFlagNoFood = 0;
constexpr int16_t kFlagNoTag15 = 13;
constexpr int16_t kFlagNoMeat = 12;
constexpr int16_t kFlagSnowRepeat = 17;
constexpr int16_t kFlagRainRepeat = 18;
// The day's pace that costs morale when a wagon is damaged.
constexpr int16_t kSnowNoticeable = 149;
// Diary entries of a chosen step are the step's text number + 176.
constexpr int16_t kStepDiaryBase = 176;

// One resolution: the event, its step, and the morale, state and delay the step makes.
class Resolution {
public:
    Resolution(CTripEvents& events, CEventQueue& queue, CRouteEvent& event)
        : events_(events), trip_(events.GetTrip()), queue_(queue), event_(event), party_(*trip_.GetParty()),
          gen_(trip_.GetEventGen()), s_(event.GetStep()), d_(event.GetDelay(s_))
    {
    }

    void Run();

private:
    int32_t Type() const { return event_.GetType(); }
    bool Stopped() const { return trip_.GetMode() == CTrip::kStopped; }
    bool Has(int16_t item) const { return party_.GetSupplies()->FindItem(item) != nullptr; }
    bool Skill(int32_t value) const { return party_.HasSkill(value); }
    void Cap(int16_t percent) { trip_.LowerDaySpeed(percent); }
    void Message(int16_t phrase) { events_.ShowResult(static_cast<int16_t>(Type()), phrase, nullptr); }
    void Post(int16_t type) { queue_.PostEvent(type, 0, 0, -1, 0, nullptr); }
    void Add(int16_t item, int16_t n) { party_.GetSupplies()->AddItem(item, n); }
    // Takes one package of the type when one is held.
    void TakeOne(int16_t item);
    bool Food() const { return party_.HasEnoughFood(); }
    // The helpers of the generator answer "nothing happened"; without one nothing can.
    bool BreakdownNothing(int16_t percent) { return !gen_ || gen_->BreakdownRoll(percent); }
    bool InjuryNothing(int16_t percent) { return !gen_ || gen_->InjuryRoll(percent); }
    void LoseAnimals(int16_t n, int16_t type)
    {
        if (gen_)
            gen_->LoseAnimals(n, type);
    }
    // A random travelling member gets the condition (none when nobody can).
    void RandomMemberGets(int32_t kind);
    // The event's health condition while it runs for a member of the party; null otherwise.
    CHealthCond* Condition() const
    {
        return CEventQueue::IsLiveCondition(event_.GetSecond(), &party_) ? event_.GetSecond().GetCondition()
                                                                         : nullptr;
    }
    // The member the event names while it is in the party.
    CPartyMember* Member(CPartyMember* m) const { return m && party_.IsMember(m) ? m : nullptr; }
    int32_t DaysSince(const CEventArg& arg) const
    {
        const CDate* date = trip_.GetCurDate();
        return date ? date->GetDayNumber() - static_cast<int32_t>(arg.GetValue()) : 0;
    }
    CWeather* Weather() const { return trip_.GetWeather(); }
    int16_t PrecipSum(int16_t n) const { return Weather() ? Weather()->GetPrecipSum(n) : 0; }
    int16_t High() const { return Weather() ? Weather()->GetHigh(0) : 0; }
    int16_t Low() const { return Weather() ? Weather()->GetLow(0) : 0; }
    void Lose(int16_t percent, int16_t phrase) { party_.GetSupplies()->LoseItems(percent, phrase, true); }

    void Generic();
    void Special();
    void Adjust();
    void WeatherRepeat();
    void ApplyDelay();

    void FoundItems();
    void Meat(bool takeAnimal);
    void Butcher() { Meat(true); }
    void ButcherOrNone();
    void ReturnedOrNotAnimals();
    void BrokenPart(int16_t part);
    void Stampede();
    void MemberDied();
    void ColdOrHeat(bool cold);
    void RocksOrTimbers();
    void WagonFire();
    void HeavyRain();
    void LeaderDied();
    void MissingLivestock();
    void MissingPerson();
    void Search(int32_t firstChance, int32_t laterChance, int16_t foundPhrase, int16_t notFoundPhrase);
    void NoFood();
    void PrairieFire();
    void Quicksand();
    void Reelection();
    void ConditionWorse();
    void WagonLoss();
    void Theft();
    void Overloaded();
    void SwitchAnimalsWhileWaiting();

    CTripEvents& events_;
    CTrip& trip_;
    CEventQueue& queue_;
    CRouteEvent& event_;
    CParty& party_;
    CEventGen* gen_;
    int16_t s_;
    int32_t m_ = 0;
    int32_t state_ = CRouteEvent::kFinished;
    int16_t d_;
    bool h186_ = false;
};

void Resolution::TakeOne(int16_t item)
{
    CSupplyList& supplies = *party_.GetSupplies();
    if (CItem* held = supplies.FindItem(item)) {
        held->RemovePackages(1);
        supplies.RemoveEmpty();
    }
}

void Resolution::RandomMemberGets(int32_t kind)
{
    if (CPartyMember* m = gen_ ? gen_->PickRandomMember() : nullptr)
        m->AddCondition(kind, 0);
}

void Resolution::Run()
{
    queue_.SetStampedeFlag(0);
    h186_ = Has(kItemCharm);
    if (party_.CountMembers(true) == 0) {
        event_.SetState(CRouteEvent::kFinished);
        return;
    }
    // Without a chosen step the cap comes from the first choice.
    Cap(event_.GetTravelCap(s_ < 0 ? 0 : s_));
    const int32_t type = Type();
    if (type == 2 || type == 4 || (type >= 8 && type <= 11) || (type >= 17 && type <= 21) || type == 25 ||
        type == 27 || type == 28 || (type >= 35 && type <= 38) || (type >= 40 && type <= 43) || type == 45 ||
        type == 49 || type == 50 || type == 51 || type == 54 || type == 55 || type == 59 || type == 61 ||
        type == 62 || (type >= 63 && type <= 65) || type == 68 || type == 75 || type == 77 || type == 78 ||
        type == 79 || type == 80 || type == 82 || type == 87 || type == 88 || type == 89 || type == 92 ||
        type == 93 || type == 97 || type == 98 || (type >= 108 && type <= 114))
        Generic();
    else
        Special();
    Adjust();
    if (s_ >= 0 && event_.GetState() == CRouteEvent::kNew && event_.GetTextNumber(s_) != 0)
        if (CDiary* diary = trip_.GetDiary())
            diary->PostString(static_cast<int16_t>(event_.GetTextNumber(s_) + kStepDiaryBase));
    event_.SetState(state_);
    party_.AddMorale(static_cast<int16_t>(std::clamp<int32_t>(m_, -32768, 32767)));
    ApplyDelay();
}

void Resolution::Generic()
{
    bool success = true;
    bool changesMorale = true;
    switch (event_.GetOutcomeKind(s_)) {
    case 1: success = Food(); break;
    case 2: success = !gen_ || gen_->BreakdownChance(2); break;
    case 3: success = !gen_ || gen_->BreakdownChance(3); break;
    case 4: success = BreakdownNothing(5); break;
    case 5: success = BreakdownNothing(20); break;
    case 6: success = BreakdownNothing(34); break;
    case 7:
    case 8:
    case 9: changesMorale = false; break;
    case 10: success = party_.GetTravelRate() < event_.GetFirst().GetValue(); break;
    default: break;
    }
    if (changesMorale)
        m_ = success ? event_.GetSuccessMorale(s_) : event_.GetFailureMorale(s_);
    if (event_.GetTargetKind() == CRouteEvent::kTargetCondition)
        if (CHealthCond* c = Condition())
            c->ApplyCause(event_.GetStageValue(s_), h186_);
}

void Resolution::Special()
{
    switch (Type()) {
    case 1:
        if (s_ == 1)
            FoundItems();
        break;
    case 3:
        if (s_ == 1)
            Meat(false);
        break;
    case 5: ReturnedOrNotAnimals(); break;
    case 6:
        if (s_ == 0)
            m_ = Food() ? 0 : -1;
        else if (s_ == 1) {
            Cap(33);
            if (R(1, 100) < (Skill(kSkillTracker) ? 15 : 30))
                LoseAnimals(1, 42);
        } else if (s_ == 2) {
            trip_.BroadcastToScreens(CTripEvents::kMsgDiscard, 1);
            state_ = CRouteEvent::kShowAgain;
        }
        break;
    case 7:
        if (s_ == 0)
            m_ = party_.GetTravelRate() < event_.GetFirst().GetValue() ? -1 : 0;
        else if (s_ == 1 || s_ == 2) {
            if (s_ == 2 || (Stopped() && trip_.GetWaitDays() == 0)) {
                Add(CParty::kDraughtAnimals, 1);
                TakeOne(CParty::kRestingAnimals);
            }
            if (s_ == 2)
                Cap(50);
            m_ = -1;
        } else if (s_ == 3) {
            Cap(100);
            m_ = party_.GetTravelRate() < event_.GetFirst().GetValue() ? -4 : -3;
        } else if (s_ == 4) {
            Meat(false);
        }
        break;
    case 12:
    case 13:
    case 14:
    case 15: BrokenPart(static_cast<int16_t>(kItemYoke + Type() - 12)); break;
    case 16: Stampede(); break;
    case 22: MemberDied(); break;
    case 26:
        if (s_ == 0) {
            trip_.SetPost(0);
            m_ = 3;
        }
        break;
    case 29: ColdOrHeat(true); break;
    case 30: ColdOrHeat(false); break;
    case 31:
    case 32: RocksOrTimbers(); break;
    case 33: WagonFire(); break;
    case 34: HeavyRain(); break;
    case 39:
        TakeOne(party_.GetItem182Total() > 0 ? CParty::kRestingAnimals : CParty::kDraughtAnimals);
        m_ = -1;
        break;
    case 48:
    case 99: LeaderDied(); break;
    case 52: MissingLivestock(); break;
    case 53: MissingPerson(); break;
    case 57:
    case 58:
    case 60: NoFood(); break;
    case 66: PrairieFire(); break;
    case 67: Quicksand(); break;
    case 69: Lose(static_cast<int16_t>(event_.GetFirst().GetValue()), 35); break;
    case 72: Reelection(); break;
    case 73:
    case 74:
        if (R(1, 100) < (Type() == 73 ? 6 : 11))
            RandomMemberGets(kInternalInjuries);
        break;
    case 76:
    case 83: ConditionWorse(); break;
    case 85:
    case 90:
    case 96: WagonLoss(); break;
    case 86: Theft(); break;
    case 94:
    case 95: Overloaded(); break;
    default: break;
    }
}

void Resolution::FoundItems()
{
    std::unique_ptr<CSupplyList> found = CSupplyList::MakeFind(R(1, 100));
    if (!found || found->IsEmpty()) {
        Message(1);
        m_ = -1;
        return;
    }
    const std::unique_ptr<CTplRec> phrases = CreateTplRec(CTripEvents::kPhraseList, 0xFFFFFFFFu, false);
    const std::unique_ptr<CTplRec> names = CreateTplRec(CTripEvents::kItemNameList, 0xFFFFFFFFu, false);
    CStr text;
    if (const CStr* phrase = phrases ? phrases->GetEntry(0) : nullptr)
        text.Append(*phrase);
    text.Append(CStr("\n"));
    int listed = 0;
    bool more = false;
    for (int16_t type = 1; type <= CSupplyList::kLastItemType; ++type) {
        if (!found->FindItem(type))
            continue;
        if (listed == CSupplyList::kLossNames) {
            more = true;
            break;
        }
        if (listed > 0)
            text.Append(CStr(", "));
        if (const CStr* name = names ? names->GetEntry(type - 1) : nullptr)
            text.Append(*name);
        ++listed;
    }
    text.Append(CStr(more ? ", etc." : "."));
    party_.TakeItems(*found);
    events_.ShowResult(static_cast<int16_t>(Type()), 0, &text);
}

void Resolution::Meat(bool takeAnimal)
{
    if (takeAnimal)
        TakeOne(party_.GetItem182Total() > 0 ? CParty::kRestingAnimals : CParty::kDraughtAnimals);
    const int32_t amount = Skill(kSkillHunter) ? R(200, 300) : R(100, 250);
    party_.GetSupplies()->AddMeat(amount);
    if (!takeAnimal)
        m_ = Food() ? -3 : 0;
    const std::unique_ptr<CTplRec> phrases = CreateTplRec(CTripEvents::kPhraseList, 0xFFFFFFFFu, false);
    CStr text("\n");
    text.Append(CStr(amount, false));
    if (const CStr* phrase = phrases ? phrases->GetEntry(2) : nullptr)
        text.Append(*phrase);
    events_.ShowResult(static_cast<int16_t>(Type()), 2, &text);
}

void Resolution::ButcherOrNone()
{
    if (party_.GetItem132Total() + party_.GetItem182Total() == 0)
        Message(37);
    else
        Butcher();
}

void Resolution::ReturnedOrNotAnimals()
{
    if (s_ == 0) {
        m_ = -1;
        return;
    }
    if (s_ != 1)
        return;
    int32_t chance = (Has(kItemLantern) ? 75 : 25) + (Skill(kSkillTracker) ? 25 : 0);
    if (R(1, 100) > chance) {
        Message(4);
        m_ = -1;
    } else {
        queue_.ReturnAnimals(event_);
        Message(3);
    }
    if (InjuryNothing(5))
        m_ -= 2;
}

void Resolution::BrokenPart(int16_t part)
{
    if (s_ == 0) {
        int32_t chance = 10 + (Skill(kSkillWheelwright) ? 40 : 0) + (Skill(kSkillBlacksmith) ? 40 : 0);
        for (int16_t tool : {kItemFlint, kItemAxe, kItemHammer, kItemKit})
            chance += Has(tool) ? 5 : 0;
        if (R(1, 100) > chance) {
            Message(11);
            if (Has(part)) {
                Message(12);
                TakeOne(part);
            } else {
                state_ = CRouteEvent::kShowAgain;
                event_.DisableChoice(s_);
            }
        } else {
            m_ = 1;
        }
    } else if (s_ == 1) {
        TakeOne(part);
    } else if (s_ == 2) {
        trip_.SendToApplication(CTripEvents::kCmdTrade, CTripEvents::kTradeStock, 0);
    }
}

void Resolution::Stampede()
{
    if (s_ == 0) {
        if (R(1, 100) < 6) {
            LoseAnimals(1, 42);
            m_ = -1;
        }
        m_ += (InjuryNothing(5) ? 3 : 0) + (BreakdownNothing(5) ? 2 : 0) - 5;
    } else if (s_ == 1) {
        Cap(event_.GetTravelCap(s_));
        if (Stopped())
            m_ = Food() ? 1 : -1;
    } else if (s_ == 2) {
        queue_.SetStampedeFlag(1);
        m_ = 2;
        trip_.SendToTravelFrame(CTripEvents::kMsgHunt);
    }
}

void Resolution::MemberDied()
{
    CPartyMember* person = Member(event_.GetPerson());
    if (!person)
        return;
    person->SetStatus(0);
    person->Damage(person->GetHealth() + 1);
    m_ = s_ == 0 ? -7 : s_ == 1 ? -(party_.GetMorale() / 3) : -10;
}

void Resolution::ColdOrHeat(bool cold)
{
    if (s_ == 0) {
        party_.AddDayStrain(35);
    } else if (s_ == 1) {
        Cap(50);
        party_.AddDayStrain(20);
    } else if (s_ == 2 && Stopped()) {
        if (cold ? trip_.GetWaitDays() == -1 && Low() < 11 : High() > 94)
            trip_.SetWaitDays(0);
    }
}

void Resolution::RocksOrTimbers()
{
    const bool timbers = Type() == 32;
    const bool tools = timbers ? Has(kItemTools8) || Has(kItemSaw) || Has(kItemRope) || Has(kItemKit)
                               : Has(kItemRope) || Has(kItemCrowbar);
    const bool risky = trip_.GetTripRisk() > 50;
    if (s_ == 0) {
        if (R(1, 100) < 51) {
            Cap(25);
            m_ = BreakdownNothing(20) ? 2 : -2;
        } else {
            Message(6);
            m_ = BreakdownNothing(30) ? -1 : -3;
            state_ = CRouteEvent::kShowAgain;
            event_.DisableChoice(s_);
        }
    } else if (s_ == 1) {
        const int32_t chance = (tools ? 40 : 0) + (risky ? 40 : 0);
        if (R(1, 100) > chance) {
            Message(7);
            state_ = CRouteEvent::kShowAgain;
            event_.DisableChoice(s_);
        } else {
            m_ = 2;
            Cap(25);
        }
        const int16_t q = risky ? 5 : tools ? 10 : 0;
        m_ += InjuryNothing(q) ? 0 : -1;
    } else if (s_ == 2) {
        if (R(1, 100) > (Skill(kSkillScout) ? 50 : 25)) {
            Message(8);
            m_ = BreakdownNothing(5) ? -1 : -3;
            state_ = CRouteEvent::kShowAgain;
            event_.DisableChoice(s_);
        } else {
            Cap(25);
            m_ = BreakdownNothing(5) ? 2 : 0;
        }
    } else if (s_ == 3) {
        m_ = -3;
        if (Stopped() && R(1, 100) < 16) {
            trip_.SetWaitDays(0);
            Message(9);
        }
    }
}

void Resolution::WagonFire()
{
    int32_t injury = 0;
    if (s_ == 0) {
        if (R(1, 100) < 99) {
            Lose(static_cast<int16_t>(R(25, 75)), 27);
            m_ = -1;
        } else {
            Lose(200, 29);
            m_ = -2;
        }
        injury = 20;
    } else if (s_ == 1) {
        if (R(1, 100) < 3) {
            m_ = -3;
        } else {
            const int16_t held = party_.GetItem132Total();
            Lose(200, 32);
            const int16_t left = party_.GetItem132Total();
            if (held > left)
                Add(CParty::kDraughtAnimals, static_cast<int16_t>(held - left));
            m_ = -4;
        }
    }
    if (R(1, 100) <= injury)
        RandomMemberGets(kBurns);
}

void Resolution::HeavyRain()
{
    if (s_ == 0) {
        const int32_t chance = Skill(kSkillFire) ? 5 : 10;
        m_ = 1;
        Cap(25);
        if (R(1, 100) > chance) {
            if (R(1, 100) <= chance)
                Post(94);
        } else {
            if (gen_)
                gen_->RunWagonMishap(90, 10, true, false);
            m_ = -1;
        }
    } else if (s_ == 1) {
        if (R(1, 100) > (Skill(kSkillScout) ? 50 : 25)) {
            Message(10);
            m_ = BreakdownNothing(5) ? -1 : -3;
            state_ = CRouteEvent::kShowAgain;
            event_.DisableChoice(s_);
        } else {
            Cap(25);
            m_ = BreakdownNothing(5) ? 2 : 0;
        }
    } else if (s_ == 2 && Stopped()) {
        if (PrecipSum(3) == 0)
            m_ = Food() ? 1 : -1;
        else
            trip_.SetWaitDays(0);
    }
}

void Resolution::LeaderDied()
{
    if (CPartyMember* leader = party_.GetMember(0)) {
        leader->SetStatus(0);
        leader->Damage(leader->GetHealth() + 1);
    }
    // Both end the trip from inside the day's run of the queue: the queue stops walking once
    // the leader is gone, and the quit and the reset happen after the run has unwound.
    if (s_ == 0) {
        trip_.SendToApplication(CTripEvents::kCmdQuit, 0, 0);
    } else if (s_ == 1) {
        trip_.SetMode(CTrip::kNotOnRoute);
        trip_.PostToTravelFrame(CTripEvents::kMsgResetTrip);
    }
}

void Resolution::MissingLivestock()
{
    if (s_ == 0) {
        m_ = party_.GetTravelRate() >= event_.GetFirst().GetValue() ? -1 : -2;
    } else if (s_ == 1) {
        const int32_t chance = Skill(kSkillScout) ? 80 : Skill(kSkillTracker) ? 65 : 50;
        if (R(1, 100) > chance) {
            Message(16);
            m_ = InjuryNothing(5) ? -1 : -2;
        } else {
            m_ = InjuryNothing(5) ? 0 : -1;
            queue_.ReturnAnimals(event_);
            Message(14);
        }
        if (R(1, 100) < 2) {
            if (gen_)
                gen_->LoseMember();
            m_ -= 2;
        }
    } else if (s_ == 2 && Stopped()) {
        Search(500, 1, 18, 20);
    }
}

void Resolution::Search(int32_t firstChance, int32_t laterChance, int16_t foundPhrase, int16_t notFoundPhrase)
{
    // The recovery flag, once drawn set, stays set until the event ends.
    const auto draw = [this](int32_t chance) {
        if (queue_.GetRecoveryFlag() == 0 && R(1, 10000) <= chance)
            queue_.SetRecoveryFlag(1);
    };
    if (trip_.GetWaitDays() != 0) {
        m_ = -2;
        draw(laterChance);
        return;
    }
    draw(firstChance);
    if (queue_.GetRecoveryFlag() != 0) {
        if (Type() == 53) {
            if (CPartyMember* person = Member(event_.GetFirst().GetMember()))
                person->SetStatus(CPartyMember::kStatusTravelling);
        } else {
            queue_.ReturnAnimals(event_);
        }
        Message(foundPhrase);
    } else {
        Message(notFoundPhrase);
        m_ = trip_.GetWaitDays() < 3 ? -1 : -2;
    }
}

void Resolution::MissingPerson()
{
    CPartyMember* person = Member(event_.GetFirst().GetMember());
    if (s_ == 0) {
        m_ = -20;
    } else if (s_ == 1) {
        if (!person)
            return;
        if (R(1, 100) > (Skill(kSkillScout) ? 100 : 95)) {
            m_ = -8;
            Message(22);
        } else {
            m_ = 3;
            person->SetStatus(CPartyMember::kStatusTravelling);
            Message(21);
        }
        if (!InjuryNothing(5))
            m_ += 1;
    } else if (s_ == 2) {
        if (!Stopped())
            queue_.SetRecoveryFlag(0);
        else if (person)
            Search(5000, 500, 23, 24);
    }
}

void Resolution::NoFood()
{
    const int32_t type = Type();
    const int16_t flag = type == 57 ? kFlagNoFood : type == 58 ? kFlagNoTag15 : kFlagNoMeat;
    if (type != 58)
        m_ = event_.GetSuccessMorale(s_);
    if (s_ == 0) {
        if (type == 58)
            m_ = -2;
        if (!trip_.GetSceneFlag(flag))
            state_ = CRouteEvent::kFinished;
        else
            state_ = DaysSince(event_.GetFirst()) % 5 == 4 ? CRouteEvent::kNew : CRouteEvent::kResolveAgain;
        return;
    }
    if (type == 58) {
        if (s_ == 1)
            m_ = -2;
        else if (s_ == 2) {
            m_ = -1;
            trip_.SendToTravelFrame(CTripEvents::kMsgGather);
        }
        return;
    }
    if (s_ == 2)
        trip_.SendToTravelFrame(CTripEvents::kMsgHunt);
    else if (s_ == 3)
        ButcherOrNone();
    else if (s_ == 4 && type == 57)
        trip_.SendToTravelFrame(CTripEvents::kMsgGather);
}

void Resolution::PrairieFire()
{
    int32_t injury = 0;
    if (s_ == 0) {
        if (R(1, 100) < 11) {
            Post(33);
            m_ = -3;
        } else {
            m_ = 1;
        }
        injury = 20;
    } else if (s_ == 1) {
        Cap(50);
        if (R(1, 100) < 6) {
            Post(33);
            m_ = -3;
        } else {
            m_ = 1;
        }
        injury = 10;
    } else if (s_ == 2 && Stopped()) {
        m_ = Food() ? 0 : -1;
        if (R(1, 1000) < 6)
            Post(33);
    }
    if (R(1, 100) <= injury)
        RandomMemberGets(kBurns);
}

void Resolution::Quicksand()
{
    const bool tracker = Skill(kSkillTracker);
    int32_t chance = 0;
    if (s_ == 0) {
        chance = tracker ? 5 : 10;
    } else if (s_ == 1 || s_ == 2) {
        Cap(s_ == 1 ? 50 : 75);
        chance = tracker ? 2 : 3;
    } else {
        return;
    }
    if (R(1, 100) <= chance)
        LoseAnimals(1, 5);
}

void Resolution::Reelection()
{
    if (s_ == 0) {
        trip_.SetPost(1);
        party_.AddMorale(40);
    } else if (s_ == 1) {
        trip_.SetPost(0);
        party_.AddMorale(20);
    }
}

void Resolution::ConditionWorse()
{
    CHealthCond* condition = Condition();
    if (!condition)
        return;
    if (Type() == 83) {
        condition->ApplyCause(1, h186_);
        switch (s_) {
        case 0: m_ = -5; break;
        case 1: m_ = trip_.IsFresh() ? -5 : 0; break;
        case 2:
            trip_.SendToTravelFrame(CTripEvents::kMsgHunt);
            m_ = -3;
            break;
        case 3:
            m_ = -2;
            ButcherOrNone();
            break;
        case 4: trip_.SendToTravelFrame(CTripEvents::kMsgGather); break;
        default: break;
        }
        return;
    }
    switch (s_) {
    case 0:
        condition->ApplyCause(1, h186_);
        m_ = -4;
        break;
    case 1:
        condition->ApplyCause(2, h186_);
        m_ = trip_.IsFresh() ? -4 : 0;
        break;
    case 2:
        condition->ApplyCause(11, h186_);
        Cap(50);
        m_ = -4;
        break;
    case 3:
        condition->ApplyCause(3, h186_);
        m_ = -3;
        break;
    case 4: trip_.SendToTravelFrame(CTripEvents::kMsgGather); break;
    case 5:
        condition->ApplyCause(24, h186_);
        m_ = -1;
        break;
    case 6:
        condition->ApplyCause(17, h186_);
        m_ = -4;
        break;
    default: break;
    }
}

void Resolution::WagonLoss()
{
    Lose(static_cast<int16_t>(event_.GetFirst().GetValue()), 35);
    if (s_ == 0) {
        m_ = -1;
        if (!Has(kItemLantern) && !Has(kItemShovel)) {
            d_ = 24;
            m_ = -2;
        } else {
            d_ = 12;
        }
        m_ -= trip_.GetPace() == 1 ? 1 : trip_.GetPace() == 2 ? 2 : 0;
        if (InjuryNothing(5))
            m_ -= 1;
    }
    if (R(1, 100) < 6)
        RandomMemberGets(kInternalInjuries);
}

void Resolution::Theft()
{
    if (s_ == 0) {
        m_ = -1;
    } else if (s_ == 1) {
        if (R(1, 100) < 11) {
            Message(33);
            m_ = 3;
        } else {
            Message(34);
            m_ = -2;
        }
    }
}

void Resolution::Overloaded()
{
    if (s_ == 0 && party_.GetLoadState() != CParty::kLoadWithinLimit) {
        state_ = CRouteEvent::kShowAgain;
        event_.DisableChoice(0);
        Message(36);
    } else if (s_ == 1) {
        trip_.BroadcastToScreens(CTripEvents::kMsgDiscard, 1);
        event_.EnableChoice(0);
        state_ = CRouteEvent::kShowAgain;
    }
}

void Resolution::SwitchAnimalsWhileWaiting()
{
    if (!Stopped() || trip_.GetWaitDays() != 0)
        return;
    if (R(1, 100) < 51) {
        Add(CParty::kDraughtAnimals, 1);
        TakeOne(CParty::kRestingAnimals);
    } else {
        Add(CParty::kRestingAnimals, 1);
        m_ = -2;
    }
}

void Resolution::Adjust()
{
    const int32_t type = Type();
    const CHealthCond* condition = Condition();
    if (type == 9 && s_ == 6)
        trip_.SendToTravelFrame(CTripEvents::kMsgHunt);
    if (type == 4 && R(1, 100) < 16)
        Post(39);
    if (type == 59 && DaysSince(event_.GetFirst()) > 7)
        state_ = CRouteEvent::kFinished;
    if ((type == 10 || type == 50) && R(1, 1000) < 6 && condition)
        condition->GetPerson()->AddCondition(kRabies, 0);
    if ((type == 21 || type == 50) && event_.GetStageValue(s_) != 4 && event_.GetStageValue(s_) != 5 &&
        R(1, 100) < 6 && condition)
        condition->GetPerson()->AddCondition(kLockJaw, 0);
    if (type == 81 && Weather()) {
        const int16_t snow = Weather()->GetSnowDepth();
        if (snow > event_.GetFirst().GetValue() / 2 && snow > kSnowNoticeable)
            state_ = CRouteEvent::kResolveAgain;
    }
    if (type == 114 && R(1, 10000) < 21 && gen_)
        gen_->ButcherAnimal();
    if (type == 111 && R(1, 10000) < 11 && gen_)
        gen_->ButcherAnimal();
    if (type == 42 && s_ == 1)
        SwitchAnimalsWhileWaiting();
    if (type == 42 && s_ == 2) {
        Add(CParty::kDraughtAnimals, 1);
        TakeOne(CParty::kRestingAnimals);
    }
    if (type == 63) {
        if (s_ == 1) {
            SwitchAnimalsWhileWaiting();
        } else if (Stopped()) {
            if (R(1, 100) < 16)
                Post(39);
        } else {
            Add(CParty::kRestingAnimals, 1);
            TakeOne(CParty::kDraughtAnimals);
        }
    }
    if (type == 110 && s_ == 1)
        party_.AddDayStrain(25);
    if (type == 88 && s_ == 2) {
        if (PrecipSum(0) == 0) {
            party_.AddDayStrain(25);
            m_ = -1;
        } else {
            trip_.SetWaitDays(0);
        }
    }
    if (type == 113 && s_ == 2 && R(1, 100) < 51)
        state_ = CRouteEvent::kResolveAgain;
    if (type == 54 && s_ == 1)
        event_.SetStep(0);
    if (type == 64)
        RandomMemberGets(kCondition20);
    WeatherRepeat();
}

void Resolution::WeatherRepeat()
{
    const int32_t type = Type();
    bool again = false;
    switch (type) {
    case 109: again = trip_.GetSceneFlag(kFlagSnowRepeat); break;
    case 110: again = trip_.IsEventPossible(static_cast<int32_t>(101)); break;
    case 111:
    case 113:
    case 114: again = R(1, 100) < 51; break;
    case 112: again = PrecipSum(2) == 0 && Low() >= 25 && Low() <= 50 && R(1, 100) <= 15; break;
    case 115: again = trip_.GetSceneFlag(kFlagRainRepeat); break;
    default: return;
    }
    if (again || event_.GetCount() > 0)
        state_ = CRouteEvent::kResolveAgain;
    event_.SetCount(static_cast<int16_t>(event_.GetCount() - 1));
}

void Resolution::ApplyDelay()
{
    if (d_ > 0) {
        trip_.LoseHours(d_);
        return;
    }
    if (d_ == 0)
        return;
    if (Stopped()) {
        const auto days = static_cast<int16_t>(trip_.GetWaitDays() - 1);
        if (days <= 0) {
            event_.SetState(CRouteEvent::kFinished);
            trip_.SetWaitDays(0);
        } else {
            trip_.SetWaitDays(days);
            event_.SetState(CRouteEvent::kResolveAgain);
        }
    } else if (d_ == -2) {
        event_.SetState(CRouteEvent::kResolveAgain);
        trip_.StopForEvent(false);
    } else {
        trip_.StopForEvent(true);
    }
}

} // namespace

void SetEventLog(std::ostream* out) { g_eventLog = out; }

void WriteEventLogLine(const char* word, const CDate* date, std::initializer_list<int32_t> values)
{
    if (!g_eventLog)
        return;
    char day[32];
    std::snprintf(day, sizeof day, "%04d-%02d-%02d", date ? date->GetYear() : 0, date ? date->GetMonth() : 0,
                  date ? date->GetDay() : 0);
    *g_eventLog << word << ' ' << day;
    for (const int32_t value : values)
        *g_eventLog << ' ' << value;
    *g_eventLog << '\n' << std::flush;
}

CTripEvents::CTripEvents(CTrip& trip) : trip_(trip) {}

void CTripEvents::ResolveEvent(CEventQueue& queue, CRouteEvent& event)
{
    if (trip_.GetParty())
        Resolution(*this, queue, event).Run();
    else
        event.SetState(CRouteEvent::kFinished);
    WriteEventLogLine("resolve", trip_.GetCurDate(), {event.GetType(), event.GetStep(), event.GetState()});
}
