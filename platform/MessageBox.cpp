#include "platform/MessageBox.h"

namespace plat {
namespace {

ScriptedMessageBoxes g_scripted;
MessageBoxService* g_service = &g_scripted;

}  // namespace

std::vector<MbResult> ButtonsOf(MbButtons set)
{
    switch (set) {
    case MbButtons::Ok: return {MbResult::Ok};
    case MbButtons::OkCancel: return {MbResult::Ok, MbResult::Cancel};
    case MbButtons::YesNo: return {MbResult::Yes, MbResult::No};
    case MbButtons::YesNoCancel: return {MbResult::Yes, MbResult::No, MbResult::Cancel};
    case MbButtons::RetryCancel: return {MbResult::Retry, MbResult::Cancel};
    case MbButtons::AbortRetryIgnore: return {MbResult::Abort, MbResult::Retry, MbResult::Ignore};
    }
    return {MbResult::Ok};
}

MbResult ScriptedMessageBoxes::Show(const MessageBoxRequest& request)
{
    log_.push_back(request);
    if (!answers_.empty()) {
        const MbResult answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    const std::vector<MbResult> buttons = ButtonsOf(request.buttons);
    const size_t index = request.defaultButton >= 0 ? static_cast<size_t>(request.defaultButton) : 0;
    return index < buttons.size() ? buttons[index] : buttons.front();
}

void ScriptedMessageBoxes::Clear()
{
    answers_.clear();
    log_.clear();
}

MessageBoxService& GetMessageBoxService() { return *g_service; }
ScriptedMessageBoxes& GetScriptedMessageBoxes() { return g_scripted; }
void SetMessageBoxService(MessageBoxService* service) { g_service = service ? service : &g_scripted; }

}  // namespace plat
