#pragma once
// Connects a program to the whole engine before it makes its application: the definition
// text, library, graphics, window and screen hooks, and the engine's window classes. Both
// programs (and tests that start a program's application) call it once.
void InstallEngineHooks();
