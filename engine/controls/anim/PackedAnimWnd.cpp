#include "engine/controls/anim/PackedAnimWnd.h"

#include "engine/controls/Wind.h"
#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Stopwatch.h"
#include "engine/graphics/FrameSet.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RawParser.h"
#include "engine/resources/RsrcBlock.h"

namespace {

constexpr int16_t kUnscaled = 10;

} // namespace

CPackedAnimWnd::CPackedAnimWnd(int32_t id, const CRect& rect, const Options& options, bool sizeAlways)
    : CFrame(kKind, id, rect, false), libraryMask_(options.libraryMask), firstId_(options.firstId),
      lastId_(options.lastId), scale_(static_cast<int16_t>(options.scaleBy / 10)),
      autoplay_(options.autoplay), loopLimit_(options.loopLimit), swiftness_(options.swiftness),
      cueListWanted_(options.cueList), notifyId_(options.notifyId), clickAction_(options.clickAction)
{
    SetTakesInput(true);
    RegisterLiveObject(this);
    LoadStrip(firstId_);
    if (!frameSet_)
        return;
    CPoint size;
    frameSet_->GetEntrySize(size, 0);
    const bool scaled = scale_ != kUnscaled;
    if (scaled) {
        const int32_t factor = scale_ / kUnscaled;
        size.Set(static_cast<int16_t>(size.GetH() * factor), static_cast<int16_t>(size.GetV() * factor));
    }
    if (scaled || sizeAlways)
        SetSizePt(size);
    lastFrameIndex_ = GetFrameCount() - 1;
}

CPackedAnimWnd::CPackedAnimWnd(int32_t id, const CPoint& at, const Options& options)
    : CPackedAnimWnd(id, CRect(at.GetV(), at.GetH(), at.GetV(), at.GetH()), options, true)
{
}

CPackedAnimWnd::CPackedAnimWnd(int32_t id, const CRect& rect, const Options& options)
    : CPackedAnimWnd(id, rect, options, false)
{
}

CPackedAnimWnd::~CPackedAnimWnd() = default;

uint32_t CPackedAnimWnd::GetClockTime() const { return GetClock()->Elapsed(); }

int32_t CPackedAnimWnd::GetFrameIndex() const { return frameSet_ ? frameSet_->GetIndex() : 0; }

int32_t CPackedAnimWnd::GetFrameCount() const { return frameSet_ ? frameSet_->GetCount() : 0; }

void CPackedAnimWnd::ApplyDrawProc()
{
    if (frameSet_ && IsTransparent())
        frameSet_->SetDrawProc(DrawTransparent);
}

void CPackedAnimWnd::LoadStrip(int32_t id)
{
    currentId_ = id;
    frameSet_.reset();
    if (std::unique_ptr<CRsrcBlock> block = GetLibMgr()->LoadResource("IMV", id, libraryMask_, true)) {
        frameSet_ = std::make_unique<CFrameSet>(std::move(block));
        // A strip without a picture plays as no strip at all.
        if (!frameSet_->IsValid() || frameSet_->GetCount() < 1)
            frameSet_.reset();
    }
    // Every strip of a chain draws as the first did.
    ApplyDrawProc();
    cueList_.reset();
    if (cueListWanted_) {
        cueList_ = std::make_unique<CAnimCueList>(this);
        cueList_->Load(id, libraryMask_, false);
    }
    GotoFrame(0);
}

void CPackedAnimWnd::GotoFrame(int32_t n)
{
    SelectSourceFrame(n);
    if (cueList_)
        cueList_->SeekFrame(n);
}

void CPackedAnimWnd::SelectSourceFrame(int32_t frame)
{
    if (frameSet_ && frame >= 0 && frame <= INT16_MAX)
        frameSet_->GoToFrame(static_cast<int16_t>(frame));
}

void CPackedAnimWnd::Rewind()
{
    if (frameSet_ && currentId_ == firstId_)
        GotoFrame(0);
    else
        LoadStrip(firstId_);
}

void CPackedAnimWnd::Play(bool restart)
{
    if (restart)
        Rewind();
    if (!frameSet_)
        return;
    playing_ = true;
    nextDue_ = 0;
    wakeTime_ = 0;
    StartTimer(0, (GetFlags() & kFlagRealClock) ? GetRealClock() : GetGameClock());
}

void CPackedAnimWnd::Stop(bool rewind)
{
    if (rewind)
        Rewind();
    playing_ = false;
    StopTimer();
}

void CPackedAnimWnd::Hide(bool recurse, bool erase)
{
    CFrame::Hide(recurse, erase);
    firstDrawPending_ = true;
}

