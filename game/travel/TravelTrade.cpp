// The travel module's trading with travellers met on the route (template list 1029) and the
// supplies-discard dialog (template list 1031). Both show the party's goods in the same
// two-column list 12050 with label 12011 and quantity spin 466; the trade window adds the
// trader's goods (12000, label 12010, spin 465) and the deal button 200.
#include <string>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/Wind.h"
#include "engine/controls/input/RangeFrame.h"
#include "engine/controls/input/TextBtnFrame.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Message.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/resources/RsrcCache.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/GameGlobals.h"
#include "game/base/ModalList.h"
#include "game/base/ModuleLinks.h"
#include "game/base/ModuleMgr.h"
#include "game/base/SoundSlots.h"
#include "game/base/TwoColListFrm.h"
#include "game/travel/Item.h"
#include "game/travel/Market.h"
#include "game/travel/Party.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Travel.h"

namespace {

// Template lists and their objects.
constexpr int32_t kTradeWindowList = 1029;
constexpr int32_t kDiscardDialogList = 1031;
constexpr int32_t kTraderList = 12000;
constexpr int32_t kOwnList = 12050;
constexpr int32_t kTraderLabel = 12010;
constexpr int32_t kOwnLabel = 12011;
constexpr int32_t kTraderSpin = 465;
constexpr int32_t kOwnSpin = 466;
constexpr int32_t kDealButton = 200;
constexpr int32_t kDiscardTitle = 10020;
constexpr int32_t kDiscardButton = 933;
// String lists: item names (entry t - 1 names type t) and the discard dialog's titles.
constexpr int32_t kSingularNames = 600101;
constexpr int32_t kPluralNames = 600102;
constexpr int32_t kDiscardTitles = 902005;
// The trader who is no landmark character, and money, which the party receives as dollars.
constexpr int16_t kPlainTraderStock = 2;
constexpr int16_t kMoneyItem = 35;
constexpr uint32_t kStreamed = 0x01;
// A discard takes from at most this many items of the type.
constexpr int32_t kMaxDiscardPasses = 100;

template <class T> T* Find(CFrame* frame, int32_t id) { return frame ? frame->FindAs<T>(id) : nullptr; }

// The item names of both lists, loaded for a trade or a discard.
struct ItemNames {
    ItemNames()
        : singular(CreateTplRec(kSingularNames, 0xFFFFFFFFu, false)),
          plural(CreateTplRec(kPluralNames, 0xFFFFFFFFu, false))
    {
    }
    // The name of item type t, singular for a count below 2; empty when the list lacks it.
    std::string Name(int16_t type, int32_t count) const
    {
        const CTplRec* list = count < 2 ? singular.get() : plural.get();
        const CStr* entry = list ? list->GetEntry(type - 1) : nullptr;
        return entry ? entry->GetText() : std::string();
    }
    std::unique_ptr<CTplRec> singular;
    std::unique_ptr<CTplRec> plural;
};

void SetLabel(CFrame* window, int32_t id, const std::string& text)
{
    if (auto* label = Find<CTextFrame>(window, id))
        label->SetText(std::make_unique<CStr>(text.c_str()));
}

void SetSpin(CFrame* window, int32_t id, int32_t maximum)
{
    if (auto* spin = Find<CRangeFrame>(window, id)) {
        spin->SetMax(maximum);
        spin->SetValue(1);
    }
}

int32_t SpinValue(CFrame* window, int32_t id)
{
    const auto* spin = Find<CRangeFrame>(window, id);
    return spin ? spin->GetValue() : 0;
}

void AppendRow(CTplRec& rows, int32_t count, const std::string& name)
{
    rows.Add(std::make_unique<CStr>(std::to_string(count).c_str()));
    rows.Add(std::make_unique<CStr>(name.c_str()));
}

// Hands the rows to a two-column list: a row is two strings.
void GiveRows(CFrame* window, int32_t id, std::unique_ptr<CTplRec> rows)
{
    if (auto* list = Find<CTwoColListFrm>(window, id)) {
        const int32_t count = rows->GetEntryCount() / 2;
        list->SetList(std::move(rows));
        list->SetItemCount(count);
    }
}

// The selected row of a list, or -1 when none is selected or the row is not below `rows`.
int32_t SelectedRow(CFrame* window, int32_t id, size_t rows)
{
    const auto* list = Find<CTwoColListFrm>(window, id);
    const int32_t row = list ? list->GetSelection() : -1;
    return row >= 0 && static_cast<size_t>(row) < rows ? row : -1;
}

// What a package of the item type is worth in trade.
int32_t PackagePrice(int16_t type) { return CItem(type, 1, 0.0).GetPackagePrice(); }

void MakeDealButton(CFrame* window, const char* verdict, bool enable)
{
    if (auto* button = Find<CTextBtnFrame>(window, kDealButton)) {
        button->SetLabel(std::make_unique<CStr>(verdict));
        button->Enable(enable, true);
    }
}

// The id of the control that ended a modal run of the dialog.
int32_t RunDialog(CImageFrame& dialog) { return dialog.Run(CWind::GetTopWnd(), true); }

} // namespace

