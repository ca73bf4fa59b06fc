#pragma once
// The message-box service. The engine asks it to show a text with a caption, an icon and a
// set of buttons and gets back the button that was pressed. The null backend answers from a
// script and keeps a log that tests read.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace plat {

enum class MbButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MbIcon { None, Error, Warning, Information, Question };
enum class MbResult { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    MbIcon icon = MbIcon::None;
    MbButtons buttons = MbButtons::Ok;
    int defaultButton = 0; // 0-based index into the buttons of the set
    bool systemModal = false;
    bool taskModal = false; // blocks every window of the program until answered
    uintptr_t owner = 0;    // the owner window's handle (WindowHandle), 0 for none
};

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual MbResult Show(const MessageBoxRequest& request) = 0;
};

// The buttons of a set in the order they are shown.
std::vector<MbResult> ButtonsOf(MbButtons set);

// Headless message boxes: each Show is logged and answered with the next queued answer,
// or, when none is queued, with the default button.
class ScriptedMessageBoxes : public MessageBoxService {
public:
    MbResult Show(const MessageBoxRequest& request) override;
    void QueueAnswer(MbResult answer) { answers_.push_back(answer); }
    const std::vector<MessageBoxRequest>& Log() const { return log_; }
    void Clear();

private:
    std::deque<MbResult> answers_;
    std::vector<MessageBoxRequest> log_;
};

// The service in use; the scripted one unless a backend installed another.
MessageBoxService& GetMessageBoxService();
// The built-in scripted service (tests queue answers and read its log).
ScriptedMessageBoxes& GetScriptedMessageBoxes();
// Installs a service (not owned); nullptr restores the scripted one.
void SetMessageBoxService(MessageBoxService* service);

} // namespace plat
