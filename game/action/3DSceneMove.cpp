// The raft's moves: the current's push, what a cell lets the raft into, and collisions with
// their damage, bob and endings.
#include <algorithm>
#include <cmath>

#include "engine/framework/Util.h"
#include "game/action/3DScene.h"
#include "game/action/3DView.h"
#include "game/travel/SceneObj.h"
#include "game/travel/SceneSeqWnd.h"

namespace {

// The current's push per tick (x, z) by current code.
constexpr double kCurrents[C3DSceneLegend::kCurrentCodes][2] = {
    {0, 0},  {0, -2},  {-1.5, -1.5}, {-2, 0}, {-1.5, 1.5}, {0, 2}, {1.5, 1.5}, {2, 0},  {1.5, -1.5},
    {0, -4}, {-3, -3}, {-4, 0},      {-3, 3}, {0, 4},      {3, 3}, {4, 0},     {3, -3},
};
// Rivers rougher than this push twice as hard.
constexpr int16_t kCalmRoughness = 2;
constexpr double kProbeAhead = 16;
// A move into an obstacle counts as this hard.
constexpr double kObstacleImpact = 20;
// The hardest impact a move counts.
constexpr double kMaxImpact = 50;
// Impacts up to this stop the raft without damage.
constexpr double kGentleImpact = 5;
// Damage above this is a hard hit.
constexpr double kHardHitDamage = 15;
// How far the rock test looks for the scenery that shows the rock.
constexpr int32_t kRockReach = 6;
// The raft figure's animations for a hit ahead of it and behind it.
constexpr int16_t kRaftHitAhead = 2;
constexpr int16_t kRaftHitBehind = 1;

double Probe(double d) { return d < 0 ? d - kProbeAhead : d + kProbeAhead; }

int32_t Sign(int32_t v) { return (v > 0) - (v < 0); }

} // namespace

void C3DScene::Drift()
{
    drift_[0] = drift_[1] = drift_[2] = 0;
    const C3DPoint& camera = view_->GetPosition();
    const C3DSceneLegend& e = legend_[CellValue(ColumnOf(camera.x), RowOf(camera.z))];
    if (e.kind != C3DSceneLegend::kWater || e.current < 0 || e.current >= C3DSceneLegend::kCurrentCodes)
        return;
    double dx = kCurrents[e.current][0];
    double dz = kCurrents[e.current][1];
    if (dx == 0 && dz == 0)
        return;
    if (props_ && props_->GetRoughness() > kCalmRoughness) {
        dx *= 2;
        dz *= 2;
    }
    drift_[0] = dx;
    drift_[2] = dz;
    distance_ += std::fabs(dx) + std::fabs(dz);
    C3DPoint target = camera;
    target.x += dx;
    target.z += dz;
    C3DPoint probe = camera;
    probe.x += Probe(dx);
    probe.z += Probe(dz);
    TryMove(target, probe);
}

void C3DScene::MoveTo(const C3DPoint& target)
{
    C3DPoint position = view_->GetPosition();
    position.x = target.x;
    position.z = target.z;
    view_->SetPosition(position);
    lastValid_ = position;
}

bool C3DScene::TryMove(const C3DPoint& target, const C3DPoint& probe)
{
    const int32_t column = ColumnOf(probe.x);
    const int32_t row = RowOf(probe.z);
    const uint8_t v = CellValue(column, row);
    const int32_t kind = legend_[v].kind;
    if (kind == C3DSceneLegend::kObstacle) {
        bounced_ = true;
        Collide(v, kObstacleImpact, column, row);
        return bounced_;
    }
    const double impact = std::min(std::hypot(target.x - lastValid_.x, target.z - lastValid_.z), kMaxImpact);
    const bool passThrough = props_ && props_->GetPassThrough();
    if (!passThrough) {
        if (kind == C3DSceneLegend::kWater || kind == C3DSceneLegend::kStart) {
            MoveTo(target);
            held_ = false;
        } else {
            Collide(v, impact, column, row);
        }
    } else if (kind == C3DSceneLegend::kRock || kind == C3DSceneLegend::kScenery) {
        Collide(v, impact, column, row);
    } else {
        MoveTo(target);
        held_ = kind == C3DSceneLegend::kUnlisted;
    }
    if (kind == C3DSceneLegend::kEnd) {
        MoveTo(target);
        if (props_)
            props_->SetMovingAllowed(0);
        status_ = kEndReached;
    }
    return bounced_;
}

uint8_t C3DScene::RockTest(int32_t column, int32_t row) const
{
    const C3DPoint& camera = view_->GetPosition();
    const int32_t dc = Sign(column - ColumnOf(camera.x));
    const int32_t dr = Sign(row - RowOf(camera.z));
    const auto scan = [&](int32_t sc, int32_t sr) -> uint8_t {
        for (int32_t k = 1; k <= kRockReach; ++k)
            if (const uint8_t v = CellValue(column + k * sc, row + k * sr);
                legend_[v].kind == C3DSceneLegend::kScenery)
                return v;
        return 0;
    };
    if (dc == 0 && dr == 0)
        return 0;
    uint8_t found = scan(dc, dr);
    // A diagonal hit also looks along each direction alone.
    if (!found && dc != 0 && dr != 0)
        found = scan(dc, 0);
    if (!found && dc != 0 && dr != 0)
        found = scan(0, dr);
    return found;
}

bool C3DScene::Collide(uint8_t value, double impact, int32_t column, int32_t row)
{
    const C3DPoint& camera = view_->GetPosition();
    const int32_t cameraColumn = ColumnOf(camera.x);
    const int32_t cameraRow = RowOf(camera.z);
    if (collisionState_ == kJustCollided) {
        if (column != cameraColumn || row != cameraRow)
            collisionState_ = kCollideReady;
        return false;
    }
    if (impact <= kGentleImpact) {
        bob_ = 0;
    } else {
        const C3DSceneLegend& e = legend_[value];
        int16_t hardness = e.hardness;
        uint8_t hit = value;
        if (e.kind == C3DSceneLegend::kRock) {
            hit = RockTest(column, row);
            hardness = hit != 0 ? legend_[hit].hardness : C3DSceneLegend::kDefaultHardness;
        }
        if (value == 0)
            hardness = C3DSceneLegend::kDefaultHardness;
        hitValue_ = hit;
        const double damage = hardness * impact;
        if (damage > kHardHitDamage) {
            if (collisionState_ == kCollideReady && raft_)
                raft_->SetAnimation(row < cameraRow ? kRaftHitAhead : kRaftHitBehind);
            status_ = kHardHit;
        }
        if (hardness != 0) {
            if (bob_ == 0) {
                const auto n = static_cast<int32_t>(std::trunc(impact * 10));
                bob_ = CUtil::Random(-n, n) / 20.0;
            } else {
                bob_ = 0;
            }
        }
        damage_ += damage;
        collisionState_ = kJustCollided;
        if (props_ && props_->GetDamageLimit() > 0 && damage_ > props_->GetDamageLimit()) {
            props_->SetMovingAllowed(0);
            status_ = kWornOut;
        }
    }
    forward_ = sideways_ = 0;
    return true;
}
