#pragma once
// Start-up and reset of the platform layer as a whole.
#include <string>

namespace plat {

enum class Backend { Null, Sdl };

// Picks the backend: Null when forced (--headless) or when no display is available.
Backend ChooseBackend(bool forceHeadless);
Backend GetBackend();
void SetBackend(Backend backend);

// Puts every process-wide platform object back to its start state (tests call this before
// each test): clock, fatal hook, message boxes, message queue, files, system facts, locale, dialogs,
// settings, fonts, the sound device switch.
void ResetPlatform();

}  // namespace plat
