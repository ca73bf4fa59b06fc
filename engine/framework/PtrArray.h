#pragma once
// A growable array of untyped pointers whose storage is one memory block, exactly one
// pointer-sized entry per item. The array never owns its items.
//
// Walks that call out while they go (message delivery, the timer queue) hold a
// CPtrArrayCursor: when an entry below a cursor is removed, the cursor moves down with the
// entries, so a walk neither skips the entry that moves into a freed slot nor reads past
// the end.
#include <cstdint>
#include <vector>

#include "engine/framework/Memory.h"

class CPtrArrayCursor;

class CPtrArray {
public:
    CPtrArray() = default;
    CPtrArray(const CPtrArray&) = delete;
    CPtrArray& operator=(const CPtrArray&) = delete;
    virtual ~CPtrArray();

    int32_t GetCount() const { return count_; }
    // Entry i; null when i is out of range.
    void* GetAt(int32_t i);
    // Appends; false (and nothing stored) when the storage cannot grow.
    bool Add(void* item) { return AddMany(1, &item); }
    bool AddMany(int32_t n, void* const* items);
    // Stores the item at i, growing the array to i + 1 entries first when needed (new
    // entries are null). Negative i does nothing.
    bool SetAt(int32_t i, void* item);
    // The first index holding the item; -1 when absent.
    int32_t IndexOf(const void* item);
    // The first index holding null; when there is none, a null entry is appended.
    int32_t FindFreeSlot();
    // Later entries move down by one; nothing for an index out of range.
    void RemoveAt(int32_t i);
    void RemoveAll();
    void Swap(int32_t i, int32_t j);

    // The entries' address while locked.
    void** Lock() { return static_cast<void**>(storage_.Lock()); }
    void Unlock() { storage_.Unlock(); }

private:
    friend class CPtrArrayCursor;
    bool Grow(int32_t newCount);

    int32_t count_ = 0;
    CMemory storage_;
    std::vector<CPtrArrayCursor*> cursors_;
};

// A position in a pointer array that follows removals below it. Set `index` to the next
// entry to visit (forward walks) or one past it (backward walks).
class CPtrArrayCursor {
public:
    CPtrArrayCursor(CPtrArray& array, int32_t start);
    ~CPtrArrayCursor();
    CPtrArrayCursor(const CPtrArrayCursor&) = delete;
    CPtrArrayCursor& operator=(const CPtrArrayCursor&) = delete;

    int32_t index;
    // False once the array has been destroyed under the walk.
    bool Attached() const { return array_ != nullptr; }

private:
    friend class CPtrArray;
    CPtrArray* array_;
};
