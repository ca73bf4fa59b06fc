// Sets up river scenes from arbitrary small maps and height pictures: the input's first two
// bytes are the map's width and height (1..32 each), then come the map's bytes (its legend in
// rows 0 and 1) and the height picture's (the same size; missing bytes are 0). The scene is set
// up over a fixed scenery list, built and stepped a few times with the mouse over each zone,
// so whatever the map holds reaches the legend, the terrain, the moves and the drawing.
// Run: fuzz_RiverSceneFuzz fuzz/corpus/RiverSceneFuzz
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/controls/AnimFrame.h"
#include "engine/framework/Util.h"
#include "engine/graphics/OffScEnv.h"
#include "engine/resources/FoldLib.h"
#include "engine/resources/LibMgr.h"
#include "fuzz/support/FuzzSupport.h"
#include "game/action/3DScene.h"
#include "game/action/3DView.h"
#include "platform/Files.h"
#include "tools/ImageEncoder.h"

namespace {

constexpr int kMaxSide = 32;
constexpr int16_t kViewWidth = 64;
constexpr int16_t kViewHeight = 40;
constexpr int kSteps = 6;

std::string FileName(const char* type, int id)
{
    char name[16];
    std::snprintf(name, sizeof name, "%06d.%s", id, type);
    return name;
}

void WriteText(const std::filesystem::path& folder, int id, const std::string& text)
{
    std::filesystem::create_directories(folder / "STR");
    std::ofstream(folder / "STR" / FileName("STR", id)) << text << "\n";
}

// The fixed records: the set-up (no cursors, the fine mesh), the ids of river 0, its settings
// and a scenery list of one section.
const std::filesystem::path& Folder()
{
    static const std::filesystem::path folder = [] {
        const std::filesystem::path path = fuzz::MakeTempFolder("qm-riverfuzz");
        const std::filesystem::path data = path / "data";
        WriteText(data, C3DScene::kSetUpRecord, "\"0\" \"0\" \"7990\"");
        WriteText(
            data, 7990,
            "\"m 9 4\" \"0 0 0\" \"8 0 0\" \"16 0 0\" \"0 0 8\" \"8 0 8\" \"16 0 8\" \"0 0 16\" \"8 0 16\" "
            "\"16 0 16\" \"34 4 0 3 4 1\" \"34 4 1 4 5 2\" \"34 4 3 6 7 4\" \"34 4 4 7 8 5\"");
        WriteText(data, 1, "\"100\"");
        WriteText(data, 2, "\"101\"");
        WriteText(data, 3, "\"20\"");
        WriteText(data, 20,
                  "\"R\" \"r\" \"0\" \"0\" \"3\" \"0\" \"0\" \"1\" \"50\" \"30\" \"0\" \"0\" \"0\" \"-1\"");
        WriteText(data, 30, "\"-1\" \"-1\" \"[s]\" \"31\" \"32\"");
        WriteText(data, 31, "\"a\" \"b\" \"0\" \"12\" \"0\"");
        // The pictures are written again for each input, under the same names.
        std::filesystem::create_directories(data / "CBM");
        std::ofstream(data / "CBM" / FileName("CBM", 100));
        std::ofstream(data / "CBM" / FileName("CBM", 101));
        plat::SetDrives({{'C', path, plat::DriveKind::Fixed}});
        GetLibMgr()->AddLibrary(std::make_unique<CFoldLib>("C:\\data"));
        return path;
    }();
    return folder;
}

void WritePicture(int id, int width, int height, const std::vector<uint8_t>& pixels)
{
    const PictureView view{pixels.data(), width, height, width};
    const std::vector<uint8_t> strip = BuildFrameStrip(
        {StripFrame{static_cast<int16_t>(width), static_cast<int16_t>(height), EncodeBlockImage(view)}});
    std::ofstream(Folder() / "data" / "CBM" / FileName("CBM", id), std::ios::binary)
        .write(reinterpret_cast<const char*>(strip.data()), static_cast<std::streamsize>(strip.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Guarded([&] {
        if (size < 2)
            return;
        const int width = 1 + data[0] % kMaxSide;
        const int height = 1 + data[1] % kMaxSide;
        const size_t cells = static_cast<size_t>(width * height);
        std::vector<uint8_t> map(cells, 0), heights(cells, 0);
        for (size_t i = 0; i < cells && 2 + i < size; ++i)
            map[i] = data[2 + i];
        for (size_t i = 0; i < cells && 2 + cells + i < size; ++i)
            heights[i] = data[2 + cells + i];
        Folder();
        WritePicture(100, width, height, map);
        WritePicture(101, width, height, heights);

        CUtil::SetRandomSeed(1);
        const CRect rect(0, 0, kViewHeight, kViewWidth);
        COffScEnv env;
        env.Init(rect, nullptr, false);
        CAnimFrame frame(1, rect, &env);
        C3DView view(&frame);
        C3DScene scene(rect, env.GetBitmap(), &view, &frame, 1, 2, 3);
        scene.SetUp(0, (size & 1) != 0);
        scene.Resume();
        for (int i = 0; i < kSteps && scene.GetStatus() != C3DScene::kFailed; ++i) {
            const CRect& zone = scene.GetZone(static_cast<int16_t>(i % C3DScene::kZoneCount));
            scene.SetMousePoint(zone.TopLeft());
            scene.SetDetailLevel(static_cast<int16_t>(i % 5));
            scene.Step();
        }
    });
    return 0;
}
