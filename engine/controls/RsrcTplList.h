#pragma once
// CRsrcTplList: a template list that loads the images its objects name through the library
// manager: "CBM" pictures as bitmap sets, "RLS" sprites as cel lists, each image set owning
// its data.
#include "engine/controls/BTplList.h"

class CRsrcCache;

class CRsrcTplList : public CBTplList {
public:
    using CBTplList::CBTplList;

    // The image set of "CBM" (colourBitmap) or "RLS" resource |id|; null for id 0 or a
    // missing image, which (unless quiet) is reported while the debug switch is on.
    std::unique_ptr<CImgSet> LoadImage(uint32_t libraryMask, int32_t id, bool colourBitmap,
                                       bool quiet) override;

protected:
    // Loads |id|, sharing the data through the cache when one is given (with that priority);
    // the missing-image report names the source file and line given.
    std::unique_ptr<CImgSet> LoadThrough(CRsrcCache* cache, int16_t priority, uint32_t libraryMask,
                                         int32_t id, bool colourBitmap, bool quiet, const char* source,
                                         uint32_t line);
};
