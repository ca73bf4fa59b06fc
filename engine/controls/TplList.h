#pragma once
// CTplList: the template list of the programs' screens. With a resource cache, images named
// by negative ids (-id) and the string lists its objects read are shared through the cache,
// so that lists showing the same pictures and texts keep one copy of each: pictures under
// "CBD", sprites under "RLS" and string lists under "STRL", all with priority 1. Images with
// positive ids, and everything without a cache, load as CRsrcTplList loads them.
#include "engine/controls/RsrcTplList.h"

class CTplList : public CRsrcTplList {
public:
    CTplList(std::unique_ptr<CRsrcBlock> text, CRsrcCache* cache);
    CTplList(int32_t templateId, uint32_t libraryMask, CRsrcCache* cache);
    // Deletes the released string lists of the cache, then the templates.
    ~CTplList() override;

    std::unique_ptr<CImgSet> LoadImage(uint32_t libraryMask, int32_t id, bool colourBitmap,
                                       bool quiet) override;
    CRsrcCache* GetCache() const { return cache_; }

protected:
    const CTplRec* AcquireStringList(uint32_t libraryMask, int32_t listId,
                                     std::unique_ptr<CTplRec>& owned) override;
    void ReleaseStringList(const CTplRec* list) override;

private:
    CRsrcCache* cache_;
};
