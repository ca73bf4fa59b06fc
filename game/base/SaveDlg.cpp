#include "game/base/SaveDlg.h"

#include <memory>
#include <string>

#include "engine/controls/Wind.h"
#include "engine/controls/native/EditField.h"
#include "engine/controls/native/StrListBox.h"
#include "engine/framework/Message.h"

namespace {

// The name field has several lines (Enter breaks the line); a game's name is the first.
CStr FirstLine(const CStr& text)
{
    const std::string whole = text.GetText();
    return CStr(whole.substr(0, whole.find_first_of("\r\n")).c_str());
}

} // namespace

CSaveDlg::CSaveDlg(int32_t id, const CPoint& at, CBaseObj* notifyTarget, int32_t resultMessage,
                   const CStr& folderName, const CTplRec* slotFiles, int32_t nameOffset, int32_t nameLength,
                   const CStr* currentFile, int32_t screenList, uint32_t libraryMask, bool existingOnly,
                   int32_t listId, int32_t nameFieldId, int32_t okId)
    : CSaveListFrm(id, at, notifyTarget, resultMessage, folderName, slotFiles, nameOffset, nameLength,
                   currentFile, screenList, libraryMask, existingOnly)
{
    list_ = FindAs<CStrListBox>(listId);
    nameField_ = FindAs<CEditField>(nameFieldId);
    okButton_ = FindAs<CInputFrame>(okId);
    if (list_) {
        list_->SetInputMode(0);
        if (GetStatus() == 0) {
            list_->SetList(std::make_unique<CTplRec>(GetDisplayNames()));
            list_->SetItemIndex(GetChosenIndex());
        }
    }
    if (GetChosenIndex() < 0)
        EnableOk(false);
    if (nameField_) {
        if (!list_ || GetChosenIndex() < 0)
            nameField_->Hide(false, false);
        else
            nameField_->SetText(list_->GetCurrentString(), true);
    }
}

bool CSaveDlg::HandleMessage(CMessage& message, CBaseObj* sender)
{
    switch (message.GetId()) {
    case kMsgPick:
        if (message.GetParam(2) != 0)
            break;
        Choose(static_cast<int32_t>(message.GetParam(0)));
        return true;
    case kMsgListPick:
        if (Choose(static_cast<int32_t>(message.GetParam(3))))
            ShowChosenSlot();
        return true;
    case kMsgOk:
        if (nameField_ && nameField_->IsShown())
            if (const std::unique_ptr<CStr> typed = nameField_->GetText())
                SetChosenName(FirstLine(*typed));
        break;
    default: break;
    }
    return CSaveListFrm::HandleMessage(message, sender);
}

void CSaveDlg::ShowChosenSlot()
{
    std::unique_ptr<CStr> name = list_ ? list_->GetCurrentString() : nullptr;
    if (!name)
        name = std::make_unique<CStr>(*GetDisplayNames().GetEntry(GetChosenIndex()));
    SetChosenName(*name);
    if (nameField_) {
        if (!nameField_->IsShown()) {
            nameField_->Show(false);
            FocusNameField();
        }
        nameField_->SetText(std::move(name), true);
        nameField_->Draw(false);
    }
    if (!okEnabled_)
        EnableOk(true);
}

void CSaveDlg::SetOwner(CBaseObj* owner)
{
    CSaveListFrm::SetOwner(owner);
    if (owner && GetChosenIndex() >= 0)
        FocusNameField();
}

void CSaveDlg::FocusNameField()
{
    if (CWind* window = nameField_ ? nameField_->GetOwnerWnd() : nullptr)
        window->SetFocusControl(nameField_);
}

void CSaveDlg::EnableOk(bool enable)
{
    okEnabled_ = enable;
    if (okButton_)
        okButton_->Enable(enable, true);
}
