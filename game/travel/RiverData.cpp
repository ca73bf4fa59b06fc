#include "game/travel/RiverData.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "engine/framework/Util.h"
#include "game/travel/GameRecord.h"

namespace {

// A spread this many steps of wetness or more takes the range's thirds, not its halves.
constexpr int32_t kLargeStep = 3;
constexpr int16_t kMinSwiftness = 1;
constexpr int16_t kMaxSwiftness = 5;

struct Range {
    int32_t low;
    int32_t high;
};

} // namespace

CRiverData::CRiverData(int16_t id, const CrossingConditions& conditions)
{
    const CGameRecord record("RVR", id);
    for (int i = 0; i < kValueCount; ++i)
        values_[static_cast<size_t>(i)] = record.Short(2 * i);
    depth_ = Saturate(int64_t{GetValue(kDepthNormal)} * 6 / 5);
    width_ = GetValue(kWidthNormal);
    swiftness_ = GetValue(kSwiftness);
    ApplyWetness(conditions);
    width_ = CutWidth(width_);
    depth_ = std::max<int16_t>(depth_, 1);
    swiftness_ = std::clamp(swiftness_, kMinSwiftness, kMaxSwiftness);
    Freeze(conditions);
    SetServices(conditions.month);
    fee1_ = FeeFrom(kFee1Base, conditions);
    fee2_ = FeeFrom(kFee2Base, conditions);
    for (int i = 0; i < kCrossingValueCount; ++i)
        crossing_[static_cast<size_t>(i)] = GetValue(kCrossingValues + i);
}

int16_t CRiverData::Saturate(int64_t value)
{
    return static_cast<int16_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

void CRiverData::ApplyWetness(const CrossingConditions& conditions)
{
    const int32_t wet = conditions.wet;
    // Truncated toward zero: a month 50 drier than normal is step 0.
    const int32_t step = (wet + 99) / 100;
    swiftness_ = Saturate(int64_t{swiftness_} + step);
    if (wet == 0)
        return;
    const int32_t dLow = GetValue(kDepthLow), dNormal = GetValue(kDepthNormal), dHigh = GetValue(kDepthHigh);
    const int32_t wLow = GetValue(kWidthLow), wNormal = GetValue(kWidthNormal), wHigh = GetValue(kWidthHigh);
    Range depth{}, width{};
    if (wet > 0) {
        const bool large = step >= kLargeStep;
        depth = {large ? (dLow + 2 * dNormal) / 3 : (dNormal + dLow) / 2, dHigh};
        width = {large ? (wLow + 2 * wNormal) / 3 : (wNormal + wLow) / 2, wHigh};
    } else {
        const bool large = -step >= kLargeStep;
        depth = {dLow, large ? (dHigh + 2 * dNormal) / 3 : (dNormal + dHigh) / 2};
        width = {wLow, large ? (wHigh + 2 * wNormal) / 3 : (wNormal + wHigh) / 2};
    }
    const int64_t r = CUtil::Random(0, 100, 2);
    // The spread of the depth takes the same factor 6/5 as the normal depth.
    depth_ = Saturate(depth.low + (int64_t{depth.high} - depth.low) * r * 6 / 500);
    width_ = Saturate(width.low + (int64_t{width.high} - width.low) * r / 100);
}

void CRiverData::Freeze(const CrossingConditions& conditions)
{
    if (conditions.snowDepth != 0 && conditions.freezingDays > width_ / 250 + 5) {
        swiftness_ = 0;
        frozen_ = 1;
    }
}

bool CRiverData::RunsIn(int16_t month, int first, int last) const
{
    return swiftness_ != 0 && month >= GetValue(first) && month <= GetValue(last);
}

void CRiverData::SetServices(int16_t month)
{
    service1_ = RunsIn(month, kService1First, kService1Last);
    service2_ = RunsIn(month, kService2First, kService2Last) ? GetValue(kService2Value) : 0;
}

int16_t CRiverData::FeeFrom(int first, const CrossingConditions& conditions) const
{
    return PartyFee(GetValue(first), GetValue(first + 1), GetValue(first + 2), GetValue(first + 3),
                    conditions);
}

int16_t CRiverData::PartyFee(int32_t base, int32_t extra, int32_t perAnimal, int32_t perMember,
                             const CrossingConditions& conditions)
{
    if (!conditions.hasParty)
        return Saturate(base);
    return Saturate(int64_t{base} + extra + int64_t{perAnimal} * conditions.animals +
                    int64_t{perMember} * conditions.members);
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
