#pragma once
// CFrameStrip: a resource holding a table of frames and their block-coded images (pictures
// "CBM" and image strips "IMV"). The header is little-endian:
//
//   0        int16   frame count n
//   2 + 12i  int16   width of frame i
//   4 + 12i  int16   height of frame i
//   6 + 12i  uint32  offset of frame i's image from the resource start
//   10 + 12i 4 bytes not read
//
// Nothing in the table is trusted: only the records that lie inside the resource count as
// frames, and a frame whose size is negative or whose image does not start inside the
// resource is damaged; a damaged frame reports so and draws nothing.
#include <cstdint>
#include <memory>

#include "engine/framework/Memory.h"
#include "engine/framework/Point.h"
#include "engine/framework/Rect.h"
#include "engine/resources/PixelRows.h"

class CFrameStrip {
public:
    // Results of the frame operations (and the load status, 0 or kNoBlock).
    enum : int16_t {
        kOk = 0,
        kNoBlock = 1,    // no resource, or its bytes cannot be reached
        kOutOfRange = 2, // no frame of that index
        kDamaged = 3,    // the frame's record or coded image is damaged
    };
    static constexpr uint32_t kHeaderSize = 2;
    static constexpr uint32_t kRecordSize = 12;

    // Takes the block over (null gives a strip of no frames and status kNoBlock).
    explicit CFrameStrip(std::unique_ptr<CMemory> block);
    CFrameStrip(const CFrameStrip&) = delete;
    CFrameStrip& operator=(const CFrameStrip&) = delete;
    virtual ~CFrameStrip() = default;

    // Takes a new block and hands back the one held before.
    virtual std::unique_ptr<CMemory> Load(std::unique_ptr<CMemory> block);

    int16_t GetFrameCount() const { return count_; }
    int16_t GetStatus() const { return status_; }
    CMemory* GetBlock() const { return block_.get(); }

    // (width, height) of frame i as a point (h the width); (0, 0) when the answer is not kOk.
    int16_t GetFrameSize(CPoint& size, int32_t i);
    // Decodes frame i with its top-left corner at the destination's, clipped to it. With a
    // rectangle, fill-0 tiles are left untouched and the rectangle receives the bounds of the
    // tiles written ((30000, 30000, 0, 0) when none was); without one, every tile is written.
    int16_t DecodeFrame(const PixelRows& dest, int32_t i, CRect* updated)
    {
        return DecodeFrame(dest, i, updated, updated != nullptr);
    }
    // The same, choosing apart whether fill-0 tiles are skipped; the rectangle (when given)
    // receives the bounds of the tiles written either way.
    int16_t DecodeFrame(const PixelRows& dest, int32_t i, CRect* updated, bool skipZeroFills);

private:
    struct Frame {
        int16_t width;
        int16_t height;
        uint32_t offset;
    };
    // The record of frame i checked against the block; kOk when it can be decoded.
    int16_t ReadFrame(const uint8_t* data, int32_t i, Frame& frame) const;
    void CountFrames();

    std::unique_ptr<CMemory> block_;
    int16_t count_ = 0;
    int16_t status_ = kNoBlock;
};
