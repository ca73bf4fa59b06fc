#pragma once
// Sequences ("SEQ") and cel tables ("CEL"): the read-only views over the resources that drive
// frame animations. Every value is a signed 16-bit number, big-endian in the library.
//
// "SEQ":  A, then A animation entries of 8 bytes (first frame, next animation, ticks per
//         frame, frame count), then F at byte 2 + 8 A, then F frame entries of 12 bytes
//         (cel, dh, dv, sound, ticks, dz).
// "CEL":  N, then N anchors of 4 bytes (h, v): the point of cel k that sits at the element's
//         reference position.
//
// A view swaps the block to host order in place when it is built, so a block is wrapped by
// one view only (a second view would swap it back). Counts are believed only as far as the
// block holds their entries; the frame count exists only when it lies inside the block.
#include <algorithm>
#include <cstdint>
#include <memory>

#include "engine/framework/Memory.h"

struct SeqAnimation {
    int16_t firstFrame = 0;
    int16_t nextAnimation = 0; // 255 ends the chain (the element then goes on with animation 0)
    int16_t ticksPerFrame = 0; // used by frames whose own ticks are 0
    int16_t frameCount = 0;
};

struct SeqFrame {
    int16_t cel = 0;
    int16_t dh = 0;
    int16_t dv = 0;
    int16_t sound = 0; // 0: none
    int16_t ticks = 0; // 0: the animation's ticks per frame
    int16_t dz = 0;
};

struct CelAnchor {
    int16_t h = 0;
    int16_t v = 0;
};

// The block of a view: the caller's, or one loaded by id and owned.
class CSwappedView {
public:
    CSwappedView(const CSwappedView&) = delete;
    CSwappedView& operator=(const CSwappedView&) = delete;
    virtual ~CSwappedView();

    CMemory* GetBlock() const { return block_; }
    bool OwnsBlock() const { return owned_; }

protected:
    // A view over the caller's block (null: an empty view).
    explicit CSwappedView(CMemory* block) : block_(block) {}
    // Loads the resource with the report flag (a missing one is a fatal report) and owns it.
    CSwappedView(const char* type, int32_t id, uint32_t libraryMask);

    // Swaps `count` 16-bit values from byte `at` to host order in place; false (nothing
    // swapped) when they do not lie in the block.
    bool SwapShorts(int32_t at, int32_t count);
    // Copies `count` 16-bit values from byte `at` (already in host order); false when they do
    // not lie in the block.
    bool ReadShorts(int32_t at, int16_t* out, int32_t count) const;
    int32_t GetSize() const { return block_ ? std::max(block_->GetSize(), 0) : 0; }

private:
    CMemory* block_;
    bool owned_ = false;
};

class CSequence : public CSwappedView {
public:
    static constexpr int32_t kAnimationSize = 8;
    static constexpr int32_t kFrameSize = 12;

    explicit CSequence(CMemory* block);
    CSequence(int32_t id, uint32_t libraryMask);

    // Copies of entry n; null when n is negative or not below the count.
    std::unique_ptr<SeqAnimation> GetAnimation(int16_t n) const;
    std::unique_ptr<SeqFrame> GetFrame(int16_t n) const;

    // Fields of animation entry n; 0 out of range.
    int16_t GetFirstFrame(int16_t n) const;
    int16_t GetNextAnimation(int16_t n) const;
    int16_t GetTicksPerFrame(int16_t n) const;
    int16_t GetAnimFrameCount(int16_t n) const;
    // Fields of frame entry n; 0 out of range. dz is read through GetFrame.
    int16_t GetCel(int16_t n) const;
    int16_t GetDh(int16_t n) const;
    int16_t GetDv(int16_t n) const;
    int16_t GetSound(int16_t n) const;
    int16_t GetFrameTicks(int16_t n) const;

    int16_t GetAnimationCount() const { return animationCount_; }
    int16_t GetFrameCount() const { return frameCount_; }
    // The byte offset of the frame count (2 + 8 A, A as stored).
    int32_t GetFrameTableOffset() const { return frameTable_; }

private:
    void Swap();

    int16_t animationCount_ = 0;
    int16_t frameCount_ = 0;
    int32_t frameTable_ = 2;
};

class CCelTable : public CSwappedView {
public:
    static constexpr int32_t kEntrySize = 4;

    explicit CCelTable(CMemory* block);
    CCelTable(int32_t id, uint32_t libraryMask);

    // A copy of entry n; null when n is negative or not below the count.
    std::unique_ptr<CelAnchor> GetEntry(int16_t n) const;
    int16_t GetCount() const { return count_; }

private:
    void Swap();

    int16_t count_ = 0;
};
