#pragma once
// Fills the application's hooks that belong to the windows: the menu bar built from "MNU"
// 1000 and its hot keys, dispatching platform messages to the window procedure, the pause
// and resume passes over the windows, the border window, the palette of every window and
// the focus commands; and the windows' cursors to the cursor manager. A program calls it (and
// RegisterEngineClasses) before it makes its application. Print dialogs belong to the top
// window.
void InstallWindowHooks();
