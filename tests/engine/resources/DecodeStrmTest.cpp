#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "engine/framework/FileSpecs.h"
#include "engine/resources/DecodeStrm.h"
#include "engine/resources/SndSource.h"
#include "platform/Files.h"
#include "tests/support/BitWriter.h"
#include "tests/support/CodecFixtures.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"

using qmtest::BitWriter;

namespace {

// Silence, a tone, loud noise and quiet noise in turn, so that fills, repeated fills, short
// and long palette blocks all occur.
std::vector<uint8_t> Samples(size_t n)
{
    std::mt19937 rng(99);
    std::vector<uint8_t> s(n);
    for (size_t i = 0; i < n; ++i) {
        switch ((i / 700) % 4) {
        case 0: s[i] = 128; break;
        case 1:
            s[i] = static_cast<uint8_t>(128 + std::lround(60 * std::sin(static_cast<double>(i) / 9)));
            break;
        case 2: s[i] = static_cast<uint8_t>(rng()); break;
        default: s[i] = static_cast<uint8_t>(125 + rng() % 7); break;
        }
    }
    return s;
}

std::unique_ptr<CStream> MemSource(const std::vector<uint8_t>& bytes)
{
    auto block = std::make_unique<CMemory>(static_cast<int32_t>(bytes.size()));
    block->PutBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
    return std::make_unique<CMemStrm>(std::move(block), 0, 70);
}

// Reads everything in chunks that cycle through `chunks`; the last result goes to `last`.
std::vector<uint8_t> ReadAll(CDecodeStrm& d, const std::vector<int32_t>& chunks, int16_t* last = nullptr)
{
    std::vector<uint8_t> out;
    int16_t status = CDecodeStrm::kOk;
    for (size_t i = 0; status == CDecodeStrm::kOk && out.size() < 10000000; ++i) {
        std::vector<uint8_t> buf(static_cast<size_t>(chunks[i % chunks.size()]));
        int32_t count = static_cast<int32_t>(buf.size());
        status = d.Read(buf.data(), count);
        EXPECT_GE(count, 0);
        out.insert(out.end(), buf.begin(), buf.begin() + count);
        if (status == CDecodeStrm::kOk && count == 0)
            break; // no progress: the test fails on the comparison
    }
    if (last)
        *last = status;
    return out;
}

class DecodeStream : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = qmtest::TempDir() / "c";
        std::filesystem::create_directories(root_);
        plat::SetDrives({{'C', root_, plat::DriveKind::Fixed}});
    }
    // A file stream over the bytes, placed between 25 bytes of junk on each side.
    std::unique_ptr<CStream> FileSource(const std::vector<uint8_t>& bytes, int32_t bufferSize)
    {
        std::string content(25, '\x5A');
        content.append(bytes.begin(), bytes.end());
        content.append(25, '\xA5');
        qmtest::WriteFile(root_ / "sound.bin", content);
        const CFileSpec spec("C:\\sound.bin");
        return std::make_unique<CFilStrm>(std::make_unique<CFile>(&spec, CFile::kRead, 0), 25,
                                          static_cast<int32_t>(bytes.size()), bufferSize, 70);
    }
    // Every source kind the sound stream uses, and file streams with small windows.
    std::vector<std::pair<std::string, std::unique_ptr<CStream>>> Sources(const std::vector<uint8_t>& bytes)
    {
        std::vector<std::pair<std::string, std::unique_ptr<CStream>>> v;
        v.emplace_back("memory", MemSource(bytes));
        for (int32_t size : {200, 1024, 32768})
            v.emplace_back("file " + std::to_string(size), FileSource(bytes, size));
        return v;
    }
    std::filesystem::path root_;
};

