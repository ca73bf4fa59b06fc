#include "engine/framework/StdioBuffer.h"

#include <algorithm>
#include <cstring>

namespace {

// Both buffers keep their block locked for as long as they have it.

// Gives the memory a block of size bytes and locks it; null, and no block, when either fails.
uint8_t* LockNewBlock(CMemory& memory, int32_t size)
{
    if (!memory.Resize(size))
        return nullptr;
    auto* data = static_cast<uint8_t*>(memory.Lock());
    if (!data)
        memory.Resize(0);
    return data;
}

// Unlocks the block when it is locked (data is not null) and frees it.
void FreeLockedBlock(CMemory& memory, uint8_t*& data)
{
    if (data)
        memory.Unlock();
    data = nullptr;
    memory.Resize(0);
}

} // namespace

// ---- Text buffer ----------------------------------------------------------------------------

bool CStdioBuffer::Allocate(int32_t size)
{
    Free();
    if (size == 0)
        size = kDefaultSize;
    data_ = LockNewBlock(memory_, std::max(size, kMinSize));
    if (!data_)
        return false;
    Clear();
    return true;
}

void CStdioBuffer::Free()
{
    FreeLockedBlock(memory_, data_);
    writePos_ = lineStart_ = 1;
    column_ = lines_ = 0;
}

void CStdioBuffer::Clear()
{
    if (data_)
        std::memset(data_, 0, static_cast<size_t>(GetSize()));
    writePos_ = lineStart_ = 1;
    column_ = lines_ = 0;
}

CStdioBuffer::WriteResult CStdioBuffer::Write(std::string_view bytes)
{
    WriteResult result;
    if (!data_)
        return result;
    // Writes go in pieces of at most a quarter of the buffer, so that dropping lines from
    // the front always frees enough room for the piece, however long the whole text is.
    const size_t piece = static_cast<size_t>(GetSize() / 4);
    bool first = true;
    while (!bytes.empty()) {
        const auto part = bytes.substr(0, piece);
        bytes.remove_prefix(part.size());
        MakeRoom(static_cast<int32_t>(part.size()), result);
        if (first)
            result.firstLine = lines_;
        first = false;
        for (char c : part)
            Put(static_cast<uint8_t>(c), result);
    }
    data_[writePos_] = 0;
    return result;
}

void CStdioBuffer::Put(uint8_t c, WriteResult& result)
{
    switch (c) {
    case 255: return;
    case 7: ++result.bells; return;
    case 8:
        if (column_ > 0) {
            --writePos_;
            --column_;
            data_[writePos_] = 0;
        }
        return;
    case 9:
        for (int32_t n = kTabWidth - column_ % kTabWidth; n > 0; --n)
            Store(' ', result);
        return;
    case 10: EndLine(result); return;
    case 27:
        writePos_ = lineStart_;
        column_ = 0;
        data_[writePos_] = 0;
        return;
    default:
        if (c > 27 && c <= 127)
            Store(c, result);
        return; // other control bytes and 128-254 are dropped
    }
}

void CStdioBuffer::Store(uint8_t c, WriteResult& result)
{
    if (column_ >= kMaxColumns)
        EndLine(result);
    // Tabs can put up to 8 bytes in the buffer for one byte of text: never write into the
    // last two bytes (the character's zero must follow it).
    if (writePos_ + 2 >= GetSize())
        Trim(1, result);
    data_[writePos_++] = c;
    data_[writePos_] = 0;
    ++column_;
}

void CStdioBuffer::EndLine(WriteResult& result)
{
    if (writePos_ + 2 >= GetSize())
        Trim(1, result);
    data_[writePos_++] = 0;
    data_[writePos_] = 0;
    lineStart_ = writePos_;
    column_ = 0;
    ++lines_;
}

void CStdioBuffer::MakeRoom(int32_t n, WriteResult& result)
{
    if (writePos_ + n + 8 >= GetSize())
        Trim(n, result);
}

void CStdioBuffer::Trim(int32_t n, WriteResult& result)
{
    // Cut at the first line start at or after max(256, n + 1) rounded up to 256 bytes. A line
    // starts behind every zero; the current line start is the last one there is.
    const int32_t wanted = std::max(kTrimStep, n + 1);
    const int32_t from = (wanted + kTrimStep - 1) / kTrimStep * kTrimStep;
    int32_t cut = lineStart_;
    for (int32_t p = std::max(from, 1); p < lineStart_; ++p) {
        if (data_[p - 1] == 0) {
            cut = p;
            break;
        }
    }
    if (cut <= 1)
        return; // nothing in front of the current line to drop
    int32_t dropped = 0;
    for (int32_t p = 1; p < cut; ++p)
        dropped += data_[p] == 0 ? 1 : 0;
    // Keep the zero in front of the cut, so the text again starts at offset 1.
    const int32_t kept = writePos_ - (cut - 1) + 1;
    std::memmove(data_, data_ + cut - 1, static_cast<size_t>(kept));
    std::memset(data_ + kept, 0, static_cast<size_t>(GetSize() - kept));
    writePos_ -= cut - 1;
    Recount();
    result.trimmed = true;
    result.droppedLines += dropped;
}

void CStdioBuffer::Recount()
{
    lines_ = 0;
    lineStart_ = 1;
    for (int32_t p = 1; p < writePos_; ++p) {
        if (data_[p] == 0) {
            ++lines_;
            lineStart_ = p + 1;
        }
    }
    column_ = writePos_ - lineStart_;
}

int32_t CStdioBuffer::LineOffset(int32_t index) const
{
    int32_t offset = 1;
    for (int32_t i = 0; i < index && offset < lineStart_; ++i)
        offset = NextLineOffset(offset);
    return offset;
}

int32_t CStdioBuffer::NextLineOffset(int32_t offset) const
{
    return offset + static_cast<int32_t>(LineAt(offset).size()) + 1;
}

std::string_view CStdioBuffer::LineAt(int32_t offset) const
{
    if (!data_ || offset < 1 || offset > writePos_)
        return {};
    const auto* start = reinterpret_cast<const char*>(data_ + offset);
    return std::string_view(start, strnlen(start, static_cast<size_t>(writePos_ - offset)));
}

// ---- Type-ahead ring ------------------------------------------------------------------------

bool CStdioTypeAhead::Allocate()
{
    Free();
    data_ = LockNewBlock(memory_, kSize);
    return data_ != nullptr;
}

void CStdioTypeAhead::Free()
{
    FreeLockedBlock(memory_, data_);
    Clear();
}

bool CStdioTypeAhead::Push(uint8_t key)
{
    const int32_t next = (head_ + 1) % kSize;
    if (!data_ || next == tail_)
        return false;
    data_[head_] = key;
    head_ = next;
    return true;
}

bool CStdioTypeAhead::Pop(uint8_t& key)
{
    if (!data_ || IsEmpty())
        return false;
    key = data_[tail_];
    tail_ = (tail_ + 1) % kSize;
    return true;
}
