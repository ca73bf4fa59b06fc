#include "game/travel/AnimFigure.h"

#include "engine/graphics/DrawEnv.h"

CAnimFigure::CAnimFigure(int32_t id, const CPoint& reference, CFrame* frame, CImgSet* images,
                         CFigureView* view, CFrame* first, CFrame* second)
    : CAnimatorWnd(id, reference, frame, images, true, frame ? frame->GetId() : 0), view_(view),
      first_(first), second_(second)
{
}

bool CAnimFigure::InDrawPhase() const
{
    const auto* module = dynamic_cast<const CFigurePhase*>(GetAnimator());
    return module && module->GetDrawPhase() == CFigurePhase::kDrawPhase;
}

void CAnimFigure::DrawContent(CDrawEnv* env, const CRect&)
{
    if (!env || !view_ || !first_ || !second_ || !InDrawPhase())
        return;
    CDibSect* bitmap = env->GetBitmap();
    if (!bitmap)
        return;
    uint8_t* pixels = bitmap->LockBits();
    view_->SetPixels(bitmap, pixels);
    view_->DrawLine(CPoint(first_->GetH(), first_->GetV()), CPoint(second_->GetH(), second_->GetV()),
                    colour_);
    view_->SetPixels(nullptr, nullptr);
    bitmap->UnlockBits();
}
