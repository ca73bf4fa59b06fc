// qmscreen renders the screens of the engine data exactly as the committed golden pictures
// show them. After a deliberate change of a screen, its data or the fonts, make the pictures
// again with
//   build/test/tools/qmscreen data/engine --tpl 1000 tests/tools/golden/demo-screen.png
//   build/test/tools/qmscreen data/engine --tpl 1001 tests/tools/golden/controls-screen.png
//   build/test/tools/qmscreen data/engine --tpl 1002 tests/tools/golden/elements-screen.png
//   build/test/tools/qmscreen data/engine --tpl 1003 tests/tools/golden/imagectl-screen.png
//   build/test/tools/qmscreen data/engine --tpl 1004 tests/tools/golden/native-controls-screen.png
//   build/test/tools/qmscreen data/engine --tpl 1005 tests/tools/golden/scroll-list-screen.png
#include <gtest/gtest.h>

#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"
#include "tests/support/ToolRun.h"
#include "tools/PngImage.h"
#include "tools/QmLib.h"
#include "tools/QmScreen.h"

namespace fs = std::filesystem;

namespace {

const fs::path kEngineData = qmtest::SourceDir() / "data" / "engine";

// The engine data packed as the build packs it.
std::string PackedEngineData()
{
    const fs::path packed = qmtest::TempDir() / "engine.qmd";
    const qmtest::ToolRun r = qmtest::RunTool(RunQmLib, {"pack", kEngineData.string(), packed.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    return packed.string();
}

TEST(QmScreen, RendersTheEngineDataScreensAsTheirGoldenPictures)
{
    struct Case {
        const char* tpl;
        const char* golden;
        int width, height;
    };
    const std::string packed = PackedEngineData();
    for (const Case& c :
         {Case{"1000", "demo-screen.png", 320, 184}, Case{"1001", "controls-screen.png", 240, 160},
          Case{"1002", "elements-screen.png", 320, 200}, Case{"1003", "imagectl-screen.png", 240, 160},
          Case{"1004", "native-controls-screen.png", 320, 240},
          Case{"1005", "scroll-list-screen.png", 240, 160}}) {
        const fs::path out = qmtest::TempDir() / "screen.png";
        const qmtest::ToolRun r = qmtest::RunTool(RunQmScreen, {packed, "--tpl", c.tpl, out.string()});
        ASSERT_EQ(r.status, 0) << r.err;
        const IndexedImage made = ReadIndexedPng(out);
        const IndexedImage golden =
            ReadIndexedPng(qmtest::SourceDir() / "tests" / "tools" / "golden" / c.golden);
        EXPECT_EQ(made.width, c.width) << c.tpl;
        EXPECT_EQ(made.height, c.height) << c.tpl;
        EXPECT_EQ(made.palette, golden.palette) << c.tpl;
        EXPECT_TRUE(made.width == golden.width && made.height == golden.height &&
                    made.pixels == golden.pixels)
            << "the screen of TPL " << c.tpl << " differs from its golden picture";
    }
}

TEST(QmScreen, LibrariesAreSearchedInTheOrderGiven)
{
    // A first library with a white colour table and a list without a window template.
    qmtest::FolderLibraryWriter first(qmtest::TempDir() / "first");
    std::string table{static_cast<char>(0),   0, static_cast<char>(250), static_cast<char>(250),
                      static_cast<char>(250), 0};
    first.Add("CLT", 1, table);
    first.Add("TPL", 7, "1, 1, 0, 9, 0, 0, 0, 0, 0, 0, 30, 40\n");
    const fs::path out = qmtest::TempDir() / "screen.png";
    const qmtest::ToolRun r = qmtest::RunTool(
        RunQmScreen, {first.Folder().string(), kEngineData.string(), "--tpl", "7", out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const IndexedImage made = ReadIndexedPng(out);
    EXPECT_EQ(made.width, 40); // a top-level window of the root's size
    EXPECT_EQ(made.height, 30);
    EXPECT_EQ(made.pixels, std::vector<uint8_t>(40 * 30, 255));
    const IndexedImage engine =
        ReadIndexedPng(qmtest::SourceDir() / "tests" / "tools" / "golden" / "demo-screen.png");
    EXPECT_NE(made.palette[10], engine.palette[10]); // the first library's colour table
}

TEST(QmScreen, DialogWindowTemplateShowsTheRootsSize)
{
    qmtest::FolderLibraryWriter dialog(qmtest::TempDir() / "dialog");
    dialog.Add("TPL", 8, "0x35, 50, 0, -1, -1, 1, \"General store\"\n1, 1, 0, 9, 0, 0, 0, 0, 0, 0, 30, 40\n");
    const fs::path out = qmtest::TempDir() / "dialog.png";
    const qmtest::ToolRun r = qmtest::RunTool(
        RunQmScreen, {dialog.Folder().string(), kEngineData.string(), "--tpl", "8", out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const IndexedImage made = ReadIndexedPng(out);
    EXPECT_EQ(made.width, 40);
    EXPECT_EQ(made.height, 30);
    EXPECT_EQ(made.pixels, std::vector<uint8_t>(40 * 30, 255));
}

TEST(QmScreen, BadInputIsOneErrorLine)
{
    qmtest::FolderLibraryWriter bad(qmtest::TempDir() / "bad");
    bad.Add("TPL", 5, "1, 1, 0, 9, 0, 0, 0, 0, 0, 0, 10, 10\n77, 2\n"); // an unknown kind
    bad.Add("TPL", 6, "// nothing\n");
    const std::string out = (qmtest::TempDir() / "x.png").string();
    const std::string data = kEngineData.string();
    const std::string noPalette = (qmtest::TempDir() / "bad").string();
    struct Case {
        std::vector<std::string> args;
        const char* error;
    } cases[] = {
        {{}, "usage: qmscreen"},
        {{data, out}, "usage: qmscreen"},
        {{data, "--tpl"}, "usage: qmscreen"},
        {{data, "--tpl", "x1", out}, "bad template list: x1"},
        {{"nowhere", "--tpl", "1000", out}, "nowhere: cannot open the library"},
        {{data, "--tpl", "4", out}, "Resource not found: TPL 4"},
        {{data, noPalette, "--tpl", "5", out}, "Bad definition text:  5"},
        {{data, noPalette, "--tpl", "6", out}, "template list 6 builds no frame"},
        {{noPalette, "--tpl", "6", out}, "the libraries hold no CLT"},
        {{data, "--tpl", "1000", "--palette", "9", out}, "no resource CLT 9"},
    };
    for (const Case& c : cases) {
        const qmtest::ToolRun r = qmtest::RunTool(RunQmScreen, c.args);
        EXPECT_EQ(r.status, 1) << c.error;
        EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

} // namespace
