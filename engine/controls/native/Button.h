#pragma once
// The button widgets: the push button CButton, the check box CCheckBox and the radio button
// CRadioButton. A push button notifies on each click and can be its window's default button
// (the one Enter presses); a check box keeps a 0/1 value that each click flips and notifies
// with it in word 3; a radio button is one member of a group of its window in which one member
// is on: turning one on turns the previous choice off, each notifying.
//
// The caption goes to the widget converted through the font's character map, in that font; a
// button without a caption keeps the system font.
//
// Template kinds 0x1a-0x21: push buttons (0x1c/0x1d default ones), check boxes ("switchon")
// and radio buttons ("groupid" after it), each with the caption by string-list reference
// (even kinds) or written in the template (odd kinds), after "fontid".
#include <cstdint>
#include <memory>

#include "engine/controls/native/Control.h"
#include "engine/controls/native/TemplateText.h"
#include "engine/framework/Str.h"

class CButton : public CControl {
public:
    enum : int32_t {
        kKindRef = 0x1a,
        kKindLit = 0x1b,
        kKindDefaultRef = 0x1c,
        kKindDefaultLit = 0x1d,
        kKindCheckBoxRef = 0x1e,
        kKindCheckBoxLit = 0x1f,
        kKindRadioRef = 0x20,
        kKindRadioLit = 0x21,
    };

    CButton(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target, std::unique_ptr<CStr> text,
            int16_t fontId, bool isDefault);

    // A default button that is shown again claims its window's default again.
    void Show(bool recurse) override;
    // Becomes (or stops being) the window's default button; the widget is made again in the
    // default button's look.
    void SetDefault(bool isDefault) override;
    void CreateWnd() override;
    // Replaces the caption (and the widget's text).
    virtual void SetText(std::unique_ptr<CStr> text);

    const CStr* GetText() const { return text_.get(); }

    // The registrar's factories of kinds 0x1a-0x21.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

protected:
    // For the check box and radio button.
    CButton(int32_t controlKind, int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
            std::unique_ptr<CStr> text, int16_t fontId);

private:
    // The caption, converted, into the widget.
    void PutText();

    std::unique_ptr<CStr> text_;
};

class CCheckBox : public CButton {
public:
    CCheckBox(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target, std::unique_ptr<CStr> text,
              bool on, int16_t fontId);

    // A check box is never the default button.
    void SetDefault(bool isDefault) override;
    // Word 3 = the value; the widget's mark follows; then the notification.
    void SendNotify() override;
    // Sets the value and the mark, without a notification.
    virtual void SetChecked(bool on);

protected:
    CCheckBox(int32_t controlKind, int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
              std::unique_ptr<CStr> text, bool on, int16_t fontId);
};

class CRadioButton : public CCheckBox {
public:
    CRadioButton(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
                 std::unique_ptr<CStr> text, int32_t groupId, bool on, int16_t fontId);
    // Leaves its window first, so that no member of its group keeps it as the choice.
    ~CRadioButton() override;

    // Leaving a window while chosen leaves its group there without a choice; joining takes
    // the group's choice, and a radio that joins while on takes the group over.
    void SetOwner(CBaseObj* owner) override;
    // A click: turns the radio on; a radio that is on already notifies once more.
    void SendNotify() override;
    // Turning on turns the group's previous choice off first (it notifies), then notifies
    // and tells the window. Turning off notifies.
    void SetChecked(bool on) override;

    int32_t GetGroupId() const override { return groupId_; }
    CWindControl* GetGroupChoice() const override { return chosen_; }
    void SetGroupChoice(CWindControl* control) override { chosen_ = control; }

private:
    int32_t groupId_;
    CWindControl* chosen_ = nullptr;
};

// The template of a button: "fontid", then the caption.
class CTButton : public CTControl {
public:
    CTButton(int32_t kind, CRawParser* parser, bool literal);

    const CTemplateText& GetText() const { return text_; }
    int32_t GetStrListId() const override { return text_.GetStrListId(); }
    int32_t GetStrIndex() const override { return text_.GetStrIndex(); }

private:
    CTemplateText text_;
};

// The check box's: then "switchon".
class CTCheckBox : public CTButton {
public:
    CTCheckBox(int32_t kind, CRawParser* parser, bool literal);
    bool GetSwitchOn() const { return switchOn_ != 0; }

private:
    int16_t switchOn_ = 0;
};

// The radio button's: then "groupid".
class CTRadioButton : public CTCheckBox {
public:
    CTRadioButton(int32_t kind, CRawParser* parser, bool literal);
    int32_t GetGroupId() const { return groupId_; }

private:
    int32_t groupId_ = 0;
};
