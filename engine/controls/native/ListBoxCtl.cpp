#include "engine/controls/native/ListBoxCtl.h"

#include "engine/controls/Wind.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/Font.h"
#include "engine/resources/RawParser.h"
#include "engine/resources/TplRecLoader.h"
#include "platform/widgets/Widgets.h"

namespace {

constexpr int32_t kKeyEnter = 13;
constexpr int32_t kKeyUp = 30;
constexpr int32_t kKeyDown = 31;

std::unique_ptr<CTplRec> OrEmpty(std::unique_ptr<CTplRec> list)
{
    return list ? std::move(list) : std::make_unique<CTplRec>();
}

// The whole string list a template names; null when there is none.
std::unique_ptr<CTplRec> TemplateList(const CTFrame& tpl, uint32_t mask, int32_t listId)
{
    std::unique_ptr<CTplRec> list;
    tpl.GetStrListItem(mask, listId, -1, &list, nullptr);
    return list;
}

bool IsLetter(int32_t key) { return (key >= 'a' && key <= 'z') || (key >= 'A' && key <= 'Z'); }

} // namespace

// ---- List box --------------------------------------------------------------------------------

CListBoxCtl::CListBoxCtl(int32_t id, const CRect& rect, CBaseObj* target, std::unique_ptr<CTplRec> list,
                         int16_t fontId, int16_t currentItem)
    : CControl(kKindListBox, id, rect, 0, target, fontId), list_(OrEmpty(std::move(list))),
      dblClick_(0, 0, 0, -1)
{
    current_ = list_->GetEntryCount() == 0 ? -1 : currentItem;
    SetInputMode(3);
    SetFlags(GetFlags() | kFlagTransparent);
    SetWndClass(plat::widgetclass::ListBox);
    SetWndStyle(plat::style::Child | plat::style::Border);
}

CListBoxCtl::~CListBoxCtl() = default;

void CListBoxCtl::SetDblClickTarget(CBaseObj* target)
{
    ownedDblTarget_.reset();
    dblTarget_ = target;
    if (target && !target->IsReceiver()) {
        ownedDblTarget_ = std::make_unique<CBaseObj>(*target);
        dblTarget_ = ownedDblTarget_.get();
    }
}

void CListBoxCtl::FillWidget()
{
    if (!GetHwnd())
        return;
    for (int32_t i = 0; i < list_->GetEntryCount(); ++i)
        plat::AddListString(GetHwnd(), MappedText(*list_->GetEntry(i)));
}

void CListBoxCtl::CreateWnd()
{
    CControl::CreateWnd();
    FillWidget();
    SetCurSel(current_);
}

void CListBoxCtl::SetCurSel(int16_t index)
{
    const int32_t count = list_->GetEntryCount();
    if (index >= count)
        current_ = static_cast<int16_t>(count - 1);
    else
        current_ = index < 0 ? -1 : index;
    if (GetHwnd())
        plat::SetListCurrent(GetHwnd(), index >= 0 && index < count ? index : -1);
}

void CListBoxCtl::AddString(std::unique_ptr<CStr> text)
{
    if (!text)
        return;
    if (GetHwnd())
        plat::AddListString(GetHwnd(), MappedText(*text));
    list_->Add(std::move(text));
}

void CListBoxCtl::Clear()
{
    if (GetHwnd())
        plat::ResetList(GetHwnd());
    list_ = std::make_unique<CTplRec>();
    current_ = -1;
}

void CListBoxCtl::SetList(std::unique_ptr<CTplRec> list)
{
    int16_t keep = current_;
    Clear();
    list_ = OrEmpty(std::move(list));
    if (keep >= list_->GetEntryCount())
        keep = static_cast<int16_t>(list_->GetEntryCount() - 1);
    FillWidget();
    SetCurSel(keep);
}

void CListBoxCtl::SetListFromRes(int32_t listId, uint32_t libraryMask)
{
    SetList(CreateTplRec(listId, libraryMask, false));
}

std::unique_ptr<CStr> CListBoxCtl::GetString(int32_t index) const { return list_->GetEntryString(index); }

std::unique_ptr<CStr> CListBoxCtl::GetCurrentString() const { return GetString(current_); }

void CListBoxCtl::SelectByText(const CStr& old)
{
    int16_t found = 0;
    for (int32_t i = 0; i < list_->GetEntryCount(); ++i)
        if (CStr::CompareText(old.GetText(), list_->GetEntry(i)->GetText(), true) >= 0) {
            found = static_cast<int16_t>(i);
            break;
        }
    SetCurSel(found);
}

