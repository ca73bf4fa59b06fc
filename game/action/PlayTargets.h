#pragma once
// The catch turn's targets: the types a place offers (read from the type list record and each
// type's own record), up to ten live targets each drawn by a swimming creature, and the rules
// that move them: now and then a change of course, a step in the target's direction wrapping
// at one edge of the creature's home rectangle, and the creature steered to the target's point.
//
// Type list record: entries in threes: name, type id ("RLS", "SEQ" and type record id), picture
// id ("CBM" of the catch window). Type record lines: (skipped), maximum weight, turning, high
// speed, low speed, margin, near range, turn pause, first band, end band.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/framework/Rect.h"
#include "game/action/PlayAnim.h"

class CFrame;
class CImgSet;

struct PlayTargetType {
    int32_t id = 0;
    std::unique_ptr<CImgSet> image; // loaded on first use
    std::string name;
    int16_t turning = 0;
    int16_t maxWeight = 0;
    int16_t highSpeed = 0;
    int16_t lowSpeed = 0;
    CRect home; // the set's bounds grown by the margin
    int16_t turnPause = 0;
    int16_t nearRange = 0;
    uint16_t bands = 0; // 1, 2, 4: depth layers 0, 1, 2 allowed
    int32_t pictureId = 0;
};

struct PlayTarget {
    static constexpr int16_t kCalled = 1;
    static constexpr int16_t kHooked = 2;
    static constexpr int16_t kRoaming = 3;

    int16_t type = 0;
    int16_t turning = 0;
    int16_t x = 0;
    int16_t y = 0;
    int16_t depth = 0;
    int16_t direction = 0; // 1..8 as the creatures count them
    int16_t highSpeed = 0;
    int16_t lowSpeed = 0;
    int16_t speed = 0;
    int16_t state = kRoaming;
    CPlayAnimFrm* creature = nullptr; // a child of the frame; null once it is gone
    uint32_t releaseTick = 0;
};

// The depth a target of the bands swims at and the range its creature keeps to.
struct DepthLayer {
    int16_t depth;
    int16_t floor;
    int16_t ceiling;
};

class CPlayTargetSet : public CPlaySpecies {
public:
    static constexpr int32_t kSlots = 10;
    static constexpr int32_t kMaxTypes = 15;

    CPlayTargetSet(const CRect& bounds, CFrame* frame, int16_t maxDepth);
    ~CPlayTargetSet() override;
    CPlayTargetSet(const CPlayTargetSet&) = delete;
    CPlayTargetSet& operator=(const CPlayTargetSet&) = delete;

    // Builds a type for each name found in the type list record, at most 15; a name the list
    // lacks is left out.
    void LoadTypes(const std::vector<std::string>& names, int32_t typeListId);
    // Reads the type's record.
    void ReadType(PlayTargetType& type) const;
    // A new roaming target of type `index` in the first free slot; null for an index outside
    // the types or when every slot is taken.
    PlayTarget* AddTarget(int16_t index);
    void RemoveAll();
    // Takes the target's creature off the frame and deletes it; the target keeps its slot
    // until DeleteTarget.
    void RemoveTarget(PlayTarget& target);
    // Deletes the target of the slot (and its creature) and frees the slot.
    void DeleteTarget(int32_t slot);

    // A change of course now and then, one step, the wrap, and the creature steered.
    void MoveTarget(PlayTarget& target);
    void ChangeCourse(PlayTarget& target);
    // One step in the target's direction; false for a direction outside 1..8.
    static bool AdvanceTarget(PlayTarget& target);
    // Steers the creature to the target's point, or removes it once it is landed (speed class
    // 0) or would swim below the scene's deepest depth.
    void PlaceSprite(PlayTarget& target);

    // The layer of the bands, drawing among the allowed ones.
    static DepthLayer LayerFor(uint16_t bands);
    // Depth bands from the type record's first and end band.
    static uint16_t BandsFrom(int32_t first, int32_t end);

    int16_t GetWeightBound(int16_t index) const override;

    PlayTarget* GetTarget(int32_t slot) const { return targets_[slot].get(); }
    int16_t GetCount() const { return count_; }
    int16_t GetTypeCount() const { return static_cast<int16_t>(types_.size()); }
    const PlayTargetType* GetType(int32_t index) const;
    const CRect& GetBounds() const { return bounds_; }
    int16_t GetMaxDepth() const { return maxDepth_; }

private:
    // The target's creature, from the type's image (loaded once); null without the image.
    CPlayAnimFrm* MakeSprite(PlayTargetType& type);

    std::unique_ptr<PlayTarget> targets_[kSlots];
    CRect bounds_;
    int16_t count_ = 0;
    CFrame* frame_;
    int16_t maxDepth_;
    std::vector<std::unique_ptr<PlayTargetType>> types_;
};
