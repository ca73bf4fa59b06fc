// The travel screen's status panel: the date, the day's weather, days and miles travelled, the
// party's morale, food and warnings, and each member's name, health and known conditions. A
// field the panel's template lacks is left out, so a modder's panel can show fewer of them.
#include <memory>
#include <string>

#include "engine/controls/TextFrame.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/TplRecLoader.h"
#include "game/travel/EventGen.h"
#include "game/travel/HealthCond.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/Travel.h"
#include "game/travel/Weather.h"

namespace {

constexpr int16_t kMemberSlots = 5;

// Fields of the panel.
enum : int32_t {
    kFieldHigh = 6801,
    kFieldLow = 6802,
    kFieldDate = 6803,
    kFieldDays = 6804,
    kFieldMorale = 6808,
    kFieldMiles = 6809,
    kFieldRain = 6810,
    kFieldWater = 6811,
    kFieldFood = 6815,
    // Member slot i's fields are these plus i.
    kFieldName = 6901,
    kFieldHealth = 6907,
    kFieldFirstCondition = 6919,
    kFieldSecondCondition = 6925,
};

// Entries of the status words.
enum : int32_t {
    kWordHighMorale = 0,
    kWordFairMorale = 1,
    kWordLowMorale = 2,
    kWordNoFood = 3,
    kWordLowFood = 4,
    kWordRain = 5,
    kWordBadWater = 6,
    kWordHealthBest = 7,
    kWordHealthFair = 10,
    kWordDead = 14,
};

// Sets a text field of the panel; a field the panel does not hold is left out.
CTextFrame* SetField(CFrame& panel, int32_t id, std::unique_ptr<CStr> text)
{
    auto* field = panel.FindAs<CTextFrame>(id);
    if (field)
        field->SetText(text ? std::move(text) : std::make_unique<CStr>(""));
    return field;
}

std::unique_ptr<CStr> Number(int32_t value) { return std::make_unique<CStr>(value, false); }

std::unique_ptr<CStr> Entry(const CTplRec* list, int32_t i)
{
    const CStr* entry = list ? list->GetEntry(i) : nullptr;
    return std::make_unique<CStr>(entry ? *entry : CStr());
}

// A word when the condition holds, else a single blank.
std::unique_ptr<CStr> WordIf(bool condition, const CTplRec* words, int32_t i)
{
    return condition ? Entry(words, i) : std::make_unique<CStr>(" ");
}

int32_t MoraleWord(int16_t morale)
{
    if (morale >= 51)
        return kWordHighMorale;
    return morale >= 25 ? kWordFairMorale : kWordLowMorale;
}

// Health from 900 up is the best word, each band below a word further down to 13 below 200;
// a dead member's word is 14, and a member with a condition is never shown better than fair.
int32_t HealthWord(const CPartyMember& member)
{
    if (member.GetStatus() == 0)
        return kWordDead;
    const int16_t health = member.GetHealth();
    int32_t word = 13;
    if (health >= 900)
        word = 7;
    else if (health >= 800)
        word = 8;
    else if (health >= 700)
        word = 9;
    else if (health >= 600)
        word = 10;
    else if (health >= 400)
        word = 11;
    else if (health >= 200)
        word = 12;
    if (member.GetConditionCount() > 0 && word < kWordHealthFair)
        word = kWordHealthFair;
    return word;
}

// A condition's name is shown only when it is known and its bearer alive.
void SetCondition(CFrame& panel, int32_t id, const CPartyMember& member, int32_t i, const CTplRec* names)
{
    const CHealthCond* condition = member.GetCondition(i);
    if (!condition || !condition->IsRecognised() || member.GetStatus() == 0) {
        SetField(panel, id, nullptr);
        return;
    }
    if (CTextFrame* field = SetField(panel, id, Entry(names, condition->GetKind() - 1)))
        field->Show(true);
}

void SetMemberSlot(CFrame& panel, int16_t slot, const CPartyMember* member, const CTplRec* words,
                   const CTplRec* names)
{
    if (!member) {
        for (int32_t base : {kFieldName, kFieldHealth, kFieldFirstCondition, kFieldSecondCondition})
            SetField(panel, base + slot, nullptr);
        return;
    }
    SetField(panel, kFieldName + slot, std::make_unique<CStr>(member->GetName()));
    SetField(panel, kFieldHealth + slot, Entry(words, HealthWord(*member)));
    SetCondition(panel, kFieldFirstCondition + slot, *member, 0, names);
    SetCondition(panel, kFieldSecondCondition + slot, *member, 1, names);
}

} // namespace

void CTravel::UpdateStatusPanel(CFrame* panel)
{
    if (!panel)
        return;
    if (nodeId_ > 0) {
        const std::unique_ptr<CTplRec> words = CreateTplRec(kStatusWords, CLibMgr::kAllLibraries, false);
        const std::unique_ptr<CTplRec> names = CreateTplRec(kConditionNames, CLibMgr::kAllLibraries, false);
        if (curDate_)
            SetField(*panel, kFieldDate, curDate_->Format(2));
        SetField(*panel, kFieldHigh, Number(GetHigh()));
        SetField(*panel, kFieldLow, Number(GetLow()));
        SetField(*panel, kFieldDays, Number(daysOnRoute_));
        SetField(*panel, kFieldMiles, Number(totalDistance_));
        int16_t precipKind = 0;
        const bool rain = weather_ && weather_->GetDayPrecip(precipKind, 0) != 0;
        SetField(*panel, kFieldRain, WordIf(rain, words.get(), kWordRain));
        SetField(*panel, kFieldWater,
                 WordIf(eventGen_ && eventGen_->GetAlkaliWarnings() != 0, words.get(), kWordBadWater));
        const int16_t count = party_ ? party_->CountMembers(false) : 0;
        if (party_) {
            SetField(*panel, kFieldMorale, Entry(words.get(), MoraleWord(party_->GetMorale())));
            const int16_t food = party_->GetFoodWeight();
            SetField(*panel, kFieldFood,
                     food == 0 ? Entry(words.get(), kWordNoFood)
                               : WordIf(food < 100, words.get(), kWordLowFood));
        }
        for (int16_t slot = 0; slot < kMemberSlots; ++slot)
            SetMemberSlot(*panel, slot, slot < count ? party_->GetMember(slot) : nullptr, words.get(),
                          names.get());
    }
    panel->Draw(true);
}
