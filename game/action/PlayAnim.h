#pragma once
// The swimming catch creatures of the play field. A creature is a sequence element that
// steers itself toward a goal in eight directions, turning one step at a time with a short
// pause after each turn, slows down near the goal and marks when it has arrived; it carries
// the weight it is worth, drawn from its species' weight bound. It draws only while its
// module is in the catch phase.
//
// Directions: 1 up, 2 up-right, 3 right, 4 down-right, 5 down, 6 down-left, 7 left, 8 up-left.
// CPlayAnim shows directions 6-8 as 4-2 mirrored; CPlayAnimFrm (the play field's own) has an
// animation for every turn, clockwise and back.
#include <cstdint>

#include "engine/controls/anim/SeqWnd.h"

// Where a creature finds its species' weight bound.
class CPlaySpecies {
public:
    virtual ~CPlaySpecies() = default;
    // The heaviest catch of species i in whole units (0 when there is no such species).
    virtual int16_t GetWeightBound(int16_t index) const = 0;
};

class CPlayAnim : public CSeqWnd {
public:
    // Move flags.
    static constexpr uint16_t kUp = 1;
    static constexpr uint16_t kRight = 2;
    static constexpr uint16_t kDown = 4;
    static constexpr uint16_t kLeft = 8;
    static constexpr uint16_t kDeeper = 0x10;
    static constexpr uint16_t kShallower = 0x20;
    // Orientations of the way to the goal.
    static constexpr int16_t kVertical = 1;
    static constexpr int16_t kHorizontal = 2;
    static constexpr int16_t kDiagonal = 3;
    // Speed classes: 0 landed (no longer steered), 2 slow near the goal, 3 cruising; above 3
    // the creature swims straight on while inside its home rectangle.
    static constexpr int32_t kSlow = 2;
    static constexpr int32_t kCruise = 3;
    // The turn table's answer when the creature already faces the wanted direction.
    static constexpr int16_t kFacing = 255;
    // Goals closer than this across and down count as reached.
    static constexpr int32_t kArrivedRange = 29;
    // Goals closer than this vertically (and within the near range) slow the creature.
    static constexpr int32_t kNearDown = 28;

    // The image is the caller's; the clip rectangle bounds the drawn cel (empty: the drawn
    // rectangle); the species is asked for the weight bound by PickWeight.
    CPlayAnim(int32_t id, const CPoint& point, CFrame* animator, CImgSet* images, int32_t sequenceId,
              const CRect& clip, const CPlaySpecies* species);

    // The next direction from `current` toward `wanted` (both 1..8); kFacing when there.
    static int16_t Turn(int16_t current, int16_t wanted);

    // The module's phase; the creature draws only in phase 2.
    int16_t GetDrawMode() const override;
    // The cel stretched into the clip rectangle (see the file comment).
    void DrawContent(CDrawEnv* env, const CRect& clip) override;

    // One step toward the goal (x, y) at depth z.
    virtual void MoveToward(int16_t x, int16_t y, int16_t z);
    // The animation that shows the direction (kFacing: keep the shown one); CPlayAnim also
    // sets the mirroring.
    virtual int16_t AnimationFor(int16_t direction);
    // The direction to take next for the move flags and orientation.
    virtual int16_t NextDirection(uint16_t flags, int16_t orientation) const;
    // One frame when due: the frame's steps when moving, 2 pixels for each motion flag, scaled
    // by the speed class.
    void Animate(bool moving, uint16_t motionFlags);
    // Draws the weight of species i: 2.0 up to its bound, the mean of three draws.
    void PickWeight(int16_t index);

    int16_t GetDirection() const { return direction_; }
    void SetDirection(int16_t direction) { direction_ = direction; }
    int32_t GetSpeedClass() const { return speedClass_; }
    void SetSpeedClass(int32_t speedClass) { speedClass_ = speedClass; }
    int16_t GetWeightIndex() const { return weightIndex_; }
    int32_t GetWeightWhole() const { return weightWhole_; }
    int32_t GetWeightTenths() const { return weightTenths_; }
    void SetDepthRange(int16_t floor, int16_t ceiling)
    {
        zFloor_ = floor;
        zCeiling_ = ceiling;
    }
    int16_t GetZFloor() const { return zFloor_; }
    int16_t GetZCeiling() const { return zCeiling_; }
    void SetNearRange(int16_t range) { nearRange_ = range; }
    void SetHome(const CRect& home) { home_ = home; }
    const CRect& GetHome() const { return home_; }
    void SetTurnPause(int16_t length) { pauseLength_ = length; }
    int16_t GetPauseCount() const { return pauseCount_; }
    int16_t GetShownAnimation() const { return shown_; }
    bool HasArrived() const { return arrived_; }

protected:
    // The direction the creature faced before the move being chosen.
    int16_t PreviousDirection() const { return direction_; }

private:
    // Selects the animation when it is new to the creature and starts a turn pause.
    void ShowDirection(int16_t next);
    // Keeps the motion flags the direction does not already swim along.
    uint16_t SideFlags(uint16_t flags) const;

    int16_t direction_;
    int16_t weightIndex_ = -1;
    int32_t weightWhole_ = 0;
    int32_t weightTenths_ = 0;
    int16_t zFloor_ = 30;
    int16_t zCeiling_ = 75;
    int32_t speedClass_ = kCruise;
    int16_t nearRange_ = 28;
    CRect home_;
    int16_t pauseLength_ = 2;
    int16_t pauseCount_ = 0;
    int16_t shown_ = kNoAnimation;
    const CPlaySpecies* species_;
    CRect clip_;
    bool arrived_ = false;
};

class CPlayAnimFrm : public CPlayAnim {
public:
    using CPlayAnim::CPlayAnim;

    // Never mirrored: a clockwise turn from the previous direction shows animation d - 1,
    // any other 17 - d (8 for direction 1); 0 keeps the shown one.
    int16_t AnimationFor(int16_t direction) override;
};
