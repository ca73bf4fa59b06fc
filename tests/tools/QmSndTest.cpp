#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>

#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"
#include "tests/support/ToolRun.h"
#include "tools/QmLib.h"
#include "tools/QmSnd.h"
#include "tools/WavFile.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;
using qmtest::ToolRun;

ToolRun QmSnd(const std::vector<std::string>& args) { return qmtest::RunTool(RunQmSnd, args); }

Bytes ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// A tone with noise, a stretch of silence (fills) and a loud stretch that clips.
PcmSound Sound(uint16_t channels, uint16_t bits, uint32_t rate, size_t frames)
{
    PcmSound s;
    s.channels = channels;
    s.bits = bits;
    s.rate = rate;
    std::mt19937 rng(channels * 100 + bits);
    for (size_t i = 0; i < frames; ++i)
        for (uint16_t c = 0; c < channels; ++c) {
            double v = 0.5 * std::sin(static_cast<double>(i) / (5.0 + c)) + (rng() % 100) / 1000.0;
            if (i / 700 % 4 == 2)
                v = 0;
            else if (i / 700 % 4 == 3)
                v *= 3;
            v = std::clamp(v, -1.0, 1.0);
            if (bits == 8) {
                s.data.push_back(static_cast<uint8_t>(std::lround(127.5 + v * 127.5)));
            } else {
                const auto x = static_cast<int16_t>(std::lround(v * 32767));
                s.data.push_back(static_cast<uint8_t>(x & 0xFF));
                s.data.push_back(static_cast<uint8_t>((x >> 8) & 0xFF));
            }
        }
    return s;
}

class QmSndTest : public testing::Test {
protected:
    fs::path Dir() const { return qmtest::TempDir(); }
    fs::path Library() const { return Dir() / "lib"; }
    // The resource file of "CSN" id in the folder library.
    fs::path Csn(int32_t id) const
    {
        return Library() / "CSN" / qmtest::FolderLibraryWriter::FileName("CSN", id);
    }

    fs::path WriteWav(const std::string& name, const PcmSound& s) const
    {
        const fs::path path = Dir() / name;
        qmtest::WriteFile(path, WavBytes(s));
        return path;
    }

    // Makes "CSN" id from the sound with the given options; the test fails on an error.
    void Make(int32_t id, const PcmSound& s, std::vector<std::string> options = {})
    {
        fs::create_directories(Library() / "CSN");
        std::vector<std::string> args{"make", WriteWav("in.wav", s).string(), Csn(id).string()};
        args.insert(args.end(), options.begin(), options.end());
        const ToolRun r = QmSnd(args);
        ASSERT_EQ(r.status, 0) << r.err;
    }

    // The WAV file qmsnd wav writes for "CSN" id.
    Bytes Wav(int32_t id, std::vector<std::string> options = {})
    {
        const fs::path out = Dir() / "out.wav";
        std::vector<std::string> args{"wav", Library().string(), std::to_string(id), out.string()};
        args.insert(args.end(), options.begin(), options.end());
        const ToolRun r = QmSnd(args);
        EXPECT_EQ(r.status, 0) << r.err;
        Bytes bytes = ReadBytes(out);
        fs::remove(out);
        return bytes;
    }
};

TEST_F(QmSndTest, EveryModeFormatAndSeekTableGivesTheInputBack)
{
    int32_t id = 1;
    for (int mode = 0; mode <= 4; ++mode)
        for (uint16_t bits : {8, 16})
            for (uint16_t channels : {1, 2}) {
                // 16-bit stereo over 32767 bytes, so the file stream turns its buffers.
                const size_t frames = channels * bits == 32 ? 8500 + mode : 1500 + mode;
                const PcmSound s = Sound(channels, bits, mode % 2 ? 11025 : 44100, frames);
                const Bytes expected = WavBytes(s);
                SCOPED_TRACE(testing::Message()
                             << "mode " << mode << ", " << bits << " bits, " << channels << " channels");
                Make(id, s, {"--mode", std::to_string(mode)});
                Make(id + 1, s, {"--mode", std::to_string(mode), "--seek-every", "1024", "--level", "99"});
                for (int32_t made : {id, id + 1}) {
                    EXPECT_EQ(Wav(made), expected);
                    EXPECT_EQ(Wav(made, {"--streamed"}), expected);
                }
                id += 2;
            }
    // One state word per seek point serves mono 8-bit sound.
    const PcmSound mono = Sound(1, 8, 22050, 5000);
    Make(100, mono, {"--mode", "4", "--seek-every", "64", "--state-width", "1"});
    EXPECT_EQ(Wav(100), WavBytes(mono));
    PcmSound tail = mono;
    tail.data.erase(tail.data.begin(), tail.data.begin() + 4096);
    EXPECT_EQ(Wav(100, {"--seek", "4096", "--streamed"}), WavBytes(tail));
}

