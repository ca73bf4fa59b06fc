#include "engine/controls/native/StrListBox.h"

#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/RawParser.h"

namespace {

constexpr int32_t kKeyBack = 8;

} // namespace

CStrListBox::CStrListBox(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
                         CImgSet* barImages, std::unique_ptr<CTplRec> list, int16_t fontId,
                         uint32_t textColor, uint32_t frameColor, uint32_t backColor)
    : CListBox(id, rect, notifyType, target, barImages), textColor_(textColor), fontId_(fontId)
{
    SetForeColor(frameColor);
    SetBackColor(backColor);
    SetList(std::move(list));
}

void CStrListBox::MeasureRows()
{
    if (!GetOwnerWnd())
        return;
    CDrawEnv* env = GetDrawEnv();
    if (!env)
        return;
    FontInfo info;
    env->GetFontMetrics(info, fontId_);
    SetItemHeight(static_cast<int16_t>(info.ascent + info.descent + info.leading + 1));
}

void CStrListBox::SetOwner(CBaseObj* owner)
{
    CListBox::SetOwner(owner);
    MeasureRows();
}

void CStrListBox::SetFont(int16_t fontId)
{
    fontId_ = fontId;
    MeasureRows();
}

void CStrListBox::SetList(std::unique_ptr<CTplRec> list)
{
    list_ = std::move(list);
    SetItemCount(list_ ? list_->GetEntryCount() : 0);
    Draw(false);
}

std::unique_ptr<CStr> CStrListBox::GetCurrentString() const
{
    return list_ ? list_->GetEntryString(GetSelection()) : nullptr;
}

bool CStrListBox::HandleMessage(CMessage& message, CBaseObj* sender)
{
    if (message.GetId() == kMsgKey && message.GetParam(2) == kKeyBack && HasFocus() && GetItemCount() > 0) {
        GetNotifyMessage().SetParam(-1, 3);
        GetNotifyMessage().SetParam(kKeyBack, 2);
        SendNotify();
        return true;
    }
    return CListBox::HandleMessage(message, sender);
}

bool CStrListBox::WantsKey(int32_t key) { return CListBox::WantsKey(key) || key == kKeyBack; }

bool CStrListBox::DrawItem(CDrawEnv* env, int32_t index, const CRect& rect, bool highlighted)
{
    const CStr* entry = list_ ? list_->GetEntry(index) : nullptr;
    if (!entry || !env)
        return false;
    const int32_t color = env->GetForeColor();
    const int16_t font = env->GetFontId();
    env->SetFont(fontId_);
    if (!IsTransparent()) {
        env->SetTextColor(static_cast<int32_t>(highlighted ? textColor_ : GetBackColor()));
        env->FillRect(rect);
    }
    env->SetTextColor(static_cast<int32_t>(highlighted ? GetBackColor() : textColor_));
    CRect area = rect;
    if (justification_ == 0 && area.GetLeft() + kMargin < area.GetRight())
        area.SetLeft(static_cast<int16_t>(area.GetLeft() + kMargin));
    env->DrawTextWrapped(area, entry->GetText(), entry->GetLength(), static_cast<int16_t>(justification_),
                         kBkTransparent);
    env->SetFont(font);
    env->SetTextColor(color);
    return true;
}

CTObj* CStrListBox::ReadTemplate(int32_t kind, CRawParser* parser) { return new CTStrListBox(kind, parser); }

CBaseObj* CStrListBox::Create(CTObj* tpl)
{
    auto* t = static_cast<CTStrListBox*>(tpl);
    std::unique_ptr<CTplRec> list;
    t->GetStrListItem(t->GetStrLibMsk(), t->GetStrListId(), -1, &list, nullptr);
    return new CStrListBox(t->GetId(), t->GetRect(), t->GetMsgType(), t->GetBuildOwner(),
                           t->LoadImage(t->GetImageLibMask(), t->GetImageId()).release(), std::move(list),
                           t->GetFontId(), static_cast<uint32_t>(t->GetTextColor()),
                           static_cast<uint32_t>(t->GetFrameColor()),
                           static_cast<uint32_t>(t->GetBackColor()));
}

CTStrListBox::CTStrListBox(int32_t kind, CRawParser* parser) : CTListBox(kind, parser)
{
    strListId_ = parser->ReadLong("strlistid");
    strLibMask_ = static_cast<uint32_t>(parser->ReadLong("strlibmsk"));
    fontId_ = parser->ReadShort("fontid");
    textColor_ = parser->ReadLong("textcolor");
    frameColor_ = parser->ReadLong("frmcolor");
    backColor_ = parser->ReadLong("backcolor");
}
