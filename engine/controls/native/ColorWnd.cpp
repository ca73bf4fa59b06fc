#include "engine/controls/native/ColorWnd.h"

#include "engine/resources/RawParser.h"

CColorWnd::CColorWnd(int32_t id, const CRect& rect, uint32_t color, uint32_t borderBits)
    : CFrame(kKindFrame, id, rect, false)
{
    SetBackColor(color);
    SetBorder(borderBits);
    SetForeColor(0);
    SetFlags(GetFlags() | kFlagOwnContent);
}

void CColorWnd::DrawContent(CDrawEnv* env, const CRect&)
{
    DrawBackground(env);
    DrawBorder(env);
}

CTObj* CColorWnd::ReadTemplate(int32_t kind, CRawParser* parser) { return new CTColorWnd(kind, parser); }

CBaseObj* CColorWnd::Create(CTObj* tpl)
{
    auto* t = static_cast<CTColorWnd*>(tpl);
    return new CColorWnd(t->GetId(), t->GetRect(), static_cast<uint32_t>(t->GetColor()), kFlagBorders);
}

CTColorWnd::CTColorWnd(int32_t kind, CRawParser* parser) : CTFrame(kind, parser)
{
    color_ = parser->ReadLong("color");
    if (color_ == -1)
        color_ = 255;
}

void CTColorWnd::ApplyTo(CFrame* object)
{
    CTFrame::ApplyTo(object);
    if (object)
        object->SetBorder(CFrame::kFlagBorders);
}
