#pragma once
// CSndStrm: the PCM bytes of a "CSN" sound resource, read from a copy in memory or straight
// from the library file, and repositioned through the resource's seek table.
//
// A "CSN" resource (numbers little-endian) is a header of chunks, each a tag byte, a byte
// not used and the chunk's whole length (4 bytes, these 6 included), ended by the chunk of
// tag 0; the block-coded sample data follows it. Chunks:
//   1  format: channels, bits per sample, rate code (11, 22, 44), seek-state width (1: one
//      state word per seek point, else four), decode mode (0..4)
//   2  seek table: 2 bytes not used, a signed 16-bit count, then per entry a decoded-byte
//      position and one or four 4-byte lane states
//   3  the default level and a second value (4 bytes each)
//   any other tag is skipped.
// The decoded bytes are turned into PCM per lane (a byte position within a frame): mode 0
// leaves them, modes 1-4 undo a delta coding of that order with each lane's own running
// state, and 16-bit samples, coded big-endian, are swapped to little-endian.
//
// Nothing in the header is trusted: a chunk shorter than its head, a chunk or seek table
// past the resource, a negative seek count, a table longer than its chunk, a format other
// than 1-2 channels of 8 or 16 bits, a rate code other than the three, or a decoded length
// that is not whole frames all make Open return 0. A level outside 0-255 is clamped.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/resources/DecodeStrm.h"
#include "engine/resources/SndSource.h"

class CSndStrm : public CSndSource {
public:
    static constexpr int32_t kFileBufferSize = 32768;
    static constexpr int32_t kLaneStateBytes = 16;

    struct SeekEntry {
        int32_t position = 0;
        uint8_t state[kLaneStateBytes] = {};
    };

    CSndStrm(int32_t id, uint32_t libraryMask);
    ~CSndStrm() override;

    // Reads up to count bytes (whole frames). 1 once the end is reached, and at once for
    // every later call until Seek; another value is the decoder's error, nothing delivered.
    int16_t Read(uint8_t* buffer, int32_t& count) override;
    // The decoded length in bytes, or 0 when the resource cannot be opened.
    int32_t Open(bool fromFile) override;
    // Makes the next Read start at the position (taken within the sound, on a whole frame).
    int32_t Seek(int32_t position) override;

    int16_t GetDecodeMode() const { return mode_; }
    int16_t GetStateWidth() const { return stateWidth_; }
    int16_t GetSeekCount() const { return static_cast<int16_t>(seekTable_.size()); }
    const std::vector<SeekEntry>& GetSeekTable() const { return seekTable_; }
    bool IsAtEnd() const { return atEnd_; }

private:
    // Undoes the sample coding of n bytes that start at the stream position `position`.
    void Decode(uint8_t* bytes, int32_t n);
    int32_t FrameBytes() const { return channels_ * (bitsPerSample_ / 8); }
    void ResetLanes();

    std::unique_ptr<CDecodeStrm> decoder_;
    std::vector<SeekEntry> seekTable_;
    uint8_t lanes_[kLaneStateBytes];
    int32_t skip_ = 0;
    int32_t position_ = 0; // decoded bytes handed out or skipped since the start
    int16_t mode_ = 0;
    int16_t stateWidth_ = 4;
    bool atEnd_ = true;
};
