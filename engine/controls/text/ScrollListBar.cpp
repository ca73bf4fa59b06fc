// The scroll list's bar: a platform scroll-bar control along the right edge that tells the
// list with message -18 when the user moved it.
#include "engine/controls/native/ScrollBarCtl.h"
#include "engine/controls/text/ScrollList.h"

namespace {

CRect BarRect(const CRect& drawn)
{
    return CRect(drawn.GetTop(), static_cast<int16_t>(drawn.GetRight() - CScrollList::kBarWidth),
                 drawn.GetBottom(), drawn.GetRight());
}

} // namespace

void CScrollList::MakeScrollBar()
{
    bar_ = new CScrollBarCtl(kNewId, BarRect(GetDrawnRect()), kMsgScrolled, this, 0, 0, 0, 0);
    AddChild(bar_, false);
}

void CScrollList::ShowScrollBar(bool show)
{
    if (!bar_)
        return;
    if (show)
        bar_->Show(false);
    else
        bar_->Hide(false, true);
}

void CScrollList::PlaceScrollBar()
{
    if (bar_)
        bar_->SetBounds(BarRect(GetDrawnRect()));
}

void CScrollList::SetBarRange()
{
    if (!bar_ || !hasScrollBar_)
        return;
    bar_->SetPage(fitRows_);
    bar_->SetMax(static_cast<int16_t>(totalRows_ - fitRows_));
}

void CScrollList::SetBarValue()
{
    if (bar_ && hasScrollBar_)
        bar_->SetValue(topRow_);
}

int16_t CScrollList::GetBarValue() const { return bar_ ? bar_->GetValue() : topRow_; }
