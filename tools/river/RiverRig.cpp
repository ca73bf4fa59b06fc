#include "tools/river/RiverRig.h"

#include "engine/graphics/DibSect.h"

namespace {

CRect Sized(int16_t width, int16_t height) { return CRect(0, 0, height, width); }

COffScEnv& Initialised(COffScEnv& env, const CRect& rect)
{
    env.Init(rect, nullptr, false);
    return env;
}

} // namespace

RiverRig::RiverRig(int16_t width, int16_t height, const RiverRecords& records)
    : rect_(Sized(width, height)), frame_(1, rect_, &Initialised(env_, rect_)), view_(&frame_),
      scene_(rect_, env_.GetBitmap(), &view_, &frame_, records.maps, records.heights, records.scenery)
{
}

RiverRig::~RiverRig() = default;

std::vector<uint8_t> RiverRig::Pixels()
{
    CDibSect& bitmap = *env_.GetBitmap();
    std::vector<uint8_t> pixels;
    pixels.reserve(static_cast<size_t>(rect_.GetWidth()) * static_cast<size_t>(rect_.GetHeight()));
    for (int16_t y = 0; y < rect_.GetHeight(); ++y)
        for (int16_t x = 0; x < rect_.GetWidth(); ++x)
            pixels.push_back(bitmap.GetPixel(x, y));
    return pixels;
}
