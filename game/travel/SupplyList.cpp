#include "game/travel/SupplyList.h"
#include "game/base/ModalList.h"

#include <algorithm>
#include <climits>

#include "engine/controls/ImageFrame.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/Wind.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Doc.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/framework/Util.h"
#include "engine/resources/TplRecLoader.h"
#include "game/travel/GameRecord.h"

namespace {

LossReporter g_lossReporter;

// The message window of template list 600610 with the text in its element 6420, run modally
// over the top window until its OK button (or a click on the window) ends it, then deleted.
void ShowLossWindow(const CStr& text)
{
    // Without a window to show it over (a trip run without its screen) nothing is shown.
    if (!CWind::GetTopWnd())
        return;
    const std::unique_ptr<CImageFrame> built = MakeModalList(CSupplyList::kLossWindowList, GetApplication());
    CImageFrame* window = built.get();
    if (!window)
        return;
    if (auto* line = window->FindAs<CTextFrame>(CSupplyList::kLossTextElement))
        line->SetText(std::make_unique<CStr>(text));
    window->Run(CWind::GetTopWnd(), true);
}

// Bytes of one item's record: four 16-bit values and a double.
constexpr int32_t kItemRecordSize = 16;

CItem* ItemOf(const CList::Node* node) { return static_cast<CItem*>(node->item); }

int16_t SaturatedSum(int32_t a, int32_t b) { return static_cast<int16_t>(std::min(a + b, CItem::kMaxCount)); }

// Weights and values of many large items add up past 32 bits: the sum stops at the largest.
int32_t SaturatedSum32(int32_t a, int32_t b)
{
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{a} + b, INT32_MIN, INT32_MAX));
}

} // namespace

void SetLossReporter(LossReporter reporter) { g_lossReporter = std::move(reporter); }

CSupplyList::~CSupplyList() { Clear(); }

void CSupplyList::ForEach(const std::function<void(CItem&)>& visit) const
{
    for (const Node* n = GetHeadNode(); n; n = n->next)
        visit(*ItemOf(n));
}

void CSupplyList::AddItem(int16_t type, int16_t packages, double priceFactor)
{
    CItem* item = FindItem(type);
    if (item && !item->IsPerishable())
        item->AddPackages(packages);
    else
        AppendItem(std::make_unique<CItem>(type, packages, priceFactor));
}

void CSupplyList::SetItemCount(int16_t type, int16_t packages, double priceFactor)
{
    CItem* item = FindItem(type);
    if (!item) {
        if (packages > 0)
            AppendItem(std::make_unique<CItem>(type, packages, priceFactor));
        return;
    }
    item->RemovePackages(item->GetCount(false));
    item->AddPackages(packages);
}

void CSupplyList::AppendItem(std::unique_ptr<CItem> item)
{
    if (item)
        AddTail(item.release());
}

void CSupplyList::Clear()
{
    while (Node* n = GetHeadNode()) {
        CItem* item = ItemOf(n);
        RemoveNode(n);
        delete item;
    }
}

CItem* CSupplyList::FindItem(int16_t type) const
{
    for (const Node* n = GetHeadNode(); n; n = n->next)
        if (ItemOf(n)->GetType() == type)
            return ItemOf(n);
    return nullptr;
}

int16_t CSupplyList::TakePackages(int16_t type, int16_t packages, int32_t maxItems)
{
    int16_t taken = 0;
    for (int32_t pass = 0; pass < maxItems && taken < packages; ++pass) {
        CItem* item = FindItem(type);
        if (!item)
            break;
        int16_t gave = 0;
        if (!item->RemovePackages(static_cast<int16_t>(packages - taken), &gave)) {
            RemoveItem(item);
            delete item;
        }
        taken = static_cast<int16_t>(taken + gave);
    }
    return taken;
}

int16_t CSupplyList::CountOf(int16_t type) const
{
    const CItem* item = FindItem(type);
    return item ? item->GetCount(false) : 0;
}

int16_t CSupplyList::GetTotal(int16_t type) const
{
    int16_t total = 0;
    ForEach([&](CItem& item) {
        if (item.GetType() == type)
            total = SaturatedSum(total, item.GetCount(false));
    });
    return total;
}

bool CSupplyList::HasTag(int16_t tag) const
{
    for (const Node* n = GetHeadNode(); n; n = n->next)
        if (ItemOf(n)->HasTag(tag))
            return true;
    return false;
}

std::vector<CItem*> CSupplyList::CollectByTag(int16_t tag, int16_t shelfLimit) const
{
    std::vector<CItem*> items;
    ForEach([&](CItem& item) {
        if (item.HasTag(tag) && (shelfLimit == 0 || item.GetShelfLife() <= shelfLimit))
            items.push_back(&item);
    });
    return items;
}

std::vector<CItem*> CSupplyList::CollectByCategory(int16_t category) const
{
    std::vector<CItem*> items;
    ForEach([&](CItem& item) {
        if (item.IsCategory(category))
            items.push_back(&item);
    });
    return items;
}

void CSupplyList::RemoveEmpty()
{
    Node* n = GetHeadNode();
    while (n) {
        Node* next = n->next;
        if (ItemOf(n)->GetCount(false) == 0) {
            CItem* item = ItemOf(n);
            RemoveNode(n);
            delete item;
        }
        n = next;
    }
}

