#include "game/travel/SceneSeqWnd.h"

#include "engine/controls/anim/Sequence.h"
#include "engine/resources/LibMgr.h"
#include "game/base/GameGlobals.h"

namespace {

// The x and z steps of motion kinds 1-8 (kinds 9-16 take the same directions twice as far).
constexpr int32_t kMotionSteps[8][2] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};
constexpr int16_t kDirections = 8;
// Size classes from this one on draw their sprites larger.
constexpr int16_t kLargeSizeClass = 3;
// The size class that runs at half speed.
constexpr int16_t kSlowSizeClass = 1;

} // namespace

CSceneSeqWnd::CSceneSeqWnd(int32_t id, const CPoint& reference, CFrame* owner, CImgSet* images,
                           int32_t sequenceId)
    : CSeqWnd(id, reference, owner, images, sequenceId, CLibMgr::kAllLibraries, CLibMgr::kAllLibraries, false)
{
}

uint32_t CSceneSeqWnd::FrameDelay(const SeqFrame& frame) const
{
    return static_cast<uint32_t>(frame.ticks != 0 ? frame.ticks : GetTicksPerFrame());
}

bool CSceneSeqWnd::PlayDueFrame(SeqFrame& played)
{
    const uint32_t now = GetAppTime();
    if (!IsShown() || GetAnimation() == kNoAnimation)
        return false;
    // Unsigned: a due tick behind now reads as a huge distance ahead.
    if (now < due_ && due_ - now < kClockBack)
        return false;
    if (GetFramesRemaining() <= 0)
        SetAnimation(GetAnimation());
    if (GetFramesRemaining() <= 0)
        return false;
    const std::unique_ptr<SeqFrame> frame = GetSequence()->GetFrame(TakeFrame());
    if (!frame)
        return false;
    if (frame->sound != 0)
        PlayFrameSound(frame->sound, GetSoundLibMask());
    due_ = now + FrameDelay(*frame);
    ShowCel(frame->cel);
    played = *frame;
    return true;
}

void CSceneSeqWnd::Step(bool moving)
{
    if (!GetSequence())
        return;
    if (const int16_t pending = GetQueuedAnimation(); pending != -1) {
        SetAnimation(pending);
        QueueAnimation(-1);
    }
    SeqFrame played;
    if (PlayDueFrame(played))
        OnFrame(played, moving);
}

CRiverSeqWnd::CRiverSeqWnd(int32_t id, const CPoint& reference, CFrame* owner, CImgSet* images,
                           int32_t sequenceId, int16_t motionKind, int16_t sizeClass)
    : CSceneSeqWnd(id, reference, owner, images, sequenceId), sizeClass_(sizeClass), motionKind_(motionKind)
{
    SetOffsets();
}

void CRiverSeqWnd::SetSizeClass(int16_t sizeClass)
{
    sizeClass_ = sizeClass;
    SetOffsets();
}

void CRiverSeqWnd::SetOffsets()
{
    const bool large = sizeClass_ >= kLargeSizeClass;
    low_ = large ? -4 : 0;
    middle_ = large ? 20 : 16;
    wrap_ = large ? 24 : 16;
}

uint32_t CRiverSeqWnd::FrameDelay(const SeqFrame& frame) const
{
    const uint32_t delay = CSceneSeqWnd::FrameDelay(frame);
    return sizeClass_ == kSlowSizeClass ? 2 * delay : delay;
}

int32_t CRiverSeqWnd::Wrap(int32_t value) const
{
    if (wrap_ == 0)
        return value;
    return value < low_ ? value + wrap_ : value % wrap_;
}

void CRiverSeqWnd::OnFrame(const SeqFrame& played, bool moving)
{
    SetMotion(1, moving ? played.dv : 0);
    if (motionKind_ < 1 || motionKind_ > kMaxMotionKind)
        return;
    const int32_t distance = motionKind_ > kDirections ? 2 : 1;
    const int32_t* step = kMotionSteps[(motionKind_ - 1) % kDirections];
    SetMotion(0, Wrap(GetMotion(0) + distance * step[0]));
    SetMotion(2, Wrap(GetMotion(2) + distance * step[1]));
}
