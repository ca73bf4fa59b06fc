#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

#include "engine/framework/FileSpecs.h"
#include "engine/framework/Stream.h"
#include "platform/Files.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

static_assert(!std::is_copy_constructible_v<CFilStrm> && !std::is_copy_assignable_v<CFilStrm>);
static_assert(!std::is_copy_constructible_v<CMemStrm> && !std::is_copy_assignable_v<CMemStrm>);
static_assert(std::is_nothrow_move_constructible_v<CFilStrm> &&
              std::is_nothrow_move_constructible_v<CMemStrm>);

uint8_t ByteAt(size_t i) { return static_cast<uint8_t>(i * 31 + 7); }

class FileStream : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = qmtest::TempDir() / "c";
        fs::create_directories(root_);
        plat::SetDrives({{'C', root_, plat::DriveKind::Fixed}});
    }
    // A file of `size` patterned bytes.
    void WriteData(size_t size)
    {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(ByteAt(i));
        qmtest::WriteFile(root_ / "data.bin", bytes);
    }
    std::unique_ptr<CFile> OpenData()
    {
        const CFileSpec spec("C:\\data.bin");
        return std::make_unique<CFile>(&spec, CFile::kRead, 0);
    }
    // A stream over [start, start + length) of a file that has 40 more bytes on each side.
    std::unique_ptr<CFilStrm> Range(int32_t start, int32_t length, int32_t bufferSize, int16_t overlap)
    {
        WriteData(static_cast<size_t>(start + length + 40));
        return std::make_unique<CFilStrm>(OpenData(), start, length, bufferSize, overlap);
    }
    static std::vector<uint8_t> Expected(int32_t start, int32_t length)
    {
        std::vector<uint8_t> v;
        for (int32_t i = 0; i < length; ++i)
            v.push_back(ByteAt(static_cast<size_t>(start + i)));
        return v;
    }
    fs::path root_;
};

// Reads the stream to its end, using at most `bite` bytes of each buffer.
std::vector<uint8_t> ReadAll(CStream& s, int32_t bite, int16_t* last = nullptr)
{
    std::vector<uint8_t> out;
    const uint8_t* p = nullptr;
    int32_t n = 0;
    int16_t status;
    while ((status = s.GetBuf(p, n)) == CStream::kOk) {
        EXPECT_GT(n, 0);
        const int32_t used = std::min(n, bite);
        out.insert(out.end(), p, p + used);
        s.SeekAhead(used);
        if (out.size() > 1000000)
            break;
    }
    if (last)
        *last = status;
    return out;
}

TEST_F(FileStream, ReadsEveryByteOnceAcrossBufferSizesAndOverlaps)
{
    struct Case {
        int32_t length, bufferSize;
        int16_t overlap;
    };
    const Case cases[] = {
        {0, 200, 10},      {1, 200, 10},   {50, 200, 10},   {95, 200, 10},   {150, 200, 10},
        {1000, 200, 10},   {1000, 200, 0}, {1000, 200, 70}, {1000, 201, 99}, {997, 64, 31},
        {5000, 32768, 70}, {300, 20, 50}, // overlap above the capacity: kept below it
    };
    for (const Case& c : cases)
        for (int32_t bite : {3, 64, 1 << 30}) {
            auto s = Range(13, c.length, c.bufferSize, c.overlap);
            int16_t last = 0;
            EXPECT_EQ(ReadAll(*s, bite, &last), Expected(13, c.length))
                << c.length << " " << c.bufferSize << " " << c.overlap << " bite " << bite;
            EXPECT_EQ(last, CStream::kEnd);
            EXPECT_EQ(s->Pos(), c.length);
            EXPECT_EQ(s->Status(), CStream::kEnd);
        }
}

TEST_F(FileStream, BufferSizeIsCappedAndOverlapKeptBelowTheCapacity)
{
    auto big = Range(0, 10, 100000, 70);
    EXPECT_EQ(big->GetCapacity(), 32767);
    auto small = Range(0, 10, 20, 50);
    EXPECT_EQ(small->GetCapacity(), 10);
    EXPECT_EQ(small->GetOverlap(), 9);
}

