#include "game/base/RepeatButton.h"

#include "engine/resources/RawParser.h"

CRepeatButton::CRepeatButton(int32_t id, const CPoint& reference, int32_t notifyType, CBaseObj* target,
                             int32_t whenToSend, CImgSet* images, int16_t frameBase, int32_t hMode,
                             int32_t vMode, const RepeatSettings& repeat)
    : CImgBtnWnd(id, reference, notifyType, target, whenToSend, images, frameBase, hMode, vMode),
      repeat_(repeat)
{
    SetStep(repeat_.startInc);
}

void CRepeatButton::OnMouseDown(bool inside, CMessage& message)
{
    CImgBtnWnd::OnMouseDown(inside, message);
    SetStep(repeat_.startInc);
    SendNotify();
    grown_ = false;
    countdown_ = repeat_.delayCount;
    StartTimer(static_cast<uint32_t>(repeat_.idleTicks), nullptr);
}

void CRepeatButton::OnMouseUp(bool inside, CMessage& message)
{
    countdown_ = 0;
    StopTimer();
    CImgBtnWnd::OnMouseUp(inside, message);
    SetStep(repeat_.startInc);
}

bool CRepeatButton::OnTimer()
{
    if (countdown_ != 0)
        --countdown_;
    if (countdown_ == 0) {
        countdown_ = repeat_.delayCount;
        SetStep(grown_ ? NextStep(GetStep(), repeat_) : repeat_.incSize);
        grown_ = true;
    }
    SendNotify();
    return true;
}

int32_t CRepeatButton::NextStep(int32_t step, const RepeatSettings& repeat)
{
    const int64_t sum = int64_t{step} + repeat.incSize;
    return sum < repeat.maxInc ? static_cast<int32_t>(sum) : repeat.maxInc;
}

CTObj* CRepeatButton::ReadTemplate(int32_t kind, CRawParser* parser)
{
    return new CTRepeatButton(kind, parser);
}

CBaseObj* CRepeatButton::Create(CTObj* tpl)
{
    auto* t = static_cast<CTRepeatButton*>(tpl);
    const CRect& r = t->GetRect();
    return new CRepeatButton(t->GetId(), r.TopLeft(), t->GetMsgType(), t->GetBuildOwner(), t->GetWhenToSend(),
                             t->LoadImages().release(), 0, r.GetBottom(), r.GetRight(), t->GetRepeat());
}

RepeatSettings ReadRepeatSettings(CRawParser* parser)
{
    RepeatSettings r;
    r.idleTicks = parser->ReadLong("idleticks");
    r.delayCount = parser->ReadShort("delaycount");
    r.startInc = parser->ReadLong("startinc");
    r.incSize = parser->ReadLong("incsize");
    r.maxInc = parser->ReadLong("maxinc");
    return r;
}

CTRepeatButton::CTRepeatButton(int32_t kind, CRawParser* parser)
    : CTImgBtnWnd(kind, parser), repeat_(ReadRepeatSettings(parser))
{
}
