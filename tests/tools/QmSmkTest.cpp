#include <gtest/gtest.h>

#include <fstream>

#include "platform/VideoReference.h"
#include "tests/support/ClipFixtures.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"
#include "tests/support/ToolRun.h"
#include "tools/PngImage.h"
#include "tools/QmLib.h"
#include "tools/QmSmk.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;
using qmtest::ToolRun;

ToolRun QmSmk(const std::vector<std::string>& args) { return qmtest::RunTool(RunQmSmk, args); }

Bytes ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

class QmSmkTest : public testing::Test {
protected:
    fs::path Dir() const { return qmtest::TempDir(); }

    // Writes the clip's frames as PNG files (palettes of 200 colours, padded with black by
    // the tool) and answers their paths.
    std::vector<std::string> WritePngs(const ClipSource& clip, const std::string& prefix = "frame") const
    {
        std::vector<std::string> paths;
        for (size_t k = 0; k < clip.frames.size(); ++k) {
            std::vector<PngColor> colors(200);
            for (int i = 0; i < 200; ++i)
                colors[i] = {clip.frames[k].palette[i * 3], clip.frames[k].palette[i * 3 + 1],
                             clip.frames[k].palette[i * 3 + 2]};
            Bytes pixels = clip.frames[k].pixels;
            for (auto& p : pixels)
                p = static_cast<uint8_t>(p % 200);
            const fs::path path = Dir() / (prefix + std::to_string(k) + ".png");
            WriteIndexedPng(path, clip.width, clip.height, pixels, colors);
            paths.push_back(path.string());
        }
        return paths;
    }