int32_t CSupplyList::GetTotalWeight() const
{
    int32_t total = 0;
    ForEach([&](CItem& item) {
        if (item.GetCount(false) != 0)
            total = SaturatedSum32(total, item.GetTotalWeight());
    });
    return total;
}

int32_t CSupplyList::GetTotalValue() const
{
    int32_t total = 0;
    ForEach([&](CItem& item) {
        if (item.GetCount(false) != 0)
            total = SaturatedSum32(total, item.GetValue());
    });
    return total;
}

void CSupplyList::AddPreserved(int32_t units, int16_t preserved, int16_t plain)
{
    if (units <= 0)
        return;
    const auto add = [this](int16_t type, int32_t n) {
        if (n > 0)
            AddItem(type, static_cast<int16_t>(std::min(n, CItem::kMaxCount)));
    };
    CItem* salt = FindItem(kSalt);
    if (!salt) {
        add(plain, units);
        return;
    }
    const int32_t needed = (units + kUnitsPerSalt - 1) / kUnitsPerSalt;
    const int32_t have = salt->GetTotalUnits();
    if (have < needed) {
        add(preserved, have * kUnitsPerSalt);
        salt->Consume(static_cast<int16_t>(have));
        add(plain, units - have * kUnitsPerSalt);
    } else {
        add(preserved, units);
        salt->Consume(static_cast<int16_t>(needed));
    }
}

void CSupplyList::AddMeat(int32_t units) { AddPreserved(units, kSaltedMeat, kMeat); }

void CSupplyList::AddCatch(int32_t units) { AddPreserved(units, kSaltedCatch, kCatch); }

std::unique_ptr<CSupplyList> CSupplyList::MakeFind(int32_t amount)
{
    auto find = std::make_unique<CSupplyList>();
    const CGameRecord table("FVT", 1);
    struct Entry {
        int16_t max;
        int16_t type;
    };
    std::vector<Entry> entries;
    for (int32_t at = 0; at + 4 <= table.GetSize(); at += 4) {
        const Entry e{table.Short(at), table.Short(at + 2)};
        if (e.type == 0)
            break;
        entries.push_back(e);
    }
    if (entries.empty())
        return find;
    for (int32_t round = 0; round < amount / 25; ++round) {
        const Entry& e =
            entries[static_cast<size_t>(CUtil::Random(0, static_cast<int32_t>(entries.size()) - 1))];
        find->AddItem(e.type, static_cast<int16_t>(CUtil::Random(0, e.max)));
    }
    return find;
}

void CSupplyList::LoseItems(int16_t percent, int16_t title, bool tagged)
{
    CSupplyList lost;
    ForEach([&](CItem& item) {
        const int32_t q = tagged && item.HasTag(48) ? percent : percent / 2;
        const int16_t count = item.GetCount(false);
        int16_t n = count;
        if (q < 100) {
            n = 0;
            for (int16_t i = 0; i < count; ++i)
                if (CUtil::Random(1, 100) <= q)
                    ++n;
        }
        if (n > 0) {
            item.RemovePackages(n);
            lost.AddItem(item.GetType(), n);
        }
    });
    RemoveEmpty();
    if (lost.IsEmpty())
        return;
    const std::unique_ptr<CStr> text = MakeLossText(title, lost);
    if (g_lossReporter)
        g_lossReporter(*text);
    else
        ShowLossWindow(*text);
}

std::unique_ptr<CStr> CSupplyList::MakeLossText(int16_t title, const CSupplyList& lost)
{
    auto text = std::make_unique<CStr>();
    const std::unique_ptr<CTplRec> titles = CreateTplRec(kLossTitleList, 0xFFFFFFFF, false);
    if (const CStr* t = titles ? titles->GetEntry(title) : nullptr)
        text->Append(*t);
    text->Append(CStr("\n"));
    const std::unique_ptr<CTplRec> names = CreateTplRec(kItemNameList, 0xFFFFFFFF, false);
    int listed = 0;
    for (int16_t type = 1; type <= kLastItemType && listed < kLossNames; ++type) {
        if (!lost.FindItem(type))
            continue;
        if (const CStr* name = names ? names->GetEntry(type - 1) : nullptr)
            text->Append(*name);
        text->Append(CStr(", "));
        if (++listed == kLossNames)
            text->Append(CStr("etc."));
    }
    return text;
}

void CSupplyList::Save(CDoc& doc) const
{
    doc.WriteShort(GetCount());
    ForEach([&](CItem& item) { item.Save(doc); });
}

void CSupplyList::Load(CDoc& doc)
{
    int16_t count = 0;
    doc.ReadShort(count);
    if (doc.GetError() != CDoc::kOk)
        return;
    if (count < 0 || count > doc.Remaining() / kItemRecordSize) {
        doc.SetError(CDoc::kStreamFailure);
        return;
    }
    for (int16_t i = 0; i < count && doc.GetError() == CDoc::kOk; ++i) {
        int16_t type = 0;
        doc.ReadShort(type);
        if (doc.GetError() != CDoc::kOk)
            return;
        auto item = std::make_unique<CItem>(type, 0, 0.0);
        item->LoadFields(doc);
        if (doc.GetError() == CDoc::kOk)
            AppendItem(std::move(item));
    }
}
