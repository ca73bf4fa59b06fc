#include "game/base/GameImages.h"

#include <cstring>

#include "engine/framework/Diag.h"
#include "engine/framework/EngineStrings.h"
#include "engine/graphics/CachedImages.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RsrcCache.h"
#include "game/base/GameGlobals.h"

namespace {

constexpr int32_t kMissingImageString = 32;

// A cache left full by a load frees released entries at once.
void FreeWhenFull(CRsrcCache* cache, int32_t bytes)
{
    if (cache && cache->GetFreeSpace() < 1)
        cache->FreeBytes(bytes);
}

std::unique_ptr<CImgSet> Required(std::unique_ptr<CImgSet> image, bool required, uint32_t line)
{
    if (!image && required)
        ReportError(0, GetEngineText(kMissingImageString).c_str(), kImageReportSource, line);
    return image;
}

} // namespace

std::unique_ptr<CImgSet> LoadImage(const char* key, int32_t, int32_t id, bool required, int16_t mode)
{
    CRsrcCache* cache = GetRsrcCache();
    const bool sprite = key && std::strcmp(key, "RLES") == 0;
    if (mode < 1 || !cache) {
        if (sprite)
            return LoadRleImgSet(nullptr, id, CLibMgr::kAllLibraries, -1, true);
        return LoadCbmImgSet(nullptr, id, CLibMgr::kAllLibraries, -1, true);
    }
    if (sprite) {
        std::unique_ptr<CImgSet> image = LoadRleImgSet(cache, id, CLibMgr::kAllLibraries, mode, true, "RLES");
        FreeWhenFull(cache, kSpriteFlushBytes);
        return Required(std::move(image), required, kMissingSpriteLine);
    }
    std::unique_ptr<CImgSet> image = LoadCbmImgSet(cache, id, CLibMgr::kAllLibraries, mode, true, "BMPD");
    FreeWhenFull(cache, kPictureFlushBytes);
    return Required(std::move(image), required, kMissingPictureLine);
}
