#include "game/travel/RouteNode.h"

#include <array>

namespace {

// Speed percent by route type, NORMAL to LNDMARK.
constexpr std::array<int16_t, 10> kSpeedByRouteType = {100, 60, 70, 60, 75, 60, 100, 50, 100, 100};

} // namespace

CRouteNode::CRouteNode(int16_t id)
{
    const CGameRecord record("NOD", id);
    exists_ = record.Exists();
    for (size_t i = 0; i < words_.size(); ++i)
        words_[i] = record.Short(static_cast<int32_t>(2 * i));

    // A route type outside the table keeps the speed the record stores in the fauna area; the
    // fauna list itself stays as the record gave it, as hunting reads every entry.
    const int16_t speed = SpeedOfRouteType(GetRouteType());
    speedPercent_ = speed >= 0 ? speed : Word(kOffStoredSpeed);
    if (GetPlants() == 1)
        speedPercent_ = kPlantsSpeed;

    if (GetRouteType() == kRiver)
        river_ = std::make_unique<CRiverData>(GetResource());
    if (GetRouteType() == kUphill || GetRouteType() == kDownhill)
        hill_ = std::make_unique<CHilRecord>(id);
}

CRouteNode::~CRouteNode() = default;

int16_t CRouteNode::SpeedOfRouteType(int16_t routeType)
{
    if (routeType < 0 || routeType >= static_cast<int16_t>(kSpeedByRouteType.size()))
        return -1;
    return kSpeedByRouteType[static_cast<size_t>(routeType)];
}
