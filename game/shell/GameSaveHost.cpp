#include "game/shell/GameSaveHost.h"

#include "game/base/GameGlobals.h"
#include "game/base/LibraryDiscovery.h"
#include "game/base/Module.h"
#include "game/base/ModuleMgr.h"
#include "game/travel/Travel.h"

namespace {

CTravel* Travel()
{
    CModuleMgr* manager = GetModuleMgr();
    return manager ? dynamic_cast<CTravel*>(manager->GetModule(CModuleMgr::kTravel)) : nullptr;
}

CModule* Module(int16_t i)
{
    CModuleMgr* manager = GetModuleMgr();
    return manager ? manager->GetModule(i) : nullptr;
}

} // namespace

bool CGameSaveHost::HasTravel() const { return Travel() != nullptr; }

void CGameSaveHost::SaveTravel(CQM3Doc& doc)
{
    // Through the module interface: the trip's own Save writes the record itself.
    if (CModule* travel = Travel())
        travel->Save(&doc);
}

void CGameSaveHost::LoadTravel(CQM3Doc& doc)
{
    if (CModule* travel = Travel())
        travel->Load(&doc);
}

void CGameSaveHost::UpdatePartyAfterLoad()
{
    if (CTravel* travel = Travel())
        travel->UpdatePartyAfterLoad();
}

void CGameSaveHost::ResetTrip()
{
    if (CTravel* travel = Travel())
        travel->ResetTrip();
}

std::optional<CDate> CGameSaveHost::GetCurDate() const
{
    if (const CTravel* travel = Travel())
        if (const CDate* date = travel->GetCurDate())
            return *date;
    return std::nullopt;
}

bool CGameSaveHost::SwitchDisc(int32_t disc) { return ::SwitchDisc(disc, false); }

bool CGameSaveHost::HasModule(int16_t i) const { return Module(i) != nullptr; }

void CGameSaveHost::LoadModule(int16_t i, CQM3Doc& doc)
{
    if (CModule* module = Module(i))
        module->Load(&doc);
}

void CGameSaveHost::SwitchClose()
{
    if (CModuleMgr* manager = GetModuleMgr())
        manager->SwitchClose();
}

void CGameSaveHost::Activate()
{
    if (CModuleMgr* manager = GetModuleMgr())
        manager->Activate();
}

void CGameSaveHost::SwitchSuspend()
{
    if (CModuleMgr* manager = GetModuleMgr())
        manager->SwitchSuspend();
}

void InstallGameSaveHost(bool on)
{
    static CGameSaveHost host;
    SetSaveGameHost(on ? &host : nullptr);
}
