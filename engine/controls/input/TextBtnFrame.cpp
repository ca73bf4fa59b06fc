#include "engine/controls/input/TextBtnFrame.h"

#include "engine/controls/TextFrame.h"
#include "engine/controls/Wind.h"
#include "engine/controls/input/CaptionFrame.h"
#include "engine/framework/Str.h"
#include "engine/resources/RawParser.h"

CTextBtnFrame::CTextBtnFrame(int32_t id, const CPoint& at, std::unique_ptr<CStr> text, int32_t notifyType,
                             CBaseObj* target, int16_t fontId, int16_t pad, int32_t normalColor,
                             int32_t hiliteColor, int32_t dimColor)
    : CPushFrame(kKindPush, id, CRect(at.GetV(), at.GetH(), at.GetV(), at.GetH()), notifyType, target,
                 kSendOnRelease, false),
      caption_(new CCaptionFrame(kNewId, at, std::move(text), fontId, pad, false)), dimColor_(dimColor),
      hiliteColor_(hiliteColor), normalColor_(normalColor)
{
    SetFlags(GetFlags() | kFlagOwnContent);
    caption_->SetTextColor(static_cast<uint32_t>(normalColor));
    AddChild(caption_, false);
    SetBounds(caption_->GetDrawnRect());
}

CTextBtnFrame::~CTextBtnFrame() = default;

void CTextBtnFrame::SetOwner(CBaseObj* owner)
{
    if (owner == GetOwner())
        return;
    if (GetOwner())
        StopTimer();
    CPushFrame::SetOwner(owner);
    if (owner && IsEnabled())
        StartHover();
}

bool CTextBtnFrame::OnTimer()
{
    CWind* window = GetOwnerWnd();
    if (!window)
        return false;
    CPoint point;
    window->GetCursorPos(point, false);
    const CRect& r = GetDrawnRect();
    const bool over = point.GetH() >= r.GetLeft() && point.GetH() <= r.GetRight() &&
                      point.GetV() >= r.GetTop() && point.GetV() <= r.GetBottom();
    const auto color = static_cast<int32_t>(caption_->GetTextColor());
    if (over && color != hiliteColor_)
        UpdateColor(true);
    else if (!over && color != normalColor_)
        UpdateColor(false);
    return true;
}

void CTextBtnFrame::Enable(bool enable, bool redraw, bool children)
{
    if (enable == IsEnabled())
        return;
    if (enable)
        StartHover();
    else
        StopTimer();
    CPushFrame::Enable(enable, redraw, children);
    UpdateColor(false);
}

void CTextBtnFrame::UpdateColor(bool over)
{
    const int32_t color = !IsEnabled() ? dimColor_ : over ? hiliteColor_ : normalColor_;
    caption_->SetTextColor(static_cast<uint32_t>(color));
    if (GetOwner())
        caption_->UpdateWindow();
}

void CTextBtnFrame::SetTextColors(int32_t normal, int32_t hilite)
{
    normalColor_ = normal;
    hiliteColor_ = hilite;
    UpdateColor(false);
}

void CTextBtnFrame::DrawContent(CDrawEnv*, const CRect&)
{
    caption_->SetFlags(IsTransparent() ? caption_->GetFlags() | kFlagTransparent
                                       : caption_->GetFlags() & ~kFlagTransparent);
}

void CTextBtnFrame::SetLabel(std::unique_ptr<CStr> text)
{
    caption_->AdoptText(std::move(text));
    SetBounds(caption_->GetDrawnRect());
    Draw(false);
}

CTObj* CTextBtnFrame::ReadByReference(int32_t kind, CRawParser* parser)
{
    return new CTTextBtnFrame(kind, parser, false);
}

CTObj* CTextBtnFrame::ReadLiteral(int32_t kind, CRawParser* parser)
{
    return new CTTextBtnFrame(kind, parser, true);
}

CBaseObj* CTextBtnFrame::Create(CTObj* tpl)
{
    auto* t = static_cast<CTTextBtnFrame*>(tpl);
    return new CTextBtnFrame(
        t->GetId(), t->GetRect().TopLeft(),
        LabelText(*t, t->GetText(), t->GetStrLibMsk(), t->GetStrListId(), t->GetStrIndex()), t->GetMsgType(),
        t->GetBuildOwner(), t->GetFontId(), t->GetPad(), t->GetNormalColor(), t->GetHiliteColor(),
        t->GetDimColor());
}

CTTextBtnFrame::CTTextBtnFrame(int32_t kind, CRawParser* parser, bool literal) : CTPushFrame(kind, parser)
{
    if (literal) {
        text_ = parser->ReadStr(CTTextFrame::kMaxText);
    } else {
        strListId_ = parser->ReadLong("strlistid");
        strLibMask_ = static_cast<uint32_t>(parser->ReadLong("strlibmsk"));
        strIndex_ = parser->ReadLong("strindex");
    }
    fontId_ = parser->ReadShort("fontid");
    normalColor_ = parser->ReadLong("normal color");
    hiliteColor_ = parser->ReadLong("hilite color");
    dimColor_ = parser->ReadLong("dim color");
    pad_ = parser->ReadShort("pad");
}

CTTextBtnFrame::~CTTextBtnFrame() = default;
