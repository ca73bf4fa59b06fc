#include "engine/controls/MenuBar.h"

#include <algorithm>

#include "engine/controls/Menu.h"
#include "engine/framework/Appl.h"
#include "engine/framework/Str.h"
#include "platform/Window.h"

namespace {

void AppendPullDown(plat::MenuHandle bar, CMenu& menu)
{
    plat::MenuItem entry;
    entry.text = menu.GetName().GetText();
    entry.popup = menu.CreatePopup();
    entry.grayed = !menu.IsEnabled();
    plat::AppendMenuItem(bar, entry);
}

} // namespace

CMenuBar::CMenuBar(CMenu* menu) : menu_(menu ? menu : new CMenu(0, nullptr)), bar_(plat::CreateMenu())
{
    for (int32_t i = 0; i < menu_->GetItemCount(); ++i) {
        CNamedItem* item = menu_->GetItem(i);
        if (item->GetKind() == CNamedItem::kKindMenu)
            AppendPullDown(bar_, *static_cast<CMenu*>(item));
        else
            static_cast<CMenuItem*>(item)->AppendTo(bar_);
    }
}

CMenuBar::~CMenuBar()
{
    menu_.reset();
    if (plat::IsWindow(window_) && plat::GetWindowMenu(window_) == bar_)
        plat::SetWindowMenu(window_, 0);
    window_ = 0;
    if (plat::IsMenu(bar_))
        plat::DestroyMenu(bar_);
}

void CMenuBar::SetWindow(plat::WindowHandle window)
{
    if (!window && plat::IsWindow(window_) && plat::GetWindowMenu(window_) == bar_)
        plat::SetWindowMenu(window_, 0);
    window_ = window;
    if (window)
        plat::SetWindowMenu(window, bar_);
}

void CMenuBar::AddMenu(CMenu* menu)
{
    if (!menu)
        return;
    menu_->AddItem(menu);
    AppendPullDown(bar_, *menu);
    Redraw();
}

plat::MenuHandle CMenuBar::NativeOf(const CMenu* menu) const
{
    return menu == menu_.get() ? bar_ : menu->GetPopup();
}

void CMenuBar::RemoveCommand(int32_t commandId)
{
    CMenu* holder = nullptr;
    int32_t position = -1;
    if (!FindCommand(commandId, &holder, &position))
        return;
    // The native entry sits at the same position as the model's item; a sub-menu's popup
    // goes with the sub-menu's own destruction.
    plat::RemoveMenuItem(NativeOf(holder), position);
    holder->RemoveItem(position);
}

CMenuItem* CMenuBar::FindHotKeyItem(int32_t hotKeyId) { return menu_->FindByHotKey(hotKeyId); }

CNamedItem* CMenuBar::FindCommand(int32_t commandId, CMenu** menu, int32_t* position)
{
    return menu_->FindById(commandId, menu, position);
}

void CMenuBar::CheckItem(int32_t commandId, bool check)
{
    CMenu* holder = nullptr;
    int32_t position = -1;
    CNamedItem* item = FindCommand(commandId, &holder, &position);
    if (item && item->GetKind() == CNamedItem::kKindItem)
        static_cast<CMenuItem*>(item)->Check(NativeOf(holder), position, check);
}

void CMenuBar::EnableItem(int32_t commandId, bool enable)
{
    CMenu* holder = nullptr;
    int32_t position = -1;
    if (CNamedItem* item = FindCommand(commandId, &holder, &position))
        item->Enable(NativeOf(holder), position, enable);
}

void CMenuBar::SetItemText(int32_t commandId, std::unique_ptr<CStr> text)
{
    CMenu* holder = nullptr;
    int32_t position = -1;
    CNamedItem* item = FindCommand(commandId, &holder, &position);
    if (item && item->GetKind() == CNamedItem::kKindItem)
        static_cast<CMenuItem*>(item)->SetText(NativeOf(holder), position, std::move(text));
}

void CMenuBar::Enable(bool enable)
{
    bool act = false;
    if (!enable) {
        --depth_;
        act = depth_ == -1;
    } else {
        if (depth_ < 0)
            ++depth_;
        act = depth_ == 0;
    }
    if (act) {
        const int32_t count = std::min<int32_t>(menu_->GetItemCount(), 32);
        if (!enable)
            enabledMask_ = 0;
        for (int32_t i = 0; i < count; ++i) {
            CNamedItem* item = menu_->GetItem(i);
            if (!enable && item->IsEnabled()) {
                enabledMask_ |= 1u << i;
                item->Enable(bar_, i, false);
            } else if (enable && (enabledMask_ & (1u << i))) {
                item->Enable(bar_, i, true);
            }
        }
    }
    Redraw();
}

void CMenuBar::SuspendHotKeys(bool suspend) { menu_->SuspendHotKeys(suspend); }

void CMenuBar::Redraw()
{
    if (plat::IsWindow(window_))
        plat::DrawMenuStrip(window_);
}

MenuBarDisabled::MenuBarDisabled()
{
    if (CMenuBar* bar = GetMenuBar())
        bar->Enable(false);
}

MenuBarDisabled::~MenuBarDisabled()
{
    if (CMenuBar* bar = GetMenuBar())
        bar->Enable(true);
}
