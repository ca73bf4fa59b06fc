#include "engine/controls/Menu.h"

#include <algorithm>

#include "engine/framework/Appl.h"
#include "engine/framework/MsgMgr.h"
#include "engine/framework/Str.h"
#include "engine/resources/TextRsrc.h"
#include "platform/Input.h"

namespace {

// Menu texts are kept in the Macintosh character set in the libraries.
constexpr int32_t kPlainCharMap = 2;

int32_t g_nextHotKeyId = CMenuItem::kFirstHotKeyId;
// The "MNU" records being built, outermost first: a sub-menu naming one of them would nest
// for ever.
std::vector<int32_t> g_building;

std::unique_ptr<CStr> Converted(std::unique_ptr<CStr> text)
{
    if (!text)
        return std::make_unique<CStr>();
    text->MapChars(kPlainCharMap);
    return text;
}

// The nine values of one "MNU" entry, in record order.
enum EntryValue {
    kUnused1,
    kUnused2,
    kText,
    kHotKey,
    kUnused3,
    kId,
    kCommand,
    kFlags,
    kUnused4,
    kValueCount
};
constexpr int32_t kFlagDisabled = 0x1;
constexpr int32_t kFlagSubMenu = 0x2;

} // namespace

CNamedItem::CNamedItem(std::unique_ptr<CStr> name, int32_t id, int32_t kind)
    : name_(Converted(std::move(name))), id_(id), kind_(kind)
{
}

CNamedItem::~CNamedItem() = default;

void CNamedItem::SetName(std::unique_ptr<CStr> name) { name_ = Converted(std::move(name)); }

CMenuItem::CMenuItem() : CMenuItem(std::make_unique<CStr>("-"), 0, 0, false, 0) {}

CMenuItem::CMenuItem(std::unique_ptr<CStr> text, int32_t id, int32_t command, bool enabled, uint16_t hotKey)
    : CNamedItem(std::move(text), id, kKindItem), command_(command), hotKey_(hotKey),
      hotKeyId_(g_nextHotKeyId++)
{
    separator_ = name_->FirstChar() == '-' ? 1 : 0;
    enabled_ = (enabled && !separator_) ? 1 : 0;
}

CMenuItem::~CMenuItem() { UnregisterHotKey(); }

void ResetMenuState()
{
    g_nextHotKeyId = CMenuItem::kFirstHotKeyId;
    g_building.clear();
}

uint32_t CMenuItem::HotKeyModifiers(uint16_t hotKey)
{
    uint32_t mods = 0;
    if (hotKey & 0x100)
        mods |= plat::hotkeymod::Alt;
    if (hotKey & 0x200)
        mods |= plat::hotkeymod::Control;
    if (hotKey & 0x400)
        mods |= plat::hotkeymod::Shift;
    if (hotKey & 0x800)
        mods |= plat::hotkeymod::Windows;
    return mods;
}

void CMenuItem::RegisterHotKey()
{
    const auto key = static_cast<uint8_t>(hotKey_ & 0xFF);
    if (registered_ || key == 0)
        return;
    registered_ = plat::RegisterHotKey(hotKeyId_, HotKeyModifiers(hotKey_), key) ? 1 : 0;
}

void CMenuItem::UnregisterHotKey()
{
    if (!registered_)
        return;
    plat::UnregisterHotKey(hotKeyId_);
    registered_ = 0;
}

void CMenuItem::AppendTo(plat::MenuHandle menu)
{
    plat::MenuItem entry;
    if (separator_) {
        entry.separator = true;
        plat::AppendMenuItem(menu, entry);
        return;
    }
    entry.text = name_->GetText();
    entry.id = static_cast<uint32_t>(id_);
    entry.grayed = !IsEnabled();
    entry.checked = IsChecked();
    plat::AppendMenuItem(menu, entry);
    if (IsEnabled())
        RegisterHotKey();
}

void CMenuItem::Check(plat::MenuHandle menu, int position, bool check)
{
    checked_ = check ? 1 : 0;
    plat::CheckMenuItem(menu, position, check);
}

void CMenuItem::Enable(plat::MenuHandle menu, int position, bool enable)
{
    enabled_ = enable ? 1 : 0;
    plat::EnableMenuItem(menu, position, enable);
    if (enable)
        RegisterHotKey();
    else
        UnregisterHotKey();
}

void CMenuItem::SetText(plat::MenuHandle menu, int position, std::unique_ptr<CStr> text)
{
    SetName(std::move(text));
    plat::ModifyMenuItem(menu, position, static_cast<uint32_t>(id_), name_->GetText());
}

void CMenuItem::SuspendHotKey(bool suspend)
{
    if (suspend)
        UnregisterHotKey();
    else if (IsEnabled())
        RegisterHotKey();
}

void CMenuItem::Invoke()
{
    if (command_ == 0)
        return;
    if (CBaseAppl* appl = GetApplication())
        SendMsgParam(*appl, command_, 2, id_, nullptr);
}

