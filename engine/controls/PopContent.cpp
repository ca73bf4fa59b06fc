#include "engine/controls/PopContent.h"

#include <algorithm>
#include <vector>

#include "engine/framework/Str.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/TextLayout.h"
#include "engine/resources/TextRsrc.h"

namespace {

// The record's items in order: mode, width limit, fixed height, top, left, bottom, right,
// four longs, text.
enum HelpItem { kMode, kWidthLimit, kFixedHeight, kTop, kLeft, kBottom, kRight, kText = 11, kItemCount };

// Room for the border and a margin around the text.
constexpr int16_t kExtraWidth = 6;
constexpr int16_t kExtraHeight = 4;
// The height the text is first laid out in.
constexpr int16_t kFirstHeight = 20;

} // namespace

CPopTextFrame::CPopTextFrame(int32_t id, const CRect& rect, uint32_t libraryMask)
    : CTextFrame(id, rect, nullptr, 0, true, true), libraryMask_(libraryMask)
{
    SetFlags(GetFlags() & ~kFlagTransparent);
    SetHelpId(0);
}

void CPopTextFrame::SetSource(CFrame* frame)
{
    if (frame == source_)
        return;
    source_ = frame;
    const int32_t helpId = frame ? frame->GetHelpId() : 0;
    SetHelpId(helpId);
    if (helpId <= 0) {
        // Frames that draw their own help (negative ids) have none to give as text.
        AdoptText(nullptr);
        return;
    }
    LoadHelp(helpId, libraryMask_);
    if (mode_ == kModeKeepSize)
        return;
    if (fixedHeight_ == 0)
        SizeToText();
    else
        SetSize(widthLimit_, fixedHeight_);
}

void CPopTextFrame::LoadHelp(int32_t id, uint32_t libraryMask)
{
    std::unique_ptr<CTextRsrc> record = CTextRsrc::Create("HEP", id, libraryMask, false);
    const std::vector<CTextRsrc::Item> items = record ? record->GetItems() : std::vector<CTextRsrc::Item>{};
    if (items.size() < kItemCount) {
        AdoptText(nullptr);
        return;
    }
    mode_ = record->GetSignedNumber(items[kMode]);
    widthLimit_ = static_cast<int16_t>(record->GetSignedNumber(items[kWidthLimit]));
    fixedHeight_ = static_cast<int16_t>(record->GetSignedNumber(items[kFixedHeight]));
    const CRect rect(static_cast<int16_t>(record->GetSignedNumber(items[kTop])),
                     static_cast<int16_t>(record->GetSignedNumber(items[kLeft])),
                     static_cast<int16_t>(record->GetSignedNumber(items[kBottom])),
                     static_cast<int16_t>(record->GetSignedNumber(items[kRight])));
    if (rect.GetBottom() != 0 || rect.GetRight() != 0)
        SetBounds(rect);
    AdoptText(record->TakeString(items[kText].offset));
}

void CPopTextFrame::SizeToText()
{
    SetSize(widthLimit_, kFirstHeight);
    CDrawEnv* env = GetDrawEnv();
    const CStr* text = PeekText();
    if (!env || !text)
        return;
    const int16_t savedFont = env->GetFontId();
    env->SetFont(GetFontId());
    FontInfo font;
    env->GetFontMetrics(font, GetFontId());
    const std::string translated = env->TranslateText(text->GetText(), text->GetLength());
    const std::vector<TextLine> lines =
        WrapText(translated, widthLimit_ - kExtraWidth,
                 [env](std::string_view s) { return env->GetTextWidth(CStr(std::string(s).c_str())); });
    env->SetFont(savedFont);
    int32_t widest = 0;
    for (const TextLine& line : lines)
        widest = std::max(widest, line.width);
    const int32_t height = static_cast<int32_t>(lines.size()) * font.height;
    SetSize(static_cast<int16_t>(widest + kExtraWidth), static_cast<int16_t>(height + kExtraHeight));
}
