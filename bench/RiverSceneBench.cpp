// The river scene's step on the sample river (Cedar Run) with the view over a 640 x 480
// bitmap, at detail levels 3 and 4: steering, the current, the moves and the whole frame drawn
// (sky or panorama, ground, far tiles, the near mesh, sprites, the raft figure), one step per
// call, beside a memset of the 640 x 480 bytes. Each call starts from the same camera at the
// river's start, so every step draws the same view.
#include <benchmark/benchmark.h>

#include "engine/framework/Util.h"
#include "tools/river/RiverRig.h"

#include "bench/GameSampleData.h"
#include "bench/References.h"

namespace {

void BM_RiverSceneStep(benchmark::State& state)
{
    benchgame::SampleData data;
    CUtil::SetRandomSeed(1);
    RiverRig rig(benchref::kScreenWidth, benchref::kScreenHeight, RiverRecords{});
    C3DScene& scene = rig.Scene();
    scene.SetUp(0, false);
    scene.SetDetailLevel(static_cast<int16_t>(state.range(0)));
    if (scene.Step() != C3DScene::kRunning) {
        state.SkipWithError("the sample river did not set up");
        return;
    }
    const C3DPoint start = rig.View().GetPosition();
    benchref::RunVsMemset(state, benchref::kScreenBytes, [&] {
        rig.View().SetPosition(start);
        scene.SetSpeeds(0, 0);
        benchmark::DoNotOptimize(scene.Step());
        benchmark::ClobberMemory();
    });
}
BENCHMARK(BM_RiverSceneStep)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(MemsetReference, fullScreen, benchref::kScreenBytes);

} // namespace
