#include "game/base/GameImageWnd.h"

#include <memory>

#include "engine/graphics/DibSect.h"
#include "engine/graphics/ImgSet.h"
#include "game/base/GameImages.h"

bool HitsDrawnPixel(CImageWnd& element, const CPoint& point)
{
    if (!element.CImageWnd::HitTest(point))
        return false;
    CImgSet* images = element.GetImages();
    return !images || images->ContainsPoint(point - element.GetDrawnRect().TopLeft(), element.GetFrame());
}

bool CGameImageWnd::HitTest(const CPoint& point) { return HitsDrawnPixel(*this, point); }

CGameImageWnd* CTGameImageWnd::Create() const
{
    // Read directly (mode 0): a template's picture is not shared through the image cache.
    std::unique_ptr<CImgSet> images = ::LoadImage("CBMP", 0, GetImageId(), true, 0);
    if (images && (GetFlags() & CFrame::kFlagTransparent))
        images->SetDrawProc(DrawTransparent);
    const CRect& r = GetRect();
    auto* element = new CGameImageWnd(GetId(), CPoint(r.GetLeft(), r.GetTop()), images.release(), 0, 0, true);
    element->SetFrame(GetFrameIndex());
    return element;
}