TEST_F(DecodeStream, SequentialReadsEqualTheSamples)
{
    const std::vector<uint8_t> samples = Samples(3000);
    // Long blocks (up to 2 KB) cross the small windows of the file streams.
    for (bool longBlocks : {false, true}) {
        const std::vector<uint8_t> stream = qmtest::EncodeSound(samples, 8, longBlocks);
        for (const std::vector<int32_t>& chunks :
             longBlocks
                 ? std::vector<std::vector<int32_t>>{{100, 28, 64, 3}}
                 : std::vector<std::vector<int32_t>>{{100, 28, 64, 3}, {1}, {4096}, {1000, 7}, {100000}}) {
            for (auto& [name, source] : Sources(stream)) {
                CDecodeStrm d(std::move(source));
                ASSERT_EQ(d.GetStatus(), CDecodeStrm::kOk) << name;
                EXPECT_EQ(d.GetValueCount(), 3000);
                int16_t last = 0;
                EXPECT_EQ(ReadAll(d, chunks, &last), samples)
                    << name << " chunk " << chunks[0] << " long " << longBlocks;
                EXPECT_EQ(last, CDecodeStrm::kEnd) << name;
                EXPECT_EQ(d.GetPosition(), 3000);
            }
        }
    }
}

TEST_F(DecodeStream, ARepeatedFillContinuesAcrossReadsAndTheLastReadIsCut)
{
    BitWriter w;
    w.Fill(200, 4).Fill(50); // 320 values of 200, then 64 of 50
    CDecodeStrm d(MemSource(qmtest::MakeSoundStream(350, w.Position(), std::nullopt, w.Bytes())));
    uint8_t buf[1000];
    for (int32_t want : {100, 100, 100}) {
        int32_t count = want;
        EXPECT_EQ(d.Read(buf, count), CDecodeStrm::kOk);
        ASSERT_EQ(count, want);
        EXPECT_EQ(std::count(buf, buf + count, 200), want);
    }
    int32_t count = 1000;
    EXPECT_EQ(d.Read(buf, count), CDecodeStrm::kEnd);
    ASSERT_EQ(count, 50); // only the values left
    EXPECT_EQ(std::count(buf, buf + 20, 200), 20);
    EXPECT_EQ(std::count(buf + 20, buf + 50, 50), 30);
    count = 10;
    EXPECT_EQ(d.Read(buf, count), CDecodeStrm::kEnd);
    EXPECT_EQ(count, 0);
}

TEST_F(DecodeStream, SeeksLandOnTheValueAskedFor)
{
    const std::vector<uint8_t> samples = Samples(3000);
    const std::vector<uint8_t> stream = qmtest::EncodeSound(samples, 4, true);
    for (auto& [name, source] : Sources(stream)) {
        CDecodeStrm d(std::move(source));
        for (int32_t p : {1000, 0, 1, 63, 64, 255, 256, 300, 2999, 3000, 3050, -5, 1777}) {
            ASSERT_EQ(d.SeekTo(p), CDecodeStrm::kOk) << name << " " << p;
            const int32_t at = std::clamp(p, 0, 3000);
            EXPECT_EQ(d.GetPosition(), at) << name << " " << p;
            std::vector<uint8_t> buf(300);
            int32_t count = 300;
            d.Read(buf.data(), count);
            const int32_t expect = std::min(300, 3000 - at);
            ASSERT_EQ(count, expect) << name << " " << p;
            EXPECT_TRUE(std::equal(buf.begin(), buf.begin() + count, samples.begin() + at))
                << name << " " << p;
        }
    }
}

// Three fills at bits 0, 11 and 22 with the seek points {64, 11} and {64, 22}.
std::vector<uint8_t> TwinSeekPoints()
{
    BitWriter w;
    w.Fill(1).Fill(2).Fill(3);
    return qmtest::MakeSoundStream(192, w.Position(), std::vector<qmtest::SoundSeekPoint>{{64, 11}, {64, 22}},
                                   w.Bytes());
}

