#pragma once
// A river scene over a small folder library: the scene's set-up and cursor records, the fine
// ground mesh, the three id records (river 0), the river settings, a scenery list and its
// scenery records with their sprites, and a map and height picture the test states as rows of
// bytes. The scene draws into a 160 x 100 view of an off-screen bitmap through an animated
// frame; the mouse point is set by the test.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/controls/AnimFrame.h"
#include "engine/graphics/OffScEnv.h"
#include "game/action/3DScene.h"
#include "game/action/3DView.h"

namespace rivertest {

// Record ids of the fixture.
constexpr int32_t kMapIds = 7010;
constexpr int32_t kHeightIds = 7011;
constexpr int32_t kSceneryIds = 7012;
constexpr int32_t kSettings = 7020;
constexpr int32_t kSceneryList = 7030;
constexpr int32_t kMap = 7100;
constexpr int32_t kHeights = 7101;
constexpr int32_t kRaft = 7040;
constexpr int32_t kRipple = 7060;
constexpr int32_t kTree = 7070;
constexpr int32_t kBoulder = 7071;
// Cursor entry n of the fixture's cursor record is cursor id 900 + n.
constexpr int32_t kCursorBase = 900;

// The settings record's lines 5-14 (after name, note, sound 0 and level 0).
struct Settings {
    int32_t roughness = 1;
    int32_t passThrough = 0;
    int32_t heading = 0;
    int32_t moving = 1;
    int32_t damageLimit = 0;
    int32_t groundColour = -1;
    int32_t panorama = 0;
};

// A picture as rows of bytes.
struct Grid {
    int16_t width = 0;
    int16_t height = 0;
    std::vector<uint8_t> bytes;
    uint8_t& At(int32_t column, int32_t row) { return bytes[static_cast<size_t>(row * width + column)]; }
};
Grid Fill(int16_t width, int16_t height, uint8_t value);

// Writes the library (the map and heights as given; an empty grid leaves the picture out) and
// adds it to the library manager.
void WriteRiver(const Grid& map, const Grid& heights, const Settings& settings,
                const std::string& sceneryList = "");

class SceneRig {
public:
    static constexpr int16_t kWidth = 160;
    static constexpr int16_t kHeight = 100;

    SceneRig();
    ~SceneRig();
    // A scene of river 0, set up.
    C3DScene& Make(bool deferred = false, int16_t river = 0);
    C3DScene& Scene() { return *scene_; }
    C3DView& View() { return view_; }
    CDibSect& Bitmap() { return *env_.GetBitmap(); }
    CRect ViewRect() const { return CRect(0, 0, kHeight, kWidth); }

private:
    COffScEnv env_;
    CAnimFrame frame_;
    C3DView view_;
    std::unique_ptr<C3DScene> scene_;
};

} // namespace rivertest
