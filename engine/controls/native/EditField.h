#pragma once
// CEditField: a text entry field over the edit widget, with the engine's colours and font, a
// character limit, justification, one or several lines, and a one-step undo and redo that the
// application's Edit menu drives. It is its own Edit-menu target: each change it records
// announces it to the application (-36) with the Undo item's text, and the Edit menu's
// commands reach it as the engine messages -34 (select all) to -30 (cut).
//
// The text lives in the widget while there is one and is held otherwise, so it survives the
// widget; a widget made with a held text shows it selected. Typed characters reach the widget
// while the field has the focus (Enter only in a multi-line field; in a single-line one Enter
// presses the window's default button). The field notifies with word 2 = 0 when it gains the
// focus, 1 when it loses it and 2 for Enter.
//
// One undo state is shared by every field: the undo kind (5 typing, 6 cut, 8 paste, 9 clear,
// 10 select all; 0 none) in the program's edit-target word, the text and selection before
// the change in the field that recorded it. A run of typed keys records one state. The Undo
// item reads "Undo " or, with string list 6, entry 3 (undo) or 4 (redo) followed by the
// entry of the kind.
//
// Template kinds 0x24 (text by string-list reference) and 0x25 (written in the template):
// after "fontid" the text, "textcolor", "bckcolor", "frmcolor" (-1: 0, 255, 0), "maxchars",
// "hjust", "multiline flag", "undoable flag", "border flag".
//
// CEditCtl, the edit element (kinds 0x26/0x27), is a field whose widget always has several
// lines and a vertical bar; its text goes in unconverted and unselected.
#include <cstdint>
#include <memory>

#include "engine/controls/EditTarget.h"
#include "engine/controls/native/Control.h"
#include "engine/controls/native/TemplateText.h"
#include "engine/framework/Str.h"
#include "platform/DrawContext.h"

class CEditField : public CControl, public CEditTarget {
public:
    enum : int32_t { kKindRef = 0x24, kKindLit = 0x25 };
    // Undo kinds.
    enum : uint16_t { kUndoTyping = 5, kUndoCut = 6, kUndoPaste = 8, kUndoClear = 9, kUndoSelectAll = 10 };
    // The string list of the Undo item's texts.
    static constexpr int32_t kUndoStrings = 6;
    // Word 2 of the notification.
    enum : int32_t { kFocusGained = 0, kFocusLost = 1, kEnter = 2 };

    CEditField(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target,
               std::unique_ptr<CStr> text, int16_t fontId, uint32_t undoMask, bool border, int16_t maxChars,
               int32_t justification);