TEST_F(QmSndTest, SeekingGivesTheTailOfTheWholeDecode)
{
    const PcmSound s = Sound(2, 16, 22050, 12000); // 48000 bytes
    Make(1, s, {"--mode", "3", "--seek-every", "4096"});
    Make(2, s, {"--mode", "2"});
    for (int32_t id : {1, 2})
        for (int32_t pos : {0, 4, 4096, 4100, 40000, 47996, 48000}) {
            SCOPED_TRACE(testing::Message() << "CSN " << id << " from " << pos);
            PcmSound tail = s;
            tail.data.erase(tail.data.begin(), tail.data.begin() + pos);
            std::vector<std::string> options{"--seek", std::to_string(pos)};
            if (pos % 3 != 0)
                options.push_back("--streamed");
            EXPECT_EQ(Wav(id, options), WavBytes(tail));
        }
}

TEST_F(QmSndTest, ASingleFileLibraryStreamsFromTheResourcesPlaceInTheFile)
{
    const PcmSound first = Sound(1, 8, 22050, 3000);
    const PcmSound second = Sound(2, 16, 22050, 9000); // 36000 bytes
    Make(1, first, {"--seek-every", "512"});
    Make(2, second, {"--mode", "2", "--seek-every", "4096"});
    const fs::path packed = Dir() / "sounds.qmd";
    const ToolRun pack = qmtest::RunTool(RunQmLib, {"pack", Library().string(), packed.string()});
    ASSERT_EQ(pack.status, 0) << pack.err;
    PcmSound tail = second;
    tail.data.erase(tail.data.begin(), tail.data.begin() + 8192);
    for (bool streamed : {true, false}) {
        const fs::path out = Dir() / "out.wav";
        std::vector<std::string> args{"wav", packed.string(), "2", out.string(), "--seek", "8192"};
        if (streamed)
            args.push_back("--streamed");
        ASSERT_EQ(QmSnd(args).status, 0) << streamed;
        EXPECT_EQ(ReadBytes(out), WavBytes(tail)) << streamed;
        ASSERT_EQ(QmSnd({"wav", packed.string(), "1", out.string(), "--streamed"}).status, 0);
        EXPECT_EQ(ReadBytes(out), WavBytes(first));
    }
}

TEST_F(QmSndTest, TheOutputIsTheCanonicalWavOfTheInput)
{
    // An input with an extra chunk before the data and odd data: the output drops the chunk
    // and pads the data, counting the pad in the RIFF size.
    Bytes in = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E',
                'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    const Bytes fmt = {'f',  'm',  't', ' ', 16,   0,    0, 0, 1, 0, 1, 0,
                       0x22, 0x56, 0,   0,   0x22, 0x56, 0, 0, 1, 0, 8, 0};
    in.insert(in.end(), fmt.begin(), fmt.end());
    const Bytes data = {'d', 'a', 't', 'a', 3, 0, 0, 0, 0x80, 0x90, 0x70, 0};
    in.insert(in.end(), data.begin(), data.end());
    in[4] = static_cast<uint8_t>(in.size() - 8);
    qmtest::WriteFile(Dir() / "odd.wav", in);
    fs::create_directories(Library() / "CSN");
    ASSERT_EQ(QmSnd({"make", (Dir() / "odd.wav").string(), Csn(7).string()}).status, 0);
    Bytes expected = {'R', 'I', 'F', 'F', 40, 0, 0, 0, 'W', 'A', 'V', 'E'};
    expected.insert(expected.end(), fmt.begin(), fmt.end());
    expected.insert(expected.end(), data.begin(), data.end());
    EXPECT_EQ(Wav(7), expected);
}

