#include "engine/media/SndStrm.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"
#include "tools/EngineLibrary.h"
#include "tools/SoundEncoder.h"

namespace {

using Bytes = std::vector<uint8_t>;

PcmSound Noise(uint16_t channels, uint16_t bits, size_t frames, uint32_t seed = 7)
{
    PcmSound s;
    s.channels = channels;
    s.bits = bits;
    s.rate = 22050;
    std::mt19937 rng(seed);
    s.data.resize(frames * s.FrameBytes());
    for (uint8_t& b : s.data)
        b = static_cast<uint8_t>(rng());
    return s;
}

void PutLe(Bytes& out, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A chunk with its head; the length is the real one unless given.
Bytes Chunk(uint8_t tag, const Bytes& body, int64_t length = -1)
{
    Bytes out{tag, 0};
    PutLe(out, static_cast<uint32_t>(length >= 0 ? length : int64_t(6 + body.size())), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes Format(uint8_t channels, uint8_t bits, uint8_t rate = 22, uint8_t width = 4, uint8_t mode = 0)
{
    return Chunk(1, {channels, bits, rate, width, mode});
}

// The coded samples that follow the header of a plain (format and end chunk) resource.
Bytes CodedData(const PcmSound& sound, int mode)
{
    CsnOptions o;
    o.mode = mode;
    const Bytes csn = EncodeCsn(sound, o);
    return Bytes(csn.begin() + 17, csn.end());
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

class SndStrmTest : public testing::Test {
protected:
    // Writes "CSN" resources into one folder library and opens it as the engine's.
    void Library(const std::vector<std::pair<int32_t, Bytes>>& resources)
    {
        qmtest::FolderLibraryWriter w(qmtest::TempDir() / "sounds");
        for (const auto& [id, bytes] : resources)
            w.Add("CSN", id, bytes);
        library_ = std::make_unique<EngineLibrary>(w.Folder().string());
    }

    // Every byte from the stream's position to its end, read in pieces of `piece` bytes.
    static Bytes ReadAll(CSndStrm& s, int32_t piece = 4096)
    {
        Bytes out, buf(static_cast<size_t>(piece));
        for (int i = 0; i < 100000; ++i) {
            int32_t count = piece;
            const int16_t status = s.Read(buf.data(), count);
            out.insert(out.end(), buf.begin(), buf.begin() + count);
            if (status != 0)
                break;
        }
        return out;
    }

    std::unique_ptr<EngineLibrary> library_;
};

TEST_F(SndStrmTest, AHeaderOfFormatAndEndSeeksByDecodingFromTheStart)
{
    const PcmSound pcm = Noise(1, 8, 9000);
    Library({{5, Join({Format(1, 8, 11, 4, 2), Chunk(0, {}), CodedData(pcm, 2)})}});
    CSndStrm s(5, 0xFFFFFFFF);
    EXPECT_TRUE(s.IsFound());
    EXPECT_TRUE(s.IsAtEnd());
    ASSERT_EQ(s.Open(false), 9000);
    EXPECT_EQ(s.GetLevel(), 255);
    EXPECT_EQ(s.GetSecondValue(), 0);
    EXPECT_EQ(s.GetSampleRate(), 11025);
    EXPECT_EQ(s.GetChannels(), 1);
    EXPECT_EQ(s.GetBitsPerSample(), 8);
    EXPECT_EQ(s.GetDecodeMode(), 2);
    EXPECT_EQ(s.GetSeekCount(), 0);
    EXPECT_EQ(s.Seek(5000), 5000);
    EXPECT_EQ(ReadAll(s, 1000), Bytes(pcm.data.begin() + 5000, pcm.data.end()));

    // At the end every Read answers 1 and leaves the count alone, until a seek.
    int32_t count = 77;
    uint8_t buf[100];
    EXPECT_EQ(s.Read(buf, count), 1);
    EXPECT_EQ(count, 77);
    EXPECT_EQ(s.Seek(8990), 8990);
    EXPECT_EQ(ReadAll(s), Bytes(pcm.data.begin() + 8990, pcm.data.end()));

    CSndStrm missing(6, 0xFFFFFFFF);
    EXPECT_FALSE(missing.IsFound());
}

TEST_F(SndStrmTest, SeekPointsRestoreTheLaneStatesOfEveryLane)
{
    // 16-bit stereo has four lanes, each with its own accumulators.
    const PcmSound pcm = Noise(2, 16, 20000);
    CsnOptions o;
    o.mode = 2;
    o.seekEvery = 4096;
    o.level = 300 - 100;
    Library({{1, EncodeCsn(pcm, o)}});
    for (bool fromFile : {false, true}) {
        CSndStrm s(1, 0xFFFFFFFF);
        ASSERT_EQ(s.Open(fromFile), 80000);
        EXPECT_EQ(s.GetLevel(), 200);
        ASSERT_EQ(s.GetSeekCount(), 19);
        const CSndStrm::SeekEntry& point = s.GetSeekTable()[3];
        EXPECT_EQ(point.position, 4 * 4096);
        EXPECT_EQ(s.Seek(4 * 4096), 4 * 4096); // exactly a seek point: nothing to skip
        EXPECT_EQ(ReadAll(s, 4092), Bytes(pcm.data.begin() + 4 * 4096, pcm.data.end()));
        EXPECT_EQ(s.Seek(4 * 4096 + 1002), 4 * 4096 + 1000); // on a whole frame
        EXPECT_EQ(ReadAll(s), Bytes(pcm.data.begin() + 4 * 4096 + 1000, pcm.data.end()));
        EXPECT_EQ(s.Seek(-5), 0);
        EXPECT_EQ(ReadAll(s, 6), pcm.data) << "pieces of part of a frame are cut to whole frames";
    }
}

TEST_F(SndStrmTest, DecodeModesRunPerLane)
{
    // Mode 0 stores the values as they are, so the same data read in mode 1 shows the sums.
    PcmSound raw = Noise(1, 8, 3);
    raw.data = {0x80, 0x81, 0x7F};
    Library({{1, Join({Format(1, 8, 22, 4, 1), Chunk(0, {}), CodedData(raw, 0)})},
             {2, Join({Format(2, 8, 22, 4, 1), Chunk(0, {}), CodedData(Noise(1, 8, 4), 0)})},
             {3, Join({Format(1, 16, 22, 4, 0), Chunk(0, {}), CodedData(Noise(1, 8, 4), 0)})}});
    CSndStrm mono(1, 0xFFFFFFFF);
    ASSERT_EQ(mono.Open(false), 3);
    EXPECT_EQ(ReadAll(mono), (Bytes{0x80, 0x81, 0x80}));

    const Bytes coded = Noise(1, 8, 4).data;
    CSndStrm stereo(2, 0xFFFFFFFF);
    ASSERT_EQ(stereo.Open(false), 4);
    EXPECT_EQ(ReadAll(stereo), (Bytes{static_cast<uint8_t>(coded[0]), static_cast<uint8_t>(coded[1]),
                                      static_cast<uint8_t>(coded[0] + coded[2] - 128),
                                      static_cast<uint8_t>(coded[1] + coded[3] - 128)}));
    CSndStrm wide(3, 0xFFFFFFFF);
    ASSERT_EQ(wide.Open(false), 4);
    EXPECT_EQ(ReadAll(wide), (Bytes{coded[1], coded[0], coded[3], coded[2]}));
}

TEST_F(SndStrmTest, DamagedHeadersAreRefused)
{
    const Bytes data = CodedData(Noise(1, 8, 100), 1);
    const Bytes format = Format(1, 8);
    const Bytes end = Chunk(0, {});
    const auto table = [](int16_t count, int entries) {
        Bytes body{0, 0};
        PutLe(body, static_cast<uint16_t>(count), 2);
        for (int i = 0; i < entries; ++i) {
            PutLe(body, 64 * static_cast<uint32_t>(i + 1), 4);
            body.insert(body.end(), 16, 0x80);
        }
        return Chunk(2, body);
    };
    struct Case {
        const char* what;
        Bytes csn;
    } cases[] = {
        {"a chunk length of 0", Join({Chunk(7, {}, 0), format, end, data})},
        {"a chunk length of 5", Join({format, Chunk(7, {1, 2, 3}, 5), end, data})},
        {"a chunk past the resource", Join({format, Chunk(7, {}, 1000000)})},
        {"no end chunk", Join({format, Chunk(7, {})})},
        {"a format chunk too short", Join({Chunk(1, {1, 8, 22}), end, data})},
        {"a level chunk too short", Join({format, Chunk(3, {1, 2, 3}), end, data})},
        {"a negative seek count", Join({format, table(-1, 0), end, data})},
        {"more seek entries than the chunk holds", Join({format, table(2, 1), end, data})},
        {"a seek point past the sound", Join({format, table(2, 2), end, data})},
        {"no format", Join({end, data})},
        {"0 channels", Join({Format(0, 8), end, data})},
        {"3 channels", Join({Format(3, 8), end, data})},
        {"12 bits", Join({Format(1, 12), end, data})},
        {"rate code 8", Join({Format(1, 8, 8), end, data})},
        {"16-bit samples of an odd length", Join({Format(1, 16), end, CodedData(Noise(1, 8, 101), 0)})},
        {"no coded data", Join({format, end})},
    };
    int32_t id = 1;
    std::vector<std::pair<int32_t, Bytes>> resources;
    for (const Case& c : cases)
        resources.push_back({id++, c.csn});
    Library(resources);
    id = 1;
    for (const Case& c : cases) {
        for (bool fromFile : {false, true}) {
            CSndStrm s(id, 0xFFFFFFFF);
            EXPECT_EQ(s.Open(fromFile), 0) << c.what << (fromFile ? " (file)" : " (memory)");
            int32_t count = 10;
            uint8_t buf[10];
            EXPECT_EQ(s.Read(buf, count), 1) << c.what;
        }
        ++id;
    }
}

TEST_F(SndStrmTest, LevelsAreClampedAndUnknownChunksSkipped)
{
    const Bytes data = CodedData(Noise(1, 8, 100), 1);
    const auto level = [](int32_t l) {
        Bytes body;
        PutLe(body, static_cast<uint32_t>(l), 4);
        PutLe(body, 77, 4);
        return Chunk(3, body);
    };
    Library({{1, Join({Chunk(9, {1, 2, 3, 4}), Format(1, 8, 22, 4, 1), level(300), Chunk(0, {5, 5}), data})},
             {2, Join({Format(1, 8), level(-4), Chunk(0, {}), data})}});
    CSndStrm loud(1, 0xFFFFFFFF);
    EXPECT_EQ(loud.Open(true), 100);
    EXPECT_EQ(loud.GetLevel(), 255);
    EXPECT_EQ(loud.GetSecondValue(), 77);
    EXPECT_EQ(ReadAll(loud), Noise(1, 8, 100).data);
    CSndStrm quiet(2, 0xFFFFFFFF);
    EXPECT_EQ(quiet.Open(false), 100);
    EXPECT_EQ(quiet.GetLevel(), 0);
}

} // namespace
