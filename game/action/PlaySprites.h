#pragma once
// The catch turn's three sprites on the module's frame, drawn only in the module's catch
// phase: the lure (CSpriteFrm), which sinks to its landing depth, shows the marker where it
// lands and goes on down to the bottom; the marker (CSpriteFrm2); and the holder
// (CSpriteFrm3) that holds the line at the bottom centre. Each owns its image.
#include <cstdint>
#include <memory>

#include "engine/controls/anim/SeqWnd.h"

class CStopwatch;

// What the three share: the catch-phase draw through the class's sprite routine.
class CPlaySprite : public CSeqWnd {
public:
    CPlaySprite(int32_t id, const CPoint& point, CFrame* animator, CImgSet* images, int32_t sequenceId,
                DrawProc routine);

    int16_t GetDrawMode() const override;
    void DrawContent(CDrawEnv* env, const CRect& clip) override;

private:
    DrawProc routine_;
};

class CSpriteFrm2 : public CPlaySprite {
public:
    CSpriteFrm2(int32_t id, const CPoint& point, CFrame* animator, CImgSet* images, int32_t sequenceId);
};

class CSpriteFrm3 : public CPlaySprite {
public:
    CSpriteFrm3(int32_t id, const CPoint& point, CFrame* animator, CImgSet* images, int32_t sequenceId);
};

class CSpriteFrm : public CPlaySprite {
public:
    enum State : int16_t { kIdle = 0, kSinking = 1, kLanded = 2, kGoingDown = 3, kAtBottom = 4, kPulled = 5 };

    CSpriteFrm(int32_t id, const CPoint& point, CFrame* animator, CImgSet* images, int32_t sequenceId);
    ~CSpriteFrm() override;

    // Moves the lure so that its centre lies at (x, y).
    void PlaceCentre(int16_t x, int16_t y, int16_t depth);
    // The marker from the settings' marker image, on the animator frame, hidden; only once the
    // lure is on a window.
    void MakeMarker();
    // One step of the lure by its state, made by the play field once a step (the frame
    // steps its sequence as it steps every element).
    void StepLure();

    int16_t GetState() const { return state_; }
    void SetState(int16_t state) { state_ = state; }
    bool HasLanded() const { return landed_; }
    void SetLanded(bool landed) { landed_ = landed; }
    void SetLandingDepth(int16_t depth) { landingDepth_ = depth; }
    void SetBottomDepth(int16_t depth) { bottomDepth_ = depth; }
    int16_t GetBottomDepth() const { return bottomDepth_; }
    int32_t GetInterval() const { return interval_; }
    CSpriteFrm2* GetMarker() const { return marker_; }
    // The centre's offset from the position.
    CPoint GetCentreOffset() const { return CPoint(halfWidth_, halfHeight_); }
    CStopwatch* GetClock() const { return clock_.get(); }

private:
    void Land();
    void Sink(bool deeper) { MoveBy(stepAcross_, stepDown_, deeper ? stepDeeper_ : 0); }

    int16_t state_ = kSinking;
    bool landed_ = false;
    uint32_t nextStep_;
    int32_t interval_ = 10;
    std::unique_ptr<CStopwatch> clock_;
    int16_t bottomDepth_ = 150;
    int16_t landingDepth_ = 0;
    int16_t stepAcross_ = 2;
    int16_t stepDown_ = 2;
    int16_t stepDeeper_ = 4;
    CSpriteFrm2* marker_ = nullptr;
    int16_t halfWidth_;
    int16_t halfHeight_;
};
