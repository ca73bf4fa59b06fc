#include "tests/game/action/RiverFixture.h"

#include <filesystem>
#include <sstream>

#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "tests/engine/controls/anim/AnimTestKit.h"
#include "tests/support/FolderLibraryWriter.h"
#include "tests/support/FrameStripFixtures.h"
#include "tests/support/LibraryFixtures.h"
#include "tests/support/RleFixtures.h"
#include "tests/support/TestEnv.h"

namespace rivertest {

namespace {

std::string Quoted(const std::vector<std::string>& lines)
{
    std::ostringstream out;
    for (const std::string& line : lines)
        out << '"' << line << "\" ";
    out << '\n';
    return out.str();
}

std::vector<uint8_t> Picture(const Grid& grid)
{
    return qmtest::MakeFrameStrip({qmtest::CodedFrame(grid.width, grid.height, grid.bytes)});
}

// A sprite of `cels` cels, each 3 rows of 6 pixels, with its sequence (one animation over the
// cels, 4 ticks a frame) and cel table.
void AddSprite(qmtest::FolderLibraryWriter& lib, int32_t id, int cels)
{
    const qmtest::RleCelSpec cel{3, 6, {0x00, 0, 0x04, 2, 0x00, 0, 0x04, 2, 0x00, 0, 0x04, 2}};
    lib.Add("RLS", id, qmtest::MakeRls(std::vector<qmtest::RleCelSpec>(static_cast<size_t>(cels), cel)));
    std::vector<animtest::Frame> frames;
    std::vector<animtest::Anim> anims;
    for (int i = 0; i < cels; ++i)
        frames.push_back({i, 0, 3, 0, 0, 0});
    for (int a = 0; a < 4; ++a)
        anims.push_back({0, 255, 4, cels});
    lib.Add("SEQ", id, animtest::Text(animtest::SeqBytes(anims, frames)));
    lib.Add("CEL", id, animtest::Text(animtest::CelBytes(std::vector<std::pair<int, int>>(cels, {0, 0}))));
}

} // namespace

Grid Fill(int16_t width, int16_t height, uint8_t value)
{
    return Grid{width, height, std::vector<uint8_t>(static_cast<size_t>(width * height), value)};
}

void WriteRiver(const Grid& map, const Grid& heights, const Settings& s, const std::string& sceneryList)
{
    qmtest::UseTempDirAsDriveC();
    // A test may write several rivers: each replaces the last.
    while (GetLibMgr()->GetCount() > 0)
        GetLibMgr()->RemoveLibraryByIndex(0);
    std::filesystem::remove_all(qmtest::TempDir() / "River.qmd");
    qmtest::FolderLibraryWriter lib(qmtest::TempDir() / "River.qmd");
    lib.Add("STR", C3DScene::kSetUpRecord, Quoted({"0", "7999", "7990"}));
    std::vector<std::string> cursors;
    for (int32_t i = 0; i < 25; ++i)
        cursors.push_back(std::to_string(kCursorBase + i));
    lib.Add("STR", 7999, Quoted(cursors));
    lib.Add("STR", 7990,
            Quoted({"finemesh 9 4", "0 0 0", "8 0 0", "16 0 0", "0 0 8", "8 0 8", "16 0 8", "0 0 16",
                    "8 0 16", "16 0 16", "34 4 0 3 4 1", "34 4 1 4 5 2", "34 4 3 6 7 4", "34 4 4 7 8 5"}));
    lib.Add("STR", kMapIds, Quoted({std::to_string(kMap)}));
    lib.Add("STR", kHeightIds, Quoted({std::to_string(kHeights)}));
    lib.Add("STR", kSceneryIds, Quoted({std::to_string(kSettings)}));
    lib.Add("STR", kSettings,
            Quoted({"River", "note", "0", "0", std::to_string(s.roughness), std::to_string(s.passThrough),
                    std::to_string(s.heading), std::to_string(s.moving), std::to_string(s.damageLimit),
                    std::to_string(kSceneryList), std::to_string(kRaft), std::to_string(s.panorama), "0",
                    std::to_string(s.groundColour)}));
    lib.Add("STR", kSceneryList,
            sceneryList.empty() ? Quoted({"-1", std::to_string(kRipple), "[scenery]", std::to_string(kTree),
                                          std::to_string(kBoulder)})
                                : sceneryList);
    lib.Add("STR", kTree, Quoted({"a tree", "on the bank", "0", "6", "1", "0"}));
    lib.Add("STR", kBoulder, Quoted({"a boulder", "in the water", "0", "8", "0", "0"}));
    AddSprite(lib, kRaft, 2);
    AddSprite(lib, kRipple, 2);
    AddSprite(lib, kTree, 1);
    AddSprite(lib, kBoulder, 1);
    if (map.width > 0)
        lib.Add("CBM", kMap, Picture(map));
    if (heights.width > 0)
        lib.Add("CBM", kHeights, Picture(heights));
    GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>(qmtest::EnginePath(lib.Folder()).c_str()));
}

SceneRig::SceneRig() : frame_(1, CRect(0, 0, kHeight, kWidth), &env_), view_(&frame_)
{
    env_.Init(CRect(0, 0, kHeight, kWidth), nullptr, false);
}

SceneRig::~SceneRig() { scene_.reset(); }

C3DScene& SceneRig::Make(bool deferred, int16_t river)
{
    scene_ = std::make_unique<C3DScene>(ViewRect(), env_.GetBitmap(), &view_, &frame_, kMapIds, kHeightIds,
                                        kSceneryIds);
    scene_->SetUp(river, deferred);
    return *scene_;
}

} // namespace rivertest
