#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/resources/RsrcCache.h"

namespace {

// Cached objects are named; deleting one records its name, so a test sees what was evicted
// and in which order.
std::vector<std::string>* g_deleted = nullptr;

void DeleteNamed(void* object)
{
    auto* name = static_cast<std::string*>(object);
    if (g_deleted)
        g_deleted->push_back(*name);
    delete name;
}

class RsrcCacheTest : public ::testing::Test {
protected:
    RsrcCacheTest() { g_deleted = &deleted; }
    ~RsrcCacheTest() override { g_deleted = nullptr; }

    // Adds a named object and returns it.
    std::string* Add(CRsrcCache& cache, const char* name, int32_t id, int32_t size, int16_t priority,
                     const char* key = "BMPD")
    {
        auto* object = new std::string(name);
        cache.Add(object, key, id, size, DeleteNamed, priority);
        return object;
    }
    static std::vector<std::string> Names(const CList& list)
    {
        std::vector<std::string> out;
        for (const CList::Node* n = list.GetHeadNode(); n; n = n->next)
            out.push_back(*static_cast<std::string*>(static_cast<CRsrcCacheEntry*>(n->item)->GetObject()));
        return out;
    }

    std::vector<std::string> deleted;
};

} // namespace

TEST_F(RsrcCacheTest, AddingMakesRoomFromTheReleased)
{
    CRsrcCache cache(150);
    std::string* old = Add(cache, "old", 1, 80, 1);
    cache.Release(old, false);
    Add(cache, "new", 2, 100, 1);
    EXPECT_EQ(deleted, std::vector<std::string>{"old"});
    EXPECT_EQ(cache.GetTotal(), 100);
    EXPECT_EQ(cache.GetFreeSpace(), 50);
}

TEST_F(RsrcCacheTest, EvictionTable)
{
    // Released entries go by priority, then by the order of release; entries in use stay.
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, int16_t>> released; // in the order of release
        int32_t free;                                          // bytes asked of FreeBytes
        std::vector<std::string> evicted;
        int32_t freed;
    };
    const Case cases[] = {
        {"priorities 2, 1, 1", {{"a2", 2}, {"b1", 1}, {"c1", 1}}, 1000, {"b1", "c1", "a2"}, 30},
        {"stops once enough is freed", {{"a2", 2}, {"b1", 1}, {"c1", 1}}, 15, {"b1", "c1"}, 20},
        {"the last entry may pass the amount", {{"a1", 1}, {"b1", 1}}, 1, {"a1"}, 10},
        {"nothing asked frees nothing", {{"a1", 1}}, 0, {}, 0},
        {"negative priorities first", {{"a0", 0}, {"b-", -3}}, 10, {"b-"}, 10},
    };
    for (const Case& k : cases) {
        deleted.clear();
        {
            CRsrcCache cache(1000);
            Add(cache, "in use", 99, 10, -100);
            for (const auto& [name, priority] : k.released)
                cache.Release(Add(cache, name, 0, 10, priority), false);
            EXPECT_EQ(cache.FreeBytes(k.free), k.freed) << k.name;
            EXPECT_EQ(deleted, k.evicted) << k.name;
            EXPECT_EQ(Names(cache.GetInUse()), std::vector<std::string>{"in use"}) << k.name;
            deleted.clear();
        }
        // The destructor frees the released entries first, then those in use.
        EXPECT_EQ(deleted.back(), "in use") << k.name;
    }
}

TEST_F(RsrcCacheTest, FindTakesAReleasedEntryBackInUse)
{
    CRsrcCache cache(1000);
    std::string* a = Add(cache, "a", 7, 10, 1);
    Add(cache, "b", 8, 10, 1);
    EXPECT_TRUE(cache.Release(a, false));
    EXPECT_EQ(Names(cache.GetReleased()), std::vector<std::string>{"a"});

    EXPECT_EQ(cache.Find("BMPD", 7), a);
    EXPECT_EQ(Names(cache.GetInUse()), (std::vector<std::string>{"b", "a"}));
    EXPECT_TRUE(cache.GetReleased().IsEmpty());
    auto* entry = static_cast<CRsrcCacheEntry*>(cache.GetInUse().GetTailNode()->item);
    EXPECT_EQ(entry->GetUseCount(), 1);

    // Found again while in use: two uses, so one release keeps it in use.
    EXPECT_EQ(cache.Find("BMPD", 7), a);
    EXPECT_EQ(entry->GetUseCount(), 2);
    cache.Release(a, false);
    EXPECT_TRUE(cache.GetReleased().IsEmpty());
    EXPECT_EQ(cache.Find("BMPD", 9), nullptr);
    EXPECT_EQ(cache.Find("CBD", 7), nullptr);
}

