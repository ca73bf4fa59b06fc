#include "game/landmarks/InfoPanelCtl.h"

#include <cstdio>
#include <memory>

#include "engine/controls/TextFrame.h"
#include "engine/controls/input/RangeFrame.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "game/landmarks/Store.h"

CInfoPanelCtl::CInfoPanelCtl(int32_t id, const CRect& rect) : CFrame(kKindFrame, id, rect, false)
{
    SetFlags(kFlags);
    SetTakesInput(true);
}

void CInfoPanelCtl::SetOwner(CBaseObj* owner)
{
    CFrame::SetOwner(owner);
    if (owner)
        RegisterLiveObject(this);
}

CRangeFrame* CInfoPanelCtl::GetCountControl()
{
    return FindAs<CRangeFrame>(CItemListCtl::kCountControl + 1 + slot_);
}

void CInfoPanelCtl::SetRow(const CItemRow& row, int16_t index, int16_t slot)
{
    index_ = index;
    slot_ = slot;
    if (CRangeFrame* count = GetCountControl()) {
        count->SetMax(row.stock);
        count->SetValue(row.count);
    }
    row_.stock = row.stock;
    row_.owned = row.owned;
    row_.name = row.name;
    row_.count = row.count;
    row_.price = row.price;
    char text[32];
    std::snprintf(text, sizeof text, "%hd", row.stock);
    ShowText(kStockText, text);
    std::snprintf(text, sizeof text, "%hd", row.owned);
    ShowText(kOwnedText, text);
    ShowText(kNameText, row.name.c_str());
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(row.price));
    ShowText(kPriceText, text);
    shownCents_ = PriceInCents(row.price) * row.count;
    ShowLineTotal();
}

bool CInfoPanelCtl::HandleMessage(CMessage& message, CBaseObj* sender)
{
    const int32_t id = message.GetId();
    if (id != CItemListCtl::kMsgCountChanged && id != CItemListCtl::kMsgCountChangedToo)
        return CFrame::HandleMessage(message, sender);
    const auto newCount = static_cast<int32_t>(message.GetParam(3));
    OnCountChanged(newCount, newCount - static_cast<int32_t>(message.GetParam(2)));
    return true;
}

void CInfoPanelCtl::OnCountChanged(int32_t newCount, int32_t oldCount)
{
    const int32_t cents = PriceInCents(row_.price);
    const int32_t change = shownCents_ - cents * newCount;
    auto* list = dynamic_cast<CItemListCtl*>(GetParent());
    if (!list || !list->TryChange(change, shownCents_, index_, static_cast<int16_t>(newCount))) {
        if (CRangeFrame* count = GetCountControl())
            count->SetValue(oldCount);
        return;
    }
    shownCents_ = cents * newCount;
    ShowLineTotal();
}

void CInfoPanelCtl::ShowText(uint32_t kind, const char* text)
{
    if (auto* frame = dynamic_cast<CTextFrame*>(FindObject(kind, kAnyId)))
        frame->SetText(std::make_unique<CStr>(text));
}

void CInfoPanelCtl::ShowLineTotal()
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", shownCents_ / 100.0);
    ShowText(kLineTotalText, text);
}

CBaseObj* CInfoPanelCtl::Create(CTObj* tpl)
{
    auto* t = static_cast<CTFrame*>(tpl);
    return new CInfoPanelCtl(t->GetId(), t->GetRect());
}
