#include "engine/controls/imagectl/BkImgBtnWnd.h"

#include <memory>

CBkImgBtnWnd::CBkImgBtnWnd(int32_t id, const CPoint& reference, int32_t notifyType, CBaseObj* target,
                           int32_t whenToSend, int32_t imageId, CImgSet* background,
                           const CPoint& inBackground, const CPoint* pressedOffset, uint32_t libraryMask,
                           int32_t hMode, int32_t vMode, bool report)
    : CImgBtnWnd(id, reference, notifyType, target, whenToSend, imageId, libraryMask, hMode, vMode, report)
{
    if (!background || !GetImages())
        return;
    // A copy of its own (not shared through a cache) receives the composed images.
    std::unique_ptr<CImgSet> composed(LoadPictureSet(imageId, libraryMask, report));
    if (!composed)
        return;
    // The part of the background under the button follows the shift of the placement modes.
    const CPoint origin = inBackground + (GetDrawnRect().TopLeft() - reference);
    Compose(*composed, *background, origin, pressedOffset);
    AdoptComposedImages(composed.release());
}

void CBkImgBtnWnd::Compose(CImgSet& composed, CImgSet& background, const CPoint& origin,
                           const CPoint* pressedOffset)
{
    CImgSet& own = *GetImages();
    // The background set is the caller's: its drawing record is given back as it was.
    const DrawRecord backgroundRecord = background.GetRecord();
    for (int16_t i = 0; i < composed.GetCount(); ++i) {
        CDibSect* target = composed.GetImage(i);
        if (!target)
            continue;
        const CPoint size = ImageSizeOf(composed, i);
        const CRect whole(0, 0, size.GetV(), size.GetH());
        CRect source = whole;
        source.Offset(origin);
        CRect place = whole;
        if (i == 1 && pressedOffset)
            place.MoveTo(pressedOffset->GetH(), pressedOffset->GetV());
        background.SetDrawProc(DrawOpaque, reinterpret_cast<intptr_t>(&source));
        background.Draw(target, whole);
        own.SetIndex(i);
        own.SetDrawProc(DrawTransparent, reinterpret_cast<intptr_t>(&whole));
        own.Draw(target, place);
    }
    background.GetRecord() = backgroundRecord;
}

CTObj* CBkImgBtnWnd::ReadTemplate(int32_t kind, CRawParser* parser)
{
    return new CTBkImgBtnWnd(kind, parser);
}

CBaseObj* CBkImgBtnWnd::Create(CTObj* tpl)
{
    auto* t = static_cast<CTBkImgBtnWnd*>(tpl);
    const CRect& r = t->GetRect();
    // The background serves the composition only.
    const std::unique_ptr<CImgSet> background = t->LoadImage(t->GetBackgroundLibMask(), t->GetBackgroundId());
    const CPoint offset = t->GetOffset();
    auto* button = new CBkImgBtnWnd(t->GetId(), r.TopLeft(), t->GetMsgType(), t->GetBuildOwner(),
                                    t->GetWhenToSend(), t->GetImageId(), background.get(),
                                    t->GetInBackground(), &offset, t->GetImageLibMask(), r.GetBottom(),
                                    r.GetRight(), (t->GetFlags() & CTFrame::kFlagReportMissing) != 0);
    if (t->GetKind() == kKindDefault)
        button->SetDefault(true);
    return button;
}

CTBkImgBtnWnd::CTBkImgBtnWnd(int32_t kind, CRawParser* parser) : CTImgBtnWnd(kind, parser)
{
    backgroundId_ = parser->ReadLong("bimgid");
    backgroundLibMask_ = static_cast<uint32_t>(parser->ReadLong("bimglibmask"));
    const int16_t y = parser->ReadShort("y in background");
    inBackground_.Set(parser->ReadShort("x in background"), y);
    const int16_t dy = parser->ReadShort("y offset");
    offset_.Set(parser->ReadShort("x offset"), dy);
}
