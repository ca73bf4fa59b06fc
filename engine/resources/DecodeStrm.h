#pragma once
// CDecodeStrm decodes a block-coded sound stream while it is read: it sits on a source stream
// that it owns, reads the stream's header and optional seek table, and hands out decoded
// 8-bit samples in any amounts, keeping a partly used block between calls.
//
// Stream header (little-endian): 3 bytes not read here, a flag byte (bit 1: a seek table
// follows), the end bit position, the value count; with the flag a 16-bit seek-point count
// and that many {value position, bit position} pairs. The bitstream follows; bit positions
// count from its start. Sound has no colour map: every block indexes a fixed table whose
// small indices lie next to the midpoint 128, alternately above and below.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/framework/Stream.h"
#include "engine/resources/BlockCodec.h"

class CDecodeStrm {
public:
    // Results of Read and SeekTo (the source's own status codes pass through as well).
    static constexpr int16_t kOk = 0;
    static constexpr int16_t kEnd = 1;        // every value has been handed out
    static constexpr int16_t kSeekFailed = 4; // the source could not go to a seek point
    static constexpr int16_t kBadData = 5;    // the header or a block code is corrupt

    struct SeekPoint {
        uint32_t valuePosition = 0;
        uint32_t bitPosition = 0;
    };

    // Takes the source and reads the header; a source without a readable header leaves the
    // status non-zero and nothing to read.
    explicit CDecodeStrm(std::unique_ptr<CStream> source);
    CDecodeStrm(const CDecodeStrm&) = delete;
    CDecodeStrm& operator=(const CDecodeStrm&) = delete;
    ~CDecodeStrm();

    // Decodes up to count values into the buffer; count returns how many came. kEnd when the
    // last value has been handed out, or the status that stopped decoding.
    int16_t Read(uint8_t* buffer, int32_t& count);
    // Goes to a value position through the nearest seek point before it; the values from
    // there up to the position are decoded away by the next read.
    int16_t SeekTo(int32_t position);

    int32_t GetValueCount() const { return valueCount_; }
    // The values handed out so far, counted from the offset, plus those still to skip.
    int32_t GetPosition() const { return position_ - offset_ + skip_; }
    int16_t GetSourceStatus();
    int16_t GetStatus() const { return status_; }

    // Both are kept within 0 and the value count.
    void SetOffset(int32_t n);
    void SetEndMark(int32_t n);
    int32_t GetOffset() const { return offset_; }
    int32_t GetEndMark() const { return endMark_; }

    // The first seek point at or after position + offset (the last of equals), as
    // (value position - offset, bit position); with none, the value count and the end bit
    // position.
    void FindSeekPointAtOrAfter(int32_t position, int32_t& valuePosition, uint32_t& bitPosition) const;
    const std::vector<SeekPoint>& GetSeekTable() const { return seekTable_; }

    // The decoder state of every sound stream: the fixed value table, no selection field.
    static BlockCodec::DecoderState SoundTable();

private:
    bool ReadHeader();
    bool ReadExact(uint8_t* out, int32_t n);
    // Hands out up to n values: leftovers of the last block, whole blocks, then part of one.
    int32_t Decode(uint8_t* out, int32_t n);
    // Decodes up to `wanted` blocks into out; returns how many came.
    int32_t DecodeBlocks(uint8_t* out, int32_t wanted);
    // Takes the source's buffer from the byte the bit position is in.
    bool Refill();
    // Decodes a block that runs past the end of the source's buffer from a gathered copy.
    BlockCodec::BlockCode DecodeAcrossBuffers(uint8_t* out);

    std::unique_ptr<CStream> source_;
    int32_t valueCount_ = 0;
    int32_t blocksLeft_ = 0;
    uint32_t repeat_ = 0; // fill blocks still to emit
    uint8_t fill_ = 0;
    BlockCodec::DecoderState state_;
    // The source's current buffer and the bit position in it.
    const uint8_t* buf_ = nullptr;
    uint32_t bufLen_ = 0;
    bool lastBuffer_ = false; // the buffer reaches the end of the source
    bool bufferReady_ = false;
    uint32_t bitPos_ = 0;
    int16_t leftover_ = 0; // values of block_ not handed out yet (its tail)
    uint8_t scratch_[1024];
    uint8_t block_[BlockCodec::kBlockValues];
    uint8_t flags_ = 0;
    bool headerRead_ = false;
    std::vector<SeekPoint> seekTable_;
    int32_t position_ = 0; // values decoded from the stream's start
    int32_t bitstreamStart_ = 0;
    int32_t skip_ = 0;
    uint32_t endBit_ = 0;
    int32_t endMark_ = 0;
    int32_t offset_ = 0;
    int16_t status_ = kOk;
    std::unique_ptr<uint8_t[]> carry_; // made on the first block that crosses a buffer's end
};
