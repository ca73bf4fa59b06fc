#include "engine/controls/text/PopTextList.h"

#include <vector>

#include "engine/framework/Str.h"
#include "engine/resources/TextRsrc.h"

namespace {

// The record's items in order: mode, width limit, fixed height, top, left, bottom, right,
// four longs, text.
enum HelpItem {
    kMode,
    kWidthLimit,
    kFixedHeight,
    kTop,
    kLeft,
    kBottom,
    kRight,
    kValues,
    kText = 11,
    kItemCount
};

// Room for the border and a margin around the text.
constexpr int16_t kExtraWidth = 6;
constexpr int16_t kExtraHeight = 4;
// The height the text is first laid out in.
constexpr int16_t kFirstHeight = 20;

} // namespace

CPopTextList::CPopTextList(int32_t id, const CRect& rect, uint32_t libraryMask)
    : CScrollList(id, rect, nullptr, 0, true, false), libraryMask_(libraryMask)
{
    SetWrap(true);
    SetFlags(GetFlags() & ~kFlagTransparent);
    SetHelpId(0);
}

void CPopTextList::SetSource(CFrame* frame)
{
    if (frame == source_)
        return;
    source_ = frame;
    loaded_ = false;
    const int32_t helpId = frame ? frame->GetHelpId() : 0;
    SetHelpId(helpId);
    if (helpId < 0) {
        frame->PrepareHelp();
        return;
    }
    if (helpId == 0 || !LoadHelp(helpId, libraryMask_)) {
        AdoptText(nullptr);
        return;
    }
    if (mode_ == kModeKeepSize)
        return;
    if (fixedHeight_ == 0)
        SizeToText();
    else
        SetSize(widthLimit_, fixedHeight_);
    MarkLayoutDirty();
}

bool CPopTextList::HasHelp() const { return GetHelpId() < 0 ? source_ != nullptr : loaded_; }

void CPopTextList::ForgetSource(const CFrame* frame)
{
    if (frame && frame == source_) {
        source_ = nullptr;
        loaded_ = false;
    }
}

bool CPopTextList::LoadHelp(int32_t id, uint32_t libraryMask)
{
    std::unique_ptr<CTextRsrc> record = CTextRsrc::Create("HEP", id, libraryMask, false);
    const std::vector<CTextRsrc::Item> items = record ? record->GetItems() : std::vector<CTextRsrc::Item>{};
    if (items.size() < kItemCount) {
        AdoptText(nullptr);
        return loaded_ = false;
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
    for (size_t i = 0; i < values_.size(); ++i)
        values_[i] = record->GetSignedNumber(items[kValues + i]);
    AdoptText(record->TakeString(items[kText].offset));
    return loaded_ = true;
}

void CPopTextList::SizeToText()
{
    SetSize(widthLimit_, kFirstHeight);
    CDrawEnv* env = GetDrawEnv();
    if (!env)
        return;
    Layout(env);
    SetSize(static_cast<int16_t>(GetMaxRowWidth() + kExtraWidth),
            static_cast<int16_t>(GetTotalHeight() + kExtraHeight));
}

void CPopTextList::DrawContent(CDrawEnv* env, const CRect& clip)
{
    if (GetHelpId() > 0)
        CScrollList::DrawContent(env, clip);
    else if (GetHelpId() < 0 && source_)
        source_->DrawHelp(env, GetDrawnRect());
}
