// The landmark's set-up popups: the companion choice (426) with its check-list rule (431), the
// random companions with a ready-made outfit (427), the departure month, name and start choice
// they share (RunSetupPopup), and the supplies and stock lists (288, 442).
#include <algorithm>
#include <array>
#include <initializer_list>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/Wind.h"
#include "engine/controls/input/RangeFrame.h"
#include "engine/controls/native/Control.h"
#include "engine/controls/native/EditField.h"
#include "engine/controls/native/StrListBox.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/framework/Util.h"
#include "engine/resources/TplRecLoader.h"
#include "game/base/CheckListCtl.h"
#include "game/base/GameGlobals.h"
#include "game/base/MainWnd.h"
#include "game/base/ModalList.h"
#include "game/base/ModuleMgr.h"
#include "game/landmarks/Landmark.h"
#include "game/landmarks/LandmarkTrip.h"
#include "game/travel/Market.h"
#include "game/travel/Party.h"
#include "game/travel/PartyMember.h"
#include "game/travel/SupplyList.h"
#include "game/travel/Travel.h"

namespace {

// The popups and their elements.
constexpr int32_t kChoicePopup = 4030;
constexpr int32_t kRandomPopup = 4031;
constexpr int32_t kNoOxenPopup = 4033;
constexpr int32_t kOk = 2322;
constexpr int32_t kMonthControl = 2323;
constexpr int32_t kStartControl = 2324;
constexpr int32_t kCheckList = 2325;
constexpr int32_t kNameField = 2329;
constexpr int32_t kFirstRandomName = 4340;
// The screen shown when the party has no oxen to go on with.
constexpr int32_t kNoOxenScreen = 10105;
// The full-screen message shown while the game sets out.
constexpr int32_t kSettingOutMessage = 9;
// Person names (entry = person id).
constexpr int32_t kPersonNames = 4033;
constexpr uint32_t kAllLibraries = 0xFFFFFFFFu;

constexpr int16_t kMostCompanions = 4;
constexpr int16_t kDollars = 35;
// The month control's value v means month v + 2.
constexpr int16_t kMonthOffset = 2;
// The start codes the start control's values 1..10 choose.
constexpr std::array<int32_t, 10> kStartCodes = {1, 15, 30, 22, 3, 26, 2, 6, 25, 21};

// The supplies popup: its title, its two-column list; the title lists.
constexpr int32_t kSuppliesPopup = 941;
constexpr int32_t kSuppliesTitle = 10020;
constexpr int32_t kSuppliesList = 12040;
constexpr int32_t kSingularNames = 600101;
constexpr int32_t kPluralNames = 600102;
constexpr int32_t kSuppliesTitles = 902005;

constexpr int kMostDraws = 3001;

bool IsPairPerson(int16_t id) { return CTrip::GetPartner(id) != 0; }

// The value of a value control (a native control or a range control); 0 for any other.
int32_t ValueOf(const CFrame* element)
{
    if (const auto* control = dynamic_cast<const CControl*>(element))
        return control->GetValue();
    if (const auto* range = dynamic_cast<const CRangeFrame*>(element))
        return range->GetValue();
    return 0;
}

void SetValueOf(CFrame* element, int32_t value)
{
    if (auto* control = dynamic_cast<CControl*>(element))
        control->SetValue(static_cast<int16_t>(value));
    else if (auto* range = dynamic_cast<CRangeFrame*>(element))
        range->SetValue(value);
}

std::unique_ptr<CStr> PersonName(const CTplRec* names, int16_t personId)
{
    std::unique_ptr<CStr> name = names ? names->GetEntryString(personId) : nullptr;
    return name ? std::move(name) : std::make_unique<CStr>("");
}

// The item name, singular below 2.
std::unique_ptr<CStr> ItemName(const CTplRec* singular, const CTplRec* plural, int16_t type, int32_t count)
{
    const CTplRec* names = count < 2 ? singular : plural;
    std::unique_ptr<CStr> name = names ? names->GetEntryString(type - 1) : nullptr;
    return name ? std::move(name) : std::make_unique<CStr>("");
}

} // namespace

void CLandmark::DeletePopup() { popup_.reset(); }

