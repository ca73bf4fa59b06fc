#include "engine/framework/Memory.h"

#include <cstdlib>
#include <cstring>
#include <limits>

#include "engine/framework/LowMemory.h"

namespace {

class RuntimeAllocator : public CMemoryAllocator {
public:
    void* Allocate(size_t size) override { return std::malloc(size); }
    void* Reallocate(void* block, size_t size) override { return std::realloc(block, size); }
    void Free(void* block) override { std::free(block); }
};

RuntimeAllocator g_runtimeAllocator;
CMemoryAllocator* g_allocator = &g_runtimeAllocator;

// Values are stored little-endian, or big-endian for kBigEndian, whatever the host.
void StoreBytes(uint8_t* at, uint64_t value, int n, int16_t order)
{
    for (int i = 0; i < n; ++i) {
        const int shift = 8 * (order == kBigEndian ? n - 1 - i : i);
        at[i] = static_cast<uint8_t>(value >> shift);
    }
}

uint64_t LoadBytes(const uint8_t* at, int n, int16_t order)
{
    uint64_t value = 0;
    for (int i = 0; i < n; ++i) {
        const int shift = 8 * (order == kBigEndian ? n - 1 - i : i);
        value |= static_cast<uint64_t>(at[i]) << shift;
    }
    return value;
}

} // namespace

void SetMemoryAllocator(CMemoryAllocator* allocator)
{
    g_allocator = allocator ? allocator : &g_runtimeAllocator;
}

CMemory::CMemory(int32_t size, uint16_t flags) : allocFlags_(flags)
{
    if (size != 0 && !Allocate(size))
        error_ = kMemAllocFailed;
}

CMemory::CMemory(const CMemory& other) : CBaseMemory(), allocFlags_(other.allocFlags_)
{
    if (other.size_ == 0)
        return;
    if (!Allocate(other.size_)) {
        error_ = kMemAllocFailed;
        return;
    }
    std::memcpy(block_, other.block_, static_cast<size_t>(size_));
}

CMemory& CMemory::operator=(const CMemory& other)
{
    if (lockCount_ > 0)
        error_ = kMemAllocFailed;
    if (&other == this)
        return *this;
    if (size_ != other.size_)
        Resize(other.size_); // refused while locked: a locked block keeps its contents
    if (other.size_ != 0 && size_ == other.size_)
        std::memcpy(block_, other.block_, static_cast<size_t>(size_));
    return *this;
}

CMemory::~CMemory()
{
    if (block_ && lockCount_ > 0) {
        error_ = kMemNotLocked;
        lockCount_ = 0;
    }
    if (block_)
        g_allocator->Free(block_);
}

bool CMemory::Allocate(int32_t size)
{
    if (size <= 0)
        return size == 0;
    const auto bytes = static_cast<size_t>(size);
    void* p = g_allocator->Allocate(bytes);
    if (!p) {
        // Give the application a chance to free memory, then try exactly once more.
        NotifyLowMemory(size);
        p = g_allocator->Allocate(bytes);
    }
    if (!p)
        return false;
    // Blocks are always handed out zero-filled, so no caller ever reads stale bytes.
    std::memset(p, 0, bytes);
    block_ = static_cast<uint8_t*>(p);
    size_ = size;
    allocFlags_ = static_cast<uint16_t>((allocFlags_ | 2) & ~1);
    return true;
}

bool CMemory::Resize(int32_t size)
{
    error_ = kMemOk;
    if (lockCount_ > 0 || size < 0) {
        error_ = kMemAllocFailed;
        return false;
    }
    if (size == 0) {
        if (block_)
            g_allocator->Free(block_);
        block_ = nullptr;
        data_ = nullptr;
        size_ = 0;
        return true;
    }
    if (!block_) {
        if (!Allocate(size)) {
            error_ = kMemAllocFailed;
            return false;
        }
        return true;
    }
    void* p = g_allocator->Reallocate(block_, static_cast<size_t>(size));
    if (!p) {
        error_ = kMemAllocFailed;
        return false;
    }
    block_ = static_cast<uint8_t*>(p);
    if (size > size_)
        std::memset(block_ + size_, 0, static_cast<size_t>(size - size_));
    size_ = size;
    return true;
}

