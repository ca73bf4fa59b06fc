#include "engine/graphics/ImgSet.h"

#include "engine/graphics/DrawEnv.h"

namespace {

// The colours of the missing-image mark (program colour values: RGB, red in the low byte).
constexpr int32_t kMarkRed = 0x100000FF;
constexpr int32_t kMarkBlue = 0x10FF0000;
constexpr int16_t kMarkPenWidth = 3;

} // namespace

CImgSet::CImgSet(CRsrcColl* source, int16_t index) : source_(source), index_(index)
{
    record_.Reset(DrawOpaque);
}

CImgSet::~CImgSet() { delete source_; }

CRsrcColl* CImgSet::TakeSource()
{
    CRsrcColl* source = source_;
    source_ = nullptr;
    return source;
}

CDibSect* CImgSet::GetImage(int16_t index) { return source_ ? source_->GetEntry(index) : nullptr; }

void CImgSet::SetDrawProc(DrawProc proc, intptr_t p0, intptr_t p1, intptr_t p2, intptr_t p3, intptr_t p4,
                          intptr_t p5, intptr_t p6, intptr_t p7, int16_t p8)
{
    record_ = DrawRecord{proc, {p0, p1, p2, p3, p4, p5, p6, p7}, p8};
}

void CImgSet::SetIndex(int16_t index)
{
    if (!source_ || (index >= 0 && index < source_->GetCount()))
        index_ = index;
}

void CImgSet::GetImageRect(CRect& rect, int16_t index)
{
    CPoint size;
    if (source_)
        source_->GetEntrySize(size, ResolveIndex(index));
    rect.Set(0, 0, size.GetV(), size.GetH());
}

bool CImgSet::ContainsPoint(const CPoint& point, int16_t index)
{
    CRect rect;
    GetImageRect(rect, index);
    return rect.ContainsPoint(point);
}

void DrawMissingImage(CDrawEnv* env, const CRect* rect, bool swap)
{
    if (!env || !rect)
        return;
    const int32_t savedColor = env->GetForeColor();
    const int16_t savedWidth = env->GetPenWidth();
    env->SetTextColor(swap ? kMarkBlue : kMarkRed);
    env->FillRect(*rect);
    env->SetPenWidth(kMarkPenWidth);
    env->SetTextColor(swap ? kMarkRed : kMarkBlue);
    const auto top = static_cast<int16_t>(rect->GetTop() + 1),
               left = static_cast<int16_t>(rect->GetLeft() + 1);
    const auto bottom = static_cast<int16_t>(rect->GetBottom() - 1),
               right = static_cast<int16_t>(rect->GetRight() - 1);
    env->DrawLine(top, left, bottom, right);
    env->DrawLine(top, right, bottom, left);
    env->SetTextColor(savedColor);
    env->SetPenWidth(savedWidth);
}