TEST_F(DecodeStream, SeekPointsAmongEquals)
{
    CDecodeStrm d(MemSource(TwinSeekPoints()));
    int32_t value = -1;
    uint32_t bit = 0;
    d.FindSeekPointAtOrAfter(10, value, bit); // the last of equals
    EXPECT_EQ(value, 64);
    EXPECT_EQ(bit, 22u);
    d.FindSeekPointAtOrAfter(65, value, bit); // none: the value count and the end bit
    EXPECT_EQ(value, 192);
    EXPECT_EQ(bit, 33u);
    // SeekTo takes the first of equals, so it decodes the fill at bit 11.
    ASSERT_EQ(d.SeekTo(64), CDecodeStrm::kOk);
    uint8_t buf[64];
    int32_t count = 64;
    d.Read(buf, count);
    EXPECT_EQ(buf[0], 2);

    // With an offset every position is counted from it.
    d.SetOffset(64);
    d.FindSeekPointAtOrAfter(0, value, bit);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(bit, 22u);
    ASSERT_EQ(d.SeekTo(70), CDecodeStrm::kOk);
    EXPECT_EQ(d.GetPosition(), 70);
    count = 64;
    EXPECT_EQ(d.Read(buf, count), CDecodeStrm::kEnd);
    EXPECT_EQ(count, 58); // values 134..191
    EXPECT_EQ(buf[0], 3);
    d.SetOffset(-5);
    EXPECT_EQ(d.GetOffset(), 0);
    d.SetEndMark(5000);
    EXPECT_EQ(d.GetEndMark(), 192);
}

TEST_F(DecodeStream, CopiesReadTheirBlockFromTheSourceBuffer)
{
    BitWriter w;
    std::array<uint8_t, 64> ramp;
    for (int i = 0; i < 64; ++i)
        ramp[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    w.PaletteBlock(qmtest::Code::Prefix, 4, 4, 255, ramp); // at bit 0
    w.Copy(0);
    // More than 70 bytes after the copy, so that no refill has moved the buffer's start yet.
    for (int i = 0; i < 60; ++i)
        w.Fill(static_cast<uint8_t>(i));
    CDecodeStrm d(MemSource(qmtest::MakeSoundStream(62 * 64, w.Position(), std::nullopt, w.Bytes())));
    std::vector<uint8_t> buf(128);
    int32_t count = 128;
    EXPECT_EQ(d.Read(buf.data(), count), CDecodeStrm::kOk);
    EXPECT_EQ(count, 128);
    EXPECT_TRUE(std::equal(buf.begin(), buf.begin() + 64, buf.begin() + 64));
    EXPECT_EQ(buf[1], 127); // index 1 of the sound table
}

TEST_F(DecodeStream, BadStreamsEndWithAStatus)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> stream;
        int16_t status;
    };
    BitWriter forward;
    forward.Fill(1).Copy(100);
    BitWriter one;
    one.Fill(9);
    std::vector<uint8_t> cutTable = TwinSeekPoints();
    cutTable.resize(20);
    const Case cases[] = {
        {"short header", {0, 0, 0, 0, 1, 0, 0}, CDecodeStrm::kBadData},
        {"cut seek table", cutTable, CDecodeStrm::kBadData},
        {"forward copy", qmtest::MakeSoundStream(128, 0, std::nullopt, forward.Bytes()),
         CDecodeStrm::kBadData},
        {"huge value count", qmtest::MakeSoundStream(0xFFFFFFFF, 0, std::nullopt, one.Bytes()),
         CDecodeStrm::kBadData},
    };
    for (const Case& c : cases) {
        CDecodeStrm d(MemSource(c.stream));
        int16_t last = 0;
        ReadAll(d, {4096}, &last);
        EXPECT_EQ(last, c.status) << c.name;
    }
}

TEST_F(DecodeStream, ASeekPointPastTheDataFailsTheSeek)
{
    BitWriter w;
    w.Fill(4, 3);
    CDecodeStrm d(MemSource(
        qmtest::MakeSoundStream(256, 27, std::vector<qmtest::SoundSeekPoint>{{128, 99999}}, w.Bytes())));
    EXPECT_EQ(d.SeekTo(200), CDecodeStrm::kSeekFailed);
    uint8_t buf[10];
    int32_t count = 10;
    EXPECT_EQ(d.Read(buf, count), CDecodeStrm::kSeekFailed);
    EXPECT_EQ(count, 0);
    ASSERT_EQ(d.SeekTo(5), CDecodeStrm::kOk); // a good seek clears it
    count = 10;
    EXPECT_EQ(d.Read(buf, count), CDecodeStrm::kOk);
    EXPECT_EQ(buf[0], 4);
}

