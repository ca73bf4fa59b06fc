#pragma once
// Connects the application to the cursor manager (engine/graphics/CursorMgr.h), which it makes
// and deletes, and the windows to the help popup (PopWind.h). A program calls it with its
// other hook installers (InstallWindowHooks), before it makes its application.
void InstallScreenHooks();
