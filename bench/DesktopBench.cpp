// One frame reaching the screen: the main window's 640 x 480 client area (with its menu
// strip above) composed from the window surfaces and converted through the palette to 32-bit
// pixels, beside a memcpy of the same 8-bit frame and of the 32-bit result. A last run
// presents through SDL's dummy video driver, renderer included.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/Desktop.h"
#include "platform/Menu.h"
#include "platform/SdlBackend.h"
#include "platform/Window.h"

#include "bench/References.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int64_t kPixels = int64_t{kWidth} * kHeight;

// The game's main window: caption, menu strip and a 640 x 480 client area full of pixels.
plat::WindowHandle MakeMainWindow()
{
    plat::ResetWindowSystem();
    plat::WindowClass cls;
    cls.name = "Bench";
    cls.proc = plat::DefaultWindowProc;
    plat::RegisterWindowClass(cls);
    const plat::MenuHandle strip = plat::CreateMenu();
    plat::AppendMenuItem(strip, {"File", 1});
    plat::WindowParams params;
    params.className = "Bench";
    params.title = "Frame";
    params.style = plat::style::Caption | plat::style::SysMenu | plat::style::Visible;
    params.rect =
        plat::OuterRectForClient(plat::Rect::FromSize(80, 60, kWidth, kHeight), params.style, 0, true);
    params.menu = strip;
    const plat::WindowHandle w = plat::CreateWindow(params);
    const plat::ClientTarget t = plat::GetClientTarget(w);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x)
            t.surface->Row(t.origin.y + y)[t.origin.x + x] = static_cast<uint8_t>(x ^ y);
    }
    return w;
}

void BM_ComposeAndConvertFrame(benchmark::State& state)
{
    MakeMainWindow();
    const plat::Rect area = plat::GetPresentedArea();
    plat::Surface frame;
    std::vector<uint32_t> out(static_cast<size_t>(area.Width()) * static_cast<size_t>(area.Height()));
    // The frame ends as 32-bit pixels: compare it with copying those.
    benchref::RunVsMemcpy(state, out.size() * sizeof(uint32_t), [&] {
        plat::ComposeArea(frame, area);
        plat::ConvertToRgb32(frame, out.data(), static_cast<size_t>(area.Width()));
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    });
    state.SetBytesProcessed(state.iterations() * kPixels);
    state.SetLabel("8-bit bytes of the client area");
}
BENCHMARK(BM_ComposeAndConvertFrame);

BENCHMARK_CAPTURE(MemcpyReference, frame8, benchref::kScreenBytes);

BENCHMARK_CAPTURE(MemcpyReference, frame32, benchref::kScreenBytes * sizeof(uint32_t));

void BM_PresentThroughSdlDummy(benchmark::State& state)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    MakeMainWindow();
    std::string error;
    if (!plat::StartSdlDisplay(&error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    benchref::RunVsMemcpy(state, static_cast<size_t>(kPixels) * sizeof(uint32_t),
                          [] { plat::PresentSdlNow(); });
    state.SetBytesProcessed(state.iterations() * kPixels);
    plat::StopSdlDisplay();
}
BENCHMARK(BM_PresentThroughSdlDummy);

} // namespace
