#include "engine/controls/RsrcTplList.h"

#include <cstdio>

#include "engine/framework/Diag.h"
#include "engine/graphics/CachedImages.h"

namespace {

// |id| in unsigned arithmetic (the most negative id stays negative and finds nothing).
int32_t Magnitude(int32_t id)
{
    return static_cast<int32_t>(id < 0 ? 0u - static_cast<uint32_t>(id) : static_cast<uint32_t>(id));
}

} // namespace

std::unique_ptr<CImgSet> CRsrcTplList::LoadImage(uint32_t libraryMask, int32_t id, bool colourBitmap,
                                                 bool quiet)
{
    return LoadThrough(nullptr, -1, libraryMask, id, colourBitmap, quiet, "TplList", 122);
}

std::unique_ptr<CImgSet> CRsrcTplList::LoadThrough(CRsrcCache* cache, int16_t priority, uint32_t libraryMask,
                                                   int32_t id, bool colourBitmap, bool quiet,
                                                   const char* source, uint32_t line)
{
    if (id == 0)
        return nullptr;
    const int32_t resource = Magnitude(id);
    std::unique_ptr<CImgSet> images;
    if (colourBitmap)
        images = LoadCbmImgSet(cache, resource, libraryMask, priority, quiet);
    else
        images = LoadRleImgSet(cache, resource, libraryMask, priority, quiet);
    if (!images && !quiet && GetDebugSwitch()) {
        char text[96];
        std::snprintf(text, sizeof text, "  TPL %ld - missing %s %ld.", static_cast<long>(GetId()),
                      colourBitmap ? "CBM" : "RLS", static_cast<long>(id));
        ReportError(kReportDebugWarning, text, source, line);
    }
    return images;
}