bool CTravel::HandleTradeCommand(CMessage& message, CBaseObj* sender)
{
    switch (message.GetId()) {
    case kMsgTrade:
        StartTrade(static_cast<int16_t>(message.GetParam(0)), static_cast<int32_t>(message.GetParam(1)));
        return true;
    case kMsgFillTradeLists: FillTradeLists(); return true;
    case kMsgTraderItemPicked: OnTraderItemPicked(); return true;
    case kMsgOwnItemPicked: OnOwnItemPicked(); return true;
    case kMsgAcceptTrade: AcceptTrade(); return true;
    case kMsgOwnListChange: OnOwnListChange(sender); return true;
    case kMsgTradeQuantity: UpdateTradeLabels(); return true;
    default: return false;
    }
}

void CTravel::StartTrade(int16_t stockId, int32_t soundBase)
{
    CParty* party = GetParty();
    if (!party || tradeWindow_)
        return;
    // The plain trader is nobody's character; a landmark's trader tells the landmark's
    // characters, when a landmark module is there to hear it.
    if (stockId != kPlainTraderStock)
        if (CModuleMgr* manager = GetModuleMgr())
            if (auto* landmark = manager->GetModuleAs<CLandmarkLink>(CModuleMgr::kLandmark))
                landmark->NotifyCharacters();
    const int16_t people = party->CountMembers(true) == 5 ? 5 : 4;
    traderMarket_ = std::make_unique<CMarket>(stockId, 1, CMarket::kStockEntries, people);
    tradeWindow_ = MakeModalList(kTradeWindowList, GetApplication());
    traderSoundBase_ = soundBase;
    if (tradeWindow_) {
        FillTradeLists();
        CheckDeal(*tradeWindow_);
        if (party->GetSupplies() && party->GetSupplies()->GetCount() > 0) {
            if (soundBase > 0)
                PlaySoundEffect(soundBase + 1, kStreamed, 255);
            RunDialog(*tradeWindow_);
        }
    }
    traderMarket_.reset();
    tradeWindow_.reset();
}

