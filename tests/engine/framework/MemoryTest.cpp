#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "engine/framework/Memory.h"

namespace {

std::vector<uint8_t> Bytes(CMemory& m)
{
    auto* p = static_cast<uint8_t*>(m.Lock());
    std::vector<uint8_t> out(p, p + m.GetSize());
    m.Unlock();
    return out;
}

TEST(MemoryTest, ValuesInBothByteOrders)
{
    CMemory m(32);
    EXPECT_TRUE(m.PutLong(0x01020304, kBigEndian));
    EXPECT_TRUE(m.PutLong(0x01020304, 0));
    EXPECT_TRUE(m.PutShort(static_cast<int16_t>(0xA1B2), kBigEndian));
    EXPECT_TRUE(m.PutShort(static_cast<int16_t>(0xA1B2), 1));
    EXPECT_TRUE(m.PutByte(0x7F));
    EXPECT_TRUE(m.PutDouble(1.5, kBigEndian));
    const std::vector<uint8_t> want = {1,    2,    3,    4,    4, 3, 2, 1, 0xA1, 0xB2, 0xB2,
                                       0xA1, 0x7F, 0x3F, 0xF8, 0, 0, 0, 0, 0,    0};
    std::vector<uint8_t> got = Bytes(m);
    got.resize(want.size());
    EXPECT_EQ(got, want);

    m.SetPos(0);
    EXPECT_EQ(m.GetLong(kBigEndian), 0x01020304);
    EXPECT_EQ(m.GetLong(0), 0x01020304);
    EXPECT_EQ(m.GetShort(kBigEndian), static_cast<int16_t>(0xA1B2));
    EXPECT_EQ(m.GetShort(0), static_cast<int16_t>(0xA1B2));
    EXPECT_EQ(m.GetByte(), 0x7F);
    EXPECT_EQ(m.GetDouble(kBigEndian), 1.5);
    EXPECT_EQ(m.GetPos(), 21);
}

TEST(MemoryTest, CursorIsCheckedAgainstTheSize)
{
    CMemory m(6);
    EXPECT_EQ(m.GetPos(), 0);
    m.SetPos(-2);
    EXPECT_EQ(m.GetPos(), -2); // at the end

    // Single values beyond the end: 0 / nothing written, cursor kept, error set.
    m.SetPos(4);
    EXPECT_EQ(m.GetLong(0), 0);
    EXPECT_EQ(m.GetError(), kMemOutOfRange);
    EXPECT_EQ(m.GetPos(), 4);
    EXPECT_FALSE(m.PutDouble(2.0, 0));
    EXPECT_EQ(m.GetPos(), 4);
    EXPECT_TRUE(m.PutShort(0x0102, kBigEndian));
    EXPECT_EQ(m.GetPos(), -2);
    EXPECT_EQ(m.GetByte(), 0);
    m.SetPos(-7);
    EXPECT_FALSE(m.PutByte(1));
    m.SetPos(1000);
    EXPECT_EQ(m.GetShort(0), 0);
    EXPECT_EQ(Bytes(m), (std::vector<uint8_t>{0, 0, 0, 0, 1, 2}));

    // Byte runs: all or nothing.
    uint8_t buf[4] = {9, 9, 9, 9};
    m.SetPos(3);
    EXPECT_FALSE(m.GetBytes(buf, 4));
    EXPECT_EQ(m.GetPos(), 3);
    EXPECT_TRUE(m.GetBytes(buf, 3));
    EXPECT_EQ(m.GetPos(), -2);
    EXPECT_TRUE(m.PutBytes("ab", 2, 0));
    EXPECT_EQ(m.GetPos(), 2);
    EXPECT_FALSE(m.PutBytes("ab", -1, 0));
    EXPECT_FALSE(m.GetBytes(buf, 1, 7));
    EXPECT_TRUE(m.Skip(-2));
    EXPECT_EQ(m.GetPos(), 5);

    CMemory empty;
    EXPECT_EQ(empty.GetByte(), 0);
    EXPECT_FALSE(empty.PutLong(1, 0));
    EXPECT_TRUE(empty.GetBytes(nullptr, 0));
}

TEST(MemoryTest, LockCountsAndResizeWhileLocked)
{
    CMemory m(8);
    void* a = m.Lock();
    EXPECT_NE(a, nullptr);
    EXPECT_EQ(m.Lock(), a);
    m.Unlock();
    EXPECT_EQ(m.GetLockCount(), 1);
    EXPECT_FALSE(m.Resize(16));
    EXPECT_EQ(m.GetError(), kMemAllocFailed);
    EXPECT_EQ(m.GetSize(), 8);
    m.Unlock();
    EXPECT_EQ(m.GetError(), kMemOk);
    m.Unlock();
    EXPECT_EQ(m.GetError(), kMemNotLocked);
    EXPECT_TRUE(m.Resize(16));
    EXPECT_EQ(m.GetSize(), 16);
    EXPECT_EQ(Bytes(m), std::vector<uint8_t>(16, 0));
    EXPECT_TRUE(m.Resize(0));
    EXPECT_FALSE(m.IsValid());
    EXPECT_EQ(m.Lock(), nullptr);
    EXPECT_EQ(m.GetError(), kMemNoBlock);
    EXPECT_EQ(m.GetLockCount(), 0);
    EXPECT_FALSE(m.Resize(-1));
}

TEST(MemoryTest, CopyAssignAppendAndFill)
{
    CMemory a(3);
    a.Fill(7);
    CMemory b(a);
    EXPECT_EQ(Bytes(b), (std::vector<uint8_t>{7, 7, 7}));
    CMemory c(5);
    c = a;
    EXPECT_EQ(c.GetSize(), 3);
    c.Append(a);
    EXPECT_EQ(Bytes(c), std::vector<uint8_t>(6, 7));
    c.Append(c); // itself: nothing
    EXPECT_EQ(c.GetSize(), 6);

    // A locked block of another size keeps its contents.
    CMemory d(2);
    d.Lock();
    d = a;
    EXPECT_EQ(d.GetError(), kMemAllocFailed);
    EXPECT_EQ(d.GetSize(), 2);
    d.Unlock();
}

// Fails the first `failures` allocations.
class FailingAllocator : public CMemoryAllocator {
public:
    explicit FailingAllocator(int failures) : failures_(failures) {}
    void* Allocate(size_t size) override
    {
        ++calls;
        return failures_-- > 0 ? nullptr : std::malloc(size);
    }
    void* Reallocate(void* block, size_t size) override
    {
        return failures_-- > 0 ? nullptr : std::realloc(block, size);
    }
    void Free(void* block) override { std::free(block); }
    int calls = 0;

private:
    int failures_;
};

TEST(MemoryTest, FailedAllocationRetriesOnce)
{
    FailingAllocator once(1);
    SetMemoryAllocator(&once);
    CMemory ok(10);
    EXPECT_TRUE(ok.IsValid());
    EXPECT_EQ(once.calls, 2);

    FailingAllocator twice(2);
    SetMemoryAllocator(&twice);
    CMemory bad(10);
    EXPECT_FALSE(bad.IsValid());
    EXPECT_EQ(bad.GetError(), kMemAllocFailed);
    EXPECT_EQ(bad.GetSize(), 0);
    EXPECT_EQ(twice.calls, 2);
    SetMemoryAllocator(nullptr);
}

TEST(MemoryTest, ByteSwapHelpers)
{
    int16_t s = 0x0102;
    SwapShort(s);
    EXPECT_EQ(s, 0x0201);
    const uint8_t src[4] = {1, 2, 3, 4};
    uint8_t dst[4];
    SwapLong(src, dst);
    EXPECT_EQ(dst[0], 4);
    EXPECT_EQ(dst[3], 1);
    SwapShortTo(src, dst);
    EXPECT_EQ(dst[0], 2);
    EXPECT_EQ(dst[1], 1);
    EXPECT_EQ(CMemory::SwapDouble(CMemory::SwapDouble(3.25)), 3.25);
}

} // namespace
