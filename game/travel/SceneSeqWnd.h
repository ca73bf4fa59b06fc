#pragma once
// The sequence elements of scene pictures. Their owner steps them (the engine's tick does
// nothing), on the game clock.
//
// CSceneSeqWnd: each step selects a queued animation, then, when shown and due, plays one frame
// of the current animation over and over: its sound, its cel, and the next frame due after the
// frame's delay (the animation's when 0). A due tick 500 or more ahead is a clock that went back:
// the frame is played at once. The frame's offsets do not move the element; CRiverSeqWnd keeps
// them as motion values that the river scene draws its sprite by.
//
// CRiverSeqWnd: the river scene's water sprite: a size class (1 runs at half speed; 3 or more
// draws larger) and a motion kind 0..16 that walks a wrapping x and z offset each frame, one
// unit (kinds 1-8) or two (9-16) in the directions of the current codes.
#include <cstdint>

#include "engine/controls/anim/SeqWnd.h"

struct SeqFrame;

class CSceneSeqWnd : public CSeqWnd {
public:
    // A frame due this far ahead is played at once.
    static constexpr uint32_t kClockBack = 500;

    // Over the sequence and cel table of sequenceId from every library; the element does not
    // own the images.
    CSceneSeqWnd(int32_t id, const CPoint& reference, CFrame* owner, CImgSet* images, int32_t sequenceId);

    // The engine's tick: the owner steps the element instead.
    void Step() override {}
    // One step (see the file comment); `moving` is read by CRiverSeqWnd.
    virtual void Step(bool moving);

    uint32_t GetDue() const { return due_; }
    void SetDue(uint32_t due) { due_ = due; }
    // Motion values: x offset, y step and z offset.
    int32_t GetMotion(int32_t i) const { return motion_[i]; }
    // The lift of the sprite's foot over the cell (the river sprite's middle value).
    virtual int16_t GetBaseValue() const { return baseValue_; }

protected:
    // Plays the frame when due; false when no frame was played.
    bool PlayDueFrame(SeqFrame& played);
    // After a frame was played.
    virtual void OnFrame(const SeqFrame& /*played*/, bool /*moving*/) {}
    // The delay of a frame (its own, else the animation's).
    virtual uint32_t FrameDelay(const SeqFrame& frame) const;
    void SetMotion(int32_t i, int32_t value) { motion_[i] = value; }

private:
    int16_t shown_ = kNoAnimation;
    uint32_t due_ = 0;
    int32_t motion_[3] = {0, 0, 0};
    int16_t baseValue_ = 2;
};

class CRiverSeqWnd : public CSceneSeqWnd {
public:
    static constexpr int16_t kMaxMotionKind = 16;

    CRiverSeqWnd(int32_t id, const CPoint& reference, CFrame* owner, CImgSet* images, int32_t sequenceId,
                 int16_t motionKind, int16_t sizeClass);

    void SetSizeClass(int16_t sizeClass);
    int16_t GetSizeClass() const { return sizeClass_; }
    int16_t GetMotionKind() const { return motionKind_; }
    int16_t GetPendingAnimation() const { return GetQueuedAnimation(); }
    int16_t GetLow() const { return low_; }
    int16_t GetMiddle() const { return middle_; }
    int16_t GetWrap() const { return wrap_; }
    int16_t GetBaseValue() const override { return middle_; }

protected:
    // The motion values walk by the motion kind.
    void OnFrame(const SeqFrame& played, bool moving) override;
    uint32_t FrameDelay(const SeqFrame& frame) const override;

private:
    void SetOffsets();
    int32_t Wrap(int32_t value) const;

    int16_t sizeClass_;
    int16_t motionKind_;
    int16_t low_ = 0;
    int16_t middle_ = 16;
    int16_t wrap_ = 16;
};