void CListBoxCtl::SendDoubleClick()
{
    StoreValue(static_cast<int16_t>(plat::GetListCurrent(GetHwnd())));
    dblClick_.SetParam(GetValue(), 3);
    if (dblTarget_)
        DeliverMessage(*dblTarget_, dblClick_, this, false);
}

void CListBoxCtl::OnCommand(plat::WindowHandle, uint32_t, plat::WindowHandle, uint32_t code)
{
    if (code == plat::notify::ListSelChange) {
        current_ = static_cast<int16_t>(plat::GetListCurrent(GetHwnd()));
        GetNotifyMessage().SetParam(current_, 3);
        CInputFrame::SendNotify();
    } else if (code == plat::notify::ListDoubleClick && dblClick_.GetId() != 0) {
        SendDoubleClick();
    }
}

bool CListBoxCtl::HandleMessage(CMessage& message, CBaseObj*)
{
    if (!GetHwnd())
        return false;
    switch (message.GetId()) {
    case kMsgReload: {
        std::unique_ptr<CStr> old = GetCurrentString();
        SetListFromRes(static_cast<int32_t>(message.GetParam(0)), static_cast<uint32_t>(message.GetParam(1)));
        if (old) {
            if (GetCount() == 0)
                SetCurSel(-1);
            else
                SelectByText(*old);
        }
        UpdateWindow();
        // The target reads the item it reselected, not the one before the reload.
        GetNotifyMessage().SetParam(current_, 3);
        SendNotify();
        return true;
    }
    case kMsgKey:
        if (message.GetParam(2) == kKeyEnter && dblClick_.GetId() != 0)
            SendDoubleClick();
        return true;
    case kMsgMouse: return true;
    default: return false;
    }
}

bool CListBoxCtl::WantsKey(int32_t key)
{
    if (!HasFocus())
        return false;
    if (IsLetter(key) || key == kKeyUp || key == kKeyDown)
        return true;
    return key == kKeyEnter && dblClick_.GetId() != 0;
}

void CListBoxCtl::SetHasFocus(bool hasFocus)
{
    if (hasFocus != HasFocus())
        CControl::SetHasFocus(hasFocus);
}

void CListBoxCtl::DrawContent(CDrawEnv* env, const CRect& clip)
{
    if (refreshPending_) {
        SetHasFocus(true);
        SetCurSel(current_);
        refreshPending_ = 0;
    }
    CControl::DrawContent(env, clip);
}

CTObj* CListBoxCtl::ReadTemplate(int32_t kind, CRawParser* parser) { return new CTListBoxCtl(kind, parser); }

CBaseObj* CListBoxCtl::Create(CTObj* tpl)
{
    auto* t = static_cast<CTListBoxCtl*>(tpl);
    auto* box = new CListBoxCtl(t->GetId(), t->GetRect(), t->GetBuildOwner(),
                                TemplateList(*t, t->GetStrLibMsk(), t->GetStrListId()), t->GetFontId(),
                                t->GetCurItem());
    if (t->GetDblMsgType() == 0)
        return box;
    box->GetDblClickMessage() = CMessage(t->GetDblMsgType(), t->GetDblUser1(), 0, -1);
    if (t->GetDblWhoId() == 0 || t->GetDblWhoId() == t->GetNotifyWhoId()) {
        box->SetDblClickTarget(t->GetBuildOwner());
    } else {
        CBaseObj key(static_cast<uint32_t>(-1), t->GetDblWhoId(), nullptr);
        box->SetDblClickTarget(&key);
    }
    return box;
}

CTListBoxCtl::CTListBoxCtl(int32_t kind, CRawParser* parser) : CTControl(kind, parser)
{
    strListId_ = parser->ReadLong("strlistid");
    strLibMask_ = static_cast<uint32_t>(parser->ReadLong("strlibmsk"));
    curItem_ = parser->ReadShort("curitem");
    dblWhoId_ = parser->ReadLong("dmssgwhoid");
    dblMsgType_ = parser->ReadShort("tmp");
    dblUser1_ = parser->ReadLong("dusr1");
}

// ---- Combo box -------------------------------------------------------------------------------

