#include "engine/controls/ImageWnd.h"

#include "engine/controls/Placement.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/RawParser.h"

CImageWnd::CImageWnd(int32_t id, const CPoint& reference, CImgSet* images, int32_t hMode, int32_t vMode,
                     bool owns)
    : CFrame(kKind, id, reference, false), owns_(owns), images_(images), hMode_(hMode), vMode_(vMode)
{
    SetFlags(GetFlags() | kFlagOwnContent);
    if (images_)
        frame_ = images_->GetIndex();
    Place(reference);
}

CImageWnd::CImageWnd(int32_t id, const CPoint& reference, int32_t hMode, int32_t vMode)
    : CImageWnd(id, reference, nullptr, hMode, vMode, true)
{
}

CImageWnd::~CImageWnd()
{
    if (owns_)
        delete images_;
}

CPoint CImageWnd::ImageSize(int16_t n) const
{
    if (!images_)
        return CPoint(kMissingSize, kMissingSize);
    CRect r;
    images_->GetImageRect(r, n);
    return CPoint(r.GetWidth(), r.GetHeight());
}

void CImageWnd::Place(const CPoint& reference)
{
    SetBounds(PlaceAround(reference, ImageSize(frame_), hMode_, vMode_));
}

void CImageWnd::SetFrame(int16_t n)
{
    if (n == frame_)
        return;
    frame_ = n;
    if (!images_)
        return;
    SetSizePt(ImageSize(n));
    SetChanged(true);
}

CImgSet* CImageWnd::SetImages(CImgSet* images, bool owned)
{
    if (!images)
        return nullptr;
    CImgSet* old = images_;
    images_ = images;
    frame_ = images->GetIndex();
    SetSizePt(ImageSize(frame_));
    const bool ownedOld = owns_;
    owns_ = owned;
    if (old == images) // the same set again: nothing to give back or delete
        return nullptr;
    if (ownedOld) {
        delete old;
        return nullptr;
    }
    return old;
}

void CImageWnd::SetHMode(int32_t mode)
{
    if (mode == hMode_)
        return;
    const CRect bounds = ReplaceH(GetBounds(), hMode_, mode);
    hMode_ = mode;
    SetBounds(bounds);
}

void CImageWnd::SetVMode(int32_t mode)
{
    if (mode == vMode_)
        return;
    const CRect bounds = ReplaceV(GetBounds(), vMode_, mode);
    vMode_ = mode;
    SetBounds(bounds);
}

void CImageWnd::DrawContent(CDrawEnv* env, const CRect& clip)
{
    if (!images_) {
        if (env)
            DrawMissingImage(env, &GetDrawnRect(), false);
        return;
    }
    images_->SetIndex(frame_);
    DrawRecord& record = images_->GetRecord();
    record.params[7] = reinterpret_cast<intptr_t>(&clip);
    images_->DrawAtPoint(env, GetDrawnRect().TopLeft());
    record.params[7] = 0; // the clip rectangle lives only for this call
}

bool CImageWnd::HitTest(const CPoint& point)
{
    if (!CFrame::HitTest(point))
        return false;
    if (!images_ || !IsTransparent())
        return true;
    return images_->ContainsPoint(point - GetDrawnRect().TopLeft(), frame_);
}

CTObj* CImageWnd::ReadTemplate(int32_t kind, CRawParser* parser) { return new CTImageWnd(kind, parser); }

CBaseObj* CImageWnd::Create(CTObj* tpl)
{
    auto* t = static_cast<CTImageWnd*>(tpl);
    std::unique_ptr<CImgSet> images = t->LoadImage(t->GetImageLibMask(), t->GetImageId());
    if (images && (t->GetFlags() & kFlagTransparent))
        images->SetDrawProc(DrawTransparent);
    const CRect& r = t->GetRect();
    auto* element = new CImageWnd(t->GetId(), CPoint(r.GetLeft(), r.GetTop()), images.release(),
                                  r.GetBottom(), r.GetRight(), true);
    element->SetFrame(t->GetFrameIndex());
    return element;
}

CTImageWnd::CTImageWnd(int32_t kind, CRawParser* parser) : CTFrame(kind, parser)
{
    imageId_ = parser->ReadLong("imgid");
    imageLibMask_ = static_cast<uint32_t>(parser->ReadLong("imglibmsk"));
    frameIndex_ = parser->ReadShort("frmindex");
}