bool CPackedAnimWnd::EndOfStrip()
{
    int32_t next = currentId_ + 1;
    if (next > lastId_) {
        ++loopCount_;
        if (loopLimit_ != 0 && loopCount_ >= loopLimit_) {
            Stop(false); // rests on the last frame
            return false;
        }
        next = firstId_;
        if (next == currentId_)
            GotoFrame(0);
    }
    if (next != currentId_)
        LoadStrip(next);
    return frameSet_ != nullptr;
}

bool CPackedAnimWnd::OnTimer()
{
    if (!frameSet_)
        return false;
    const uint32_t now = GetClockTime();
    if (nextDue_ > now || wakeTime_ > now)
        return false;
    int32_t steps = 1;
    // On the real clock a late pass makes up the frames it missed; a swiftness of 0 has no
    // measure for that and steps once.
    if (nextDue_ >= 1 && (GetFlags() & kFlagRealClock) && swiftness_ > 0)
        steps = static_cast<int32_t>((now - nextDue_) / static_cast<uint32_t>(swiftness_)) + 1;
    for (int32_t i = 0; i < steps; ++i) {
        UpdateWindow();
        if (cueList_)
            cueList_->OnFrame(GetFrameIndex());
        if (!frameSet_->NextFrame() && !EndOfStrip())
            return true;
        if (wakeTime_ > now)
            break; // a cue asked to wait
    }
    nextDue_ = now + static_cast<uint32_t>(swiftness_);
    return true;
}

void CPackedAnimWnd::DrawContent(CDrawEnv* env, const CRect&)
{
    if (firstDrawPending_) {
        ApplyDrawProc();
        if (!playing_ && autoplay_) {
            firstDrawPending_ = false;
            Play(true);
        }
    }
    if (frameSet_)
        frameSet_->Draw(env, GetDrawnRect(), scale_ != kUnscaled);
}

bool CPackedAnimWnd::HandleMessage(CMessage& message, CBaseObj*)
{
    if (message.GetId() == kMsgPlay) {
        if (!frameSet_)
            return true;
        if (message.GetParam(0) > 0)
            SetSwiftness(static_cast<int16_t>(message.GetParam(0)));
        if (GetFrameIndex() == 0 && GetFrameCount() > 1) {
            GotoFrame(1);
            Play(false);
        } else {
            Play(true);
        }
        return true;
    }
    if (message.GetId() != kMsgMouse || message.GetParam(2) != 1 || !frameSet_)
        return false;
    CWind* window = GetOwnerWnd();
    CPoint at;
    if (window)
        window->GetCursorPos(at, false);
    if (!window || !HitTest(at))
        return false;
    switch (clickAction_) {
    case kClickSkipToEnd:
        if (playing_ && GetFrameIndex() < lastFrameIndex_)
            GotoFrame(lastFrameIndex_);
        return true;
    case kClickRestart: Play(true); return true;
    case kClickToggle:
        if (!playing_ || GetFrameIndex() >= lastFrameIndex_)
            Play(false);
        else
            Stop(false);
        return true;
    default: return false;
    }
}

CTObj* CPackedAnimWnd::ReadTemplate(int32_t kind, CRawParser* parser)
{
    return new CTPackedAnimWnd(kind, parser);
}

CBaseObj* CPackedAnimWnd::Create(CTObj* tpl)
{
    auto* t = static_cast<CTPackedAnimWnd*>(tpl);
    const CRect& r = t->GetRect();
    if (r.GetBottom() != -1 && r.GetRight() != -1)
        return new CPackedAnimWnd(t->GetId(), r, t->GetOptions());
    return new CPackedAnimWnd(t->GetId(), CPoint(r.GetLeft(), r.GetTop()), t->GetOptions());
}

CTPackedAnimWnd::CTPackedAnimWnd(int32_t kind, CRawParser* parser) : CTFrame(kind, parser)
{
    options_.notifyId = parser->ReadLong("notifywhoid");
    options_.firstId = parser->ReadLong("imgid");
    options_.lastId = options_.firstId;
    options_.libraryMask = static_cast<uint32_t>(parser->ReadLong("imglibmask"));
    options_.swiftness = parser->ReadLong("swiftness");
    options_.cueList = parser->ReadShort("tmp") != 0;
    options_.autoplay = parser->ReadShort("tmp") != 0;
    options_.loopLimit = parser->ReadShort("loop");
    options_.scaleBy = parser->ReadShort("scaleby");
    options_.clickAction = parser->ReadShort("on_click");
}
