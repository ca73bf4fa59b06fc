#pragma once
// Connects the application to the library manager (LibMgr.h): the application makes an empty
// manager when it starts, deletes it (with every library) when it ends, and asks it how many
// libraries are open before it starts the engine. A program calls it with its other hook
// installers, before it makes its application.
void InstallLibraryHooks();
