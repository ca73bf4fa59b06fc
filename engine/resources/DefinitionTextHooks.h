#pragma once
// Fills the application's hooks that belong to definition text: the record formats the
// engine defines at start ("LID") and the engine's message string list ("STR" 8). A program
// calls it before it makes its application.
void InstallDefinitionTextHooks();
