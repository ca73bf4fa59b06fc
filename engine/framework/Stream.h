#pragma once
// Streams hand their reader the bytes of one resource piece by piece without copying them:
// the reader asks for the bytes from the current position on, gets a pointer into a buffer
// and a count, uses some of them and moves the position on:
//
//   const uint8_t* p; int32_t n;
//   while (stream.GetBuf(p, n) == CStream::kOk) { use up to n bytes at p; stream.SeekAhead(used); }
//
// CFilStrm reads a byte range of an open file through two alternating buffers, so a long
// sound never has to be in memory whole; CMemStrm reads a memory block already in memory.
//
// Streams own their buffers, file and block, so they can be moved but not copied (a copy
// would share them and free them twice).
#include <cstdint>
#include <memory>

#include "engine/framework/File.h"
#include "engine/framework/Memory.h"

class CStream {
public:
    // Status codes of GetBuf, Seek, SeekAhead and Status.
    static constexpr int16_t kOk = 0;
    static constexpr int16_t kEnd = 1;    // at or past the last byte
    static constexpr int16_t kNoData = 2; // a file stream with no filled buffer

    CStream() = default;
    explicit CStream(int32_t length) : length_(length) {}
    CStream(const CStream&) = delete;
    CStream& operator=(const CStream&) = delete;
    virtual ~CStream() = default;

    // The bytes from the current position on: a pointer into the stream's buffer and how many
    // follow it there (0 with any status but kOk).
    virtual int16_t GetBuf(const uint8_t*& data, int32_t& count) = 0;
    // The stream position.
    virtual int32_t Pos() = 0;
    virtual int16_t Seek(int32_t position) = 0;
    virtual int16_t SeekAhead(int32_t count) = 0;
    virtual int16_t Status() = 0;

    int32_t GetLength() const { return length_; }

protected:
    // A moved-from stream is empty.
    CStream(CStream&& other) noexcept;
    CStream& operator=(CStream&& other) noexcept;

    int32_t GetPos() const { return position_; }
    void SetLength(int32_t length) { length_ = length; }
    void SetPos(int32_t position) { position_ = position; }

private:
    // The position inside the current window (for a memory stream the stream position).
    int32_t position_ = 0;
    int32_t length_ = 0;
};

// A stream over `length` bytes of a file starting at `rangeStart`, read through two buffers
// of half the buffer size each (the size capped at 65534) that overlap by `overlap` bytes: a
// reader always finds at least `overlap` bytes behind its position in one piece, except at
// the end of the range. The buffers are read with an explicit seek each time, so others may
// move the file's position between calls.
class CFilStrm : public CStream {
public:
    static constexpr int32_t kMaxBufferSize = 65534;

    // Fills both buffers before it returns. The overlap is kept below the buffer's capacity.
    CFilStrm(std::unique_ptr<CFile> file, int32_t rangeStart, int32_t length, int32_t bufferSize,
             int16_t overlap);
    // A moved-from stream holds no data (kNoData).
    CFilStrm(CFilStrm&& other) noexcept;
    CFilStrm& operator=(CFilStrm&& other) noexcept;
    ~CFilStrm() override;

    int16_t GetBuf(const uint8_t*& data, int32_t& count) override;
    int32_t Pos() override;
    int16_t Seek(int32_t position) override;
    int16_t SeekAhead(int32_t count) override;
    // Moves into the next window when the position has entered the overlap, then tells
    // whether bytes are left.
    int16_t Status() override;

    int32_t GetCapacity() const { return capacity_; }
    int16_t GetOverlap() const { return overlap_; }

protected:
    int16_t BufferStatus(int16_t i) const;
    // Fills buffer i from a stream position; a position past the length wraps to 0 (a
    // looping sound reads the range's start next).
    int16_t FillBuffer(int16_t i, int64_t start);
    // Makes sure both buffers hold data: the current window and the one after it.
    int16_t FillBuffers();

private:
    struct Buffer {
        Buffer() = default;
        Buffer(Buffer&& other) noexcept { *this = std::move(other); }
        Buffer& operator=(Buffer&& other) noexcept;
        ~Buffer();
        void Release();

        bool filled = false;
        int32_t bytesRead = 0;
        std::unique_ptr<CMemory> block;
        uint8_t* data = nullptr; // the block, locked for the stream's life
        int32_t start = 0;       // stream position of data[0]
        bool atEnd = false;      // reaches the end of the range
    };
    Buffer& Current() { return buffers_[current_]; }
    const Buffer& Current() const { return buffers_[current_]; }
    // Whether the position lies in a buffer's window (its last `overlap` bytes excluded).
    bool InWindow(const Buffer& b, int32_t position) const;

    std::unique_ptr<CFile> file_;
    int32_t rangeStart_ = 0;
    int16_t overlap_ = 0;
    int32_t capacity_ = 0; // bytes per buffer: half the buffer size
    int16_t current_ = 0;
    Buffer buffers_[2];
    int16_t filledCount_ = 0;
    int32_t pendingPosition_ = 0;
};

// A stream over a memory block, from `offset` to its end. The block stays locked for the
// stream's life.
class CMemStrm : public CStream {
public:
    CMemStrm(std::unique_ptr<CMemory> block, int32_t offset, int16_t overlap);
    // A moved-from stream is empty.
    CMemStrm(CMemStrm&& other) noexcept;
    CMemStrm& operator=(CMemStrm&& other) noexcept;
    ~CMemStrm() override;

    int16_t GetBuf(const uint8_t*& data, int32_t& count) override;
    int32_t Pos() override { return GetPos(); }
    // A position below 0 or beyond the length is refused (kEnd) and changes nothing; the
    // length itself is allowed and leaves Status at kEnd.
    int16_t Seek(int32_t position) override;
    int16_t SeekAhead(int32_t count) override;
    int16_t Status() override { return GetPos() >= GetLength() ? kEnd : kOk; }

private:
    std::unique_ptr<CMemory> block_;
    const uint8_t* data_ = nullptr;
    int32_t offset_ = 0;
    int16_t overlap_ = 0; // kept for the stream's users; a memory stream is one piece
};