void CLandmark::TakeGoodsOf(const CTravel& travel, int16_t personId) const
{
    CParty* party = travel.GetParty();
    const CMarket* market = travel.GetMarket(static_cast<int16_t>(personId - 1));
    if (!party || !market)
        return;
    for (int16_t line = 0; line < market->GetItemCount(); ++line) {
        if (market->GetItemId(line) == kDollars)
            party->AddMoney(market->GetQuantity(line));
        else
            party->GetSupplies()->AddItem(market->GetItemId(line), market->GetQuantity(line), 0.0);
    }
}

// ---- 426: the companion choice ----

void CLandmark::ChooseCompanions()
{
    CTravel* travel = GetTravelModule();
    CParty* party = travel ? travel->GetParty() : nullptr;
    if (!party)
        return;
    popup_ = MakeModalList(kChoicePopup, GetMainWnd());
    if (!popup_)
        return;
    auto* checks = popup_->FindAs<CCheckListCtl>(kCheckList);
    if (checks) {
        const std::unique_ptr<CTplRec> names = CreateTplRec(kPersonNames, kAllLibraries, false);
        auto list = std::make_unique<CTplRec>();
        for (int16_t i = 0; i < CTrip::kPersonCount; ++i)
            list->Add(PersonName(names.get(), travel->GetPersonId(i)));
        checks->SetList(std::move(list));
        const int16_t companions = static_cast<int16_t>(party->CountMembers(false) - 1);
        const bool full = party->CountMembers(true) == 5;
        for (int16_t i = 0; i < CTrip::kPersonCount; ++i) {
            const int16_t id = travel->GetPersonId(i);
            bool isMember = false;
            for (int16_t slot = 1; slot <= companions; ++slot)
                if (const CPartyMember* m = party->GetMember(slot); m && m->GetId() == id)
                    isMember = true;
            uint16_t state = isMember ? CCheckListCtl::kChecked : 0;
            if (!isMember && (full || (companions >= 3 && IsPairPerson(id))))
                state |= CCheckListCtl::kDimmed;
            checks->SetState(i, state);
        }
    }
    int32_t result = RunSetupPopup(*travel, *popup_, party->CountMembers(false));

    for (int16_t slot = 1; slot <= kMostCompanions; ++slot)
        party->DeleteMember(slot);
    std::vector<int16_t> chosen;
    for (int16_t i = 0; checks && i < CTrip::kPersonCount; ++i)
        if ((checks->GetState(i) & CCheckListCtl::kChecked) && travel->GetPersonId(i) > 0 &&
            chosen.size() < static_cast<size_t>(kMostCompanions))
            chosen.push_back(travel->GetPersonId(i));
    for (size_t n = 0; n < chosen.size(); ++n)
        party->CreateMember(static_cast<int16_t>(n + 1), chosen[n]);
    party->SetMemberCount(static_cast<int16_t>(chosen.size() + 1));

    if (result == kOk) {
        if (party->GetSupplies()->GetTotal(CParty::kDraughtAnimals) < 1) {
            RunModalList(kNoOxenPopup, this);
            if (CModuleMgr* manager = GetModuleMgr())
                manager->HideMessage();
            SendMsg(*this, kMsgLoadScreen, kNoOxenScreen, 0, this);
            result = 0;
        } else {
            for (int16_t id : chosen)
                TakeGoodsOf(*travel, id);
            travel->DeleteMarkets();
        }
    }
    DeletePopup();
    if (result == kOk)
        QueueLeaveModule(1);
}

void CLandmark::OnChoiceListChange(CMessage& message)
{
    const CTravel* travel = GetTravelModule();
    if (message.GetParam(2) != CCheckListCtl::kToggled || !popup_ || !travel)
        return;
    auto* checks = popup_->FindAs<CCheckListCtl>(kCheckList);
    if (!checks)
        return;
    int16_t count = 0;
    for (int16_t i = 0; i < CTrip::kPersonCount; ++i) {
        checks->SetState(i, checks->GetState(i) & ~CCheckListCtl::kDimmed);
        if (checks->GetState(i) & CCheckListCtl::kChecked)
            ++count;
    }
    const auto clicked = static_cast<int16_t>(checks->GetSelection());
    const int16_t person = travel->GetPersonId(clicked);
    const bool nowChecked = (checks->GetState(clicked) & CCheckListCtl::kChecked) != 0;
    const int16_t partner = CTrip::GetPartner(person);
    const int16_t partnerLine = partner != 0 ? travel->FindPerson(partner) : -1;
    if (partner != 0) {
        const bool partnerChecked =
            partnerLine >= 0 && (checks->GetState(partnerLine) & CCheckListCtl::kChecked);
        if (!nowChecked) {
            if (partnerChecked) {
                checks->SetState(partnerLine, 0);
                --count;
            }
        } else if (count >= 4) {
            checks->SetState(clicked, 0);
            --count;
        } else if (partnerLine >= 0 && !partnerChecked) {
            checks->SetState(partnerLine, CCheckListCtl::kChecked);
            ++count;
        }
    }
    for (int16_t i = 0; i < CTrip::kPersonCount; ++i) {
        if (checks->GetState(i) & CCheckListCtl::kChecked)
            continue;
        if (count == 4 || (count > 2 && IsPairPerson(travel->GetPersonId(i))))
            checks->SetState(i, CCheckListCtl::kDimmed);
    }
    checks->Draw(true);
    if (CFrame* ok = popup_->FindObject(kAnyKind, kOk))
        ok->Enable(count > 0);
}

