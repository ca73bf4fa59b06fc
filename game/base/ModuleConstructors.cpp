#include "game/base/ModuleConstructors.h"

#include <array>

#include "game/base/ModuleMgr.h"

namespace {

std::array<ModuleConstructor, CModuleMgr::kModuleCount>& Overrides()
{
    static std::array<ModuleConstructor, CModuleMgr::kModuleCount> table;
    return table;
}

GameModuleMaker g_gameMaker = nullptr;

} // namespace

void SetGameModuleMaker(GameModuleMaker maker) { g_gameMaker = maker; }

void SetModuleConstructor(int32_t type, ModuleConstructor constructor)
{
    if (type >= 0 && type < CModuleMgr::kModuleCount)
        Overrides()[static_cast<size_t>(type)] = std::move(constructor);
}

void ResetModuleConstructors()
{
    for (ModuleConstructor& c : Overrides())
        c = nullptr;
}

CRect ModuleRect(int32_t type)
{
    if (type == 1)
        return CRect(0, 0, 440, 640);
    if (type >= 6 && type <= 8)
        return CRect(0, 0, 400, 640);
    return CRect(0, 0, 480, 640);
}

CModule* MakeModule(int32_t type, const CRect& rect, CModuleMgr& manager)
{
    if (type < 0 || type >= CModuleMgr::kModuleCount)
        return nullptr;
    if (const ModuleConstructor& override = Overrides()[static_cast<size_t>(type)])
        return override(rect, manager);
    return g_gameMaker ? g_gameMaker(type, rect, manager) : nullptr;
}
