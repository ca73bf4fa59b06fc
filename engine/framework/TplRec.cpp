#include "engine/framework/TplRec.h"

#include <algorithm>

CTplRec::CTplRec(const CTplRec& other) { CopyFrom(other); }

CTplRec::~CTplRec() = default;

void CTplRec::Add(std::unique_ptr<CStr> entry)
{
    if (entry)
        entries_.push_back(std::move(entry));
}

CStr* CTplRec::GetEntry(int32_t i) const
{
    if (i < 0 || i >= GetEntryCount())
        return nullptr;
    return entries_[static_cast<size_t>(i)].get();
}

std::unique_ptr<CStr> CTplRec::GetEntryString(int32_t i) const
{
    const CStr* entry = GetEntry(i);
    return entry ? std::make_unique<CStr>(*entry) : nullptr;
}

int32_t CTplRec::GetEntryLength(int32_t i) const
{
    const CStr* entry = GetEntry(i);
    return entry ? entry->GetLength() : 0;
}

void CTplRec::InsertAt(int32_t i, std::unique_ptr<CStr> entry)
{
    if (!entry)
        return;
    if (i >= GetEntryCount()) {
        Add(std::move(entry));
        return;
    }
    entries_.insert(entries_.begin() + (i < 0 ? 0 : i), std::move(entry));
}

int32_t CTplRec::FindEntry(const CStr* s) const
{
    if (!s)
        return -1;
    for (int32_t i = 0; i < GetEntryCount(); ++i)
        if (*entries_[static_cast<size_t>(i)] == *s)
            return i;
    return -1;
}

void CTplRec::CopyFrom(const CTplRec& other)
{
    if (&other == this || other.GetEntryCount() == 0)
        return;
    Clear();
    for (int32_t i = 0; i < other.GetEntryCount(); ++i)
        Add(other.GetEntryString(i));
    id_ = other.id_;
}

void CTplRec::Clear()
{
    if (entries_.empty())
        return;
    entries_.clear();
    id_ = -1;
}

int32_t CTplRec::GetMemorySize() const
{
    int64_t size = 4 * static_cast<int64_t>(entries_.size()) + 56;
    for (const auto& entry : entries_)
        size += 8 + entry->GetLength();
    return static_cast<int32_t>(std::min<int64_t>(size, INT32_MAX));
}