// ---- 427: random companions and an outfit ----

void CLandmark::TakeRandomCompanions()
{
    CTravel* travel = GetTravelModule();
    CParty* party = travel ? travel->GetParty() : nullptr;
    if (!party)
        return;
    outfitMarket_ = std::make_unique<CMarket>(102, 1, 205, 5);
    // Four entries of the person table; a pair person's partner takes the next entry, so a
    // pair person is drawn only when the partner is listed, and never for the last entry.
    std::array<int16_t, kMostCompanions> entries = {-1, -1, -1, -1};
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] >= 0)
            continue;
        const auto eligible = [&](int16_t index) {
            const int16_t id = travel->GetPersonId(index);
            if (std::find(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(i), index) !=
                entries.begin() + static_cast<std::ptrdiff_t>(i))
                return false;
            if (!IsPairPerson(id))
                return true;
            return i + 1 < entries.size() && travel->IsPersonListed(CTrip::GetPartner(id));
        };
        int16_t index = -1;
        for (int draws = 0; draws < kMostDraws && index < 0; ++draws) {
            const auto drawn = static_cast<int16_t>(CUtil::Random(0, CTrip::kPersonCount - 1, 1));
            if (eligible(drawn))
                index = drawn;
        }
        if (index < 0) {
            outfitMarket_.reset();
            return;
        }
        entries[i] = index;
        const int16_t partner = CTrip::GetPartner(travel->GetPersonId(index));
        if (partner != 0)
            entries[i + 1] = travel->FindPerson(partner);
    }
    popup_ = MakeModalList(kRandomPopup, GetMainWnd());
    if (!popup_) {
        outfitMarket_.reset();
        return;
    }
    const std::unique_ptr<CTplRec> names = CreateTplRec(kPersonNames, kAllLibraries, false);
    for (size_t i = 0; i < entries.size(); ++i)
        if (auto* text = popup_->FindAs<CTextFrame>(kFirstRandomName + static_cast<int32_t>(i)))
            text->SetText(PersonName(names.get(), travel->GetPersonId(entries[i])));
    const int32_t result = RunSetupPopup(*travel, *popup_, 5);
    if (result == kOk) {
        for (size_t i = 0; i < entries.size(); ++i) {
            const auto slot = static_cast<int16_t>(i + 1);
            const int16_t id = travel->GetPersonId(entries[i]);
            party->DeleteMember(slot);
            party->CreateMember(slot, id);
            TakeGoodsOf(*travel, id);
        }
        travel->DeleteMarkets();
        party->SetMemberCount(5);
        for (int16_t line = 0; line < outfitMarket_->GetItemCount(); ++line) {
            const int16_t quantity = outfitMarket_->GetQuantity(line);
            party->GetSupplies()->AddItem(outfitMarket_->GetItemId(line), quantity, 0.0);
            // Paid in single precision, whatever the party holds (its money stops at 0).
            const float cost =
                static_cast<float>(quantity) * static_cast<float>(outfitMarket_->GetPrice(line));
            party->AddMoney(-static_cast<double>(cost));
        }
    }
    outfitMarket_.reset();
    DeletePopup();
    if (result == kOk)
        QueueLeaveModule(1);
}

// ---- The set-up popup ----

