#include "engine/graphics/RleImgSet.h"

#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/RleDraw.h"

CRleImgSet::CRleImgSet(CCelList* cels, int16_t index) : CImgSet(cels, index)
{
    SetDrawProc(DrawRleCel, index);
}

void CRleImgSet::Draw(CDibSect* dest, const CRect& position)
{
    CCelList* cels = GetCelList();
    if (!cels || !GetDrawProc())
        return;
    DrawRecord& record = GetRecord();
    record.params[0] = GetIndex();
    record.params[6] = reinterpret_cast<intptr_t>(this);
    GetDrawProc()(cels->GetBlock(), dest, position, &record);
}

void CRleImgSet::DrawAtPoint(CDrawEnv* env, const CPoint& point)
{
    CDibSect* bitmap = env && env->GetKind() == kEnvOffScreen ? env->GetBitmap() : nullptr;
    if (!bitmap)
        return;
    CRect position;
    GetImageRect(position, -1);
    position.Offset(point.GetH(), point.GetV());
    Draw(bitmap, position);
}

void CRleImgSet::DrawInRect(CDrawEnv* env, const CRect& rect) { DrawAtPoint(env, rect.TopLeft()); }

void CRleImgSet::DrawAtOrigin(CDrawEnv* env) { DrawAtPoint(env, CPoint(0, 0)); }
