#include "engine/controls/text/ScrollList.h"

#include <algorithm>

#include "engine/framework/Message.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/resources/RawParser.h"

CScrollList::CScrollList(int32_t id, const CRect& rect, std::unique_ptr<CStr> text, int16_t fontId,
                         bool border, bool hasScrollBar)
    : CTextFrame(id, rect, std::move(text), fontId, false, border)
{
    SetHasScrollBar(hasScrollBar);
    // The scroll bar sends its list messages, which reach live objects only.
    if (!IsLive())
        RegisterLiveObject(this);
}

CScrollList::~CScrollList() = default;

bool CScrollList::HandleMessage(CMessage& message, CBaseObj*)
{
    if (message.GetId() != kMsgScrolled)
        return false;
    ScrollTo(GetBarValue(), false);
    Draw(true);
    UpdateWindow();
    return true;
}

void CScrollList::AppendText(std::unique_ptr<CStr> text)
{
    MarkLayoutDirty();
    CTextFrame::AppendText(std::move(text));
}

void CScrollList::SetText(std::unique_ptr<CStr> text)
{
    MarkLayoutDirty();
    CTextFrame::SetText(std::move(text));
}

void CScrollList::SetTextFromList(const CTplRec& list)
{
    MarkLayoutDirty();
    CTextFrame::SetTextFromList(list);
}

void CScrollList::AdoptText(std::unique_ptr<CStr> text)
{
    MarkLayoutDirty();
    CTextFrame::AdoptText(std::move(text));
}

void CScrollList::SetSize(int16_t width, int16_t height)
{
    CFrame::SetSize(width, height);
    MarkLayoutDirty();
    if (bar_ && hasScrollBar_) {
        PlaceScrollBar();
        // Laid out for the new size at once, so that the list does not stay scrolled past
        // its end.
        if (CDrawEnv* env = GetDrawEnv()) {
            Layout(env);
            ScrollTo(topRow_, false);
        }
    }
    Draw(true);
}

void CScrollList::SetHasScrollBar(bool hasBar)
{
    if (hasBar == hasScrollBar_)
        return;
    hasScrollBar_ = hasBar;
    MarkLayoutDirty();
    if (hasBar) {
        SetFlags(GetFlags() & ~kFlagTransparent);
        if (!bar_)
            MakeScrollBar();
        else
            ShowScrollBar(true);
    } else {
        ShowScrollBar(false);
    }
    Draw(true);
}

CRect CScrollList::TextArea() const
{
    CRect area = GetDrawnRect();
    if (HasBorder())
        area.Inset(2, 2);
    if (hasScrollBar_)
        area.SetRight(static_cast<int16_t>(area.GetRight() - kBarWidth));
    return area;
}

void CScrollList::ScrollTo(int16_t row, bool keep)
{
    if (items_.empty())
        return;
    int32_t top = row;
    if (hasScrollBar_ && !keep)
        top = std::min(top, totalRows_ - fitRows_);
    top = std::min<int32_t>(top, totalRows_ - 1);
    if (top < 1)
        top = 0;
    topRow_ = static_cast<int16_t>(top);
    visibleRows_ = static_cast<int16_t>(std::min(fitRows_, static_cast<int16_t>(totalRows_ - topRow_)));
    const auto first = std::find_if(items_.begin(), items_.end(),
                                    [this](const CScrollListItem& item) { return item.row >= topRow_; });
    topItem_ = static_cast<int16_t>(first - items_.begin());
    SetBarValue();
}

int32_t CScrollList::GetTotalHeight() const { return items_.empty() ? 0 : rowTops_.back(); }

int32_t CScrollList::GetMaxRowWidth() const
{
    int32_t widest = 0;
    int32_t width = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (i > 0 && items_[i].row != items_[i - 1].row)
            width = 0;
        width += items_[i].width;
        widest = std::max(widest, width);
    }
    return widest;
}

void CScrollList::DrawContent(CDrawEnv* env, const CRect&)
{
    if (!env)
        return;
    const int32_t color = env->GetForeColor();
    const int32_t back = env->GetBkColor();
    const int16_t font = env->GetFontId();

    CRect area = GetDrawnRect();
    if (hasScrollBar_)
        area.SetRight(static_cast<int16_t>(area.GetRight() - kBarWidth));
    if (!IsTransparent())
        DrawBackground(env);
    if (HasBorder()) {
        area.Inset(2, 2);
        DrawBorder(env);
    }
    if (const CStr* text = PeekText()) {
        env->SetTextColor(static_cast<int32_t>(GetTextColor()));
        if (layoutDirty_)
            Layout(env);
        if (!items_.empty()) {
            const int32_t top = rowTops_[static_cast<size_t>(topRow_)];
            const int32_t end = topRow_ + visibleRows_;
            for (size_t i = static_cast<size_t>(topItem_); i < items_.size() && items_[i].row < end; ++i) {
                const CScrollListItem& item = items_[i];
                env->SetFont(item.fontId);
                env->SetTextColor(static_cast<int32_t>(item.color));
                const int32_t v =
                    area.GetTop() + vOffset_ + rowTops_[static_cast<size_t>(item.row)] - top + item.extra;
                env->DrawTextAt(
                    CPoint(static_cast<int16_t>(area.GetLeft() + item.x), static_cast<int16_t>(v)),
                    text->GetText() + item.start, item.length, kBkTransparent);
            }
            lastDrawnRow_ = static_cast<int16_t>(end - 1);
            drawnHeight_ = static_cast<int16_t>(rowTops_[static_cast<size_t>(end)] - top);
        }
    }
    env->SetTextColor(color);
    env->SetBkColor(back);
    env->SetFont(font);
}

CTScrollList::CTScrollList(int32_t kind, CRawParser* parser, bool literal)
    : CTTextFrame(kind, parser, literal)
{
    hasScrollBar_ = parser->ReadShort("has scrollbar?") != 0;
}

CTObj* CScrollList::ReadByReference(int32_t kind, CRawParser* parser)
{
    return new CTScrollList(kind, parser, false);
}

CTObj* CScrollList::ReadLiteral(int32_t kind, CRawParser* parser)
{
    return new CTScrollList(kind, parser, true);
}

CBaseObj* CScrollList::Create(CTObj* tpl)
{
    auto* t = static_cast<CTScrollList*>(tpl);
    auto* list = new CScrollList(t->GetId(), t->GetRect(), nullptr, t->GetFontId(), t->GetBorder(),
                                 t->GetHasScrollBar());
    list->TakeTemplateText(*t);
    list->SetWrap(t->GetWrap());
    list->SetMarkup((t->GetFlags() & kFlagMarkupOff) == 0);
    return list;
}
