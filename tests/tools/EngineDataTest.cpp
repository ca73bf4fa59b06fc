// The engine data's binary resources are what qmimg makes from the committed art, so the art
// stays the source of truth.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestEnv.h"
#include "tools/QmImg.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> FileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The art of one picture strip, one PNG a frame: PREFIX0.png to PREFIX(n - 1).png.
std::vector<std::string> Numbered(const std::string& prefix, int n)
{
    std::vector<std::string> pngs;
    for (int i = 0; i < n; ++i)
        pngs.push_back(prefix + std::to_string(i) + ".png");
    return pngs;
}

TEST(EngineData, BinaryResourcesAreMadeFromTheArt)
{
    const fs::path art = qmtest::SourceDir() / "data" / "engine-art";
    const fs::path data = qmtest::SourceDir() / "data" / "engine";
    struct Case {
        const char* command;
        std::vector<std::string> pngs;
        const char* resource;
    };
    std::vector<std::string> scrollBar; // the scroll bar's eleven images, one frame each
    for (int i = 0; i <= 10; ++i)
        scrollBar.push_back((i < 10 ? "scrollbar-0" : "scrollbar-") + std::to_string(i) + ".png");
    for (const Case& c :
         {Case{"clt", {"palette.png"}, "CLT/000001.CLT"}, Case{"cbm", {"picture.png"}, "CBM/000100.CBM"},
          Case{"cbm", {"sprite.png"}, "CBM/000101.CBM"}, Case{"cbm", scrollBar, "CBM/000102.CBM"},
          Case{"cbm", {"imagectl-background.png"}, "CBM/001300.CBM"},
          Case{"cbm", Numbered("imagectl-sign-", 3), "CBM/001301.CBM"},
          Case{"cbm", Numbered("imagectl-wheel-", 3), "CBM/001302.CBM"},
          Case{"cbm", Numbered("imagectl-face-", 3), "CBM/001303.CBM"},
          Case{"cbm", Numbered("imagectl-check-", 6), "CBM/001304.CBM"},
          Case{"cbm", Numbered("imagectl-radio-", 6), "CBM/001305.CBM"},
          Case{"cbm", Numbered("imagectl-bar-", 5), "CBM/001306.CBM"},
          Case{"cbm", {"imagectl-track.png"}, "CBM/001307.CBM"}}) {
        const fs::path made = qmtest::TempDir() / "made";
        std::vector<std::string> args{c.command};
        for (const std::string& png : c.pngs)
            args.push_back((art / png).string());
        args.push_back(made.string());
        std::ostringstream out, err;
        ASSERT_EQ(RunQmImg(args, out, err), 0) << err.str();
        EXPECT_EQ(FileBytes(made), FileBytes(data / c.resource)) << c.resource;
    }
}

} // namespace
