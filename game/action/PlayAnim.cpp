#include "game/action/PlayAnim.h"

#include <cstdlib>

#include "engine/controls/anim/Sequence.h"
#include "engine/framework/Util.h"
#include "engine/graphics/RleImgSet.h"
#include "engine/graphics/RleStretchDraw.h"
#include "engine/resources/LibMgr.h"
#include "game/action/PlayPhase.h"

namespace {

// kTurns[current - 1][wanted - 1].
constexpr int16_t kTurns[8][8] = {
    {255, 2, 2, 2, 2, 8, 8, 8}, {1, 255, 3, 3, 3, 3, 1, 1}, {2, 2, 255, 4, 4, 4, 4, 2},
    {3, 3, 3, 255, 5, 5, 5, 5}, {6, 4, 4, 4, 255, 6, 6, 6}, {7, 7, 5, 5, 5, 255, 7, 7},
    {8, 8, 8, 6, 6, 6, 255, 8}, {1, 1, 1, 1, 7, 7, 7, 255},
};

bool IsDirection(int16_t d) { return d >= 1 && d <= 8; }

// A step scaled by the speed class: 1 (and any class without a speed) none, 2 half, 3 as
// is, 4 double, 5 four times.
int16_t Scaled(int32_t step, int32_t speedClass)
{
    switch (speedClass) {
    case 2: return static_cast<int16_t>(step >> 1);
    case 3: return static_cast<int16_t>(step);
    case 4: return static_cast<int16_t>(step * 2);
    case 5: return static_cast<int16_t>(step * 4);
    default: return 0;
    }
}

bool StrictlyInside(const CRect& r, int32_t h, int32_t v)
{
    return h > r.GetLeft() && h < r.GetRight() && v > r.GetTop() && v < r.GetBottom();
}

} // namespace

CPlayAnim::CPlayAnim(int32_t id, const CPoint& point, CFrame* animator, CImgSet* images, int32_t sequenceId,
                     const CRect& clip, const CPlaySpecies* species)
    : CSeqWnd(id, point, animator, images, sequenceId, CLibMgr::kAllLibraries, CLibMgr::kAllLibraries, false),
      direction_(static_cast<int16_t>(CUtil::Random(1, 8))), home_(GetDrawnRect()), species_(species),
      clip_(clip)
{
}

int16_t CPlayAnim::Turn(int16_t current, int16_t wanted)
{
    if (!IsDirection(current) || !IsDirection(wanted))
        return kFacing;
    return kTurns[current - 1][wanted - 1];
}

int16_t CPlayAnim::GetDrawMode() const { return ModulePhaseOf(GetAnimator()); }

void CPlayAnim::DrawContent(CDrawEnv* env, const CRect&)
{
    if (!IsShown() || GetDrawMode() != kModuleDrawPhase || !dynamic_cast<CRleImgSet*>(GetImages()))
        return;
    const CRect rect = clip_ == CRect() ? GetDrawnRect() : clip_;
    void* data = GetAnimator() ? GetAnimator()->GetAltDrawData() : nullptr;
    DrawCel(env, DrawRleStretched, &rect, data);
    Update();
}

int16_t CPlayAnim::NextDirection(uint16_t flags, int16_t orientation) const
{
    if (!IsDirection(direction_)) {
        switch (flags & 0x0F) {
        case 1: return 1;
        case 2: return 3;
        case 3: return 2;
        case 4: return 5;
        case 6: return 4;
        case 8: return 7;
        case 9: return 8;
        case 12: return 6;
        default: return 5;
        }
    }
    int16_t wanted = 0;
    if (orientation == kVertical)
        wanted = (flags & kUp) ? 1 : 5;
    else if (orientation == kHorizontal)
        wanted = (flags & kRight) ? 3 : 7;
    else if ((flags & (kUp | kRight)) == (kUp | kRight))
        wanted = 2;
    else if ((flags & (kRight | kDown)) == (kRight | kDown))
        wanted = 4;
    else if ((flags & (kUp | kLeft)) == (kUp | kLeft))
        wanted = 8;
    else if ((flags & (kDown | kLeft)) == (kDown | kLeft))
        wanted = 6;
    return Turn(direction_, wanted);
}

int16_t CPlayAnim::AnimationFor(int16_t direction)
{
    switch (direction) {
    case 0: return 0;
    case 1:
    case 5: return direction;
    case 2:
    case 3:
    case 4: SetFlipped(false); return direction;
    case 6:
    case 7:
    case 8: SetFlipped(true); return static_cast<int16_t>(10 - direction);
    default: return kFacing;
    }
}

