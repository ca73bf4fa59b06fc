// The animated frame's update step: 50 sprites of 32 x 32 pixels moving over a full-screen
// 640 x 480 background, each step erasing their old places from the background image,
// drawing them at their new places into the off-screen bitmap and copying the union to the
// window. Beside it, a memcpy of the full 8-bit screen: what repainting everything would
// cost at the least.
#include <benchmark/benchmark.h>

#include "engine/controls/AnimFrame.h"
#include "engine/controls/Wind.h"
#include "engine/controls/WndProc.h"
#include "engine/graphics/DrawEnv.h"
#include "engine/graphics/RsrcList.h"
#include "platform/Window.h"

#include "bench/AnimScreen.h"
#include "bench/References.h"

namespace {

constexpr int16_t kWidth = 640;
constexpr int16_t kHeight = 480;
constexpr int kSprites = 50;
constexpr int16_t kSpriteSize = 32;

// A sprite that fills its rectangle and moves on a fixed velocity each step, bouncing off
// the screen's edges.
class Sprite : public CFrame {
public:
    Sprite(int i)
        : CFrame(5, kNewId, CRect(0, 0, kSpriteSize, kSpriteSize), false),
          dh_(static_cast<int16_t>(1 + i % 5)), dv_(static_cast<int16_t>(1 + i % 3))
    {
        SetBackColor(static_cast<uint32_t>(20 + i));
        MoveTo(static_cast<int16_t>((i * 53) % (kWidth - kSpriteSize)),
               static_cast<int16_t>((i * 31) % (kHeight - kSpriteSize)), 0);
    }
    void DrawContent(CDrawEnv* env, const CRect&) override { DrawBackground(env); }
    void Step() override
    {
        if (GetH() + dh_ < 0 || GetH() + dh_ > kWidth - kSpriteSize)
            dh_ = static_cast<int16_t>(-dh_);
        if (GetV() + dv_ < 0 || GetV() + dv_ > kHeight - kSpriteSize)
            dv_ = static_cast<int16_t>(-dv_);
        MoveBy(dh_, dv_, 0);
    }

private:
    int16_t dh_;
    int16_t dv_;
};

void BM_AnimFrameStep50Sprites(benchmark::State& state)
{
    CWind* wnd = nullptr;
    CAnimFrame* anim = benchref::MakeAnimScreen(wnd);
    for (int i = 0; i < kSprites; ++i)
        anim->AddChild(new Sprite(i), false);
    benchref::TimeAnimSteps(state, anim, wnd);
}
BENCHMARK(BM_AnimFrameStep50Sprites)->Unit(benchmark::kMicrosecond);

BENCHMARK_CAPTURE(MemcpyReference, fullScreen, benchref::kScreenBytes)->Unit(benchmark::kMicrosecond);

} // namespace
