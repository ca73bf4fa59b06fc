#pragma once
// CSeqWnd: the sequence element, an animator element (AnimatorWnd.h) that plays the
// animations of a sequence (Sequence.h). Each step of its screen shows at most one frame of
// the current animation when it is due: the frame's cel with its anchor from the cel table,
// the frame's sound, and a move by the frame's offsets (dh mirrored when flipped). When an
// animation has played all its frames its next animation follows; 255 ends the chain and the
// element goes on with animation 0. Times are ticks of the element's clock.
//
// Its template (kind 0x30) reads, after the animator element's values, "sequence" (the
// animation to start), "sndlibmask", "seq id", "seqlibmask", "cel id" and "cellibmask". The
// element is built at ("left", "top") from the sprites "imgid", owning them, the sequence and
// the cel table.
#include <cstdint>
#include <memory>

#include "engine/controls/anim/AnimatorWnd.h"

class CCelTable;
class CSequence;
struct SeqFrame;

class CSeqWnd : public CAnimatorWnd {
public:
    static constexpr int32_t kTemplateKind = 0x30;
    // The animation number of no animation.
    static constexpr int16_t kNoAnimation = 255;

    // With `ownsSequence` the element deletes the sequence and the cel table.
    CSeqWnd(int32_t id, const CPoint& reference, CFrame* animator, CImgSet* images, CSequence* sequence,
            CCelTable* cels, uint32_t soundLibMask, bool ownsSequence, bool ownsImages, int32_t animatorId);
    // Loads "SEQ" and "CEL" of the id (missing ones are fatal reports) and owns them; shows
    // cel 0 when it has images.
    CSeqWnd(int32_t id, const CPoint& reference, CFrame* animator, CImgSet* images, int32_t sequenceId,
            uint32_t libraryMask, uint32_t soundLibMask, bool ownsImages);
    ~CSeqWnd() override;

    // Slot 9: one step of the animation (see the file comment).
    void Step() override;
    // Slot 34: shows cel n with its anchor from the cel table ((0, 0) when it has no entry);
    // the other values are not used.
    void SetCel(int16_t n, int16_t h = 0, int16_t v = 0, int16_t z = 0) override;
    // Slot 36.
    virtual int16_t GetAnimation() const { return current_; }
    // Slot 37.
    virtual void ShowCel(int16_t n) { SetCel(n, 0, 0, 0); }
    // Slot 38: selected at the next step, even while hidden.
    virtual void QueueAnimation(int16_t n) { pending_ = n; }
    // Slot 39: asks the application to start the sound (flags 1).
    virtual void PlayFrameSound(int32_t soundId, uint32_t libraryMask);
    // Slot 40: selects animation n, its first frame due at once; 255, or an animation the
    // sequence does not hold, clears the state.
    virtual void SetAnimation(int16_t n);
    // Slot 41: replaces the sequence and cel table (deleting owned ones); the animation state
    // is kept.
    virtual void SetSequence(CSequence* sequence, CCelTable* cels, bool owns);

    CSequence* GetSequence() const { return sequence_; }
    CCelTable* GetCelTable() const { return cels_; }
    int16_t GetQueuedAnimation() const { return pending_; }
    int16_t GetFrameIndex() const { return frameIndex_; }
    int16_t GetFramesRemaining() const { return framesRemaining_; }
    int16_t GetNextAnimation() const { return next_; }
    int16_t GetTicksPerFrame() const { return ticksPerFrame_; }
    uint32_t GetNextDue() const { return nextDue_; }
    uint32_t GetSoundLibMask() const { return soundLibMask_; }

    // The registrar's factories of kind 0x30.
    static CTObj* ReadTemplate(int32_t kind, CRawParser* parser);
    static CBaseObj* Create(CTObj* tpl);

protected:
    // The due frame of the current animation, used up (its sound played, the next one due
    // after its ticks); null when none is due. A queued animation is selected first.
    std::unique_ptr<SeqFrame> TakeDueFrame();
    void SetNextDue(uint32_t due) { nextDue_ = due; }

    // Uses up one frame of the current animation: answers its index in the frame table.
    int16_t TakeFrame()
    {
        --framesRemaining_;
        return frameIndex_++;
    }

private:
    uint32_t Now() const;
    // Selects animations until one has frames left; false (the state cleared) when the chain
    // names an animation the sequence lacks or goes round without a frame.
    bool SelectPlayable();

    int16_t current_ = kNoAnimation;
    int16_t ticksPerFrame_ = 0;
    int16_t frameIndex_ = 0;
    int16_t next_ = 0;
    int16_t pending_ = -1;
    int16_t framesRemaining_ = 0;
    uint32_t nextDue_ = 0;
    bool ownsSequence_ = false;
    CSequence* sequence_ = nullptr;
    CCelTable* cels_ = nullptr;
    uint32_t soundLibMask_;
};

// The template of a sequence element.
class CTSeqWnd : public CTAnimatorWnd {
public:
    CTSeqWnd(int32_t kind, CRawParser* parser);

    // The animator element's values, then SetAnimation("sequence").
    void ApplyTo(CFrame* object) override;

    int16_t GetSequence() const { return sequence_; }
    uint32_t GetSoundLibMask() const { return soundLibMask_; }
    int32_t GetSeqId() const { return seqId_; }
    uint32_t GetSeqLibMask() const { return seqLibMask_; }
    int32_t GetCelId() const { return celId_; }
    uint32_t GetCelLibMask() const { return celLibMask_; }

private:
    int16_t sequence_ = 0;
    uint32_t soundLibMask_ = 0;
    int32_t seqId_ = 0;
    uint32_t seqLibMask_ = 0;
    int32_t celId_ = 0;
    uint32_t celLibMask_ = 0;
};
