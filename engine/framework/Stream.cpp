#include "engine/framework/Stream.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace {

// A position computed in 64 bits, brought back into the 32-bit range streams use.
int32_t ClampPosition(int64_t position)
{
    return static_cast<int32_t>(std::clamp<int64_t>(position, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// CStream

CStream::CStream(CStream&& other) noexcept
    : position_(std::exchange(other.position_, 0)), length_(std::exchange(other.length_, 0))
{
}

CStream& CStream::operator=(CStream&& other) noexcept
{
    if (this != &other) {
        position_ = std::exchange(other.position_, 0);
        length_ = std::exchange(other.length_, 0);
    }
    return *this;
}

// ---------------------------------------------------------------------------------------------
// CFilStrm

CFilStrm::Buffer::~Buffer() { Release(); }

void CFilStrm::Buffer::Release()
{
    if (block && data)
        block->Unlock();
    block.reset();
    data = nullptr;
}

CFilStrm::Buffer& CFilStrm::Buffer::operator=(Buffer&& other) noexcept
{
    if (this != &other) {
        Release();
        filled = std::exchange(other.filled, false);
        bytesRead = std::exchange(other.bytesRead, 0);
        block = std::move(other.block);
        data = std::exchange(other.data, nullptr);
        start = std::exchange(other.start, 0);
        atEnd = std::exchange(other.atEnd, false);
    }
    return *this;
}

CFilStrm::CFilStrm(std::unique_ptr<CFile> file, int32_t rangeStart, int32_t length, int32_t bufferSize,
                   int16_t overlap)
    : CStream(std::max(length, 0)), file_(std::move(file)), rangeStart_(rangeStart)
{
    capacity_ = std::clamp(bufferSize, 0, kMaxBufferSize) / 2;
    // Each window must move on by at least one byte, so the overlap stays below the capacity.
    overlap_ = static_cast<int16_t>(std::clamp<int32_t>(overlap, 0, std::max(capacity_ - 1, 0)));
    for (Buffer& b : buffers_) {
        b.block = std::make_unique<CMemory>(capacity_);
        if (capacity_ > 0)
            b.data = static_cast<uint8_t*>(b.block->Lock());
    }
    FillBuffers();
}

CFilStrm::CFilStrm(CFilStrm&& other) noexcept
    : CStream(std::move(other)), file_(std::move(other.file_)), rangeStart_(other.rangeStart_),
      overlap_(other.overlap_), capacity_(std::exchange(other.capacity_, 0)),
      current_(std::exchange(other.current_, int16_t{0})), buffers_{std::move(other.buffers_[0]),
                                                                    std::move(other.buffers_[1])},
      filledCount_(std::exchange(other.filledCount_, int16_t{0})),
      pendingPosition_(std::exchange(other.pendingPosition_, 0))
{
}

CFilStrm& CFilStrm::operator=(CFilStrm&& other) noexcept
{
    if (this != &other) {
        CStream::operator=(std::move(other));
        file_ = std::move(other.file_);
        rangeStart_ = other.rangeStart_;
        overlap_ = other.overlap_;
        capacity_ = std::exchange(other.capacity_, 0);
        current_ = std::exchange(other.current_, int16_t{0});
        buffers_[0] = std::move(other.buffers_[0]);
        buffers_[1] = std::move(other.buffers_[1]);
        filledCount_ = std::exchange(other.filledCount_, int16_t{0});
        pendingPosition_ = std::exchange(other.pendingPosition_, 0);
    }
    return *this;
}

CFilStrm::~CFilStrm() = default;

bool CFilStrm::InWindow(const Buffer& b, int32_t position) const
{
    const int64_t offset = int64_t{position} - b.start;
    return offset >= 0 && offset < capacity_ - overlap_;
}

int16_t CFilStrm::BufferStatus(int16_t i) const
{
    const Buffer& b = buffers_[i];
    if (!b.filled)
        return kNoData;
    // Past what the buffer holds is the end: at the range's end, and also where a file shorter
    // than its range left a window short (there is nothing more to hand out).
    return GetPos() >= b.bytesRead ? kEnd : kOk;
}

int16_t CFilStrm::FillBuffer(int16_t i, int64_t start)
{
    Buffer& b = buffers_[i];
    if (start < 0 || start > GetLength())
        start = 0;
    b.start = static_cast<int32_t>(start);
    b.atEnd = start + capacity_ > GetLength();
    const int32_t want = b.atEnd ? GetLength() - b.start : capacity_;
    const int64_t at = int64_t{rangeStart_} + start;
    b.bytesRead = 0;
    if (want > 0 && file_ && at >= 0 && at <= std::numeric_limits<int32_t>::max()) {
        // A failed or short read is not an error here: the buffer holds what arrived.
        const int16_t error = file_->Read(b.data, want, static_cast<int32_t>(at));
        if (error == CFile::kOk || error == CFile::kReadFailed)
            b.bytesRead = std::clamp(file_->GetTransferred(), 0, want);
    }
    b.filled = true;
    ++filledCount_;
    return kOk;
}

int16_t CFilStrm::FillBuffers()
{
    if (!buffers_[0].data || !buffers_[1].data)
        return kNoData;
    if (filledCount_ == 0) {
        current_ = buffers_[0].filled ? 1 : 0;
        FillBuffer(current_, pendingPosition_);
    }
    if (filledCount_ == 1)
        FillBuffer(static_cast<int16_t>(1 - current_), int64_t{Current().start} + capacity_ - overlap_);
    return kOk;
}

int16_t CFilStrm::Seek(int32_t position)
{
    if (filledCount_ >= 1 && InWindow(Current(), position)) {
        SetPos(position - Current().start);
        return kOk;
    }
    const int16_t other = static_cast<int16_t>(1 - current_);
    if (filledCount_ == 2 && InWindow(buffers_[other], position)) {
        // Move into the following window; the old buffer is refilled with the one after it.
        Current().filled = false;
        current_ = other;
        --filledCount_;
        SetPos(position - Current().start);
        FillBuffers();
        return kOk;
    }
    SetPos(0);
    filledCount_ = 0;
    buffers_[0].filled = buffers_[1].filled = false;
    pendingPosition_ = position;
    return FillBuffers();
}

int16_t CFilStrm::SeekAhead(int32_t count)
{
    if (filledCount_ == 0)
        FillBuffers();
    if (filledCount_ == 0)
        return kNoData;
    return Seek(ClampPosition(int64_t{Current().start} + GetPos() + count));
}

int32_t CFilStrm::Pos()
{
    if (filledCount_ == 0)
        return pendingPosition_;
    return Current().start + GetPos();
}

int16_t CFilStrm::GetBuf(const uint8_t*& data, int32_t& count)
{
    FillBuffers();
    data = nullptr;
    count = 0;
    if (const int16_t status = BufferStatus(current_); status != kOk)
        return status;
    data = Current().data + GetPos();
    count = Current().bytesRead - GetPos();
    return kOk;
}

int16_t CFilStrm::Status()
{
    SeekAhead(0);
    return BufferStatus(current_);
}

// ---------------------------------------------------------------------------------------------
// CMemStrm

CMemStrm::CMemStrm(std::unique_ptr<CMemory> block, int32_t offset, int16_t overlap)
    : block_(std::move(block)), overlap_(overlap)
{
    if (block_)
        data_ = static_cast<const uint8_t*>(block_->Lock());
    const int32_t size = data_ ? block_->GetSize() : 0;
    offset_ = std::clamp(offset, 0, size);
    SetLength(size - offset_);
}

CMemStrm::CMemStrm(CMemStrm&& other) noexcept
    : CStream(std::move(other)), block_(std::move(other.block_)), data_(std::exchange(other.data_, nullptr)),
      offset_(std::exchange(other.offset_, 0)), overlap_(other.overlap_)
{
}

CMemStrm& CMemStrm::operator=(CMemStrm&& other) noexcept
{
    if (this != &other) {
        if (block_ && data_)
            block_->Unlock();
        CStream::operator=(std::move(other));
        block_ = std::move(other.block_);
        data_ = std::exchange(other.data_, nullptr);
        offset_ = std::exchange(other.offset_, 0);
        overlap_ = other.overlap_;
    }
    return *this;
}

CMemStrm::~CMemStrm()
{
    if (block_ && data_)
        block_->Unlock();
}

int16_t CMemStrm::GetBuf(const uint8_t*& data, int32_t& count)
{
    data = nullptr;
    count = 0;
    if (const int16_t status = Status(); status != kOk)
        return status;
    data = data_ + offset_ + GetPos();
    count = GetLength() - GetPos();
    return kOk;
}

int16_t CMemStrm::Seek(int32_t position)
{
    if (position < 0 || position > GetLength())
        return kEnd;
    SetPos(position);
    return kOk;
}

int16_t CMemStrm::SeekAhead(int32_t count)
{
    const int64_t target = int64_t{GetPos()} + count;
    if (target < 0 || target > GetLength())
        return kEnd;
    return Seek(static_cast<int32_t>(target));
}
