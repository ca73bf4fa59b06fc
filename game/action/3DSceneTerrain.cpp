// The river's terrain: the height grid built from the height picture, the start cell, the
// cells' coordinates and the detail levels.
#include <algorithm>
#include <cmath>

#include "engine/framework/Util.h"
#include "engine/graphics/ImgSet.h"
#include "engine/resources/RecReader.h"
#include "game/action/3DScene.h"
#include "game/action/3DView.h"
#include "game/travel/SceneObj.h"

namespace {

// Entry 2 of the set-up record names the fine ground mesh.
constexpr int16_t kMeshEntry = 2;
// Heights below this are the water's.
constexpr double kDryHeight = 1e-6;

// The top of the random jitter of a cell's height, in tenths: water by the river's roughness,
// every other cell the roughest.
int32_t JitterRange(bool water, int16_t roughness)
{
    if (!water)
        return 35;
    switch (roughness) {
    case 0:
    case 1: return 5;
    case 2: return 15;
    case 3:
    case 4: return 35;
    default: return 0;
    }
}

struct DetailLevel {
    bool simpleGround;
    double verticalScale;
    double far;
    bool overlay;
};
constexpr DetailLevel kDetailLevels[] = {
    {true, 0.4, 750, true},     {false, 0.4, 750, false},   {false, 0.4, 750, false},
    {false, 0.515, 750, false}, {false, 0.515, 1000, true},
};

} // namespace

int32_t C3DScene::ColumnOf(double x) { return static_cast<int32_t>(-x) >> 4; }

int32_t C3DScene::RowOf(double z) { return static_cast<int32_t>(z) >> 4; }

uint8_t C3DScene::CellValue(int32_t column, int32_t row) const
{
    if (column <= 0 || row <= 0 || column >= mapWidth_ || row >= mapHeight_)
        return 0;
    uint8_t* rowBytes = nullptr;
    map_.GetRows(row, &rowBytes, 1);
    return rowBytes ? rowBytes[column] : 0;
}

double C3DScene::HeightAt(int32_t column, int32_t row) const
{
    if (row < 0 || column < 0 || row >= static_cast<int32_t>(heights_.size()))
        return 0;
    const std::vector<double>& line = heights_[static_cast<size_t>(row)];
    return column < static_cast<int32_t>(line.size()) ? line[static_cast<size_t>(column)] : 0;
}

double C3DScene::GroundHeightNear(int32_t column, int32_t row) const
{
    const int32_t rowCount = static_cast<int32_t>(heights_.size());
    const int32_t columnCount = mapWidth_;
    double highest = -1e300;
    for (int32_t r = std::max(row - 2, 0); r <= std::min(row + 1, rowCount - 1); ++r)
        for (int32_t c = std::max(column - 2, 0); c <= std::min(column + 1, columnCount - 1); ++c)
            highest = std::max(highest, HeightAt(c, r));
    return highest < kDryHeight ? waterLevel_ : highest;
}

void C3DScene::BuildTerrain()
{
    terrainBuilt_ = true;
    if (view_)
        probe_ = view_->MakeModel(kGroundTile, 1.0);
    CBmpStrip heightMap;
    if (status_ != kRunning || mapWidth_ < 4 || heightId_ <= 0 ||
        heightMap.Load(heightId_) != CBmpStrip::kOk || !heightMap.Lock()) {
        status_ = kFailed;
        return;
    }
    const int32_t heightWidth = heightMap.GetWidth();
    // Bytes beyond the height picture count as 0.
    auto heightByte = [&](int32_t column, int32_t row) -> uint8_t {
        uint8_t* bytes = nullptr;
        heightMap.GetRows(row, &bytes, 1);
        return bytes && column < heightWidth ? bytes[column] : 0;
    };
    waterLevel_ = heightByte(0, 0);
    const int16_t roughness = props_ ? props_->GetRoughness() : 0;
    heights_.assign(static_cast<size_t>(mapHeight_),
                    std::vector<double>(static_cast<size_t>(mapWidth_), 0.0));
    for (int32_t r = 1; r < mapHeight_ - 1; ++r) {
        for (int32_t c = 1; c < mapWidth_ - 1; ++c) {
            const int32_t kind = legend_[CellValue(c, r)].kind;
            const int32_t range =
                JitterRange(kind == C3DSceneLegend::kWater || kind == C3DSceneLegend::kSpecial, roughness);
            const int32_t jitter = range > 0 ? CUtil::Random(0, range) : 0;
            heights_[static_cast<size_t>(r)][static_cast<size_t>(c)] =
                heightByte(c, r) - waterLevel_ + jitter / 10.0;
        }
    }
    heightMap.Unlock();
    PlaceCameraAtStart();
}

void C3DScene::PlaceCameraAtStart()
{
    int32_t startColumn = 1;
    int32_t startRow = 1;
    bool found = false;
    for (int32_t r = 1; r < mapHeight_ && !found; ++r)
        for (int32_t c = 1; c < mapWidth_ && !found; ++c)
            if (legend_[CellValue(c, r)].kind == C3DSceneLegend::kStart) {
                startColumn = c;
                startRow = r;
                found = true;
            }
    groundHeight_ = GroundHeightNear(startColumn, startRow);
    if (status_ != kRunning || !view_)
        return;
    mesh_ = LoadModelById(*view_, setUp_->GetNumber(kMeshEntry), 1.0);
    tile_ = view_->MakeModel(kGroundTile, 1.0);
    if (!tile_ || !probe_) {
        status_ = kFailed;
        return;
    }
    C3DPoint camera;
    camera.x = -kCellSize * startColumn;
    camera.y = groundHeight_ + kCameraHeight;
    camera.z = kCellSize * startRow;
    view_->SetPosition(camera);
    lastValid_ = camera;
    cameraColumn_ = startColumn;
    cameraRow_ = startRow;
    heading_ = C3DView::AddAngle(props_ ? props_->GetDownstreamHeading() : 0, 0);
    SetTurningWindow(heading_);
    view_->SetHeading(heading_);
    view_->SetFocal(kFocal);
    SetDetailLevel(detail_);
    bob_ = 0;
}

void C3DScene::SetDetailLevel(int16_t level)
{
    detail_ = std::clamp<int16_t>(level, 0, kMaxDetail);
    const DetailLevel& d = kDetailLevels[detail_];
    simpleGround_ = d.simpleGround;
    if (view_) {
        view_->SetVerticalScale(d.verticalScale);
        view_->SetFar(d.far);
    }
    SetOverlay(d.overlay);
}