void CTravel::FillTradeLists()
{
    CFrame* window = tradeWindow_.get();
    CSupplyList* supplies = GetParty() ? GetParty()->GetSupplies() : nullptr;
    if (!window || !supplies || !traderMarket_)
        return;
    const ItemNames names;
    SetLabel(window, kOwnLabel, " ");
    SetSpin(window, kOwnSpin, 1);

    const auto* ownList = Find<CTwoColListFrm>(window, kOwnList);
    const int32_t ownSelection = ownList ? ownList->GetSelection() : -1;
    auto own = std::make_unique<CTplRec>();
    ownGoods_.clear();
    for (int16_t t = 1; t <= CMarket::kItemTypes; ++t) {
        const int16_t total = supplies->GetTotal(t);
        if (total <= 0)
            continue;
        AppendRow(*own, total, names.Name(t, total));
        if (static_cast<int32_t>(ownGoods_.size()) == ownSelection) {
            SetLabel(window, kOwnLabel, names.Name(t, 1));
            SetSpin(window, kOwnSpin, total);
        }
        ownGoods_.push_back(t);
    }
    GiveRows(window, kOwnList, std::move(own));

    const auto* traderList = Find<CTwoColListFrm>(window, kTraderList);
    const int32_t traderSelection = traderList ? traderList->GetSelection() : -1;
    auto stock = std::make_unique<CTplRec>();
    for (int16_t i = 0; i < traderMarket_->GetItemCount(); ++i) {
        const int16_t quantity = traderMarket_->GetQuantity(i);
        AppendRow(*stock, quantity, names.Name(traderMarket_->GetItemId(i), quantity));
        if (i == traderSelection) {
            SetSpin(window, kTraderSpin, quantity);
            SetLabel(window, kTraderLabel, names.Name(traderMarket_->GetItemId(i), 1));
        }
    }
    GiveRows(window, kTraderList, std::move(stock));
}

bool CTravel::CheckDeal(CFrame& window)
{
    if (ownGoods_.empty()) {
        MakeDealButton(&window, "You have nothing!", false);
        return false;
    }
    // Without a trader line or a party row picked there is no deal to weigh.
    const int32_t line =
        traderMarket_ ? SelectedRow(&window, kTraderList, traderMarket_->GetItemCount()) : -1;
    const int32_t row = SelectedRow(&window, kOwnList, ownGoods_.size());
    if (line < 0 || row < 0) {
        MakeDealButton(&window, "No thanks!", false);
        return false;
    }
    const int64_t asked = int64_t{PackagePrice(traderMarket_->GetItemId(static_cast<int16_t>(line)))} *
                          SpinValue(&window, kTraderSpin);
    const int64_t offered =
        int64_t{PackagePrice(ownGoods_[static_cast<size_t>(row)])} * SpinValue(&window, kOwnSpin);
    if (offered > asked) {
        MakeDealButton(&window, "It's a deal!", true);
        return true;
    }
    MakeDealButton(&window, "No thanks!", false);
    return false;
}

void CTravel::OnTraderItemPicked()
{
    CFrame* window = tradeWindow_.get();
    const int32_t line = traderMarket_ ? SelectedRow(window, kTraderList, traderMarket_->GetItemCount()) : -1;
    if (line < 0)
        return;
    const auto* list = Find<CTwoColListFrm>(window, kTraderList);
    SetLabel(window, kTraderLabel, ItemNames().Name(traderMarket_->GetItemId(static_cast<int16_t>(line)), 1));
    SetSpin(window, kTraderSpin, list->GetSelectedNumber());
    CheckDeal(*window);
}

void CTravel::OnOwnItemPicked()
{
    CFrame* window = tradeWindow_.get();
    const int32_t row = SelectedRow(window, kOwnList, ownGoods_.size());
    if (row < 0)
        return;
    const int32_t held = Find<CTwoColListFrm>(window, kOwnList)->GetSelectedNumber();
    if (held <= 0)
        return;
    SetLabel(window, kOwnLabel, ItemNames().Name(ownGoods_[static_cast<size_t>(row)], 1));
    SetSpin(window, kOwnSpin, held);
    CheckDeal(*window);
}

void CTravel::UpdateTradeLabels()
{
    CFrame* window = tradeWindow_.get();
    if (!window || !traderMarket_)
        return;
    const ItemNames names;
    // A side with nothing picked keeps its label as it was.
    const int32_t line = SelectedRow(window, kTraderList, traderMarket_->GetItemCount());
    if (line >= 0)
        SetLabel(
            window, kTraderLabel,
            names.Name(traderMarket_->GetItemId(static_cast<int16_t>(line)), SpinValue(window, kTraderSpin)));
    const int32_t row = SelectedRow(window, kOwnList, ownGoods_.size());
    if (row >= 0)
        SetLabel(window, kOwnLabel,
                 names.Name(ownGoods_[static_cast<size_t>(row)], SpinValue(window, kOwnSpin)));
    CheckDeal(*window);
}