    // "make" with the options; the test fails on an error.
    fs::path Make(const ClipSource& clip, std::vector<std::string> options,
                  const std::string& name = "out.smk")
    {
        const fs::path out = Dir() / name;
        std::vector<std::string> args{"make"};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(out.string());
        for (const auto& p : WritePngs(clip))
            args.push_back(p);
        const ToolRun r = QmSmk(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return out;
    }

    fs::path WriteWav(const PcmSound& s) const
    {
        const fs::path path = Dir() / "in.wav";
        qmtest::WriteFile(path, WavBytes(s));
        return path;
    }
};

TEST_F(QmSmkTest, DecodeGivesThePlainDecodesPicturesAndSamples)
{
    const ClipSource clip = qmtest::ClipWithEveryBlockKind(24, 16, 4);
    for (bool raw : {false, true})
        for (uint16_t bits : {8, 16}) {
            SCOPED_TRACE(testing::Message() << raw << ' ' << bits);
            const PcmSound sound = qmtest::ClipSound(2, bits, 22050, 9000);
            std::vector<std::string> options{"--fps", "15", "--wav", WriteWav(sound).string()};
            if (raw)
                options.push_back("--raw-audio");
            const fs::path smk = Make(clip, options);
            const fs::path rgb = Dir() / "out.rgb";
            const fs::path pcm = Dir() / "out.pcm";
            const ToolRun r = QmSmk({"decode", smk.string(), rgb.string(), pcm.string()});
            ASSERT_EQ(r.status, 0) << r.err;
            const auto plain = plat::DecodeClipPlainly(smk);
            ASSERT_TRUE(plain);
            Bytes expected;
            for (int k = 0; k < plain->frames; ++k)
                for (uint8_t p : plain->pictures[k])
                    expected.insert(expected.end(), {plain->palettes[k][p * 3], plain->palettes[k][p * 3 + 1],
                                                     plain->palettes[k][p * 3 + 2]});
            EXPECT_EQ(ReadBytes(rgb), expected);
            EXPECT_EQ(ReadBytes(pcm), plain->sound[1]);
            EXPECT_EQ(ReadBytes(pcm), sound.data);
        }
}

TEST_F(QmSmkTest, InfoShowsSizeFramesTimeAndTracks)
{
    const ClipSource clip = qmtest::ClipWithEveryBlockKind(8, 12, 3);
    const fs::path silent = Make(clip, {"--fps", "30"}, "silent.smk");
    ToolRun r = QmSmk({"info", silent.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "width 8\nheight 12\nframes 3\nframe-time 33330\n");
    const fs::path sound =
        Make(clip, {"--wav", WriteWav(qmtest::ClipSound(1, 16, 11025, 100)).string()}, "sound.smk");
    r = QmSmk({"info", sound.string()});
    EXPECT_EQ(r.out, "width 8\nheight 12\nframes 3\nframe-time 100000\ntrack 1 11025 1 16\n");
    // A clip without sound gives an empty sound file.
    const fs::path pcm = Dir() / "none.pcm";
    ASSERT_EQ(QmSmk({"decode", silent.string(), (Dir() / "x.rgb").string(), pcm.string()}).status, 0);
    EXPECT_TRUE(fs::exists(pcm));
    EXPECT_EQ(fs::file_size(pcm), 0u);
}

TEST_F(QmSmkTest, ShowGoesToAFrameAndWritesItWithTheClipsPalette)
{
    const ClipSource clip = qmtest::ClipWithEveryBlockKind(16, 8, 5);
    const fs::path smk = Make(clip, {});
    for (int n : {4, 1, 3, 0}) { // counted from 0
        SCOPED_TRACE(n);
        const fs::path png = Dir() / "shown.png";
        const ToolRun r = QmSmk({"show", smk.string(), "--frame", std::to_string(n), png.string()});
        ASSERT_EQ(r.status, 0) << r.err;
        const IndexedImage image = ReadIndexedPng(png);
        ASSERT_EQ(image.palette.size(), 256u);
        for (size_t i = 0; i < image.pixels.size(); ++i)
            ASSERT_EQ(image.pixels[i], clip.frames[n].pixels[i] % 200) << i;
        EXPECT_EQ(image.palette[5].r, qmtest::ShownColor(clip.frames[n].palette[15]));
        EXPECT_EQ(image.palette[250], (PngColor{0, 0, 0})); // padded with black
    }
}

TEST_F(QmSmkTest, AClipInAFolderOrSingleFileLibraryPlaysLikeItsFile)
{
    const ClipSource clip = qmtest::ClipWithEveryBlockKind(8, 8, 3);
    const fs::path lib = Dir() / "lib";
    fs::create_directories(lib / "SMK");
    const fs::path smk = Make(clip, {"--wav", WriteWav(qmtest::ClipSound(1, 8, 11025, 500)).string()},
                              "lib/SMK/" + qmtest::FolderLibraryWriter::FileName("SMK", 1701));
    const fs::path packed = Dir() / "clips.qmd";
    ASSERT_EQ(qmtest::RunTool(RunQmLib, {"pack", lib.string(), packed.string()}).status, 0);
    auto decode = [&](std::vector<std::string> source) {
        std::vector<std::string> args{"decode"};
        args.insert(args.end(), source.begin(), source.end());
        args.push_back((Dir() / "a.rgb").string());
        args.push_back((Dir() / "a.pcm").string());
        const ToolRun r = QmSmk(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return ReadBytes(Dir() / "a.rgb");
    };
    const Bytes fromFile = decode({smk.string()});
    ASSERT_FALSE(fromFile.empty());
    EXPECT_EQ(decode({"--lib", lib.string(), "1701"}), fromFile);
    EXPECT_EQ(decode({"--lib", packed.string(), "1701"}), fromFile);
}

TEST_F(QmSmkTest, ErrorsAreOneLineAndLeaveNoFile)
{
    const ClipSource clip = qmtest::ClipWithEveryBlockKind(8, 8, 2);
    const fs::path smk = Make(clip, {});
    const auto pngs = WritePngs(qmtest::ClipWithEveryBlockKind(12, 8, 1), "wide");
    const std::string out = (Dir() / "made.smk").string();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "qmsmk: usage: "},
        {{"play"}, "qmsmk: unknown command: play\n"},
        {{"make", "--fps", "0", out, pngs[0]}, "qmsmk: fps out of range: 0\n"},
        {{"make", "--fps", "101", out, pngs[0]}, "qmsmk: fps out of range: 101\n"},
        {{"make", out, pngs[0], WritePngs(clip)[0]}, "every frame must be 12 x 8"},
        {{"info", (Dir() / "missing.smk").string()}, "cannot play the clip"},
        {{"decode", smk.string(), out, "--track", "2"}, "qmsmk: the clip has no track 2\n"},
        {{"show", smk.string(), "--frame", "2", out}, "qmsmk: frame out of range: 2\n"},
        {{"show", smk.string(), "--frame", "-1", out}, "qmsmk: frame out of range: -1\n"},
        {{"info", "--lib", (Dir() / "nolib").string(), "5"}, "cannot open the library"},
    };
    for (const auto& [args, message] : cases) {
        SCOPED_TRACE(args.empty() ? "" : args[0]);
        const ToolRun r = QmSmk(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
        EXPECT_FALSE(fs::exists(out));
    }
}

} // namespace
