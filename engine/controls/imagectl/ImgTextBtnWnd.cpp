#include "engine/controls/imagectl/ImgTextBtnWnd.h"

#include "engine/controls/input/CaptionFrame.h"
#include "engine/framework/Str.h"
#include "engine/graphics/DrawEnv.h"

namespace {

// The text area relative to the button (the whole button without a text rectangle) with the
// side the offset points to moved in by the offset, so that the area moved by the offset stays
// inside it.
CRect UpTextRect(const CRect* textRect, const CPoint* offset, const CPoint& size)
{
    CRect r = textRect ? *textRect : CRect(0, 0, size.GetV(), size.GetH());
    if (!offset)
        return r;
    const int16_t x = offset->GetH(), y = offset->GetV();
    if (x >= 0)
        r.SetRight(static_cast<int16_t>(r.GetRight() - x));
    else
        r.SetLeft(static_cast<int16_t>(r.GetLeft() - x));
    if (y >= 0)
        r.SetBottom(static_cast<int16_t>(r.GetBottom() - y));
    else
        r.SetTop(static_cast<int16_t>(r.GetTop() - y));
    return r;
}

CRect OnWindow(const CRect& relative, const CPoint& corner)
{
    CRect r = relative;
    r.Offset(corner.GetH(), corner.GetV());
    return r;
}

} // namespace

CImgTextBtnWnd::CImgTextBtnWnd(int32_t id, const CPoint& reference, CBaseObj* target, CImgSet* images,
                               std::unique_ptr<CStr> text, const CRect* textRect, const CPoint* pressedOffset,
                               int16_t fontId, int32_t hMode, int32_t vMode)
    : CImgBtnWnd(id, reference, kMessage, target, kSendOnRelease, images, hMode, vMode),
      text_(std::move(text)), fontId_(fontId)
{
    const CRect& drawn = GetDrawnRect();
    textRect_ = UpTextRect(textRect, pressedOffset, CPoint(drawn.GetWidth(), drawn.GetHeight()));
    pressedRect_ = textRect_;
    if (pressedOffset)
        pressedRect_.Offset(pressedOffset->GetH(), pressedOffset->GetV());
}

CImgTextBtnWnd::~CImgTextBtnWnd() = default;

CRect CImgTextBtnWnd::GetTextRect() const { return OnWindow(textRect_, GetDrawnRect().TopLeft()); }

CRect CImgTextBtnWnd::GetPressedTextRect() const { return OnWindow(pressedRect_, GetDrawnRect().TopLeft()); }

void CImgTextBtnWnd::DrawContent(CDrawEnv* env, const CRect& clip)
{
    CImgBtnWnd::DrawContent(env, clip);
    if (!env || !text_)
        return;
    const bool pressed = IsEnabled() && IsPressed();
    env->SetFont(fontId_);
    env->SetTextColor(!IsEnabled() ? grayColor_ : pressed ? downColor_ : upColor_);
    env->DrawTextAligned(pressed ? GetPressedTextRect() : GetTextRect(), text_->GetText(), text_->GetLength(),
                         kJustifyCenter, kJustifyCenter, kBkTransparent);
}

void CImgTextBtnWnd::SetColors(int32_t up, int32_t down, int32_t gray)
{
    upColor_ = up;
    downColor_ = down;
    grayColor_ = gray;
}

void CImgTextBtnWnd::SetText(std::unique_ptr<CStr> text)
{
    text_ = std::move(text);
    Draw(false);
}

CTObj* CImgTextBtnWnd::ReadByReference(int32_t kind, CRawParser* parser)
{
    return new CTImgTextBtnWnd(kind, parser, false);
}

CTObj* CImgTextBtnWnd::ReadLiteral(int32_t kind, CRawParser* parser)
{
    return new CTImgTextBtnWnd(kind, parser, true);
}

CBaseObj* CImgTextBtnWnd::Create(CTObj* tpl)
{
    auto* t = static_cast<CTImgTextBtnWnd*>(tpl);
    const CRect& r = t->GetRect();
    const CPoint offset = t->GetOffset();
    auto* button = new CImgTextBtnWnd(
        t->GetId(), r.TopLeft(), t->GetBuildOwner(), t->LoadImages().release(),
        LabelText(*t, t->GetText(), t->GetStrLibMsk(), t->GetStrListId(), t->GetStrIndex()), t->GetTextRect(),
        &offset, t->GetFontId(), r.GetBottom(), r.GetRight());
    button->SetColors(t->GetUpColor(), t->GetDownColor(), t->GetGrayColor());
    if (t->GetKind() == kKindByReferenceDefault || t->GetKind() == kKindLiteralDefault)
        button->SetDefault(true);
    return button;
}

CTImgTextBtnWnd::CTImgTextBtnWnd(int32_t kind, CRawParser* parser, bool literal) : CTImgBtnWnd(kind, parser)
{
    if (literal) {
        text_ = parser->ReadStr(kTextField);
    } else {
        strListId_ = parser->ReadLong("strlistid");
        strLibMask_ = static_cast<uint32_t>(parser->ReadLong("strlibmsk"));
        strIndex_ = parser->ReadLong("strindex");
    }
    fontId_ = parser->ReadShort("fontid");
    const int16_t top = parser->ReadShort("top"), left = parser->ReadShort("left");
    const int16_t bottom = parser->ReadShort("bottom"), right = parser->ReadShort("right");
    textRect_.Set(top, left, bottom, right);
    const int16_t y = parser->ReadShort("y");
    offset_.Set(parser->ReadShort("x"), y);
    upColor_ = parser->ReadLong("upcolor");
    downColor_ = parser->ReadLong("downcolor");
    grayColor_ = parser->ReadLong("graycolor");
}

CTImgTextBtnWnd::~CTImgTextBtnWnd() = default;

const CRect* CTImgTextBtnWnd::GetTextRect() const
{
    const bool none = textRect_.GetTop() == 0 && textRect_.GetLeft() == 0 && textRect_.GetBottom() == 0 &&
                      textRect_.GetRight() == 0;
    return none ? nullptr : &textRect_;
}

void CTImgTextBtnWnd::Prepare()
{
    for (int32_t* color : {&upColor_, &downColor_, &grayColor_})
        if (*color == -1)
            *color = 0;
}

void CTImgTextBtnWnd::ApplyTo(CFrame* object)
{
    CTImgBtnWnd::ApplyTo(object);
    if (auto* button = dynamic_cast<CImgTextBtnWnd*>(object))
        button->SetNotifyType(CImgTextBtnWnd::kMessage);
}
