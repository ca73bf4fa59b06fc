#pragma once
// CRsrcCache: keeps decoded images and loaded string lists after their users are done with
// them, up to a size limit, so that the next request for the same (key, id) finds them ready.
//
// Entries in use are never freed. Each Find or Add counts one use and each user releases once
// per use; an entry whose uses fall to 0 moves to the released list, which is ordered by
// priority (lowest first) and, within a priority, by the time of release. Room is made by
// freeing released entries from the head of that list. The limit is soft: entries in use
// count towards the total but are never evicted, so the total may exceed the limit.
//
// Keys are four characters held as one 32-bit value; a three-character key is held as an
// underscore and its three characters, so "RLS" and "_RLS" name the same entries.
#include <cstdint>

#include "engine/framework/List.h"

// Destroys a cached object.
using CacheDeleter = void (*)(void* object);

class CRsrcCacheEntry {
public:
    CRsrcCacheEntry(void* object, uint32_t key, int32_t id, int32_t size, CacheDeleter deleter,
                    int16_t priority)
        : object_(object), key_(key), id_(id), size_(size), deleter_(deleter), priority_(priority)
    {
    }
    CRsrcCacheEntry(const CRsrcCacheEntry&) = delete;
    CRsrcCacheEntry& operator=(const CRsrcCacheEntry&) = delete;
    // Destroys the object through the deleter.
    virtual ~CRsrcCacheEntry();

    void* GetObject() const { return object_; }
    uint32_t GetKey() const { return key_; }
    int32_t GetId() const { return id_; }
    int32_t GetSize() const { return size_; }
    int16_t GetPriority() const { return priority_; }
    int16_t GetUseCount() const { return useCount_; }
    void AddUse() { ++useCount_; }
    // One use fewer; the count never falls below 0.
    void DropUse()
    {
        if (useCount_ > 0)
            --useCount_;
    }

private:
    void* object_;
    uint32_t key_;
    int32_t id_;
    int32_t size_;
    CacheDeleter deleter_;
    int16_t priority_;
    int16_t useCount_ = 1;
};

class CRsrcCache {
public:
    explicit CRsrcCache(int32_t limit);
    CRsrcCache(const CRsrcCache&) = delete;
    CRsrcCache& operator=(const CRsrcCache&) = delete;
    // Deletes every released entry, then every entry in use.
    virtual ~CRsrcCache();

    // The 32-bit key of a text: "_" and the three characters of a three-character text,
    // otherwise its first four characters (fewer characters are padded with zeros).
    static uint32_t MakeKey(const char* key);

    // The object of (key, id), searched among the entries in use, then among the released
    // ones (which move back to the tail of the in-use list); one use more. Null when absent.
    void* Find(uint32_t key, int32_t id);
    void* Find(const char* key, int32_t id) { return Find(MakeKey(key), id); }
    // Makes room for the size and adds a new entry in use (one use). An entry of the same key
    // and id is not looked for.
    void Add(void* object, uint32_t key, int32_t id, int32_t size, CacheDeleter deleter, int16_t priority);
    void Add(void* object, const char* key, int32_t id, int32_t size, CacheDeleter deleter, int16_t priority)
    {
        Add(object, MakeKey(key), id, size, deleter, priority);
    }
    // The entry in use holding the object loses one use and is released at 0; with discard a
    // released entry is then deleted at once. False when no entry in use holds the object.
    bool Release(const void* object, bool discard);
    bool ReleaseById(uint32_t key, int32_t id, bool discard);
    bool ReleaseById(const char* key, int32_t id, bool discard)
    {
        return ReleaseById(MakeKey(key), id, discard);
    }

    // When the total and n exceed the limit, frees released entries worth the excess.
    void MakeRoom(int32_t n);
    // Frees released entries from the head until n bytes are freed or none is left; returns
    // the bytes freed (the last entry may take it past n).
    int32_t FreeBytes(int32_t n);
    // The limit minus the total: negative when the entries in use exceed the limit.
    int32_t GetFreeSpace() const { return limit_ - total_; }
    void FlushReleased();
    void PurgeKey(uint32_t key);
    void PurgeKey(const char* key) { PurgeKey(MakeKey(key)); }
    void SetLimit(int32_t n) { limit_ = n; }

    int32_t GetLimit() const { return limit_; }
    int32_t GetTotal() const { return total_; }
    const CList& GetInUse() const { return inUse_; }
    const CList& GetReleased() const { return released_; }

private:
    using Node = CList::Node;
    static CRsrcCacheEntry* EntryOf(const Node* node) { return static_cast<CRsrcCacheEntry*>(node->item); }
    template <class Match> static Node* FindIn(const CList& list, Match match);
    bool ReleaseNode(Node* node, bool discard);
    // Unlinks a released entry, takes its size off the total and deletes it.
    void DeleteReleased(Node* node);

    CList inUse_;
    CList released_;
    int32_t total_ = 0;
    int32_t limit_;
};
