#include "game/landmarks/LmCharVideo.h"

#include "engine/framework/FileSpecs.h"
#include "engine/media/SmackerFrame.h"

namespace {

// A generated id for each video.
constexpr int32_t kNewId = -2;

LmCharVideoMaker& Maker()
{
    static LmCharVideoMaker maker;
    return maker;
}

} // namespace

void SetLmCharVideoMaker(LmCharVideoMaker maker) { Maker() = std::move(maker); }

std::unique_ptr<CSmackerFrame> MakeLmCharVideo(const CPoint& at, int32_t clipId, uint32_t libMask,
                                               const char* fileName, uint32_t flags)
{
    if (const LmCharVideoMaker& maker = Maker())
        return maker(at, clipId, libMask, fileName, flags);
    if (clipId != 0)
        return std::make_unique<CSmackerFrame>(kNewId, at, clipId, libMask, flags, nullptr, 0);
    return std::make_unique<CSmackerFrame>(kNewId, at, std::make_unique<CFileSpec>(fileName), flags);
}
