#pragma once
// CHuntModule (module type 7): the hunting screen that the travel screen's Hunt button opens.
// It checks that the party carries a gun with its ammunition and the item that limits the
// shots (84), builds the hunting field (HuntField.h) for the route node's terrain and the
// season, and lets the player aim and shoot at the animals on the scrolling panorama while
// the shots last. When the module is left the meat (at most 75 pounds a traveller) goes to
// the supplies, the ammunition of the gun used is used up by the shots fired, and the result
// window tells the meat. An animal that charges the hunter, or a shot while the gun is being
// reloaded, ends the hunt at once with an injury (or, for one kind, a route event). Nothing
// of a hunt is saved.
//
// The hunting-ground table "HNT" 5000 holds 540 signed 16-bit values: 18 terrains x 3 seasons
// (0 June-August, 1 December-February, 2 the other months) x 10 values, a count n (1-3) and n
// choices of three strip ids (far, near, extra; extra 0 = none). A table that is short, a
// terrain outside it, a count outside 1-3 or a far strip that makes no panorama end the hunt
// on its first tick with nothing used.
#include <cstdint>
#include <memory>
#include <vector>

#include "game/action/HuntField.h"
#include "game/base/Module.h"

class CBusyCursor;
class CButtonPanel;
class CCtrlBarFrm;
class CTravel;

class CHuntModule : public CAnimModule, public CHuntFieldHost {
public:
    static constexpr int32_t kCursorRight = 690000;
    static constexpr int32_t kCursorLeft = 690001;
    static constexpr int32_t kCursorAim = 690002;
    static constexpr int32_t kCursorShooting = 690003;
    static constexpr int32_t kGroundTable = 5000;
    static constexpr int32_t kMusic = 5940;
    static constexpr int32_t kEmptyGunSound = 5920;
    static constexpr int32_t kMissingItemTexts = 5620;
    static constexpr int32_t kMissingItemWindow = 5903;
    static constexpr int32_t kWeaponWindow = 5901;
    static constexpr int32_t kResultWindow = 5900;
    static constexpr int32_t kResultTexts = 5900;
    static constexpr int32_t kTextHolder = 8032;
    static constexpr int32_t kTextElement = 5910;
    // Items: the shot limit, the two guns and their ammunition.
    static constexpr int16_t kShotLimitItem = 84;
    static constexpr int16_t kGun = 156;
    static constexpr int16_t kAmmunition = 23;
    static constexpr int16_t kSecondGun = 180;
    static constexpr int16_t kSecondAmmunition = 179;
    // Messages.
    static constexpr int32_t kMsgLeaveNow = 250;
    static constexpr int32_t kMsgClosing = 201;
    static constexpr int32_t kMsgKey = -3;
    static constexpr int32_t kMsgMouse = -1;
    static constexpr int32_t kMsgEndCharge = 524;
    static constexpr int32_t kMaxLiveAnimals = 8;
    static constexpr int16_t kMeatPerTraveller = 75;
    static constexpr int16_t kScrollStep = 30;
    static constexpr uint32_t kChargeTime = 400;

    explicit CHuntModule(const CRect& rect);
    ~CHuntModule() override;

    // CModule
    void Hide() override;
    void Suspend() override;
    void Resume() override;
    void Start() override;
    // Re-enables the menu bar when message 250 asked for it; the module stops acting.
    bool Stop();

    // CAnimFrame
    void SetOwner(CBaseObj* owner) override;
    bool OnTimer() override;
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    int32_t GetCursorAt(const CPoint* point) override;

    // CHuntFieldHost
    void ChangeLiveCount(int16_t delta) override
    {
        liveAnimals_ = static_cast<int16_t>(liveAnimals_ + delta);
    }
    void EndHuntByCharge(int16_t code) override;

    // The cursor the module shows at a point of the frame, as the tick and the cursor query
    // choose it: 0 outside the field.
    static int32_t CursorFor(int16_t h, int16_t v);
    // The season of a month (1-12): 0 June-August, 1 December-February, 2 else.
    static int32_t SeasonOf(int16_t month);
    // The far, near and extra strip ids of one of the choices (drawn) of the terrain and
    // season in the ground table; false when the table is short, the terrain or season lies
    // outside it or the count is not 1-3.
    static bool PickGround(int16_t terrain, int32_t season, int32_t ids[3]);

    CHuntField* GetField() const { return field_.get(); }
    int32_t GetMeat() const { return meat_; }
    int16_t GetShotsLeft() const { return shotsLeft_; }
    int16_t GetShotsFired() const { return shotsFired_; }
    int16_t GetShotLimit() const { return shotLimit_; }
    int32_t GetWeaponMode() const { return weaponMode_; }
    bool IsLoaded() const { return reloaded_; }
    bool CannotHunt() const { return cannotHunt_; }
    bool IsLeaving() const { return leaving_; }
    bool IsActive() const { return active_; }
    bool HadAccident() const { return accident_; }
    bool EndedByCharge() const { return endedByCharge_; }
    uint32_t GetChargeDeadline() const { return chargeDeadline_; }
    int16_t GetLiveAnimals() const { return liveAnimals_; }
    const std::vector<int16_t>& GetAnimalKinds() const { return kinds_; }
    bool IsHerdHunt() const { return herd_; }
    int32_t GetSpawnOdds() const { return spawnOdds_; }

private:
    CTravel* Travel() const;
    // The weapon mode and shots from the party's items; false when one is missing (the
    // missing-item message was shown).
    bool CheckItems();
    void ShowMissingItem(int16_t item);
    // Builds the field, its scenery and the first animals; false when the ground table or
    // the scenery fails.
    bool SetupField();
    void TakeFauna();
    void Leave();
    void Shoot(int32_t objectId);
    // Whether the gun is reloading (or an accident happened already): the shot is not fired.
    bool FiredWhileReloading();
    bool HandleMouse(const CMessage& message);
    void TrackMouse();
    void SpawnLater();
    void Settle();
    void ShowResult(int32_t meat, int32_t limit);
    void Fade();
    int16_t BarShotState() const;

    std::unique_ptr<CBusyCursor> busy_;
    std::unique_ptr<CButtonPanel> panel_;
    std::unique_ptr<CHuntField> field_;
    bool active_ = false;
    bool firstTick_ = true;
    bool tickGuard_ = true;
    bool mouseHeld_ = false;
    bool menuRestore_ = false;
    bool menuToggle_ = false;
    bool menuDisabled_ = false;
    bool accident_ = false;
    bool endedByCharge_ = false;
    bool cannotHunt_ = false;
    bool leaving_ = false;
    bool hunted_ = false;
    uint32_t chargeDeadline_ = 0;
    int32_t meat_ = 0;
    int16_t shotsLeft_ = 0;
    int16_t shotsFired_ = 0;
    int16_t shotLimit_ = 0;
    bool reloaded_ = false;
    std::vector<int16_t> kinds_;
    int16_t liveAnimals_ = 0;
    int32_t spawnOdds_ = 10;
    bool herd_ = false;
    int32_t weaponMode_ = 0;
    int16_t shotState_ = 0;
};