CMenu::CMenu(int32_t id, std::unique_ptr<CStr> name) : CNamedItem(std::move(name), id, kKindMenu) {}

CMenu::CMenu(int32_t resourceId, uint32_t libraryMask, std::unique_ptr<CStr> name)
    : CNamedItem(std::move(name), resourceId, kKindMenu)
{
    Build(resourceId, libraryMask);
}

CMenu::~CMenu()
{
    while (!items_.empty())
        RemoveItem(0);
    if (popup_ && plat::IsMenu(popup_))
        plat::DestroyMenu(popup_);
}

void CMenu::Build(int32_t resourceId, uint32_t libraryMask)
{
    if (std::find(g_building.begin(), g_building.end(), resourceId) != g_building.end())
        return;
    std::unique_ptr<CTextRsrc> record = CTextRsrc::Create("MNU", resourceId, libraryMask, false);
    if (!record)
        return;
    g_building.push_back(resourceId);
    const std::vector<CTextRsrc::Item>& items = record->GetItems();
    // The entry count the record stores is not trusted: only entries whose values up to the
    // flags are in the record are read. The last value is unused and often a filler
    // ("fshort"), which the compiler stores only while text follows, so the record's last
    // entry lacks it.
    const size_t first = (!items.empty() && items[0].code == kFmtList) ? 1 : 0;
    for (size_t at = first; at + kUnused4 <= items.size(); at += kValueCount) {
        const CTextRsrc::Item* e = &items[at];
        std::unique_ptr<CStr> text = record->TakeString(e[kText].offset);
        const int32_t id = record->GetSignedNumber(e[kId]);
        const int32_t flags = record->GetSignedNumber(e[kFlags]);
        if (flags & kFlagSubMenu) {
            AddItem(new CMenu(id, libraryMask, std::move(text)));
        } else {
            const auto hotKey = static_cast<uint16_t>(record->GetSignedNumber(e[kHotKey]));
            AddItem(new CMenuItem(std::move(text), id, record->GetSignedNumber(e[kCommand]),
                                  (flags & kFlagDisabled) == 0, hotKey));
        }
    }
    g_building.pop_back();
}

CNamedItem* CMenu::GetItem(int32_t i) const
{
    return i >= 0 && i < GetItemCount() ? items_[static_cast<size_t>(i)].get() : nullptr;
}

void CMenu::AddItem(CNamedItem* item)
{
    if (!item)
        return;
    items_.emplace_back(item);
    if (!popup_)
        return;
    if (item->GetKind() == kKindMenu) {
        auto* sub = static_cast<CMenu*>(item);
        plat::MenuItem entry;
        entry.text = sub->GetName().GetText();
        entry.popup = sub->CreatePopup();
        entry.grayed = !sub->IsEnabled();
        plat::AppendMenuItem(popup_, entry);
    } else {
        static_cast<CMenuItem*>(item)->AppendTo(popup_);
    }
}

void CMenu::RemoveItem(int32_t index)
{
    if (index < 0 || index >= GetItemCount())
        return;
    items_.erase(items_.begin() + index);
}

plat::MenuHandle CMenu::CreatePopup()
{
    popup_ = plat::CreateMenu();
    std::vector<std::unique_ptr<CNamedItem>> items = std::move(items_);
    items_.clear();
    // Appending again builds the entries in order through AddItem's own path.
    for (auto& item : items)
        AddItem(item.release());
    return popup_;
}

void CMenu::Enable(plat::MenuHandle menu, int position, bool enable)
{
    enabled_ = enable ? 1 : 0;
    if (popup_)
        plat::EnableMenuItem(menu, position, enable);
}

CMenuItem* CMenu::FindByHotKey(int32_t hotKeyId)
{
    for (auto& item : items_) {
        if (item->GetKind() == kKindItem) {
            auto* command = static_cast<CMenuItem*>(item.get());
            if (command->GetHotKeyId() == hotKeyId)
                return command;
        } else if (CMenuItem* found = static_cast<CMenu*>(item.get())->FindByHotKey(hotKeyId)) {
            return found;
        }
    }
    return nullptr;
}

CNamedItem* CMenu::FindById(int32_t id, CMenu** menu, int32_t* position)
{
    for (int32_t i = 0; i < GetItemCount(); ++i) {
        CNamedItem* item = items_[static_cast<size_t>(i)].get();
        // Ids are compared as the 16-bit values the native menus keep.
        if (static_cast<int16_t>(item->GetId()) == id) {
            if (menu)
                *menu = this;
            if (position)
                *position = i;
            return item;
        }
        if (item->GetKind() == kKindMenu)
            if (CNamedItem* found = static_cast<CMenu*>(item)->FindById(id, menu, position))
                return found;
    }
    return nullptr;
}

void CMenu::SuspendHotKeys(bool suspend)
{
    for (auto& item : items_) {
        if (item->GetKind() == kKindItem)
            static_cast<CMenuItem*>(item.get())->SuspendHotKey(suspend);
        else
            static_cast<CMenu*>(item.get())->SuspendHotKeys(suspend);
    }
}
