#include "game/travel/TravelImage.h"

#include "engine/graphics/ImgSet.h"
#include "game/base/GameImages.h"
#include "game/travel/RouteSeq.h"

CTravelImage::CTravelImage(CRouteSeq& seq) : CImageWnd(kNewId, seq.origin, 0, 0), seq_(seq)
{
    SetTakesInput(false);
}

void CTravelImage::DrawContent(CDrawEnv* env, const CRect& clip)
{
    if (GetImages())
        CImageWnd::DrawContent(env, clip);
}

void CTravelImage::LoadBackground()
{
    if (std::unique_ptr<CImgSet> picture = LoadImage("CBMP", 0, seq_.backgroundId, false, 1)) {
        picture->SetDrawProc(DrawOpaque);
        SetImages(picture.release(), true);
    }
    MoveTo(seq_.origin.GetH(), seq_.origin.GetV(), kDepth);
}
