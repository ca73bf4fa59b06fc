#include "game/landmarks/LandmarkTrip.h"

#include "game/base/GameGlobals.h"
#include "game/base/ModuleMgr.h"
#include "game/travel/Travel.h"

CTravel* GetTravelModule()
{
    const CModuleMgr* manager = GetModuleMgr();
    return manager ? manager->GetModuleAs<CTravel>(CModuleMgr::kTravel) : nullptr;
}

CParty* GetTravelParty()
{
    const CTravel* travel = GetTravelModule();
    return travel ? travel->GetParty() : nullptr;
}
