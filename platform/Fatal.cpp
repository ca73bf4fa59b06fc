#include "platform/Fatal.h"

#include <cstdlib>

#include "platform/MessageBox.h"
#include "platform/widgets/DrawnDialogs.h"

namespace plat {
namespace {

void DefaultFatal(const std::string& text)
{
    MessageBoxRequest req;
    req.text = text;
    req.caption = "Fatal Error";
    req.icon = MbIcon::Error;
    req.buttons = MbButtons::Ok;
    // Before the display starts only the scripted service is there, which shows nothing; the
    // drawn box says the report on standard error when it cannot show it.
    MessageBoxService& service = &GetMessageBoxService() == &GetScriptedMessageBoxes()
                                     ? static_cast<MessageBoxService&>(GetDrawnMessageBoxes())
                                     : GetMessageBoxService();
    service.Show(req);
    std::exit(EXIT_FAILURE);
}

FatalHook g_hook;

}  // namespace

void SetFatalHook(FatalHook hook) { g_hook = std::move(hook); }

void Fatal(const std::string& text)
{
    if (g_hook)
        g_hook(text);
    else
        DefaultFatal(text);
    std::exit(EXIT_FAILURE);
}

FatalHook ThrowingFatalHook()
{
    return [](const std::string& text) { throw FatalError(text); };
}

}  // namespace plat
