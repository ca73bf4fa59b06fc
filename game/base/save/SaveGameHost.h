#pragma once
// What a saved game needs of the running game: the travel module's own state, the modules
// for the module-state record, the disc switch and the trip's date and reset. The game
// installs its host when it starts; until then (and in the tools) the null host answers: no
// travel module, no modules, every disc available, no date.
#include <cstdint>
#include <optional>

#include "engine/framework/Date.h"

class CQM3Doc;

class CSaveGameHost {
public:
    virtual ~CSaveGameHost() = default;

    // The travel module (module 10) and its part of the saved game.
    virtual bool HasTravel() const { return false; }
    virtual void SaveTravel(CQM3Doc&) {}
    virtual void LoadTravel(CQM3Doc&) {}
    virtual void UpdatePartyAfterLoad() {}
    // Throws the trip away and starts a new one (the game closes back to its opening).
    virtual void ResetTrip() {}
    // The trip's current date; none without a travel module.
    virtual std::optional<CDate> GetCurDate() const { return std::nullopt; }

    // Makes disc n's libraries the open ones, asking for the disc while no drive holds it;
    // false when the player gave up.
    virtual bool SwitchDisc(int32_t) { return true; }

    // The module manager, for the module-state record.
    virtual bool HasModule(int16_t) const { return false; }
    virtual void LoadModule(int16_t, CQM3Doc&) {}
    virtual void SwitchClose() {}
    virtual void Activate() {}
    virtual void SwitchSuspend() {}
};

// The installed host, or the null host.
CSaveGameHost& GetSaveGameHost();
// Installs a host (not owned); null restores the null host.
void SetSaveGameHost(CSaveGameHost* host);
