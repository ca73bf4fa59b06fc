#include "engine/controls/imagectl/ImgSwitchWnd.h"

CImgSwitchWnd::CImgSwitchWnd(int32_t id, const CPoint& reference, int32_t notifyType, CBaseObj* target,
                             CImgSet* images, bool on, int32_t hMode, int32_t vMode)
    : CSixImageControl(reference, images, hMode, vMode, kControlKind, id, CRect(), notifyType, target, on)
{
    SetFlags(GetFlags() & ~kFlagTransparent);
}

CImgSwitchWnd::CImgSwitchWnd(int32_t id, const CPoint& reference, int32_t notifyType, CBaseObj* target,
                             int32_t imageId, bool on, uint32_t libraryMask, int32_t hMode, int32_t vMode,
                             bool report)
    : CImgSwitchWnd(id, reference, notifyType, target, LoadPictureSet(imageId, libraryMask, report), on,
                    hMode, vMode)
{
}

CTObj* CImgSwitchWnd::ReadTemplate(int32_t kind, CRawParser* parser)
{
    return new CTImgSwitchWnd(kind, parser);
}

CBaseObj* CImgSwitchWnd::Create(CTObj* tpl)
{
    auto* t = static_cast<CTImgSwitchWnd*>(tpl);
    const CRect& r = t->GetRect();
    return new CImgSwitchWnd(t->GetId(), r.TopLeft(), t->GetMsgType(), t->GetBuildOwner(),
                             t->LoadImages().release(), t->GetSwitchOn(), r.GetBottom(), r.GetRight());
}
