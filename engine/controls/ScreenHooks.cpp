#include "engine/controls/ScreenHooks.h"

#include "engine/graphics/CursorMgr.h"

void InstallScreenHooks() { InstallCursorHooks(); }
