#include "platform/Fatal.h"

#include <cstdlib>

#include "platform/MessageBox.h"

namespace plat {
namespace {

void DefaultFatal(const std::string& text)
{
    MessageBoxRequest req;
    req.text = text;
    req.caption = "Fatal Error";
    req.icon = MbIcon::Error;
    req.buttons = MbButtons::Ok;
    GetMessageBoxService().Show(req);
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
