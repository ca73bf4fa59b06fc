#include "game/base/CheckListCtl.h"

#include "engine/controls/imagectl/ImageControl.h"
#include "engine/framework/Message.h"
#include "engine/framework/Str.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/RawParser.h"

namespace {

enum : int32_t { kKeyEnter = 13, kKeyUp = 30, kKeyDown = 31 };

} // namespace

CCheckListCtl::CCheckListCtl(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
                             CImgSet* checkImages, CImgSet* barImages, std::unique_ptr<CTplRec> list,
                             const Looks& looks)
    : CListBox(id, rect, notifyType, target, barImages), checks_(checkImages), looks_(looks)
{
    SetForeColor(static_cast<uint32_t>(looks.textColor));
    SetBackColor(static_cast<uint32_t>(looks.backColor));
    SetList(std::move(list));
}

CCheckListCtl::~CCheckListCtl() = default;

void CCheckListCtl::SetOwner(CBaseObj* owner)
{
    CListBox::SetOwner(owner);
    CDrawEnv* env = GetOwnerWnd() ? GetDrawEnv() : nullptr;
    if (!env)
        return;
    FontInfo info;
    env->GetFontMetrics(info, looks_.fontId);
    auto height = static_cast<int16_t>(info.ascent + info.descent + info.leading + 1);
    if (checks_) {
        const CPoint size = ImageSizeOf(*checks_, 0);
        checkWidth_ = size.GetH();
        checkHeight_ = size.GetV();
        if (checkHeight_ > height)
            height = checkHeight_;
    }
    SetItemHeight(height);
}

void CCheckListCtl::SetList(std::unique_ptr<CTplRec> list)
{
    list_ = std::move(list);
    states_.clear();
    if (list_ && list_->GetEntryCount() > 0) {
        SetItemCount(list_->GetEntryCount());
        states_.assign(static_cast<size_t>(list_->GetEntryCount()), 0);
    }
    Draw(false);
}

uint16_t CCheckListCtl::GetState(int32_t line) const
{
    return line >= 0 && static_cast<size_t>(line) < states_.size() ? states_[static_cast<size_t>(line)] : 0;
}

void CCheckListCtl::SetState(int32_t line, uint16_t state)
{
    if (line >= 0 && static_cast<size_t>(line) < states_.size()) {
        states_[static_cast<size_t>(line)] = state;
        Draw(false);
    }
}

bool CCheckListCtl::Selectable(int32_t line) const
{
    return line >= 0 && static_cast<size_t>(line) < states_.size() && (GetState(line) & kDimmed) == 0;
}

void CCheckListCtl::SetItemIndex(int32_t index)
{
    if (index < 0 || index >= GetItemCount() || Selectable(index))
        CListBox::SetItemIndex(index);
}

void CCheckListCtl::Toggle()
{
    const int32_t line = GetSelection();
    if (!Selectable(line))
        return;
    states_[static_cast<size_t>(line)] ^= kChecked;
    Notify(kToggled, -1);
    Draw(false);
}

void CCheckListCtl::Notify(int32_t what, int32_t line)
{
    GetNotifyMessage().SetParam(line, 3);
    GetNotifyMessage().SetParam(what, 2);
    SendNotify();
}

void CCheckListCtl::MoveSelection(int32_t direction)
{
    const int32_t before = GetSelection();
    // Dimmed lines refuse the selection, so the next one is tried; past the ends it stays.
    for (int32_t tried = before + direction; tried >= 0 && tried < GetItemCount() && GetSelection() == before;
         tried += direction)
        SetItemIndex(tried);
    if (GetSelection() != before)
        Notify(0, GetSelection());
}

bool CCheckListCtl::HandleMessage(CMessage& message, CBaseObj* sender)
{
    if (message.GetId() == kMsgKey && HasFocus() && GetItemCount() > 0) {
        switch (message.GetParam(2)) {
        case kKeyEnter: Toggle(); return true;
        case kKeyUp: MoveSelection(-1); return true;
        case kKeyDown: MoveSelection(1); return true;
        default: break;
        }
    }
    return CListBox::HandleMessage(message, sender);
}

