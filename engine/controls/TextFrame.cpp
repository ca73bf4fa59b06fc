#include "engine/controls/TextFrame.h"

#include "engine/controls/Wind.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/resources/RawParser.h"

namespace {

constexpr uint32_t kDefaultColor = 0xFFFFFFFFu; // -1 in a template: the default colour
constexpr uint32_t kDefaultText = 0;
constexpr uint32_t kDefaultBack = 255;

} // namespace

CTextFrame::CTextFrame(int32_t id, const CRect& rect, std::unique_ptr<CStr> text, int16_t fontId, bool wrap,
                       bool border)
    : CFrame(kKind, id, rect, true)
{
    Init(std::move(text), fontId, wrap, border);
}

CTextFrame::CTextFrame(int32_t id, const CPoint& at, std::unique_ptr<CStr> text, int16_t fontId, bool wrap,
                       bool border)
    : CFrame(kKind, id, at, true)
{
    Init(std::move(text), fontId, wrap, border);
}

CTextFrame::~CTextFrame() = default;

void CTextFrame::Init(std::unique_ptr<CStr> text, int16_t fontId, bool wrap, bool border)
{
    SetFlags(GetFlags() | kFlagOwnContent);
    text_ = std::move(text);
    fontId_ = fontId;
    wrap_ = wrap ? 1 : 0;
    if (border && !HasBorder())
        SetBorder(kFlagBorders);
}

void CTextFrame::Changed()
{
    SetChanged(true);
    if (CWind* window = GetOwnerWnd())
        window->Invalidate(&GetDrawnRect());
}

void CTextFrame::AppendText(std::unique_ptr<CStr> text)
{
    if (!text_)
        text_ = std::make_unique<CStr>();
    if (text)
        text_->Append(*text);
    Changed();
}

std::unique_ptr<CStr> CTextFrame::GetText() const
{
    return text_ ? std::make_unique<CStr>(*text_) : std::make_unique<CStr>();
}

void CTextFrame::SetTextFromList(const CTplRec& list)
{
    auto text = std::make_unique<CStr>();
    const CStr lineEnd("\n");
    for (int32_t i = 0; i < list.GetEntryCount(); ++i) {
        text->Append(list.GetEntry(i));
        text->Append(lineEnd);
    }
    text_ = std::move(text);
    Changed();
}

void CTextFrame::AdoptText(std::unique_ptr<CStr> text)
{
    text_ = std::move(text);
    Changed();
}

void CTextFrame::SetText(std::unique_ptr<CStr> text)
{
    text_ = text ? std::make_unique<CStr>(*text) : nullptr;
    Changed();
}

void CTextFrame::DrawContent(CDrawEnv* env, const CRect&)
{
    if (!text_ || !env)
        return;
    const int32_t color = env->GetForeColor();
    const int32_t back = env->GetBkColor();
    const int16_t font = env->GetFontId();

    CRect area = GetDrawnRect();
    if (!IsTransparent())
        DrawBackground(env);
    if (HasBorder()) {
        area.Inset(2, 2);
        DrawBorder(env);
    }
    env->SetFont(fontId_);
    env->SetTextColor(static_cast<int32_t>(textColor_));
    const int32_t length = text_->GetLength();
    if (wrap_)
        env->DrawTextWrapped(area, text_->GetText(), length, static_cast<int16_t>(hJust_), kBkTransparent);
    else
        env->DrawTextAligned(area, text_->GetText(), length, static_cast<int16_t>(hJust_),
                             static_cast<int16_t>(vJust_), kBkTransparent);

    env->SetTextColor(color);
    env->SetBkColor(back);
    env->SetFont(font);
}

CBaseObj* CTextFrame::Create(CTObj* tpl)
{
    auto* t = static_cast<CTTextFrame*>(tpl);
    auto* frame =
        new CTextFrame(t->GetId(), t->GetRect(), nullptr, t->GetFontId(), t->GetWrap(), t->GetBorder());
    frame->TakeTemplateText(*t);
    return frame;
}

void CTextFrame::TakeTemplateText(const CTTextFrame& tpl)
{
    if (const CStr* literal = tpl.GetText()) {
        AdoptText(std::make_unique<CStr>(*literal));
        return;
    }
    std::unique_ptr<CTplRec> list;
    std::unique_ptr<CStr> text;
    tpl.GetStrListItem(tpl.GetStrLibMsk(), tpl.GetStrListId(), tpl.GetStrIndex(), &list, &text);
    if (text)
        AdoptText(std::move(text));
    else if (list)
        SetTextFromList(*list);
}

CTTextFrame::CTTextFrame(int32_t kind, CRawParser* parser, bool literal) : CTFrame(kind, parser)
{
    if (literal) {
        text_ = parser->ReadStr(kMaxText);
    } else {
        strListId_ = parser->ReadLong("strlistid");
        strLibMask_ = static_cast<uint32_t>(parser->ReadLong("strlibmsk"));
        strIndex_ = parser->ReadLong("strindex");
    }
    fontId_ = parser->ReadShort("fontid");
    textColor_ = static_cast<uint32_t>(parser->ReadLong("textcolor"));
    backColor_ = static_cast<uint32_t>(parser->ReadLong("bckcolor"));
    hJust_ = parser->ReadShort("hjust");
    vJust_ = parser->ReadShort("vjust");
    wrap_ = parser->ReadShort("Wrap?") != 0;
    border_ = parser->ReadShort("border?") != 0;
}

CTTextFrame::CTTextFrame(const CTTextFrame& other)
    : CTFrame(other), text_(other.text_ ? std::make_unique<CStr>(*other.text_) : nullptr),
      strListId_(other.strListId_), strLibMask_(other.strLibMask_), strIndex_(other.strIndex_),
      fontId_(other.fontId_), textColor_(other.textColor_), backColor_(other.backColor_),
      hJust_(other.hJust_), vJust_(other.vJust_), wrap_(other.wrap_), border_(other.border_)
{
}

CTTextFrame::~CTTextFrame() = default;

void CTTextFrame::Prepare()
{
    if (backColor_ == kDefaultColor)
        backColor_ = kDefaultBack;
    if (textColor_ == kDefaultColor)
        textColor_ = kDefaultText;
}

void CTTextFrame::ApplyTo(CFrame* object)
{
    CTFrame::ApplyTo(object);
    auto* frame = dynamic_cast<CTextFrame*>(object);
    if (!frame)
        return;
    frame->SetTextColor(textColor_);
    frame->SetBackColor(backColor_);
    frame->SetHJust(hJust_);
    frame->SetVJust(vJust_);
}

CTObj* CTTextFrame::ReadByReference(int32_t kind, CRawParser* parser)
{
    return new CTTextFrame(kind, parser, false);
}

CTObj* CTTextFrame::ReadLiteral(int32_t kind, CRawParser* parser)
{
    return new CTTextFrame(kind, parser, true);
}
