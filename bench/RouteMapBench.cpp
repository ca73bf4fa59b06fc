// The route map's update when the party's progress moves the current entry on by one frame:
// a map of 32 recorded entries on the sample data's background and sprites, stepped and
// painted in a 640 x 440 window, beside a memcpy of the 640 x 440 screen.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "engine/controls/Frame.h"
#include "engine/controls/TopWnd.h"
#include "engine/controls/WndProc.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/Str.h"
#include "engine/framework/TplRec.h"
#include "game/travel/RouteObj.h"
#include "platform/Window.h"

#include "bench/GameSampleData.h"
#include "bench/References.h"

namespace {

constexpr int16_t kWidth = 640;
constexpr int16_t kHeight = 440;
constexpr size_t kMapBytes = size_t{kWidth} * kHeight;
constexpr int kEntries = 32;
constexpr int16_t kSegment = 100; // 10 frames: a frame every 11 units of progress

// One sequence over the sample background, its entries the sample's nine sprites in turn,
// laid along the strip.
std::unique_ptr<CTplRec> MapLines()
{
    auto lines = std::make_unique<CTplRec>();
    auto add = [&](const std::string& line) { lines->Add(std::make_unique<CStr>(line.c_str())); };
    for (const char* line : {"[bench]", "8100", "0", "0", "0"})
        add(line);
    for (int e = 0; e < kEntries; ++e) {
        add(std::to_string(8110 + e % 9));
        add(std::to_string(e * 19 % 560));
        add(std::to_string(20 + e % 3 * 20));
        add("0");
        add("0");
    }
    add(".");
    return lines;
}

void BM_RouteMapStep(benchmark::State& state)
{
    plat::ResetWindowSystem();
    RegisterEngineClasses();
    benchgame::SampleData data;
    auto* screen = new CFrame(CFrame::kKindFrame, 1, CRect(0, 0, kHeight, kWidth), false);
    auto* top = new CTopWnd(nullptr, screen, nullptr, 0x41);
    top->Activate(); // a window paints only once shown
    {
        CRouteObj map(screen);
        map.LoadSequences(*MapLines(), nullptr);
        map.SelectSequence(0, 0);
        for (int16_t e = 1; e < kEntries; ++e)
            map.SelectSequence(-1, e);
        map.GetState().lengthA = kSegment;
        map.Step();
        plat::UpdateWindow(top->GetHwnd());
        int16_t frame = 0;
        benchref::RunVsMemcpy(state, kMapBytes, [&] {
            CDispatchScope dispatch;
            frame = static_cast<int16_t>((frame + 1) % 10);
            map.GetState().progress = static_cast<int16_t>(frame * (kSegment / 10 + 1));
            map.Step();
            plat::UpdateWindow(top->GetHwnd());
            benchmark::ClobberMemory();
        });
        state.SetItemsProcessed(state.iterations());
    }
    delete top;
}
BENCHMARK(BM_RouteMapStep)->Unit(benchmark::kMicrosecond);

BENCHMARK_CAPTURE(MemcpyReference, mapScreen, kMapBytes)->Unit(benchmark::kMicrosecond);

} // namespace
