#include "engine/controls/input/ListBox.h"

#include <algorithm>
#include <cstdio>

#include "engine/controls/Wind.h"
#include "engine/controls/input/ScrollBar.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/resources/RawParser.h"

namespace {

enum : int32_t { kKeyBack = 8, kKeyEnter = 13, kKeyUp = 30, kKeyDown = 31 };

// The placeholder's colours: white, blue and black as RGB values.
constexpr int32_t kItemBack = 0x10FFFFFF;
constexpr int32_t kItemHilite = 0x100000FF;
constexpr int32_t kItemText = 0x10000000;
constexpr int16_t kItemFont = 1;

} // namespace

CListBox::CListBox(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target, CImgSet* barImages)
    : CInputFrame(kKindListBox, id, rect, notifyType, target)
{
    SetInputMode(3);
    SetItemHeight(20);
    if (!barImages)
        return;
    bar_ = new CScrollBar(kNewId, rect, kMsgBarMoved, this, barImages, kBarFlags, 0, largestTop_, selection_,
                          rows_);
    AddChild(bar_, false);
    barWidth_ = bar_->GetBounds().GetWidth();
}

void CListBox::SetItemCount(int32_t count)
{
    count_ = count;
    largestTop_ = std::max(0, count - rows_);
    if (!bar_)
        return;
    bar_->SetMax(largestTop_);
    // The bar's inactive state and thumb follow the new range.
    bar_->SetValue(bar_->GetValue());
    if (count > rows_) {
        bar_->Show(false);
        barWidth_ = bar_->GetBounds().GetWidth();
    } else {
        barWidth_ = 0;
        bar_->Hide(false, false);
    }
}

void CListBox::SetItemHeight(int16_t height)
{
    itemHeight_ = std::max<int16_t>(height, 1);
    const int16_t drawnHeight = GetDrawnRect().GetHeight();
    rows_ = std::max(0, (drawnHeight - 4) / itemHeight_);
    SetItemCount(count_);
    margin_ = static_cast<int16_t>((drawnHeight - rows_ * itemHeight_) / 2);
}

void CListBox::ResetList(int32_t count)
{
    if (count >= 0)
        SetItemCount(count);
    selection_ = 0;
    top_ = 0;
    if (bar_)
        bar_->SetValue(0);
    Draw(false);
}

void CListBox::SetSize(int16_t width, int16_t height)
{
    const auto dw = static_cast<int16_t>(width - GetBounds().GetWidth());
    CInputFrame::SetSize(width, height);
    SetItemHeight(itemHeight_);
    if (!bar_)
        return;
    bar_->MoveBy(dw, 0, 0);
    bar_->SetSize(bar_->GetBounds().GetWidth(), height);
    bar_->SetPageSize(rows_);
}

bool CListBox::WantsKey(int32_t key)
{
    if (!HasFocus() || count_ <= 0)
        return false;
    return key == kKeyUp || key == kKeyDown || key == kKeyEnter || key == kKeyBack;
}

void CListBox::SetHasFocus(bool hasFocus)
{
    const bool changed = hasFocus != HasFocus();
    CInputFrame::SetHasFocus(hasFocus);
    if (changed)
        Draw(false);
}

void CListBox::SetItemIndex(int32_t index)
{
    if (index >= count_)
        index = count_ - 1;
    if (index < top_) {
        if (top_ == 0) {
            selection_ = -1;
        } else {
            top_ = selection_ = std::max(index, 0);
            if (bar_)
                bar_->SetValue(top_);
        }
        Draw(false);
    } else if (index < top_ + rows_) {
        if (index != selection_) {
            Draw(false);
            selection_ = index;
        }
    } else if (top_ < largestTop_) {
        top_ = index - rows_ + 1;
        selection_ = index;
        if (bar_)
            bar_->SetValue(top_);
        Draw(false);
    }
}

void CListBox::TrackPoint(const CPoint& point, bool clicked)
{
    const int32_t y = point.GetV() - GetDrawnRect().GetTop() - margin_;
    int32_t index = y / itemHeight_ + top_;
    if (y < 0)
        index = top_ > 0 ? selection_ - 1 : 0;
    if (index != selection_)
        SetItemIndex(index);
    else if (clicked)
        OnReclick(point);
}

void CListBox::NotifySelection()
{
    GetNotifyMessage().SetParam(0, 2);
    GetNotifyMessage().SetParam(selection_, 3);
    SendNotify();
}

