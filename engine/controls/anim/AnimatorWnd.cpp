#include "engine/controls/anim/AnimatorWnd.h"

#include "engine/controls/BTplList.h"
#include "engine/controls/Wind.h"
#include "engine/framework/Stopwatch.h"
#include "engine/graphics/RleImgSet.h"
#include "engine/graphics/RleStretchDraw.h"
#include "engine/resources/RawParser.h"

namespace {

DrawProc g_playfieldCelProc = nullptr;

} // namespace

void SetPlayfieldCelProc(DrawProc proc) { g_playfieldCelProc = proc; }

DrawProc GetPlayfieldCelProc() { return g_playfieldCelProc ? g_playfieldCelProc : DrawRleStretched; }

CAnimatorWnd::CAnimatorWnd(int32_t id, const CPoint& reference, CFrame* animator, CImgSet* images,
                           bool ownsImages, int32_t animatorId)
    : CImageWnd(id, reference, images, 0, 0, ownsImages), animator_(animator), animatorId_(animatorId)
{
    SetFlags(GetFlags() | kFlagTransparent);
    if (images)
        CAnimatorWnd::SetCel(0, 0, 0, 0);
}

void CAnimatorWnd::SetOwner(CBaseObj* owner)
{
    CImageWnd::SetOwner(owner);
    if (!owner || animator_ || animatorId_ == 0)
        return;
    if (CWind* window = GetOwnerWnd())
        if (CFrame* first = window->GetFirstFrame())
            animator_ = first->FindObject(kAnyKind, animatorId_);
}

CStopwatch* CAnimatorWnd::GetStopwatch() const
{
    return animator_ && animator_->GetTimer() ? animator_->GetClock() : GetGameClock();
}

const CRect& CAnimatorWnd::GetAnimatorRect() const
{
    return animator_ ? animator_->GetDrawnRect() : GetDrawnRect();
}

void CAnimatorWnd::SetCel(int16_t n, int16_t h, int16_t v, int16_t z)
{
    cel_ = n;
    SetFrame(n);
    if (flipped_)
        h = static_cast<int16_t>(GetDrawnRect().GetWidth() - h);
    SetOrigin(h, v, z);
}

void CAnimatorWnd::DrawCel(CDrawEnv* env, DrawProc proc, const CRect* clip, void* data)
{
    CImgSet* images = GetImages();
    images->SetIndex(cel_);
    images->SetDrawProc(proc, cel_, reinterpret_cast<intptr_t>(clip), flipped_ ? 1 : 0, 0,
                        reinterpret_cast<intptr_t>(data), GetZ());
    images->DrawInRect(env, GetDrawnRect());
    drawnCel_ = cel_;
    drawnFlipped_ = flipped_;
    SetChanged(false);
}

void CAnimatorWnd::Update()
{
    drawnCel_ = cel_;
    drawnFlipped_ = flipped_;
    Draw(false);
}

void CAnimatorWnd::DrawContent(CDrawEnv* env, const CRect& clip)
{
    if (!IsShown())
        return;
    // Only sprite cels go through the sprite routines; anything else (or no image at all)
    // draws as an image window does.
    if (!dynamic_cast<CRleImgSet*>(GetImages())) {
        CImageWnd::DrawContent(env, clip);
        SetChanged(false);
        return;
    }
    void* data = animator_ ? animator_->GetAltDrawData() : nullptr;
    if (data)
        DrawCel(env, GetPlayfieldCelProc(), &GetAnimatorRect(), data);
    else
        DrawCel(env, DrawRleStretched, &GetAnimatorRect(), nullptr);
}

void CAnimatorWnd::DrawCelAt(CDrawEnv* env, void* value)
{
    if (dynamic_cast<CRleImgSet*>(GetImages()))
        DrawCel(env, GetPlayfieldCelProc(), nullptr, value);
}

CImgSet* CAnimatorWnd::LoadSprites(const CTImageWnd& tpl)
{
    CBTplList* list = tpl.GetTplList();
    if (!list)
        return nullptr;
    const bool quiet = (tpl.GetFlags() & CTFrame::kFlagReportMissing) == 0;
    return list->LoadImage(tpl.GetImageLibMask(), tpl.GetImageId(), false, quiet).release();
}

CTObj* CAnimatorWnd::ReadTemplate(int32_t kind, CRawParser* parser)
{
    return new CTAnimatorWnd(kind, parser);
}

CBaseObj* CAnimatorWnd::Create(CTObj* tpl)
{
    auto* t = static_cast<CTAnimatorWnd*>(tpl);
    const CRect& r = t->GetRect();
    return new CAnimatorWnd(t->GetId(), CPoint(r.GetLeft(), r.GetTop()), nullptr, LoadSprites(*t), true,
                            t->GetAnimatorId());
}

CTAnimatorWnd::CTAnimatorWnd(int32_t kind, CRawParser* parser) : CTImageWnd(kind, parser)
{
    animatorId_ = parser->ReadLong("animator id");
    zPos_ = parser->ReadShort("z pos");
    flipped_ = parser->ReadShort("isflipped", "TP_BOOLEAN") != 0;
}

void CTAnimatorWnd::ApplyTo(CFrame* object)
{
    CTImageWnd::ApplyTo(object);
    auto* element = dynamic_cast<CAnimatorWnd*>(object);
    if (!element)
        return;
    element->SetFlipped(flipped_);
    element->MoveBy(0, 0, zPos_);
}
