#pragma once
// The game's module factory: the module of each type 0-11, installed as the module manager's
// maker (game/base/ModuleConstructors.h, where tests replace single types) when the game starts.
#include "game/base/ModuleConstructors.h"

// Installs the game's modules as the module manager's maker.
void InstallGameModules();