bool CListBox::HandleMessage(CMessage& message, CBaseObj* sender)
{
    switch (message.GetId()) {
    case kMsgBarMoved:
        if (bar_ && sender == bar_) {
            const int32_t top = std::min(bar_->GetValue(), largestTop_);
            if (top != top_) {
                top_ = top;
                Draw(false);
            }
        }
        return true;
    case kMsgKey: {
        const auto key = static_cast<int32_t>(message.GetParam(2));
        if (!HasFocus() || count_ <= 0 || (key != kKeyUp && key != kKeyDown))
            return true;
        const int32_t before = selection_;
        if (key == kKeyDown)
            SetItemIndex(selection_ + 1);
        else if (selection_ > 0)
            SetItemIndex(selection_ - 1);
        if (selection_ != before)
            NotifySelection();
        return true;
    }
    case kMsgMouse: {
        const CPoint* point = message.GetParamPtr<CPoint>(4);
        if (!point)
            return true;
        switch (message.GetParam(2)) {
        case kMousePress:
            StartTimer(kDragTicks, nullptr);
            selectionAtPress_ = selection_;
            TrackPoint(*point, true);
            break;
        case kMouseMove: TrackPoint(*point, false); break;
        case kMouseRelease:
            StopTimer();
            OnRelease(*point);
            if (selection_ != selectionAtPress_)
                NotifySelection();
            break;
        default: break;
        }
        return true;
    }
    default: return CInputFrame::HandleMessage(message, sender);
    }
}

bool CListBox::OnTimer()
{
    if (CWind* window = GetOwnerWnd()) {
        CPoint point;
        window->GetCursorPos(point, false);
        TrackPoint(point, false);
    }
    return true;
}

void CListBox::DrawContent(CDrawEnv* env, const CRect&)
{
    if (!env)
        return;
    const CRect& drawn = GetDrawnRect();
    CRect content = drawn;
    content.SetRight(static_cast<int16_t>(drawn.GetRight() - barWidth_));
    if (bar_)
        bar_->SetFlags(IsTransparent() ? bar_->GetFlags() | kFlagTransparent
                                       : bar_->GetFlags() & ~kFlagTransparent);
    const int32_t color = env->GetForeColor();
    if (!IsTransparent()) {
        env->SetTextColor(static_cast<int32_t>(GetBackColor()));
        env->FillRect(drawn);
    }
    if (HasBorder()) {
        env->SetPen(static_cast<int32_t>(GetForeColor()), HasFocus() ? 2 : 1);
        env->FrameRect(content);
        env->SetPen(color, 1);
    }
    env->SetTextColor(color);
    for (int32_t i = 0; i < rows_ && top_ + i < count_; ++i) {
        const auto rowTop = static_cast<int16_t>(drawn.GetTop() + margin_ + i * itemHeight_);
        itemRect_.Set(rowTop, static_cast<int16_t>(content.GetLeft() + 2),
                      static_cast<int16_t>(rowTop + itemHeight_),
                      static_cast<int16_t>(drawn.GetRight() - barWidth_ - 2));
        if (!DrawItem(env, top_ + i, itemRect_, top_ + i == selection_))
            break;
    }
}

bool CListBox::DrawItem(CDrawEnv* env, int32_t index, const CRect& rect, bool highlighted)
{
    const int32_t color = env->GetForeColor();
    const int16_t font = env->GetFontId();
    env->SetFont(kItemFont);
    env->SetTextColor(kItemBack);
    env->FillRect(rect);
    const int32_t ink = highlighted ? kItemHilite : kItemText;
    if (highlighted) {
        env->SetPen(kItemHilite, 1);
        env->FrameRect(rect);
        env->SetPen(color, 1);
    }
    char text[64];
    const int length = std::snprintf(text, sizeof text, "item = %d; hilite = %d", static_cast<int>(index),
                                     highlighted ? 1 : 0);
    env->SetTextColor(ink);
    env->DrawTextWrapped(rect, text, length, 0, kBkTransparent);
    env->SetTextColor(color);
    env->SetFont(font);
    return true;
}

CTListBox::CTListBox(int32_t kind, CRawParser* parser) : CTInputFrame(kind, parser)
{
    imageId_ = parser->ReadLong("imgid");
    imageLibMask_ = static_cast<uint32_t>(parser->ReadLong("imglibmsk"));
}
