#pragma once
// C3DSceneLegend: one entry of the river map's legend, indexed by map byte. It says what a
// cell of that byte is (its kind), how it is drawn (ground tile and colour, object sprite and
// its animation) and how it stops the raft (hardness, current code). A scenery entry (kind 4)
// carries its animation record (CSceneAnim), whose first line the owning module shows when the
// raft hits it.
#include <cstdint>
#include <memory>

#include "game/action/3DLegendEntry.h"
#include "game/travel/SceneAnim.h"

class CSceneSeqWnd;

class C3DSceneLegend : public C3DLegendEntry {
public:
    enum Kind : int32_t {
        kNothing = 0,
        kWater = 1,
        kSpecial = 2,
        kRock = 3,
        kScenery = 4,
        kStart = 5,
        kEnd = 6,
        kUnlisted = 7,
        kObstacle = 8,
    };
    static constexpr int16_t kDefaultHardness = 4;
    static constexpr int16_t kObstacleHardness = 10;
    static constexpr int16_t kCurrentCodes = 17;

    C3DSceneLegend();
    ~C3DSceneLegend() override;
    C3DSceneLegend(const C3DSceneLegend&) = delete;
    C3DSceneLegend& operator=(const C3DSceneLegend&) = delete;

    // Back to an unlisted value: kind 7, no current, ground drawn, hardness 4, no object.
    void Clear(uint8_t value);
    // Loads the object's image and makes its sprite element (a river element for water);
    // false when the image is missing.
    bool MakeObject(CFrame* owner, int16_t sizeClass);
    // Frees the element and the image the entry loaded.
    void FreeObject();

    CImgSet* GetObjectImage() const override { return objectImage; }
    int32_t GetLegendKind() const override { return kind; }
    int16_t GetAnimationFrame() const override;
    void DrawAnimationFrame(CDrawEnv* env, const CRect& dest, const CRect& clip) override;
    // The text shown for a hit: line 1 of a scenery entry's record; null for other kinds.
    const CStr* GetHitText() const { return kind == kScenery ? anim.GetLine1() : nullptr; }
    CSceneSeqWnd* GetElement() const { return element.get(); }

    CSceneAnim anim;
    uint16_t value = 0;
    uint8_t sequence = 0;
    int32_t kind = kUnlisted;
    int32_t objectImageId = 0;
    // The object's images: the entry's own (ownImage) or the scene's overlay.
    CImgSet* objectImage = nullptr;
    std::unique_ptr<CImgSet> ownImage;
    std::unique_ptr<CSceneSeqWnd> element;
    uint8_t drawGround = 1;
    int16_t current = 0;
    int16_t hardness = kDefaultHardness;
    bool animated = false;
    uint8_t drawColour = 0;
};
