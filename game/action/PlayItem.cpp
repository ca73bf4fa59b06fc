#include "game/action/PlayItem.h"

#include "engine/controls/Frame.h"
#include "engine/framework/BaseObj.h"
#include "engine/framework/Stopwatch.h"
#include "engine/graphics/ImgSet.h"
#include "engine/graphics/RleImgSet.h"
#include "engine/graphics/RleStretchDraw.h"
#include "game/base/GameImages.h"

CPlayAnimator::CPlayAnimator(int32_t id, const CPoint& point, CFrame* owner, CImgSet* images)
    : CAnimatorWnd(id, point, owner, images, false, 0)
{
}

DrawProc CPlayAnimator::RoutineFor(uint8_t kind)
{
    switch (kind) {
    case kDrawRemapped: return DrawRleRemapped;
    case kDrawBlended: return DrawRleBlended;
    default: return DrawRleStretched;
    }
}

void CPlayAnimator::DrawContent(CDrawEnv* env, const CRect&)
{
    if (!IsShown() || !dynamic_cast<CRleImgSet*>(GetImages()))
        return;
    DrawCel(env, RoutineFor(drawKind_), &GetAnimatorRect(), nullptr);
}

CPlayItem::CPlayItem(CFrame* owner, int32_t imageId)
    : owner_(owner), imageId_(imageId), clock_(std::make_unique<CStopwatch>())
{
}

CPlayItem::~CPlayItem() { Remove(); }

void CPlayItem::Build()
{
    if (!image_)
        image_ = LoadImage("RLES", 0, imageId_, false, 0);
    if (!image_ || !owner_ || strips_[0])
        return;
    for (CPlayAnimator*& strip : strips_) {
        strip = new CPlayAnimator(CBaseObj::NextId(), CPoint(0, 0), owner_, image_.get());
        owner_->AddChild(strip, true);
    }
    strips_[0]->MoveTo(0, 0, z_);
    strips_[1]->MoveTo(strips_[0]->GetDrawnRect().GetRight(), 0, z_);
}

void CPlayItem::Step()
{
    const int16_t cels = image_ ? image_->GetCount() : 0;
    const uint32_t now = clock_->Elapsed();
    if (cels <= 0 || !strips_[0] || now < next_)
        return;
    for (CPlayAnimator* strip : strips_)
        strip->SetCel(static_cast<int16_t>((strip->GetCel() + 1) % cels), 0, 0, 0);
    next_ = now + kPeriod;
}

void CPlayItem::SetZ(int16_t z)
{
    z_ = z;
    for (CPlayAnimator* strip : strips_)
        if (strip)
            strip->MoveTo(strip->GetH(), strip->GetV(), z);
}

void CPlayItem::SetDrawKind(uint8_t kind)
{
    for (CPlayAnimator* strip : strips_)
        if (strip)
            strip->SetDrawKind(kind);
}

void CPlayItem::Remove()
{
    for (CPlayAnimator*& strip : strips_) {
        if (!strip)
            continue;
        strip->RemoveFromParent();
        delete strip;
        strip = nullptr;
    }
}
