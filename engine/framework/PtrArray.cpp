#include "engine/framework/PtrArray.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr int32_t kEntry = static_cast<int32_t>(sizeof(void*));
constexpr int32_t kMaxCount = std::numeric_limits<int32_t>::max() / kEntry;

} // namespace

CPtrArray::~CPtrArray()
{
    for (CPtrArrayCursor* c : cursors_)
        c->array_ = nullptr;
}

void* CPtrArray::GetAt(int32_t i)
{
    if (i < 0 || i >= count_)
        return nullptr;
    void** entries = Lock();
    void* item = entries[i];
    Unlock();
    return item;
}

bool CPtrArray::Grow(int32_t newCount)
{
    if (newCount < 0 || newCount > kMaxCount || !storage_.Resize(newCount * kEntry))
        return false;
    count_ = newCount;
    return true;
}

bool CPtrArray::AddMany(int32_t n, void* const* items)
{
    if (n <= 0 || n > kMaxCount - count_)
        return n == 0;
    const int32_t first = count_;
    if (!Grow(count_ + n))
        return false;
    void** entries = Lock();
    std::copy(items, items + n, entries + first);
    Unlock();
    return true;
}

bool CPtrArray::SetAt(int32_t i, void* item)
{
    if (i < 0)
        return false;
    if (i >= count_ && !Grow(i + 1)) // the storage zero-fills what it adds
        return false;
    void** entries = Lock();
    entries[i] = item;
    Unlock();
    return true;
}

int32_t CPtrArray::IndexOf(const void* item)
{
    if (count_ == 0)
        return -1;
    void** entries = Lock();
    int32_t found = -1;
    for (int32_t i = 0; i < count_ && found < 0; ++i)
        if (entries[i] == item)
            found = i;
    Unlock();
    return found;
}

int32_t CPtrArray::FindFreeSlot()
{
    const int32_t i = IndexOf(nullptr);
    if (i >= 0)
        return i;
    return Add(nullptr) ? count_ - 1 : -1;
}

void CPtrArray::RemoveAt(int32_t i)
{
    if (i < 0 || i >= count_)
        return;
    void** entries = Lock();
    std::memmove(entries + i, entries + i + 1, static_cast<size_t>(count_ - 1 - i) * sizeof(void*));
    Unlock();
    // Shrinking never fails; the count follows the storage.
    storage_.Resize((count_ - 1) * kEntry);
    --count_;
    for (CPtrArrayCursor* c : cursors_)
        if (c->index > i)
            --c->index;
}

void CPtrArray::RemoveAll()
{
    storage_.Resize(0);
    count_ = 0;
    for (CPtrArrayCursor* c : cursors_)
        c->index = 0;
}

void CPtrArray::Swap(int32_t i, int32_t j)
{
    if (i < 0 || j < 0 || i >= count_ || j >= count_)
        return;
    void** entries = Lock();
    std::swap(entries[i], entries[j]);
    Unlock();
}

CPtrArrayCursor::CPtrArrayCursor(CPtrArray& array, int32_t start) : index(start), array_(&array)
{
    array.cursors_.push_back(this);
}

CPtrArrayCursor::~CPtrArrayCursor()
{
    if (!array_)
        return;
    auto& list = array_->cursors_;
    list.erase(std::find(list.begin(), list.end(), this));
}
