#include <gtest/gtest.h>

#include "tests/game/action/RefusedModelTexts.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/TestEnv.h"
#include "tests/support/ToolRun.h"
#include "tools/river/QmRiver.h"

namespace fs = std::filesystem;

namespace {

using qmtest::ToolRun;

ToolRun QmRiver(const std::vector<std::string>& args) { return qmtest::RunTool(RunQmRiver, args); }

// Model texts as "STR" definition text: each line one quoted string.
std::string Strings(const std::vector<std::string>& lines)
{
    std::string text = "// a model text\n";
    for (const std::string& line : lines)
        text += "\"" + line + "\"\n";
    return text;
}

class QmRiverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qmtest::FolderLibraryWriter lib(qmtest::TempDir() / "Models.qmd");
        // The colour words of the format, commas and comments.
        lib.Add("STR", 100,
                Strings({"colours 4 4  ; four colour words", "0 0 0", "2 0 0", "2 3 0", "0 3 1.5  # the last",
                         "0X7f 3 0 1 2", "255,3,1,2,3", "4351 4 0 1 2 3 # 9 9 9", "0xF0C8, 3, 3, 2, 0"}));
        lib.Add("STR", 101, Strings({"empty 0 0"}));
        lib.Add("STR", 102, Strings({"tri 3 1", "0 0 0", "2 0 0", "0 3 0", "7 3 0 1 5"}));
        folder = lib.Folder();
    }

    fs::path folder;
};

} // namespace

TEST_F(QmRiverTest, PrintsAModelAsTheGameReadsIt)
{
    const ToolRun r = QmRiver({"model", folder.string(), "100"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "model 4 4\n"
                     "vertex 0.000000 0.000000 0.000000\n"
                     "vertex 2.000000 0.000000 0.000000\n"
                     "vertex 2.000000 3.000000 0.000000\n"
                     "vertex 0.000000 3.000000 1.500000\n"
                     "polygon 3 127 0 0 1 2 6.000000\n"
                     "polygon 3 255 0 1 2 3 7.500000\n"
                     "polygon 4 255 1 0 1 2 3 6.000000\n"
                     "polygon 3 200 -1 3 2 0 8.077747\n"
                     "radius 3.605551\n");
}

TEST_F(QmRiverTest, ScalesTheCoordinatesAndPrintsAnEmptyModel)
{
    const ToolRun scaled = QmRiver({"model", folder.string(), "100", "--scale", "0.5"});
    ASSERT_EQ(scaled.status, 0) << scaled.err;
    EXPECT_NE(scaled.out.find("vertex 1.000000 1.500000 0.000000\n"), std::string::npos) << scaled.out;
    EXPECT_NE(scaled.out.find("radius 1.802776\n"), std::string::npos) << scaled.out;

    const ToolRun empty = QmRiver({"model", folder.string(), "101"});
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.out, "model 0 0\nradius 0.000000\n");
}

TEST_F(QmRiverTest, SearchesTheLibrariesInOrder)
{
    qmtest::FolderLibraryWriter first(qmtest::TempDir() / "First.qmd");
    first.Add("STR", 101, Strings({"other 1 0", "1 2 3"}));
    EXPECT_EQ(QmRiver({"model", first.Folder().string(), folder.string(), "101"}).out,
              "model 1 0\nvertex 1.000000 2.000000 3.000000\nradius 3.741657\n");
    EXPECT_EQ(QmRiver({"model", folder.string(), first.Folder().string(), "101"}).out,
              "model 0 0\nradius 0.000000\n");
}

TEST_F(QmRiverTest, ARefusedOrMissingModelIsOneLineNamingItsNumber)
{
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const std::string lib = folder.string();
    const Case cases[] = {
        {{"model", lib, "102"}, "qmriver: 102: polygon 0: index 5 is outside 0..2\n"},
        {{"model", lib, "7"}, "qmriver: 7: there is no model text\n"},
        {{"model", lib}, "qmriver: usage: qmriver model LIBRARY... NUMBER [--scale S]\n"},
        {{"model", lib, "100", "--scale"}, "qmriver: usage: qmriver model LIBRARY... NUMBER [--scale S]\n"},
        {{"model", lib, "100", "--scale", "half"}, "qmriver: bad scale: half\n"},
        {{"model", lib, "100", "--scale", "inf"}, "qmriver: bad scale: inf\n"},
        {{"model", lib, "x100"}, "qmriver: bad number: x100\n"},
        {{"model", (qmtest::TempDir() / "none").string(), "100"},
         "qmriver: " + (qmtest::TempDir() / "none").string() + ": cannot open the library\n"},
        {{"draw"}, "qmriver: unknown command: draw\n"},
        {{}, "qmriver: usage: qmriver model LIBRARY... NUMBER [--scale S]\n"},
    };
    for (const Case& c : cases) {
        const ToolRun r = QmRiver(c.args);
        EXPECT_EQ(r.status, 1) << c.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
}

TEST(QmRiverRefusals, EveryRefusedTextIsOneLineNamingItsNumberAndTheReason)
{
    qmtest::FolderLibraryWriter lib(qmtest::TempDir() / "Refused.qmd");
    const std::vector<modeltest::RefusedText>& texts = modeltest::RefusedTexts();
    for (size_t i = 0; i < texts.size(); ++i)
        lib.Add("STR", 300 + static_cast<int32_t>(i), Strings(texts[i].lines));
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string number = std::to_string(300 + i);
        const ToolRun r = QmRiver({"model", lib.Folder().string(), number});
        EXPECT_EQ(r.status, 1) << texts[i].error;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "qmriver: " + number + ": " + texts[i].error + "\n");
    }
}

TEST(QmRiverSample, TheSampleFineMeshIsACellOfFourQuads)
{
    const std::string lib = (qmtest::SourceDir() / "data" / "game" / "QM3Data").string();
    const ToolRun mesh = QmRiver({"model", lib, "7990"});
    ASSERT_EQ(mesh.status, 0) << mesh.err;
    EXPECT_EQ(mesh.out, "model 9 4\n"
                        "vertex 0.000000 0.000000 0.000000\n"
                        "vertex 8.000000 0.000000 0.000000\n"
                        "vertex 16.000000 0.000000 0.000000\n"
                        "vertex 0.000000 0.000000 8.000000\n"
                        "vertex 8.000000 0.000000 8.000000\n"
                        "vertex 16.000000 0.000000 8.000000\n"
                        "vertex 0.000000 0.000000 16.000000\n"
                        "vertex 8.000000 0.000000 16.000000\n"
                        "vertex 16.000000 0.000000 16.000000\n"
                        "polygon 4 34 0 0 3 4 1 64.000000\n"
                        "polygon 4 34 0 1 4 5 2 64.000000\n"
                        "polygon 4 34 0 3 6 7 4 64.000000\n"
                        "polygon 4 34 0 4 7 8 5 64.000000\n"
                        "radius 22.627417\n");
    const ToolRun pyramid = QmRiver({"model", lib, "7991"});
    ASSERT_EQ(pyramid.status, 0) << pyramid.err;
    EXPECT_NE(pyramid.out.find("polygon 3 144 1 0 4 1 "), std::string::npos) << pyramid.out;
    EXPECT_NE(pyramid.out.find("polygon 4 140 -1 0 1 2 3 64.000000\n"), std::string::npos) << pyramid.out;
}
