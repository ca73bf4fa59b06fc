#include "engine/controls/TplList.h"

#include "engine/framework/TplRec.h"
#include "engine/resources/RsrcBlock.h"
#include "engine/resources/RsrcCache.h"
#include "engine/resources/TplRecLoader.h"

namespace {

constexpr const char* kStringListKey = "STRL";
constexpr int16_t kSharedPriority = 1;
// Freed from the released entries when a shared image leaves the cache without room.
constexpr int32_t kRoomAfterImage = 30720;

void DeleteStringList(void* list) { delete static_cast<CTplRec*>(list); }

} // namespace

CTplList::CTplList(std::unique_ptr<CRsrcBlock> text, CRsrcCache* cache)
    : CRsrcTplList(std::move(text)), cache_(cache)
{
}

CTplList::CTplList(int32_t templateId, uint32_t libraryMask, CRsrcCache* cache)
    : CRsrcTplList(templateId, libraryMask), cache_(cache)
{
}

CTplList::~CTplList()
{
    if (cache_)
        cache_->PurgeKey(kStringListKey);
}

std::unique_ptr<CImgSet> CTplList::LoadImage(uint32_t libraryMask, int32_t id, bool colourBitmap, bool quiet)
{
    if (!cache_ || id > 0)
        return LoadThrough(nullptr, -1, libraryMask, id, colourBitmap, quiet, "CTplList", 127);
    std::unique_ptr<CImgSet> images =
        LoadThrough(cache_, kSharedPriority, libraryMask, id, colourBitmap, quiet, "CTplList", 127);
    if (cache_->GetFreeSpace() < 1)
        cache_->FreeBytes(kRoomAfterImage);
    return images;
}

const CTplRec* CTplList::AcquireStringList(uint32_t libraryMask, int32_t listId,
                                           std::unique_ptr<CTplRec>& owned)
{
    if (!cache_)
        return CRsrcTplList::AcquireStringList(libraryMask, listId, owned);
    if (void* cached = cache_->Find(kStringListKey, listId))
        return static_cast<const CTplRec*>(cached);
    std::unique_ptr<CTplRec> list = CreateTplRec(listId, libraryMask, false);
    if (!list)
        return nullptr;
    CTplRec* shared = list.release();
    cache_->Add(shared, kStringListKey, listId, shared->GetMemorySize(), DeleteStringList, kSharedPriority);
    return shared;
}

void CTplList::ReleaseStringList(const CTplRec* list)
{
    if (cache_)
        cache_->Release(list, false);
}
