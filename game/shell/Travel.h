#pragma once
// CTravel: the travel module (type 10), owner of the trip. The journey itself is not built
// yet; this module holds what the shell asks of it: the landmark to show (none), the mode,
// the trip reset (which closes the game back to the opening screen) and the trip's date.
#include <cstdint>

#include "engine/framework/Date.h"
#include "game/shell/Module.h"

class CTravel : public CFrameModule {
public:
    // Message 3 resets the trip.
    static constexpr int32_t kMsgResetTrip = 3;

    explicit CTravel(const CRect& rect) : CFrameModule(rect) {}

    bool HandleMessage(CMessage& message, CBaseObj* sender) override;

    // The landmark the landmark module is to show; -1 for none.
    int32_t GetLandmarkId() const { return -1; }
    void SetMode(int16_t mode) { mode_ = mode; }
    int16_t GetMode() const { return mode_; }
    // Starts the trip over and sends command 3 (close the game) to the application.
    void ResetTrip();
    CDate GetCurDate() const { return CDate(1848, 4, 1); }
    // The current route node: none.
    const void* GetRouteNode() const { return nullptr; }
    void UpdatePartyAfterLoad() {}

private:
    int16_t mode_ = 0;
};
