// Drawing one frame of the river: sky (or panorama) and ground colour split at the horizon,
// then the cells in a window around the heading: far cells as flat tiles, near cells as the
// finer mesh, legend objects as sprites standing on marker quads, and the raft figure on top.
#include <algorithm>

#include "engine/controls/AnimFrame.h"
#include "engine/framework/Stopwatch.h"
#include "engine/framework/Util.h"
#include "engine/graphics/ImgSet.h"
#include "game/action/3DScene.h"
#include "game/action/3DView.h"
#include "game/base/GameImages.h"
#include "game/travel/SceneObj.h"
#include "game/travel/SceneSeqWnd.h"

namespace {

// How far ahead the horizon probe and the cell window's corners lie.
constexpr double kLookAhead = 800;
// Half the angle the cell window covers.
constexpr int16_t kHalfWindowAngle = 45;
// The fine mesh's vertices: the corners, the edge midpoints and the centre.
constexpr int kMeshCorners[4] = {0, 2, 6, 8};

// Lowest and highest of two values, a window of cells around the camera's own.
struct CellSpan {
    int32_t low;
    int32_t high;
};

// The far and near spans along one axis from the two corner cells and the camera's cell.
void SpanAround(int32_t a, int32_t b, int32_t camera, CellSpan& far, CellSpan& near)
{
    far = {std::min(a, b), std::max(a, b)};
    if (a > camera && b > camera) {
        far.low = camera - 3;
        near = {camera - 2, camera + 3};
    } else if (a <= camera && b <= camera) {
        far.high = camera + 3;
        near = {camera - 3, camera + 2};
    } else {
        near = {camera - 3, camera + 3};
    }
}

double RandomHundredths() { return CUtil::Random(0, 400) / 100.0; }

} // namespace

void C3DScene::Draw()
{
    if (!view_ || !view_->GetFrameBuffer() || !probe_)
        return;
    const uint32_t start = stopwatch_->Elapsed();
    view_->BuildViewMatrix();
    int16_t pitch = 0, heading = 0, roll = 0;
    view_->GetAngles(pitch, heading, roll);
    const C3DPoint& camera = view_->GetPosition();
    probe_->position = {camera.x + kLookAhead * view_->Sine(heading), 0,
                        camera.z + kLookAhead * view_->Cosine(heading), 0};
    view_->ModelToWorld(*probe_);
    view_->WorldToCamera(*probe_);
    int16_t sx = 0, sy = 0;
    view_->ProjectPoint(probe_->camera[0], sx, sy);
    const C3DFrameBuffer& fb = *view_->GetFrameBuffer();
    horizonRow_ = std::clamp<int16_t>(sy, static_cast<int16_t>(fb.clipTop + 1), fb.clipBottom);
    DrawSkyAndGround();
    ComputeCellWindows();
    for (C3DSceneLegend& e : legend_)
        if (e.animated && e.element)
            e.element->Step(true);
    if (raft_)
        raft_->Step(true);
    DrawFarCells();
    if (!simpleGround_)
        DrawNearCells();
    view_->DrawList(wireframe_);
    view_->ClearDrawList();
    if (raft_ && frame_)
        if (CDrawEnv* env = frame_->GetDrawEnv())
            raft_->DrawContent(env, viewRect_);
    drawTime_ = stopwatch_->Elapsed() - start;
}

void C3DScene::DrawSkyAndGround()
{
    const C3DFrameBuffer& fb = *view_->GetFrameBuffer();
    const auto rows = [&](int16_t top, int16_t bottom) {
        return CRect(top, fb.clipLeft, bottom, static_cast<int16_t>(fb.clipRight + 1));
    };
    if (horizonRow_ > fb.clipTop) {
        if (usePanorama_ && props_ && !panorama_) {
            panorama_ = LoadImage("CBMP", 0, props_->GetPanoramaImageId(), false, 1);
            panoramaTiled_ = false;
        }
        if (usePanorama_ && panorama_) {
            if (!panoramaTiled_) {
                view_->TilePanorama(*panorama_);
                panoramaTiled_ = true;
            }
            view_->FillRows(sky_, rows(fb.clipTop, static_cast<int16_t>(horizonRow_ - 1)));
            view_->DrawPanorama(*panorama_, static_cast<int16_t>(horizonRow_ + 1));
        } else {
            view_->FillRows(sky_, rows(fb.clipTop, static_cast<int16_t>(horizonRow_ - 1)));
        }
    }
    if (horizonRow_ < fb.clipBottom)
        view_->FillRows(ground_, rows(horizonRow_, fb.clipBottom));
}

