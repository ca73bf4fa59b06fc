// The river scene's tick: steering by the mouse over the view's zones (or turning only), the
// moves and the current, the frame drawn, the camera kept on the ground.
#include <cmath>
#include <limits>

#include "engine/controls/AnimFrame.h"
#include "engine/controls/Wind.h"
#include "engine/framework/Stopwatch.h"
#include "engine/graphics/DibSect.h"
#include "engine/resources/RecReader.h"
#include "game/action/3DScene.h"
#include "game/action/3DView.h"
#include "game/travel/SceneObj.h"
#include "game/travel/SceneSeqWnd.h"

namespace {

// Steering rates per tick.
constexpr double kAccelerate = 1.0;
constexpr double kBrake = 0.8;
constexpr double kSettle = 0.05;
// Turns in degrees per tick, and how close to the view's edge the faster turn starts.
constexpr int16_t kTurn = 2;
constexpr int16_t kFastTurn = 4;
constexpr int16_t kFastTurnEdge = 4;
constexpr int16_t kTurnOnlySlow = 2;
constexpr int16_t kTurnOnlyFast = 8;
// How much further than the move the probe looks.
constexpr double kProbeAhead = 16;
// The raft figure's animations when the ground under it changes.
constexpr int16_t kRaftOnLand = 3;
constexpr int16_t kRaftOnWater = 2;

// What each zone does: the cursor entry (-1: the default cursor), the forward and sideways
// bounds to accelerate to (0: settle; NAN: leave alone) and the turn.
struct ZoneRule {
    int16_t cursor;
    double forward;
    double sideways;
    int16_t turn;
};
constexpr double kKeep = std::numeric_limits<double>::quiet_NaN();
const ZoneRule kZoneRules[C3DScene::kZoneCount] = {
    {9, C3DScene::kForwardMax, -C3DScene::kSidewaysMax, 0},
    {11, C3DScene::kForwardMax, 0, 0},
    {1, C3DScene::kForwardMax, C3DScene::kSidewaysMax, 0},
    {-1, 0, kKeep, -kTurn},
    {10, 0, 0, 0},
    {-1, 0, 0, kTurn},
    {6, C3DScene::kReverseMin, -C3DScene::kSidewaysMax, 0},
    {5, C3DScene::kReverseMin, 0, 0},
    {4, C3DScene::kReverseMin, C3DScene::kSidewaysMax, 0},
};

// Cursor entries of the turn-only mode.
constexpr int16_t kCursorAhead = 22;
constexpr int16_t kCursorLeft = 23;
constexpr int16_t kCursorRight = 24;

// Moves the speed toward the bound: back across zero at 0.8 a tick when it has the other sign,
// else by 1.0 while short of the bound (tested before the step, so it may pass it once).
double Accelerate(double speed, double bound)
{
    const double sign = bound > 0 ? 1 : -1;
    if (speed * sign < 0)
        return speed + sign * kBrake;
    if (speed * sign < bound * sign)
        return speed + sign * kAccelerate;
    return speed;
}

double Settle(double speed)
{
    if (speed > 0)
        return speed - kSettle;
    if (speed < 0)
        return speed + kSettle;
    return speed;
}

double Steer(double speed, double bound)
{
    if (std::isnan(bound))
        return speed;
    return bound == 0 ? Settle(speed) : Accelerate(speed, bound);
}

} // namespace

int16_t C3DScene::Step()
{
    if (!active_)
        return status_;
    ReadMouse();
    if (!terrainBuilt_)
        BuildTerrain();
    if (status_ == kFailed)
        return kFailed;
    if (!bitmap_ || !view_) {
        status_ = kFailed;
        return status_;
    }
    if (const int32_t row = map_.GetRow(); row != lastWindowRow_) {
        lastWindowRow_ = row;
        if (row > 1)
            FetchWindow(row - 5);
    }
    if (steeringMode_ == 0)
        SteerZones(requestedZone_);
    else
        SteerTurnOnly();
    view_->SetPixels(bitmap_, bitmap_->LockBits());
    Draw();
    bitmap_->UnlockBits();
    TrackGround();
    view_->SetY(groundHeight_ + bob_ + kCameraHeight);
    requestedZone_ = kNoZone;
    cameraColumn_ = ColumnOf(view_->GetX());
    cameraRow_ = RowOf(view_->GetZ());
    map_.SetColumn(cameraColumn_);
    map_.SetRow(cameraRow_);
    inner_ =
        cameraColumn_ >= 3 && cameraRow_ >= 3 && cameraColumn_ + 1 < mapWidth_ && cameraRow_ + 1 < mapHeight_;
    lastDrawEnd_ = stopwatch_->Elapsed();
    view_->SetPixels(nullptr, nullptr);
    return status_;
}

void C3DScene::ReadMouse()
{
    if (CWind* window = frame_ ? frame_->GetOwnerWnd() : nullptr)
        window->GetCursorPos(mouse_, false);
}

void C3DScene::TrackGround()
{
    if (!inner_) {
        groundHeight_ = waterLevel_;
        return;
    }
    const double ground = std::trunc(GroundHeightNear(cameraColumn_, cameraRow_));
    if (ground == groundHeight_)
        return;
    groundHeight_ = ground;
    if (raft_)
        raft_->SetAnimation(ground > waterLevel_ ? kRaftOnLand : kRaftOnWater);
}

