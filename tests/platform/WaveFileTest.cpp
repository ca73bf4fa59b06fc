#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/SoundDevice.h"
#include "platform/SoundFiles.h"
#include "platform/WaveFile.h"
#include "tests/support/TestEnv.h"

namespace fs = std::filesystem;

namespace {

void Put16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, static_cast<uint16_t>(v));
    Put16(out, static_cast<uint16_t>(v >> 16));
}
void PutChunk(std::vector<uint8_t>& out, const char* id, const std::vector<uint8_t>& body, bool pad = true)
{
    out.insert(out.end(), id, id + 4);
    Put32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (pad && body.size() % 2)
        out.push_back(0);
}
std::vector<uint8_t> Format(uint16_t format, uint16_t channels, uint32_t rate, uint16_t bits)
{
    std::vector<uint8_t> f;
    Put16(f, format);
    Put16(f, channels);
    Put32(f, rate);
    Put32(f, rate * channels * bits / 8);
    Put16(f, static_cast<uint16_t>(channels * bits / 8));
    Put16(f, bits);
    return f;
}
// A RIFF file around the chunks; riffSize overrides the header's size when not negative.
std::vector<uint8_t> Riff(const std::vector<uint8_t>& chunks, int64_t riffSize = -1)
{
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
    Put32(out, riffSize >= 0 ? static_cast<uint32_t>(riffSize) : static_cast<uint32_t>(chunks.size() + 4));
    out.insert(out.end(), {'W', 'A', 'V', 'E'});
    out.insert(out.end(), chunks.begin(), chunks.end());
    return out;
}
std::vector<uint8_t> Wave(uint16_t channels, uint32_t rate, uint16_t bits, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> chunks;
    PutChunk(chunks, "fmt ", Format(1, channels, rate, bits));
    PutChunk(chunks, "data", data);
    return Riff(chunks);
}

TEST(WaveFile, ReadsPcmAndRefusesWhatItCannotPlay)
{
    std::vector<uint8_t> listFirst;
    PutChunk(listFirst, "LIST", {1, 2, 3}); // odd: padded
    PutChunk(listFirst, "fmt ", Format(1, 2, 44100, 16));
    PutChunk(listFirst, "data", {1, 2, 3, 4, 5, 6, 7, 8, 9});
    std::vector<uint8_t> noData;
    PutChunk(noData, "fmt ", Format(1, 1, 22050, 8));
    std::vector<uint8_t> longChunk;
    PutChunk(longChunk, "fmt ", Format(1, 1, 22050, 8));
    longChunk.insert(longChunk.end(), {'d', 'a', 't', 'a', 0xFF, 0xFF, 0xFF, 0x7F, 1, 2});
    std::vector<uint8_t> shortFormat;
    PutChunk(shortFormat, "fmt ", std::vector<uint8_t>(14, 0));
    std::vector<uint8_t> riffCutsData;
    PutChunk(riffCutsData, "fmt ", Format(1, 1, 22050, 8));
    PutChunk(riffCutsData, "data", {1, 2, 3, 4});

    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* error; // empty: read
        uint16_t channels, bits;
        uint32_t rate;
        size_t frames;
    } cases[] = {
        {"mono 8-bit", Wave(1, 22050, 8, {0x80, 0x90, 0xA0}), "", 1, 8, 22050, 3},
        {"stereo 16-bit, other chunks first, a partial frame cut", Riff(listFirst), "", 2, 16, 44100, 2},
        {"empty data", Wave(1, 11025, 8, {}), "", 1, 8, 11025, 0},
        {"not RIFF", std::vector<uint8_t>{'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'},
         "not a WAV file", 0, 0, 0, 0},
        {"too short", std::vector<uint8_t>{'R', 'I', 'F', 'F'}, "not a WAV file", 0, 0, 0, 0},
        {"compressed", Riff([] {
             std::vector<uint8_t> c;
             PutChunk(c, "fmt ", Format(2, 1, 22050, 4));
             return c;
         }()),
         "not PCM (format 2)", 0, 0, 0, 0},
        {"three channels", Wave(3, 22050, 8, {}), "3 channels (1 or 2)", 0, 0, 0, 0},
        {"24 bits", Wave(1, 22050, 24, {}), "24 bits per sample (8 or 16)", 0, 0, 0, 0},
        {"rate 0", Wave(1, 0, 8, {}), "a sample rate of 0", 0, 0, 0, 0},
        {"short format", Riff(shortFormat), "the format chunk is too short", 0, 0, 0, 0},
        {"no format", Riff([] {
             std::vector<uint8_t> c;
             PutChunk(c, "data", {1});
             return c;
         }()),
         "no format chunk", 0, 0, 0, 0},
        {"no data", Riff(noData), "no data chunk", 0, 0, 0, 0},
        {"chunk past the end", Riff(longChunk), "chunk \"data\" runs past the end of the file", 0, 0, 0, 0},
        {"RIFF size cuts the data", Riff(riffCutsData, 4 + 24 + 8 + 2),
         "chunk \"data\" runs past the end of the file", 0, 0, 0, 0},
        {"RIFF size below the WAVE tag", Riff(riffCutsData, 0), "no format chunk", 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        std::string error;
        const std::optional<plat::WaveSound> sound = plat::ReadWave(c.bytes.data(), c.bytes.size(), &error);
        EXPECT_EQ(error, c.error) << c.name;
        if (!*c.error && sound) {
            EXPECT_EQ(sound->channels, c.channels) << c.name;
            EXPECT_EQ(sound->bitsPerSample, c.bits) << c.name;
            EXPECT_EQ(sound->sampleRate, c.rate) << c.name;
            EXPECT_EQ(sound->FrameCount(), c.frames) << c.name;
            EXPECT_EQ(sound->partialBytes, c.frames == 2 ? 1u : 0u) << c.name; // 9 bytes of 4-byte frames
        }
        EXPECT_EQ(sound.has_value(), !*c.error) << c.name;
    }
}

class SoundFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::SetDrives({{'C', qmtest::TempDir(), plat::DriveKind::Fixed}});
        // 1 s at 11025 Hz and 0.5 s at 22050 Hz.
        Write("long.wav", Wave(1, 11025, 8, std::vector<uint8_t>(11025, 0xC0)));
        std::vector<uint8_t> quiet;
        for (int i = 0; i < 11025; ++i)
            Put16(quiet, 1000);
        Write("short.wav", Wave(1, 22050, 16, quiet));
        Write("broken.wav", {'R', 'I', 'F', 'F', 1});
    }
    static void Write(const char* name, const std::vector<uint8_t>& bytes)
    {
        std::ofstream(qmtest::TempDir() / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    // What the output mixed since the last look: "silence", a sample value every frame held
    // on both sides, or "mixed".
    static std::string Heard()
    {
        const std::vector<int16_t> out = plat::GetSoundFileDevice()->TakeOutput();
        if (out.empty())
            return "nothing";
        for (int16_t s : out)
            if (s != out[0])
                return "mixed";
        return out[0] == 0 ? "silence" : std::to_string(out[0]);
    }
    static std::string Playing()
    {
        const auto playing = plat::GetPlayingSoundFile();
        return playing ? playing->path : "(silence)";
    }
};

TEST_F(SoundFiles, ANewSoundCutsOffTheOnePlayingAndBadFilesAreSilent)
{
    auto& clock = qmtest::Clock();
    const uint64_t t0 = clock.NowMs();
    EXPECT_TRUE(plat::PlaySoundFile("C:\\LONG.WAV"));
    EXPECT_EQ(Playing(), "C:\\LONG.WAV");
    clock.Advance(300);
    EXPECT_EQ(Heard(), "16384");                       // (0xC0 - 128) x 256 on both sides
    EXPECT_TRUE(plat::PlaySoundFile("C:\\short.wav")); // cuts the long one off at 300 ms
    clock.Advance(499);
    EXPECT_EQ(Playing(), "C:\\short.wav");
    EXPECT_EQ(Heard(), "1000");
    clock.Advance(1);
    EXPECT_EQ(Playing(), "(silence)"); // ran out after 500 ms
    clock.Advance(100);
    EXPECT_EQ(Heard(), "mixed"); // its last frames, then silence

    EXPECT_TRUE(plat::PlaySoundFile("C:\\long.wav"));
    clock.Advance(100);
    EXPECT_EQ(Heard(), "16384");
    EXPECT_FALSE(plat::PlaySoundFile("C:\\missing.wav")); // silent, and the long one is cut off
    EXPECT_EQ(Playing(), "(silence)");
    EXPECT_FALSE(plat::PlaySoundFile("C:\\broken.wav"));
    clock.Advance(100);
    EXPECT_EQ(Heard(), "silence");
    EXPECT_TRUE(plat::PlaySoundFile("C:\\short.wav"));
    plat::StopSoundFile();
    clock.Advance(100);
    EXPECT_EQ(Playing(), "(silence)");
    EXPECT_EQ(Heard(), "silence");

    const std::vector<plat::SoundFilePlay> want = {
        {"C:\\LONG.WAV", t0, t0 + 300},
        {"C:\\short.wav", t0 + 300, t0 + 800},
        {"C:\\long.wav", t0 + 900, t0 + 1000},
        {"C:\\short.wav", t0 + 1100, t0 + 1100},
    };
    const auto& log = plat::GetSoundFileLog();
    ASSERT_EQ(log.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(log[i].path, want[i].path) << i;
        EXPECT_EQ(log[i].startMs, want[i].startMs) << i;
        EXPECT_EQ(log[i].endMs, want[i].endMs) << i;
    }
}

} // namespace