bool CCheckListCtl::WantsKey(int32_t key) { return CListBox::WantsKey(key) || key == kKeyEnter; }

int16_t CCheckListCtl::CheckImage(uint16_t state)
{
    return static_cast<int16_t>(((state & kChecked) ? 3 : 0) + ((state & kDimmed) ? 2 : 0));
}

bool CCheckListCtl::DrawItem(CDrawEnv* env, int32_t index, const CRect& rect, bool highlighted)
{
    const CStr* text = list_ ? list_->GetEntry(index) : nullptr;
    if (!text || !env)
        return false;
    const uint16_t state = GetState(index);
    const int32_t color = env->GetForeColor();
    CRect area = rect;
    area.SetLeft(static_cast<int16_t>(rect.GetLeft() + checkWidth_ + checkWidth_ / 2));
    env->SetFont(looks_.fontId);
    if (!IsTransparent()) {
        env->SetTextColor(looks_.backColor);
        env->FillRect(rect);
    }
    env->SetTextColor(highlighted         ? looks_.hiliteColor
                      : (state & kDimmed) ? looks_.dimColor
                                          : looks_.textColor);
    if (checks_)
        DrawImageAt(*checks_, CheckImage(state), env,
                    CPoint(static_cast<int16_t>(rect.GetLeft() + 1),
                           static_cast<int16_t>(rect.GetTop() + (rect.GetHeight() - checkHeight_) / 2)),
                    rect);
    env->DrawTextWrapped(area, text->GetText(), text->GetLength(), kJustifyStart, kBkTransparent);
    if (highlighted) {
        env->SetPen(looks_.hiliteColor, 1);
        env->FrameRect(rect);
    }
    env->SetTextColor(color);
    return true;
}

std::unique_ptr<CTplRec> CCheckListCtl::GetCheckedLines() const
{
    auto out = std::make_unique<CTplRec>();
    for (size_t i = 0; list_ && i < states_.size(); ++i)
        if ((states_[i] & kChecked) != 0)
            if (const CStr* text = list_->GetEntry(static_cast<int32_t>(i)))
                out->Add(std::make_unique<CStr>(*text));
    return out;
}

CTObj* CCheckListCtl::ReadTemplate(int32_t kind, CRawParser* parser)
{
    return new CCheckListTpl(kind, parser);
}

CBaseObj* CCheckListCtl::Create(CTObj* tpl)
{
    auto* t = static_cast<CCheckListTpl*>(tpl);
    std::unique_ptr<CImgSet> bar = LoadTemplatePicture(*t, t->GetImageLibMask(), t->GetImageId());
    std::unique_ptr<CImgSet> checks = LoadTemplatePicture(*t, t->GetCheckLibMask(), t->GetCheckImageId());
    std::unique_ptr<CTplRec> list;
    t->GetStrListItem(t->GetStrLibMsk(), t->GetStrListId(), -1, &list, nullptr);
    return new CCheckListCtl(t->GetId(), t->GetRect(), t->GetMsgType(), t->GetBuildOwner(), checks.release(),
                             bar.release(), std::move(list), t->GetLooks());
}

CCheckListTpl::CCheckListTpl(int32_t kind, CRawParser* parser) : CTListBox(kind, parser)
{
    checkImageId_ = parser->ReadLong("ckimgid");
    checkLibMask_ = static_cast<uint32_t>(parser->ReadLong("ckimglibmsk"));
    strListId_ = parser->ReadLong("strlistid");
    strLibMask_ = static_cast<uint32_t>(parser->ReadLong("strlibmsk"));
    looks_.fontId = parser->ReadShort("fontid");
    looks_.textColor = parser->ReadLong("my_txtcolor");
    looks_.hiliteColor = parser->ReadLong("my_hilitecolor");
    looks_.dimColor = parser->ReadLong("my_dimcolor");
    looks_.backColor = parser->ReadLong("my_backcolor");
}
