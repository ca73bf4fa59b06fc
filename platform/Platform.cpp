#include "platform/Platform.h"

#include <cstdlib>

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Fatal.h"
#include "platform/Files.h"
#include "platform/Font.h"
#include "platform/Locale.h"
#include "platform/MessageBox.h"
#include "platform/MessageQueue.h"
#include "platform/Programs.h"
#include "platform/Settings.h"
#include "platform/SoundDevice.h"
#include "platform/SoundFiles.h"
#include "platform/SystemInfo.h"
#include "platform/Window.h"
#include "platform/WorkerThread.h"

namespace plat {
namespace {

Backend g_backend = Backend::Null;

} // namespace

Backend ChooseBackend(bool forceHeadless)
{
    if (forceHeadless)
        return Backend::Null;
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const bool hasDisplay = (display && *display) || (wayland && *wayland);
    return hasDisplay ? Backend::Sdl : Backend::Null;
}

Backend GetBackend() { return g_backend; }
void SetBackend(Backend backend) { g_backend = backend; }

void ResetPlatform()
{
    SetClock(nullptr);
    SetFatalHook({});
    GetScriptedMessageBoxes().Clear();
    SetMessageBoxService(nullptr);
    GetMessageQueue().Clear();
    GetMessageQueue().SetEventSource({});
    ResetSystemInfo();
    ResetWindowSystem();
    ResetFiles();
    ResetLocale();
    ResetDialogs();
    ResetSettings();
    SetWorkerThreadsRefused(false);
    ResetFonts();
    ResetSoundFiles();
    ResetSoundDevice();
    ResetPrograms();
    SetWallTimeOverride(nullptr);
    g_backend = Backend::Null;
}

} // namespace plat