TEST_F(FileStream, SeekIntoTheOverlapMovesToTheNextWindow)
{
    // Capacity 100, overlap 10: the first window serves 0..89, the second starts at 90.
    auto s = Range(0, 1000, 200, 10);
    const uint8_t* p;
    int32_t n;
    ASSERT_EQ(s->Seek(85), CStream::kOk);
    ASSERT_EQ(s->GetBuf(p, n), CStream::kOk);
    EXPECT_EQ(n, 15); // the first buffer holds bytes up to 99
    ASSERT_EQ(s->Seek(95), CStream::kOk);
    EXPECT_EQ(s->Pos(), 95);
    ASSERT_EQ(s->GetBuf(p, n), CStream::kOk);
    EXPECT_EQ(n, 95); // the second buffer: 90..189
    EXPECT_EQ(p[0], ByteAt(95));
    EXPECT_EQ(p[94], ByteAt(189));
    // Backwards out of both windows reads again from the file.
    ASSERT_EQ(s->Seek(3), CStream::kOk);
    ASSERT_EQ(s->GetBuf(p, n), CStream::kOk);
    EXPECT_EQ(p[0], ByteAt(3));
}

TEST_F(FileStream, ReadsSeekFirstSoOthersMayMoveTheFile)
{
    WriteData(1000);
    auto file = OpenData();
    CFile* shared = file.get();
    CFilStrm s(std::move(file), 0, 1000, 200, 10);
    const uint8_t* p;
    int32_t n;
    shared->Seek(777);
    ASSERT_EQ(s.Seek(500), CStream::kOk);
    ASSERT_EQ(s.GetBuf(p, n), CStream::kOk);
    EXPECT_EQ(p[0], ByteAt(500));
}

TEST_F(FileStream, ReadAheadPastTheEndWrapsToTheStart)
{
    // Capacity 100, overlap 10, length 150: moving into the second window refills the first
    // from 180, past the end, so it holds the start again and a loop back needs no read.
    auto s = Range(0, 150, 200, 10);
    ReadAll(*s, 1 << 30);
    fs::resize_file(root_ / "data.bin", 0); // anything read from now on would be empty
    const uint8_t* p;
    int32_t n;
    ASSERT_EQ(s->Seek(0), CStream::kOk);
    ASSERT_EQ(s->GetBuf(p, n), CStream::kOk);
    EXPECT_EQ(n, 100);
    EXPECT_EQ(p[0], ByteAt(0));
}

TEST_F(FileStream, SeekPastTheLengthLandsAtTheStart)
{
    auto s = Range(0, 1000, 200, 10);
    const uint8_t* p;
    int32_t n;
    EXPECT_EQ(s->Seek(5000), CStream::kOk);
    EXPECT_EQ(s->Pos(), 0);
    ASSERT_EQ(s->GetBuf(p, n), CStream::kOk);
    EXPECT_EQ(p[0], ByteAt(0));
}

TEST_F(FileStream, AFileShorterThanItsRangeEndsWhereTheDataEnds)
{
    // The range claims 1000 bytes but the file holds 300: no window hands out a negative
    // count, and reading ends with the bytes that exist.
    WriteData(300);
    CFilStrm s(OpenData(), 0, 1000, 200, 10);
    int16_t last = 0;
    EXPECT_EQ(ReadAll(s, 33, &last), Expected(0, 300));
    EXPECT_EQ(last, CStream::kEnd);
    const uint8_t* p = nullptr;
    int32_t n = -1;
    for (int32_t at : {305, 450, 999}) {
        s.Seek(at);
        EXPECT_EQ(s.GetBuf(p, n), CStream::kEnd) << at;
        EXPECT_EQ(n, 0) << at;
    }
}

