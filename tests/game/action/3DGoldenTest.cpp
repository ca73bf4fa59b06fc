// Three models at a fixed camera, drawn into a 320 x 200 engine bitmap, against a golden
// picture: the sample fine ground mesh with raised vertices, the sample pyramid and a ground
// tile, over a sky and ground fill. QM_UPDATE_GOLDEN=1 makes the picture again:
//   QM_UPDATE_GOLDEN=1 build/test/tests/test_game_action --gtest_filter='ViewGolden*'
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/graphics/DibSect.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "game/action/3DView.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/TestEnv.h"
#include "tools/PngImage.h"

namespace fs = std::filesystem;

namespace {

constexpr int16_t kWidth = 320;
constexpr int16_t kHeight = 200;
constexpr uint8_t kSky = 0x2f;
constexpr uint8_t kGround = 0x22;

// A palette that tells the indices apart: a few hues at several levels.
std::vector<PngColor> Palette()
{
    std::vector<PngColor> colours;
    for (int32_t i = 0; i < 256; ++i)
        colours.push_back({static_cast<uint8_t>(i * 97 % 256), static_cast<uint8_t>(i * 57 % 256),
                           static_cast<uint8_t>(i * 31 % 256)});
    return colours;
}

std::vector<uint8_t> TopDownPixels(CDibSect& bitmap)
{
    std::vector<uint8_t> pixels;
    for (int16_t y = 0; y < kHeight; ++y)
        for (int16_t x = 0; x < kWidth; ++x)
            pixels.push_back(bitmap.GetPixel(x, y));
    return pixels;
}

} // namespace

TEST(ViewGolden, ThreeModelsAtAFixedCamera)
{
    // The sample models, in a library of their own.
    qmtest::UseTempDirAsDriveC();
    qmtest::FolderLibraryWriter lib(qmtest::TempDir() / "Models.qmd");
    const fs::path strings = qmtest::SourceDir() / "data" / "game" / "QM3Data" / "STR";
    for (const int32_t id : {7990, 7991})
        lib.Add("STR", id, qmtest::ReadWholeFile(strings / qmtest::FolderLibraryWriter::FileName("STR", id)));
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>(qmtest::EnginePath(lib.Folder()).c_str()));

    CDibSect bitmap(CRect(0, 0, kHeight, kWidth), CPoint(0, 0), 8, 0);
    C3DView view(nullptr);
    view.AttachBitmap(bitmap, nullptr);
    std::string error;
    const std::unique_ptr<C3DModel> mesh = LoadModelById(view, 7990, 3.0, &error);
    ASSERT_NE(mesh, nullptr) << error;
    const std::unique_ptr<C3DModel> pyramid = LoadModelById(view, 7991, 2.5, &error);
    ASSERT_NE(pyramid, nullptr) << error;
    const std::unique_ptr<C3DModel> tile = view.MakeModel(kGroundTile, 2.0);
    // A hill on the mesh: its middle and one edge raised.
    mesh->model[4].y = 14;
    mesh->model[5].y = 6;
    for (int16_t i = 0; i < mesh->polygonCount; ++i)
        mesh->polygons[i].colour = static_cast<uint16_t>(60 + 7 * i);
    mesh->position = C3DPoint{-50, -14, 70, 0};
    pyramid->position = C3DPoint{12, -14, 60, 0};
    tile->position = C3DPoint{-20, -14, 130, 0};
    tile->polygons[0].colour = 200;

    view.SetPosition(C3DPoint{0, 30, 0, 0});
    view.AddPitch(12);
    view.AddHeading(355);
    view.SetFocal(260);
    view.BuildViewMatrix();

    bitmap.LockBits();
    view.SetPixels(&bitmap, bitmap.GetBits());
    view.FillRows(kSky, CRect(0, 0, 79, kWidth));
    view.FillRows(kGround, CRect(80, 0, kHeight - 1, kWidth));
    for (C3DModel* model : {mesh.get(), pyramid.get(), tile.get()})
        EXPECT_TRUE(view.QueueModel(*model));
    view.DrawList(false);
    view.SetPixels(nullptr, nullptr);
    bitmap.UnlockBits();

    const fs::path made = qmtest::TempDir() / "three-models.png";
    WriteIndexedPng(made, kWidth, kHeight, TopDownPixels(bitmap), Palette());
    const fs::path golden = qmtest::SourceDir() / "tests" / "game" / "action" / "golden" / "three-models.png";
    if (const char* update = std::getenv("QM_UPDATE_GOLDEN"); update && *update == '1') {
        fs::create_directories(golden.parent_path());
        fs::copy_file(made, golden, fs::copy_options::overwrite_existing);
    }
    const IndexedImage got = ReadIndexedPng(made);
    const IndexedImage want = ReadIndexedPng(golden);
    EXPECT_EQ(got.width, want.width);
    EXPECT_EQ(got.height, want.height);
    EXPECT_TRUE(got.pixels == want.pixels) << "the three models differ from their golden picture";
}
