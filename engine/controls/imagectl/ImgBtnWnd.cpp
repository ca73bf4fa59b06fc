#include "engine/controls/imagectl/ImgBtnWnd.h"

#include <algorithm>

CImgBtnWnd::CImgBtnWnd(int32_t id, const CPoint& reference, int32_t notifyType, CBaseObj* target,
                       int32_t whenToSend, CImgSet* images, int16_t frameBase, int32_t hMode, int32_t vMode)
    : CImageControl(reference, images, hMode, vMode, kKindPush, id, CRect(), notifyType, target, whenToSend,
                    false)
{
    SetFrameBase(frameBase);
    stateFrames_ = std::min<int16_t>(GetImageCount(), 3);
}

CImgBtnWnd::CImgBtnWnd(int32_t id, const CPoint& reference, int32_t notifyType, CBaseObj* target,
                       int32_t whenToSend, CImgSet* images, int32_t hMode, int32_t vMode)
    : CImgBtnWnd(id, reference, notifyType, target, whenToSend, images, 0, hMode, vMode)
{
}

CImgBtnWnd::CImgBtnWnd(int32_t id, const CPoint& reference, int32_t notifyType, CBaseObj* target,
                       int32_t whenToSend, int32_t imageId, uint32_t libraryMask, int32_t hMode,
                       int32_t vMode, bool report)
    : CImgBtnWnd(id, reference, notifyType, target, whenToSend, LoadPictureSet(imageId, libraryMask, report),
                 0, hMode, vMode)
{
}

void CImgBtnWnd::SetImages(CImgSet* images)
{
    ReplaceImages(images);
    stateFrames_ = GetImageCount();
    Draw(false);
}

CImgSet* CImgBtnWnd::DetachImages()
{
    stateFrames_ = 0;
    return CImageControl::DetachImages();
}

int16_t CImgBtnWnd::ChooseImage() const
{
    return ButtonImage(IsEnabled(), IsPressed(), GetFrameBase(), stateFrames_, GetImageCount());
}

CTObj* CImgBtnWnd::ReadTemplate(int32_t kind, CRawParser* parser) { return new CTImgBtnWnd(kind, parser); }

CBaseObj* CImgBtnWnd::Create(CTObj* tpl)
{
    auto* t = static_cast<CTImgBtnWnd*>(tpl);
    const CRect& r = t->GetRect();
    auto* button = new CImgBtnWnd(t->GetId(), r.TopLeft(), t->GetMsgType(), t->GetBuildOwner(),
                                  t->GetWhenToSend(), t->LoadImages().release(), r.GetBottom(), r.GetRight());
    if (t->GetKind() == kKindDefault)
        button->SetDefault(true);
    return button;
}
