#pragma once
// What a program's headless script reaches on the engine's windows: the object a "press" line
// clicks and the window area a "screenshot" line writes. Both programs hand these to their
// script runner (platform/headless/ScriptRunner.h).
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Geometry.h"
#include "platform/Window.h"

// The centre, in screen coordinates, of the shown and enabled frame of the id (shown along its
// whole branch) in the frontmost visible window that holds one, its layers searched from the
// top one down; none when no window holds one.
std::optional<plat::Point> FindShownObjectCentre(int32_t id);

// Writes the client area of the window as an 8-bit indexed PNG, or the presented area of the
// desktop without a window (0); false when the file cannot be written.
bool WriteWindowArea(plat::WindowHandle window, const std::string& file);
