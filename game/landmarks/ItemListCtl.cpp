#include "game/landmarks/ItemListCtl.h"

#include <cstdio>

#include "engine/controls/RsrcTplList.h"
#include "engine/controls/TextFrame.h"
#include "engine/controls/Wind.h"
#include "engine/controls/input/ScrollBar.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RawParser.h"
#include "game/base/GameGlobals.h"
#include "game/base/GameImages.h"
#include "game/base/ModuleMgr.h"
#include "game/landmarks/InfoPanelCtl.h"
#include "game/landmarks/Store.h"
#include "game/travel/Party.h"
#include "game/travel/Travel.h"

namespace {

// The scroll bar: arrows step by one and the track pages; its breadth and where it ends.
constexpr uint16_t kScrollFlags = CScrollBar::kStepByOne | CScrollBar::kPage;
constexpr int16_t kScrollBarRight = 4;
constexpr int16_t kScrollBarWidth = 16;
constexpr int16_t kPanelLeft = 2;
constexpr int32_t kLineColor = 0;

} // namespace

CItemListCtl::CItemListCtl(int32_t id, const CPoint& topLeft, int32_t itemTemplate)
    : CImageWnd(id, topLeft, 0, 0), itemTemplate_(itemTemplate)
{
}

CItemListCtl::~CItemListCtl() = default;

void CItemListCtl::SetOwner(CBaseObj* owner)
{
    CImageWnd::SetOwner(owner);
    // The panels are made once: the list leaves its window when a modal run ends.
    if (!owner || panels_[0])
        return;
    RegisterLiveObject(this);
    titleRect_.Offset(GetBounds().GetLeft(), GetBounds().GetTop());
    for (int16_t slot = 0; slot < kPanelCount; ++slot)
        MakePanel(slot);
}

void CItemListCtl::MakePanel(int16_t slot)
{
    CRsrcTplList list(kPanelList, CLibMgr::kAllLibraries);
    auto* panel = dynamic_cast<CInfoPanelCtl*>(list.Build(nullptr, GetOwner(), 0));
    if (!panel)
        return;
    if (auto* count = dynamic_cast<CInputFrame*>(panel->FindObject(CInputFrame::kKind, kCountControl))) {
        count->SetId(kCountControl + 1 + slot);
        count->SetNotifyTarget(panel);
    }
    panels_[static_cast<size_t>(slot)] = panel;
    panel->SetRow(rows_[static_cast<size_t>(slot)], slot, slot);
    if (rowHeight_ == 0)
        rowHeight_ = static_cast<int16_t>(panel->GetBounds().GetHeight() + 1);
    const CRect& bounds = GetBounds();
    panel->MoveToPoint(CPoint(static_cast<int16_t>(bounds.GetLeft() + kPanelLeft),
                              static_cast<int16_t>(bounds.GetTop() + kRowsTop + slot * rowHeight_)));
    AddChild(panel, false);
}

CInfoPanelCtl* CItemListCtl::GetPanel(int16_t i) const
{
    return i >= 0 && i < kPanelCount ? panels_[static_cast<size_t>(i)] : nullptr;
}

bool CItemListCtl::HandleMessage(CMessage& message, CBaseObj* sender)
{
    switch (message.GetId()) {
    case kMsgScrolled:
        if (scrollBar_) {
            firstRow_ = static_cast<int16_t>(scrollBar_->GetValue());
            UpdateRows();
        }
        return true;
    case kMsgCountChanged:
    case kMsgCountChangedToo: return true;
    default: return CImageWnd::HandleMessage(message, sender);
    }
}

void CItemListCtl::DrawContent(CDrawEnv* env, const CRect& clip)
{
    CImageWnd::DrawContent(env, clip);
    if (!env)
        return;
    const int32_t pen = env->GetPenColor(), fill = env->GetForeColor();
    const int16_t width = env->GetPenWidth();
    const CRect& drawn = GetDrawnRect();
    env->SetPen(kLineColor, 1);
    env->SetTextColor(kLineColor);
    env->FrameRect(drawn);
    const int16_t title = titleRect_.GetBottom();
    env->FillRect(CRect(title, drawn.GetLeft(), static_cast<int16_t>(title + 2), drawn.GetRight()));
    const int16_t footer = static_cast<int16_t>(drawn.GetBottom() - kFooterLine);
    env->FillRect(CRect(footer, drawn.GetLeft(), static_cast<int16_t>(footer + 1), drawn.GetRight()));
    env->SetTextColor(fill);
    env->SetPen(pen, width);
}

void CItemListCtl::AddRow(const CItemRow& row, bool redraw)
{
    if (rowCount_ >= kMaxRows)
        return;
    rows_[static_cast<size_t>(rowCount_++)] = row;
    changed_ = true;
    if (redraw)
        UpdateRows();
}

void CItemListCtl::Clear()
{
    rowCount_ = 0;
    firstRow_ = 0;
    rows_.fill(CItemRow{});
    if (scrollBar_) {
        scrollBar_->Destroy();
        scrollBar_ = nullptr;
    }
    changed_ = true;
    UpdateRows();
}