void C3DScene::ComputeCellWindows()
{
    const C3DPoint& camera = view_->GetPosition();
    int16_t pitch = 0, heading = 0, roll = 0;
    view_->GetAngles(pitch, heading, roll);
    int32_t columns[2], rows[2];
    const int16_t angles[2] = {C3DView::AddAngle(heading, kHalfWindowAngle),
                               C3DView::AddAngle(heading, -kHalfWindowAngle)};
    for (int i = 0; i < 2; ++i) {
        columns[i] = ColumnOf(camera.x + kLookAhead * view_->Sine(angles[i]));
        rows[i] = RowOf(camera.z + kLookAhead * view_->Cosine(angles[i]));
    }
    CellSpan farColumns{}, nearColumns{}, farRows{}, nearRows{};
    SpanAround(columns[0], columns[1], ColumnOf(camera.x), farColumns, nearColumns);
    SpanAround(rows[0], rows[1], RowOf(camera.z), farRows, nearRows);
    const auto clamp = [](int32_t v, int32_t lo, int32_t hi) {
        return static_cast<int16_t>(std::clamp(v, lo, std::max(lo, hi)));
    };
    farCells_ = CRect(clamp(farRows.low, 3, mapHeight_ - 2), clamp(farColumns.low, 2, mapWidth_ - 2),
                      clamp(farRows.high, 3, mapHeight_ - 2), clamp(farColumns.high, 2, mapWidth_ - 2));
    nearCells_ = CRect(clamp(nearRows.low, 2, mapHeight_ - 1), clamp(nearColumns.low, 1, mapWidth_ - 1),
                       clamp(nearRows.high, 2, mapHeight_ - 1), clamp(nearColumns.high, 1, mapWidth_ - 1));
}

uint8_t C3DScene::CellColour(uint8_t value) const
{
    const uint8_t colour = legend_[value].drawColour;
    return colour != 0 ? colour : value;
}

bool C3DScene::InNearWindow(int32_t column, int32_t row) const
{
    return !simpleGround_ && column >= nearCells_.GetLeft() && column <= nearCells_.GetRight() &&
           row >= nearCells_.GetTop() && row <= nearCells_.GetBottom();
}

void C3DScene::DrawFarCells()
{
    for (int32_t r = farCells_.GetTop(); r < farCells_.GetBottom(); ++r) {
        for (int32_t c = farCells_.GetLeft(); c < farCells_.GetRight(); ++c) {
            const uint8_t v = CellValue(c, r);
            if (v == 0)
                continue;
            const C3DSceneLegend& e = legend_[v];
            if (e.objectImage)
                PutCellObject(v, c, r, simpleGround_ ? waterLevel_ : -1);
            if (simpleGround_) {
                if (e.kind == C3DSceneLegend::kSpecial)
                    PlaceTile(c, r, CellColour(v), true);
            } else if (e.drawGround && !InNearWindow(c, r)) {
                PlaceTile(c, r, CellColour(v), !inner_);
            }
        }
    }
}

void C3DScene::DrawNearCells()
{
    for (int32_t r = nearCells_.GetTop(); r <= nearCells_.GetBottom(); ++r)
        for (int32_t c = nearCells_.GetLeft(); c <= nearCells_.GetRight(); ++c)
            if (const uint8_t v = CellValue(c, r); v != 0 && legend_[v].drawGround)
                PlaceMesh(c, r, CellColour(v));
}

void C3DScene::CornerHeights(int32_t column, int32_t row, bool flat, double out[4]) const
{
    // Vertex order of the tile: (x 0, z 0), (x 0, z 16), (x 16, z 16), (x 16, z 0); x 0 is the
    // cell's own column's far edge, z 0 the row before's edge.
    if (flat) {
        std::fill(out, out + 4, static_cast<double>(waterLevel_));
        return;
    }
    out[0] = HeightAt(column, row - 1);
    out[1] = HeightAt(column, row);
    out[2] = HeightAt(column - 1, row);
    out[3] = HeightAt(column - 1, row - 1);
}