CComboBox::CComboBox(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
                     std::unique_ptr<CTplRec> list, int16_t currentItem, int16_t windowHeight, int16_t fontId)
    : CControl(kKindCombo, id, rect, notifyType, target, fontId), list_(OrEmpty(std::move(list))),
      windowHeight_(windowHeight)
{
    SetFlags(GetFlags() | kFlagTransparent);
    CControl::SetMax(static_cast<int16_t>(list_->GetEntryCount()));
    StoreValue(currentItem);
    SetInputMode(kInputFocusable);
    SetWndClass(plat::widgetclass::ComboBox);
    SetWndStyle(plat::style::Child | plat::style::Border);
}

void CComboBox::MeasureWindowHeight()
{
    CWind* window = GetOwnerWnd();
    CDrawEnv* env = GetDrawEnv();
    if (!window || !env)
        return;
    FontInfo info;
    env->GetFontMetrics(info, GetFontId());
    const int32_t count = list_->GetEntryCount();
    int32_t h = GetDrawnRect().GetHeight();
    if (count > 1)
        h += (info.ascent + info.descent + info.leading) * count;
    if (const CFrame* root = window->GetFirstFrame(); root && h > root->GetBounds().GetHeight() - 10)
        h = root->GetBounds().GetHeight() - 10;
    if (windowHeight_ == 0 || h < windowHeight_)
        windowHeight_ = static_cast<int16_t>(h);
}

CRect CComboBox::WidgetRect() const
{
    CRect r = GetDrawnRect();
    r.SetBottom(static_cast<int16_t>(r.GetBottom() + windowHeight_));
    return r;
}

void CComboBox::CreateWnd()
{
    if (GetValue() < 1)
        StoreValue(1);
    MeasureWindowHeight();
    CControl::CreateWnd();
    if (!ApplyFont()) {
        SetFontId(0);
        ApplyFont();
    }
    if (!GetHwnd())
        return;
    for (int32_t i = 0; i < list_->GetEntryCount(); ++i)
        plat::AddListString(GetHwnd(), MappedText(*list_->GetEntry(i)));
    SetMax(static_cast<int16_t>(list_->GetEntryCount()));
    plat::SetListCurrent(GetHwnd(), GetValue() - 1);
}

void CComboBox::SendNotify()
{
    GetNotifyMessage().SetParam(GetValue(), 3);
    CInputFrame::SendNotify();
}

void CComboBox::SetValue(int16_t value)
{
    CControl::SetValue(value);
    if (GetHwnd())
        plat::SetListCurrent(GetHwnd(), GetValue() - 1);
}

void CComboBox::OnCommand(plat::WindowHandle, uint32_t, plat::WindowHandle, uint32_t code)
{
    if (code == plat::notify::ComboSelChange) {
        StoreValue(static_cast<int16_t>(plat::GetListCurrent(GetHwnd()) + 1));
        SendNotify();
    } else if (code == plat::notify::ComboSetFocus) {
        if (CWind* window = GetOwnerWnd())
            window->SetFocusControl(this);
    }
}

void CComboBox::SetHasFocus(bool hasFocus)
{
    if (GetHwnd() && hasFocus != HasFocus())
        CControl::SetHasFocus(hasFocus);
}

void CComboBox::SetList(std::unique_ptr<CTplRec> list, int16_t item)
{
    list_ = OrEmpty(std::move(list));
    SetMax(static_cast<int16_t>(list_->GetEntryCount()));
    if (GetHwnd()) {
        DestroyWnd();
        CreateWnd();
        DeleteOwnerTempObj();
    }
    SetValue(item);
    Draw(false);
}

CTObj* CComboBox::ReadTemplate(int32_t kind, CRawParser* parser) { return new CTComboBox(kind, parser); }

CBaseObj* CComboBox::Create(CTObj* tpl)
{
    auto* t = static_cast<CTComboBox*>(tpl);
    return new CComboBox(t->GetId(), t->GetRect(), t->GetMsgType(), t->GetBuildOwner(),
                         TemplateList(*t, t->GetStrLibMsk(), t->GetStrListId()),
                         static_cast<int16_t>(t->GetCurItem()), t->GetWinHeight(), t->GetFontId());
}

CTComboBox::CTComboBox(int32_t kind, CRawParser* parser) : CTControl(kind, parser)
{
    strListId_ = parser->ReadLong("strlistid");
    strLibMask_ = static_cast<uint32_t>(parser->ReadLong("strlibid"));
    curItem_ = parser->ReadLong("curitem");
    winHeight_ = parser->ReadShort("winht");
}
