#include "game/shell/ModuleFactory.h"

#include "engine/controls/Wind.h"
#include "engine/controls/text/PopWind.h"
#include "game/action/HuntModule.h"
#include "game/base/GameGlobals.h"
#include "game/base/Module.h"
#include "game/base/ModuleMgr.h"
#include "game/shell/GatherModule.h"
#include "game/shell/Guidebook.h"
#include "game/shell/PictureModule.h"
#include "game/shell/SeqBrowseModule.h"
#include "game/shell/SmackerModule.h"
#include "game/shell/StandInModules.h"
#include "game/shell/TripStatusModule.h"
#include "game/travel/Travel.h"

namespace {

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
    case 7: return new CHuntModule(rect);
    case 6:
    case 8: return new CPassingAnimModule(rect);
    case CModuleMgr::kLandmark: return new CStandInLandmark(rect);
    case CModuleMgr::kTravel: return new CTravel(rect);
    default: return new CPlainFrameModule(rect);
    }
}

} // namespace

void InstallGameModules() { SetGameModuleMaker(&GameModule); }
