#pragma once
// C3DLegendEntry: what the 3D view needs of a river-map legend entry whose object it draws as a
// sprite standing on a marker polygon: the object's image set, its legend kind (water sprites
// are not stretched far beyond their size) and, for an entry that carries an animation, the
// animation's current frame and its own drawing.
#include <cstdint>

class CDrawEnv;
class CImgSet;
class CRect;

class C3DLegendEntry {
public:
    static constexpr int32_t kKindWater = 1;

    virtual ~C3DLegendEntry() = default;

    // The object's image set; null when the entry has no object.
    virtual CImgSet* GetObjectImage() const = 0;
    virtual int32_t GetLegendKind() const = 0;
    // The animation's current frame; -1 when the entry carries no animation.
    virtual int16_t GetAnimationFrame() const { return -1; }
    // An animated entry draws its current frame scaled into `dest`, clipped to `clip`.
    virtual void DrawAnimationFrame(CDrawEnv* /*env*/, const CRect& /*dest*/, const CRect& /*clip*/) {}
};
