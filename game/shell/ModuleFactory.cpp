#include "game/shell/ModuleFactory.h"

#include <array>

#include "engine/controls/Wind.h"
#include "engine/controls/text/PopWind.h"
#include "game/shell/GameGlobals.h"
#include "game/shell/GatherModule.h"
#include "game/shell/Guidebook.h"
#include "game/shell/Module.h"
#include "game/shell/ModuleMgr.h"
#include "game/shell/PictureModule.h"
#include "game/shell/SeqBrowseModule.h"
#include "game/shell/SmackerModule.h"
#include "game/shell/StandInModules.h"
#include "game/shell/TripStatusModule.h"
#include "game/travel/Travel.h"

namespace {

std::array<ModuleConstructor, CModuleMgr::kModuleCount>& Overrides()
{
    static std::array<ModuleConstructor, CModuleMgr::kModuleCount> table;
    return table;
}

// The guidebook's three values depend on the modules that exist when it is made.
CModule* MakeGuidebook(const CRect& rect, CModuleMgr& manager)
{
    if (manager.GetModule(6))
        return new CGuidebook(rect, 0, 3, 0);
    if (manager.GetModule(3))
        return new CGuidebook(rect, 0, 4, manager.GetGuideTopic());
    return new CGuidebook(rect, 1, 0, 0);
}

CModule* GameModule(int32_t type, const CRect& rect, CModuleMgr& manager)
{
    switch (type) {
    case 0: return new CSmackerModule(rect);
    case 1: return new CSeqBrowseModule(rect);
    case 2: return new CTripStatusModule(rect);
    case 3: return new CGatherModule(rect);
    case 4: return MakeGuidebook(rect, manager);
    case 5: return new CPictureModule(rect);
    case 11: return new CBackdropModule(rect);
    case 6:
    case 7:
    case 8: return new CPassingAnimModule(rect);
    case CModuleMgr::kLandmark: return new CLandmark(rect);
    case CModuleMgr::kTravel: return new CTravel(rect);
    default: return new CPlainFrameModule(rect);
    }
}

} // namespace

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

bool CModuleMgr::CreateModule(int32_t i)
{
    if (!ValidSlot(i))
        return false;
    if (GetModule(i))
        return true;
    const CRect rect = ModuleRect(i);
    const ModuleConstructor& override = Overrides()[static_cast<size_t>(i)];
    CModule* module = override ? override(rect, *this) : GameModule(i, rect, *this);
    if (!module)
        return false;
    modules_[static_cast<size_t>(i)] = module;
    CFrame* graphic = module->GetGraphic();
    gameWindow_->AddChild(graphic, true);
    if (module->IsFrameModule()) {
        graphic->OnAttach();
    } else {
        if (auto* anim = dynamic_cast<CAnimFrame*>(graphic))
            anim->SetDrawEnv(gameWindow_->GetDrawEnv());
        module->Start();
    }
    gameWindow_->Draw(true);
    if (CPopWind* popup = CPopWind::GetPopup())
        popup->ShowFor(gameWindow_);
    return true;
}
