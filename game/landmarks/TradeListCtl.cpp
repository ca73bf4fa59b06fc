#include "game/landmarks/TradeListCtl.h"

#include <string>

#include "engine/controls/StrTpl.h"
#include "engine/controls/input/RangeFrame.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/graphics/CursorMgr.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/GameGlobals.h"
#include "game/base/ModuleMgr.h"
#include "game/base/StoreLink.h"
#include "game/landmarks/ItemListCtl.h"
#include "game/travel/Market.h"
#include "game/travel/Party.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Travel.h"

namespace {

CStoreLink* Store()
{
    CModuleMgr* manager = GetModuleMgr();
    return manager ? manager->GetModuleAs<CStoreLink>(CModuleMgr::kLandmark) : nullptr;
}

// Entry i of a string list, empty when the list or the entry is missing.
std::string EntryOf(const CTplRec* list, int32_t i)
{
    const CStr* entry = list ? list->GetEntry(i) : nullptr;
    return entry ? entry->GetText() : std::string();
}

// The outfit of outfit row `row`: the outfits are listed first, one row for each the store
// has, so row r is the r-th outfit the store has (outfit r when it has all three).
const CMarket* OutfitOfRow(const CStoreLink& store, int16_t row)
{
    for (int16_t i = 0; i < CStoreLink::kOutfitCount; ++i)
        if (const CMarket* outfit = store.GetOutfitMarket(i); outfit && row-- == 0)
            return outfit;
    return nullptr;
}

std::unique_ptr<CTplRec> LoadNames(int32_t id) { return CreateTplRec(id, CLibMgr::kAllLibraries, false); }

} // namespace

CTradeListCtl::CTradeListCtl(std::unique_ptr<CStr> title, const CPoint* position, CWind* parent,
                             uint32_t flags)
    : CStrTplWnd(std::move(title), nullptr, position, parent, flags)
{
    if (CStoreLink* store = Store())
        store->NewCart();
}

void CTradeListCtl::ShowWnd()
{
    CMessage fill(kMsgFill, 0, 0, -1);
    BroadcastMessage(fill, this);
    CStrTplWnd::ShowWnd();
}

bool CTradeListCtl::HandleMessage(CMessage& message, CBaseObj* sender)
{
    const int32_t id = message.GetId();
    if (id != kMsgBuy && id != kMsgFill)
        return CStrTplWnd::HandleMessage(message, sender);
    Parts parts;
    if (!FindParts(parts))
        return true;
    if (id == kMsgBuy)
        Buy(parts);
    else
        Fill(parts);
    return true;
}

bool CTradeListCtl::FindParts(Parts& parts)
{
    CFrame* root = GetFirstFrame();
    CModuleMgr* manager = GetModuleMgr();
    if (!root || !manager)
        return false;
    parts.list = root->FindAs<CItemListCtl>(kList);
    parts.selector = root->FindAs<CRangeFrame>(kSelector);
    parts.store = Store();
    parts.travel = manager->GetModuleAs<CTravel>(CModuleMgr::kTravel);
    return parts.list && parts.selector && parts.store && parts.travel && parts.travel->GetParty();
}

void CTradeListCtl::SavePicks(const Parts& parts)
{
    for (int16_t row = 0; row < CItemListCtl::kMaxRows; ++row) {
        const int16_t item = parts.list->GetRowItem(row);
        const int16_t count = parts.list->GetRowCount(row);
        if (item >= 1 && item != CItemListCtl::kOutfitRow) {
            parts.store->SetCartCount(item, count, 0.0);
            continue;
        }
        if (item != CItemListCtl::kOutfitRow || count <= 0)
            continue;
        // An outfit picked puts each of its goods into the cart.
        const CMarket* outfit = OutfitOfRow(*parts.store, row);
        for (int16_t line = 0; outfit && line < outfit->GetItemCount(); ++line)
            parts.store->SetCartCount(outfit->GetItemId(line), outfit->GetQuantity(line), 0.0);
    }
}

void CTradeListCtl::Buy(const Parts& parts)
{
    {
        CBusyCursor busy;
        SavePicks(parts);
    }
    parts.store->Purchase(*parts.travel->GetParty());
    parts.store->NewCart();
    parts.list->Clear();
    parts.list->ResetTotal();
    Fill(parts);
}

void CTradeListCtl::Fill(const Parts& parts)
{
    SavePicks(parts);
    parts.list->Clear();
    const int32_t category = parts.selector->GetValue();
    if (category == kCategoryOutfits && parts.travel->GetField130() < kOutfitsBefore)
        AddOutfitRows(parts);
    else if (category >= kCategoryAll)
        AddGoodsRows(parts, category);
    ShowDollars(GetFirstFrame(), CItemListCtl::kMoneyText, parts.travel->GetParty()->GetMoney());
    parts.list->UpdateRows();
}

void CTradeListCtl::AddOutfitRows(const Parts& parts)
{
    const std::unique_ptr<CTplRec> names = LoadNames(kOutfitNames);
    for (int16_t i = 0; i < CStoreLink::kOutfitCount; ++i) {
        // A store without the outfit has no row for it.
        if (!parts.store->GetOutfitMarket(i))
            continue;
        CItemRow row;
        row.stock = 1;
        row.price = static_cast<float>(parts.store->GetOutfitValue(i));
        row.name = EntryOf(names.get(), i);
        row.itemType = CItemListCtl::kOutfitRow;
        row.line = CItemListCtl::kOutfitRow;
        parts.list->AddRow(row, false);
    }
}

void CTradeListCtl::AddGoodsRows(const Parts& parts, int32_t category)
{
    const CMarket* market = parts.store->GetMarket();
    if (!market)
        return;
    const std::unique_ptr<CTplRec> singular = LoadNames(kSingularNames);
    const std::unique_ptr<CTplRec> plural = LoadNames(kPluralNames);
    const CSupplyList& supplies = *parts.travel->GetParty()->GetSupplies();
    for (int16_t line = 0; line < market->GetItemCount(); ++line) {
        if (category != kCategoryAll && market->GetCategory(line) + 1 != category)
            continue;
        CItemRow row;
        row.itemType = market->GetItemId(line);
        row.stock = market->GetQuantity(line) < 0 ? 0 : market->GetQuantity(line);
        row.owned = supplies.GetTotal(row.itemType);
        row.price = static_cast<float>(market->GetPrice(line));
        row.name = EntryOf(row.stock < 2 ? singular.get() : plural.get(), row.itemType - 1);
        row.line = line;
        row.count = parts.store->GetCartCount(row.itemType);
        parts.list->AddRow(row, false);
    }
}

CBaseObj* CTradeListCtl::Create(CTObj* tpl)
{
    auto* t = static_cast<CStrTpl*>(tpl);
    const std::optional<CPoint> at = t->GetPosition();
    auto* window = new CTradeListCtl(t->MakeTitle(), PointOrNull(at), t->FindParent(), t->GetFlags());
    window->SetId(t->GetId());
    return window;
}
