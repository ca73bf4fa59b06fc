// Model texts read into models, the models made from coordinate tables, and their geometry.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/framework/Str.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "engine/resources/RecReader.h"
#include "game/action/3DView.h"
#include "tests/game/action/RefusedModelTexts.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"

namespace {

// A record reader over the lines as its entries.
std::unique_ptr<CRecReader> Lines(const std::vector<std::string>& lines)
{
    auto reader = std::make_unique<CRecReader>();
    for (const std::string& line : lines)
        reader->Add(std::make_unique<CStr>(line.c_str()));
    return reader;
}

struct Loaded {
    bool ok = false;
    C3DModel model;
    std::string error;
};

Loaded Load(const std::vector<std::string>& lines, double scale = 1)
{
    C3DView view(nullptr);
    Loaded loaded;
    loaded.ok = view.LoadModel(*Lines(lines), loaded.model, scale, &loaded.error);
    return loaded;
}

} // namespace

TEST(ModelText, ColourWordsGiveTheColourAndTheTopFourBitsAsFlags)
{
    struct Case {
        const char* word;
        uint16_t colour;
        int16_t flags;
    };
    const Case cases[] = {
        {"0X7f", 127, 0},   {"255", 255, 0}, {"4351", 255, 1},     {"0xF0C8", 200, -1},
        {"0x1080", 128, 1}, {"010", 10, 0},  {"-1", 255, -1},      {"0xFFFFFFFF", 255, -1},
        {"0x7000", 0, 7},   {"65536", 0, 0}, {"4294967297", 1, 0},
    };
    for (const Case& c : cases) {
        const Loaded loaded = Load(modeltest::Triangle(std::string(c.word) + " 3 0 1 2"));
        ASSERT_TRUE(loaded.ok) << c.word << ": " << loaded.error;
        EXPECT_EQ(loaded.model.polygons[0].colour, c.colour) << c.word;
        EXPECT_EQ(loaded.model.polygons[0].colourCopy, c.colour) << c.word;
        EXPECT_EQ(loaded.model.polygons[0].flags, c.flags) << c.word;
    }
}

