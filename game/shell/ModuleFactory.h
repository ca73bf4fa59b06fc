#pragma once
// The module factory's table: one constructor per module type 0-11. The game fills it with
// its modules; a test may put its own in place of any of them.
#include <cstdint>
#include <functional>

#include "engine/framework/Rect.h"

class CModule;
class CModuleMgr;

// Makes the module of a type over its rectangle; the manager is the one asking.
using ModuleConstructor = std::function<CModule*(const CRect& rect, CModuleMgr& manager)>;

// Replaces the constructor of a type (0-11); an empty one puts the game's back.
void SetModuleConstructor(int32_t type, ModuleConstructor constructor);
// Puts the game's constructors back for every type.
void ResetModuleConstructors();
// The rectangle a module of the type gets: 640 x 480, 640 x 440 for type 1, 640 x 400 for
// types 6, 7 and 8.
CRect ModuleRect(int32_t type);
