#pragma once
// Message boxes, open and save dialogs and the print dialogs drawn on the desktop with the
// widgets. Each runs modal: its owner is disabled and the dialog runs its own message loop
// until it is answered (the program's pump does not run meanwhile). Enter presses the default
// button and Esc cancels.
//
// The SDL display installs these services. Headless, a test may install them and drive them
// with input it queues here: whenever a dialog's loop finds nothing waiting it runs the next
// queued step, and when the steps run out it is cancelled, so that no test can hang.
#include <functional>

#include "platform/Dialogs.h"
#include "platform/MessageBox.h"

namespace plat {

class DrawnMessageBoxes : public MessageBoxService {
public:
    // Without a display and without queued input (a report before the display starts), the
    // caption and text go to standard error and the default button answers.
    MbResult Show(const MessageBoxRequest& request) override;
};

class DrawnDialogs : public DialogService {
public:
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
    std::optional<PrintSetupResult> PrintSetup(const PrintSetupRequest& request) override;
    std::optional<PrintSetupResult> Print(const PrintSetupRequest& request) override;
};

DrawnMessageBoxes& GetDrawnMessageBoxes();
DrawnDialogs& GetDrawnDialogs();
// Makes the drawn services the ones in use.
void InstallDrawnDialogs();

// Input for a drawn dialog's loop to run when it finds nothing waiting, one step at a time.
void QueueDialogInput(std::function<void()> step);
bool HasDialogInput();
// Runs the next queued step; false when none is queued.
bool RunDialogInputStep();
void ResetDialogInput();

} // namespace plat
