#include "engine/controls/native/TextLabel.h"

#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/Palette.h"
#include "engine/resources/RawParser.h"
#include "platform/Metrics.h"

namespace {

// A caption written in a label template keeps at most 511 characters.
constexpr int16_t kMaxCaption = 512;
constexpr int32_t kRgbColor = 0x10000000;

// The program colour of a system colour: its nearest index in the palette, or the colour as
// RGB without one.
uint32_t SystemColor(CDrawEnv& env, plat::SysColor which)
{
    const plat::Rgb c = plat::GetSysColor(which);
    if (CPalette* palette = env.GetPalette())
        return palette->NearestIndex(c.r, c.g, c.b);
    return static_cast<uint32_t>(kRgbColor | c.r | (c.g << 8) | (c.b << 16));
}

} // namespace

CTextLabel::CTextLabel(int32_t id, const CRect& rect, std::unique_ptr<CStr> text, int16_t fontId,
                       int32_t justification)
    : CFrame(5, id, rect, false), text_(std::move(text)), fontId_(fontId), justification_(justification)
{
    SetFlags(GetFlags() | kFlagOwnContent);
}

void CTextLabel::TakeSystemColors(CDrawEnv& env)
{
    SetBackColor(SystemColor(env, plat::SysColor::ButtonFace));
    textColor_ = SystemColor(env, plat::SysColor::WindowText);
}

void CTextLabel::DrawContent(CDrawEnv* env, const CRect&)
{
    if (!env)
        return;
    const int32_t back = env->GetBkColor(), fore = env->GetForeColor();
    const int16_t font = env->GetFontId();
    if (IsTransparent())
        TakeSystemColors(*env);
    env->SetFont(fontId_);
    if (!IsTransparent())
        DrawBackground(env);
    env->SetPenWidth(thickness_);
    DrawBorder(env);
    env->SetPenWidth(1);
    env->SetTextColor(static_cast<int32_t>(textColor_));
    env->SetBkColor(static_cast<int32_t>(GetBackColor()));
    if (text_) {
        CRect area = GetDrawnRect();
        area.SetLeft(static_cast<int16_t>(area.GetLeft() + kCaptionInset));
        area.SetRight(static_cast<int16_t>(area.GetRight() - kCaptionInset));
        env->DrawTextAligned(area, text_->GetText(), text_->GetLength(), static_cast<int16_t>(justification_),
                             0, kBkOpaque);
    }
    env->SetFont(font);
    env->SetTextColor(fore);
    env->SetBkColor(back);
}

void CTextLabel::DrawBorder(CDrawEnv* env)
{
    if (!env)
        return;
    CRect r = GetDrawnRect();
    const int16_t font = env->GetFontId();
    if (text_) {
        env->SetFont(fontId_);
        FontInfo info;
        env->GetFontMetrics(info, fontId_);
        r.SetTop(static_cast<int16_t>(r.GetTop() + (info.ascent + info.descent) / 2));
    }
    const int32_t fore = env->GetForeColor();
    env->SetTextColor(static_cast<int32_t>(GetForeColor()));
    const int16_t top = r.GetTop(), left = r.GetLeft();
    const auto bottom = static_cast<int16_t>(r.GetBottom() - 1),
               right = static_cast<int16_t>(r.GetRight() - 1);
    const uint32_t flags = GetFlags();
    if (flags & kFlagBorderTop)
        env->DrawLine(top, left, top, right);
    if (flags & kFlagBorderLeft)
        env->DrawLine(top, left, bottom, left);
    if (flags & kFlagBorderBottom)
        env->DrawLine(bottom, left, bottom, right);
    if (flags & kFlagBorderRight)
        env->DrawLine(top, right, bottom, right);
    env->SetTextColor(fore);
    env->SetFont(font);
}

CTObj* CTextLabel::ReadTemplate(int32_t kind, CRawParser* parser) { return new CTTextLabel(kind, parser); }

CBaseObj* CTextLabel::Create(CTObj* tpl)
{
    auto* t = static_cast<CTTextLabel*>(tpl);
    auto* label = new CTextLabel(t->GetId(), t->GetRect(),
                                 t->GetText() ? std::make_unique<CStr>(*t->GetText()) : nullptr,
                                 t->GetFontId(), t->GetHJust());
    label->SetTextColor(static_cast<uint32_t>(t->GetTextColor()));
    label->SetBackColor(static_cast<uint32_t>(t->GetBackColor()));
    label->SetThickness(t->GetThickness());
    return label;
}

CTTextLabel::CTTextLabel(int32_t kind, CRawParser* parser) : CTFrame(kind, parser)
{
    text_ = parser->ReadStr(kMaxCaption);
    fontId_ = parser->ReadShort("fontid");
    textColor_ = parser->ReadLong("textcolor");
    backColor_ = parser->ReadLong("bckcolor");
    hJust_ = parser->ReadShort("hjust");
    thickness_ = parser->ReadShort("thickness");
    if (backColor_ == -1)
        backColor_ = 255;
    if (textColor_ == -1)
        textColor_ = 0;
}
