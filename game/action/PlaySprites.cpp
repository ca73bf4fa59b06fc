#include "game/action/PlaySprites.h"

#include "engine/framework/Stopwatch.h"
#include "engine/graphics/ImgSet.h"
#include "engine/graphics/RleImgSet.h"
#include "engine/graphics/RleStretchDraw.h"
#include "engine/resources/LibMgr.h"
#include "game/action/PlayPhase.h"
#include "game/action/PlaySettings.h"
#include "game/base/GameImages.h"
#include "game/base/SoundSlots.h"

namespace {

// The marker's place until the lure lands.
constexpr int16_t kMarkerH = 320;
constexpr int16_t kMarkerV = 350;
constexpr uint32_t kLandingSoundFlags = 2;
constexpr uint8_t kLandingSoundLevel = 128;
constexpr int32_t kBottomInterval = 50;

} // namespace

CPlaySprite::CPlaySprite(int32_t id, const CPoint& point, CFrame* animator, CImgSet* images,
                         int32_t sequenceId, DrawProc routine)
    : CSeqWnd(id, point, animator, images, sequenceId, CLibMgr::kAllLibraries, CLibMgr::kAllLibraries, true),
      routine_(routine)
{
}

int16_t CPlaySprite::GetDrawMode() const { return ModulePhaseOf(GetAnimator()); }

void CPlaySprite::DrawContent(CDrawEnv* env, const CRect&)
{
    if (!IsShown() || GetDrawMode() != kModuleDrawPhase || !dynamic_cast<CRleImgSet*>(GetImages()))
        return;
    const CRect rect = GetDrawnRect();
    DrawCel(env, routine_, &rect, nullptr);
    Update();
}

CSpriteFrm2::CSpriteFrm2(int32_t id, const CPoint& point, CFrame* animator, CImgSet* images,
                         int32_t sequenceId)
    : CPlaySprite(id, point, animator, images, sequenceId, DrawRleRemapped)
{
}

CSpriteFrm3::CSpriteFrm3(int32_t id, const CPoint& point, CFrame* animator, CImgSet* images,
                         int32_t sequenceId)
    : CPlaySprite(id, point, animator, images, sequenceId, DrawRleStretched)
{
}

CSpriteFrm::CSpriteFrm(int32_t id, const CPoint& point, CFrame* animator, CImgSet* images, int32_t sequenceId)
    : CPlaySprite(id, point, animator, images, sequenceId, DrawRleStretched),
      clock_(std::make_unique<CStopwatch>()), halfWidth_(static_cast<int16_t>(GetDrawnRect().GetWidth() / 2)),
      halfHeight_(static_cast<int16_t>(GetDrawnRect().GetHeight() / 2))
{
    nextStep_ = clock_->Elapsed() + static_cast<uint32_t>(interval_);
}

CSpriteFrm::~CSpriteFrm() = default;

void CSpriteFrm::PlaceCentre(int16_t x, int16_t y, int16_t depth)
{
    MoveTo(static_cast<int16_t>(x - halfWidth_), static_cast<int16_t>(y - halfHeight_), depth);
}

void CSpriteFrm::MakeMarker()
{
    CFrame* frame = GetAnimator();
    if (marker_ || !frame || !GetDrawEnv())
        return;
    const int32_t id = GetCatchSetting(kSettingMarker);
    std::unique_ptr<CImgSet> image = LoadImage("RLES", 0, id, false, 0);
    if (!image)
        return;
    marker_ = new CSpriteFrm2(id, CPoint(kMarkerH, kMarkerV), frame, image.release(), id);
    frame->AddChild(marker_, true);
    marker_->MoveTo(kMarkerH, kMarkerV, 0);
    marker_->Hide(false, true);
}

void CSpriteFrm::Land()
{
    landed_ = true;
    PlaySoundEffect(GetCatchSetting(kSettingLandingSound), kLandingSoundFlags, kLandingSoundLevel);
    if (!marker_) {
        state_ = kGoingDown;
        return;
    }
    marker_->Show(false);
    marker_->MoveTo(GetH(), GetV(), static_cast<int16_t>(landingDepth_ - 2));
    marker_->SetAnimation(0);
    state_ = kLanded;
}

void CSpriteFrm::StepLure()
{
    const uint32_t now = clock_->Elapsed();
    switch (state_) {
    case kSinking:
        if (GetZ() < landingDepth_)
            Sink(true);
        else
            Land();
        break;
    case kLanded:
        if (!marker_ || marker_->GetFramesRemaining() < 1) {
            interval_ = 10;
            SetAnimation(0);
            state_ = kGoingDown;
        }
        break;
    case kGoingDown:
        if (GetZ() < bottomDepth_ && now > nextStep_) {
            Sink(true);
            nextStep_ = now + static_cast<uint32_t>(interval_);
        } else {
            if (marker_)
                marker_->Hide(false, true);
            interval_ = kBottomInterval;
            state_ = kAtBottom;
        }
        break;
    case kAtBottom:
        if (GetZ() < bottomDepth_)
            state_ = kGoingDown;
        if (now > nextStep_) {
            Sink(false);
            nextStep_ = now + static_cast<uint32_t>(interval_);
        }
        break;
    default: break;
    }
}