TEST_F(FileStream, NoFileOrNoBuffersMeansNothingToRead)
{
    const uint8_t* p;
    int32_t n;
    CFilStrm closed(std::make_unique<CFile>(), 0, 100, 200, 10);
    EXPECT_EQ(closed.GetBuf(p, n), CStream::kEnd);
    CFilStrm none(nullptr, 0, 100, 200, 10);
    EXPECT_EQ(none.GetBuf(p, n), CStream::kEnd);

    WriteData(100);
    CFilStrm tiny(OpenData(), 0, 100, 1, 0); // no room for a buffer
    EXPECT_EQ(tiny.GetBuf(p, n), CStream::kNoData);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(tiny.SeekAhead(1), CStream::kNoData);
    EXPECT_EQ(tiny.Status(), CStream::kNoData);
}

TEST_F(FileStream, MovingHandsTheBuffersOver)
{
    auto s = Range(0, 500, 200, 10);
    s->Seek(120);
    CFilStrm moved(std::move(*s));
    const uint8_t* p;
    int32_t n;
    ASSERT_EQ(moved.GetBuf(p, n), CStream::kOk);
    EXPECT_EQ(p[0], ByteAt(120));
    EXPECT_EQ(s->GetBuf(p, n), CStream::kNoData);
    EXPECT_EQ(n, 0);

    CFilStrm other(nullptr, 0, 0, 200, 0);
    other = std::move(moved);
    EXPECT_EQ(other.Pos(), 120);
    EXPECT_EQ(ReadAll(other, 50).size(), 380u);
}

// ---------------------------------------------------------------------------------------------

std::unique_ptr<CMemory> Block(int32_t size)
{
    auto block = std::make_unique<CMemory>(size);
    for (int32_t i = 0; i < size; ++i)
        block->PutByte(ByteAt(static_cast<size_t>(i)));
    return block;
}

TEST(MemStream, OffsetLengthAndSeeks)
{
    CMemStrm s(Block(10), 4, 70);
    EXPECT_EQ(s.GetLength(), 6);
    const uint8_t* p;
    int32_t n;
    ASSERT_EQ(s.Seek(2), CStream::kOk);
    ASSERT_EQ(s.GetBuf(p, n), CStream::kOk);
    EXPECT_EQ(n, 4);
    EXPECT_EQ(p[0], ByteAt(6));
    EXPECT_EQ(s.Seek(6), CStream::kOk);
    EXPECT_EQ(s.Status(), CStream::kEnd);
    EXPECT_EQ(s.GetBuf(p, n), CStream::kEnd);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(s.Seek(7), CStream::kEnd);
    EXPECT_EQ(s.Pos(), 6);
    EXPECT_EQ(s.Seek(-1), CStream::kEnd);
    EXPECT_EQ(s.SeekAhead(-7), CStream::kEnd);
    EXPECT_EQ(s.Pos(), 6);
    s.Seek(0);
    EXPECT_EQ(ReadAll(s, 4),
              (std::vector<uint8_t>{ByteAt(4), ByteAt(5), ByteAt(6), ByteAt(7), ByteAt(8), ByteAt(9)}));
}

TEST(MemStream, BadOffsetsAndMissingBlocksGiveAnEmptyStream)
{
    const uint8_t* p;
    int32_t n;
    for (int32_t offset : {10, 11, 1 << 30}) {
        CMemStrm s(Block(10), offset, 0);
        EXPECT_EQ(s.GetLength(), 0);
        EXPECT_EQ(s.GetBuf(p, n), CStream::kEnd);
    }
    CMemStrm negative(Block(10), -3, 0);
    EXPECT_EQ(negative.GetLength(), 10);
    CMemStrm none(nullptr, 0, 0);
    EXPECT_EQ(none.GetBuf(p, n), CStream::kEnd);
}

TEST(MemStream, MovingHandsTheBlockOver)
{
    CMemStrm s(Block(10), 0, 0);
    s.Seek(3);
    CMemStrm moved(std::move(s));
    EXPECT_EQ(moved.Pos(), 3);
    EXPECT_EQ(ReadAll(moved, 100).size(), 7u);
    const uint8_t* p;
    int32_t n;
    EXPECT_EQ(s.GetBuf(p, n), CStream::kEnd);
    EXPECT_EQ(s.GetLength(), 0);
}

} // namespace
