#include "engine/controls/input/CaptionFrame.h"

#include "engine/framework/Str.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/resources/RawParser.h"

namespace {

std::unique_ptr<CStr> OrSpace(std::unique_ptr<CStr> text)
{
    return text ? std::move(text) : std::make_unique<CStr>(" ");
}

} // namespace

CCaptionFrame::CCaptionFrame(int32_t id, const CPoint& at, std::unique_ptr<CStr> text, int16_t fontId,
                             int16_t pad, bool border)
    : CTextFrame(id, at, nullptr, fontId, false, border), pad2_(static_cast<int16_t>(pad * 2))
{
    SetHJust(1);
    SetVJust(1);
    AdoptText(std::move(text));
}

CPoint CCaptionFrame::SizeFor(int32_t textWidth, const FontInfo& font, int16_t pad)
{
    return CPoint(static_cast<int16_t>(textWidth + 2 * pad),
                  static_cast<int16_t>(font.height + font.leading + 2 * pad));
}

void CCaptionFrame::AdoptText(std::unique_ptr<CStr> text)
{
    Draw(false); // the old area
    CTextFrame::AdoptText(OrSpace(std::move(text)));
    FitText();
    Draw(false);
}

void CCaptionFrame::FitText()
{
    COffScEnv env;
    env.Init(CRect(0, 0, 32, 32), nullptr, false);
    env.SetFont(GetFontId());
    FontInfo font;
    env.GetFontMetrics(font, GetFontId());
    const int32_t width = PeekText() ? env.GetTextWidth(*PeekText()) : 0;
    SetSizePt(SizeFor(width, font, static_cast<int16_t>(pad2_ / 2)));
}

CTObj* CCaptionFrame::ReadByReference(int32_t kind, CRawParser* parser)
{
    return new CTCaptionFrame(kind, parser, false);
}

CTObj* CCaptionFrame::ReadLiteral(int32_t kind, CRawParser* parser)
{
    return new CTCaptionFrame(kind, parser, true);
}

CBaseObj* CCaptionFrame::Create(CTObj* tpl)
{
    auto* t = static_cast<CTCaptionFrame*>(tpl);
    const CRect& r = t->GetRect();
    return new CCaptionFrame(
        t->GetId(), r.TopLeft(),
        LabelText(*t, t->GetText(), t->GetStrLibMsk(), t->GetStrListId(), t->GetStrIndex()), t->GetFontId(),
        t->GetPad(), t->GetBorder());
}

CTCaptionFrame::CTCaptionFrame(int32_t kind, CRawParser* parser, bool literal)
    : CTTextFrame(kind, parser, literal)
{
    pad_ = parser->ReadShort("pad");
}

void CTCaptionFrame::ApplyTo(CFrame* object)
{
    CTTextFrame::ApplyTo(object);
    if (auto* caption = dynamic_cast<CTextFrame*>(object)) {
        caption->SetHJust(1);
        caption->SetVJust(1);
    }
}

std::unique_ptr<CStr> LabelText(const CTFrame& tpl, const CStr* literal, uint32_t libraryMask, int32_t listId,
                                int32_t index)
{
    if (literal)
        return std::make_unique<CStr>(*literal);
    std::unique_ptr<CStr> text;
    tpl.GetStrListItem(libraryMask, listId, index, nullptr, &text);
    return text;
}