    // While focused with a widget: the Edit-menu messages and keys (see above).
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    void SetBackColor(uint32_t color) override;
    bool WantsKey(int32_t key) override;
    // The text goes into the held text first.
    void DestroyWnd() override;
    void CreateWnd() override;
    // A press ends the typing run.
    void OnMouseDown(bool inside, CMessage& message) override;
    // With a widget and a change: notifies the focus gained or lost.
    void SetHasFocus(bool hasFocus) override;
    // The widget taking the focus gives the field the window's focus; the widget's change
    // notification (the cut message's number) records a cut when there is a selection; the
    // paste and clear messages' numbers record those.
    void OnCommand(plat::WindowHandle window, uint32_t id, plat::WindowHandle control,
                   uint32_t code) override;
    // Colours for the widget's painting: the window's palette, the field's text and background
    // colours; answers the field's brush.
    intptr_t OnEditColor(uintptr_t colorContext) override;
    // A mouse press on the widget ends the typing run too.
    intptr_t WndProc(plat::WindowHandle hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    // Takes the text; with selectAll the whole text is selected, else the caret follows it.
    virtual void SetText(std::unique_ptr<CStr> text, bool selectAll);
    // A new string with the whole text, as the widget holds it.
    virtual std::unique_ptr<CStr> GetText() const;
    virtual void SetMultiline(bool multiline) { multiline_ = multiline ? 1 : 0; }

    // CEditTarget: the undo state goes with the target.
    void Deactivate() override;
    // Swaps the text with the recorded one (undo, then redo) and answers the Undo item's new
    // text; null for a field that keeps no undo states.
    std::unique_ptr<CStr> Undo() override;

    int32_t GetTextLength() const;
    // The selection; true when it is not empty.
    bool GetSel(int32_t& start, int32_t& end) const;
    bool CanCut() const;
    bool CanCopy() const { return CanCut(); }
    bool CanClear() const { return CanCut(); }
    bool CanPaste() const;
    bool CanSelectAll() const;
    void SetUndoable(bool undoable) { undoable_ = undoable ? 1 : 0; }
    void SetTextColor(uint32_t color);
    bool IsUndoable() const { return undoable_ != 0; }
    bool IsMultiline() const { return multiline_ != 0; }
    uint32_t GetTextColor() const { return textColor_; }
    int16_t GetMaxChars() const { return maxChars_; }

    // The registrar's factories of kinds 0x24/0x25 (and of the edit element's 0x26/0x27).
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

protected:
    // The widget's style.
    virtual uint32_t EditStyle() const;
    // Puts the held text into a new widget.
    virtual void PutHeldText();
    std::unique_ptr<CStr>& HeldText() { return held_; }

private:
    // Records an undo state of that kind (only when undoable) and announces the field.
    void RecordUndo(uint16_t kind);
    // The Undo item's text, or null when the field is not focused or keeps no undo states.
    std::unique_ptr<CStr> UndoText() const;
    void Announce();
    // Cut or clear: records the kind, then runs the widget's command within a typing run.
    void DeleteSelection(uint16_t kind, void (*command)(plat::WindowHandle));
    void Notify(int32_t state);

    uint8_t undoable_ = 0;
    std::unique_ptr<CStr> savedText_;
    int32_t savedStart_ = 0;
    int32_t savedEnd_ = 0;
    uint8_t redo_ = 0;
    uint8_t typing_ = 0;
    std::unique_ptr<CStr> held_;
    std::unique_ptr<CStr> undoText_; // the text last announced
    uint32_t textColor_ = 0;
    int16_t maxChars_;
    int32_t justification_;
    uint8_t multiline_ = 1;
    uint32_t undoMask_;
    plat::Brush brush_;
};

class CEditCtl : public CEditField {
public:
    enum : int32_t { kKindRef = 0x26, kKindLit = 0x27 };

    CEditCtl(int32_t id, const CRect& rect, int32_t notifyType, CBaseObj* target, std::unique_ptr<CStr> text,
             int16_t fontId, uint32_t undoMask, bool border, int16_t maxChars, int32_t justification);

    // Sets the text, all of it selected.
    virtual void SetTextSelected(std::unique_ptr<CStr> text) { SetText(std::move(text), true); }

    const CRect& GetCreatedRect() const { return createdRect_; }

protected:
    uint32_t EditStyle() const override;
    void PutHeldText() override;

private:
    CRect createdRect_;
};

class CTEditField : public CTControl {
public:
    CTEditField(int32_t kind, CRawParser* parser, bool literal);

    // The control values, then multi-line, undoable, the text colour, the background (with its
    // brush) and the frame colour; a border flag borders a field the template's flags left bare.
    void ApplyTo(CFrame* object) override;

    const CTemplateText& GetText() const { return text_; }
    int32_t GetStrListId() const override { return text_.GetStrListId(); }
    int32_t GetStrIndex() const override { return text_.GetStrIndex(); }
    int16_t GetMaxChars() const { return maxChars_; }
    int16_t GetHJust() const { return hJust_; }
    bool GetBorder() const { return border_ != 0; }

private:
    CTemplateText text_;
    int32_t textColor_ = 0;
    int32_t backColor_ = 0;
    int32_t frameColor_ = 0;
    int16_t maxChars_ = 0;
    int16_t hJust_ = 0;
    int16_t multiline_ = 0;
    int16_t undoable_ = 0;
    int16_t border_ = 0;
};
