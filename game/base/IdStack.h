#pragma once
// CIdStack: a bounded stack of 16-bit ids (the module manager's pending and suspended
// modules). Entries above the top hold -1. A full stack refuses a push.
#include <cstdint>
#include <vector>

class CIdStack {
public:
    explicit CIdStack(int16_t capacity);

    // False (and nothing changes) when the stack is full.
    bool Push(int16_t id);
    // The top entry, taken off; -1 when empty.
    int16_t Pop();
    // The top entry; -1 when empty.
    int16_t Peek() const;
    bool Contains(int16_t id) const;
    // The entries, bottom first (the whole capacity).
    const int16_t* GetBuffer() const { return entries_.data(); }
    int16_t GetCapacity() const { return static_cast<int16_t>(entries_.size()); }
    // The number of entries on the stack.
    int16_t GetDepth() const { return static_cast<int16_t>(top_ + 1); }

private:
    std::vector<int16_t> entries_;
    int16_t top_ = -1;
};