void C3DScene::PlaceTile(int32_t column, int32_t row, uint8_t colour, bool flat)
{
    double corners[4];
    CornerHeights(column, row, flat, corners);
    for (int i = 0; i < 4; ++i)
        tile_->model[i].y = corners[i];
    tile_->polygons[0].colour = tile_->polygons[0].colourCopy = colour;
    tile_->position = {-kCellSize * (column + 1.0), 0, kCellSize * static_cast<double>(row), 0};
    ComputeRadius(*tile_);
    view_->QueueModel(*tile_);
}

void C3DScene::PlaceMesh(int32_t column, int32_t row, uint8_t colour)
{
    if (!mesh_ || mesh_->vertexCount < 9) {
        PlaceTile(column, row, colour, !inner_);
        return;
    }
    double corners[4];
    CornerHeights(column, row, !inner_, corners);
    // Mesh vertex k sits at x = 8 (k mod 3), z = 8 (k / 3).
    C3DPoint* v = mesh_->model;
    v[kMeshCorners[0]].y = corners[0];
    v[kMeshCorners[1]].y = corners[3];
    v[kMeshCorners[2]].y = corners[1];
    v[kMeshCorners[3]].y = corners[2];
    v[1].y = (v[0].y + v[2].y) / 2;
    v[3].y = (v[0].y + v[6].y) / 2;
    v[5].y = (v[2].y + v[8].y) / 2;
    v[7].y = (v[6].y + v[8].y) / 2;
    v[4].y = (v[0].y + v[2].y + v[6].y + v[8].y) / 4;
    for (int16_t i = 0; i < mesh_->polygonCount; ++i)
        mesh_->polygons[i].colour = mesh_->polygons[i].colourCopy = colour;
    mesh_->position = {-kCellSize * (column + 1.0), 0, kCellSize * static_cast<double>(row), 0};
    ComputeRadius(*mesh_);
    view_->QueueModel(*mesh_);
}

void C3DScene::PutCellObject(uint8_t value, int32_t column, int32_t row, double base)
{
    C3DSceneLegend& e = legend_[value];
    if (!marker_ || !e.objectImage)
        return;
    const double cellX = -kCellSize * static_cast<double>(column);
    const double cellZ = kCellSize * static_cast<double>(row);
    double x = cellX, z = cellZ, y = 0;
    if (e.kind == C3DSceneLegend::kWater) {
        if (column % 2 != 0 || row % 2 != 0)
            return;
        const double r1 = RandomHundredths();
        const double r2 = RandomHundredths();
        const double r3 = RandomHundredths();
        x = cellX + 4 * (row % 8) + r1;
        z = cellZ + r2;
        y = (base >= 0 ? base : HeightAt(column, row)) - r3;
    } else {
        y = base >= 0 ? base : (HeightAt(column, row) + HeightAt(column - 1, row - 1)) / 2;
    }
    CRect image;
    const int16_t frame = e.GetAnimationFrame();
    e.objectImage->GetImageRect(image, frame >= 0 ? frame : e.objectImage->GetIndex());
    const double height = image.GetHeight();
    const double f = sceneryFactor_;
    if (const CSceneSeqWnd* element = e.element.get()) {
        y -= (height - element->GetBaseValue()) * f;
        x -= element->GetMotion(0);
        y += element->GetMotion(1);
        z += element->GetMotion(2);
    }
    C3DPoint* v = marker_->model;
    v[0].y = v[2].y = v[3].y = y;
    v[1].y = y + height * f;
    marker_->position = {x, 0, z, 0};
    ComputeRadius(*marker_);
    if (view_->CullModel(*marker_, true))
        return;
    marker_->polygons[0].colour = marker_->polygons[0].colourCopy = CellColour(value);
    marker_->polygons[0].legend = &e;
    view_->ModelToWorld(*marker_);
    view_->WorldToCamera(*marker_);
    view_->AddToDrawList(*marker_, 1);
}