TEST_F(DecodeStream, TruncatedAndCorruptedStreamsNeverReadOutside)
{
    // A tone's end, loud and quiet noise: every kind of block but long runs of silence.
    const std::vector<uint8_t> all = Samples(1800);
    const std::vector<uint8_t> samples(all.begin() + 1300, all.end());
    const std::vector<uint8_t> stream = qmtest::EncodeSound(samples, 4);
    for (size_t keep = 0; keep < stream.size(); keep += 7) {
        const std::vector<uint8_t> cut(stream.begin(), stream.begin() + static_cast<ptrdiff_t>(keep));
        CDecodeStrm d(MemSource(cut));
        int16_t last = 0;
        const std::vector<uint8_t> got = ReadAll(d, {500}, &last);
        EXPECT_NE(last, CDecodeStrm::kOk) << keep;
        EXPECT_TRUE(std::equal(got.begin(), got.end(), samples.begin())) << keep;
    }
    // Corrupted long blocks in small file windows take the path that gathers a block.
    const std::vector<uint8_t> longStream = qmtest::EncodeSound(samples, 4, true);
    std::mt19937 rng(5);
    for (int round = 0; round < 40; ++round) {
        std::vector<uint8_t> bad = round % 4 ? stream : longStream;
        for (int i = 0; i < 1 + round % 5; ++i)
            bad[rng() % bad.size()] ^= static_cast<uint8_t>(1 + rng() % 255);
        CDecodeStrm d(round % 2 ? MemSource(bad) : FileSource(bad, 300));
        ReadAll(d, {333});
        d.SeekTo(static_cast<int32_t>(rng() % 600));
        ReadAll(d, {777});
    }
}

TEST_F(DecodeStream, SourceStatusesPassThrough)
{
    std::vector<uint8_t> stream = TwinSeekPoints();
    qmtest::WriteFile(root_ / "s.bin", std::string(stream.begin(), stream.end()));
    const CFileSpec spec("C:\\s.bin");
    // A file stream without room for its buffers answers "no data" from the start.
    CDecodeStrm d(std::make_unique<CFilStrm>(std::make_unique<CFile>(&spec, CFile::kRead, 0), 0,
                                             static_cast<int32_t>(stream.size()), 1, 0));
    EXPECT_EQ(d.GetStatus(), CStream::kNoData);
    EXPECT_EQ(d.GetSourceStatus(), CStream::kNoData);
    uint8_t buf[8];
    int32_t count = 8;
    EXPECT_EQ(d.Read(buf, count), CStream::kNoData);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(CDecodeStrm(nullptr).GetStatus(), CDecodeStrm::kBadData);
}

TEST(SoundTable, SmallIndicesLieNextToTheMidpoint)
{
    const BlockCodec::DecoderState t = CDecodeStrm::SoundTable();
    EXPECT_EQ(t.mapCount, 256);
    EXPECT_EQ(t.selectionWidth, 0);
    EXPECT_EQ((std::vector<uint8_t>(t.map, t.map + 6)), (std::vector<uint8_t>{128, 127, 129, 126, 130, 125}));
    EXPECT_EQ(t.map[254], 255);
    EXPECT_EQ(t.map[255], 0);
    for (int s = 0; s < 256; ++s)
        EXPECT_EQ(t.map[qmtest::SoundIndex(static_cast<uint8_t>(s))], s);
}

class FakeSound : public CSndSource {
public:
    using CSndSource::CSndSource;
    int16_t Read(uint8_t*, int32_t& count) override
    {
        count = 0;
        return 1;
    }
    int32_t Open(bool) override { return 0; }
    int32_t Seek(int32_t position) override { return position; }
};

TEST(SndSource, KeepsItsResourceAndStartsAtFullLevel)
{
    FakeSound s(4711, 0x10000000);
    EXPECT_EQ(s.GetResourceId(), 4711);
    EXPECT_EQ(s.GetLibraryMask(), 0x10000000u);
    EXPECT_EQ(s.GetLevel(), 255);
    EXPECT_EQ(s.GetSecondValue(), 0);
    EXPECT_EQ(s.GetSampleRate(), 0);
    EXPECT_EQ(s.GetChannels(), 0);
    EXPECT_EQ(s.GetBitsPerSample(), 0);
    EXPECT_FALSE(s.IsFound());
}

} // namespace
