#include "engine/graphics/CachedImages.h"

#include "engine/graphics/BitmapSet.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RsrcCache.h"

namespace {

constexpr const char* kCelKey = "RLS";
constexpr const char* kBitmapKey = "CBD";

// The cache holds collections by their base class.
void DeleteCached(void* object) { delete static_cast<CRsrcColl*>(object); }

template <class T> T* FindCached(CRsrcCache* cache, const char* key, int32_t id)
{
    return cache ? static_cast<T*>(static_cast<CRsrcColl*>(cache->Find(key, id))) : nullptr;
}

// Gives shared data back: released when the cache holds it in use, else deleted.
void GiveBack(CRsrcCache* cache, CRsrcColl* data)
{
    if (data && !(cache && cache->Release(static_cast<void*>(data), false)))
        delete data;
}

std::unique_ptr<CMemory> LoadBlock(const char* type, int32_t id, uint32_t mask, bool quiet)
{
    return GetLibMgr()->LoadResource(type, id, mask, !quiet);
}

// Adds freshly made data to the cache when one is given and the priority asks for it; the
// cache to hand to the image set (null when the set keeps the data for itself).
CRsrcCache* Share(CRsrcCache* cache, CRsrcColl* data, const char* key, int32_t id, int16_t priority)
{
    if (!cache || priority < 0)
        return nullptr;
    cache->Add(static_cast<void*>(data), key, id, data->GetByteSize(), DeleteCached, priority);
    return cache;
}

} // namespace

CLibRleImgSet::CLibRleImgSet(CCelList* cels, CRsrcCache* cache) : CRleImgSet(cels, 0), cache_(cache) {}

CLibRleImgSet::~CLibRleImgSet() { GiveBack(cache_, TakeSource()); }

CLibRsrcList::CLibRsrcList(CBitmapSet* bitmaps, CRsrcCache* cache) : CRsrcList(bitmaps, 0), cache_(cache) {}

CLibRsrcList::~CLibRsrcList() { GiveBack(cache_, TakeSource()); }

std::unique_ptr<CLibRleImgSet> LoadRleImgSet(CRsrcCache* cache, int32_t id, uint32_t mask, int16_t priority,
                                             bool quiet, const char* key)
{
    const char* celKey = key ? key : kCelKey;
    if (auto* cels = FindCached<CCelList>(cache, celKey, id))
        return std::make_unique<CLibRleImgSet>(cels, cache);
    std::unique_ptr<CMemory> block = LoadBlock("RLS", id, mask, quiet);
    if (!block)
        return nullptr;
    auto* cels = new CCelList(std::move(block));
    return std::make_unique<CLibRleImgSet>(cels, Share(cache, cels, celKey, id, priority));
}

std::unique_ptr<CLibRsrcList> LoadCbmImgSet(CRsrcCache* cache, int32_t id, uint32_t mask, int16_t priority,
                                            bool quiet, const char* key)
{
    const char* bitmapKey = key ? key : kBitmapKey;
    if (auto* bitmaps = FindCached<CBitmapSet>(cache, bitmapKey, id))
        return std::make_unique<CLibRsrcList>(bitmaps, cache);
    std::unique_ptr<CMemory> block = LoadBlock("CBM", id, mask, quiet);
    if (!block)
        return nullptr;
    auto bitmaps = std::make_unique<CBitmapSet>(std::move(block));
    if (!bitmaps->IsComplete()) {
        // Bitmaps could not be made: free cached images worth its size and try once more.
        if (cache)
            cache->MakeRoom(bitmaps->GetByteSize());
        bitmaps.reset();
        block = LoadBlock("CBM", id, mask, quiet);
        if (!block)
            return nullptr;
        bitmaps = std::make_unique<CBitmapSet>(std::move(block));
    }
    CBitmapSet* data = bitmaps.release();
    return std::make_unique<CLibRsrcList>(data, Share(cache, data, bitmapKey, id, priority));
}
