#pragma once
// CHuntTarget: one animal of the hunting field, a sequence element whose frames both show the
// animal and move it. It shrinks with distance: full size on its near line b, nothing on its
// far line a (the scale is 1 - |b - v| / (b - a) for the screen line v = 400 - depth, and the
// drawn rectangle keeps its bottom and its anchor's h). A press on it is a shot: message 306
// with its object id goes at once to its parent, the hunting module's frame. While it charges
// (animations 21-24) its frames' sounds play as its kind's sound, louder as it comes nearer.
//
// Animal records ("STR" of the animal id, each entry a number): far line a, near line b, meat
// minimum and maximum, two values the hunt does not use, and the hit chances in percent on
// the near line for weapon modes 0 and 1.
#include <cstdint>

#include "engine/controls/anim/SeqWnd.h"

class CHuntField;

struct HuntAnimalRecord {
    static constexpr int32_t kEntries = 8;
    int16_t farLine = 0;
    int16_t nearLine = 0;
    int16_t meatMin = 0;
    int16_t meatMax = 0;
    int16_t hitChance[2] = {};

    // The record of the animal id; false (and the record untouched) when it is missing, lacks
    // one of entries 0-7, or its lines are not 0 <= a < b <= 400.
    static bool Read(int32_t animalId, HuntAnimalRecord& out);
};

class CHuntTarget : public CSeqWnd {
public:
    static constexpr int32_t kMsgShot = 306;
    // Animations the sprite itself knows.
    static constexpr int16_t kAnimDown = 0;
    static constexpr int16_t kAnimUnclickable = 14;
    static constexpr int16_t kAnimFirstCharge = 21;
    static constexpr int16_t kAnimChargeEnd = 24;
    static constexpr int16_t kAnimCharge = 23;
    // Kinds that fall when shot (birds), whose sound plays once.
    static constexpr int16_t kFirstFaller = 5612;
    static constexpr int16_t kLastFaller = 5613;

    // The sequence and cel table are the animal id's; the image and the record are the
    // field's (the record may be null: full size, no meat, never hit).
    CHuntTarget(int32_t objectId, int16_t animalId, const CPoint& position, CFrame* owner, CImgSet* images,
                const HuntAnimalRecord* record, CHuntField* field);
    ~CHuntTarget() override;

    // A press while not in animation 14 is a shot at this animal.
    bool HandleMessage(CMessage& message, CBaseObj* sender) override;
    // The sequence's step, then the charge sound follows the depth.
    void Step() override;
    // Moves, rescales, and lands a falling animal that passes its landing line.
    void MoveBy(int16_t dh, int16_t dv, int16_t dz) override;
    // The cel with its anchor, scaled for the depth.
    void SetCel(int16_t n, int16_t h = 0, int16_t v = 0, int16_t z = 0) override;
    // The frame's sound as the kind's charge sound (see the file comment).
    void PlayFrameSound(int32_t soundId, uint32_t libraryMask) override;

    // Sends the shot unconditionally (the animator element's click).
    void Click();
    // random(meat minimum..maximum) while no animation other than 0 is queued, else 0.
    int16_t GetMeat() const;
    bool HasChargeAnimation() const;
    // Kinds 5612 and 5613 only: falls until its v passes (depth / 400) x 100 + 320.
    void StartFall(int16_t animalId);
    // Takes the animal off its path (a charging 5615): no landing line.
    void SetFalling() { falling_ = true; }
    int16_t GetHitChance(int32_t mode) const;
    int16_t GetFarLine() const { return record_ ? record_->farLine : 0; }
    int16_t GetNearLine() const { return record_ ? record_->nearLine : 0; }

    int16_t GetAnimalId() const { return animalId_; }
    int32_t GetPathCentre() const { return pathCentre_; }
    void SetPathCentre(int32_t x) { pathCentre_ = x; }
    int32_t GetWrapOffset() const { return wrapOffset_; }
    void SetWrapOffset(int32_t offset) { wrapOffset_ = offset; }
    bool IsFalling() const { return falling_; }
    int16_t GetLandingLine() const { return landingLine_; }
    int16_t& CelHint() { return celHint_; }
    bool HoldsSound() const { return holdsSound_; }
    bool IsSoundOn() const { return soundOn_; }
    // The scale of the last rescale (1 before any).
    double GetScale() const { return scale_; }

private:
    void Rescale();
    void StopSound();

    int16_t animalId_;
    const HuntAnimalRecord* record_;
    CHuntField* field_;
    int32_t pathCentre_ = 0;
    int32_t wrapOffset_ = 0;
    bool falling_ = false;
    int16_t landingLine_ = 0;
    bool holdsSound_ = false;
    int32_t soundId_ = 0;
    bool soundOn_ = false;
    int16_t lastScaleStep_ = -1;
    double scale_ = 1.0;
    int16_t celHint_ = 0;
    bool placing_ = false;
};
