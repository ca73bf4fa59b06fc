// The game shell on its sample data (data/game): a module switch (the current screen closed,
// the next one built from its template list, the window drawn), and the opening screen's
// picture taken from the image cache beside the same picture decoded afresh each time.
// Each reports its speed beside a memcpy of the full 8-bit screen.
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/controls/TopWnd.h"
#include "engine/controls/WndProc.h"
#include "engine/framework/DeferredDelete.h"
#include "engine/framework/MsgMgr.h"
#include "engine/graphics/ImgSet.h"
#include "game/base/GameGlobals.h"
#include "game/base/GameImages.h"
#include "game/base/MainWnd.h"
#include "game/base/ModuleMgr.h"
#include "game/shell/ModuleFactory.h"
#include "platform/Window.h"

#include "bench/GameSampleData.h"
#include "bench/References.h"

namespace {

constexpr int32_t kOpeningPicture = 4000;
using benchgame::SampleData;

void BM_ModuleSwitch(benchmark::State& state)
{
    plat::ResetWindowSystem();
    RegisterEngineClasses();
    SampleData data;
    auto* main = new CMainWnd(10, CRect(0, 0, 480, 640));
    auto* top = new CTopWnd(nullptr, main, nullptr, 0x41);
    Game().mainWnd = main;
    Game().topWnd = top;
    InstallGameModules();
    main->CreateModuleMgr();
    SendMsg(*main, CMainWnd::kMsgRequestModule, 0, 1, nullptr); // the opening screen over travel
    benchref::RunVsMemcpy(state, benchref::kScreenBytes, [&] {
        CDispatchScope dispatch; // closed screens are freed as the pump would free them
        SendMsg(*main, CMainWnd::kMsgRequestModule, 2, 0, nullptr);
        SendMsg(*main, CMainWnd::kMsgRequestModule, 0, 0, nullptr);
        top->Redraw(nullptr);
        benchmark::ClobberMemory();
    });
    state.SetItemsProcessed(state.iterations() * 2);
    delete top;
    Game().mainWnd = nullptr;
    Game().topWnd = nullptr;
}
BENCHMARK(BM_ModuleSwitch)->Unit(benchmark::kMicrosecond);

// mode 1: through the image cache (decoded once, then shared); mode 0: decoded every time.
void BM_LoadOpeningPicture(benchmark::State& state)
{
    SampleData data;
    const auto mode = static_cast<int16_t>(state.range(0));
    benchref::RunVsMemcpy(state, benchref::kScreenBytes, [&] {
        std::unique_ptr<CImgSet> image = LoadImage("CBMP", 0, kOpeningPicture, true, mode);
        benchmark::DoNotOptimize(image.get());
    });
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LoadOpeningPicture)->ArgName("cached")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

BENCHMARK_CAPTURE(MemcpyReference, fullScreen, benchref::kScreenBytes)->Unit(benchmark::kMicrosecond);

} // namespace