int32_t CLandmark::RunSetupPopup(CTravel& travel, CImageFrame& popup, int16_t memberCount)
{
    CPartyMember* leader = travel.GetParty() ? travel.GetParty()->GetMember(0) : nullptr;
    if (memberCount < 2)
        if (CFrame* ok = popup.FindObject(kAnyKind, kOk))
            ok->Enable(false);
    CFrame* month = popup.FindObject(kAnyKind, kMonthControl);
    if (month && travel.GetStartDate())
        SetValueOf(month, travel.GetStartDate()->GetMonth() - kMonthOffset);
    auto* name = popup.FindAs<CEditField>(kNameField);
    if (name && leader)
        name->SetText(std::make_unique<CStr>(leader->GetName()), false);
    CFrame* start = popup.FindObject(kAnyKind, kStartControl);
    if (start && leader) {
        const auto* code = std::find(kStartCodes.begin(), kStartCodes.end(), leader->GetStartCode());
        if (code != kStartCodes.end())
            SetValueOf(start, static_cast<int32_t>(code - kStartCodes.begin()) + 1);
    }

    const int32_t result = popup.Run(CWind::GetTopWnd(), true);
    if (result == kOk)
        if (CModuleMgr* manager = GetModuleMgr())
            manager->ShowMessage(kSettingOutMessage);

    if (month)
        travel.SetStartMonth(static_cast<int16_t>(ValueOf(month) + kMonthOffset));
    if (name && leader)
        if (const std::unique_ptr<CStr> text = name->GetText())
            leader->SetName(text->GetText());
    if (start && leader) {
        const int32_t v = ValueOf(start);
        leader->SetStartCode(kStartCodes[static_cast<size_t>(v >= 1 && v <= 10 ? v - 1 : 0)]);
    }
    return result;
}

// ---- 288 and 442: the supplies and stock lists ----

namespace {

struct SupplyLine {
    int16_t type;
    int32_t count;
};

void RunSuppliesPopup(const CStr& title, const std::vector<SupplyLine>& lines)
{
    const std::unique_ptr<CTplRec> singular = CreateTplRec(kSingularNames, kAllLibraries, false);
    const std::unique_ptr<CTplRec> plural = CreateTplRec(kPluralNames, kAllLibraries, false);
    const std::unique_ptr<CImageFrame> popup = MakeModalList(kSuppliesPopup, GetMainWnd());
    if (!popup)
        return;
    if (auto* text = popup->FindAs<CTextFrame>(kSuppliesTitle))
        text->SetText(std::make_unique<CStr>(title));
    if (auto* list = popup->FindAs<CStrListBox>(kSuppliesList)) {
        auto strings = std::make_unique<CTplRec>();
        for (const SupplyLine& line : lines) {
            strings->Add(std::make_unique<CStr>(line.count, true));
            strings->Add(ItemName(singular.get(), plural.get(), line.type, line.count));
        }
        const int32_t rows = strings->GetEntryCount() / 2;
        list->SetList(std::move(strings));
        list->SetItemCount(rows);
    }
    popup->Run(CWind::GetTopWnd(), true);
}

std::vector<SupplyLine> LinesOf(const CMarket* market)
{
    std::vector<SupplyLine> lines;
    for (int16_t line = 0; market && line < market->GetItemCount(); ++line)
        lines.push_back({market->GetItemId(line), market->GetQuantity(line)});
    return lines;
}

} // namespace

void CLandmark::ShowSuppliesList(CMessage& message)
{
    const std::unique_ptr<CTplRec> titles = CreateTplRec(kSuppliesTitles, kAllLibraries, false);
    std::unique_ptr<CStr> title =
        titles ? titles->GetEntryString(static_cast<int32_t>(message.GetParam(0))) : nullptr;
    std::vector<SupplyLine> lines;
    if (message.GetParam(1) == 1) {
        const CParty* party = GetTravelParty();
        for (int16_t type = 1; party && type <= 213; ++type)
            if (const int16_t total = party->GetSupplies()->GetTotal(type); total > 0)
                lines.push_back({type, total});
    } else {
        lines = LinesOf(outfitMarket_.get());
    }
    RunSuppliesPopup(title ? *title : CStr(""), lines);
}

void CLandmark::ShowStockList(CMessage& message)
{
    const CTravel* travel = GetTravelModule();
    const CMarket* market =
        travel ? travel->GetMarket(static_cast<int16_t>(message.GetParam(0) - 1)) : nullptr;
    RunSuppliesPopup(CStr(" "), LinesOf(market));
}
