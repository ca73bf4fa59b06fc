#include "game/base/IdStack.h"

#include <cstddef>

CIdStack::CIdStack(int16_t capacity) : entries_(capacity > 0 ? static_cast<size_t>(capacity) : 0, -1) {}

bool CIdStack::Push(int16_t id)
{
    if (top_ + 1 >= static_cast<int32_t>(entries_.size()))
        return false;
    entries_[static_cast<size_t>(++top_)] = id;
    return true;
}

int16_t CIdStack::Pop()
{
    if (top_ < 0)
        return -1;
    const int16_t id = entries_[static_cast<size_t>(top_)];
    entries_[static_cast<size_t>(top_--)] = -1;
    return id;
}

int16_t CIdStack::Peek() const { return top_ < 0 ? -1 : entries_[static_cast<size_t>(top_)]; }

bool CIdStack::Contains(int16_t id) const
{
    for (int16_t i = 0; i <= top_; ++i)
        if (entries_[static_cast<size_t>(i)] == id)
            return true;
    return false;
}
