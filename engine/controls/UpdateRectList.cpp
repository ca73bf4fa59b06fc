#include "engine/controls/UpdateRectList.h"

namespace {

// Rounds through unsigned 16-bit arithmetic, so an edge near the top of the range wraps
// instead of overflowing.
int16_t RoundDown4(int16_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v) & 0xFFFCu); }

int16_t RoundUp4(int16_t v)
{
    const auto u = static_cast<uint16_t>(v);
    return (u & 3u) ? static_cast<int16_t>((u & 0xFFFCu) + 4u) : v;
}

// The overlap test of one axis: `a` is the span ending first (the added one on a tie).
// Merging pays when the overlap is more than half of the joint extent.
bool AxisMerges(int32_t aLow, int32_t aHigh, int32_t bLow, int32_t bHigh)
{
    return aHigh - bLow > (bHigh - aLow) >> 1;
}

bool SpanMerges(int16_t addedLow, int16_t addedHigh, int16_t existingLow, int16_t existingHigh)
{
    if (addedHigh <= existingHigh)
        return AxisMerges(addedLow, addedHigh, existingLow, existingHigh);
    return AxisMerges(existingLow, existingHigh, addedLow, addedHigh);
}

} // namespace

CUpdateRectList::CUpdateRectList() { Clear(); }

void CUpdateRectList::Clear()
{
    count_ = 0;
    head_.next = &head_;
}

CRect CUpdateRectList::Align(const CRect& rect)
{
    return CRect(rect.GetTop(), RoundDown4(rect.GetLeft()), rect.GetBottom(), RoundUp4(rect.GetRight()));
}

bool CUpdateRectList::ShouldMerge(const CRect& added, const CRect& existing)
{
    return SpanMerges(added.GetLeft(), added.GetRight(), existing.GetLeft(), existing.GetRight()) ||
           SpanMerges(added.GetTop(), added.GetBottom(), existing.GetTop(), existing.GetBottom());
}

void CUpdateRectList::Add(const CRect& rect)
{
    const CRect r = Align(rect);
    for (int16_t i = static_cast<int16_t>(count_ - 1); i >= 0; --i) {
        const CRect& entry = entries_[i].rect;
        // CRect::Intersects (edges inclusive), written out: this loop runs for every
        // rectangle drawn, over every entry.
        if (entry.GetBottom() < r.GetTop() || r.GetBottom() < entry.GetTop() ||
            entry.GetRight() < r.GetLeft() || r.GetRight() < entry.GetLeft() || !ShouldMerge(r, entry))
            continue;
        work_ = entry;
        entries_[i].rect = r | work_;
        return;
    }
    if (count_ == kCapacity) {
        // No room for another entry: the last one grows to cover the new area, so nothing
        // dirty is ever dropped.
        entries_[count_ - 1].rect |= r;
        return;
    }
    Entry& e = entries_[count_++];
    e.rect = r;
    e.next = head_.next;
    head_.next = &e;
}

bool CUpdateRectList::Intersects(const CRect& rect) const
{
    for (int16_t i = static_cast<int16_t>(count_ - 1); i >= 0; --i)
        if (rect.Intersects(entries_[i].rect))
            return true;
    return false;
}

bool CUpdateRectList::GetAt(CRect& out, int16_t i) const
{
    if (i < 0 || i >= count_)
        return false;
    out = entries_[i].rect;
    return true;
}
