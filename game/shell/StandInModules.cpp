#include "game/shell/StandInModules.h"

#include <algorithm>
#include <vector>

#include "engine/controls/TplList.h"
#include "engine/resources/LibMgr.h"
#include "game/base/GameGlobals.h"
#include "game/base/MainWnd.h"
#include "game/base/ModuleMgr.h"
#include "game/travel/Market.h"
#include "game/travel/Party.h"
#include "game/travel/Travel.h"

namespace {

constexpr size_t kMostCompanions = 4;
// The money item: a market's dollars go to the party's money.
constexpr int16_t kDollars = 35;

struct KitLine {
    int16_t type;
    int16_t count;
};
// Oxen; flour, bacon, dried apples, beans, coffee, sugar and a cooking kit (the food tags 2,
// 3, 13-16 and 34); oats (feed); salt; clothing; the four wagon parts.
constexpr KitLine kStarterKit[] = {{132, 6}, {5, 10},  {19, 8},  {39, 6},   {16, 6},
                                   {25, 4},  {33, 4},  {203, 1}, {186, 10}, {164, 2},
                                   {91, 5},  {189, 2}, {190, 2}, {191, 2},  {192, 2}};

// The travel module, when there is one.
CTravel* Travel()
{
    CModuleMgr* manager = GetModuleMgr();
    return manager ? dynamic_cast<CTravel*>(manager->GetModule(CModuleMgr::kTravel)) : nullptr;
}

void TakeGoods(CParty& party, const CMarket& market)
{
    for (int16_t line = 0; line < market.GetItemCount(); ++line) {
        if (market.GetItemId(line) == kDollars)
            party.AddMoney(market.GetQuantity(line));
        else
            party.GetSupplies()->AddItem(market.GetItemId(line), market.GetQuantity(line));
    }
}

} // namespace

void CStandInLandmark::OnAttach()
{
    CFrameModule::OnAttach();
    CTravel* travel = Travel();
    const int32_t landmark = travel ? travel->GetLandmarkId() : 0;
    CLibMgr* libraries = GetLibMgr();
    if (libraries && libraries->GetResourceSize("TPL", landmark, CLibMgr::kAllLibraries) > 0) {
        CTplList list(landmark, CLibMgr::kAllLibraries, GetRsrcCache());
        list.Build(this, this, 0);
        Draw(true);
    }
    if (travel && landmark == kOutfittingStore) {
        TakeStoreCompanions(*travel);
        if (CParty* party = travel->GetParty())
            AddStarterKit(*party);
    }
    QueueLeaveModule(1);
}

void TakeStoreCompanions(CTrip& trip)
{
    CParty* party = trip.GetParty();
    if (!party)
        return;
    std::vector<int16_t> chosen;
    for (const CTrip::Person& person : trip.GetPersons()) {
        if (chosen.size() >= kMostCompanions)
            break;
        if (person.id <= 0 || std::find(chosen.begin(), chosen.end(), person.id) != chosen.end())
            continue;
        const int16_t partner = CTrip::GetPartner(person.id);
        if (partner == 0) {
            chosen.push_back(person.id);
        } else if (chosen.size() + 2 <= kMostCompanions) {
            chosen.push_back(person.id);
            chosen.push_back(partner);
        }
    }
    for (int16_t slot = 1; slot < CParty::kMaxMembers; ++slot)
        party->DeleteMember(slot);
    // The chosen join in table order, as the checked entries of the store's list would.
    int16_t slot = 1;
    for (const CTrip::Person& person : trip.GetPersons()) {
        if (std::find(chosen.begin(), chosen.end(), person.id) == chosen.end())
            continue;
        party->CreateMember(slot++, person.id);
        if (const CMarket* market = trip.GetMarket(static_cast<int16_t>(person.id - 1)))
            TakeGoods(*party, *market);
    }
    party->SetMemberCount(slot);
    trip.DeleteMarkets();
}

void AddStarterKit(CParty& party)
{
    for (const KitLine& line : kStarterKit)
        party.GetSupplies()->AddItem(line.type, line.count);
}

void CPassingAnimModule::Start() { QueueLeaveModule(1); }
