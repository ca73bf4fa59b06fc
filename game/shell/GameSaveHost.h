#pragma once
// The running game as the saved game sees it: the travel module, the module manager and the
// disc switch. The application installs it for its lifetime.
#include "game/base/save/SaveGameHost.h"

class CGameSaveHost : public CSaveGameHost {
public:
    bool HasTravel() const override;
    void SaveTravel(CQM3Doc& doc) override;
    void LoadTravel(CQM3Doc& doc) override;
    void UpdatePartyAfterLoad() override;
    void ResetTrip() override;
    std::optional<CDate> GetCurDate() const override;
    bool SwitchDisc(int32_t disc) override;
    bool HasModule(int16_t i) const override;
    void LoadModule(int16_t i, CQM3Doc& doc) override;
    void SwitchClose() override;
    void Activate() override;
    void SwitchSuspend() override;
};

// Installs the game's host (on) or the null host again (off).
void InstallGameSaveHost(bool on);
