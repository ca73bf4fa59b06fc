// The river renderer's frame: a 640 x 480 frame filled with a frame's worth of flat polygons
// (a 40 x 30 grid of 16-pixel quads, each filled as two triangles), and the same grid as 1200
// one-quad models taken the whole way (bounding-sphere cull, transform, polygon cull, depth
// sort) and drawn by DrawList, each per frame beside a memset of the frame's bytes.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "game/action/3DView.h"

#include "bench/References.h"

namespace {

constexpr int16_t kWidth = 640;
constexpr int16_t kHeight = 480;
constexpr int16_t kColumns = 40;
constexpr int16_t kRows = 30;
constexpr double kCell = 16;
constexpr int64_t kBytes = int64_t{kWidth} * kHeight;

// A view over a 640 x 480 top-down frame whose projection maps camera units at the focal
// distance 1:1 onto pixels.
struct Frame {
    Frame() : pixels(static_cast<size_t>(kBytes))
    {
        view.AttachRows(kWidth, kHeight, 0, kWidth, nullptr);
        view.SetPixels(nullptr, pixels.data());
        view.SetVerticalScale(1.0);
        view.BuildViewMatrix();
    }

    // Camera space of the screen point (x, y) at the focal distance.
    C3DPoint At(double x, double y) const
    {
        return C3DPoint{x - kWidth / 2, kHeight / 2 - y, double(view.GetFocal()), 0};
    }

    std::vector<uint8_t> pixels;
    C3DView view{nullptr};
};

void BM_FillQuadGrid(benchmark::State& state)
{
    Frame frame;
    std::vector<CSortPoly> quads;
    for (int16_t row = 0; row < kRows; ++row) {
        for (int16_t column = 0; column < kColumns; ++column) {
            CSortPoly quad;
            quad.vertexCount = 4;
            quad.colour = static_cast<uint16_t>(row * kColumns + column);
            const double x = column * kCell;
            const double y = row * kCell;
            quad.vertices[0] = frame.At(x, y);
            quad.vertices[1] = frame.At(x + kCell, y);
            quad.vertices[2] = frame.At(x + kCell, y + kCell);
            quad.vertices[3] = frame.At(x, y + kCell);
            quads.push_back(quad);
        }
    }
    benchref::RunVsMemset(state, static_cast<size_t>(kBytes), [&] {
        for (const CSortPoly& quad : quads)
            frame.view.FillPolygon(quad);
        benchmark::ClobberMemory();
    });
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_FillQuadGrid);

void BM_DrawListQuadGrid(benchmark::State& state)
{
    Frame frame;
    const double xs[] = {0, kCell, kCell, 0};
    const double ys[] = {0, 0, -kCell, -kCell};
    const double zs[] = {0, 0, 0, 0};
    std::vector<std::unique_ptr<C3DModel>> models;
    for (int16_t row = 0; row < kRows; ++row) {
        for (int16_t column = 0; column < kColumns; ++column) {
            std::unique_ptr<C3DModel> model = frame.view.MakeModel(xs, ys, zs, 4, 1);
            model->polygons[0].colour = static_cast<uint16_t>(row * kColumns + column);
            // Slightly different depths, so that the list has sorting to do.
            model->position = frame.At(column * kCell, row * kCell);
            model->position.z += (row * 7 + column * 3) % 11 * 0.01;
            models.push_back(std::move(model));
        }
    }
    benchref::RunVsMemset(state, static_cast<size_t>(kBytes), [&] {
        for (const std::unique_ptr<C3DModel>& model : models)
            frame.view.QueueModel(*model);
        frame.view.DrawList(false);
        frame.view.ClearDrawList();
        benchmark::ClobberMemory();
    });
    state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_DrawListQuadGrid);

BENCHMARK_CAPTURE(MemsetReference, fullScreen, benchref::kScreenBytes);

} // namespace
