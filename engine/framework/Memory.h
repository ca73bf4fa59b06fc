#pragma once
// The engine's memory block: a heap block with a lock count, a last-error code and a
// read/write cursor for bytes and 16-, 32- and 64-bit values in native or big-endian order.
// Resources, records, pointer arrays and memory streams keep their bytes in one.
//
// The block's bytes are reached through Lock/Unlock; every lock is paired with an unlock,
// and a locked block cannot be resized. The cursor operations check the cursor against the
// size: beyond the end a getter answers 0 and a putter writes nothing, both leave the
// cursor where it was and set the error kMemOutOfRange.
#include <algorithm>
#include <cstddef>
#include <cstdint>

// Last-error codes of a memory block.
enum : int32_t {
    kMemOk = 0,
    kMemAllocFailed = 1000, // allocation failed, or the block is locked
    kMemNoBlock = 1001,
    kMemNotLocked = 1002,
    kMemLockFailed = 1003,
    kMemOutOfRange = 1004, // a cursor operation reached past the end
};

// Byte order argument of the cursor operations: kBigEndian reverses the bytes, any other
// value keeps the host (little-endian) order.
constexpr int16_t kBigEndian = 2;

// Allocation flag: the block is zero-filled.
constexpr uint16_t kMemZeroInit = 4;

// The interface of a memory block, in the order the engine's blocks implement it.
class CBaseMemory {
public:
    virtual uint8_t GetByte() = 0;
    virtual bool GetBytes(void* dest, int32_t count, int32_t at = -1) = 0;
    virtual double GetDouble(int16_t order) = 0;
    virtual int32_t GetSize() const = 0;
    virtual int32_t GetLong(int16_t order) = 0;
    virtual int32_t GetPos() const = 0;
    virtual int16_t GetShort(int16_t order) = 0;
    virtual bool Skip(int32_t n) = 0;
    virtual bool PutByte(uint8_t b) = 0;
    virtual bool PutBytes(const void* src, int32_t count, int32_t at = -1) = 0;
    virtual bool PutDouble(double value, int16_t order) = 0;
    virtual bool PutLong(int32_t value, int16_t order) = 0;
    virtual bool PutShort(int16_t value, int16_t order) = 0;
    virtual bool Resize(int32_t size) = 0;
    virtual bool SetPos(int32_t pos) = 0;
    virtual ~CBaseMemory() = default;
};

// Where blocks get their bytes. Tests install one that fails on purpose.
class CMemoryAllocator {
public:
    virtual ~CMemoryAllocator() = default;
    virtual void* Allocate(size_t size) = 0;
    virtual void* Reallocate(void* block, size_t size) = 0;
    virtual void Free(void* block) = 0;
};
// Installs an allocator (not owned); nullptr restores the C runtime's.
void SetMemoryAllocator(CMemoryAllocator* allocator);

class CMemory : public CBaseMemory {
public:
    CMemory() = default;
    explicit CMemory(int32_t size) : CMemory(size, 1) {}
    CMemory(int32_t size, uint16_t flags);
    CMemory(const CMemory& other);
    CMemory& operator=(const CMemory& other);
    ~CMemory() override;

    uint8_t GetByte() override;
    bool GetBytes(void* dest, int32_t count, int32_t at = -1) override;
    double GetDouble(int16_t order) override;
    int32_t GetSize() const override { return size_; }
    int32_t GetLong(int16_t order) override;
    // The cursor, or -2 when it stands at the end.
    int32_t GetPos() const override { return cursor_ == size_ ? -2 : cursor_; }
    int16_t GetShort(int16_t order) override;
    bool Skip(int32_t n) override;
    bool PutByte(uint8_t b) override;
    bool PutBytes(const void* src, int32_t count, int32_t at = -1) override;
    bool PutDouble(double value, int16_t order) override;
    bool PutLong(int32_t value, int16_t order) override;
    bool PutShort(int16_t value, int16_t order) override;
    // Refused (kMemAllocFailed) while the block is locked; 0 frees the block.
    bool Resize(int32_t size) override;
    // -2 stands for the end.
    bool SetPos(int32_t pos) override;

    // The block's bytes; nested locks return the same address. Null (kMemNoBlock) when
    // there is no block.
    virtual void* Lock();
    virtual void* LockPtr() { return Lock(); }
    void Unlock();

    // Appends the other block's bytes; nothing when the resize fails.
    void Append(const CMemory& other);
    void Fill(uint8_t b);
    void SetDiscardable(bool on) { discardable_ = on ? 1 : 0; }
    bool IsDiscardable() const { return discardable_ != 0; }
    bool IsValid() const { return block_ != nullptr; }
    int16_t GetLockCount() const { return lockCount_; }
    int32_t GetError() const { return error_; }

    // Copies n bytes; nothing when either address is null.
    static void CopyBytes(const void* from, void* to, int32_t n);
    static double SwapDouble(double value);

private:
    bool Allocate(int32_t size);
    // Checks that n bytes lie at the cursor; sets kMemOutOfRange when they do not.
    uint8_t* At(int32_t n);
    // The value of n bytes at the cursor, which moves past them; 0 when they do not lie there.
    uint64_t Take(int n, int16_t order);
    // Stores the value in n bytes at the cursor, which moves past them; false when they do not
    // lie there.
    bool Give(uint64_t value, int n, int16_t order);

    int32_t cursor_ = 0;
    uint8_t* block_ = nullptr;
    void* data_ = nullptr;
    int32_t size_ = 0;
    int32_t error_ = kMemOk;
    uint16_t allocFlags_ = 0;
    int16_t lockCount_ = 0;
    int16_t discardable_ = 0;
};

// Keeps a block locked for the life of one operation, so every early return unlocks it.
// A null block, or one whose lock fails, gives no bytes and a size of 0.
class CMemoryLock {
public:
    explicit CMemoryLock(CMemory* block)
        : block_(block), data_(block ? static_cast<const uint8_t*>(block->Lock()) : nullptr)
    {
    }
    ~CMemoryLock()
    {
        if (data_)
            block_->Unlock();
    }
    CMemoryLock(const CMemoryLock&) = delete;
    CMemoryLock& operator=(const CMemoryLock&) = delete;

    const uint8_t* Data() const { return data_; }
    uint32_t Size() const { return data_ ? static_cast<uint32_t>(std::max(block_->GetSize(), 0)) : 0; }

private:
    CMemory* block_;
    const uint8_t* data_;
};

// Byte order helpers for big-endian data.
inline void SwapShort(int16_t& v)
{
    const auto u = static_cast<uint16_t>(v);
    v = static_cast<int16_t>(static_cast<uint16_t>((u >> 8) | (u << 8)));
}
inline void SwapShortTo(const void* src, void* dst)
{
    const auto* s = static_cast<const uint8_t*>(src);
    auto* d = static_cast<uint8_t*>(dst);
    const uint8_t a = s[0], b = s[1];
    d[0] = b;
    d[1] = a;
}
inline void SwapLong(const void* src, void* dst)
{
    const auto* s = static_cast<const uint8_t*>(src);
    auto* d = static_cast<uint8_t*>(dst);
    const uint8_t a = s[0], b = s[1], c = s[2], e = s[3];
    d[0] = e;
    d[1] = c;
    d[2] = b;
    d[3] = a;
}
