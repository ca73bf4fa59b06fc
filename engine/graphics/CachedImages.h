#pragma once
// Image sets whose data are shared through the resource cache, and their loaders.
//
// LoadRleImgSet and LoadCbmImgSet find the cel list of sprite "RLS" id (cache key "RLS") or the
// bitmap set of picture "CBM" id (cache key "CBD") in the cache, or load it through the library
// manager and, when a cache is given and the priority is 0 or more, add it to the cache. The
// set returned uses the data and gives it back when it is destroyed: released to the cache
// when the cache holds it, deleted when it was loaded for this set alone.
#include <cstdint>
#include <memory>

#include "engine/graphics/RleImgSet.h"
#include "engine/graphics/RsrcList.h"

class CRsrcCache;
class CBitmapSet;

class CLibRleImgSet : public CRleImgSet {
public:
    // A null cache means the set owns the cel list.
    CLibRleImgSet(CCelList* cels, CRsrcCache* cache);
    ~CLibRleImgSet() override;

private:
    CRsrcCache* cache_;
};

class CLibRsrcList : public CRsrcList {
public:
    // A null cache means the list owns the bitmap set.
    CLibRsrcList(CBitmapSet* bitmaps, CRsrcCache* cache);
    ~CLibRsrcList() override;

private:
    CRsrcCache* cache_;
};

// Null when the sprite cannot be loaded (quiet: no fatal report for a missing one). A program
// that keeps its images under keys of its own names the key (null: the engine's).
std::unique_ptr<CLibRleImgSet> LoadRleImgSet(CRsrcCache* cache, int32_t id, uint32_t mask, int16_t priority,
                                             bool quiet, const char* key = nullptr);
// A bitmap set that could not make all its bitmaps is made once more after room for it is
// made in the cache.
std::unique_ptr<CLibRsrcList> LoadCbmImgSet(CRsrcCache* cache, int32_t id, uint32_t mask, int16_t priority,
                                            bool quiet, const char* key = nullptr);
