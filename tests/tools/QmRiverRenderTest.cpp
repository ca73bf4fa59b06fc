// qmriver render and the sample river, Cedar Run, drawn at its start at the detail levels and
// at the end of a run steered down to its end cells, against golden pictures. After a
// deliberate change of the scene's drawing or the river's data, make them again with
//   QM_UPDATE_GOLDEN=1 build/test/tests/test_tools --gtest_filter='QmRiverRender*:SampleRiver*'
#include <gtest/gtest.h>

#include <cmath>

#include "engine/framework/Util.h"
#include "engine/graphics/Palette.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/GoldenPicture.h"
#include "tests/support/TestEnv.h"
#include "tests/support/ToolRun.h"
#include "tools/EngineLibrary.h"
#include "tools/PngImage.h"
#include "tools/ScreenPicture.h"
#include "tools/river/QmRiver.h"
#include "tools/river/RiverRig.h"

namespace fs = std::filesystem;

namespace {

const std::string kSampleData = (qmtest::SourceDir() / "data" / "game" / "QM3Data").string();
const fs::path kGoldenFolder = qmtest::SourceDir() / "tests" / "tools" / "golden";
// The forward speed the scripted run keeps to.
constexpr double kRunSpeed = 4;

qmtest::ToolRun QmRiver(const std::vector<std::string>& args) { return qmtest::RunTool(RunQmRiver, args); }

void ExpectFrame(RiverRig& rig, const std::vector<PngColor>& colours, const char* golden)
{
    const fs::path made = qmtest::TempDir() / golden;
    WriteIndexedPng(made, 640, 400, rig.Pixels(), colours);
    qmtest::ExpectGoldenPicture(made, kGoldenFolder / golden);
}

// Where the mouse steers the raft toward a column `off` cells away (positive: toward higher
// columns, the zones on the left) over the 640 x 400 view: the top zones speed up, the bottom
// ones slow down, so the raft goes at about half speed.
CPoint SteeringPoint(int32_t off, double forward)
{
    const int16_t x = off > 0 ? 80 : off < 0 ? 560 : 320;
    return CPoint(x, forward > kRunSpeed ? 350 : 50);
}

// The column the run keeps to on a row of the sample river: the channel's middle (as the
// river's art script draws it), beside the rocks at rows 20, 35 and 47
// and the log at row 28.
int32_t ChannelColumn(int32_t row)
{
    const auto centre = static_cast<int32_t>(std::lround(12 + 3 * std::sin(row / 9.0)));
    if (row >= 16 && row <= 23)
        return centre + 2;
    if (row >= 24 && row <= 38)
        return centre - 2;
    if (row >= 43 && row <= 50)
        return centre + 2;
    return centre;
}

} // namespace

TEST(QmRiverRender, DrawsTheSampleRiverAtItsStartAsItsGolden)
{
    const fs::path out = qmtest::TempDir() / "river.png";
    const qmtest::ToolRun r = QmRiver({"render", kSampleData, "--records", "7010", "7011", "7012", "--river",
                                       "0", "--seed", "1", out.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    const IndexedImage made = ReadIndexedPng(out);
    EXPECT_EQ(made.width, 640);
    EXPECT_EQ(made.height, 400);
    qmtest::ExpectGoldenPicture(out, kGoldenFolder / "river-start.png");
}

TEST(QmRiverRender, ARiverWithoutPicturesAndBadArgumentsAreErrors)
{
    qmtest::FolderLibraryWriter lib(qmtest::TempDir() / "NoRiver.qmd");
    lib.Add("CLT", 1, std::string(768, '\0'));
    lib.Add("STR", 10, "\"500\"\n");
    const std::string folder = lib.Folder().string();
    const std::string out = (qmtest::TempDir() / "none.png").string();
    const std::string usage =
        "qmriver: usage: qmriver render LIBRARY... --records MAPS HEIGHTS SCENERY --river R "
        "[--seed N] [--steps K] [--detail L] [--palette ID] OUT.png\n";
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    for (const Case& c : {
             Case{{"render", folder, "--records", "10", "10", "10", "--river", "0", out},
                  "qmriver: river 0: the scene could not be set up (no map or height picture)\n"},
             Case{{"render", folder, "--records", "10", "10", "10", "--river", "3", out},
                  "qmriver: river 3: the scene could not be set up (no map or height picture)\n"},
             Case{{"render", folder, "--river", "0", out}, usage},
             Case{{"render", folder, "--records", "10", "10", "--river", "0", out},
                  "qmriver: bad record: --river\n"},
             Case{{"render", folder, "--records", "10", "10", "10", "--river", "0"}, usage},
             Case{{"render", folder, "--records", "10", "10", "10", "--river", "0", "--detail", "5", out},
                  "qmriver: detail out of range: 5\n"},
             Case{{"render", folder, "--records", "10", "10", "10", "--river", "0", "--steps", "0", out},
                  "qmriver: steps out of range: 0\n"},
         }) {
        const qmtest::ToolRun r = QmRiver(c.args);
        EXPECT_EQ(r.status, 1) << c.err;
        EXPECT_EQ(r.err, c.err);
        EXPECT_FALSE(fs::exists(out)) << c.err;
    }
}

// The sample river in one library load: its start at detail levels 0 and 4 (3 is the tool's
// golden), then a run from the start cell steered forward through the top zones, the current
// and the bank's push keeping the raft in the channel, to the end cells.
TEST(SampleRiver, DrawsItsDetailLevelsAndRunsFromTheStartToAnEndCell)
{
    EngineLibrary library(kSampleData);
    library.Run([&] {
        const std::vector<PngColor> colours = PaletteColours(*LoadScreenPalette(std::nullopt));
        for (const auto& [detail, golden] : {std::pair<int16_t, const char*>{0, "river-detail-0.png"},
                                             std::pair<int16_t, const char*>{4, "river-detail-4.png"}}) {
            RiverRig rig(640, 400, RiverRecords{});
            CUtil::SetRandomSeed(1);
            rig.Scene().SetUp(0, false);
            rig.Scene().SetDetailLevel(detail);
            ASSERT_EQ(rig.Scene().Step(), C3DScene::kRunning);
            ExpectFrame(rig, colours, golden);
        }

        RiverRig rig(640, 400, RiverRecords{});
        CUtil::SetRandomSeed(1);
        C3DScene& scene = rig.Scene();
        scene.SetUp(0, false);
        int32_t steps = 0;
        int16_t status = C3DScene::kRunning;
        while (status == C3DScene::kRunning && steps < 1000) {
            const int32_t row = C3DScene::RowOf(rig.View().GetZ());
            const int32_t column = C3DScene::ColumnOf(rig.View().GetX());
            const int32_t target = ChannelColumn(row);
            scene.SetMousePoint(SteeringPoint(target - column, scene.GetForwardSpeed()));
            status = scene.Step();
            ++steps;
        }
        EXPECT_EQ(status, C3DScene::kEndReached) << "after " << steps << " steps";
        EXPECT_EQ(scene.GetDamage(), 0);
        EXPECT_GT(C3DScene::RowOf(rig.View().GetZ()), 50);
        ExpectFrame(rig, colours, "river-end.png");
    });
}
