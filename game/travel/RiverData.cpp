#include "game/travel/RiverData.h"

#include <algorithm>

#include "game/travel/GameRecord.h"

CRiverData::CRiverData(int16_t id)
{
    const CGameRecord record("RVR", id);
    for (int i = 0; i < kValueCount; ++i)
        values_[static_cast<size_t>(i)] = record.Short(2 * i);
    depth_ = static_cast<int16_t>(std::max(1, GetValue(kDepthNormal) * 6 / 5));
    width_ = CutWidth(GetValue(kWidthNormal));
    swiftness_ = std::clamp<int16_t>(GetValue(kSwiftness), 1, 5);
    fee1_ = GetValue(kFee1Base);
}

int16_t CRiverData::CutWidth(int32_t width)
{
    if (width > 900)
        width -= width % 100;
    else if (width > 200)
        width -= width % 50;
    else if (width > 50)
        width -= width % 10;
    return static_cast<int16_t>(std::max(10, width));
}