void* CMemory::Lock()
{
    error_ = kMemOk;
    if (lockCount_ == 0) {
        if (!block_) {
            error_ = kMemNoBlock;
            return nullptr;
        }
        data_ = block_;
    }
    ++lockCount_;
    return data_;
}

void CMemory::Unlock()
{
    error_ = kMemOk;
    if (lockCount_ == 0) {
        error_ = kMemNotLocked;
        return;
    }
    if (--lockCount_ == 0) {
        if (!block_)
            error_ = kMemNoBlock;
        data_ = nullptr;
    }
}

uint8_t* CMemory::At(int32_t n)
{
    if (!block_ || cursor_ < 0 || n < 0 || n > size_ - cursor_) {
        error_ = kMemOutOfRange;
        return nullptr;
    }
    return block_ + cursor_;
}

uint64_t CMemory::Take(int n, int16_t order)
{
    const uint8_t* p = At(n);
    if (!p)
        return 0;
    cursor_ += n;
    return LoadBytes(p, n, order);
}

bool CMemory::Give(uint64_t value, int n, int16_t order)
{
    uint8_t* p = At(n);
    if (!p)
        return false;
    StoreBytes(p, value, n, order);
    cursor_ += n;
    return true;
}

uint8_t CMemory::GetByte() { return static_cast<uint8_t>(Take(1, 0)); }

int16_t CMemory::GetShort(int16_t order) { return static_cast<int16_t>(Take(2, order)); }

int32_t CMemory::GetLong(int16_t order) { return static_cast<int32_t>(Take(4, order)); }

double CMemory::GetDouble(int16_t order)
{
    const uint64_t bits = Take(8, order);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool CMemory::PutByte(uint8_t b) { return Give(b, 1, 0); }

bool CMemory::PutShort(int16_t value, int16_t order) { return Give(static_cast<uint16_t>(value), 2, order); }

bool CMemory::PutLong(int32_t value, int16_t order) { return Give(static_cast<uint32_t>(value), 4, order); }

bool CMemory::PutDouble(double value, int16_t order)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return Give(bits, 8, order);
}

bool CMemory::GetBytes(void* dest, int32_t count, int32_t at)
{
    if (at != -1)
        SetPos(at);
    if (count < 0 || cursor_ < 0 || count > size_ - cursor_ || (count > 0 && !dest))
        return false;
    if (count > 0)
        std::memcpy(dest, block_ + cursor_, static_cast<size_t>(count));
    cursor_ += count;
    return true;
}

bool CMemory::PutBytes(const void* src, int32_t count, int32_t at)
{
    if (at != -1)
        SetPos(at);
    if (count < 0 || cursor_ < 0 || count > size_ - cursor_ || (count > 0 && !src))
        return false;
    if (count > 0)
        std::memcpy(block_ + cursor_, src, static_cast<size_t>(count));
    cursor_ += count;
    return true;
}

bool CMemory::Skip(int32_t n)
{
    cursor_ = static_cast<int32_t>(static_cast<uint32_t>(cursor_) + static_cast<uint32_t>(n));
    return true;
}

bool CMemory::SetPos(int32_t pos)
{
    cursor_ = pos == -2 ? size_ : pos;
    return true;
}

void CMemory::Append(const CMemory& other)
{
    if (&other == this || other.size_ == 0)
        return;
    const int32_t oldSize = size_;
    if (other.size_ > std::numeric_limits<int32_t>::max() - oldSize || !Resize(oldSize + other.size_))
        return;
    std::memcpy(block_ + oldSize, other.block_, static_cast<size_t>(other.size_));
}

void CMemory::Fill(uint8_t b)
{
    if (block_)
        std::memset(block_, b, static_cast<size_t>(size_));
}

void CMemory::CopyBytes(const void* from, void* to, int32_t n)
{
    if (from && to && n > 0)
        std::memmove(to, from, static_cast<size_t>(n));
}

double CMemory::SwapDouble(double value)
{
    uint8_t b[8];
    std::memcpy(b, &value, 8);
    for (int i = 0; i < 4; ++i) {
        const uint8_t t = b[i];
        b[i] = b[7 - i];
        b[7 - i] = t;
    }
    std::memcpy(&value, b, 8);
    return value;
}
