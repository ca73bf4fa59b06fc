#pragma once
// CPlayItem: the play field's moving backdrop, one looping sprite image drawn twice side by
// side as two CPlayAnimator strips on the owner frame, both advanced by one cel every 10
// ticks of the item's own clock.
//
// CPlayAnimator: an animator element whose draw kind picks the sprite routine: 1 remapped,
// 2 blended, any other stretched.
#include <cstdint>
#include <memory>

#include "engine/controls/anim/AnimatorWnd.h"

class CImgSet;
class CStopwatch;

class CPlayAnimator : public CAnimatorWnd {
public:
    static constexpr uint8_t kDrawRemapped = 1;
    static constexpr uint8_t kDrawBlended = 2;

    // The image is the caller's; the owner frame is the animator object.
    CPlayAnimator(int32_t id, const CPoint& point, CFrame* owner, CImgSet* images);

    void DrawContent(CDrawEnv* env, const CRect& clip) override;

    uint8_t GetDrawKind() const { return drawKind_; }
    void SetDrawKind(uint8_t kind) { drawKind_ = kind; }
    // The sprite routine of the draw kind.
    static DrawProc RoutineFor(uint8_t kind);

private:
    uint8_t drawKind_ = kDrawRemapped;
};

class CPlayItem {
public:
    static constexpr uint32_t kPeriod = 10;
    static constexpr int32_t kStrips = 2;

    CPlayItem(CFrame* owner, int32_t imageId);
    ~CPlayItem();
    CPlayItem(const CPlayItem&) = delete;
    CPlayItem& operator=(const CPlayItem&) = delete;

    // Loads the "RLES" image (once) and puts the two strips side by side on the owner; nothing
    // without the image or when built already.
    void Build();
    // Both strips one cel on, wrapping, once the clock has passed the next tick.
    void Step();
    void SetZ(int16_t z);
    void SetDrawKind(uint8_t kind);
    // Takes the strips off their parent and deletes them.
    void Remove();

    CPlayAnimator* GetStrip(int32_t i) const { return strips_[i]; }
    int16_t GetZ() const { return z_; }
    CStopwatch* GetClock() const { return clock_.get(); }

private:
    CFrame* owner_;
    std::unique_ptr<CImgSet> image_;
    int32_t imageId_;
    CPlayAnimator* strips_[kStrips] = {};
    int16_t z_ = 0;
    uint32_t next_ = 0;
    std::unique_ptr<CStopwatch> clock_;
};
