#pragma once
// The two buffers behind the console window: the text buffer of lines and the type-ahead
// ring of keys. Neither knows about windows; the console module paints what they hold.
//
// The text buffer holds the lines one after another, each ended by a zero byte. Its first
// byte is a zero, so the text starts at offset 1; a zero always follows the last character.
// Lines hold at most 127 characters. When a write would come near the end of the buffer,
// whole lines are dropped from the front, in steps of 256 bytes.
#include <cstdint>
#include <string_view>

#include "engine/framework/Memory.h"

class CStdioBuffer {
public:
    static constexpr int32_t kDefaultSize = 8192;
    static constexpr int32_t kMinSize = 1024;
    static constexpr int32_t kMaxColumns = 127;
    static constexpr int32_t kTabWidth = 8;
    static constexpr int32_t kTrimStep = 256;

    CStdioBuffer() = default;
    CStdioBuffer(const CStdioBuffer&) = delete;
    CStdioBuffer& operator=(const CStdioBuffer&) = delete;

    // What a write did, for the window to follow.
    struct WriteResult {
        int32_t bells = 0;        // bell bytes met
        int32_t droppedLines = 0; // lines dropped from the front to make room
        bool trimmed = false;     // the buffer moved: everything must be painted again
        int32_t firstLine = 0;    // the line the write started on (after any trimming)
    };

    // Makes the buffer: 0 asks for the default size, any size up to kMinSize gets kMinSize.
    // False when the memory cannot be had.
    bool Allocate(int32_t size);
    void Free();
    bool IsAllocated() const { return data_ != nullptr; }

    // Empties the buffer (every byte zero) and resets the positions and the line count.
    void Clear();
    WriteResult Write(std::string_view bytes);

    int32_t GetSize() const { return memory_.GetSize(); }
    // Offset of the next character; offset of the current line's start; its column.
    int32_t GetWritePos() const { return writePos_; }
    int32_t GetLineStart() const { return lineStart_; }
    int32_t GetColumn() const { return column_; }
    // Number of ended lines, which is also the index of the current (last) line.
    int32_t GetLines() const { return lines_; }

    // Offset of line `index` (0 to GetLines()); the current line's start beyond that.
    int32_t LineOffset(int32_t index) const;
    // Offset of the line after the one at `offset`.
    int32_t NextLineOffset(int32_t offset) const;
    // The characters of the line at `offset`.
    std::string_view LineAt(int32_t offset) const;
    std::string_view Line(int32_t index) const { return LineAt(LineOffset(index)); }

private:
    void Put(uint8_t c, WriteResult& result);
    void Store(uint8_t c, WriteResult& result);
    void EndLine(WriteResult& result);
    // Makes room for n more bytes by the front-trimming rule when they would come within 8
    // bytes of the end.
    void MakeRoom(int32_t n, WriteResult& result);
    void Trim(int32_t n, WriteResult& result);
    void Recount();

    CMemory memory_;
    uint8_t* data_ = nullptr;
    int32_t writePos_ = 1;
    int32_t lineStart_ = 1;
    int32_t column_ = 0;
    int32_t lines_ = 0;
};

// The type-ahead ring: keys typed into the console wait here until they are read. It holds
// 256 entries, one of which always stays free to tell a full ring from an empty one.
class CStdioTypeAhead {
public:
    static constexpr int32_t kSize = 256;

    CStdioTypeAhead() = default;
    CStdioTypeAhead(const CStdioTypeAhead&) = delete;
    CStdioTypeAhead& operator=(const CStdioTypeAhead&) = delete;

    bool Allocate();
    void Free();
    bool IsAllocated() const { return data_ != nullptr; }
    void Clear() { head_ = tail_ = 0; }

    bool IsEmpty() const { return head_ == tail_; }
    // False (the key is dropped) when the ring is full.
    bool Push(uint8_t key);
    // The oldest key; false when the ring is empty.
    bool Pop(uint8_t& key);

private:
    CMemory memory_;
    uint8_t* data_ = nullptr;
    int32_t head_ = 0; // next write
    int32_t tail_ = 0; // next read
};
