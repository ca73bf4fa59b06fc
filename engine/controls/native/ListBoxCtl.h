#pragma once
// The list widgets over a string list (a record whose entries are strings): the list box
// CListBoxCtl and the drop-down combo box CComboBox. The entries go to the widget converted
// through the font's character map.
//
// The list box notifies with the current item (-1 none) in word 3 when the user selects one,
// and sends a second message of its own, to a target of its own, on a double click or Enter
// (word 3 the item). The engine message -41 reloads its list from a "STR" resource (word 0
// the id, word 1 the library mask) and selects again by the old current text.
//
// The combo box keeps its current item counted from 1 as the control's value (0 none) and
// notifies with it in word 3. Typed characters never reach it: its key handling stays the
// window's.
//
// Template kinds: 0x28 list box ("strlistid", "strlibmsk", "curitem", "dmssgwhoid", "tmp" the
// double-click message, "dusr1" its word 0), 0x29 combo box ("strlistid", "strlibid",
// "curitem", "winht" the height of the open list), after "fontid".
#include <cstdint>
#include <memory>

#include "engine/controls/native/Control.h"
#include "engine/framework/Message.h"
#include "engine/framework/TplRec.h"

class CListBoxCtl : public CControl {
public:
    static constexpr int32_t kTemplateKind = 0x28;
    // Reloads the list: word 0 the "STR" id, word 1 the library mask.
    static constexpr int32_t kMsgReload = -41;

    // An empty list when none is given; the current item is -1 for an empty list.
    CListBoxCtl(int32_t id, const CRect& rect, CBaseObj* target, std::unique_ptr<CTplRec> list,
                int16_t fontId, int16_t currentItem);
    ~CListBoxCtl() override;

    // While the widget exists: -41 reloads, Enter acts as a double click, the mouse is the
    // widget's.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    // With a pending refresh: takes the focus state and selects the current item again.
    void DrawContent(CDrawEnv* env, const CRect& clip) override;
    // While focused: letters, up and down, and Enter when there is a double-click message.
    bool WantsKey(int32_t key) override;
    void CreateWnd() override;
    void SetHasFocus(bool hasFocus) override;
    // A selection notifies with the item; a double click sends the double-click message.
    void OnCommand(plat::WindowHandle window, uint32_t id, plat::WindowHandle control,
                   uint32_t code) override;

    void AddString(std::unique_ptr<CStr> text);
    // Takes the list (an empty one for none), keeping the current item within it.
    void SetList(std::unique_ptr<CTplRec> list);
    void Clear();
    // Past the end keeps the last entry current, though the widget then selects nothing.
    void SetCurSel(int16_t index);
    void SetListFromRes(int32_t listId, uint32_t libraryMask);
    std::unique_ptr<CStr> GetCurrentString() const;
    std::unique_ptr<CStr> GetString(int32_t index) const;
    int32_t GetCount() const { return list_->GetEntryCount(); }
    int16_t GetCurSel() const { return current_; }
    // The double-click message goes to this target: a live object, or a key that addresses the
    // live objects it matches (the control keeps its own copy).
    void SetDblClickTarget(CBaseObj* target);
    CMessage& GetDblClickMessage() { return dblClick_; }
    void RequestRefresh() { refreshPending_ = 1; }

    // The registrar's factories of kind 0x28.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

private:
    // The double-click message with the widget's current item in word 3.
    void SendDoubleClick();
    void FillWidget();
    // Selects the entry the old text sorts at or after, else the first.
    void SelectByText(const CStr& old);

    std::unique_ptr<CTplRec> list_;
    int16_t current_ = -1;
    uint8_t refreshPending_ = 0;
    CBaseObj* dblTarget_ = nullptr;
    std::unique_ptr<CBaseObj> ownedDblTarget_;
    CMessage dblClick_;
};

class CComboBox : public CControl {
public:
    static constexpr int32_t kTemplateKind = 0x29;

    // The value is the current item counted from 1; the maximum the entry count.
    CComboBox(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
              std::unique_ptr<CTplRec> list, int16_t currentItem, int16_t windowHeight, int16_t fontId);

    // Word 3 = the value, then the notification.
    void SendNotify() override;
    void CreateWnd() override;
    void SetHasFocus(bool hasFocus) override;
    // The widget's current item follows.
    void SetValue(int16_t value) override;
    // A choice notifies with the value; the widget taking the focus gives the control the
    // window's focus.
    void OnCommand(plat::WindowHandle window, uint32_t id, plat::WindowHandle control,
                   uint32_t code) override;

    // Takes the list (an empty one for none), makes the widget again and selects the item.
    void SetList(std::unique_ptr<CTplRec> list, int16_t item);
    int16_t GetWindowHeight() const { return windowHeight_; }

    // The registrar's factories of kind 0x29.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

protected:
    // The field and its open list.
    CRect WidgetRect() const override;

private:
    // The open list's height: the rows of the entries below the field, no taller than the
    // window's root frame less 10, nor than a height given.
    void MeasureWindowHeight();

    std::unique_ptr<CTplRec> list_;
    int16_t windowHeight_;
};

class CTListBoxCtl : public CTControl {
public:
    CTListBoxCtl(int32_t kind, CRawParser* parser);

    int32_t GetStrListId() const override { return strListId_; }
    uint32_t GetStrLibMsk() const { return strLibMask_; }
    int16_t GetCurItem() const { return curItem_; }
    int32_t GetDblWhoId() const { return dblWhoId_; }
    int16_t GetDblMsgType() const { return dblMsgType_; }
    int32_t GetDblUser1() const { return dblUser1_; }

private:
    int32_t strListId_ = 0;
    uint32_t strLibMask_ = 0;
    int16_t curItem_ = 0;
    int32_t dblWhoId_ = 0;
    int16_t dblMsgType_ = 0;
    int32_t dblUser1_ = 0;
};

class CTComboBox : public CTControl {
public:
    CTComboBox(int32_t kind, CRawParser* parser);

    int32_t GetStrListId() const override { return strListId_; }
    uint32_t GetStrLibMsk() const { return strLibMask_; }
    int32_t GetCurItem() const { return curItem_; }
    int16_t GetWinHeight() const { return winHeight_; }

private:
    int32_t strListId_ = 0;
    uint32_t strLibMask_ = 0;
    int32_t curItem_ = 0;
    int16_t winHeight_ = 0;
};
