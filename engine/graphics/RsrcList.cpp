#include "engine/graphics/RsrcList.h"

#include "engine/graphics/DrawEnv.h"

void CRsrcList::DrawInRect(CDrawEnv* env, const CRect& rect)
{
    if (env)
        env->DrawBitmapIn(GetImage(GetIndex()), rect, &GetRecord());
}

void CRsrcList::DrawAtPoint(CDrawEnv* env, const CPoint& point)
{
    if (env)
        env->DrawBitmapAt(GetImage(GetIndex()), point, &GetRecord());
}

void CRsrcList::DrawAtOrigin(CDrawEnv* env) { DrawAtPoint(env, CPoint(0, 0)); }

bool CRsrcList::ContainsPoint(const CPoint& point, int16_t index)
{
    if (!CImgSet::ContainsPoint(point, index))
        return false;
    if (GetDrawProc() != DrawTransparent && GetDrawProc() != DrawDepthTested)
        return true;
    CDibSect* image = GetImage(ResolveIndex(index));
    return image && image->GetPixel(point.GetH(), point.GetV()) != 0;
}

void CRsrcList::Draw(CDibSect* dest, const CRect& position)
{
    CDibSect* image = GetImage(GetIndex());
    if (image && GetDrawProc())
        GetDrawProc()(image, dest, position, &GetRecord());
}
