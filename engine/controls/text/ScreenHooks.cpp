#include "engine/controls/text/ScreenHooks.h"

#include "engine/controls/WindHooks.h"
#include "engine/controls/text/PopWind.h"
#include "engine/graphics/CursorMgr.h"

void InstallScreenHooks()
{
    InstallCursorHooks();
    WindHooks& hooks = GetWindHooks();
    hooks.showHelpFor = [](CFrame* frame) {
        if (CPopWind* popup = CPopWind::GetPopup())
            popup->ShowFor(frame);
    };
    hooks.dismissHelp = [] {
        if (CPopWind* popup = CPopWind::GetPopup())
            popup->Dismiss();
    };
    hooks.forgetHelpFrame = [](CFrame* frame) {
        if (CPopWind* popup = CPopWind::GetPopup())
            popup->ForgetFrame(frame);
    };
}
