#include "engine/framework/MsgBox.h"

#include "platform/MessageBox.h"

namespace {

CMsgBox* g_msgBox = nullptr;

plat::MbIcon IconOf(int16_t kind)
{
    switch (kind) {
    case CMsgBox::kIconStop: return plat::MbIcon::Error;
    case CMsgBox::kIconExclamation: return plat::MbIcon::Warning;
    case CMsgBox::kIconInformation: return plat::MbIcon::Information;
    case CMsgBox::kIconQuestion: return plat::MbIcon::Question;
    default: return plat::MbIcon::None;
    }
}

plat::MbButtons ButtonsOf(int16_t set)
{
    switch (set) {
    case CMsgBox::kButtonsOkCancel: return plat::MbButtons::OkCancel;
    case CMsgBox::kButtonsYesNo: return plat::MbButtons::YesNo;
    case CMsgBox::kButtonsYesNoCancel: return plat::MbButtons::YesNoCancel;
    default: return plat::MbButtons::Ok;
    }
}

// The 0-based default button. OK/Cancel has no third button, so 3 selects Cancel there;
// a button the set does not have falls back to the first.
int DefaultIndex(plat::MbButtons set, int16_t defaultButton)
{
    int index = defaultButton == 2 ? 1 : defaultButton == 3 ? 2 : 0;
    if (set == plat::MbButtons::OkCancel && index == 2)
        index = 1;
    return index < static_cast<int>(plat::ButtonsOf(set).size()) ? index : 0;
}

int16_t ResultOf(plat::MbResult r)
{
    switch (r) {
    case plat::MbResult::Ok: return CMsgBox::kResultOk;
    case plat::MbResult::Cancel: return CMsgBox::kResultCancel;
    case plat::MbResult::Yes: return CMsgBox::kResultYes;
    case plat::MbResult::No: return CMsgBox::kResultNo;
    default: return CMsgBox::kResultOther;
    }
}

} // namespace

CMsgBox::CMsgBox() { g_msgBox = this; }

CMsgBox::~CMsgBox()
{
    if (g_msgBox == this)
        g_msgBox = nullptr;
}

int16_t CMsgBox::Show(const char* text, const char* caption, int16_t icon, int16_t buttons,
                      int16_t defaultButton) const
{
    return ShowBox(owner_, text, caption, icon, buttons, defaultButton);
}

int16_t CMsgBox::ShowBox(plat::WindowHandle owner, const char* text, const char* caption, int16_t icon,
                         int16_t buttons, int16_t defaultButton)
{
    plat::MessageBoxRequest req;
    req.text = text ? text : "";
    req.caption = caption ? caption : "";
    req.icon = IconOf(icon);
    req.buttons = ButtonsOf(buttons);
    req.defaultButton = DefaultIndex(req.buttons, defaultButton);
    req.taskModal = true;
    req.owner = owner;
    return ResultOf(plat::GetMessageBoxService().Show(req));
}

CMsgBox* GetMsgBox() { return g_msgBox; }

int16_t ShowMessageBox(const char* text, const char* caption, int16_t icon, int16_t buttons,
                       int16_t defaultButton)
{
    return g_msgBox ? g_msgBox->Show(text, caption, icon, buttons, defaultButton)
                    : CMsgBox::ShowBox(0, text, caption, icon, buttons, defaultButton);
}

void ResetMsgBox() { g_msgBox = nullptr; }
