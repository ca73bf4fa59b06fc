#pragma once
// The module manager's table of constructors, one per module type 0-11. The modules live in the
// layers above this one, so the game installs its maker (game/shell's module factory) when it
// starts; a test may put its own constructor in place of any type.
#include <cstdint>
#include <functional>

#include "engine/framework/Rect.h"

class CModule;
class CModuleMgr;

// Makes the module of a type over its rectangle; the manager is the one asking.
using ModuleConstructor = std::function<CModule*(const CRect& rect, CModuleMgr& manager)>;
// The game's maker of every type's module.
using GameModuleMaker = CModule* (*)(int32_t type, const CRect& rect, CModuleMgr& manager);

// Installs the game's maker (null: no modules are made but by replaced constructors).
void SetGameModuleMaker(GameModuleMaker maker);
// Replaces the constructor of a type (0-11); an empty one puts the game's back.
void SetModuleConstructor(int32_t type, ModuleConstructor constructor);
// Puts the game's constructors back for every type.
void ResetModuleConstructors();
// The rectangle a module of the type gets: 640 x 480, 640 x 440 for type 1, 640 x 400 for
// types 6, 7 and 8.
CRect ModuleRect(int32_t type);
// The module of a type made by its replaced constructor or else the game's maker; null when
// neither makes one.
CModule* MakeModule(int32_t type, const CRect& rect, CModuleMgr& manager);