int16_t CPlayAnimFrm::AnimationFor(int16_t direction)
{
    if (!IsDirection(direction))
        return kFacing;
    SetFlipped(false);
    const int16_t previous = PreviousDirection();
    const bool clockwise = direction == previous + 1 || (direction == 1 && previous == 8);
    if (clockwise)
        return static_cast<int16_t>(direction - 1);
    return direction == 1 ? 8 : static_cast<int16_t>(17 - direction);
}

void CPlayAnim::ShowDirection(int16_t next)
{
    const int16_t animation = AnimationFor(next);
    if (animation == kFacing)
        return;
    if (animation != shown_) {
        SetAnimation(animation);
        shown_ = animation;
        pauseCount_ = pauseLength_;
    }
    direction_ = next;
}

uint16_t CPlayAnim::SideFlags(uint16_t flags) const
{
    const uint16_t depth = flags & (kDeeper | kShallower);
    switch (direction_) {
    case 3:
    case 7: return static_cast<uint16_t>(depth | (flags & (kUp | kDown)));
    case 1:
    case 5: return static_cast<uint16_t>(depth | (flags & (kLeft | kRight)));
    case 2:
    case 4:
    case 6:
    case 8: return depth;
    default: return flags;
    }
}

void CPlayAnim::MoveToward(int16_t x, int16_t y, int16_t z)
{
    const int32_t dx = x - GetH();
    const int32_t dy = y - GetV();
    int32_t dz = z - GetZ();
    if (speedClass_ > kCruise) {
        if (StrictlyInside(home_, GetH(), GetV())) {
            Animate(true, 0);
            return;
        }
        speedClass_ = kCruise;
    }
    if (pauseCount_ > 0) {
        Animate(true, 0);
        --pauseCount_;
        return;
    }
    uint16_t flags = 0;
    int16_t next = 0;
    if (std::abs(dy) < kNearDown && std::abs(dx) < nearRange_ && std::abs(dz) < nearRange_) {
        speedClass_ = kSlow;
    } else {
        int16_t orientation = kDiagonal;
        if (4 * std::abs(dx) < std::abs(dy))
            orientation = kVertical;
        else if (4 * std::abs(dy) < std::abs(dx))
            orientation = kHorizontal;
        if (GetZ() + dz > zCeiling_)
            dz = zCeiling_ - GetZ() - 1;
        else if (GetZ() + dz <= zFloor_)
            dz = zFloor_ - GetZ() + 1;
        flags =
            static_cast<uint16_t>((dy < 0 ? kUp : 0) | (dy > 0 ? kDown : 0) | (dx > 0 ? kRight : 0) |
                                  (dx < 0 ? kLeft : 0) | (dz > 0 ? kDeeper : 0) | (dz < 0 ? kShallower : 0));
        next = NextDirection(flags, orientation);
        speedClass_ = kCruise;
    }
    ShowDirection(next);
    flags = SideFlags(flags);
    arrived_ = std::abs(dy) < kArrivedRange && std::abs(dx) < kArrivedRange;
    Animate(!arrived_, flags);
}

void CPlayAnim::Animate(bool moving, uint16_t motionFlags)
{
    if (!GetSequence())
        return;
    const std::unique_ptr<SeqFrame> frame = TakeDueFrame();
    if (!frame)
        return;
    if (speedClass_ == kSlow)
        SetNextDue(GetNextDue() +
                   static_cast<uint32_t>(frame->ticks != 0 ? frame->ticks : GetTicksPerFrame()));
    int32_t sx = 0;
    int32_t sy = 0;
    int32_t sz = 0;
    if (moving) {
        sx = IsFlipped() ? -frame->dh : frame->dh;
        sy = frame->dv;
        sz = frame->dz;
    }
    sy += (motionFlags & kDown ? 2 : 0) - (motionFlags & kUp ? 2 : 0);
    sx += (motionFlags & kRight ? 2 : 0) - (motionFlags & kLeft ? 2 : 0);
    sz += (motionFlags & kDeeper ? 2 : 0) - (motionFlags & kShallower ? 2 : 0);
    ShowCel(frame->cel);
    if (sx != 0 || sy != 0 || sz != 0)
        MoveBy(Scaled(sx, speedClass_), Scaled(sy, speedClass_), Scaled(sz, speedClass_));
}

void CPlayAnim::PickWeight(int16_t index)
{
    weightIndex_ = index;
    const int32_t bound = species_ ? species_->GetWeightBound(index) : 0;
    const int32_t r = CUtil::Random(20, bound * 10, 3);
    weightWhole_ = r / 10;
    weightTenths_ = r % 10;
}
