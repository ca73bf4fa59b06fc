#pragma once
// CTravel: the travel module (type 10), owner of the trip. The journey itself is not built
// yet; this module holds what the shell asks of it: the landmark to show (none), the mode,
// the trip reset (which closes the game back to the opening screen) and the trip's date.
#include <cstdint>

#include "engine/framework/Date.h"
#include "game/shell/Module.h"

// The party as the new game's choice needs it: its money, never below 0. The travel
// simulation's party takes its place.
class CStandInParty {
public:
    double GetMoney() const { return money_; }
    // Adds the amount (negative: takes it); a result below 0 becomes 0.
    void AddMoney(double amount) { money_ = money_ + amount < 0.0 ? 0.0 : money_ + amount; }

private:
    double money_ = 0.0;
};

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

    // The new game's choice: the player's post and the party's starting money.
    void SetPost(int16_t post) { post_ = post; }
    int16_t GetPost() const { return post_; }
    CStandInParty* GetParty() { return &party_; }

private:
    int16_t mode_ = 0;
    int16_t post_ = 0;
    CStandInParty party_;
};