void CItemListCtl::UpdateRows()
{
    if (changed_)
        UpdateScrollBar();
    for (int16_t slot = 0; slot < kPanelCount; ++slot) {
        CInfoPanelCtl* panel = panels_[static_cast<size_t>(slot)];
        const int32_t row = firstRow_ + slot;
        if (!panel)
            continue;
        // Panel 0 shows a row even when there is none, so an empty list shows an empty row.
        if ((row < rowCount_ || slot == 0) && row < kMaxRows) {
            panel->Hide(true, true);
            panel->SetRow(rows_[static_cast<size_t>(row)], static_cast<int16_t>(row), slot);
            panel->Show(true);
        } else {
            panel->Hide(true, true);
        }
    }
    Draw(true);
}

void CItemListCtl::UpdateScrollBar()
{
    changed_ = false;
    if (scrollBar_ || rowCount_ <= kPanelCount)
        return;
    const CRect& drawn = GetDrawnRect();
    const int16_t right = static_cast<int16_t>(drawn.GetRight() - kScrollBarRight);
    const CRect rect(static_cast<int16_t>(drawn.GetTop() + kRowsTop),
                     static_cast<int16_t>(right - kScrollBarWidth),
                     static_cast<int16_t>(drawn.GetBottom() - kScrollBarGap), right);
    scrollBar_ = new CScrollBar(kNewId, rect, kMsgScrolled, this,
                                LoadImage("CBMP", 0, kScrollBarPicture, false, 1).release(), kScrollFlags, 0,
                                rowCount_ - kPanelCount, firstRow_, kPanelCount);
    AddChild(scrollBar_, false);
}

bool CItemListCtl::TryChange(int32_t changeCents, int32_t, int16_t row, int16_t newCount)
{
    const CParty* party = GetStoreParty();
    const double money = party ? party->GetMoney() : 0.0;
    if ((billCents_ - changeCents) / 100.0 > money || row < 0 || row >= kMaxRows)
        return false;
    rows_[static_cast<size_t>(row)].count = newCount;
    UpdateMoney(changeCents);
    return true;
}

void CItemListCtl::UpdateMoney(int32_t changeCents)
{
    billCents_ -= changeCents;
    CFrame* root = WindowRoot();
    ShowDollars(root, kBillText, GetTotal());
    if (const CParty* party = GetStoreParty())
        ShowDollars(root, kMoneyText, party->GetMoney());
}

void CItemListCtl::ResetTotal()
{
    billCents_ = 0;
    UpdateMoney(0);
}

int16_t CItemListCtl::GetRowItem(int16_t i) const
{
    return i >= 0 && i < kMaxRows ? rows_[static_cast<size_t>(i)].itemType : 0;
}

int16_t CItemListCtl::GetRowCount(int16_t i) const
{
    if (i < 0 || i >= rowCount_)
        return 0;
    const int16_t count = rows_[static_cast<size_t>(i)].count;
    return count < 1 ? 0 : count;
}

int16_t CItemListCtl::GetRowLine(int16_t i) const
{
    return i >= 0 && i < rowCount_ ? rows_[static_cast<size_t>(i)].line : 0;
}

CFrame* CItemListCtl::WindowRoot() const
{
    CWind* window = GetOwnerWnd();
    return window ? window->GetFirstFrame() : nullptr;
}

CTObj* CItemListCtl::ReadTemplate(int32_t kind, CRawParser* parser)
{
    return new CTItemListCtl(kind, parser);
}

CBaseObj* CItemListCtl::Create(CTObj* tpl)
{
    auto* t = static_cast<CTItemListCtl*>(tpl);
    const CRect& r = t->GetRect();
    auto* list = new CItemListCtl(t->GetId(), CPoint(r.GetLeft(), r.GetTop()), t->GetItemTemplate());
    list->SetTitleRect(t->GetTitleRect());
    list->SetImages(t->LoadImage(t->GetImageLibMask(), t->GetImageId()).release(), true);
    return list;
}

CTItemListCtl::CTItemListCtl(int32_t kind, CRawParser* parser) : CTFrame(kind, parser)
{
    imageId_ = parser->ReadLong("imgid");
    imageLibMask_ = static_cast<uint32_t>(parser->ReadLong("imglibmsk"));
    itemTemplate_ = parser->ReadLong("Item Template");
    const int16_t top = parser->ReadShort("TitleTop");
    const int16_t left = parser->ReadShort("Titleleft");
    const int16_t bottom = parser->ReadShort("Titlebot");
    const int16_t right = parser->ReadShort("Titleright");
    titleRect_ = CRect(top, left, bottom, right);
}

CParty* GetStoreParty()
{
    CModuleMgr* manager = GetModuleMgr();
    CTravel* travel = manager ? manager->GetModuleAs<CTravel>(CModuleMgr::kTravel) : nullptr;
    return travel ? travel->GetParty() : nullptr;
}

void ShowDollars(CFrame* root, int32_t id, double dollars)
{
    auto* text = root ? root->FindAs<CTextFrame>(id) : nullptr;
    if (!text)
        return;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", dollars);
    text->SetText(std::make_unique<CStr>(buffer));
}