void C3DScene::LayoutZones()
{
    const int16_t left = viewRect_.GetLeft(), top = viewRect_.GetTop();
    const int16_t right = viewRect_.GetRight(), bottom = viewRect_.GetBottom();
    const int16_t qw = static_cast<int16_t>((viewRect_.GetWidth() + 1) / 4);
    const int16_t qh = static_cast<int16_t>((viewRect_.GetHeight() + 1) / 4);
    const int16_t x1 = left + qw, x2 = x1 + 2 * qw;
    const int16_t y1 = top + qh, y2 = y1 + qh, y3 = y2 + qh;
    // Right and bottom edges are exclusive.
    const auto zone = [](int16_t t, int16_t l, int16_t b, int16_t r) {
        return CRect(t, l, static_cast<int16_t>(b - 1), static_cast<int16_t>(r - 1));
    };
    zones_[0] = zone(top, left, y2, x1);
    zones_[1] = zone(top, x1, wideForward_ ? y2 : y1, x2);
    zones_[2] = zone(top, x2, y2, right);
    zones_[3] = zones_[5] = CRect(0, 0, -1, -1);
    zones_[4] = zone(wideForward_ ? y2 : y1, x1, y3, x2);
    zones_[6] = zone(y2, left, bottom, x1);
    zones_[7] = zone(y3, x1, bottom, x2);
    zones_[8] = zone(y2, x2, bottom, right);
}

int16_t C3DScene::ZoneAtMouse() const
{
    for (int16_t z = 0; z < kZoneCount; ++z)
        if (zones_[static_cast<size_t>(z)].ContainsPoint(mouse_))
            return z;
    return kNoZone;
}

void C3DScene::ApplyTurn(int16_t delta)
{
    const int16_t heading = C3DView::AddAngle(heading_, delta);
    if (!IsHeadingAllowed(heading))
        return;
    heading_ = heading;
    if (view_)
        view_->AddHeading(delta);
}

void C3DScene::SetCursorEntry(int16_t entry)
{
    const int32_t id = entry >= 0 && cursors_ ? cursors_->GetNumber(entry) : 0;
    lastCursor_ = id;
    if (frame_)
        frame_->SetCursor(id);
}

void C3DScene::SteerZones(int16_t zone)
{
    const bool fromMouse = zone == kNoZone;
    if (fromMouse)
        zone = ZoneAtMouse();
    if (zone >= 0 && zone < kZoneCount) {
        const ZoneRule& rule = kZoneRules[zone];
        forward_ = Steer(forward_, rule.forward);
        sideways_ = Steer(sideways_, rule.sideways);
        if (rule.turn < 0)
            ApplyTurn(mouse_.GetH() < viewRect_.GetLeft() + kFastTurnEdge ? -kFastTurn : rule.turn);
        else if (rule.turn > 0)
            ApplyTurn(mouse_.GetH() > viewRect_.GetRight() - kFastTurnEdge ? kFastTurn : rule.turn);
    }
    if (fromMouse)
        SetCursorEntry(zone >= 0 ? kZoneRules[zone].cursor : -1);
    if (!props_ || !props_->GetMovingAllowed())
        return;
    if (sideways_ != 0) {
        if (held_)
            sideways_ = 0;
        else
            MoveAlong(C3DView::AddAngle(heading_, 90), sideways_);
    }
    if (forward_ != 0)
        MoveAlong(heading_, forward_);
    if (bounced_)
        bounced_ = false;
    else if (!held_)
        Drift();
}

void C3DScene::MoveAlong(int16_t angle, double speed)
{
    const C3DPoint& camera = view_->GetPosition();
    const double sine = view_->Sine(angle), cosine = view_->Cosine(angle);
    C3DPoint target = camera;
    target.x += speed * sine;
    target.z += speed * cosine;
    const double probeDistance = speed < 0 ? speed - kProbeAhead : speed + kProbeAhead;
    C3DPoint probe = camera;
    probe.x += probeDistance * sine;
    probe.z += probeDistance * cosine;
    distance_ += std::fabs(speed);
    TryMove(target, probe);
}

void C3DScene::SteerTurnOnly()
{
    if (!viewRect_.ContainsPoint(mouse_)) {
        SetCursorEntry(-1);
        return;
    }
    const int16_t x = mouse_.GetH();
    const int16_t width = viewRect_.GetWidth();
    int16_t entry = kCursorAhead;
    int16_t turn = 0;
    if (x < viewRect_.GetLeft() + width / 4) {
        entry = kCursorLeft;
        turn = x < viewRect_.GetLeft() + width / 16 ? -kTurnOnlyFast : -kTurnOnlySlow;
    } else if (x > viewRect_.GetRight() - width / 4) {
        entry = kCursorRight;
        turn = x > viewRect_.GetRight() - width / 16 ? kTurnOnlyFast : kTurnOnlySlow;
    }
    if (turn != 0) {
        if (IsHeadingAllowed(C3DView::AddAngle(heading_, turn)))
            ApplyTurn(turn);
        else
            entry = kCursorAhead;
    }
    SetCursorEntry(entry);
}

void C3DScene::SetTurningWindow(int16_t heading)
{
    turning_.fill(0);
    for (int16_t d = -kTurnWindow; d <= kTurnWindow; ++d)
        turning_[static_cast<size_t>(C3DView::AddAngle(heading, d))] = 1;
}
