#include "game/base/RandomPictureCtl.h"

#include <memory>

#include "engine/controls/imagectl/ImageControl.h"
#include "engine/framework/Util.h"
#include "engine/graphics/DibSect.h"
#include "engine/graphics/ImgSet.h"

void CRandomPictureCtl::SetOwner(CBaseObj* owner)
{
    const bool first = owner && !GetOwner();
    if (!first)
        StopTimer();
    CImageWnd::SetOwner(owner);
    if (first)
        StartTimer(kPeriod, nullptr);
}

bool CRandomPictureCtl::OnTimer()
{
    int32_t id = 0;
    do
        id = kFirstPicture + kPictureStep * CUtil::Random(0, kPictures - 1, 1);
    while (id == shownId_);
    CImgSet* picture = LoadPictureSet(id, 0xFFFFFFFFu, false);
    if (!picture)
        return true;
    if (IsTransparent())
        picture->SetDrawProc(DrawTransparent);
    SetImages(picture);
    Show(false);
    shownId_ = id;
    Draw(true);
    return true;
}

CBaseObj* CRandomPictureCtl::Create(CTObj* tpl)
{
    auto* t = static_cast<CTImageWnd*>(tpl);
    std::unique_ptr<CImgSet> images = LoadTemplatePicture(*t, t->GetImageLibMask(), t->GetImageId());
    const CRect& r = t->GetRect();
    auto* element =
        new CRandomPictureCtl(t->GetId(), r.TopLeft(), images.release(), r.GetBottom(), r.GetRight(), true);
    element->SetFrame(t->GetFrameIndex());
    return element;
}
