#include "game/base/SpinFrm.h"

#include "engine/controls/imagectl/ImageControl.h"
#include "engine/framework/Str.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/RawParser.h"

namespace {

// The settings of a spin control made without arrows; they have no effect without them.
RepeatSettings FixedRepeat()
{
    RepeatSettings r;
    r.idleTicks = 10;
    r.startInc = 1;
    r.incSize = 5;
    r.maxInc = 100;
    r.delayCount = 10;
    return r;
}

// Arrows end at the point horizontally and start at it vertically.
constexpr int32_t kArrowHMode = 2;

} // namespace

CSpinFrm::CSpinFrm(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target, int32_t minimum,
                   int32_t maximum, int32_t value, const Looks& looks, CImgSet* arrows,
                   const RepeatSettings& repeat)
    : CRangeFrame(kKindSpin, id, rect, notifyType, target, minimum, maximum, value), arrows_(arrows),
      looks_(looks)
{
    SetForeColor(static_cast<uint32_t>(looks.borderColor));
    SetBackColor(static_cast<uint32_t>(looks.backColor));
    if (!arrows_)
        return;
    const CRect& bounds = GetBounds();
    up_ = MakeArrow(CPoint(bounds.GetRight(), bounds.GetTop()), 0, kUp, repeat);
    down_ = MakeArrow(CPoint(bounds.GetRight(), up_->GetBounds().GetBottom()), 3, kDown, repeat);
    SetSize(bounds.GetWidth(), static_cast<int16_t>(down_->GetBounds().GetBottom() - bounds.GetTop()));
}

CRepeatButton* CSpinFrm::MakeArrow(const CPoint& at, int16_t frameBase, int32_t direction,
                                   const RepeatSettings& repeat)
{
    auto* arrow =
        new CRepeatButton(kNewId, at, kArrowMessage, this, 0, arrows_, frameBase, kArrowHMode, 0, repeat);
    arrow->SetNotifyParam(direction, 0);
    arrow->SetNotifyParam(1, 1);
    AddChild(arrow, false);
    return arrow;
}

CSpinFrm::~CSpinFrm()
{
    if (up_)
        up_->DetachImages();
    if (down_)
        down_->DetachImages();
    delete arrows_;
}

bool CSpinFrm::HandleMessage(CMessage& message, CBaseObj* sender)
{
    if (message.GetId() != kArrowMessage)
        return CRangeFrame::HandleMessage(message, sender);
    return Step(static_cast<int32_t>(message.GetParam(0)), static_cast<int32_t>(message.GetParam(1)));
}

bool CSpinFrm::Step(int32_t direction, int32_t step)
{
    const int64_t old = GetValue();
    int64_t next = 0;
    if (direction == kUp) {
        next = old + step;
        if (next > GetMax())
            next = GetMin();
    } else if (direction == kDown) {
        next = old - step;
        if (next < GetMin())
            next = GetMax();
    } else {
        return false;
    }
    GetNotifyMessage().SetParam(static_cast<MsgWord>(next - old), 2);
    SetValue(static_cast<int32_t>(next));
    SendNotify();
    return true;
}

std::unique_ptr<CStr> CSpinFrm::GetText() const { return std::make_unique<CStr>(GetValue(), false); }

void CSpinFrm::DrawContent(CDrawEnv* env, const CRect&)
{
    if (!env || !IsShown())
        return;
    const std::unique_ptr<CStr> text = GetText();
    const int32_t color = env->GetForeColor(), back = env->GetBkColor();
    const int16_t font = env->GetFontId();
    CRect area = GetDrawnRect();
    int16_t vJust = kJustifyStart;
    if (looks_.textTop < 0) {
        vJust = kJustifyCenter;
        if (GetFlags() & kFlagBorderTop)
            area.SetTop(static_cast<int16_t>(area.GetTop() + 2));
    } else {
        area.SetTop(static_cast<int16_t>(area.GetTop() + looks_.textTop));
    }
    if (!IsTransparent())
        DrawBackground(env);
    if (up_)
        area.SetRight(up_->GetDrawnRect().GetLeft());
    if (HasBorder()) {
        if (GetFlags() & kFlagBorderLeft)
            area.SetLeft(static_cast<int16_t>(area.GetLeft() + 2));
        if (GetFlags() & kFlagBorderBottom)
            area.SetBottom(static_cast<int16_t>(area.GetBottom() - 2));
        if (GetFlags() & kFlagBorderRight)
            area.SetRight(static_cast<int16_t>(area.GetRight() - 2));
        DrawBorder(env);
    }
    env->SetFont(looks_.fontId);
    env->SetTextColor(looks_.textColor);
    env->DrawTextAligned(area, text->GetText(), text->GetLength(), kJustifyCenter, vJust, kBkTransparent);
    env->SetTextColor(color);
    env->SetBkColor(back);
    env->SetFont(font);
}

CTObj* CSpinFrm::ReadTemplate(int32_t kind, CRawParser* parser) { return new CTSpinFrm(kind, parser); }

CTObj* CSpinFrm::ReadRepeatTemplate(int32_t kind, CRawParser* parser)
{
    return new CTRepeatSpinFrm(kind, parser);
}

CBaseObj* CSpinFrm::Create(CTObj* tpl)
{
    auto* t = static_cast<CTSpinFrm*>(tpl);
    CImgSet* arrows = nullptr;
    RepeatSettings repeat = FixedRepeat();
    if (t->GetKind() == kKindWithArrows) {
        auto* r = static_cast<CTRepeatSpinFrm*>(tpl);
        arrows = LoadTemplatePicture(*r, r->GetImageLibMask(), r->GetImageId()).release();
        repeat = r->GetRepeat();
    }
    return new CSpinFrm(t->GetId(), t->GetRect(), t->GetMsgType(), t->GetBuildOwner(), t->GetMinVal(),
                        t->GetMaxVal(), t->GetCurVal(), t->GetLooks(), arrows, repeat);
}

CTSpinFrm::CTSpinFrm(int32_t kind, CRawParser* parser) : CTRangeFrame(kind, parser)
{
    looks_.fontId = parser->ReadShort("fontid");
    looks_.textTop = parser->ReadShort("text top offset");
    looks_.textColor = parser->ReadLong("textcolor");
    looks_.borderColor = parser->ReadLong("brdrcolor");
    looks_.backColor = parser->ReadLong("backcolor");
}

CTRepeatSpinFrm::CTRepeatSpinFrm(int32_t kind, CRawParser* parser) : CTSpinFrm(kind, parser)
{
    imageId_ = parser->ReadLong("imgid");
    imageLibMask_ = static_cast<uint32_t>(parser->ReadLong("imglibmask"));
    repeat_ = ReadRepeatSettings(parser);
}
