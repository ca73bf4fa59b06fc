#include "engine/resources/RsrcCache.h"

#include <cstring>

namespace {

// Sizes add and subtract with wrapping, as 32-bit counts do.
int32_t Plus(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
int32_t Minus(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

} // namespace

CRsrcCacheEntry::~CRsrcCacheEntry()
{
    if (deleter_ && object_)
        deleter_(object_);
}

CRsrcCache::CRsrcCache(int32_t limit) : limit_(limit) {}

CRsrcCache::~CRsrcCache()
{
    FlushReleased();
    for (Node* n = inUse_.GetHeadNode(); n; n = n->next)
        delete EntryOf(n);
    inUse_.RemoveAll();
    total_ = 0;
}

uint32_t CRsrcCache::MakeKey(const char* key)
{
    char chars[4] = {};
    if (key) {
        const size_t length = strnlen(key, 4);
        if (length == 3) {
            chars[0] = '_';
            std::memcpy(chars + 1, key, 3);
        } else {
            std::memcpy(chars, key, length);
        }
    }
    uint32_t value = 0;
    std::memcpy(&value, chars, 4); // the characters in memory order
    return value;
}

template <class Match> CList::Node* CRsrcCache::FindIn(const CList& list, Match match)
{
    for (Node* n = list.GetHeadNode(); n; n = n->next)
        if (match(*EntryOf(n)))
            return n;
    return nullptr;
}

void* CRsrcCache::Find(uint32_t key, int32_t id)
{
    const auto same = [&](const CRsrcCacheEntry& e) { return e.GetKey() == key && e.GetId() == id; };
    if (Node* n = FindIn(inUse_, same)) {
        EntryOf(n)->AddUse();
        return EntryOf(n)->GetObject();
    }
    if (Node* n = FindIn(released_, same)) {
        CRsrcCacheEntry* entry = EntryOf(n);
        released_.RemoveNode(n);
        inUse_.AddTail(entry);
        entry->AddUse();
        return entry->GetObject();
    }
    return nullptr;
}

void CRsrcCache::Add(void* object, uint32_t key, int32_t id, int32_t size, CacheDeleter deleter,
                     int16_t priority)
{
    MakeRoom(size);
    total_ = Plus(total_, size);
    inUse_.AddTail(new CRsrcCacheEntry(object, key, id, size, deleter, priority));
}

bool CRsrcCache::ReleaseNode(Node* node, bool discard)
{
    if (!node)
        return false;
    CRsrcCacheEntry* entry = EntryOf(node);
    entry->DropUse();
    if (entry->GetUseCount() > 0)
        return true;
    inUse_.RemoveNode(node);
    // Before the first released entry of a greater priority: equal priorities keep the
    // order of release.
    Node* before =
        FindIn(released_, [&](const CRsrcCacheEntry& e) { return e.GetPriority() > entry->GetPriority(); });
    Node* placed = before ? released_.InsertBefore(entry, before) : released_.AddTail(entry);
    if (discard)
        DeleteReleased(placed);
    return true;
}

bool CRsrcCache::Release(const void* object, bool discard)
{
    return ReleaseNode(FindIn(inUse_, [&](const CRsrcCacheEntry& e) { return e.GetObject() == object; }),
                       discard);
}

bool CRsrcCache::ReleaseById(uint32_t key, int32_t id, bool discard)
{
    return ReleaseNode(
        FindIn(inUse_, [&](const CRsrcCacheEntry& e) { return e.GetKey() == key && e.GetId() == id; }),
        discard);
}

void CRsrcCache::DeleteReleased(Node* node)
{
    CRsrcCacheEntry* entry = EntryOf(node);
    released_.RemoveNode(node);
    total_ = Minus(total_, entry->GetSize());
    delete entry;
}

void CRsrcCache::MakeRoom(int32_t n)
{
    const int64_t excess = int64_t{total_} + n - limit_;
    if (excess > 0)
        FreeBytes(static_cast<int32_t>(excess > INT32_MAX ? INT32_MAX : excess));
}

int32_t CRsrcCache::FreeBytes(int32_t n)
{
    int64_t left = n;
    int64_t freed = 0;
    while (left > 0 && released_.GetHeadNode()) {
        const int32_t size = EntryOf(released_.GetHeadNode())->GetSize();
        left -= size;
        freed += size;
        DeleteReleased(released_.GetHeadNode());
    }
    return static_cast<int32_t>(freed);
}

void CRsrcCache::FlushReleased()
{
    while (Node* n = released_.GetHeadNode())
        DeleteReleased(n);
}

void CRsrcCache::PurgeKey(uint32_t key)
{
    Node* n = released_.GetHeadNode();
    while (n) {
        Node* next = n->next;
        if (EntryOf(n)->GetKey() == key)
            DeleteReleased(n);
        n = next;
    }
}