void CTravel::AcceptTrade()
{
    CFrame* window = tradeWindow_.get();
    CParty* party = GetParty();
    if (!window || !party || !party->GetSupplies() || !CheckDeal(*window))
        return;
    if (traderSoundBase_ > 0)
        PlaySoundEffect(traderSoundBase_ + 3, kStreamed, 255);
    // The checked deal has both a trader line and a party row picked.
    const auto line = static_cast<int16_t>(SelectedRow(window, kTraderList, traderMarket_->GetItemCount()));
    const int16_t bought = traderMarket_->GetItemId(line);
    const auto asked = static_cast<int16_t>(SpinValue(window, kTraderSpin));
    if (bought == kMoneyItem)
        party->AddMoney(asked);
    else
        party->GetSupplies()->AddItem(bought, asked, 0.0);
    traderMarket_->TakeFromLine(line, asked);

    // The trader gains what the party's items actually gave, item by item.
    const int16_t given = ownGoods_[static_cast<size_t>(SelectedRow(window, kOwnList, ownGoods_.size()))];
    CSupplyList& supplies = *party->GetSupplies();
    if (const CItem* first = supplies.FindItem(given)) {
        const int32_t price = first->GetPackagePrice();
        const int16_t taken = supplies.TakePackages(given, static_cast<int16_t>(SpinValue(window, kOwnSpin)),
                                                    kMaxDiscardPasses);
        traderMarket_->AddGoods(given, taken, price);
    }
    FillTradeLists();
}

void CTravel::OnOwnListChange(CBaseObj* sender)
{
    auto* list = dynamic_cast<CTwoColListFrm*>(sender);
    if (!list)
        return;
    // The label and spin are the list's neighbours in the dialog that holds it.
    CFrame* window = list;
    while (window->GetParent())
        window = window->GetParent();
    std::unique_ptr<CStr> name = list->GetSelectedText();
    SetLabel(window, kOwnLabel, name ? name->GetText() : std::string());
    SetSpin(window, kOwnSpin, list->GetSelectedNumber());
}

void CTravel::ShowDiscardDialog(int16_t category)
{
    CSupplyList* supplies = GetParty() ? GetParty()->GetSupplies() : nullptr;
    StopTimer();
    std::unique_ptr<CImageFrame> dialog = MakeModalList(kDiscardDialogList, GetApplication());
    if (!dialog || !supplies)
        return;
    const ItemNames names;
    const std::unique_ptr<CTplRec> titles = CreateTplRec(kDiscardTitles, 0xFFFFFFFFu, false);
    const CStr* title = titles ? titles->GetEntry(category) : nullptr;
    SetLabel(dialog.get(), kDiscardTitle, title ? title->GetText() : std::string());
    SetLabel(dialog.get(), kOwnLabel, " ");
    SetSpin(dialog.get(), kOwnSpin, 1);

    std::vector<int16_t> rowTypes;
    auto rows = std::make_unique<CTplRec>();
    for (int16_t t = 1; t <= CMarket::kItemTypes; ++t) {
        const int16_t total = supplies->GetTotal(t);
        if (total <= 0 || (category != 1 && supplies->FindItem(t)->GetCategory() != category))
            continue;
        AppendRow(*rows, total, names.Name(t, total));
        if (rowTypes.empty()) {
            SetLabel(dialog.get(), kOwnLabel, names.Name(t, 1));
            SetSpin(dialog.get(), kOwnSpin, total);
        }
        rowTypes.push_back(t);
    }
    GiveRows(dialog.get(), kOwnList, std::move(rows));
    if (RunDialog(*dialog) != kDiscardButton)
        return;
    // Nothing picked (or nothing listed) discards nothing.
    const int32_t row = SelectedRow(dialog.get(), kOwnList, rowTypes.size());
    if (row >= 0)
        supplies->TakePackages(rowTypes[static_cast<size_t>(row)],
                               static_cast<int16_t>(SpinValue(dialog.get(), kOwnSpin)), kMaxDiscardPasses);
}