TEST_F(QmSndTest, InfoDescribesTheResource)
{
    Make(3, Sound(2, 16, 44100, 3000), {"--mode", "3", "--seek-every", "1024", "--level", "200"});
    Make(4, Sound(1, 8, 11025, 100), {"--state-width", "1"});
    ToolRun r = QmSnd({"info", Library().string(), "3"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "channels 2\nbits 16\nrate 44100\nmode 3\nstate-width 4\nlevel 200\nlength 12000\n"
                     "seek-points 11\n");
    r = QmSnd({"info", Library().string(), "4"});
    EXPECT_EQ(r.out, "channels 1\nbits 8\nrate 11025\nmode 1\nstate-width 1\nlevel 255\nlength 100\n"
                     "seek-points 0\n");
}

TEST_F(QmSndTest, BadInputIsOneErrorLineAndLeavesNoFile)
{
    const PcmSound good = Sound(1, 8, 22050, 500);
    Make(1, good);
    const Bytes csn = ReadBytes(Csn(1));
    qmtest::WriteFile(Csn(2), Bytes(csn.begin(), csn.begin() + static_cast<std::ptrdiff_t>(csn.size() / 2)));
    qmtest::WriteFile(Csn(3), Bytes(csn.begin(), csn.begin() + 10));

    PcmSound adpcm = good;
    Bytes notPcm = WavBytes(adpcm);
    notPcm[20] = 2;
    qmtest::WriteFile(Dir() / "adpcm.wav", notPcm);
    PcmSound odd = good;
    odd.rate = 8000;
    const fs::path oddRate = WriteWav("8000.wav", odd);
    odd = good;
    odd.channels = 3;
    const fs::path threeChannels = WriteWav("3ch.wav", odd);
    const fs::path stereo = WriteWav("stereo.wav", Sound(2, 8, 22050, 100));
    qmtest::WriteFile(Dir() / "text.wav", std::string_view("hello"));
    const std::string goodWav = WriteWav("good.wav", good).string();

    const std::string lib = Library().string();
    const fs::path out = Dir() / "out";
    struct Case {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{"make", (Dir() / "adpcm.wav").string(), out.string()}, "not PCM (format 2)"},
        {{"make", oddRate.string(), out.string()}, "8000 Hz (11025, 22050 or 44100)"},
        {{"make", threeChannels.string(), out.string()}, "3 channels (1 or 2)"},
        {{"make", (Dir() / "text.wav").string(), out.string()}, "not a WAV file"},
        {{"make", (Dir() / "none.wav").string(), out.string()}, "cannot read"},
        {{"make", goodWav, out.string(), "--mode", "5"}, "mode out of range: 5"},
        {{"make", goodWav, out.string(), "--level", "256"}, "level out of range: 256"},
        {{"make", goodWav, out.string(), "--seek-every", "100"},
         "seek-every 100 (a positive multiple of 64)"},
        {{"make", goodWav, out.string(), "--seek-every", "0"}, "seek-every out of range: 0"},
        {{"make", goodWav, out.string(), "--state-width", "2"},
         "state-width 2 (4, or 1 for mono 8-bit sound)"},
        {{"make", stereo.string(), out.string(), "--state-width", "1"},
         "state-width 1 (4, or 1 for mono 8-bit sound)"},
        {{"wav", lib, "9", out.string()}, lib + ": no resource CSN 9"},
        {{"wav", lib, "2", out.string()}, "CSN 2 is damaged or cut short"},
        {{"wav", lib, "2", out.string(), "--streamed"}, "CSN 2 is damaged or cut short"},
        {{"wav", lib, "3", out.string()}, "CSN 3 is damaged or cut short"},
        {{"wav", lib, "1", out.string(), "--seek", "501"},
         "seek position 501 (whole frames of 1 bytes, at most 500)"},
        {{"wav", lib, "1", out.string(), "--speed"}, "unknown option: --speed"},
        {{"info", lib, "3"}, "CSN 3 is damaged or cut short"},
        {{"play", lib}, "unknown command: play"},
    };
    for (const Case& c : cases) {
        const ToolRun r = QmSnd(c.args);
        EXPECT_EQ(r.status, 1) << c.args[0] << " " << c.error;
        EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
        EXPECT_EQ(r.err.rfind("qmsnd: ", 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_FALSE(fs::exists(out)) << c.error;
    }
}

} // namespace
