// The scroll list's bar. Until the platform scroll-bar control exists the list keeps the bar's
// place free and scrolls only through ScrollTo.
#include "engine/controls/text/ScrollList.h"

void CScrollList::MakeScrollBar() {}

void CScrollList::ShowScrollBar(bool) {}

void CScrollList::PlaceScrollBar() {}

void CScrollList::SetBarRange() {}

void CScrollList::SetBarValue() {}

int16_t CScrollList::GetBarValue() const { return topRow_; }
