// The image elements screen's binary resources are what qmimg and qmseq make from the
// committed art and text, so those stay the source of truth.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/TestEnv.h"
#include "tests/support/ToolRun.h"
#include "tools/QmImg.h"
#include "tools/QmSeq.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> FileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(EngineData, TheImageElementsAreMadeFromTheirArt)
{
    const fs::path art = qmtest::SourceDir() / "data" / "engine-art";
    const fs::path data = qmtest::SourceDir() / "data" / "engine";
    struct Case {
        qmtest::ToolMain tool;
        const char* command;
        std::vector<std::string> sources;
        const char* resource;
    };
    const Case cases[] = {
        {RunQmImg, "rls", {"bird-0.png", "bird-1.png", "bird-2.png"}, "RLS/001200.RLS"},
        {RunQmImg,
         "imv",
         {"campfire-0.png", "campfire-1.png", "campfire-2.png", "campfire-3.png"},
         "IMV/001201.IMV"},
        {RunQmSeq, "seq", {"bird.seq.txt"}, "SEQ/001200.SEQ"},
        {RunQmSeq, "cel", {"bird.cel.txt"}, "CEL/001200.CEL"},
    };
    for (const Case& c : cases) {
        const fs::path made = qmtest::TempDir() / "made";
        std::vector<std::string> args{c.command};
        for (const std::string& source : c.sources)
            args.push_back((art / source).string());
        args.push_back(made.string());
        const qmtest::ToolRun r = qmtest::RunTool(c.tool, args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(FileBytes(made), FileBytes(data / c.resource)) << c.resource;
    }
}