TEST(ModelText, PolygonWordsSplitAtBlanksAndPunctuationAndCommentsAreCutOff)
{
    const Loaded quad = Load({"  quad 4 1 trailing words", "0 0 0", "1 0 0", "1 1 0", "0 1 0 and more",
                              "12, 4, 0, 1, 2, 3 # 7 9 are not read", ""});
    ASSERT_TRUE(quad.ok) << quad.error;
    const C3DPolygon& p = quad.model.polygons[0];
    EXPECT_EQ(p.colour, 12);
    EXPECT_EQ(p.vertexCount, 4);
    EXPECT_EQ((std::vector<int>{p.indices[0], p.indices[1], p.indices[2], p.indices[3]}),
              (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(p.visible, 1);
    EXPECT_EQ(p.culled, 0);
    EXPECT_EQ(p.legend, nullptr);

    for (const char* line : {"12,3,0,1,2", "12.3!0?1:2\t\v\f\r", "12 3 2 1 0 ; 9"}) {
        const Loaded loaded = Load(modeltest::Triangle(line));
        ASSERT_TRUE(loaded.ok) << line << ": " << loaded.error;
        EXPECT_EQ(loaded.model.polygons[0].colour, 12) << line;
        EXPECT_EQ(loaded.model.polygons[0].vertexCount, 3) << line;
    }
}

TEST(ModelText, VerticesAreSinglePrecisionWidenedThenScaledAndTheGeometryFollows)
{
    const Loaded loaded = Load({"tri 3 1", "0.1 0 0", "2 0 0 # x y z", "0 3 0", "7 3 0 1 2"}, 2.0);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_EQ(loaded.model.model[0].x, static_cast<double>(0.1f) * 2.0);
    EXPECT_EQ(loaded.model.model[2].y, 6.0);
    // a = v1 - v0, b = v2 - v0, the length of b x a.
    const double ax = 4.0 - static_cast<double>(0.1f) * 2.0;
    const double bx = -static_cast<double>(0.1f) * 2.0;
    const double nz = bx * 0.0 - 6.0 * ax;
    EXPECT_EQ(loaded.model.polygons[0].normalLength, std::sqrt(nz * nz));
    EXPECT_EQ(loaded.model.radius, 6.0);
    EXPECT_EQ(loaded.model.scaleMarker, 1);
}

TEST(ModelText, AModelWithNothingHasRadiusZero)
{
    const Loaded loaded = Load({"empty 0 0"});
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_EQ(loaded.model.vertexCount, 0);
    EXPECT_EQ(loaded.model.polygonCount, 0);
    EXPECT_EQ(loaded.model.radius, 0.0);
}

TEST(ModelText, TextsThatBreakARuleGiveNoModel)
{
    for (const modeltest::RefusedText& c : modeltest::RefusedTexts()) {
        const Loaded loaded = Load(c.lines);
        EXPECT_FALSE(loaded.ok) << c.error;
        EXPECT_EQ(loaded.error, c.error);
    }
}

TEST(ModelText, ModelsTakeTheViewsCounterInTurn)
{
    C3DView view(nullptr);
    C3DModel model;
    std::string error;
    ASSERT_TRUE(view.LoadModel(*Lines(modeltest::Triangle("1 3 0 1 2")), model, 1, &error));
    EXPECT_EQ(model.number, 0);
    EXPECT_FALSE(view.LoadModel(*Lines({"name 31 0"}), model, 1, &error));
    const std::unique_ptr<C3DModel> made = view.MakeModel(kMarkerQuad, 1);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->number, 1);
    EXPECT_EQ(view.GetModelCounter(), 2);
}

TEST(ModelText, MadeModelsAreOnePolygonOfColour159AndFlags1)
{
    C3DView view(nullptr);
    const std::unique_ptr<C3DModel> tile = view.MakeModel(kGroundTile, 2);
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(tile->vertexCount, 4);
    EXPECT_EQ(tile->model[2].x, 32.0);
    EXPECT_EQ(tile->model[2].z, 32.0);
    EXPECT_EQ(tile->polygonCount, 1);
    const C3DPolygon& p = tile->polygons[0];
    EXPECT_EQ(p.vertexCount, 4);
    EXPECT_EQ(p.colour, 159);
    EXPECT_EQ(p.flags, 1);
    EXPECT_EQ((std::vector<int>{p.indices[0], p.indices[1], p.indices[2], p.indices[3]}),
              (std::vector<int>{0, 1, 2, 3}));
    // a = (0, 0, 32), b = (32, 0, 32): b x a = (0, -1024, 0).
    EXPECT_EQ(p.normalLength, 1024.0);
    EXPECT_EQ(tile->radius, std::sqrt(2048.0));
    EXPECT_EQ(tile->position.x, 0.0);

    const double xs[] = {0, 1, 0};
    const double ys[] = {0, 0, 1};
    const double zs[] = {0, 0, 0};
    EXPECT_NE(view.MakeModel(xs, ys, zs, 3, 1), nullptr);
    EXPECT_EQ(view.MakeModel(xs, ys, zs, 2, 1), nullptr);
    EXPECT_EQ(view.MakeModel(xs, ys, zs, 5, 1), nullptr);
}

TEST(ModelText, ModelsLoadByIdFromTheLibrariesAndAMissingRecordIsNoFatalReport)
{
    qmtest::UseTempDirAsDriveC();
    qmtest::FolderLibraryWriter lib(qmtest::TempDir() / "Models.qmd");
    lib.Add("STR", 7000,
            "// a comment of the definition text\n\"tri 3 1\" \"0 0 0\" \"2 0 0\" \"0 3 0\"\n"
            "\"0x1080, 3, 0, 1, 2 # the front\"\n");
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>(qmtest::EnginePath(lib.Folder()).c_str()));
    C3DView view(nullptr);
    std::string error;
    const std::unique_ptr<C3DModel> model = LoadModelById(view, 7000, 0.5, &error);
    ASSERT_NE(model, nullptr) << error;
    EXPECT_EQ(model->model[2].y, 1.5);
    EXPECT_EQ(model->polygons[0].colour, 128);
    EXPECT_EQ(model->position.z, 0.0);

    EXPECT_EQ(LoadModelById(view, 7001, 1, &error), nullptr);
    EXPECT_EQ(error, "there is no model text");

    std::unique_ptr<CRecReader> reader = Lines(modeltest::Triangle("9 3 0 1 2"));
    const std::unique_ptr<C3DModel> placed = CreateModel(view, 1, 2, 3, *reader, 1);
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(placed->position.x, 1.0);
    EXPECT_EQ(placed->position.z, 3.0);
}
