#include "engine/controls/imagectl/ImgRadioWnd.h"

CImgRadioWnd::CImgRadioWnd(int32_t id, const CPoint& reference, int32_t notifyType, CBaseObj* target,
                           CImgSet* images, int32_t groupId, bool on, int32_t hMode, int32_t vMode)
    : CSixImageControl(reference, images, hMode, vMode, id, CRect(), notifyType, target, groupId, on)
{
    SetFlags(GetFlags() & ~kFlagTransparent);
}

CImgRadioWnd::CImgRadioWnd(int32_t id, const CPoint& reference, int32_t notifyType, CBaseObj* target,
                           int32_t imageId, uint32_t libraryMask, int32_t groupId, bool on, int32_t hMode,
                           int32_t vMode, bool report)
    : CImgRadioWnd(id, reference, notifyType, target, LoadPictureSet(imageId, libraryMask, report), groupId,
                   on, hMode, vMode)
{
}

CTObj* CImgRadioWnd::ReadTemplate(int32_t kind, CRawParser* parser)
{
    return new CTImgRadioWnd(kind, parser);
}

CBaseObj* CImgRadioWnd::Create(CTObj* tpl)
{
    auto* t = static_cast<CTImgRadioWnd*>(tpl);
    const CRect& r = t->GetRect();
    return new CImgRadioWnd(t->GetId(), r.TopLeft(), t->GetMsgType(), t->GetBuildOwner(),
                            t->LoadImages().release(), t->GetGroupId(), t->GetSwitchOn(), r.GetBottom(),
                            r.GetRight());
}
