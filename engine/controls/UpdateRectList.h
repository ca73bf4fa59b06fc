#pragma once
// CUpdateRectList: the dirty rectangles of an animated frame, the areas to redraw and copy
// to the screen at its next update step. Every rectangle is widened to 4-pixel columns (so
// that copies start and end on 4-byte boundaries of 8-bit rows) and merged into an entry it
// largely overlaps, which keeps the list short. The entries live in a fixed array; nothing
// is allocated per rectangle.
#include <cstdint>

#include "engine/framework/Rect.h"

class CUpdateRectList {
public:
    static constexpr int16_t kCapacity = 500;

    CUpdateRectList();
    CUpdateRectList(const CUpdateRectList&) = delete;
    CUpdateRectList& operator=(const CUpdateRectList&) = delete;
    virtual ~CUpdateRectList() = default;

    void Clear();
    // Aligns the rectangle to 4-pixel columns and merges it into the newest entry it
    // overlaps by more than half of their joint extent along either axis; otherwise appends
    // it. When the list is full, it is merged into the last entry instead.
    void Add(const CRect& rect);
    // True when the rectangle overlaps or touches an entry.
    bool Intersects(const CRect& rect) const;

    int16_t GetCount() const { return count_; }
    // Entry i (0 = the oldest); false and `out` unchanged for an index out of range.
    bool GetAt(CRect& out, int16_t i) const;

    // The left edge rounded down and the right edge rounded up to multiples of 4.
    static CRect Align(const CRect& rect);

private:
    struct Entry {
        CRect rect;
        Entry* next = nullptr;
    };

    static bool ShouldMerge(const CRect& added, const CRect& existing);

    CRect work_; // the entry being compared
    int16_t count_ = 0;
    Entry entries_[kCapacity];
    Entry head_; // starts the chain of entries in use, newest first
};
