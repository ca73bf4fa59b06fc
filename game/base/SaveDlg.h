#pragma once
// CSaveDlg: the save dialog, the saved-game slots with the controls of their screen: the list
// of slots (a string list box), the field in which the player names the game (an edit
// element) and the OK button. The list shows the slots' names; picking a slot puts its name in
// the field, shows the field and gives it the focus, and enables the OK button, which stays
// disabled until a slot is chosen. OK takes the field's text as the game's name and reports
// the choice. A screen may leave out any of the three controls (the open dialog has no field).
#include <cstdint>

#include "game/base/SaveListFrm.h"

class CEditField;
class CInputFrame;
class CStrListBox;

class CSaveDlg : public CSaveListFrm {
public:
    // The ids of the screen's list, name field and OK button follow the slot frame's values.
    CSaveDlg(int32_t id, const CPoint& at, CBaseObj* notifyTarget, int32_t resultMessage,
             const CStr& folderName, const CTplRec* slotFiles, int32_t nameOffset, int32_t nameLength,
             const CStr* currentFile, int32_t screenList, uint32_t libraryMask, bool existingOnly,
             int32_t listId, int32_t nameFieldId, int32_t okId);

    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    // Attached to a window with a slot chosen, the name field takes the focus.
    void SetOwner(CBaseObj* owner) override;

    CStrListBox* GetList() const { return list_; }
    CEditField* GetNameField() const { return nameField_; }
    CInputFrame* GetOkButton() const { return okButton_; }
    bool IsOkEnabled() const { return okEnabled_; }

private:
    // The chosen slot's name in the name field, the field shown and focused, OK enabled.
    void ShowChosenSlot();
    void FocusNameField();
    void EnableOk(bool enable);

    CStrListBox* list_ = nullptr;
    CEditField* nameField_ = nullptr;
    CInputFrame* okButton_ = nullptr;
    bool okEnabled_ = true;
};
