// The one-pixel dissolve over a 640 x 480 window: every cell set through the window's drawing
// context, without the end's copy. Beside it, a memcpy of the same screen bytes.
#include <benchmark/benchmark.h>

#include "engine/controls/Frame.h"
#include "engine/controls/ScreenTransition.h"
#include "engine/controls/TransitionRun.h"
#include "engine/controls/Wind.h"
#include "engine/controls/WndProc.h"
#include "engine/graphics/DrawEnv.h"
#include "platform/Window.h"

#include "bench/References.h"

namespace {

// A frame whose new picture is a diagonal pattern.
class Pattern : public CFrame {
public:
    Pattern() : CFrame(5, kNewId, CRect(0, 0, benchref::kScreenHeight, benchref::kScreenWidth), false) {}
    void DrawContent(CDrawEnv* env, const CRect&) override
    {
        for (int16_t v = 0; v < benchref::kScreenHeight; v += 16) {
            env->SetTextColor(20 + v / 16);
            env->FillRect(CRect(v, 0, static_cast<int16_t>(v + 16), benchref::kScreenWidth));
        }
    }
};

void BM_DissolveOnePixelCells(benchmark::State& state)
{
    plat::ResetWindowSystem();
    RegisterEngineClasses();
    auto* frame = new Pattern;
    auto* wnd = new CWind(CWind::kTypeTopLevel, frame, nullptr, CWind::kFlagOffScreen);
    uint32_t exStyle = 0;
    const uint32_t style = wnd->GetStyle(exStyle);
    wnd->Create(CWind::kTypeTopLevel, nullptr, style, exStyle, nullptr);
    wnd->ShowWnd();
    {
        CTransitionRun run(*wnd, *frame, kClosing);
        benchref::RunVsMemcpy(state, benchref::kScreenBytes, [&] { run.RunEffect(kTransitionDissolve, 1); });
        run.End();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(benchref::kScreenBytes));
    delete wnd;
}
BENCHMARK(BM_DissolveOnePixelCells)->Unit(benchmark::kMillisecond);

// Reference: copying the screen's bytes.
BENCHMARK_CAPTURE(MemcpyReference, fullScreen, benchref::kScreenBytes);

} // namespace
