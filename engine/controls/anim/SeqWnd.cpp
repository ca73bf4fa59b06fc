#include "engine/controls/anim/SeqWnd.h"

#include "engine/controls/anim/Sequence.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Stopwatch.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/RawParser.h"

CSeqWnd::CSeqWnd(int32_t id, const CPoint& reference, CFrame* animator, CImgSet* images, CSequence* sequence,
                 CCelTable* cels, uint32_t soundLibMask, bool ownsSequence, bool ownsImages,
                 int32_t animatorId)
    : CAnimatorWnd(id, reference, animator, images, ownsImages, animatorId), soundLibMask_(soundLibMask)
{
    SetSequence(sequence, cels, ownsSequence);
    nextDue_ = Now();
    SetAnimation(kNoAnimation);
}

CSeqWnd::CSeqWnd(int32_t id, const CPoint& reference, CFrame* animator, CImgSet* images, int32_t sequenceId,
                 uint32_t libraryMask, uint32_t soundLibMask, bool ownsImages)
    : CSeqWnd(id, reference, animator, images, new CSequence(sequenceId, libraryMask),
              new CCelTable(sequenceId, libraryMask), soundLibMask, true, ownsImages, 0)
{
    if (images)
        ShowCel(0);
}

CSeqWnd::~CSeqWnd() { SetSequence(nullptr, nullptr, false); }

uint32_t CSeqWnd::Now() const { return GetStopwatch()->Elapsed(); }

void CSeqWnd::SetSequence(CSequence* sequence, CCelTable* cels, bool owns)
{
    if (ownsSequence_) {
        if (sequence_ != sequence)
            delete sequence_;
        if (cels_ != cels)
            delete cels_;
    }
    sequence_ = sequence;
    cels_ = cels;
    ownsSequence_ = owns;
}

void CSeqWnd::SetAnimation(int16_t n)
{
    const std::unique_ptr<SeqAnimation> entry =
        n != kNoAnimation && sequence_ ? sequence_->GetAnimation(n) : nullptr;
    nextDue_ = Now();
    if (!entry) {
        current_ = kNoAnimation;
        framesRemaining_ = 0;
        frameIndex_ = 0;
        next_ = 0;
        ticksPerFrame_ = 0;
        return;
    }
    framesRemaining_ = entry->frameCount;
    frameIndex_ = entry->firstFrame;
    next_ = entry->nextAnimation;
    ticksPerFrame_ = entry->ticksPerFrame;
    current_ = n;
}

void CSeqWnd::SetCel(int16_t n, int16_t, int16_t, int16_t)
{
    const std::unique_ptr<CelAnchor> anchor = cels_ ? cels_->GetEntry(n) : nullptr;
    CAnimatorWnd::SetCel(n, anchor ? anchor->h : 0, anchor ? anchor->v : 0, 0);
}

void CSeqWnd::PlayFrameSound(int32_t soundId, uint32_t libraryMask)
{
    if (auto* appl = dynamic_cast<CAppl*>(GetApplication()))
        appl->StartSound(soundId, libraryMask, 1);
}

bool CSeqWnd::SelectPlayable()
{
    // A chain of frameless animations would never yield a frame: after every animation has
    // had its turn (and 255 once), the element stops.
    int32_t selections = sequence_->GetAnimationCount() + 1;
    while (framesRemaining_ <= 0) {
        const int16_t next = next_;
        if (selections-- == 0 || (next != kNoAnimation && !sequence_->GetAnimation(next))) {
            SetAnimation(kNoAnimation);
            return false;
        }
        SetAnimation(next);
    }
    return true;
}

std::unique_ptr<SeqFrame> CSeqWnd::TakeDueFrame()
{
    if (!sequence_)
        return nullptr;
    if (pending_ != -1) {
        SetAnimation(pending_);
        pending_ = -1;
    }
    const uint32_t now = Now();
    if (!IsShown() || now < nextDue_ || current_ == kNoAnimation)
        return nullptr;
    if (!SelectPlayable())
        return nullptr;
    --framesRemaining_;
    std::unique_ptr<SeqFrame> frame = sequence_->GetFrame(frameIndex_++);
    if (!frame) {
        SetAnimation(kNoAnimation);
        return nullptr;
    }
    if (frame->sound != 0)
        PlayFrameSound(frame->sound, soundLibMask_);
    // Late steps are not made up: the next frame is due counted from now.
    nextDue_ = now + static_cast<uint32_t>(frame->ticks != 0 ? frame->ticks : ticksPerFrame_);
    return frame;
}

void CSeqWnd::Step()
{
    const std::unique_ptr<SeqFrame> frame = TakeDueFrame();
    if (!frame)
        return;
    const int16_t dh = IsFlipped() ? static_cast<int16_t>(-frame->dh) : frame->dh;
    ShowCel(frame->cel);
    if (dh != 0 || frame->dv != 0 || frame->dz != 0)
        MoveBy(dh, frame->dv, frame->dz);
}

CTObj* CSeqWnd::ReadTemplate(int32_t kind, CRawParser* parser) { return new CTSeqWnd(kind, parser); }

CBaseObj* CSeqWnd::Create(CTObj* tpl)
{
    auto* t = static_cast<CTSeqWnd*>(tpl);
    // A missing sequence or cel table is a fatal report: nothing loaded before it is kept.
    std::unique_ptr<CImgSet> images(LoadSprites(*t));
    auto cels = std::make_unique<CCelTable>(t->GetCelId(), t->GetCelLibMask());
    auto sequence = std::make_unique<CSequence>(t->GetSeqId(), t->GetSeqLibMask());
    const CRect& r = t->GetRect();
    return new CSeqWnd(t->GetId(), CPoint(r.GetLeft(), r.GetTop()), nullptr, images.release(),
                       sequence.release(), cels.release(), t->GetSoundLibMask(), true, true,
                       t->GetAnimatorId());
}

CTSeqWnd::CTSeqWnd(int32_t kind, CRawParser* parser) : CTAnimatorWnd(kind, parser)
{
    sequence_ = parser->ReadShort("sequence");
    soundLibMask_ = static_cast<uint32_t>(parser->ReadLong("sndlibmask"));
    seqId_ = parser->ReadLong("seq id");
    seqLibMask_ = static_cast<uint32_t>(parser->ReadLong("seqlibmask"));
    celId_ = parser->ReadLong("cel id");
    celLibMask_ = static_cast<uint32_t>(parser->ReadLong("cellibmask"));
}

void CTSeqWnd::ApplyTo(CFrame* object)
{
    CTAnimatorWnd::ApplyTo(object);
    if (auto* element = dynamic_cast<CSeqWnd*>(object))
        element->SetAnimation(sequence_);
}
