#pragma once
// The menu model: menus (CMenu) holding command items (CMenuItem) and sub-menus, built from
// "MNU" records. A command item may carry a hot key, registered with the window system while
// the item is enabled and the application active; a picked item or a pressed hot key sends
// the item's command to the application as an engine message, with the item's id in word 2.
//
// "MNU" record: a list of entries, each of nine values: two unused longs, the text (a
// string), the hot key (short: the key code in the low byte, 0x100 Alt, 0x200 Control,
// 0x400 Shift, 0x800 Windows key) and an unused short, the id (for a sub-menu the "MNU" id
// that describes it), the command (long), the flags (short: bit 0 disabled, bit 1 sub-menu)
// and an unused short.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Menu.h"

class CMenu;
class CMenuItem;
class CStr;

class CNamedItem {
public:
    enum : int32_t { kKindItem = 1, kKindMenu = 2 };

    // Takes the text (null: empty), converted from the Macintosh character set.
    CNamedItem(std::unique_ptr<CStr> name, int32_t id, int32_t kind);
    virtual ~CNamedItem();
    CNamedItem(const CNamedItem&) = delete;
    CNamedItem& operator=(const CNamedItem&) = delete;

    // Slot 1: keeps the state and enables or greys the entry at the position of the menu.
    virtual void Enable(plat::MenuHandle menu, int position, bool enable) = 0;

    const CStr& GetName() const { return *name_; }
    int32_t GetId() const { return id_; }
    int32_t GetKind() const { return kind_; }
    bool IsEnabled() const { return enabled_ != 0; }

protected:
    void SetName(std::unique_ptr<CStr> name);

    std::unique_ptr<CStr> name_;
    int32_t id_;
    int32_t kind_;
    uint8_t enabled_ = 1;
};

class CMenuItem : public CNamedItem {
public:
    // The first hot-key id handed out; each item made takes the next one.
    static constexpr int32_t kFirstHotKeyId = 100;

    // A separator: "-", id 0, disabled, no command, no hot key.
    CMenuItem();
    // A text beginning with "-" makes a disabled separator whatever `enabled` says.
    CMenuItem(std::unique_ptr<CStr> text, int32_t id, int32_t command, bool enabled, uint16_t hotKey);
    // Unregisters its hot key.
    ~CMenuItem() override;

    // Registers the hot key when it has one and it is not registered; a key the system
    // refuses stays unregistered.
    void RegisterHotKey();
    void UnregisterHotKey();
    // Appends the item to a native menu (a separator, or the text grayed unless enabled); an
    // enabled item registers its hot key.
    void AppendTo(plat::MenuHandle menu);
    void Check(plat::MenuHandle menu, int position, bool check);
    // Enabling registers the hot key, disabling unregisters it.
    void Enable(plat::MenuHandle menu, int position, bool enable) override;
    void SetText(plat::MenuHandle menu, int position, std::unique_ptr<CStr> text);
    // Suspending unregisters a registered hot key; resuming registers that of an enabled item.
    void SuspendHotKey(bool suspend);
    // Sends the command (when there is one) to the application at once, the id in word 2.
    void Invoke();
    // The hot-key id while the hot key is registered, else 0.
    int32_t GetHotKeyId() const { return registered_ ? hotKeyId_ : 0; }

    int32_t GetCommand() const { return command_; }
    bool IsChecked() const { return checked_ != 0; }
    bool IsSeparator() const { return separator_ != 0; }
    uint16_t GetHotKey() const { return hotKey_; }
    bool IsHotKeyRegistered() const { return registered_ != 0; }
    // The platform hot-key modifiers of a stored hot key.
    static uint32_t HotKeyModifiers(uint16_t hotKey);

private:
    int32_t command_ = 0;
    uint8_t checked_ = 0;
    uint8_t separator_ = 0;
    uint16_t hotKey_ = 0;
    int32_t hotKeyId_;
    int32_t registered_ = 0;
};

class CMenu : public CNamedItem {
public:
    CMenu(int32_t id, std::unique_ptr<CStr> name);
    // Builds the menu from the "MNU" record of that id, sub-menus from their own records; a
    // missing record gives an empty menu.
    CMenu(int32_t resourceId, uint32_t libraryMask, std::unique_ptr<CStr> name);
    // Deletes every item, then the native popup.
    ~CMenu() override;

    // Appends and owns the item; it joins the native popup too when there is one.
    void AddItem(CNamedItem* item);
    // Deletes the item at the index.
    void RemoveItem(int32_t index);
    // Makes the native popup with every item in order, sub-menus as popups of their own.
    plat::MenuHandle CreatePopup();
    void Enable(plat::MenuHandle menu, int position, bool enable) override;
    // The command item of the hot-key id, depth first.
    CMenuItem* FindByHotKey(int32_t hotKeyId);
    // The item or sub-menu whose id, as a signed 16-bit value, equals the id, depth first;
    // the menu holding it and its index go to the outputs when given.
    CNamedItem* FindById(int32_t id, CMenu** menu, int32_t* position);
    void SuspendHotKeys(bool suspend);

    int32_t GetItemCount() const { return static_cast<int32_t>(items_.size()); }
    CNamedItem* GetItem(int32_t i) const;
    plat::MenuHandle GetPopup() const { return popup_; }

private:
    void Build(int32_t resourceId, uint32_t libraryMask);

    std::vector<std::unique_ptr<CNamedItem>> items_;
    plat::MenuHandle popup_ = 0;
};

// Sets the hot-key counter back to its first id (tests).
void ResetMenuState();