TEST_F(RsrcCacheTest, ThreeCharacterKeysGetAnUnderscore)
{
    EXPECT_EQ(CRsrcCache::MakeKey("RLS"), CRsrcCache::MakeKey("_RLS"));
    EXPECT_NE(CRsrcCache::MakeKey("RLS"), CRsrcCache::MakeKey("RLES"));
    EXPECT_EQ(CRsrcCache::MakeKey("STRLIST"), CRsrcCache::MakeKey("STRL"));
    EXPECT_NE(CRsrcCache::MakeKey("AB"), CRsrcCache::MakeKey("_AB"));
    EXPECT_EQ(CRsrcCache::MakeKey(nullptr), 0u);

    CRsrcCache cache(1000);
    std::string* s = Add(cache, "sprite", 3, 10, 1, "RLS");
    EXPECT_EQ(cache.Find("_RLS", 3), s);
    EXPECT_TRUE(cache.ReleaseById("_RLS", 3, false));
    EXPECT_TRUE(cache.ReleaseById("RLS", 3, false));
    EXPECT_EQ(Names(cache.GetReleased()), std::vector<std::string>{"sprite"});
}

TEST_F(RsrcCacheTest, ReleaseRules)
{
    CRsrcCache cache(1000);
    std::string* a = Add(cache, "a", 1, 10, 1);
    std::string other("not cached");
    EXPECT_FALSE(cache.Release(&other, false));
    EXPECT_FALSE(cache.ReleaseById("BMPD", 2, false));

    // A discarding release of an entry still used elsewhere only drops one use.
    cache.Find("BMPD", 1);
    EXPECT_TRUE(cache.Release(a, true));
    EXPECT_TRUE(deleted.empty());
    EXPECT_EQ(Names(cache.GetInUse()), std::vector<std::string>{"a"});
    // The last use with discard deletes it at once.
    EXPECT_TRUE(cache.Release(a, true));
    EXPECT_EQ(deleted, std::vector<std::string>{"a"});
    EXPECT_EQ(cache.GetTotal(), 0);
    // Released already: not in use any more.
    std::string* b = Add(cache, "b", 2, 10, 1);
    cache.Release(b, false);
    EXPECT_FALSE(cache.Release(b, false));
}

TEST_F(RsrcCacheTest, TheLimitIsSoft)
{
    CRsrcCache cache(100);
    Add(cache, "a", 1, 80, 1);
    Add(cache, "b", 2, 80, 1); // nothing released to free: both stay
    EXPECT_EQ(cache.GetTotal(), 160);
    EXPECT_EQ(cache.GetFreeSpace(), -60);
    EXPECT_TRUE(deleted.empty());
    cache.SetLimit(500);
    EXPECT_EQ(cache.GetFreeSpace(), 340);
}

TEST_F(RsrcCacheTest, FlushAndPurge)
{
    CRsrcCache cache(1000);
    cache.Release(Add(cache, "s1", 1, 10, 1, "STRL"), false);
    cache.Release(Add(cache, "b1", 1, 10, 1, "BMPD"), false);
    cache.Release(Add(cache, "s2", 2, 10, 1, "STRL"), false);
    Add(cache, "s3", 3, 10, 1, "STRL"); // in use: never purged
    cache.PurgeKey("STRL");
    EXPECT_EQ(deleted, (std::vector<std::string>{"s1", "s2"}));
    EXPECT_EQ(cache.GetTotal(), 20);
    cache.FlushReleased();
    EXPECT_EQ(deleted, (std::vector<std::string>{"s1", "s2", "b1"}));
    EXPECT_EQ(Names(cache.GetInUse()), std::vector<std::string>{"s3"});
}
